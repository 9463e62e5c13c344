// The Qt side of a window: the controller of its dialog, and the menu bar
// made from its main menu.
#pragma once
#include "windows/CQTDispatcher.h"

class CFenPrincipale;
class QMenuBar;

// The window's controller: its close request runs the closing codes, its
// timer events drive the automatic closing.
class CControleurFenPrincipale_QT : public CControleurBase_QT {
public:
    using CControleurBase_QT::CControleurBase_QT;
    CFenPrincipale* Fen() const;
    int veQuandFermeture(const CInfoEvenement&) override;
    int veQuandEvenementTimer(const CInfoEvenement& info) override;
    // A key that reaches the window may be a call letter of its buttons.
    int veQuandPresseBoutonClavier(const CInfoEvenement& info) override;
};

// The window's main menu as a menu bar under pParent, null when the menu
// has no option; an option chosen runs its code (MenuContextuel_QT.cpp).
QMenuBar* pclCreeBarreMenu(CFenPrincipale* f, QWidget* pParent);
