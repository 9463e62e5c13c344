#include "controls/core/CChamp.h"
#include "base/CRetenue.h"
#include "base/CSimpleBuffer.h"
#include "base/Texte.h"
#include "controls/core/CConteneurChamp.h"
#include "controls/core/CIChamp.h"
#include "controls/core/CodeEvenement.h"
#include "frame/CExe.h"
#include "windows/CFenPrincipale.h"
#include "windows/Focus.h"
#include <cwchar>

bool CPlanDuChamp::bEstDansPlan(int nPlanFenetre) const {
    if (nPlan == 0 || nPlan == nPlanFenetre) return true;
    for (int32_t p : tabSecondaires)
        if (p == nPlanFenetre) return true;
    return false;
}

CChamp::CChamp() = default;

CChamp::~CChamp() {
    m_bVivant = false;
    delete m_pclIChamp;
}

IVM* CChamp::piGetVM() const {
    if (m_pclFenetre && m_pclFenetre->piGetVM()) return m_pclFenetre->piGetVM();
    return CObjetAPCodeOBJ::piGetVM();
}

CIChamp* CChamp::pclGetIChamp() {
    if (!m_pclIChamp) m_pclIChamp = vpclCreeIChamp();
    return m_pclIChamp;
}

CIChamp* CChamp::vpclCreeIChamp() { return new CIChamp(this); }

// ---------------------------------------------------------------- description

void CChamp::_Deserialize(CLecteurKV& ar) {
    ar.SetCodePage(vdwGetCodePageDeserial());
    serialise(ar, *this);
    vLitSpecifique(ar);
    m_bVisible = m_bVisibleInitial;
}

void CChamp::_Serialize(CEcrivainKV& ar) {
    serialise(ar, *this);
    vEcritSpecifique(ar);
}

void CChamp::xFromBuffer(const CSimpleBuffer& st) {
    CKVBuffer b(st);
    uint32_t nIgnore;
    b >> nIgnore;
    // A control already registered under its name in its window keeps it.
    CTString sNom = m_sNom;
    bool bGarde = m_pclFenetre && !sNom.empty() && m_pclFenetre->pclGetChampFromName(sNom.c_str()) == this;
    CLecteurKV ar(b, vdwGetCodePageDeserial());
    _Deserialize(ar);
    if (bGarde) m_sNom = sNom;
}

void CChamp::xStyleFromBuffer(const CSimpleBuffer& st) {
    CKVBuffer b(st);
    uint32_t nIgnore;
    b >> nIgnore;
    CLecteurKV ar(b);
    serialise(ar, m_style);
}

// ---------------------------------------------------------------- groups

bool CChamp::bEstDansGroupe(const wchar_t* pszGroupe) const {
    if (!pszGroupe) return false;
    for (std::wstring_view nom : kvtexte::Decoupe(m_sGroupes, L','))
        if (!nom.empty() && kvtexte::bEgalSansCasse(nom, pszGroupe)) return true;
    return false;
}

// ---------------------------------------------------------------- tab order

void CChamp::SetTabStop(bool b) {
    // Static text never takes part in the tab order.
    if (b && dwGetId() == ID_LIBELLE) return;
    if (b == m_bTabStop) return;
    if (b) {
        m_bTabStop = true;
        if (m_pclConteneur) {
            m_nTabOrder = -1;
            m_pclConteneur->AddToTabOrder(this);
        }
    } else {
        if (m_pclConteneur) m_pclConteneur->RemoveFromTabOrder(this);
        m_bTabStop = false;
        m_nTabOrder = -1;
    }
}

void CChamp::SetTabOrderAndValidate(int n) {
    if (!m_pclConteneur) {
        m_nTabOrder = n;
        return;
    }
    int nMax = m_pclConteneur->nGetTabOrderMax();
    if (n < 0) n = 0;
    if (n > nMax) n = nMax;
    if (m_nTabOrder == n) return;
    m_pclConteneur->RemoveFromTabOrder(this);
    m_nTabOrder = n;
    m_pclConteneur->AddToTabOrder(this);
    m_nTabOrder = n;
}

bool CChamp::vbTabStop() const { return m_bTabStop && bIsVisible() && bIsEnabled(); }

// ---------------------------------------------------------------- states

void CChamp::SetState(FEN_ETAT e) {
    CFenCommun::SetState(e);
    vMAJVue();
}

void CChamp::SetVisible(bool b) {
    m_bVisible = b;
    vMAJVue();
}

bool CChamp::bEstDansPlanVisible() const {
    int nPlan = m_pclFenetre ? m_pclFenetre->nGetPlan() : 0;
    return m_plan.bEstDansPlan(nPlan);
}

bool CChamp::bIsVisible() const {
    if (!m_bVisible || m_eEtat == eETAT_INVISIBLE) return false;
    if (m_pclParent && !m_pclParent->bIsVisible()) return false;
    return bEstDansPlanVisible();
}

