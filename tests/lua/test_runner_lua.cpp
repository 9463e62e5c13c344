// The Lua code runner. It is made inside the host's library (which links
// Lua) and handed to the real host as its runner; the project comes from the
// real compiler, and the windows from the real module.
#include "HoteProjet.h"
#include "kv/host.h"
#include "kv/types.h"
#include "code/CRunnerLua.h"
#include "conteneur/Identifiants.h"
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTimer>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using PFN_KSL = int (*)(STKSAppel*, IKSLibrary*, void**);

const std::string& ProjetCompile() { return kvtest::ProjetCompile(kvtest::CheminFixture("lua")); }

STValeurHote Valeur(int nType, int64_t n, double d = 0, const wchar_t* psz = L"") {
    STValeurHote v;
    v.nType = nType;
    v.nEntier = n;
    v.dReel = d;
    v.sTexte = psz;
    return v;
}

class RunnerLua : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(ProjetCompile().empty()) << "kvc did not compile " << kvtest::CheminFixture("lua");
        std::string sErreur;
        ASSERT_TRUE(hote.bDemarre(ProjetCompile(), sErreur)) << sErreur;
        // A runner of the test's own, made by the host's library, that knows
        // only the module's symbols, virtual machine and component.
        IHote* h = hote.get();
        STAccesModule acces;
        acces.fnSymbole = [h](const char* psz) { return h->pSymboleModule(psz); };
        acces.fnVM = [h] { return h->piGetVM(); };
        acces.fnComposante = [h] { return h->piGetComposante(); };
        lua.reset(vm.Symbole<PFN_KVVM_pCreeRunnerLua>("KVVM_pCreeRunnerLua")(&acces));
        ASSERT_TRUE(lua->bChargeFichier(ProjetCompile())) << lua->sDerniereErreur();
        hote->SetRunner(lua.get());
    }

    // KSL_Ouvre_0 for a window, as the launcher opens the first window.
    STSlotAppel Ouvre(const wchar_t* pszNom) { return hote.AppelleFenetre("KSL_Ouvre_0", pszNom); }

    // Runs a piece of code as the code of an object, outside any window.
    int Execute(const std::string& sSource, int nEvenement = 18, const std::vector<STValeurHote>* p = nullptr) {
        uint64_t nID = nIdentifiantObjet(L"FEN_TEST.BTN_TEST");
        lua->bAjouteCode(nID, nEvenement, sSource, "FEN_TEST.BTN_TEST");
        STExecutionCode st{nID, nEvenement, nullptr, p, p ? static_cast<int>(p->size()) : 0};
        return lua->nExecute(st);
    }

    // The runner outlives the host that runs its code.
    kvtest::Bibliotheque vm{kvtest::CheminBinaire("kv190vm.so")};
    std::unique_ptr<IRunnerLua> lua;
    kvtest::HoteProjet hote;
};

// FEN_A's initialisation opens FEN_B with 5; FEN_B's declarations receive
// it, its initialisation closes it with twice the value; FEN_A keeps the
// value and closes with it.
TEST_F(RunnerLua, OpeningParametersAndReturnValueTravelThroughTheCode) {
    uint64_t nIDA = nIdentifiantObjet(L"FEN_A"), nIDB = nIdentifiantObjet(L"FEN_B");
    EXPECT_TRUE(lua->bPossedeCode(nIDA, 34));
    EXPECT_TRUE(lua->bPossedeCode(nIDB, 0));
    EXPECT_TRUE(lua->bPossedeCode(nIDB, 34));
    EXPECT_FALSE(lua->bPossedeCode(nIDA, 0));

    STSlotAppel slot = Ouvre(L"FEN_A");
    CXError* e = hote->piGetComposante()->pclGetError();
    EXPECT_FALSE(e->bEstErreur()) << e->nGetErreur() << ": " << std::string(e->sGetMessage().begin(), e->sGetMessage().end());
    EXPECT_EQ(lua->sDerniereErreur(), "");

    STValeurHote v;
    ASSERT_TRUE(lua->bLitGlobale("PARAMETRE_B", v));
    EXPECT_EQ(v.nEntier, 5);
    ASSERT_TRUE(lua->bLitGlobale("NB_PARAMETRES_B", v));
    EXPECT_EQ(v.nEntier, 1);
    ASSERT_TRUE(lua->bLitGlobale("RESULTAT_B", v));
    EXPECT_EQ(v.nEntier, 10);
    ASSERT_TRUE(slot.bResultat);
    EXPECT_EQ(slot.stResultat.nEntier, 10);
}

