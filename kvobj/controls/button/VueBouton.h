// The button's view: what its model asks of it, and the keyboard's call
// letters as the window's controller hands them over.
#pragma once
#include "controls/core/CStyleChamp.h"
#include <QChar>
#include <QString>

class CFenPrincipale;
class QKeyEvent;

class IVueBouton {
public:
    virtual ~IVueBouton() = default;
    virtual void SetStyle(const STStyleChamp& s) = 0;
    virtual void SetGrise(bool b) = 0;
    virtual void SetEtat(int nEtat) = 0;  // BOUTON_ETAT
    // The caption and the letter Alt selects it with (0: none).
    virtual void SetLibelle(const QString& s, QChar cLettre) = 0;
    // A strip of nEtats images side by side; an empty path: none.
    virtual void SetImage(const QString& sChemin, int nEtats) = 0;
    virtual void SetImageFond(const QString& sChemin, int nEtats) = 0;
    virtual void SetFleche(bool b) = 0;
    // A click gives the focus to buttons that take it; the tab key to tab stops.
    virtual void SetPriseFocus(bool bTabStop, bool bPrendFocus) = 0;
};

// A key that may be a call letter (the letter alone, or with Alt) typed in
// a window: runs the button that has it. True when one ran.
bool bTraiteLettreAppel(CFenPrincipale* f, const QKeyEvent* e);