bool CChamp::bIsGrayed() const {
    if (m_eEtat == eETAT_GRISE_LECTURE || m_eEtat == eETAT_GRISE) return true;
    if (m_pclConteneur && m_pclConteneur->vbConteneurGrise()) return true;
    if (m_pclParent && m_pclParent->bIsGrayed()) return true;
    if (m_pclFenetre && m_pclFenetre->bEstGrisee()) return true;
    return false;
}

bool CChamp::bIsEnabled() const {
    if (m_eEtat != eETAT_ACTIF) return false;
    if (m_pclParent && !m_pclParent->bIsEnabled()) return false;
    if (m_pclConteneur && !m_pclConteneur->vbConteneurActif()) return false;
    if (m_pclFenetre && !m_pclFenetre->bEstActive()) return false;
    return bEstDansPlanVisible();
}

bool CChamp::bIsReadOnly() const {
    if (!bEstDansPlanVisible()) return false;
    bool bEtat = m_eEtat == eETAT_LECTURE_SEULE || m_eEtat == eETAT_GRISE_LECTURE || m_eEtat == eETAT_LECTURE_5;
    return bEtat || (m_pclParent && m_pclParent->bIsReadOnly());
}

// ---------------------------------------------------------------- full name

CTString CChamp::GetNomComplet() const {
    if (m_sNom.empty() && m_pclParent) return m_pclParent->GetNomComplet();
    if (m_pclParent && !m_tabVolets.empty() && m_pclParent->vbVoletsNommes())
        return kvtexte::Format(L"%ls[%d].%ls", m_pclParent->GetNomComplet().c_str(), m_tabVolets.front() + 1, m_sNom.c_str());
    if (m_pclConteneur) {
        if (CChamp* pclProprietaire = m_pclConteneur->pclGetChampProprietaire()) {
            CTString s = pclProprietaire->GetNomComplet();
            if (!pclProprietaire->sGetNom().empty()) s += L".";
            return s + m_sNom;
        }
    }
    if (m_pclFenetre) return m_pclFenetre->GetNomComplet() + L"." + m_sNom;
    return m_sNom;
}

// ---------------------------------------------------------------- persistence

CTString CChamp::_GetNomCleConfiguration() const {
    if (m_pclConteneur) {
        if (CChamp* p = m_pclConteneur->pclGetChampProprietaire()) return p->_GetNomCleConfiguration() + L"\\" + m_sNom;
    }
    CTString sFen = m_pclFenetre ? m_pclFenetre->_GetNomCleConfiguration() : CTString();
    return kvtexte::Format(L"%ls\\%ls", sFen.c_str(), m_sNom.c_str());
}

CTString CChamp::_vCalcCheckSumConfiguration() const {
    uint64_t id = (m_abyFlags[1] & FLAG1_SANS_IDENTITE) ? 0 : m_qwID;
    long long n = static_cast<long long>(static_cast<uint32_t>(id >> 32)) + static_cast<uint32_t>(id) +
                  static_cast<long long>(dwGetId()) * 456;
    // The checksum is a 32-bit value shown as a signed integer.
    return kvtexte::Format(L"%d", static_cast<int32_t>(static_cast<uint32_t>(n)));
}

CAny CChamp::_vGetValeurPourPersistance() const { return CAny(); }
void CChamp::_vSetValeurPourPersistance(const CAny&) {}

void CChamp::_SauveValeurPersistante() {
    if (!gpclExe || !m_pclFenetre) return;
    IVM* piVM = piGetVM();
    if (!piVM) return;
    CTString sCle = _GetNomCleConfiguration();
    bool bForce = gpclExe->nReadPersistantUserValue_Int(piVM, sCle.c_str(), L"ValForce", 0) != 0;
    if (!m_bMemoriserValeur && !bForce) return;
    if (!(m_abyFlags[1] & FLAG1_SANS_IDENTITE))
        gpclExe->SavePersistantUserValue(piVM, sCle.c_str(), L"QUID",
                                         kvtexte::Format(L"%llX", static_cast<unsigned long long>(m_qwID)).c_str());
    gpclExe->SavePersistantUserValue(piVM, sCle.c_str(), L"Checksum", _vCalcCheckSumConfiguration().c_str());
    CTString sValeur;
    CAny cl = _vGetValeurPourPersistance();
    if (cl.nGetType() != 0) cl.__nCastToString(sValeur);
    gpclExe->SavePersistantUserValue(piVM, sCle.c_str(), L"Val", sValeur.c_str());
}

bool CChamp::_vbMarquePersistanceOK() const {
    IVM* piVM = piGetVM();
    CTString sCle = _GetNomCleConfiguration();
    CTString s;
    if (!(m_abyFlags[1] & FLAG1_SANS_IDENTITE)) {
        if (!gpclExe->bReadPersistantUserValue(piVM, sCle.c_str(), L"QUID", s)) return false;
        if (s != kvtexte::Format(L"%llX", static_cast<unsigned long long>(m_qwID))) return false;
    }
    if (!gpclExe->bReadPersistantUserValue(piVM, sCle.c_str(), L"Checksum", s)) return false;
    return s == _vCalcCheckSumConfiguration();
}

