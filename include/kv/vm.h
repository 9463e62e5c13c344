// What the module asks of the host virtual machine, and what the host hands
// to the module. Both shared objects are built together, so these are plain
// C++ interfaces; the order of their operations is fixed here.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "kv/CXError.h"
#include "kv/conv.h"

class IVM;

// A request to find a compiled description (windows: type 2; other
// descriptions: type 8). The host fills the output with bytes it keeps
// alive for the life of the program.
struct STRechercheDescription {
    uint32_t nTaille = 92;
    const wchar_t* pszNom = nullptr;
    uint32_t nType = 2;
    const void* pDonnees = nullptr;   // out
    size_t nTailleDonnees = 0;        // out
    uint32_t nOptions = 4;            // 4 or 4097; 1026 with pszChemin; +8: the module's own library
    const wchar_t* pszChemin = nullptr;
    void* pComposante = nullptr;      // the parent's component: the search starts there
    int nCodeErreur = 0;              // out: 0, 1025 (retry by name), 1082 (ignorable) or another code
    wchar_t szMessage[40] = {};       // out: why the search failed
};

// Call context of a language call, filled by the host.
struct STKSAppel {
    IVM* pVM = nullptr;            // the virtual machine of the call
    int nFonction = 0;             // function number (0-based row of the function table)
    int nVariable = 0;             // variable number, for variable access
    intptr_t nValeurVariable = 0;  // value written, for variable access
    void* pSlot = nullptr;         // result slot, also used to fetch further arguments
};

// Questions the module asks the host through IVM::nQuery.
enum eQUESTION_VM : int {
    eQVM_MULTITHREAD = 1,         // (1, 0): is the program multithreaded (asked at LoadVM)
    eQVM_DIALOGUE_ERREUR = 8,     // (8, 0): is an error dialog shown
    eQVM_DIALOGUE_DEBUGGER = 11,  // (11, 0): is the debugger dialog open
    eQVM_TRAITEMENT = 13,         // (13, 1|2|3): caption, name, line of the running code
    eQVM_BOITES_PERSONNALISEES = 20,  // (20, 0): does the project replace message boxes by its own (asked at LoadVM)
    eQVM_DERNIERE_ERREUR = 21,    // (21, 0): the text of the program's last error (const wchar_t*, may be null)
};

// A project description as the host knows it.
class IDescriptionProjet {
public:
    virtual int nGetVersion() = 0;
    virtual bool bGereLangues() = 0;
protected:
    ~IDescriptionProjet() = default;
};

// Every object the shop hands out.
class IObjetShop {
public:
    virtual unsigned AddRef() = 0;
    virtual unsigned Release() = 0;
protected:
    ~IObjetShop() = default;
};

// "VMProjet": the running project.
class IProjetVM : public IObjetShop {
public:
    virtual const wchar_t* pszGetNom() = 0;
    virtual const wchar_t* pszGetRepertoire() = 0;
};

// "Persistance": user values remembered between runs.
class IPersistance : public IObjetShop {
public:
    virtual bool bEcrit(const wchar_t* pszObjet, const wchar_t* pszValeur, const wchar_t* pszTexte) = 0;
    // 8-bit value in a code page; stored as text converted from that code page.
    virtual bool bEcritA(const wchar_t* pszObjet, const wchar_t* pszValeur, const char* pszTexte, unsigned nCodePage) = 0;
    // Reads a value; when nothing is stored (or the store cannot be read)
    // the output receives the default. Returns false only on a store failure.
    virtual bool bLit(const wchar_t* pszObjet, const wchar_t* pszValeur, const wchar_t* pszDefaut, std::wstring& sSortie) = 0;
    virtual bool bLitA(const wchar_t* pszObjet, const wchar_t* pszValeur, const char* pszDefaut, unsigned nCodePage, std::string& sSortie) = 0;
    virtual void DebutOperationEnBloc() = 0;
    virtual void FinOperationEnBloc() = 0;
};

// The shop of named objects.
class ILibShop {
public:
    // Gives a named object with a reference for the caller, or null (and
    // fills the error when one is given). pObjetVM is the object the virtual
    // machine gave for the request (IVM::pGetInterface(8) for "Persistance").
    virtual IObjetShop* pGetObjetNomme(const char* pszNom, void* pObjetVM, CXError* pErreur) = 0;
protected:
    ~ILibShop() = default;
};

// Decimal numbers, created by the host's global factory.
class IDecimal {
public:
    virtual unsigned AddRef() = 0;
    virtual unsigned Release() = 0;
    virtual std::wstring sVersTexte() const = 0;
    virtual IDecimal* pClone() const = 0;
protected:
    ~IDecimal() = default;
};

// The host's global factory (Execution(3053, 9)).
class IFabriqueGlobale {
public:
    virtual int nGetVersion() = 0;                             // above 1 for this host
    virtual IDecimal* pCreeDecimal(const wchar_t* pszTexte) = 0; // null text: zero; null result: not a number
    virtual IDecimal* pCreeDecimalDepuisReel(double dValeur) = 0;
    virtual void* pGetTypeObjet(const char* pszNom) = 0;       // named native type
protected:
    ~IFabriqueGlobale() = default;
};

// A running program.
class IVM {
public:
    virtual unsigned AddRef() = 0;
    virtual unsigned Release() = 0;

    // Result of a language call: the host copies the value.
    virtual void SetResultat(void* pSlot, const void* pValeur, int nType) = 0;

