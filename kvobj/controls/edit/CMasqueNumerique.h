// The numeric mask language: digit positions, separators, sign, currency,
// percentage, colours, and parts for positive, negative, zero and null
// values ("[Red]-999 999,99;(999 999,99);0;-").
//
// Values are texts: digits with an optional leading '-' and '.' as decimal
// point (an exponent "e±N" is also read). Digits are handled as text, so a
// value is never rounded through a binary double.
//
// Display form: every decimal position is filled ('0' where the value has no
// more decimals, the value rounded half away from zero where it has more)
// and the decimal separator is always shown. Entry form, the raw text the
// user edits: the sign, the digits and the decimal separator only; trailing
// zero decimals at '9' positions are left out, and the separator with them
// when no decimal remains. A value too large for its mask shows the overflow
// text in display, but itself in entry, so that reading the entry text back
// gives the value again; for the same reason a zero is typed through part 0,
// not through a zero part that may show no digit.
#pragma once
#include "controls/edit/CMasque.h"
#include <string>
#include <vector>

class CMasqueNumerique : public CMasque {
public:
    // Options of a mask (display and entry each have their own word).
    enum : uint32_t {
        eOPT_SYSTEME = 0x01,            // a system number or money mask
        eOPT_SYMBOLE_MONETAIRE = 0x02,  // ... with the currency symbol
        eOPT_SEPARATEUR_PROPRE = 0x04,  // use the mask's own decimal separator
        eOPT_REEL = 0x08,               // the value is a real
    };
    // Module-wide settings.
    enum eINTERNATIONAL_PARAM : int {
        eIP_SEPARATEUR_DECIMAL = 0,
        eIP_SEPARATEUR_MILLIER = 1,
        eIP_MONNAIE = 2,
        eIP_NB,
    };
    // Language type codes that wGetTypeFromMasque answers.
    static constexpr uint16_t wTYPE_ENTIER_4 = 8;
    static constexpr uint16_t wTYPE_ENTIER_8 = 9;
    static constexpr uint16_t wTYPE_REEL_8 = 12;

    explicit CMasqueNumerique(const CTString& sMasque = CTString(), uint32_t dwOptions = 0);

    // Masks. An empty entry mask makes entry use the display mask.
    void SetMasque(const CTString& sMasque, uint32_t dwOptions = 0);
    void SetMasqueSaisie(const CTString& sMasque, uint32_t dwOptions = 0);
    const CTString& sGetMasque() const { return m_clAffichage.sTexte; }
    const CTString& sGetMasqueSaisie() const { return m_clSaisie.sTexte; }
    uint32_t dwGetOptions() const { return m_clAffichage.dwOptions; }
    // Number of decimals of the system masks; -1 for the default (2).
    void SetNbChiffresSysteme(int n);
    int nGetNbChiffresSysteme() const { return m_nNbChiffresSysteme; }

    // CMasque
    void Formate(const CTString& sValeur, CTString& sSortie, CObjetAPCode* pclObjet = nullptr) const override;
    void FormateEnSaisie(const CTString& sValeur, CTString& sSortie) const override;
    bool vbDeformate(const CTString& sTexte, CTString& sValeur, bool bEnSaisie) const override;
    void ReFormateLaSaisie(CTString& sTexte) const override;
    bool bEstValide(const CTString& sTexte) const override;
    bool bEstValideEnSaisie(const CTString& sTexte) const override;
    bool bFinDeSaisie(const CTString& sTexte, bool bEnSaisie) const override;
    bool vbReformatePourColler(const CTString& sColle, CTString& sSortie) const override;
    void vSetMasquePourSaisieEtAff(const CTString& sSaisie, const CTString& sAffichage) override;
    void vSetInfoLangueMasque(const STInfoLangueMasque& stInfo) override;
    uint16_t wGetTypeFromMasque() const override;

