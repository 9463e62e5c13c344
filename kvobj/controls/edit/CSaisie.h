// The edit control (kind 2): single-line or multi-line entry of text and
// numbers through an input mask. The control keeps an internal value (a
// CAny of its value type) and the displayed text, and converts between them
// when the focus comes and goes: while focused the text is the raw entry
// text the mask shapes, afterwards the display mask formats the value.
#pragma once
#include "controls/core/CChampFamille.h"
#include "controls/edit/VueSaisie.h"
#include "controls/edit/CMasque.h"
#include <memory>

class IVueSaisie;

// Edit types.
enum ETYPESAISIE : int32_t {
    eSAISIE_TEXTE = 0,
    eSAISIE_NUMERIQUE = 1,
    eSAISIE_DATE = 2,
    eSAISIE_HEURE = 3,
    eSAISIE_TEXTE_4 = 4,
    eSAISIE_DUREE = 5,
};

// Option word of the edit record.
inline constexpr uint32_t OPTION_SAISIE_EFFACEMENT_AUTO = 0x01;
inline constexpr uint32_t OPTION_SAISIE_COULEUR_INACTIF = 0x02;
inline constexpr uint32_t OPTION_SAISIE_ASSISTEE = 0x04;

// Module messages of the edit's exit checks.
inline constexpr int nMSG_SAISIE_OBLIGATOIRE = 5861;  // a mandatory input is empty
inline constexpr int nMSG_SAISIE_BORNES = 5862;       // the value is outside its bounds (min, max)

// Currency conversion settings of an amount edit. The first word is the
// version 701; any other first word is not a version: the record then starts
// there and reads as version 700 (no tooltip currency).
struct STGestionEuro {
    uint32_t nVersion = 701;
    uint16_t wDeviseAffichage = 0;
    uint16_t wDeviseMemoire = 0;
    bool bModifParMenu = false;
    bool bBulleAide = false;
    bool bBarreMess = false;
    CTString sChampLie;
    bool bAfficheTilde = false;
    int32_t nNbDecimale = 2;      // above 6: 6
    uint16_t wDeviseBulle = 65535;  // from 701; 21 to 65534 become 65535
};

template <class A>
void serialise(A& ar, STGestionEuro& g) {
    CKVBuffer& b = ar.Buffer();
    if constexpr (A::bLecture) {
        size_t nDebut = b.nGetPosition();
        uint32_t n = 0;
        ar(n, "currency_version");
        if (n != 701) {
            b.xSeekLecture(nDebut);
            n = 700;
        }
        g.nVersion = n;
    } else {
        g.nVersion = 701;
        ar(g.nVersion, "currency_version");
    }
    ar(g.wDeviseAffichage, "display_currency");
    ar(g.wDeviseMemoire, "memory_currency");
    ar(g.bModifParMenu, "change_by_menu");
    ar(g.bBulleAide, "tooltip");
    ar(g.bBarreMess, "message_bar");
    ar.TexteTechnique(g.sChampLie, "linked_control");
    ar(g.bAfficheTilde, "tilde");
    ar(g.nNbDecimale, "decimals");
    if (g.nVersion == 701) ar(g.wDeviseBulle, "tooltip_currency");
    if constexpr (A::bLecture) {
        if (g.nNbDecimale > 6) g.nNbDecimale = 6;
        if (g.nVersion != 701) g.wDeviseBulle = 65535;
        if (g.wDeviseBulle >= 21 && g.wDeviseBulle <= 65534) g.wDeviseBulle = 65535;
    }
}

