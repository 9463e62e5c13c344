// Conversion and calculation routines exported by the host and looked up by
// name by the module (bInitKSConvFromVM, bInitKSCalcFromVM).
//
// A value is handed over as (address of its storage, type code):
//  - scalars (1..12, 14, 15, 17, 27, 81): the value itself at the address;
//  - wide strings (16, 110): the address holds a `const wchar_t*`;
//  - 8-bit strings (18, 19): the address holds a `const char*`;
//  - 24 and 25: inline wide text, 128 and 129: inline 8-bit text;
//  - 26: an STDateHeure; 13: the address holds an `IDecimal*`.
#pragma once
#include <cstdint>
#include "kv/types.h"

class IDecimal;

// Scratch area that receives a converted value. Strings and decimals are
// allocated by the host and released by FinConversion.
struct STValeurConv {
    union {
        int32_t i4;
        uint32_t ui4;
        int64_t i8;
        uint64_t ui8;
        float r4;
        double r8;
        wchar_t* pszW;
        char* pszA;
        IDecimal* pDecimal;
        STDateHeure dh;
        wchar_t szDateW[10];   // date (9) or time (10) texts, terminator included
        char szDateA[10];
    };
    STValeurConv() : szDateW{} {}
};

// Options of the calculation routines: text comparison flags.
enum eOPTION_COMPARAISON : unsigned {
    eCMP_IGNORE_CASSE = 0x01,
    eCMP_IGNORE_ACCENTS = 0x02,
    eCMP_IGNORE_ESPACES = 0x04,
    eCMP_IGNORE_PONCTUATION = 0x08,
};

// The interface version and compatibility version the host announces.
inline constexpr int KV_CONV_VERSION = 2;
inline constexpr int KV_CONV_COMPAT = 2;

extern "C" {
// 0 on success (scratch holds the value in the target type), > 99 on error.
typedef int (*PFN_nConversionDepassementExt)(const void* pSource, int nTypeSource, STValeurConv* pScratch,
                                             int nTypeCible, unsigned nOptions, unsigned nFlags);
typedef void (*PFN_FinConversion)(STValeurConv* pScratch, int nType);

// Calculation routines. All take the two operands as (storage, type).
// bCanCompareEx answers 1 or 0. The comparisons write a boolean (or, for
// nComparaisonEx, -1/0/1) into *pnResultat and return 0 or an error code.
// The w* operations modify the first operand in place, keeping its type;
// the n* arithmetic operations write their result, in the wider type of the
// two, into pResultat and its type into *pnTypeResultat.
typedef int (*PFN_bCanCompareEx)(int nTypeA, int nTypeB);
typedef int (*PFN_wOperationEx)(void* pA, int nTypeA, const void* pB, int nTypeB);
typedef int (*PFN_nComparaisonEx)(const void* pA, int nTypeA, const void* pB, int nTypeB, unsigned nOptions, int* pnResultat);
typedef int (*PFN_nOperationEx)(const void* pA, int nTypeA, const void* pB, int nTypeB, STValeurConv* pResultat, int* pnTypeResultat);
}
