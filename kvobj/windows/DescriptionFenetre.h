// The window's own description record (after the header of the compiled
// description): the common window record, the window's style, its options
// by version, its menus and, from version 7126, its compiled questions.
// One definition for reading and writing.
#pragma once
#include "controls/core/CKVBufferMark.h"
#include "drawing/CDecor9Images.h"
#include "windows/CFenCommun.h"
#include "windows/CMenu.h"
#include "windows/Questions.h"
#include <algorithm>
#include <memory>
#include <vector>

// The window's drawing style. The record is ours: version 1, declared size.
struct STStyleFenetre {
    uint32_t nVersion = 1;
    uint32_t nCouleurFond = 0xFFFFFFFF;  // undefined: all bits set
    uint32_t nCouleurTexte = nCOULEUR_AUTO;
    CTString sPolice;
    int32_t nTaillePolice = 0;
};

template <class A>
void serialise(A& ar, STStyleFenetre& s) {
    CEnregistrement<A> rec(ar, s.nVersion, {1, 1, 1}, "WindowStyle");
    ar(s.nCouleurFond, "background_colour");
    ar(s.nCouleurTexte, "text_colour");
    ar.TexteTechnique(s.sPolice, "font");
    ar(s.nTaillePolice, "font_size");
    rec.Fin();
}

// A block whose content this module does not use: read whole and dropped
// (a marked block), written empty.
template <class A>
void BlocIgnore(A& ar, const char* pszNom) {
    CKVBuffer& b = ar.Buffer();
    if constexpr (A::bLecture) {
        size_t nDebut = b.nGetPosition();
        size_t nFin = CKVBufferMark::s_dwReadBeginMark(b);
        CKVBufferMark::s_ReadEndMark(b, nFin);
        if (ar.pGetTrace()) ar.Trace(nDebut, pszNom, L"(" + std::to_wstring(nFin - nDebut) + L" bytes skipped)");
    } else {
        size_t n = CKVBufferMark::s_dwWriteBeginMark(b);
        CKVBufferMark::s_WriteEndMark(b, n);
    }
}

// A versioned record with its declared size right after the version, read
// and skipped by that size (a record this module does not read yet).
template <class A>
void EnregistrementIgnore(A& ar, const char* pszNom) {
    CKVBuffer& b = ar.Buffer();
    if constexpr (A::bLecture) {
        uint32_t nVersion, nTaille;
        size_t nDebut = b.nGetPosition();
        b >> nVersion;
        size_t nOffset = b.nGetPosition();
        b >> nTaille;
        if (nTaille < 4) xThrowErreur(10011, static_cast<unsigned long long>(nTaille), 4ull);
        b.xSeekLecture(nOffset + nTaille);
        if (ar.pGetTrace()) ar.Trace(nDebut, pszNom, L"(version " + std::to_wstring(nVersion) + L", skipped)");
    } else {
        b << uint32_t(1) << uint32_t(4);
    }
}

// A gradient background: colours, angle and up to two extra colour stops.
// Drawing it comes with the drawing functions.
struct CFondDegrade {
    uint32_t nVersion = 2007;
    uint32_t nCouleurDebut = 0, nCouleurFin = 0;
    int32_t nAngle = 0;
    int32_t nNombre = 2;
    std::vector<std::pair<uint32_t, int32_t>> tabPaires;  // colour, position
};

template <class A>
void serialise(A& ar, CFondDegrade& g) {
    CEnregistrement<A> rec(ar, g.nVersion, {1907, 2007, 1907}, "Gradient");
    ar(g.nCouleurDebut, "start_colour");
    ar(g.nCouleurFin, "end_colour");
    ar(g.nAngle, "angle");
    ar(g.nNombre, "count");
    if (rec.nVersion() != 1907) {
        int n = std::clamp(g.nNombre - 2, 0, 2);
        if constexpr (A::bLecture) g.tabPaires.assign(static_cast<size_t>(n), {0u, 0});
        else g.tabPaires.resize(static_cast<size_t>(n));
        for (auto& p : g.tabPaires) {
            ar(p.first, "colour");
            ar(p.second, "position");
        }
    }
    rec.Fin();
}

