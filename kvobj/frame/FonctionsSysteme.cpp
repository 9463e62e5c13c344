// System functions of the language: letting events through while code runs,
// the hourglass, the mouse position and the beep.
#include "base/Export.h"
#include "frame/CComposanteOBJ.h"
#include "frame/CExe.h"
#include "frame/Glue.h"
#include "windows/CFenPrincipale.h"
#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QThread>
#include <QWidget>

void CComposanteOBJ::Multitache(int n) {
    if (n >= 0) {
        _RaiseErrorNum(10643, {});
        return;
    }
    IVM* vm = piGetVM();
    if (vm) vm->AddRef();  // the program may end code while events run
    const qint64 nDuree = -static_cast<qint64>(n) * 10;
    QElapsedTimer t;
    t.start();
    do {
        if (gpclExe) gpclExe->CheckTimerTempsReel();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::msleep(1);
    } while (n != -1 && t.elapsed() < nDuree);
    if (vm) vm->Release();
}

void CComposanteOBJ::Sablier(bool b) {
    if (!gpclExe) return;
    if (b)
        gpclExe->SablierVrai();
    else
        gpclExe->SablierFaux();
}

bool CComposanteOBJ::_bPositionSouris(int nMode, int& x, int& y) {
    if (nMode != 0 && nMode != 1) {
        _RaiseErrorNum(10051, {std::to_wstring(nMode), L"1"});
        return false;
    }
    QPoint p = QCursor::pos();
    if (nMode == 0) {
        CFenPrincipale* f = _pclGetFenCourante();
        if (QWidget* w = f ? f->pGetWidgetClient() : nullptr) p = w->mapFromGlobal(p);
    }
    x = p.x();
    y = p.y();
    return true;
}

int CComposanteOBJ::SourisPosX(int nMode) {
    int x = 0, y = 0;
    return _bPositionSouris(nMode, x, y) ? x : 0;
}

int CComposanteOBJ::SourisPosY(int nMode) {
    int x = 0, y = 0;
    return _bPositionSouris(nMode, x, y) ? y : 0;
}

void CComposanteOBJ::Bip() {
    s_pclGetApplicationQT();
    QApplication::beep();
}

// ---------------------------------------------------------------- glue

using namespace kvglue;

KV_GLUE(Multitache, 0) { pclCompo->Multitache(0); }

KV_GLUE(Multitache, 1) { pclCompo->Multitache(Entier(tabArgs, 0)); }

KV_GLUE(Sablier, 0) { pclCompo->Sablier(true); }

KV_GLUE(Sablier, 1) { pclCompo->Sablier(Entier(tabArgs, 0) != 0); }

KV_GLUE(SourisPosX, 0) { ResultatEntier(pAppel, pclCompo->SourisPosX(0)); }

KV_GLUE(SourisPosX, 1) { ResultatEntier(pAppel, pclCompo->SourisPosX(Entier(tabArgs, 0))); }

KV_GLUE(SourisPosY, 0) { ResultatEntier(pAppel, pclCompo->SourisPosY(0)); }

KV_GLUE(SourisPosY, 1) { ResultatEntier(pAppel, pclCompo->SourisPosY(Entier(tabArgs, 0))); }

KV_GLUE(Bip, 0) { pclCompo->Bip(); }
