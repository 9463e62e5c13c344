#include "frame/CKSLibrary.h"

CKSLibrary::CKSLibrary() {
    m_pclErreur = new CXError();
}

CKSLibrary::~CKSLibrary() {
    if (m_pclErreur) m_pclErreur->nRelease();
}

void CKSLibrary::Release() { delete this; }

uintptr_t CKSLibrary::dwActionGenerique(int nAction, uintptr_t nValeur) {
    if (nAction == 1) {
        m_nValeurAction = nValeur;
        return 1;
    }
    return 0;
}

STKSAppel* CKSLibrary::ChangeContexteAppel(STKSAppel* pAppel) {
    STKSAppel* pAncien = m_pstAppel;
    m_pstAppel = pAppel;
    m_nThread = QThread::currentThreadId();
    return pAncien;
}

void* CKSLibrary::pRecupereAdresseVariable(STKSAppel* pAppel) {
    STKSAppel* pAncien = m_pstAppel;
    Qt::HANDLE nAncienThread = m_nThread;
    m_pstAppel = pAppel;
    m_nThread = QThread::currentThreadId();
    void* p = pAppel ? pGetVariableAdresse(pAppel->nVariable) : nullptr;
    m_pstAppel = pAncien;
    m_nThread = nAncienThread;
    return p;
}

int CKSLibrary::bSignaleEcritureVariable(STKSAppel* pAppel) {
    STKSAppel* pAncien = m_pstAppel;
    Qt::HANDLE nAncienThread = m_nThread;
    m_pstAppel = pAppel;
    m_nThread = QThread::currentThreadId();
    if (pAppel) EcritVariable(pAppel->nVariable, pAppel->nValeurVariable);
    m_pstAppel = pAncien;
    m_nThread = nAncienThread;
    return m_pclErreur->nGetNiveau() == eNIVEAU_AUCUN ? 1 : 0;
}

void CKSLibrary::RAZError() { m_pclErreur->RAZ(); }

void CKSLibrary::RaiseError(const CXError* pclErreur) {
    if (!pclErreur)
        m_pclErreur->RAZ();
    else
        *m_pclErreur = *pclErreur;
}

void CKSLibrary::RaiseErrorCopy(const CXError* pclErreur) { RaiseError(pclErreur); }

void CKSLibrary::_RaiseErrorNum(int nErreur, std::vector<std::wstring> tabArgs) {
    *m_pclErreur = ErreurKVOBJ(nErreur, std::move(tabArgs));
}

namespace {
IVM* VMPour(const STKSAppel* pAppel, IVM* piVM) { return pAppel && pAppel->pVM ? pAppel->pVM : piVM; }
std::wstring Texte(intptr_t n) { return n ? std::wstring(reinterpret_cast<const wchar_t*>(n)) : std::wstring(); }
} // namespace

std::wstring CKSLibrary::pszGetNomTraitementCourant(IVM* piVM) const {
    IVM* p = VMPour(m_pstAppel, piVM);
    return p ? Texte(p->nQuery(eQVM_TRAITEMENT, 2)) : std::wstring();
}

std::wstring CKSLibrary::pszGetLibelleTraitementCourant(IVM* piVM) const {
    IVM* p = VMPour(m_pstAppel, piVM);
    return p ? Texte(p->nQuery(eQVM_TRAITEMENT, 1)) : std::wstring();
}

int CKSLibrary::nGetLigneTraitementCourant(IVM* piVM) const {
    IVM* p = VMPour(m_pstAppel, piVM);
    return p ? static_cast<int>(p->nQuery(eQVM_TRAITEMENT, 3)) : 0;
}
