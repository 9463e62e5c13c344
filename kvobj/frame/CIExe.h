// The application context as handed to the virtual machine.
#pragma once
#include "kv/module.h"

class CExe;

class CIExe final : public IExe {
public:
    explicit CIExe(CExe* pclExe) : m_pclExe(pclExe) {}
    CExe* pclGetExe() const { return m_pclExe; }
    void DetacheExe() { m_pclExe = nullptr; }

    void DestroyAgregat() override;
    unsigned AddRef() override;
    unsigned Release() override;
    void* pclGetObjet() override;
    void Run() override {}
    void ModeTestFen(const wchar_t* pszNom) override;
    void LoadVM(IVM* piVM) override;
    void UseQBContext(void*) override {}
    void* pIGetProjectObject() override;
    void SetCallBack(void*) override {}
    void SetProjectPath(const wchar_t* pszChemin) override;
    void* pIGetFenetreFromName(const wchar_t* pszNom) override;
    void* hCreeTimerVM(int nPeriode, IVM* piVM, void* pProcedure, CXError* pErreur) override;
    void SupprimeTimerVM(void* hTimer) override;
    wchar_t cGetSeparateurMillier() override;
    wchar_t cGetSeparateurDecimal() override;
    void FermeTout() override;
    void SetHandleParentSuivant(void* hParent) override;
    void* hGetHandleParentSuivant() override;
    void* hGetHwndFenTrace() override { return nullptr; }
    void SetParamOuvreInfoRessource(void*) override {}
    void* hCreeTimerTempReelVM(int nPeriode, IVM* piVM, void* pProcedure, CXError* pErreur) override;
    void ApercuInteractif(void*) override {}
    int bApercuInteractif2(void*) override { return 0; }
    void onModifDeviseAffParDefaut() override {}
    int bChangeGabaritComposant(void*) override { return 0; }
    void* pIGetFenetreFromNameAndComponent(const wchar_t* pszNom, IVM* piVM) override;
    void SetContexteQBSuivant(void* pContexte) override;
    void* pGetContexteQBSuivant() override;
    void SetCallbackFinInit(PFN_CALLBACK_FIN_INIT pfn, void* pUser) override;
    void OuvreEmulateurWindowsCE() override {}
    void SetParamPlateformeCE_OBSOLETE(void*) override {}
    void SetNomProjetEdition(const wchar_t* pszNom) override;
    void SetIconeProjetEdition(const wchar_t* pszIcone) override;
    void SetTypeKVFileOuvreSuivant(uint32_t nType) override;
    uint32_t dwGetTypeKVFileOuvreSuivant() override;
    void LanceActionDebuggerMT(int, intptr_t) override {}
    void JoueAnimation(void*) override {}
    void InitParamAnimProjet(void*) override {}
    void LanceActionGeneriqueVMMainThread(int nAction, intptr_t nParametre) override;
    int bJoueAnimationEx(void*) override { return 0; }
    void SablierVrai() override;
    void SablierFaux() override;
    void SetTestFactory(void*) override {}
    int bTraceDebut(const wchar_t*) override { return 0; }
    void TraceFin() override {}
    int bTrace() override { return 0; }
    void SetCBOnOuvreSansContexteKSE(void*) override {}
    void SetVerouAuto(int) override {}
    void SetDelaisVerouAppli(int) override {}
    void VerouilleAppli() override {}
    int nGetDelaisVerouAppli() override { return 0; }
    int bGetVerouAuto() override { return 0; }
    void SetHandleParentSuivantForceChild(void* hParent) override;
    void* piCreeAnimChampProjetObj() override { return nullptr; }
    void* pstGetParamPlateformeCE_OBSOLETE() override { return nullptr; }
    int bTimerDesactive() override;
    void SetTimerDesactive(int bDesactive) override;
    const wchar_t* pszGetExtVideoSupportees() override { return L""; }
    void* piCreeFaaProjet() override { return nullptr; }
    void* piCreeTableFaaVierge() override { return nullptr; }
    void* piGetPlateformCE() override { return nullptr; }
    int bChargeKVLOBJ() override;
    void SetPlateformCE(void*) override {}
    void SetModeMigreVersNouveau(int) override {}
    int bEnModeMigreVersNouveau() override { return 0; }
    int bInOuvrePopup() override { return m_bInOuvrePopup; }
    void SetInOuvrePopup(int b) override { m_bInOuvrePopup = b; }
    int bOuvreFenetreExterne(void*) override { return 0; }
    int bFermeFenetreExterne(void*) override { return 0; }
    int nChangeAlphabet(int) override { return 0; }
    void AfficheSablier(int) override {}
    void* piGetFenActive() override;
    void* hGetFenActive() override;
    void SetCtxFenSuivant(void*) override {}
    void ChangeNation(int eLangue) override;
    int bCoqueEstValide() override { return 0; }
    void SetDansFonctionnaliteFramework(int b) override { m_bDansFramework = b; }
    int bGetDansFonctionnaliteFramework() override { return m_bDansFramework; }
    void* piGetEmuleFonte() override { return nullptr; }
    void SetIReg(void*) override {}
    void SetFenSuivanteNonMobile(int) override {}

private:
    CExe* m_pclExe;
    int m_bInOuvrePopup = 0;
    int m_bDansFramework = 0;
};
