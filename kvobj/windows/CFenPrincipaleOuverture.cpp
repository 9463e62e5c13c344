// Loading a window from its description, the opening sequence, the modal
// loop and closing.
#include "base/Texte.h"
#include "controls/button/CBouton.h"
#include "controls/core/CChamp.h"
#include "controls/image/CChampImage.h"
#include "controls/core/CodeEvenement.h"
#include "frame/CExe.h"
#include "frame/ModuleInfo.h"
#include "windows/CFenPrincipale.h"
#include "windows/Focus.h"
#include <cwctype>

namespace {

constexpr const wchar_t* NOMS_RESERVES[] = {L"KorvelMessageBox", L"KorvelQuestionDefaut", L"KorvelDialogBox"};

CTString Tronque(const std::wstring& s) {
    size_t a = s.find_first_not_of(L" \t");
    if (a == std::wstring::npos) return CTString();
    size_t b = s.find_last_not_of(L" \t");
    return s.substr(a, b - a + 1);
}
} // namespace

// ---------------------------------------------------------------- names

void CFenPrincipale::_sParseNomFenetre(const wchar_t* pszNom, STNomFenetre& st, bool bSansEspaces) {
    st = STNomFenetre();
    std::wstring s;
    for (const wchar_t* p = pszNom ? pszNom : L""; *p; ++p) {
        switch (*p) {
        case 0x01: st.nOptions |= 256; break;
        case 0x02: st.nOptions |= 512; break;
        case 0x05: st.nOptions |= 2048; break;
        default: s += *p;
        }
    }
    std::vector<std::wstring> items;
    size_t nDebut = 0;
    for (;;) {
        size_t n = s.find(L',', nDebut);
        items.push_back(s.substr(nDebut, n == std::wstring::npos ? std::wstring::npos : n - nDebut));
        if (n == std::wstring::npos) break;
        nDebut = n + 1;
    }
    auto entier = [](const std::wstring& t, int& n) {
        CTString x = Tronque(t);
        if (x.empty()) return false;
        wchar_t* fin = nullptr;
        long v = std::wcstol(x.c_str(), &fin, 10);
        if (!fin || *fin) return false;
        n = static_cast<int>(v);
        return true;
    };
    if (items.size() > 1) st.bY = entier(items[1], st.nY);
    if (items.size() > 2) st.bX = entier(items[2], st.nX);
    const std::wstring& premier = items[0];
    size_t nEgal = premier.find(L'=');
    if (nEgal != std::wstring::npos) {
        st.sNom = Tronque(premier.substr(nEgal + 1));
        st.sAlias = Tronque(premier.substr(0, nEgal));
        st.nOptions |= 4;
    } else {
        st.sNom = Tronque(premier);
    }
    if (bSansEspaces) {
        std::wstring t;
        for (wchar_t c : st.sNom)
            if (c != L' ') t += c;
        st.sNom = t;
    }
}

// ---------------------------------------------------------------- description

void CFenPrincipale::sxLitEntete(CLecteurKV& ar) {
    CKVBuffer& b = ar.Buffer();
    uint32_t nType = 0, nFormat = 0;
    ar(nType, "object_type");
    if (nType != 2) xThrowErreur(10013, nType);
    const size_t nPosFormat = b.nGetPosition();
    b >> nFormat;
    if (ar.pGetTrace())
        ar.Trace(nPosFormat, "format",
                 kvtexte::Format(L"0x%08X (%u.%u)", nFormat, nFormat >> 16, nFormat & 0xFFFF));
    if ((nFormat >> 16) != 6) xThrowErreur(10013, nFormat);
    uint32_t nBas = nFormat & 0xFFFF;
    if (nBas < 6) xThrowErreur(10014, KVOBJ_MODULE);
    if (nBas > 7) xThrowErreur(10084, KVOBJ_MODULE);
}

