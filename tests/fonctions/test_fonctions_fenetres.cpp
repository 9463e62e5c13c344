// The window, control and system functions of the language, called through
// their exported glue on the real host and module: the project is the
// fixture beside this file compiled by kvc, the event code is C++
// registered in the host's runner, results come back through the host's
// call slot and failures through the component's error object.
#include "frame/Numeros.h"
#include "HoteProjet.h"
#include "kv/host.h"
#include "kv/types.h"
#include "conteneur/Identifiants.h"
#include "controls/core/CChamp.h"
#include "vm/CHote.h"
#include "windows/CFenPrincipale.h"
#include <gtest/gtest.h>
#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Journal = std::vector<std::pair<uint64_t, int>>;
using PFN_KSL = int (*)(STKSAppel*, IKSLibrary*, void**);

constexpr int EVT_DECLARATION = 0, EVT_FERMETURE = 2, EVT_ENTREE = 15, EVT_SORTIE = 16, EVT_INIT_FENETRE = 34;

// The fixture project compiled once into a temporary folder.
const std::string& ProjetCompile() { return kvtest::ProjetCompile(KV_SOURCE_DIR "/tests/fonctions/projet"); }

// The row of each function in the table, which the call context names.
int nRangFonction(const std::string& sNom) {
    static const std::map<std::string, int> tab = [] {
        std::map<std::string, int> t;
        std::ifstream f(KV_SOURCE_DIR "/kvobj/frame/fonctions.txt");
        std::string s;
        int n = 0;
        while (std::getline(f, s)) {
            if (s.empty() || s[0] == '#') continue;
            t.emplace(s.substr(0, s.find('\t')), n++);
        }
        return t;
    }();
    auto it = tab.find(sNom);
    return it == tab.end() ? -1 : it->second;
}

uint64_t Id(const wchar_t* pszNomComplet) { return nIdentifiantObjet(pszNomComplet); }

// One declared argument of a call.
struct Arg {
    enum Genre { ENTIER, TEXTE, OBJET } eGenre = ENTIER;
    int n = 0;
    std::wstring s;
    void* p = nullptr;
};
Arg I(int n) { return {Arg::ENTIER, n, {}, nullptr}; }
Arg T(const wchar_t* psz) { return {Arg::TEXTE, 0, psz, nullptr}; }
Arg O(void* p) { return {Arg::OBJET, 0, {}, p}; }

class Fonctions : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(ProjetCompile().empty()) << "kvc did not compile tests/fonctions/projet";
        std::string sErreur;
        ASSERT_TRUE(hote.bDemarre(ProjetCompile(), sErreur)) << sErreur;
        exe = hote->piGetExe();
        runner = hote->piGetRunnerCPP();
        hote->SetRunner(runner);
    }

    // Calls a glue function as the virtual machine does: KSL_Name_i with the
    // declared arguments, the function's row and a fresh error object.
    STSlotAppel Appelle(const std::string& sGlue, const std::vector<Arg>& tabArgs = {}) {
        STSlotAppel slot;
        auto pfn = reinterpret_cast<PFN_KSL>(hote->pSymboleModule(sGlue.c_str()));
        if (!pfn) {
            ADD_FAILURE() << "the module does not export " << sGlue;
            return slot;
        }
        std::vector<int> entiers(tabArgs.size());
        std::vector<const wchar_t*> textes(tabArgs.size());
        std::vector<void*> objets(tabArgs.size());
        std::vector<void*> tab(tabArgs.size() + 1, nullptr);
        for (size_t i = 0; i < tabArgs.size(); ++i) {
            switch (tabArgs[i].eGenre) {
            case Arg::ENTIER: entiers[i] = tabArgs[i].n; tab[i] = &entiers[i]; break;
            case Arg::TEXTE: textes[i] = tabArgs[i].s.c_str(); tab[i] = &textes[i]; break;
            case Arg::OBJET: objets[i] = tabArgs[i].p; tab[i] = &objets[i]; break;
            }
        }
        STKSAppel appel;
        appel.pVM = hote->piGetVM();
        appel.pSlot = &slot;
        std::string sNom = sGlue.substr(4, sGlue.rfind('_') - 4);
        appel.nFonction = nRangFonction(sNom);
        Erreur()->RAZ();
        pfn(&appel, hote->piGetComposante(), tab.data());
        return slot;
    }
    int nAppelle(const std::string& sGlue, const std::vector<Arg>& tabArgs = {}) {
        STSlotAppel slot = Appelle(sGlue, tabArgs);
        EXPECT_TRUE(slot.bResultat) << sGlue << " gave no result";
        return static_cast<int>(slot.stResultat.nEntier);
    }
    std::wstring sAppelle(const std::string& sGlue, const std::vector<Arg>& tabArgs = {}) {
        STSlotAppel slot = Appelle(sGlue, tabArgs);
        EXPECT_TRUE(slot.bResultat) << sGlue << " gave no result";
        EXPECT_TRUE(slot.stResultat.nType == KS_PSTRW) << sGlue << " result type " << slot.stResultat.nType;
        return slot.stResultat.sTexte;
    }
    void* pAppelle(const std::string& sGlue, const std::vector<Arg>& tabArgs = {}) {
        STSlotAppel slot = Appelle(sGlue, tabArgs);
        EXPECT_TRUE(slot.bResultat) << sGlue << " gave no result";
        return slot.stResultat.pObjet;
    }

    CXError* Erreur() { return hote->piGetComposante()->pclGetError(); }
    CVM* VM() { return static_cast<CVM*>(hote->piGetVM()); }

    void OuvreFille(const wchar_t* pszNom) {
        Appelle("KSL_OuvreFille_0", {T(pszNom)});
        ASSERT_EQ(Erreur()->nGetErreur(), 0) << "opening failed";
    }
    // An open window of the module, by name or alias (null: none). The
    // module is built from the same classes as this program: inline
    // accessors and virtual operations reach its objects.
    CFenPrincipale* Fenetre(const wchar_t* pszNom) { return static_cast<CFenPrincipale*>(exe->pIGetFenetreFromName(pszNom)); }
    // An object by its qualified name ("FEN_A.IMG_1"), through the gate.
    CObjetAPCodeOBJ* Objet(const wchar_t* pszNom) {
        return static_cast<CObjetAPCodeOBJ*>(hote->piGetGate()->pclGetObjectFromName(pszNom, nullptr));
    }
    CChamp* Champ(const wchar_t* pszNom) {
        CObjetAPCodeOBJ* o = Objet(pszNom);
        return o ? o->pclCastToChamp() : nullptr;
    }
    void Code(const wchar_t* pszObjet, int nEvenement, std::function<void()> fn) {
        runner->Enregistre(Id(pszObjet), nEvenement, [fn = std::move(fn)](const STExecutionCode&) {
            fn();
            return 0;
        });
    }
    int nFois(const wchar_t* pszObjet, int nEvenement) const {
        const Journal& j = runner->Journal();
        return static_cast<int>(std::count(j.begin(), j.end(), std::make_pair(Id(pszObjet), nEvenement)));
    }
    // Makes a window the active one, as the user's click would.
    void Active(CFenPrincipale* f) {
        ASSERT_NE(f, nullptr);
        QWidget* w = f->pGetWidget();
        ASSERT_NE(w, nullptr);
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    }

    kvtest::HoteProjet hote;
    IExe* exe = nullptr;
    IRunnerCPP* runner = nullptr;
    QObject contexte;  // of the tests' own timers
};

