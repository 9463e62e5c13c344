// Base library object: holds the call context and the error object through
// which every failure of a language call travels back to the virtual machine.
#pragma once
#include "kv/module.h"
#include "frame/ModuleInfo.h"
#include <QThread>
#include <string>
#include <vector>

class CKSLibrary : public IKSLibrary {
public:
    CKSLibrary();
    ~CKSLibrary() override;

    int nGetVersion() override { return 7; }
    int nGetCompatSince() override { return 2; }
    int nGetDllNum() override { return -1; }
    void Vide1() override {}
    void Vide2() override {}
    void Vide3() override {}
    void Release() override;
    void* pQueryProxy(int) override { return nullptr; }
    void AssertValid_INTERNE_OBSOLETE() override {}
    int nGetLibraryId_OBSOLETE() override { return 0; }
    int nGetVersionKS_OBSOLETE() override { return 0; }
    int nGetVersionKSCompat_OBSOLETE() override { return 0; }
    const wchar_t* GetResume_DEPRECATED() override { return L""; }
    const wchar_t* GetDescription_DEPRECATED() override { return L""; }
    const wchar_t* pzGetHelpFile_DEPRECATED() override { return L""; }
    CXError* pclGetError() override { return m_pclErreur; }
    void SetLibShop_OBSOLETE(ILibShop* p) override { m_piShopObsolete = p; }
    int bFinInitKSL() override { return 1; }
    void TermKSL() override {}
    uintptr_t dwActionGenerique(int nAction, uintptr_t nValeur) override;
    int InfoComposante_OBSOLETE(int, unsigned) override { return 0; }
    STKSAppel* ChangeContexteAppel(STKSAppel* pAppel) override;
    void* pRecupereAdresseVariable(STKSAppel* pAppel) override;
    int bSignaleEcritureVariable(STKSAppel* pAppel) override;
    void DumpMemoireInstance(void* p) override { vDumpMemoireInstance(p); }
    void Vide4() override {}
    void Vide5() override {}
    int bFinInit() override { return 1; }
    void TermCompo() override {}
    void* pGetVariableAdresse(int) override { return nullptr; }
    void EcritVariable(int, intptr_t) override {}
    void vDumpMemoireInstance(void*) override {}

    // Errors.
    void RAZError();
    void RaiseError(const CXError* pclErreur);      // light copy; null resets
    void RaiseErrorCopy(const CXError* pclErreur);  // full copy
    template <class... A>
    void RaiseError(const STModuleInfo* /*pInfo*/, int nErreur, A&&... a) {
        _RaiseErrorNum(nErreur, {kvargs::Arg(std::forward<A>(a))...});
    }
    void _RaiseErrorNum(int nErreur, std::vector<std::wstring> tabArgs);

    STKSAppel* pstGetContexteAppel() const { return m_pstAppel; }
    IVM* piGetVMAppel() const { return m_pstAppel ? m_pstAppel->pVM : nullptr; }
    Qt::HANDLE nGetThreadAppel() const { return m_nThread; }
    uintptr_t nGetValeurAction() const { return m_nValeurAction; }

    std::wstring pszGetNomTraitementCourant(IVM* piVM) const;
    std::wstring pszGetLibelleTraitementCourant(IVM* piVM) const;
    int nGetLigneTraitementCourant(IVM* piVM) const;

protected:
    STKSAppel* m_pstAppel = nullptr;
    CXError* m_pclErreur = nullptr;
    ILibShop* m_piShopObsolete = nullptr;
    Qt::HANDLE m_nThread = nullptr;
    uintptr_t m_nValeurAction = 0;
};
