#include "frame/CExe.h"
#include "frame/CIExe.h"
#include "frame/CComposanteOBJ.h"
#include "frame/Module.h"
#include "frame/ModuleInfo.h"
#include "base/Texte.h"
#include "windows/CAppelMainThread_QT.h"
#include "windows/CFenPrincipale.h"
#include "windows/CTimerQT.h"
#include <QApplication>
#include <QCursor>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <cwchar>
#include <new>

namespace {
// The wait cursor of the hourglass: one override cursor for the whole
// nesting (pushing one per call would leave wait cursors on Qt's stack once
// the count is back to 0).
void CurseurAttente(bool b) {
    if (b) {
        CComposanteOBJ::s_pclGetApplicationQT();
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    } else {
        QApplication::restoreOverrideCursor();
    }
}
const bool gbCurseur = [] {
    CExe::s_pfnCurseurAttente = &CurseurAttente;
    return true;
}();
} // namespace

CExe::CExe() {
    m_pThreadPrincipal = QThread::currentThread();
    m_pclProjet = new CProjet();
    m_tabChaineErreur[0] = L"+++++";
    m_tabChaineErreur[1] = L"#####";
    m_tabChaineErreur[2] = L"###";
    m_tabChaineErreur[3] = L"";
    m_pclAppelMainThread = new CAppelMainThread_QT();
}

CExe::~CExe() {
    // Windows still in the list lose the list's reference.
    std::vector<CFenPrincipale*> tabFenetres = m_listeFenetres.Copie();
    for (CFenPrincipale* f : tabFenetres) m_listeFenetres.bSupprime(f);
    for (CFenPrincipale* f : tabFenetres) f->nRelease();
    for (auto& t : m_tabTimers) {
        delete t.hTimer;
        if (t.piVM) t.piVM->Release();
    }
    m_tabTimers.clear();
    if (m_pclFenActive) m_pclFenActive->nRelease();
    m_pclFenActive = nullptr;
    if (m_piMainOLE) m_piMainOLE->Release();
    if (m_piPersistance) m_piPersistance->Release();
    if (m_pclIExe) {
        m_pclIExe->DetacheExe();
        delete m_pclIExe;
    }
    delete m_pclAppelMainThread;
    if (m_pclProjet) m_pclProjet->nRelease();
    if (gpclExe == this) gpclExe = nullptr;
}

CExe* CExe::hResCreateInstance() {
    if (gpclExe) gpclExe->AddRef();
    return gpclExe;
}

CIExe* CExe::CreateAgregat() {
    auto* p = new CIExe(this);
    m_pclIExe = p;
    return p;
}

// ---------------------------------------------------------------- windows

void CExe::FermeToutesLesFillesDe(CFenPrincipale* pclParent) {
    std::vector<CFenPrincipale*> tab;
    GetListeFenFilles(pclParent, tab);
    for (CFenPrincipale* f : tab)
        if (bEstFenOuverte(f)) CFenPrincipale::Ferme(f, 0);
}

void CExe::FermeTout() {
    m_bFermeTout = true;
    // Collect the widgets first: windows remove themselves from the list
    // while they close, and closing code may open or close others.
    std::vector<QPointer<QWidget>> tabWidgets;
    m_listeFenetres.PourChaque([&](CFenPrincipale* f) {
        if (QWidget* w = f->pGetWidget()) tabWidgets.emplace_back(w);
        return true;
    });
    for (auto& w : tabWidgets) {
        if (w.isNull()) continue;
        CFenPrincipale* pclFen = CFenPrincipale::pclDepuisWidget(w.data());
        if (pclFen) {
            if (bEstFenOuverte(pclFen)) CFenPrincipale::Ferme(pclFen, 0);
        } else {
            w->close();
        }
    }
    m_bFermeTout = false;
}

void CExe::DoSurToutesLesFenetres(const std::function<void(CFenPrincipale*)>& f) {
    m_listeFenetres.PourChaque([&](CFenPrincipale* p) {
        f(p);
        return true;
    });
}

void CExe::ChangeMessageLoop(CFenPrincipale*, CFenPrincipale* pclAncien, CFenPrincipale* pclNouveau) {
    m_listeFenetres.PourChaque([&](CFenPrincipale* f) {
        if (f->pclGetProprietaireBoucle() == pclAncien) f->SetProprietaireBoucle(pclNouveau);
        return true;
    });
    if (pclNouveau && pclAncien) {
        pclNouveau->SetNbDependants(pclNouveau->nGetNbDependants() + pclAncien->nGetNbDependants());
        pclAncien->SetNbDependants(0);
    }
    if (m_pclProprietaireBoucle == pclAncien) m_pclProprietaireBoucle = pclNouveau;
}

// ---------------------------------------------------------------- host

void CExe::LoadVM(IVM* piVM) {
    m_piVM = piVM;
    m_bVMMultitache = piVM && piVM->nQuery(eQVM_MULTITHREAD, 0) != 0;
    m_bMsgBoxPersonalisees = piVM && piVM->nQuery(eQVM_BOITES_PERSONNALISEES, 0) != 0;
}

ILibShop* CExe::piGetLibShop() const { return m_piLibShop; }

int CExe::nGetModeGestionErreur() const { return m_piVM ? m_piVM->nGetModeGestionErreur() : 0; }
bool CExe::bErreurKSAffichee() const { return m_piVM && m_piVM->nQuery(eQVM_DIALOGUE_ERREUR, 0) != 0; }
bool CExe::bDialogueDebuggerEnCours() const { return m_piVM && m_piVM->nQuery(eQVM_DIALOGUE_DEBUGGER, 0) != 0; }

