// The edit control: its record read from bytes written by hand, typing
// through the mask on the real widget, and the exit checks in their order
// inside a window opened by the real host (Lua code from a compiled project).
#include "HoteProjet.h"
#include "Octets.h"
#include "controls/core/Archive.h"
#include "controls/edit/CISaisie.h"
#include "controls/edit/CSaisie.h"
#include "kv/host.h"
#include "code/CRunnerLua.h"
#include "conteneur/Identifiants.h"
#include "frame/Numeros.h"
#include <gtest/gtest.h>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace kvoctets;

namespace {

STSaisie Lit(const Octets& o, size_t* pnPosition = nullptr) {
    CKVBuffer b(o.data(), o.size());
    STSaisie st;
    st.sNomControle = L"EDT_T";
    xLitEnregistrement(b, st);
    if (pnPosition) *pnPosition = b.nGetPosition();
    return st;
}

// Version 612, numeric, mandatory, mask "-999"; the declared size covers
// its own word, the ellipsis and four bytes of a newer writer.
const Octets kVersion612 = {
    LE32(612), LE32(0), LE32(0), LE32(1), 0x08, 0x00,                       // length, multi-line, type, value type 8
    LE32(0), LE32(0), LE32(0), LE32(0), LE32(0), LE32(1), LE32(0), LE32(0),  // mask no., empty if null, options,
    LE32(0), LE32(1),                                                       //   password, scrolls, auto end, mandatory
    LE32(1), LE32(0), '-', '9', '9', '9', 0,                                // has mask, its number, its text
    LE32(0), LE32(0), 0, 0,                                                 // currency, multi-criteria, bounds
    LE32(12), LE32(3), 0xDE, 0xAD, 0xBE, 0xEF,                              // declared size, ellipsis, unknown
    0xAB,                                                                   // what follows the record
};

TEST(EnregistrementSaisie, HandWrittenRecordsRead) {
    size_t nPos = 0;
    STSaisie st = Lit(kVersion612, &nPos);
    EXPECT_EQ(nPos, kVersion612.size() - 1);
    EXPECT_EQ(st.nVersion, 612u);
    EXPECT_EQ(st.eTypeSaisie, eSAISIE_NUMERIQUE);
    EXPECT_EQ(st.wTypeValeur, 8);
    EXPECT_TRUE(st.bObligatoire);
    EXPECT_FALSE(st.bMotDePasse);
    EXPECT_TRUE(st.bAutoHScroll);
    EXPECT_EQ(st.sMasque, L"-999");
    EXPECT_EQ(st.nEllipse, 3);
    // Scroll bar creation modes come from the scroll bar words before 620.
    EXPECT_EQ(st.nQuandAscenseurH, 2);
    EXPECT_EQ(st.nQuandAscenseurV, 2);
    // The mask language of 615 on writes that minus sign twice.
    CSaisie::sAdapteMasqueAncien(st);
    EXPECT_EQ(st.sMasque, L"--999");

    // Version 603: the short item 4 and an old value type code (17: wide string).
    const Octets k603 = {LE32(603), LE32(10), LE32(0), LE32(0), 17, 0, LE32(0), LE32(0), LE32(0),
                         LE32(1),   LE32(0),  LE32(1), LE32(1), LE32(0), LE32(0), 0xAB};
    st = Lit(k603, &nPos);
    EXPECT_EQ(nPos, k603.size() - 1);
    EXPECT_EQ(st.nTailleMax, 10);
    EXPECT_EQ(st.wTypeValeur, KS_PSTRW);
    EXPECT_TRUE(st.bMotDePasse);
    EXPECT_TRUE(st.bAutoHScroll);
    EXPECT_TRUE(st.bAscenseurV);
    EXPECT_EQ(st.nQuandAscenseurV, 0);
    EXPECT_EQ(st.nQuandAscenseurH, 2);
    CSaisie::sAdapteMasqueAncien(st);  // a text edit keeps its mask as written
    EXPECT_FALSE(st.bObligatoire);
}

TEST(EnregistrementSaisie, RefusedRecords) {
    struct Cas {
        const char* pszNom;
        Octets o;
        int nErreur;
    } tab[] = {
        {"edit type 6", {LE32(640), LE32(0), LE32(0), LE32(6), 0x08, 0x00}, 10152},
        {"version 600", {LE32(600), LE32(0)}, 10014},
        {"version 711", {LE32(711), LE32(0)}, 10084},
        {"declared size past the data",
         {LE32(611), LE32(0), LE32(0), LE32(0), 110, 0, LE32(0), LE32(0), LE32(0), LE32(0), LE32(0), LE32(0), LE32(0),
          LE32(0), LE32(0), LE32(0), LE32(0), LE32(0), LE32(0), 0, 0, LE32(400)},
         10011},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszNom);
        try {
            Lit(c.o);
            ADD_FAILURE() << "read without error";
        } catch (const CXError& e) {
            EXPECT_EQ(e.nGetErreur(), c.nErreur);
        }
    }
}

