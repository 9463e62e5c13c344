#include "windows/CFenPrincipale.h"
#include "controls/core/CChamp.h"
#include "frame/CComposanteOBJ.h"
#include "frame/CExe.h"
#include <QCloseEvent>

namespace {
// The window's top-level widget: its accepted close is where a window
// leaves the application context's list.
class CWidgetFenetre : public QWidget {
public:
    explicit CWidgetFenetre(CFenPrincipale* pclFen) : m_pclFen(pclFen) {}
    void Detache() { m_pclFen = nullptr; }

protected:
    void closeEvent(QCloseEvent* e) override {
        e->accept();
        if (m_pclFen) m_pclFen->OnFermetureAcceptee();
    }

private:
    CFenPrincipale* m_pclFen;
};
} // namespace

CFenPrincipale::CFenPrincipale(const wchar_t* pszNom, const wchar_t* pszAlias) : m_sAlias(pszAlias) {
    SetName(pszNom);
    m_conteneur.SetFenetre(this);
}

CFenPrincipale::~CFenPrincipale() {
    m_bVivante = false;
    if (auto* w = dynamic_cast<CWidgetFenetre*>(pGetWidget())) w->Detache();
    if (gpclExe) {
        gpclExe->SupprimeFenetre(this);
        if (gpclExe->pclGetFenActive() == this) gpclExe->SetFenActive(nullptr);
    }
}

IVM* CFenPrincipale::piGetVM() const { return m_piVM ? m_piVM : CObjetAPCodeOBJ::piGetVM(); }

CObjetAPCodeOBJ* CFenPrincipale::vpclGetObjetAPCodeOBJFromName(const wchar_t* pszNom, int nMode) {
    if (CChamp* c = m_conteneur.pclGetChampFromName(pszNom, nMode != 0 && nMode != 3)) return c;
    return CObjetAPCodeOBJ::vpclGetObjetAPCodeOBJFromName(pszNom, nMode);
}

bool CFenPrincipale::vbAccepteCodeObjet(const CFenCommun*, int) const { return m_bVivante; }

void CFenPrincipale::vAppliqueDemandeFocus() {
    if (!gpclExe) return;
    CObjet* pclCible = gpclExe->pclGetRepriseSaisie();
    gpclExe->SetRepriseSaisie(nullptr, 0);
    auto* pclObjet = dynamic_cast<CObjetAPCodeOBJ*>(pclCible);
    CChamp* c = pclObjet ? pclObjet->pclCastToChamp() : nullptr;
    if (c && c->pGetWidget()) c->pGetWidget()->setFocus(Qt::OtherFocusReason);
}

void CFenPrincipale::CreeWidget() {
    CComposanteOBJ::s_pclGetApplicationQT();
    auto* w = new CWidgetFenetre(this);
    w->setWindowTitle(QString::fromStdWString(m_sNom));
    if (!m_rectInitial.isEmpty()) w->resize(m_rectInitial.size());
    SetWidget(w);
    for (CChamp* c : m_conteneur.vpclEnumereChamp_ParZOrder()) c->InitSurOnCreate(w);
    if (gpclExe) gpclExe->AjouteFenetre(this);
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
    if (QWidget* w = pclFen->pGetWidget())
        w->close();
    else
        pclFen->OnFermetureAcceptee();
    pclFen->nRelease();
}

void CFenPrincipale::OnFermetureAcceptee() {
    m_bEnFermeture = true;
    m_bVivante = false;
    if (gpclExe) {
        gpclExe->SupprimeFenetre(this);
        if (gpclExe->pclGetFenActive() == this) gpclExe->SetFenActive(nullptr);
    }
}

void CFenPrincipale::ChangeLangueFenOuverte(CFenPrincipale* pclFen, int /*nAncienne*/, int nNouvelle) {
    if (pclFen) pclFen->m_nLangue = nNouvelle;
}
