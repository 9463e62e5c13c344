// Process-wide state of the module: its handle and the routines it found in
// the host's module.
#pragma once
#include "kv/conv.h"
#include "kv/module.h"

extern void* ghModuleKVOBJ;

// Conversion routines (bInitKSConvFromVM).
struct STConversionVM {
    void* hModule = nullptr;
    int nVersion = 0;
    int nCompat = 0;
    PFN_nConversionDepassementExt pfnConversion = nullptr;
    PFN_FinConversion pfnFinConversion = nullptr;
};
extern STConversionVM gstConversionVM;

// Calculation routines (bInitKSCalcFromVM), in the order they are looked up.
struct STCalculVM {
    void* hModule = nullptr;
    int nVersion = 0;
    int nCompat = 0;
    PFN_bCanCompareEx bCanCompareEx = nullptr;
    PFN_wOperationEx wAjouteEx = nullptr, wSoustraitEx = nullptr, wMultiplieEx = nullptr, wDiviseEx = nullptr,
                     wModuloEx = nullptr;
    PFN_nComparaisonEx nComparaisonEx = nullptr, nEgaliteEx = nullptr, nSuperieurEx = nullptr, nInferieurEx = nullptr,
                       nPresqueEgalEx = nullptr, nSoupleEgalEx = nullptr, nCommenceParEx = nullptr,
                       nCommenceParSoupleEx = nullptr, nCommenceParTresSoupleEx = nullptr, nContientEx = nullptr,
                       nContientSoupleEx = nullptr, nContientTresSoupleEx = nullptr, nTermineParEx = nullptr,
                       nTermineParSoupleEx = nullptr, nTermineParTresSoupleEx = nullptr;
    PFN_nOperationEx nETLogiqueEx = nullptr, nOULogiqueEx = nullptr, nNONLogiqueEx = nullptr, nNegationEx = nullptr,
                     nAdditionEx = nullptr, nSoustractionEx = nullptr, nMultiplicationEx = nullptr,
                     nDivisionEx = nullptr, nModuloEx = nullptr;
};
extern STCalculVM gstCalculVM;

// The decimal factory obtained from the host at initialisation.
class IFabriqueGlobale;
IFabriqueGlobale* pGetFabriqueDecimaux();
