// Input masks: the base of every mask an edit control, a table column or an
// automatic total uses to turn a value into text and to check what is typed.
//
// A mask works on texts only. Values reach it as text (numbers as digits with
// an optional leading '-' and '.' as decimal point), the control converts
// them to and from its typed value. Masks are model objects: no widgets.
#pragma once
#include "base/CTString.h"
#include <cstdint>
#include <memory>

class CObjetAPCode;

// Colour of a mask part when it names none (or an unknown one).
inline constexpr uint32_t COULEUR_MASQUE_AUCUNE = 0xFBADC0DE;

// Predefined text masks, by the number that the edit record stores (a text
// edit whose mask is given as an integer). These numbers are stored in
// compiled descriptions: never renumber them. Numbers not listed (6 to 9,
// 11 to 15, 17 and above) give no mask.
enum eTYPE_MASQUE_TEXTE : int {
    eMASQUE_TEXTE_AUCUN = 0,              // no mask
    eMASQUE_TEXTE_MAJUSCULES = 1,         // every letter typed is upper-cased
    eMASQUE_TEXTE_MINUSCULES = 2,         // every letter typed is lower-cased
    eMASQUE_TEXTE_PREMIERE_MAJUSCULE = 3, // the first letter of each word is upper-cased, the rest is kept
    eMASQUE_TEXTE_CHIFFRES = 4,           // the digits 0 to 9 only
    eMASQUE_TEXTE_HEXADECIMAL = 5,        // hexadecimal digits (upper-cased), at most 16 (CMasqueHexadecimal)
    eMASQUE_TEXTE_NOM_FICHIER = 10,       // a file name: no / \ : * ? " < > | nor control characters; 255 at most
    eMASQUE_TEXTE_EMAIL = 16,             // an e-mail address: local@domain.tld; 254 at most
    // Never stored: a regular-expression mask comes from its "regexp:" text.
    eMASQUE_TEXTE_EXPRESSION_REGULIERE = 1000,
};
// Masks 10 and 16 carry a maximum length of their own; the edit control's
// own maximum, when it is not 0, takes precedence over it.

// Language settings a control hands to its mask: the separators and the
// currency the mask shows (its own, see CMasqueNumerique), and the language
// number for masks that show words.
struct STInfoLangueMasque {
    wchar_t cSeparateurDecimal = L',';
    wchar_t cSeparateurMillier = L' ';   // 0: no thousands separator
    CTString sMonnaie;
    int nLangue = 0;
};

class CMasque {
public:
    // "No maximum" for the maximum length (the edit control relies on it).
    static constexpr int nLONGUEUR_MAX_AUCUNE = 0x7FFFFFFF;
    // Module message shown when a text does not fit a mask.
    static constexpr int nID_RES_ERREUR_MASQUE = 5851;

    CMasque() = default;
    CMasque(const CMasque&) = delete;
    CMasque& operator=(const CMasque&) = delete;
    virtual ~CMasque() = default;

    // Factories. A numeric mask from its text (never null). A hexadecimal
    // mask from its text; nFormatRetour is a eFORMAT_RETOUR_HEXA value, or -1
    // to take it from the text. A predefined text mask by number (null for 0
    // and unknown numbers). A text mask from a mask text: "regexp:PATTERN"
    // gives a regular-expression mask; a pattern that does not compile gives
    // null with bErreur set (the control then has no mask and reports the
    // failure); any other text gives null (no mask) without error.
    static std::unique_ptr<CMasque> pclGetNewMasqueNumerique(const CTString& sTexte);
    static std::unique_ptr<CMasque> pclGetNewMasqueHexadecimal(const CTString& sTexte, int nFormatRetour = -1);
    static std::unique_ptr<CMasque> pclGetNewMasqueTexte(int nNumero);
    static std::unique_ptr<CMasque> pclGetNewMasqueTexte(const CTString& sTexte, bool& bErreur);

