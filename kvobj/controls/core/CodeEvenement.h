// Running the event code of an object through the virtual machine.
#pragma once
#include "controls/core/CObjetAPCode.h"

// A handler override attached to an object or its window: its hook replaces
// the application's, and it decides whether the compiled code runs.
class ISurchargeTraitement {
public:
    typedef void (*PFN_HOOK)(const wchar_t* pszObjet, int nEvenement, void* pData);
    virtual PFN_HOOK pfnGetHook() = 0;
    virtual void* pGetDataHook() = 0;
    virtual bool bDoitExecuter(int nEvenement) = 0;
protected:
    ~ISurchargeTraitement() = default;
};

// The common routine: runs (object, event) with its parameters on the given
// virtual machine, applies a focus request made by the code, and cancels a
// busy cursor the code left on.
void ExecutePCode(int nEvenement, CObjetAPCodeOBJ* pclObjet, IVM* piVM, int nNbParametres, const void* pParametres,
                  void* piInterface);
// The same for a procedure of the program held by reference (the procedure
// of a menu option added at run time) run on behalf of an object, for the
// event nEvenement: the virtual machine runs it with nNbParametres values.
void ExecuteProcedureObjet(int nEvenement, CObjetAPCodeOBJ* pclObjet, IVM* piVM, void* pProcedure,
                           const CAny* pParametres, int nNbParametres);

// A non-fatal problem met while running on a control, reported as a warning
// of the virtual machine.
enum ePORTEE_WARNING_EXEC : int { ePORTEE_CHAMP = 0, ePORTEE_FENETRE = 1, ePORTEE_PROJET = 2 };
void LeveWarningExecChamp(ePORTEE_WARNING_EXEC ePortee, const std::wstring& sMessage);
