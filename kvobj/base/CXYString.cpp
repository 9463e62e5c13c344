#include "base/CXYString.h"
#include <cstdlib>

namespace {
void* AlloueMalloc(size_t nOctets) { return std::malloc(nOctets); }
void LibereFree(void* pBloc) { std::free(pBloc); }

PFN_AlloueBlocXY g_pfnAlloue = AlloueMalloc;
PFN_LibereBlocXY g_pfnLibere = LibereFree;
} // namespace

void* pAlloueBlocXY(size_t nOctets) { return g_pfnAlloue(nOctets); }
void LibereBlocXY(void* pBloc) { g_pfnLibere(pBloc); }

void DefinitAllocateurXY(PFN_AlloueBlocXY pfnAlloue, PFN_LibereBlocXY pfnLibere) {
    g_pfnAlloue = pfnAlloue ? pfnAlloue : AlloueMalloc;
    g_pfnLibere = pfnLibere ? pfnLibere : LibereFree;
}
