// The window's main menu as its menu bar, and context menu requests: the
// object's context menu shown as a popup; the option chosen runs its code.
#include "base/Texte.h"
#include "controls/core/CChamp.h"
#include "windows/CFenPrincipale.h"
#include "windows/CFenPrincipale_QT.h"
#include "windows/CMenu_QT.h"
#include "windows/CQTDispatcher.h"
#include <QMenu>
#include <QMenuBar>

QMenuBar* pclCreeBarreMenu(CFenPrincipale* f, QWidget* pParent) {
    CMenu& m = *f->Description().pMenuPrincipal;
    if (m.nGetNbOptions() == 0) return nullptr;
    auto* barre = new QMenuBar(pParent);
    CMenuQT::spAttache(m, barre, false);
    return barre;
}

// The context menu of a window by name (null when it has none so named).
CMenu* pclMenuContextuel(CFenPrincipale* f, const CTString& sNom) {
    for (auto& m : f->Description().tabMenusContextuels)
        if (m && kvtexte::bEgalSansCasse(m->sGetNom(), sNom)) return m.get();
    return nullptr;
}

// Shows the context menu of an object at a screen position; true when a
// menu was shown.
bool bAfficheMenuContextuel(CFenCommun* pclObjet, const QPoint& ptEcran) {
    if (!pclObjet) return false;
    const CTString& sNom = pclObjet->sGetMenuContextuel();
    if (sNom.empty() || sNom == L"<NO CONTEXT MENU>") return false;
    CFenPrincipale* f = pclObjet->vpclGetFenPrincipale();
    if (!f || !f->pGetWidget()) return false;
    CMenu* pclMenu = pclMenuContextuel(f, sNom);
    if (!pclMenu) return false;
    AfficheMenuPopup(*pclMenu, f->pGetWidget(), ptEcran);
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