void CFenPrincipale::xCree(CKVBuffer& b) {
    CLecteurKV ar(b, vdwGetCodePageDeserial());
    sxLitEntete(ar);
    serialise(ar, *this, m_desc);
    m_desc.pMenuPrincipal->SetFenetreRecursif(this);
    for (auto& m : m_desc.tabMenusContextuels) m->SetFenetreRecursif(this);
    // The client size, when given, sets the initial size and moves the limits with it.
    if (m_desc.nLargeurClient > 0 && m_desc.nHauteurClient > 0) {
        int dl = m_desc.nLargeurClient - m_rectInitial.width(), dh = m_desc.nHauteurClient - m_rectInitial.height();
        SetRectInitial(QRect(m_rectInitial.topLeft(), QSize(m_desc.nLargeurClient, m_desc.nHauteurClient)));
        m_nLargeurMin = std::max(0, m_nLargeurMin + dl);
        m_nHauteurMin = std::max(0, m_nHauteurMin + dh);
        if (m_nLargeurMax != 20000) m_nLargeurMax += dl;
        if (m_nHauteurMax != 20000) m_nHauteurMax += dh;
    }
    if ((m_desc.style.nCouleurFond == 0xFFFFFFFF || m_desc.style.nCouleurFond == 0xFF000000) && !m_desc.bFondBlanc)
        m_desc.style.nCouleurFond = 0x00FFFFFF;
    // The control list: tolerant first; when that still fails, strict, so
    // that the error is the real one.
    size_t nDebutListe = b.nGetPosition();
    try {
        m_conteneur.xDeserialise(b, true);
    } catch (const CXError&) {
        b.SeekNoResize(static_cast<int64_t>(nDebutListe), 0);
        m_conteneur.xDeserialise(b, false);
    }
}

void CFenPrincipale::Ecrit(CKVBuffer& b) {
    b << uint32_t(2) << uint32_t((6u << 16) | 7u);
    CEcrivainKV ar(b);
    serialise(ar, *this, m_desc);
    m_conteneur.Serialise(b);
    if (m_desc.nPack != 0) b.ChangePackMethod(static_cast<eBUFFER_PACKMETHOD>(m_desc.nPack));
}

// ---------------------------------------------------------------- loading

CFenPrincipale* CFenPrincipale::_xpclsChargeFen(IVM* piVM, const STNomFenetre& st, CFenPrincipale* pclParent, int nFlags) {
    if (!piVM) xThrowErreur(10019, st.sNom, L"no virtual machine");
    uint32_t nType = (nFlags & 2) ? 8 : 2;
    if (gpclExe && gpclExe->dwGetTypeKVFileOuvreSuivant()) {
        nType = gpclExe->dwGetTypeKVFileOuvreSuivant();
        gpclExe->SetTypeKVFileOuvreSuivant(0);
    }
    STRechercheDescription req;
    req.pszNom = st.sNom.c_str();
    req.nType = nType;
    req.nOptions = (nFlags & 8) ? 4097 : 4;
    if (nFlags & 16) {
        req.nOptions = 1026;
        req.pszChemin = st.sNom.c_str();
    }
    for (const wchar_t* r : NOMS_RESERVES)
        if (kvtexte::bEgalSansCasse(r, st.sNom)) {
            req.nOptions |= 8;
            if (gpclExe) gpclExe->bChargeKVLOBJ();
        }
    req.pComposante = pclParent ? pclParent->piGetVM() : nullptr;
    int nCode = piVM->nChercheDescription(&req);
    if (nCode != 0 && (nFlags & 1)) {
        req.nType = 8;
        nCode = piVM->nChercheDescription(&req);
    }
    if (nCode == 1025) {
        nCode = piVM->nChargeDescriptionParNom(st.sNom.c_str(), nType, &req.pDonnees, &req.nTailleDonnees);
        if (nCode != 0 && (nFlags & 1)) {
            req.nType = 8;
            nCode = piVM->nChargeDescriptionParNom(st.sNom.c_str(), 8, &req.pDonnees, &req.nTailleDonnees);
        }
    }
    if (nCode == 1082 && (nFlags & 1)) nCode = 0;
    if (nCode != 0 || !req.pDonnees) {
        if (req.nType == 8) xThrowErreur(10143, st.sNom);
        xThrowErreur(10019, st.sNom, req.szMessage);
    }
    auto* f = new CFenPrincipale(st.sNom.c_str(), st.sAlias.empty() ? nullptr : st.sAlias.c_str());
    f->SetParent(pclParent);
    f->SetVM(piVM);
    try {
        CKVBuffer b(req.pDonnees, req.nTailleDonnees);
        f->xCree(b);
    } catch (...) {
        f->nRelease();
        throw;
    }
    return f;
}

void CFenPrincipale::_SetParamOuverture(const STNomFenetre& st) {
    QRect r = m_rectInitial;
    if (st.bY) r.moveTop(st.nY);
    if (st.bX) r.moveLeft(st.nX);
    m_rectInitial = r;
    m_rect = r;
    if ((st.bX || st.bY) && m_desc.nModeOuverture != 1) m_desc.nModePositionOuverture = 0;
}

// ---------------------------------------------------------------- opening

