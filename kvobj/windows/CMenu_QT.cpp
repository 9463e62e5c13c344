#include "windows/CMenu_QT.h"
#include "base/CRetenue.h"
#include <QAction>
#include <QMenu>
#include <QMenuBar>

// ---------------------------------------------------------------- dispatcher

CQTMenuActionDispatcher::CQTMenuActionDispatcher(QAction* pAction, COptionMenu* pclOption)
    : QObject(pAction), m_pAction(pAction), m_pclOption(pclOption) {
    QObject::connect(pAction, &QAction::triggered, this, &CQTMenuActionDispatcher::ExecuteAction);
}

CQTMenuActionDispatcher* CQTMenuActionDispatcher::spDe(QAction* pAction) {
    return pAction ? pAction->findChild<CQTMenuActionDispatcher*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void CQTMenuActionDispatcher::ExecuteAction() {
    COptionMenu* o = m_pclOption;
    if (!o) return;
    // The option's code may delete the option (and this action with it,
    // later): both stay valid until the code is over.
    CRetenue retient(o);
    QPointer<CQTMenuActionDispatcher> moi(this);
    QPointer<QAction> a(m_pAction);
    o->ExecuteOption();
    // Qt toggles a checkable action when it is triggered; the model says
    // whether it is checked.
    if (moi && a && m_pclOption == o) a->setChecked(o->bEstCochee());
}

// ---------------------------------------------------------------- backend

namespace {
void Applique(QAction* a, const COptionMenu& o) {
    a->setSeparator(o.bEstSeparateur());
    if (!o.bEstSeparateur()) a->setText(CMenuQT::sTexte(o));
    a->setEnabled(o.nGetEtat() != nETAT_MENU_GRISE);
    a->setVisible(o.bGetVisible());
    if (!o.pclCastToMenu()) {
        a->setCheckable(o.bEstCochee());
        a->setChecked(o.bEstCochee());
    }
}

// Forgets the options of the actions of w, and of its sub-menus' actions.
void OublieOptions(QWidget* w) {
    if (!w) return;
    for (QAction* a : w->actions())
        if (CQTMenuActionDispatcher* d = CQTMenuActionDispatcher::spDe(a)) d->Oublie();
}
} // namespace

QString CMenuQT::sTexte(const COptionMenu& o) {
    QString s = QString::fromStdWString(o.sGetLibelle());
    if (!o.sGetTexteSecondaire().empty()) s += QLatin1Char('\t') + QString::fromStdWString(o.sGetTexteSecondaire());
    return s;
}

CMenuQT* CMenuQT::spAttache(CMenu& m, QWidget* w, bool bProprietaire) {
    auto p = std::make_unique<CMenuQT>(m, w, bProprietaire);
    CMenuQT* pcl = p.get();
    m.SetBackend(std::move(p));
    return pcl;
}

CMenuQT::CMenuQT(CMenu& m, QWidget* w, bool bProprietaire) : m_menu(m), m_pWidget(w), m_bProprietaire(bProprietaire) {
    for (int i = 0; i < m.nGetNbOptions(); ++i) vAjouteOption(i, *m.pclGetOption(i));
    vMAJMenu();
}

CMenuQT::~CMenuQT() {
    OublieOptions(m_pWidget);
    if (m_bProprietaire && m_pWidget) m_pWidget->deleteLater();
}

QAction* CMenuQT::pGetAction(int nIndice) const {
    if (!m_pWidget) return nullptr;
    const QList<QAction*> tab = m_pWidget->actions();
    return nIndice >= 0 && nIndice < tab.size() ? tab[nIndice] : nullptr;
}

void CMenuQT::vAjouteOption(int nIndice, COptionMenu& o) {
    if (!m_pWidget) return;
    QAction* pAvant = pGetAction(nIndice);
    QAction* a;
    if (CMenu* sm = o.pclCastToMenu()) {
        auto* q = new QMenu(m_pWidget);
        a = q->menuAction();
        spAttache(*sm, q, false);
    } else {
        a = new QAction(m_pWidget);
        if (!o.bEstSeparateur()) new CQTMenuActionDispatcher(a, &o);
    }
    Applique(a, o);
    m_pWidget->insertAction(pAvant, a);
}

void CMenuQT::vSupprimeOption(int nIndice, COptionMenu& o) {
    QAction* a = pGetAction(nIndice);
    if (!a) return;
    m_pWidget->removeAction(a);
    // Deleted later: the action may be the one whose triggered() runs now.
    if (CMenu* sm = o.pclCastToMenu()) {
        QPointer<QWidget> q = a->menu();
        sm->SetBackend(nullptr);
        if (q) q->deleteLater();
    } else {
        if (CQTMenuActionDispatcher* d = CQTMenuActionDispatcher::spDe(a)) d->Oublie();
        a->deleteLater();
    }
}

void CMenuQT::vMAJOption(int nIndice, COptionMenu& o) {
    if (QAction* a = pGetAction(nIndice)) Applique(a, o);
}

void CMenuQT::vMAJMenu() {
    if (m_pWidget && !m_menu.pclGetParent()) m_pWidget->setEnabled(m_menu.nGetEtat() != nETAT_MENU_GRISE);
}

QAction* CMenuQT::spActionDe(const COptionMenu& o) {
    CMenu* m = o.pclGetParent();
    auto* b = m ? dynamic_cast<CMenuQT*>(m->pGetBackend()) : nullptr;
    return b ? b->pGetAction(m->nIndiceDe(&o)) : nullptr;
}

QMenu* CMenuQT::spPopup(CMenu& m, QWidget* pParent) {
    if (auto* b = dynamic_cast<CMenuQT*>(m.pGetBackend()))
        if (auto* q = qobject_cast<QMenu*>(b->pGetWidget())) return q;
    auto* q = new QMenu(pParent);
    spAttache(m, q, true);
    return q;
}

void AfficheMenuPopup(CMenu& m, QWidget* pParent, const QPoint& ptEcran) {
    QPointer<QMenu> q = CMenuQT::spPopup(m, pParent);
    // The option chosen runs from its action's triggered().
    q->exec(ptEcran);
}
