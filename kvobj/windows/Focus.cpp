#include "windows/Focus.h"
#include "controls/core/CChamp.h"
#include "windows/CFenPrincipale.h"
#include "frame/CExe.h"

namespace {
int gnChangementEnCours = 0;
struct Garde {
    Garde() { ++gnChangementEnCours; }
    ~Garde() { --gnChangementEnCours; }
};
} // namespace

bool bChangementFocusEnCours() { return gnChangementEnCours != 0; }

namespace {
// Whether a focus change asked by the program (cause 4) runs the exit code
// of the control that has the focus. pclOrigine is the control whose code
// asked for it (null: the window's or the project's code).
bool _bSortieSurDemandeProgramme(CChamp* pclNouveau, CChamp* pclAncien, CChamp* pclOrigine) {
    if (pclOrigine == pclAncien) {
        // A control sending the focus away from itself leaves through its
        // exit code only from its modification code (an input that moves on
        // once it is complete).
        if (pclOrigine == pclNouveau || !pclOrigine->vbInPcodeDeModification() || pclOrigine->vbInPcodeDeSortie())
            return false;
    } else if (pclAncien->vbInPcodeDeSortie()) {
        return false;
    }
    if (!pclOrigine) return true;
    // A button's code does not take the focus from the control that has it.
    if (pclOrigine->dwGetId() == ID_BOUTON) return false;
    // An entry code that keeps the focus on its own control.
    if (pclOrigine->vbInPcodeDEntree() && (pclOrigine == pclNouveau || pclAncien == pclNouveau)) return false;
    // An entry code that sends the focus on: the change towards its control
    // is still under way and has already run the old control's exit code.
    if (gpclExe && pclOrigine->pGetWidget() && gpclExe->pGetCibleChangementFocus() == pclOrigine->pGetWidget() &&
        gpclExe->pclGetDerniereSortie() == pclAncien)
        return false;
    return true;
}
} // namespace

std::unique_ptr<IVueFocus> (*IVueFocus::s_pfnCree)(QWidget* pCible) = nullptr;

std::unique_ptr<IVueFocus> IVueFocus::pclCree(QWidget* pCible) { return s_pfnCree ? s_pfnCree(pCible) : nullptr; }

bool bSetFocusObjet(CChamp* pclNouveau, int nCause, CChamp* pclAncien, CChamp* pclOrigine) {
    return bSetFocusObjet(pclNouveau, nCause, pclNouveau ? pclNouveau->pGetWidget() : nullptr, pclAncien, pclOrigine);
}

bool bSetFocusObjet(CChamp* pclNouveau, int nCause, QWidget* pCible, CChamp* pclAncien, CChamp* pclOrigine) {
    if (!pclNouveau) return false;
    Garde g;
    std::unique_ptr<IVueFocus> vue = IVueFocus::pclCree(pCible);
    if (!vue) return false;  // no Qt layer: no widget takes a focus
    if (pclAncien == pclNouveau && !(pclOrigine && pclOrigine->vbInPcodeDEntree())) {
        if (nCause == eFOCUS_ZR) return true;
        vue->DonneFocusCible();
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
        case eFOCUS_PROGRAMME: bSortie = _bSortieSurDemandeProgramme(pclNouveau, pclAncien, pclOrigine); break;
        default: break;
        }
    }
    if (bSortie) {
        if (gpclExe) gpclExe->SetDerniereSortie(pclAncien);
        pclAncien->AddRef();
        bool bAccepte = pclAncien->vbAccepteSortie();
        bool bVivant = pclAncien->bEstVivant();
        pclAncien->nRelease();
        if (!bAccepte) {
            if (pclFen && pclFen->bEstVivante()) pclFen->SetChampSuivant(nullptr);
            if (gpclExe) gpclExe->SetDerniereSortie(nullptr);
            // The focus stays on the old control.
            if (bVivant) vue->DonneFocusChamp(pclAncien);
            return false;
        }
        if (!vue->bCibleExiste()) {
            if (pclFen) pclFen->SetChampSuivant(nullptr);
            return false;
        }
    }
    if (!pclFen || !pclFen->bEstVivante() || !pclFen->pGetWidget() || !pclNouveau->bEstVivant()) return false;
    vue->NoteFocus();
    // While the entry code runs, this change is under way towards pCible.
    QWidget* pCibleAvant = gpclExe ? gpclExe->pGetCibleChangementFocus() : nullptr;
    if (gpclExe) gpclExe->SetCibleChangementFocus(pCible);
    pclNouveau->AddRef();
    bool bEntree = pclNouveau->_bExecuteCodeEntree();
    bool bVivant = pclNouveau->bEstVivant();
    pclNouveau->nRelease();
    if (gpclExe) {
        gpclExe->SetCibleChangementFocus(pCibleAvant);
        gpclExe->SetDerniereSortie(nullptr);
    }
    if (pclFen->bEstVivante()) pclFen->SetChampSuivant(nullptr);
    if (!bEntree || !bVivant) return false;
    pclFen->SetChampPrecedent(pclAncien);
    pclFen->SetChampFocus(pclNouveau);
    if (nCause == eFOCUS_ZR) return true;
    if (vue->bFocusAChange()) return true;  // the entry code moved the focus itself
    vue->RameneFocusSurCible();
    return true;
}
