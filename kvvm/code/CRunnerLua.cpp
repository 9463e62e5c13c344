#include "code/CRunnerLua.h"
#include "code/TableFonctions.h"
#include "kv/boites.h"
#include "kv/module.h"
#include "vm/Export.h"
#include "vm/ValeursHote.h"
#include "conteneur/CConteneurProjet.h"
#include "conteneur/Identifiants.h"
#include "kv/tables.h"
#include "kv/types.h"
#include <lua.hpp>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <unordered_map>

// Lua is built as C here: its errors are long jumps. No C++ object with a
// destructor may be alive in a frame a Lua error crosses, so every C function
// below does its C++ work in a function that returns (leaving a message on
// the stack when it failed), then raises.

namespace {

const char* const pszCLE_ETAT = "kv.runner";         // registry: the runner's state (light userdata)
const char* const pszCLE_FONCTIONS = "kv.fonctions"; // registry: language functions made so far
const char* const pszCLE_META_ENV = "kv.meta_env";   // registry: metatable of the run environments
const char* const pszCLE_ENVS = "kv.envs";           // registry: each open window's environment, by instance
const char* const pszMETA_OBJET = "kv.objet";        // metatable of windows and controls

// Keys of a run's environment that the code does not see by name.
char cCLE_FENETRE;  // the running code's window (light userdata)
char cCLE_OBJET;    // the object whose code runs (light userdata)
// The error object that ends a run the module asked to stop.
char cARRET;

constexpr int nPAS_HOOK = 1000;  // instructions between two counts

// Languages of the property names: the three name columns.
constexpr int tabLANGUES_PROPRIETES[] = {12, 9, 4};

std::string sMajuscules(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

} // namespace

// ---------------------------------------------------------------- state

namespace {
struct STFonctionLua {
    std::string sNom;
    int nIndice = 0;  // 0-based row
    std::vector<STSyntaxeLua> tabSyntaxes;
};

// How an object of the code finds its module object at each use.
enum class eLIEN : int {
    GLOBAL,       // its name, from the open windows
    FENETRE,      // its name inside a window instance (empty: the window)
    EPINGLE_GLOBAL,   // a pointer the module gave, checked through its name from the open windows
    EPINGLE_FENETRE,  // the same, its name inside a window instance
};

// A window or control as Lua holds it; its name is the userdata's user value.
struct UObjet {
    void* pObjet;
    void* pFenetre;
    eLIEN eLien;
};
} // namespace

struct CRunnerLua::STEtat {
    struct STChunk {
        int nRef = LUA_NOREF;       // the compiled function, in the registry
        std::string sErreur;        // why it did not compile
        std::string sNom;           // "FEN_X.BTN_OK:click"
    };

    lua_State* L = nullptr;
    STAccesModule acces;
    CRunnerLua* pRunner = nullptr;
    std::map<std::pair<uint64_t, int>, STChunk> code;
    // Opening parameters of each window, from its declaration code's run.
    std::map<void*, std::vector<STValeurHote>> parametres;

    // The module's function table, by upper-case name (read once).
    bool bFonctionsLues = false;
    std::unordered_map<std::string, STFonctionLua> fonctions;
    // Property numbers by upper-case name in any of the three languages.
    bool bProprietesLues = false;
    std::unordered_map<std::string, int> proprietes;

    // Counting instructions of the running code.
    int nProfondeur = 0;
    uint64_t nCompte = 0;
    bool bEpuise = false;

    static STEtat* pDepuis(lua_State* L) {
        lua_getfield(L, LUA_REGISTRYINDEX, pszCLE_ETAT);
        auto* p = static_cast<STEtat*>(lua_touserdata(L, -1));
        lua_pop(L, 1);
        return p;
    }

    IObjGate* piGate() const { return acces.fnGate ? acces.fnGate() : nullptr; }

