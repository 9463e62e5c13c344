// The host: loads the module, runs its start-up sequence and answers it as
// the virtual machine of the running program.
#pragma once
#include "kv/host.h"
#include "code/CRunnerCPP.h"
#include "code/CRunnerLua.h"
#include "shop/CLibShop.h"
#include "conteneur/CConteneurProjet.h"
#include <memory>
#include <atomic>
#include <map>

class CHote;

class CDescriptionProjetVM : public IDescriptionProjet {
public:
    int nGetVersion() override { return m_nVersion; }
    bool bGereLangues() override { return m_bGereLangues; }
    int m_nVersion = 10;
    bool m_bGereLangues = true;
};

class CVM : public IVM {
public:
    explicit CVM(CHote* pHote) : m_pHote(pHote) {}
    unsigned AddRef() override { return ++m_nRef; }
    unsigned Release() override { return --m_nRef; }  // owned by the host
    unsigned nGetRef() const { return m_nRef; }

    void SetResultat(void* pSlot, const void* pValeur, int nType) override;
    int nExecuteCode(uint32_t nIDBas, uint32_t nIDHaut, int nEvenement, void* piObjet, const void* pParametres,
                     int nNbParametres, int nReserve) override;
    void DebutCode() override { ++m_nDebutCode; }
    void FinCode() override { ++m_nFinCode; }
    int nPossedeCode(uint32_t nIDBas, uint32_t nIDHaut, int nEvenement) override;
    int nExecuteProcedure(void* pProcedure, intptr_t pParametres, intptr_t nNbParametres, intptr_t) override;
    void* pGetProcedure(const wchar_t* pszNom) override;
    void LibereProcedure(void* pProcedure) override;
    intptr_t nQuery(int nCategorie, int nElement) override;
    int nGetModeGestionErreur() override { return 0; }
    int nGetLangueCourante() override { return m_nLangue; }
    IDescriptionProjet* pGetDescriptionProjet() override { return &m_description; }
    void* pGetInterface(int nNumero) override;
    int nChargeRessource(void* pContexte, const wchar_t* pszNom, void* hModule, const char* pszType, int nNumero,
                         const void* pInfoModule, void* pSortie, int, int) override;
    void ActionGenerique(int nAction, intptr_t nParametre) override;
    void StopCode(int nCode) override { m_nStop = nCode; }
    void Avertissement(const wchar_t* pszMessage) override;
    int nChercheDescription(STRechercheDescription* pst) override;
    int nChargeDescriptionParNom(const wchar_t* pszNom, uint32_t nType, const void** ppDonnees, size_t* pnTaille) override;
    bool bOuvertureFenetrePermise() override { return m_bOuverturePermise; }
    bool bInitVMFenetre(void* pFenetre, const wchar_t* pszNom) override;
    void TermVMFenetre(void* pFenetre) override;
    int nPasseParametresOuverture(void* pSlot, void* pFenetre) override;
    int nGetNbParametresSupp(void* pSlot) override;
    bool bGetParametreSupp(void* pSlot, int i, std::wstring& sValeur, int& nType) override;
    std::wstring sConstruitMessage(const wchar_t* pszFormat, void* pSlot) override;
    int nExecuteProcedureNommee(const wchar_t* pszNom, const std::vector<std::wstring>& tabParametres, int& nResultat) override;
    bool bEcritParametreSupp(void* pSlot, int i, const std::wstring& sValeur, int nType) override;

    bool m_bOuverturePermise = true;
    // Instances of open windows, with the parameters of their opening.
    std::map<void*, std::vector<STValeurHote>> m_instances;
    // The same windows, the most recently opened last.
    std::vector<void*> m_ordreInstances;
    // The stop asked by the module during a language call, taken once.
    int nPrendStop() {
        int n = m_nStop;
        m_nStop = 0;
        return n;
    }

    int m_nDebutCode = 0, m_nFinCode = 0, m_nStop = 0, m_nLangue = 0;
    CDescriptionProjetVM m_description;
    std::wstring m_sDerniereErreur;  // kept alive for the answer of eQVM_DERNIERE_ERREUR
    std::map<std::pair<int, int>, intptr_t> m_reponses;

private:
    CHote* m_pHote;
    std::atomic<unsigned> m_nRef{1};
    // The procedures the module asked for by name: the reference handed out
    // is the address of the name kept here.
    std::map<const void*, std::unique_ptr<std::wstring>> m_procedures;
};

class CHote : public IHote {
public:
    CHote();
    ~CHote() override;

    bool bDemarre(const STOptionsHote& st, std::string& sErreur) override;
    void Arrete() override;
    IVM* piGetVM() override { return &m_vm; }
    IKSLibrary* piGetComposante() override { return m_piComposante; }
    IObjGate* piGetGate() override { return m_piGate; }
    IExe* piGetExe() override { return m_piExe; }
    void* hGetModule() override { return m_hModule; }
    void* pSymboleModule(const char* pszNom) override;
    ILibShop* piGetShop() override { return &m_shop; }
    ICodeRunner* piGetRunnerProjet() override { return m_pRunnerLua.get(); }
    void SetRunner(ICodeRunner* p) override { m_piRunner = p ? p : (m_pRunnerLua ? static_cast<ICodeRunner*>(m_pRunnerLua.get()) : &m_runnerCPP); }
    IRunnerCPP* piGetRunnerCPP() override { return &m_runnerCPP; }
    ICodeRunner* piGetRunner() const { return m_piRunner; }
    // Errors of event code that the code did not catch, since the start.
    int nGetNbErreursCode() const { return m_pRunnerLua ? m_pRunnerLua->nGetNbErreurs() : 0; }
    int nGetNbFinModule() const override;
    int nGetNbDebutCode() const override { return m_vm.m_nDebutCode; }
    int nGetNbFinCode() const override { return m_vm.m_nFinCode; }
    void SetProjet(const wchar_t* pszNom, const wchar_t* pszRepertoire) override;
    void SetReponseQuery(int nCategorie, int nElement, intptr_t nValeur) override;
    void SetLangue(int nLangue, int nVersionDescription, bool bGereLangues) override;
    void AjouteDescription(const wchar_t* pszNom, uint32_t nType, std::vector<uint8_t> tab) override;
    // A setting of the project ("first_window", "name"...), empty when absent.
    std::wstring sGetParametre(const char* pszCle);
    // A description by name and type: from those added, then the project.
    bool bTrouveDescription(const wchar_t* pszNom, uint32_t nType, const std::vector<uint8_t>** pp);
    // A procedure of the project's Lua code by name (a global function):
    // whether it exists, and running it with parameters (0: it ran).
    bool bProcedureExiste(const std::wstring& sNom);
    int nExecuteProcedureNommee(const std::wstring& sNom, const CAny* pParametres, int nNbParametres);

private:
    CVM m_vm{this};
    CLibShop m_shop;
    CRunnerCPP m_runnerCPP;
    ICodeRunner* m_piRunner = &m_runnerCPP;
    void* m_hModule = nullptr;
    void* m_hModuleVM = nullptr;
    IKSLibrary* m_piComposante = nullptr;
    IObjGate* m_piGate = nullptr;
    IExe* m_piExe = nullptr;
    bool m_bDemarre = false;
    std::unique_ptr<CConteneurProjet> m_pProjet;
    std::unique_ptr<CRunnerLua> m_pRunnerLua;  // for projects whose code is Lua
    std::map<std::pair<std::wstring, uint32_t>, std::vector<uint8_t>> m_descriptions;
};

// Whether the program runs several threads (the module reads its address).
extern int gbMultitacheVM;