// The edit record, after the common control record. Versions 601 to 710 are
// read; the writer writes 640, the newest whose fields are all known. From
// 611 a declared size (counted from its own word, which comes right after
// the bounds) covers the rest, so newer records are read up to their end.
struct STSaisie {
    CTString sNomControle;  // not stored: named in the reading errors
    uint32_t nVersion = 640;
    int32_t nTailleMax = 0;
    bool bMultiligne = false;
    int32_t eTypeSaisie = eSAISIE_TEXTE;
    uint16_t wTypeValeur = KS_PSTRW;
    // Item 4.
    int32_t nNumeroMasque = 0;
    bool bVideSiNull = false;
    uint32_t dwOptions = 0;
    bool bMotDePasse = false;
    bool bAutoVScroll = false, bAutoHScroll = true, bAscenseurV = false, bAscenseurH = false;
    bool bFinSaisieAuto = false, bObligatoire = false;
    // Item 5.
    bool bAvecMasque = false;
    int32_t nNumeroMasqueTexte = 0;
    CTString sMasque;
    // Item 6 (date, time and duration edits, from 605): the display format.
    CTString sFormatAffichage;
    bool bGestionEuro = false;
    STGestionEuro euro;
    bool bRechercheMulticritere = false;
    CTString sBorneMin, sBorneMax;
    int32_t nEllipse = 0;
    bool bSIP = false, bGardeTab = false;
    bool bRemplaceMasque = false;
    CTString sMasqueRemplace;
    bool bMemoriseHistorique = false;
    int32_t n617 = 0, n618 = 0, n619 = 0;
    int32_t nQuandAscenseurH = 2, nQuandAscenseurV = 2;
    CTString sTexteConseil;
    bool bUnicode = true;
    int32_t n623 = 0, n624 = 0, n625 = 0;
    bool bBoutonCalendrier = false;
    std::vector<uint8_t> tabBlocCalendrier;  // from 628 when the button is set: 4-byte length, bytes (dropped)
    bool bTexteConseilAuto = false, bBulleAuto = false;
    uint32_t dwCouleurFond631 = 0;
    int32_t n632 = 0;
    bool bNomFichierAssiste = false;
    int32_t n634 = 0, n635 = 0;
    CTString sMasqueAffichage;
    int32_t n638 = 0;
    int32_t nTypeToucheValidation = 0;
    CTString s640;
};

// Value type codes of records up to 605.
uint16_t wTypeValeurAncien(uint32_t nAncien);

template <class A>
void serialise(A& ar, STSaisie& s) {
    CEnregistrement<A> rec(ar, s.nVersion, {601, 710}, "Edit");
    CKVBuffer& b = ar.Buffer();
    const uint32_t v = rec.nVersion();
    ar(s.nTailleMax, "max_length");
    ar(s.bMultiligne, "multiline");
    ar(s.eTypeSaisie, "edit_type");
    if constexpr (A::bLecture) {
        if (s.eTypeSaisie < 0 || s.eTypeSaisie >= 6)
            xThrowErreur(10152, s.sNomControle, static_cast<long long>(s.eTypeSaisie));
    }
    ar(s.wTypeValeur, "value_type");
    if (v >= 604) {
        ar(s.nNumeroMasque, "mask_number");
        ar(s.bVideSiNull, "empty_if_null");
        ar(s.dwOptions, "options");
        ar(s.bMotDePasse, "password");
        ar(s.bAutoVScroll, "auto_vscroll");
        ar(s.bAutoHScroll, "auto_hscroll");
        ar(s.bAscenseurV, "vscroll_bar");
        ar(s.bAscenseurH, "hscroll_bar");
        ar(s.bFinSaisieAuto, "auto_end");
        ar(s.bObligatoire, "mandatory");
    } else {
        ar(s.nNumeroMasque, "mask_number");
        ar(s.bVideSiNull, "empty_if_null");
        ar(s.dwOptions, "options");
        if (v >= 602) ar(s.bMotDePasse, "password");
        if (v >= 603) {
            ar(s.bAutoVScroll, "auto_vscroll");
            ar(s.bAutoHScroll, "auto_hscroll");
            ar(s.bAscenseurV, "vscroll_bar");
            ar(s.bAscenseurH, "hscroll_bar");
        }
    }
    ar(s.bAvecMasque, "has_mask");
    if (s.bAvecMasque) {
        ar(s.nNumeroMasqueTexte, "mask_number2");
        ar.TexteUtilisateur(s.sMasque, "mask");
    }
    if (v >= 605 && (s.eTypeSaisie == eSAISIE_DATE || s.eTypeSaisie == eSAISIE_HEURE || s.eTypeSaisie == eSAISIE_DUREE))
        ar.TexteUtilisateur(s.sFormatAffichage, "display_format");
    if constexpr (A::bLecture) {
        if (v <= 605) s.wTypeValeur = wTypeValeurAncien(s.wTypeValeur);
        else if (v <= 635 && s.wTypeValeur == KS_PSTRA) s.wTypeValeur = KS_PSTRW;
    }
    if (v >= 607) {
        ar(s.bGestionEuro, "currency_management");
        if (s.bGestionEuro) serialise(ar, s.euro);
    }
    if (v >= 608) ar(s.bRechercheMulticritere, "multi_criteria");
    if (v >= 609) {
        ar.TexteUtilisateur(s.sBorneMin, "lower_bound");
        ar.TexteUtilisateur(s.sBorneMax, "upper_bound");
    }
    CTailleDeclaree<A> taille(ar, v >= 611);
    if (v >= 612) ar(s.nEllipse, "ellipsis");
    if (v >= 613) ar(s.bSIP, "soft_keyboard");
    if (v >= 614) ar(s.bGardeTab, "keep_tab");
    if (v >= 615) {
        ar(s.bRemplaceMasque, "mask_replaced");
        if (s.bRemplaceMasque) ar.TexteUtilisateur(s.sMasqueRemplace, "replacing_mask");
    }
    if (v >= 616) ar(s.bMemoriseHistorique, "input_history");
    if (v >= 617) ar(s.n617, "word_617");
    if (v >= 618) ar(s.n618, "word_618");
    if (v >= 619) ar(s.n619, "word_619");
    if (v >= 620) {
        ar(s.nQuandAscenseurH, "hscroll_mode");
        ar(s.nQuandAscenseurV, "vscroll_mode");
    } else if constexpr (A::bLecture) {
        s.nQuandAscenseurH = s.bAscenseurH ? 0 : 2;
        s.nQuandAscenseurV = s.bAscenseurV ? 0 : 2;
    }
    if (v >= 621) ar.TexteUtilisateur(s.sTexteConseil, "cue_text");
    if (v >= 622) ar(s.bUnicode, "unicode");
    if (v >= 623) ar(s.n623, "word_623");
    if (v >= 624) ar(s.n624, "word_624");
    if (v >= 625) ar(s.n625, "word_625");
    if (v >= 627) {
        ar(s.bBoutonCalendrier, "calendar_button");
        if (v >= 628 && s.bBoutonCalendrier) {
            uint32_t n = static_cast<uint32_t>(s.tabBlocCalendrier.size());
            ar(n, "calendar_block_size");
            if constexpr (A::bLecture) {
                if (n > b.nGetLimite() - b.nGetPosition())
                    xThrowErreur(10011, static_cast<unsigned long long>(b.nGetPosition() + n),
                                 static_cast<unsigned long long>(b.nGetLimite()));
                s.tabBlocCalendrier.resize(n);
            }
            if (n) ar.Octets(s.tabBlocCalendrier.data(), n, "calendar_block");
        }
    }
    if (v >= 629) ar(s.bTexteConseilAuto, "auto_cue_text");
    if (v >= 630) ar(s.bBulleAuto, "auto_tooltip");
    if (v >= 631) ar(s.dwCouleurFond631, "word_631");
    if (v >= 632) ar(s.n632, "word_632");
    if (v >= 633) ar(s.bNomFichierAssiste, "file_name_input");
    if (v >= 634) ar(s.n634, "word_634");
    if (v >= 635) ar(s.n635, "word_635");
    if (v >= 637) ar.TexteUtilisateur(s.sMasqueAffichage, "display_mask");
    if (v >= 638) ar(s.n638, "word_638");
    if (v >= 639) ar(s.nTypeToucheValidation, "validation_key");
    if (v >= 640) ar.TexteUtilisateur(s.s640, "string_640");
    taille.Fin();
    rec.Fin();
}

