#include "windows/CFenPrincipale.h"
#include <QEventLoop>
#include "controls/button/VueBouton.h"
#include "controls/core/CChamp.h"
#include "frame/CComposanteOBJ.h"
#include "frame/CExe.h"
#include "windows/Focus.h"
#include "windows/CQTDispatcher.h"
#include <QCloseEvent>
#include <QDialog>
#include <QVBoxLayout>

namespace {
// The window's controller: its close request runs the closing codes, its
// timer events drive the automatic closing.
class CControleurFenPrincipale_QT : public CControleurBase_QT {
public:
    using CControleurBase_QT::CControleurBase_QT;
    CFenPrincipale* Fen() const { return m_pclObjet ? m_pclObjet->vpclCastToFenPrincipale() : nullptr; }
    int veQuandFermeture(const CInfoEvenement&) override {
        CFenPrincipale* f = Fen();
        if (!f) return 1;
        return f->bOnCloseFermeture() ? 1 : 0;
    }
    int veQuandEvenementTimer(const CInfoEvenement& info) override {
        CFenPrincipale* f = Fen();
        if (f) f->OnTimerEvent(static_cast<QTimerEvent*>(info.pEvenement)->timerId());
        return 1;
    }
    // A key that reaches the window may be a call letter of its buttons.
    int veQuandPresseBoutonClavier(const CInfoEvenement& info) override {
        CFenPrincipale* f = Fen();
        return f && bTraiteLettreAppel(f, static_cast<QKeyEvent*>(info.pEvenement)) ? 0 : 1;
    }
};
} // namespace

CFenPrincipale::CFenPrincipale(const wchar_t* pszNom, const wchar_t* pszAlias) : m_sAlias(pszAlias) {
    SetName(pszNom);
    m_conteneur.SetFenetre(this);
}

CFenPrincipale::~CFenPrincipale() {
    m_bVivante = false;
    if (auto* w = dynamic_cast<CQTDispatcher<QDialog>*>(pGetWidget())) {
        if (w->pGetControleur()) w->pGetControleur()->Detache();
    }
}

IVM* CFenPrincipale::piGetVM() const { return m_piVM ? m_piVM : CObjetAPCodeOBJ::piGetVM(); }

bool CFenPrincipale::vbAccepteCodeObjet(const CFenCommun*, int) const { return m_bVivante; }

void CFenPrincipale::vAppliqueDemandeFocus() {
    if (!gpclExe) return;
    CObjet* pclCible = gpclExe->pclGetRepriseSaisie();
    gpclExe->RestaureRepriseSaisie(nullptr, 0);
    auto* pclObjet = dynamic_cast<CObjetAPCodeOBJ*>(pclCible);
    // A window takes the focus by becoming the active window.
    if (CFenPrincipale* f = pclObjet ? pclObjet->vpclCastToFenPrincipale() : nullptr) {
        QWidget* w = f->pGetWidget();
        if (w && f->bEstVivante()) {
            w->raise();
            w->activateWindow();
        }
        return;
    }
    CChamp* c = pclObjet ? pclObjet->pclCastToChamp() : nullptr;
    if (!c || !c->pGetWidget()) return;
    CFenPrincipale* f = c->vpclGetFenPrincipale();
    CChamp* pclAncien = f ? f->pclGetChampFocus() : nullptr;
    CObjetAPCodeOBJ* pclCourant = gpclExe->pclGetObjetCourant();
    bSetFocusObjet(c, eFOCUS_PROGRAMME, c->pGetWidget(), pclAncien, pclCourant ? pclCourant->pclCastToChamp() : nullptr);
}

QWidget* CFenPrincipale::_CreeWidgetFenetre() {
    CComposanteOBJ::s_pclGetApplicationQT();
    QWidget* pParent = m_pclParent ? m_pclParent->pGetWidget() : nullptr;
    auto* w = new CQTDispatcher<QDialog>(pParent, new CControleurFenPrincipale_QT(this));
    w->setWindowFlags(Qt::WindowFlags(0x0A00C001));
    w->setModal(false);
    w->setWindowTitle(QString::fromStdWString(m_desc.sTitre.empty() ? m_sNom : m_desc.sTitre));
    auto* layout = new QVBoxLayout(w);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    if (m_desc.style.nCouleurFond < 0x01000000) {
        QPalette pal = w->palette();
        uint32_t c = m_desc.style.nCouleurFond;
        pal.setColor(QPalette::Window, QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
        w->setPalette(pal);
        w->setAutoFillBackground(true);
    }
    SetWidget(w);
    if (gpclExe) gpclExe->AjouteFenetre(this);
    return w;
}

void CFenPrincipale::CreeWidget() {
    QWidget* w = _CreeWidgetFenetre();
    if (!m_rectInitial.isEmpty()) w->resize(m_rectInitial.size());
    for (CChamp* c : m_conteneur.vpclEnumereChamp_ParZOrder()) c->InitSurOnCreate(w);
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
    if (QWidget* w = pclFen->pGetWidget()) {
        pclFen->m_bEnFermeture = false;  // the close request sets it while the closing codes run
        if (pclFen->_bFermeWidget(w)) {
            // Closed: the widget leaves the table and goes once Qt is done with it.
            pclFen->NotifieDetruit();
            w->deleteLater();
        }
    } else {
        pclFen->OnFermetureAcceptee();
    }
    pclFen->nRelease();
}

bool CFenPrincipale::_bFermeWidget(QWidget* w) {
    // A dialog hidden by the program while its modal loop runs keeps the
    // loop (FenEtat); only hiding a shown dialog ends that loop, so it is
    // shown again for its closing, and hidden again when that is refused.
    bool bCache = m_bBoucleEnCours && w->isHidden();
    if (bCache) w->QWidget::setVisible(true);
    bool bFerme = w->close();
    if (!bFerme && bCache) w->QWidget::setVisible(false);
    return bFerme;
}

void CFenPrincipale::OnFermetureAcceptee() {
    m_bEnFermeture = true;
    m_bVivante = false;
    if (m_pBoucleModale) m_pBoucleModale->exit();
    if (gpclExe) {
        gpclExe->SupprimeFenetre(this);
        if (gpclExe->pclGetFenActive() == this) gpclExe->SetFenActive(nullptr);
    }
}

void CFenPrincipale::ChangeLangueFenOuverte(CFenPrincipale* pclFen, int /*nAncienne*/, int nNouvelle) {
    if (pclFen) pclFen->m_nLangue = nNouvelle;
}
