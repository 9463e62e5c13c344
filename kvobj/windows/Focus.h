// Moving the focus between controls with their exit and entry code.
#pragma once
#include "windows/CQTDispatcher.h"

class CChamp;

// Focus change causes: 1 click, 2 keyboard (tab), 3 inside a looper or
// column, 4 requested by the program, 10 another user action.
enum eCAUSE_FOCUS : int { eFOCUS_CLIC = 1, eFOCUS_CLAVIER = 2, eFOCUS_ZR = 3, eFOCUS_PROGRAMME = 4, eFOCUS_AUTRE = 10 };

// Moves the focus from pclAncien to pclNouveau: runs the exit code of the
// old control (which may refuse), then the entry code of the new one.
// True when the focus moved to the new control.
bool bSetFocusObjet(CChamp* pclNouveau, int nCause, QWidget* pCible, CChamp* pclAncien, CChamp* pclOrigine);

// The controller of a control's widget: a focus gained by the user goes
// through the focus change above.
class CControleurChamp_QT : public CControleurBase_QT {
public:
    using CControleurBase_QT::CControleurBase_QT;
    int veQuandRecoitFocus(const CInfoEveFocus& info) override;
};
