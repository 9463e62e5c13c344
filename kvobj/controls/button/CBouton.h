// Button: runs its click code when it is clicked, when its call letter is
// typed, or when the window's automatic closing presses it. It may be a
// toggle button that stays pressed, carry a picture and a background image
// with one image per state, and show a drop-down arrow.
#pragma once
#include "controls/button/VueBouton.h"
#include "controls/core/CChampFamille.h"

// Button types (TypeBouton). Types 0 and 1 take the focus when clicked; the
// others do not. A validation button checks the window's mandatory inputs
// before its click code runs.
inline constexpr int32_t nBOUTON_NORMAL = 0;
inline constexpr int32_t nBOUTON_VALIDATION = 1;
inline constexpr int32_t nBOUTON_INTERRUPTION = 2;
inline constexpr int32_t nBOUTON_ANNULATION = 3;
inline constexpr int32_t nBOUTON_AIDE = 4;
inline constexpr int32_t nBOUTON_TYPE_MAX = 4;

// Visual states of a button. They also number the images of a picture strip
// (see STBouton): image k of the strip is drawn in state k.
enum BOUTON_ETAT : int32_t {
    eBTN_NORMAL = 0,
    eBTN_SURVOL = 1,    // under the mouse
    eBTN_COURANT = 2,   // the current one of its looper or column (or the focused one)
    eBTN_GRISE = 3,
    eBTN_ENFONCE = 4,   // pressed
};

// Images of a strip: from 1 to this many, side by side, of equal width.
inline constexpr int32_t nNB_ETATS_IMAGE_MAX = 5;

// Drop-down arrow modes: none, or an arrow area at the right of the button
// that opens the menu or popup window named with it.
inline constexpr int32_t nFLECHE_AUCUNE = 0;
inline constexpr int32_t nFLECHE_ZONE = 1;

// The button's own record, after the common control record. Version 1,
// with a declared size counted from the size word; little-endian.
//
//   offset  size  field
//   0       4     version (1)
//   4       4     declared size
//   8       4     type, int32 0..4 (another value reads as 0)
//   12      4     toggle, bool32
//   16      4     pressed, bool32
//   20      S     picture file (string, technical)
//   +S      4     images in the picture strip, int32 1..5 (out of range: clamped)
//   ..      S     background image file (string, technical)
//   ..      4     images in the background strip, int32 1..5 (clamped)
//   ..      4     drop-down arrow mode, int32 0 none, 1 arrow area (another value reads as 1)
//   ..      S     menu the arrow opens (string, technical)
//   ..      S     popup window the arrow opens (string, technical)
//   ..      4     an option chosen in the popup becomes the button's action, bool32
//
// Strings are written as marked UTF-8 (start mark FF CE 88 F1, length
// L = bytes + 13, the bytes, 0, end mark 00 FE ED 98 E1) and an empty string
// as one 0 byte; the reader takes every string form of the description stream.
struct STBouton {
    uint32_t nVersion = 1;
    int32_t nType = nBOUTON_NORMAL;
    bool bInterrupteur = false;
    bool bEnfonce = false;
    CTString sImage;
    int32_t nImageEtat = 1;
    CTString sImageFond;
    int32_t nImageFondEtat = 1;
    int32_t nModeFlecheDD = nFLECHE_AUCUNE;
    CTString sMenuFlecheDD;
    CTString sFenPopupFlecheDD;
    bool bOptionPopupDevientAction = false;
};

inline int32_t nBorneEtatsImage(int32_t n) { return n < 1 ? 1 : n > nNB_ETATS_IMAGE_MAX ? nNB_ETATS_IMAGE_MAX : n; }

