// Brings a call from any thread to the main thread: the signal is queued
// when emitted from another thread and delivered directly on the main one.
#pragma once
#include <QObject>

class CAppelMainThread_QT : public QObject {
    Q_OBJECT
public:
    CAppelMainThread_QT();
    // Connects the signal to the slot on first use, then emits it.
    void Appelle(qint32 nAction, qint64 nParametre);

Q_SIGNALS:
    void sendCall(qint32 nAction, qint64 nParametre);

public Q_SLOTS:
    void receiveCall(qint32 nAction, qint64 nParametre);

private:
    bool m_bConnecte = false;
};