    // Formatting of a value: display form or entry form; pclObjet receives
    // the warning of a value that does not fit.
    void MetAuFormat(const CTString& sValeur, CTString& sSortie, bool bEnSaisie, CObjetAPCode* pclObjet) const;
    // A byte count in units of 1024: "1,5 KB".
    void MetAuFormatTailleDisque(const CTString& sValeur, CTString& sSortie) const;
    // Back from a displayed or entry text to the value text ("-1234.5");
    // false when the text holds no number. An empty text gives an empty
    // value, as does the null text in display form.
    bool DeformateNum(const CTString& sTexte, CTString& sValeur, bool bEnSaisie) const;
    // The sign, digits and decimal point of a text, nothing else: no
    // percentage or unit is undone.
    bool _EnleveFormat(const CTString& sTexte, CTString& sValeur, bool bEnSaisie) const;

    // Whether a leading '-' can be typed.
    bool bNegatifAccepte() const;
    // Colour of the part that shows the value (COULEUR_MASQUE_AUCUNE: none).
    uint32_t dwGetCouleurPourValeur(const CTString& sValeur, bool bEnSaisie) const;
    uint32_t dwGetCouleurPourPourNull(bool bEnSaisie = false) const;
    // Text of the null value: the fourth part, or the module's null text; the
    // entry form of null is empty.
    CTString pszGetValeurPourNull(bool bEnSaisie = false) const;

    // Per part (0 positive, 1 negative, 2 zero, 3 null; a missing part is
    // part 0). nDecimalesMasque with bEffectif gives the decimals of the
    // value itself, two more for a percentage.
    int nDecimalesMasque(int nPartie = 0, bool bEffectif = false) const;
    int nGetNbChiffreSignificatifMasque(int nPartie = 0) const;
    bool bEstMasquePourcentage(int nPartie = 0) const;
    bool bEstMasqueTailleDisque(int nPartie = 0) const;
    // Most characters an entry text can hold.
    int nNbMaxCharEnSaisie() const;

    // The display mask with nChiffres integer positions (automatic totals);
    // "DiskSize" is given back unchanged.
    void GetMasqueAvecNChiffres(int nChiffres, CTString& sSortie) const;
    // What the display shows before the first digit and after the last one,
    // for a positive value of a part.
    void GetPrefixeChiffre(int nPartie, CTString& sSortie) const;
    void GetPostfixeChiffre(int nPartie, CTString& sSortie) const;
    // A money mask text: nEntiers integer positions grouped by three, a sign,
    // nDecimales decimals, and " $" when bSymbole.
    static CTString sConstruitMasqueMonetaire(int nEntiers, int nDecimales, bool bSymbole);

    // Module-wide separators and currency. The defaults are ',', ' ' and the
    // euro sign: the original setting is the single character 0x80 of code
    // page 1252; our strings are Unicode, so it is U+20AC here. A setting
    // also entered in the forced-parameter table (bForce) overrides the own
    // settings of every mask (for the decimal separator, unless the mask has
    // eOPT_SEPARATEUR_PROPRE).
    static void SetInternationnalParam(eINTERNATIONAL_PARAM e, const CTString& sValeur, bool bForce = false);
    static CTString sGetInternationnalParam(eINTERNATIONAL_PARAM e);
    static bool sbParametreForce(eINTERNATIONAL_PARAM e);
    // Back to the defaults with an empty forced-parameter table.
    static void sReinitialiseParametresInternationaux();

    // The special whole-mask names.
    static constexpr const wchar_t* pszMASQUE_NUM_SYSTEME = L"NumSystemMask";
    static constexpr const wchar_t* pszMASQUE_MONNAIE_SYSTEME = L"MoneySystemMask";
    static constexpr const wchar_t* pszMASQUE_MONNAIE_SYSTEME_SYMBOLE = L"MoneySystemMask$";
    static constexpr const wchar_t* pszMASQUE_TAILLE_DISQUE = L"DiskSize";

