#include "windows/CAppelMainThread_QT.h"
#include "frame/CExe.h"
#include <QMetaObject>
#include <QThread>

CAppelMainThread_QT::CAppelMainThread_QT() = default;

void CAppelMainThread_QT::Appelle(qint32 nAction, qint64 nParametre) {
    if (!m_bConnecte) {
        m_bConnecte = true;
        connect(this, SIGNAL(sendCall(qint32,qint64)), this, SLOT(receiveCall(qint32,qint64)), Qt::AutoConnection);
    }
    Q_EMIT sendCall(nAction, nParametre);
}

void CAppelMainThread_QT::receiveCall(qint32 nAction, qint64 nParametre) {
    if (gpclExe) gpclExe->ReceiveActionGeneriqueVMMainThread(nAction, static_cast<intptr_t>(nParametre));
}

void CAppelMainThread_QT::AppelleEtAttend(const std::function<void()>& fn) {
    if (QThread::currentThread() == thread()) {
        fn();
        return;
    }
    QMetaObject::invokeMethod(this, [&fn] { fn(); }, Qt::BlockingQueuedConnection);
}
