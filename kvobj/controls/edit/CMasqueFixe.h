// The plain fixed mask of date, time and duration edits: each letter of the
// mask is a digit position of a field, every other character a literal the
// mask puts in place itself ("JJ/MM/AAAA", "HH:MM", "HH:MM:SS"). The full
// date and time mask language (names of days and months, AM/PM, relative
// dates) is another family's; this one reads and writes the digits.
//
// Values are texts: "AAAAMMJJ" for dates, "HHMMSSCCC" for times, a number
// of milliseconds for durations.
#pragma once
#include "controls/edit/CMasque.h"
#include <vector>

enum class eGENRE_MASQUE_FIXE { DATE, HEURE, DUREE };

class CMasqueFixe : public CMasque {
public:
    CMasqueFixe(const CTString& sMasque, eGENRE_MASQUE_FIXE eGenre);

    void Formate(const CTString& sValeur, CTString& sSortie, CObjetAPCode* pclObjet = nullptr) const override;
    void FormateEnSaisie(const CTString& sValeur, CTString& sSortie) const override;
    bool vbDeformate(const CTString& sTexte, CTString& sValeur, bool bEnSaisie) const override;
    bool bEstValide(const CTString& sTexte) const override;
    bool bEstValideEnSaisie(const CTString& sTexte) const override;
    bool bAccepteSaisie(wchar_t c, int nDebutSel, int nFinSel, const CTString& sTexte, CTString& sNouveau,
                        int& nNouveauDebutSel, int& nNouveauFinSel) const override;
    bool bFinDeSaisie(const CTString& sTexte, bool bEnSaisie) const override;
    bool vbReformatePourColler(const CTString& sColle, CTString& sSortie) const override;

    // The digits of a text in mask order (literals dropped), at most the
    // mask's digit positions.
    CTString sChiffres(const CTString& sTexte) const;
    // The text of some digits: literals in place up to the last digit given.
    CTString sRendu(const CTString& sChiffres) const;
    int nNbChiffres() const { return m_nChiffres; }
    static bool sbDateValide(int nAnnee, int nMois, int nJour);
    // The exit check of a date edit: an empty or all-zero text passes, so
    // does a real date; a mask without a day (or without a month) checks
    // only the fields it has.
    bool bDateAcceptable(const CTString& sTexte) const;

private:
    struct STZone {
        wchar_t cChamp;   // 'A' year, 'M' month, 'J' day, 'H' hours, 'm' minutes, 'S' seconds, 'C' milliseconds
        int nLongueur;
    };
    // Mask walked as literals and zones.
    struct STElement {
        bool bZone;
        wchar_t cLitteral;
        STZone zone;
    };
    // Fields of a value, and back (false when the fields make no value of
    // the mask's kind).
    bool bChamps(const CTString& sValeur, long long tab[7]) const;
    bool bValeurDepuisChamps(const long long tab[7], CTString& sValeur) const;

    eGENRE_MASQUE_FIXE m_eGenre;
    std::vector<STElement> m_tabElements;
    int m_nChiffres = 0;
};
