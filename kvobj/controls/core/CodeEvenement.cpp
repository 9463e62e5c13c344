#include "controls/core/CodeEvenement.h"
#include "base/CRetenue.h"
#include "frame/CExe.h"
#include "windows/CFenPrincipale.h"
#include <cstdio>

namespace {
ISurchargeTraitement* Surcharge(CObjetAPCodeOBJ* pclObjet) {
    if (ISurchargeTraitement* s = pclObjet->vpiGetSurchargeTraitement()) return s;
    if (CFenPrincipale* f = pclObjet->vpclGetFenPrincipale()) return f->vpiGetSurchargeTraitement();
    return nullptr;
}

// What running code for an object takes, whatever runs: the hook, the
// current object, the virtual machine's brackets, the focus request the code
// made and the busy cursor it left on. lance runs the code itself.
template <class F>
void ExecutePourObjet(int nEvenement, CObjetAPCodeOBJ* pclObjet, IVM* piVM, F&& lance) {
    if (!pclObjet) return;
    CRetenue retient(pclObjet);  // for the duration of the code
    CExe* pclExe = gpclExe;

    if (pclExe && pclExe->pfnGetHookTraitement()) {
        ISurchargeTraitement* s = Surcharge(pclObjet);
        ISurchargeTraitement::PFN_HOOK pfn = s ? s->pfnGetHook() : pclExe->pfnGetHookTraitement();
        void* pData = s ? s->pGetDataHook() : nullptr;
        if (pfn) pfn(pclObjet->pszGetName(), nEvenement, pData);
        if (s && !s->bDoitExecuter(nEvenement)) return;
    }
    if (!piVM) return;

    int nSablierAvant = pclExe ? pclExe->nGetNiveauSablier() : 0;
    unsigned nReprisesAvant = pclExe ? pclExe->nGetCompteurReprises() : 0;
    piVM->DebutCode();
    CObjetAPCodeOBJ* pclCourantAvant = pclExe ? pclExe->pclGetObjetCourant() : nullptr;
    if (pclExe) pclExe->SetObjetCourant(pclObjet);
    lance();
    if (pclExe) pclExe->SetObjetCourant(pclCourantAvant);

    // A focus request made by this code (or pending after declaration or
    // closing code) is applied now that the code has returned.
    if (pclExe) {
        CObjet* pclDemande = pclExe->pclGetRepriseSaisie();
        bool bPendantCeCode = pclExe->nGetCompteurReprises() != nReprisesAvant;
        if (pclDemande && (nEvenement == eTRT_DECLARATION || nEvenement == eTRT_FERMETURE || bPendantCeCode)) {
            CFenPrincipale* f = pclObjet->vpclGetFenPrincipale();
            if (!f) f = pclExe->pclGetFenActive();
            if (f) f->vAppliqueDemandeFocus(pclObjet);
        }
    }
    piVM->FinCode();
    if (pclExe && nSablierAvant == 0 && pclExe->nGetNiveauSablier() != 0) pclExe->SablierAnnuleTout();
}
} // namespace

void ExecutePCode(int nEvenement, CObjetAPCodeOBJ* pclObjet, IVM* piVM, int nNbParametres, const void* pParametres,
                  void* piInterface) {
    ExecutePourObjet(nEvenement, pclObjet, piVM, [&] {
        uint64_t id = pclObjet->qwGetID();
        piVM->nExecuteCode(static_cast<uint32_t>(id), static_cast<uint32_t>(id >> 32), nEvenement, piInterface,
                           pParametres, nNbParametres, 0);
    });
}

void ExecuteProcedureObjet(int nEvenement, CObjetAPCodeOBJ* pclObjet, IVM* piVM, void* pProcedure,
                           const CAny* pParametres, int nNbParametres) {
    if (!pProcedure) return;
    ExecutePourObjet(nEvenement, pclObjet, piVM, [&] {
        piVM->nExecuteProcedure(pProcedure, reinterpret_cast<intptr_t>(pParametres), nNbParametres, 0);
    });
}

void LeveWarningExecChamp(ePORTEE_WARNING_EXEC, const std::wstring& sMessage) {
    if (gpclExe && gpclExe->piGetVM()) gpclExe->piGetVM()->Avertissement(sMessage.c_str());
}
