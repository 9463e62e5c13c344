#include "controls/edit/CMasqueHexadecimal.h"
#include "base/Texte.h"
#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <string_view>

namespace {

int nHexa(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

CTString sSansEspaces(const CTString& s) {
    size_t i = 0, f = s.size();
    while (i < f && (s[i] == L' ' || s[i] == L'\t')) ++i;
    while (f > i && (s[f - 1] == L' ' || s[f - 1] == L'\t')) --f;
    return s.substr(i, f - i);
}

// Upper-case digits of a hexadecimal text (optional "0x"); false when it is
// not 1 to 16 hexadecimal digits.
bool bNormaliseHexa(const CTString& sTexte, CTString& sHexa) {
    std::wstring_view s(sTexte);
    if (s.size() > 2 && s[0] == L'0' && (s[1] == L'x' || s[1] == L'X')) s.remove_prefix(2);
    if (s.empty() || s.size() > static_cast<size_t>(CMasqueHexadecimal::nNB_CHIFFRES_MAX)) return false;
    CTString r;
    for (wchar_t c : s) {
        const int h = nHexa(c);
        if (h < 0) return false;
        r.push_back(static_cast<wchar_t>(h < 10 ? L'0' + h : L'A' + h - 10));
    }
    sHexa = std::move(r);
    return true;
}

} // namespace

CMasqueHexadecimal::CMasqueHexadecimal(const CTString& sMasque, int nFormatRetour) {
    m_nLongueurMax = nNB_CHIFFRES_MAX;
    if (nFormatRetour >= eRETOUR_HEXA_DECIMAL && nFormatRetour <= eRETOUR_HEXA_TEXTE_0X)
        m_eFormatRetour = static_cast<eFORMAT_RETOUR_HEXA>(nFormatRetour);
    else
        _SetFormatRetour(sMasque);
}

bool CMasqueHexadecimal::sbEstUnMasqueHexaDecimal(const CTString& sMasque) {
    const size_t n = std::wcslen(pszMASQUE_HEXA);
    if (sMasque.size() < n || !kvtexte::bEgalSansCasse(std::wstring_view(sMasque).substr(0, n), pszMASQUE_HEXA))
        return false;
    return sMasque.size() == n || sMasque[n] == L':';
}

void CMasqueHexadecimal::_SetFormatRetour(const CTString& sMasque) {
    m_eFormatRetour = eRETOUR_HEXA_DECIMAL;
    const size_t p = sMasque.find(L':');
    if (!sbEstUnMasqueHexaDecimal(sMasque) || p == CTString::npos) return;
    const CTString sFormat = sSansEspaces(sMasque.substr(p + 1));
    if (kvtexte::bEgalSansCasse(sFormat, L"X"))
        m_eFormatRetour = eRETOUR_HEXA_TEXTE;
    else if (kvtexte::bEgalSansCasse(sFormat, L"0X"))
        m_eFormatRetour = eRETOUR_HEXA_TEXTE_0X;
}

bool CMasqueHexadecimal::GetChaineHexadecimale(const CTString& sDecimal, CTString& sHexa) {
    const CTString s = sSansEspaces(sDecimal);
    size_t i = 0;
    bool bNegatif = false;
    if (i < s.size() && (s[i] == L'-' || s[i] == L'+')) bNegatif = s[i++] == L'-';
    if (i == s.size()) return false;
    // The magnitude, at most 2^63 (for -2^63).
    uint64_t v = 0;
    const uint64_t nMax = bNegatif ? (uint64_t(1) << 63) : (uint64_t(1) << 63) - 1;
    for (; i < s.size() && s[i] >= L'0' && s[i] <= L'9'; ++i) {
        const unsigned d = static_cast<unsigned>(s[i] - L'0');
        if (v > (nMax - d) / 10) return false;
        v = v * 10 + d;
    }
    // An integer written with zero decimals ("12.00") is still an integer.
    if (i < s.size() && s[i] == L'.')
        for (++i; i < s.size() && s[i] == L'0'; ++i) {
        }
    if (i != s.size()) return false;
    if (bNegatif) v = ~v + 1;
    CTString r;
    do {
        const unsigned h = static_cast<unsigned>(v & 0xF);
        r.push_back(static_cast<wchar_t>(h < 10 ? L'0' + h : L'A' + h - 10));
        v >>= 4;
    } while (v != 0);
    std::reverse(r.begin(), r.end());
    sHexa = std::move(r);
    return true;
}

bool CMasqueHexadecimal::GetChaineDecimale(const CTString& sHexa, CTString& sDecimal) {
    CTString s;
    if (!bNormaliseHexa(sSansEspaces(sHexa), s)) return false;
    uint64_t v = 0;
    for (wchar_t c : s) v = (v << 4) | static_cast<uint64_t>(nHexa(c));
    sDecimal = std::to_wstring(static_cast<int64_t>(v));
    return true;
}

bool CMasqueHexadecimal::_bChiffresDeValeur(const CTString& sValeur, CTString& sHexa) const {
    if (m_eFormatRetour == eRETOUR_HEXA_DECIMAL) return GetChaineHexadecimale(sValeur, sHexa);
    return bNormaliseHexa(sSansEspaces(sValeur), sHexa);
}

void CMasqueHexadecimal::Formate(const CTString& sValeur, CTString& sSortie, CObjetAPCode*) const {
    // A value that is not one of the mask's is shown as it is.
    if (!_bChiffresDeValeur(sValeur, sSortie)) sSortie = sValeur;
}

void CMasqueHexadecimal::FormateEnSaisie(const CTString& sValeur, CTString& sSortie) const {
    Formate(sValeur, sSortie, nullptr);
}

bool CMasqueHexadecimal::vbDeformate(const CTString& sTexte, CTString& sValeur, bool) const {
    const CTString s = sSansEspaces(sTexte);
    if (s.empty()) {
        sValeur.clear();
        return true;
    }
    CTString sHexa;
    if (!bNormaliseHexa(s, sHexa)) return false;
    switch (m_eFormatRetour) {
    case eRETOUR_HEXA_DECIMAL: return GetChaineDecimale(sHexa, sValeur);
    case eRETOUR_HEXA_TEXTE: sValeur = sHexa; return true;
    case eRETOUR_HEXA_TEXTE_0X: sValeur = L"0x" + sHexa; return true;
    }
    return false;
}

bool CMasqueHexadecimal::bEstValideEnSaisie(const CTString& sTexte) const {
    return sTexte.size() <= static_cast<size_t>(nNB_CHIFFRES_MAX) &&
           std::all_of(sTexte.begin(), sTexte.end(), [](wchar_t c) { return nHexa(c) >= 0; });
}

wchar_t CMasqueHexadecimal::vcTransformeCaractere(wchar_t c, const CTString&, int) const {
    if (nHexa(c) < 0) return 0;
    return c >= L'a' && c <= L'f' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

uint16_t CMasqueHexadecimal::wGetTypeFromMasque() const {
    // An 8-byte integer when the value is a number; a text value implies none.
    return m_eFormatRetour == eRETOUR_HEXA_DECIMAL ? 9 : 0;
}
