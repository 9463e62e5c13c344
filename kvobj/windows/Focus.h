// Moving the focus between controls with their exit and entry code: the
// rule. The widgets that take the keyboard focus are the Qt layer's
// (Focus_QT.cpp); this rule only hands them on.
#pragma once
#include <memory>

class CChamp;
class QWidget;

// Focus change causes: 1 click, 2 keyboard (tab), 3 inside a looper or
// column, 4 requested by the program, 10 another user action.
enum eCAUSE_FOCUS : int { eFOCUS_CLIC = 1, eFOCUS_CLAVIER = 2, eFOCUS_ZR = 3, eFOCUS_PROGRAMME = 4, eFOCUS_AUTRE = 10 };

// Moves the focus from pclAncien to pclNouveau: runs the exit code of the
// old control (which may refuse), then the entry code of the new one, and
// gives the keyboard focus to pCible. True when the focus moved to the new
// control.
bool bSetFocusObjet(CChamp* pclNouveau, int nCause, QWidget* pCible, CChamp* pclAncien, CChamp* pclOrigine);
// The same, the keyboard focus going to the new control's own widget.
bool bSetFocusObjet(CChamp* pclNouveau, int nCause, CChamp* pclAncien, CChamp* pclOrigine);

// True while a focus change runs: the focus events it causes itself are
// not focus changes of their own.
bool bChangementFocusEnCours();

// The widgets' side of one focus change: which widget has the keyboard
// focus, and giving it.
class IVueFocus {
public:
    virtual ~IVueFocus() = default;
    // The view of a change whose target is pCible, made by the Qt layer.
    // Null without a Qt layer.
    static std::unique_ptr<IVueFocus> pclCree(QWidget* pCible);
    static std::unique_ptr<IVueFocus> (*s_pfnCree)(QWidget* pCible);

    // The target widget still exists.
    virtual bool bCibleExiste() const = 0;
    // Gives the keyboard focus to the target (when it still exists).
    virtual void DonneFocusCible() = 0;
    // Gives the keyboard focus to a control's widget (when it has one).
    virtual void DonneFocusChamp(CChamp* pclChamp) = 0;
    // Notes which widget has the keyboard focus now...
    virtual void NoteFocus() = 0;
    // ...and whether another one has it since.
    virtual bool bFocusAChange() const = 0;
    // Gives the keyboard focus to the target when it exists and another
    // widget has it.
    virtual void RameneFocusSurCible() = 0;
};
