// Text masks of edit controls: the predefined masks (upper case, lower case,
// first letter of each word in capital, digits, e-mail address, file name)
// and masks defined by a regular expression ("regexp:PATTERN").
//
// Each mask transforms a typed character (upper-casing, or refusing it),
// accepts the resulting text while it can still become valid, and checks the
// complete text when the control is left. An empty text is always valid: a
// mandatory control checks emptiness itself.
#pragma once
#include "controls/edit/CMasque.h"
#include <QRegularExpression>
#include <memory>

class CMasqueTexte : public CMasque {
public:
    static constexpr const wchar_t* pszPREFIXE_REGEXP = L"regexp:";
    static constexpr int nLONGUEUR_MAX_EMAIL = 254;
    static constexpr int nLONGUEUR_MAX_NOM_FICHIER = 255;

    // A predefined mask (eMASQUE_TEXTE_MAJUSCULES .. eMASQUE_TEXTE_EMAIL,
    // hexadecimal aside: see CMasqueHexadecimal).
    explicit CMasqueTexte(eTYPE_MASQUE_TEXTE eType);
    // A regular-expression mask; null when the pattern is empty or does not
    // compile (its error in psErreur when given).
    static std::unique_ptr<CMasqueTexte> pclExpressionReguliere(const CTString& sModele, CTString* psErreur = nullptr);
    static bool sbEstMasqueExpressionReguliere(const CTString& sMasque);

    void Formate(const CTString& sValeur, CTString& sSortie, CObjetAPCode* pclObjet = nullptr) const override;
    void FormateEnSaisie(const CTString& sValeur, CTString& sSortie) const override;
    bool bEstValide(const CTString& sTexte) const override;
    bool bEstValideEnSaisie(const CTString& sTexte) const override;
    int eGetTypeMaskTexte() const override { return m_eType; }
    const CTString& sGetModele() const { return m_sModele; }

protected:
    wchar_t vcTransformeCaractere(wchar_t c, const CTString& sTexte, int nPosition) const override;

private:
    CMasqueTexte(eTYPE_MASQUE_TEXTE eType, const CTString& sModele, QRegularExpression clExpression);
    // The whole text transformed as if typed (for the case masks).
    CTString _sTransforme(const CTString& sTexte) const;

    eTYPE_MASQUE_TEXTE m_eType;
    CTString m_sModele;
    // Anchored on the whole text.
    QRegularExpression m_clExpression;
};
