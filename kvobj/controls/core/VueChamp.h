// What a control's model asks of its widget, whatever its family. The
// model holds this interface and never a widget type; the Qt layer
// (VueChamp.cpp) makes the widget and the object behind the interface.
#pragma once
#include "base/CTString.h"
#include <QRect>
#include <cstdint>

class QWidget;

class IVueChamp {
public:
    virtual ~IVueChamp() = default;
    // Geometry, visibility, and whether the widget takes input (greyed
    // controls keep the widget's own enabled state; their view draws them).
    virtual void AppliqueEtat(const QRect& r, bool bVisible, bool bActive) = 0;
    // Whether the focus policy lets the user reach the widget.
    virtual void AppliqueTabStop(bool bTabStop) = 0;
    // The platform's warning sound.
    virtual void Bip() = 0;
    // A short message shown under the control (a tool tip).
    virtual void AfficheBulle(const CTString& s) = 0;
    // Moves the focus on as the Tab key would.
    virtual void PasseAuSuivant() = 0;
    // In front of the other controls of its window.
    virtual void PremierPlan() = 0;
    // Moves the widget into another parent widget (nothing when it is there).
    virtual void ChangeParent(QWidget* pParent) = 0;
    // Marks the control as in error with the message (a red halo, the message
    // as its tool tip, shown at once); an empty message takes the mark away.
    virtual void AfficheErreur(const CTString& sMessage) = 0;
    // The colour of selected text and items (0x00BBGGRR); any value that is
    // not an RGB colour gives the platform's colour back.
    virtual void SetCouleurSelection(uint32_t nCouleur) = 0;
};

class CChamp;

// The Qt layer makes a control's widget (its family's view, or a plain
// one), hands it to the control (SetWidget), and returns the generic view
// over it. Null when there is no Qt
// layer (the compiler links the models alone).
using PFN_CREE_VUE_CHAMP = IVueChamp* (*)(CChamp& c, QWidget* pParent, QWidget*& pWidget);
extern PFN_CREE_VUE_CHAMP gpfnCreeVueChamp;
