// Turning a control's style into what its Qt view draws with: colours,
// font, palette and the frame. Shared by the views of every control.
#pragma once
#include "controls/core/CStyleChamp.h"
#include <QColor>
#include <QFont>
#include <QMargins>
#include <QPalette>
#include <QRect>

class QPainter;
class QWidget;

namespace kvvue {

// Frames wider than this are drawn at this width: a description cannot
// make a view spend its time drawing thousands of frame lines.
inline constexpr int nLARGEUR_CADRE_MAX = 64;
// Font sizes are kept between 1 and 1000 points (tenths of a point here).
inline constexpr int nTAILLE_POLICE_MAX = 10000;

// A colour that names itself (0x00BBGGRR), as opposed to automatic,
// transparent or any other value with a high byte.
bool bCouleurExplicite(uint32_t nCouleur);
// The Qt colour of an explicit colour; an invalid QColor otherwise.
QColor CouleurQt(uint32_t nCouleur);

// The style's font on top of the widget's default font: family when given,
// size in tenths of a point when positive, bold, italic, underline, strike out.
QFont PoliceStyle(const STStyleChamp& s, const QFont& base);
// The style's colours on top of the widget's default palette, in the active
// and inactive groups only: a disabled view keeps the platform's greyed look.
QPalette PaletteStyle(const STStyleChamp& s, const QPalette& base);

// Width of the frame the style draws (0 without a frame).
int nLargeurCadre(const STStyleChamp& s);
QMargins MargesCadre(const STStyleChamp& s);

// Font, palette and frame margins applied to a widget.
void AppliqueStyle(QWidget* w, const STStyleChamp& s);

// Colour of the text: the platform's greyed text colour for a greyed view,
// the style's colour when explicit, the palette's text colour otherwise.
QColor CouleurTexte(const STStyleChamp& s, const QPalette& pal, bool bGrise);

// Fills the rectangle with the style's background when it is an explicit
// colour; automatic and transparent backgrounds paint nothing.
void DessineFond(QPainter& p, const QRect& r, const STStyleChamp& s);
// Draws the style's frame inside the rectangle: 1 a line in the frame colour
// (the palette's text colour when automatic, nothing when transparent),
// 2 sunken, 3 raised; any other value draws nothing.
void DessineCadre(QPainter& p, const QRect& r, const STStyleChamp& s, const QPalette& pal);

} // namespace kvvue
