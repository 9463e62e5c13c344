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

CExe* gpclExe = nullptr;

namespace {
constexpr const wchar_t* PERSIST_DEFAUT_VAL = L"***<NULL>***";
constexpr wchar_t SEPARATEUR_CHEMIN = L'/';
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

// The list holds a reference on each open window: a window that is not
// modal stays alive while it is open, whatever else becomes active.
void CExe::AjouteFenetre(CFenPrincipale* pclFen) {
    pclFen->AddRef();
    m_listeFenetres.Ajoute(pclFen);
}
void CExe::SupprimeFenetre(CFenPrincipale* pclFen) {
    if (m_listeFenetres.bSupprime(pclFen)) pclFen->nRelease();
}
bool CExe::bEstFenOuverte(CFenPrincipale* pclFen) const { return m_listeFenetres.bContient(pclFen); }

void CExe::GetListeFenetreOuverte(std::vector<CFenPrincipale*>& tab) const { tab = m_listeFenetres.Copie(); }

void CExe::GetListeFenFilles(CFenPrincipale* pclParent, std::vector<CFenPrincipale*>& tab) const {
    tab.clear();
    m_listeFenetres.PourChaque([&](CFenPrincipale* f) {
        if (f->pclGetParent() == pclParent) tab.push_back(f);
        return true;
    });
}

void CExe::FermeToutesLesFillesDe(CFenPrincipale* pclParent) {
    std::vector<CFenPrincipale*> tab;
    GetListeFenFilles(pclParent, tab);
    for (CFenPrincipale* f : tab)
        if (bEstFenOuverte(f)) CFenPrincipale::Ferme(f, 0);
}

bool CExe::_bEstFenRecherchee(CFenPrincipale* pclFen, const wchar_t* pszNom, IVM* piComposante) const {
    if (!pclFen->bEstVivante() || pclFen->bEnFermeture()) return false;
    if (piComposante) {
        if (pclFen->piGetVM() != piComposante) return false;
    } else if (!pclFen->bEstComposantePrincipale()) {
        return false;
    }
    if (!pclFen->sGetAlias().empty() && kvtexte::bEgalSansCasse(pclFen->sGetAlias(), pszNom)) return true;
    return kvtexte::bEgalSansCasse(pclFen->sGetNom(), pszNom);
}

CFenPrincipale* CExe::pclGetFenetreFromName(const wchar_t* pszNom) const {
    if (!pszNom || !*pszNom) return nullptr;
    CFenPrincipale* pclTrouvee = nullptr;
    m_listeFenetres.PourChaque(
        [&](CFenPrincipale* f) {
            if (!f->bEstVivante() || f->bEnFermeture()) return true;
            if ((!f->sGetAlias().empty() && kvtexte::bEgalSansCasse(f->sGetAlias(), pszNom)) ||
                kvtexte::bEgalSansCasse(f->sGetNom(), pszNom)) {
                pclTrouvee = f;
                return false;
            }
            return true;
        },
        true);
    return pclTrouvee;
}

CFenPrincipale* CExe::pclGetFenetreFromNameAndComponent(const wchar_t* pszNom, IVM* piVM) const {
    if (!pszNom || !*pszNom) return nullptr;
    CFenPrincipale* pclTrouvee = nullptr;
    m_listeFenetres.PourChaque(
        [&](CFenPrincipale* f) {
            if (_bEstFenRecherchee(f, pszNom, piVM)) {
                pclTrouvee = f;
                return false;
            }
            return true;
        },
        true);
    return pclTrouvee;
}

bool CExe::bFenEnFermetureExiste() const {
    bool b = false;
    m_listeFenetres.PourChaque([&](CFenPrincipale* f) { return !(b = f->bEnFermeture()); });
    return b;
}

bool CExe::bFenEnOuvertureExiste() const {
    bool b = false;
    m_listeFenetres.PourChaque([&](CFenPrincipale* f) { return !(b = f->bEnOuverture()); });
    return b;
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

void CExe::SetFenActive(CFenPrincipale* pclFen) {
    if (pclFen == m_pclFenActive) return;
    if (pclFen) pclFen->AddRef();
    CFenPrincipale* pclAncienne = m_pclFenActive;
    m_pclFenActive = pclFen;
    if (pclAncienne) pclAncienne->nRelease();
}

// ---------------------------------------------------------------- host

void CExe::LoadVM(IVM* piVM) {
    m_piVM = piVM;
    m_bVMMultitache = piVM && piVM->nQuery(eQVM_MULTITHREAD, 0) != 0;
}

ILibShop* CExe::piGetLibShop() const { return m_piLibShop; }

int CExe::nGetModeGestionErreur() const { return m_piVM ? m_piVM->nGetModeGestionErreur() : 0; }
bool CExe::bErreurKSAffichee() const { return m_piVM && m_piVM->nQuery(eQVM_DIALOGUE_ERREUR, 0) != 0; }
bool CExe::bDialogueDebuggerEnCours() const { return m_piVM && m_piVM->nQuery(eQVM_DIALOGUE_DEBUGGER, 0) != 0; }

bool CExe::bChargeKVLOBJ() {
    if (m_bKVLOBJCharge) return true;
    if (!m_piVM || !bEstThreadPrincipal()) return false;
    char abySortie[64] = {};
    int nRes = m_piVM->nChargeRessource(nullptr, L"", ghModuleKVOBJ, "RT_KVL", 6812, &gstMyModuleInfo1, abySortie, 0, 0);
    if (nRes != 0) return false;
    m_bKVLOBJCharge = true;
    return true;
}

std::wstring CExe::pszGetNomProjet() const {
    if (!m_sNomProjetEdition.empty()) return m_sNomProjetEdition;
    if (!m_piLibShop) return {};
    CXError err;
    auto* pProjet = static_cast<IProjetVM*>(m_piLibShop->pGetObjetNomme("VMProjet", nullptr, &err));
    if (!pProjet) return {};
    std::wstring s = pProjet->pszGetNom() ? pProjet->pszGetNom() : L"";
    pProjet->Release();
    return s;
}

std::wstring CExe::sGetRepertoireProjet() const {
    if (!m_piLibShop) return {};
    CXError err;
    auto* pProjet = static_cast<IProjetVM*>(m_piLibShop->pGetObjetNomme("VMProjet", nullptr, &err));
    if (!pProjet) return {};
    std::wstring s = pProjet->pszGetRepertoire() ? pProjet->pszGetRepertoire() : L"";
    pProjet->Release();
    return s;
}

IObjetShop* CExe::PIGetMainOLE() {
    if (!m_piMainOLE && m_piLibShop) {
        CXError err;
        m_piMainOLE = m_piLibShop->pGetObjetNomme("MainOLE", nullptr, &err);
    }
    return m_piMainOLE;
}

// ---------------------------------------------------------------- persistence

IPersistance* CExe::piGetPersistance() {
    if (m_bModeUtilitaire) return nullptr;
    if (m_piPersistance) return m_piPersistance;
    if (!m_piVM || !m_piLibShop) return nullptr;
    CXError err;
    void* pSource = m_piVM->pGetInterface(8);
    m_piPersistance = static_cast<IPersistance*>(m_piLibShop->pGetObjetNomme("Persistance", pSource, &err));
    return m_piPersistance;
}

void CExe::SavePersistantUserValue(IVM*, const wchar_t* pszObjet, const wchar_t* pszValeur, const wchar_t* pszTexte) {
    if (IPersistance* p = piGetPersistance()) p->bEcrit(pszObjet, pszValeur, pszTexte ? pszTexte : L"");
}

void CExe::SavePersistantUserValue_Int(IVM* piVM, const wchar_t* pszObjet, const wchar_t* pszValeur, int nValeur) {
    SavePersistantUserValue(piVM, pszObjet, pszValeur, std::to_wstring(nValeur).c_str());
}

void CExe::SavePersistantUserValueA(IVM*, const wchar_t* pszObjet, const wchar_t* pszValeur, const char* pszTexte,
                                    unsigned nCodePage) {
    if (IPersistance* p = piGetPersistance()) p->bEcritA(pszObjet, pszValeur, pszTexte ? pszTexte : "", nCodePage);
}

void CExe::PersistDebutOperationEnBloc(IVM*) {
    if (IPersistance* p = piGetPersistance()) p->DebutOperationEnBloc();
}

void CExe::PersistFinOperationEnBloc(IVM*) {
    if (IPersistance* p = piGetPersistance()) p->FinOperationEnBloc();
}

bool CExe::bReadPersistantUserValue(IVM*, const wchar_t* pszObjet, const wchar_t* pszValeur, CTString& sSortie) {
    const wchar_t* pszDefaut = (pszValeur && std::wcscmp(pszValeur, L"Val") == 0) ? PERSIST_DEFAUT_VAL : L"";
    std::wstring s = pszDefaut;
    if (IPersistance* p = piGetPersistance()) p->bLit(pszObjet, pszValeur, pszDefaut, s);
    if (s == pszDefaut) {
        sSortie.Vide();
        return false;
    }
    sSortie = std::move(s);
    return true;
}

int CExe::nReadPersistantUserValue_Int(IVM* piVM, const wchar_t* pszObjet, const wchar_t* pszValeur, int nDefaut) {
    CTString s;
    if (!bReadPersistantUserValue(piVM, pszObjet, pszValeur, s)) return nDefaut;
    return static_cast<int>(std::wcstol(s.c_str(), nullptr, 10));
}

bool CExe::bReadPersistantUserValueFromA(IVM*, const wchar_t* pszObjet, const wchar_t* pszValeur, std::string& sSortie,
                                         unsigned nCodePage) {
    const char* pszDefaut = (pszValeur && std::wcscmp(pszValeur, L"Val") == 0) ? "***<NULL>***" : "";
    std::string s = pszDefaut;
    if (IPersistance* p = piGetPersistance()) p->bLitA(pszObjet, pszValeur, pszDefaut, nCodePage, s);
    if (s == pszDefaut) {
        sSortie.clear();
        return false;
    }
    sSortie = std::move(s);
    return true;
}

void CExe::_GetPersistantUserValuePath(const wchar_t* pszFichier, CTString& sSortie) {
    sSortie.Vide();
    std::wstring sRep;
    if (m_piLibShop) {
        CXError err;
        if (auto* pProjet = static_cast<IProjetVM*>(m_piLibShop->pGetObjetNomme("VMProjet", nullptr, &err))) {
            if (pProjet->pszGetRepertoire()) sRep = pProjet->pszGetRepertoire();
            pProjet->Release();
        }
    }
    if (sRep.empty()) return;
    // Joined with this platform's separator: a backslash would become part
    // of a file name here instead of separating folders.
    std::wstring s = sRep;
    if (s.back() != SEPARATEUR_CHEMIN) s += SEPARATEUR_CHEMIN;
    s += pszFichier ? pszFichier : L"";
    std::wstring sReduit;
    for (wchar_t c : s) {
        if (c == SEPARATEUR_CHEMIN && !sReduit.empty() && sReduit.back() == SEPARATEUR_CHEMIN) continue;
        sReduit += c;
    }
    sSortie = std::move(sReduit);
}

// ---------------------------------------------------------------- hourglass

void CExe::SablierVrai() {
    CComposanteOBJ::s_pclGetApplicationQT();
    // One override cursor for the whole nesting: pushing one per call would
    // leave wait cursors on Qt's stack once the count is back to 0.
    if (m_nSablier == 0) QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    m_bSablier = true;
    ++m_nSablier;
}

void CExe::SablierFaux() {
    if (m_nSablier >= 2) {
        --m_nSablier;
    } else if (m_nSablier == 1) {
        QApplication::restoreOverrideCursor();
        m_nSablier = 0;
        m_bSablier = false;
    }
}

void CExe::SablierAnnuleTout() {
    if (m_nSablier != 0) {
        QApplication::restoreOverrideCursor();
        m_nSablier = 0;
        m_bSablier = false;
    }
}

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

void CExe::On1ereFenetreOuverte(CFenPrincipale* pclFen) {
    m_bAucuneFenetre = false;
    if (pclFen) m_sNom1ereFenetre = pclFen->sGetNom();
    if (m_pfnFinInit) m_pfnFinInit(m_pUserFinInit, 0, nullptr);
}

void CExe::SetMessageSpashScreen(const wchar_t* pszTexte) {
    if (m_pfnFinInit) m_pfnFinInit(m_pUserFinInit, 1, pszTexte);
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

void CExe::ReceiveActionGeneriqueVMMainThread(int nAction, intptr_t nParametre) {
    CFenPrincipale* pclFen = m_pclFenActive;
    if (!pclFen) return;
    IVM* piVM = pclFen->piGetVM() ? pclFen->piGetVM() : m_piVM;
    if (piVM) piVM->ActionGenerique(nAction, nParametre);
}
