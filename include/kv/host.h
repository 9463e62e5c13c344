// The host's own interface, used by the launcher and by tests that drive the
// real binaries: it starts the module through its entry points and runs
// event code through a pluggable code runner.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include "kv/module.h"

// A value handed back by the module as the result of a language call.
struct STValeurHote {
    int nType = 0;
    int64_t nEntier = 0;
    double dReel = 0;
    std::wstring sTexte;
    void* pObjet = nullptr;
};

// The slot of one language call: its result and its further arguments.
struct STSlotAppel {
    STValeurHote stResultat;
    bool bResultat = false;
    std::vector<STValeurHote> tabParamSupp;
};

// One run of event code, as seen by a code runner.
struct STExecutionCode {
    uint64_t nID;
    int nEvenement;
    void* piObjet;
    const void* pParametres;
    int nNbParametres;
};

// Runs event code. The host asks the runner for every event of every object.
class ICodeRunner {
public:
    virtual ~ICodeRunner() = default;
    // Whether code exists for (identifier, event).
    virtual bool bPossedeCode(uint64_t nID, int nEvenement) = 0;
    // Runs it; returns 0, or an error code of the runner.
    virtual int nExecute(const STExecutionCode& st) = 0;
    // A procedure held by reference (timers).
    virtual int nExecuteProcedure(void* pProcedure) = 0;
    // A generic action handed over to the main thread.
    virtual void ActionGenerique(int nAction, intptr_t nParametre) {}
    // A window instance has closed: what the runner kept for it goes.
    virtual void FinFenetre(void* pFenetre) {}
    // A procedure of the project by name (the project's own message box):
    // 0 when it ran, with its integer result; 1 when there is none.
    virtual int nExecuteProcedureNommee(const std::wstring& sNom, const std::vector<std::wstring>& tabParametres, int& nResultat) {
        return 1;
    }
};

// The C++ code runner: a test registers a callable per (identifier, event)
// and reads the order in which code ran.
class IRunnerCPP : public ICodeRunner {
public:
    using FnCode = std::function<int(const STExecutionCode&)>;
    virtual void Enregistre(uint64_t nID, int nEvenement, FnCode fn) = 0;
    // A procedure for timers: the returned handle is what hCreeTimerVM takes.
    virtual void* pEnregistreProcedure(std::function<void()> fn) = 0;
    // A procedure called by name (names compare exactly), given text
    // parameters, returning an integer.
    using FnProcedureNommee = std::function<int(const std::vector<std::wstring>&)>;
    virtual void EnregistreProcedureNommee(const std::wstring& sNom, FnProcedureNommee fn) = 0;
    virtual const std::vector<std::pair<uint64_t, int>>& Journal() const = 0;
    virtual const std::vector<std::pair<int, intptr_t>>& JournalActions() const = 0;
    virtual void ViderJournal() = 0;
};

// Options of a host.
struct STOptionsHote {
    std::string sProjet;            // compiled project file, or empty
    std::string sPersistance;       // persistence store file; empty: the user's data directory
    std::string sModule;            // path of kv190obj.so; empty: beside kv190vm.so
    bool bMultitache = false;
};

class IHote {
public:
    virtual ~IHote() = default;
    // Loads the module with dlopen and runs the start-up sequence.
    virtual bool bDemarre(const STOptionsHote& st, std::string& sErreur) = 0;
    // Shuts the module down (gate Terminate, Execution(4875), TermLibrary) and unloads it.
    virtual void Arrete() = 0;

    virtual IVM* piGetVM() = 0;
    virtual IKSLibrary* piGetComposante() = 0;
    virtual IObjGate* piGetGate() = 0;
    virtual IExe* piGetExe() = 0;
    virtual void* hGetModule() = 0;                 // dlopen handle of kv190obj.so
    virtual void* pSymboleModule(const char* pszNom) = 0;
    virtual ILibShop* piGetShop() = 0;

    virtual void SetRunner(ICodeRunner* p) = 0;     // not owned
    virtual IRunnerCPP* piGetRunnerCPP() = 0;       // the C++ runner, the default one
    // The runner of the project's own code (Lua), null when the project has none.
    virtual ICodeRunner* piGetRunnerProjet() = 0;

    // What the module told the host.
    virtual int nGetNbFinModule() const = 0;        // Execution(3052) calls
    virtual int nGetNbDebutCode() const = 0;
    virtual int nGetNbFinCode() const = 0;
    virtual void SetProjet(const wchar_t* pszNom, const wchar_t* pszRepertoire) = 0;
    virtual void SetReponseQuery(int nCategorie, int nElement, intptr_t nValeur) = 0;
    virtual void SetLangue(int nLangue, int nVersionDescription, bool bGereLangues) = 0;
    // A compiled description the module can find (beside the project's).
    virtual void AjouteDescription(const wchar_t* pszNom, uint32_t nType, std::vector<uint8_t> tab) = 0;
};

extern "C" {
typedef IHote* (*PFN_KVVM_pCreeHote)();
typedef int (*PFN_KVVM_nMain)(int argc, char** argv);
}
