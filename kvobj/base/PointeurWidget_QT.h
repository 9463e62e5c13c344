// The Qt layer's side of CPointeurWidget: a widget is its own QObject.
#pragma once
#include "base/CPointeurWidget.h"
#include <QWidget>

inline void AffecteWidget(CPointeurWidget& p, QWidget* pWidget) { p.Set(pWidget, pWidget); }
