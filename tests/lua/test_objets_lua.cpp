// Windows and controls as Lua objects: their properties through the gate,
// their names as the code writes them (bare, qualified, by alias), and what
// happens to an object whose window is gone. The project is compiled by the
// real kvc and run by the host's own Lua runner on the real module.
#include "HoteProjet.h"
#include "kv/host.h"
#include "kv/types.h"
#include "code/CRunnerLua.h"
#include "conteneur/Identifiants.h"
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTimer>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& s) { return std::string(s.begin(), s.end()); }

class ObjetsLua : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string& sProjet = kvtest::ProjetCompile(kvtest::CheminFixture("lua_objets"));
        ASSERT_FALSE(sProjet.empty()) << "kvc did not compile the fixture";
        std::string sErreur;
        ASSERT_TRUE(hote.bDemarre(sProjet, sErreur)) << sErreur;
        lua = static_cast<IRunnerLua*>(hote->piGetRunnerProjet());
        ASSERT_NE(lua, nullptr);
    }

    STSlotAppel Appelle(const char* pszGlue, const wchar_t* pszNom, std::vector<STValeurHote> tabSupp = {}) {
        STSlotAppel slot = hote.AppelleFenetre(pszGlue, pszNom, std::move(tabSupp));
        EXPECT_FALSE(hote.Erreur()->bEstErreur()) << Utf8(hote.Erreur()->sGetMessage());
        return slot;
    }

    // Runs code as the click code of an object (null: the project's code).
    int Execute(const std::string& sSource, void* piObjet = nullptr, const wchar_t* pszNom = L"FEN_Fiche.LIB_Nom") {
        uint64_t nID = nIdentifiantObjet(pszNom);
        lua->bAjouteCode(nID, 18, sSource, Utf8(pszNom));
        STExecutionCode st{nID, 18, piObjet, nullptr, 0};
        return lua->nExecute(st);
    }

    std::string Globale(const char* pszNom) {
        STValeurHote v;
        if (!lua->bLitGlobale(pszNom, v)) return "<nil>";
        if (v.nType == KS_PSTRW) return Utf8(v.sTexte);
        if (v.nType == KS_BOOL) return v.nEntier ? "true" : "false";
        if (v.nType == KS_R8) return std::to_string(v.dReel);
        return std::to_string(v.nEntier);
    }

    void* Objet(const wchar_t* pszNom) { return hote.pObjet(pszNom); }

    kvtest::HoteProjet hote;
    IRunnerLua* lua = nullptr;
};

// The same sheet open twice under two aliases, with its own parameter each.
class ObjetsLuaDeuxFiches : public ObjetsLua {
protected:
    void SetUp() override {
        ObjetsLua::SetUp();
        if (HasFatalFailure()) return;
        STValeurHote v;
        v.nType = KS_PSTRW;
        v.sTexte = L"first";
        Appelle("KSL_OuvreFille_0", L"A=FEN_Fiche", {v});
        v.sTexte = L"second";
        Appelle("KSL_OuvreFille_0", L"B=FEN_Fiche", {v});
    }
};

// Properties read and written from the code, names found in every form the
// code writes them; each row's code leaves its answer in _G.R.
TEST_F(ObjetsLuaDeuxFiches, PropertiesAndNamesFromTheCode) {
    struct Cas {
        const char* pszCode;
        const char* pszAttendu;
    } tab[] = {
        {"_G.R = A.LIB_Nom.Libelle", "first"},
        {"_G.R = B.LIB_Nom.Libelle", "second"},
        // The bare window name finds the latest instance.
        {"_G.R = FEN_Fiche.LIB_Nom.Libelle", "second"},
        {"_G.R = a.lib_nom.LIBELLE", "first"},
        {"_G.R = A.LIB_Nom.Caption", "first"},
        {"_G.R = A.Titre", "Sheet"},
        {"A.LIB_Nom.Libelle = 'changed' _G.R = A.LIB_Nom.Libelle .. '/' .. B.LIB_Nom.Libelle", "changed/second"},
        {"B.Titre = 'Second sheet' _G.R = B.Titre", "Second sheet"},
        {"_G.R = tostring(A.LIB_Nom)", "A.LIB_Nom"},
        {"_G.R = tostring(A.LIB_Nom == A.LIB_Nom)", "true"},
        {"_G.R = tostring(A.LIB_Nom == B.LIB_Nom)", "false"},
        {"_G.R = tostring(FEN_Absente)", "nil"},
        {"_G.R = math.type(A.LIB_Nom.Largeur)", "integer"},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszCode);
        ASSERT_EQ(Execute(c.pszCode), 0) << lua->sDerniereErreur();
        EXPECT_EQ(Globale("R"), c.pszAttendu);
    }
}

// Each failure of a property access or a name is a Lua error the code can
// catch, with the module's number when the module refused.
TEST_F(ObjetsLuaDeuxFiches, PropertyErrorsAreLuaErrors) {
    struct Cas {
        const char* pszCode;
        const char* pszAttendu;
    } tab[] = {
        {"A.LIB_Nom.Nom = 'x'", "10072"},
        {"return A.Valeur", "10021"},
        {"return A.LIB_Nom.Bidule", "A.LIB_Nom has no property or control named Bidule"},
        {"A.LIB_Nom.Bidule = 1", "no property is named Bidule"},
        {"A.LIB_Nom.Libelle = {}", "a table cannot be handed to the module"},
        {"return A.LIB_Nom[2]", "A.LIB_Nom has no element 2"},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszCode);
        std::string s = std::string("local ok, e = pcall(function() ") + c.pszCode + " end) _G.OK = ok _G.E = tostring(e)";
        ASSERT_EQ(Execute(s), 0) << lua->sDerniereErreur();
        EXPECT_EQ(Globale("OK"), "false");
        EXPECT_NE(Globale("E").find(c.pszAttendu), std::string::npos) << Globale("E");
    }
    // Reading the name works where writing it does not.
    ASSERT_EQ(Execute("_G.R = A.LIB_Nom.Nom"), 0) << lua->sDerniereErreur();
    EXPECT_EQ(Globale("R"), "LIB_Nom");
}