// Each way of calling Ferme from FEN_B's initialisation gives FEN_A's Ouvre
// the value it names.
TEST_F(RunnerLua, FermeHandsItsReturnValueWhicheverSyntax) {
    struct Cas {
        const char* pszSource;
        STValeurHote attendu;
    } tab[] = {
        {"Ferme('', (...) * 2)", Valeur(KS_I4, 10)},
        {"Ferme('', 7)", Valeur(KS_I4, 7)},
        {"Ferme('FEN_B', 8)", Valeur(KS_I4, 8)},
        {"Ferme('fen_b', -3)", Valeur(KS_I4, -3)},
        {"Ferme('', 'texte')", Valeur(KS_PSTRW, 0, 0, L"texte")},
        {"Ferme(nil, true)", Valeur(KS_BOOL, 1)},
    };
    uint64_t nIDB = nIdentifiantObjet(L"FEN_B");
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszSource);
        ASSERT_TRUE(lua->bAjouteCode(nIDB, 34, c.pszSource, "FEN_B")) << lua->sDerniereErreur();
        STSlotAppel slot = Ouvre(L"FEN_A");
        EXPECT_EQ(lua->sDerniereErreur(), "");
        STValeurHote v;
        ASSERT_TRUE(lua->bLitGlobale("RESULTAT_B", v));
        EXPECT_EQ(v.nType, c.attendu.nType);
        EXPECT_EQ(v.nEntier, c.attendu.nEntier);
        EXPECT_EQ(v.sTexte, c.attendu.sTexte);
        // FEN_A closes with the same value.
        ASSERT_TRUE(slot.bResultat);
        EXPECT_EQ(slot.stResultat.nType, c.attendu.nType);
        EXPECT_EQ(slot.stResultat.nEntier, c.attendu.nEntier);
        EXPECT_EQ(slot.stResultat.sTexte, c.attendu.sTexte);
    }
    // Closed without a value, the window's Ouvre gives nil, not a text.
    ASSERT_TRUE(lua->bAjouteCode(nIDB, 34, "Ferme()", "FEN_B")) << lua->sDerniereErreur();
    Ouvre(L"FEN_A");
    EXPECT_EQ(lua->sDerniereErreur(), "");
    STValeurHote v;
    EXPECT_FALSE(lua->bLitGlobale("RESULTAT_B", v)) << "type " << v.nType;
}

