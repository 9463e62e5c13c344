// Menus changed at run time by Lua code, through the real host and module:
// the fixture project (a window with a menu bar, a context menu and an
// input) is compiled by kvc and its code run by the host's Lua runner. Each
// change is checked on the model and on the QMenu and QAction that Qt
// shows; options are chosen as the user chooses them (the action triggered,
// keys on the menu bar).
#include "HoteProjet.h"
#include "kv/host.h"
#include "kv/types.h"
#include "code/CRunnerLua.h"
#include "conteneur/Identifiants.h"
#include "windows/CFenPrincipale.h"
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& s) { return QString::fromStdWString(s).toStdString(); }

// A menu as a line of text: its entries separated by '|', a separator as
// '-', then flags: (off) greyed, (v) checked, (h) hidden, and a sub-menu's
// entries in brackets. The same form for the model and for Qt.
std::string Rendu(const CMenu& m) {
    std::string s;
    for (int i = 0; i < m.nGetNbOptions(); ++i) {
        const COptionMenu* o = m.pclGetOption(i);
        if (i) s += "|";
        if (o->bEstSeparateur()) {
            s += "-";
        } else {
            s += Utf8(o->sGetLibelle());
            if (!o->sGetTexteSecondaire().empty()) s += "\\t" + Utf8(o->sGetTexteSecondaire());
        }
        if (o->nGetEtat() == 4) s += "(off)";
        if (o->bEstCochee()) s += "(v)";
        if (!o->bGetVisible()) s += "(h)";
        if (const CMenu* sm = o->pclCastToMenu()) s += "[" + Rendu(*sm) + "]";
    }
    return s;
}

std::string Rendu(const QWidget* w) {
    std::string s;
    const QList<QAction*> tab = w->actions();
    for (int i = 0; i < tab.size(); ++i) {
        const QAction* a = tab[i];
        if (i) s += "|";
        s += a->isSeparator() ? std::string("-") : a->text().replace(QLatin1Char('\t'), QLatin1String("\\t")).toStdString();
        // Qt disables a hidden action: its state shows while it is visible.
        if (!a->isEnabled() && a->isVisible()) s += "(off)";
        if (a->isChecked()) s += "(v)";
        if (!a->isVisible()) s += "(h)";
        if (a->menu()) s += "[" + Rendu(a->menu()) + "]";
    }
    return s;
}

class MenusHote : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string& sProjet = kvtest::ProjetCompile(kvtest::CheminFixture("menus"));
        ASSERT_FALSE(sProjet.empty()) << "kvc did not compile the fixture";
        std::string sErreur;
        ASSERT_TRUE(hote.bDemarre(sProjet, sErreur)) << sErreur;
        lua = static_cast<IRunnerLua*>(hote->piGetRunnerProjet());
        ASSERT_NE(lua, nullptr);
        hote.AppelleFenetre("KSL_OuvreFille_0", L"FEN_Menus");
        ASSERT_FALSE(hote.Erreur()->bEstErreur()) << Utf8(hote.Erreur()->sGetMessage());
        f = static_cast<CFenPrincipale*>(hote->piGetExe()->pIGetFenetreFromName(L"FEN_Menus"));
        ASSERT_TRUE(f && f->pGetWidget());
        f->pGetWidget()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(f->pGetWidget()));
        barre = f->pGetWidget()->findChild<QMenuBar*>();
        ASSERT_NE(barre, nullptr);
    }

    // Runs Lua code as code of the window (its menus and controls are names
    // of the code); 0 when it ran without an error.
    int Lua(const std::string& sSource) {
        uint64_t nID = nIdentifiantObjet(L"FEN_Menus.EDT_Nom");
        lua->bAjouteCode(nID, 18, sSource, "FEN_Menus.test");
        STExecutionCode st{nID, 18, f, nullptr, 0};
        return lua->nExecute(st);
    }
    std::string Globale(const char* pszNom) {
        STValeurHote v;
        if (!lua->bLitGlobale(pszNom, v)) return "<nil>";
        if (v.nType == KS_PSTRW) return Utf8(v.sTexte);
        if (v.nType == KS_BOOL) return v.nEntier ? "true" : "false";
        return std::to_string(v.nEntier);
    }
    CMenu& Menu(int i) { return *f->Description().pMenuPrincipal->pclGetOption(i)->pclCastToMenu(); }
    QMenu* QtMenu(int i) { return barre->actions().value(i)->menu(); }
    QAction* Action(int nMenu, const char* pszTexte) {
        for (QAction* a : QtMenu(nMenu)->actions())
            if (a->text() == QLatin1String(pszTexte)) return a;
        return nullptr;
    }

    kvtest::HoteProjet hote;
    IRunnerLua* lua = nullptr;
    CFenPrincipale* f = nullptr;
    QMenuBar* barre = nullptr;
};

