#include "windows/Focus.h"
#include "controls/core/CChamp.h"
#include "windows/CFenPrincipale.h"

namespace {
int gnChangementEnCours = 0;
struct Garde {
    Garde() { ++gnChangementEnCours; }
    ~Garde() { --gnChangementEnCours; }
};
} // namespace

bool bChangementFocusEnCours() { return gnChangementEnCours != 0; }

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
        case eFOCUS_PROGRAMME:
            bSortie = !pclAncien->vbInPcodeDeSortie() &&
                      !(pclOrigine && pclOrigine->vbInPcodeDEntree() && (pclOrigine == pclNouveau || pclAncien == pclNouveau)) &&
                      !(pclOrigine && pclOrigine->dwGetId() == ID_BOUTON);
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
    pclNouveau->AddRef();
    bool bEntree = pclNouveau->_bExecuteCodeEntree();
    bool bVivant = pclNouveau->bEstVivant();
    pclNouveau->nRelease();
    if (pclFen->bEstVivante()) pclFen->SetChampSuivant(nullptr);
    if (!bEntree || !bVivant) return false;
    pclFen->SetChampPrecedent(pclAncien);
    pclFen->SetChampFocus(pclNouveau);
    if (nCause == eFOCUS_ZR) return true;
    if (vue->bFocusAChange()) return true;  // the entry code moved the focus itself
    vue->RameneFocusSurCible();
    return true;
}