// Each host value given to the declaration code arrives as the Lua value of
// its type, and comes back as the same host value.
TEST_F(RunnerLua, OpeningParametersBecomeLuaValuesByType) {
    struct Cas {
        STValeurHote v;
        const char* pszTypeLua;
    } tab[] = {
        {Valeur(KS_BOOL, 1), "boolean"},
        {Valeur(KS_BOOL, 0), "boolean"},
        {Valeur(KS_I4, -42), "integer"},
        {Valeur(KS_I8, int64_t(1) << 40), "integer"},
        {Valeur(KS_R8, 0, 2.5), "float"},
        {Valeur(KS_PSTRW, 0, 0, L"été"), "string"},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszTypeLua);
        std::vector<STValeurHote> tabParam{c.v};
        ASSERT_EQ(Execute("_G.V = ...\n_G.T = math.type(V) or type(V)\n_G.N = select('#', ...)", 0, &tabParam), 0)
            << lua->sDerniereErreur();
        STValeurHote v;
        ASSERT_TRUE(lua->bLitGlobale("T", v));
        EXPECT_EQ(v.sTexte, std::wstring(c.pszTypeLua, c.pszTypeLua + std::strlen(c.pszTypeLua)));
        ASSERT_TRUE(lua->bLitGlobale("N", v));
        EXPECT_EQ(v.nEntier, 1);
        ASSERT_TRUE(lua->bLitGlobale("V", v));
        EXPECT_EQ(v.nType, c.v.nType);
        EXPECT_EQ(v.nEntier, c.v.nEntier);
        EXPECT_EQ(v.dReel, c.v.dReel);
        EXPECT_EQ(v.sTexte, c.v.sTexte);
    }
}

// Errors are reported with the object's name, the event and the line, with
// a traceback, and the runner goes on afterwards.
TEST_F(RunnerLua, ErrorsNameTheCodeAndDoNotStopTheRunner) {
    struct Cas {
        const char* pszNom;
        const char* pszSource;
        int nCode;
        std::vector<std::string> tabAttendus;
    } tab[] = {
        {"runtime", "local x = 1\nerror('boom')", eLUA_ERREUR_EXECUTION,
         {"FEN_TEST.BTN_TEST:click:2: boom", "stack traceback"}},
        {"arithmetic on nil", "local t\nlocal y = t + 1", eLUA_ERREUR_EXECUTION,
         {"FEN_TEST.BTN_TEST:click:2:", "arithmetic"}},
        {"syntax", "local x = = 3", eLUA_ERREUR_COMPILATION, {"FEN_TEST.BTN_TEST:click:1:", "unexpected symbol"}},
        {"unclosed block", "if true then\nlocal x = 1", eLUA_ERREUR_COMPILATION, {"FEN_TEST.BTN_TEST:click:"}},
        {"unknown function", "Bidule(1)", eLUA_ERREUR_EXECUTION, {"Bidule"}},
        {"language function without a fitting syntax", "Ouvre()", eLUA_ERREUR_EXECUTION,
         {"Ouvre: no syntax", "FEN_TEST.BTN_TEST:click:1"}},
        {"value the module cannot take", "Ouvre('FEN_B', {})", eLUA_ERREUR_EXECUTION, {"Ouvre: argument 2: a table cannot"}},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszNom);
        testing::internal::CaptureStderr();
        int nRes = Execute(c.pszSource);
        std::string sStderr = testing::internal::GetCapturedStderr();
        EXPECT_EQ(nRes, c.nCode);
        for (const std::string& s : c.tabAttendus) {
            EXPECT_NE(lua->sDerniereErreur().find(s), std::string::npos) << lua->sDerniereErreur();
            EXPECT_NE(sStderr.find(s), std::string::npos) << sStderr;
        }
        EXPECT_EQ(Execute("_G.APRES = 1"), 0) << lua->sDerniereErreur();
    }
}

// The component's error becomes a Lua error "number: message" that code
// can catch.
TEST_F(RunnerLua, ModuleErrorsBecomeLuaErrors) {
    ASSERT_EQ(Execute("local ok, e = pcall(Ouvre, 'FEN_ABSENTE')\n_G.OK = ok\n_G.E = e"), 0) << lua->sDerniereErreur();
    STValeurHote v;
    ASSERT_TRUE(lua->bLitGlobale("OK", v));
    EXPECT_EQ(v.nEntier, 0);
    ASSERT_TRUE(lua->bLitGlobale("E", v));
    std::wstring s = v.sTexte;
    size_t n = s.find(L": ");
    ASSERT_NE(n, std::wstring::npos) << std::string(s.begin(), s.end());
    ASSERT_GT(n, 0u);
    for (size_t i = 0; i < n; ++i) EXPECT_TRUE(s[i] >= L'0' && s[i] <= L'9') << std::string(s.begin(), s.end());
    EXPECT_FALSE(hote->piGetComposante()->pclGetError()->bEstErreur());
}

