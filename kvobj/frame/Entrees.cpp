// The module's exported entry points.
#include "base/Export.h"
#include "frame/BoitesMessage.h"
#include "frame/CComposanteOBJ.h"
#include "frame/CExe.h"
#include "frame/CObjFactory.h"
#include "frame/CObjGate.h"
#include "frame/Execution.h"
#include "frame/Module.h"
#include "frame/ModuleInfo.h"
#include "frame/TablesComposante.h"
#include "windows/CFenQT.h"
#include <QCoreApplication>
#include <dlfcn.h>
#include <cwchar>
#include <new>
#include <type_traits>

namespace {
bool gbMessagesInitialises = false;

// Record of CommandeComposante(3) and (4).
struct STDemandeMessage {
    uint32_t nReserve;
    int32_t nNumero;
    wchar_t* pszBuffer;
    int32_t nCapacite;
    int32_t nResultat;
};

void* KSL_pQueryOtherProxy(int nCode) {
    if (nCode == KV_PROXY_GATE) return static_cast<IObjGate*>(new CObjGate());
    return nullptr;
}
} // namespace

KV_EXPORT int bInitLibrary(void* hModule) {
    ghModuleKVOBJ = hModule;
    if (!gpclExe) {
        gpclExe = new (std::nothrow) CExe();
        if (!gpclExe) return 0;
    }
    CFenQT::InitializeAll();
    gbMessagesInitialises = true;
    return 1;
}

KV_EXPORT int TermLibrary() {
    TermineExecutionParModule();
    if (QCoreApplication::instance()) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (gpclExe) gpclExe->nRelease();
    gpclExe = nullptr;
    gbMessagesInitialises = false;
    gpfnLoadStringKVM = nullptr;
    CFenQT::TerminateAll();
    CComposanteOBJ::s_DetruitApplicationQT();
    return 1;
}

KV_EXPORT void* pQueryProxy(int nCode) {
    if (nCode == KV_PROXY_COMPOSANTE) return static_cast<IKSLibrary*>(new CComposanteOBJ());
    return KSL_pQueryOtherProxy(nCode);
}

KV_EXPORT intptr_t Execution(unsigned nCode, void* pParametre) { return ExecutionModule(nCode, pParametre); }

KV_EXPORT uintptr_t InfoComposante(int nCode, unsigned nIndice) { return InfoComposanteModule(nCode, nIndice); }

KV_EXPORT intptr_t CommandeComposante(int nCode, void* pParametre) {
    switch (nCode) {
    case 2:
        gpfnLoadStringKVM = reinterpret_cast<PFN_LOAD_STRING_KVM>(pParametre);
        return 1;
    case 3: {
        auto* p = static_cast<STDemandeMessage*>(pParametre);
        if (!p) return 0;
        p->nResultat = DLLRES_nLoadString(&gstMyModuleInfo1, p->nNumero, p->pszBuffer, p->nCapacite);
        return p->nResultat;
    }
    case 4: {
        auto* p = static_cast<STDemandeMessage*>(pParametre);
        if (!p || !gstMyModuleInfo1.pfnChargeMessage) return -1;
        p->nResultat = gstMyModuleInfo1.pfnChargeMessage(p->nNumero, p->pszBuffer, p->nCapacite);
        return p->nResultat;
    }
    case KV_COMMANDE_INTERCEPTEUR_BOITES:
        if (!gpclExe) return 0;
        gpclExe->SetIntercepteurBoites(static_cast<IIntercepteurBoites*>(pParametre));
        return 1;
    case KV_COMMANDE_BOITE_ERREUR:
        return kvboites::nBoiteErreurHote(static_cast<const wchar_t*>(pParametre));
    default:
        return 0;
    }
}

KV_EXPORT IClassFactory* pclCreateFactory() {
    auto* p = new CObjFactory();
    p->AddRef();
    return p;
}

KV_EXPORT void DeclareProxy(void** p1, void** p2, void** p3, void** p4) {
    for (void** p : {p1, p2, p3, p4})
        if (p) *p = nullptr;
}

