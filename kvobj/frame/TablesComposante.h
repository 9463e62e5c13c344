// The descriptive tables the virtual machine reads through InfoComposante.
// Rows keep their documented field order; fields that hold addresses use the
// native pointer width.
#pragma once
#include <cstdint>
#include "kv/tables.h"

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
