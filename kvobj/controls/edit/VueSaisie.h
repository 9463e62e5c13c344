// What the edit control's model asks of its view (VueSaisie.cpp: a line
// edit, or a text area for a multi-line edit). Every key goes to the model
// first, so the mask decides each character; the view only shows the text,
// the caret and the selection the model hands it.
#pragma once
#include "base/CTString.h"
#include "controls/core/CStyleChamp.h"
#include <cstdint>

class CSaisie;
class QWidget;

// What the model asks of its view (a single-line or a multi-line widget).
class IVueSaisie {
public:
    virtual ~IVueSaisie() = default;
    // Text, selection [nDebut, nFin) with the caret at nFin, and the colour
    // the mask gives the value (COULEUR_MASQUE_AUCUNE: the style's).
    virtual void AfficheTexte(const CTString& s, int nDebut, int nFin, uint32_t dwCouleur) = 0;
    virtual void AppliqueStyle(const STStyleChamp& s, bool bGrise, bool bLectureSeule) = 0;
    virtual void AppliqueOptions(bool bMotDePasse, const CTString& sTexteConseil) = 0;
    // Alignments (0 left/top, 1 centre, 2 right/bottom) and side margins.
    virtual void AppliqueMiseEnPage(int nCadrageH, int nCadrageV, int nRetraitGauche, int nRetraitDroit) = 0;
    // The control's caption, drawn in the first nLargeur pixels (0: none).
    virtual void AppliqueLibelle(const CTString&, int /*nLargeur*/) {}
    // The selection as the user left it (caret moves with the mouse or arrows).
    virtual void LitSelection(int& nDebut, int& nFin) const = 0;
};
