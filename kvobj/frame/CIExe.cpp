#include "frame/CIExe.h"
#include "frame/CExe.h"
#include "windows/CFenPrincipale.h"

// The aggregate lives as long as its context: references go to the context.
void CIExe::DestroyAgregat() {
    if (m_pclExe) m_pclExe->OublieIExe(this);
    delete this;
}
unsigned CIExe::AddRef() { return m_pclExe ? m_pclExe->AddRef() : 0; }
unsigned CIExe::Release() { return m_pclExe ? m_pclExe->nRelease() : 0; }
void* CIExe::pclGetObjet() { return m_pclExe; }

#define EXE_OU(valeur) if (!m_pclExe) return valeur
void CIExe::ModeTestFen(const wchar_t* pszNom) { EXE_OU(); m_pclExe->ModeTestFen(pszNom); }
void CIExe::LoadVM(IVM* piVM) { EXE_OU(); m_pclExe->LoadVM(piVM); }
void* CIExe::pIGetProjectObject() { EXE_OU(nullptr); return m_pclExe->pclGetProjet(); }
void CIExe::SetProjectPath(const wchar_t* pszChemin) { EXE_OU(); m_pclExe->SetProjectPath(pszChemin); }
void* CIExe::pIGetFenetreFromName(const wchar_t* pszNom) { EXE_OU(nullptr); return m_pclExe->pclGetFenetreFromName(pszNom); }
void* CIExe::hCreeTimerVM(int nPeriode, IVM* piVM, void* pProcedure, CXError* pErreur) {
    EXE_OU(nullptr);
    return m_pclExe->hCreeTimerVM(nPeriode, piVM, pProcedure, pErreur, false);
}
void CIExe::SupprimeTimerVM(void* hTimer) { EXE_OU(); m_pclExe->SupprimeTimerVM(hTimer); }
wchar_t CIExe::cGetSeparateurMillier() { EXE_OU(L' '); return m_pclExe->cGetSeparateurMillier(); }
wchar_t CIExe::cGetSeparateurDecimal() { EXE_OU(L'.'); return m_pclExe->cGetSeparateurDecimal(); }
void CIExe::FermeTout() { EXE_OU(); m_pclExe->FermeTout(); }
void CIExe::SetHandleParentSuivant(void* hParent) { EXE_OU(); m_pclExe->SetHandleParentSuivant(hParent); }
void* CIExe::hGetHandleParentSuivant() { EXE_OU(nullptr); return m_pclExe->hGetHandleParentSuivant(); }
void* CIExe::hCreeTimerTempReelVM(int nPeriode, IVM* piVM, void* pProcedure, CXError* pErreur) {
    EXE_OU(nullptr);
    return m_pclExe->hCreeTimerVM(nPeriode, piVM, pProcedure, pErreur, true);
}
void* CIExe::pIGetFenetreFromNameAndComponent(const wchar_t* pszNom, IVM* piVM) {
    EXE_OU(nullptr);
    return m_pclExe->pclGetFenetreFromNameAndComponent(pszNom, piVM);
}
void CIExe::SetContexteQBSuivant(void* pContexte) { EXE_OU(); m_pclExe->SetContexteQBSuivant(pContexte); }
void* CIExe::pGetContexteQBSuivant() { EXE_OU(nullptr); return m_pclExe->pGetContexteQBSuivant(); }
void CIExe::SetCallbackFinInit(PFN_CALLBACK_FIN_INIT pfn, void* pUser) { EXE_OU(); m_pclExe->SetCallbackFinInit(pfn, pUser); }
void CIExe::SetNomProjetEdition(const wchar_t* pszNom) { EXE_OU(); m_pclExe->SetNomProjetEdition(pszNom); }
void CIExe::SetIconeProjetEdition(const wchar_t* pszIcone) { EXE_OU(); m_pclExe->SetIconeProjetEdition(pszIcone); }
void CIExe::SetTypeKVFileOuvreSuivant(uint32_t nType) { EXE_OU(); m_pclExe->SetTypeKVFileOuvreSuivant(nType); }
uint32_t CIExe::dwGetTypeKVFileOuvreSuivant() { EXE_OU(0); return m_pclExe->dwGetTypeKVFileOuvreSuivant(); }
void CIExe::LanceActionGeneriqueVMMainThread(int nAction, intptr_t nParametre) {
    EXE_OU();
    m_pclExe->LanceActionGeneriqueVMMainThread(nAction, nParametre);
}
void CIExe::SablierVrai() { EXE_OU(); m_pclExe->SablierVrai(); }
void CIExe::SablierFaux() { EXE_OU(); m_pclExe->SablierFaux(); }
void CIExe::SetHandleParentSuivantForceChild(void* hParent) { EXE_OU(); m_pclExe->SetHandleParentSuivantForceChild(hParent); }
int CIExe::bTimerDesactive() { EXE_OU(0); return m_pclExe->bTimerDesactive(); }
void CIExe::SetTimerDesactive(int bDesactive) { EXE_OU(); m_pclExe->SetTimerDesactive(bDesactive != 0); }
int CIExe::bChargeKVLOBJ() { EXE_OU(0); return m_pclExe->bChargeKVLOBJ(); }
void* CIExe::piGetFenActive() { EXE_OU(nullptr); return m_pclExe->pclGetFenActive(); }
void* CIExe::hGetFenActive() {
    EXE_OU(nullptr);
    CFenPrincipale* f = m_pclExe->pclGetFenActive();
    return f ? f->pGetWidget() : nullptr;
}
void CIExe::ChangeNation(int eLangue) { EXE_OU(); m_pclExe->onChangeLangue(eLangue); }
#undef EXE_OU
