// Window, control and system functions called from Lua event code, and the
// focus changes that event code asks for. The project beside this file is
// compiled by the real kvc and run by the host's Lua runner on the real
// module; the code under test is the click code of a button clicked with
// QTest, so that it runs as event code of its window.
#include "HoteProjet.h"
#include "conteneur/Identifiants.h"
#include "code/CRunnerLua.h"
#include "controls/core/CChamp.h"
#include "controls/core/CStyleChamp.h"
#include "kv/host.h"
#include "kv/types.h"
#include "windows/CFenPrincipale.h"
#include "frame/Numeros.h"
#include <gtest/gtest.h>
#include <QApplication>
#include <QGraphicsEffect>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& s) { return std::string(s.begin(), s.end()); }

class FonctionsLua : public ::testing::Test {
public:
    void SetUp() override {
        const std::string& sProjet = kvtest::ProjetCompile(KV_SOURCE_DIR "/tests/fonctions/projet_lua");
        ASSERT_FALSE(sProjet.empty()) << "kvc did not compile tests/fonctions/projet_lua";
        std::string sErreur;
        ASSERT_TRUE(hote.bDemarre(sProjet, sErreur)) << sErreur;
        lua = static_cast<IRunnerLua*>(hote->piGetRunnerProjet());
        ASSERT_NE(lua, nullptr);
        Ouvre(L"FEN_G");
        Ouvre(L"FEN_F");
        f = static_cast<CFenPrincipale*>(hote->piGetExe()->pIGetFenetreFromName(L"FEN_F"));
        ASSERT_NE(f, nullptr);
        f->pGetWidget()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(f->pGetWidget()));
        a = Champ(L"FEN_F.EDT_A");
        b = Champ(L"FEN_F.EDT_B");
        c = Champ(L"FEN_F.EDT_C");
        ASSERT_TRUE(a && b && c);
        ASSERT_EQ(f->pclGetChampFocus(), a) << "the first control of the tab order has the focus";
    }

    void Ouvre(const wchar_t* pszNom) {
        hote.AppelleFenetre("KSL_OuvreFille_0", pszNom);
        ASSERT_FALSE(hote.Erreur()->bEstErreur()) << Utf8(hote.Erreur()->sGetMessage());
    }
    CChamp* Champ(const wchar_t* pszNom) {
        auto* o = static_cast<CObjetAPCodeOBJ*>(hote.pObjet(pszNom));
        return o ? o->pclCastToChamp() : nullptr;
    }

    // Runs the code as the click code of FEN_F.BTN_T (a button that does not
    // take the focus), inside pcall: _G.OK and _G.E tell how it went.
    void Execute(const std::string& sCode) {
        const std::string s = "local ok, e = pcall(function() " + sCode + " end) _G.OK = ok _G.E = tostring(e)";
        ASSERT_TRUE(lua->bAjouteCode(nIdentifiantObjet(L"FEN_F.BTN_T"), 18, s, "FEN_F.BTN_T")) << lua->sDerniereErreur();
        CChamp* bouton = Champ(L"FEN_F.BTN_T");
        ASSERT_NE(bouton, nullptr);
        QTest::mouseClick(bouton->pGetWidget(), Qt::LeftButton);
    }
    std::string Globale(const char* pszNom) {
        STValeurHote v;
        if (!lua->bLitGlobale(pszNom, v)) return "<nil>";
        if (v.nType == KS_PSTRW) return Utf8(v.sTexte);
        if (v.nType == KS_BOOL) return v.nEntier ? "true" : "false";
        if (v.nType == KS_R8) return std::to_string(v.dReel);
        return std::to_string(v.nEntier);
    }
    // Runs code that leaves its answer in _G.R and checks it succeeded.
    std::string Resultat(const std::string& sCode) {
        Execute("_G.R = nil " + sCode);
        EXPECT_EQ(Globale("OK"), "true") << sCode << ": " << Globale("E");
        return Globale("R");
    }
    // Runs code that must fail with the module's error number.
    void Echoue(const std::string& sCode, const char* pszNumero) {
        Execute(sCode);
        EXPECT_EQ(Globale("OK"), "false") << sCode;
        EXPECT_NE(Globale("E").find(pszNumero), std::string::npos) << sCode << ": " << Globale("E");
    }

    kvtest::HoteProjet hote;
    IRunnerLua* lua = nullptr;
    CFenPrincipale* f = nullptr;
    CChamp *a = nullptr, *b = nullptr, *c = nullptr;
};

