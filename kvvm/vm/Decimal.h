// Decimal numbers of the host: 128-bit decimal floating point (34 significant
// digits) computed by the decimal arithmetic library (libbid). The library's
// headers stay inside Decimal.cpp; the rest of the host sees the value as an
// opaque 16-byte block with the same layout.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include "kv/vm.h"

namespace kvdec {

// Same size and alignment as the library's BID_UINT128.
struct STDecimal128 {
    alignas(16) uint64_t w[2];
};

// Reads an already validated number text in the C form: optional '-', digits
// with at most one '.', optional exponent "E[+-]digits". False when the
// library does not accept it (never for a validated text).
bool bDepuisTexte(std::string_view sTexte, STDecimal128& dRes);
// Text without exponent for ordinary values ("12.5", "-0.0001", "0"): no
// trailing zeros after the point, no '+' sign, no negative zero. Values whose
// plain form would be very long keep an exponent ("1.5E+100").
std::string sVersTexte(const STDecimal128& d);

STDecimal128 DepuisEntier(int64_t n);
STDecimal128 DepuisNaturel(uint64_t n);
// A currency amount held as ten-thousandths.
STDecimal128 DepuisMonetaire(int64_t nDixMilliemes);
// Goes through the shortest text of the real, so 0.1 gives exactly 0.1.
// False for an infinite or NaN real.
bool bDepuisReel(double d, STDecimal128& dRes);

// Integer part (truncated toward zero); 102 when it does not fit 64 bits.
// The result is held in a 128-bit integer wide enough for both signed and
// unsigned 64-bit values.
int nVersEntier(const STDecimal128& d, __int128& nRes);
double dVersReel(const STDecimal128& d);
// Ten-thousandths rounded half away from zero; 102 when out of range.
int nVersMonetaire(const STDecimal128& d, int64_t& nRes);

bool bEstZero(const STDecimal128& d);
bool bEstFini(const STDecimal128& d);
STDecimal128 Oppose(const STDecimal128& d);
// -1, 0 or 1.
int nCompare(const STDecimal128& a, const STDecimal128& b);

// Arithmetic: cOperateur is one of + - * / %. Returns 0, 102 (result not
// finite) or 106 (division or modulo by zero). The remainder has the sign of
// the dividend, as for integers.
int nOperation(char cOperateur, const STDecimal128& a, const STDecimal128& b, STDecimal128& dRes);

} // namespace kvdec

// The decimal object handed to the module. Reference counted: created with
// one reference, destroyed by the last Release.
class CDecimalVM final : public IDecimal {
public:
    explicit CDecimalVM(const kvdec::STDecimal128& dValeur) : m_dValeur(dValeur) {}
    CDecimalVM(const CDecimalVM&) = delete;
    CDecimalVM& operator=(const CDecimalVM&) = delete;

    unsigned AddRef() override;
    unsigned Release() override;
    std::wstring sVersTexte() const override;
    IDecimal* pClone() const override;

    const kvdec::STDecimal128& dValeur() const { return m_dValeur; }

    // Reads the value of any IDecimal: directly when it is one of ours,
    // through its text otherwise. False for a null pointer or an unreadable text.
    static bool bLitValeur(const IDecimal* pDecimal, kvdec::STDecimal128& dRes);

private:
    ~CDecimalVM() = default;
    std::atomic<unsigned> m_nRef{1};
    kvdec::STDecimal128 m_dValeur;
};

// The host's global factory (handed out by Execution(3053, 9)).
class CFabriqueGlobaleVM final : public IFabriqueGlobale {
public:
    int nGetVersion() override;
    // Null text: zero. A text that is not a number (see the conversion rules:
    // spaces around, sign, digits, one '.' or ',', exponent): null.
    IDecimal* pCreeDecimal(const wchar_t* pszTexte) override;
    // Null for an infinite or NaN real.
    IDecimal* pCreeDecimalDepuisReel(double dValeur) override;
    // A non-null static for "Decimal", null for any other name.
    void* pGetTypeObjet(const char* pszNom) override;
};

// The process-wide factory.
IFabriqueGlobale* pGetFabriqueGlobaleVM();
