// What the module exports to its host: entry points and the interfaces of
// the objects it hands out. The host reaches all of them through dlopen and
// dlsym; nothing else of the module is visible.
#pragma once
#include <cstdint>
#include "kv/vm.h"

class CAny;
using EPropriete = int;

// Base library object (the component object derives from it).
class IKSLibrary {
public:
    virtual int nGetVersion() = 0;
    virtual int nGetCompatSince() = 0;
    virtual int nGetDllNum() = 0;
    virtual void Vide1() = 0;
    virtual void Vide2() = 0;
    virtual void Vide3() = 0;
    virtual void Release() = 0;
    virtual void* pQueryProxy(int nCode) = 0;
    virtual void AssertValid_INTERNE_OBSOLETE() = 0;
    virtual int nGetLibraryId_OBSOLETE() = 0;
    virtual int nGetVersionKS_OBSOLETE() = 0;
    virtual int nGetVersionKSCompat_OBSOLETE() = 0;
    virtual const wchar_t* GetResume_DEPRECATED() = 0;
    virtual const wchar_t* GetDescription_DEPRECATED() = 0;
    virtual const wchar_t* pzGetHelpFile_DEPRECATED() = 0;
    virtual CXError* pclGetError() = 0;
    virtual void SetLibShop_OBSOLETE(ILibShop*) = 0;
    virtual int bFinInitKSL() = 0;
    virtual void TermKSL() = 0;
    virtual uintptr_t dwActionGenerique(int nAction, uintptr_t nValeur) = 0;
    virtual int InfoComposante_OBSOLETE(int, unsigned) = 0;
    virtual STKSAppel* ChangeContexteAppel(STKSAppel* pAppel) = 0;
    virtual void* pRecupereAdresseVariable(STKSAppel* pAppel) = 0;
    virtual int bSignaleEcritureVariable(STKSAppel* pAppel) = 0;
    virtual void DumpMemoireInstance(void*) = 0;
    virtual void Vide4() = 0;
    virtual void Vide5() = 0;
    virtual ~IKSLibrary() = default;
    virtual int bFinInit() = 0;
    virtual void TermCompo() = 0;
    virtual void* pGetVariableAdresse(int nVariable) = 0;
    virtual void EcritVariable(int nVariable, intptr_t nValeur) = 0;
    virtual void vDumpMemoireInstance(void*) = 0;
};

// Version block returned by GetInfoVersion: 36 wide characters, this
// module's version in the first 18, the asked module's minimum in the next 18.
struct STVersionDLL {
    wchar_t szVersion[18];
    wchar_t szVersionMin[18];
};

// The gate: properties and object creation.
class IObjGate {
public:
    virtual void Release() = 0;
    virtual int bCree(int nIDObjet, void** ppSortie) = 0;
    virtual void Delete(void* pObjet) = 0;
    virtual void xSetPropriete(void* pObjet, EPropriete ePropriete, const CAny& clValeur) = 0;
    virtual void xGetPropriete(void* pObjet, EPropriete ePropriete, CAny* pclValeur) = 0;
    virtual const wchar_t* pszGetModuleVersion() = 0;
    virtual int bCheckVersion(const wchar_t* pszModule, const wchar_t* pszVersion) = 0;
    virtual void GivLibShop(ILibShop* piLibShop) = 0;
    virtual void Terminate() = 0;
    virtual void GetInfoVersion(const wchar_t* pszModule, STVersionDLL* pstVersion) = 0;
    virtual int bSetPropriete(void* pObjet, EPropriete ePropriete, const CAny& clValeur, CXError* pErreur) = 0;
    virtual int bGetPropriete(void* pObjet, EPropriete ePropriete, CAny* pclValeur, CXError* pErreur) = 0;
    virtual void* pclGetObjectFromName(const wchar_t* pszNom, void* pContexte) = 0;
    virtual int bCreeInterface(int nIDObjet, void** ppSortie, void* pExterieur) = 0;
    virtual int bPropAvailable(int nIDObjet, EPropriete ePropriete) = 0;
    virtual int nGetNbProp() = 0;
    virtual const wchar_t* pszGetNomProp_OBSOLETE(EPropriete) = 0;
    virtual int bOuvreFenTrace() = 0;
    virtual void AjouteLigneFenTrace(const wchar_t*) = 0;
    virtual void FermeFenTrace() = 0;
    virtual void xGetPropriete_Editeur(void*, EPropriete, CAny*) = 0;
    virtual void* vpiGetDessinChampImage() = 0;
    virtual void* vpiSelecteurFichier() = 0;
    virtual void* vpiGetObjetAPCodeOBJFromHwnd(void*) = 0;
    virtual int bGetNomProp(EPropriete, int nColonne, const wchar_t** ppszNom) = 0;
    virtual void LibereSiObjetTemp(void* pObjet) = 0;
    virtual int bPropAvailableEx(int nIDObjet, EPropriete ePropriete) = 0;
protected:
    ~IObjGate() = default;
};

