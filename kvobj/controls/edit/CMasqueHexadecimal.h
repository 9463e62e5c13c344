// Hexadecimal masks: an integer shown and typed as hexadecimal digits.
//
// Mask text: "Hexa", optionally followed by ":" and the return format, the
// form of the value the mask gives back (compared ignoring case):
//   "Hexa" or "Hexa:D"  the value is a decimal integer text ("255")
//   "Hexa:X"            the value is the hexadecimal digits ("FF")
//   "Hexa:0X"           the value is the digits with a "0x" prefix ("0xFF")
// Values are 64-bit signed integers; a negative one shows its two's
// complement on 16 digits.
#pragma once
#include "controls/edit/CMasque.h"

enum eFORMAT_RETOUR_HEXA : int {
    eRETOUR_HEXA_DECIMAL = 0,
    eRETOUR_HEXA_TEXTE = 1,
    eRETOUR_HEXA_TEXTE_0X = 2,
};

class CMasqueHexadecimal : public CMasque {
public:
    static constexpr int nNB_CHIFFRES_MAX = 16;
    static constexpr const wchar_t* pszMASQUE_HEXA = L"Hexa";

    // nFormatRetour: a eFORMAT_RETOUR_HEXA value, or -1 to read it from the
    // mask text.
    explicit CMasqueHexadecimal(const CTString& sMasque = CTString(), int nFormatRetour = -1);

    // Whether a mask text is a hexadecimal mask.
    static bool sbEstUnMasqueHexaDecimal(const CTString& sMasque);
    // The return format written in a mask text (decimal when none is).
    void _SetFormatRetour(const CTString& sMasque);
    void SetFormatRetour(eFORMAT_RETOUR_HEXA e) { m_eFormatRetour = e; }
    eFORMAT_RETOUR_HEXA eGetFormatRetour() const { return m_eFormatRetour; }

    // A decimal integer text as upper-case hexadecimal digits; false when it
    // is not an integer of 64 bits.
    static bool GetChaineHexadecimale(const CTString& sDecimal, CTString& sHexa);
    // 1 to 16 hexadecimal digits (an optional "0x" before them) as a signed
    // decimal integer text; false when they are not.
    static bool GetChaineDecimale(const CTString& sHexa, CTString& sDecimal);

    void Formate(const CTString& sValeur, CTString& sSortie, CObjetAPCode* pclObjet = nullptr) const override;
    void FormateEnSaisie(const CTString& sValeur, CTString& sSortie) const override;
    bool vbDeformate(const CTString& sTexte, CTString& sValeur, bool bEnSaisie) const override;
    bool bEstValideEnSaisie(const CTString& sTexte) const override;
    int eGetTypeMaskTexte() const override { return eMASQUE_TEXTE_HEXADECIMAL; }
    uint16_t wGetTypeFromMasque() const override;

protected:
    wchar_t vcTransformeCaractere(wchar_t c, const CTString& sTexte, int nPosition) const override;

private:
    // The hexadecimal digits of a value in the return format.
    bool _bChiffresDeValeur(const CTString& sValeur, CTString& sHexa) const;

    eFORMAT_RETOUR_HEXA m_eFormatRetour = eRETOUR_HEXA_DECIMAL;
};
