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

namespace {

void Multitache(CComposanteOBJ& compo, int n) {
    if (n >= 0) {
        compo._RaiseErrorNum(10643, {});
        return;
    }
    IVM* vm = compo.piGetVM();
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

void Sablier(CComposanteOBJ& compo, bool b) {
    if (!gpclExe) return;
    if (b)
        gpclExe->SablierVrai();
    else
        gpclExe->SablierFaux();
}

bool _bPositionSouris(CComposanteOBJ& compo, int nMode, int& x, int& y) {
    if (nMode != 0 && nMode != 1) {
        compo._RaiseErrorNum(10051, {std::to_wstring(nMode), L"1"});
        return false;
    }
    QPoint p = QCursor::pos();
    if (nMode == 0) {
        CFenPrincipale* f = compo._pclGetFenCourante();
        if (QWidget* w = f ? f->pGetWidgetClient() : nullptr) p = w->mapFromGlobal(p);
    }
    x = p.x();
    y = p.y();
    return true;
}

int SourisPosX(CComposanteOBJ& compo, int nMode) {
    int x = 0, y = 0;
    return _bPositionSouris(compo, nMode, x, y) ? x : 0;
}

int SourisPosY(CComposanteOBJ& compo, int nMode) {
    int x = 0, y = 0;
    return _bPositionSouris(compo, nMode, x, y) ? y : 0;
}

void Bip(CComposanteOBJ& compo) {
    CComposanteOBJ::s_pclGetApplicationQT();
    QApplication::beep();
}

} // namespace

// ---------------------------------------------------------------- glue

using namespace kvglue;

KV_GLUE(Multitache, 0) { Multitache(*pclCompo, 0); }

KV_GLUE(Multitache, 1) { Multitache(*pclCompo, Entier(tabArgs, 0)); }

KV_GLUE(Sablier, 0) { Sablier(*pclCompo, true); }

KV_GLUE(Sablier, 1) { Sablier(*pclCompo, Entier(tabArgs, 0) != 0); }

KV_GLUE(SourisPosX, 0) { ResultatEntier(pAppel, SourisPosX(*pclCompo, 0)); }

KV_GLUE(SourisPosX, 1) { ResultatEntier(pAppel, SourisPosX(*pclCompo, Entier(tabArgs, 0))); }

KV_GLUE(SourisPosY, 0) { ResultatEntier(pAppel, SourisPosY(*pclCompo, 0)); }

KV_GLUE(SourisPosY, 1) { ResultatEntier(pAppel, SourisPosY(*pclCompo, Entier(tabArgs, 0))); }

KV_GLUE(Bip, 0) { Bip(*pclCompo); }