    // One character of a part, as analysed.
    enum class eJeton : uint8_t { Chiffre, Separateur, Decimale, Monnaie, Pourcent, Signe, ParOuvrante, ParFermante, Litteral };
    struct STJeton {
        eJeton e = eJeton::Litteral;
        wchar_t c = 0;          // the mask character; for a literal, what it shows
        bool bFraction = false; // a digit position after the decimal character
        bool b9Apres = false;   // separator: a '9' position follows later
        int nTexte = 0;         // index in the part's text
    };
    struct STPartie {
        CTString sTexte;        // without its colour
        CTString sCouleur;      // the colour as written, "[Red]", or empty
        uint32_t dwCouleur = COULEUR_MASQUE_AUCUNE;
        std::vector<STJeton> tabJetons;
        int nEntiers = 0;       // '0' and '9' positions before the decimal character
        int nDecimales = 0;     // digit positions after it
        bool bDecimale = false;
        bool bPourcentage = false;
        bool bParentheses = false;
        bool bSigne = false;    // holds '-' or '+'
    };
    struct STAnalyse {
        CTString sTexte;        // as given
        uint32_t dwOptionsDonnees = 0;  // as given
        uint32_t dwOptions = 0; // as given, plus those a system mask sets
        bool bTailleDisque = false;
        std::vector<STPartie> tabParties;
        bool bVide() const { return sTexte.empty(); }
    };

protected:
    wchar_t vcTransformeCaractere(wchar_t c, const CTString& sTexte, int nPosition) const override;

public:
    // A number as text: digits without leading zeros before the point.
    struct STNombre {
        bool bNegatif = false;
        std::string sEntier;
        std::string sFraction;
        bool bZero() const;
    };

private:
    const STAnalyse& _clAnalysePour(bool bEnSaisie) const;
    // The analysis a text is typed through (the 21-digit mask for DiskSize).
    const STAnalyse& _clAnalyseSaisie() const;
    void _Analyse(STAnalyse& a, const CTString& sTexte, uint32_t dwOptions) const;
    void _AnalysePartie(STPartie& P, CTString sTexte, bool bPlusieurs) const;
    CTString _ConstruitMasqueSysteme(bool bMonnaie, bool bSymbole) const;
    static const STPartie& _clPartie(const STAnalyse& a, int nPartie);
    const STPartie& _clPreparePartie(const STAnalyse& a, const STNombre& n, STNombre& v, bool bEnSaisie) const;
    bool _bFormate(const STAnalyse& a, const STNombre& n, const CTString& sValeur, bool bEnSaisie,
                   CTString& sSortie) const;
    bool _bDeformateTailleDisque(const CTString& sTexte, CTString& sValeur) const;
    bool _bValeurSansMasque(const CTString& sTexte, CTString& sValeur) const;
    bool _bNegatifAccepte(const STAnalyse& a) const;
    bool _bTexteValide(const STAnalyse& a, const CTString& sTexte) const;
    void _Affixe(const STPartie& P, bool bPrefixe, CTString& sSortie) const;
    wchar_t _cSeparateurDecimal(const STAnalyse& a) const;
    wchar_t _cSeparateurMillier() const;
    const CTString& _sMonnaie() const;

    STAnalyse m_clAffichage;
    STAnalyse m_clSaisie;
    // The 21-digit mask a disk size is typed through.
    STAnalyse m_clTailleDisqueSaisie;
    // Display separators and currency: the mask's own, initialised from the
    // module-wide settings.
    wchar_t m_cSepMillierAffichage;
    wchar_t m_cSepDecimalAffichage;
    // What marks a thousands separator and the decimal position in mask texts.
    wchar_t m_cCaractereMillierMasque = L' ';
    wchar_t m_cCaractereDecimalMasque = L',';
    CTString m_sMonnaie;
    int m_nNbChiffresSysteme = -1;
};
