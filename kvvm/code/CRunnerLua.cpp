#include "code/CRunnerLua.h"
#include "vm/Export.h"
#include "conteneur/CConteneurProjet.h"
#include "conteneur/Identifiants.h"
#include "kv/types.h"
#include <lua.hpp>
#include <cstdio>
#include <cstring>
#include <map>

// Lua is built as C here: its errors are long jumps. No C++ object with a
// destructor may be alive in a frame a Lua error crosses, so every C function
// below does its C++ work in a function that returns, then raises.

namespace {

const char* const pszCLE_ETAT = "kv.runner";         // registry: the runner's state (light userdata)
const char* const pszCLE_FONCTIONS = "kv.fonctions"; // registry: language functions made so far
const char* const pszCLE_META_ENV = "kv.meta_env";   // registry: metatable of the run environments

constexpr int nPAS_HOOK = 1000;  // instructions between two counts

} // namespace

// ---------------------------------------------------------------- syntaxes

bool ChoisitSyntaxe(const std::string& sNom, const std::vector<eGENRE_ARG>& tabArgs, STSyntaxe& st) {
    // The window functions: a window name, then the parameters of the window
    // (or, for Ferme, its return values).
    static const char* const tabFenetre[] = {"Ouvre", "OuvreFille", "OuvreSoeur", "Utilise", "OuvrePopUp"};
    bool bPremierTexte = !tabArgs.empty() && tabArgs[0] == eGENRE_ARG::TEXTE;
    for (const char* psz : tabFenetre) {
        if (sNom != psz) continue;
        if (!bPremierTexte) return false;
        st.sGlue = "KSL_" + sNom + "_0";
        st.tabDeclares = {eARG_GLUE::NOM_FENETRE};
        return true;
    }
    if (sNom == "Ferme") {
        // Ferme(): the calling code's window; Ferme("FEN_X", ...): that
        // window ("" is the calling code's); Ferme(42): return values only.
        if (bPremierTexte) {
            st.sGlue = "KSL_Ferme_1";
            st.tabDeclares = {eARG_GLUE::NOM_FENETRE};
        } else {
            st.sGlue = "KSL_Ferme_0";
            st.tabDeclares.clear();
        }
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- state

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
};

namespace {

using PFN_GLUE = int (*)(STKSAppel*, IKSLibrary*, void**);

std::string VersUtf8(const std::wstring& s) { return sVersUtf8(s); }

std::wstring TexteLua(lua_State* L, int i) {
    size_t n = 0;
    const char* psz = lua_tolstring(L, i, &n);
    return psz ? sDepuisUtf8(std::string_view(psz, n)) : std::wstring();
}

void PousseValeur(lua_State* L, const STValeurHote& v) {
    switch (v.nType) {
    case KS_VIDE: lua_pushnil(L); break;
    case KS_BOOL: lua_pushboolean(L, v.nEntier != 0); break;
    case KS_UI1: case KS_UI2: case KS_UI4: case KS_UI8: case KS_I1: case KS_I2: case KS_I4: case KS_I8:
    case KS_I4BIS: case KS_DUREE:
        lua_pushinteger(L, static_cast<lua_Integer>(v.nEntier));
        break;
    case KS_R4: case KS_R8: lua_pushnumber(L, v.dReel); break;
    case KS_PSTRW: case KS_DSTRW: {
        std::string s = VersUtf8(v.sTexte);
        lua_pushlstring(L, s.data(), s.size());
        break;
    }
    default:
        if (v.pObjet) lua_pushlightuserdata(L, v.pObjet);
        else lua_pushnil(L);
        break;
    }
}

// A Lua value as a host value; false for values that have none (tables,
// functions...).
bool ValeurHote(lua_State* L, int i, STValeurHote& v) {
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
    default: return false;
    }
}

eGENRE_ARG Genre(lua_State* L, int i) {
    switch (lua_type(L, i)) {
    case LUA_TNIL: return eGENRE_ARG::NIL;
    case LUA_TBOOLEAN: return eGENRE_ARG::BOOLEEN;
    case LUA_TNUMBER: return lua_isinteger(L, i) ? eGENRE_ARG::ENTIER : eGENRE_ARG::REEL;
    case LUA_TSTRING: return eGENRE_ARG::TEXTE;
    default: return eGENRE_ARG::AUTRE;
    }
}

// The call of a language function: leaves its results on the stack and
// returns their count, or leaves the message and returns -1.
int nAppelleFonction(lua_State* L) {
    std::string sErreur;
    try {
        CRunnerLua::STEtat* p = CRunnerLua::STEtat::pDepuis(L);
        std::string sNom = lua_tostring(L, lua_upvalueindex(1));
        int nArgs = lua_gettop(L);
        std::vector<eGENRE_ARG> tabGenres;
        for (int i = 1; i <= nArgs; ++i) tabGenres.push_back(Genre(L, i));
        STSyntaxe syntaxe;
        if (!ChoisitSyntaxe(sNom, tabGenres, syntaxe)) {
            sErreur = sNom + ": no syntax of this function takes these arguments";
        } else {
            auto pfn = reinterpret_cast<PFN_GLUE>(p->acces.fnSymbole ? p->acces.fnSymbole(syntaxe.sGlue.c_str()) : nullptr);
            IKSLibrary* piCompo = p->acces.fnComposante ? p->acces.fnComposante() : nullptr;
            int nDeclares = static_cast<int>(syntaxe.tabDeclares.size());
            if (!pfn) {
                sErreur = sNom + ": the module has no " + syntaxe.sGlue;
            } else if (!piCompo) {
                sErreur = sNom + ": the module is not started";
            } else if (nArgs < nDeclares) {
                sErreur = sNom + ": " + std::to_string(nDeclares) + " argument(s) expected";
            } else {
                // Declared arguments; the vectors keep their addresses.
                std::vector<std::wstring> tabTextes(nDeclares);
                std::vector<const wchar_t*> tabPointeurs(nDeclares, nullptr);
                std::vector<void*> tabArgs(nDeclares + 1, nullptr);
                for (int i = 0; i < nDeclares && sErreur.empty(); ++i) {
                    switch (syntaxe.tabDeclares[i]) {
                    case eARG_GLUE::NOM_FENETRE:
                        if (lua_type(L, i + 1) != LUA_TSTRING) {
                            sErreur = sNom + ": argument " + std::to_string(i + 1) + " must be a window name";
                            break;
                        }
                        tabTextes[i] = TexteLua(L, i + 1);
                        tabPointeurs[i] = tabTextes[i].c_str();
                        tabArgs[i] = &tabPointeurs[i];
                        break;
                    }
                }
                STSlotAppel slot;
                for (int i = nDeclares + 1; i <= nArgs && sErreur.empty(); ++i) {
                    STValeurHote v;
                    if (!ValeurHote(L, i, v))
                        sErreur = sNom + ": argument " + std::to_string(i) + " (" + luaL_typename(L, i) +
                                  ") cannot be handed to the module";
                    else
                        slot.tabParamSupp.push_back(std::move(v));
                }
                if (sErreur.empty()) {
                    STKSAppel appel;
                    appel.pVM = p->acces.fnVM ? p->acces.fnVM() : nullptr;
                    appel.pSlot = &slot;
                    CXError* e = piCompo->pclGetError();
                    if (e) e->RAZ();
                    pfn(&appel, piCompo, tabArgs.data());
                    e = piCompo->pclGetError();
                    if (e && e->bEstErreur()) {
                        sErreur = std::to_string(e->nGetErreur()) + ": " + VersUtf8(e->sGetMessage());
                        e->RAZ();
                    } else {
                        lua_settop(L, 0);
                        if (!slot.bResultat) return 0;
                        PousseValeur(L, slot.stResultat);
                        return 1;
                    }
                }
            }
        }
    } catch (const std::exception& x) {
        sErreur = std::string("exception in the module: ") + x.what();
    } catch (...) {
        sErreur = "exception in the module";
    }
    lua_pushlstring(L, sErreur.data(), sErreur.size());
    return -1;
}

int AppelFonction(lua_State* L) {
    int n = nAppelleFonction(L);
    if (n < 0) {
        // Where the calling code is, as Lua's own errors say it.
        luaL_where(L, 1);
        lua_insert(L, -2);
        lua_concat(L, 2);
        return lua_error(L);
    }
    return n;
}

// __index of the globals: a language function of the module by its name,
// when the module exports its first syntax.
bool bEstFonctionModule(lua_State* L, const char* pszNom) {
    try {
        CRunnerLua::STEtat* p = CRunnerLua::STEtat::pDepuis(L);
        if (!p || !p->acces.fnSymbole) return false;
        std::string sGlue = std::string("KSL_") + pszNom + "_0";
        return p->acces.fnSymbole(sGlue.c_str()) != nullptr;
    } catch (...) {
        return false;
    }
}

int ResoutNom(lua_State* L) {
    if (lua_type(L, 2) != LUA_TSTRING) return 0;
    const char* pszNom = lua_tostring(L, 2);
    lua_getfield(L, LUA_REGISTRYINDEX, pszCLE_FONCTIONS);
    if (lua_getfield(L, -1, pszNom) != LUA_TNIL) return 1;
    lua_pop(L, 1);
    if (!bEstFonctionModule(L, pszNom)) return 0;
    lua_pushstring(L, pszNom);
    lua_pushcclosure(L, AppelFonction, 1);
    lua_pushvalue(L, -1);
    lua_setfield(L, -3, pszNom);
    return 1;
}

// Message handler of a run: the message with the traceback.
int Trace(lua_State* L) {
    const char* psz = lua_tostring(L, 1);
    if (!psz) psz = luaL_tolstring(L, 1, nullptr);
    luaL_traceback(L, L, psz, 1);
    return 1;
}

void Compte(lua_State* L, lua_Debug*) {
    CRunnerLua::STEtat* p = CRunnerLua::STEtat::pDepuis(L);
    if (!p || p->nProfondeur == 0) return;
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
    // The globals find the module's functions...
    lua_pushglobaltable(L);
    lua_newtable(L);
    lua_pushcfunction(L, ResoutNom);
    lua_setfield(L, -2, "__index");
    lua_setmetatable(L, -2);
    // ...and every run's environment reads through to the globals.
    lua_newtable(L);
    lua_pushvalue(L, -2);
    lua_setfield(L, -2, "__index");
    lua_setfield(L, LUA_REGISTRYINDEX, pszCLE_META_ENV);
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
            std::fprintf(stderr, "lua: %s\n", m_sDerniereErreur.c_str());
            return eLUA_ERREUR_COMPILATION;
        }
        int nTop = lua_gettop(L);
        if (!lua_checkstack(L, 4 + (pParametres ? static_cast<int>(pParametres->size()) : 0))) {
            m_sDerniereErreur = it->second.sNom + ": too many parameters";
            std::fprintf(stderr, "lua: %s\n", m_sDerniereErreur.c_str());
            return eLUA_ERREUR_EXECUTION;
        }
        lua_pushcfunction(L, Trace);
        int nTrace = lua_gettop(L);
        lua_rawgeti(L, LUA_REGISTRYINDEX, it->second.nRef);
        lua_newtable(L);
        lua_getfield(L, LUA_REGISTRYINDEX, pszCLE_META_ENV);
        lua_setmetatable(L, -2);
        int nArgs = 1;
        if (pParametres) {
            for (const STValeurHote& v : *pParametres) PousseValeur(L, v);
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
        bool bEpuise = m_p->bEpuise;
        m_p->nCompte = nCompteAvant;
        m_p->bEpuise = bEpuiseAvant;
        if (bEpuise) lua_sethook(L, Compte, LUA_MASKCOUNT, bEpuiseAvant ? 1 : nPAS_HOOK);
        int nCode = eLUA_OK;
        if (nRes != LUA_OK) {
            const char* psz = lua_tostring(L, -1);
            m_sDerniereErreur = psz ? psz : "error object is not a string";
            std::fprintf(stderr, "lua: %s\n", m_sDerniereErreur.c_str());
            nCode = bEpuise ? eLUA_BUDGET_EPUISE : eLUA_ERREUR_EXECUTION;
        }
        lua_settop(L, nTop);
        return nCode;
    } catch (const std::exception& x) {
        m_sDerniereErreur = std::string("lua runner: ") + x.what();
    } catch (...) {
        m_sDerniereErreur = "lua runner: unknown exception";
    }
    std::fprintf(stderr, "lua: %s\n", m_sDerniereErreur.c_str());
    return eLUA_ERREUR_EXECUTION;
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
    bool bOk = !lua_isnil(L, -1) && ValeurHote(L, -1, v);
    lua_pop(L, 2);
    return bOk;
}

KVVM_EXPORT IRunnerLua* KVVM_pCreeRunnerLua(const STAccesModule* pAcces) {
    return new CRunnerLua(pAcces ? *pAcces : STAccesModule{});
}