// ---------------------------------------------------------------- FenEtat

TEST_F(Fonctions, FenEtatWithoutAnyWindow) {
    struct Cas {
        const char* pszGlue;
        std::vector<Arg> tabArgs;
        int nResultat;
        int nErreur;
    };
    const Cas tab[] = {
        {"KSL_FenEtat_0", {}, 8, 0},
        {"KSL_FenEtat_1", {T(L"")}, 8, 0},  // no running code and no active window
        {"KSL_FenEtat_1", {T(L"FEN_ABSENTE")}, 8, 0},
        {"KSL_FenEtat_2", {I(1)}, 8, 0},
        {"KSL_FenEtat_3", {T(L"FEN_A"), I(1)}, 0, 10001},
        {"KSL_FenEtat_4", {T(L"FEN_A"), T(L"\x01")}, 0, 10001},
        {"KSL_FenEtat_4", {T(L"FEN_A"), T(L"x")}, -1, 0},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszGlue);
        EXPECT_EQ(nAppelle(c.pszGlue, c.tabArgs), c.nResultat);
        EXPECT_EQ(Erreur()->nGetErreur(), c.nErreur);
    }
}

struct CasEtat {
    const char* pszCas;
    int nEtat;
    int nErreur;
    int nEtatApres;  // as FenEtat(name) reads it afterwards
    bool bVisible, bActive;
};

void PrintTo(const CasEtat& c, std::ostream* os) { *os << c.pszCas; }

class FenEtatChange : public Fonctions, public ::testing::WithParamInterface<CasEtat> {};

TEST_P(FenEtatChange, ReturnsThePreviousStateAndSetsTheNewOne) {
    const CasEtat& c = GetParam();
    OuvreFille(L"FEN_A");
    CFenPrincipale* f = Fenetre(L"FEN_A");
    ASSERT_NE(f, nullptr);
    QPointer<QWidget> w = f->pGetWidget();
    CChamp* img = Champ(L"FEN_A.IMG_1");
    ASSERT_NE(img, nullptr);

    EXPECT_EQ(nAppelle("KSL_FenEtat_3", {T(L"fen_a"), I(c.nEtat)}), 0) << "the state before the change";
    EXPECT_EQ(Erreur()->nGetErreur(), c.nErreur);
    if (c.nErreur) {
        ASSERT_FALSE(Erreur()->tabGetArgs().empty());
        EXPECT_EQ(Erreur()->tabGetArgs()[0], std::to_wstring(c.nEtat));
    }
    EXPECT_EQ(nAppelle("KSL_FenEtat_1", {T(L"FEN_A")}), c.nEtatApres);
    if (c.nEtatApres == 8) {
        EXPECT_EQ(Fenetre(L"FEN_A"), nullptr);
        EXPECT_EQ(nFois(L"FEN_A", EVT_FERMETURE), 1) << "closing runs the closing code";
        return;
    }
    ASSERT_FALSE(w.isNull());
    EXPECT_EQ(w->isVisible(), c.bVisible);
    EXPECT_EQ(w->isEnabled(), c.bActive);
    EXPECT_EQ(img->bIsGrayed(), c.nEtatApres == 4) << "the controls show a greyed window";
}

INSTANTIATE_TEST_SUITE_P(Etats, FenEtatChange,
                         ::testing::Values(CasEtat{"Active", 0, 0, 0, true, true},
                                           CasEtat{"ReadOnly", 1, 0, 1, true, true},
                                           CasEtat{"Invisible", 2, 0, 2, false, true},
                                           CasEtat{"Greyed", 4, 0, 4, true, false},
                                           CasEtat{"Closed", 8, 0, 8, false, false},
                                           // 3 is a greyed state a window can be read in, not set to.
                                           CasEtat{"ThreeRefused", 3, 10059, 0, true, true},
                                           CasEtat{"OffScreenRefused", 16, 10059, 0, true, true},
                                           CasEtat{"NegativeRefused", -1, 10059, 0, true, true}),
                         [](const auto& i) { return std::string(i.param.pszCas); });

// 0 brings back a window that is invisible or off screen, where it was.
TEST_F(Fonctions, FenEtatZeroBringsTheWindowBack) {
    OuvreFille(L"FEN_A");
    CFenPrincipale* f = Fenetre(L"FEN_A");
    ASSERT_NE(f, nullptr);
    QWidget* w = f->pGetWidget();
    const QPoint pos = w->pos();

    nAppelle("KSL_FenEtat_3", {T(L"FEN_A"), I(2)});
    EXPECT_EQ(nAppelle("KSL_FenEtat_3", {T(L"FEN_A"), I(0)}), 2);
    EXPECT_TRUE(w->isVisible());

    f->PlaceHorsEcran();
    EXPECT_EQ(nAppelle("KSL_FenEtat_1", {T(L"FEN_A")}), 16);
    EXPECT_EQ(nAppelle("KSL_FenEtat_3", {T(L"FEN_A"), I(0)}), 16);
    EXPECT_FALSE(f->bEstHorsEcran());
    EXPECT_EQ(w->pos(), pos);
    EXPECT_EQ(nAppelle("KSL_FenEtat_1", {T(L"FEN_A")}), 0);
}

// The text syntax: the single characters 1 and 2 are the states 256 and
// 512, which are refused; any other text answers -1 and changes nothing.
TEST_F(Fonctions, FenEtatWithAText) {
    OuvreFille(L"FEN_A");
    struct Cas {
        const wchar_t* pszTexte;
        int nResultat;
        const wchar_t* pszErreur;  // the refused state, null: no error
    };
    const Cas tab[] = {
        {L"\x01", 0, L"256"}, {L"\x02", 0, L"512"}, {L"\x01\x01", -1, nullptr}, {L"", -1, nullptr}, {L"1", -1, nullptr},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(testing::Message() << "text of " << std::wcslen(c.pszTexte) << " characters, first "
                                        << (c.pszTexte[0] ? int(c.pszTexte[0]) : 0));
        EXPECT_EQ(nAppelle("KSL_FenEtat_4", {T(L"FEN_A"), T(c.pszTexte)}), c.nResultat);
        if (c.pszErreur) {
            EXPECT_EQ(Erreur()->nGetErreur(), 10059);
            ASSERT_FALSE(Erreur()->tabGetArgs().empty());
            EXPECT_EQ(Erreur()->tabGetArgs()[0], c.pszErreur);
        } else {
            EXPECT_EQ(Erreur()->nGetErreur(), 0);
        }
        EXPECT_EQ(nAppelle("KSL_FenEtat_1", {T(L"FEN_A")}), 0);
    }
}

