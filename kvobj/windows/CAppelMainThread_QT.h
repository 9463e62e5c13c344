// Brings a call from any thread to the main thread: the signal is queued
// when emitted from another thread and delivered directly on the main one.
#pragma once
#include <QObject>
#include <functional>

class CAppelMainThread_QT : public QObject {
    Q_OBJECT
public:
    CAppelMainThread_QT();
    // Connects the signal to the slot on first use, then emits it.
    void Appelle(qint32 nAction, qint64 nParametre);
    // Runs fn on the thread of this object (the main one) and returns once
    // it has run: from another thread the call is queued and the caller
    // blocks; on the main thread it runs at once.
    void AppelleEtAttend(const std::function<void()>& fn);

Q_SIGNALS:
    void sendCall(qint32 nAction, qint64 nParametre);

public Q_SLOTS:
    void receiveCall(qint32 nAction, qint64 nParametre);

private:
    bool m_bConnecte = false;
};