typedef void (*PFN_CALLBACK_FIN_INIT)(void* pUser, int nCode, const wchar_t* pszTexte);

// The application context as the virtual machine sees it.
class IExe {
public:
    virtual void DestroyAgregat() = 0;
    virtual unsigned AddRef() = 0;
    virtual unsigned Release() = 0;
    virtual void* pclGetObjet() = 0;
    virtual void Run() = 0;
    virtual void ModeTestFen(const wchar_t* pszNom) = 0;
    virtual void LoadVM(IVM* piVM) = 0;
    virtual void UseQBContext(void*) = 0;
    virtual void* pIGetProjectObject() = 0;
    virtual void SetCallBack(void*) = 0;
    virtual void SetProjectPath(const wchar_t* pszChemin) = 0;
    virtual void* pIGetFenetreFromName(const wchar_t* pszNom) = 0;
    virtual void* hCreeTimerVM(int nPeriode, IVM* piVM, void* pProcedure, CXError* pErreur) = 0;
    virtual void SupprimeTimerVM(void* hTimer) = 0;
    virtual wchar_t cGetSeparateurMillier() = 0;
    virtual wchar_t cGetSeparateurDecimal() = 0;
    virtual void FermeTout() = 0;
    virtual void SetHandleParentSuivant(void* hParent) = 0;
    virtual void* hGetHandleParentSuivant() = 0;
    virtual void* hGetHwndFenTrace() = 0;
    virtual void SetParamOuvreInfoRessource(void*) = 0;
    virtual void* hCreeTimerTempReelVM(int nPeriode, IVM* piVM, void* pProcedure, CXError* pErreur) = 0;
    virtual void ApercuInteractif(void*) = 0;
    virtual int bApercuInteractif2(void*) = 0;
    virtual void onModifDeviseAffParDefaut() = 0;
    virtual int bChangeGabaritComposant(void*) = 0;
    virtual void* pIGetFenetreFromNameAndComponent(const wchar_t* pszNom, IVM* piVM) = 0;
    virtual void SetContexteQBSuivant(void* pContexte) = 0;
    virtual void* pGetContexteQBSuivant() = 0;
    virtual void SetCallbackFinInit(PFN_CALLBACK_FIN_INIT pfn, void* pUser) = 0;
    virtual void OuvreEmulateurWindowsCE() = 0;
    virtual void SetParamPlateformeCE_OBSOLETE(void*) = 0;
    virtual void SetNomProjetEdition(const wchar_t* pszNom) = 0;
    virtual void SetIconeProjetEdition(const wchar_t* pszIcone) = 0;
    virtual void SetTypeKVFileOuvreSuivant(uint32_t nType) = 0;
    virtual uint32_t dwGetTypeKVFileOuvreSuivant() = 0;
    virtual void LanceActionDebuggerMT(int, intptr_t) = 0;
    virtual void JoueAnimation(void*) = 0;
    virtual void InitParamAnimProjet(void*) = 0;
    virtual void LanceActionGeneriqueVMMainThread(int nAction, intptr_t nParametre) = 0;
    virtual int bJoueAnimationEx(void*) = 0;
    virtual void SablierVrai() = 0;
    virtual void SablierFaux() = 0;
    virtual void SetTestFactory(void*) = 0;
    virtual int bTraceDebut(const wchar_t*) = 0;
    virtual void TraceFin() = 0;
    virtual int bTrace() = 0;
    virtual void SetCBOnOuvreSansContexteKSE(void*) = 0;
    virtual void SetVerouAuto(int) = 0;
    virtual void SetDelaisVerouAppli(int) = 0;
    virtual void VerouilleAppli() = 0;
    virtual int nGetDelaisVerouAppli() = 0;
    virtual int bGetVerouAuto() = 0;
    virtual void SetHandleParentSuivantForceChild(void* hParent) = 0;
    virtual void* piCreeAnimChampProjetObj() = 0;
    virtual void* pstGetParamPlateformeCE_OBSOLETE() = 0;
    virtual int bTimerDesactive() = 0;
    virtual void SetTimerDesactive(int bDesactive) = 0;
    virtual const wchar_t* pszGetExtVideoSupportees() = 0;
    virtual void* piCreeFaaProjet() = 0;
    virtual void* piCreeTableFaaVierge() = 0;
    virtual void* piGetPlateformCE() = 0;
    virtual int bChargeKVLOBJ() = 0;
    virtual void SetPlateformCE(void*) = 0;
    virtual void SetModeMigreVersNouveau(int) = 0;
    virtual int bEnModeMigreVersNouveau() = 0;
    virtual int bInOuvrePopup() = 0;
    virtual void SetInOuvrePopup(int) = 0;
    virtual int bOuvreFenetreExterne(void*) = 0;
    virtual int bFermeFenetreExterne(void*) = 0;
    virtual int nChangeAlphabet(int) = 0;
    virtual void AfficheSablier(int) = 0;
    virtual void* piGetFenActive() = 0;
    virtual void* hGetFenActive() = 0;
    virtual void SetCtxFenSuivant(void*) = 0;
    virtual void ChangeNation(int eLangue) = 0;
    virtual int bCoqueEstValide() = 0;
    virtual void SetDansFonctionnaliteFramework(int) = 0;
    virtual int bGetDansFonctionnaliteFramework() = 0;
    virtual void* piGetEmuleFonte() = 0;
    virtual void SetIReg(void*) = 0;
    virtual void SetFenSuivanteNonMobile(int) = 0;
protected:
    ~IExe() = default;
};