// Without a name, FenEtat reads and sets the state of the running code's window.
TEST_F(Fonctions, FenEtatInTheWindowsOwnCode) {
    std::vector<int> tabLus;
    int nErreur3 = -1;
    Code(L"FEN_A", EVT_INIT_FENETRE, [&] {
        tabLus.push_back(nAppelle("KSL_FenEtat_0"));
        tabLus.push_back(nAppelle("KSL_FenEtat_2", {I(3)}));
        nErreur3 = Erreur()->nGetErreur();
        tabLus.push_back(nAppelle("KSL_FenEtat_2", {I(4)}));
        tabLus.push_back(nAppelle("KSL_FenEtat_0"));
    });
    OuvreFille(L"FEN_A");
    EXPECT_EQ(tabLus, (std::vector<int>{0, 0, 0, 4}));
    EXPECT_EQ(nErreur3, 10059);
    EXPECT_EQ(nAppelle("KSL_FenEtat_1", {T(L"FEN_A")}), 4);
    EXPECT_EQ(nAppelle("KSL_FenEtat_0"), 8) << "outside any code there is no running code's window";
}

// Hiding a window that Ouvre runs a modal loop for does not end Ouvre: the
// window is still open, only invisible; closing it ends Ouvre, and a
// closing its code refuses leaves it open and invisible.
TEST_F(Fonctions, FenEtatInvisibleKeepsOuvreWaitingUntilTheWindowCloses) {
    OuvreFille(L"FEN_A");  // FEN_B is not the first window: it runs a dialog's loop
    std::vector<std::string> tabOrdre;
    int nFermetures = 0;
    Code(L"FEN_B", EVT_FERMETURE, [&] {
        if (++nFermetures == 1) Appelle("KSL_RepriseSaisie_1", {O(Objet(L"FEN_B"))});
    });
    auto etat = [&] {
        CFenPrincipale* f = Fenetre(L"FEN_B");
        tabOrdre.push_back(!f ? "closed" : f->pGetWidget()->isVisible() ? "open" : "open and hidden");
    };
    QTimer::singleShot(50, &contexte, [&] {
        nAppelle("KSL_FenEtat_3", {T(L"FEN_B"), I(2)});
        QTimer::singleShot(50, &contexte, [&] {
            etat();
            Appelle("KSL_Ferme_1", {T(L"FEN_B")});  // refused
            etat();
            QTimer::singleShot(50, &contexte, [&] { Appelle("KSL_Ferme_1", {T(L"FEN_B")}); });
        });
    });
    Appelle("KSL_Ouvre_0", {T(L"FEN_B")});
    etat();
    EXPECT_EQ(tabOrdre, (std::vector<std::string>{"open and hidden", "open and hidden", "closed"}));
    EXPECT_EQ(nFermetures, 2);
}

// ---------------------------------------------------------------- names and counts

TEST_F(Fonctions, WindowNamesAndCounts) {
    EXPECT_EQ(sAppelle("KSL_FenEnCours_0"), L"");
    EXPECT_EQ(sAppelle("KSL_FenPrecedente_0"), L"");
    EXPECT_EQ(nAppelle("KSL_NombreFenetre_0"), 0);

    OuvreFille(L"Premiere=FEN_A");
    EXPECT_EQ(sAppelle("KSL_FenEnCours_0"), L"PREMIERE") << "the alias, in upper case";
    EXPECT_EQ(sAppelle("KSL_FenPrecedente_0"), L"") << "no window was current before";
    EXPECT_EQ(nAppelle("KSL_NombreFenetre_0"), 1);

    std::wstring sEnExecution;
    std::vector<bool> tabInitialisee;
    Code(L"FEN_B", EVT_DECLARATION, [&] {
        sEnExecution = sAppelle("KSL_FenEnExecution_0");
        tabInitialisee.push_back(nAppelle("KSL_FenInitialisee_0") != 0);
    });
    Code(L"FEN_B", EVT_FERMETURE, [&] { tabInitialisee.push_back(nAppelle("KSL_FenInitialisee_0") != 0); });
    OuvreFille(L"FEN_B");
    EXPECT_EQ(sEnExecution, L"FEN_B");
    EXPECT_EQ(sAppelle("KSL_FenEnCours_0"), L"FEN_B");
    EXPECT_EQ(sAppelle("KSL_FenPrecedente_0"), L"Premiere") << "the window that was active when FEN_B opened";
    EXPECT_EQ(sAppelle("KSL_FenEnExecution_0"), L"") << "no code runs";
    EXPECT_EQ(nAppelle("KSL_NombreFenetre_0"), 2);
    EXPECT_EQ(nAppelle("KSL_FenInitialisee_0"), 0) << "no code runs";

    Appelle("KSL_Ferme_1", {T(L"Premiere")});
    EXPECT_EQ(sAppelle("KSL_FenPrecedente_0"), L"") << "that window is closed";
    EXPECT_EQ(nAppelle("KSL_NombreFenetre_0"), 1);
    Appelle("KSL_Ferme_1", {T(L"FEN_B")});
    EXPECT_EQ(tabInitialisee, (std::vector<bool>{false, true})) << "declaration code, then closing code";
}

// ---------------------------------------------------------------- size, paint, geometry

TEST_F(Fonctions, FenTaille) {
    OuvreFille(L"FEN_A");
    QWidget* w = Fenetre(L"FEN_A")->pGetWidget();
    struct Cas {
        const char* pszCas;
        const char* pszGlue;
        std::vector<Arg> tabArgs;
        int nErreur;
        Qt::WindowState etat;  // present afterwards; none: shown normal
    };
    const Cas tab[] = {
        {"NameOnly", "KSL_FenTaille_0", {T(L"FEN_A")}, 0, Qt::WindowNoState},
        {"Absent", "KSL_FenTaille_0", {T(L"FEN_ABSENTE")}, 10001, Qt::WindowNoState},
        {"Maximised", "KSL_FenTaille_1", {T(L"FEN_A"), I(1)}, 0, Qt::WindowMaximized},
        {"Minimised", "KSL_FenTaille_1", {T(L"FEN_A"), I(2)}, 0, Qt::WindowMinimized},
        {"Normal", "KSL_FenTaille_1", {T(L"FEN_A"), I(0)}, 0, Qt::WindowNoState},
        {"BadMode", "KSL_FenTaille_1", {T(L"FEN_A"), I(3)}, 10051, Qt::WindowNoState},
        {"AbsentWithMode", "KSL_FenTaille_1", {T(L"FEN_ABSENTE"), I(1)}, 10001, Qt::WindowNoState},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszCas);
        EXPECT_EQ(nAppelle(c.pszGlue, c.tabArgs), 0);
        EXPECT_EQ(Erreur()->nGetErreur(), c.nErreur);
        // A maximised window that is minimised stays maximised underneath.
        if (c.etat == Qt::WindowNoState)
            EXPECT_EQ(w->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized), Qt::WindowNoState);
        else
            EXPECT_TRUE(w->windowState() & c.etat);
    }
}

