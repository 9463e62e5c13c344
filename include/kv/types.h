// Type codes of the language, shared by the module and the host.
#pragma once
#include <cstdint>

enum eTYPE_KS : int {
    KS_VIDE = 0,
    KS_BOOL = 1,
    KS_UI1 = 2,
    KS_UI2 = 3,
    KS_UI4 = 4,
    KS_UI8 = 5,
    KS_I1 = 6,
    KS_I2 = 7,
    KS_I4 = 8,
    KS_I8 = 9,
    KS_CY = 10,        // currency: 64-bit integer of ten-thousandths
    KS_R4 = 11,
    KS_R8 = 12,
    KS_DECIMAL = 13,   // IDecimal* created by the host's factory
    KS_UIX = 14,
    KS_I4BIS = 15,     // second code of the signed 4-byte integer
    KS_DSTRW = 16,     // const wchar_t* (fixed declared size)
    KS_CARA = 17,      // 8-bit character
    KS_PSTRA = 18,     // const char*
    KS_DSTRA = 19,     // const char* (fixed declared size)
    KS_DATEW = 24,     // wchar_t[9]  "AAAAMMJJ"
    KS_TIMEW = 25,     // wchar_t[10] "HHMMSSCCC"
    KS_DATETIME = 26,  // STDateHeure
    KS_DUREE = 27,     // int64 milliseconds
    KS_BIN = 28,
    KS_BUFFER = 29,
    KS_MEMOIMG = 30,
    KS_CONVOYEUR = 50,
    KS_POLICE = 65,
    KS_CARW = 81,      // wide character (wchar_t)
    KS_TABANY = 83,
    KS_OBJET = 108,
    KS_PSTRW = 110,    // const wchar_t*
    KS_DINO = 111,
    KS_DATEA = 128,    // char[9]
    KS_TIMEA = 129,    // char[10]
    KS_OBJET2 = 141,
    KS_OBJET3 = 142,
    KS_OBJET4 = 143,
};

// A date and time as two packed integers: AAAAMMJJ and HHMMSSmmm.
struct STDateHeure {
    int32_t nDate;
    int32_t nHeure;
};

// Error codes of the host's conversion and calculation routines. Anything
// above 99 is an error; the module hands it back unchanged.
enum eERREUR_CONVERSION : int {
    eCONV_OK = 0,
    eCONV_PAS_UN_NOMBRE = 101,   // text that is not a number
    eCONV_DEPASSEMENT = 102,     // value outside the target's range
    eCONV_TYPE_INCONNU = 103,    // a type the routine does not know
    eCONV_IMPOSSIBLE = 104,      // no conversion between these types
    eCONV_TYPE_INADAPTE = 105,   // getter on a value of an unsuitable type
    eCONV_DIVISION_ZERO = 106,
    eCONV_DATE_INVALIDE = 107,
};
