#include "windows/CFenQT.h"
#include <QHash>

namespace {
QHash<QWidget*, CFenQT*>* gpTable = nullptr;
QHash<QWidget*, CFenQT*>& Table() {
    if (!gpTable) gpTable = new QHash<QWidget*, CFenQT*>();
    return *gpTable;
}
} // namespace

void CFenQT::InitializeAll() { Table(); }

void CFenQT::TerminateAll() {
    delete gpTable;
    gpTable = nullptr;
}

CFenQT::~CFenQT() { Destroy(); }

void CFenQT::SaveWindowInWidget(QWidget* pWidget) {
    if (pWidget) Table().insert(pWidget, this);
}

void CFenQT::SetWidget(QWidget* pWidget) {
    if (QWidget* w = m_pWidget.data()) {
        if (gpTable && gpTable->value(w) == this) gpTable->remove(w);
    }
    m_pWidget = pWidget;
    SaveWindowInWidget(pWidget);
}

void CFenQT::NotifieDetruit() {
    if (QWidget* w = m_pWidget.data())
        if (gpTable && gpTable->value(w) == this) gpTable->remove(w);
    m_pWidget = nullptr;
}

void CFenQT::Destroy() {
    QWidget* w = m_pWidget.data();
    NotifieDetruit();
    delete w;
}

CFenQT* CFenQT::pclGetWindowFromWidget(QWidget* pWidget) {
    if (!pWidget || !gpTable) return nullptr;
    return gpTable->value(pWidget, nullptr);
}

CFenCommun* CFenCommunQT::s_pclGetFenCommunFromFenSysteme(QWidget* pWidget) {
    CFenQT* p = CFenQT::pclGetWindowFromWidget(pWidget);
    return p ? p->vpclGetFenCommunQT() : nullptr;
}