// ---------------------------------------------------------------- changes

struct CasChangement {
    const char* pszCas;
    const char* pszCode;       // leaves a result in _G.R
    const char* pszResultat;
    int nMenu;                 // 0 File, 1 Edit
    const char* pszMenu;       // the menu afterwards, on the model and in Qt
};

void PrintTo(const CasChangement& c, std::ostream* os) { *os << c.pszCas; }

class Changement : public MenusHote, public ::testing::WithParamInterface<CasChangement> {};

TEST_P(Changement, ReachesTheModelAndTheWidgetsAtOnce) {
    const CasChangement& c = GetParam();
    ASSERT_EQ(Lua(c.pszCode), 0) << lua->sDerniereErreur();
    EXPECT_EQ(Globale("R"), c.pszResultat);
    EXPECT_EQ(Rendu(Menu(c.nMenu)), c.pszMenu) << "the model";
    EXPECT_EQ(Rendu(QtMenu(c.nMenu)), c.pszMenu) << "the widgets";
}

INSTANTIATE_TEST_SUITE_P(
    Menus, Changement,
    ::testing::Values(
        CasChangement{"Appended", R"(_G.R = MenuAjouteOption(MENU_Fichier, "OPT_N", "&New", "Note"))", "4", 0,
                      "&Open|-|&Quit|&New"},
        CasChangement{"InsertedFirst", R"(_G.R = MenuInsereOption(MENU_Fichier, 1, "OPT_N", "New", "Note"))", "1", 0,
                      "New|&Open|-|&Quit"},
        CasChangement{"InsertedPastTheEnd", R"(_G.R = MenuInsereOption(MENU_Fichier, 99, "OPT_N", "New", "Note"))", "4",
                      0, "&Open|-|&Quit|New"},
        CasChangement{"InsertedBeforeAnOption",
                      R"(_G.R = MenuInsereOption(MENU_Fichier, "OPT_Quitter", "OPT_N", "New", "Note"))", "3", 0,
                      "&Open|-|New|&Quit"},
        CasChangement{"SubMenuWithAnOption",
                      R"(_G.R = MenuAjouteMenu(MENU_Fichier, "MENU_R", "&Recent")
                         MenuAjouteOption(MENU_Fichier.MENU_R, "OPT_R1", "One", "Note"))",
                      "4", 0, "&Open|-|&Quit|&Recent[One]"},
        CasChangement{"Separator", R"(_G.R = MenuAjouteSeparateur(MENU_Edition))", "2", 1, "&Copy|-"},
        CasChangement{"SeparatorInserted", R"(_G.R = MenuInsereSeparateur(MENU_Edition, 1))", "1", 1, "-|&Copy"},
        CasChangement{"Greyed", R"(_G.R = MenuEtat(MENU_Fichier.OPT_Ouvrir, 4))", "4", 0, "&Open(off)|-|&Quit"},
        CasChangement{"GreyedByIdentifiers", R"(MenuSelectMoins(2, 4) _G.R = MenuEtat("FEN_Menus", 4))", "4", 0,
                      "&Open(off)|-|&Quit(off)"},
        CasChangement{"ActiveAgain", R"(MenuSelectMoins(2) MenuSelectPlus("FEN_Menus", 2) _G.R = MenuEtat(MENU_Fichier.OPT_Ouvrir))",
                      "0", 0, "&Open|-|&Quit"},
        CasChangement{"Checked", R"(MenuMarque(MENU_Fichier.OPT_Quitter) _G.R = MenuMarquage(MENU_Fichier.OPT_Quitter))",
                      "true", 0, "&Open|-|&Quit(v)"},
        CasChangement{"Unchecked", R"(MenuMarque(4) MenuDemarque("FEN_Menus", 4) _G.R = MenuMarquage("FEN_Menus", 4))",
                      "false", 0, "&Open|-|&Quit"},
        CasChangement{"CaptionWithSecondaryText", R"(_G.R = MenuLibelle(MENU_Fichier.OPT_Ouvrir, "Save\\:All:Ctrl+S"))",
                      "Save:All", 0, "Save:All\\tCtrl+S|-|&Quit"},
        CasChangement{"CaptionWithoutSecondaryText", R"(_G.R = MenuLibelle("FEN_Menus", 2, "a\\:b"))", "a:b", 0,
                      "a:b|-|&Quit"},
        CasChangement{"CaptionThroughTheProperty",
                      R"(MENU_Fichier.OPT_Quitter.Libelle = "&Leave" _G.R = MENU_Fichier.OPT_Quitter.Libelle)", "&Leave", 0,
                      "&Open|-|&Leave"},
        CasChangement{"Hidden", R"(MenuInvisible(MENU_Fichier.OPT_Quitter) _G.R = MENU_Fichier.OPT_Quitter.Visible)",
                      "false", 0, "&Open|-|&Quit(h)"},
        CasChangement{"ShownAgain", R"(MenuInvisible(4) MENU_Fichier.OPT_Quitter.Visible = true _G.R = 0)", "0", 0,
                      "&Open|-|&Quit"},
        CasChangement{"RemovedByObject", R"(MenuSupprime(MENU_Fichier.OPT_Quitter) _G.R = MenuOptionExiste("OPT_Quitter"))",
                      "false", 0, "&Open|-"},
        CasChangement{"RemovedByPosition", R"(MenuSupprime(MENU_Fichier, 1) MenuSupprime(MENU_Fichier, 9) _G.R = 0)", "0", 0,
                      "-|&Quit"},
        CasChangement{"Cloned", R"(_G.R = MenuClone(MENU_Fichier.OPT_Ouvrir, "OPT_Copie"))", "2", 0, "&Open|&Open|-|&Quit"},
        CasChangement{"Enumerated",
                      R"(_G.R = EnumereMenu(MENU_Fichier, 1) .. "," .. EnumereMenu(MENU_Fichier, 3) .. "," ..
                         EnumereMenu(MENU_Fichier, 4) .. "," .. EnumereMenu(FEN_Menus, 2))",
                      "OPT_Ouvrir,OPT_Quitter,,MENU_Edition", 0, "&Open|-|&Quit"},
        CasChangement{"Existence",
                      R"(_G.R = tostring(MenuExiste("MENU_Edition")) .. tostring(MenuExiste("OPT_Copier")) ..
                         tostring(MenuOptionExiste("FEN_Menus", "OPT_Copier")) .. tostring(MenuOptionExiste("OPT_Rien")))",
                      "truefalsetruefalse", 0, "&Open|-|&Quit"}),
    [](const auto& i) { return std::string(i.param.pszCas); });

