// Opening and closing windows through the real host: the module is loaded
// with dlopen, the windows come from compiled descriptions written with the
// module's own classes, and the event code is C++ registered in the host's
// runner. The window functions are called through the exported glue, from
// the test (no code running) or from inside event code (the running object
// is then the calling code's object).
#include "Binaires.h"
#include "kv/host.h"
#include "kv/types.h"
#include "controls/core/CKVBuffer.h"
#include "controls/image/CChampImage.h"
#include "controls/static/CChampLibelle.h"
#include "windows/CFenPrincipale.h"
#include <gtest/gtest.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using Journal = std::vector<std::pair<uint64_t, int>>;
using PFN_KSL = int (*)(STKSAppel*, IKSLibrary*, void**);

constexpr uint64_t ID_A = 1, ID_B = 100;

void Attends(int nMs) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < nMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}

// Waits until the condition holds (true) or the delay has passed (false).
bool AttendsQue(const std::function<bool()>& fn, int nMsMax = 3000) {
    QElapsedTimer t;
    t.start();
    while (!fn()) {
        if (t.elapsed() > nMsMax) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

STValeurHote Entier(int n) {
    STValeurHote v;
    v.nType = KS_I4;
    v.nEntier = n;
    return v;
}

STValeurHote Texte(const wchar_t* psz) {
    STValeurHote v;
    v.nType = KS_PSTRW;
    v.sTexte = psz;
    return v;
}

// A control of the description, owned by its window.
template <class T>
T* AjouteChamp(CFenPrincipale& f, const wchar_t* pszNom, uint64_t nID, QRect r = QRect(10, 10, 80, 20)) {
    auto* c = new T();
    c->SetName(pszNom);
    c->SetQWID(nID);
    c->SetRectInitial(r);
    f.Conteneur().AddChamp(c);
    c->nRelease();
    return c;
}

// A runner that hands everything to the C++ runner and also notes the thread
// on which generic actions arrive.
class CRunnerThread : public ICodeRunner {
public:
    explicit CRunnerThread(IRunnerCPP* p) : m_p(p) {}
    bool bPossedeCode(uint64_t nID, int nEvenement) override { return m_p->bPossedeCode(nID, nEvenement); }
    int nExecute(const STExecutionCode& st) override { return m_p->nExecute(st); }
    int nExecuteProcedure(void* pProcedure) override { return m_p->nExecuteProcedure(pProcedure); }
    void ActionGenerique(int nAction, intptr_t nParametre) override {
        tabThreads.push_back(QThread::currentThread());
        m_p->ActionGenerique(nAction, nParametre);
    }
    std::vector<QThread*> tabThreads;

private:
    IRunnerCPP* m_p;
};

// Runs nothing: installed while the host shuts down, so that code registered
// by a test (which may refer to its locals) does not run after it.
class CRunnerVide : public ICodeRunner {
public:
    bool bPossedeCode(uint64_t, int) override { return false; }
    int nExecute(const STExecutionCode&) override { return 0; }
    int nExecuteProcedure(void*) override { return 0; }
};

class Ouverture : public ::testing::Test {
protected:
    void SetUp() override {
        hote.reset(vm.Symbole<PFN_KVVM_pCreeHote>("KVVM_pCreeHote")());
        STOptionsHote st;
        st.sPersistance = kvtest::RepertoireTemporaire() + "/persist.sqlite";
        std::string sErreur;
        ASSERT_TRUE(hote->bDemarre(st, sErreur)) << sErreur;
        exe = hote->piGetExe();
        runner = hote->piGetRunnerCPP();
        // A test that fails while a modal loop runs must not hang the program.
        filet.setSingleShot(true);
        QObject::connect(&filet, &QTimer::timeout, [this] {
            ADD_FAILURE() << "a window was still open after 10 s: every window is closed";
            exe->FermeTout();
        });
        filet.start(10000);
    }
    void TearDown() override {
        filet.stop();
        static CRunnerVide vide;
        if (hote && exe) {
            hote->SetRunner(&vide);
            // Closed windows are deleted by Qt later: let that happen while
            // the module is loaded (see StoppingTheHostLeavesNothingOfItsWindowsToQt).
            exe->FermeTout();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        if (hote) hote->Arrete();
        hote.reset();
    }

    // A window description given to the host under the window's name.
    void Decrit(const wchar_t* pszNom, uint64_t nID, const std::function<void(CFenPrincipale&)>& fn = {}) {
        CFenPrincipale f(pszNom);
        f.SetQWID(nID);
        f.SetRectInitial(QRect(0, 0, 200, 120));
        if (fn) fn(f);
        CKVBuffer b;
        f.Ecrit(b);
        hote->AjouteDescription(pszNom, 2, b.Octets());
    }

    // Calls a window function through its glue, as the program would.
    int Appelle(const char* pszFonction, const wchar_t* pszNom, STSlotAppel& slot) {
        auto pfn = reinterpret_cast<PFN_KSL>(hote->pSymboleModule(pszFonction));
        if (!pfn) {
            ADD_FAILURE() << "the module does not export " << pszFonction;
            return -1;
        }
        const wchar_t* psz = pszNom;
        void* tabArgs[2] = {&psz, nullptr};
        STKSAppel appel;
        appel.pVM = hote->piGetVM();
        appel.pSlot = &slot;
        return pfn(&appel, hote->piGetComposante(), tabArgs);
    }
    int Appelle(const char* pszFonction, const wchar_t* pszNom) {
        STSlotAppel slot;
        return Appelle(pszFonction, pszNom, slot);
    }
    // Ferme with a return value (in the call's further parameters).
    void Ferme(const char* pszFonction, const wchar_t* pszNom, std::vector<STValeurHote> tabRetour) {
        STSlotAppel slot;
        slot.tabParamSupp = std::move(tabRetour);
        Appelle(pszFonction, pszNom, slot);
    }

    CXError* Erreur() { return hote->piGetComposante()->pclGetError(); }
    // An open window of the module by name or alias (null: none). The module
    // is built from the same classes as this program, so the inline
    // accessors read its fields.
    CFenPrincipale* Fenetre(const wchar_t* pszNom) { return static_cast<CFenPrincipale*>(exe->pIGetFenetreFromName(pszNom)); }
    void Code(uint64_t nID, int nEvenement, std::function<void()> fn) {
        runner->Enregistre(nID, nEvenement, [fn = std::move(fn)](const STExecutionCode&) {
            fn();
            return 0;
        });
    }

    kvtest::Bibliotheque vm{kvtest::CheminBinaire("kv190vm.so")};
    std::unique_ptr<IHote> hote;
    IExe* exe = nullptr;
    IRunnerCPP* runner = nullptr;
    QTimer filet;  // also the context of the test's own timers: they die with the test
};

// ---------------------------------------------------------------- stopping the host

// The program owns the Qt application and goes on after the module is
// stopped: nothing the module's windows left to Qt may run after it is
// unloaded. Run in a child process, since the failure is a crash.
using OuvertureDeathTest = Ouverture;

TEST_F(OuvertureDeathTest, StoppingTheHostLeavesNothingOfItsWindowsToQt) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (bool bFermeAvant : {true, false}) {
        SCOPED_TRACE(bFermeAvant ? "window closed by Ferme first" : "window closed by the shutdown");
        EXPECT_EXIT(
            {
                Decrit(L"FEN_A", ID_A);
                Appelle("KSL_OuvreFille_0", L"FEN_A");
                if (bFermeAvant) Appelle("KSL_Ferme_1", L"FEN_A");
                hote->Arrete();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                QCoreApplication::processEvents();
                std::exit(0);
            },
            ::testing::ExitedWithCode(0), "");
    }
}

// ---------------------------------------------------------------- opening order and return value

TEST_F(Ouverture, OpeningCodesRunInOrderAndOuvreReturnsTheValueGivenToFerme) {
    // Three controls whose stacking order is the reverse of their list order:
    // initialisation follows the list.
    Decrit(L"FEN_A", ID_A, [](CFenPrincipale& f) {
        AjouteChamp<CChampLibelle>(f, L"LIB_1", 2)->SetZOrder(3);
        AjouteChamp<CChampImage>(f, L"IMG_1", 3)->SetZOrder(2);
        AjouteChamp<CChampLibelle>(f, L"LIB_2", 4)->SetZOrder(1);
    });
    std::vector<STValeurHote> tabRecus;
    runner->Enregistre(ID_A, 0, [&](const STExecutionCode& st) {
        EXPECT_EQ(st.nNbParametres, 2);
        if (auto* p = static_cast<const std::vector<STValeurHote>*>(st.pParametres)) tabRecus = *p;
        return 0;
    });
    Code(ID_A, 34, [&] {
        EXPECT_NE(Fenetre(L"FEN_A"), nullptr) << "the window is in the list while its initialisation code runs";
        Ferme("KSL_Ferme_0", L"", {Entier(42)});
    });

    STSlotAppel slot;
    slot.tabParamSupp = {Texte(L"client"), Entier(7)};
    Appelle("KSL_Ouvre_0", L"FEN_A", slot);

    EXPECT_EQ(runner->Journal(), (Journal{{ID_A, 0}, {2, 14}, {3, 14}, {4, 14}, {ID_A, 34}, {ID_A, 2}}));
    ASSERT_EQ(tabRecus.size(), 2u) << "the declaration code receives Ouvre's parameters";
    EXPECT_EQ(tabRecus[0].sTexte, L"client");
    EXPECT_EQ(tabRecus[1].nEntier, 7);
    ASSERT_TRUE(slot.bResultat);
    EXPECT_EQ(slot.stResultat.nType, KS_I4);
    EXPECT_EQ(slot.stResultat.nEntier, 42);
    EXPECT_EQ(Fenetre(L"FEN_A"), nullptr);
    EXPECT_EQ(Erreur()->nGetErreur(), 0);
}

// Ouvre runs the window's modal loop until the window closes; here the
// closing comes by name from outside any event code while the loop runs.
TEST_F(Ouverture, OuvreWaitsForTheWindowToClose) {
    Decrit(L"FEN_A", ID_A);
    bool bOuverteDansBoucle = false;
    QTimer::singleShot(50, &filet, [&] {
        bOuverteDansBoucle = Fenetre(L"FEN_A") != nullptr;
        Ferme("KSL_Ferme_1", L"FEN_A", {Texte(L"done")});
    });
    STSlotAppel slot;
    Appelle("KSL_Ouvre_0", L"FEN_A", slot);
    EXPECT_TRUE(bOuverteDansBoucle) << "Ouvre returned before the window closed";
    EXPECT_EQ(runner->Journal(), (Journal{{ID_A, 0}, {ID_A, 34}, {ID_A, 2}}));
    ASSERT_TRUE(slot.bResultat);
    EXPECT_EQ(slot.stResultat.sTexte, L"done");
}

// A second modal window opened from the first one's code runs its own loop
// and hands its value back to the code that opened it.
TEST_F(Ouverture, NestedOuvreReturnsToTheOpeningCode) {
    Decrit(L"FEN_A", ID_A);
    Decrit(L"FEN_B", ID_B);
    STSlotAppel slotB;
    bool bAOuverte = false;
    Code(ID_A, 34, [&] {
        QTimer::singleShot(50, &filet, [&] { Ferme("KSL_Ferme_1", L"FEN_B", {Entier(2)}); });
        Appelle("KSL_Ouvre_0", L"FEN_B", slotB);
        bAOuverte = Fenetre(L"FEN_A") != nullptr;
        Ferme("KSL_Ferme_0", L"", {Entier(1)});
    });
    STSlotAppel slotA;
    Appelle("KSL_Ouvre_0", L"FEN_A", slotA);
    EXPECT_EQ(runner->Journal(), (Journal{{ID_A, 0}, {ID_A, 34}, {ID_B, 0}, {ID_B, 34}, {ID_B, 2}, {ID_A, 2}}));
    EXPECT_TRUE(bAOuverte);
    EXPECT_EQ(slotB.stResultat.nEntier, 2);
    EXPECT_EQ(slotA.stResultat.nEntier, 1);
}

TEST_F(Ouverture, WindowClosedByItsDeclarationCodeRunsNoLoop) {
    Decrit(L"FEN_A", ID_A);
    Code(ID_A, 0, [&] { Ferme("KSL_Ferme_0", L"", {Entier(5)}); });
    QElapsedTimer t;
    t.start();
    STSlotAppel slot;
    Appelle("KSL_Ouvre_0", L"FEN_A", slot);
    EXPECT_LT(t.elapsed(), 5000) << "Ouvre ran a modal loop for a window that was already closed";
    EXPECT_EQ(Fenetre(L"FEN_A"), nullptr);
    ASSERT_TRUE(slot.bResultat);
    EXPECT_EQ(slot.stResultat.nEntier, 5);
    // The initialisation code does not run; the window's closing code does
    // (only the controls' closing codes wait for the declaration code).
    EXPECT_EQ(runner->Journal(), (Journal{{ID_A, 0}, {ID_A, 2}}));
}

// While every window is being closed, Ouvre opens nothing and returns an
// empty value.
TEST_F(Ouverture, OuvreWhileEveryWindowClosesOpensNothing) {
    Decrit(L"FEN_A", ID_A);
    Decrit(L"FEN_B", ID_B);
    Appelle("KSL_OuvreFille_0", L"FEN_A");
    STSlotAppel slot;
    Code(ID_A, 2, [&] { Appelle("KSL_Ouvre_0", L"FEN_B", slot); });
    runner->ViderJournal();
    exe->FermeTout();
    EXPECT_EQ(runner->Journal(), (Journal{{ID_A, 2}}));
    EXPECT_EQ(Fenetre(L"FEN_B"), nullptr);
    EXPECT_EQ(Fenetre(L"FEN_A"), nullptr);
    EXPECT_TRUE(!slot.bResultat || slot.stResultat.nType == KS_VIDE) << slot.stResultat.nType;
}

// ---------------------------------------------------------------- names and aliases

struct CasPosition {
    const char* pszCas;
    const wchar_t* pszAppel;
    const wchar_t* pszCherche;  // alias or name under which the window is found
    const wchar_t* pszAlias;
    int x, y;                   // the designed position is (30, 40)
};

void PrintTo(const CasPosition& c, std::ostream* os) { *os << c.pszCas; }

class PositionOuverture : public Ouverture, public ::testing::WithParamInterface<CasPosition> {};

TEST_P(PositionOuverture, AliasAndInitialPosition) {
    const CasPosition& c = GetParam();
    Decrit(L"FEN_Client", ID_A, [&](CFenPrincipale& f) { f.SetRectInitial(QRect(30, 40, 200, 120)); });
    Erreur()->RAZ();
    Appelle("KSL_OuvreFille_0", c.pszAppel);
    ASSERT_EQ(Erreur()->nGetErreur(), 0);
    CFenPrincipale* f = Fenetre(c.pszCherche);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->sGetNom(), L"FEN_Client");
    EXPECT_EQ(f->sGetAlias(), c.pszAlias);
    EXPECT_EQ(f->rectInitial(), QRect(c.x, c.y, 200, 120));
    ASSERT_NE(f->pGetWidget(), nullptr);
    EXPECT_EQ(f->pGetWidget()->pos(), QPoint(c.x, c.y));
}

INSTANTIATE_TEST_SUITE_P(Noms, PositionOuverture,
                         ::testing::Values(CasPosition{"AliasAndY", L"Client=FEN_Client,100", L"Client", L"Client", 30, 100},
                                           CasPosition{"XOnly", L"FEN_Client,,250", L"FEN_Client", L"", 250, 40},
                                           CasPosition{"YAndX", L"FEN_Client,5,6", L"FEN_Client", L"", 6, 5},
                                           CasPosition{"Designed", L"FEN_Client", L"FEN_Client", L"", 30, 40}),
                         [](const auto& i) { return std::string(i.param.pszCas); });

// A non-modal window stays open while others open and become active; only
// Ferme (or Utilise, or the end of the program) ends it.
TEST_F(Ouverture, NonModalWindowsStayOpenWhenOthersOpen) {
    Decrit(L"FEN_A", ID_A);
    Decrit(L"FEN_B", ID_B);
    Appelle("KSL_OuvreFille_0", L"FEN_A");
    Appelle("KSL_OuvreFille_0", L"FEN_B");
    Attends(50);
    EXPECT_NE(Fenetre(L"FEN_A"), nullptr) << "FEN_A disappeared when FEN_B opened";
    EXPECT_NE(Fenetre(L"FEN_B"), nullptr);
    EXPECT_EQ(runner->Journal(), (Journal{{ID_A, 0}, {ID_A, 34}, {ID_B, 0}, {ID_B, 34}}));
}

TEST_F(Ouverture, TwoInstancesUnderTwoAliasesAreEachFoundAndClosedByAlias) {
    Decrit(L"FEN_X", ID_A);
    Appelle("KSL_OuvreFille_0", L"Premier=FEN_X");
    Appelle("KSL_OuvreFille_0", L"Second=FEN_X");
    CFenPrincipale* p1 = Fenetre(L"Premier");
    CFenPrincipale* p2 = Fenetre(L"Second");
    ASSERT_NE(p1, nullptr);
    ASSERT_NE(p2, nullptr);
    EXPECT_NE(p1, p2);
    EXPECT_EQ(p1->sGetAlias(), L"Premier");
    EXPECT_EQ(p2->sGetAlias(), L"Second");

    runner->ViderJournal();
    Appelle("KSL_Ferme_1", L"premier");
    EXPECT_EQ(runner->Journal(), (Journal{{ID_A, 2}}));
    EXPECT_EQ(Fenetre(L"Premier"), nullptr);
    EXPECT_EQ(Fenetre(L"Second"), p2);
    EXPECT_EQ(Fenetre(L"FEN_X"), p2) << "the name finds the instance that is left";
    Appelle("KSL_Ferme_1", L"Second");
    EXPECT_EQ(Fenetre(L"FEN_X"), nullptr);
}

// ---------------------------------------------------------------- Utilise

TEST_F(Ouverture, UtiliseReplacesEveryWindowWithoutClosingCodeButSavesPersistentValues) {
    Decrit(L"FEN_A", ID_A, [](CFenPrincipale& f) {
        auto* c = AjouteChamp<CChampLibelle>(f, L"LIB_M", 2);
        c->SetLibelle(L"kept");
        c->SetMemoriserValeur(true);
    });
    Decrit(L"FEN_B", ID_B);
    Appelle("KSL_OuvreFille_0", L"FEN_A");
    Appelle("KSL_OuvreFille_0", L"Autre=FEN_A");
    ASSERT_NE(Fenetre(L"Autre"), nullptr);
    runner->ViderJournal();

    Erreur()->RAZ();
    Appelle("KSL_Utilise_0", L"FEN_B");
    EXPECT_EQ(Erreur()->nGetErreur(), 0);
    EXPECT_EQ(runner->Journal(), (Journal{{ID_B, 0}, {ID_B, 34}})) << "no closing code of the replaced windows";
    EXPECT_EQ(Fenetre(L"FEN_A"), nullptr);
    EXPECT_EQ(Fenetre(L"Autre"), nullptr);
    EXPECT_NE(Fenetre(L"FEN_B"), nullptr);

    CXError err;
    auto* p = static_cast<IPersistance*>(hote->piGetShop()->pGetObjetNomme("Persistance", hote->piGetVM()->pGetInterface(8), &err));
    ASSERT_NE(p, nullptr);
    std::wstring s;
    EXPECT_TRUE(p->bLit(L"FEN_A\\LIB_M", L"Val", L"(none)", s));
    EXPECT_EQ(s, L"kept");
    p->Release();
}

// Utilise of a window the project does not have changes nothing.
TEST_F(Ouverture, UtiliseOfAnUnknownWindowLeavesTheOpenOnes) {
    Decrit(L"FEN_A", ID_A);
    Appelle("KSL_OuvreFille_0", L"FEN_A");
    runner->ViderJournal();
    Erreur()->RAZ();
    Appelle("KSL_Utilise_0", L"FEN_ABSENTE");
    EXPECT_EQ(Erreur()->nGetErreur(), 10019);
    EXPECT_NE(Fenetre(L"FEN_A"), nullptr);
    EXPECT_TRUE(runner->Journal().empty());
}

// ---------------------------------------------------------------- errors

struct CasErreur {
    const char* pszCas;
    const char* pszFonction;
    const wchar_t* pszNom;
    int nErreur;
    const wchar_t* pszArgument;  // first argument of the error, null: none
};

void PrintTo(const CasErreur& c, std::ostream* os) { *os << c.pszCas; }

class ErreurFenetre : public Ouverture, public ::testing::WithParamInterface<CasErreur> {};

TEST_P(ErreurFenetre, RaisedOnTheComponent) {
    const CasErreur& c = GetParam();
    Decrit(L"FEN_A", ID_A);
    Erreur()->RAZ();
    STSlotAppel slot;
    EXPECT_EQ(Appelle(c.pszFonction, c.pszNom, slot), 0);
    EXPECT_EQ(Erreur()->nGetErreur(), c.nErreur);
    EXPECT_EQ(Erreur()->sGetModule(), L"KVOBJ");
    if (c.pszArgument) {
        ASSERT_FALSE(Erreur()->tabGetArgs().empty());
        EXPECT_EQ(Erreur()->tabGetArgs()[0], c.pszArgument);
    }
    EXPECT_TRUE(runner->Journal().empty()) << "nothing opened, no code ran";
    EXPECT_EQ(Fenetre(L"FEN_A"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Fenetres, ErreurFenetre,
    ::testing::Values(CasErreur{"OuvreUnknown", "KSL_Ouvre_0", L"FEN_ABSENTE", 10019, L"FEN_ABSENTE"},
                      CasErreur{"OuvreUnknownUnderAnAlias", "KSL_Ouvre_0", L"Alias = FEN_ABSENTE ,10", 10019, L"FEN_ABSENTE"},
                      CasErreur{"OuvreFilleUnknown", "KSL_OuvreFille_0", L"FEN_ABSENTE", 10019, L"FEN_ABSENTE"},
                      CasErreur{"UtiliseUnknown", "KSL_Utilise_0", L"FEN_ABSENTE", 10019, L"FEN_ABSENTE"},
                      CasErreur{"FermeUnknown", "KSL_Ferme_1", L"FEN_ABSENTE", 10001, L"FEN_ABSENTE"},
                      CasErreur{"FermeNotOpen", "KSL_Ferme_1", L"FEN_A", 10001, L"FEN_A"},  // described but not open
                      CasErreur{"OuvreSoeurWithoutWindow", "KSL_OuvreSoeur_0", L"FEN_A", 10034, nullptr}),
    [](const auto& i) { return std::string(i.param.pszCas); });

// A closed window is no longer found: a second Ferme of it fails.
TEST_F(Ouverture, FermeOfAClosedWindowFails) {
    Decrit(L"FEN_A", ID_A);
    Appelle("KSL_OuvreFille_0", L"FEN_A");
    ASSERT_NE(Fenetre(L"FEN_A"), nullptr);
    Erreur()->RAZ();
    Appelle("KSL_Ferme_1", L"FEN_A");
    EXPECT_EQ(Erreur()->nGetErreur(), 0);
    Appelle("KSL_Ferme_1", L"FEN_A");
    EXPECT_EQ(Erreur()->nGetErreur(), 10001);
    EXPECT_EQ(std::count(runner->Journal().begin(), runner->Journal().end(), std::make_pair(ID_A, 2)), 1);
}

// OuvreFille and OuvreSoeur from a window's code: a child's parent is the
// calling window, a sister's parent is the calling window's parent.
TEST_F(Ouverture, ChildAndSisterWindowsTakeTheirParentFromTheCallingCode) {
    constexpr uint64_t ID_P = 50;
    Decrit(L"FEN_P", ID_P);
    Decrit(L"FEN_A", ID_A);
    Decrit(L"FEN_B", ID_B);
    Code(ID_P, 34, [&] { Appelle("KSL_OuvreFille_0", L"FEN_A"); });
    Code(ID_A, 34, [&] { Appelle("KSL_OuvreSoeur_0", L"FEN_B"); });
    Erreur()->RAZ();
    Appelle("KSL_OuvreFille_0", L"FEN_P");
    EXPECT_EQ(Erreur()->nGetErreur(), 0);
    CFenPrincipale* p = Fenetre(L"FEN_P");
    CFenPrincipale* a = Fenetre(L"FEN_A");
    CFenPrincipale* b = Fenetre(L"FEN_B");
    ASSERT_TRUE(p && a && b);
    EXPECT_EQ(p->pclGetParent(), nullptr);
    EXPECT_EQ(a->pclGetParent(), p);
    EXPECT_EQ(b->pclGetParent(), p);
    EXPECT_EQ(a->pGetWidget()->parentWidget(), p->pGetWidget());
}

// ---------------------------------------------------------------- automatic closing

struct CasFermetureAuto {
    const char* pszCas;
    const wchar_t* pszBouton;
    int nDuree;  // milliseconds
    bool bFermee;
};

void PrintTo(const CasFermetureAuto& c, std::ostream* os) { *os << c.pszCas; }

class FermetureAuto : public Ouverture, public ::testing::WithParamInterface<CasFermetureAuto> {};

TEST_P(FermetureAuto, AfterTheDuration) {
    const CasFermetureAuto& c = GetParam();
    Decrit(L"FEN_A", ID_A, [&](CFenPrincipale& f) {
        f.Description().nDureeFermetureAuto = c.nDuree;
        f.Description().sBoutonFermetureAuto = c.pszBouton;
    });
    QElapsedTimer t;
    t.start();
    Appelle("KSL_OuvreFille_0", L"FEN_A");
    ASSERT_NE(Fenetre(L"FEN_A"), nullptr);
    bool bFermee = AttendsQue([&] { return Fenetre(L"FEN_A") == nullptr; }, c.nDuree + 1000);
    qint64 nMs = t.elapsed();
    EXPECT_EQ(bFermee, c.bFermee);
    if (bFermee) {
        EXPECT_GE(nMs, c.nDuree - 50) << "the window closed before its duration was over";
        EXPECT_EQ(runner->Journal().back(), std::make_pair(ID_A, 2));
    } else {
        EXPECT_FALSE(Fenetre(L"FEN_A")->bFermetureAutoEnCours()) << "the countdown stopped";
    }
}

INSTANTIATE_TEST_SUITE_P(Fenetres, FermetureAuto,
                         ::testing::Values(CasFermetureAuto{"Closes300ms", L"", 300, true},
                                           CasFermetureAuto{"Closes1300ms", L"", 1300, true},
                                           // A button that does not exist: the countdown stops, the window stays.
                                           CasFermetureAuto{"MissingButtonStops", L"BTN_ABSENT", 300, false}),
                         [](const auto& i) { return std::string(i.param.pszCas); });

// A modal window closed by its countdown ends Ouvre.
TEST_F(Ouverture, AutomaticClosingEndsOuvre) {
    Decrit(L"FEN_A", ID_A, [](CFenPrincipale& f) { f.Description().nDureeFermetureAuto = 300; });
    QElapsedTimer t;
    t.start();
    Appelle("KSL_Ouvre_0", L"FEN_A");
    EXPECT_GE(t.elapsed(), 250);
    EXPECT_LT(t.elapsed(), 5000);
    EXPECT_EQ(runner->Journal(), (Journal{{ID_A, 0}, {ID_A, 34}, {ID_A, 2}}));
}

// ---------------------------------------------------------------- calls from other threads

TEST_F(Ouverture, GenericActionFromAnotherThreadRunsLaterOnTheMainThread) {
    Decrit(L"FEN_A", ID_A);
    Appelle("KSL_OuvreFille_0", L"FEN_A");
    ASSERT_NE(exe->piGetFenActive(), nullptr);
    CRunnerThread r(runner);
    hote->SetRunner(&r);

    std::thread t([&] { exe->LanceActionGeneriqueVMMainThread(8, 43); });
    t.join();
    EXPECT_TRUE(runner->JournalActions().empty()) << "nothing runs before the main thread processes its events";
    EXPECT_TRUE(AttendsQue([&] { return !runner->JournalActions().empty(); }));
    EXPECT_EQ(runner->JournalActions(), (std::vector<std::pair<int, intptr_t>>{{8, 43}}));
    ASSERT_EQ(r.tabThreads.size(), 1u);
    EXPECT_EQ(r.tabThreads[0], QCoreApplication::instance()->thread());

    exe->LanceActionGeneriqueVMMainThread(7, 42);
    EXPECT_EQ(runner->JournalActions(), (std::vector<std::pair<int, intptr_t>>{{8, 43}, {7, 42}}))
        << "from the main thread the action runs at once";
    ASSERT_EQ(r.tabThreads.size(), 2u);
    EXPECT_EQ(r.tabThreads[1], QCoreApplication::instance()->thread());
    hote->SetRunner(nullptr);
}

}  // namespace
