// The host's conversion and calculation routines, reached as the module
// reaches them: by name in kv190vm.so.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "Binaires.h"
#include "kv/conv.h"
#include "kv/module.h"
#include "kv/vm.h"

namespace {

const char* const kRoutinesCalcul[] = {
    "bCanCompareEx", "wAjouteEx", "wSoustraitEx", "wMultiplieEx", "wDiviseEx", "wModuloEx",
    "nComparaisonEx", "nEgaliteEx", "nSuperieurEx", "nInferieurEx", "nPresqueEgalEx", "nSoupleEgalEx",
    "nCommenceParEx", "nCommenceParSoupleEx", "nCommenceParTresSoupleEx", "nContientEx", "nContientSoupleEx",
    "nContientTresSoupleEx", "nTermineParEx", "nTermineParSoupleEx", "nTermineParTresSoupleEx", "nETLogiqueEx",
    "nOULogiqueEx", "nNONLogiqueEx", "nNegationEx", "nAdditionEx", "nSoustractionEx", "nMultiplicationEx",
    "nDivisionEx", "nModuloEx",
};

struct Hote {
    kvtest::Bibliotheque lib{kvtest::CheminBinaire("kv190vm.so")};
    PFN_nConversionDepassementExt pConvertit = lib.Symbole<PFN_nConversionDepassementExt>("nConversionDepassementExt");
    PFN_FinConversion pFin = lib.Symbole<PFN_FinConversion>("FinConversion");

    template <class F>
    F Routine(const char* pszNom) const { return lib.Symbole<F>(pszNom); }
};

Hote& H() {
    static Hote s_Hote;
    return s_Hote;
}

// Latin-1 narrowing: the test texts use no character of 0x80..0x9F, where
// code page 1252 differs.
std::string sEtroit(std::wstring_view s) {
    return std::string(s.begin(), s.end());
}

std::wstring sLarge(std::string_view s) {
    std::wstring r;
    for (unsigned char c : s)
        r += wchar_t(c);
    return r;
}

template <class T>
std::wstring sNombre(T n) {
    return std::to_wstring(n);
}

template <class R>
std::wstring sReel(R r) {
    char sz[64];
    auto res = std::to_chars(sz, sz + sizeof sz, r);
    return sLarge(std::string_view(sz, size_t(res.ptr - sz)));
}

// A value of any type built from a literal, held in the storage the
// routines expect (see kv/conv.h). Decimals are made by the host itself.
class Valeur {
public:
    Valeur(int nType, std::wstring_view sLitteral) : m_nType(nType) {
        const std::wstring s(sLitteral);
        auto ecrit = [this](auto v) { std::memcpy(static_cast<void*>(&m_stockage), &v, sizeof v); };
        switch (nType) {
        case KS_BOOL: case KS_I4: case KS_I4BIS: ecrit(int32_t(std::stol(s))); break;
        case KS_I1: ecrit(int8_t(std::stoi(s))); break;
        case KS_I2: ecrit(int16_t(std::stoi(s))); break;
        case KS_I8: case KS_CY: case KS_DUREE: ecrit(int64_t(std::stoll(s))); break;
        case KS_UI1: ecrit(uint8_t(std::stoul(s))); break;
        case KS_UI2: ecrit(uint16_t(std::stoul(s))); break;
        case KS_UI4: ecrit(uint32_t(std::stoul(s))); break;
        case KS_UI8: case KS_UIX: ecrit(uint64_t(std::stoull(s))); break;
        case KS_R4: ecrit(std::stof(s)); break;
        case KS_R8: ecrit(std::stod(s)); break;
        case KS_DSTRW: case KS_PSTRW: m_sW = s; ecrit(m_sW.c_str()); break;
        case KS_PSTRA: case KS_DSTRA: m_sA = sEtroit(s); ecrit(m_sA.c_str()); break;
        case KS_CARA: ecrit(s.empty() ? char(0) : char(s[0])); break;
        case KS_CARW: ecrit(s.empty() ? wchar_t(0) : s[0]); break;
        case KS_DATEW: case KS_TIMEW: s.copy(m_stockage.szDateW, 9); break;
        case KS_DATEA: case KS_TIMEA: sEtroit(s).copy(m_stockage.szDateA, 9); break;
        case KS_DATETIME: std::swscanf(s.c_str(), L"%d %d", &m_stockage.dh.nDate, &m_stockage.dh.nHeure); break;
        case KS_DECIMAL: {
            const wchar_t* psz = s.c_str();
            if (H().pConvertit(&psz, KS_PSTRW, &m_stockage, KS_DECIMAL, 0, 0) != 0)
                throw std::runtime_error("not a decimal literal");
            break;
        }
        default: break;  // types without a value: zero storage
        }
    }
    ~Valeur() {
        if (m_nType == KS_DECIMAL)
            H().pFin(&m_stockage, KS_DECIMAL);
    }
    Valeur(const Valeur&) = delete;
    Valeur& operator=(const Valeur&) = delete;

