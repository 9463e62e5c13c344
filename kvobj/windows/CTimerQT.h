// A Qt timer that calls the module's timer callback on every tick; the
// object itself is the timer handle handed to the virtual machine.
#pragma once
#include <QObject>
#include <QTimer>

class CTimerQT : public QObject {
    Q_OBJECT
public:
    typedef void (*PFN_TIMER)(void*, unsigned, void* hTimer, unsigned);
    CTimerQT(int nPeriode, PFN_TIMER pfn);
    void Demarre();
    void Arrete();
    QTimer& Timer() { return m_timer; }

public Q_SLOTS:
    void receiveTick();

private:
    QTimer m_timer;
    PFN_TIMER m_pfn;
};
