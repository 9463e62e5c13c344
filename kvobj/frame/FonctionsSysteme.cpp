// System functions of the language: letting events through while code runs,
// the hourglass, the mouse position and the beep.
#include "base/Export.h"
#include "frame/CComposanteOBJ.h"
#include "frame/CExe.h"
#include "frame/Glue.h"
#include "windows/CFenPrincipale.h"
#include "controls/core/CChamp.h"
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

// MultitacheRepeint([n]): lets the windows repaint and the timers and
// other queued work run while code runs, without handing them any user
// input (keys and clicks stay queued until the program waits again). n as
// for Multitache: a negative n goes on for -n hundredths of a second;
// without it, or with any other value, one pass.
void MultitacheRepeint(CComposanteOBJ& compo, int n) {
    CComposanteOBJ::s_pclGetApplicationQT();
    IVM* vm = compo.piGetVM();
    if (vm) vm->AddRef();
    const qint64 nDuree = n < -1 ? -static_cast<qint64>(n) * 10 : 0;
    QElapsedTimer t;
    t.start();
    do {
        if (gpclExe) gpclExe->CheckTimerTempsReel();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (nDuree > 0) QThread::msleep(1);
    } while (t.elapsed() < nDuree);
    if (vm) vm->Release();
}

// Handle([object]): the system handle of a window's or a control's widget
// (its native window identifier; a control's widget is given a native
// window of its own when it had none); 0 while it has no widget. Without
// an object: the current window's.
uintptr_t Handle(CComposanteOBJ& compo, CObjetAPCodeOBJ* pclObjet, bool bFenetreCourante) {
    if (bFenetreCourante) {
        pclObjet = compo.pclGetFenPrincipaleFromName(L"");
        if (!pclObjet) return 0;
    } else if (!pclObjet) {
        compo._RaiseErrorNum(10009, {L"1"});
        return 0;
    }
    QWidget* w = nullptr;
    if (CFenPrincipale* f = pclObjet->vpclCastToFenPrincipale()) {
        w = f->bEstVivante() ? f->pGetWidget() : nullptr;
    } else if (CChamp* c = pclObjet->pclCastToChamp()) {
        w = c->bEstVivant() ? c->pGetWidget() : nullptr;
    } else {
        compo._RaiseErrorTypeChampIDS(pclObjet, 0);
        return 0;
    }
    return w ? static_cast<uintptr_t>(w->winId()) : 0;
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

KV_GLUE(MultitacheRepeint, 0) { MultitacheRepeint(*pclCompo, 0); }

KV_GLUE(MultitacheRepeint, 1) { MultitacheRepeint(*pclCompo, Entier(tabArgs, 0)); }

// A system handle is handed over at the width of an address.
KV_GLUE(Handle, 0) {
    uintptr_t h = Handle(*pclCompo, nullptr, true);
    if (pAppel && pAppel->pVM) pAppel->pVM->SetResultat(pAppel->pSlot, &h, eSIG_HANDLE);
}

KV_GLUE(Handle, 1) {
    uintptr_t h = Handle(*pclCompo, Objet(tabArgs, 0), false);
    if (pAppel && pAppel->pVM) pAppel->pVM->SetResultat(pAppel->pSlot, &h, eSIG_HANDLE);
}

KV_GLUE(Sablier, 0) { Sablier(*pclCompo, true); }

KV_GLUE(Sablier, 1) { Sablier(*pclCompo, Entier(tabArgs, 0) != 0); }

KV_GLUE(SourisPosX, 0) { ResultatEntier(pAppel, SourisPosX(*pclCompo, 0)); }

KV_GLUE(SourisPosX, 1) { ResultatEntier(pAppel, SourisPosX(*pclCompo, Entier(tabArgs, 0))); }

KV_GLUE(SourisPosY, 0) { ResultatEntier(pAppel, SourisPosY(*pclCompo, 0)); }

KV_GLUE(SourisPosY, 1) { ResultatEntier(pAppel, SourisPosY(*pclCompo, Entier(tabArgs, 0))); }

KV_GLUE(Bip, 0) { Bip(*pclCompo); }