// Paint events of a widget, and whether the window said it was repainting.
class CEspionPeinture : public QObject {
public:
    explicit CEspionPeinture(CFenPrincipale* f) : m_f(f) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) tabDrapeau.push_back(m_f->bRepeintEnCours());
        return false;
    }
    std::vector<bool> tabDrapeau;

private:
    CFenPrincipale* m_f;
};

TEST_F(Fonctions, FenRepeintPaintsAtOnce) {
    Appelle("KSL_FenRepeint_0", {T(L"")});
    EXPECT_EQ(Erreur()->nGetErreur(), 0) << "no window and no name: nothing to do";
    Appelle("KSL_FenRepeint_0", {T(L"FEN_ABSENTE")});
    EXPECT_EQ(Erreur()->nGetErreur(), 10001);

    OuvreFille(L"FEN_A");
    CFenPrincipale* f = Fenetre(L"FEN_A");
    QWidget* w = f->pGetWidget();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    QCoreApplication::processEvents();
    CEspionPeinture espion(f);
    w->installEventFilter(&espion);
    Appelle("KSL_FenRepeint_0", {T(L"FEN_A")});
    w->removeEventFilter(&espion);
    EXPECT_EQ(Erreur()->nGetErreur(), 0);
    EXPECT_EQ(espion.tabDrapeau, std::vector<bool>{true}) << "painted before FenRepeint returned, with the flag set";
    EXPECT_FALSE(f->bRepeintEnCours());
}

// Outer frame and client area: with a menu bar the client area starts below it.
TEST_F(Fonctions, GeometryOfTheFrameAndOfTheClientArea) {
    std::map<std::string, int> tabDansCode;
    const char* const tabFonctions[] = {"FenExtHaut", "FenExtLarg", "FenExtPosX", "FenExtPosY",
                                        "FenIntHaut", "FenIntLarg", "FenIntPosX", "FenIntPosY"};
    OuvreFille(L"FEN_A");
    Code(L"FEN_M", EVT_INIT_FENETRE, [&] {
        for (const char* psz : tabFonctions) tabDansCode[psz] = nAppelle(std::string("KSL_") + psz + "_0");
    });
    OuvreFille(L"FEN_M");
    for (const wchar_t* pszFen : {L"FEN_A", L"FEN_M"}) {
        CFenPrincipale* f = Fenetre(pszFen);
        ASSERT_NE(f, nullptr);
        QWidget* w = f->pGetWidget();
        QWidget* c = f->pGetWidgetClient();
        QRect rExt = w->frameGeometry();
        QRect rInt(c->mapToGlobal(QPoint(0, 0)), c->size());
        const std::map<std::string, int> attendu = {
            {"FenExtHaut", rExt.height()}, {"FenExtLarg", rExt.width()}, {"FenExtPosX", rExt.x()}, {"FenExtPosY", rExt.y()},
            {"FenIntHaut", rInt.height()}, {"FenIntLarg", rInt.width()}, {"FenIntPosX", rInt.x()}, {"FenIntPosY", rInt.y()},
        };
        std::map<std::string, int> lu;
        for (const char* psz : tabFonctions) lu[psz] = nAppelle(std::string("KSL_") + psz + "_1", {T(pszFen)});
        EXPECT_EQ(lu, attendu) << QString::fromWCharArray(pszFen).toStdString();
        if (std::wstring(pszFen) == L"FEN_M") {
            EXPECT_LT(lu["FenIntHaut"], lu["FenExtHaut"]) << "the menu bar is not in the client area";
            EXPECT_GT(lu["FenIntPosY"], lu["FenExtPosY"]);
            EXPECT_EQ(lu["FenIntHaut"], 160) << "the client area has the designed height";
        }
    }
    // The syntax without a name reads the running code's window; the
    // window had its final geometry already when its initialisation ran.
    EXPECT_EQ(tabDansCode["FenIntLarg"], 240);
    EXPECT_EQ(tabDansCode["FenIntHaut"], 160);
    for (const char* psz : tabFonctions) {
        SCOPED_TRACE(psz);
        EXPECT_EQ(nAppelle(std::string("KSL_") + psz + "_1", {T(L"FEN_ABSENTE")}), 0);
        EXPECT_EQ(Erreur()->nGetErreur(), 10001);
    }
}

// ---------------------------------------------------------------- visibility and state of controls

struct CasVisibilite {
    const char* pszCas;
    const char* pszGlue;
    const wchar_t* pszObjet;  // null: a null reference
    bool bAnimation;          // the syntax with the two animation parameters
    int nErreur;
    std::function<void(CObjetAPCodeOBJ*)> fnVerifie;
};

void PrintTo(const CasVisibilite& c, std::ostream* os) { *os << c.pszCas; }

class Visibilite : public Fonctions, public ::testing::WithParamInterface<CasVisibilite> {};

TEST_P(Visibilite, ThroughTheProperties) {
    const CasVisibilite& c = GetParam();
    OuvreFille(L"FEN_A");
    OuvreFille(L"FEN_M");
    CObjetAPCodeOBJ* o = c.pszObjet ? Objet(c.pszObjet) : nullptr;
    if (c.pszObjet) {
        ASSERT_NE(o, nullptr);
    }
    std::vector<Arg> tabArgs = {O(o)};
    if (c.bAnimation) tabArgs.insert(tabArgs.end(), {I(200), I(1)});
    Appelle(c.pszGlue, tabArgs);
    EXPECT_EQ(Erreur()->nGetErreur(), c.nErreur);
    if (c.fnVerifie) c.fnVerifie(o);
}

bool bWidgetVisible(CObjetAPCodeOBJ* o) {
    if (CChamp* c = o->pclCastToChamp()) return c->pGetWidget() && c->pGetWidget()->isVisible();
    CFenPrincipale* f = o->vpclCastToFenPrincipale();
    return f && f->pGetWidget() && f->pGetWidget()->isVisible();
}

