// The execution object: what the module keeps of the host once it is
// initialised with Execution(3985), and the values the host gives then.
#pragma once
#include "kv/module.h"

class CBaseExecutionDLL {
public:
    virtual ~CBaseExecutionDLL() = default;
    virtual int vbInitialiseDLL() { return 1; }
    virtual void vSetUtilisation(unsigned, unsigned) {}
    virtual void vTermineDLL() {}
    virtual void vChangeLangue() {}
    virtual int vbInitialiseTypeDINO(CXError* pErreur) = 0;
    virtual int vbDumpMemoire(void* pDump) = 0;

    // Initialises from the host module; false (nothing kept) when the host
    // does not export Execution.
    bool bInitialise(void* hModuleVM, ILibShop* piShop);
    void* hGetModuleVM() const { return m_hModuleVM; }
    PFN_ExecutionVM pfnGetExecutionVM() const { return m_pfnExecutionVM; }
    void SetTermine() { m_bTermine = true; }
    bool bTermine() const { return m_bTermine; }

protected:
    void* m_hModuleVM = nullptr;
    PFN_ExecutionVM m_pfnExecutionVM = nullptr;
    bool m_bTermine = false;
};

class CDllExecutionObj : public CBaseExecutionDLL {
public:
    int vbInitialiseTypeDINO(CXError* pErreur) override;
    int vbDumpMemoire(void* pDump) override;
};

// Process-wide values given by the host (Execution(3053, sub-code)).
struct CInformationDLL {
    static intptr_t s_nCodeProduit;
    static intptr_t s_nLangageInterne;
    static const wchar_t* s_pszNomProduit;
    static intptr_t s_nOptions;
    static intptr_t s_nCodeProduitReel;
    static ILibShop* s_piShop;
    static intptr_t s_nVersionActive;
    static IFabriqueGlobale* s_piFabriqueGlobale;
    static void* s_pCollecteurTopologie;
    static void* s_pInfoLocale;
    static void* s_pAllocateurChaines;
    static int* s_pbMultitache;
    static void* s_pInfoComposante;
    static void* s_pTypeDINO;
    static void Raz();
};

// Entry point implementation (Execution of the module).
intptr_t ExecutionModule(unsigned nCode, void* pParametre);
// Shut-down of the execution object by the module itself (tells the host 3052).
void TermineExecutionParModule();
int nGetCompteInitialisationExecution();
CBaseExecutionDLL* pclGetExecution();
