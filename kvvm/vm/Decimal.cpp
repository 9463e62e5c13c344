// Decimal numbers on the decimal arithmetic library (libbid, decimal128 in its
// binary-integer encoding). The archive we link (libbidgcc000) passes values
// by value, the rounding mode as an argument and the status flags through a
// pointer: the default configuration of bid_conf.h.
#include "Decimal.h"

#include <bid_conf.h>
#include <bid_functions.h>

#include <charconv>
#include <cmath>
#include <cstring>

#include "Conversion.h"

static_assert(sizeof(kvdec::STDecimal128) == sizeof(BID_UINT128));
static_assert(alignof(kvdec::STDecimal128) == alignof(BID_UINT128));

namespace kvdec {
namespace {

constexpr _IDEC_round kArrondi = BID_ROUNDING_TO_NEAREST;

// Plain texts longer than this keep an exponent.
constexpr int kChiffresSansExposant = 40;

BID_UINT128 Bid(const STDecimal128& d) {
    BID_UINT128 x;
    std::memcpy(&x, &d, sizeof x);
    return x;
}

STDecimal128 Dec(const BID_UINT128& x) {
    STDecimal128 d;
    std::memcpy(&d, &x, sizeof d);
    return d;
}

void SupprimeZerosFinaux(std::string& s) {
    const auto nPoint = s.find('.');
    if (nPoint == std::string::npos)
        return;
    auto nFin = s.find_last_not_of('0');
    if (nFin == nPoint)
        --nFin;
    s.erase(nFin + 1);
}

} // namespace

bool bDepuisTexte(std::string_view sTexte, STDecimal128& dRes) {
    std::string sCopie(sTexte);
    _IDEC_flags nEtat = 0;
    const BID_UINT128 x = bid128_from_string(sCopie.data(), kArrondi, &nEtat);
    if (!bid128_isFinite(x))
        return false;
    dRes = Dec(x);
    return true;
}

std::string sVersTexte(const STDecimal128& d) {
    // The library writes "[+-]coefficientE[+-]exponent", or Inf / NaN.
    char szBrut[64];
    _IDEC_flags nEtat = 0;
    bid128_to_string(szBrut, Bid(d), &nEtat);
    const bool bNegatif = szBrut[0] == '-';
    const char* pszCoef = szBrut + ((szBrut[0] == '-' || szBrut[0] == '+') ? 1 : 0);
    const char* pszE = std::strchr(pszCoef, 'E');
    if (!pszE || !(*pszCoef >= '0' && *pszCoef <= '9')) {
        if (std::strstr(pszCoef, "Inf"))
            return bNegatif ? "-Inf" : "Inf";
        return "NaN";
    }
    std::string sCoef(pszCoef, pszE);
    const int nExposant = std::atoi(pszE + 1);
    const auto nPremier = sCoef.find_first_not_of('0');
    if (nPremier == std::string::npos)
        return "0";  // zero, whatever its sign and exponent
    sCoef.erase(0, nPremier);
    const int nChiffres = int(sCoef.size());

    std::string s;
    if (nExposant >= 0) {
        if (nChiffres + nExposant <= kChiffresSansExposant)
            s = sCoef + std::string(size_t(nExposant), '0');
    } else {
        const int nPoint = nChiffres + nExposant;  // digits before the point
        if (nPoint > 0)
            s = sCoef.substr(0, size_t(nPoint)) + "." + sCoef.substr(size_t(nPoint));
        else if (-nPoint <= kChiffresSansExposant)
            s = "0." + std::string(size_t(-nPoint), '0') + sCoef;
        SupprimeZerosFinaux(s);
    }
    if (s.empty()) {
        // Very large or very small: one digit before the point and an exponent.
        s = sCoef.substr(0, 1);
        if (nChiffres > 1)
            s += "." + sCoef.substr(1);
        SupprimeZerosFinaux(s);
        const int nExpAjuste = nExposant + nChiffres - 1;
        s += (nExpAjuste < 0 ? "E-" : "E+") + std::to_string(std::abs(nExpAjuste));
    }
    return bNegatif ? "-" + s : s;
}

STDecimal128 DepuisEntier(int64_t n) {
    return Dec(bid128_from_int64(n));
}

STDecimal128 DepuisNaturel(uint64_t n) {
    return Dec(bid128_from_uint64(n));
}

STDecimal128 DepuisMonetaire(int64_t nDixMilliemes) {
    _IDEC_flags nEtat = 0;
    return Dec(bid128_scalbn(bid128_from_int64(nDixMilliemes), -4, kArrondi, &nEtat));
}

bool bDepuisReel(double d, STDecimal128& dRes) {
    if (!std::isfinite(d))
        return false;
    return bDepuisTexte(kvconv::sTexteReel(d, false), dRes);
}

int nVersEntier(const STDecimal128& d, __int128& nRes) {
    const BID_UINT128 x = Bid(d);
    _IDEC_flags nEtat = 0;
    const BID_SINT64 nSigne = bid128_to_int64_int(x, &nEtat);
    if (!(nEtat & BID_INVALID_EXCEPTION)) {
        nRes = nSigne;
        return eCONV_OK;
    }
    nEtat = 0;
    const BID_UINT64 nNaturel = bid128_to_uint64_int(x, &nEtat);
    if (!(nEtat & BID_INVALID_EXCEPTION)) {
        nRes = nNaturel;
        return eCONV_OK;
    }
    return eCONV_DEPASSEMENT;
}

double dVersReel(const STDecimal128& d) {
    _IDEC_flags nEtat = 0;
    return bid128_to_binary64(Bid(d), kArrondi, &nEtat);
}

int nVersMonetaire(const STDecimal128& d, int64_t& nRes) {
    _IDEC_flags nEtat = 0;
    const BID_UINT128 xDix = bid128_scalbn(Bid(d), 4, kArrondi, &nEtat);
    nEtat = 0;
    const BID_SINT64 n = bid128_to_int64_rninta(xDix, &nEtat);
    if (nEtat & BID_INVALID_EXCEPTION)
        return eCONV_DEPASSEMENT;
    nRes = n;
    return eCONV_OK;
}

bool bEstZero(const STDecimal128& d) {
    return bid128_isZero(Bid(d));
}

bool bEstFini(const STDecimal128& d) {
    return bid128_isFinite(Bid(d));
}

STDecimal128 Oppose(const STDecimal128& d) {
    return Dec(bid128_negate(Bid(d)));
}

int nCompare(const STDecimal128& a, const STDecimal128& b) {
    _IDEC_flags nEtat = 0;
    if (bid128_quiet_less(Bid(a), Bid(b), &nEtat))
        return -1;
    return bid128_quiet_equal(Bid(a), Bid(b), &nEtat) ? 0 : 1;
}

int nOperation(char cOperateur, const STDecimal128& a, const STDecimal128& b, STDecimal128& dRes) {
    const BID_UINT128 x = Bid(a), y = Bid(b);
    _IDEC_flags nEtat = 0;
    BID_UINT128 r;
    switch (cOperateur) {
    case '+': r = bid128_add(x, y, kArrondi, &nEtat); break;
    case '-': r = bid128_sub(x, y, kArrondi, &nEtat); break;
    case '*': r = bid128_mul(x, y, kArrondi, &nEtat); break;
    case '/':
        if (bid128_isZero(y))
            return eCONV_DIVISION_ZERO;
        r = bid128_div(x, y, kArrondi, &nEtat);
        break;
    case '%':
        if (bid128_isZero(y))
            return eCONV_DIVISION_ZERO;
        r = bid128_fmod(x, y, &nEtat);
        break;
    default: return eCONV_IMPOSSIBLE;
    }
    if (!bid128_isFinite(r))
        return eCONV_DEPASSEMENT;
    dRes = Dec(r);
    return eCONV_OK;
}

} // namespace kvdec

