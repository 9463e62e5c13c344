// Opening menus from the language: a context menu as a popup (at the mouse
// cursor or at a point of the window's client area), and the window's menu
// bar with its first menu open.
#include "base/Export.h"
#include "frame/CComposanteOBJ.h"
#include "frame/CExe.h"
#include "base/CRetenue.h"
#include "frame/Glue.h"
#include "windows/CFenPrincipale.h"
#include "windows/CMenu_QT.h"
#include <QAction>
#include <QCursor>
#include <QMenuBar>
#include <QWidget>

CMenu* pclMenuContextuel(CFenPrincipale* f, const CTString& sNom);

namespace {

bool bFenetreAffichee(CFenPrincipale* f) {
    return f && gpclExe && f->bEstVivante() && gpclExe->bEstFenOuverte(f) && f->pGetWidget();
}

// Shows a menu of an open window; x and y both -1: at the mouse cursor,
// otherwise at (x, y) of the window's client area.
void Ouvre(CComposanteOBJ& compo, CMenu& m, int x, int y) {
    CFenPrincipale* f = m.vpclGetFenPrincipale();
    if (!bFenetreAffichee(f)) {
        compo._RaiseErrorNum(10001, {f ? std::wstring(f->sGetAliasOuNom()) : std::wstring(m.sGetNom())});
        return;
    }
    QPoint pt = QCursor::pos();
    if (x != -1 || y != -1) {
        QWidget* c = f->pGetWidgetClient();
        if (!c) c = f->pGetWidget();
        pt = c->mapToGlobal(QPoint(x, y));
    }
    CRetenue retient(f);
    AfficheMenuPopup(m, f->pGetWidget(), pt);
}

// Without a menu: the context menu of the window or control whose code runs.
void OuvreMenuContextuel(CComposanteOBJ& compo) {
    CFenCommun* o = compo.pclGetFenCommunOwner();
    CFenPrincipale* f = o ? o->vpclGetFenPrincipale() : nullptr;
    if (!f) return;
    CMenu* m = pclMenuContextuel(f, o->sGetMenuContextuel());
    if (!m) m = pclMenuContextuel(f, f->sGetMenuContextuel());
    if (m) Ouvre(compo, *m, -1, -1);
}

void OuvreMenuContextuel(CComposanteOBJ& compo, CObjetAPCodeOBJ* pclObjet, int x, int y) {
    auto* o = dynamic_cast<COptionMenu*>(pclObjet);
    CMenu* m = o ? o->pclCastToMenu() : nullptr;
    if (!m) {
        if (pclObjet) compo._RaiseErrorNum(10411, {pclObjet->sGetNom()});
        else compo._RaiseErrorNum(10009, {L"1"});
        return;
    }
    Ouvre(compo, *m, x, y);
}

// The menu bar of the window with its first menu that can open, open.
void OuvreMenuPrincipal(CComposanteOBJ& compo, const wchar_t* pszFenetre) {
    CFenPrincipale* f = kvglue::pclFenetreOuverte(compo, pszFenetre);
    if (!f) return;
    auto* b = dynamic_cast<CMenuQT*>(f->Description().pMenuPrincipal->pGetBackend());
    auto* barre = b ? qobject_cast<QMenuBar*>(b->pGetWidget()) : nullptr;
    if (!barre) return;
    for (QAction* a : barre->actions())
        if (a->isVisible() && a->isEnabled() && !a->isSeparator()) {
            barre->setActiveAction(a);
            return;
        }
}

} // namespace

using namespace kvglue;

KV_GLUE(OuvreMenuContextuel, 0) { OuvreMenuContextuel(*pclCompo); }
KV_GLUE(OuvreMenuContextuel, 1) { OuvreMenuContextuel(*pclCompo, Objet(tabArgs, 0), -1, -1); }
KV_GLUE(OuvreMenuContextuel, 2) { OuvreMenuContextuel(*pclCompo, Objet(tabArgs, 0), Entier(tabArgs, 1), Entier(tabArgs, 2)); }

KV_GLUE(OuvreMenuPrincipal, 0) { OuvreMenuPrincipal(*pclCompo, L""); }
KV_GLUE(OuvreMenuPrincipal, 1) { OuvreMenuPrincipal(*pclCompo, NomFenetre(tabArgs, 0)); }