// ---------------------------------------------------------------- results and errors

struct CasResultat {
    const char* pszCode;  // leaves its answer in _G.R
    std::string sAttendu;
};

// Each function answers from Lua with the syntax its arguments call for.
TEST_F(FonctionsLua, FunctionsAnswerTheirSyntaxFromLua) {
    QRect rEcran = QGuiApplication::primaryScreen()->geometry();
    QRect rUtile = QGuiApplication::primaryScreen()->availableGeometry();
    auto texteRect = [](const QRect& r) {
        return std::to_string(r.x()) + "\t" + std::to_string(r.y()) + "\t" + std::to_string(r.width()) + "\t" +
               std::to_string(r.height());
    };
    const CasResultat tab[] = {
        // The title of the running code's window, read and changed.
        {"_G.R = TitreEnCours()", "Focus"},
        {"TitreEnCours('Orders') _G.R = TitreEnCours() .. '/' .. MaFenetre.Titre", "Orders/Orders"},
        // RAZ empties the values; RAZ(true) gives the initial values back.
        {"EDT_A.Valeur = 'x' EDT_B.Valeur = 'y' RAZ() _G.R = EDT_A.Valeur .. '/' .. EDT_B.Valeur", "/"},
        {"EDT_A.Valeur = 'x' EDT_B.Valeur = 'y' RAZ(true) _G.R = EDT_A.Valeur .. '/' .. EDT_B.Valeur", "/init"},
        // InitFenetre runs the initialisation codes again and resets the values.
        {"EDT_B.Valeur = 'y' local n, m = NINIT, NINIT_A InitFenetre() "
         "_G.R = (NINIT - n) .. ',' .. (NINIT_A - m) .. ',' .. EDT_B.Valeur",
         "1,1,init"},
        {"local n = NINIT InitFenetre('FEN_G') _G.R = NINIT - n", "0"},
        {"_G.R = FenRectangleEcran()", texteRect(rEcran)},
        {"_G.R = FenRectangleEcran('FEN_G')", texteRect(rEcran)},
        {"_G.R = FenTailleUtile()", texteRect(rUtile)},
        // The first control of the tab order, qualified outside the running window.
        {"_G.R = ChampPremier()", "EDT_A"},
        {"_G.R = ChampPremier('FEN_G')", "FEN_G.EDT_X"},
        {"_G.R = ChampSansEspaceFenetre('FEN_F.EDT_A')", "EDT_A"},
        {"_G.R = ChampSansEspaceFenetre('EDT_B')", "EDT_B"},
        {"_G.R = ChampSansEspaceFenetre('FEN_G.EDT_X')", "EDT_X"},
        {"_G.R = ChampSansEspaceFenetre('EDT_NONE')", ""},
        {"_G.R = tostring(ParentObjet(EDT_A) == MaFenetre)", "true"},
        {"_G.R = tostring(ParentObjet(MaFenetre))", "nil"},
        // The selection colour: automatic first, the old colour answered when changed.
        {"_G.R = CouleurSelection(EDT_A)", std::to_string(static_cast<int>(nCOULEUR_AUTO))},
        {"local avant = CouleurSelection(EDT_A, 255) _G.R = (avant == CouleurSelection(EDT_C)) and CouleurSelection(EDT_A)",
         "255"},
        // The palettes, then the same hue 4.5 points lighter (checked below).
        {"_G.R = DonneCouleur(1)", std::to_string(0x69BFFF)},
        {"_G.R = DonneCouleur(11)", std::to_string(0x40D4FF)},
        {"_G.R = DonneCouleur(0)", std::to_string(0x69BFFF)},
        {"_G.R = DonneCouleur(2, 1)", std::to_string(0xE3BC6A)},
        {"_G.R = DonneCouleur(-1) .. ',' .. DonneCouleur(-1)", std::to_string(0x69BFFF) + "," + std::to_string(0xC79DFF)},
        {"local n = DonneIdentifiant() _G.R = tostring(n >= 1 and DonneIdentifiant() == n + 1)", "true"},
        {"_G.R = Occurrence(MaFenetre)", "1"},
        {"_G.R = tostring(Handle() ~= 0 and Handle() == Handle(MaFenetre))", "true"},
        // A new alias finds the window; so does its name.
        {"FenChangeAlias('FEN_G', 'SECOND') _G.R = FenEtat('SECOND') .. ',' .. FenEtat('FEN_G')", "0,0"},
    };
    for (const CasResultat& c : tab) {
        SCOPED_TRACE(c.pszCode);
        EXPECT_EQ(Resultat(c.pszCode), c.sAttendu);
    }
}