// Class factory handed out by pclCreateFactory.
class IClassFactory {
public:
    virtual int QueryInterface(int nInterface, void** ppSortie) = 0;
    virtual unsigned AddRef() = 0;
    virtual unsigned Release() = 0;
    virtual int CreateInstance(void* pExterieur, int nIDObjet, void** ppSortie) = 0;
    virtual int LockServer(int bVerrou) = 0;
protected:
    ~IClassFactory() = default;
};

// Module entry points, as the host looks them up.
extern "C" {
typedef int (*PFN_bInitLibrary)(void* hModule);
typedef int (*PFN_TermLibrary)();
typedef void* (*PFN_pQueryProxy)(int nCode);
typedef intptr_t (*PFN_Execution)(unsigned nCode, void* pParametre);
typedef uintptr_t (*PFN_InfoComposante)(int nCode, unsigned nIndice);
typedef intptr_t (*PFN_CommandeComposante)(int nCode, void* pParametre);
typedef IClassFactory* (*PFN_pclCreateFactory)();
typedef void (*PFN_DeclareProxy)(void**, void**, void**, void**);
typedef int (*PFN_bInitKSFromVM)(void* hModule, int nVersion, int nCompat);
typedef const void* (*PFN_DLLRES_pLoadResourceModule)(const void* pInfoModule, const wchar_t* pszType,
                                                     const wchar_t* pszNom, uint32_t* pnTaille);
// The host's own Execution (3053 sub-codes, 3052).
typedef intptr_t (*PFN_ExecutionVM)(unsigned nCode, intptr_t nParametre);
}

// Codes of pQueryProxy.
inline constexpr int KV_PROXY_COMPOSANTE = 60;
inline constexpr int KV_PROXY_GATE = 18;
