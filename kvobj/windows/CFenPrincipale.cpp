#include "windows/CFenPrincipale.h"
#include "frame/CExe.h"
#include "frame/CComposanteOBJ.h"
#include <QCloseEvent>
#include <QHash>

namespace {
// Widgets of open windows, to find a window from its widget.
QHash<QWidget*, CFenPrincipale*>& TableWidgets() {
    static QHash<QWidget*, CFenPrincipale*> t;
    return t;
}

// The window's top-level widget: its close event is where a window leaves
// the application context's list.
class CWidgetFenetre : public QWidget {
public:
    explicit CWidgetFenetre(CFenPrincipale* pclFen) : m_pclFen(pclFen) { setAttribute(Qt::WA_DeleteOnClose, false); }
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

CFenPrincipale::CFenPrincipale(const wchar_t* pszNom, const wchar_t* pszAlias)
    : m_sNom(pszNom), m_sAlias(pszAlias) {}

CFenPrincipale::~CFenPrincipale() {
    if (QWidget* w = m_pWidget.data()) {
        TableWidgets().remove(w);
        static_cast<CWidgetFenetre*>(w)->Detache();
        delete w;
    }
    if (gpclExe) gpclExe->SupprimeFenetre(this);
}

void CFenPrincipale::CreeWidget() {
    CComposanteOBJ::s_pclGetApplicationQT();
    auto* w = new CWidgetFenetre(this);
    w->setWindowTitle(QString::fromStdWString(m_sNom));
    m_pWidget = w;
    TableWidgets().insert(w, this);
    if (gpclExe) gpclExe->AjouteFenetre(this);
}

CFenPrincipale* CFenPrincipale::pclDepuisWidget(QWidget* pWidget) {
    return TableWidgets().value(pWidget, nullptr);
}

void CFenPrincipale::Ferme(CFenPrincipale* pclFen, int /*nValeur*/) {
    if (!pclFen || !pclFen->m_bVivante || pclFen->m_bEnFermeture) return;
    pclFen->AddRef();
    pclFen->m_bEnFermeture = true;
    pclFen->vSurFermeture();
    if (QWidget* w = pclFen->m_pWidget.data())
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