class CSaisie : public CChampFamille<ID_SAISIE, STSaisie, IVueSaisie> {
public:
    CSaisie();
    ~CSaisie() override;

    const wchar_t* pszGetNomType() const override { return L"edit"; }
    void _Deserialize(CLecteurKV& ar) override;

    // The record's fields.
    const STSaisie& GetSaisie() const { return m_st; }
    STSaisie& Saisie() { return m_st; }
    // A numeric record older than 615 (without currency management) has its
    // mask text turned into the current mask language.
    static void sAdapteMasqueAncien(STSaisie& st);
    // Builds the mask from the record (after reading, or after a change).
    void ConstruitMasque();

    // Kind reported by the language: 4 for a currency edit.
    int eGetTypeSaisie() const;
    // The value type of a numeric edit (other edits keep theirs); the value
    // is converted and shown again.
    void SetTypeValeur(uint16_t w);
    CIChamp* vpclCreeIChamp() override;
    // The caption is drawn left of the entry box, over the style's caption width.
    void SetLibelle(const wchar_t* psz) override;
    bool bEstNumerique() const { return m_st.eTypeSaisie == eSAISIE_NUMERIQUE; }
    uint16_t wGetTypeValeur() const { return m_st.wTypeValeur; }
    bool bGetSaisieObligatoire() const { return m_st.bObligatoire; }
    void SetSaisieObligatoire(bool b) { m_st.bObligatoire = b; }
    bool bGetVideSiNull() const { return m_st.bVideSiNull; }
    bool bGetEffacementAuto() const { return (m_st.dwOptions & OPTION_SAISIE_EFFACEMENT_AUTO) != 0; }
    bool bGetFinSaisieAuto() const { return m_st.bFinSaisieAuto; }
    bool bGetEuro() const { return m_st.bGestionEuro; }
    const CMasque* pclGetMasque() const { return m_pMasque.get(); }

