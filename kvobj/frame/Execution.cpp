#include "frame/Execution.h"
#include "frame/CExe.h"
#include <dlfcn.h>

intptr_t CInformationDLL::s_nCodeProduit = 0;
intptr_t CInformationDLL::s_nLangageInterne = 0;
const wchar_t* CInformationDLL::s_pszNomProduit = nullptr;
intptr_t CInformationDLL::s_nOptions = 0;
intptr_t CInformationDLL::s_nCodeProduitReel = 0;
ILibShop* CInformationDLL::s_piShop = nullptr;
intptr_t CInformationDLL::s_nVersionActive = 0;
void* CInformationDLL::s_pCollecteurTopologie = nullptr;
void* CInformationDLL::s_pInfoLocale = nullptr;
void* CInformationDLL::s_pAllocateurChaines = nullptr;
int* CInformationDLL::s_pbMultitache = nullptr;
void* CInformationDLL::s_pInfoComposante = nullptr;
void* CInformationDLL::s_pTypeDINO = nullptr;

void CInformationDLL::Raz() {
    s_nCodeProduit = s_nLangageInterne = s_nOptions = s_nCodeProduitReel = s_nVersionActive = 0;
    s_pszNomProduit = nullptr;
    s_piShop = nullptr;
    s_piFabriqueGlobale = nullptr;
    s_pCollecteurTopologie = s_pInfoLocale = s_pAllocateurChaines = s_pInfoComposante = s_pTypeDINO = nullptr;
    s_pbMultitache = nullptr;
}

namespace {
CBaseExecutionDLL* gpclExecution = nullptr;
int gnCompteInit = 0;
} // namespace

bool CBaseExecutionDLL::bInitialise(void* hModuleVM, ILibShop* piShop) {
    auto pfn = hModuleVM ? reinterpret_cast<PFN_ExecutionVM>(dlsym(hModuleVM, "Execution")) : nullptr;
    if (!pfn) return false;
    m_hModuleVM = hModuleVM;
    m_pfnExecutionVM = pfn;
    using C = CInformationDLL;
    C::s_nCodeProduit = pfn(KV_EXEC_INFO_VM, eIVM_CODE_PRODUIT);
    C::s_nLangageInterne = pfn(KV_EXEC_INFO_VM, eIVM_LANGAGE_INTERNE);
    C::s_pszNomProduit = reinterpret_cast<const wchar_t*>(pfn(KV_EXEC_INFO_VM, eIVM_NOM_PRODUIT));
    C::s_nOptions = pfn(KV_EXEC_INFO_VM, eIVM_OPTIONS);
    C::s_nCodeProduitReel = pfn(KV_EXEC_INFO_VM, eIVM_CODE_PRODUIT_REEL);
    C::s_piShop = piShop ? piShop : reinterpret_cast<ILibShop*>(pfn(KV_EXEC_INFO_VM, eIVM_SHOP));
    intptr_t nVersion = pfn(KV_EXEC_INFO_VM, eIVM_VERSION_ACTIVE);
    if (nVersion > C::s_nVersionActive) C::s_nVersionActive = nVersion;
    C::s_piFabriqueGlobale = reinterpret_cast<IFabriqueGlobale*>(pfn(KV_EXEC_INFO_VM, eIVM_FABRIQUE_GLOBALE));
    C::s_pCollecteurTopologie = reinterpret_cast<void*>(pfn(KV_EXEC_INFO_VM, eIVM_COLLECTEUR_TOPOLOGIE));
    C::s_pInfoLocale = reinterpret_cast<void*>(pfn(KV_EXEC_INFO_VM, eIVM_INFO_LOCALE));
    C::s_pAllocateurChaines = reinterpret_cast<void*>(pfn(KV_EXEC_INFO_VM, eIVM_ALLOCATEUR_CHAINES));
    C::s_pbMultitache = reinterpret_cast<int*>(pfn(KV_EXEC_INFO_VM, eIVM_ADRESSE_MULTITHREAD));
    C::s_pInfoComposante = reinterpret_cast<void*>(pfn(KV_EXEC_INFO_VM, eIVM_INFO_COMPOSANTE));
    return vbInitialiseDLL() != 0;
}

int CDllExecutionObj::vbInitialiseTypeDINO(CXError*) {
    IFabriqueGlobale* f = CInformationDLL::s_piFabriqueGlobale;
    if (!f) return 0;
    CInformationDLL::s_pTypeDINO = f->pGetTypeObjet("Decimal");
    return CInformationDLL::s_pTypeDINO != nullptr;
}

int CDllExecutionObj::vbDumpMemoire(void*) {
    // The context has nothing to dump beyond its existence.
    return gpclExe != nullptr;
}

CBaseExecutionDLL* pclGetExecution() { return gpclExecution; }
int nGetCompteInitialisationExecution() { return gnCompteInit; }

void TermineExecutionParModule() {
    if (!gpclExecution) return;
    if (!gpclExecution->bTermine()) {
        if (auto pfn = gpclExecution->pfnGetExecutionVM()) pfn(KV_EXEC_FIN_MODULE, 0);
        gpclExecution->SetTermine();
        gpclExecution->vTermineDLL();
    }
    delete gpclExecution;
    gpclExecution = nullptr;
    gnCompteInit = 0;
    CInformationDLL::Raz();
}

intptr_t ExecutionModule(unsigned nCode, void* pParametre) {
    switch (nCode) {
    case 3985: {
        auto* pBloc = static_cast<const uintptr_t*>(pParametre);
        if (!gpclExecution) {
            if (!pBloc) return 0;
            auto* pclNouveau = new CDllExecutionObj();
            ILibShop* piShop = pBloc[0] > 11 ? reinterpret_cast<ILibShop*>(pBloc[4]) : nullptr;
            if (!pclNouveau->bInitialise(reinterpret_cast<void*>(pBloc[1]), piShop)) {
                delete pclNouveau;
                CInformationDLL::Raz();
                return 0;
            }
            gpclExecution = pclNouveau;
        }
        if (pBloc) gpclExecution->vSetUtilisation(static_cast<unsigned>(pBloc[2]), static_cast<unsigned>(pBloc[3]));
        ++gnCompteInit;
        return 1;
    }
    case 4875:
        if (gnCompteInit != 0) {
            --gnCompteInit;
            if (gnCompteInit != 0) return 1;
        }
        if (gpclExecution) {
            gpclExecution->SetTermine();
            gpclExecution->vTermineDLL();
            delete gpclExecution;
            gpclExecution = nullptr;
        }
        return 1;
    case 4878:
        CInformationDLL::s_pInfoLocale = pParametre;
        return 1;
    case 4879:
        if (gpclExecution) gpclExecution->vChangeLangue();
        return 1;
    case 4963: {
        IFabriqueGlobale* f = CInformationDLL::s_piFabriqueGlobale;
        if (f && f->nGetVersion() > 1) {
            if (!gpclExecution || !gpclExecution->vbInitialiseTypeDINO(static_cast<CXError*>(pParametre))) return 2;
        }
        return 1;
    }
    case 5238:
        return gpclExecution && gpclExecution->vbDumpMemoire(pParametre) ? 1 : 0;
    default:
        return 0;
    }
}