template <class A>
void serialise(A& ar, STBouton& r) {
    CEnregistrement<A> rec(ar, r.nVersion, {1, 1, 1}, "Button");
    ar(r.nType, "type");
    ar(r.bInterrupteur, "toggle");
    ar(r.bEnfonce, "pressed");
    ar.TexteTechnique(r.sImage, "image");
    ar(r.nImageEtat, "image_states");
    ar.TexteTechnique(r.sImageFond, "background_image");
    ar(r.nImageFondEtat, "background_states");
    ar(r.nModeFlecheDD, "arrow_mode");
    ar.TexteTechnique(r.sMenuFlecheDD, "arrow_menu");
    ar.TexteTechnique(r.sFenPopupFlecheDD, "arrow_popup");
    ar(r.bOptionPopupDevientAction, "option_becomes_action");
    if constexpr (A::bLecture) {
        // What the button cannot show is read as the nearest thing it can.
        if (r.nType < 0 || r.nType > nBOUTON_TYPE_MAX) r.nType = nBOUTON_NORMAL;
        r.nImageEtat = nBorneEtatsImage(r.nImageEtat);
        r.nImageFondEtat = nBorneEtatsImage(r.nImageFondEtat);
        if (r.nModeFlecheDD != nFLECHE_AUCUNE) r.nModeFlecheDD = nFLECHE_ZONE;
    }
    rec.Fin();
}

class CBouton : public CChampFamille<ID_BOUTON, STBouton, IVueBouton> {
public:
    const wchar_t* pszGetNomType() const override { return L"button"; }

    const STBouton& GetBouton() const { return m_st; }

    // Type: values outside 0..4 are ignored; the type decides whether a
    // click gives the button the focus.
    int32_t nGetTypeBouton() const { return m_st.nType; }
    void SetTypeBouton(int32_t n);

    // Toggle flag and pressed state.
    bool bEstInterrupteur() const { return m_st.bInterrupteur; }
    void SetInterrupteur(bool b);
    bool bGetEnfonce() const { return m_st.bEnfonce; }
    void SetEnfonce(bool b);

    // The state the button is drawn in. A button living in a looper or a
    // table column asks that container; no such container can be reached
    // here, so it is 4 for a pressed toggle button and 0 otherwise. Any
    // other button uses its stored state.
    BOUTON_ETAT eGetEtatBtn() const;

    // Picture and background image, each a strip of 1 to 5 images.
    void SetImage(const wchar_t* psz);
    void SetImageEtat(int32_t n);
    void SetImageFond(const wchar_t* psz);
    void SetImageFondEtat(int32_t n);
    // The file an image name designates (relative names: the image folder).
    static CTString ssCheminImage(const CTString& sImage);

    // Drop-down arrow.
    void SetModeFlecheDD(int32_t n);
    void SetNomMenuSiClicFlecheDD(const wchar_t* psz) { m_st.sMenuFlecheDD.Set(psz); }
    void SetNomFenPopupSiClicFlecheDD(const wchar_t* psz) { m_st.sFenPopupFlecheDD.Set(psz); }
    void SetOptionPopupSelDevientAction(bool b) { m_st.bOptionPopupDevientAction = b; }

    // Call letter: the character after the single '&' of the caption ("&&"
    // is a literal '&'); without one, the call letter of the description.
    // 0 when the button has none.
    wchar_t cGetLettreAppel() const;
    static wchar_t scLettreDuLibelle(const wchar_t* psz);
    bool vbEstLettreAppel(wchar_t c) const;
    // The call letter was typed: the button takes the focus when it takes
    // it on click, runs its click processing, and a type-0 button outside
    // the tab order hands the focus back to the control that had it.
    virtual void vExecActionLettreAppel();
    // Runs the call letter of the first visible and enabled button of the
    // window whose call letter is c; false when none has it.
    static bool sbExecuteLettreAppel(CFenPrincipale* f, wchar_t c);

    // Click processing: cancels the window's automatic closing, checks the
    // mandatory inputs for a validation button (stopping when one is empty),
    // flips a toggle button, runs the click code, then applies a focus
    // request the processing left.
    void _ExecuteAction();
    // A click of the user (mouse, space or Enter): only an enabled, visible
    // button acts on it.
    void OnClicUtilisateur();
    // The window's focused control is this button.
    bool bAFocus() const;

    void SetLibelle(const wchar_t* psz) override;
    void vMAJVue() override;

    KV_ACCESSEURS(TypeBouton)
    KV_ACCESSEURS(Enfonce)
    KV_ACCESSEURS(Image)
    KV_ACCESSEURS(ImageEtat)
    KV_ACCESSEURS(ImageFond)
    KV_ACCESSEURS(ImageFondEtat)

protected:
    void vLitSpecifique(CLecteurKV& ar) override;

private:
    BOUTON_ETAT m_eEtatBtn = eBTN_NORMAL;  // stored state
};

