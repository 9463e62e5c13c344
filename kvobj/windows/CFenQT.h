// Owner of a Qt widget, and the process-wide table from widgets back to
// their owners (windows and controls).
#pragma once
#include "windows/CFenCommun.h"
#include <QPointer>
#include <QWidget>

class CFenQT {
public:
    CFenQT() = default;
    virtual ~CFenQT();
    CFenQT(const CFenQT&) = delete;
    CFenQT& operator=(const CFenQT&) = delete;

    QWidget* pGetWidget() const { return m_pWidget.data(); }
    // Enters the association widget -> this owner.
    void SaveWindowInWidget(QWidget* pWidget);
    // Replaces the widget, removing the old association.
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
    QPointer<QWidget> m_pWidget;
};

class CFenCommunQT : public CFenCommun, public CFenQT {
public:
    CFenCommun* vpclGetFenCommunQT() override { return this; }
    static CFenCommun* s_pclGetFenCommunFromFenSysteme(QWidget* pWidget);
};