// ---------------------------------------------------------------------------

unsigned CDecimalVM::AddRef() {
    return ++m_nRef;
}

unsigned CDecimalVM::Release() {
    const unsigned n = --m_nRef;
    if (n == 0)
        delete this;
    return n;
}

std::wstring CDecimalVM::sVersTexte() const {
    const std::string s = kvdec::sVersTexte(m_dValeur);
    return std::wstring(s.begin(), s.end());  // ASCII
}

IDecimal* CDecimalVM::pClone() const {
    return new CDecimalVM(m_dValeur);
}

bool CDecimalVM::bLitValeur(const IDecimal* pDecimal, kvdec::STDecimal128& dRes) {
    if (!pDecimal)
        return false;
    if (auto pNotre = dynamic_cast<const CDecimalVM*>(pDecimal)) {
        dRes = pNotre->m_dValeur;
        return true;
    }
    kvconv::STNombreTexte nombre;
    return kvconv::bAnalyseNombre(pDecimal->sVersTexte(), nombre) && kvdec::bDepuisTexte(nombre.sFormeC(), dRes);
}

// ---------------------------------------------------------------------------

namespace {
// What pGetTypeObjet hands out: an opaque, process-wide description of a
// native type, identified by its address.
struct STTypeObjetVM {
    const char* pszNom;
};
const STTypeObjetVM g_TypeDecimal{"Decimal"};
} // namespace

int CFabriqueGlobaleVM::nGetVersion() {
    return 2;
}

IDecimal* CFabriqueGlobaleVM::pCreeDecimal(const wchar_t* pszTexte) {
    kvdec::STDecimal128 d = kvdec::DepuisEntier(0);
    if (pszTexte) {
        kvconv::STNombreTexte nombre;
        if (!kvconv::bAnalyseNombre(pszTexte, nombre) || !kvdec::bDepuisTexte(nombre.sFormeC(), d))
            return nullptr;
    }
    return new CDecimalVM(d);
}

IDecimal* CFabriqueGlobaleVM::pCreeDecimalDepuisReel(double dValeur) {
    kvdec::STDecimal128 d;
    if (!kvdec::bDepuisReel(dValeur, d))
        return nullptr;
    return new CDecimalVM(d);
}

void* CFabriqueGlobaleVM::pGetTypeObjet(const char* pszNom) {
    if (pszNom && std::strcmp(pszNom, g_TypeDecimal.pszNom) == 0)
        return const_cast<STTypeObjetVM*>(&g_TypeDecimal);
    return nullptr;
}

IFabriqueGlobale* pGetFabriqueGlobaleVM() {
    static CFabriqueGlobaleVM s_Fabrique;
    return &s_Fabrique;
}