// Every failure is a Lua error carrying the module's number.
TEST_F(FonctionsLua, FunctionErrorsCarryTheirNumbers) {
    struct Cas {
        const char* pszCode;
        const char* pszNumero;
    } tab[] = {
        {"FenChangeAlias('FEN_ABSENTE', 'X')", "10001"},
        // The alias of another open window would hide that window.
        {"FenChangeAlias('FEN_G', 'FEN_F')", "10009"},
        {"FenChangeAlias('FEN_G', 'A.B')", "10009"},
        {"InitFenetre('FEN_ABSENTE')", "10001"},
        {"FenImageFond('FEN_ABSENTE', 'x.png')", "10001"},
        {"FenImageFond('FEN_G', 'x.png', 4)", "10051"},
        {"FenTailleUtile('FEN_ABSENTE')", "10001"},
        {"ChampPremier('FEN_ABSENTE')", "10001"},
        {"FenAgencementEnCours()", "10665"},
        {"FenChangeAgencement(1)", "10665"},
        {"ChampErreur(MaFenetre, 'x')", "10416"},
        {"ChampErreur(nil, 'x')", "10009"},
        {"CouleurSelection(MaFenetre)", "10416"},
        {"CouleurSelection(nil, 255)", "10009"},
        {"DesactiveFAA(EDT_A, 64)", "10051"},
        {"DesactiveFAA(EDT_A, -1)", "10051"},
        {"DesactiveFAA(nil, 1)", "10009"},
        {"ParentObjet(nil)", "10009"},
        {"ChangeSeparateur(3, ';')", "10051"},
        {"ChangeSeparateur(1, '')", "10009"},
        {"Handle(nil)", "10009"},
        // Controls without rows have no elements.
        {"Occurrence(EDT_A)", "10416"},
        {"IndiceEnCours(EDT_A)", "10416"},
        {"IndiceEnCours()", "10416"},
        {"IndiceSuivant(BTN_T)", "10416"},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszCode);
        Echoue(c.pszCode, c.pszNumero);
    }
}

// DonneCouleur past the palette: the same hue, lighter by 4.5 points for
// index 12; with mode 2 the second palette pale (lightness 80 at least).
TEST_F(FonctionsLua, DonneCouleurChangesTheLightnessPastThePalette) {
    struct Cas {
        const char* pszCode;
        int r, g, b;  // worked out by hand from the HSL form
    } tab[] = {
        {"_G.R = DonneCouleur(12)", 255, 201, 128},     // 0x69BFFF, L 70.6 -> 75.1
        {"_G.R = DonneCouleur(1, 2)", 214, 235, 172},   // 0x2DBF8E, L 46.3 x 1.5 -> 80
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszCode);
        int n = std::atoi(Resultat(c.pszCode).c_str());
        EXPECT_NEAR(n & 0xFF, c.r, 1);
        EXPECT_NEAR((n >> 8) & 0xFF, c.g, 1);
        EXPECT_NEAR((n >> 16) & 0xFF, c.b, 1);
    }
}

