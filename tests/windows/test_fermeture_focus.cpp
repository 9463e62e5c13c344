// Refused closing, focus changes between controls and the automatic press
// of a button, on windows built in memory with this program's own copy of
// the module and a virtual machine of the test: its event code can record
// a resume-input request on the application context the way the language
// functions do, which the exported functions cannot do yet.
#include "controls/core/CChamp.h"
#include "frame/CExe.h"
#include "windows/CFenPrincipale.h"
#include <gtest/gtest.h>
#include "VMNeutre.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include <functional>
#include <map>
#include <vector>

namespace {

using Journal = std::vector<std::pair<uint64_t, int>>;

// The program's side: event code per (identifier, event), and the order in
// which it ran. Windows need nothing else from it here.
class CVMTest : public CVMNeutre {
public:
    int nExecuteCode(uint32_t nIDBas, uint32_t nIDHaut, int nEvenement, void*, const void*, int, int) override {
        uint64_t nID = (static_cast<uint64_t>(nIDHaut) << 32) | nIDBas;
        journal.emplace_back(nID, nEvenement);
        auto it = code.find({nID, nEvenement});
        if (it != code.end()) {
            auto fn = it->second;
            fn();
        }
        return 0;
    }
    int nPossedeCode(uint32_t nIDBas, uint32_t nIDHaut, int nEvenement) override {
        return code.count({(static_cast<uint64_t>(nIDHaut) << 32) | nIDBas, nEvenement}) ? 1 : 0;
    }
    intptr_t nQuery(int nCategorie, int nElement) override {
        static const wchar_t* const pszVide = L"";
        return nCategorie == eQVM_TRAITEMENT && nElement != 3 ? reinterpret_cast<intptr_t>(pszVide) : 0;
    }
    int nChercheDescription(STRechercheDescription* pst) override { return pst ? pst->nCodeErreur = 1 : 1; }

    std::map<std::pair<uint64_t, int>, std::function<void()>> code;
    Journal journal;
};

// An input control: its widget takes the focus on click and with the Tab key.
class CChampTest : public CChamp {
public:
    int dwGetId() const override { return ID_SAISIE; }
};

constexpr uint64_t ID_FEN = 1, ID_A = 2, ID_B = 3, ID_C = 4;

class Fenetre : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(gpclExe, nullptr);
        gpclExe = new CExe();
        gpclExe->LoadVM(&vm);
    }
    void TearDown() override {
        vm.code.clear();
        for (CFenPrincipale* f : fenetres)
            if (gpclExe->bEstFenOuverte(f)) CFenPrincipale::Ferme(f, 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (CFenPrincipale* f : fenetres) f->nRelease();
        fenetres.clear();
        gpclExe->nRelease();
        gpclExe = nullptr;
    }

    CFenPrincipale* NouvelleFenetre() {
        auto* f = new CFenPrincipale(L"FEN_T");
        f->SetQWID(ID_FEN);
        f->SetRectInitial(QRect(100, 100, 300, 200));
        f->SetVM(&vm);
        fenetres.push_back(f);
        return f;
    }
    // A control in the tab order, after those already there.
    CChampTest* Champ(CFenPrincipale* f, const wchar_t* pszNom, uint64_t nID) {
        auto* c = new CChampTest();
        c->SetName(pszNom);
        c->SetQWID(nID);
        int n = f->Conteneur().nGetNbChamp();
        c->SetRectInitial(QRect(10, 10 + 30 * n, 100, 24));
        c->SetZOrder(n + 1);
        f->Conteneur().AddChamp(c);
        f->Conteneur().EnregistreNom(c);
        c->SetTabStop(true);
        c->nRelease();
        return c;
    }
    // The opening sequence after loading: widget, declaration code,
    // initialisation.
    void Ouvre(CFenPrincipale* f) {
        f->xOuvre(false);
        f->xAppelCodesOuverture(nullptr);
        if (f->bEstVivante()) f->xInitApresCreate();
    }
    void Code(uint64_t nID, int nEvenement, std::function<void()> fn) { vm.code[{nID, nEvenement}] = std::move(fn); }
    int nFois(uint64_t nID, int nEvenement) const {
        return static_cast<int>(std::count(vm.journal.begin(), vm.journal.end(), std::make_pair(nID, nEvenement)));
    }

    CVMTest vm;
    std::vector<CFenPrincipale*> fenetres;
};

