// Context menu requests: the object's context menu, shown as a Qt menu;
// the option chosen runs its code.
#include "base/Texte.h"
#include "controls/core/CChamp.h"
#include "controls/core/CodeEvenement.h"
#include "windows/CFenPrincipale.h"
#include "windows/CFenPrincipale_QT.h"
#include "windows/CQTDispatcher.h"
#include <QMenu>
#include <QMenuBar>
#include <memory>
#include <map>

namespace {
template <class Q>
void Remplit(Q& q, CMenu& m, std::map<QAction*, COptionMenu*>& actions) {
    for (int i = 0; i < m.nGetNbOptions(); ++i) {
        COptionMenu* o = m.pclGetOption(i);
        if (!o->bGetVisible()) continue;
        if (o->bEstSeparateur()) {
            q.addSeparator();
            continue;
        }
        QString sLibelle = QString::fromStdWString(o->sGetLibelle());
        if (CMenu* sm = o->pclCastToMenu()) {
            QMenu* qs = q.addMenu(sLibelle);
            qs->setEnabled(!sm->bEstGrisee());
            Remplit(*qs, *sm, actions);
            continue;
        }
        QAction* a = q.addAction(sLibelle);
        a->setEnabled(!o->bEstGrisee());
        if (o->bEstCochee()) {
            a->setCheckable(true);
            a->setChecked(true);
        }
        actions[a] = o;
    }
}
} // namespace

// The window's main menu as a menu bar; an option chosen runs its code.
QMenuBar* pclCreeBarreMenu(CFenPrincipale* f, QWidget* pParent) {
    CMenu& m = *f->Description().pMenuPrincipal;
    if (m.nGetNbOptions() == 0) return nullptr;
    auto* barre = new QMenuBar(pParent);
    auto actions = std::make_shared<std::map<QAction*, COptionMenu*>>();
    Remplit(*barre, m, *actions);
    QObject::connect(barre, &QMenuBar::triggered, barre, [f, actions](QAction* a) {
        auto it = actions->find(a);
        if (it == actions->end() || !f->bEstVivante()) return;
        COptionMenu* o = it->second;
        ExecutePCode(eTRT_OPTION_MENU, o, f->piGetVM(), 0, nullptr, o);
    });
    return barre;
}

// Shows the context menu of an object at a screen position; true when a
// menu was shown.
bool bAfficheMenuContextuel(CFenCommun* pclObjet, const QPoint& ptEcran) {
    if (!pclObjet) return false;
    const CTString& sNom = pclObjet->sGetMenuContextuel();
    if (sNom.empty() || sNom == L"<NO CONTEXT MENU>") return false;
    CFenPrincipale* f = pclObjet->vpclGetFenPrincipale();
    if (!f) return false;
    CMenu* pclMenu = nullptr;
    for (auto& m : f->Description().tabMenusContextuels)
        if (kvtexte::bEgalSansCasse(m->sGetNom(), sNom)) pclMenu = m.get();
    if (!pclMenu) return false;
    QMenu q;
    std::map<QAction*, COptionMenu*> actions;
    Remplit(q, *pclMenu, actions);
    QAction* a = q.exec(ptEcran);
    if (a && actions.count(a)) {
        COptionMenu* o = actions[a];
        ExecutePCode(eTRT_OPTION_MENU, o, f->piGetVM(), 0, nullptr, o);
    }
    return true;
}

int CControleurBase_QT::veAfficheMenuContextuel(const CInfoEvenement& info) {
    auto* e = static_cast<QContextMenuEvent*>(info.pEvenement);
    CFenCommun* pclProprietaire = m_pclObjet;
    if (info.pDispatcher != m_pDispatcher) {
        pclProprietaire = CFenCommunQT::s_pclGetFenCommunFromFenSysteme(info.pDispatcher);
        if (!pclProprietaire) return 0;
    }
    return bAfficheMenuContextuel(pclProprietaire, e->globalPos()) ? 1 : 0;
}