    void LitFonctions();
    void LitProprietes();
    const STFonctionLua* pFonction(const std::string& sNom) {
        LitFonctions();
        auto it = fonctions.find(sMajuscules(sNom));
        return it == fonctions.end() ? nullptr : &it->second;
    }
    int nPropriete(const std::string& sNom) {
        LitProprietes();
        auto it = proprietes.find(sMajuscules(sNom));
        return it == proprietes.end() ? -1 : it->second;
    }
    bool bFenetreOuverte(void* f) const {
        if (!f || !acces.fnFenetres) return false;
        std::vector<void*> tab = acces.fnFenetres();
        return std::find(tab.begin(), tab.end(), f) != tab.end();
    }
    // The window instance an object belongs to (null when none is found).
    void* pFenetreDe(void* pObjet, std::wstring* psNom = nullptr);
};

void CRunnerLua::STEtat::LitFonctions() {
    if (bFonctionsLues) return;
    bFonctionsLues = true;
    for (STFonctionModule& f : LitTableFonctions(acces.fnSymbole)) {
        std::string sCle = sMajuscules(f.sNom);
        if (fonctions.count(sCle)) continue;  // a repeated row: the first holds the syntaxes
        STFonctionLua fn;
        fn.sNom = std::move(f.sNom);
        fn.nIndice = f.nIndice;
        for (STSyntaxeModule& sm : f.tabSyntaxes) {
            STSyntaxeLua sl;
            sl.pfnGlue = sm.pfnGlue;
            sl.bVariadique = sm.bVariadique;
            sl.tabParametres = std::move(sm.tabParametres);
            fn.tabSyntaxes.push_back(std::move(sl));
        }
        fonctions.emplace(std::move(sCle), std::move(fn));
    }
}

void CRunnerLua::STEtat::LitProprietes() {
    if (bProprietesLues) return;
    IObjGate* g = piGate();
    if (!g) return;
    bProprietesLues = true;
    const int nNb = g->nGetNbProp();
    for (int p = 0; p < nNb; ++p) {
        for (int nLangue : tabLANGUES_PROPRIETES) {
            const wchar_t* psz = nullptr;
            if (!g->bGetNomProp(static_cast<EPropriete>(p), nLangue, &psz) || !psz || !*psz) continue;
            proprietes.emplace(sMajuscules(sVersUtf8(psz)), p);
        }
    }
}

void* CRunnerLua::STEtat::pFenetreDe(void* pObjet, std::wstring* psNom) {
    IObjGate* g = piGate();
    if (!g || !pObjet || !acces.fnFenetres) return nullptr;
    std::vector<void*> tab = acces.fnFenetres();
    if (std::find(tab.begin(), tab.end(), pObjet) != tab.end()) {
        if (psNom) psNom->clear();
        return pObjet;
    }
    CAny cl;
    CXError e;
    if (!g->bGetPropriete(pObjet, static_cast<EPropriete>(0), &cl, &e)) return nullptr;
    CTString sNom;
    cl.__nCastToString(sNom);
    for (auto it = tab.rbegin(); it != tab.rend(); ++it) {
        if (g->pclGetObjectFromName(sNom.c_str(), *it) == pObjet) {
            if (psNom) *psNom = sNom;
            return *it;
        }
    }
    return nullptr;
}

namespace {

using PFN_GLUE = int (*)(STKSAppel*, IKSLibrary*, void**);
using STEtat = CRunnerLua::STEtat;

std::string VersUtf8(const std::wstring& s) { return sVersUtf8(s); }

std::wstring TexteLua(lua_State* L, int i) {
    size_t n = 0;
    const char* psz = lua_tolstring(L, i, &n);
    return psz ? sDepuisUtf8(std::string_view(psz, n)) : std::wstring();
}

void PousseTexte(lua_State* L, const std::wstring& s) {
    std::string u = VersUtf8(s);
    lua_pushlstring(L, u.data(), u.size());
}

// ------------------------------------------------ objects

std::wstring sNomObjet(lua_State* L, int i) {
    lua_getiuservalue(L, i, 1);
    std::wstring s = TexteLua(L, -1);
    lua_pop(L, 1);
    return s;
}

// Pushes an object of the code.
void PousseObjet(lua_State* L, void* pObjet, void* pFenetre, eLIEN eLien, const std::wstring& sNom) {
    auto* u = static_cast<UObjet*>(lua_newuserdatauv(L, sizeof(UObjet), 1));
    u->pObjet = pObjet;
    u->pFenetre = pFenetre;
    u->eLien = eLien;
    PousseTexte(L, sNom);
    lua_setiuservalue(L, -2, 1);
    luaL_setmetatable(L, pszMETA_OBJET);
}

// An object the module handed back: bound to its window and name when they
// can be found, else to its full name.
void PousseObjetModule(lua_State* L, STEtat* p, void* pObjet) {
    if (!pObjet) {
        lua_pushnil(L);
        return;
    }
    std::wstring sNom;
    if (void* f = p->pFenetreDe(pObjet, &sNom)) {
        PousseObjet(L, pObjet, f, eLIEN::EPINGLE_FENETRE, sNom);
        return;
    }
    CAny cl;
    CXError e;
    CTString s;
    if (IObjGate* g = p->piGate(); g && g->bGetPropriete(pObjet, static_cast<EPropriete>(136), &cl, &e)) cl.__nCastToString(s);
    PousseObjet(L, pObjet, nullptr, eLIEN::EPINGLE_GLOBAL, s);
}

// The module object behind the object at index i, checked now; null with a
// message in sErreur when it no longer exists.
void* pObjetValide(lua_State* L, STEtat* p, int i, std::string& sErreur) {
    auto* u = static_cast<UObjet*>(luaL_testudata(L, i, pszMETA_OBJET));
    if (!u) {
        sErreur = "not a window or control";
        return nullptr;
    }
    std::wstring sNom = sNomObjet(L, i);
    IObjGate* g = p->piGate();
    void* pTrouve = nullptr;
    bool bFenetreOk = true;
    if (g) {
        switch (u->eLien) {
        case eLIEN::GLOBAL:
        case eLIEN::EPINGLE_GLOBAL:
            pTrouve = sNom.empty() ? nullptr : g->pclGetObjectFromName(sNom.c_str(), nullptr);
            break;
        case eLIEN::FENETRE:
        case eLIEN::EPINGLE_FENETRE:
            bFenetreOk = p->bFenetreOuverte(u->pFenetre);
            if (bFenetreOk) pTrouve = sNom.empty() ? u->pFenetre : g->pclGetObjectFromName(sNom.c_str(), u->pFenetre);
            break;
        }
    }
    bool bEpingle = u->eLien == eLIEN::EPINGLE_GLOBAL || u->eLien == eLIEN::EPINGLE_FENETRE;
    if (pTrouve && (!bEpingle || pTrouve == u->pObjet)) {
        u->pObjet = pTrouve;
        return pTrouve;
    }
    std::string sAffiche = sNom.empty() ? "window" : VersUtf8(sNom);
    sErreur = !bFenetreOk ? sAffiche + ": its window is closed" : sAffiche + ": no such window or control is open";
    return nullptr;
}

// The full name of a child, as its parent is bound.
std::wstring sNomEnfant(const std::wstring& sParent, const std::wstring& sEnfant) {
    return sParent.empty() ? sEnfant : sParent + L"." + sEnfant;
}

// ------------------------------------------------ values

void PousseValeur(lua_State* L, STEtat* p, const STValeurHote& v) {
    switch (v.nType) {
    case KS_VIDE: lua_pushnil(L); break;
    case KS_BOOL: lua_pushboolean(L, v.nEntier != 0); break;
    case KS_UI1: case KS_UI2: case KS_UI4: case KS_UI8: case KS_I1: case KS_I2: case KS_I4: case KS_I8:
    case KS_I4BIS: case KS_DUREE: case KS_UIX:
        lua_pushinteger(L, static_cast<lua_Integer>(v.nEntier));
        break;
    case KS_R4: case KS_R8: lua_pushnumber(L, v.dReel); break;
    case KS_PSTRW: case KS_DSTRW: PousseTexte(L, v.sTexte); break;
    case KS_OBJET: PousseObjetModule(L, p, v.pObjet); break;
    default:
        if (v.pObjet) lua_pushlightuserdata(L, v.pObjet);
        else lua_pushnil(L);
        break;
    }
}

// A Lua value as a host value; false with a message for values that have
// none (tables, functions, objects that no longer exist).
bool ValeurHote(lua_State* L, STEtat* p, int i, STValeurHote& v, std::string& sErreur) {
    v = STValeurHote();
    switch (lua_type(L, i)) {
    case LUA_TNIL: v.nType = KS_VIDE; return true;
    case LUA_TBOOLEAN:
        v.nType = KS_BOOL;
        v.nEntier = lua_toboolean(L, i);
        return true;
    case LUA_TNUMBER:
        if (lua_isinteger(L, i)) {
            lua_Integer n = lua_tointeger(L, i);
            v.nType = (n >= INT32_MIN && n <= INT32_MAX) ? KS_I4 : KS_I8;
            v.nEntier = n;
        } else {
            v.nType = KS_R8;
            v.dReel = lua_tonumber(L, i);
        }
        return true;
    case LUA_TSTRING:
        v.nType = KS_PSTRW;
        v.sTexte = TexteLua(L, i);
        return true;
    case LUA_TLIGHTUSERDATA:
        v.nType = KS_OBJET;
        v.pObjet = lua_touserdata(L, i);
        return true;
    case LUA_TUSERDATA:
        if (luaL_testudata(L, i, pszMETA_OBJET)) {
            v.nType = KS_OBJET;
            v.pObjet = pObjetValide(L, p, i, sErreur);
            return v.pObjet != nullptr;
        }
        [[fallthrough]];
    default:
        sErreur = std::string("a ") + luaL_typename(L, i) + " cannot be handed to the module";
        return false;
    }
}

eGENRE_ARG Genre(lua_State* L, int i) {
    switch (lua_type(L, i)) {
    case LUA_TNIL: return eGENRE_ARG::NIL;
    case LUA_TBOOLEAN: return eGENRE_ARG::BOOLEEN;
    case LUA_TNUMBER: return lua_isinteger(L, i) ? eGENRE_ARG::ENTIER : eGENRE_ARG::REEL;
    case LUA_TSTRING: return eGENRE_ARG::TEXTE;
    case LUA_TUSERDATA: return luaL_testudata(L, i, pszMETA_OBJET) ? eGENRE_ARG::OBJET : eGENRE_ARG::AUTRE;
    default: return eGENRE_ARG::AUTRE;
    }
}

std::string sMessageErreur(const CXError& e) {
    std::string s = VersUtf8(e.sGetMessage());
    if (s.empty()) s = "error";
    return std::to_string(e.nGetErreur()) + ": " + s;
}

// The running code's window and object, from the environment of the
// function that called into C (null outside any run).
void* pDansEnv(lua_State* L, int nEnv, const char* pcCle) {
    if (nEnv == 0 || !lua_istable(L, nEnv)) return nullptr;
    lua_pushlightuserdata(L, const_cast<char*>(pcCle));
    lua_rawget(L, nEnv);
    void* p = lua_touserdata(L, -1);
    lua_pop(L, 1);
    return p;
}

// An object named by a text, from the running code's window first.
void* pResoutNom(STEtat* p, const std::wstring& sNom, void* pFenetre) {
    IObjGate* g = p->piGate();
    if (!g || sNom.empty()) return nullptr;
    if (pFenetre && p->bFenetreOuverte(pFenetre))
        if (void* o = g->pclGetObjectFromName(sNom.c_str(), pFenetre)) return o;
    return g->pclGetObjectFromName(sNom.c_str(), nullptr);
}

// ------------------------------------------------ parameter types

// The declared arguments of one call as the glue reads them: each through a
// pointer into one of the containers, which keep their addresses as they
// grow.
struct STArguments {
    lua_State* L;
    STEtat* p;
    const std::string& sNom;  // the function called, for the messages
    void* pFenetre;           // the running code's window, for names given as text
    std::string& sErreur;     // why an argument could not be handed over
    std::deque<int32_t> entiers{};
    std::deque<int64_t> entiers8{};
    std::deque<std::wstring> textes{};
    std::deque<const wchar_t*> pointeurs{};
    std::deque<void*> objets{};
    std::deque<CAny> valeurs{};
};

std::string sErreurArgument(const std::string& sNom, int a, const std::string& sPourquoi) {
    return sNom + ": argument " + std::to_string(a) + sPourquoi;
}

// Each function below hands the Lua argument at index a over as one type of
// parameter: it returns the address the glue reads, or null with the message
// in sErreur. They run inside the C++ part of a call (nAppelleFonction) and
// never raise a Lua error.

// A boolean: a boolean, or an integer (not zero: true).
void* PasseBooleen(STArguments& c, int a) {
    c.entiers.push_back(lua_isboolean(c.L, a) ? lua_toboolean(c.L, a) : lua_tointeger(c.L, a) != 0);
    return &c.entiers.back();
}

// The value of an integer parameter: an integer, a boolean (0 or 1), or a
// real without a fractional part that fits 64 bits.
bool bEntierLua(STArguments& c, int a, lua_Integer& n) {
    if (lua_isboolean(c.L, a)) {
        n = lua_toboolean(c.L, a);
    } else if (lua_isinteger(c.L, a)) {
        n = lua_tointeger(c.L, a);
    } else {
        double d = lua_tonumber(c.L, a);
        if (d != std::floor(d) || std::fabs(d) > 9.2e18) {
            c.sErreur = sErreurArgument(c.sNom, a, " must be an integer");
            return false;
        }
        n = static_cast<lua_Integer>(d);
    }
    return true;
}

// A 32-bit integer.
void* PasseEntier(STArguments& c, int a) {
    lua_Integer n = 0;
    if (!bEntierLua(c, a, n)) return nullptr;
    if (n < INT32_MIN || n > INT32_MAX) {
        c.sErreur = sErreurArgument(c.sNom, a, " is out of range");
        return nullptr;
    }
    c.entiers.push_back(static_cast<int32_t>(n));
    return &c.entiers.back();
}

// A 64-bit integer or a handle.
void* PasseEntier8(STArguments& c, int a) {
    lua_Integer n = 0;
    if (!bEntierLua(c, a, n)) return nullptr;
    c.entiers8.push_back(n);
    return &c.entiers8.back();
}

// A text: a text, a number as Lua writes it, the name of an object, nil as
// the empty text.
void* PasseTexte(STArguments& c, int a) {
    std::wstring s;
    if (lua_type(c.L, a) == LUA_TUSERDATA) {
        void* o = pObjetValide(c.L, c.p, a, c.sErreur);
        if (!o) return nullptr;
        s = sNomObjet(c.L, a);
        if (s.empty()) {
            // A window bound to its instance (o): its name through the gate.
            CAny cl;
            CXError e;
            if (c.p->piGate()->bGetPropriete(o, static_cast<EPropriete>(0), &cl, &e)) {
                CTString t;
                cl.__nCastToString(t);
                s = t;
            }
        }
    } else if (!lua_isnil(c.L, a)) {
        s = TexteLua(c.L, a);
    }
    c.textes.push_back(std::move(s));
    c.pointeurs.push_back(c.textes.back().c_str());
    return &c.pointeurs.back();
}

// A window or control: an object, a name (from the running code's window
// first), nil as no object.
void* PasseObjet(STArguments& c, int a) {
    void* o = nullptr;
    if (lua_type(c.L, a) == LUA_TUSERDATA) {
        o = pObjetValide(c.L, c.p, a, c.sErreur);
        if (!o) return nullptr;
    } else if (lua_type(c.L, a) == LUA_TSTRING) {
        std::wstring s = TexteLua(c.L, a);
        o = pResoutNom(c.p, s, c.pFenetre);
        if (!o) {
            c.sErreur = c.sNom + ": no window or control is named " + VersUtf8(s);
            return nullptr;
        }
    }
    c.objets.push_back(o);
    return &c.objets.back();
}

// A value of any type.
void* PasseValeur(STArguments& c, int a) {
    STValeurHote v;
    std::string sPourquoi;
    if (!ValeurHote(c.L, c.p, a, v, sPourquoi)) {
        c.sErreur = sErreurArgument(c.sNom, a, ": " + sPourquoi);
        return nullptr;
    }
    c.valeurs.emplace_back();
    AnyDepuisValeur(v, c.valeurs.back());
    return &c.valeurs.back();
}

constexpr size_t nNB_GENRES = static_cast<size_t>(eGENRE_ARG::AUTRE) + 1;

// A parameter type a Lua argument can be handed to: how well each kind of
// argument suits it (2 exactly, 1 after a conversion its function makes, 0
// not at all) and the function that hands it over.
struct STTypeParametre {
    uint32_t nCode;  // eTYPE_SIGNATURE: the low byte of a type word
    std::array<int, nNB_GENRES> tabAccord;  // by eGENRE_ARG
    void* (*pfnPasse)(STArguments& c, int a);
};

// Types not here (image memos...) are not handed from Lua: no syntax that
// declares one is chosen.
constexpr STTypeParametre tabTYPES_PARAMETRES[] = {
    //                  nil bool int real text obj other
    {eSIG_BOOLEEN,     {{0,  2,   1,  0,   0,   0,  0}}, PasseBooleen},
    {eSIG_ENTIER,      {{0,  1,   2,  1,   0,   0,  0}}, PasseEntier},
    {eSIG_ENTIER8,     {{0,  1,   2,  1,   0,   0,  0}}, PasseEntier8},
    {eSIG_HANDLE,      {{0,  1,   2,  1,   0,   0,  0}}, PasseEntier8},
    {eSIG_ANY,         {{1,  1,   1,  1,   1,   1,  0}}, PasseValeur},
    // nil: the running code's window, as an empty name.
    {eSIG_NOM_FENETRE, {{1,  0,   1,  1,   2,   1,  0}}, PasseTexte},
    {eSIG_CHAINE,      {{0,  0,   1,  1,   2,   1,  0}}, PasseTexte},
    {eSIG_CHAINE2,     {{0,  0,   1,  1,   2,   1,  0}}, PasseTexte},
    {eSIG_CHAINE3,     {{0,  0,   1,  1,   2,   1,  0}}, PasseTexte},
    {eSIG_CHAINE4,     {{0,  0,   1,  1,   2,   1,  0}}, PasseTexte},
    {eSIG_FENCOMMUN,   {{1,  0,   0,  0,   1,   2,  0}}, PasseObjet},
    {eSIG_OBJET,       {{1,  0,   0,  0,   1,   2,  0}}, PasseObjet},
};

// The row of a type word; null for a type not handed from Lua.
const STTypeParametre* pTypeParametre(uint32_t nTypeMot) {
    for (const STTypeParametre& t : tabTYPES_PARAMETRES)
        if (t.nCode == (nTypeMot & 0xFF)) return &t;
    return nullptr;
}

int nAccord(uint32_t nTypeMot, eGENRE_ARG g) {
    const STTypeParametre* t = pTypeParametre(nTypeMot);
    return t ? t->tabAccord[static_cast<size_t>(g)] : 0;
}

} // namespace

int nChoisitSyntaxe(const std::vector<STSyntaxeLua>& tabSyntaxes, const std::vector<eGENRE_ARG>& tabArgs) {
    int nMeilleure = -1;
    long nMeilleurScore = -1;
    for (size_t i = 0; i < tabSyntaxes.size(); ++i) {
        const STSyntaxeLua& st = tabSyntaxes[i];
        if (!st.pfnGlue) continue;
        const size_t n = st.tabParametres.size();
        if (tabArgs.size() < n || (!st.bVariadique && tabArgs.size() != n)) continue;
        long nScore = tabArgs.size() == n ? 1 : 0;
        bool bOk = true;
        for (size_t j = 0; j < n && bOk; ++j) {
            int a = nAccord(st.tabParametres[j], tabArgs[j]);
            if (a == 0) bOk = false;
            nScore += 2L * a;
        }
        if (bOk && nScore > nMeilleurScore) {
            nMeilleurScore = nScore;
            nMeilleure = static_cast<int>(i);
        }
    }
    return nMeilleure;
}

namespace {

// ------------------------------------------------ language functions

// The call of a language function: leaves its results on the stack and
// returns their count, or leaves the message and returns -1 (-2: the module
// asked to stop the running code).
int nAppelleFonction(lua_State* L) {
    std::string sErreur;
    bool bArret = false;
    try {
        STEtat* p = STEtat::pDepuis(L);
        std::string sNom = lua_tostring(L, lua_upvalueindex(1));
        void* pFenetre = pDansEnv(L, lua_upvalueindex(2), &cCLE_FENETRE);
        int nArgs = lua_gettop(L);
        std::vector<eGENRE_ARG> tabGenres;
        for (int i = 1; i <= nArgs; ++i) tabGenres.push_back(Genre(L, i));
        const STFonctionLua* fn = p->pFonction(sNom);
        int nSyntaxe = fn ? nChoisitSyntaxe(fn->tabSyntaxes, tabGenres) : -1;
        IKSLibrary* piCompo = p->acces.fnComposante ? p->acces.fnComposante() : nullptr;
        if (!fn) {
            sErreur = sNom + ": not a function of the module";
        } else if (nSyntaxe < 0) {
            sErreur = sNom + ": no syntax of this function takes these arguments";
        } else if (!piCompo) {
            sErreur = sNom + ": the module is not started";
        } else {
            const STSyntaxeLua& st = fn->tabSyntaxes[nSyntaxe];
            const int nDeclares = static_cast<int>(st.tabParametres.size());
            STArguments args{.L = L, .p = p, .sNom = sNom, .pFenetre = pFenetre, .sErreur = sErreur};
            std::vector<void*> tabArgs(nDeclares + 1, nullptr);
            // The syntax was chosen because every parameter accepts its
            // argument, so every parameter's type has its row.
            for (int i = 0; i < nDeclares && sErreur.empty(); ++i)
                tabArgs[i] = pTypeParametre(st.tabParametres[i])->pfnPasse(args, i + 1);
            STSlotAppel slot;
            for (int i = nDeclares + 1; i <= nArgs && sErreur.empty(); ++i) {
                STValeurHote v;
                std::string sPourquoi;
                if (!ValeurHote(L, p, i, v, sPourquoi))
                    sErreur = sErreurArgument(sNom, i, ": " + sPourquoi);
                else
                    slot.tabParamSupp.push_back(std::move(v));
            }
            if (sErreur.empty()) {
                STKSAppel appel;
                appel.pVM = p->acces.fnVM ? p->acces.fnVM() : nullptr;
                appel.nFonction = fn->nIndice;
                appel.pSlot = &slot;
                CXError* e = piCompo->pclGetError();
                if (e) e->RAZ();
                if (p->acces.fnPrendStop) p->acces.fnPrendStop();
                reinterpret_cast<PFN_GLUE>(st.pfnGlue)(&appel, piCompo, tabArgs.data());
                e = piCompo->pclGetError();
                bArret = p->acces.fnPrendStop && p->acces.fnPrendStop() != 0;
                if (e && e->bEstErreur()) {
                    sErreur = sMessageErreur(*e);
                    e->RAZ();
                } else if (!bArret) {
                    lua_settop(L, 0);
                    if (!slot.bResultat) return 0;
                    PousseValeur(L, p, slot.stResultat);
                    return 1;
                }
            }
        }
    } catch (const std::exception& x) {
        sErreur = std::string("exception in the module: ") + x.what();
    } catch (...) {
        sErreur = "exception in the module";
    }
    if (bArret && sErreur.empty()) return -2;
    lua_pushlstring(L, sErreur.data(), sErreur.size());
    return -1;
}

// Raises the message on top of the stack, prefixed with where the calling
// code is, as Lua's own errors say it.
int RaiseAvecLieu(lua_State* L) {
    luaL_where(L, 1);
    lua_insert(L, -2);
    lua_concat(L, 2);
    return lua_error(L);
}

int AppelFonction(lua_State* L) {
    int n = nAppelleFonction(L);
    if (n == -2) {
        lua_pushlightuserdata(L, &cARRET);
        return lua_error(L);
    }
    return n < 0 ? RaiseAvecLieu(L) : n;
}

// Pushes the Lua function of a language function (made once per run
// environment: it knows the run's window for names given as text).
bool bPousseFonction(lua_State* L, STEtat* p, const char* pszNom, int nEnv) {
    const STFonctionLua* fn = p->pFonction(pszNom);
    if (!fn) return false;
    bool bGlue = std::any_of(fn->tabSyntaxes.begin(), fn->tabSyntaxes.end(), [](const STSyntaxeLua& s) { return s.pfnGlue; });
    if (!bGlue) return false;
    lua_pushstring(L, pszNom);
    if (nEnv) lua_pushvalue(L, nEnv);
    else lua_pushnil(L);
    lua_pushcclosure(L, AppelFonction, 2);
    return true;
}

// ------------------------------------------------ names of the code

// __index of a run's environment (1 the environment, 2 the name): the
// globals, the running window's controls, the module's functions, the open
// windows. Returns the count of results, or -1 with a message.
int nResoutNomEnv(lua_State* L) {
    if (lua_type(L, 2) != LUA_TSTRING) return 0;
    std::string sErreur;
    try {
        STEtat* p = STEtat::pDepuis(L);
        const char* pszNom = lua_tostring(L, 2);
        lua_pushglobaltable(L);
        lua_pushvalue(L, 2);
        if (lua_rawget(L, -2) != LUA_TNIL) return 1;
        lua_pop(L, 2);
        void* pFenetre = pDansEnv(L, 1, &cCLE_FENETRE);
        std::wstring sNom = sDepuisUtf8(pszNom);
        IObjGate* g = p->piGate();
        if (std::strcmp(pszNom, "MaFenetre") == 0) {
            if (!pFenetre) return 0;
            PousseObjet(L, pFenetre, pFenetre, eLIEN::FENETRE, L"");
            return 1;
        }
        if (std::strcmp(pszNom, "MoiMeme") == 0) {
            void* pObjet = pDansEnv(L, 1, &cCLE_OBJET);
            if (!pObjet) return 0;
            PousseObjetModule(L, p, pObjet);
            return 1;
        }
        if (g && pFenetre && p->bFenetreOuverte(pFenetre)) {
            if (void* o = g->pclGetObjectFromName(sNom.c_str(), pFenetre)) {
                if (o == pFenetre) PousseObjet(L, o, pFenetre, eLIEN::FENETRE, L"");
                else PousseObjet(L, o, pFenetre, eLIEN::FENETRE, sNom);
                return 1;
            }
        }
        if (bPousseFonction(L, p, pszNom, 1)) {
            // Kept in the environment: the next call finds it at once.
            lua_pushvalue(L, 2);
            lua_pushvalue(L, -2);
            lua_rawset(L, 1);
            return 1;
        }
        if (g) {
            if (void* o = g->pclGetObjectFromName(sNom.c_str(), nullptr)) {
                PousseObjet(L, o, nullptr, eLIEN::GLOBAL, sNom);
                return 1;
            }
        }
        return 0;
    } catch (const std::exception& x) {
        sErreur = std::string("name resolution: ") + x.what();
    }
    lua_pushlstring(L, sErreur.data(), sErreur.size());
    return -1;
}

int ResoutNomEnv(lua_State* L) {
    int n = nResoutNomEnv(L);
    return n < 0 ? lua_error(L) : n;
}

// __index of the globals, for code outside runs (functions kept in _G and
// called later): the module's functions and the open windows.
int nResoutNomGlobal(lua_State* L) {
    if (lua_type(L, 2) != LUA_TSTRING) return 0;
    STEtat* p = STEtat::pDepuis(L);
    const char* pszNom = lua_tostring(L, 2);
    lua_getfield(L, LUA_REGISTRYINDEX, pszCLE_FONCTIONS);
    if (lua_getfield(L, -1, pszNom) != LUA_TNIL) return 1;
    lua_pop(L, 1);
    try {
        if (bPousseFonction(L, p, pszNom, 0)) {
            lua_pushvalue(L, -1);
            lua_setfield(L, -3, pszNom);
            return 1;
        }
        if (IObjGate* g = p->piGate()) {
            std::wstring sNom = sDepuisUtf8(pszNom);
            if (void* o = g->pclGetObjectFromName(sNom.c_str(), nullptr)) {
                PousseObjet(L, o, nullptr, eLIEN::GLOBAL, sNom);
                return 1;
            }
        }
    } catch (...) {
    }
    return 0;
}

int ResoutNomGlobal(lua_State* L) { return nResoutNomGlobal(L); }

// The C++ part of a Lua C function: f returns its count of results, or -1
// with the message in its argument; exceptions become messages. Returns
// the count, or -1 with the message pushed.
template <class F>
int nSansException(lua_State* L, F&& f) {
    std::string sErreur;
    int n = -1;
    try {
        n = f(sErreur);
    } catch (const std::exception& x) {
        sErreur = std::string("exception in the module: ") + x.what();
    } catch (...) {
        sErreur = "exception in the module";
    }
    if (n >= 0) return n;
    lua_pushlstring(L, sErreur.data(), sErreur.size());
    return -1;
}

// ------------------------------------------------ objects' fields

// obj.NAME: a property, else a child by name; obj[i]: the i-th indexed part.
int nIndexObjet(lua_State* L) {
    return nSansException(L, [L](std::string& sErreur) -> int {
        STEtat* p = STEtat::pDepuis(L);
        void* pObjet = pObjetValide(L, p, 1, sErreur);
        if (!pObjet) return -1;
        auto* u = static_cast<UObjet*>(lua_touserdata(L, 1));
        std::wstring sNom = sNomObjet(L, 1);
        IObjGate* g = p->piGate();
        // A child is bound like its parent: by its name inside the window,
        // or by its full name from the open windows.
        eLIEN eEnfant = u->eLien == eLIEN::EPINGLE_GLOBAL ? eLIEN::GLOBAL : u->eLien == eLIEN::EPINGLE_FENETRE ? eLIEN::FENETRE : u->eLien;
        std::wstring sDe = sNom.empty() ? std::wstring(L"the window") : sNom;
        if (lua_isinteger(L, 2)) {
            lua_Integer n = lua_tointeger(L, 2);
            std::wstring sIndice = sNom + L"[" + std::to_wstring(n) + L"]";
            void* o = nullptr;
            if (!sNom.empty() && n >= 1 && n <= INT32_MAX)
                o = g->pclGetObjectFromName(sIndice.c_str(), eEnfant == eLIEN::FENETRE ? u->pFenetre : nullptr);
            if (!o) {
                sErreur = VersUtf8(sDe) + " has no element " + std::to_string(n);
                return -1;
            }
            PousseObjet(L, o, u->pFenetre, eEnfant, sIndice);
            return 1;
        }
        if (lua_type(L, 2) != LUA_TSTRING) {
            sErreur = "a window or control is indexed by a name or an integer";
            return -1;
        }
        std::string sCle = lua_tostring(L, 2);
        int nProp = p->nPropriete(sCle);
        if (nProp >= 0) {
            CAny cl;
            CXError e;
            if (!g->bGetPropriete(pObjet, static_cast<EPropriete>(nProp), &cl, &e)) {
                sErreur = sMessageErreur(e);
                return -1;
            }
            PousseValeur(L, p, ValeurDepuisAny(cl));
            return 1;
        }
        std::wstring sEnfant = sDepuisUtf8(sCle);
        void* o = g->pclGetObjectFromName(sEnfant.c_str(), pObjet);
        if (!o) {
            sErreur = VersUtf8(sDe) + " has no property or control named " + sCle;
            return -1;
        }
        if (o == pObjet) {
            lua_pushvalue(L, 1);
            return 1;
        }
        PousseObjet(L, o, u->pFenetre, eEnfant, sNomEnfant(sNom, sEnfant));
        return 1;
    });
}

int nEcritObjet(lua_State* L) {
    return nSansException(L, [L](std::string& sErreur) -> int {
        STEtat* p = STEtat::pDepuis(L);
        void* pObjet = pObjetValide(L, p, 1, sErreur);
        if (!pObjet) return -1;
        std::string sCle = lua_type(L, 2) == LUA_TSTRING ? lua_tostring(L, 2) : "";
        int nProp = sCle.empty() ? -1 : p->nPropriete(sCle);
        STValeurHote v;
        if (nProp < 0) {
            sErreur = "no property is named " + (sCle.empty() ? std::string("so") : sCle);
            return -1;
        }
        if (!ValeurHote(L, p, 3, v, sErreur)) {
            sErreur = sCle + ": " + sErreur;
            return -1;
        }
        CAny cl;
        AnyDepuisValeur(v, cl);
        CXError e;
        if (p->piGate()->bSetPropriete(pObjet, static_cast<EPropriete>(nProp), cl, &e)) return 0;
        sErreur = sMessageErreur(e);
        return -1;
    });
}

int IndexObjet(lua_State* L) {
    int n = nIndexObjet(L);
    return n < 0 ? RaiseAvecLieu(L) : n;
}

int EcritObjet(lua_State* L) {
    int n = nEcritObjet(L);
    return n < 0 ? RaiseAvecLieu(L) : n;
}

int TexteObjet(lua_State* L) {
    std::wstring s = sNomObjet(L, 1);
    if (s.empty()) {
        // A window bound to its instance: its name through the gate.
        STEtat* p = STEtat::pDepuis(L);
        auto* u = static_cast<UObjet*>(lua_touserdata(L, 1));
        CAny cl;
        CXError e;
        if (p->piGate() && p->bFenetreOuverte(u->pFenetre) &&
            p->piGate()->bGetPropriete(u->pFenetre, static_cast<EPropriete>(0), &cl, &e)) {
            CTString t;
            cl.__nCastToString(t);
            s = t;
        }
    }
    std::string u8 = VersUtf8(s);
    lua_pushlstring(L, u8.data(), u8.size());
    return 1;
}

int EgalObjets(lua_State* L) {
    auto* a = static_cast<UObjet*>(luaL_testudata(L, 1, pszMETA_OBJET));
    auto* b = static_cast<UObjet*>(luaL_testudata(L, 2, pszMETA_OBJET));
    if (!a || !b) {
        lua_pushboolean(L, 0);
        return 1;
    }
    STEtat* p = STEtat::pDepuis(L);
    std::string s1, s2;
    void* pa = pObjetValide(L, p, 1, s1);
    void* pb = pObjetValide(L, p, 2, s2);
    lua_pushboolean(L, pa && pa == pb);
    return 1;
}

// Message handler of a run: the message with the traceback.
int Trace(lua_State* L) {
    if (lua_touserdata(L, 1) == &cARRET) return 1;
    const char* psz = lua_tostring(L, 1);
    if (!psz) psz = luaL_tolstring(L, 1, nullptr);
    luaL_traceback(L, L, psz, 1);
    return 1;
}

void Compte(lua_State* L, lua_Debug*) {
    STEtat* p = STEtat::pDepuis(L);
    if (p->nProfondeur == 0) return;
    p->nCompte += nPAS_HOOK;
    uint64_t nBudget = p->pRunner->nGetBudget();
    if (nBudget != 0 && p->nCompte > nBudget) {
        // From now on every instruction fails, so that code catching the
        // error (pcall in a loop) cannot go on.
        // (The main thread too: the coroutines it makes next inherit it.)
        if (!p->bEpuise) {
            lua_sethook(p->L, Compte, LUA_MASKCOUNT, 1);
            if (L != p->L) lua_sethook(L, Compte, LUA_MASKCOUNT, 1);
        }
        p->bEpuise = true;
        char sz[160];
        std::snprintf(sz, sizeof sz, "stopped after %llu instructions (endless loop?)",
                      static_cast<unsigned long long>(nBudget));
        luaL_error(L, "%s", sz);
    }
}

// Pushes the environment of a run: one table per open window instance,
// shared by all the code of that window (its declarations, its own events
// and its controls' events), so that what the declarations set is seen by
// the rest and by no other window; code without a window gets a table of its
// own. Both read through to the globals (_G), which the whole project shares.
void PousseEnvironnement(lua_State* L, void* pFenetre) {
    if (pFenetre) {
        lua_getfield(L, LUA_REGISTRYINDEX, pszCLE_ENVS);
        if (lua_rawgetp(L, -1, pFenetre) == LUA_TTABLE) {
            lua_remove(L, -2);
            return;
        }
        lua_pop(L, 1);
    }
    lua_newtable(L);
    lua_pushlightuserdata(L, &cCLE_FENETRE);
    lua_pushlightuserdata(L, pFenetre);
    lua_rawset(L, -3);
    lua_getfield(L, LUA_REGISTRYINDEX, pszCLE_META_ENV);
    lua_setmetatable(L, -2);
    if (pFenetre) {
        lua_pushvalue(L, -1);
        lua_rawsetp(L, -3, pFenetre);
        lua_remove(L, -2);
    }
}

void PoseObjetEnv(lua_State* L, int nEnv, void* pObjet) {
    lua_pushlightuserdata(L, &cCLE_OBJET);
    if (pObjet) lua_pushlightuserdata(L, pObjet);
    else lua_pushnil(L);
    lua_rawset(L, nEnv);
}

} // namespace

// ---------------------------------------------------------------- runner

CRunnerLua::CRunnerLua(STAccesModule acces) : m_p(std::make_unique<STEtat>()) {
    m_p->acces = std::move(acces);
    m_p->pRunner = this;
    lua_State* L = luaL_newstate();
    m_p->L = L;
    if (!L) return;
    luaL_openlibs(L);
    lua_pushlightuserdata(L, m_p.get());
    lua_setfield(L, LUA_REGISTRYINDEX, pszCLE_ETAT);
    lua_newtable(L);
    lua_setfield(L, LUA_REGISTRYINDEX, pszCLE_FONCTIONS);
    lua_newtable(L);
    lua_setfield(L, LUA_REGISTRYINDEX, pszCLE_ENVS);
    // The globals find the module's functions and the open windows...
    lua_pushglobaltable(L);
    lua_newtable(L);
    lua_pushcfunction(L, ResoutNomGlobal);
    lua_setfield(L, -2, "__index");
    lua_setmetatable(L, -2);
    lua_pop(L, 1);
    // ...and every run's environment finds the names of its code.
    lua_newtable(L);
    lua_pushcfunction(L, ResoutNomEnv);
    lua_setfield(L, -2, "__index");
    lua_setfield(L, LUA_REGISTRYINDEX, pszCLE_META_ENV);
    // Windows and controls.
    luaL_newmetatable(L, pszMETA_OBJET);
    lua_pushcfunction(L, IndexObjet);
    lua_setfield(L, -2, "__index");
    lua_pushcfunction(L, EcritObjet);
    lua_setfield(L, -2, "__newindex");
    lua_pushcfunction(L, TexteObjet);
    lua_setfield(L, -2, "__tostring");
    lua_pushcfunction(L, EgalObjets);
    lua_setfield(L, -2, "__eq");
    lua_pushstring(L, "kv.objet");
    lua_setfield(L, -2, "__name");
    lua_pop(L, 1);
    lua_sethook(L, Compte, LUA_MASKCOUNT, nPAS_HOOK);
}

CRunnerLua::~CRunnerLua() {
    if (m_p && m_p->L) lua_close(m_p->L);
}

uint64_t CRunnerLua::nGetBudget() const { return m_nBudget; }

bool CRunnerLua::bAjouteCode(uint64_t nID, int nEvenement, const std::string& sSource, const std::string& sNomComplet) {
    lua_State* L = m_p->L;
    if (!L) return false;
    STEtat::STChunk& chunk = m_p->code[{nID, nEvenement}];
    if (chunk.nRef != LUA_NOREF) luaL_unref(L, LUA_REGISTRYINDEX, chunk.nRef);
    chunk.nRef = LUA_NOREF;
    chunk.sErreur.clear();
    const char* pszEvenement = pszNomEvenement(static_cast<uint32_t>(nEvenement));
    chunk.sNom = sNomComplet + ":" + (pszEvenement ? pszEvenement : std::to_string(nEvenement));
    // The code is the body of a function of its environment and parameters,
    // written on its first line so that line numbers stay those of the source.
    std::string sTexte = "return function(_ENV, ...) " + sSource + "\nend";
    std::string sNomChunk = "=" + chunk.sNom;
    int nTop = lua_gettop(L);
    bool bOk = false;
    if (luaL_loadbuffer(L, sTexte.data(), sTexte.size(), sNomChunk.c_str()) == LUA_OK) {
        if (lua_pcall(L, 0, 1, 0) == LUA_OK && lua_isfunction(L, -1)) {
            chunk.nRef = luaL_ref(L, LUA_REGISTRYINDEX);
            bOk = true;
        }
    }
    if (!bOk) {
        const char* psz = lua_tostring(L, -1);
        chunk.sErreur = psz ? psz : "the code does not compile";
        m_sDerniereErreur = chunk.sErreur;
        std::fprintf(stderr, "lua: %s\n", chunk.sErreur.c_str());
    }
    lua_settop(L, nTop);
    return bOk;
}

bool CRunnerLua::bCharge(CConteneurProjet& projet) {
    std::vector<STEntreeCode> tab;
    if (!projet.bListeCode(tab)) {
        m_sDerniereErreur = projet.sGetErreur();
        std::fprintf(stderr, "lua: %s\n", m_sDerniereErreur.c_str());
        return false;
    }
    bool bOk = true;
    for (const STEntreeCode& e : tab) {
        if (!bNomsEgaux(sDepuisUtf8(e.sLangage), L"lua")) continue;
        if (!bAjouteCode(e.nId, static_cast<int>(e.nEvenement), e.sSource, e.sNom)) bOk = false;
    }
    return bOk;
}

bool CRunnerLua::bChargeFichier(const std::string& sChemin) {
    CConteneurProjet projet;
    if (!projet.bOuvre(sChemin)) {
        m_sDerniereErreur = projet.sGetErreur();
        std::fprintf(stderr, "lua: %s\n", m_sDerniereErreur.c_str());
        return false;
    }
    return bCharge(projet);
}

bool CRunnerLua::bPossedeCode(uint64_t nID, int nEvenement) { return m_p->code.count({nID, nEvenement}) != 0; }

int CRunnerLua::nExecute(const STExecutionCode& st) {
    lua_State* L = m_p->L;
    if (!L) return eLUA_ERREUR_EXECUTION;
    try {
        // The opening parameters: given to the declaration code, kept for the
        // window's other events.
        const std::vector<STValeurHote>* pParametres = nullptr;
        if (st.nEvenement == 0) {
            std::vector<STValeurHote> tab;
            if (st.pParametres) tab = *static_cast<const std::vector<STValeurHote>*>(st.pParametres);
            if (st.piObjet) pParametres = &(m_p->parametres[st.piObjet] = std::move(tab));
            else if (!tab.empty()) pParametres = static_cast<const std::vector<STValeurHote>*>(st.pParametres);
        } else if (st.piObjet) {
            auto it = m_p->parametres.find(st.piObjet);
            if (it != m_p->parametres.end()) pParametres = &it->second;
        }

        auto it = m_p->code.find({st.nID, st.nEvenement});
        if (it == m_p->code.end()) return eLUA_OK;
        if (it->second.nRef == LUA_NOREF) {
            m_sDerniereErreur = it->second.sErreur;
            SignaleErreur(it->second.sNom);
            return eLUA_ERREUR_COMPILATION;
        }
        // The window the code belongs to: its controls are the code's names.
        void* pFenetre = m_p->pFenetreDe(st.piObjet);
        // A control's code sees its window's opening parameters.
        if (!pParametres && pFenetre) {
            auto itp = m_p->parametres.find(pFenetre);
            if (itp != m_p->parametres.end()) pParametres = &itp->second;
        }
        int nTop = lua_gettop(L);
        if (!lua_checkstack(L, 6 + (pParametres ? static_cast<int>(pParametres->size()) : 0))) {
            m_sDerniereErreur = it->second.sNom + ": too many parameters";
            SignaleErreur(it->second.sNom);
            return eLUA_ERREUR_EXECUTION;
        }
        lua_pushcfunction(L, Trace);
        int nTrace = lua_gettop(L);
        lua_rawgeti(L, LUA_REGISTRYINDEX, it->second.nRef);
        PousseEnvironnement(L, pFenetre);
        const int nEnv = lua_gettop(L);
        // The object whose code runs, for this run (a nested run of the same
        // window puts its own and gives this one back when it ends).
        lua_pushlightuserdata(L, &cCLE_OBJET);
        lua_rawget(L, nEnv);
        void* pObjetAvant = lua_touserdata(L, -1);
        lua_pop(L, 1);
        PoseObjetEnv(L, nEnv, st.piObjet);
        lua_pushvalue(L, nEnv);
        const int nRefEnv = luaL_ref(L, LUA_REGISTRYINDEX);
        int nArgs = 1;
        if (pParametres) {
            for (const STValeurHote& v : *pParametres) PousseValeur(L, m_p.get(), v);
            nArgs += static_cast<int>(pParametres->size());
        }
        // A run nested in another (a window opened by the code) counts its
        // own instructions.
        uint64_t nCompteAvant = m_p->nCompte;
        bool bEpuiseAvant = m_p->bEpuise;
        m_p->nCompte = 0;
        m_p->bEpuise = false;
        ++m_p->nProfondeur;
        int nRes = lua_pcall(L, nArgs, 0, nTrace);
        --m_p->nProfondeur;
        lua_rawgeti(L, LUA_REGISTRYINDEX, nRefEnv);
        PoseObjetEnv(L, lua_gettop(L), pObjetAvant);
        lua_pop(L, 1);
        luaL_unref(L, LUA_REGISTRYINDEX, nRefEnv);
        bool bEpuise = m_p->bEpuise;
        m_p->nCompte = nCompteAvant;
        m_p->bEpuise = bEpuiseAvant;
        if (bEpuise) lua_sethook(L, Compte, LUA_MASKCOUNT, bEpuiseAvant ? 1 : nPAS_HOOK);
        int nCode = eLUA_OK;
        if (nRes != LUA_OK && lua_touserdata(L, -1) != &cARRET) {
            const char* psz = lua_tostring(L, -1);
            m_sDerniereErreur = psz ? psz : "error object is not a string";
            SignaleErreur(it->second.sNom);
            nCode = bEpuise ? eLUA_BUDGET_EPUISE : eLUA_ERREUR_EXECUTION;
        }
        lua_settop(L, nTop);
        return nCode;
    } catch (const std::exception& x) {
        m_sDerniereErreur = std::string("lua runner: ") + x.what();
    } catch (...) {
        m_sDerniereErreur = "lua runner: unknown exception";
    }
    SignaleErreur("");
    return eLUA_ERREUR_EXECUTION;
}

namespace {
// The text of the error box of a run that failed: where (window, control,
// event, line) and what. The message starts with Lua's "CHUNK:LINE: "; a
// chunk is named "WINDOW.CONTROL:event" (the window's own code:
// "WINDOW:event").
std::string sTexteBoiteErreur(const std::string& sMessage, const std::string& sChunk) {
    std::string sPremiere = sMessage.substr(0, sMessage.find('\n'));
    std::string sOu = sChunk, sLigne, sQuoi = sPremiere;
    // The chunk that raised (a function of the declarations may be the one).
    size_t nEv = sPremiere.find(':');
    size_t nLigne = nEv == std::string::npos ? nEv : sPremiere.find(':', nEv + 1);
    size_t nFin = nLigne == std::string::npos ? nLigne : sPremiere.find(':', nLigne + 1);
    if (nFin != std::string::npos && nFin > nLigne + 1 &&
        sPremiere.find_first_not_of("0123456789", nLigne + 1) == nFin) {
        sOu = sPremiere.substr(0, nLigne);
        sLigne = sPremiere.substr(nLigne + 1, nFin - nLigne - 1);
        sQuoi = sPremiere.substr(nFin + 1);
        if (!sQuoi.empty() && sQuoi[0] == ' ') sQuoi.erase(0, 1);
    }
    std::string sObjet = sOu, sEvenement;
    if (size_t k = sOu.rfind(':'); k != std::string::npos) {
        sObjet = sOu.substr(0, k);
        sEvenement = sOu.substr(k + 1);
    }
    std::string sFenetre = sObjet, sControle;
    if (size_t k = sObjet.find('.'); k != std::string::npos) {
        sFenetre = sObjet.substr(0, k);
        sControle = sObjet.substr(k + 1);
    }
    std::string s = "Error in event code\r\n";
    if (!sFenetre.empty()) s += "Window: " + sFenetre + "\r\n";
    if (!sControle.empty()) s += "Control: " + sControle + "\r\n";
    if (!sEvenement.empty()) s += "Event: " + sEvenement + "\r\n";
    if (!sLigne.empty()) s += "Line: " + sLigne + "\r\n";
    return s + "\r\n" + sQuoi;
}
} // namespace

void CRunnerLua::SignaleErreur(const std::string& sChunk) {
    ++m_nErreurs;
    std::fprintf(stderr, "lua: %s\n", m_sDerniereErreur.c_str());
    // An error while the error box is up (the project's own message box
    // failing) is printed only: showing it would ask the same code again.
    if (m_bBoiteErreur) return;
    struct Garde {
        bool& b;
        ~Garde() { b = false; }
    } garde{m_bBoiteErreur = true};
    // The module's error box shows it to whoever runs the program.
    auto pfnCommande = reinterpret_cast<PFN_CommandeComposante>(
        m_p->acces.fnSymbole ? m_p->acces.fnSymbole("CommandeComposante") : nullptr);
    if (!pfnCommande) return;
    const std::wstring sTexte = sDepuisUtf8(sTexteBoiteErreur(m_sDerniereErreur, sChunk));
    pfnCommande(KV_COMMANDE_BOITE_ERREUR, const_cast<wchar_t*>(sTexte.c_str()));
}

bool CRunnerLua::bProcedureExiste(const std::wstring& sNom) {
    lua_State* L = m_p->L;
    if (!L || sNom.empty()) return false;
    const std::string s = sVersUtf8(sNom);
    lua_pushglobaltable(L);
    lua_pushlstring(L, s.data(), s.size());
    const bool b = lua_rawget(L, -2) == LUA_TFUNCTION;
    lua_pop(L, 2);
    return b;
}

int CRunnerLua::nAppelleProcedure(const std::wstring& sNom, const std::vector<STValeurHote>& tabParametres,
                                  STValeurHote* pResultat) {
    lua_State* L = m_p->L;
    if (!L || !bProcedureExiste(sNom)) return 1;
    const std::string s = sVersUtf8(sNom);
    const int nTop = lua_gettop(L);
    if (!lua_checkstack(L, 4 + static_cast<int>(tabParametres.size()))) return 2;
    lua_pushcfunction(L, Trace);
    const int nTrace = lua_gettop(L);
    lua_pushglobaltable(L);
    lua_pushlstring(L, s.data(), s.size());
    lua_rawget(L, -2);
    lua_remove(L, -2);
    for (const STValeurHote& v : tabParametres) PousseValeur(L, m_p.get(), v);
    // Counted as event code is.
    const uint64_t nCompteAvant = m_p->nCompte;
    const bool bEpuiseAvant = m_p->bEpuise;
    m_p->nCompte = 0;
    m_p->bEpuise = false;
    ++m_p->nProfondeur;
    const int nRes = lua_pcall(L, static_cast<int>(tabParametres.size()), 1, nTrace);
    --m_p->nProfondeur;
    const bool bEpuise = m_p->bEpuise;
    m_p->nCompte = nCompteAvant;
    m_p->bEpuise = bEpuiseAvant;
    if (bEpuise) lua_sethook(L, Compte, LUA_MASKCOUNT, bEpuiseAvant ? 1 : nPAS_HOOK);
    int nCode = 0;
    if (nRes != LUA_OK) {
        if (lua_touserdata(L, -1) != &cARRET) {
            const char* psz = lua_tostring(L, -1);
            m_sDerniereErreur = psz ? psz : "error object is not a string";
            SignaleErreur("procedure " + s);
            nCode = 2;
        }
    } else if (pResultat && !lua_isnil(L, -1)) {
        std::string sErreur;
        if (!ValeurHote(L, m_p.get(), -1, *pResultat, sErreur)) *pResultat = STValeurHote{};
    }
    lua_settop(L, nTop);
    return nCode;
}

int CRunnerLua::nExecuteProcedureNommee(const std::wstring& sNom, const std::vector<std::wstring>& tabParametres,
                                        int& nResultat) {
    // The parameters come as texts; those written as a plain integer
    // (the box's kind and default button) reach the code as integers.
    std::vector<STValeurHote> tab;
    for (const std::wstring& p : tabParametres) {
        STValeurHote v;
        const size_t nDebut = !p.empty() && p[0] == L'-' ? 1 : 0;
        const bool bEntier = p.size() > nDebut && p.size() - nDebut <= 9 &&
                             p.find_first_not_of(L"0123456789", nDebut) == std::wstring::npos &&
                             (p[nDebut] != L'0' || p.size() == nDebut + 1);
        if (bEntier) {
            v.nType = KS_I4;
            v.nEntier = std::wcstol(p.c_str(), nullptr, 10);
        } else {
            v.nType = KS_PSTRW;
            v.sTexte = p;
        }
        tab.push_back(std::move(v));
    }
    STValeurHote r;
    const int n = nAppelleProcedure(sNom, tab, &r);
    if (n != 0) return n;
    // The procedure answers an integer (a number given as text is read too).
    if (r.nType == KS_PSTRW) nResultat = static_cast<int>(std::wcstol(r.sTexte.c_str(), nullptr, 10));
    else if (r.nType == KS_R8 || r.nType == KS_R4) nResultat = static_cast<int>(r.dReel);
    else nResultat = static_cast<int>(r.nEntier);
    return 0;
}

void CRunnerLua::FinFenetre(void* pFenetre) {
    lua_State* L = m_p->L;
    m_p->parametres.erase(pFenetre);
    if (!L || !pFenetre) return;
    // A closed window's values go with it: a window opened later at the same
    // address starts afresh.
    lua_getfield(L, LUA_REGISTRYINDEX, pszCLE_ENVS);
    lua_pushnil(L);
    lua_rawsetp(L, -2, pFenetre);
    lua_pop(L, 1);
}

int CRunnerLua::nExecuteProcedure(void*) {
    // Procedures held by reference (timers) come with the language's objects.
    return 1;
}

bool CRunnerLua::bLitGlobale(const char* pszNom, STValeurHote& v) {
    lua_State* L = m_p->L;
    if (!L || !pszNom) return false;
    lua_pushglobaltable(L);
    lua_pushstring(L, pszNom);
    lua_rawget(L, -2);
    std::string sErreur;
    bool bOk = !lua_isnil(L, -1) && ValeurHote(L, m_p.get(), -1, v, sErreur);
    lua_pop(L, 2);
    return bOk;
}

KVVM_EXPORT IRunnerLua* KVVM_pCreeRunnerLua(const STAccesModule* pAcces) {
    return new CRunnerLua(pAcces ? *pAcces : STAccesModule{});
}
