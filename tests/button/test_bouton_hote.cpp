// Buttons through the real host: the fixture project is compiled by kvc,
// the host loads the module with dlopen, the event code is C++ registered
// in the host's runner per (object, event), and the user's clicks and keys
// are sent to the real widgets with QTest.
#include "HoteProjet.h"
#include "kv/host.h"
#include "kv/types.h"
#include "conteneur/Identifiants.h"
#include "controls/button/CBouton.h"
#include "windows/CFenPrincipale.h"
#include <gtest/gtest.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Journal = std::vector<std::pair<uint64_t, int>>;
using PFN_KSL = int (*)(STKSAppel*, IKSLibrary*, void**);

const std::string& Projet() { return kvtest::ProjetCompile(kvtest::CheminFixture("button")); }

uint64_t ID(const wchar_t* pszNomComplet) { return nIdentifiantObjet(pszNomComplet); }

const uint64_t ID_OK = ID(L"FEN_Boutons.BTN_OK");
const uint64_t ID_VALIDER = ID(L"FEN_Boutons.BTN_Valider");
const uint64_t ID_BASCULE = ID(L"FEN_Boutons.BTN_Bascule");
const uint64_t ID_LETTRE = ID(L"FEN_Boutons.BTN_Lettre");
const uint64_t ID_GRISE = ID(L"FEN_Boutons.BTN_Grise");
const uint64_t ID_FIN = ID(L"FEN_Auto.BTN_Fin");
const uint64_t ID_AUTRE = ID(L"FEN_Auto.BTN_Autre");

// An input control left empty although mandatory (the edit control does
// not exist yet): it tells how many times the window reported it.
class CSaisieVide : public CChamp {
public:
    int dwGetId() const override { return ID_SAISIE; }
    bool vbSaisieObligatoireVide() const override { return true; }
    void vSignaleSaisieObligatoireVide() override { ++nSignale; }
    int nSignale = 0;
};

class BoutonHote : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(Projet().empty()) << "kvc did not compile the fixture";
        std::string sErreur;
        ASSERT_TRUE(hote.bDemarre(Projet(), sErreur)) << sErreur;
        runner = hote->piGetRunnerCPP();
        hote->SetRunner(runner);
    }

    // Opens a window of the project without a loop of its own, active.
    CFenPrincipale* Ouvre(const wchar_t* pszNom) {
        auto pfn = reinterpret_cast<PFN_KSL>(hote->pSymboleModule("KSL_OuvreFille_0"));
        if (!pfn) return nullptr;
        STSlotAppel slot;
        const wchar_t* psz = pszNom;
        void* tabArgs[1] = {&psz};
        STKSAppel appel;
        appel.pVM = hote->piGetVM();
        appel.pSlot = &slot;
        pfn(&appel, hote->piGetComposante(), tabArgs);
        auto* f = static_cast<CFenPrincipale*>(hote->piGetExe()->pIGetFenetreFromName(pszNom));
        if (!f || !f->pGetWidget()) return nullptr;
        f->pGetWidget()->activateWindow();
        if (!QTest::qWaitForWindowActive(f->pGetWidget())) return nullptr;
        runner->ViderJournal();
        return f;
    }
    // A button of an open window (the module is built from the same classes
    // as this program, so its inline accessors read the button's fields).
    static CBouton* Bouton(CFenPrincipale* f, const wchar_t* pszNom) {
        return static_cast<CBouton*>(f->pclGetChampFromName(pszNom));
    }
    void Code(uint64_t nID, int nEvenement, std::function<void()> fn) {
        runner->Enregistre(nID, nEvenement, [fn = std::move(fn)](const STExecutionCode&) {
            fn();
            return 0;
        });
    }
    int nFois(uint64_t nID, int nEvenement) const {
        const Journal& j = runner->Journal();
        return static_cast<int>(std::count(j.begin(), j.end(), std::make_pair(nID, nEvenement)));
    }
    // A property through the gate, as the program reads and writes it.
    void* Objet(const wchar_t* pszNom) { return hote->piGetGate()->pclGetObjectFromName(pszNom, nullptr); }
    bool bEcrit(const wchar_t* pszNom, int nPropriete, const CAny& v, CXError* pErreur = nullptr) {
        CXError err;
        return hote->piGetGate()->bSetPropriete(Objet(pszNom), static_cast<EPropriete>(nPropriete), v,
                                                pErreur ? pErreur : &err) != 0;
    }
    CAny Lit(const wchar_t* pszNom, int nPropriete, CXError* pErreur = nullptr) {
        CXError err;
        CAny v;
        hote->piGetGate()->bGetPropriete(Objet(pszNom), static_cast<EPropriete>(nPropriete), &v, pErreur ? pErreur : &err);
        return v;
    }
    int nEntier(const wchar_t* pszNom, int nPropriete) {
        int n = -100;
        Lit(pszNom, nPropriete).nGetINT(n);
        return n;
    }
    bool bBooleen(const wchar_t* pszNom, int nPropriete) {
        bool b = false;
        Lit(pszNom, nPropriete).nGetBOOL(b);
        return b;
    }

    kvtest::HoteProjet hote;
    IRunnerCPP* runner = nullptr;
};