void CFenPrincipale::xOuvre(bool bModal) {
    // a. the widget (a dialog holding the client area), entered in the list
    _CreeWidgetFenetre();
    // b. modal flag
    m_bModal = bModal;
    m_bEnOuverture = true;
    // c. the window's instance in the virtual machine
    if (IVM* vm = piGetVM()) {
        if (!vm->bInitVMFenetre(static_cast<CFenCommun*>(this), m_sNom.c_str())) xThrowErreur(10023, m_sNom, L"the program refused the window");
    }
    // d. the menu: a bar above a client area that holds the controls
    bool bBarre = m_pVue->bCreeBarreMenu(m_rectInitial.size());
    // e. opening rectangle and limits; the bar's height comes on top of the client size
    QSize t = m_rectInitial.size();
    if (t.isEmpty()) t = QSize(320, 240);
    QSize tMin(std::min(t.width(), m_nLargeurMin), std::min(t.height(), m_nHauteurMin));
    QSize tMax(std::max(t.width(), m_nLargeurMax), std::max(t.height(), m_nHauteurMax));
    if (bBarre) t += QSize(0, m_pVue->nHauteurBarreMenu());
    if (!m_desc.bRedimensionnable) tMin = tMax = t;
    m_pVue->AppliqueTailles(t, tMin, tMax, !m_desc.bRedimensionnable);
    if (m_rectInitial.x() != 0 || m_rectInitial.y() != 0) m_pVue->Deplace(m_rectInitial.topLeft());
    // f. the controls' widgets, in stacking order; images are found in the project's folder
    if (gpclExe) CChampImage::s_SetRepertoireImages(gpclExe->sGetRepertoireProjet());
    QWidget* pClient = pGetWidgetClient();
    if (!m_desc.sImageFond.empty()) AfficheImageFond(IVueFenetre::eIMAGE_FOND_NORMAL);
    try {
        for (CChamp* c : m_conteneur.vpclEnumereChamp_ParZOrder()) c->InitSurOnCreate(pClient);
    } catch (const CXError& e) {
        xThrowErreur(10023, m_sNom, e.sGetMessage());
    }
}

void CFenPrincipale::xAppelCodesOuverture(void* pSlot) {
    IVM* vm = piGetVM();
    if (vm) vm->nPasseParametresOuverture(pSlot, static_cast<CFenCommun*>(this));
    AddRef();
    ExecutePCode(eTRT_DECLARATION);
    m_bDeclFaite = true;
    nRelease();
}

void CFenPrincipale::xInitApresCreate() {
    AddRef();
    struct Libere {
        CFenPrincipale* f;
        ~Libere() { f->nRelease(); }
    } libere{this};
    for (int i = 0; i < m_conteneur.nGetNbChamp() && m_bVivante; ++i) {
        CChamp* c = m_conteneur.pclGetChamp(i);
        if (c->pclGetChampParent()) continue;
        c->vExecutePCodeInit();
    }
    if (!m_bVivante || !gpclExe || !gpclExe->bEstFenOuverte(this)) return;
    RestaureValeursPersistantes();
    if (IVueFenetre* v = m_bVisibleInitial ? pclVueWidget() : nullptr) {
        v->Montre();
        if (gpclExe->bAucuneFenetreEncore()) {
            m_bPremiere = true;
            gpclExe->On1ereFenetreOuverte(this);
        }
        gpclExe->SetFenActive(this);
    }
    ExecutePCode(eTRT_INIT_FENETRE);
    if (!m_bVivante) return;
    m_bEnOuverture = false;
    m_bInitialisee = true;
    if (m_desc.nDureeFermetureAuto > 0) DemarreFermetureAuto(m_desc.nDureeFermetureAuto, m_desc.sBoutonFermetureAuto.c_str());
    // The first control in the tab order takes the focus.
    if (!m_pclChampFocus) {
        for (CChamp* c : m_conteneur.vpclEnumereChamp_ParTabOrder())
            if (c->vbTabStop() && c->pGetWidget()) {
                bSetFocusObjet(c, eFOCUS_AUTRE, nullptr, nullptr);
                break;
            }
    }
}

void CFenPrincipale::_TakeMessageLoopOwnership() {
    if (!gpclExe) return;
    m_pclProprietairePrecedent = gpclExe->pclGetProprietaireBoucle();
    if (m_pclProprietairePrecedent) m_pclProprietairePrecedent->SetNbDependants(m_pclProprietairePrecedent->nGetNbDependants() + 1);
    m_pclProprietaireBoucle = this;
    gpclExe->SetProprietaireBoucle(this);
}