// What the writer writes, the reader reads (version 640, every field set).
TEST(EnregistrementSaisie, WrittenRecordReadsBack) {
    STSaisie st;
    st.eTypeSaisie = eSAISIE_NUMERIQUE;
    st.wTypeValeur = KS_CY;
    st.bAvecMasque = true;
    st.sMasque = L"999 999,99 $";
    st.bGestionEuro = true;
    st.euro.wDeviseAffichage = 3;
    st.euro.sChampLie = L"EDT_Lie";
    st.sBorneMin = L"1";
    st.sBorneMax = L"5000";
    st.bBoutonCalendrier = true;
    st.tabBlocCalendrier = {1, 2, 3};
    st.sTexteConseil = L"Montant";
    st.sMasqueAffichage = L"999 999,99";
    CKVBuffer b;
    EcritEnregistrement(b, st);
    b << static_cast<uint8_t>(0xAB);
    Octets o = b.Octets();
    size_t nPos = 0;
    STSaisie lu = Lit(o, &nPos);
    EXPECT_EQ(nPos, o.size() - 1);
    EXPECT_EQ(lu.nVersion, 640u);
    EXPECT_EQ(lu.wTypeValeur, KS_CY);
    EXPECT_EQ(lu.sMasque, st.sMasque);
    EXPECT_EQ(lu.euro.wDeviseAffichage, 3);
    EXPECT_EQ(lu.euro.sChampLie, L"EDT_Lie");
    EXPECT_EQ(lu.sBorneMax, L"5000");
    EXPECT_EQ(lu.tabBlocCalendrier, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(lu.sTexteConseil, L"Montant");
    EXPECT_EQ(lu.sMasqueAffichage, L"999 999,99");
}

// ---------------------------------------------------------------- typing

struct Saisie {
    CSaisie* p = new CSaisie();
    QWidget hote;
    explicit Saisie(void (*pfn)(STSaisie&)) {
        pfn(p->Saisie());
        p->ConstruitMasque();
        hote.resize(300, 100);
        p->InitSurOnCreate(&hote);
        p->OnGainFocus();
    }
    ~Saisie() { p->nRelease(); }
    QWidget* w() { return p->pGetWidget(); }
    std::wstring Texte() { return p->sGetTexteAffiche(); }
};

TEST(FrappeSaisie, KeysGoThroughTheMask) {
    struct Cas {
        const char* pszNom;
        void (*pfnPrepare)(STSaisie&);
        const char* pszFrappe;
        std::wstring sAttendu;
    } tab[] = {
        {"numeric 999,99 keeps three integer digits",
         [](STSaisie& s) {
             s.eTypeSaisie = eSAISIE_NUMERIQUE;
             s.bAvecMasque = true;
             s.sMasque = L"999,99";
         },
         "1234,567", L"123,56"},
        {"numeric refuses letters and a sign the mask lacks",
         [](STSaisie& s) {
             s.eTypeSaisie = eSAISIE_NUMERIQUE;
             s.bAvecMasque = true;
             s.sMasque = L"999";
         },
         "-a1b2", L"12"},
        {"upper-case text mask", [](STSaisie& s) { s.nNumeroMasque = 1; }, "abc d", L"ABC D"},
        {"maximum length", [](STSaisie& s) { s.nTailleMax = 3; }, "abcdef", L"abc"},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszNom);
        Saisie s(c.pfnPrepare);
        QTest::keyClicks(s.w(), c.pszFrappe);
        EXPECT_EQ(s.Texte(), c.sAttendu);
    }
}

