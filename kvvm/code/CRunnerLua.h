// The Lua 5.4 code runner: event code written in Lua in the project, loaded
// from the compiled project and run in one Lua state.
//
// Each (object, event) chunk is compiled once, under the name
// "FULL.NAME:event" so that messages read "FEN_X.BTN_OK:click:3: ...". A run
// gets a fresh environment table that reads through to the globals (write
// `_G.NAME = v` to keep a value between runs). A window's opening parameters
// are `...` in its declaration code and in the window's other events.
//
// A global name that is not defined and names a language function of the
// module becomes a Lua function calling the module's glue KSL_NAME_<i>; the
// syntax <i> is chosen by ChoisitSyntaxe from the arguments. The component's
// error object becomes a Lua error "number: message".
//
// Errors never leave the runner as exceptions: they are written to stderr
// with a traceback and nExecute returns a non-zero code. An endless loop is
// stopped after an instruction budget.
#pragma once
#include "kv/host.h"
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CConteneurProjet;
struct lua_State;

// What the runner needs of the host, asked for when needed (the module may
// be loaded after the runner is made).
struct STAccesModule {
    std::function<void*(const char*)> fnSymbole;   // an export of the module, or null
    std::function<IVM*()> fnVM;
    std::function<IKSLibrary*()> fnComposante;
};

// Codes returned by nExecute.
enum eRESULTAT_LUA : int {
    eLUA_OK = 0,
    eLUA_ERREUR_EXECUTION = 1,   // a Lua error while the code ran
    eLUA_ERREUR_COMPILATION = 2, // the chunk did not compile
    eLUA_BUDGET_EPUISE = 3,      // the instruction budget ran out
};

// The kind of a Lua argument, as far as the choice of syntax cares.
enum class eGENRE_ARG { NIL, BOOLEEN, ENTIER, REEL, TEXTE, AUTRE };

// How a declared argument is handed to the glue.
enum class eARG_GLUE {
    NOM_FENETRE,   // the address of a `const wchar_t*`
};

// One syntax of a language function: the glue to call and its declared
// arguments; the arguments beyond go to the call's further parameters.
struct STSyntaxe {
    std::string sGlue;                 // "KSL_Ouvre_0"
    std::vector<eARG_GLUE> tabDeclares;
};

// The syntax of a language function for these arguments, or false when the
// function is unknown or no syntax fits. (The module's function table with
// its signatures will replace this small table.)
bool ChoisitSyntaxe(const std::string& sNom, const std::vector<eGENRE_ARG>& tabArgs, STSyntaxe& st);

// The runner as programs outside the host see it.
class IRunnerLua : public ICodeRunner {
public:
    // Compiles every code entry of language "lua" of the project. Returns
    // false when one did not compile (the others are loaded; the message of
    // each failure is written to stderr and kept for the run of that code).
    virtual bool bCharge(CConteneurProjet& projet) = 0;
    virtual bool bChargeFichier(const std::string& sChemin) = 0;
    // One chunk (also what bCharge uses). False when it did not compile.
    virtual bool bAjouteCode(uint64_t nID, int nEvenement, const std::string& sSource, const std::string& sNomComplet) = 0;
    // Instructions a run may execute before it is stopped (0: no limit).
    virtual void SetBudget(uint64_t nInstructions) = 0;
    // The message of the last error (compilation or run), with its traceback.
    virtual const std::string& sDerniereErreur() const = 0;
    // A global of the Lua state as a host value (false: nil or absent).
    virtual bool bLitGlobale(const char* pszNom, STValeurHote& v) = 0;
};

class CRunnerLua : public IRunnerLua {
public:
    static constexpr uint64_t nBUDGET_DEFAUT = 2'000'000'000ull;

    explicit CRunnerLua(STAccesModule acces);
    ~CRunnerLua() override;
    CRunnerLua(const CRunnerLua&) = delete;
    CRunnerLua& operator=(const CRunnerLua&) = delete;

    bool bPossedeCode(uint64_t nID, int nEvenement) override;
    int nExecute(const STExecutionCode& st) override;
    int nExecuteProcedure(void* pProcedure) override;

    bool bCharge(CConteneurProjet& projet) override;
    bool bChargeFichier(const std::string& sChemin) override;
    bool bAjouteCode(uint64_t nID, int nEvenement, const std::string& sSource, const std::string& sNomComplet) override;
    void SetBudget(uint64_t nInstructions) override { m_nBudget = nInstructions; }
    uint64_t nGetBudget() const;
    const std::string& sDerniereErreur() const override { return m_sDerniereErreur; }
    bool bLitGlobale(const char* pszNom, STValeurHote& v) override;

    struct STEtat;

private:
    std::unique_ptr<STEtat> m_p;
    uint64_t m_nBudget = nBUDGET_DEFAUT;
    std::string m_sDerniereErreur;
};

// Made inside the host's library, for programs that load it with dlopen.
extern "C" {
typedef IRunnerLua* (*PFN_KVVM_pCreeRunnerLua)(const STAccesModule* pAcces);
}
