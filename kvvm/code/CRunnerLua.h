// The Lua 5.4 code runner: event code written in Lua in the project, loaded
// from the compiled project and run in one Lua state.
//
// Each (object, event) chunk is compiled once, under the name
// "FULL.NAME:event" so that messages read "FEN_X.BTN_OK:click:3: ...". All
// the code of one open window instance (its declarations, its events, its
// controls' events) runs in one environment table, made when its first code
// runs and dropped when it closes: `total = 0` in the declarations is seen by
// a click code of the same window and by no other window (nor by another
// instance of it). Code without a window runs in a fresh table. Both read
// through to the globals: `_G.NAME = v` is seen by the whole project. A
// window's opening parameters are `...` in its declaration code and in the
// window's other events.
//
// Names in the code, in this order: the run's locals and globals, the
// controls of the running code's window by their bare names (and MaFenetre,
// MoiMeme), the module's language functions, then open windows by name
// (alias or name, qualified names allowed: "FEN_X.EDT_Nom").
//
// A language function NAME becomes a Lua function calling the module's glue
// through its function table (InfoComposante 33/34/40/41): the syntax is
// chosen by the Lua arguments' kinds against the signatures, the declared
// arguments are handed as the glue expects them, the arguments beyond go to
// the call's further parameters, and the result comes back through the
// call's slot. The component's error object becomes a Lua error "number:
// message". A module function that asks to stop the running code
// (RepriseSaisie) ends the run without an error.
//
// Windows and controls are Lua objects (full userdata) whose fields are
// their properties, read and written through the module's gate
// (EDT_Nom.Valeur = "x"), and whose children are fields too
// (FEN_X.EDT_Nom) or indices (ONGLET[2]). An object named in the code
// follows its name: it is looked up again at each use, so a closed window or
// a deleted control gives a clear error instead of a dangling pointer. An
// object handed back by the module (EnumereChampFenetre...) keeps its
// identity and is checked at each use.
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
    std::function<IObjGate*()> fnGate;
    // The open windows' instances (the pointers the module registered), the
    // most recently opened last.
    std::function<std::vector<void*>()> fnFenetres;
    // The stop the module asked during the last call (0: none); cleared.
    std::function<int()> fnPrendStop;
};

// Codes returned by nExecute.
enum eRESULTAT_LUA : int {
    eLUA_OK = 0,
    eLUA_ERREUR_EXECUTION = 1,   // a Lua error while the code ran
    eLUA_ERREUR_COMPILATION = 2, // the chunk did not compile
    eLUA_BUDGET_EPUISE = 3,      // the instruction budget ran out
};

// The kind of a Lua argument, as far as the choice of syntax cares.
enum class eGENRE_ARG { NIL, BOOLEEN, ENTIER, REEL, TEXTE, OBJET, AUTRE };

// One syntax of a function as the runner reads it from the module's table
// (its result comes back through the call's slot as a typed value, so the
// result's type word is not kept).
struct STSyntaxeLua {
    void* pfnGlue = nullptr;
    std::vector<uint32_t> tabParametres;  // type words
    bool bVariadique = false;
};

// The syntax of a function that suits these arguments best: every declared
// parameter must accept its argument (exact kinds weigh more than those the
// glue converts: a number as text, a name as an object), the count must be
// the declared one, or at least it for a variadic syntax (an exact count
// wins). -1 when none suits; syntaxes without glue are never chosen.
int nChoisitSyntaxe(const std::vector<STSyntaxeLua>& tabSyntaxes, const std::vector<eGENRE_ARG>& tabArgs);

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
    // Runs that ended on an error the code did not catch (compilation,
    // run time, instruction budget), since the runner was made.
    virtual int nGetNbErreurs() const = 0;
    // The project's procedures are its global functions (_G.NAME, or a
    // `function NAME()` of code without a window). Running one: 0 when it
    // ran (its result in *pResultat when given), 1 when there is none, 2
    // when it failed (reported as an error of event code).
    virtual bool bProcedureExiste(const std::wstring& sNom) = 0;
    virtual int nAppelleProcedure(const std::wstring& sNom, const std::vector<STValeurHote>& tabParametres,
                                  STValeurHote* pResultat) = 0;
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
    void FinFenetre(void* pFenetre) override;

    bool bCharge(CConteneurProjet& projet) override;
    bool bChargeFichier(const std::string& sChemin) override;
    bool bAjouteCode(uint64_t nID, int nEvenement, const std::string& sSource, const std::string& sNomComplet) override;
    void SetBudget(uint64_t nInstructions) override { m_nBudget = nInstructions; }
    uint64_t nGetBudget() const;
    const std::string& sDerniereErreur() const override { return m_sDerniereErreur; }
    bool bLitGlobale(const char* pszNom, STValeurHote& v) override;
    int nGetNbErreurs() const override { return m_nErreurs; }
    bool bProcedureExiste(const std::wstring& sNom) override;
    int nAppelleProcedure(const std::wstring& sNom, const std::vector<STValeurHote>& tabParametres,
                          STValeurHote* pResultat) override;
    int nExecuteProcedureNommee(const std::wstring& sNom, const std::vector<std::wstring>& tabParametres,
                                int& nResultat) override;

    struct STEtat;

private:
    std::unique_ptr<STEtat> m_p;
    uint64_t m_nBudget = nBUDGET_DEFAUT;
    std::string m_sDerniereErreur;
    int m_nErreurs = 0;
    bool m_bBoiteErreur = false;  // the error box of an error is being shown
    // Reports an error of a run: stderr, the count, the error box.
    void SignaleErreur(const std::string& sChunk);
};

// Made inside the host's library, for programs that load it with dlopen.
extern "C" {
typedef IRunnerLua* (*PFN_KVVM_pCreeRunnerLua)(const STAccesModule* pAcces);
}