// Code of a control or a window sees its own window's controls by their bare
// names, in the instance it belongs to, also when the same window is open
// twice and it is not the latest.
TEST_F(ObjetsLuaDeuxFiches, BareNamesAreThoseOfTheRunningCodesWindow) {
    void* pNomA = Objet(L"A.LIB_Nom");
    void* pNomB = Objet(L"B.LIB_Nom");
    ASSERT_NE(pNomA, nullptr);
    ASSERT_NE(pNomB, nullptr);
    ASSERT_NE(pNomA, pNomB);
    ASSERT_EQ(Execute("_G.R = LIB_Nom.Libelle .. ',' .. MaFenetre.Alias .. ',' .. MoiMeme.Nom", pNomA), 0)
        << lua->sDerniereErreur();
    EXPECT_EQ(Globale("R"), "first,A,LIB_Nom");
    ASSERT_EQ(Execute("_G.R = LIB_Nom.Libelle", pNomB), 0) << lua->sDerniereErreur();
    EXPECT_EQ(Globale("R"), "second");
    // The window's own name in its code is this instance too.
    ASSERT_EQ(Execute("_G.R = FEN_Fiche.LIB_Nom.Libelle", Objet(L"A"), L"FEN_Fiche"), 0) << lua->sDerniereErreur();
    EXPECT_EQ(Globale("R"), "first");
}

// All the code of one window instance shares one set of values: what its
// declarations set is seen by its controls' code, and neither by the other
// instance of the same window nor by code outside the window; _G is the
// whole project's.
TEST_F(ObjetsLuaDeuxFiches, EachWindowInstanceHasItsOwnValues) {
    void* pNomA = Objet(L"A.LIB_Nom");
    void* pNomB = Objet(L"B.LIB_Nom");
    ASSERT_NE(pNomA, nullptr);
    ASSERT_NE(pNomB, nullptr);
    struct Cas {
        const char* pszCode;
        void* pObjet;
        const char* pszAttendu;
    } tab[] = {
        {"_G.R = parametre", pNomA, "first"},
        {"_G.R = parametre", pNomB, "second"},
        {"compte = (compte or 0) + 1 _G.R = compte", pNomA, "1"},
        {"compte = (compte or 0) + 1 _G.R = compte", pNomA, "2"},
        {"compte = (compte or 0) + 1 _G.R = compte", pNomB, "1"},
        {"_G.R = tostring(compte) .. ',' .. tostring(parametre)", nullptr, "nil,nil"},
        {"_G.partage = 'everyone'", pNomA, nullptr},
        {"_G.R = partage", pNomB, "everyone"},
        // MoiMeme is the object of each run, also in a shared environment.
        {"_G.R = MoiMeme.Nom", pNomA, "LIB_Nom"},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszCode);
        ASSERT_EQ(Execute(c.pszCode, c.pObjet), 0) << lua->sDerniereErreur();
        if (c.pszAttendu) {
            EXPECT_EQ(Globale("R"), c.pszAttendu);
        }
    }
    // A closed window's values go with it: the sheet opened again starts afresh.
    Appelle("KSL_Ferme_1", L"A");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    STValeurHote v;
    v.nType = KS_PSTRW;
    v.sTexte = L"third";
    Appelle("KSL_OuvreFille_0", L"A=FEN_Fiche", {v});
    ASSERT_EQ(Execute("_G.R = tostring(compte) .. ',' .. parametre", Objet(L"A.LIB_Nom")), 0) << lua->sDerniereErreur();
    EXPECT_EQ(Globale("R"), "nil,third");
}

// An object kept after its window closed gives an error instead of reaching
// a destroyed window.
TEST_F(ObjetsLuaDeuxFiches, ObjectsOfAClosedWindowFailCleanly) {
    ASSERT_EQ(Execute("_G.GARDE = A.LIB_Nom _G.FEN = A"), 0) << lua->sDerniereErreur();
    Appelle("KSL_Ferme_1", L"A");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(Execute("local ok, e = pcall(function() return GARDE.Libelle end) _G.OK = ok _G.E = e "
                      "local ok2, e2 = pcall(function() return FEN.Titre end) _G.E2 = e2"),
              0)
        << lua->sDerniereErreur();
    EXPECT_EQ(Globale("OK"), "false");
    EXPECT_NE(Globale("E").find("no such window or control is open"), std::string::npos) << Globale("E");
    EXPECT_NE(Globale("E2").find("no such window or control is open"), std::string::npos) << Globale("E2");
    // B is untouched.
    ASSERT_EQ(Execute("_G.R = B.LIB_Nom.Libelle"), 0) << lua->sDerniereErreur();
    EXPECT_EQ(Globale("R"), "second");
}

// The code of a window's control, run while the module opens the window,
// reaches its sibling by its bare name.
TEST_F(ObjetsLua, ControlCodeDuringOpeningSeesItsSiblings) {
    Appelle("KSL_Ouvre_0", L"FEN_Main");
    EXPECT_EQ(Globale("NOM_DANS_CODE_CHAMP"), "Title text");
}

} // namespace
