// Drives the masks with arbitrary mask texts and values: construction,
// display and entry forms, typing, validity, reading back. No crash, no
// undefined behaviour, no leak.
//
// Input: byte 0 chooses the separators and options, then the mask text, a
// 0 byte, the value text, a 0 byte, an entry mask text. Bytes are taken as
// characters 0 to 255, so the whole mask language is reachable.
#include "controls/edit/CMasqueHexadecimal.h"
#include "controls/edit/CMasqueNumerique.h"
#include "controls/edit/CMasqueTexte.h"
#include "controls/edit/CMasqueFixe.h"
#include <cstddef>
#include <cstdint>

namespace {

CTString Morceau(const uint8_t*& p, const uint8_t* fin) {
    CTString s;
    while (p < fin && *p) s.push_back(static_cast<wchar_t>(*p++));
    if (p < fin) ++p;
    return s;
}

struct STSeparateurs {
    const wchar_t* pszDecimal;
    const wchar_t* pszMillier;
    const wchar_t* pszMonnaie;
};
// Ordinary settings, and settings that clash with the mask language.
constexpr STSeparateurs ktabSeparateurs[] = {
    {L",", L" ", L"\u20AC"}, {L".", L",", L"$"},  {L",", L".", L"EUR"}, {L".", L"", L""},
    {L"9", L"-", L"9"},      {L",", L",", L"%"},  {L"(", L")", L"$$"},  {L" ", L" ", L" "},
};

void Tape(const CMasque& m, const CTString& sTouches) {
    CTString s;
    int d = 0, f = 0;
    for (size_t i = 0; i < sTouches.size() && i < 64; ++i) {
        CTString n;
        const int nLong = static_cast<int>(s.size());
        // The insertion point wanders through the text.
        const int nDebut = nLong ? static_cast<int>(sTouches[i]) % (nLong + 1) : 0;
        if (m.bAccepteSaisie(sTouches[i], nDebut, d % (nLong + 2), s, n, d, f)) s = n;
    }
    m.bEstValide(s);
    m.bFinDeSaisie(s, true);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t nChoix = data[0];
    const uint8_t* p = data + 1;
    const uint8_t* fin = data + size;
    const CTString sMasque = Morceau(p, fin);
    const CTString sValeur = Morceau(p, fin);
    const CTString sSaisie = Morceau(p, fin);

    const STSeparateurs& sep = ktabSeparateurs[nChoix & 7];
    const bool bForce = nChoix & 8;
    CMasqueNumerique::SetInternationnalParam(CMasqueNumerique::eIP_SEPARATEUR_DECIMAL, sep.pszDecimal, bForce);
    CMasqueNumerique::SetInternationnalParam(CMasqueNumerique::eIP_SEPARATEUR_MILLIER, sep.pszMillier, bForce);
    CMasqueNumerique::SetInternationnalParam(CMasqueNumerique::eIP_MONNAIE, sep.pszMonnaie, bForce);

    {
        CMasqueNumerique m(sMasque, (nChoix >> 4) & 0x0F);
        if (!sSaisie.empty()) m.SetMasqueSaisie(sSaisie, nChoix >> 6);
        if (nChoix & 0x40) m.SetNbChiffresSysteme(static_cast<int>(nChoix & 0x3F) - 8);
        CTString sAffiche, sEntree, v;
        m.Formate(sValeur, sAffiche);
        m.FormateEnSaisie(sValeur, sEntree);
        m.DeformateNum(sAffiche, v, false);
        m.DeformateNum(sEntree, v, true);
        m.DeformateNum(sValeur, v, false);
        m.bEstValideEnSaisie(sValeur);
        m.bEstValideEnSaisie(sEntree);
        m.bEstValide(sEntree);
        m.bFinDeSaisie(sAffiche, false);
        m.dwGetCouleurPourValeur(sValeur, nChoix & 1);
        m.vbReformatePourColler(sValeur, v);
        m.ReFormateLaSaisie(sEntree);
        m.nNbMaxCharEnSaisie();
        m.wGetTypeFromMasque();
        m.bNegatifAccepte();
        m.pszGetValeurPourNull();
        for (int nPartie = 0; nPartie < 4; ++nPartie) {
            m.nDecimalesMasque(nPartie, true);
            m.GetPrefixeChiffre(nPartie, v);
            m.GetPostfixeChiffre(nPartie, v);
        }
        m.GetMasqueAvecNChiffres(static_cast<int>(nChoix) - 100, v);
        Tape(m, sValeur);
    }
    {
        CMasqueHexadecimal h(sMasque);
        CTString s, v;
        h.Formate(sValeur, s);
        h.vbDeformate(sValeur, v, true);
        CMasqueHexadecimal::GetChaineDecimale(sValeur, v);
        Tape(h, sValeur);
    }
    for (int n : {1, 2, 3, 4, 10, 16}) {
        auto m = CMasque::pclGetNewMasqueTexte(n);
        CTString s;
        m->Formate(sValeur, s);
        m->vbReformatePourColler(sValeur, s);
        Tape(*m, sValeur);
    }
    // The fixed masks of dates, times and durations.
    for (eGENRE_MASQUE_FIXE e : {eGENRE_MASQUE_FIXE::DATE, eGENRE_MASQUE_FIXE::HEURE, eGENRE_MASQUE_FIXE::DUREE}) {
        CMasqueFixe m(sMasque, e);
        CTString s, v;
        m.Formate(sValeur, s);
        m.vbDeformate(s, v, true);
        m.vbDeformate(sSaisie, v, false);
        m.bDateAcceptable(sSaisie);
        m.vbReformatePourColler(sValeur, s);
        Tape(m, sValeur);
    }
    CMasqueNumerique::sReinitialiseParametresInternationaux();
    return 0;
}