    // Event code of an object: identifier (low and high words), event number,
    // the object's interface, parameters. Returns when the code has ended.
    virtual int nExecuteCode(uint32_t nIDBas, uint32_t nIDHaut, int nEvenement, void* piObjet,
                             const void* pParametres, int nNbParametres, int nReserve) = 0;
    virtual void DebutCode() = 0;
    virtual void FinCode() = 0;
    // Whether the object has code for the event: 1 yes, 0 no, -1 unknown.
    virtual int nPossedeCode(uint32_t nIDBas, uint32_t nIDHaut, int nEvenement) = 0;

    // A procedure held by reference (timers, and the procedures named by
    // pGetProcedure): (procedure, its parameters as an array of CAny or 0,
    // their count, 0). Returns 0 when the procedure ran.
    virtual int nExecuteProcedure(void* pProcedure, intptr_t pParametres, intptr_t nNbParametres, intptr_t) = 0;
    // A procedure of the program by its name, for code the program attaches
    // at run time (the options it adds to menus): a reference that
    // nExecuteProcedure runs, or null when the program has no procedure of
    // that name. Each reference is given back with LibereProcedure.
    virtual void* pGetProcedure(const wchar_t* pszNom) = 0;
    virtual void LibereProcedure(void* pProcedure) = 0;

    // Questions (eQUESTION_VM). Text answers are `const wchar_t*` owned by the host.
    virtual intptr_t nQuery(int nCategorie, int nElement) = 0;
    virtual int nGetModeGestionErreur() = 0;
    virtual int nGetLangueCourante() = 0;
    virtual IDescriptionProjet* pGetDescriptionProjet() = 0;

    // Interfaces by number: 1 the component object, 8 the persistence source.
    virtual void* pGetInterface(int nNumero) = 0;

    // Loads a resource of a module; 0 means success.
    virtual int nChargeRessource(void* pContexte, const wchar_t* pszNom, void* hModule, const char* pszType,
                                 int nNumero, const void* pInfoModule, void* pSortie, int, int) = 0;

    // A generic action handed over from another thread (LanceActionGeneriqueVMMainThread).
    virtual void ActionGenerique(int nAction, intptr_t nParametre) = 0;

    // Asks the running code to stop (for example after a resume-input request).
    virtual void StopCode(int nCode) = 0;

    // A non-fatal problem reported by the module while code runs.
    virtual void Avertissement(const wchar_t* pszMessage) = 0;

    // Finds a compiled description (0 on success, else the error code, also
    // left in the request); the plain load by name is the retry for 1025.
    virtual int nChercheDescription(STRechercheDescription* pst) = 0;
    virtual int nChargeDescriptionParNom(const wchar_t* pszNom, uint32_t nType, const void** ppDonnees, size_t* pnTaille) = 0;
    // Whether windows may be opened in the current call context.
    virtual bool bOuvertureFenetrePermise() = 0;

    // The program-side instance of a window (its globals and parameters):
    // created when the window opens, ended when it closes.
    virtual bool bInitVMFenetre(void* pFenetre, const wchar_t* pszNom) = 0;
    virtual void TermVMFenetre(void* pFenetre) = 0;
    // Hands the parameters of the current opening call to the window's
    // instance (its declaration code receives them); returns their count.
    virtual int nPasseParametresOuverture(void* pSlot, void* pFenetre) = 0;
    // Parameters of a language call beyond the declared ones (Ferme's
    // return values), from its call slot: count, and each value as text
    // with its type code.
    virtual int nGetNbParametresSupp(void* pSlot) = 0;
    virtual bool bGetParametreSupp(void* pSlot, int i, std::wstring& sValeur, int& nType) = 0;

    // Message boxes.
    // A message built from a format and the call's further parameters:
    // %1 to %9 (and %10 onwards) are those parameters in order, %% is a
    // percent sign; a placeholder beyond the parameters is left as written.
    virtual std::wstring sConstruitMessage(const wchar_t* pszFormat, void* pSlot) { return pszFormat ? pszFormat : L""; }
    // Runs a procedure of the project by name with text parameters; 0 when
    // it ran (its integer result in nResultat), else an error code (1: the
    // project has no such procedure).
    virtual int nExecuteProcedureNommee(const wchar_t* pszNom, const std::vector<std::wstring>& tabParametres, int& nResultat) {
        return 1;
    }
    // Writes a value back into further parameter i of the call (the
    // variables an input box fills); false when the call has no such parameter.
    virtual bool bEcritParametreSupp(void* pSlot, int i, const std::wstring& sValeur, int nType) { return false; }

protected:
    ~IVM() = default;
};

// The initialisation block of Execution(3985, block).
struct STInitExecution {
    uintptr_t nTaille;        // number of words; above 11 the shop is present
    void* hModuleVM;          // handle of the virtual machine module (dlopen)
    uintptr_t nUtilisation1;
    uintptr_t nUtilisation2;
    ILibShop* pLibShop;
    uintptr_t nReserve[7];
};

// Sub-codes of the host's Execution(3053, sub-code).
enum eINFO_VM : int {
    eIVM_CODE_PRODUIT = 1,
    eIVM_LANGAGE_INTERNE = 2,
    eIVM_NOM_PRODUIT = 3,
    eIVM_OPTIONS = 4,
    eIVM_CODE_PRODUIT_REEL = 5,
    eIVM_6 = 6,
    eIVM_SHOP = 7,
    eIVM_VERSION_ACTIVE = 8,
    eIVM_FABRIQUE_GLOBALE = 9,
    eIVM_COLLECTEUR_TOPOLOGIE = 10,
    eIVM_11 = 11,
    eIVM_INFO_LOCALE = 12,
    eIVM_ALLOCATEUR_CHAINES = 13,
    eIVM_ADRESSE_MULTITHREAD = 14,
    eIVM_INFO_COMPOSANTE = 15,
};
inline constexpr unsigned KV_EXEC_INFO_VM = 3053;
inline constexpr unsigned KV_EXEC_FIN_MODULE = 3052;
