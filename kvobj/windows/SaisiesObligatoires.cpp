// The window's check of its mandatory inputs (validation buttons, closing).
#include "controls/core/CChamp.h"
#include "windows/CFenPrincipale.h"
#include "windows/Focus.h"

bool CFenPrincipale::bVerifieSaisiesObligatoires() {
    for (CChamp* c : m_conteneur.vpclEnumereChamp_ParTabOrder()) {
        if (!c->bIsVisible() || !c->bIsEnabled() || c->bIsReadOnly() || !c->vbSaisieObligatoireVide()) continue;
        // The empty control gets the focus; it tells the user why itself.
        CChamp* pclAncien = m_pclChampFocus;
        if (pclAncien != c) bSetFocusObjet(c, eFOCUS_PROGRAMME, pclAncien, nullptr);
        c->vSignaleSaisieObligatoireVide();
        return false;
    }
    return true;
}