INSTANTIATE_TEST_SUITE_P(
    Fonctions, Visibilite,
    ::testing::Values(
        CasVisibilite{"InvisibleHidesAControl", "KSL_ChampInvisible_0", L"FEN_A.IMG_1", false, 0,
                      [](CObjetAPCodeOBJ* o) {
                          EXPECT_FALSE(o->pclCastToChamp()->bIsVisible());
                          EXPECT_FALSE(bWidgetVisible(o));
                      }},
        CasVisibilite{"InvisibleWithAnimation", "KSL_ChampInvisible_1", L"FEN_A.IMG_1", true, 0,
                      [](CObjetAPCodeOBJ* o) { EXPECT_FALSE(bWidgetVisible(o)); }},
        CasVisibilite{"VisibleShowsAHiddenControl", "KSL_ChampVisible_1", L"FEN_A.LIB_CACHE", true, 0,
                      [](CObjetAPCodeOBJ* o) {
                          EXPECT_TRUE(o->pclCastToChamp()->bIsVisible());
                          EXPECT_TRUE(bWidgetVisible(o));
                      }},
        CasVisibilite{"GriseGreysAControl", "KSL_ChampGrise_0", L"FEN_A.IMG_1", false, 0,
                      [](CObjetAPCodeOBJ* o) {
                          EXPECT_EQ(o->pclCastToChamp()->eGetState(), 4);
                          EXPECT_TRUE(o->pclCastToChamp()->bIsGrayed());
                      }},
        CasVisibilite{"InvisibleHidesAWindow", "KSL_ChampInvisible_0", L"FEN_A", false, 0,
                      [](CObjetAPCodeOBJ* o) { EXPECT_FALSE(bWidgetVisible(o)); }},
        CasVisibilite{"GriseGreysAWindow", "KSL_ChampGrise_1", L"FEN_A", true, 0,
                      [](CObjetAPCodeOBJ* o) {
                          EXPECT_EQ(o->vpclCastToFenPrincipale()->eGetState(), 4);
                          EXPECT_FALSE(o->vpclCastToFenPrincipale()->pGetWidget()->isEnabled());
                      }},
        CasVisibilite{"VisibleOnAVisibleWindowChangesNothing", "KSL_ChampVisible_0", L"FEN_A", false, 0,
                      [](CObjetAPCodeOBJ* o) { EXPECT_TRUE(bWidgetVisible(o)); }},
        CasVisibilite{"NullReference", "KSL_ChampVisible_0", nullptr, false, 10009, nullptr},
        // A menu option is greyed through its Etat property, as a control is.
        CasVisibilite{"GriseGreysAMenuOption", "KSL_ChampGrise_0", L"FEN_M.OPT_Quitter", false, 0,
                      [](CObjetAPCodeOBJ* o) { EXPECT_EQ(static_cast<COptionMenu*>(o)->nGetEtat(), 4); }}),
    [](const auto& i) { return std::string(i.param.pszCas); });

// ---------------------------------------------------------------- focus