struct STDescriptionFenetre {
    uint32_t nVersion = 7125;
    uint32_t nPack = 0;
    STStyleFenetre style;
    int32_t nModeOuverture = 0;
    CTString sTitre, sImageFond, sChaine2;
    // Message bar, title bar visible, an option, minimise icon, maximise icon,
    // automatic scroll bars.
    int32_t tabOptions[6] = {0, 1, 0, 1, 1, 0};
    CTString sChaineIgnoree;
    int32_t rectIgnore[4] = {0, 0, 0, 0};
    int32_t nOption7 = 0;
    CTString sChaine8;
    bool bRedimensionnable = true;
    int32_t nTypeCadre = 0;
    int32_t nDensite = 96;
    bool bDecor9 = false;
    CDecor9Images decor9;
    bool bDeplacableParFond = false;
    CTString sChaine9;
    int32_t nOption10 = 0;
    // 7006 on.
    int32_t nLargeurClient = 0, nHauteurClient = 0;
    int32_t nDureeFermetureAuto = 0;     // 7007, milliseconds
    CTString sBoutonFermetureAuto;       // 7008
    int32_t nOption7009 = 0;
    CTString sChaine7010;
    int32_t tabOptions7016[19] = {};     // 7016 to 7034 (7028, 7031, 7032, 7034 have their own fields)
    uint8_t abyBloc7028[16] = {};
    CFondDegrade degrade;               // 7031
    int32_t tab7032[4] = {};
    uint64_t qwOptionsFAA = 0;           // 7034
    int32_t tabOptions7112[4] = {};      // 7112 to 7115
    int32_t nModePositionOuverture = 0;  // 7117
    int32_t nPlateforme = 0;             // 7118
    bool bFondBlanc = false;             // 7120
    int32_t nOption7121 = 0;
    CTString sChaine7121;
    int32_t nFacteurAffichage = 100;     // 7122
    int32_t nOption7125 = 0;
    std::unique_ptr<CMenu> pMenuPrincipal = std::make_unique<CMenu>();
    std::vector<std::unique_ptr<CMenu>> tabMenusContextuels;
    CListeQuestionExec questions;        // 7126
};

// The first version whose record ends with the window's questions.
inline constexpr uint32_t nVERSION_FENETRE_QUESTIONS = 7126;