KV_EXPORT int bInitKSConvFromVM(void* hModule, int nVersion, int nCompat) {
    if (nVersion < 2 || nCompat >= 3 || !hModule) return 0;
    auto pfnConv = reinterpret_cast<PFN_nConversionDepassementExt>(dlsym(hModule, "nConversionDepassementExt"));
    if (!pfnConv) return 0;
    auto pfnFin = reinterpret_cast<PFN_FinConversion>(dlsym(hModule, "FinConversion"));
    if (!pfnFin) return 0;
    gstConversionVM = {hModule, nVersion, nCompat, pfnConv, pfnFin};
    // Decimal values are made by the host's global factory.
    if (!CInformationDLL::s_piFabriqueGlobale) {
        if (auto pfnExec = reinterpret_cast<PFN_ExecutionVM>(dlsym(hModule, "Execution")))
            CInformationDLL::s_piFabriqueGlobale = reinterpret_cast<IFabriqueGlobale*>(pfnExec(KV_EXEC_INFO_VM, eIVM_FABRIQUE_GLOBALE));
    }
    return 1;
}

KV_EXPORT int bInitKSCalcFromVM(void* hModule, int nVersion, int nCompat) {
    if (nVersion < 2 || nCompat >= 3 || !hModule) return 0;
    STCalculVM st;
    bool bOk = true;
    auto cherche = [&](auto& pfn, const char* pszNom) {
        if (!bOk) return;
        void* p = dlsym(hModule, pszNom);
        if (!p) {
            bOk = false;
            return;
        }
        pfn = reinterpret_cast<std::remove_reference_t<decltype(pfn)>>(p);
    };
    cherche(st.bCanCompareEx, "bCanCompareEx");
    cherche(st.wAjouteEx, "wAjouteEx");
    cherche(st.wSoustraitEx, "wSoustraitEx");
    cherche(st.wMultiplieEx, "wMultiplieEx");
    cherche(st.wDiviseEx, "wDiviseEx");
    cherche(st.wModuloEx, "wModuloEx");
    cherche(st.nComparaisonEx, "nComparaisonEx");
    cherche(st.nEgaliteEx, "nEgaliteEx");
    cherche(st.nSuperieurEx, "nSuperieurEx");
    cherche(st.nInferieurEx, "nInferieurEx");
    cherche(st.nPresqueEgalEx, "nPresqueEgalEx");
    cherche(st.nSoupleEgalEx, "nSoupleEgalEx");
    cherche(st.nCommenceParEx, "nCommenceParEx");
    cherche(st.nCommenceParSoupleEx, "nCommenceParSoupleEx");
    cherche(st.nCommenceParTresSoupleEx, "nCommenceParTresSoupleEx");
    cherche(st.nContientEx, "nContientEx");
    cherche(st.nContientSoupleEx, "nContientSoupleEx");
    cherche(st.nContientTresSoupleEx, "nContientTresSoupleEx");
    cherche(st.nTermineParEx, "nTermineParEx");
    cherche(st.nTermineParSoupleEx, "nTermineParSoupleEx");
    cherche(st.nTermineParTresSoupleEx, "nTermineParTresSoupleEx");
    cherche(st.nETLogiqueEx, "nETLogiqueEx");
    cherche(st.nOULogiqueEx, "nOULogiqueEx");
    cherche(st.nNONLogiqueEx, "nNONLogiqueEx");
    cherche(st.nNegationEx, "nNegationEx");
    cherche(st.nAdditionEx, "nAdditionEx");
    cherche(st.nSoustractionEx, "nSoustractionEx");
    cherche(st.nMultiplicationEx, "nMultiplicationEx");
    cherche(st.nDivisionEx, "nDivisionEx");
    cherche(st.nModuloEx, "nModuloEx");
    if (!bOk) return 0;
    st.hModule = hModule;
    st.nVersion = nVersion;
    st.nCompat = nCompat;
    gstCalculVM = st;
    return 1;
}

KV_EXPORT const void* DLLRES_pLoadResourceModule(const void* pInfoModule, const wchar_t* pszType, const wchar_t* pszNom,
                                                 uint32_t* pnTaille) {
    // The module's resource table is empty: every lookup fails.
    const auto* pInfo = static_cast<const STModuleInfo*>(pInfoModule);
    if (pnTaille) *pnTaille = 0;
    if (!pInfo || pInfo->nNbRessources == 0 || !pszType || !pszNom) return nullptr;
    return nullptr;
}
