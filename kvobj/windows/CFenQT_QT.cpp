// The Qt layer hands a window or control its widget.
#include "windows/CFenQT.h"
#include "base/PointeurWidget_QT.h"

void CFenQT::SetWidget(QWidget* pWidget) {
    _RetireAssociation(m_pWidget.data());
    AffecteWidget(m_pWidget, pWidget);
    SaveWindowInWidget(pWidget);
}
