// The descriptive tables the virtual machine reads through InfoComposante.
// Rows keep their documented field order; fields that hold addresses use the
// native pointer width.
#pragma once
#include <cstdint>

struct STSyntaxe {
    void* pfnGlue;              // glue function, null when declared only
    uintptr_t nReserve[2];
    const uint8_t* pSignature;  // result type, one type per parameter, then a 0 byte
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

struct STConstante {            // 28 bytes on the original platform
    uint32_t nNom;
    uint32_t nType;
    int64_t nValeur;
    uint32_t nReserve[3];
};

struct STVariable {             // 24 bytes on the original platform
    uint32_t nNom;
    uint32_t nType;
    uint32_t nReserve[4];
};

struct STProprieteDesc {         // 28 bytes
    uint32_t nNumero = 0;
    uint32_t nNom = 0;
    uint32_t nReserve1 = 0;
    uint32_t nFlags = 0;        // offset 12: bit 0 unavailable, 0x200 unavailable in the second mode
    uint32_t nReserve2 = 0;
    uint16_t wTypeLangage = 0;  // offset 20
    uint16_t wReserve = 0;
    uint32_t nReserve3 = 0;
};
static_assert(sizeof(STProprieteDesc) == 28);

// A table and the number of rows it really holds.
template <class T>
struct STTable {
    const T* pLignes;
    uint32_t nNb;
};

STTable<STFonction> TableFonctions();
STTable<STConstante> TableConstantes();
STTable<STVariable> TableVariables();
STTable<STProprieteDesc> TableProprietes();
STTable<uint8_t> MatriceProprietes();   // object kinds x properties, one byte each
STTable<uint8_t> BlocNoms();            // the packed name block
STTable<const wchar_t*> TableReferencesTypes();
uintptr_t InfoComposanteModule(int nCode, unsigned nIndice);
