// Owner of a Qt widget, and the process-wide table from widgets back to
// their owners (windows and controls). The widget is only named here: what
// is done with it is the Qt layer's (CFenQT_QT.cpp).
#pragma once
#include "windows/CFenCommun.h"
#include "base/CPointeurWidget.h"

class QWidget;

class CFenQT {
public:
    CFenQT() = default;
    virtual ~CFenQT();
    CFenQT(const CFenQT&) = delete;
    CFenQT& operator=(const CFenQT&) = delete;

    QWidget* pGetWidget() const { return m_pWidget.data(); }
    // Enters the association widget -> this owner.
    void SaveWindowInWidget(QWidget* pWidget);
    // Replaces the widget, removing the old association (the Qt layer).
    void SetWidget(QWidget* pWidget);
    // The widget is being destroyed by Qt: forget it.
    void NotifieDetruit();
    // Removes the association and deletes the widget.
    void Destroy();

    static CFenQT* pclGetWindowFromWidget(QWidget* pWidget);
    static void InitializeAll();
    static void TerminateAll();

    virtual CFenCommun* vpclGetFenCommunQT() = 0;

private:
    // Removes the association of pWidget when it is to this owner.
    void _RetireAssociation(QWidget* pWidget);

    CPointeurWidget m_pWidget;
};

class CFenCommunQT : public CFenCommun, public CFenQT {
public:
    CFenCommun* vpclGetFenCommunQT() override { return this; }
    static CFenCommun* s_pclGetFenCommunFromFenSysteme(QWidget* pWidget);
};
