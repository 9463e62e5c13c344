// What windows and controls share: name and identity (object with code),
// initial and current geometry, state, help texts and the common window
// record of their descriptions; and running their event code.
#pragma once
#include "controls/core/Archive.h"
#include "controls/core/CObjetAPCode.h"
#include <QRect>
#include <algorithm>
#include <cstdint>

// States shared by windows and controls.
enum FEN_ETAT : int {
    eETAT_ACTIF = 0,
    eETAT_LECTURE_SEULE = 1,
    eETAT_INVISIBLE = 2,
    eETAT_GRISE_LECTURE = 3,
    eETAT_GRISE = 4,
    eETAT_LECTURE_5 = 5,
};

// The range of the coordinates and sizes a description holds.
inline constexpr int32_t nCOORD_DESCRIPTION_MIN = -32768, nCOORD_DESCRIPTION_MAX = 32767;

class CFenCommun : public CObjetAPCodeOBJ {
public:
    CFenCommun* vpclGetFenCommun() override { return this; }

    // The common window record: one definition for reading and writing.
    template <class A>
    friend void serialise(A& ar, CFenCommun& f);

    // Geometry.
    int nGetPosX() const { return m_rect.x(); }
    int nGetPosY() const { return m_rect.y(); }
    int nGetLargeur() const { return m_rect.width(); }
    int nGetHauteur() const { return m_rect.height(); }
    const QRect& rectGet() const { return m_rect; }
    const QRect& rectInitial() const { return m_rectInitial; }
    virtual void SetPosition(int x, int y) { m_rect.moveTo(x, y); }
    virtual void SetSize(int l, int h) { m_rect.setSize(QSize(l, h)); }
    void SetRectInitial(const QRect& r) { m_rectInitial = r; m_rect = r; m_rectAncrage = r; }
    int nGetLargeurMin() const { return m_nLargeurMin; }
    int nGetHauteurMin() const { return m_nHauteurMin; }
    int nGetLargeurMax() const { return m_nLargeurMax; }
    int nGetHauteurMax() const { return m_nHauteurMax; }
    void SetTaillesMinMax(int lMin, int hMin, int lMax, int hMax) { m_nLargeurMin = lMin; m_nHauteurMin = hMin; m_nLargeurMax = lMax; m_nHauteurMax = hMax; }
    const QRect& rectAncrage() const { return m_rectAncrage; }
    bool bVisibleInitial() const { return m_bVisibleInitial; }
    void SetVisibleInitial(bool b) { m_bVisibleInitial = b; }

    // State.
    virtual FEN_ETAT eGetState() const { return m_eEtat; }
    virtual void SetState(FEN_ETAT e) { m_eEtat = e; }
    FEN_ETAT eGetEtatInitial() const { return m_eEtatInitial; }
    // The state the object starts in (its current state with it).
    void SetEtatInitial(FEN_ETAT e) { m_eEtatInitial = e; m_eEtat = e; }
    void SetMenuContextuel(const wchar_t* psz) { m_sMenuContextuel.Set(psz); }

    // Texts.
    const CTString& sGetTitreAide() const { return m_sTitreAide; }
    const CTString& sGetTexteAide() const { return m_sTexteAide; }
    void SetTitreAide(const wchar_t* p) { m_sTitreAide.Set(p); }
    void SetTexteAide(const wchar_t* p) { m_sTexteAide.Set(p); }
    const CTString& sGetMenuContextuel() const { return m_sMenuContextuel; }
    const CTString& sGetMessageBarre() const { return m_sMessageBarre; }

    // Automatic features switched off by the program (DesactiveFAA): bit n
    // for feature n (0 to 63), on top of the description's options.
    bool bFAADesactivee(int n) const { return n >= 0 && n < 64 && (m_qwFAADesactivees >> n) & 1u; }
    void DesactiveFAA(int n) { if (n >= 0 && n < 64) m_qwFAADesactivees |= uint64_t(1) << n; }

    // Event code.
    void ExecutePCode(int nEvenement);
    void ExecutePCodeAvecParamOptionnel(int nEvenement, int nNbParametres, const void* pParametres, CXError* pErreur);
    // Whether the object's window accepts code for this object now.
    virtual bool vbAccepteCode(int nEvenement) const;

protected:
    // The object's own extension of the common record (from version 604).
    virtual void vSerialiseExtension(CLecteurKV&, uint32_t) {}
    virtual void vSerialiseExtension(CEcrivainKV&, uint32_t) {}