// ---------------------------------------------------------------- persistence

// ---------------------------------------------------------------- hourglass

// ---------------------------------------------------------------- timers

void* CExe::hCreeTimerVM(int nPeriode, IVM* piVM, void* pProcedure, CXError* pErreur, bool bTempsReel) {
    STTimerInfo st;
    st.nPeriode = nPeriode;
    st.piVM = piVM;
    st.pProcedure = pProcedure;
    st.bTempsReel = bTempsReel ? 1 : 0;
    st.pclExe = this;
    st.nThread = QThread::currentThreadId();
    auto* pTimer = new CTimerQT(nPeriode, &CExe::KVCallBackTimerProc);
    st.hTimer = pTimer;
    try {
        m_tabTimers.push_back(st);
    } catch (const std::bad_alloc&) {
        if (pErreur) *pErreur = ErreurKVOBJ(10027, {L"36"});
        delete pTimer;
        return nullptr;
    }
    if (piVM) piVM->AddRef();
    if (pTimer->thread() != m_pThreadPrincipal) {
        pTimer->moveToThread(m_pThreadPrincipal);
        QMetaObject::invokeMethod(pTimer, [pTimer] { pTimer->Demarre(); }, Qt::QueuedConnection);
    } else {
        pTimer->Demarre();
    }
    return pTimer;
}

void CExe::SupprimeTimerVM(void* hTimer) {
    auto it = std::find_if(m_tabTimers.begin(), m_tabTimers.end(), [&](const STTimerInfo& t) { return t.hTimer == hTimer; });
    if (it == m_tabTimers.end()) return;
    STTimerInfo st = *it;
    m_tabTimers.erase(it);
    st.hTimer->Arrete();
    st.hTimer->deleteLater();
    if (st.piVM) st.piVM->Release();
}

bool CExe::bTimerTempsReelExiste() const {
    return std::any_of(m_tabTimers.begin(), m_tabTimers.end(), [](const STTimerInfo& t) { return t.bTempsReel; });
}

void CExe::CheckTimerTempsReel() {
    // Real-time timers run even while the program keeps the main thread busy
    // (Multitache): a due timer fires now and starts a new period.
    std::vector<void*> tabDus;
    for (const auto& t : m_tabTimers)
        if (t.bTempsReel && t.hTimer->Timer().isActive() && t.hTimer->Timer().remainingTime() == 0) tabDus.push_back(t.hTimer);
    for (void* h : tabDus) {
        auto* pTimer = static_cast<CTimerQT*>(h);
        pTimer->Timer().start();
        KVCallBackTimerProc(nullptr, 0, h, 0);
    }
}

void CExe::KVCallBackTimerProc(void*, unsigned, void* hTimer, unsigned) {
    CExe* pclExe = gpclExe;
    if (!pclExe || pclExe->m_bTimerDesactive || pclExe->m_tabTimers.empty()) return;
    auto it = std::find_if(pclExe->m_tabTimers.begin(), pclExe->m_tabTimers.end(),
                           [&](const STTimerInfo& t) { return t.hTimer == hTimer; });
    if (it == pclExe->m_tabTimers.end()) return;
    IVM* piVM = it->piVM;
    void* pProcedure = it->pProcedure;
    if (!piVM) return;
    // The procedure may remove this timer: keep what is needed.
    piVM->AddRef();
    bool bAncien = pclExe->m_bDansCallbackTimer;
    pclExe->m_bDansCallbackTimer = true;
    piVM->nExecuteProcedure(pProcedure, 0, 0, 0);
    pclExe->m_bDansCallbackTimer = bAncien;
    piVM->Release();
}

// ---------------------------------------------------------------- misc

const std::wstring& CExe::rclGetChaineErreur(int nIndice) const {
    static const std::wstring sVide;
    if (nIndice < 0 || nIndice >= eCHAINEERREUR_NB) return sVide;
    return m_tabChaineErreur[nIndice];
}

void CExe::SetChaineErreur(int nIndice, const wchar_t* psz) {
    if (nIndice < 0 || nIndice >= eCHAINEERREUR_NB) return;
    m_tabChaineErreur[nIndice] = psz ? psz : L"";
}

void CExe::onChangeLangue(int nLangue) {
    if (m_bChangeLangueEnCours) return;
    if (!m_piVM) return;
    IDescriptionProjet* pDesc = m_piVM->pGetDescriptionProjet();
    if (!pDesc) return;
    if (pDesc->nGetVersion() > 9 && !pDesc->bGereLangues()) return;
    m_bChangeLangueEnCours = true;
    for (CFenPrincipale* f : m_listeFenetres.Copie()) {
        if (!bEstFenOuverte(f)) continue;
        if (f->nGetLangue() != nLangue) CFenPrincipale::ChangeLangueFenOuverte(f, f->nGetLangue(), nLangue);
    }
    m_bChangeLangueEnCours = false;
}

void CExe::LanceActionGeneriqueVMMainThread(int nAction, intptr_t nParametre) {
    m_pclAppelMainThread->Appelle(nAction, nParametre);
}

void CExe::ExecuteSurThreadPrincipal(const std::function<void()>& fn) {
    if (bEstThreadPrincipal()) fn();
    else m_pclAppelMainThread->AppelleEtAttend(fn);
}

void CExe::ReceiveActionGeneriqueVMMainThread(int nAction, intptr_t nParametre) {
    CFenPrincipale* pclFen = m_pclFenActive;
    if (!pclFen) return;
    IVM* piVM = pclFen->piGetVM() ? pclFen->piGetVM() : m_piVM;
    if (piVM) piVM->ActionGenerique(nAction, nParametre);
}
