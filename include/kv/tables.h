// Rows of the function table the module hands to the virtual machine
// through InfoComposante(33): one STFonction per function, its syntaxes in
// an array of STSyntaxe. Fields keep their documented order; the fields that
// hold addresses have the native pointer width.
#pragma once
#include <cstdint>

struct STSyntaxe {
    void* pfnGlue;              // glue function, null when declared only
    uintptr_t nReserve[2];
    const uint8_t* pSignature;  // result type, one type per parameter (4 bytes each), then a 0 byte
    uint32_t nParametres;       // bits 0-6 count, bit 7 variadic
};

struct STFonction {
    uint32_t nOrdinal;          // 1-based row number
    uint32_t nNom;              // 0: names come from the packed name block
    uint32_t nReserve;
    uint32_t nAttributs;
    uint32_t nCategorie;        // 1 or 3
    uint32_t nIdentifiant;      // syntax count << 24 | 1 << 16 | function index
    const STSyntaxe* pSyntaxes;
};

inline constexpr uint32_t nSYNTAXE_NB_PARAMETRES = 0x7F;
inline constexpr uint32_t nSYNTAXE_VARIADIQUE = 0x80;

// Type codes of the signatures (low byte of a type word).
enum eTYPE_SIGNATURE : uint32_t {
    eSIG_AUCUN = 0,
    eSIG_BOOLEEN = 1,
    eSIG_ENTIER = 8,
    eSIG_ENTIER8 = 9,
    eSIG_HANDLE = 14,
    eSIG_MEMO_IMAGE = 30,
    eSIG_ANY = 31,
    eSIG_NOM_FENETRE = 39,
    eSIG_FENCOMMUN = 45,
    eSIG_OBJET = 57,
    eSIG_CHAINE = 116,
    eSIG_CHAINE_RESULTAT = 121,
    eSIG_CHAINE2 = 122,
    eSIG_CHAINE3 = 127,
    eSIG_CHAINE4 = 131,
    eSIG_OBJET_RESULTAT = 140,
};