bool CChamp::_bRestaureValeurPersistante() {
    if (!m_bMemoriserValeur || !gpclExe || !m_pclFenetre || !piGetVM()) return false;
    if (!_vbMarquePersistanceOK()) return false;
    CTString s;
    if (!gpclExe->bReadPersistantUserValue(piGetVM(), _GetNomCleConfiguration().c_str(), L"Val", s)) return false;
    CAny cl;
    cl.SetPSTRX(s.c_str());
    _vSetValeurPourPersistance(cl);
    return true;
}

// ---------------------------------------------------------------- event code

void CChamp::vExecutePCodeInit() { ExecutePCode(eTRT_INITIALISATION); }

bool CChamp::_bExecuteCodeEntree() {
    if (!m_bVivant || vbInPcodeDEntree()) return true;
    CExe* pclExe = gpclExe;
    CObjet* pclSauve = pclExe ? pclExe->pclGetRepriseSaisie() : nullptr;
    int nCmdSauve = pclExe ? pclExe->nGetLastCmdRepriseSaisie() : 0;
    unsigned nAvant = pclExe ? pclExe->nGetCompteurReprises() : 0;
    if (pclExe) pclExe->RestaureRepriseSaisie(nullptr, 0);
    m_abyFlags[0] |= FLAG0_CODE_ENTREE;
    CRetenue retient(this);
    ExecutePCode(eTRT_ENTREE);
    m_abyFlags[0] &= static_cast<uint8_t>(~FLAG0_CODE_ENTREE);
    bool bDemande = pclExe && pclExe->nGetCompteurReprises() != nAvant;
    if (!bDemande) {
        if (pclExe) pclExe->RestaureRepriseSaisie(pclSauve, nCmdSauve);
        return true;
    }
    // The entry code sent the focus elsewhere.
    return false;
}

void CChamp::SetMessageErreur(const wchar_t* psz) {
    m_sMessageErreur.Set(psz);
    if (IVueChamp* v = pclGetVueChamp()) v->AfficheErreur(m_sMessageErreur);
}

void CChamp::SetCouleurSelection(uint32_t n) {
    m_nCouleurSelection = n;
    if (IVueChamp* v = pclGetVueChamp()) v->SetCouleurSelection(n);
}

void CChamp::_ExecuteCodeModification() {
    CRetenue retient(this);
    bool bDejaEnCours = vbInPcodeDeModification();
    m_abyFlags[0] |= FLAG0_CODE_MODIFICATION;
    ExecutePCode(eTRT_MODIFICATION);
    if (!bDejaEnCours) m_abyFlags[0] &= static_cast<uint8_t>(~FLAG0_CODE_MODIFICATION);
}

bool CChamp::_bExecuteCodeSortie() {
    CExe* pclExe = gpclExe;
    CObjet* pclSauve = pclExe ? pclExe->pclGetRepriseSaisie() : nullptr;
    int nCmdSauve = pclExe ? pclExe->nGetLastCmdRepriseSaisie() : 0;
    unsigned nAvant = pclExe ? pclExe->nGetCompteurReprises() : 0;
    if (pclExe) pclExe->RestaureRepriseSaisie(nullptr, 0);
    m_abyFlags[0] |= FLAG0_CODE_SORTIE;
    CRetenue retient(this);
    ExecutePCode(eTRT_SORTIE);
    bool bDetruit = !m_bVivant;
    m_abyFlags[0] &= static_cast<uint8_t>(~FLAG0_CODE_SORTIE);
    bool bDemande = pclExe && pclExe->nGetCompteurReprises() != nAvant;
    CFenPrincipale* f = m_pclFenetre;
    bool bFenetreFermee = f && (!f->bEstVivante() || f->bEnFermeture());
    if (bDetruit) return false;
    // Code that closed the window ends the focus change there.
    if (bFenetreFermee) return false;
    if (!bDemande) {
        if (pclExe) pclExe->RestaureRepriseSaisie(pclSauve, nCmdSauve);
        return true;
    }
    // The focus stays here when the code asked to resume input on this control.
    return pclExe->pclGetDerniereReprise() != this;
}

// ---------------------------------------------------------------- view

PFN_CREE_VUE_CHAMP gpfnCreeVueChamp = nullptr;

void CChamp::InitSurOnCreate(QWidget* pParent) {
    if (!gpfnCreeVueChamp) return;
    QWidget* w = nullptr;
    IVueChamp* v = gpfnCreeVueChamp(*this, pParent, w);
    if (!v) return;
    m_pVue.reset(v);
    vMAJVue();
}

void CChamp::vTermSurOnDestroy() { Destroy(); }

void CChamp::vMAJVue() {
    // Active and read-only controls have an enabled widget; greyed and the
    // other read-only state keep theirs and are drawn again by their view.
    if (IVueChamp* v = pclGetVueChamp()) v->AppliqueEtat(m_rect, bIsVisible(), m_eEtat == eETAT_ACTIF || m_eEtat == eETAT_LECTURE_SEULE);
}