class Focus : public Fonctions {
protected:
    void SetUp() override {
        Fonctions::SetUp();
        if (HasFatalFailure()) return;
        OuvreFille(L"FEN_A");
        f = Fenetre(L"FEN_A");
        Active(f);
        img1 = Champ(L"FEN_A.IMG_1");
        img2 = Champ(L"FEN_A.IMG_2");
        img3 = Champ(L"FEN_A.IMG_3");
        ASSERT_TRUE(img1 && img2 && img3);
        ASSERT_EQ(f->pclGetChampFocus(), img1) << "the first control of the tab order has the focus";
        ASSERT_EQ(QApplication::focusWidget(), img1->pGetWidget());
        runner->ViderJournal();
    }
    void Clic(CChamp* c) {
        QTest::mouseClick(c->pGetWidget(), Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    CFenPrincipale* f = nullptr;
    CChamp *img1 = nullptr, *img2 = nullptr, *img3 = nullptr;
};

// DonneFocus() in a control's exit code gives the focus back to that control
// once the code ends: the click on another control does not move it.
TEST_F(Focus, DonneFocusInAnExitCodeKeepsTheFocusOnItsControl) {
    Code(L"FEN_A.IMG_1", EVT_SORTIE, [&] { Appelle("KSL_DonneFocus_0"); });
    Clic(img2);
    EXPECT_EQ(f->pclGetChampFocus(), img1);
    EXPECT_EQ(QApplication::focusWidget(), img1->pGetWidget());
    EXPECT_EQ(nFois(L"FEN_A.IMG_2", EVT_ENTREE), 0);
}

// The request is applied when the code returns, not during the call.
TEST_F(Focus, DonneFocusMovesTheFocusWhenTheCodeEnds) {
    CChamp* pclPendantCode = nullptr;
    Code(L"FEN_A.IMG_2", EVT_ENTREE, [&] {
        Appelle("KSL_DonneFocus_1", {O(img3)});
        pclPendantCode = f->pclGetChampFocus();
    });
    Clic(img2);
    EXPECT_EQ(pclPendantCode, img1) << "the focus moved while the code still ran";
    EXPECT_EQ(f->pclGetChampFocus(), img3);
    EXPECT_EQ(QApplication::focusWidget(), img3->pGetWidget());
    EXPECT_EQ(nFois(L"FEN_A.IMG_3", EVT_ENTREE), 1);
}

// RepriseSaisie does the same and asks the program to stop the running code.
TEST_F(Focus, RepriseSaisieMovesTheFocusAndStopsTheCode) {
    int nStop = -1;
    Code(L"FEN_A.IMG_2", EVT_ENTREE, [&] {
        VM()->m_nStop = 0;
        Appelle("KSL_RepriseSaisie_1", {O(img3)});
        nStop = VM()->m_nStop;
    });
    Clic(img2);
    EXPECT_EQ(nStop, 12);
    EXPECT_EQ(Erreur()->nGetErreur(), 0);
    EXPECT_EQ(f->pclGetChampFocus(), img3);
}

// A window given the focus becomes the active window.
TEST_F(Focus, DonneFocusOfAWindowActivatesIt) {
    OuvreFille(L"FEN_B");
    CFenPrincipale* b = Fenetre(L"FEN_B");
    Active(b);
    // IMG_Y is first in FEN_B's tab order: it has the focus.
    Code(L"FEN_B.IMG_Y", EVT_SORTIE, [&] { Appelle("KSL_DonneFocus_1", {O(f)}); });
    QTest::mouseClick(Champ(L"FEN_B.IMG_X")->pGetWidget(), Qt::LeftButton);
    EXPECT_EQ(Erreur()->nGetErreur(), 0);
    EXPECT_TRUE(QTest::qWaitForWindowActive(f->pGetWidget()));
}

TEST_F(Focus, FocusRequestsForObjectsThatCannotTakeIt) {
    OuvreFille(L"FEN_M");
    CObjetAPCodeOBJ* opt = Objet(L"FEN_M.OPT_Quitter");
    ASSERT_NE(opt, nullptr);
    struct Cas {
        const char* pszGlue;
        std::vector<Arg> tabArgs;
        const wchar_t* pszNom;  // first argument of error 10063
    };
    const Cas tab[] = {
        {"KSL_DonneFocus_0", {}, L"?"},  // no code runs: there is no current object
        {"KSL_RepriseSaisie_0", {}, L"?"},
        {"KSL_DonneFocus_1", {O(opt)}, L"OPT_Quitter"},
        {"KSL_RepriseSaisie_1", {O(opt)}, L"OPT_Quitter"},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszGlue);
        VM()->m_nStop = 0;
        Appelle(c.pszGlue, c.tabArgs);
        EXPECT_EQ(Erreur()->nGetErreur(), 10063);
        ASSERT_EQ(Erreur()->tabGetArgs().size(), 2u);
        EXPECT_EQ(Erreur()->tabGetArgs()[0], c.pszNom);
        EXPECT_EQ(VM()->m_nStop, 0) << "a refused request stops nothing";
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(f->pclGetChampFocus(), img1);
}

// While the focus moves from IMG_1 to IMG_2, IMG_2 is the next control and
// IMG_1 the previous one; afterwards IMG_1 stays the previous one.
TEST_F(Focus, ChampSuivantAndChampPrecedentAroundAFocusChange) {
    std::vector<std::wstring> tabLus;
    auto lit = [&] {
        tabLus.push_back(sAppelle("KSL_ChampSuivant_0"));
        tabLus.push_back(sAppelle("KSL_ChampPrecedent_0"));
    };
    Code(L"FEN_A.IMG_1", EVT_SORTIE, lit);
    Code(L"FEN_A.IMG_2", EVT_ENTREE, lit);
    Clic(img2);
    lit();
    EXPECT_EQ(tabLus, (std::vector<std::wstring>{L"IMG_2", L"IMG_1", L"IMG_2", L"IMG_1", L"", L"IMG_1"}));
}

TEST_F(Fonctions, ChampSuivantAndChampPrecedentWithoutAWindow) {
    EXPECT_EQ(sAppelle("KSL_ChampSuivant_0"), L"");
    EXPECT_EQ(sAppelle("KSL_ChampPrecedent_0"), L"");
    EXPECT_EQ(Erreur()->nGetErreur(), 0);
}

// ---------------------------------------------------------------- enumeration

TEST_F(Fonctions, EnumereChampFenetre) {
    OuvreFille(L"FEN_A");
    OuvreFille(L"FEN_B");
    OuvreFille(L"FEN_M");
    CObjetAPCodeOBJ* fenA = Objet(L"FEN_A");
    CObjetAPCodeOBJ* fenB = Objet(L"FEN_B");
    CObjetAPCodeOBJ* img1 = Objet(L"FEN_A.IMG_1");
    CObjetAPCodeOBJ* opt = Objet(L"FEN_M.OPT_Quitter");
    ASSERT_TRUE(fenA && fenB && img1 && opt);
    struct Cas {
        const char* pszCas;
        std::vector<Arg> tabArgs;  // without an option: syntax 0
        const wchar_t* pszAttendu;  // qualified name of the result, null: none
        int nErreur;
    };
    const Cas tab[] = {
        {"First", {O(fenA), I(1)}, L"FEN_A.IMG_1", 0},
        {"Last", {O(fenA), I(5)}, L"FEN_A.LIB_CACHE", 0},
        {"PastTheLast", {O(fenA), I(6)}, nullptr, 0},
        {"Zero", {O(fenA), I(0)}, nullptr, 0},
        // FEN_B lists X before Y and tabs from Y to X.
        {"CreationOrder", {O(fenB), I(1), I(0)}, L"FEN_B.IMG_X", 0},
        {"TabOrder", {O(fenB), I(1), I(1)}, L"FEN_B.IMG_Y", 0},
        {"TabOrderLeavesStaticsOut", {O(fenA), I(4), I(1)}, nullptr, 0},
        {"StackingOrder", {O(fenB), I(2), I(2)}, L"FEN_B.IMG_Y", 0},
        {"ControlHoldsNoControls", {O(img1), I(1)}, nullptr, 0},
        {"BadOption", {O(fenA), I(1), I(3)}, nullptr, 10051},
        {"NullReference", {O(nullptr), I(1)}, nullptr, 10009},
        {"MenuOption", {O(opt), I(1)}, nullptr, 10416},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszCas);
        STSlotAppel slot = Appelle(c.tabArgs.size() == 3 ? "KSL_EnumereChampFenetre_1" : "KSL_EnumereChampFenetre_0", c.tabArgs);
        EXPECT_EQ(Erreur()->nGetErreur(), c.nErreur);
        ASSERT_TRUE(slot.bResultat);
        EXPECT_EQ(slot.stResultat.pObjet, c.pszAttendu ? Objet(c.pszAttendu) : nullptr);
    }
    Appelle("KSL_EnumereChampFenetre_0", {O(opt), I(1)});
    ASSERT_EQ(Erreur()->tabGetArgs().size(), 4u);
    EXPECT_EQ(Erreur()->tabGetArgs()[0], L"EnumereChampFenetre") << "the error names the function";
    EXPECT_EQ(Erreur()->tabGetArgs()[1], L"OPT_Quitter");
}

// ---------------------------------------------------------------- creation, copy, deletion

TEST_F(Fonctions, ChampCreeMakesAControlInTheNamedWindow) {
    OuvreFille(L"FEN_A");
    OuvreFille(L"FEN_M");
    struct Cas {
        const wchar_t* pszNom;
        QRect r;
        bool bVisible;
    };
    for (const Cas& c : {Cas{L"FEN_A.IMG_N", QRect(12, 34, 56, 78), true}, Cas{L"FEN_A.IMG_I", QRect(1, 2, 3, 4), false},
                         Cas{L"FEN_M.IMG_N", QRect(5, 6, 7, 8), true}}) {
        SCOPED_TRACE(QString::fromWCharArray(c.pszNom).toStdString());
        void* p = pAppelle("KSL_ChampCree_1", {T(c.pszNom), I(ID_IMAGE), I(c.r.x()), I(c.r.y()), I(c.r.width()), I(c.r.height()),
                                               I(c.bVisible)});
        EXPECT_EQ(Erreur()->nGetErreur(), 0);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p, Objet(c.pszNom)) << "found by its name";
        CChamp* ch = static_cast<CObjetAPCodeOBJ*>(p)->pclCastToChamp();
        ASSERT_NE(ch, nullptr);
        EXPECT_EQ(ch->dwGetId(), ID_IMAGE);
        EXPECT_EQ(ch->rectGet(), c.r);
        ASSERT_NE(ch->pGetWidget(), nullptr);
        EXPECT_EQ(ch->pGetWidget()->parentWidget(), ch->vpclGetFenPrincipale()->pGetWidgetClient())
            << "in the client area, below a menu bar";
        EXPECT_EQ(ch->pGetWidget()->geometry(), c.r);
        EXPECT_EQ(ch->pGetWidget()->isVisible(), c.bVisible);
    }
}

