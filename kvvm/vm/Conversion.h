// Conversion of values between the language's type codes.
//
// The module hands a value over as (address of its storage, type code); the
// layout per type code is described in kv/conv.h. The widths used here:
//   1 boolean: int32, non-zero is true (written back as 0 or 1)
//   2/3/4/5 unsigned 8/16/32/64 bits, 6/7/8/9 signed 8/16/32/64 bits,
//   14 uintptr_t (64 bits), 15 the second code of the signed 32-bit integer
//   10 currency: int64 of ten-thousandths;  11 float;  12 double
//   17 char (a code page 1252 character);  81 wchar_t;  27 int64 milliseconds
//
// The rules in short:
//  - Text to number: optional spaces around, a sign, digits with one decimal
//    point ('.' or ','); an exponent only for reals and decimals. Anything
//    else is eCONV_PAS_UN_NOMBRE. A fraction read into an integer is
//    truncated toward zero, as a real is.
//  - A value that does not fit the target is eCONV_DEPASSEMENT; nothing ever
//    wraps around.
//  - Numbers as text: integers in decimal, reals in their shortest text that
//    reads back to the same real, currency with at most 4 decimals, decimals
//    without exponent; never trailing zeros after the point, always '.'.
//  - Booleans as text "1"/"0"; text to boolean: "1", "0", "true", "false" in
//    any case, otherwise a number (non-zero is true).
//  - Characters are texts of at most one character: a number or a text that
//    needs more than one character does not fit (eCONV_DEPASSEMENT); the
//    zero character is the empty text.
//  - Dates "AAAAMMJJ", times "HHMMSSCCC", date-times as the 17 digits of both.
//    Texts read as dates or times are checked (eCONV_DATE_INVALIDE); the
//    empty text is the empty date. Times and durations convert into each
//    other (milliseconds since midnight). Dates and numbers do not convert
//    (eCONV_IMPOSSIBLE).
//  - 8-bit texts are code page 1252. A character that code page lacks
//    becomes '?'; the five bytes it leaves undefined read as U+0081 etc.
//  - Type codes outside the language's table are eCONV_TYPE_INCONNU; codes of
//    the table that hold no convertible value (binary blocks, buffers,
//    objects, arrays, fonts, the empty type) are eCONV_IMPOSSIBLE.
//
// On an error the scratch area is left exactly as it was. Strings (new[]) and
// decimals (one reference) written into the scratch belong to the caller
// until it hands the scratch to FinConversion with the same type code; a
// caller that keeps the decimal takes its own reference first.
#pragma once
#include <string>
#include <string_view>
#include "kv/conv.h"
#include "Decimal.h"
#include "Export.h"

// nOptions and nFlags are accepted for the caller's sake and not used: the
// conversions have no variants (the code page of 8-bit texts is always 1252).
KVVM_EXPORT int nConversionDepassementExt(const void* pSource, int nTypeSource, STValeurConv* pScratch,
                                             int nTypeCible, unsigned nOptions, unsigned nFlags);
KVVM_EXPORT void FinConversion(STValeurConv* pScratch, int nType);

// The building blocks below are shared with the calculation routines.
namespace kvconv {

// A number text taken apart (see bAnalyseNombre).
struct STNombreTexte {
    bool bNegatif = false;
    std::string sEntier;    // digits before the point, without leading zeros
    std::string sFraction;  // digits after the point
    bool bExposant = false;
    int nExposant = 0;      // saturated to +-999999999

    // The number in C form ("-12.5E+3"), for from_chars and the decimal library.
    std::string sFormeC() const;
};

// True when the whole text is a number: spaces around, optional sign,
// digits with at most one '.' or ',', at least one digit, optional exponent.
bool bAnalyseNombre(std::wstring_view sTexte, STNombreTexte& nombre);

// A value read from its storage, in the form its family computes with.
struct CValeur {
    enum EGenre {
        eBooleen,    // nEntier 0 or 1
        eEntier,     // nEntier
        eReel,       // dReel (bSimple for a 4-byte real)
        eMonetaire,  // nEntier, ten-thousandths
        eDecimal,    // dDecimal
        eTexte,      // sTexte
        eCaractere,  // sTexte, empty or one character
        eDate,       // sTexte as stored (not checked)
        eHeure,      // sTexte as stored (not checked)
        eDateHeure,  // dh
        eDuree,      // nEntier, milliseconds
    };
    EGenre nGenre = eEntier;
    int nType = 0;  // the type code it was read from
    __int128 nEntier = 0;
    double dReel = 0;
    bool bSimple = false;
    kvdec::STDecimal128 dDecimal{};
    std::wstring sTexte;
    STDateHeure dh{};

    bool bNumerique() const;   // boolean, integer, real, currency, decimal, duration
    bool bTextuel() const { return nGenre == eTexte || nGenre == eCaractere; }
};

// 0, eCONV_TYPE_INCONNU or eCONV_IMPOSSIBLE.
int nLitValeur(const void* pStockage, int nType, CValeur& valeur);
// Writes the value converted to the target type into a scratch area (which
// receives its own allocations); 0 or an error code, the scratch untouched then.
int nEcritValeur(const CValeur& valeur, int nTypeCible, STValeurConv& resultat);

// The conversions a target family needs: 0 or an error code.
// Integers: a fraction is truncated toward zero, a text with an exponent
// is refused; the result is exact in 128 bits and not range-checked.
int nVersEntier(const CValeur& valeur, __int128& nRes);
int nVersReel(const CValeur& valeur, double& dRes);
int nVersMonetaire(const CValeur& valeur, int64_t& nRes);
int nVersDecimal(const CValeur& valeur, kvdec::STDecimal128& dRes);
int nVersTexte(const CValeur& valeur, std::wstring& sRes);
int nVersBooleen(const CValeur& valeur, bool& bRes);
int nVersDateHeure(const CValeur& valeur, STDateHeure& dhRes);
// A numeric text (exponent allowed) read as a number: eEntier when it is a
// whole number that fits 64 bits, eReel otherwise. eCONV_PAS_UN_NOMBRE else.
int nNombreDepuisTexte(const std::wstring& sTexte, CValeur& valeur);

// Range of an integer type code (2..9, 14, 15); false for another code.
bool bBornesEntier(int nType, __int128& nMin, __int128& nMax);
// Size in bytes and signedness of an integer type code (boolean included, as int32).
bool bFormatEntier(int nType, int& nTaille, bool& bSigne);

// Shortest text of a real that reads back to the same real.
std::string sTexteReel(double dValeur, bool bSimple);

// True for the type codes of the language's table (see the file comment).
bool bTypeConnu(int nType);

// Code page 1252.
std::wstring sDepuisCP1252(std::string_view s);
std::string sVersCP1252(std::wstring_view s);

} // namespace kvconv