// Dates, times and durations: digits fill the positions, literals come by
// themselves, and the value is the internal form.
TEST(FrappeSaisie, FixedMasksOfDatesTimesAndDurations) {
    struct Cas {
        const char* pszNom;
        void (*pfnPrepare)(STSaisie&);
        const char* pszFrappe;
        std::wstring sAffiche;
        std::wstring sValeur;
    } tab[] = {
        {"date", [](STSaisie& s) { s.eTypeSaisie = eSAISIE_DATE; s.sMasque = L"JJ/MM/AAAA"; }, "1012202699", L"10/12/2026",
         L"20261210"},
        {"date with a two-digit year", [](STSaisie& s) { s.eTypeSaisie = eSAISIE_DATE; s.sMasque = L"JJ/MM/AA"; }, "311299",
         L"31/12/99", L"19991231"},
        {"partly typed date", [](STSaisie& s) { s.eTypeSaisie = eSAISIE_DATE; s.sMasque = L"JJ/MM/AAAA"; }, "10", L"10/",
         L"00000010"},
        {"time", [](STSaisie& s) { s.eTypeSaisie = eSAISIE_HEURE; s.sMasque = L"HH:MM"; }, "0930x", L"09:30",
         L"093000000"},
        {"duration", [](STSaisie& s) { s.eTypeSaisie = eSAISIE_DUREE; s.sMasque = L"HH:MM:SS"; }, "013015", L"01:30:15",
         L"5415000"},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszNom);
        Saisie s(c.pfnPrepare);
        QTest::keyClicks(s.w(), c.pszFrappe);
        EXPECT_EQ(s.Texte(), c.sAffiche);
        s.p->OnPerteFocus();
        CAny v;
        s.p->GetValeur(&v);
        CTString t;
        int64_t n = 0;
        if (v.nGetINT_64(n) == 0) t = std::to_wstring(n);
        else if (v.nGetType() == KS_PSTRW) t = static_cast<const wchar_t* const*>(v.pGetStockage())[0];
        EXPECT_EQ(t, c.sValeur);
    }
}

// A date that does not exist cannot be left; an empty one can.
TEST(FrappeSaisie, AnImpossibleDateIsRefusedAtExit) {
    Saisie s([](STSaisie& st) {
        st.eTypeSaisie = eSAISIE_DATE;
        st.sMasque = L"JJ/MM/AAAA";
    });
    EXPECT_TRUE(s.p->bTestDateValide());
    QTest::keyClicks(s.w(), "30022024");
    EXPECT_FALSE(s.p->bTestDateValide());
    s.p->SelectionneTout();
    QTest::keyClicks(s.w(), "29022024");
    EXPECT_EQ(s.Texte(), L"29/02/2024");
    EXPECT_TRUE(s.p->bTestDateValide());
}

// The language face of an edit is its own, and changes the value type of
// numeric edits only.
TEST(FaceSaisie, ValueTypeChangesOnlyOnNumericEdits) {
    Saisie texte([](STSaisie&) {});
    auto* i = dynamic_cast<CISaisie*>(texte.p->pclGetIChamp());
    ASSERT_NE(i, nullptr);
    i->SetTypeKS(KS_I4);
    EXPECT_EQ(texte.p->wGetTypeValeur(), KS_PSTRW);

    Saisie nombre([](STSaisie& s) {
        s.eTypeSaisie = eSAISIE_NUMERIQUE;
        s.bAvecMasque = true;
        s.sMasque = L"999,99";
    });
    i = dynamic_cast<CISaisie*>(nombre.p->pclGetIChamp());
    ASSERT_NE(i, nullptr);
    i->SetTypeKS(KS_CY);
    EXPECT_EQ(nombre.p->wGetTypeValeur(), KS_CY);
    EXPECT_EQ(i->eGetTypeSaisie(), 4);
    i->SetTypeKS(999);  // not a type of the language
    EXPECT_EQ(nombre.p->wGetTypeValeur(), KS_CY);
}

TEST(FrappeSaisie, EnterIsTextOnlyInAMultiLineEdit) {
    Saisie ligne([](STSaisie&) {});
    QTest::keyClicks(ligne.w(), "a");
    QTest::keyClick(ligne.w(), Qt::Key_Return);
    QTest::keyClicks(ligne.w(), "b");
    EXPECT_EQ(ligne.Texte(), L"ab");

    Saisie multi([](STSaisie& s) { s.bMultiligne = true; });
    QTest::keyClicks(multi.w(), "a");
    QTest::keyClick(multi.w(), Qt::Key_Return);
    QTest::keyClicks(multi.w(), "b");
    EXPECT_EQ(multi.Texte(), L"a\nb");
}