// What the functions leave on the controls, the windows and their widgets.
TEST_F(FonctionsLua, FunctionsChangeTheControlsAndTheirWidgets) {
    QWidget* w = a->pGetWidget();
    ASSERT_NE(w, nullptr);

    Resultat("ChampErreur(EDT_A, 'Too short')");
    EXPECT_EQ(a->sGetMessageErreur(), L"Too short");
    EXPECT_NE(w->graphicsEffect(), nullptr);
    EXPECT_EQ(w->toolTip(), QString("Too short"));
    Resultat("ChampErreur(EDT_A, '')");
    EXPECT_EQ(a->sGetMessageErreur(), L"");
    EXPECT_EQ(w->graphicsEffect(), nullptr);
    EXPECT_EQ(w->toolTip(), QString());

    Resultat("CouleurSelection(EDT_A, 0xFF0000)");  // blue, as 0x00BBGGRR
    EXPECT_EQ(w->palette().color(QPalette::Active, QPalette::Highlight), QColor(0, 0, 255));
    Resultat("CouleurSelection(EDT_A, -1)");
    EXPECT_EQ(w->palette().color(QPalette::Active, QPalette::Highlight),
              QApplication::palette(w).color(QPalette::Active, QPalette::Highlight));

    Resultat("DesactiveFAA(EDT_A, 3) DesactiveFAA(MaFenetre, 63)");
    EXPECT_TRUE(a->bFAADesactivee(3));
    EXPECT_FALSE(a->bFAADesactivee(2));
    EXPECT_TRUE(f->bFAADesactivee(63));

    std::string sHandle = Resultat("_G.R = Handle(EDT_A)");
    EXPECT_EQ(std::strtoull(sHandle.c_str(), nullptr, 10), static_cast<unsigned long long>(w->winId()));

    // Two instances of a window under two aliases.
    Ouvre(L"G2=FEN_G");
    EXPECT_EQ(Resultat("_G.R = Occurrence(FEN_G)"), "2");
}

// A background image behind the controls: at the corner, repeated,
// stretched or centred, removed by an empty name.
TEST_F(FonctionsLua, FenImageFondShowsTheImageBehindTheControls) {
    const std::string sImage = kvtest::RepertoireTemporaire() + "/fond.png";
    QImage img(20, 10, QImage::Format_RGB32);
    img.fill(QColor(255, 0, 0));
    ASSERT_TRUE(img.save(QString::fromStdString(sImage)));
    auto* g = static_cast<CFenPrincipale*>(hote->piGetExe()->pIGetFenetreFromName(L"FEN_G"));
    ASSERT_NE(g, nullptr);
    QWidget* client = g->pGetWidgetClient();
    ASSERT_NE(client, nullptr);
    auto pixel = [&](int x, int y) { return client->grab().toImage().pixelColor(x, y); };
    const QColor fond = pixel(150, 50);
    ASSERT_NE(fond, QColor(255, 0, 0));
    struct Cas {
        const char* pszMode;
        QPoint ptRouge;  // painted by the image
        QPoint ptFond;   // left as the window's background
    } tab[] = {
        {"", {5, 5}, {150, 50}},
        {", 0", {19, 9}, {25, 5}},
        {", 1", {150, 50}, {-1, -1}},
        {", 2", {190, 150}, {-1, -1}},
        {", 3", {100, 80}, {5, 5}},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszMode);
        Resultat("FenImageFond('FEN_G', '" + sImage + "'" + c.pszMode + ")");
        EXPECT_EQ(pixel(c.ptRouge.x(), c.ptRouge.y()), QColor(255, 0, 0));
        if (c.ptFond.x() >= 0) {
            EXPECT_EQ(pixel(c.ptFond.x(), c.ptFond.y()), fond);
        }
    }
    // The edit stays in front of the image.
    Resultat("FenImageFond('FEN_G', '" + sImage + "', 2)");
    CChamp* x = Champ(L"FEN_G.EDT_X");
    ASSERT_NE(x, nullptr);
    EXPECT_NE(pixel(x->pGetWidget()->x() + 40, x->pGetWidget()->y() + 12), QColor(255, 0, 0));
    Resultat("FenImageFond('FEN_G', '')");
    EXPECT_EQ(pixel(150, 50), fond);
}

// The separators numbers are shown with, for the whole application.
TEST_F(FonctionsLua, ChangeSeparateurChangesTheApplicationsSeparators) {
    Resultat("ChangeSeparateur(1, ';') ChangeSeparateur(2, '_')");
    EXPECT_EQ(hote->piGetExe()->cGetSeparateurDecimal(), L';');
    EXPECT_EQ(hote->piGetExe()->cGetSeparateurMillier(), L'_');
    Resultat("ChangeSeparateur(1, ',') ChangeSeparateur(2, ' ')");
    EXPECT_EQ(hote->piGetExe()->cGetSeparateurDecimal(), L',');
}

// MultitacheRepeint lets queued work (here a timer that changes a value)
// run while the code waits.
TEST_F(FonctionsLua, MultitacheRepeintRunsQueuedWork) {
    QTimer::singleShot(0, [&] {
        CAny cl;
        cl.SetPSTRX(L"timer");
        hote->piGetGate()->bSetPropriete(a, static_cast<EPropriete>(PROP_Valeur), cl, nullptr);
    });
    EXPECT_EQ(Resultat("local avant = EDT_A.Valeur MultitacheRepeint() _G.R = avant .. '/' .. EDT_A.Valeur"), "/timer");
    EXPECT_EQ(Resultat("MultitacheRepeint(-3) _G.R = 'done'"), "done");
}

