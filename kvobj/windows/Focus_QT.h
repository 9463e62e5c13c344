// The controller of a control's widget: a focus gained by the user goes
// through the focus change of Focus.h.
#pragma once
#include "windows/CQTDispatcher.h"
#include "windows/Focus.h"

class CControleurChamp_QT : public CControleurBase_QT {
public:
    using CControleurBase_QT::CControleurBase_QT;
    int veQuandRecoitFocus(const CInfoEveFocus& info) override;
};
