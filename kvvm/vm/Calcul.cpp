// Calculation routines on typed values (rules in Calcul.h). Operands are read
// into kvconv::CValeur and results written with kvconv::nEcritValeur, so the
// reading, range checks and allocations are those of the conversions.
#include "Calcul.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

using kvconv::CValeur;

namespace {

constexpr unsigned kSouple = eCMP_IGNORE_CASSE;
constexpr unsigned kTresSouple =
    eCMP_IGNORE_CASSE | eCMP_IGNORE_ACCENTS | eCMP_IGNORE_ESPACES | eCMP_IGNORE_PONCTUATION;
constexpr __int128 kMaxI64 = INT64_MAX;
constexpr __int128 kMinI64 = INT64_MIN;

// ---------------------------------------------------------------------------
// What compares with what

enum EDomaine { eDomInconnu, eDomNombre, eDomTexte, eDomDate, eDomHeure, eDomDateHeure, eDomAutre };

EDomaine nDomaine(int nType) {
    if (!kvconv::bTypeConnu(nType))
        return eDomInconnu;
    if ((nType >= KS_BOOL && nType <= KS_I4BIS) || nType == KS_DUREE)
        return eDomNombre;
    switch (nType) {
    case KS_DSTRW: case KS_CARA: case KS_PSTRA: case KS_DSTRA: case KS_CARW: case KS_PSTRW: return eDomTexte;
    case KS_DATEW: case KS_DATEA: return eDomDate;
    case KS_TIMEW: case KS_TIMEA: return eDomHeure;
    case KS_DATETIME: return eDomDateHeure;
    default: return eDomAutre;
    }
}

bool bComparables(EDomaine a, EDomaine b) {
    if (a == eDomInconnu || b == eDomInconnu || a == eDomAutre || b == eDomAutre)
        return false;
    if (a == b || a == eDomTexte || b == eDomTexte)
        return true;
    auto bCalendrier = [](EDomaine d) { return d == eDomDate || d == eDomDateHeure; };
    return bCalendrier(a) && bCalendrier(b);
}

bool bNaN(const CValeur& v) {
    return v.nGenre == CValeur::eReel && std::isnan(v.dReel);
}

int nSigne(__int128 n) {
    return n < 0 ? -1 : (n > 0 ? 1 : 0);
}

// A number, or a text that reads as one.
int nOperandeNumerique(const CValeur& v, CValeur& res) {
    if (v.bNumerique()) {
        res = v;
        return eCONV_OK;
    }
    if (v.bTextuel())
        return kvconv::nNombreDepuisTexte(v.sTexte, res);
    return eCONV_IMPOSSIBLE;
}

// True when both operands are numbers, or one is a number and the other a
// numeric text; na and nb then hold both as numbers.
bool bCommeNombres(const CValeur& a, const CValeur& b, CValeur& na, CValeur& nb) {
    if (!a.bNumerique() && !b.bNumerique())
        return false;
    return nOperandeNumerique(a, na) == eCONV_OK && nOperandeNumerique(b, nb) == eCONV_OK;
}

// ---------------------------------------------------------------------------
// Comparisons

// Case folding, accents (decomposed, marks dropped), spaces and punctuation.
std::wstring sPlie(const std::wstring& s, unsigned nOptions) {
    if (!(nOptions & kTresSouple))
        return s;
    const bool bAccents = nOptions & eCMP_IGNORE_ACCENTS;
    const QString sSource = QString::fromStdWString(s).normalized(bAccents ? QString::NormalizationForm_D
                                                                            : QString::NormalizationForm_C);
    QString sRes;
    sRes.reserve(sSource.size());
    for (const QChar c : sSource) {
        if ((bAccents && c.isMark()) || ((nOptions & eCMP_IGNORE_ESPACES) && c.isSpace()) ||
            ((nOptions & eCMP_IGNORE_PONCTUATION) && c.isPunct()))
            continue;
        sRes += c;
    }
    if (bAccents)
        sRes = sRes.normalized(QString::NormalizationForm_C);
    if (nOptions & eCMP_IGNORE_CASSE)
        sRes = sRes.toCaseFolded();
    return sRes.toStdWString();
}

// Rank of a real that is not finite, for a total order: NaN first.
int nRangNonFini(const CValeur& v) {
    if (v.nGenre != CValeur::eReel || std::isfinite(v.dReel))
        return 0;
    if (std::isnan(v.dReel))
        return -3;
    return v.dReel < 0 ? -2 : 2;
}

int nCompareNombres(const CValeur& a, const CValeur& b, int& nRes) {
    auto bEntier = [](const CValeur& v) {
        return v.nGenre == CValeur::eBooleen || v.nGenre == CValeur::eEntier || v.nGenre == CValeur::eDuree;
    };
    if ((bEntier(a) && bEntier(b)) || (a.nGenre == CValeur::eMonetaire && b.nGenre == CValeur::eMonetaire)) {
        nRes = nSigne(a.nEntier - b.nEntier);
        return eCONV_OK;
    }
    const int nRangA = nRangNonFini(a), nRangB = nRangNonFini(b);
    if (nRangA || nRangB) {
        nRes = nSigne(nRangA - nRangB);
        return eCONV_OK;
    }
    if (a.nGenre == CValeur::eReel && b.nGenre == CValeur::eReel && a.bSimple == b.bSimple) {
        nRes = a.dReel < b.dReel ? -1 : (a.dReel > b.dReel ? 1 : 0);
        return eCONV_OK;
    }
    // Mixed kinds: exactly, as decimals (a real by its shortest text).
    kvdec::STDecimal128 da, db;
    if (int n = kvconv::nVersDecimal(a, da))
        return n;
    if (int n = kvconv::nVersDecimal(b, db))
        return n;
    nRes = kvdec::nCompare(da, db);
    return eCONV_OK;
}

int nCompare(const CValeur& a, const CValeur& b, unsigned nOptions, int& nRes) {
    const EDomaine nDomA = nDomaine(a.nType), nDomB = nDomaine(b.nType);
    if (!bComparables(nDomA, nDomB))
        return eCONV_IMPOSSIBLE;
    CValeur na, nb;
    if (bCommeNombres(a, b, na, nb))
        return nCompareNombres(na, nb, nRes);
    // A date-time with a date-time or a date: both as date-times.
    auto bCalendrier = [](EDomaine d) { return d == eDomDate || d == eDomDateHeure; };
    if (bCalendrier(nDomA) && bCalendrier(nDomB) && (nDomA == eDomDateHeure || nDomB == eDomDateHeure)) {
        STDateHeure x{}, y{};
        if (int n = kvconv::nVersDateHeure(a, x))
            return n;
        if (int n = kvconv::nVersDateHeure(b, y))
            return n;
        nRes = x.nDate != y.nDate ? (x.nDate < y.nDate ? -1 : 1) : nSigne(__int128(x.nHeure) - y.nHeure);
        return eCONV_OK;
    }
    // Texts, and dates or times with each other or with a text: by their texts.
    std::wstring sA, sB;
    if (int n = kvconv::nVersTexte(a, sA))
        return n;
    if (int n = kvconv::nVersTexte(b, sB))
        return n;
    const int c = sPlie(sA, nOptions).compare(sPlie(sB, nOptions));
    nRes = c < 0 ? -1 : (c > 0 ? 1 : 0);
    return eCONV_OK;
}

// Equality, greater, less: false when a NaN is involved.
template <class Predicat>
int nRelation(const CValeur& a, const CValeur& b, unsigned nOptions, int& nRes, Predicat bVrai) {
    int c = 0;
    if (int n = nCompare(a, b, nOptions, c))
        return n;
    nRes = (!bNaN(a) && !bNaN(b) && bVrai(c)) ? 1 : 0;
    return eCONV_OK;
}

int nPresqueEgal(const CValeur& a, const CValeur& b, unsigned nOptions, int& nRes) {
    CValeur na, nb;
    if (bCommeNombres(a, b, na, nb) && (na.nGenre == CValeur::eReel || nb.nGenre == CValeur::eReel)) {
        double x = 0, y = 0;
        if (int n = kvconv::nVersReel(na, x))
            return n;
        if (int n = kvconv::nVersReel(nb, y))
            return n;
        const double dEcart = std::fabs(x - y);
        nRes = (x == y || dEcart <= 1e-12 || dEcart <= 1e-9 * std::max(std::fabs(x), std::fabs(y))) ? 1 : 0;
        return eCONV_OK;
    }
    return nRelation(a, b, nOptions | kTresSouple, nRes, [](int c) { return c == 0; });
}

enum EPosition { eDebut, eDedans, eFin };

int nCherche(const CValeur& a, const CValeur& b, unsigned nOptions, EPosition nPosition, int& nRes) {
    std::wstring sA, sB;
    if (int n = kvconv::nVersTexte(a, sA))
        return n;
    if (int n = kvconv::nVersTexte(b, sB))
        return n;
    sA = sPlie(sA, nOptions);
    sB = sPlie(sB, nOptions);
    switch (nPosition) {
    case eDebut: nRes = sA.starts_with(sB); break;
    case eDedans: nRes = sA.find(sB) != std::wstring::npos; break;
    case eFin: nRes = sA.ends_with(sB); break;
    }
    return eCONV_OK;
}

template <class Fonction>
int nAppelComparaison(const void* pA, int nTypeA, const void* pB, int nTypeB, int* pnResultat, Fonction f) {
    try {
        if (!kvconv::bTypeConnu(nTypeA) || !kvconv::bTypeConnu(nTypeB))
            return eCONV_TYPE_INCONNU;
        if (!pnResultat)
            return eCONV_IMPOSSIBLE;
        CValeur a, b;
        if (int n = kvconv::nLitValeur(pA, nTypeA, a))
            return n;
        if (int n = kvconv::nLitValeur(pB, nTypeB, b))
            return n;
        int nRes = 0;
        if (int n = f(a, b, nRes))
            return n;
        *pnResultat = nRes;
        return eCONV_OK;
    } catch (...) {
        return eCONV_IMPOSSIBLE;  // out of memory: nothing may cross the C boundary
    }
}

// ---------------------------------------------------------------------------
// Arithmetic

bool bTexte8Bits(int nType) {
    return nType == KS_CARA || nType == KS_PSTRA || nType == KS_DSTRA;
}

int nTypeEntierCanonique(int nTaille, bool bSigne) {
    switch (nTaille) {
    case 1: return bSigne ? KS_I1 : KS_UI1;
    case 2: return bSigne ? KS_I2 : KS_UI2;
    case 4: return bSigne ? KS_I4 : KS_UI4;
    default: return bSigne ? KS_I8 : KS_UI8;
    }
}

// The wider type of two numbers.
int nTypeResultat(const CValeur& a, const CValeur& b) {
    auto bUn = [&](CValeur::EGenre g) { return a.nGenre == g || b.nGenre == g; };
    if (bUn(CValeur::eDecimal))
        return KS_DECIMAL;
    if (bUn(CValeur::eReel))
        return (a.nType == KS_R4 && b.nType == KS_R4) ? KS_R4 : KS_R8;
    if (bUn(CValeur::eMonetaire))
        return KS_CY;
    if (bUn(CValeur::eDuree))
        return KS_DUREE;
    // Integers; a boolean counts as a signed 4-byte integer.
    const int nTypeA = a.nType == KS_BOOL ? KS_I4 : a.nType, nTypeB = b.nType == KS_BOOL ? KS_I4 : b.nType;
    int nTailleA = 4, nTailleB = 4;
    bool bSigneA = true, bSigneB = true;
    kvconv::bFormatEntier(nTypeA, nTailleA, bSigneA);
    kvconv::bFormatEntier(nTypeB, nTailleB, bSigneB);
    const int nTaille = std::max(nTailleA, nTailleB);
    const bool bSigne = bSigneA || bSigneB;
    if (nTailleA == nTaille && bSigneA == bSigne)
        return nTypeA;
    if (nTailleB == nTaille && bSigneB == bSigne)
        return nTypeB;
    return nTypeEntierCanonique(nTaille, bSigne);
}

// Quotient rounded half away from zero.
__int128 nDivArrondi(__int128 n, __int128 d) {
    __int128 q = n / d;
    const __int128 r = n % d;
    if (2 * (r < 0 ? -r : r) >= (d < 0 ? -d : d))
        q += (n < 0) != (d < 0) ? -1 : 1;
    return q;
}

int nCalculeNombres(char cOperateur, const CValeur& a, const CValeur& b, STValeurConv& r, int& nType) {
    nType = nTypeResultat(a, b);
    const bool bDivision = cOperateur == '/' || cOperateur == '%';
    CValeur res;
    res.nType = nType;
    switch (nType) {
    case KS_DECIMAL: {
        kvdec::STDecimal128 x, y;
        if (int n = kvconv::nVersDecimal(a, x))
            return n;
        if (int n = kvconv::nVersDecimal(b, y))
            return n;
        res.nGenre = CValeur::eDecimal;
        if (int n = kvdec::nOperation(cOperateur, x, y, res.dDecimal))
            return n;
        break;
    }
    case KS_R4:
    case KS_R8: {
        double x = 0, y = 0, z = 0;
        if (int n = kvconv::nVersReel(a, x))
            return n;
        if (int n = kvconv::nVersReel(b, y))
            return n;
        if (bDivision && y == 0)
            return eCONV_DIVISION_ZERO;
        switch (cOperateur) {
        case '+': z = x + y; break;
        case '-': z = x - y; break;
        case '*': z = x * y; break;
        case '/': z = x / y; break;
        default: z = std::fmod(x, y); break;
        }
        if (!std::isfinite(z) && std::isfinite(x) && std::isfinite(y))
            return eCONV_DEPASSEMENT;
        res.nGenre = CValeur::eReel;
        res.dReel = z;
        res.bSimple = nType == KS_R4;
        break;
    }
    case KS_CY: {
        // Both in ten-thousandths; products and quotients rounded half away from zero.
        int64_t x = 0, y = 0;
        if (int n = kvconv::nVersMonetaire(a, x))
            return n;
        if (int n = kvconv::nVersMonetaire(b, y))
            return n;
        if (bDivision && y == 0)
            return eCONV_DIVISION_ZERO;
        __int128 z = 0;
        switch (cOperateur) {
        case '+': z = __int128(x) + y; break;
        case '-': z = __int128(x) - y; break;
        case '*': z = nDivArrondi(__int128(x) * y, 10000); break;
        case '/': z = nDivArrondi(__int128(x) * 10000, y); break;
        default: z = x % y; break;
        }
        if (z > kMaxI64 || z < kMinI64)
            return eCONV_DEPASSEMENT;
        res.nGenre = CValeur::eMonetaire;
        res.nEntier = z;
        break;
    }
    default: {
        // Integers and durations: exact in 128 bits, range-checked on writing.
        __int128 x = 0, y = 0, z = 0;
        if (int n = kvconv::nVersEntier(a, x))
            return n;
        if (int n = kvconv::nVersEntier(b, y))
            return n;
        if (bDivision && y == 0)
            return eCONV_DIVISION_ZERO;
        switch (cOperateur) {
        case '+': z = x + y; break;
        case '-': z = x - y; break;
        case '*':
            if (__builtin_mul_overflow(x, y, &z))
                return eCONV_DEPASSEMENT;
            break;
        case '/': z = x / y; break;
        default: z = x % y; break;
        }
        res.nGenre = CValeur::eEntier;
        res.nEntier = z;
        break;
    }
    }
    return kvconv::nEcritValeur(res, nType, r);
}

int nOperationBinaire(char cOperateur, const CValeur& a, const CValeur& b, STValeurConv& r, int& nType) {
    if (a.bTextuel() && cOperateur == '+') {
        CValeur res;
        res.nGenre = CValeur::eTexte;
        std::wstring sB;
        if (int n = kvconv::nVersTexte(b, sB))
            return n;
        res.sTexte = a.sTexte + sB;
        const bool bLargeB = b.nType == KS_DSTRW || b.nType == KS_PSTRW || b.nType == KS_CARW;
        nType = bTexte8Bits(a.nType) && !bLargeB ? KS_PSTRA : KS_PSTRW;
        return kvconv::nEcritValeur(res, nType, r);
    }
    CValeur na, nb;
    if (int n = nOperandeNumerique(a, na))
        return n;
    if (int n = nOperandeNumerique(b, nb))
        return n;
    return nCalculeNombres(cOperateur, na, nb, r, nType);
}

int nOppose(const CValeur& a, STValeurConv& r, int& nType) {
    CValeur v;
    if (int n = nOperandeNumerique(a, v))
        return n;
    nType = v.nType;
    switch (v.nGenre) {
    case CValeur::eDecimal: v.dDecimal = kvdec::Oppose(v.dDecimal); break;
    case CValeur::eReel: v.dReel = -v.dReel; break;
    case CValeur::eMonetaire:
    case CValeur::eDuree: v.nEntier = -v.nEntier; break;
    case CValeur::eBooleen:
        v.nGenre = CValeur::eEntier;
        v.nEntier = -v.nEntier;
        nType = KS_I4;
        break;
    default: {
        // An unsigned integer becomes the signed type of the next size.
        int nTaille = 8;
        bool bSigne = true;
        kvconv::bFormatEntier(v.nType, nTaille, bSigne);
        if (!bSigne)
            nType = nTypeEntierCanonique(std::min(nTaille * 2, 8), true);
        v.nEntier = -v.nEntier;
        break;
    }
    }
    return kvconv::nEcritValeur(v, nType, r);
}

template <class Fonction>
int nAppelOperation(const void* pA, int nTypeA, const void* pB, int nTypeB, bool bUnaire, STValeurConv* pResultat,
                    int* pnTypeResultat, Fonction f) {
    try {
        if (!kvconv::bTypeConnu(nTypeA) || (!bUnaire && !kvconv::bTypeConnu(nTypeB)))
            return eCONV_TYPE_INCONNU;
        if (!pResultat || !pnTypeResultat)
            return eCONV_IMPOSSIBLE;
        CValeur a, b;
        if (int n = kvconv::nLitValeur(pA, nTypeA, a))
            return n;
        if (!bUnaire)
            if (int n = kvconv::nLitValeur(pB, nTypeB, b))
                return n;
        STValeurConv r;
        int nType = 0;
        if (int n = f(a, b, r, nType))
            return n;
        *pResultat = r;
        *pnTypeResultat = nType;
        return eCONV_OK;
    } catch (...) {
        return eCONV_IMPOSSIBLE;
    }
}

int nLogique(const CValeur& a, const CValeur& b, bool bEt, STValeurConv& r, int& nType) {
    bool x = false, y = false;
    if (int n = kvconv::nVersBooleen(a, x))
        return n;
    if (int n = kvconv::nVersBooleen(b, y))
        return n;
    r.i4 = (bEt ? x && y : x || y) ? 1 : 0;
    nType = KS_BOOL;
    return eCONV_OK;
}

int nTailleScalaire(int nType) {
    int nTaille = 0;
    bool bSigne = false;
    if (kvconv::bFormatEntier(nType, nTaille, bSigne))
        return nTaille;
    switch (nType) {
    case KS_R4: return 4;
    case KS_DECIMAL: return sizeof(IDecimal*);
    default: return 8;  // currency, 8-byte real, duration
    }
}

// The first operand takes the result, in its own type.
int nEnPlace(char cOperateur, void* pA, int nTypeA, const void* pB, int nTypeB) {
    try {
        if (!kvconv::bTypeConnu(nTypeA) || !kvconv::bTypeConnu(nTypeB))
            return eCONV_TYPE_INCONNU;
        if (!pA || nDomaine(nTypeA) != eDomNombre)
            return eCONV_IMPOSSIBLE;
        CValeur a, b;
        if (int n = kvconv::nLitValeur(pA, nTypeA, a))
            return n;
        if (int n = kvconv::nLitValeur(pB, nTypeB, b))
            return n;
        STValeurConv r;
        int nType = 0;
        if (int n = nOperationBinaire(cOperateur, a, b, r, nType))
            return n;
        CValeur res;
        int nErreur = kvconv::nLitValeur(&r, nType, res);
        STValeurConv rA;
        if (nErreur == eCONV_OK)
            nErreur = kvconv::nEcritValeur(res, nTypeA, rA);
        FinConversion(&r, nType);
        if (nErreur != eCONV_OK)
            return nErreur;
        if (nTypeA == KS_DECIMAL) {
            IDecimal* pAncien = nullptr;
            std::memcpy(&pAncien, pA, sizeof pAncien);
            std::memcpy(pA, &rA.pDecimal, sizeof rA.pDecimal);
            if (pAncien)
                pAncien->Release();
        } else {
            std::memcpy(pA, &rA, size_t(nTailleScalaire(nTypeA)));
        }
        return eCONV_OK;
    } catch (...) {
        return eCONV_IMPOSSIBLE;
    }
}

} // namespace