    void* p() { return &m_stockage; }
    int nType() const { return m_nType; }
    STValeurConv& stockage() { return m_stockage; }

private:
    int m_nType;
    STValeurConv m_stockage;
    std::wstring m_sW;
    std::string m_sA;
};

// A value in a scratch area as text, in the form the tables use.
std::wstring sRendu(const STValeurConv& r, int nType) {
    switch (nType) {
    case KS_BOOL: case KS_I4: case KS_I4BIS: return sNombre(r.i4);
    case KS_I1: return sNombre(int(static_cast<int8_t>(r.szDateA[0])));
    case KS_I2: { int16_t n; std::memcpy(&n, &r, 2); return sNombre(n); }
    case KS_UI1: return sNombre(unsigned(static_cast<uint8_t>(r.szDateA[0])));
    case KS_UI2: { uint16_t n; std::memcpy(&n, &r, 2); return sNombre(n); }
    case KS_UI4: return sNombre(r.ui4);
    case KS_I8: case KS_CY: case KS_DUREE: return sNombre(r.i8);
    case KS_UI8: case KS_UIX: return sNombre(r.ui8);
    case KS_R4: return sReel(r.r4);
    case KS_R8: return sReel(r.r8);
    case KS_DECIMAL: return r.pDecimal ? r.pDecimal->sVersTexte() : L"(null)";
    case KS_DSTRW: case KS_PSTRW: return r.pszW;
    case KS_PSTRA: case KS_DSTRA: return sLarge(r.pszA);
    case KS_CARA: return r.szDateA[0] ? std::wstring(1, wchar_t(static_cast<unsigned char>(r.szDateA[0]))) : L"";
    case KS_CARW: return r.szDateW[0] ? std::wstring(1, r.szDateW[0]) : L"";
    case KS_DATEW: case KS_TIMEW: return r.szDateW;
    case KS_DATEA: case KS_TIMEA: return sLarge(r.szDateA);
    case KS_DATETIME: {
        wchar_t sz[32];
        std::swprintf(sz, 32, L"%08d %09d", r.dh.nDate, r.dh.nHeure);
        return sz;
    }
    default: return L"?";
    }
}

// A scratch area filled with a pattern, to see whether an error touched it.
STValeurConv ScratchMarque() {
    STValeurConv r;
    std::memset(static_cast<void*>(&r), 0xA5, sizeof r);
    return r;
}

bool bMarqueIntacte(const STValeurConv& r) {
    const STValeurConv m = ScratchMarque();
    return std::memcmp(&r, &m, sizeof r) == 0;
}

// ---------------------------------------------------------------------------

TEST(HoteExports, ConversionAndCalculationRoutinesAreExported) {
    EXPECT_TRUE(H().lib.bASymbole("nConversionDepassementExt"));
    EXPECT_TRUE(H().lib.bASymbole("FinConversion"));
    for (const char* pszNom : kRoutinesCalcul)
        EXPECT_TRUE(H().lib.bASymbole(pszNom)) << pszNom;
}

struct CasConversion {
    int nTypeSource;
    const wchar_t* pszSource;
    int nTypeCible;
    int nCode;
    const wchar_t* pszAttendu;  // rendered target value when nCode is 0
};

std::ostream& operator<<(std::ostream& os, const CasConversion& c) {
    return os << c.nTypeSource << " \"" << sEtroit(c.pszSource) << "\" -> " << c.nTypeCible;
}

class Conversion : public ::testing::TestWithParam<CasConversion> {};

TEST_P(Conversion, GivesTheValueOrTheErrorAndLeavesTheScratchOnError) {
    const CasConversion& c = GetParam();
    Valeur source(c.nTypeSource, c.pszSource);
    STValeurConv r = ScratchMarque();
    const int nCode = H().pConvertit(source.p(), c.nTypeSource, &r, c.nTypeCible, 0, 0);
    ASSERT_EQ(nCode, c.nCode);
    if (nCode != 0) {
        EXPECT_TRUE(bMarqueIntacte(r)) << "an error must leave the scratch area untouched";
        return;
    }
    EXPECT_EQ(sRendu(r, c.nTypeCible), c.pszAttendu);
    H().pFin(&r, c.nTypeCible);
}

// Currency literals are ten-thousandths; date-times are "AAAAMMJJ HHMMSSmmm".
INSTANTIATE_TEST_SUITE_P(
    Entiers, Conversion,
    ::testing::Values(
        CasConversion{KS_I4, L"-5", KS_I8, 0, L"-5"},
        CasConversion{KS_I1, L"-128", KS_I2, 0, L"-128"},
        CasConversion{KS_UIX, L"42", KS_I4BIS, 0, L"42"},
        CasConversion{KS_UI8, L"18446744073709551615", KS_PSTRW, 0, L"18446744073709551615"},
        CasConversion{KS_I8, L"-9223372036854775808", KS_PSTRA, 0, L"-9223372036854775808"},
        CasConversion{KS_I4, L"300", KS_UI1, eCONV_DEPASSEMENT, nullptr},
        CasConversion{KS_I4, L"-1", KS_UI4, eCONV_DEPASSEMENT, nullptr},
        CasConversion{KS_I2, L"-32768", KS_I1, eCONV_DEPASSEMENT, nullptr},
        CasConversion{KS_UI4, L"4294967295", KS_I4, eCONV_DEPASSEMENT, nullptr},
        CasConversion{KS_UI8, L"18446744073709551615", KS_I8, eCONV_DEPASSEMENT, nullptr},
        CasConversion{KS_BOOL, L"1", KS_I4, 0, L"1"},
        CasConversion{KS_I4, L"7", KS_BOOL, 0, L"1"},
        CasConversion{KS_I4, L"0", KS_BOOL, 0, L"0"},
        CasConversion{KS_BOOL, L"5", KS_PSTRW, 0, L"1"},
        CasConversion{KS_BOOL, L"0", KS_PSTRA, 0, L"0"}));

INSTANTIATE_TEST_SUITE_P(
    Reels, Conversion,
    ::testing::Values(
        CasConversion{KS_R8, L"2.9", KS_I4, 0, L"2"},
        CasConversion{KS_R8, L"-2.9", KS_I4, 0, L"-2"},
        CasConversion{KS_R8, L"-0.5", KS_UI1, 0, L"0"},
        CasConversion{KS_R8, L"3e9", KS_I4, eCONV_DEPASSEMENT, nullptr},
        CasConversion{KS_R8, L"1e300", KS_I8, eCONV_DEPASSEMENT, nullptr},
        CasConversion{KS_R8, L"inf", KS_I8, eCONV_DEPASSEMENT, nullptr},
        CasConversion{KS_R8, L"1e300", KS_R4, eCONV_DEPASSEMENT, nullptr},
        CasConversion{KS_R8, L"0.5", KS_R4, 0, L"0.5"},
        CasConversion{KS_R8, L"0.1", KS_PSTRW, 0, L"0.1"},
        CasConversion{KS_R8, L"100", KS_PSTRW, 0, L"100"},
        CasConversion{KS_R8, L"-0", KS_PSTRW, 0, L"0"},
        CasConversion{KS_R8, L"1e21", KS_PSTRW, 0, L"1e+21"},
        CasConversion{KS_R8, L"1.5e-8", KS_PSTRA, 0, L"1.5e-08"},
        CasConversion{KS_R4, L"0.1", KS_PSTRW, 0, L"0.1"},
        CasConversion{KS_R8, L"1.00005", KS_CY, 0, L"10001"},
        CasConversion{KS_R8, L"0.29", KS_CY, 0, L"2900"}));

INSTANTIATE_TEST_SUITE_P(
    MonetaireEtDecimal, Conversion,
    ::testing::Values(
        CasConversion{KS_CY, L"15000", KS_PSTRW, 0, L"1.5"},
        CasConversion{KS_CY, L"10000", KS_PSTRW, 0, L"1"},
        CasConversion{KS_CY, L"-5", KS_PSTRW, 0, L"-0.0005"},
        CasConversion{KS_CY, L"-9223372036854775808", KS_PSTRA, 0, L"-922337203685477.5808"},
        CasConversion{KS_CY, L"29999", KS_I4, 0, L"2"},
        CasConversion{KS_CY, L"15000", KS_R8, 0, L"1.5"},
        CasConversion{KS_I4, L"3", KS_CY, 0, L"30000"},
        CasConversion{KS_I8, L"922337203685478", KS_CY, eCONV_DEPASSEMENT, nullptr},
        CasConversion{KS_PSTRW, L"12.34567", KS_CY, 0, L"123457"},
        CasConversion{KS_PSTRW, L"1e3", KS_CY, eCONV_PAS_UN_NOMBRE, nullptr},
        CasConversion{KS_PSTRW, L"-0.0001", KS_DECIMAL, 0, L"-0.0001"},
        CasConversion{KS_PSTRW, L" 12,50 ", KS_DECIMAL, 0, L"12.5"},
        CasConversion{KS_PSTRW, L"1e3", KS_DECIMAL, 0, L"1000"},
        CasConversion{KS_PSTRW, L"12x", KS_DECIMAL, eCONV_PAS_UN_NOMBRE, nullptr},
        CasConversion{KS_R8, L"0.1", KS_DECIMAL, 0, L"0.1"},
        CasConversion{KS_CY, L"15000", KS_DECIMAL, 0, L"1.5"},
        CasConversion{KS_UI8, L"18446744073709551615", KS_DECIMAL, 0, L"18446744073709551615"},
        CasConversion{KS_DECIMAL, L"123.9", KS_I4, 0, L"123"},
        CasConversion{KS_DECIMAL, L"-123.9", KS_I4, 0, L"-123"},
        CasConversion{KS_DECIMAL, L"1e30", KS_I8, eCONV_DEPASSEMENT, nullptr},
        CasConversion{KS_DECIMAL, L"1.00005", KS_CY, 0, L"10001"},
        CasConversion{KS_DECIMAL, L"2.5", KS_R8, 0, L"2.5"},
        CasConversion{KS_DECIMAL, L"2.50", KS_PSTRA, 0, L"2.5"}));

INSTANTIATE_TEST_SUITE_P(
    TexteVersNombre, Conversion,
    ::testing::Values(
        CasConversion{KS_PSTRW, L"  -42  ", KS_I4, 0, L"-42"},
        CasConversion{KS_PSTRW, L"+7", KS_I4, 0, L"7"},
        CasConversion{KS_PSTRW, L"12.9", KS_I4, 0, L"12"},
        CasConversion{KS_PSTRW, L"3,25", KS_R8, 0, L"3.25"},
        CasConversion{KS_PSTRW, L"-1.5E3", KS_R8, 0, L"-1500"},
        CasConversion{KS_PSTRW, L".5", KS_R4, 0, L"0.5"},
        CasConversion{KS_PSTRW, L"1e-400", KS_R8, 0, L"0"},
        CasConversion{KS_PSTRA, L"3,5", KS_R8, 0, L"3.5"},
        CasConversion{KS_PSTRW, L"18446744073709551615", KS_UI8, 0, L"18446744073709551615"},
        CasConversion{KS_PSTRW, L"1e400", KS_R8, eCONV_DEPASSEMENT, nullptr},
        CasConversion{KS_PSTRW, L"1e99999999999", KS_R8, eCONV_DEPASSEMENT, nullptr},
        CasConversion{KS_PSTRW, L"1e99999999999", KS_DECIMAL, eCONV_DEPASSEMENT, nullptr},
        CasConversion{KS_PSTRW, L"-1e-99999999999", KS_R8, 0, L"-0"},
        CasConversion{KS_PSTRW, L"256", KS_UI1, eCONV_DEPASSEMENT, nullptr},
        CasConversion{KS_PSTRW, L"-1", KS_UI2, eCONV_DEPASSEMENT, nullptr},
        CasConversion{KS_PSTRW, L"99999999999999999999999", KS_I8, eCONV_DEPASSEMENT, nullptr},
        CasConversion{KS_PSTRW, L"12abc", KS_I4, eCONV_PAS_UN_NOMBRE, nullptr},
        CasConversion{KS_PSTRW, L"", KS_I4, eCONV_PAS_UN_NOMBRE, nullptr},
        CasConversion{KS_PSTRW, L"   ", KS_R8, eCONV_PAS_UN_NOMBRE, nullptr},
        CasConversion{KS_PSTRW, L"1.2.3", KS_R8, eCONV_PAS_UN_NOMBRE, nullptr},
        CasConversion{KS_PSTRW, L"1,5.2", KS_R8, eCONV_PAS_UN_NOMBRE, nullptr},
        CasConversion{KS_PSTRW, L"--1", KS_I4, eCONV_PAS_UN_NOMBRE, nullptr},
        CasConversion{KS_PSTRW, L"- 1", KS_I4, eCONV_PAS_UN_NOMBRE, nullptr},
        CasConversion{KS_PSTRW, L"1 000", KS_I4, eCONV_PAS_UN_NOMBRE, nullptr},
        CasConversion{KS_PSTRW, L".", KS_R8, eCONV_PAS_UN_NOMBRE, nullptr},
        CasConversion{KS_PSTRW, L"1e", KS_R8, eCONV_PAS_UN_NOMBRE, nullptr},
        CasConversion{KS_PSTRW, L"e5", KS_R8, eCONV_PAS_UN_NOMBRE, nullptr},
        CasConversion{KS_PSTRW, L"0x10", KS_I4, eCONV_PAS_UN_NOMBRE, nullptr},
        CasConversion{KS_PSTRW, L"inf", KS_R8, eCONV_PAS_UN_NOMBRE, nullptr},
        CasConversion{KS_PSTRW, L"1e3", KS_I4, eCONV_PAS_UN_NOMBRE, nullptr},
        CasConversion{KS_PSTRW, L"TRUE", KS_BOOL, 0, L"1"},
        CasConversion{KS_PSTRA, L"False", KS_BOOL, 0, L"0"},
        CasConversion{KS_PSTRW, L"0", KS_BOOL, 0, L"0"},
        CasConversion{KS_PSTRW, L"0.000", KS_BOOL, 0, L"0"},
        CasConversion{KS_PSTRW, L"2.5", KS_BOOL, 0, L"1"},
        CasConversion{KS_PSTRW, L"yes", KS_BOOL, eCONV_PAS_UN_NOMBRE, nullptr}));

INSTANTIATE_TEST_SUITE_P(
    TextesEtCaracteres, Conversion,
    ::testing::Values(
        CasConversion{KS_PSTRW, L"abc", KS_DSTRW, 0, L"abc"},
        CasConversion{KS_PSTRA, L"abc", KS_PSTRW, 0, L"abc"},
        CasConversion{KS_CARW, L"A", KS_PSTRW, 0, L"A"},
        CasConversion{KS_CARA, L"\u00e9", KS_CARW, 0, L"\u00e9"},
        CasConversion{KS_CARA, L"5", KS_I4, 0, L"5"},
        CasConversion{KS_I4, L"7", KS_CARW, 0, L"7"},
        CasConversion{KS_PSTRW, L"", KS_CARW, 0, L""},
        CasConversion{KS_PSTRW, L"AB", KS_CARW, eCONV_DEPASSEMENT, nullptr},
        CasConversion{KS_I4, L"12", KS_CARA, eCONV_DEPASSEMENT, nullptr}));

INSTANTIATE_TEST_SUITE_P(
    DatesEtHeures, Conversion,
    ::testing::Values(
        CasConversion{KS_PSTRW, L"20240229", KS_DATEW, 0, L"20240229"},
        CasConversion{KS_PSTRW, L"20000229", KS_DATEA, 0, L"20000229"},
        CasConversion{KS_PSTRW, L"", KS_DATEW, 0, L""},
        CasConversion{KS_PSTRW, L"20230229", KS_DATEW, eCONV_DATE_INVALIDE, nullptr},
        CasConversion{KS_PSTRW, L"19000229", KS_DATEW, eCONV_DATE_INVALIDE, nullptr},
        CasConversion{KS_PSTRW, L"20241301", KS_DATEW, eCONV_DATE_INVALIDE, nullptr},
        CasConversion{KS_PSTRW, L"20240431", KS_DATEW, eCONV_DATE_INVALIDE, nullptr},
        CasConversion{KS_PSTRW, L"20240100", KS_DATEA, eCONV_DATE_INVALIDE, nullptr},
        CasConversion{KS_PSTRW, L"2024-02-29", KS_DATEW, eCONV_DATE_INVALIDE, nullptr},
        CasConversion{KS_DATEW, L"20240131", KS_DATEA, 0, L"20240131"},
        CasConversion{KS_DATEW, L"20240131", KS_DATETIME, 0, L"20240131 000000000"},
        CasConversion{KS_DATETIME, L"20240131 134502500", KS_DATEA, 0, L"20240131"},
        CasConversion{KS_DATETIME, L"20240131 134502500", KS_TIMEW, 0, L"134502500"},
        CasConversion{KS_DATETIME, L"20240131 134502500", KS_PSTRW, 0, L"20240131134502500"},
        CasConversion{KS_PSTRW, L"202401311345", KS_DATETIME, 0, L"20240131 134500000"},
        CasConversion{KS_PSTRW, L"20240132", KS_DATETIME, eCONV_DATE_INVALIDE, nullptr},
        CasConversion{KS_PSTRW, L"1345", KS_TIMEW, 0, L"134500000"},
        CasConversion{KS_PSTRA, L"235959999", KS_TIMEA, 0, L"235959999"},
        CasConversion{KS_PSTRW, L"240000000", KS_TIMEW, eCONV_DATE_INVALIDE, nullptr},
        CasConversion{KS_PSTRW, L"126000", KS_TIMEW, eCONV_DATE_INVALIDE, nullptr},
        CasConversion{KS_TIMEW, L"010000500", KS_DUREE, 0, L"3600500"},
        CasConversion{KS_DUREE, L"3600500", KS_TIMEA, 0, L"010000500"},
        CasConversion{KS_DUREE, L"86400000", KS_TIMEW, eCONV_DEPASSEMENT, nullptr},
        CasConversion{KS_DUREE, L"1500", KS_PSTRW, 0, L"1500"},
        CasConversion{KS_PSTRW, L"1500", KS_DUREE, 0, L"1500"},
        CasConversion{KS_DATEW, L"20240131", KS_R8, eCONV_IMPOSSIBLE, nullptr},
        CasConversion{KS_R8, L"1", KS_DATEW, eCONV_IMPOSSIBLE, nullptr},
        CasConversion{KS_TIMEW, L"120000000", KS_DATETIME, eCONV_IMPOSSIBLE, nullptr}));

INSTANTIATE_TEST_SUITE_P(
    TypesSansConversion, Conversion,
    ::testing::Values(
        CasConversion{KS_I4, L"1", 20, eCONV_TYPE_INCONNU, nullptr},
        CasConversion{KS_I4, L"1", 200, eCONV_TYPE_INCONNU, nullptr},
        CasConversion{20, L"", KS_I4, eCONV_TYPE_INCONNU, nullptr},
        CasConversion{KS_I4, L"1", KS_OBJET, eCONV_IMPOSSIBLE, nullptr},
        CasConversion{KS_BIN, L"", KS_PSTRW, eCONV_IMPOSSIBLE, nullptr},
        CasConversion{KS_VIDE, L"", KS_I4, eCONV_IMPOSSIBLE, nullptr}));

TEST(ConversionReels, TextFormReadsBackToTheSameReal) {
    const double aReels[] = {0.1, 1.0 / 3, -123.456, 1e-300, 5e-324, std::numeric_limits<double>::max(),
                             9007199254740993.0, 1e21, 1e-7, 123456789.125};
    for (double d : aReels) {
        STValeurConv texte, retour;
        ASSERT_EQ(H().pConvertit(&d, KS_R8, &texte, KS_PSTRW, 0, 0), 0);
        ASSERT_EQ(H().pConvertit(&texte.pszW, KS_PSTRW, &retour, KS_R8, 0, 0), 0) << sEtroit(texte.pszW);
        EXPECT_EQ(retour.r8, d) << sEtroit(texte.pszW);
        EXPECT_EQ(std::wstring(texte.pszW).find(L','), std::wstring::npos);
        H().pFin(&texte, KS_PSTRW);
    }
    const float aSimples[] = {0.1f, 1.0f / 3, 3.4e38f, 1e-45f};
    for (float f : aSimples) {
        STValeurConv texte, retour;
        ASSERT_EQ(H().pConvertit(&f, KS_R4, &texte, KS_PSTRA, 0, 0), 0);
        ASSERT_EQ(H().pConvertit(&texte.pszA, KS_PSTRA, &retour, KS_R4, 0, 0), 0) << texte.pszA;
        EXPECT_EQ(retour.r4, f) << texte.pszA;
        H().pFin(&texte, KS_PSTRA);
    }
}

TEST(ConversionCP1252, EightBitTextsAreCodePage1252BothWays) {
    // "Ça coûte 5 €" – the euro sign is 0x80 in code page 1252.
    const char* pszHuit = "\xC7" "a co\xFB" "te 5 \x80";
    const wchar_t* pszLarge = L"\u00C7a co\u00FBte 5 \u20AC";

    STValeurConv r;
    ASSERT_EQ(H().pConvertit(&pszHuit, KS_PSTRA, &r, KS_PSTRW, 0, 0), 0);
    EXPECT_STREQ(r.pszW, pszLarge);
    H().pFin(&r, KS_PSTRW);

    ASSERT_EQ(H().pConvertit(&pszLarge, KS_PSTRW, &r, KS_DSTRA, 0, 0), 0);
    EXPECT_STREQ(r.pszA, pszHuit);
    H().pFin(&r, KS_DSTRA);

    // A character the code page lacks becomes '?'; an undefined byte keeps its value.
    const wchar_t* pszHorsPage = L"x\u65E5y";
    ASSERT_EQ(H().pConvertit(&pszHorsPage, KS_PSTRW, &r, KS_PSTRA, 0, 0), 0);
    EXPECT_STREQ(r.pszA, "x?y");
    H().pFin(&r, KS_PSTRA);

    const char* pszIndefini = "\x81";
    STValeurConv large, huit;
    ASSERT_EQ(H().pConvertit(&pszIndefini, KS_PSTRA, &large, KS_PSTRW, 0, 0), 0);
    ASSERT_EQ(H().pConvertit(&large.pszW, KS_PSTRW, &huit, KS_PSTRA, 0, 0), 0);
    EXPECT_STREQ(huit.pszA, "\x81");
    H().pFin(&large, KS_PSTRW);
    H().pFin(&huit, KS_PSTRA);

    // An 8-bit character.
    const char cEuro = '\x80';
    ASSERT_EQ(H().pConvertit(&cEuro, KS_CARA, &r, KS_CARW, 0, 0), 0);
    EXPECT_EQ(r.szDateW[0], L'\u20AC');
}

TEST(FabriqueGlobale, CreatesDecimalsFromTextAndReals) {
    if (!H().lib.bASymbole("Execution")) {
        GTEST_SKIP() << "the host does not export Execution yet";
    }
    auto pExecution = H().Routine<PFN_ExecutionVM>("Execution");
    auto pFabrique = reinterpret_cast<IFabriqueGlobale*>(pExecution(KV_EXEC_INFO_VM, eIVM_FABRIQUE_GLOBALE));
    ASSERT_NE(pFabrique, nullptr);
    EXPECT_EQ(pFabrique->nGetVersion(), 2);

    auto sTexte = [](IDecimal* p) {
        std::wstring s = p ? p->sVersTexte() : L"(null)";
        if (p)
            p->Release();
        return s;
    };
    EXPECT_EQ(sTexte(pFabrique->pCreeDecimal(nullptr)), L"0");
    EXPECT_EQ(sTexte(pFabrique->pCreeDecimal(L" -12,50 ")), L"-12.5");
    EXPECT_EQ(pFabrique->pCreeDecimal(L"12 abc"), nullptr);
    EXPECT_EQ(sTexte(pFabrique->pCreeDecimalDepuisReel(0.1)), L"0.1");
    EXPECT_EQ(pFabrique->pCreeDecimalDepuisReel(std::nan("")), nullptr);
    EXPECT_NE(pFabrique->pGetTypeObjet("Decimal"), nullptr);
    EXPECT_EQ(pFabrique->pGetTypeObjet("Autre"), nullptr);

    IDecimal* p = pFabrique->pCreeDecimal(L"7.25");
    EXPECT_EQ(p->AddRef(), 2u);
    IDecimal* pCopie = p->pClone();
    EXPECT_EQ(p->Release(), 1u);
    EXPECT_EQ(p->Release(), 0u);
    EXPECT_EQ(sTexte(pCopie), L"7.25");
}

// ---------------------------------------------------------------------------
// Calculation routines

TEST(Calcul, CanCompareFollowsTheValueFamilies) {
    auto bPeut = H().Routine<PFN_bCanCompareEx>("bCanCompareEx");
    EXPECT_EQ(bPeut(KS_I4, KS_DECIMAL), 1);
    EXPECT_EQ(bPeut(KS_I4, KS_PSTRW), 1);
    EXPECT_EQ(bPeut(KS_PSTRA, KS_CARW), 1);
    EXPECT_EQ(bPeut(KS_DATEW, KS_DATETIME), 1);
    EXPECT_EQ(bPeut(KS_TIMEA, KS_PSTRW), 1);
    EXPECT_EQ(bPeut(KS_DATEW, KS_R8), 0);
    EXPECT_EQ(bPeut(KS_TIMEW, KS_DATEW), 0);
    EXPECT_EQ(bPeut(KS_BIN, KS_BIN), 0);
    EXPECT_EQ(bPeut(KS_I4, 200), 0);
}

struct CasComparaison {
    const char* pszRoutine;
    int nTypeA;
    const wchar_t* pszA;
    int nTypeB;
    const wchar_t* pszB;
    unsigned nOptions;
    int nCode;
    int nResultat;
};

std::ostream& operator<<(std::ostream& os, const CasComparaison& c) {
    return os << c.pszRoutine << "(" << sEtroit(c.pszA) << ", " << sEtroit(c.pszB) << ", " << c.nOptions << ")";
}

class Comparaison : public ::testing::TestWithParam<CasComparaison> {};

TEST_P(Comparaison, GivesTheExpectedAnswer) {
    const CasComparaison& c = GetParam();
    auto pRoutine = H().Routine<PFN_nComparaisonEx>(c.pszRoutine);
    Valeur a(c.nTypeA, c.pszA), b(c.nTypeB, c.pszB);
    int nResultat = -99;
    ASSERT_EQ(pRoutine(a.p(), c.nTypeA, b.p(), c.nTypeB, c.nOptions, &nResultat), c.nCode);
    if (c.nCode == 0) {
        EXPECT_EQ(nResultat, c.nResultat);
    }
}

constexpr unsigned kCasse = eCMP_IGNORE_CASSE;
constexpr unsigned kAccents = eCMP_IGNORE_ACCENTS;

INSTANTIATE_TEST_SUITE_P(
    Ordre, Comparaison,
    ::testing::Values(
        CasComparaison{"nComparaisonEx", KS_I4, L"5", KS_R8, L"5.0", 0, 0, 0},
        CasComparaison{"nComparaisonEx", KS_I4, L"2", KS_PSTRW, L"10", 0, 0, -1},  // as numbers, not texts
        CasComparaison{"nComparaisonEx", KS_PSTRW, L"2", KS_PSTRW, L"10", 0, 0, 1},
        CasComparaison{"nComparaisonEx", KS_I4, L"2", KS_PSTRW, L"abc", 0, 0, -1},
        CasComparaison{"nComparaisonEx", KS_UI8, L"18446744073709551615", KS_I8, L"-1", 0, 0, 1},
        CasComparaison{"nComparaisonEx", KS_CY, L"15000", KS_R8, L"1.5", 0, 0, 0},
        CasComparaison{"nComparaisonEx", KS_DECIMAL, L"0.1", KS_R8, L"0.1", 0, 0, 0},
        CasComparaison{"nComparaisonEx", KS_R4, L"0.1", KS_R8, L"0.1", 0, 0, 0},
        CasComparaison{"nComparaisonEx", KS_R8, L"nan", KS_I4, L"-5", 0, 0, -1},
        CasComparaison{"nComparaisonEx", KS_PSTRW, L"B", KS_PSTRW, L"a", 0, 0, -1},
        CasComparaison{"nComparaisonEx", KS_PSTRW, L"B", KS_PSTRA, L"a", kCasse, 0, 1},
        CasComparaison{"nComparaisonEx", KS_DATEW, L"20240131", KS_DATETIME, L"20240131 000000001", 0, 0, -1},
        CasComparaison{"nComparaisonEx", KS_DATEA, L"20240131", KS_PSTRW, L"20240131", 0, 0, 0},
        CasComparaison{"nComparaisonEx", KS_DATEW, L"20240131", KS_R8, L"1", 0, eCONV_IMPOSSIBLE, 0},
        CasComparaison{"nComparaisonEx", KS_I4, L"1", 20, L"", 0, eCONV_TYPE_INCONNU, 0},
        CasComparaison{"nSuperieurEx", KS_DECIMAL, L"2.5", KS_I4, L"2", 0, 0, 1},
        CasComparaison{"nSuperieurEx", KS_R8, L"nan", KS_R8, L"1", 0, 0, 0},
        CasComparaison{"nInferieurEx", KS_TIMEW, L"080000000", KS_TIMEA, L"180000000", 0, 0, 1},
        CasComparaison{"nInferieurEx", KS_I8, L"-1", KS_UI4, L"0", 0, 0, 1}));

INSTANTIATE_TEST_SUITE_P(
    Egalites, Comparaison,
    ::testing::Values(
        CasComparaison{"nEgaliteEx", KS_I4, L"5", KS_PSTRW, L" 5.0 ", 0, 0, 1},
        CasComparaison{"nEgaliteEx", KS_PSTRW, L"\u00c9t\u00e9", KS_PSTRW, L"ete", 0, 0, 0},
        CasComparaison{"nEgaliteEx", KS_PSTRW, L"\u00c9t\u00e9", KS_PSTRA, L"ete", kCasse | kAccents, 0, 1},
        // A decomposed and a precomposed accent are the same text once folded.
        CasComparaison{"nEgaliteEx", KS_PSTRW, L"e\u0301", KS_PSTRW, L"\u00e9", kCasse, 0, 1},
        CasComparaison{"nEgaliteEx", KS_PSTRW, L"a b", KS_PSTRW, L"ab", eCMP_IGNORE_ESPACES, 0, 1},
        CasComparaison{"nEgaliteEx", KS_PSTRW, L"l'a.b", KS_PSTRW, L"lab", eCMP_IGNORE_PONCTUATION, 0, 1},
        CasComparaison{"nEgaliteEx", KS_R8, L"nan", KS_R8, L"nan", 0, 0, 0},
        CasComparaison{"nEgaliteEx", KS_R8, L"0.30000000000000004", KS_R8, L"0.3", 0, 0, 0},
        CasComparaison{"nPresqueEgalEx", KS_R8, L"0.30000000000000004", KS_R8, L"0.3", 0, 0, 1},
        CasComparaison{"nPresqueEgalEx", KS_R8, L"0.3001", KS_R8, L"0.3", 0, 0, 0},
        CasComparaison{"nPresqueEgalEx", KS_PSTRW, L"L'\u00c9t\u00e9, ici", KS_PSTRW, L"lete ici", 0, 0, 1},
        CasComparaison{"nSoupleEgalEx", KS_PSTRW, L"HELLO", KS_PSTRW, L"hello", 0, 0, 1},
        CasComparaison{"nSoupleEgalEx", KS_PSTRW, L"h\u00e9llo", KS_PSTRW, L"hello", 0, 0, 0},
        CasComparaison{"nSoupleEgalEx", KS_PSTRW, L"h\u00e9llo", KS_PSTRW, L"HELLO", kAccents, 0, 1}));

INSTANTIATE_TEST_SUITE_P(
    Recherches, Comparaison,
    ::testing::Values(
        CasComparaison{"nCommenceParEx", KS_PSTRW, L"Bonjour", KS_PSTRW, L"Bon", 0, 0, 1},
        CasComparaison{"nCommenceParEx", KS_PSTRW, L"Bonjour", KS_PSTRW, L"bon", 0, 0, 0},
        CasComparaison{"nCommenceParEx", KS_PSTRW, L"Bonjour", KS_PSTRW, L"bon", kCasse, 0, 1},
        CasComparaison{"nCommenceParSoupleEx", KS_PSTRW, L"Bonjour", KS_PSTRA, L"bON", 0, 0, 1},
        CasComparaison{"nCommenceParSoupleEx", KS_PSTRW, L"\u00c9lan", KS_PSTRW, L"el", 0, 0, 0},
        CasComparaison{"nCommenceParTresSoupleEx", KS_PSTRW, L"\u00c9lan vital", KS_PSTRW, L"ELAN-VI", 0, 0, 1},
        CasComparaison{"nContientEx", KS_PSTRW, L"abcdef", KS_PSTRW, L"cd", 0, 0, 1},
        CasComparaison{"nContientEx", KS_PSTRW, L"abcdef", KS_PSTRW, L"", 0, 0, 1},
        CasComparaison{"nContientEx", KS_PSTRW, L"abcdef", KS_PSTRW, L"CD", 0, 0, 0},
        CasComparaison{"nContientEx", KS_I4, L"12345", KS_PSTRW, L"234", 0, 0, 1},
        CasComparaison{"nContientSoupleEx", KS_PSTRW, L"abcdef", KS_CARW, L"D", 0, 0, 1},
        CasComparaison{"nContientTresSoupleEx", KS_PSTRW, L"Le ch\u00e2teau, au loin", KS_PSTRW, L"CHATEAUAU", 0, 0, 1},
        CasComparaison{"nTermineParEx", KS_PSTRW, L"fichier.txt", KS_PSTRW, L".txt", 0, 0, 1},
        CasComparaison{"nTermineParEx", KS_PSTRW, L"fichier.TXT", KS_PSTRW, L".txt", 0, 0, 0},
        CasComparaison{"nTermineParSoupleEx", KS_PSTRW, L"fichier.TXT", KS_PSTRW, L".txt", 0, 0, 1},
        CasComparaison{"nTermineParTresSoupleEx", KS_PSTRW, L"Cr\u00e8me br\u00fbl\u00e9e !", KS_PSTRW, L"brulee", 0,
                       0, 1}));

struct CasOperation {
    const char* pszRoutine;
    int nTypeA;
    const wchar_t* pszA;
    int nTypeB;
    const wchar_t* pszB;
    int nCode;
    int nTypeResultat;
    const wchar_t* pszResultat;
};

std::ostream& operator<<(std::ostream& os, const CasOperation& c) {
    return os << c.pszRoutine << "(" << c.nTypeA << " " << sEtroit(c.pszA) << ", " << c.nTypeB << " "
              << sEtroit(c.pszB) << ")";
}

class Operation : public ::testing::TestWithParam<CasOperation> {};

TEST_P(Operation, GivesTheValueInTheWiderTypeOrAnError) {
    const CasOperation& c = GetParam();
    auto pRoutine = H().Routine<PFN_nOperationEx>(c.pszRoutine);
    Valeur a(c.nTypeA, c.pszA), b(c.nTypeB, c.pszB);
    STValeurConv r = ScratchMarque();
    int nType = -1;
    ASSERT_EQ(pRoutine(a.p(), c.nTypeA, b.p(), c.nTypeB, &r, &nType), c.nCode);
    if (c.nCode != 0) {
        EXPECT_TRUE(bMarqueIntacte(r));
        EXPECT_EQ(nType, -1);
        return;
    }
    ASSERT_EQ(nType, c.nTypeResultat);
    EXPECT_EQ(sRendu(r, nType), c.pszResultat);
    H().pFin(&r, nType);
}

INSTANTIATE_TEST_SUITE_P(
    Arithmetique, Operation,
    ::testing::Values(
        CasOperation{"nAdditionEx", KS_I4, L"2", KS_I4, L"3", 0, KS_I4, L"5"},
        CasOperation{"nAdditionEx", KS_UI1, L"200", KS_I4, L"100", 0, KS_I4, L"300"},
        CasOperation{"nAdditionEx", KS_I4, L"2147483647", KS_I4, L"1", eCONV_DEPASSEMENT, 0, nullptr},
        CasOperation{"nAdditionEx", KS_I1, L"100", KS_I1, L"100", eCONV_DEPASSEMENT, 0, nullptr},
        CasOperation{"nSoustractionEx", KS_UI4, L"1", KS_UI4, L"2", eCONV_DEPASSEMENT, 0, nullptr},
        CasOperation{"nMultiplicationEx", KS_I8, L"9223372036854775807", KS_I8, L"2", eCONV_DEPASSEMENT, 0, nullptr},
        CasOperation{"nMultiplicationEx", KS_UI8, L"18446744073709551615", KS_UI8, L"18446744073709551615",
                     eCONV_DEPASSEMENT, 0, nullptr},
        CasOperation{"nDivisionEx", KS_I4, L"7", KS_I4, L"2", 0, KS_I4, L"3"},
        CasOperation{"nDivisionEx", KS_I8, L"-9223372036854775808", KS_I8, L"-1", eCONV_DEPASSEMENT, 0, nullptr},
        CasOperation{"nModuloEx", KS_I4, L"-7", KS_I4, L"2", 0, KS_I4, L"-1"},
        CasOperation{"nDivisionEx", KS_I4, L"7", KS_I4, L"0", eCONV_DIVISION_ZERO, 0, nullptr},
        CasOperation{"nModuloEx", KS_UI2, L"7", KS_UI2, L"0", eCONV_DIVISION_ZERO, 0, nullptr},
        CasOperation{"nDivisionEx", KS_R8, L"1", KS_R8, L"0", eCONV_DIVISION_ZERO, 0, nullptr},
        CasOperation{"nDivisionEx", KS_CY, L"10000", KS_I4, L"0", eCONV_DIVISION_ZERO, 0, nullptr},
        CasOperation{"nDivisionEx", KS_DECIMAL, L"1", KS_DECIMAL, L"0", eCONV_DIVISION_ZERO, 0, nullptr},
        CasOperation{"nMultiplicationEx", KS_R8, L"1e308", KS_R8, L"10", eCONV_DEPASSEMENT, 0, nullptr},
        CasOperation{"nAdditionEx", KS_R8, L"0.5", KS_I4, L"1", 0, KS_R8, L"1.5"},
        CasOperation{"nAdditionEx", KS_R4, L"0.5", KS_R4, L"0.25", 0, KS_R4, L"0.75"},
        CasOperation{"nMultiplicationEx", KS_CY, L"15000", KS_CY, L"20000", 0, KS_CY, L"30000"},
        CasOperation{"nDivisionEx", KS_CY, L"10000", KS_I4, L"3", 0, KS_CY, L"3333"},
        CasOperation{"nAdditionEx", KS_DUREE, L"1000", KS_I4, L"500", 0, KS_DUREE, L"1500"},
        CasOperation{"nAdditionEx", KS_I4, L"2", KS_PSTRW, L"3", 0, KS_I8, L"5"},
        CasOperation{"nAdditionEx", KS_I4, L"2", KS_PSTRW, L"x", eCONV_PAS_UN_NOMBRE, 0, nullptr},
        CasOperation{"nSoustractionEx", KS_PSTRW, L"abc", KS_I4, L"1", eCONV_PAS_UN_NOMBRE, 0, nullptr},
        CasOperation{"nAdditionEx", KS_DATEW, L"20240101", KS_I4, L"1", eCONV_IMPOSSIBLE, 0, nullptr},
        CasOperation{"nAdditionEx", KS_I4, L"1", 20, L"", eCONV_TYPE_INCONNU, 0, nullptr}));

INSTANTIATE_TEST_SUITE_P(
    Decimaux, Operation,
    ::testing::Values(
        CasOperation{"nAdditionEx", KS_DECIMAL, L"0.1", KS_DECIMAL, L"0.2", 0, KS_DECIMAL, L"0.3"},
        CasOperation{"nSoustractionEx", KS_DECIMAL, L"0.3", KS_DECIMAL, L"0.1", 0, KS_DECIMAL, L"0.2"},
        CasOperation{"nDivisionEx", KS_DECIMAL, L"1", KS_DECIMAL, L"3", 0, KS_DECIMAL,
                     L"0.3333333333333333333333333333333333"},
        CasOperation{"nModuloEx", KS_DECIMAL, L"5.5", KS_DECIMAL, L"2", 0, KS_DECIMAL, L"1.5"},
        CasOperation{"nMultiplicationEx", KS_DECIMAL, L"1.1", KS_I4, L"3", 0, KS_DECIMAL, L"3.3"},
        CasOperation{"nAdditionEx", KS_CY, L"1000", KS_DECIMAL, L"0.2", 0, KS_DECIMAL, L"0.3"}));

INSTANTIATE_TEST_SUITE_P(
    TextesEtLogique, Operation,
    ::testing::Values(
        CasOperation{"nAdditionEx", KS_PSTRW, L"abc", KS_PSTRW, L"d\u00e9f", 0, KS_PSTRW, L"abcd\u00e9f"},
        CasOperation{"nAdditionEx", KS_PSTRA, L"n\u00b0", KS_I4, L"5", 0, KS_PSTRA, L"n\u00b05"},
        CasOperation{"nAdditionEx", KS_PSTRA, L"a", KS_PSTRW, L"b", 0, KS_PSTRW, L"ab"},
        CasOperation{"nAdditionEx", KS_CARW, L"x", KS_R8, L"1.5", 0, KS_PSTRW, L"x1.5"},
        CasOperation{"nETLogiqueEx", KS_BOOL, L"1", KS_PSTRW, L"true", 0, KS_BOOL, L"1"},
        CasOperation{"nETLogiqueEx", KS_I4, L"3", KS_R8, L"0", 0, KS_BOOL, L"0"},
        CasOperation{"nOULogiqueEx", KS_BOOL, L"0", KS_PSTRA, L"0", 0, KS_BOOL, L"0"},
        CasOperation{"nOULogiqueEx", KS_BOOL, L"0", KS_PSTRW, L"abc", eCONV_PAS_UN_NOMBRE, 0, nullptr},
        CasOperation{"nNONLogiqueEx", KS_BOOL, L"0", KS_VIDE, L"", 0, KS_BOOL, L"1"},
        CasOperation{"nNegationEx", KS_I4, L"-2147483648", KS_VIDE, L"", eCONV_DEPASSEMENT, 0, nullptr},
        CasOperation{"nNegationEx", KS_UI4, L"5", KS_VIDE, L"", 0, KS_I8, L"-5"},
        CasOperation{"nNegationEx", KS_CY, L"15000", KS_VIDE, L"", 0, KS_CY, L"-15000"},
        CasOperation{"nNegationEx", KS_DECIMAL, L"2.5", KS_VIDE, L"", 0, KS_DECIMAL, L"-2.5"},
        CasOperation{"nNegationEx", KS_R4, L"1.5", KS_VIDE, L"", 0, KS_R4, L"-1.5"}));

// The in-place operations: the first operand keeps its type.
struct CasEnPlace {
    const char* pszRoutine;
    int nTypeA;
    const wchar_t* pszA;
    int nTypeB;
    const wchar_t* pszB;
    int nCode;
    const wchar_t* pszA_Apres;  // the first operand afterwards, error or not
};

std::ostream& operator<<(std::ostream& os, const CasEnPlace& c) {
    return os << c.pszRoutine << "(" << sEtroit(c.pszA) << ", " << sEtroit(c.pszB) << ")";
}

class EnPlace : public ::testing::TestWithParam<CasEnPlace> {};

TEST_P(EnPlace, StoresTheResultInTheFirstOperandsType) {
    const CasEnPlace& c = GetParam();
    auto pRoutine = H().Routine<PFN_wOperationEx>(c.pszRoutine);
    Valeur a(c.nTypeA, c.pszA), b(c.nTypeB, c.pszB);
    ASSERT_EQ(pRoutine(a.p(), c.nTypeA, b.p(), c.nTypeB), c.nCode);
    EXPECT_EQ(sRendu(a.stockage(), c.nTypeA), c.pszA_Apres);
}

INSTANTIATE_TEST_SUITE_P(
    Routines, EnPlace,
    ::testing::Values(
        CasEnPlace{"wAjouteEx", KS_UI1, L"200", KS_I4, L"55", 0, L"255"},
        CasEnPlace{"wAjouteEx", KS_UI1, L"200", KS_I4, L"56", eCONV_DEPASSEMENT, L"200"},
        CasEnPlace{"wAjouteEx", KS_I2, L"30000", KS_I2, L"10000", eCONV_DEPASSEMENT, L"30000"},
        CasEnPlace{"wSoustraitEx", KS_R8, L"0.5", KS_PSTRW, L"0.25", 0, L"0.25"},
        CasEnPlace{"wMultiplieEx", KS_CY, L"15000", KS_I4, L"3", 0, L"45000"},
        CasEnPlace{"wDiviseEx", KS_I4, L"7", KS_R8, L"2", 0, L"3"},
        CasEnPlace{"wModuloEx", KS_I4, L"7", KS_I4, L"0", eCONV_DIVISION_ZERO, L"7"},
        CasEnPlace{"wAjouteEx", KS_DECIMAL, L"0.1", KS_DECIMAL, L"0.2", 0, L"0.3"},
        CasEnPlace{"wAjouteEx", KS_PSTRW, L"ab", KS_PSTRW, L"c", eCONV_IMPOSSIBLE, L"ab"}));

} // namespace
