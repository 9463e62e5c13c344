// Helpers of the static text and image tests: whole controls written and
// read back, views made under a host widget and captured as images.
#pragma once
#include "Octets.h"
#include "controls/core/Archive.h"
#include "controls/core/CChamp.h"
#include <QColor>
#include <QImage>
#include <QRect>
#include <QWidget>
#include <cstdlib>

namespace kvgraphique {

// A control's whole description: common control record, then its own.
inline kvoctets::Octets Ecrit(CChamp& c) {
    CKVBuffer b;
    CEcrivainKV ar(b);
    c._Serialize(ar);
    return b.Octets();
}

// Reads a whole description into the control; the position reached.
inline size_t nLit(CChamp& c, const kvoctets::Octets& o) {
    CKVBuffer b(o.data(), o.size());
    CLecteurKV ar(b);
    c._Deserialize(ar);
    return b.nGetPosition();
}

// A control of kind T, released at the end of the test; its view is made
// under a host widget on demand and captured as an image.
template <class T>
struct Champ {
    T* p = new T();
    QWidget hote;
    ~Champ() { p->nRelease(); }
    T* operator->() { return p; }
    T& operator*() { return *p; }

    QWidget* pVue() {
        if (!p->pGetWidget()) {
            hote.resize(400, 300);
            p->InitSurOnCreate(&hote);
        }
        return p->pGetWidget();
    }
    QImage Capture() { return pVue()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

inline bool bProche(QRgb px, const QColor& c, int nTolerance = 12) {
    return std::abs(qRed(px) - c.red()) <= nTolerance && std::abs(qGreen(px) - c.green()) <= nTolerance &&
           std::abs(qBlue(px) - c.blue()) <= nTolerance;
}

// The box of the pixels that differ from the background colour.
inline QRect BoiteHorsFond(const QImage& img, const QColor& fond) {
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (!bProche(img.pixel(x, y), fond, 40)) r |= QRect(x, y, 1, 1);
    return r;
}

inline int nPixels(const QImage& img, const QColor& c, int nTolerance = 60) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (bProche(img.pixel(x, y), c, nTolerance)) ++n;
    return n;
}

} // namespace kvgraphique