// ---------------------------------------------------------------------------
// Exported routines

static_assert(std::is_same_v<decltype(&bCanCompareEx), PFN_bCanCompareEx>);
static_assert(std::is_same_v<decltype(&wAjouteEx), PFN_wOperationEx>);
static_assert(std::is_same_v<decltype(&nComparaisonEx), PFN_nComparaisonEx>);
static_assert(std::is_same_v<decltype(&nAdditionEx), PFN_nOperationEx>);

KVVM_EXPORT int bCanCompareEx(int nTypeA, int nTypeB) {
    return bComparables(nDomaine(nTypeA), nDomaine(nTypeB)) ? 1 : 0;
}

KVVM_EXPORT int wAjouteEx(void* pA, int nTypeA, const void* pB, int nTypeB) {
    return nEnPlace('+', pA, nTypeA, pB, nTypeB);
}

KVVM_EXPORT int wSoustraitEx(void* pA, int nTypeA, const void* pB, int nTypeB) {
    return nEnPlace('-', pA, nTypeA, pB, nTypeB);
}

KVVM_EXPORT int wMultiplieEx(void* pA, int nTypeA, const void* pB, int nTypeB) {
    return nEnPlace('*', pA, nTypeA, pB, nTypeB);
}

KVVM_EXPORT int wDiviseEx(void* pA, int nTypeA, const void* pB, int nTypeB) {
    return nEnPlace('/', pA, nTypeA, pB, nTypeB);
}

