// Input masks: the numeric mask language (display and entry forms, typing,
// reading back, questions on a mask), hexadecimal masks, predefined text
// masks, regular-expression masks and the fixed masks of dates, times and
// durations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "VMNeutre.h"
#include "controls/core/CObjetAPCode.h"
#include "controls/edit/CMasqueFixe.h"
#include "controls/edit/CMasqueHexadecimal.h"
#include "controls/edit/CMasqueNumerique.h"
#include "controls/edit/CMasqueTexte.h"
#include "frame/CExe.h"
#include "frame/ModuleInfo.h"

namespace {

using CMN = CMasqueNumerique;

std::string u8(const std::wstring& s) { return QString::fromStdWString(s).toStdString(); }

// Every test starts from the module's default separators and currency
// (',' decimal, ' ' thousands, the euro sign) with no forced parameter.
class Masques : public ::testing::Test {
protected:
    void SetUp() override { CMN::sReinitialiseParametresInternationaux(); }
    void TearDown() override { CMN::sReinitialiseParametresInternationaux(); }
};

// ---------------------------------------------------------------------------
// Formatting: display form and entry form of a value

struct STCasFormat {
    const wchar_t* pszMasque;
    const wchar_t* pszValeur;
    const wchar_t* pszAffichage;
    const wchar_t* pszSaisie;
};

const STCasFormat ktabFormat[] = {
    // Digits, grouping, decimals (padded in display, trailing '9' zeros left
    // out in entry), rounding half away from zero, exponents.
    {L"999 999,99", L"1234.5", L"1 234,50", L"1234,5"},
    {L"999 999,99", L"0", L"0,00", L"0"},
    {L"999 999,99", L"-1234.5", L"-1 234,50", L"-1234,5"},
    {L"999 999,99", L"1234.5e2", L"123 450,00", L"123450"},
    {L"999 999,99", L"12", L"12,00", L"12"},
    {L"999,99", L"1.005", L"1,01", L"1,01"},
    {L"999,99", L"-1.005", L"-1,01", L"-1,01"},
    {L"999,99", L"9.999", L"10,00", L"10"},
    {L"999,99", L"-0.001", L"0,00", L"0"},
    {L"000,00", L"1.5", L"001,50", L"1,50"},
    {L"999,00", L"12", L"12,00", L"12,00"},
    {L",99", L"0.5", L",50", L",5"},
    // Separators: before the first digit as written, after the last one as
    // written, between digits a thousands separator once a digit is shown.
    {L"Qty. 999", L"12", L"Qty. 12", L"12"},
    {L"999.", L"12", L"12.", L"12"},
    {L"999.999", L"1234", L"1 234", L"1234"},
    {L"999 999", L"12", L"12", L"12"},
    {L"000 000", L"1234", L"001 234", L"1234"},
    // Currency, percentage and their doubled or escaped literals.
    {L"999,99 $", L"12.5", L"12,50 \u20AC", L"12,5"},
    {L"$$999", L"12", L"$12", L"12"},
    {L"99,9 %", L"0.155", L"15,5 %", L"15,5"},
    {L"999%%", L"12", L"12%", L"12"},
    {L"999\\%", L"12", L"12%", L"12"},
    // Signs: a sign position shows '-' in display only; a negative value
    // with no sign shown gets '-' in front.
    {L"-999", L"-12", L"-12", L"-12"},
    {L"-999", L"12", L"12", L"12"},
    {L"999-", L"-12", L"12-", L"-12"},
    {L"999", L"-12", L"-12", L"-12"},
    {L"--999", L"12", L"-12", L"12"},
    {L"--999", L"-12", L"--12", L"-12"},
    {L"+999", L"12", L"12", L"12"},
    {L"+999", L"-12", L"-12", L"-12"},
    {L"+999;-999", L"12", L"+12", L"12"},
    {L"+999;-999", L"-12", L"-12", L"-12"},
    // Parentheses: shown for negative values, '-' in entry.
    {L"(999,99)", L"-12.5", L"(12,50)", L"-12,5"},
    {L"(999,99)", L"12.5", L"12,50", L"12,5"},
    {L"999;(999)", L"-12", L"(12)", L"-12"},
    {L"(a)999", L"-12", L"-(a)12", L"-12"},
    // Parts: zero, a value rounding to zero, a missing negative part, an
    // empty part, two parts without a zero part.
    {L"999;(999);zero", L"0", L"zero", L"0"},
    {L"999;(999);zero", L"5", L"5", L"5"},
    {L"999;(999);zero", L"-5", L"(5)", L"-5"},
    {L"999,99;(999,99);zero", L"-0.001", L"zero", L"0"},
    {L"999,99;;Nil", L"-5", L"-5,00", L"-5"},
    {L"999;(999)", L"0", L"0", L"0"},
    {L"[Red]", L"12.5", L"12.5", L"12.5"},
    // Overflow: short masks show one '+' per position; the entry form keeps
    // the value so that reading it back loses nothing.
    {L"999", L"1234", L"+++", L"1234"},
    {L"99 999", L"123456", L"+++++", L"123456"},
    {L"9,99", L"12", L"+", L"12"},
    {L",99", L"1", L"+", L"1"},
    {L"999,99", L"999.999", L"+++", L"1000"},
    // System masks and disk sizes.
    {L"NumSystemMask", L"1234567.891", L"1 234 567,89", L"1234567,89"},
    {L"MoneySystemMask", L"-1234.5", L"-1 234,50", L"-1234,5"},
    {L"MoneySystemMask$", L"1234.5", L"1 234,50 \u20AC", L"1234,5"},
    {L"DiskSize", L"0", L"0 B", L"0"},
    {L"DiskSize", L"1023", L"1023 B", L"1023"},
    {L"DiskSize", L"1024", L"1 KB", L"1024"},
    {L"DiskSize", L"1536", L"1,5 KB", L"1536"},
    {L"DiskSize", L"1048575", L"1 MB", L"1048575"},
    {L"DiskSize", L"1288490188", L"1,2 GB", L"1288490188"},
    {L"DiskSize", L"1610612736", L"1,5 GB", L"1610612736"},
    {L"DiskSize", L"-2048", L"-2 KB", L"-2048"},
    // No mask, or a value that is not a number: shown as given.
    {L"", L"1234.5", L"1234.5", L"1234.5"},
    {L"999", L"abc", L"abc", L"abc"},
};

TEST_F(Masques, FormatageAffichageEtSaisie) {
    for (const auto& k : ktabFormat) {
        SCOPED_TRACE(u8(std::wstring(L"mask \"") + k.pszMasque + L"\" value \"" + k.pszValeur + L"\""));
        CMasqueNumerique m(k.pszMasque);
        CTString s;
        m.Formate(k.pszValeur, s);
        EXPECT_EQ(u8(s), u8(k.pszAffichage)) << "display";
        m.FormateEnSaisie(k.pszValeur, s);
        EXPECT_EQ(u8(s), u8(k.pszSaisie)) << "entry";
    }
}

// The system masks follow the number of digits they are given.
TEST_F(Masques, MasqueSystemeNombreDeChiffres) {
    CMasqueNumerique m(L"MoneySystemMask");
    m.SetNbChiffresSysteme(0);
    CTString s;
    m.Formate(L"1234.5", s);
    EXPECT_EQ(u8(s), "1 235");
    m.SetNbChiffresSysteme(3);
    m.Formate(L"1234.5", s);
    EXPECT_EQ(u8(s), "1 234,500");
}

// An entry mask of its own serves while typing; the display mask otherwise.
TEST_F(Masques, MasqueDeSaisiePropre) {
    CMasqueNumerique m(L"999 999,99");
    m.SetMasqueSaisie(L"-9999,9");
    CTString s;
    m.FormateEnSaisie(L"-12.25", s);
    EXPECT_EQ(u8(s), "-12,3");
    m.Formate(L"-12.25", s);
    EXPECT_EQ(u8(s), "-12,25");
    EXPECT_TRUE(m.bEstValideEnSaisie(L"-1234,5"));
    EXPECT_FALSE(m.bEstValideEnSaisie(L"12345"));
    EXPECT_FALSE(m.bEstValideEnSaisie(L"1,25"));
}

// ---------------------------------------------------------------------------
// Separators and currency: the mask's own, the module's, the forced table

TEST_F(Masques, SeparateurMillierEtRegleDu9) {
    CMasqueNumerique m;
    m.vSetInfoLangueMasque({L',', L'.', L"\u20AC", 0});
    struct {
        const wchar_t* pszMasque;
        const wchar_t* pszValeur;
        const char* pszAttendu;
    } tab[] = {
        {L"999 999", L"1234", "1.234"},            // a '9' follows: the thousands separator
        {L"000 000", L"1234", "001 234"},          // no '9' after: a plain space
        {L"999 000", L"1234", "1 234"},
        {L"999 999 000", L"1234567", "1.234 567"}, // each separator looks at what follows it
        {L"999,99 99", L"12.3456", "12,34.56"},    // the decimals group too
    };
    for (const auto& k : tab) {
        m.SetMasque(k.pszMasque);
        CTString s;
        m.Formate(k.pszValeur, s);
        EXPECT_EQ(u8(s), k.pszAttendu) << u8(k.pszMasque);
    }
    // No thousands separator at all.
    m.vSetInfoLangueMasque({L',', 0, L"\u20AC", 0});
    m.SetMasque(L"999 999");
    CTString s;
    m.Formate(L"1234", s);
    EXPECT_EQ(u8(s), "1234");
}

TEST_F(Masques, ParametresDuModuleEtTableForcee) {
    CMasqueNumerique avant(L"999 999,99 $");
    CMasqueNumerique propre(L"999 999,99", CMN::eOPT_SEPARATEUR_PROPRE);
    CMN::SetInternationnalParam(CMN::eIP_SEPARATEUR_DECIMAL, L".");
    CMN::SetInternationnalParam(CMN::eIP_SEPARATEUR_MILLIER, L"'");
    CMN::SetInternationnalParam(CMN::eIP_MONNAIE, L"CHF");
    CTString s;
    // A mask made earlier keeps the settings it was made with...
    avant.Formate(L"1234.5", s);
    EXPECT_EQ(u8(s), "1 234,50 \u20AC");
    // ... a new one takes the module's.
    CMasqueNumerique apres(L"999 999,99 $");
    apres.Formate(L"1234.5", s);
    EXPECT_EQ(u8(s), "1'234.50 CHF");

    // Forced: the module's settings override the masks' own, except the
    // decimal separator of a mask that uses its own.
    CMN::SetInternationnalParam(CMN::eIP_SEPARATEUR_DECIMAL, L".", true);
    CMN::SetInternationnalParam(CMN::eIP_MONNAIE, L"CHF", true);
    EXPECT_TRUE(CMN::sbParametreForce(CMN::eIP_SEPARATEUR_DECIMAL));
    avant.Formate(L"1234.5", s);
    EXPECT_EQ(u8(s), "1 234.50 CHF");
    propre.Formate(L"1234.5", s);
    EXPECT_EQ(u8(s), "1 234,50");
    // Typing follows the effective separator.
    EXPECT_TRUE(avant.bEstValideEnSaisie(L"12.5"));
    EXPECT_FALSE(avant.bEstValideEnSaisie(L"12,5"));
    EXPECT_TRUE(propre.bEstValideEnSaisie(L"12,5"));

    CMN::sReinitialiseParametresInternationaux();
    EXPECT_EQ(u8(CMN::sGetInternationnalParam(CMN::eIP_SEPARATEUR_DECIMAL)), ",");
    EXPECT_EQ(u8(CMN::sGetInternationnalParam(CMN::eIP_SEPARATEUR_MILLIER)), " ");
    EXPECT_EQ(u8(CMN::sGetInternationnalParam(CMN::eIP_MONNAIE)), "\u20AC");
    EXPECT_FALSE(CMN::sbParametreForce(CMN::eIP_SEPARATEUR_DECIMAL));
}

// ---------------------------------------------------------------------------
// Colours

TEST_F(Masques, CouleursDesParties) {
    CMasqueNumerique m(L"[red]999;[BLUE]-999;[Vert]0;[#102030]N/A");
    EXPECT_EQ(m.dwGetCouleurPourValeur(L"5", false), 0x0000FFu);
    EXPECT_EQ(m.dwGetCouleurPourValeur(L"-5", false), 0xFF0000u);
    EXPECT_EQ(m.dwGetCouleurPourValeur(L"0", false), 0x00FF00u);
    EXPECT_EQ(m.dwGetCouleurPourPourNull(), 0x302010u);
    CTString s;
    m.Formate(L"5", s);
    EXPECT_EQ(u8(s), "5") << "the colour is not shown";
    EXPECT_EQ(u8(m.pszGetValeurPourNull()), "N/A");

    struct {
        const wchar_t* pszMasque;
        uint32_t dwCouleur;
    } tab[] = {
        {L"[ROUGE]999", 0x0000FF}, {L"[Jaune]999", 0x00FFFF}, {L"[orange]999", 0x0080FF}, {L"[Noir]999", 0},
        {L"[white]999", 0xFFFFFF}, {L"999[Green]", 0x00FF00}, {L"[Violet]999", COULEUR_MASQUE_AUCUNE},
        {L"[#12345]999", COULEUR_MASQUE_AUCUNE}, {L"[#GG0000]999", COULEUR_MASQUE_AUCUNE}, {L"999", COULEUR_MASQUE_AUCUNE},
    };
    for (const auto& k : tab) {
        CMasqueNumerique c(k.pszMasque);
        EXPECT_EQ(c.dwGetCouleurPourValeur(L"1", false), k.dwCouleur) << u8(k.pszMasque);
    }
}

// ---------------------------------------------------------------------------
// Value type a mask implies

TEST_F(Masques, TypeImpliqueParLeMasque) {
    struct {
        const wchar_t* pszMasque;
        uint32_t dwOptions;
        uint16_t wType;
    } tab[] = {
        {L"DiskSize", 0, 9},
        {L"999 999", 0, 8},
        {L"999 999 999", 0, 8},
        {L"9 999 999 999", 0, 9},
        {L"0000000000", 0, 9},
        {L"999,99", 0, 12},
        {L"999,", 0, 8},
        {L"99%", 0, 12},
        {L"99%%", 0, 8},
        {L"NumSystemMask", 0, 12},
        {L"MoneySystemMask$", 0, 12},
        {L"999", CMN::eOPT_REEL, 12},
        {L"999;(9 999 999 999)", 0, 9},
    };
    for (const auto& k : tab) {
        CMasqueNumerique m(k.pszMasque, k.dwOptions);
        EXPECT_EQ(m.wGetTypeFromMasque(), k.wType) << u8(k.pszMasque);
    }
}

// ---------------------------------------------------------------------------
// Typing

struct STCasSaisie {
    const wchar_t* pszMasque;
    const wchar_t* pszTexte;
    bool bValide;
};

const STCasSaisie ktabSaisie[] = {
    {L"999,99", L"123,45", true},
    {L"999,99", L"1234", false},
    {L"999,99", L"12,345", false},
    {L"999,99", L"-1", false},
    {L"999,99", L"12.5", true},
    {L"999,99", L",5", true},
    {L"999,99", L"1,2,3", false},
    {L"999,99", L"12a", false},
    {L"999,99", L"", true},
    {L"-999,99", L"-", true},
    {L"-999,99", L"-12,5", true},
    {L"-999,99", L"1-2", false},
    {L"999;(999)", L"-12", true},
    {L"999;999", L"-12", false},
    {L"999;;0", L"0000", true},
    {L"999", L"0000", false},
    {L"99%", L"99", true},
    {L"99%", L"100", false},
    {L"DiskSize", L"999999999999999999999", true},
    {L"DiskSize", L"9999999999999999999999", false},
    {L"DiskSize", L"-1", false},
    {L"NumSystemMask", L"-123456789012345,12", true},
    {L"NumSystemMask", L"1234567890123456", false},
    {L"", L"abc", true},
};

TEST_F(Masques, ValiditeEnSaisie) {
    for (const auto& k : ktabSaisie) {
        CMasqueNumerique m(k.pszMasque);
        EXPECT_EQ(m.bEstValideEnSaisie(k.pszTexte), k.bValide)
            << "mask \"" << u8(k.pszMasque) << "\" text \"" << u8(k.pszTexte) << "\"";
    }
}

TEST_F(Masques, AcceptationDeCaracteres) {
    struct {
        const wchar_t* pszMasque;
        const wchar_t* pszTexte;
        int nDebut, nFin;
        wchar_t c;
        bool bAccepte;
        const wchar_t* pszNouveau;
        int nCurseur;
    } tab[] = {
        {L"999,99", L"12", 2, 2, L',', true, L"12,", 3},
        {L"999,99", L"12", 2, 2, L'.', true, L"12,", 3},
        {L"999,99", L"12", 2, 2, L'a', false, nullptr, 0},
        {L"999,99", L"123", 3, 3, L'4', false, nullptr, 0},
        {L"999,99", L"123", 0, 3, L'9', true, L"9", 1},
        {L"999,99", L"123,4", 5, 5, L'5', true, L"123,45", 6},
        {L"999,99", L"123,45", 6, 6, L'6', false, nullptr, 0},
        {L"999,99", L"123,45", 3, 3, L',', false, nullptr, 0},
        {L"-999", L"12", 0, 0, L'-', true, L"-12", 1},
        {L"999", L"12", 0, 0, L'-', false, nullptr, 0},
        {L"999", L"12", 2, 2, L'\r', false, nullptr, 0},
        {L"999", L"123", 3, 1, L'4', true, L"14", 2},
        {L"999", L"12", 9, 9, L'3', true, L"123", 3},
    };
    for (const auto& k : tab) {
        SCOPED_TRACE(u8(std::wstring(L"mask \"") + k.pszMasque + L"\" text \"" + k.pszTexte + L"\" char " + k.c));
        CMasqueNumerique m(k.pszMasque);
        CTString s = L"unchanged";
        int d = -7, f = -7;
        EXPECT_EQ(m.bAccepteSaisie(k.c, k.nDebut, k.nFin, k.pszTexte, s, d, f), k.bAccepte);
        if (k.bAccepte) {
            EXPECT_EQ(u8(s), u8(k.pszNouveau));
            EXPECT_EQ(d, k.nCurseur);
            EXPECT_EQ(f, k.nCurseur);
        } else {
            EXPECT_EQ(u8(s), "unchanged") << "a refused key changes nothing";
        }
    }
}

TEST_F(Masques, FinDeSaisieEtLongueurMaximale) {
    struct {
        const wchar_t* pszMasque;
        const wchar_t* pszTexte;
        bool bFin;
    } tab[] = {
        {L"999,99", L"123,45", true}, {L"999,99", L"123", false}, {L"999", L"123", true},
        {L"999", L"12", false},       {L"-999", L"-123", true},   {L"", L"123", false},
    };
    for (const auto& k : tab)
        EXPECT_EQ(CMasqueNumerique(k.pszMasque).bFinDeSaisie(k.pszTexte, true), k.bFin)
            << u8(k.pszMasque) << " / " << u8(k.pszTexte);
    EXPECT_TRUE(CMasqueNumerique(L"999 999,99").bFinDeSaisie(L"123 456,78", false)) << "a displayed text";

    EXPECT_EQ(CMasqueNumerique(L"-999,99").nNbMaxCharEnSaisie(), 7);
    EXPECT_EQ(CMasqueNumerique(L"999").nNbMaxCharEnSaisie(), 3);
    EXPECT_EQ(CMasqueNumerique(L"999;(9 999)").nNbMaxCharEnSaisie(), 5);
    EXPECT_EQ(CMasqueNumerique(L"DiskSize").nNbMaxCharEnSaisie(), 21);
    // The maximum length of a numeric mask stays "none": typing is limited
    // by the mask's validity.
    EXPECT_EQ(CMasqueNumerique(L"999").nGetMaxInputChar(), CMasque::nLONGUEUR_MAX_AUCUNE);
    EXPECT_EQ(CMasqueNumerique(L"999").vnGetIDResErreur(), 5851);
}

TEST_F(Masques, NegatifAccepte) {
    struct {
        const wchar_t* pszMasque;
        bool bNegatif;
    } tab[] = {
        {L"999", false},       {L"-999", true},     {L"+999", true},      {L"999;(999)", true},
        {L"999;999", false},   {L"-999;999", false}, {L"(999)", true},     {L"()999", false},
        {L"999;;0", false},    {L"MoneySystemMask", true}, {L"DiskSize", false},
    };
    for (const auto& k : tab) EXPECT_EQ(CMasqueNumerique(k.pszMasque).bNegatifAccepte(), k.bNegatif) << u8(k.pszMasque);
}

// ---------------------------------------------------------------------------
// Reading back

TEST_F(Masques, Deformatage) {
    struct {
        const wchar_t* pszMasque;
        const wchar_t* pszTexte;
        bool bEnSaisie;
        bool bOk;
        const wchar_t* pszValeur;
    } tab[] = {
        {L"999 999,99", L"1 234,50", false, true, L"1234.5"},
        {L"999 999,99", L"1234,5", true, true, L"1234.5"},
        {L"999 999,99", L"1234.5", true, true, L"1234.5"},
        {L"999 999,99", L"-0012,00", true, true, L"-12"},
        {L"(999,99)", L"(12,50)", false, true, L"-12.5"},
        {L"99,9 %", L"15,5 %", false, true, L"0.155"},
        {L"99,9 %", L"15,5", true, true, L"0.155"},
        {L"999,99 $", L"12,50 \u20AC", false, true, L"12.5"},
        {L"999;(999);zero", L"zero", false, true, L"0"},
        {L"999;;;N/A", L"N/A", false, true, L""},
        {L"DiskSize", L"1,5 KB", false, true, L"1536"},
        {L"DiskSize", L"2 GB", false, true, L"2147483648"},
        {L"DiskSize", L"1023 B", false, true, L"1023"},
        {L"DiskSize", L"1536", true, true, L"1536"},
        {L"", L"1234.5", false, true, L"1234.5"},
        {L"", L"1234,5", true, true, L"1234.5"},
        {L"", L"12abc", false, false, nullptr},
        {L"999;[Red]", L"-12.5", false, true, L"-12.5"},
        {L"999", L"", false, true, L""},
        {L"999", L"abc", false, false, nullptr},
        {L"999,99", L"1,2,3", true, false, nullptr},
    };
    for (const auto& k : tab) {
        SCOPED_TRACE(u8(std::wstring(L"mask \"") + k.pszMasque + L"\" text \"" + k.pszTexte + L"\""));
        CMasqueNumerique m(k.pszMasque);
        CTString s;
        EXPECT_EQ(m.DeformateNum(k.pszTexte, s, k.bEnSaisie), k.bOk);
        if (k.bOk) {
            EXPECT_EQ(u8(s), u8(k.pszValeur));
        }
    }
}

// What is shown, in either form, reads back as the value.
TEST_F(Masques, AllerRetour) {
    const wchar_t* tabMasques[] = {L"999 999,99", L"-999 999,99 $", L"(999 999,99)", L"999 999,99 %",
                                   L"NumSystemMask", L"MoneySystemMask$", L"[Red]999 999,99;[Blue](999 999,99);Nothing"};
    const wchar_t* tabValeurs[] = {L"0", L"1", L"-1", L"12.5", L"-98.76", L"0.07", L"1234.56"};
    for (const wchar_t* pszMasque : tabMasques) {
        CMasqueNumerique m(pszMasque);
        for (const wchar_t* pszValeur : tabValeurs) {
            SCOPED_TRACE(u8(std::wstring(pszMasque) + L" / " + pszValeur));
            CTString sAffiche, sSaisie, v;
            m.Formate(pszValeur, sAffiche);
            ASSERT_TRUE(m.DeformateNum(sAffiche, v, false)) << u8(sAffiche);
            EXPECT_EQ(u8(v), u8(pszValeur)) << "from " << u8(sAffiche);
            m.FormateEnSaisie(pszValeur, sSaisie);
            ASSERT_TRUE(m.DeformateNum(sSaisie, v, true)) << u8(sSaisie);
            EXPECT_EQ(u8(v), u8(pszValeur)) << "from " << u8(sSaisie);
            if (pszValeur[0] != L'-' || m.bNegatifAccepte()) {
                EXPECT_TRUE(m.bEstValide(sSaisie)) << "the entry form is valid for its mask: " << u8(sSaisie);
            }
        }
    }
}

TEST_F(Masques, CollerUnNombre) {
    CMasqueNumerique m(L"-999 999,99");
    struct {
        const wchar_t* pszColle;
        bool bOk;
        const wchar_t* pszSaisie;
    } tab[] = {
        {L"1 234,50 \u20AC", true, L"1234,5"},
        {L"1.234,5", true, L"1234,5"},
        {L"1234.5", true, L"1234,5"},
        {L"(12)", true, L"-12"},
        {L"abc", false, nullptr},
    };
    for (const auto& k : tab) {
        CTString s;
        EXPECT_EQ(m.vbReformatePourColler(k.pszColle, s), k.bOk) << u8(k.pszColle);
        if (k.bOk) {
            EXPECT_EQ(u8(s), u8(k.pszSaisie)) << u8(k.pszColle);
        }
    }
}

// ---------------------------------------------------------------------------
// Questions on a mask

TEST_F(Masques, QuestionsSurLeMasque) {
    CMasqueNumerique p(L"99,9 %");
    EXPECT_TRUE(p.bEstMasquePourcentage());
    EXPECT_EQ(p.nDecimalesMasque(0, false), 1);
    EXPECT_EQ(p.nDecimalesMasque(0, true), 3) << "the value has two more decimals than a percentage shows";
    EXPECT_FALSE(CMasqueNumerique(L"99%%").bEstMasquePourcentage());
    EXPECT_FALSE(CMasqueNumerique(L"99\\%").bEstMasquePourcentage());

    CMasqueNumerique m(L"999;(999,999)");
    EXPECT_EQ(m.nDecimalesMasque(0), 0);
    EXPECT_EQ(m.nDecimalesMasque(1), 3);
    EXPECT_EQ(m.nDecimalesMasque(2), 0) << "a missing part is part 0";
    EXPECT_EQ(CMasqueNumerique(L"999 999,99").nGetNbChiffreSignificatifMasque(), 8);
    EXPECT_EQ(CMasqueNumerique(L"9 999,9 9").nDecimalesMasque(), 2) << "decimals run over spaces";
    EXPECT_EQ(CMasqueNumerique(L"999,99 kg 9").nDecimalesMasque(), 2) << "and stop at anything else";
    EXPECT_TRUE(CMasqueNumerique(L"DiskSize").bEstMasqueTailleDisque());
    EXPECT_FALSE(CMasqueNumerique(L"999").bEstMasqueTailleDisque());

    CTString s;
    CMasqueNumerique t(L"Total: 999,99 $");
    t.GetPrefixeChiffre(0, s);
    EXPECT_EQ(u8(s), "Total: ");
    t.GetPostfixeChiffre(0, s);
    EXPECT_EQ(u8(s), " \u20AC");
    CMasqueNumerique par(L"(999)");
    par.GetPrefixeChiffre(0, s);
    EXPECT_EQ(u8(s), "");

    EXPECT_EQ(u8(CMN::sConstruitMasqueMonetaire(6, 2, true)), "-999 999,99 $");
    EXPECT_EQ(u8(CMN::sConstruitMasqueMonetaire(4, 0, false)), "-9 999");

    // The null value: the fourth part, the module's text otherwise, nothing
    // in entry.
    EXPECT_EQ(u8(CMasqueNumerique(L"999;;;").pszGetValeurPourNull()), "");
    const CTString sNull = sMessageMasque(eMSG_MASQUE_NULL);
    EXPECT_FALSE(sNull.empty());
    EXPECT_EQ(u8(CMasqueNumerique(L"999").pszGetValeurPourNull()), u8(sNull));
    EXPECT_EQ(u8(CMasqueNumerique(L"999;;;N/A").pszGetValeurPourNull(true)), "");
}

TEST_F(Masques, MasqueAvecNChiffres) {
    struct {
        const wchar_t* pszMasque;
        int n;
        const char* pszAttendu;
    } tab[] = {
        {L"999 999,99", 17, "99 999 999 999 999 999,99"},
        {L"[Red]-999 990,00;(999 990,00)", 7, "[Red]-9 999 990,00;(9 999 990,00)"},
        {L"999", 5, "99999"},
        {L"Total 999", 2, "Total 99"},
        {L"DiskSize", 17, "DiskSize"},
        {L"MoneySystemMask$", 17, "-99 999 999 999 999 999,99 $"},
    };
    for (const auto& k : tab) {
        CTString s;
        CMasqueNumerique(k.pszMasque).GetMasqueAvecNChiffres(k.n, s);
        EXPECT_EQ(u8(s), k.pszAttendu) << u8(k.pszMasque);
    }
}

// ---------------------------------------------------------------------------
// The warning of a value that does not fit, raised on the object

class VMAvertissements : public CVMNeutre {
public:
    void Avertissement(const wchar_t* psz) override { tab.emplace_back(psz ? psz : L""); }
    std::vector<std::wstring> tab;
};

class CChampNomme : public CObjetAPCodeOBJ {
public:
    CTString GetNomComplet() const override { return L"FEN_Achat." + m_sNom; }
};

class AvertissementDepassement : public Masques {
protected:
    void SetUp() override {
        Masques::SetUp();
        ASSERT_EQ(gpclExe, nullptr);
        gpclExe = new CExe();
        gpclExe->LoadVM(&vm);
        champ.SetName(L"EDT_Prix");
    }
    void TearDown() override {
        gpclExe->LoadVM(nullptr);
        gpclExe->nRelease();
        gpclExe = nullptr;
        Masques::TearDown();
    }
    VMAvertissements vm;
    CChampNomme champ;
};

TEST_F(AvertissementDepassement, LeveSurLObjet) {
    CMasqueNumerique m(L"999");
    CTString s;
    m.Formate(L"1234", s, &champ);
    EXPECT_EQ(u8(s), "+++");
    ASSERT_EQ(vm.tab.size(), 1u);
    const std::wstring sAttendu =
        L"FEN_Achat.EDT_Prix: " + ErreurKVOBJ(10637, {L"1234", L"999", L"+++"}).sGetMessage();
    EXPECT_EQ(u8(vm.tab[0]), u8(sAttendu));
    EXPECT_NE(vm.tab[0].find(L"1234"), std::wstring::npos);
}

TEST_F(AvertissementDepassement, SeulementQuandLaValeurNeTientPas) {
    CMasqueNumerique m(L"999");
    CTString s;
    m.Formate(L"123", s, &champ);      // fits
    m.Formate(L"1234", s);             // no object
    m.FormateEnSaisie(L"1234", s);     // entry form
    EXPECT_TRUE(vm.tab.empty());
}

// ---------------------------------------------------------------------------
// Hexadecimal masks

TEST_F(Masques, ConversionsHexadecimales) {
    struct {
        const wchar_t* pszDecimal;
        const char* pszHexa;  // null: not convertible
    } tabVersHexa[] = {
        {L"255", "FF"},
        {L"0", "0"},
        {L"-1", "FFFFFFFFFFFFFFFF"},
        {L"9223372036854775807", "7FFFFFFFFFFFFFFF"},
        {L"-9223372036854775808", "8000000000000000"},
        {L"9223372036854775808", nullptr},
        {L"12.00", "C"},
        {L"12.5", nullptr},
        {L"abc", nullptr},
        {L"", nullptr},
    };
    for (const auto& k : tabVersHexa) {
        CTString s;
        EXPECT_EQ(CMasqueHexadecimal::GetChaineHexadecimale(k.pszDecimal, s), k.pszHexa != nullptr) << u8(k.pszDecimal);
        if (k.pszHexa) {
            EXPECT_EQ(u8(s), k.pszHexa);
        }
    }
    struct {
        const wchar_t* pszHexa;
        const char* pszDecimal;
    } tabVersDecimal[] = {
        {L"FF", "255"},
        {L"0xff", "255"},
        {L"FFFFFFFFFFFFFFFF", "-1"},
        {L"8000000000000000", "-9223372036854775808"},
        {L"10000000000000000", nullptr},
        {L"G", nullptr},
        {L"", nullptr},
    };
    for (const auto& k : tabVersDecimal) {
        CTString s;
        EXPECT_EQ(CMasqueHexadecimal::GetChaineDecimale(k.pszHexa, s), k.pszDecimal != nullptr) << u8(k.pszHexa);
        if (k.pszDecimal) {
            EXPECT_EQ(u8(s), k.pszDecimal);
        }
    }
}

TEST_F(Masques, MasqueHexadecimal) {
    EXPECT_TRUE(CMasqueHexadecimal::sbEstUnMasqueHexaDecimal(L"Hexa"));
    EXPECT_TRUE(CMasqueHexadecimal::sbEstUnMasqueHexaDecimal(L"hexa:X"));
    EXPECT_FALSE(CMasqueHexadecimal::sbEstUnMasqueHexaDecimal(L"Hexadecimal"));
    EXPECT_FALSE(CMasqueHexadecimal::sbEstUnMasqueHexaDecimal(L"999"));

    struct {
        const wchar_t* pszMasque;
        const wchar_t* pszValeur;
        const char* pszAffiche;
        const char* pszRelu;
    } tab[] = {
        {L"Hexa", L"255", "FF", "255"},
        {L"Hexa:D", L"-1", "FFFFFFFFFFFFFFFF", "-1"},
        {L"Hexa:X", L"ff", "FF", "FF"},
        {L"hexa:0x", L"0xff", "FF", "0xFF"},
    };
    for (const auto& k : tab) {
        SCOPED_TRACE(u8(k.pszMasque));
        auto m = CMasque::pclGetNewMasqueHexadecimal(k.pszMasque);
        CTString s, v;
        m->Formate(k.pszValeur, s);
        EXPECT_EQ(u8(s), k.pszAffiche);
        ASSERT_TRUE(m->vbDeformate(s, v, false));
        EXPECT_EQ(u8(v), k.pszRelu);
    }
    CMasqueHexadecimal h(L"Hexa");
    EXPECT_EQ(h.wGetTypeFromMasque(), 9);
    EXPECT_EQ(h.eGetTypeMaskTexte(), eMASQUE_TEXTE_HEXADECIMAL);
    EXPECT_EQ(h.nGetMaxInputChar(), 16);
    EXPECT_TRUE(h.bEstValideEnSaisie(L"0123456789ABCDEF"));
    EXPECT_FALSE(h.bEstValideEnSaisie(L"0123456789ABCDEF0"));
    EXPECT_FALSE(h.bEstValideEnSaisie(L"12G"));
}

// ---------------------------------------------------------------------------
// Fixed masks: a complete typed text, its value, and the value shown again

// The longest duration, 2^63 - 1 ms, is 2562047788015 h 12 min 55.807 s.
constexpr const wchar_t* kpszMasqueDureeLongue = L"HHHHHHHHHHHHH:MM:SS.CCC";

struct STCasMasqueFixe {
    eGENRE_MASQUE_FIXE eGenre;
    const wchar_t* pszMasque;
    const wchar_t* pszTexte;
    const wchar_t* pszValeur;   // null: the text holds no value and is refused
};

const STCasMasqueFixe ktabMasquesFixes[] = {
    {eGENRE_MASQUE_FIXE::DATE, L"JJ/MM/AAAA", L"10/12/2026", L"20261210"},
    {eGENRE_MASQUE_FIXE::HEURE, L"HH:MM", L"09:30", L"093000000"},
    {eGENRE_MASQUE_FIXE::DUREE, L"HH:MM:SS", L"01:30:15", L"5415000"},
    {eGENRE_MASQUE_FIXE::DUREE, L"MM:SS", L"90:00", L"5400000"},
    {eGENRE_MASQUE_FIXE::DUREE, L"HHH:MM:SS.CC", L"100:00:00.25", L"360000250"},
    {eGENRE_MASQUE_FIXE::DUREE, kpszMasqueDureeLongue, L"2562047788015:12:55.807", L"9223372036854775807"},
    // A duration past the longest one is refused rather than wrapped to a
    // wrong number of milliseconds.
    {eGENRE_MASQUE_FIXE::DUREE, kpszMasqueDureeLongue, L"2562047788015:12:55.808", nullptr},
    {eGENRE_MASQUE_FIXE::DUREE, kpszMasqueDureeLongue, L"9999999999999:59:59.999", nullptr},
    {eGENRE_MASQUE_FIXE::DUREE, L"SSSSSSSSSSSSSSSSS", L"99999999999999999", nullptr},
    // A field of more digits than a number holds.
    {eGENRE_MASQUE_FIXE::DUREE, L"CCCCCCCCCCCCCCCCCCCC", L"99999999999999999999", nullptr},
    {eGENRE_MASQUE_FIXE::DATE, L"JJ/MM/AAAAAAAAAAAAAAAAAAAA", L"01/01/99999999999999999999", nullptr},
};

TEST_F(Masques, MasquesFixesTapesEtRelus) {
    for (const auto& k : ktabMasquesFixes) {
        SCOPED_TRACE(u8(std::wstring(L"mask \"") + k.pszMasque + L"\" text \"" + k.pszTexte + L"\""));
        CMasqueFixe m(k.pszMasque, k.eGenre);
        CTString v = L"stale";
        const bool bLu = m.vbDeformate(k.pszTexte, v, true);
        if (!k.pszValeur) {
            EXPECT_FALSE(bLu);
            EXPECT_EQ(u8(v), "");
            EXPECT_FALSE(m.bEstValide(k.pszTexte));
            continue;
        }
        ASSERT_TRUE(bLu);
        EXPECT_EQ(u8(v), u8(k.pszValeur));
        EXPECT_TRUE(m.bEstValide(k.pszTexte));
        CTString s;
        m.Formate(v, s);
        EXPECT_EQ(u8(s), u8(k.pszTexte));
    }
}

// A negative duration shows its length; the most negative one too, though
// it has no positive counterpart.
TEST_F(Masques, DureesNegativesAffichees) {
    CMasqueFixe m(kpszMasqueDureeLongue, eGENRE_MASQUE_FIXE::DUREE);
    struct {
        const wchar_t* pszValeur;
        const char* pszAffiche;
    } tab[] = {
        {L"-5415000", "0000000000001:30:15.000"},
        {L"-9223372036854775807", "2562047788015:12:55.807"},
        {L"-9223372036854775808", "2562047788015:12:55.808"},
    };
    for (const auto& k : tab) {
        SCOPED_TRACE(u8(k.pszValeur));
        CTString s;
        m.Formate(k.pszValeur, s);
        EXPECT_EQ(u8(s), k.pszAffiche);
    }
}

} // namespace