// Every refusal is a Lua error carrying the module's number, and the menu
// is left as it was.
TEST_F(MenusHote, RefusalsRaiseTheirErrorAndChangeNothing) {
    struct Cas {
        const char* pszCode;
        const char* pszNumero;
    } tab[] = {
        {R"(MenuAjouteOption(MENU_Fichier, "OPT_Ouvrir", "Again", "Note"))", "10407"},
        {R"(MenuInsereOption(MENU_Fichier, "OPT_Copier", "OPT_N", "New", "Note"))", "10408"},
        {R"(MenuInsereOption(MENU_Fichier, 0, "OPT_N", "New", "Note"))", "10410"},
        {R"(MenuInsereOption(MENU_Fichier, -4, "OPT_N", "New", "Note"))", "10410"},
        {R"(MenuAjouteOption(MENU_Fichier.OPT_Ouvrir, "OPT_N", "New", "Note"))", "10411"},
        {R"(MenuAjouteOption(MENU_Fichier, "OPT_N", "New", "NoSuchProcedure"))", "10409"},
        {R"(MenuSelectPlus(2, "x"))", "10054"},
        {R"(MenuSelectPlus("FEN_Menus", 2, 4, "x"))", "Argument 4 "},
        {R"(EnumereMenu(MENU_Fichier, 0))", "10055"},
        {R"(EnumereMenu(MENU_Fichier, 5))", "10055"},
        {R"(MenuClone(MENU_Fichier.OPT_Ouvrir, "A.B"))", "10125"},
        {R"(MenuEtat("FEN_Menus", 99))", "10408"},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszCode);
        ASSERT_EQ(Lua(std::string("local ok, e = pcall(function() ") + c.pszCode + " end) _G.R = tostring(e)"), 0)
            << lua->sDerniereErreur();
        EXPECT_NE(Globale("R").find(c.pszNumero), std::string::npos) << Globale("R");
        EXPECT_EQ(Rendu(Menu(0)), "&Open|-|&Quit");
        EXPECT_EQ(Rendu(QtMenu(0)), "&Open|-|&Quit");
    }
}