// Code that never ends is stopped by the instruction budget, nested code
// included, and the runner is usable afterwards.
TEST_F(RunnerLua, EndlessLoopsAreStopped) {
    lua->SetBudget(200000);
    struct Cas {
        const char* pszNom;
        const char* pszSource;
    } tab[] = {
        {"loop", "while true do end"},
        {"loop catching errors", "while true do pcall(function() while true do end end) end"},
        {"loop in a coroutine", "local function f() while true do end end\ncoroutine.wrap(f)()"},
        {"coroutines in a loop catching errors",
         "while true do pcall(coroutine.wrap(function() while true do end end)) end"},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszNom);
        testing::internal::CaptureStderr();
        int nRes = Execute(c.pszSource);
        std::string sStderr = testing::internal::GetCapturedStderr();
        EXPECT_EQ(nRes, eLUA_BUDGET_EPUISE);
        EXPECT_NE(sStderr.find("stopped after 200000 instructions"), std::string::npos) << sStderr;
        EXPECT_NE(sStderr.find("FEN_TEST.BTN_TEST:click"), std::string::npos) << sStderr;
        EXPECT_EQ(Execute("local n = 0 for i = 1, 1000 do n = n + i end _G.SOMME = n"), 0) << lua->sDerniereErreur();
    }
    STValeurHote v;
    ASSERT_TRUE(lua->bLitGlobale("SOMME", v));
    EXPECT_EQ(v.nEntier, 500500);
}

// Each run has its own environment: what a run leaves in it is gone for the
// next, while the globals (_G) stay.
TEST_F(RunnerLua, EachRunHasItsOwnEnvironment) {
    ASSERT_EQ(Execute("X = 1\n_G.Y = 2"), 0) << lua->sDerniereErreur();
    ASSERT_EQ(Execute("_G.X_VU = (X ~= nil)\n_G.Y_VU = Y"), 0) << lua->sDerniereErreur();
    STValeurHote v;
    ASSERT_TRUE(lua->bLitGlobale("X_VU", v));
    EXPECT_EQ(v.nEntier, 0);
    ASSERT_TRUE(lua->bLitGlobale("Y_VU", v));
    EXPECT_EQ(v.nEntier, 2);
}

// An error in a window's code, run by the module while it opens the window,
// is reported and the window goes on.
TEST_F(RunnerLua, ErrorInWindowCodeIsReportedThroughTheModule) {
    uint64_t nIDA = nIdentifiantObjet(L"FEN_A");
    ASSERT_TRUE(lua->bAjouteCode(nIDA, 34, "local a = 1\nerror('in the window')", "FEN_A"));
    QTimer::singleShot(200, [this] { hote->piGetExe()->FermeTout(); });
    testing::internal::CaptureStderr();
    Ouvre(L"FEN_A");
    std::string sStderr = testing::internal::GetCapturedStderr();
    EXPECT_NE(sStderr.find("FEN_A:window_init:2: in the window"), std::string::npos) << sStderr;
    // The module's error box says what and where.
    const auto& vues = hote.Reponses().Vues();
    ASSERT_EQ(vues.size(), 1u);
    EXPECT_EQ(vues[0].nFlags & 0xF0, 0x10u);
    for (const wchar_t* psz : {L"Window: FEN_A\r\n", L"Event: window_init\r\n", L"Line: 2\r\n", L"in the window"})
        EXPECT_NE(vues[0].sMessage.find(psz), std::wstring::npos) << psz;
    EXPECT_EQ(vues[0].sMessage.find(L"Control:"), std::wstring::npos);
    EXPECT_EQ(lua->nGetNbErreurs(), 1);
}

} // namespace