// ---------------------------------------------------------------- focus requests of event code

struct CasFocus {
    const char* pszCas;
    CChamp* FonctionsLua::*pDepart;   // has the focus before the action
    const char* pszPrepare;           // Lua globals set before the action
    std::function<void(FonctionsLua&)> fnAction;
    const char* pszJournal;           // entry and exit codes run by the action
    CChamp* FonctionsLua::*pArrivee;  // has the focus after it
};

void PrintTo(const CasFocus& c, std::ostream* os) { *os << c.pszCas; }

class FocusLua : public FonctionsLua, public ::testing::WithParamInterface<CasFocus> {
public:
    void Clic(const wchar_t* pszNom) { QTest::mouseClick(Champ(pszNom)->pGetWidget(), Qt::LeftButton); }
    void Touche(Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); }
    void Tape(const char* psz) { QTest::keyClicks(QApplication::focusWidget(), psz); }
};

TEST_P(FocusLua, ExitAndEntryCodesRunAsTheFocusRuleSays) {
    const CasFocus& cas = GetParam();
    CChamp* pDepart = this->*cas.pDepart;
    if (pDepart != a) {
        Clic(pDepart == b ? L"FEN_F.EDT_B" : L"FEN_F.EDT_C");
        ASSERT_EQ(f->pclGetChampFocus(), pDepart);
    }
    Execute(std::string(cas.pszPrepare) + " _G.J = ''");
    ASSERT_EQ(Globale("OK"), "true") << Globale("E");
    cas.fnAction(*this);
    QCoreApplication::processEvents();
    EXPECT_EQ(Globale("J"), cas.pszJournal);
    CChamp* pArrivee = this->*cas.pArrivee;
    EXPECT_EQ(f->pclGetChampFocus(), pArrivee);
    EXPECT_EQ(QApplication::focusWidget(), pArrivee->pGetWidget());
}

INSTANTIATE_TEST_SUITE_P(
    Focus, FocusLua,
    ::testing::Values(
        // The click code of a button that does not take the focus gives it to
        // B: the button is the origin, so C is left without its exit code.
        CasFocus{"ButtonThatTakesNoFocusGivesIt", &FonctionsLua::c, "",
                 [](FonctionsLua& t) { static_cast<FocusLua&>(t).Clic(L"FEN_F.BTN_I"); }, " *I +B", &FonctionsLua::b},
        // C's entry code sends the focus on while A -> C (B -> C) is under
        // way: the old control's exit code has run for this change and does
        // not run again.
        CasFocus{"EntryCodeSendsTheFocusOn", &FonctionsLua::a, "_G.RENVOI = 'EDT_B'",
                 [](FonctionsLua& t) { static_cast<FocusLua&>(t).Clic(L"FEN_F.EDT_C"); }, " -A +C +B", &FonctionsLua::b},
        CasFocus{"EntryCodeSendsTheFocusOnAfterTab", &FonctionsLua::b, "_G.RENVOI = 'EDT_A'",
                 [](FonctionsLua& t) { static_cast<FocusLua&>(t).Touche(Qt::Key_Tab); }, " -B +C +A", &FonctionsLua::a},
        CasFocus{"EntryCodeSendsTheFocusBack", &FonctionsLua::b, "_G.RENVOI = 'EDT_B'",
                 [](FonctionsLua& t) { static_cast<FocusLua&>(t).Touche(Qt::Key_Tab); }, " -B +C +B", &FonctionsLua::b},
        // A modification code that moves on leaves its control through the exit code.
        CasFocus{"ModificationCodeMovesOn", &FonctionsLua::a, "_G.AVANCE = true",
                 [](FonctionsLua& t) { static_cast<FocusLua&>(t).Tape("abc"); }, " -A +B", &FonctionsLua::b},
        CasFocus{"TabRunsExitThenEntry", &FonctionsLua::a, "",
                 [](FonctionsLua& t) { static_cast<FocusLua&>(t).Touche(Qt::Key_Tab); }, " -A +B", &FonctionsLua::b}),
    [](const auto& i) { return std::string(i.param.pszCas); });

} // namespace