// ---------------------------------------------------------------- clicks

enum class Geste { Souris, Espace, Entree };

class ClicUtilisateur : public BoutonHote, public ::testing::WithParamInterface<Geste> {};

// The focused button (first of the tab order) clicked by the mouse or with
// the keyboard runs its click code once.
TEST_P(ClicUtilisateur, RunsTheClickCodeOnce) {
    CFenPrincipale* f = Ouvre(L"FEN_Boutons");
    ASSERT_NE(f, nullptr);
    CBouton* ok = Bouton(f, L"BTN_OK");
    ASSERT_NE(ok, nullptr);
    QWidget* w = ok->pGetWidget();
    ASSERT_EQ(QApplication::focusWidget(), w);
    switch (GetParam()) {
    case Geste::Souris: QTest::mouseClick(w, Qt::LeftButton); break;
    case Geste::Espace: QTest::keyClick(w, Qt::Key_Space); break;
    case Geste::Entree: QTest::keyClick(w, Qt::Key_Return); break;
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(runner->Journal(), (Journal{{ID_OK, 18}}));
}

INSTANTIATE_TEST_SUITE_P(Gestes, ClicUtilisateur, ::testing::Values(Geste::Souris, Geste::Espace, Geste::Entree),
                         [](const auto& i) {
                             return std::string(i.param == Geste::Souris ? "Mouse" : i.param == Geste::Espace ? "Space" : "Enter");
                         });

// A greyed button keeps an enabled widget: neither a click nor its call
// letter runs its code.
TEST_F(BoutonHote, GreyedButtonRunsNothing) {
    CFenPrincipale* f = Ouvre(L"FEN_Boutons");
    ASSERT_NE(f, nullptr);
    QWidget* w = Bouton(f, L"BTN_Grise")->pGetWidget();
    ASSERT_TRUE(w && w->isEnabled());
    QTest::mouseClick(w, Qt::LeftButton);
    QTest::keyClick(f->pGetWidget(), Qt::Key_G, Qt::AltModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(nFois(ID_GRISE, 18), 0);
}

// An exit code that keeps the focus on its control: the press on a button
// does not become a click, and a call letter that cannot give its button
// the focus does nothing.
TEST_F(BoutonHote, RefusedFocusChangeIsNoClick) {
    CFenPrincipale* f = Ouvre(L"FEN_Boutons");
    ASSERT_NE(f, nullptr);
    auto pfn = reinterpret_cast<PFN_KSL>(hote->pSymboleModule("KSL_RepriseSaisie_0"));
    ASSERT_NE(pfn, nullptr);
    // BTN_OK's exit code resumes input on itself.
    Code(ID_OK, 16, [&] {
        STSlotAppel slot;
        STKSAppel appel;
        appel.pVM = hote->piGetVM();
        appel.pSlot = &slot;
        pfn(&appel, hote->piGetComposante(), nullptr);
    });
    QTest::mouseClick(Bouton(f, L"BTN_Valider")->pGetWidget(), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(runner->Journal(), (Journal{{ID_OK, 16}}));
    EXPECT_EQ(f->pclGetChampFocus(), Bouton(f, L"BTN_OK"));

    runner->ViderJournal();
    QTest::keyClick(Bouton(f, L"BTN_OK")->pGetWidget(), Qt::Key_L, Qt::AltModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(runner->Journal(), (Journal{{ID_OK, 16}}));
    EXPECT_EQ(f->pclGetChampFocus(), Bouton(f, L"BTN_OK"));
}

// ---------------------------------------------------------------- validation

TEST_F(BoutonHote, ValidationButtonRunsNoClickCodeWhileAMandatoryInputIsEmpty) {
    CFenPrincipale* f = Ouvre(L"FEN_Boutons");
    ASSERT_NE(f, nullptr);
    QWidget* w = Bouton(f, L"BTN_Valider")->pGetWidget();
    QTest::mouseClick(w, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(nFois(ID_VALIDER, 18), 1) << "nothing mandatory is empty: the click code runs";

    auto* vide = new CSaisieVide();
    vide->SetName(L"SAI_Vide");
    vide->SetRectInitial(QRect(10, 150, 100, 24));
    f->Conteneur().AddChamp(vide);
    vide->SetTabStop(true);
    vide->nRelease();
    QTest::mouseClick(w, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(nFois(ID_VALIDER, 18), 1) << "the empty mandatory input stopped the click";
    EXPECT_EQ(vide->nSignale, 1) << "the empty input was reported";

    // Another kind of button does not check the inputs.
    QTest::mouseClick(Bouton(f, L"BTN_OK")->pGetWidget(), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(nFois(ID_OK, 18), 1);
    EXPECT_EQ(vide->nSignale, 1);
}

// ---------------------------------------------------------------- toggle

TEST_F(BoutonHote, ToggleButtonFlipsItsPressedStateBeforeItsClickCode) {
    CFenPrincipale* f = Ouvre(L"FEN_Boutons");
    ASSERT_NE(f, nullptr);
    CBouton* b = Bouton(f, L"BTN_Bascule");
    std::vector<bool> tabVuParLeCode;
    Code(ID_BASCULE, 18, [&] { tabVuParLeCode.push_back(bBooleen(L"FEN_Boutons.BTN_Bascule", 132)); });
    ASSERT_FALSE(bBooleen(L"FEN_Boutons.BTN_Bascule", 132));
    QTest::mouseClick(b->pGetWidget(), Qt::LeftButton);
    EXPECT_TRUE(b->bGetEnfonce());
    EXPECT_EQ(b->eGetEtatBtn(), eBTN_ENFONCE);
    QTest::mouseClick(b->pGetWidget(), Qt::LeftButton);
    EXPECT_FALSE(b->bGetEnfonce());
    EXPECT_EQ(tabVuParLeCode, (std::vector<bool>{true, false}));
}

// ---------------------------------------------------------------- call letters

enum class Frappe { AltEtLettre, LettreSeule };

class LettreAppelHote : public BoutonHote, public ::testing::WithParamInterface<Frappe> {};

// BTN_Lettre (type 0, not in the tab order) while BTN_OK has the focus: its
// click code runs with the focus on it, and the focus goes back to BTN_OK.
TEST_P(LettreAppelHote, OutsideTheTabOrderRunsTheClickAndLeavesTheFocusWhereItWas) {
    CFenPrincipale* f = Ouvre(L"FEN_Boutons");
    ASSERT_NE(f, nullptr);
    CBouton* ok = Bouton(f, L"BTN_OK");
    CBouton* lettre = Bouton(f, L"BTN_Lettre");
    ASSERT_EQ(f->pclGetChampFocus(), ok);
    bool bFocusPendantLeCode = false;
    Code(ID_LETTRE, 18, [&] { bFocusPendantLeCode = f->pclGetChampFocus() == lettre; });
    // The letter alone is typed on the focused button, which takes no text.
    QTest::keyClick(ok->pGetWidget(), Qt::Key_L, GetParam() == Frappe::AltEtLettre ? Qt::AltModifier : Qt::NoModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(runner->Journal(), (Journal{{ID_OK, 16}, {ID_LETTRE, 15}, {ID_LETTRE, 18}, {ID_LETTRE, 16}, {ID_OK, 15}}));
    EXPECT_TRUE(bFocusPendantLeCode);
    EXPECT_EQ(f->pclGetChampFocus(), ok);
    EXPECT_EQ(QApplication::focusWidget(), ok->pGetWidget());
}

INSTANTIATE_TEST_SUITE_P(Frappes, LettreAppelHote, ::testing::Values(Frappe::AltEtLettre, Frappe::LettreSeule),
                         [](const auto& i) { return std::string(i.param == Frappe::AltEtLettre ? "Alt" : "LetterAlone"); });

// A button in the tab order keeps the focus its call letter gave it; a
// button that takes no focus runs its code where the focus is. The letter
// alone reaches the buttons when the window's own keyboard handling gets it.
TEST_F(BoutonHote, CallLetterOfOtherButtons) {
    CFenPrincipale* f = Ouvre(L"FEN_Boutons");
    ASSERT_NE(f, nullptr);
    QWidget* w = f->pGetWidget();
    QTest::keyClick(w, Qt::Key_V, Qt::AltModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(runner->Journal(), (Journal{{ID_OK, 16}, {ID_VALIDER, 15}, {ID_VALIDER, 18}}));
    EXPECT_EQ(f->pclGetChampFocus(), Bouton(f, L"BTN_Valider"));

    runner->ViderJournal();
    QTest::keyClick(w, Qt::Key_I);  // BTN_Image, type 4, the letter alone on the window
    QCoreApplication::processEvents();
    EXPECT_EQ(runner->Journal(), (Journal{{ID(L"FEN_Boutons.BTN_Image"), 18}}));
    EXPECT_EQ(f->pclGetChampFocus(), Bouton(f, L"BTN_Valider"));
}

// ---------------------------------------------------------------- properties

struct CasType {
    const char* pszNom;
    std::function<void(CAny&)> fnValeur;
    int nType;  // TypeBouton read back from BTN_Aide (type 4)
};

void PrintTo(const CasType& c, std::ostream* os) { *os << c.pszNom; }

class TypeBoutonHote : public BoutonHote, public ::testing::WithParamInterface<CasType> {};

TEST_P(TypeBoutonHote, WrittenByTheProgram) {
    ASSERT_NE(Ouvre(L"FEN_Boutons"), nullptr);
    CAny v;
    GetParam().fnValeur(v);
    CXError err;
    EXPECT_TRUE(bEcrit(L"FEN_Boutons.BTN_Aide", 267, v, &err)) << err.nGetErreur();
    EXPECT_EQ(nEntier(L"FEN_Boutons.BTN_Aide", 267), GetParam().nType);
}

INSTANTIATE_TEST_SUITE_P(Cas, TypeBoutonHote,
                         ::testing::Values(CasType{"SevenLeavesTheType", [](CAny& v) { v.SetI4(7); }, 4},
                                           CasType{"TextOfANumber", [](CAny& v) { v.SetPSTRX(L"2"); }, 2},
                                           CasType{"TextThatIsNoNumberIsZero", [](CAny& v) { v.SetPSTRX(L"two"); }, 0}),
                         [](const auto& i) { return std::string(i.param.pszNom); });

TEST_F(BoutonHote, ButtonHasNoValue) {
    ASSERT_NE(Ouvre(L"FEN_Boutons"), nullptr);
    CXError err;
    Lit(L"FEN_Boutons.BTN_OK", 1, &err);
    EXPECT_EQ(err.nGetErreur(), 10021);
}

// ---------------------------------------------------------------- automatic closing

// The countdown presses its button with the button's click processing: the
// toggle button flips, its click code runs once, the window stays.
TEST_F(BoutonHote, AutomaticClosingPressesTheButton) {
    QElapsedTimer t;
    t.start();
    CFenPrincipale* f = Ouvre(L"FEN_Auto");
    ASSERT_NE(f, nullptr);
    CBouton* fin = Bouton(f, L"BTN_Fin");
    ASSERT_TRUE(f->bFermetureAutoEnCours());
    QElapsedTimer attente;
    attente.start();
    while (nFois(ID_FIN, 18) == 0 && attente.elapsed() < 3000) QTest::qWait(10);
    EXPECT_GE(t.elapsed(), 650);
    EXPECT_EQ(nFois(ID_FIN, 18), 1);
    EXPECT_TRUE(fin->bGetEnfonce()) << "the toggle button was pressed by its click processing";
    EXPECT_STREQ(fin->pszGetLibelle(), L"&End");
    EXPECT_NE(hote->piGetExe()->pIGetFenetreFromName(L"FEN_Auto"), nullptr);
}

// Clicking any button cancels the countdown; its button shows its caption.
TEST_F(BoutonHote, ClickCancelsTheAutomaticClosing) {
    CFenPrincipale* f = Ouvre(L"FEN_Auto");
    ASSERT_NE(f, nullptr);
    QTest::qWait(50);
    QTest::mouseClick(Bouton(f, L"BTN_Autre")->pGetWidget(), Qt::LeftButton);
    EXPECT_EQ(nFois(ID_AUTRE, 18), 1);
    EXPECT_FALSE(f->bFermetureAutoEnCours());
    QTest::qWait(1000);
    EXPECT_EQ(nFois(ID_FIN, 18), 0);
    EXPECT_STREQ(Bouton(f, L"BTN_Fin")->pszGetLibelle(), L"&End");
    EXPECT_FALSE(Bouton(f, L"BTN_Fin")->bGetEnfonce());
}

}  // namespace
