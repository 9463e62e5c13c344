// Text masks of edit controls: predefined masks by number and
// regular-expression masks.
#include <gtest/gtest.h>

#include <QString>
#include <string>

#include "controls/edit/CMasqueHexadecimal.h"
#include "controls/edit/CMasqueTexte.h"

namespace {

std::string u8(const std::wstring& s) { return QString::fromStdWString(s).toStdString(); }

// Types the characters one by one at the end of the text, as a user would;
// refused keys are dropped.
CTString Tape(const CMasque& m, const wchar_t* pszTouches) {
    CTString s;
    for (const wchar_t* p = pszTouches; *p; ++p) {
        CTString n;
        int d = 0, f = 0;
        const int nFin = static_cast<int>(s.size());
        if (m.bAccepteSaisie(*p, nFin, nFin, s, n, d, f)) {
            EXPECT_EQ(d, nFin + 1);
            s = n;
        }
    }
    return s;
}

TEST(MasquesTexte, NumerosPredefinis) {
    const int tabNumeros[] = {eMASQUE_TEXTE_MAJUSCULES, eMASQUE_TEXTE_MINUSCULES, eMASQUE_TEXTE_PREMIERE_MAJUSCULE,
                              eMASQUE_TEXTE_CHIFFRES,   eMASQUE_TEXTE_HEXADECIMAL, eMASQUE_TEXTE_NOM_FICHIER,
                              eMASQUE_TEXTE_EMAIL};
    for (int n : tabNumeros) {
        auto m = CMasque::pclGetNewMasqueTexte(n);
        ASSERT_TRUE(m) << n;
        EXPECT_EQ(m->eGetTypeMaskTexte(), n);
    }
    for (int n : {0, 6, 9, 11, 15, 17, -1, 1000})
        EXPECT_FALSE(CMasque::pclGetNewMasqueTexte(n)) << n << " gives no mask";
    // The predefined numbers are stored in descriptions: they never move.
    EXPECT_EQ(eMASQUE_TEXTE_MAJUSCULES, 1);
    EXPECT_EQ(eMASQUE_TEXTE_MINUSCULES, 2);
    EXPECT_EQ(eMASQUE_TEXTE_PREMIERE_MAJUSCULE, 3);
    EXPECT_EQ(eMASQUE_TEXTE_CHIFFRES, 4);
    EXPECT_EQ(eMASQUE_TEXTE_HEXADECIMAL, 5);
    EXPECT_EQ(eMASQUE_TEXTE_NOM_FICHIER, 10);
    EXPECT_EQ(eMASQUE_TEXTE_EMAIL, 16);
}

TEST(MasquesTexte, Frappe) {
    struct {
        int nMasque;
        const wchar_t* pszTouches;
        const wchar_t* pszResultat;
    } tab[] = {
        {eMASQUE_TEXTE_MAJUSCULES, L"abc \u00e9t\u00e91", L"ABC \u00c9T\u00c91"},
        {eMASQUE_TEXTE_MINUSCULES, L"ABC \u00c9T\u00c9", L"abc \u00e9t\u00e9"},
        {eMASQUE_TEXTE_PREMIERE_MAJUSCULE, L"jean-pierre o'neil", L"Jean-Pierre O'Neil"},
        {eMASQUE_TEXTE_PREMIERE_MAJUSCULE, L"mcDonald", L"McDonald"},
        {eMASQUE_TEXTE_CHIFFRES, L"a1b2 3\u0663", L"123"},
        {eMASQUE_TEXTE_NOM_FICHIER, L"a/b\\c:d*e?f\"g<h>i|j.txt", L"abcdefghij.txt"},
        {eMASQUE_TEXTE_EMAIL, L"jean dupont@exemple.fr", L"jeandupont@exemple.fr"},
        {eMASQUE_TEXTE_EMAIL, L"a@@b..c", L"a@b.c"},
        {eMASQUE_TEXTE_EMAIL, L"@a", L"a"},
        {eMASQUE_TEXTE_HEXADECIMAL, L"0x1fg", L"01F"},
    };
    for (const auto& k : tab) {
        auto m = CMasque::pclGetNewMasqueTexte(k.nMasque);
        ASSERT_TRUE(m);
        EXPECT_EQ(u8(Tape(*m, k.pszTouches)), u8(k.pszResultat)) << k.nMasque << " typing " << u8(k.pszTouches);
    }
}

TEST(MasquesTexte, FormatageDesMasquesDeCasse) {
    CTString s;
    CMasqueTexte(eMASQUE_TEXTE_MAJUSCULES).Formate(L"abc", s);
    EXPECT_EQ(u8(s), "ABC");
    CMasqueTexte(eMASQUE_TEXTE_PREMIERE_MAJUSCULE).FormateEnSaisie(L"jean dupont", s);
    EXPECT_EQ(u8(s), "Jean Dupont");
    CMasqueTexte(eMASQUE_TEXTE_EMAIL).Formate(L"A@B.fr", s);
    EXPECT_EQ(u8(s), "A@B.fr") << "other masks show the value as it is";
}

TEST(MasquesTexte, ValiditeEmail) {
    CMasqueTexte m(eMASQUE_TEXTE_EMAIL);
    struct {
        const wchar_t* pszTexte;
        bool bEnSaisie;  // can still become an address
        bool bSortie;    // is an address
    } tab[] = {
        {L"jean.dupont@exemple.fr", true, true},
        {L"j+x@sous-domaine.exemple.fr", true, true},
        {L"", true, true},
        {L"jean", true, false},
        {L"jean@", true, false},
        {L"jean@exemple", true, false},
        {L"jean@exemple.", true, false},
        {L"jean@ex-", true, false},
        {L"jean@localhost", true, false},
        {L"@exemple.fr", false, false},
        {L".jean@ex.fr", false, false},
        {L"jean..d@ex.fr", false, false},
        {L"jean.@ex.fr", false, false},
        {L"jean@ex..fr", false, false},
        {L"jean@-ex.fr", false, false},
        {L"jean@ex-.fr", false, false},
        {L"jean@ex.fr-", true, false},
        {L"a@b@c.fr", false, false},
        {L"jean@ex_1.fr", false, false},
    };
    for (const auto& k : tab) {
        EXPECT_EQ(m.bEstValideEnSaisie(k.pszTexte), k.bEnSaisie) << "typing " << u8(k.pszTexte);
        EXPECT_EQ(m.bEstValide(k.pszTexte), k.bSortie) << "leaving " << u8(k.pszTexte);
    }
    EXPECT_EQ(m.nGetMaxInputChar(), 254);
    EXPECT_FALSE(m.bEstValideEnSaisie(std::wstring(65, L'a') + L"@ex.fr")) << "local part of 64 at most";
}

TEST(MasquesTexte, ValiditeNomDeFichier) {
    CMasqueTexte m(eMASQUE_TEXTE_NOM_FICHIER);
    struct {
        const wchar_t* pszTexte;
        bool bValide;
    } tab[] = {
        {L"rapport 2024.txt", true}, {L".bashrc", true}, {L"", true},   {L".", false},      {L"..", false},
        {L"a.", false},              {L"a ", false},     {L"a|b", false}, {L"a\tb", false}, {L"dossier/a", false},
    };
    for (const auto& k : tab) EXPECT_EQ(m.bEstValide(k.pszTexte), k.bValide) << u8(k.pszTexte);
    EXPECT_TRUE(m.bEstValideEnSaisie(L"a.")) << "a name being typed may end with a dot";
    EXPECT_TRUE(m.bEstValide(std::wstring(255, L'a')));
    EXPECT_FALSE(m.bEstValide(std::wstring(256, L'a')));
    EXPECT_EQ(m.nGetMaxInputChar(), 255);
    CTString s;
    EXPECT_TRUE(m.vbReformatePourColler(L"a/b:c.txt", s));
    EXPECT_EQ(u8(s), "abc.txt") << "a pasted name loses the forbidden characters";
}

TEST(MasquesTexte, ExpressionReguliere) {
    bool bErreur = true;
    auto m = CMasque::pclGetNewMasqueTexte(L"regexp:[A-Z]{2}[0-9]{3}", bErreur);
    ASSERT_TRUE(m);
    EXPECT_FALSE(bErreur);
    EXPECT_EQ(m->eGetTypeMaskTexte(), eMASQUE_TEXTE_EXPRESSION_REGULIERE);
    struct {
        const wchar_t* pszTexte;
        bool bEnSaisie;
        bool bSortie;
    } tab[] = {
        {L"", true, true},        {L"A", true, false},    {L"AB1", true, false}, {L"AB123", true, true},
        {L"A1", false, false},    {L"AB1234", false, false}, {L"ab", false, false}, {L"xAB123", false, false},
    };
    for (const auto& k : tab) {
        EXPECT_EQ(m->bEstValideEnSaisie(k.pszTexte), k.bEnSaisie) << "typing " << u8(k.pszTexte);
        EXPECT_EQ(m->bEstValide(k.pszTexte), k.bSortie) << "leaving " << u8(k.pszTexte);
    }
    EXPECT_EQ(u8(Tape(*m, L"AB12345")), "AB123");

    auto alt = CMasque::pclGetNewMasqueTexte(L"regexp:(cat|dog)s?", bErreur);
    ASSERT_TRUE(alt);
    EXPECT_TRUE(alt->bEstValideEnSaisie(L"ca"));
    EXPECT_TRUE(alt->bEstValideEnSaisie(L"cats"));
    EXPECT_FALSE(alt->bEstValideEnSaisie(L"cx"));
    EXPECT_FALSE(alt->bEstValideEnSaisie(L"catss"));
    EXPECT_FALSE(alt->bEstValide(L"do"));
    EXPECT_TRUE(alt->bEstValide(L"dog"));
}

TEST(MasquesTexte, ExpressionInvalideOuAbsente) {
    bool bErreur = false;
    EXPECT_FALSE(CMasque::pclGetNewMasqueTexte(L"regexp:[A-", bErreur));
    EXPECT_TRUE(bErreur) << "a pattern that does not compile: no mask, and the change fails";
    EXPECT_FALSE(CMasque::pclGetNewMasqueTexte(L"regexp:", bErreur));
    EXPECT_FALSE(bErreur) << "an empty pattern is no mask";
    EXPECT_FALSE(CMasque::pclGetNewMasqueTexte(L"abc", bErreur));
    EXPECT_FALSE(bErreur);
    CTString sErreur;
    EXPECT_FALSE(CMasqueTexte::pclExpressionReguliere(L"(a", &sErreur));
    EXPECT_FALSE(sErreur.empty());
}

} // namespace