// The window record, after the common record that every window object reads.
template <class A>
void serialise(A& ar, CFenCommun& commun, STDescriptionFenetre& d) {
    CKVBuffer& b = ar.Buffer();
    // The version and the pack word come before the declared size.
    ar(d.nVersion, "window_version");
    if constexpr (A::bLecture) {
        if (d.nVersion < 7001) xThrowErreur(10014, KVOBJ_MODULE);
        if (d.nVersion > 7250) xThrowErreur(10084, KVOBJ_MODULE);
    }
    const uint32_t v = d.nVersion;
    if (v >= 7002) ar(d.nPack, "pack");
    if constexpr (A::bLecture) {
        uint32_t nMethode = v == 7001 ? 1 : d.nPack;
        if (nMethode != 0) {
            if (nMethode > 2) xThrowErreur(10013, nMethode);
            b.DefineFirstCodedByte(b.nGetPosition());
            b.SetPackMethod(static_cast<eBUFFER_PACKMETHOD>(nMethode));
            try {
                b.xDepacke();
            } catch (const CXError&) {
                xThrowErreur(10013, nMethode);
            }
        }
    } else {
        // Packing is applied by the writer of the whole description.
        if (d.nPack != 0) b.DefineFirstCodedByte(b.nGetPosition());
    }
    serialise(ar, commun);
    serialise(ar, d.style);
    CTailleDeclaree<A> taille(ar, v >= 7006);
    ar(d.nModeOuverture, "opening_mode");
    ar.TexteUtilisateur(d.sTitre, "title");
    ar.TexteTechnique(d.sImageFond, "background_image");
    ar.TexteTechnique(d.sChaine2, "string2");
    static const char* const noms6[6] = {"message_bar", "title_bar", "option", "minimise_icon", "maximise_icon", "auto_scroll_bars"};
    for (int i = 0; i < 6; ++i) ar(d.tabOptions[i], noms6[i]);
    ar.TexteTechnique(d.sChaineIgnoree, "(not kept)");
    ar.Octets(d.rectIgnore, 16, "(rectangle not kept)");
    ar(d.nOption7, "option");
    ar.TexteTechnique(d.sChaine8, "string");
    ar(d.bRedimensionnable, "resizable");
    ar(d.nTypeCadre, "frame_type");
    ar(d.nDensite, "pixel_density");
    ar(d.bDecor9, "nine_image_frame");
    if (d.bDecor9) serialise(ar, d.decor9);
    ar(d.bDeplacableParFond, "movable_by_background");
    bool bChaine9 = !d.sChaine9.empty();
    ar(bChaine9, "has_string");
    if (bChaine9) ar.TexteTechnique(d.sChaine9, "string");
    ar(d.nOption10, "option");
    if (v >= 7006) {
        ar(d.nLargeurClient, "client_width");
        ar(d.nHauteurClient, "client_height");
        if constexpr (A::bLecture) {
            // Within the range of a description, as the common record's geometry.
            d.nLargeurClient = std::clamp(d.nLargeurClient, nCOORD_DESCRIPTION_MIN, nCOORD_DESCRIPTION_MAX);
            d.nHauteurClient = std::clamp(d.nHauteurClient, nCOORD_DESCRIPTION_MIN, nCOORD_DESCRIPTION_MAX);
        }
    }
    if (v >= 7007) ar(d.nDureeFermetureAuto, "auto_close_ms");
    if (v >= 7008) ar.TexteTechnique(d.sBoutonFermetureAuto, "auto_close_button");
    if (v >= 7009) ar(d.nOption7009, "option");
    if (v >= 7010) {
        ar.TexteTechnique(d.sChaine7010, "string");
        if constexpr (A::bLecture) {
            // Versions 7010 and 7011 end with a list of strings up to the declared size.
            if (v < 7012 && taille.nTaille() != 0)
                while (b.nGetPosition() < taille.nFinDeclaree()) ar.ObsoleteTexte("(skipped string)");
        }
    }
    if (v >= 7012) {
        bool bBarre = false;
        ar(bBarre, "message_bar_record");
        if (bBarre) EnregistrementIgnore(ar, "message_bar");
        uint32_t nValeurs = 0;
        bool bValeurs = false;
        ar(bValeurs, "values");
        if (bValeurs) {
            ar(nValeurs, "count");
            for (uint32_t i = 0; i < nValeurs; ++i) ar.template Obsolete<int32_t>("(skipped)");
        }
    }
    if (v >= 7015) {
        uint32_t nVideos = 0;
        ar(nVideos, "video_streams");
        for (uint32_t i = 0; i < nVideos; ++i) {
            ar.ObsoleteTexte("(video name)");
            BlocIgnore(ar, "(video stream)");
        }
    }
    for (uint32_t w = 7016; w <= 7034 && w <= v; ++w) {
        switch (w) {
        case 7028: ar.Octets(d.abyBloc7028, 16, "(block skipped)"); break;
        case 7031: {
            bool bDegrade = false;
            ar(bDegrade, "gradient");
            if (bDegrade) serialise(ar, d.degrade);
            break;
        }
        case 7032: for (int i = 0; i < 4; ++i) ar(d.tab7032[i], "value"); break;
        case 7034: ar(d.qwOptionsFAA, "automatic_features"); break;
        default: ar(d.tabOptions7016[w - 7016], "option"); break;
        }
    }
    for (uint32_t w = 7112; w <= 7115 && w <= v; ++w) ar(d.tabOptions7112[w - 7112], "option");
    if (v >= 7116) {
        bool bBarreActions = false;
        ar(bBarreActions, "action_bar");
        if (bBarreActions) BlocIgnore(ar, "action_bar");
    }
    if (v >= 7117) ar(d.nModePositionOuverture, "opening_position_mode");
    if (v >= 7118) ar(d.nPlateforme, "platform");
    if (v >= 7120) ar(d.bFondBlanc, "white_background");
    if (v >= 7121) {
        ar(d.nOption7121, "option");
        ar.TexteTechnique(d.sChaine7121, "string");
    }
    if (v >= 7122) ar(d.nFacteurAffichage, "display_factor");
    if (v >= 7123) BlocIgnore(ar, "sliding_menu");
    if (v >= 7124) BlocIgnore(ar, "layout_tabs");
    if (v >= 7125) ar(d.nOption7125, "option");
    taille.Fin();
    serialise(ar, *d.pMenuPrincipal);
    uint32_t nMenus = static_cast<uint32_t>(d.tabMenusContextuels.size());
    ar(nMenus, "context_menus");
    if constexpr (A::bLecture) {
        size_t nLimite = b.nGetLimite(), nPos = b.nGetPosition();
        size_t nPossibles = nLimite > nPos ? (nLimite - nPos) / nOCTETS_MIN_ENTREE_MENU : 0;
        if (nMenus > nNB_OPTIONS_MENU_MAX || nMenus > nPossibles)
            xThrowErreur(10413, static_cast<unsigned long long>(nMenus),
                         static_cast<unsigned long long>(std::min<size_t>(nPossibles, nNB_OPTIONS_MENU_MAX)));
        d.tabMenusContextuels.clear();
        for (uint32_t i = 0; i < nMenus; ++i) {
            auto m = std::make_unique<CMenu>();
            serialise(ar, *m);
            d.tabMenusContextuels.push_back(std::move(m));
        }
    } else {
        for (auto& m : d.tabMenusContextuels) serialise(ar, *m);
    }
    if (v >= nVERSION_FENETRE_QUESTIONS) serialise(ar, d.questions);
}