bool CFenPrincipale::bDoModal() {
    IVueFenetre* v = pclVueWidget();
    if (!v || !v->bAFenetre()) return true;
    AddRef();
    _TakeMessageLoopOwnership();
    CFenPrincipale* pclPrecedent = m_pclProprietairePrecedent;
    m_bBoucleEnCours = true;
    v->RetablitDrapeaux();
    // The first window runs the application's loop; the others a loop of their own.
    if (m_bPremiere) v->ExecBouclePrincipale();
    else ExecBoucleModale();
    m_bBoucleEnCours = false;
    // The loop goes back to the window that owned it before, when still open.
    if (gpclExe && gpclExe->pclGetProprietaireBoucle() == this)
        gpclExe->SetProprietaireBoucle(pclPrecedent && gpclExe->bEstFenOuverte(pclPrecedent) ? pclPrecedent : nullptr);
    if (pclPrecedent && gpclExe && gpclExe->bEstFenOuverte(pclPrecedent))
        pclPrecedent->SetNbDependants(std::max(0, pclPrecedent->nGetNbDependants() - 1));
    nRelease();
    return true;
}

void CFenPrincipale::ExecBoucleModale() {
    IVueFenetre* v = pclVueWidget();
    if (!v || !v->bAFenetre()) return;
    // The loop is the view's rather than the dialog's, so that only closing
    // ends it, never hiding (a hidden dialog's own loop would end, or could
    // not be ended). A window closed while it was being shown runs none.
    v->ExecBoucleModale([this] { return m_bVivante && !m_bFermetureAcceptee; });
}

CFenPrincipale* CFenPrincipale::_xpclOuvreInternal(const wchar_t* pszNom, int nFlags, CFenPrincipale* pclParent, IVM* piVM,
                                                   void* pSlot) {
    STNomFenetre st;
    bool bSansEspaces = piVM && (piVM->nGetModeGestionErreur() & 1);
    _sParseNomFenetre(pszNom, st, bSansEspaces);
    CFenPrincipale* f = _xpclsChargeFen(piVM, st, pclParent, 0);
    f->_SetParamOuverture(st);
    // The window that is current now (the opening code's, else the active
    // one) is the one FenPrecedente names afterwards.
    if (gpclExe) {
        CObjetAPCodeOBJ* pclCode = gpclExe->pclGetObjetCourant();
        CFenPrincipale* pclCourante = pclCode ? pclCode->vpclGetFenPrincipale() : nullptr;
        if (!pclCourante) pclCourante = gpclExe->pclGetFenActive();
        gpclExe->SetNomFenPrecedente(pclCourante ? pclCourante->sGetAliasOuNom().c_str() : L"");
    }
    try {
        f->xOuvre((nFlags & eOUVRE_MODAL) != 0);
        f->xAppelCodesOuverture(pSlot);
        if (f->m_bVivante) f->xInitApresCreate();
    } catch (...) {
        if (gpclExe) gpclExe->SupprimeFenetre(f);
        f->m_bVivante = false;
        f->Destroy();
        f->nRelease();
        throw;
    }
    return f;
}

// ---------------------------------------------------------------- closing

bool CFenPrincipale::bExecuteCodeFermeture() {
    if (gpclExe) {
        std::vector<CFenPrincipale*> filles;
        gpclExe->GetListeFenFilles(this, filles);
        for (CFenPrincipale* f : filles)
            if (f->m_bVivante && !f->bExecuteCodeFermeture()) return false;
    }
    if (m_bDeclFaite)
        for (int i = 0; i < m_conteneur.nGetNbChamp(); ++i)
            if (!m_conteneur.pclGetChamp(i)->vbExecuteCodeFermeture()) return false;
    if (gpclExe) gpclExe->RestaureRepriseSaisie(nullptr, 0);
    unsigned nAvant = gpclExe ? gpclExe->nGetCompteurReprises() : 0;
    ExecutePCode(eTRT_FERMETURE);
    // Closing code that asked to resume input in this window refuses the closing.
    if (gpclExe && gpclExe->nGetCompteurReprises() != nAvant) {
        auto* o = dynamic_cast<CObjetAPCodeOBJ*>(gpclExe->pclGetDerniereReprise());
        if (o && (o == this || o->vpclGetFenPrincipale() == this)) return false;
    }
    return true;
}