// A plain name goes into the running code's window, at (0, 0), empty and visible.
TEST_F(Fonctions, ChampCreeWithAPlainNameInTheWindowsCode) {
    void* p = nullptr;
    Code(L"FEN_A", EVT_INIT_FENETRE, [&] { p = pAppelle("KSL_ChampCree_0", {T(L"IMG_N"), I(ID_IMAGE)}); });
    OuvreFille(L"FEN_A");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p, Objet(L"FEN_A.IMG_N"));
    CChamp* c = static_cast<CObjetAPCodeOBJ*>(p)->pclCastToChamp();
    EXPECT_EQ(c->rectGet(), QRect(0, 0, 0, 0));
    EXPECT_TRUE(c->bIsVisible());
}

TEST_F(Fonctions, ChampCreeRefusals) {
    OuvreFille(L"FEN_A");
    struct Cas {
        const char* pszCas;
        const wchar_t* pszNom;
        int nType;
        int nErreur;
    };
    const Cas tab[] = {
        {"NameTaken", L"FEN_A.IMG_1", 8, 10009},
        {"EmptyName", L"", 8, 10009},
        {"IndexedName", L"FEN_A.IMG[2]", 8, 10009},
        {"ColumnOutsideATable", L"FEN_A.COL_1", 56, 10010},
        {"OtherColumnOutsideATable", L"FEN_A.COL_1", 110, 10010},
        {"PaneOutsideATabControl", L"FEN_A.VOLET_1", 57, 10010},
        {"InsideAControl", L"FEN_A.IMG_1.IMG_N", 8, 10010},
        {"KindNotOnThisPlatform", L"FEN_A.X_1", 93, 10012},
        {"KindNotAControl", L"FEN_A.FEN_N", 1, 10012},
        {"WindowNotOpen", L"FEN_B.IMG_N", 8, 10001},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszCas);
        EXPECT_EQ(pAppelle("KSL_ChampCree_0", {T(c.pszNom), I(c.nType)}), nullptr);
        EXPECT_EQ(Erreur()->nGetErreur(), c.nErreur);
    }
    EXPECT_EQ(Objet(L"FEN_A.IMG_1")->pclCastToChamp()->rectGet(), QRect(10, 10, 40, 40)) << "the taken name kept its control";

    // The program refuses creation in the current context: nothing, no error.
    VM()->m_bOuverturePermise = false;
    EXPECT_EQ(pAppelle("KSL_ChampCree_0", {T(L"FEN_A.IMG_N"), I(ID_IMAGE)}), nullptr);
    VM()->m_bOuverturePermise = true;
    EXPECT_EQ(Erreur()->nGetErreur(), 0);
    EXPECT_EQ(Objet(L"FEN_A.IMG_N"), nullptr);
}

TEST_F(Fonctions, ChampCloneFenetre) {
    OuvreFille(L"FEN_A");
    CObjetAPCodeOBJ* img1 = Objet(L"FEN_A.IMG_1");
    ASSERT_NE(img1, nullptr);
    struct Cas {
        const char* pszGlue;
        std::vector<Arg> tabPosition;
        QPoint pos;
    };
    const Cas tab[] = {
        {"KSL_ChampCloneFenetre_0", {}, QPoint(10, 10)},
        {"KSL_ChampCloneFenetre_1", {I(150)}, QPoint(150, 10)},
        {"KSL_ChampCloneFenetre_2", {I(150), I(120)}, QPoint(150, 120)},
    };
    int n = 0;
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszGlue);
        std::wstring sNom = L"IMG_C" + std::to_wstring(++n);
        std::vector<Arg> tabArgs = {O(img1), T(sNom.c_str())};
        tabArgs.insert(tabArgs.end(), c.tabPosition.begin(), c.tabPosition.end());
        void* p = pAppelle(c.pszGlue, tabArgs);
        EXPECT_EQ(Erreur()->nGetErreur(), 0);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p, Objet((L"FEN_A." + sNom).c_str()));
        CChamp* copie = static_cast<CObjetAPCodeOBJ*>(p)->pclCastToChamp();
        EXPECT_EQ(copie->dwGetId(), ID_IMAGE);
        EXPECT_EQ(copie->rectGet(), QRect(c.pos, QSize(40, 40)));
        EXPECT_EQ(copie->qwGetID(), img1->qwGetID()) << "the copy runs the original's code";
        ASSERT_NE(copie->pGetWidget(), nullptr);
        EXPECT_TRUE(copie->pGetWidget()->isVisible());
        EXPECT_EQ(copie->nGetTabOrder(), 2 + n) << "last in the tab order";
    }
}

TEST_F(Fonctions, ChampCloneFenetreRefusals) {
    OuvreFille(L"FEN_A");
    CObjetAPCodeOBJ* img1 = Objet(L"FEN_A.IMG_1");
    CObjetAPCodeOBJ* fenA = Objet(L"FEN_A");
    struct Cas {
        const char* pszCas;
        void* pObjet;
        const wchar_t* pszNom;
        int nErreur;
    };
    const Cas tab[] = {
        {"NameTaken", img1, L"IMG_2", 10009},
        {"EmptyName", img1, L"", 10009},
        {"QualifiedName", img1, L"FEN_A.IMG_C", 10009},
        {"NullReference", nullptr, L"IMG_C", 10009},
        {"Window", fenA, L"IMG_C", 10416},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszCas);
        EXPECT_EQ(pAppelle("KSL_ChampCloneFenetre_0", {O(c.pObjet), T(c.pszNom)}), nullptr);
        EXPECT_EQ(Erreur()->nGetErreur(), c.nErreur);
    }
    EXPECT_EQ(Objet(L"FEN_A.IMG_2")->pclCastToChamp()->rectGet(), QRect(60, 10, 40, 40));
}

