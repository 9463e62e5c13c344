// Calculation routines on typed values (comparisons, logic, arithmetic),
// looked up by name by the module. Operands are (storage, type code) as for
// the conversions (see Conversion.h).
//
// Comparisons:
//  - numbers of any types compare by value (a 4-byte and an 8-byte real by
//    their shortest texts, so 0.1 equals 0.1f); a number and a text that
//    reads as a number compare as numbers, with any other text as texts;
//  - texts (characters included) compare by code point after folding per the
//    eOPTION_COMPARAISON flags: "Souple" adds eCMP_IGNORE_CASSE, "TresSouple"
//    all four flags (case, accents, spaces, punctuation);
//  - dates with dates and date-times, times with times, and either with a text;
//  - nComparaisonEx orders NaN before every number; equality, greater and
//    less are false when a NaN is involved;
//  - nPresqueEgalEx: reals equal within a relative 1e-9 (absolute 1e-12 near
//    zero); texts folded with all four flags.
//
// Arithmetic (nAdditionEx ...): the result takes the wider type of the two:
// decimal, then real (4-byte only when both are), then currency, then
// duration, then integers (larger size, signed when either is). Integer
// division truncates toward zero. A text first operand of an addition is
// concatenated with the other operand's text (wide unless both are 8-bit);
// otherwise a text operand must read as a number. Errors: eCONV_DEPASSEMENT,
// eCONV_DIVISION_ZERO, eCONV_PAS_UN_NOMBRE, eCONV_IMPOSSIBLE. The result is
// released with FinConversion(pResultat, *pnTypeResultat).
//
// The in-place operations (wAjouteEx ...) compute as above and store the
// result back in the first operand's type. They apply to numeric first
// operands only: a text or date first operand gives eCONV_IMPOSSIBLE, since
// its storage belongs to the caller's string allocator. A decimal first
// operand receives a new object and its old one is released.
//
// The unary routines (nNONLogiqueEx, nNegationEx) ignore the second operand.
#pragma once
#include "Conversion.h"

KVVM_EXPORT int bCanCompareEx(int nTypeA, int nTypeB);

KVVM_EXPORT int wAjouteEx(void* pA, int nTypeA, const void* pB, int nTypeB);
KVVM_EXPORT int wSoustraitEx(void* pA, int nTypeA, const void* pB, int nTypeB);
KVVM_EXPORT int wMultiplieEx(void* pA, int nTypeA, const void* pB, int nTypeB);
KVVM_EXPORT int wDiviseEx(void* pA, int nTypeA, const void* pB, int nTypeB);
KVVM_EXPORT int wModuloEx(void* pA, int nTypeA, const void* pB, int nTypeB);

#define KV_DECLARE_COMPARAISON(nom)                                                                      \
    KVVM_EXPORT int nom(const void* pA, int nTypeA, const void* pB, int nTypeB, unsigned nOptions,       \
                        int* pnResultat)
KV_DECLARE_COMPARAISON(nComparaisonEx);
KV_DECLARE_COMPARAISON(nEgaliteEx);
KV_DECLARE_COMPARAISON(nSuperieurEx);
KV_DECLARE_COMPARAISON(nInferieurEx);
KV_DECLARE_COMPARAISON(nPresqueEgalEx);
KV_DECLARE_COMPARAISON(nSoupleEgalEx);
KV_DECLARE_COMPARAISON(nCommenceParEx);
KV_DECLARE_COMPARAISON(nCommenceParSoupleEx);
KV_DECLARE_COMPARAISON(nCommenceParTresSoupleEx);
KV_DECLARE_COMPARAISON(nContientEx);
KV_DECLARE_COMPARAISON(nContientSoupleEx);
KV_DECLARE_COMPARAISON(nContientTresSoupleEx);
KV_DECLARE_COMPARAISON(nTermineParEx);
KV_DECLARE_COMPARAISON(nTermineParSoupleEx);
KV_DECLARE_COMPARAISON(nTermineParTresSoupleEx);
#undef KV_DECLARE_COMPARAISON

#define KV_DECLARE_OPERATION(nom)                                                                        \
    KVVM_EXPORT int nom(const void* pA, int nTypeA, const void* pB, int nTypeB, STValeurConv* pResultat, \
                        int* pnTypeResultat)
KV_DECLARE_OPERATION(nETLogiqueEx);
KV_DECLARE_OPERATION(nOULogiqueEx);
KV_DECLARE_OPERATION(nNONLogiqueEx);
KV_DECLARE_OPERATION(nNegationEx);
KV_DECLARE_OPERATION(nAdditionEx);
KV_DECLARE_OPERATION(nSoustractionEx);
KV_DECLARE_OPERATION(nMultiplicationEx);
KV_DECLARE_OPERATION(nDivisionEx);
KV_DECLARE_OPERATION(nModuloEx);
#undef KV_DECLARE_OPERATION