// ---------------------------------------------------------------- refused closing

// Whom the closing code asks to resume input on (the window or one of its
// controls: either refuses the closing), and who asks for the closing (Ferme,
// or the user through the window's close button).
enum class Reprise { Fenetre, Controle };
enum class Demande { Ferme, Utilisateur };

class FermetureRefusee : public Fenetre, public ::testing::WithParamInterface<std::tuple<Reprise, Demande>> {};

TEST_P(FermetureRefusee, LeavesTheWindowOpenAndALaterClosingRunsTheClosingCodeAgain) {
    auto [eReprise, eDemande] = GetParam();
    CFenPrincipale* f = NouvelleFenetre();
    CChampTest* a = Champ(f, L"SAI_A", ID_A);
    Ouvre(f);
    int nFermetures = 0;
    Code(ID_FEN, 2, [&] {
        if (++nFermetures == 1) gpclExe->SetRepriseSaisie(eReprise == Reprise::Fenetre ? static_cast<CObjet*>(f) : a, 1);
    });
    auto ferme = [&] {
        if (eDemande == Demande::Ferme)
            CFenPrincipale::Ferme(f, 0);
        else if (QWidget* w = f->pGetWidget())
            w->close();
    };

    ferme();
    EXPECT_EQ(nFermetures, 1);
    EXPECT_TRUE(gpclExe->bEstFenOuverte(f)) << "the refused window left the list";
    EXPECT_TRUE(f->bEstVivante());
    EXPECT_FALSE(f->bEnFermeture());
    ASSERT_NE(f->pGetWidget(), nullptr);
    EXPECT_TRUE(f->pGetWidget()->isVisible());

    ferme();
    EXPECT_EQ(nFermetures, 2) << "the second closing runs the closing code again";
    EXPECT_FALSE(gpclExe->bEstFenOuverte(f));
    EXPECT_FALSE(f->bEstVivante());
}

INSTANTIATE_TEST_SUITE_P(Reprises, FermetureRefusee,
                         ::testing::Combine(::testing::Values(Reprise::Fenetre, Reprise::Controle),
                                            ::testing::Values(Demande::Ferme, Demande::Utilisateur)),
                         [](const auto& i) {
                             return std::string(std::get<0>(i.param) == Reprise::Fenetre ? "Window" : "Control") +
                                    (std::get<1>(i.param) == Demande::Ferme ? "ByFerme" : "ByUser");
                         });

// ---------------------------------------------------------------- focus

class Focus : public Fenetre {
protected:
    void SetUp() override {
        Fenetre::SetUp();
        f = NouvelleFenetre();
        a = Champ(f, L"SAI_A", ID_A);
        b = Champ(f, L"SAI_B", ID_B);
        c = Champ(f, L"SAI_C", ID_C);
        Ouvre(f);
        QWidget* w = f->pGetWidget();
        ASSERT_NE(w, nullptr);
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        ASSERT_EQ(QApplication::focusWidget(), a->pGetWidget()) << "the first control of the tab order has the focus";
        ASSERT_EQ(f->pclGetChampFocus(), a);
        vm.journal.clear();
    }
    CFenPrincipale* f = nullptr;
    CChampTest *a = nullptr, *b = nullptr, *c = nullptr;
};

enum class Action { ClicB, TabDansA, ClicA };

struct CasFocus {
    const char* pszNom;
    // Event code installed before the user's action, given the control A.
    std::function<void(CVMTest&, CChampTest* a)> fnCode;
    Action eAction;
    Journal attendu;
    bool bFocusSurA;  // where the focus ends: A, else B
};

void PrintTo(const CasFocus& c, std::ostream* os) { *os << c.pszNom; }

class FocusUtilisateur : public Focus, public ::testing::WithParamInterface<CasFocus> {};

