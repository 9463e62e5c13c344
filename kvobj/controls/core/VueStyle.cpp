#include "controls/core/VueStyle.h"
#include <QPainter>
#include <QWidget>
#include <qdrawutil.h>
#include <algorithm>

namespace kvvue {

bool bCouleurExplicite(uint32_t nCouleur) { return (nCouleur & 0xFF000000u) == 0; }

QColor CouleurQt(uint32_t nCouleur) {
    if (!bCouleurExplicite(nCouleur)) return QColor();
    return QColor(static_cast<int>(nCouleur & 0xFF), static_cast<int>((nCouleur >> 8) & 0xFF),
                  static_cast<int>((nCouleur >> 16) & 0xFF));
}

QFont PoliceStyle(const STStyleChamp& s, const QFont& base) {
    QFont f(base);
    if (!s.sPolice.empty()) f.setFamilies({QString::fromStdWString(s.sPolice)});
    if (s.nTaillePolice > 0) f.setPointSizeF(std::min(s.nTaillePolice, nTAILLE_POLICE_MAX) / 10.0);
    f.setBold((s.nStylePolice & 0x1) != 0);
    f.setItalic((s.nStylePolice & 0x2) != 0);
    f.setUnderline((s.nStylePolice & 0x4) != 0);
    f.setStrikeOut((s.nStylePolice & 0x8) != 0);
    return f;
}

QPalette PaletteStyle(const STStyleChamp& s, const QPalette& base) {
    QPalette pal(base);
    const QPalette::ColorGroup groupes[] = {QPalette::Active, QPalette::Inactive};
    QColor texte = CouleurQt(s.nCouleurTexte);
    QColor fond = CouleurQt(s.nCouleurFond);
    for (QPalette::ColorGroup g : groupes) {
        if (texte.isValid()) {
            pal.setColor(g, QPalette::WindowText, texte);
            pal.setColor(g, QPalette::Text, texte);
            pal.setColor(g, QPalette::ButtonText, texte);
        }
        if (fond.isValid()) {
            pal.setColor(g, QPalette::Window, fond);
            pal.setColor(g, QPalette::Base, fond);
            pal.setColor(g, QPalette::Button, fond);
        }
    }
    return pal;
}

int nLargeurCadre(const STStyleChamp& s) {
    if (s.nCadre < 1 || s.nCadre > 3) return 0;
    return std::clamp(s.nEpaisseurCadre, 1, nLARGEUR_CADRE_MAX);
}

QMargins MargesCadre(const STStyleChamp& s) {
    int n = nLargeurCadre(s);
    return QMargins(n, n, n, n);
}

void AppliqueStyle(QWidget* w, const STStyleChamp& s) {
    if (!w) return;
    // Start from the defaults each time, so that a style going back to
    // automatic colours or the application's font takes effect.
    w->setFont(PoliceStyle(s, QFont()));
    w->setPalette(PaletteStyle(s, QPalette()));
    w->setContentsMargins(MargesCadre(s));
}

QColor CouleurTexte(const STStyleChamp& s, const QPalette& pal, bool bGrise) {
    if (bGrise) return pal.color(QPalette::Disabled, QPalette::WindowText);
    // A transparent text colour would hide the caption: it counts as automatic.
    QColor c = CouleurQt(s.nCouleurTexte);
    return c.isValid() ? c : pal.color(QPalette::Active, QPalette::WindowText);
}

void DessineFond(QPainter& p, const QRect& r, const STStyleChamp& s) {
    QColor c = CouleurQt(s.nCouleurFond);
    if (c.isValid() && r.isValid()) p.fillRect(r, c);
}

void DessineCadre(QPainter& p, const QRect& r, const STStyleChamp& s, const QPalette& pal) {
    int n = nLargeurCadre(s);
    if (n == 0 || !r.isValid()) return;
    // Never more than fills the rectangle.
    n = std::min(n, (std::min(r.width(), r.height()) + 1) / 2);
    if (n <= 0) return;
    p.save();
    switch (s.nCadre) {
    case 1: {
        if (s.nCouleurCadre == nCOULEUR_TRANSPARENT) break;
        QColor c = CouleurQt(s.nCouleurCadre);
        if (!c.isValid()) c = pal.color(QPalette::Active, QPalette::WindowText);
        // Four bands of the frame's width, inside the rectangle.
        p.fillRect(QRect(r.left(), r.top(), r.width(), n), c);
        p.fillRect(QRect(r.left(), r.bottom() - n + 1, r.width(), n), c);
        p.fillRect(QRect(r.left(), r.top(), n, r.height()), c);
        p.fillRect(QRect(r.right() - n + 1, r.top(), n, r.height()), c);
        break;
    }
    case 2:
    case 3:
        qDrawShadePanel(&p, r, pal, s.nCadre == 2, n);
        break;
    default:
        break;
    }
    p.restore();
}

} // namespace kvvue
