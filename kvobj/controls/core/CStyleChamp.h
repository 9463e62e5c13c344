// The style of a control: what its view needs to draw it (colours, font,
// frame, caption frame). The record is ours: version 1, declared size.
#pragma once
#include "controls/core/Archive.h"

// A colour as one 32-bit value: 0x00BBGGRR below 0x01000000; the values
// below are "automatic" (the view's default) and "transparent".
inline constexpr uint32_t nCOULEUR_AUTO = 0xFF000000;
inline constexpr uint32_t nCOULEUR_TRANSPARENT = 0xFE000000;

struct STStyleChamp {
    uint32_t nVersion = 1;
    uint32_t nCouleurTexte = nCOULEUR_AUTO;
    uint32_t nCouleurFond = nCOULEUR_AUTO;
    CTString sPolice;            // empty: the application's font
    int32_t nTaillePolice = 0;   // tenths of a point; 0: the application's size
    uint32_t nStylePolice = 0;   // bit 0 bold, 1 italic, 2 underline, 3 strike out
    int32_t nCadre = 0;          // 0 none, 1 line, 2 sunken, 3 raised
    uint32_t nCouleurCadre = nCOULEUR_AUTO;
    int32_t nEpaisseurCadre = 1;
    int32_t nLargeurLibelle = 0; // width of the caption frame; 0: no caption frame
    int32_t nAlignementLibelle = 0;
    int32_t nStyleAscenseur = 0; // scroll bar style, copied to the control after reading
};

template <class A>
void serialise(A& ar, STStyleChamp& s) {
    CEnregistrement<A> rec(ar, s.nVersion, {1, 1, 1}, "Style");
    ar(s.nCouleurTexte, "text_colour");
    ar(s.nCouleurFond, "background_colour");
    ar.TexteTechnique(s.sPolice, "font");
    ar(s.nTaillePolice, "font_size");
    ar(s.nStylePolice, "font_style");
    ar(s.nCadre, "frame");
    ar(s.nCouleurCadre, "frame_colour");
    ar(s.nEpaisseurCadre, "frame_width");
    ar(s.nLargeurLibelle, "caption_width");
    ar(s.nAlignementLibelle, "caption_alignment");
    ar(s.nStyleAscenseur, "scroll_bar_style");
    rec.Fin();
}