KVVM_EXPORT int wModuloEx(void* pA, int nTypeA, const void* pB, int nTypeB) {
    return nEnPlace('%', pA, nTypeA, pB, nTypeB);
}

// A comparison routine whose body works on the two values read (a, b) with
// the options (nOptions) and sets nRes.
#define KV_COMPARAISON(nom, corps)                                                                           \
    KVVM_EXPORT int nom(const void* pA, int nTypeA, const void* pB, int nTypeB, unsigned nOptions,           \
                        int* pnResultat) {                                                                   \
        auto fCorps = [nOptions](const CValeur& a, const CValeur& b, int& nRes) -> int { corps; };           \
        return nAppelComparaison(pA, nTypeA, pB, nTypeB, pnResultat, fCorps);                                \
    }

KV_COMPARAISON(nComparaisonEx, return nCompare(a, b, nOptions, nRes))
KV_COMPARAISON(nEgaliteEx, return nRelation(a, b, nOptions, nRes, [](int c) { return c == 0; }))
KV_COMPARAISON(nSuperieurEx, return nRelation(a, b, nOptions, nRes, [](int c) { return c > 0; }))
KV_COMPARAISON(nInferieurEx, return nRelation(a, b, nOptions, nRes, [](int c) { return c < 0; }))
KV_COMPARAISON(nPresqueEgalEx, return nPresqueEgal(a, b, nOptions, nRes))
KV_COMPARAISON(nSoupleEgalEx, return nRelation(a, b, nOptions | kSouple, nRes, [](int c) { return c == 0; }))
KV_COMPARAISON(nCommenceParEx, return nCherche(a, b, nOptions, eDebut, nRes))
KV_COMPARAISON(nCommenceParSoupleEx, return nCherche(a, b, nOptions | kSouple, eDebut, nRes))
KV_COMPARAISON(nCommenceParTresSoupleEx, return nCherche(a, b, nOptions | kTresSouple, eDebut, nRes))
KV_COMPARAISON(nContientEx, return nCherche(a, b, nOptions, eDedans, nRes))
KV_COMPARAISON(nContientSoupleEx, return nCherche(a, b, nOptions | kSouple, eDedans, nRes))
KV_COMPARAISON(nContientTresSoupleEx, return nCherche(a, b, nOptions | kTresSouple, eDedans, nRes))
KV_COMPARAISON(nTermineParEx, return nCherche(a, b, nOptions, eFin, nRes))
KV_COMPARAISON(nTermineParSoupleEx, return nCherche(a, b, nOptions | kSouple, eFin, nRes))
KV_COMPARAISON(nTermineParTresSoupleEx, return nCherche(a, b, nOptions | kTresSouple, eFin, nRes))
#undef KV_COMPARAISON

