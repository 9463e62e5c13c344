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

void CFenQT::NotifieDetruit() {
    _RetireAssociation(m_pWidget.data());
    m_pWidget.Vide();
}

void CFenQT::Destroy() {
    // Deleting the widget as the QObject it is: its own destructor runs.
    QObject* o = m_pWidget.pObjet();
    NotifieDetruit();
    delete o;
}

void CFenQT::SaveWindowInWidget(QWidget* pWidget) {
    if (pWidget) Table().insert(pWidget, this);
}

void CFenQT::_RetireAssociation(QWidget* pWidget) {
    if (pWidget && gpTable && gpTable->value(pWidget) == this) gpTable->remove(pWidget);
}

CFenQT* CFenQT::pclGetWindowFromWidget(QWidget* pWidget) {
    if (!pWidget || !gpTable) return nullptr;
    return gpTable->value(pWidget, nullptr);
}

CFenCommun* CFenCommunQT::s_pclGetFenCommunFromFenSysteme(QWidget* pWidget) {
    CFenQT* p = CFenQT::pclGetWindowFromWidget(pWidget);
    return p ? p->vpclGetFenCommunQT() : nullptr;
}