bool CFenPrincipale::bOnCloseFermeture() {
    if (m_bCodeFermetureEnCours) return false;
    if (m_bFermetureAcceptee || !m_bVivante) return true;
    m_bCodeFermetureEnCours = true;
    m_bEnFermeture = true;
    AddRef();
    bool bAccepte = bExecuteCodeFermeture();
    m_bCodeFermetureEnCours = false;
    if (!bAccepte) {
        m_bEnFermeture = false;
        nRelease();
        return false;
    }
    m_bFermetureAcceptee = true;
    SauveParamEnFermeture();
    if (gpclExe) {
        std::vector<CFenPrincipale*> filles;
        gpclExe->GetListeFenFilles(this, filles);
        for (CFenPrincipale* f : filles) f->SauveParamEnFermeture();
    }
    if (IVM* vm = piGetVM()) vm->TermVMFenetre(static_cast<CFenCommun*>(this));
    m_bDeclFaite = false;
    if (IVueFenetre* v = m_nTimerFermetureAuto ? pclVueWidget() : nullptr) v->ArreteTimer(m_nTimerFermetureAuto);
    m_nTimerFermetureAuto = 0;
    OnFermetureAcceptee();
    if (m_bPremiere && m_pVue) m_pVue->TermineBouclePrincipale();
    nRelease();
    return true;
}

void CFenPrincipale::SauveParamEnFermeture() {
    if (gpclExe && gpclExe->piGetVM()) gpclExe->PersistDebutOperationEnBloc(piGetVM());
    for (int i = 0; i < m_conteneur.nGetNbChamp(); ++i) m_conteneur.pclGetChamp(i)->_SauveValeurPersistante();
    if (gpclExe && gpclExe->piGetVM()) gpclExe->PersistFinOperationEnBloc(piGetVM());
}

void CFenPrincipale::RestaureValeursPersistantes() {
    for (int i = 0; i < m_conteneur.nGetNbChamp(); ++i) m_conteneur.pclGetChamp(i)->_bRestaureValeurPersistante();
}

void CFenPrincipale::DetruitSansCodeFermeture() {
    SauveParamEnFermeture();
    m_bFermetureAcceptee = true;
    if (IVM* vm = piGetVM()) vm->TermVMFenetre(static_cast<CFenCommun*>(this));
    OnFermetureAcceptee();
    _bFermeWidget();
}

// ---------------------------------------------------------------- automatic closing

void CFenPrincipale::DemarreFermetureAuto(int nMs, const wchar_t* pszBouton) {
    IVueFenetre* v = pclVueWidget();
    if (!v) return;
    if (m_nTimerFermetureAuto) v->ArreteTimer(m_nTimerFermetureAuto);
    m_nDureeFermetureAuto = nMs;
    m_sBoutonFermetureAuto.Set(pszBouton);
    m_debutFermetureAuto.start();
    m_nTimerFermetureAuto = v->nDemarreTimer(100);
    if (CChamp* b = m_conteneur.pclGetChampFromName(m_sBoutonFermetureAuto.c_str())) m_sLibelleBoutonAvant = b->pszGetLibelle();
}

void CFenPrincipale::OnTimerEvent(int nId) {
    if (nId == m_nTimerFermetureAuto) TickFermetureAuto();
}

void CFenPrincipale::TickFermetureAuto() {
    qint64 nReste = m_nDureeFermetureAuto - m_debutFermetureAuto.elapsed();
    CChamp* pclBouton = m_sBoutonFermetureAuto.empty() ? nullptr : m_conteneur.pclGetChampFromName(m_sBoutonFermetureAuto.c_str());
    if (nReste > 0) {
        if (pclBouton && nReste >= 1000)
            pclBouton->SetLibelle(kvtexte::Format(L"%ls (%lld)", m_sLibelleBoutonAvant.c_str(), static_cast<long long>(nReste / 1000)).c_str());
        return;
    }
    if (IVueFenetre* v = pclVueWidget()) v->ArreteTimer(m_nTimerFermetureAuto);
    m_nTimerFermetureAuto = 0;
    if (!m_sBoutonFermetureAuto.empty()) {
        // The button is pressed; a button that no longer exists stops here.
        if (pclBouton) {
            pclBouton->SetLibelle(m_sLibelleBoutonAvant.c_str());
            // A button is pressed with its whole click processing; another
            // control runs its click code.
            if (auto* b = dynamic_cast<CBouton*>(pclBouton)) b->_ExecuteAction();
            else pclBouton->ExecutePCode(eTRT_CLIC);
        }
        return;
    }
    Ferme(this, 0);
}

void CFenPrincipale::ArreteFermetureAuto() {
    if (!m_nTimerFermetureAuto) return;
    if (IVueFenetre* v = pclVueWidget()) v->ArreteTimer(m_nTimerFermetureAuto);
    m_nTimerFermetureAuto = 0;
    if (CChamp* b = m_sBoutonFermetureAuto.empty() ? nullptr : m_conteneur.pclGetChampFromName(m_sBoutonFermetureAuto.c_str()))
        b->SetLibelle(m_sLibelleBoutonAvant.c_str());
}