// An operation routine whose body works on the values read (a, b; b unused
// when unary) and fills r and nType.
#define KV_OPERATION(nom, bUnaire, corps)                                                                    \
    KVVM_EXPORT int nom(const void* pA, int nTypeA, const void* pB, int nTypeB, STValeurConv* pResultat,     \
                        int* pnTypeResultat) {                                                               \
        auto fCorps = [](const CValeur& a, const CValeur& b, STValeurConv& r, int& nType) -> int { corps; }; \
        return nAppelOperation(pA, nTypeA, pB, nTypeB, bUnaire, pResultat, pnTypeResultat, fCorps);          \
    }

KV_OPERATION(nETLogiqueEx, false, return nLogique(a, b, true, r, nType))
KV_OPERATION(nOULogiqueEx, false, return nLogique(a, b, false, r, nType))
KV_OPERATION(nNONLogiqueEx, true, bool x = false; if (int n = kvconv::nVersBooleen(a, x)) return n;
             r.i4 = x ? 0 : 1; nType = KS_BOOL; return eCONV_OK)
KV_OPERATION(nNegationEx, true, return nOppose(a, r, nType))
KV_OPERATION(nAdditionEx, false, return nOperationBinaire('+', a, b, r, nType))
KV_OPERATION(nSoustractionEx, false, return nOperationBinaire('-', a, b, r, nType))
KV_OPERATION(nMultiplicationEx, false, return nOperationBinaire('*', a, b, r, nType))
KV_OPERATION(nDivisionEx, false, return nOperationBinaire('/', a, b, r, nType))
KV_OPERATION(nModuloEx, false, return nOperationBinaire('%', a, b, r, nType))
#undef KV_OPERATION