    // Mask choice from a mask text (or number) for the edit's type; false
    // when the text cannot make a mask (the control is then without one).
    bool bChangeMasqueSaisie(const CTString& sMasque, const CTString& sMasqueAffichage, unsigned nMode);
    // The maximum number of characters (0: none).
    int nGetTailleMaxSaisie() const;

    // The value.
    void SetValeur(const CAny& cl);
    void GetValeur(CAny* pcl);
    // The value as text for the mask: digits, '-' and '.' for numbers.
    CTString sValeurPourMasque() const;
    void ValeurInterneVersAffichage();
    void AffichageVersValeurInterne();
    const CTString& sGetTexteAffiche() const { return m_sAffiche; }
    bool bEnSaisie() const { return m_bEnSaisie; }

    // Typing: a character through the mask (Enter only in multi-line
    // edits); a key (Delete, Backspace); paste; undo. Results: 1 accepted,
    // 0 refused.
    int nGereChar(wchar_t c);
    int nGereKeyDown(int nTouche);
    void SetSelection(int nDebut, int nFin);
    int nGetDebutSelection() const { return m_nDebutSel; }
    int nGetFinSelection() const { return m_nFinSel; }
    void SelectionneTout();
    bool _CMD_Coller(const CTString& sTexte);
    void _CMD_Couper(CTString& sCopie);
    void _CMD_Supprimer();
    void _CMD_Annuler();

    // Focus: entry form while focused, display form after.
    void OnGainFocus();
    void OnPerteFocus();

    // Exit checks in their order; false keeps the focus here.
    bool vbAccepteSortie() override;
    bool bTestSaisieObligatoire();
    bool bTestBornes();
    bool bTestDateValide();
    bool bTestTexteValide();
    bool vbSaisieObligatoireVide() const override;
    void vSignaleSaisieObligatoireVide() override;
    // The message the control last showed (for the user and for tests).
    const CTString& sGetDernierMessage() const { return m_sDernierMessage; }

    void vMAJVue() override;
    CAny _vGetValeurPourPersistance() const override;
    void _vSetValeurPourPersistance(const CAny& cl) override;
    bool vbResetValue(bool bValeurInitiale) override;
    bool vbAccepteChangementMultiligne() const override { return !pGetWidget(); }

    KV_ACCESSEURS(Valeur)
    KV_ACCESSEURS(MasqueSaisie)
    KV_ACCESSEURS(TypeSaisie)
    KV_ACCESSEURS(BorneMin)
    KV_ACCESSEURS(BorneMax)
    KV_ACCESSEURS(Multiligne)
    KV_ACCESSEURS(MotDePasse)
    KV_ACCESSEURS(NullSiVide)
    KV_ACCESSEURS(EffacementAutomatique)
    KV_ACCESSEURS(TexteConseil)
    KV_ACCESSEURS(TexteSelectionne)
    KV_ACCESSEURS(Curseur)
    KV_ACCESSEURS(FinCurseur)
    KV_ACCESSEURS(Ellipse)
    KV_ACCESSEURS(Taille)
    KV_ACCESSEURS(ValeurAffichee)
    KV_ACCESSEURS(Unicode)
    KV_ACCESSEURS(BoutonCalendrier)
    KV_ACCESSEURS(CadrageH)
    KV_ACCESSEURS(CadrageV)
    KV_ACCESSEURS(RetraitGauche)
    KV_ACCESSEURS(RetraitDroit)

protected:
    void vLitSpecifique(CLecteurKV& ar) override;

private:
    void MAJVueTexte();
    // Replaces the displayed text after an accepted change: selection, view,
    // then the modification event.
    void ChangeTexte(const CTString& sNouveau, int nDebutSel, int nFinSel);
    void Signale(int nMessage, std::vector<std::wstring> tabArgs, const wchar_t* pszDefaut);
    // A bound as a value of the edit's type (false when it is not defined).
    bool bBorne(const CTString& sBorne, double& d) const;

    std::unique_ptr<CMasque> m_pMasque;
    CAny m_clValeur;
    CTString m_sAffiche;
    CTString m_sAvantModification;
    CTString m_sDerniereSaisie;  // the entry text when the focus last left
    // Layout of the text, set by the program: alignments 0 left/top,
    // 1 centre, 2 right/bottom; margins in pixels.
    int m_nCadrageH = 0, m_nCadrageV = 1, m_nRetraitGauche = 0, m_nRetraitDroit = 0;
    int m_nDebutSel = 0, m_nFinSel = 0;
    bool m_bEnSaisie = false;
    CTString m_sDernierMessage;
};