    // Display form of a value. A problem met while formatting (a value that
    // does not fit) is raised as a warning on pclObjet when one is given.
    virtual void Formate(const CTString& sValeur, CTString& sSortie, CObjetAPCode* pclObjet = nullptr) const;
    // Entry form of a value: the raw text the user edits.
    virtual void FormateEnSaisie(const CTString& sValeur, CTString& sSortie) const;
    // Back from a displayed (or, with bEnSaisie, an entry) text to the value
    // text; false when the text holds no value of the mask's kind.
    virtual bool vbDeformate(const CTString& sTexte, CTString& sValeur, bool bEnSaisie) const;
    // Shapes a raw entry text again after a change made outside typing.
    virtual void ReFormateLaSaisie(CTString& sTexte) const;

    // Validity of a complete text (when the control is left).
    virtual bool bEstValide(const CTString& sTexte) const;
    // Validity of a text while it is being typed: it can still become valid.
    virtual bool bEstValideEnSaisie(const CTString& sTexte) const;
    // A typed character replacing the selection [nDebutSel, nFinSel) of
    // sTexte: true when accepted, with the new text and the new selection
    // (an empty selection after the inserted character). Control characters
    // are not typing: refused, the control handles them.
    virtual bool bAccepteSaisie(wchar_t c, int nDebutSel, int nFinSel, const CTString& sTexte, CTString& sNouveau,
                                int& nNouveauDebutSel, int& nNouveauFinSel) const;
    // The mask is full: no further character can be typed (automatic end of
    // entry).
    virtual bool bFinDeSaisie(const CTString& sTexte, bool bEnSaisie) const;
    // A pasted text as the raw entry text it gives; false when nothing of it
    // can be pasted.
    virtual bool vbReformatePourColler(const CTString& sColle, CTString& sSortie) const;

    virtual void vSetMasquePourSaisieEtAff(const CTString& sSaisie, const CTString& sAffichage);
    // Bounds as texts; what they limit depends on the mask (nothing here).
    virtual void vSetMinMax(const CTString& sMin, const CTString& sMax);
    virtual void vSetInfoLangueMasque(const STInfoLangueMasque& stInfo);

    virtual int nGetMaxInputChar() const { return m_nLongueurMax; }
    // The mask handles Delete and Backspace itself (none of these do).
    virtual bool bGestionSaisieDEL() const { return false; }
    virtual int eGetTypeMaskTexte() const { return eMASQUE_TEXTE_AUCUN; }
    virtual int vnGetIDResErreur() const { return m_nIDResErreur; }
    // The value type a mask implies (language type code), 0 for none.
    virtual uint16_t wGetTypeFromMasque() const { return 0; }

    void SetIDResErreur(int n) { m_nIDResErreur = n; }

protected:
    // What typing a character becomes before it is inserted at nPosition of
    // sTexte (upper-casing and the like); 0 refuses it.
    virtual wchar_t vcTransformeCaractere(wchar_t c, const CTString& sTexte, int nPosition) const;

    int m_nLongueurMax = nLONGUEUR_MAX_AUCUNE;
    int m_nReserve = 0;
    int m_nIDResErreur = nID_RES_ERREUR_MASQUE;
    int m_nReserve2 = 0;
    int m_nReserve3 = 0;
};

// Module messages used by masks (besides nID_RES_ERREUR_MASQUE).
enum eMESSAGE_MASQUE : int {
    eMSG_MASQUE_DEPASSEMENT = 5852,   // the text shown for a value too large for its mask
    eMSG_MASQUE_NULL = 5853,          // the text shown for a null value
    eMSG_MASQUE_OCTETS = 5854,        // disk size units, then kilo, mega, giga, tera, peta, exa (5855..5860)
};
inline constexpr int nNB_UNITES_TAILLE_DISQUE = 7;

// The text of a module message ("" when there is none).
CTString sMessageMasque(int nMessage);