TEST(FrappeSaisie, AGreyedEditRefusesCharactersAndBackspaceEditsThroughTheModel) {
    Saisie s([](STSaisie&) {});
    QTest::keyClicks(s.w(), "abc");
    QTest::keyClick(s.w(), Qt::Key_Backspace);
    EXPECT_EQ(s.Texte(), L"ab");
    // The caret moved by the user is where the next character goes.
    QTest::keyClick(s.w(), Qt::Key_Home);
    QTest::keyClicks(s.w(), "x");
    EXPECT_EQ(s.Texte(), L"xab");
    s.p->SetState(static_cast<FEN_ETAT>(4));
    QTest::keyClicks(s.w(), "zz");
    QTest::keyClick(s.w(), Qt::Key_Backspace);
    EXPECT_EQ(s.Texte(), L"xab");
}

// ---------------------------------------------------------------- in a window

class SaisieFenetre : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string& sProjet = kvtest::ProjetCompile(kvtest::CheminFixture("edit"));
        ASSERT_FALSE(sProjet.empty());
        std::string sErreur;
        ASSERT_TRUE(hote.bDemarre(sProjet, sErreur)) << sErreur;
        lua = static_cast<IRunnerLua*>(hote->piGetRunnerProjet());
        ASSERT_NE(lua, nullptr);
        hote.AppelleFenetre("KSL_OuvreFille_0", L"FEN_Saisie");
        ASSERT_FALSE(hote.Erreur()->bEstErreur());
    }
    CSaisie* Champ(const wchar_t* pszNom) {
        std::wstring s = std::wstring(L"FEN_Saisie.") + pszNom;
        return static_cast<CSaisie*>(static_cast<CObjetAPCodeOBJ*>(hote.pObjet(s.c_str())));
    }
    // Focus moves to a control as the Tab key would move it there.
    void Focus(CSaisie* c) {
        c->pGetWidget()->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
    }
    long long Globale(const char* pszNom) {
        STValeurHote v;
        return lua->bLitGlobale(pszNom, v) ? v.nEntier : 0;
    }
    std::string Propriete(const wchar_t* pszNom, int nPropriete) {
        CAny cl;
        CXError e;
        if (!hote->piGetGate()->bGetPropriete(Champ(pszNom), static_cast<EPropriete>(nPropriete), &cl, &e))
            return "error " + std::to_string(e.nGetErreur());
        // This program's own conversions are not the host's: integers and
        // texts are read directly.
        int n = 0;
        if (cl.nGetINT(n) == 0) return std::to_string(n);
        CTString s;
        if (cl.nGetType() == KS_PSTRW) s = static_cast<const wchar_t* const*>(cl.pGetStockage())[0];
        return std::string(s.begin(), s.end());
    }

    kvtest::HoteProjet hote;
    IRunnerLua* lua = nullptr;
};

// An empty mandatory edit keeps the focus and runs no exit code; once
// filled, it lets the focus go and its exit code runs once.
TEST_F(SaisieFenetre, MandatoryEditKeepsTheFocusWhileEmpty) {
    CSaisie* pOblig = Champ(L"EDT_Oblig");
    CSaisie* pAutre = Champ(L"EDT_Autre");
    ASSERT_TRUE(pOblig && pAutre);
    QWidget* fenetre = pOblig->pGetWidget()->window();
    fenetre->show();
    QApplication::setActiveWindow(fenetre);
    Focus(pOblig);
    Focus(pAutre);
    EXPECT_TRUE(pOblig->pGetWidget()->hasFocus());
    EXPECT_EQ(Globale("SORTIES_OBLIG"), 0);
    EXPECT_FALSE(pOblig->sGetDernierMessage().empty());

    QTest::keyClicks(pOblig->pGetWidget(), "ok");
    EXPECT_EQ(Globale("MODIFS"), 2);
    Focus(pAutre);
    EXPECT_TRUE(pAutre->pGetWidget()->hasFocus());
    EXPECT_EQ(Globale("SORTIES_OBLIG"), 1);
}

// A quantity outside its bounds keeps the focus before its exit code runs.
TEST_F(SaisieFenetre, BoundsAreCheckedBeforeTheExitCode) {
    CSaisie* pQte = Champ(L"EDT_Qte");
    CSaisie* pAutre = Champ(L"EDT_Autre");
    QWidget* fenetre = pQte->pGetWidget()->window();
    fenetre->show();
    QApplication::setActiveWindow(fenetre);
    // The window opens with the focus in the mandatory edit: fill it first.
    QTest::keyClicks(Champ(L"EDT_Oblig")->pGetWidget(), "x");
    Focus(pQte);
    ASSERT_TRUE(pQte->pGetWidget()->hasFocus());
    QTest::keyClicks(pQte->pGetWidget(), "500");
    EXPECT_EQ(pQte->sGetTexteAffiche(), L"500");
    Focus(pAutre);
    EXPECT_TRUE(pQte->pGetWidget()->hasFocus());
    EXPECT_EQ(Globale("SORTIES_QTE"), 0);
    EXPECT_NE(pQte->sGetDernierMessage().find(L"100"), std::wstring::npos);
    // The refused value is shown again, all selected: typing replaces it.
    QTest::keyClicks(pQte->pGetWidget(), "5");
    EXPECT_EQ(pQte->sGetTexteAffiche(), L"5");
    Focus(pAutre);
    EXPECT_EQ(Globale("SORTIES_QTE"), 1);
    EXPECT_EQ(Propriete(L"EDT_Qte", 1), "5");
}