TEST_F(Fonctions, ChampSupprimeFenetre) {
    OuvreFille(L"FEN_A");
    QPointer<QWidget> w = Champ(L"FEN_A.IMG_2")->pGetWidget();
    Appelle("KSL_ChampSupprimeFenetre_0", {O(Objet(L"FEN_A.IMG_2"))});
    EXPECT_EQ(Erreur()->nGetErreur(), 0);
    EXPECT_EQ(Objet(L"FEN_A.IMG_2"), nullptr);
    EXPECT_TRUE(w.isNull()) << "its widget went with it";
    EXPECT_EQ(nAppelle("KSL_ChampExisteFenetre_0", {T(L"FEN_A.IMG_2")}), 0);

    struct Cas {
        const char* pszCas;
        void* pObjet;
        int nErreur;
    };
    const Cas tab[] = {{"Window", Objet(L"FEN_A"), 10416}, {"NullReference", nullptr, 10009}};
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszCas);
        Appelle("KSL_ChampSupprimeFenetre_0", {O(c.pObjet)});
        EXPECT_EQ(Erreur()->nGetErreur(), c.nErreur);
    }
    EXPECT_NE(Fenetre(L"FEN_A"), nullptr);
}

// The window forgets a deleted control: the next focus change runs no code
// of it and does not touch it.
TEST_F(Focus, DeletingTheFocusedControl) {
    bool bSortie = false;
    Code(L"FEN_A.IMG_1", EVT_SORTIE, [&] { bSortie = true; });
    Appelle("KSL_ChampSupprimeFenetre_0", {O(img1)});
    img1 = nullptr;
    EXPECT_EQ(Erreur()->nGetErreur(), 0);
    EXPECT_EQ(f->pclGetChampFocus(), nullptr);
    Clic(img3);
    EXPECT_FALSE(bSortie);
    EXPECT_EQ(f->pclGetChampFocus(), img3);
    EXPECT_EQ(f->pclGetChampPrecedent(), nullptr);
}

TEST_F(Fonctions, ChampExisteFenetre) {
    OuvreFille(L"FEN_A");
    struct Cas {
        const wchar_t* pszNom;
        bool bExiste;
    };
    const Cas tab[] = {
        {L"", false},           {L"FEN_A", true},          {L"FEN_A.IMG_1", true},  {L"fen_a.img_1", true},
        {L"FEN_A.NOPE", false}, {L"FEN_B.IMG_X", false},  // FEN_B is not open
        {L"IMG_1", false},      // no code runs: a plain name is a window's
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(QString::fromWCharArray(c.pszNom).toStdString());
        EXPECT_EQ(nAppelle("KSL_ChampExisteFenetre_0", {T(c.pszNom)}) != 0, c.bExiste);
    }
    bool bDansCode = false;
    Code(L"FEN_B", EVT_INIT_FENETRE, [&] { bDansCode = nAppelle("KSL_ChampExisteFenetre_0", {T(L"IMG_X")}) != 0; });
    OuvreFille(L"FEN_B");
    EXPECT_TRUE(bDansCode) << "in a window's code, a plain name is one of its controls";
}

// ---------------------------------------------------------------- system

TEST_F(Fonctions, MultitacheRefusesZeroAndPositiveValues) {
    const std::pair<const char*, std::vector<Arg>> tab[] = {
        {"KSL_Multitache_0", {}}, {"KSL_Multitache_1", {I(0)}}, {"KSL_Multitache_1", {I(5)}}};
    for (const auto& [pszGlue, tabArgs] : tab) {
        SCOPED_TRACE(pszGlue);
        bool bTraite = false;
        QTimer::singleShot(0, &contexte, [&] { bTraite = true; });
        Appelle(pszGlue, tabArgs);
        EXPECT_EQ(Erreur()->nGetErreur(), 10643);
        EXPECT_FALSE(bTraite) << "no event was processed";
        QCoreApplication::processEvents();
    }
}

TEST_F(Fonctions, MultitacheProcessesEvents) {
    bool bTraite = false, bPlusTard = false;
    QTimer::singleShot(0, &contexte, [&] { bTraite = true; });
    QTimer::singleShot(1000, &contexte, [&] { bPlusTard = true; });
    Appelle("KSL_Multitache_1", {I(-1)});
    EXPECT_EQ(Erreur()->nGetErreur(), 0);
    EXPECT_TRUE(bTraite) << "one pass processes the pending events";
    EXPECT_FALSE(bPlusTard) << "-1 is a single pass";

    QElapsedTimer t;
    t.start();
    int nTraites = 0;
    QTimer repete;
    QObject::connect(&repete, &QTimer::timeout, [&] { ++nTraites; });
    repete.start(5);
    Appelle("KSL_Multitache_1", {I(-5)});
    repete.stop();
    EXPECT_GE(t.elapsed(), 50) << "-5 lets events through for 50 ms";
    EXPECT_GE(nTraites, 2) << "events kept being processed meanwhile";
}

TEST_F(Fonctions, SablierShowsAndRemovesTheWaitCursor) {
    Appelle("KSL_Sablier_0");
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    Appelle("KSL_Sablier_1", {I(0)});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    Appelle("KSL_Sablier_1", {I(1)});
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    Appelle("KSL_Sablier_1", {I(0)});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(Fonctions, SourisPosition) {
    const QPoint souris(123, 77);
    QCursor::setPos(souris);
    if (QCursor::pos() != souris) GTEST_SKIP() << "this platform does not move the mouse";
    struct Cas {
        const char* pszCas;
        bool bFenetre;          // FEN_A open and active
        std::vector<Arg> tabArgs;  // empty: the syntax without mode
        int nErreur;
        bool bRelatif;          // expected relative to FEN_A's client area
    };
    const Cas tab[] = {
        {"ScreenWithoutWindow", false, {}, 0, false},
        {"ScreenMode", false, {I(1)}, 0, false},
        {"BadMode", false, {I(2)}, 10051, false},
        {"WindowByDefault", true, {}, 0, true},
        {"WindowMode", true, {I(0)}, 0, true},
        {"ScreenModeWithWindow", true, {I(1)}, 0, false},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszCas);
        if (c.bFenetre && !Fenetre(L"FEN_A")) {
            OuvreFille(L"FEN_A");
            Active(Fenetre(L"FEN_A"));
        }
        QPoint attendu = souris;
        if (c.bRelatif) attendu = Fenetre(L"FEN_A")->pGetWidgetClient()->mapFromGlobal(souris);
        if (c.nErreur) attendu = QPoint(0, 0);
        const char* pszX = c.tabArgs.empty() ? "KSL_SourisPosX_0" : "KSL_SourisPosX_1";
        const char* pszY = c.tabArgs.empty() ? "KSL_SourisPosY_0" : "KSL_SourisPosY_1";
        EXPECT_EQ(nAppelle(pszX, c.tabArgs), attendu.x());
        EXPECT_EQ(Erreur()->nGetErreur(), c.nErreur);
        EXPECT_EQ(nAppelle(pszY, c.tabArgs), attendu.y());
        EXPECT_EQ(Erreur()->nGetErreur(), c.nErreur);
    }
}

}  // namespace