    uint32_t m_nVersionCommun = 606;
    QRect m_rectInitial;
    QRect m_rect;
    QRect m_rectAncrage;
    int m_nLargeurMin = 0, m_nHauteurMin = 0, m_nLargeurMax = 20000, m_nHauteurMax = 20000;
    bool m_bVisibleInitial = true;
    CTString m_sChaine5;          // first string after the geometry (kept, written back)
    CTString m_sMenuClicDroit;
    CTString m_sMenuContextuel;
    FEN_ETAT m_eEtatInitial = eETAT_ACTIF;
    FEN_ETAT m_eEtat = eETAT_ACTIF;
    CTString m_sTitreAide, m_sTexteAide, m_sTitreNote;
    CTString m_sTexteNote, m_sBulle;
    CTString m_sValeurDefautLue;  // value read with the stream's default reader (kept, written back)
    CTString m_sMessageBarre;
    uint64_t m_qwFAADesactivees = 0;
};

// Common window record. Versions 602 to 704; a declared size from 606.
template <class A>
void serialise(A& ar, CFenCommun& f) {
    CEnregistrement<A> rec(ar, f.m_nVersionCommun, {602, 704, 606}, "CommonWindow");
    ar.TexteTechnique(f.m_sNom, "name");
    ar(f.m_qwID, "identifier");
    int32_t g[9];
    if constexpr (!A::bLecture) {
        g[0] = f.m_rectInitial.x(); g[1] = f.m_rectInitial.y();
        g[2] = f.m_rectInitial.width(); g[3] = f.m_rectInitial.height();
        g[4] = f.m_nLargeurMin; g[5] = f.m_nHauteurMin; g[6] = f.m_nLargeurMax; g[7] = f.m_nHauteurMax;
        g[8] = f.m_bVisibleInitial ? 1 : 0;
    }
    static const char* const noms[9] = {"x", "y", "width", "height", "min_width", "min_height", "max_width", "max_height", "visible"};
    for (int i = 0; i < 9; ++i) ar(g[i], noms[i]);
    if constexpr (A::bLecture) {
        // A position, size or size limit outside that range (a damaged
        // description) is brought back to its bound: the geometry computed
        // from them (the rectangle's x + width - 1, limits moved by the
        // client size) stays within an int.
        for (int i = 0; i < 8; ++i) g[i] = std::clamp(g[i], nCOORD_DESCRIPTION_MIN, nCOORD_DESCRIPTION_MAX);
        f.SetRectInitial(QRect(g[0], g[1], g[2], g[3]));
        f.m_nLargeurMin = g[4]; f.m_nHauteurMin = g[5]; f.m_nLargeurMax = g[6]; f.m_nHauteurMax = g[7];
        f.m_bVisibleInitial = g[8] != 0;
    }
    ar.TexteTechnique(f.m_sChaine5, "string");
    ar.TexteTechnique(f.m_sMenuClicDroit, "right_click_menu");
    ar.TexteTechnique(f.m_sMenuContextuel, "context_menu");
    int32_t nEtat = f.m_eEtatInitial;
    ar(nEtat, "state");
    if constexpr (A::bLecture) {
        // States above 4 are not valid in a description: the control starts active.
        f.m_eEtatInitial = (nEtat < 0 || nEtat > 4) ? eETAT_ACTIF : static_cast<FEN_ETAT>(nEtat);
        f.m_eEtat = f.m_eEtatInitial;
    }
    ar.TexteUtilisateur(f.m_sTitreAide, "help_title");
    ar.TexteUtilisateur(f.m_sTexteAide, "help_text");
    ar.TexteUtilisateur(f.m_sTitreNote, "note_title");
    if (rec.bDepuis(603)) {
        ar.TexteUtilisateur(f.m_sTexteNote, "note_text");
        ar.TexteUtilisateur(f.m_sBulle, "tooltip");
        ar.TexteTechnique(f.m_sValeurDefautLue, "default");
        ar.TexteUtilisateur(f.m_sMessageBarre, "status_bar_message");
    }
    if (rec.bDepuis(604)) f.vSerialiseExtension(ar, rec.nVersion());
    rec.Fin();
}
