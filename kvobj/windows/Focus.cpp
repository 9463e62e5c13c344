#include "windows/Focus.h"
#include "controls/core/CChamp.h"
#include "frame/CExe.h"
#include "windows/CFenPrincipale.h"
#include <QApplication>
#include <QPointer>

namespace {
// Set while a focus change runs: focus events it causes itself are not
// focus changes of their own.
int gnChangementEnCours = 0;
struct Garde {
    Garde() { ++gnChangementEnCours; }
    ~Garde() { --gnChangementEnCours; }
};
} // namespace

bool bSetFocusObjet(CChamp* pclNouveau, int nCause, QWidget* pCible, CChamp* pclAncien, CChamp* pclOrigine) {
    if (!pclNouveau) return false;
    Garde g;
    QPointer<QWidget> cible(pCible);
    if (pclAncien == pclNouveau && !(pclOrigine && pclOrigine->vbInPcodeDEntree())) {
        if (nCause == eFOCUS_ZR) return true;
        if (cible) cible->setFocus(Qt::OtherFocusReason);
        return true;
    }
    CFenPrincipale* pclFen = pclNouveau->vpclGetFenPrincipale();
    if (pclFen) {
        pclFen->SetCauseFocus(nCause);
        if (pclAncien && pclAncien->vpclGetFenPrincipale() == pclFen) pclFen->SetChampSuivant(pclNouveau);
    }
    bool bSortie = false;
    if (pclAncien && pclAncien->bEstVivant()) {
        switch (nCause) {
        case 1: case 2: case 3: case 9: case 10: bSortie = true; break;
        case eFOCUS_PROGRAMME:
            bSortie = !pclAncien->vbInPcodeDeSortie() &&
                      !(pclOrigine && pclOrigine->vbInPcodeDEntree() && (pclOrigine == pclNouveau || pclAncien == pclNouveau)) &&
                      !(pclOrigine && pclOrigine->dwGetId() == 4);
            break;
        default: break;
        }
    }
    if (bSortie) {
        pclAncien->AddRef();
        bool bAccepte = pclAncien->vbAccepteSortie();
        bool bVivant = pclAncien->bEstVivant();
        pclAncien->nRelease();
        if (!bAccepte) {
            if (pclFen && pclFen->bEstVivante()) pclFen->SetChampSuivant(nullptr);
            // The focus stays on the old control.
            if (bVivant && pclAncien->pGetWidget()) pclAncien->pGetWidget()->setFocus(Qt::OtherFocusReason);
            return false;
        }
        if (!cible) {
            if (pclFen) pclFen->SetChampSuivant(nullptr);
            return false;
        }
    }
    if (!pclFen || !pclFen->bEstVivante() || !pclFen->pGetWidget() || !pclNouveau->bEstVivant()) return false;
    QWidget* pFocusAvantEntree = QApplication::focusWidget();
    pclNouveau->AddRef();
    bool bEntree = pclNouveau->_bExecuteCodeEntree();
    bool bVivant = pclNouveau->bEstVivant();
    pclNouveau->nRelease();
    if (pclFen->bEstVivante()) pclFen->SetChampSuivant(nullptr);
    if (!bEntree || !bVivant) return false;
    pclFen->SetChampPrecedent(pclAncien);
    pclFen->SetChampFocus(pclNouveau);
    if (nCause == eFOCUS_ZR) return true;
    if (QApplication::focusWidget() != pFocusAvantEntree) return true;  // the entry code moved the focus itself
    if (cible && QApplication::focusWidget() != cible) cible->setFocus(Qt::OtherFocusReason);
    return true;
}

int CControleurChamp_QT::veQuandRecoitFocus(const CInfoEveFocus& info) {
    if (gnChangementEnCours) return 1;
    CChamp* c = m_pclObjet ? m_pclObjet->pclCastToChamp() : nullptr;
    if (!c) return 1;
    CFenPrincipale* f = c->vpclGetFenPrincipale();
    CChamp* pclAncien = f ? f->pclGetChampFocus() : nullptr;
    auto* e = static_cast<QFocusEvent*>(info.pEvenement);
    int nCause = e->reason() == Qt::MouseFocusReason ? eFOCUS_CLIC
                 : (e->reason() == Qt::TabFocusReason || e->reason() == Qt::BacktabFocusReason) ? eFOCUS_CLAVIER
                                                                                               : eFOCUS_AUTRE;
    bSetFocusObjet(c, nCause, info.pDispatcher, pclAncien, nullptr);
    return 1;
}
