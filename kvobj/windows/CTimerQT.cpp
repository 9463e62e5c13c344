#include "windows/CTimerQT.h"

CTimerQT::CTimerQT(int nPeriode, PFN_TIMER pfn) : m_pfn(pfn) {
    m_timer.setInterval(nPeriode < 0 ? 0 : nPeriode);
    connect(&m_timer, SIGNAL(timeout()), this, SLOT(receiveTick()));
}

void CTimerQT::Demarre() { m_timer.start(); }
void CTimerQT::Arrete() { m_timer.stop(); }

void CTimerQT::receiveTick() {
    if (m_pfn) m_pfn(nullptr, 0, this, 0);
}
