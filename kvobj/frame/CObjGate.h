// The gate: the virtual machine reads and writes properties and creates
// objects through it. Stateless.
#pragma once
#include "kv/module.h"

class CObjGate final : public IObjGate {
public:
    void Release() override { delete this; }
    int bCree(int nIDObjet, void** ppSortie) override;
    void Delete(void* pObjet) override;
    void xSetPropriete(void* pObjet, EPropriete ePropriete, const CAny& clValeur) override;
    void xGetPropriete(void* pObjet, EPropriete ePropriete, CAny* pclValeur) override;
    const wchar_t* pszGetModuleVersion() override;
    int bCheckVersion(const wchar_t* pszModule, const wchar_t* pszVersion) override;
    void GivLibShop(ILibShop* piLibShop) override;
    void Terminate() override;
    void GetInfoVersion(const wchar_t* pszModule, STVersionDLL* pstVersion) override;
    int bSetPropriete(void* pObjet, EPropriete ePropriete, const CAny& clValeur, CXError* pErreur) override;
    int bGetPropriete(void* pObjet, EPropriete ePropriete, CAny* pclValeur, CXError* pErreur) override;
    void* pclGetObjectFromName(const wchar_t* pszNom, void* pContexte) override;
    int bCreeInterface(int nIDObjet, void** ppSortie, void* pExterieur) override;
    int bPropAvailable(int nIDObjet, EPropriete ePropriete) override;
    int nGetNbProp() override;
    const wchar_t* pszGetNomProp_OBSOLETE(EPropriete) override { return nullptr; }
    int bOuvreFenTrace() override { return 0; }
    void AjouteLigneFenTrace(const wchar_t*) override {}
    void FermeFenTrace() override {}
    void xGetPropriete_Editeur(void*, EPropriete, CAny*) override {}
    void* vpiGetDessinChampImage() override { return nullptr; }
    void* vpiSelecteurFichier() override { return nullptr; }
    void* vpiGetObjetAPCodeOBJFromHwnd(void*) override { return nullptr; }
    int bGetNomProp(EPropriete ePropriete, int nColonne, const wchar_t** ppszNom) override;
    void LibereSiObjetTemp(void* pObjet) override;
    int bPropAvailableEx(int nIDObjet, EPropriete ePropriete) override;

    // Minimum versions of the sibling modules (null when none is known).
    static const wchar_t* pszGetVersionMinimum(const wchar_t* pszModule);
};