// ---------------------------------------------------------------- choosing

// An option added at run time runs its procedure with its parameters; a
// compiled option runs its selection code.
TEST_F(MenusHote, ChosenOptionsRunTheirCode) {
    ASSERT_EQ(Lua(R"(MenuAjouteOption(MENU_Fichier, "OPT_P", "Proc", "Note", "param", 7))"), 0) << lua->sDerniereErreur();
    Action(0, "Proc")->trigger();
    Action(0, "&Open")->trigger();
    EXPECT_EQ(Globale("APPELS"), "param:7;open;");
}

// Alt and the menu's call letter open it on the menu bar; the option's call
// letter chooses it.
TEST_F(MenusHote, ChosenWithTheKeyboardOnTheMenuBar) {
    QTest::keyClick(f->pGetWidget(), Qt::Key_E, Qt::AltModifier);
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_EQ(popup, QtMenu(1));
    QTest::keyClick(popup, Qt::Key_C);
    QCoreApplication::processEvents();
    EXPECT_EQ(Globale("APPELS"), "copy;");
}

// The focused input's exit code runs before the option; when it refuses,
// the choice is abandoned; when it accepts, the option runs and the input,
// which keeps the focus, runs its entry code again.
TEST_F(MenusHote, TheFocusedInputMustAcceptLeaving) {
    CChamp* c = f->pclGetChampFromName(L"EDT_Nom");
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(f->pclGetChampFocus(), c);
    ASSERT_EQ(Lua("_G.REFUSE = true _G.SORTIES = 0 _G.ENTREES = 0"), 0);
    Action(0, "&Open")->trigger();
    EXPECT_EQ(Globale("APPELS"), "");
    EXPECT_EQ(Globale("SORTIES"), "1");
    ASSERT_EQ(Lua("_G.REFUSE = false"), 0);
    Action(0, "&Open")->trigger();
    EXPECT_EQ(Globale("APPELS"), "open;");
    EXPECT_EQ(Globale("SORTIES"), "2");
    EXPECT_EQ(Globale("ENTREES"), "1");
}

// An option whose procedure deletes it: its action and the option go once
// the code is over (run under AddressSanitizer, a use after free fails).
TEST_F(MenusHote, AnOptionDeletedByItsOwnCode) {
    ASSERT_EQ(Lua(R"(MenuAjouteOption(MENU_Fichier, "OPT_Jetable", "Throw away", "SeSupprime"))"), 0)
        << lua->sDerniereErreur();
    QPointer<QAction> a = Action(0, "Throw away");
    ASSERT_TRUE(a);
    a->trigger();
    EXPECT_EQ(Globale("APPELS"), "deleted;");
    EXPECT_EQ(Rendu(Menu(0)), "&Open|-|&Quit");
    EXPECT_EQ(Rendu(QtMenu(0)), "&Open|-|&Quit");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(a);
}

// A context menu opened by the code, at a point of the client area, waits
// for the choice; the option chosen runs.
TEST_F(MenusHote, ContextMenuOpenedByTheCode) {
    QPoint ptAttendu = f->pGetWidgetClient()->mapToGlobal(QPoint(10, 20));
    QPoint ptVu;
    QTimer::singleShot(0, [&] {
        auto* q = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!q) return;
        ptVu = q->pos();
        q->actions().value(0)->trigger();
        q->close();
    });
    ASSERT_EQ(Lua("OuvreMenuContextuel(MENU_Popup, 10, 20)"), 0) << lua->sDerniereErreur();
    EXPECT_EQ(Globale("APPELS"), "cut;");
    EXPECT_EQ(ptVu, ptAttendu);
}

} // namespace
