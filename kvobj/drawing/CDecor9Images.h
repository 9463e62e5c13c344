// A nine-image frame: one source image cut into nine pieces (corners drawn
// at their size, edges and centre stretched or tiled). This part holds the
// description; drawing comes with the drawing functions.
#pragma once
#include "controls/core/Archive.h"

struct CDecor9Images {
    int32_t nGauche = 30, nDroite = 30, nHaut = 20, nBas = 50;  // cut zone
    bool bRepeteLargeur = true, bRepeteHauteur = true, bRepeteCentre = true;
    bool tabVisible[9] = {true, true, true, true, true, true, true, true, true};
    // Destination margins, for the screen resolution.
    int32_t nMargeGauche = 30, nMargeDroite = 30, nMargeHaut = 20, nMargeBas = 50;
    int nModeCoin = 1;
    int nResolution = 96;

    void RecalculeMarges96() {
        nMargeGauche = nGauche;
        nMargeDroite = nDroite;
        nMargeHaut = nHaut;
        nMargeBas = nBas;
        nModeCoin = 1;
        nResolution = 96;
    }
};

// 16 consecutive 32-bit values: cut zone (left, right, top, bottom), repeat
// width, repeat height, repeat centre, visibility of pieces 1 to 9.
template <class A>
void serialise(A& ar, CDecor9Images& d) {
    ar(d.nGauche, "left");
    ar(d.nDroite, "right");
    ar(d.nHaut, "top");
    ar(d.nBas, "bottom");
    ar(d.bRepeteLargeur, "repeat_width");
    ar(d.bRepeteHauteur, "repeat_height");
    ar(d.bRepeteCentre, "repeat_centre");
    static const char* const noms[9] = {"piece1", "piece2", "piece3", "piece4", "piece5",
                                        "piece6", "piece7", "piece8", "piece9"};
    for (int i = 0; i < 9; ++i) ar(d.tabVisible[i], noms[i]);
    if constexpr (A::bLecture) d.RecalculeMarges96();
}
