#include "windows/CFenPrincipale.h"
#include "controls/core/CChamp.h"
#include "frame/CExe.h"
#include "windows/Focus.h"
#include <QDir>
#include <QFileInfo>

CFenPrincipale::CFenPrincipale(const wchar_t* pszNom, const wchar_t* pszAlias) : m_sAlias(pszAlias) {
    SetName(pszNom);
    m_conteneur.SetFenetre(this);
}

CFenPrincipale::~CFenPrincipale() {
    m_bVivante = false;
    // The widget's events no longer reach the window.
    m_pVue.reset();
}

IVM* CFenPrincipale::piGetVM() const { return m_piVM ? m_piVM : CObjetAPCodeOBJ::piGetVM(); }

bool CFenPrincipale::vbAccepteCodeObjet(const CFenCommun*, int) const { return m_bVivante; }

void CFenPrincipale::vAppliqueDemandeFocus(CObjetAPCodeOBJ* pclOrigine) {
    if (!gpclExe) return;
    CObjet* pclCible = gpclExe->pclGetRepriseSaisie();
    gpclExe->RestaureRepriseSaisie(nullptr, 0);
    auto* pclObjet = dynamic_cast<CObjetAPCodeOBJ*>(pclCible);
    // A window takes the focus by becoming the active window.
    if (CFenPrincipale* f = pclObjet ? pclObjet->vpclCastToFenPrincipale() : nullptr) {
        IVueFenetre* v = f->pclVueWidget();
        if (v && f->bEstVivante()) v->PremierPlan();
        return;
    }
    CChamp* c = pclObjet ? pclObjet->pclCastToChamp() : nullptr;
    if (!c || !c->pGetWidget()) return;
    CFenPrincipale* f = c->vpclGetFenPrincipale();
    CChamp* pclAncien = f ? f->pclGetChampFocus() : nullptr;
    // The code that asked has returned by now: the focus change learns from
    // its origin whether the old control's exit code runs.
    bSetFocusObjet(c, eFOCUS_PROGRAMME, pclAncien, pclOrigine ? pclOrigine->pclCastToChamp() : nullptr);
}

std::unique_ptr<IVueFenetre> (*IVueFenetre::s_pfnCree)(CFenPrincipale& f) = nullptr;

std::unique_ptr<IVueFenetre> IVueFenetre::pclCree(CFenPrincipale& f) { return s_pfnCree ? s_pfnCree(f) : nullptr; }

QWidget* CFenPrincipale::pGetWidgetClient() const { return m_pClient ? m_pClient.data() : pGetWidget(); }

void CFenPrincipale::_CreeWidgetFenetre() {
    if (!m_pVue) m_pVue = IVueFenetre::pclCree(*this);
    if (!m_pVue) return;  // no Qt layer: the window has no widgets
    m_pVue->CreeFenetre(m_desc.sTitre.empty() ? m_sNom : m_desc.sTitre, m_desc.style.nCouleurFond);
    if (gpclExe) gpclExe->AjouteFenetre(this);
}

void CFenPrincipale::CreeWidget() {
    _CreeWidgetFenetre();
    if (!m_pVue) return;
    if (!m_rectInitial.isEmpty()) m_pVue->Redimensionne(m_rectInitial.size());
    for (CChamp* c : m_conteneur.vpclEnumereChamp_ParZOrder()) c->InitSurOnCreate(pGetWidget());
}

CFenPrincipale* CFenPrincipale::pclDepuisWidget(QWidget* pWidget) {
    CFenCommun* f = CFenCommunQT::s_pclGetFenCommunFromFenSysteme(pWidget);
    return f ? f->vpclCastToFenPrincipale() : nullptr;
}

void CFenPrincipale::Ferme(CFenPrincipale* pclFen, int /*nValeur*/) {
    if (!pclFen || !pclFen->m_bVivante || pclFen->m_bEnFermeture) return;
    pclFen->AddRef();
    pclFen->m_bEnFermeture = true;
    pclFen->vSurFermeture();
    if (IVueFenetre* v = pclFen->pclVueWidget()) {
        pclFen->m_bEnFermeture = false;  // the close request sets it while the closing codes run
        // Closed: the widget leaves the table and goes once Qt is done with it.
        if (pclFen->_bFermeWidget()) v->Libere();
    } else {
        pclFen->OnFermetureAcceptee();
    }
    pclFen->nRelease();
}

bool CFenPrincipale::_bFermeWidget() {
    IVueFenetre* v = pclVueWidget();
    if (!v) return false;
    // A dialog hidden by the program while its modal loop runs keeps the
    // loop (FenEtat); only hiding a shown dialog ends that loop, so it is
    // shown again for its closing, and hidden again when that is refused.
    bool bCache = m_bBoucleEnCours && v->bEstCachee();
    if (bCache) v->SetMontree(true);
    bool bFerme = v->bFerme();
    if (!bFerme && bCache) v->SetMontree(false);
    return bFerme;
}

void CFenPrincipale::OnFermetureAcceptee() {
    m_bEnFermeture = true;
    m_bVivante = false;
    if (m_pVue) m_pVue->TermineBoucleModale();
    if (gpclExe) {
        gpclExe->SupprimeFenetre(this);
        if (gpclExe->pclGetFenActive() == this) gpclExe->SetFenActive(nullptr);
    }
}

void CFenPrincipale::AfficheImageFond(int eMode) {
    IVueFenetre* v = pclVueWidget();
    if (!v) return;
    QString sChemin = QString::fromStdWString(m_desc.sImageFond);
    QString sRepertoire = gpclExe ? QString::fromStdWString(gpclExe->sGetRepertoireProjet()) : QString();
    if (!sChemin.isEmpty() && QFileInfo(sChemin).isRelative() && !sRepertoire.isEmpty()) sChemin = QDir(sRepertoire).filePath(sChemin);
    v->AfficheImageFond(CTString(sChemin.toStdWString()), eMode);
}

void CFenPrincipale::PlaceHorsEcran() {
    if (m_bHorsEcran) return;
    IVueFenetre* v = pclVueWidget();
    m_ptAvantHorsEcran = v ? v->ptPosition() : m_rect.topLeft();
    m_bHorsEcran = true;
    if (v) v->Deplace(QPoint(-32000, -32000));
}

void CFenPrincipale::RameneHorsEcran() {
    if (!m_bHorsEcran) return;
    m_bHorsEcran = false;
    if (IVueFenetre* v = pclVueWidget()) v->Deplace(m_ptAvantHorsEcran);
}

void CFenPrincipale::ChangeLangueFenOuverte(CFenPrincipale* pclFen, int /*nAncienne*/, int nNouvelle) {
    if (pclFen) pclFen->m_nLangue = nNouvelle;
}
