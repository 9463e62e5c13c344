// The module's process-wide state: its handle, the host's routines and the
// decimal factory, set by the entry points and read by the typed values.
#include "frame/Module.h"
#include "frame/Execution.h"

void* ghModuleKVOBJ = nullptr;
STConversionVM gstConversionVM;
STCalculVM gstCalculVM;
IFabriqueGlobale* CInformationDLL::s_piFabriqueGlobale = nullptr;

IFabriqueGlobale* pGetFabriqueDecimaux() { return CInformationDLL::s_piFabriqueGlobale; }
