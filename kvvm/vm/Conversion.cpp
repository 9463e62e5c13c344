// Conversion of values between the language's type codes (rules in Conversion.h).
//
// Every conversion goes in two steps: the source is read into a CValeur, the
// form its family computes with (an exact 128-bit integer, a real, a decimal,
// a text, a date...), then the CValeur is written in the target type with
// its range checked. This keeps the number of cases linear in the number of
// type codes.
#include "Conversion.h"
#include "base/Texte.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

namespace kvconv {
namespace {

constexpr __int128 kMaxI64 = std::numeric_limits<int64_t>::max();
constexpr __int128 kMinI64 = std::numeric_limits<int64_t>::min();
constexpr __int128 kMaxUI64 = std::numeric_limits<uint64_t>::max();
constexpr int64_t kMsParJour = 24LL * 3600 * 1000;

// ---------------------------------------------------------------------------
// Code page 1252, as a table built once from glibc's iconv converter. The
// code page is single-byte, so a table gives the same result as calling
// iconv per text and lets us choose what happens to what it cannot convert.

struct STTableCP1252 {
    std::array<wchar_t, 256> aVersLarge{};
    // The upper half, as (wide character, byte), sorted by wide character.
    std::array<std::pair<wchar_t, unsigned char>, 128> aVersOctet{};
};

const STTableCP1252& TableCP1252() {
    static const STTableCP1252 s_Table = [] {
        STTableCP1252 t;
        // Bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90,
        // 0x9D) keep their value as a code point, so that they round-trip.
        for (int i = 0; i < 256; ++i)
            t.aVersLarge[size_t(i)] = wchar_t(i);
        iconv_t cd = iconv_open("WCHAR_T", "CP1252");
        if (cd != iconv_t(-1)) {
            for (int i = 0x80; i < 0x100; ++i) {
                char c = char(i);
                wchar_t w = 0;
                char* pEntree = &c;
                size_t nEntree = 1;
                char* pSortie = reinterpret_cast<char*>(&w);
                size_t nSortie = sizeof w;
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
                if (iconv(cd, &pEntree, &nEntree, &pSortie, &nSortie) != size_t(-1) && nSortie == 0)
                    t.aVersLarge[size_t(i)] = w;
            }
            iconv_close(cd);
        }
        for (int i = 0; i < 128; ++i)
            t.aVersOctet[size_t(i)] = {t.aVersLarge[size_t(0x80 + i)], static_cast<unsigned char>(0x80 + i)};
        std::sort(t.aVersOctet.begin(), t.aVersOctet.end());
        return t;
    }();
    return s_Table;
}

char cVersCP1252(wchar_t c) {
    if (c >= 0 && c < 0x80)
        return char(c);
    const auto& aVersOctet = TableCP1252().aVersOctet;
    auto it = std::lower_bound(aVersOctet.begin(), aVersOctet.end(), c,
                               [](const auto& paire, wchar_t w) { return paire.first < w; });
    if (it != aVersOctet.end() && it->first == c)
        return char(it->second);
    return '?';
}

// ---------------------------------------------------------------------------
// Texts

bool bChiffre(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

using kvtexte::bEspace;
using kvtexte::sSansEspaces;

bool bQueDesChiffres(std::wstring_view s) {
    return std::all_of(s.begin(), s.end(), bChiffre);
}

std::wstring sAscii(std::string_view s) {
    return std::wstring(s.begin(), s.end());
}

// Text of a fixed-size inline area: up to nMax characters, stopping at a zero.
template <class C>
std::basic_string<C> sTexteBorne(const C* p, size_t nMax) {
    size_t n = 0;
    while (n < nMax && p[n])
        ++n;
    return std::basic_string<C>(p, n);
}

// Whole number written with nLargeur digits at least.
std::wstring sChiffres(int nValeur, int nLargeur) {
    const int64_t n = nValeur;
    std::wstring s = std::to_wstring(n < 0 ? -n : n);
    if (int(s.size()) < nLargeur)
        s.insert(0, size_t(nLargeur) - s.size(), L'0');
    return n < 0 ? L"-" + s : s;
}

bool bEgalSansCasse(std::wstring_view s, std::wstring_view sMotMinuscule) {
    return s.size() == sMotMinuscule.size() &&
           std::equal(s.begin(), s.end(), sMotMinuscule.begin(),
                      [](wchar_t a, wchar_t b) { return (a >= L'A' && a <= L'Z' ? a + 32 : a) == b; });
}

// ---------------------------------------------------------------------------
// Numbers

std::string sTexteEntier(__int128 n) {
    const bool bNegatif = n < 0;
    unsigned __int128 u = bNegatif ? -static_cast<unsigned __int128>(n) : static_cast<unsigned __int128>(n);
    std::string s;
    do {
        s.insert(s.begin(), char('0' + int(u % 10)));
        u /= 10;
    } while (u != 0);
    return bNegatif ? "-" + s : s;
}

// Currency: ten-thousandths, at most 4 decimals, no trailing zeros.
std::string sTexteMonetaire(int64_t n) {
    const bool bNegatif = n < 0;
    const uint64_t u = bNegatif ? 0 - uint64_t(n) : uint64_t(n);
    std::string s = std::to_string(u / 10000);
    if (uint64_t nFraction = u % 10000) {
        std::string sFraction = std::to_string(nFraction);
        sFraction.insert(0, 4 - sFraction.size(), '0');
        sFraction.erase(sFraction.find_last_not_of('0') + 1);
        s += "." + sFraction;
    }
    return bNegatif ? "-" + s : s;
}

// Whole part of an analysed text; 102 when it exceeds the 128-bit range.
int nEntierDepuisTexte(const STNombreTexte& nombre, __int128& nRes) {
    if (nombre.sEntier.size() > 38)
        return eCONV_DEPASSEMENT;
    __int128 n = 0;
    for (char c : nombre.sEntier)
        n = n * 10 + (c - '0');
    nRes = nombre.bNegatif ? -n : n;
    return eCONV_OK;
}

int nReelDepuisTexte(const STNombreTexte& nombre, double& dRes) {
    const std::string s = nombre.sFormeC();
    double d = 0;
    const auto resultat = std::from_chars(s.data(), s.data() + s.size(), d);
    if (resultat.ec == std::errc::result_out_of_range) {
        // Too large, or so small that it is zero: tell them apart by the
        // position of the first significant digit.
        int64_t nOrdre = int64_t(nombre.sEntier.size());
        if (nOrdre == 0)
            nOrdre = -int64_t(nombre.sFraction.find_first_not_of('0'));
        if (nOrdre + nombre.nExposant > 0)
            return eCONV_DEPASSEMENT;
        d = 0;
    } else if (resultat.ec != std::errc()) {
        return eCONV_PAS_UN_NOMBRE;
    }
    dRes = nombre.bNegatif ? -std::fabs(d) : d;
    return eCONV_OK;
}

int nEntierDepuisReel(double d, __int128& nRes) {
    if (!std::isfinite(d))
        return eCONV_DEPASSEMENT;
    const double t = std::trunc(d);
    if (std::fabs(t) >= 1e38)
        return eCONV_DEPASSEMENT;
    nRes = static_cast<__int128>(t);
    return eCONV_OK;
}

bool bDecimalDepuisEntier(__int128 n, kvdec::STDecimal128& dRes) {
    if (n >= kMinI64 && n <= kMaxI64)
        dRes = kvdec::DepuisEntier(int64_t(n));
    else if (n >= 0 && n <= kMaxUI64)
        dRes = kvdec::DepuisNaturel(uint64_t(n));
    else
        return kvdec::bDepuisTexte(sTexteEntier(n), dRes);
    return true;
}

// ---------------------------------------------------------------------------
// Dates and times

bool bBissextile(int nAnnee) {
    return (nAnnee % 4 == 0 && nAnnee % 100 != 0) || nAnnee % 400 == 0;
}

bool bDateValide(int nDate) {
    const int nAnnee = nDate / 10000, nMois = nDate / 100 % 100, nJour = nDate % 100;
    if (nDate <= 0 || nAnnee < 1 || nAnnee > 9999 || nMois < 1 || nMois > 12 || nJour < 1)
        return false;
    static constexpr int aJours[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int nMax = aJours[nMois - 1] + (nMois == 2 && bBissextile(nAnnee) ? 1 : 0);
    return nJour <= nMax;
}

bool bHeureValide(int nHeure) {
    return nHeure >= 0 && nHeure / 10000000 < 24 && nHeure / 100000 % 100 < 60 && nHeure / 1000 % 100 < 60;
}

int64_t nMsDepuisHeure(int nHeure) {
    return ((int64_t(nHeure / 10000000) * 60 + nHeure / 100000 % 100) * 60 + nHeure / 1000 % 100) * 1000 +
           nHeure % 1000;
}

// "AAAAMMJJ", checked.
int nDateDepuisTexte(std::wstring_view s, int& nDate) {
    if (s.size() != 8 || !bQueDesChiffres(s))
        return eCONV_DATE_INVALIDE;
    const int n = std::stoi(std::wstring(s));
    if (!bDateValide(n))
        return eCONV_DATE_INVALIDE;
    nDate = n;
    return eCONV_OK;
}

// "HHMM", "HHMMSS" ... "HHMMSSCCC": missing digits on the right are zeros.
int nHeureDepuisTexte(std::wstring_view s, int& nHeure) {
    if (s.size() < 4 || s.size() > 9 || !bQueDesChiffres(s))
        return eCONV_DATE_INVALIDE;
    std::wstring sComplet(s);
    sComplet.resize(9, L'0');
    const int n = std::stoi(sComplet);
    if (!bHeureValide(n))
        return eCONV_DATE_INVALIDE;
    nHeure = n;
    return eCONV_OK;
}

} // namespace

// ---------------------------------------------------------------------------
// Conversions toward each target family

int nVersEntier(const CValeur& v, __int128& nRes) {
    switch (v.nGenre) {
    case CValeur::eBooleen:
    case CValeur::eEntier:
    case CValeur::eDuree: nRes = v.nEntier; return eCONV_OK;
    case CValeur::eMonetaire: nRes = v.nEntier / 10000; return eCONV_OK;
    case CValeur::eReel: return nEntierDepuisReel(v.dReel, nRes);
    case CValeur::eDecimal: return kvdec::nVersEntier(v.dDecimal, nRes);
    case CValeur::eTexte:
    case CValeur::eCaractere: {
        STNombreTexte nombre;
        if (!bAnalyseNombre(v.sTexte, nombre) || nombre.bExposant)
            return eCONV_PAS_UN_NOMBRE;
        return nEntierDepuisTexte(nombre, nRes);
    }
    default: return eCONV_IMPOSSIBLE;
    }
}

int nVersReel(const CValeur& v, double& dRes) {
    switch (v.nGenre) {
    case CValeur::eBooleen:
    case CValeur::eEntier:
    case CValeur::eDuree: dRes = static_cast<double>(v.nEntier); return eCONV_OK;
    case CValeur::eMonetaire: dRes = static_cast<double>(v.nEntier) / 10000.0; return eCONV_OK;
    case CValeur::eReel: dRes = v.dReel; return eCONV_OK;
    case CValeur::eDecimal:
        dRes = kvdec::dVersReel(v.dDecimal);
        return std::isfinite(dRes) ? eCONV_OK : eCONV_DEPASSEMENT;
    case CValeur::eTexte:
    case CValeur::eCaractere: {
        STNombreTexte nombre;
        if (!bAnalyseNombre(v.sTexte, nombre))
            return eCONV_PAS_UN_NOMBRE;
        return nReelDepuisTexte(nombre, dRes);
    }
    default: return eCONV_IMPOSSIBLE;
    }
}

int nVersMonetaire(const CValeur& v, int64_t& nRes) {
    switch (v.nGenre) {
    case CValeur::eBooleen:
    case CValeur::eEntier:
    case CValeur::eDuree: {
        if (v.nEntier > kMaxI64 / 10000 || v.nEntier < kMinI64 / 10000)
            return eCONV_DEPASSEMENT;
        nRes = int64_t(v.nEntier * 10000);
        return eCONV_OK;
    }
    case CValeur::eMonetaire:
        if (v.nEntier > kMaxI64 || v.nEntier < kMinI64)
            return eCONV_DEPASSEMENT;
        nRes = int64_t(v.nEntier);
        return eCONV_OK;
    case CValeur::eReel: {
        // Through the real's shortest text, so that 1.00005 rounds up as written.
        kvdec::STDecimal128 d;
        if (!std::isfinite(v.dReel) || !kvdec::bDepuisTexte(sTexteReel(v.dReel, v.bSimple), d))
            return eCONV_DEPASSEMENT;
        return kvdec::nVersMonetaire(d, nRes);
    }
    case CValeur::eDecimal: return kvdec::nVersMonetaire(v.dDecimal, nRes);
    case CValeur::eTexte:
    case CValeur::eCaractere: {
        STNombreTexte nombre;
        kvdec::STDecimal128 d;
        if (!bAnalyseNombre(v.sTexte, nombre) || nombre.bExposant)
            return eCONV_PAS_UN_NOMBRE;
        if (!kvdec::bDepuisTexte(nombre.sFormeC(), d))
            return eCONV_DEPASSEMENT;
        return kvdec::nVersMonetaire(d, nRes);
    }
    default: return eCONV_IMPOSSIBLE;
    }
}

int nVersDecimal(const CValeur& v, kvdec::STDecimal128& dRes) {
    switch (v.nGenre) {
    case CValeur::eBooleen:
    case CValeur::eEntier:
    case CValeur::eDuree: return bDecimalDepuisEntier(v.nEntier, dRes) ? eCONV_OK : eCONV_DEPASSEMENT;
    case CValeur::eMonetaire: dRes = kvdec::DepuisMonetaire(int64_t(v.nEntier)); return eCONV_OK;
    case CValeur::eReel:
        if (!std::isfinite(v.dReel) || !kvdec::bDepuisTexte(sTexteReel(v.dReel, v.bSimple), dRes))
            return eCONV_DEPASSEMENT;
        return eCONV_OK;
    case CValeur::eDecimal: dRes = v.dDecimal; return eCONV_OK;
    case CValeur::eTexte:
    case CValeur::eCaractere: {
        STNombreTexte nombre;
        if (!bAnalyseNombre(v.sTexte, nombre))
            return eCONV_PAS_UN_NOMBRE;
        return kvdec::bDepuisTexte(nombre.sFormeC(), dRes) ? eCONV_OK : eCONV_DEPASSEMENT;
    }
    default: return eCONV_IMPOSSIBLE;
    }
}

namespace {

// A character is a text of at most one character.
int nVersCaractere(const CValeur& v, std::wstring& sRes) {
    std::wstring s;
    if (int n = nVersTexte(v, s))
        return n;
    if (s.size() > 1)
        return eCONV_DEPASSEMENT;
    sRes = std::move(s);
    return eCONV_OK;
}

int nVersDate(const CValeur& v, std::wstring& sRes) {
    switch (v.nGenre) {
    case CValeur::eDate: sRes = v.sTexte; return eCONV_OK;
    case CValeur::eTexte:
    case CValeur::eCaractere: {
        const std::wstring_view s = sSansEspaces(v.sTexte);
        int nDate = 0;
        if (!s.empty())
            if (int n = nDateDepuisTexte(s, nDate))
                return n;
        sRes = s;
        return eCONV_OK;
    }
    case CValeur::eDateHeure:
        if (v.dh.nDate == 0) {
            sRes.clear();
            return eCONV_OK;
        }
        if (!bDateValide(v.dh.nDate))
            return eCONV_DATE_INVALIDE;
        sRes = sChiffres(v.dh.nDate, 8);
        return eCONV_OK;
    default: return eCONV_IMPOSSIBLE;
    }
}

int nVersHeure(const CValeur& v, std::wstring& sRes) {
    int nHeure = 0;
    switch (v.nGenre) {
    case CValeur::eHeure: sRes = v.sTexte; return eCONV_OK;
    case CValeur::eTexte:
    case CValeur::eCaractere: {
        const std::wstring_view s = sSansEspaces(v.sTexte);
        if (s.empty()) {
            sRes.clear();
            return eCONV_OK;
        }
        if (int n = nHeureDepuisTexte(s, nHeure))
            return n;
        break;
    }
    case CValeur::eDateHeure:
        if (!bHeureValide(v.dh.nHeure))
            return eCONV_DATE_INVALIDE;
        nHeure = v.dh.nHeure;
        break;
    case CValeur::eDuree: {
        if (v.nEntier < 0 || v.nEntier >= kMsParJour)
            return eCONV_DEPASSEMENT;
        const int64_t ms = int64_t(v.nEntier);
        nHeure = int(ms / 3600000 * 10000000 + ms / 60000 % 60 * 100000 + ms / 1000 % 60 * 1000 + ms % 1000);
        break;
    }
    default: return eCONV_IMPOSSIBLE;
    }
    sRes = sChiffres(nHeure, 9);
    return eCONV_OK;
}

int nVersDuree(const CValeur& v, int64_t& nRes) {
    switch (v.nGenre) {
    case CValeur::eHeure: {
        const std::wstring_view s = sSansEspaces(v.sTexte);
        int nHeure = 0;
        if (!s.empty())
            if (int n = nHeureDepuisTexte(s, nHeure))
                return n;
        nRes = nMsDepuisHeure(nHeure);
        return eCONV_OK;
    }
    case CValeur::eBooleen:
    case CValeur::eDate:
    case CValeur::eDateHeure: return eCONV_IMPOSSIBLE;
    default: {
        __int128 n = 0;
        if (int nErreur = nVersEntier(v, n))
            return nErreur;
        if (n < kMinI64 || n > kMaxI64)
            return eCONV_DEPASSEMENT;
        nRes = int64_t(n);
        return eCONV_OK;
    }
    }
}

wchar_t* pszCopieLarge(const std::wstring& s) {
    auto psz = new wchar_t[s.size() + 1];
    std::copy(s.begin(), s.end(), psz);
    psz[s.size()] = 0;
    return psz;
}

char* pszCopie8Bits(const std::string& s) {
    auto psz = new char[s.size() + 1];
    std::copy(s.begin(), s.end(), psz);
    psz[s.size()] = 0;
    return psz;
}

// Writes an inline date or time text (at most 9 characters and a zero).
void EcritTexteInline(const std::wstring& s, int nTypeCible, STValeurConv& r) {
    const size_t n = std::min<size_t>(s.size(), 9);
    if (nTypeCible == KS_DATEA || nTypeCible == KS_TIMEA) {
        const std::string s8 = sVersCP1252(std::wstring_view(s).substr(0, n));
        std::copy(s8.begin(), s8.end(), r.szDateA);
        r.szDateA[n] = 0;
    } else {
        std::copy(s.begin(), s.begin() + std::ptrdiff_t(n), r.szDateW);
        r.szDateW[n] = 0;
    }
}

template <class T>
void EcritScalaire(STValeurConv& r, T valeur) {
    static_assert(sizeof(T) <= sizeof(STValeurConv));
    std::memcpy(static_cast<void*>(&r), &valeur, sizeof valeur);
}

} // namespace

// ---------------------------------------------------------------------------

std::string STNombreTexte::sFormeC() const {
    std::string s = bNegatif ? "-" : "";
    s += sEntier.empty() ? "0" : sEntier;
    if (!sFraction.empty())
        s += "." + sFraction;
    if (bExposant)
        s += "E" + std::to_string(nExposant);
    return s;
}

bool bAnalyseNombre(std::wstring_view sTexte, STNombreTexte& nombre) {
    const std::wstring_view s = sSansEspaces(sTexte);
    STNombreTexte n;
    size_t i = 0;
    if (i < s.size() && (s[i] == L'+' || s[i] == L'-'))
        n.bNegatif = s[i++] == L'-';
    for (; i < s.size() && bChiffre(s[i]); ++i)
        n.sEntier += char(s[i]);
    if (i < s.size() && (s[i] == L'.' || s[i] == L',')) {
        for (++i; i < s.size() && bChiffre(s[i]); ++i)
            n.sFraction += char(s[i]);
    }
    if (n.sEntier.empty() && n.sFraction.empty())
        return false;
    if (i < s.size() && (s[i] == L'e' || s[i] == L'E')) {
        ++i;
        bool bExposantNegatif = false;
        if (i < s.size() && (s[i] == L'+' || s[i] == L'-'))
            bExposantNegatif = s[i++] == L'-';
        if (i >= s.size() || !bChiffre(s[i]))
            return false;
        int nExposant = 0;
        for (; i < s.size() && bChiffre(s[i]); ++i)
            nExposant = nExposant >= 100000000 ? 999999999 : std::min(nExposant * 10 + int(s[i] - L'0'), 999999999);
        n.bExposant = true;
        n.nExposant = bExposantNegatif ? -nExposant : nExposant;
    }
    if (i != s.size())
        return false;
    n.sEntier.erase(0, std::min(n.sEntier.find_first_not_of('0'), n.sEntier.size()));
    nombre = std::move(n);
    return true;
}

bool CValeur::bNumerique() const {
    switch (nGenre) {
    case eBooleen:
    case eEntier:
    case eReel:
    case eMonetaire:
    case eDecimal:
    case eDuree: return true;
    default: return false;
    }
}

bool bTypeConnu(int nType) {
    if (nType >= 0 && nType <= 19)
        return true;
    switch (nType) {
    case KS_DATEW: case KS_TIMEW: case KS_DATETIME: case KS_DUREE: case KS_BIN: case KS_BUFFER:
    case KS_MEMOIMG: case KS_CONVOYEUR: case KS_POLICE: case KS_CARW: case KS_TABANY: case KS_OBJET:
    case KS_PSTRW: case KS_DINO: case KS_DATEA: case KS_TIMEA: case KS_OBJET2: case KS_OBJET3:
    case KS_OBJET4: return true;
    default: return false;
    }
}

bool bBornesEntier(int nType, __int128& nMin, __int128& nMax) {
    switch (nType) {
    case KS_UI1: nMin = 0; nMax = UINT8_MAX; return true;
    case KS_UI2: nMin = 0; nMax = UINT16_MAX; return true;
    case KS_UI4: nMin = 0; nMax = UINT32_MAX; return true;
    case KS_UI8:
    case KS_UIX: nMin = 0; nMax = kMaxUI64; return true;
    case KS_I1: nMin = INT8_MIN; nMax = INT8_MAX; return true;
    case KS_I2: nMin = INT16_MIN; nMax = INT16_MAX; return true;
    case KS_I4:
    case KS_I4BIS: nMin = INT32_MIN; nMax = INT32_MAX; return true;
    case KS_I8: nMin = kMinI64; nMax = kMaxI64; return true;
    default: return false;
    }
}

bool bFormatEntier(int nType, int& nTaille, bool& bSigne) {
    static_assert(sizeof(uintptr_t) == 8, "type code 14 is read as 64 bits");
    switch (nType) {
    case KS_BOOL: nTaille = 4; bSigne = true; return true;
    case KS_UI1: nTaille = 1; bSigne = false; return true;
    case KS_UI2: nTaille = 2; bSigne = false; return true;
    case KS_UI4: nTaille = 4; bSigne = false; return true;
    case KS_UI8:
    case KS_UIX: nTaille = 8; bSigne = false; return true;
    case KS_I1: nTaille = 1; bSigne = true; return true;
    case KS_I2: nTaille = 2; bSigne = true; return true;
    case KS_I4:
    case KS_I4BIS: nTaille = 4; bSigne = true; return true;
    case KS_I8: nTaille = 8; bSigne = true; return true;
    default: return false;
    }
}

std::string sTexteReel(double dValeur, bool bSimple) {
    if (std::isnan(dValeur))
        return "NaN";
    if (std::isinf(dValeur))
        return dValeur < 0 ? "-Inf" : "Inf";
    if (dValeur == 0)
        return "0";
    // Plain digits for ordinary magnitudes, an exponent outside them.
    const double dAbs = std::fabs(dValeur);
    const auto format = (dAbs >= 1e-7 && dAbs < 1e21) ? std::chars_format::fixed : std::chars_format::scientific;
    char szTexte[128];
    const auto resultat = bSimple ? std::to_chars(szTexte, szTexte + sizeof szTexte, float(dValeur), format)
                                  : std::to_chars(szTexte, szTexte + sizeof szTexte, dValeur, format);
    return std::string(szTexte, resultat.ptr);
}

std::wstring sDepuisCP1252(std::string_view s) {
    const auto& aVersLarge = TableCP1252().aVersLarge;
    std::wstring sRes(s.size(), L'\0');
    std::transform(s.begin(), s.end(), sRes.begin(), [&](char c) { return aVersLarge[static_cast<unsigned char>(c)]; });
    return sRes;
}

std::string sVersCP1252(std::wstring_view s) {
    std::string sRes(s.size(), '\0');
    std::transform(s.begin(), s.end(), sRes.begin(), cVersCP1252);
    return sRes;
}

int nLitValeur(const void* p, int nType, CValeur& v) {
    if (!bTypeConnu(nType))
        return eCONV_TYPE_INCONNU;
    if (!p)
        return eCONV_IMPOSSIBLE;
    v = CValeur{};
    v.nType = nType;
    auto lit = [p](auto exemple) {
        decltype(exemple) valeur;
        std::memcpy(&valeur, p, sizeof valeur);
        return valeur;
    };
    switch (nType) {
    case KS_BOOL: v.nGenre = CValeur::eBooleen; v.nEntier = lit(int32_t()) != 0; break;
    case KS_UI1: v.nEntier = lit(uint8_t()); break;
    case KS_UI2: v.nEntier = lit(uint16_t()); break;
    case KS_UI4: v.nEntier = lit(uint32_t()); break;
    case KS_UI8: v.nEntier = lit(uint64_t()); break;
    case KS_UIX: v.nEntier = lit(uintptr_t()); break;
    case KS_I1: v.nEntier = lit(int8_t()); break;
    case KS_I2: v.nEntier = lit(int16_t()); break;
    case KS_I4:
    case KS_I4BIS: v.nEntier = lit(int32_t()); break;
    case KS_I8: v.nEntier = lit(int64_t()); break;
    case KS_CY: v.nGenre = CValeur::eMonetaire; v.nEntier = lit(int64_t()); break;
    case KS_DUREE: v.nGenre = CValeur::eDuree; v.nEntier = lit(int64_t()); break;
    case KS_R4: v.nGenre = CValeur::eReel; v.dReel = lit(float()); v.bSimple = true; break;
    case KS_R8: v.nGenre = CValeur::eReel; v.dReel = lit(double()); break;
    case KS_DECIMAL: {
        // A value without its object yet is zero.
        v.nGenre = CValeur::eDecimal;
        const IDecimal* pDecimal = lit(static_cast<const IDecimal*>(nullptr));
        if (!pDecimal)
            v.dDecimal = kvdec::DepuisEntier(0);
        else if (!CDecimalVM::bLitValeur(pDecimal, v.dDecimal))
            return eCONV_PAS_UN_NOMBRE;
        break;
    }
    case KS_DSTRW:
    case KS_PSTRW: {
        v.nGenre = CValeur::eTexte;
        if (const wchar_t* psz = lit(static_cast<const wchar_t*>(nullptr)))
            v.sTexte = psz;
        break;
    }
    case KS_PSTRA:
    case KS_DSTRA: {
        v.nGenre = CValeur::eTexte;
        if (const char* psz = lit(static_cast<const char*>(nullptr)))
            v.sTexte = sDepuisCP1252(psz);
        break;
    }
    case KS_CARA: {
        v.nGenre = CValeur::eCaractere;
        const char c = lit(char());
        if (c)
            v.sTexte = sDepuisCP1252(std::string_view(&c, 1));
        break;
    }
    case KS_CARW: {
        v.nGenre = CValeur::eCaractere;
        if (const wchar_t c = lit(wchar_t()))
            v.sTexte.assign(1, c);
        break;
    }
    case KS_DATEW: v.nGenre = CValeur::eDate; v.sTexte = sTexteBorne(static_cast<const wchar_t*>(p), 8); break;
    case KS_DATEA:
        v.nGenre = CValeur::eDate;
        v.sTexte = sDepuisCP1252(sTexteBorne(static_cast<const char*>(p), 8));
        break;
    case KS_TIMEW: v.nGenre = CValeur::eHeure; v.sTexte = sTexteBorne(static_cast<const wchar_t*>(p), 9); break;
    case KS_TIMEA:
        v.nGenre = CValeur::eHeure;
        v.sTexte = sDepuisCP1252(sTexteBorne(static_cast<const char*>(p), 9));
        break;
    case KS_DATETIME: v.nGenre = CValeur::eDateHeure; v.dh = lit(STDateHeure()); break;
    default: return eCONV_IMPOSSIBLE;  // a known type without a convertible value
    }
    return eCONV_OK;
}

int nVersTexte(const CValeur& v, std::wstring& sRes) {
    switch (v.nGenre) {
    case CValeur::eBooleen: sRes = v.nEntier ? L"1" : L"0"; return eCONV_OK;
    case CValeur::eEntier:
    case CValeur::eDuree: sRes = sAscii(sTexteEntier(v.nEntier)); return eCONV_OK;
    case CValeur::eReel: sRes = sAscii(sTexteReel(v.dReel, v.bSimple)); return eCONV_OK;
    case CValeur::eMonetaire: sRes = sAscii(sTexteMonetaire(int64_t(v.nEntier))); return eCONV_OK;
    case CValeur::eDecimal: sRes = sAscii(kvdec::sVersTexte(v.dDecimal)); return eCONV_OK;
    case CValeur::eTexte:
    case CValeur::eCaractere:
    case CValeur::eDate:
    case CValeur::eHeure: sRes = v.sTexte; return eCONV_OK;
    case CValeur::eDateHeure:
        if (v.dh.nDate == 0 && v.dh.nHeure == 0)
            sRes.clear();
        else
            sRes = sChiffres(v.dh.nDate, 8) + sChiffres(v.dh.nHeure, 9);
        return eCONV_OK;
    }
    return eCONV_IMPOSSIBLE;
}

int nVersBooleen(const CValeur& v, bool& bRes) {
    switch (v.nGenre) {
    case CValeur::eBooleen:
    case CValeur::eEntier:
    case CValeur::eMonetaire:
    case CValeur::eDuree: bRes = v.nEntier != 0; return eCONV_OK;
    case CValeur::eReel: bRes = v.dReel != 0; return eCONV_OK;
    case CValeur::eDecimal: bRes = !kvdec::bEstZero(v.dDecimal); return eCONV_OK;
    case CValeur::eTexte:
    case CValeur::eCaractere: {
        const std::wstring_view s = sSansEspaces(v.sTexte);
        if (bEgalSansCasse(s, L"true")) {
            bRes = true;
            return eCONV_OK;
        }
        if (bEgalSansCasse(s, L"false")) {
            bRes = false;
            return eCONV_OK;
        }
        STNombreTexte nombre;
        if (!bAnalyseNombre(s, nombre))
            return eCONV_PAS_UN_NOMBRE;
        auto bNonNul = [](const std::string& s) { return s.find_first_not_of('0') != std::string::npos; };
        bRes = bNonNul(nombre.sEntier) || bNonNul(nombre.sFraction);
        return eCONV_OK;
    }
    default: return eCONV_IMPOSSIBLE;
    }
}

int nVersDateHeure(const CValeur& v, STDateHeure& dhRes) {
    STDateHeure dh{};
    switch (v.nGenre) {
    case CValeur::eDateHeure: dh = v.dh; break;
    case CValeur::eDate:
    case CValeur::eTexte:
    case CValeur::eCaractere: {
        // A date alone, or a date followed by a time of 4 to 9 digits.
        const std::wstring_view s = sSansEspaces(v.sTexte);
        if (s.empty())
            break;
        if (s.size() < 8)
            return eCONV_DATE_INVALIDE;
        if (int n = nDateDepuisTexte(s.substr(0, 8), dh.nDate))
            return n;
        if (s.size() > 8)
            if (v.nGenre == CValeur::eDate || nHeureDepuisTexte(s.substr(8), dh.nHeure) != eCONV_OK)
                return eCONV_DATE_INVALIDE;
        break;
    }
    default: return eCONV_IMPOSSIBLE;
    }
    dhRes = dh;
    return eCONV_OK;
}

int nNombreDepuisTexte(const std::wstring& sTexte, CValeur& v) {
    STNombreTexte nombre;
    if (!bAnalyseNombre(sTexte, nombre))
        return eCONV_PAS_UN_NOMBRE;
    CValeur res;
    __int128 n = 0;
    if (nombre.sFraction.empty() && !nombre.bExposant && nEntierDepuisTexte(nombre, n) == eCONV_OK &&
        n >= kMinI64 && n <= kMaxUI64) {
        res.nGenre = CValeur::eEntier;
        res.nType = n > kMaxI64 ? KS_UI8 : KS_I8;
        res.nEntier = n;
    } else {
        res.nGenre = CValeur::eReel;
        res.nType = KS_R8;
        if (int nErreur = nReelDepuisTexte(nombre, res.dReel))
            return nErreur;
    }
    v = std::move(res);
    return eCONV_OK;
}

int nEcritValeur(const CValeur& v, int nTypeCible, STValeurConv& resultat) {
    if (!bTypeConnu(nTypeCible))
        return eCONV_TYPE_INCONNU;
    STValeurConv r;  // zeroed; copied to the caller's scratch only on success
    int nErreur = eCONV_OK;
    switch (nTypeCible) {
    case KS_BOOL: {
        bool b = false;
        nErreur = nVersBooleen(v, b);
        r.i4 = b ? 1 : 0;
        break;
    }
    case KS_UI1: case KS_UI2: case KS_UI4: case KS_UI8: case KS_UIX:
    case KS_I1: case KS_I2: case KS_I4: case KS_I4BIS: case KS_I8: {
        __int128 n = 0, nMin = 0, nMax = 0;
        int nTaille = 0;
        bool bSigne = false;
        bBornesEntier(nTypeCible, nMin, nMax);
        bFormatEntier(nTypeCible, nTaille, bSigne);
        nErreur = nVersEntier(v, n);
        if (nErreur == eCONV_OK && (n < nMin || n > nMax))
            nErreur = eCONV_DEPASSEMENT;
        if (nErreur == eCONV_OK) {
            // Two's complement truncation of an in-range value keeps it exact.
            switch (nTaille) {
            case 1: EcritScalaire(r, uint8_t(n)); break;
            case 2: EcritScalaire(r, uint16_t(n)); break;
            case 4: EcritScalaire(r, uint32_t(n)); break;
            default: EcritScalaire(r, uint64_t(n)); break;
            }
        }
        break;
    }
    case KS_CY: nErreur = nVersMonetaire(v, r.i8); break;
    case KS_R4:
    case KS_R8: {
        double d = 0;
        nErreur = nVersReel(v, d);
        if (nErreur == eCONV_OK && nTypeCible == KS_R4) {
            if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max())
                nErreur = eCONV_DEPASSEMENT;
            else
                r.r4 = float(d);
        } else {
            r.r8 = d;
        }
        break;
    }
    case KS_DECIMAL: {
        kvdec::STDecimal128 d;
        nErreur = nVersDecimal(v, d);
        if (nErreur == eCONV_OK)
            r.pDecimal = new CDecimalVM(d);
        break;
    }
    case KS_DSTRW:
    case KS_PSTRW: {
        std::wstring s;
        nErreur = nVersTexte(v, s);
        if (nErreur == eCONV_OK)
            r.pszW = pszCopieLarge(s);
        break;
    }
    case KS_PSTRA:
    case KS_DSTRA: {
        std::wstring s;
        nErreur = nVersTexte(v, s);
        if (nErreur == eCONV_OK)
            r.pszA = pszCopie8Bits(sVersCP1252(s));
        break;
    }
    case KS_CARA:
    case KS_CARW: {
        std::wstring s;
        nErreur = nVersCaractere(v, s);
        if (nErreur == eCONV_OK && !s.empty()) {
            if (nTypeCible == KS_CARA)
                EcritScalaire(r, cVersCP1252(s[0]));
            else
                EcritScalaire(r, s[0]);
        }
        break;
    }
    case KS_DATEW:
    case KS_DATEA: {
        std::wstring s;
        nErreur = nVersDate(v, s);
        if (nErreur == eCONV_OK)
            EcritTexteInline(s, nTypeCible, r);
        break;
    }
    case KS_TIMEW:
    case KS_TIMEA: {
        std::wstring s;
        nErreur = nVersHeure(v, s);
        if (nErreur == eCONV_OK)
            EcritTexteInline(s, nTypeCible, r);
        break;
    }
    case KS_DATETIME: nErreur = nVersDateHeure(v, r.dh); break;
    case KS_DUREE: nErreur = nVersDuree(v, r.i8); break;
    default: nErreur = eCONV_IMPOSSIBLE; break;
    }
    if (nErreur == eCONV_OK)
        resultat = r;
    return nErreur;
}

} // namespace kvconv

// ---------------------------------------------------------------------------

KVVM_EXPORT int nConversionDepassementExt(const void* pSource, int nTypeSource, STValeurConv* pScratch,
                                             int nTypeCible, unsigned /*nOptions*/, unsigned /*nFlags*/) {
    try {
        if (!kvconv::bTypeConnu(nTypeSource) || !kvconv::bTypeConnu(nTypeCible))
            return eCONV_TYPE_INCONNU;
        if (!pScratch)
            return eCONV_IMPOSSIBLE;
        kvconv::CValeur valeur;
        if (int n = kvconv::nLitValeur(pSource, nTypeSource, valeur))
            return n;
        return kvconv::nEcritValeur(valeur, nTypeCible, *pScratch);
    } catch (...) {
        return eCONV_IMPOSSIBLE;  // out of memory: nothing may cross the C boundary
    }
}

KVVM_EXPORT void FinConversion(STValeurConv* pScratch, int nType) {
    if (!pScratch)
        return;
    switch (nType) {
    case KS_DSTRW:
    case KS_PSTRW:
        delete[] pScratch->pszW;
        pScratch->pszW = nullptr;
        break;
    case KS_PSTRA:
    case KS_DSTRA:
        delete[] pScratch->pszA;
        pScratch->pszA = nullptr;
        break;
    case KS_DECIMAL:
        if (pScratch->pDecimal)
            pScratch->pDecimal->Release();
        pScratch->pDecimal = nullptr;
        break;
    default: break;  // scalars and inline texts own nothing
    }
}