// An edit that holds nothing reads as an empty entry of its type from the
// code: the empty text, 0 for a number; nil only when NullSiVide asks it.
TEST_F(SaisieFenetre, EmptyEditsReadAsTheEmptyValueOfTheirType) {
    struct Cas {
        const char* pszCode;
        const char* pszAttendu;
    } tab[] = {
        {"_G.R = type(EDT_Autre.Valeur) .. ':[' .. EDT_Autre.Valeur .. ']'", "string:[]"},
        {"_G.R = math.type(EDT_Qte.Valeur) .. ':' .. EDT_Qte.Valeur", "integer:0"},
        {"_G.R = tostring(EDT_Montant.Valeur == 0)", "true"},
        {"EDT_Autre.Valeur = 'x' EDT_Autre.Valeur = '' _G.R = type(EDT_Autre.Valeur)", "string"},
        {"EDT_Qte.NullSiVide = true _G.R = tostring(EDT_Qte.Valeur)", "nil"},
        {"EDT_Autre.NullSiVide = true _G.R = tostring(EDT_Notes.Valeur) .. ',' .. tostring(EDT_Autre.Valeur)", ",nil"},
    };
    const uint64_t nID = nIdentifiantObjet(L"FEN_Saisie.EDT_Autre");
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszCode);
        ASSERT_TRUE(lua->bAjouteCode(nID, 18, c.pszCode, "FEN_Saisie.EDT_Autre")) << lua->sDerniereErreur();
        STExecutionCode st{nID, 18, Champ(L"EDT_Autre"), nullptr, 0};
        ASSERT_EQ(lua->nExecute(st), 0) << lua->sDerniereErreur();
        STValeurHote v;
        ASSERT_TRUE(lua->bLitGlobale("R", v));
        EXPECT_EQ(std::string(v.sTexte.begin(), v.sTexte.end()), c.pszAttendu);
    }
}

TEST_F(SaisieFenetre, TypeAndValueThroughTheGate) {
    EXPECT_EQ(Propriete(L"EDT_Montant", 61), "4");  // currency
    EXPECT_EQ(Propriete(L"EDT_Qte", 61), "1");
    EXPECT_EQ(Propriete(L"EDT_Autre", 61), "0");
    CAny cl;
    cl.SetR8(1234.5);
    CXError e;
    ASSERT_TRUE(hote->piGetGate()->bSetPropriete(Champ(L"EDT_Montant"), PROP_Valeur, cl, &e));
    EXPECT_EQ(Champ(L"EDT_Montant")->sGetTexteAffiche(), L"1 234,50 \x20AC");

    // The program aligns the text; a value outside 0..2 is refused.
    cl.SetI4(2);
    ASSERT_TRUE(hote->piGetGate()->bSetPropriete(Champ(L"EDT_Montant"), PROP_CadrageH, cl, &e));
    auto* ligne = qobject_cast<QLineEdit*>(Champ(L"EDT_Montant")->pGetWidget());
    ASSERT_NE(ligne, nullptr);
    EXPECT_TRUE(ligne->alignment() & Qt::AlignRight);
    cl.SetI4(5);
    EXPECT_FALSE(hote->piGetGate()->bSetPropriete(Champ(L"EDT_Montant"), PROP_CadrageH, cl, &e));
    EXPECT_EQ(e.nGetErreur(), 10002);
    EXPECT_TRUE(ligne->alignment() & Qt::AlignRight);

    // A caption takes the style's caption width at the left: the text starts after it.
    auto* autre = qobject_cast<QLineEdit*>(Champ(L"EDT_Autre")->pGetWidget());
    ASSERT_NE(autre, nullptr);
    EXPECT_EQ(autre->textMargins().left(), 80);
    EXPECT_EQ(ligne->textMargins().left(), 0);
}

} // namespace
