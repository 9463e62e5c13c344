// What CFenQT does with its widget: the pointer follows the widget's life
// (it becomes null when Qt destroys the widget), and Destroy deletes it.
#include "windows/CFenQT.h"
#include <QWidget>

QWidget* CFenQT::pGetWidget() const { return m_pWidget.data(); }

void CFenQT::SetWidget(QWidget* pWidget) {
    _RetireAssociation(m_pWidget.data());
    m_pWidget = pWidget;
    SaveWindowInWidget(pWidget);
}

void CFenQT::NotifieDetruit() {
    _RetireAssociation(m_pWidget.data());
    m_pWidget = nullptr;
}

void CFenQT::Destroy() {
    QWidget* w = m_pWidget.data();
    NotifieDetruit();
    delete w;
}
