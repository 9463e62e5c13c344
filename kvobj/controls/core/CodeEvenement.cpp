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
} // namespace

void ExecutePCode(int nEvenement, CObjetAPCodeOBJ* pclObjet, IVM* piVM, int nNbParametres, const void* pParametres,
                  void* piInterface) {
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
    uint64_t id = pclObjet->qwGetID();
    piVM->nExecuteCode(static_cast<uint32_t>(id), static_cast<uint32_t>(id >> 32), nEvenement, piInterface, pParametres,
                       nNbParametres, 0);
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

void LeveWarningExecChamp(ePORTEE_WARNING_EXEC, const std::wstring& sMessage) {
    if (gpclExe && gpclExe->piGetVM()) gpclExe->piGetVM()->Avertissement(sMessage.c_str());
}