TEST_P(FocusUtilisateur, ExitAndEntryCode) {
    const CasFocus& cas = GetParam();
    if (cas.fnCode) cas.fnCode(vm, a);
    switch (cas.eAction) {
    case Action::ClicB: QTest::mouseClick(b->pGetWidget(), Qt::LeftButton); break;
    case Action::TabDansA: QTest::keyClick(a->pGetWidget(), Qt::Key_Tab); break;
    case Action::ClicA: QTest::mouseClick(a->pGetWidget(), Qt::LeftButton); break;
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(vm.journal, cas.attendu);
    CChampTest* attendu = cas.bFocusSurA ? a : b;
    EXPECT_EQ(QApplication::focusWidget(), attendu->pGetWidget());
    EXPECT_EQ(f->pclGetChampFocus(), attendu);
}

INSTANTIATE_TEST_SUITE_P(
    Cas, FocusUtilisateur,
    ::testing::Values(
        CasFocus{"ClickMovesTheFocus", nullptr, Action::ClicB, {{ID_A, 16}, {ID_B, 15}}, false},
        CasFocus{"TabMovesTheFocus", nullptr, Action::TabDansA, {{ID_A, 16}, {ID_B, 15}}, false},
        CasFocus{"ClickOnTheFocusedControlRunsNothing", nullptr, Action::ClicA, {}, true},
        // The exit code asks to resume input on its own control: the focus
        // stays and the other control's entry code does not run.
        CasFocus{"ExitCodeResumingInputOnItsOwnControlKeepsTheFocus",
                 [](CVMTest& vm, CChampTest* a) {
                     vm.code[{ID_A, 16}] = [a] { gpclExe->SetRepriseSaisie(a, 1); };
                 },
                 Action::ClicB, {{ID_A, 16}}, true}),
    [](const auto& i) { return std::string(i.param.pszNom); });

// An entry code that gives the focus to another control: the focus stays
// where it put it, and the window knows which control has it (the next
// change runs that control's exit code).
TEST_F(Focus, EntryCodeMovingTheFocusElsewhereLeavesItThere) {
    Code(ID_B, 15, [&] { gpclExe->SetRepriseSaisie(c, 1); });
    QTest::mouseClick(b->pGetWidget(), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), c->pGetWidget());
    EXPECT_EQ(f->pclGetChampFocus(), c);
    EXPECT_EQ(nFois(ID_C, 15), 1);

    vm.journal.clear();
    QTest::mouseClick(a->pGetWidget(), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(vm.journal, (Journal{{ID_C, 16}, {ID_A, 15}}));
    EXPECT_EQ(QApplication::focusWidget(), a->pGetWidget());
}

// ---------------------------------------------------------------- automatic closing with a button

TEST_F(Fenetre, AutomaticClosingPressesTheButtonAfterCountingDownOnItsCaption) {
    CFenPrincipale* f = NouvelleFenetre();
    CChampTest* bouton = Champ(f, L"BTN_OK", ID_B);
    bouton->SetLibelle(L"OK");
    f->Description().nDureeFermetureAuto = 1300;
    f->Description().sBoutonFermetureAuto = L"BTN_OK";
    QElapsedTimer t;
    t.start();
    Ouvre(f);
    ASSERT_TRUE(f->bFermetureAutoEnCours());

    QTest::qWait(250);
    EXPECT_STREQ(bouton->pszGetLibelle(), L"OK (1)") << "the caption shows the whole seconds left";
    EXPECT_EQ(nFois(ID_B, 18), 0);

    QElapsedTimer attente;
    attente.start();
    while (nFois(ID_B, 18) == 0 && attente.elapsed() < 3000) QTest::qWait(10);
    EXPECT_EQ(nFois(ID_B, 18), 1) << "the button's click code ran";
    EXPECT_GE(t.elapsed(), 1250) << "the button was pressed before the duration was over";
    EXPECT_STREQ(bouton->pszGetLibelle(), L"OK");
    EXPECT_FALSE(f->bFermetureAutoEnCours());
    EXPECT_TRUE(gpclExe->bEstFenOuverte(f)) << "pressing the button is all the countdown does";
    EXPECT_EQ(nFois(ID_FEN, 2), 0);
}

}  // namespace
