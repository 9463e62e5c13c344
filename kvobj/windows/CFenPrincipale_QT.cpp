#include "windows/CFenPrincipale_QT.h"
#include "controls/button/VueBouton.h"
#include "windows/CFenPrincipale.h"
#include "base/PointeurWidget_QT.h"

CFenPrincipale* CControleurFenPrincipale_QT::Fen() const { return m_pclObjet ? m_pclObjet->vpclCastToFenPrincipale() : nullptr; }

int CControleurFenPrincipale_QT::veQuandFermeture(const CInfoEvenement&) {
    CFenPrincipale* f = Fen();
    if (!f) return 1;
    return f->bOnCloseFermeture() ? 1 : 0;
}

int CControleurFenPrincipale_QT::veQuandEvenementTimer(const CInfoEvenement& info) {
    CFenPrincipale* f = Fen();
    if (f) f->OnTimerEvent(static_cast<QTimerEvent*>(info.pEvenement)->timerId());
    return 1;
}

int CControleurFenPrincipale_QT::veQuandPresseBoutonClavier(const CInfoEvenement& info) {
    CFenPrincipale* f = Fen();
    return f && bTraiteLettreAppel(f, static_cast<QKeyEvent*>(info.pEvenement)) ? 0 : 1;
}

void CFenPrincipale::SetWidgetClient(QWidget* pClient) { AffecteWidget(m_pClient, pClient); }
