#include "vm/CHote.h"
#include "kv/boites.h"
#include "vm/ValeursHote.h"
#include "kv/tables.h"
#include "vm/Export.h"
#include <QString>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <filesystem>

int gbMultitacheVM = 0;

namespace {
std::atomic<int> gnFinModule{0};

// The folder this shared object was loaded from.
std::string RepertoireDuModuleVM() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&RepertoireDuModuleVM), &info) && info.dli_fname)
        return std::filesystem::path(info.dli_fname).parent_path().string();
    return ".";
}

std::string CheminDuModuleVM() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&RepertoireDuModuleVM), &info) && info.dli_fname) return info.dli_fname;
    return {};
}
} // namespace

// The global factory of decimals lives with the conversions.
class IFabriqueGlobale;
IFabriqueGlobale* pGetFabriqueGlobaleVM() __attribute__((weak));

// ---------------------------------------------------------------- Execution

KVVM_EXPORT intptr_t Execution(unsigned nCode, intptr_t nParametre) {
    if (nCode == KV_EXEC_FIN_MODULE) {
        ++gnFinModule;
        return 1;
    }
    if (nCode != KV_EXEC_INFO_VM) return 0;
    static const wchar_t* const pszNomProduit = L"kv";
    switch (nParametre) {
    case eIVM_CODE_PRODUIT: return 190;
    case eIVM_LANGAGE_INTERNE: return 0;
    case eIVM_NOM_PRODUIT: return reinterpret_cast<intptr_t>(pszNomProduit);
    case eIVM_OPTIONS: return 0;
    case eIVM_CODE_PRODUIT_REEL: return 190;
    case eIVM_VERSION_ACTIVE: return 190;
    case eIVM_FABRIQUE_GLOBALE: return pGetFabriqueGlobaleVM ? reinterpret_cast<intptr_t>(pGetFabriqueGlobaleVM()) : 0;
    case eIVM_ADRESSE_MULTITHREAD: return reinterpret_cast<intptr_t>(&gbMultitacheVM);
    default: return 0;  // no shop here (it comes in the start-up block), no topology, locale or allocator objects
    }
}

// ---------------------------------------------------------------- CVM

// The module hands a result as the address of a value and its code: the
// language's scalar and string codes, or a signature's result code (121 a
// wide string pointer, 140 and 57 an object pointer, 14 a handle, 31 a CAny).
void CVM::SetResultat(void* pSlot, const void* pValeur, int nType) {
    auto* pst = static_cast<STSlotAppel*>(pSlot);
    if (!pst || !pValeur) return;
    STValeurHote v;
    v.nType = nType;
    switch (nType) {
    case KS_BOOL: case KS_I4: case KS_I4BIS: v.nEntier = *static_cast<const int32_t*>(pValeur); break;
    case KS_I8: v.nEntier = *static_cast<const int64_t*>(pValeur); break;
    case KS_UIX:
        v.nType = KS_I8;
        v.nEntier = static_cast<int64_t>(*static_cast<const uintptr_t*>(pValeur));
        break;
    case KS_R8: v.dReel = *static_cast<const double*>(pValeur); break;
    case KS_PSTRW: case KS_DSTRW: case eSIG_CHAINE_RESULTAT: {
        const wchar_t* psz = *static_cast<const wchar_t* const*>(pValeur);
        v.nType = KS_PSTRW;
        v.sTexte = psz ? psz : L"";
        break;
    }
    case eSIG_ANY: v = ValeurDepuisAny(*static_cast<const CAny*>(pValeur)); break;
    case eSIG_OBJET: case eSIG_OBJET_RESULTAT: case KS_OBJET:
        v.nType = KS_OBJET;
        v.pObjet = *static_cast<void* const*>(pValeur);
        if (!v.pObjet) v.nType = KS_VIDE;
        break;
    default: v.pObjet = *static_cast<void* const*>(pValeur); break;
    }
    pst->stResultat = std::move(v);
    pst->bResultat = true;
}

int CVM::nExecuteCode(uint32_t nIDBas, uint32_t nIDHaut, int nEvenement, void* piObjet, const void* pParametres,
                      int nNbParametres, int) {
    ICodeRunner* r = m_pHote->piGetRunner();
    if (!r) return 0;
    STExecutionCode st{(static_cast<uint64_t>(nIDHaut) << 32) | nIDBas, nEvenement, piObjet, pParametres, nNbParametres};
    // A window's declaration code receives the parameters of its opening.
    if (nEvenement == 0 && !pParametres) {
        auto it = m_instances.find(piObjet);
        if (it != m_instances.end()) {
            st.pParametres = &it->second;
            st.nNbParametres = static_cast<int>(it->second.size());
        }
    }
    return r->nExecute(st);
}

int CVM::nPossedeCode(uint32_t nIDBas, uint32_t nIDHaut, int nEvenement) {
    ICodeRunner* r = m_pHote->piGetRunner();
    if (!r) return 0;
    return r->bPossedeCode((static_cast<uint64_t>(nIDHaut) << 32) | nIDBas, nEvenement) ? 1 : 0;
}

int CVM::nExecuteProcedure(void* pProcedure, intptr_t pParametres, intptr_t nNbParametres, intptr_t) {
    auto it = m_procedures.find(pProcedure);
    if (it != m_procedures.end())
        return m_pHote->nExecuteProcedureNommee(*it->second, reinterpret_cast<const CAny*>(pParametres),
                                                pParametres ? static_cast<int>(nNbParametres) : 0);
    ICodeRunner* r = m_pHote->piGetRunner();
    return r ? r->nExecuteProcedure(pProcedure) : 1;
}

void* CVM::pGetProcedure(const wchar_t* pszNom) {
    if (!pszNom || !*pszNom || !m_pHote->bProcedureExiste(pszNom)) return nullptr;
    auto p = std::make_unique<std::wstring>(pszNom);
    void* pProcedure = p.get();
    m_procedures.emplace(pProcedure, std::move(p));
    return pProcedure;
}

void CVM::LibereProcedure(void* pProcedure) { m_procedures.erase(pProcedure); }

intptr_t CVM::nQuery(int nCategorie, int nElement) {
    auto it = m_reponses.find({nCategorie, nElement});
    if (it != m_reponses.end()) return it->second;
    if (nCategorie == eQVM_MULTITHREAD) return gbMultitacheVM;
    if (nCategorie == eQVM_BOITES_PERSONNALISEES) return m_pHote->sGetParametre("custom_message_boxes") == L"true" ? 1 : 0;
    if (nCategorie == eQVM_DERNIERE_ERREUR) {
        // The last error of the project's code, as its runner kept it.
        auto* r = dynamic_cast<IRunnerLua*>(m_pHote->piGetRunnerProjet());
        m_sDerniereErreur = r ? QString::fromStdString(r->sDerniereErreur()).toStdWString() : std::wstring();
        return reinterpret_cast<intptr_t>(m_sDerniereErreur.c_str());
    }
    if (nCategorie == eQVM_TRAITEMENT && nElement != 3) {
        static const wchar_t* const pszVide = L"";
        return reinterpret_cast<intptr_t>(pszVide);
    }
    return 0;
}

void* CVM::pGetInterface(int nNumero) {
    switch (nNumero) {
    case 1: return m_pHote->piGetComposante();
    case 8: return this;  // persistence is obtained from the shop on behalf of this program
    default: return nullptr;
    }
}

int CVM::nChargeRessource(void*, const wchar_t*, void* hModule, const char* pszType, int nNumero, const void*, void*,
                          int, int) {
    // The module's own library is the module itself: it is there when the
    // handle is the module this host loaded.
    if (pszType && std::strcmp(pszType, "RT_KVL") == 0 && nNumero == 6812 && hModule &&
        hModule == m_pHote->hGetModule())
        return 0;
    return 1;
}

void CVM::Avertissement(const wchar_t* pszMessage) {
    std::fprintf(stderr, "warning: %ls\n", pszMessage ? pszMessage : L"");
}

namespace {
std::string VersUTF8(const std::wstring& s) { return QString::fromStdWString(s).toStdString(); }
std::wstring Majuscules(const wchar_t* psz) { return QString::fromWCharArray(psz ? psz : L"").toUpper().toStdWString(); }
} // namespace

// ---------------------------------------------------------------- procedures by name

// A procedure of the project's Lua code is a global function (_G.NAME): the
// runner finds it by name among the globals only (not among the module's
// functions or the windows) and runs it with the parameters.
bool CHote::bProcedureExiste(const std::wstring& sNom) {
    return m_pRunnerLua && m_piRunner == m_pRunnerLua.get() && m_pRunnerLua->bProcedureExiste(sNom);
}

int CHote::nExecuteProcedureNommee(const std::wstring& sNom, const CAny* pParametres, int nNbParametres) {
    if (!m_pRunnerLua || m_piRunner != m_pRunnerLua.get()) return 1;
    std::vector<STValeurHote> tab;
    for (int i = 0; pParametres && i < nNbParametres; ++i) tab.push_back(ValeurDepuisAny(pParametres[i]));
    return m_pRunnerLua->nAppelleProcedure(sNom, tab, nullptr);
}

std::wstring CHote::sGetParametre(const char* pszCle) {
    std::string s;
    if (!m_pProjet || m_pProjet->eGetParametre(pszCle, s) != eLECTURE_OK) return {};
    return QString::fromStdString(s).toStdWString();
}

void CHote::AjouteDescription(const wchar_t* pszNom, uint32_t nType, std::vector<uint8_t> tab) {
    m_descriptions[{Majuscules(pszNom), nType}] = std::move(tab);
}

bool CHote::bTrouveDescription(const wchar_t* pszNom, uint32_t nType, const std::vector<uint8_t>** pp) {
    std::pair<std::wstring, uint32_t> cle{Majuscules(pszNom), nType};
    auto it = m_descriptions.find(cle);
    if (it == m_descriptions.end() && m_pProjet) {
        std::vector<uint8_t> tab;
        if (m_pProjet->eLitDescription(VersUTF8(pszNom ? pszNom : L""), static_cast<int>(nType), tab) == eLECTURE_OK)
            it = m_descriptions.emplace(cle, std::move(tab)).first;  // kept alive for the program's life
    }
    if (it == m_descriptions.end()) return false;
    *pp = &it->second;
    return true;
}

int CVM::nChercheDescription(STRechercheDescription* pst) {
    if (!pst) return 1;
    const std::vector<uint8_t>* p = nullptr;
    if (!m_pHote->bTrouveDescription(pst->pszNom, pst->nType, &p)) {
        pst->nCodeErreur = 1;
        std::swprintf(pst->szMessage, 40, L"no description of type %u", pst->nType);
        return 1;
    }
    pst->pDonnees = p->data();
    pst->nTailleDonnees = p->size();
    pst->nCodeErreur = 0;
    return 0;
}

int CVM::nChargeDescriptionParNom(const wchar_t* pszNom, uint32_t nType, const void** ppDonnees, size_t* pnTaille) {
    const std::vector<uint8_t>* p = nullptr;
    if (!m_pHote->bTrouveDescription(pszNom, nType, &p)) return 1;
    *ppDonnees = p->data();
    *pnTaille = p->size();
    return 0;
}

bool CVM::bInitVMFenetre(void* pFenetre, const wchar_t*) {
    m_instances[pFenetre];
    std::erase(m_ordreInstances, pFenetre);
    m_ordreInstances.push_back(pFenetre);
    return true;
}

void CVM::TermVMFenetre(void* pFenetre) {
    m_instances.erase(pFenetre);
    std::erase(m_ordreInstances, pFenetre);
    if (ICodeRunner* r = m_pHote->piGetRunner()) r->FinFenetre(pFenetre);
}

int CVM::nPasseParametresOuverture(void* pSlot, void* pFenetre) {
    auto* pst = static_cast<STSlotAppel*>(pSlot);
    auto& tab = m_instances[pFenetre];
    tab = pst ? pst->tabParamSupp : std::vector<STValeurHote>{};
    return static_cast<int>(tab.size());
}

int CVM::nGetNbParametresSupp(void* pSlot) {
    auto* pst = static_cast<STSlotAppel*>(pSlot);
    return pst ? static_cast<int>(pst->tabParamSupp.size()) : 0;
}

bool CVM::bGetParametreSupp(void* pSlot, int i, std::wstring& sValeur, int& nType) {
    auto* pst = static_cast<STSlotAppel*>(pSlot);
    if (!pst || i < 0 || i >= static_cast<int>(pst->tabParamSupp.size())) return false;
    const STValeurHote& v = pst->tabParamSupp[i];
    nType = v.nType;
    switch (v.nType) {
    case KS_PSTRW: case KS_DSTRW: sValeur = v.sTexte; break;
    case KS_R8: case KS_R4: sValeur = QString::number(v.dReel, 'g', 17).toStdWString(); break;
    default: sValeur = std::to_wstring(v.nEntier); break;
    }
    return true;
}

std::wstring CVM::sConstruitMessage(const wchar_t* pszFormat, void* pSlot) {
    const int nParametres = nGetNbParametresSupp(pSlot);
    return sRemplaceMarques(pszFormat ? pszFormat : L"", [&](int n, std::wstring& sValeur) {
        int nType = 0;
        return n <= nParametres && bGetParametreSupp(pSlot, n - 1, sValeur, nType);
    });
}

int CVM::nExecuteProcedureNommee(const wchar_t* pszNom, const std::vector<std::wstring>& tabParametres, int& nResultat) {
    ICodeRunner* r = m_pHote->piGetRunner();
    return r ? r->nExecuteProcedureNommee(pszNom ? pszNom : L"", tabParametres, nResultat) : 1;
}

bool CVM::bEcritParametreSupp(void* pSlot, int i, const std::wstring& sValeur, int nType) {
    auto* pst = static_cast<STSlotAppel*>(pSlot);
    if (!pst || i < 0 || i >= static_cast<int>(pst->tabParamSupp.size())) return false;
    STValeurHote& v = pst->tabParamSupp[i];
    v = STValeurHote();
    v.nType = nType;
    bool bOk = true;
    switch (nType) {
    case KS_BOOL: case KS_I1: case KS_I2: case KS_I4: case KS_I4BIS: case KS_I8: case KS_UI1: case KS_UI2: case KS_UI4:
    case KS_UI8: case KS_UIX:
        v.nEntier = QString::fromStdWString(sValeur).trimmed().toLongLong(&bOk);
        break;
    case KS_R4: case KS_R8: v.dReel = QString::fromStdWString(sValeur).trimmed().toDouble(&bOk); break;
    default: bOk = false; break;
    }
    // What does not read as the variable's type stays text.
    if (!bOk) {
        v = STValeurHote();
        v.nType = KS_PSTRW;
        v.sTexte = sValeur;
    }
    return true;
}

void CVM::ActionGenerique(int nAction, intptr_t nParametre) {
    if (ICodeRunner* r = m_pHote->piGetRunner()) r->ActionGenerique(nAction, nParametre);
}

// ---------------------------------------------------------------- CHote

CHote::CHote() = default;

CHote::~CHote() { Arrete(); }

int CHote::nGetNbFinModule() const { return gnFinModule; }

void CHote::SetProjet(const wchar_t* pszNom, const wchar_t* pszRepertoire) {
    m_shop.SetProjet(pszNom ? pszNom : L"", pszRepertoire ? pszRepertoire : L"");
}

void CHote::SetReponseQuery(int nCategorie, int nElement, intptr_t nValeur) { m_vm.m_reponses[{nCategorie, nElement}] = nValeur; }

void CHote::SetLangue(int nLangue, int nVersionDescription, bool bGereLangues) {
    m_vm.m_nLangue = nLangue;
    m_vm.m_description.m_nVersion = nVersionDescription;
    m_vm.m_description.m_bGereLangues = bGereLangues;
}

void* CHote::pSymboleModule(const char* pszNom) { return m_hModule ? dlsym(m_hModule, pszNom) : nullptr; }

bool CHote::bDemarre(const STOptionsHote& st, std::string& sErreur) {
    if (m_bDemarre) {
        sErreur = "the host is already started";
        return false;
    }
    gbMultitacheVM = st.bMultitache ? 1 : 0;
    m_shop.SetFichierPersistance(st.sPersistance);
    if (!st.sProjet.empty()) {
        std::filesystem::path p = std::filesystem::absolute(st.sProjet);
        m_pProjet = std::make_unique<CConteneurProjet>();
        if (!m_pProjet->bOuvre(p.string())) {
            sErreur = m_pProjet->sGetErreur();
            m_pProjet.reset();
            return false;
        }
        std::string sNom, sRep;
        if (m_pProjet->eGetParametre("name", sNom) != eLECTURE_OK) sNom = p.stem().string();
        // The project's folder (its images and files) is where it was compiled from.
        std::wstring sRepertoire = p.parent_path().wstring();
        if (m_pProjet->eGetParametre("image_folder", sRep) == eLECTURE_OK && std::filesystem::is_directory(sRep))
            sRepertoire = QString::fromStdString(sRep).toStdWString();
        m_shop.SetProjet(QString::fromStdString(sNom).toStdWString(), sRepertoire);
    }

    std::string sModule = st.sModule.empty() ? RepertoireDuModuleVM() + "/kv190obj.so" : st.sModule;
    m_hModule = dlopen(sModule.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_hModule) {
        sErreur = std::string("cannot load the module: ") + dlerror();
        return false;
    }
    // Our own handle, handed to the module so that it finds our exports.
    m_hModuleVM = dlopen(CheminDuModuleVM().c_str(), RTLD_NOW | RTLD_NOLOAD);

    auto sym = [&](const char* pszNom) { return dlsym(m_hModule, pszNom); };
    auto pfnInit = reinterpret_cast<PFN_bInitLibrary>(sym("bInitLibrary"));
    auto pfnExecution = reinterpret_cast<PFN_Execution>(sym("Execution"));
    auto pfnProxy = reinterpret_cast<PFN_pQueryProxy>(sym("pQueryProxy"));
    auto pfnConv = reinterpret_cast<PFN_bInitKSFromVM>(sym("bInitKSConvFromVM"));
    auto pfnCalc = reinterpret_cast<PFN_bInitKSFromVM>(sym("bInitKSCalcFromVM"));
    if (!pfnInit || !pfnExecution || !pfnProxy || !pfnConv || !pfnCalc || !sym("TermLibrary")) {
        sErreur = "the module lacks an entry point";
        Arrete();
        return false;
    }
    if (!pfnInit(m_hModule)) {
        sErreur = "bInitLibrary failed";
        Arrete();
        return false;
    }
    m_bDemarre = true;
    STInitExecution bloc{};
    bloc.nTaille = 12;
    bloc.hModuleVM = m_hModuleVM;
    bloc.pLibShop = &m_shop;
    if (!pfnExecution(3985, &bloc)) {
        sErreur = "Execution(3985) failed";
        Arrete();
        return false;
    }
    if (!pfnConv(m_hModuleVM, KV_CONV_VERSION, KV_CONV_COMPAT) || !pfnCalc(m_hModuleVM, KV_CONV_VERSION, KV_CONV_COMPAT)) {
        sErreur = "the module refused the conversion or calculation routines";
        Arrete();
        return false;
    }
    m_piComposante = static_cast<IKSLibrary*>(pfnProxy(KV_PROXY_COMPOSANTE));
    m_piGate = static_cast<IObjGate*>(pfnProxy(KV_PROXY_GATE));
    if (!m_piComposante || !m_piGate) {
        sErreur = "the module gave no component or gate";
        Arrete();
        return false;
    }
    m_piGate->GivLibShop(&m_shop);
    void* pExe = nullptr;
    if (!m_piGate->bCreeInterface(0, &pExe, nullptr) || !pExe) {
        sErreur = "the module gave no application context";
        Arrete();
        return false;
    }
    m_piExe = static_cast<IExe*>(pExe);
    m_piExe->LoadVM(&m_vm);
    // A project's event code runs in Lua.
    if (m_pProjet) {
        STAccesModule acces;
        acces.fnSymbole = [this](const char* psz) { return pSymboleModule(psz); };
        acces.fnVM = [this]() -> IVM* { return &m_vm; };
        acces.fnComposante = [this] { return m_piComposante; };
        acces.fnGate = [this] { return m_piGate; };
        acces.fnFenetres = [this] { return m_vm.m_ordreInstances; };
        acces.fnPrendStop = [this] { return m_vm.nPrendStop(); };
        m_pRunnerLua = std::make_unique<CRunnerLua>(std::move(acces));
        if (!m_pRunnerLua->bCharge(*m_pProjet)) {
            sErreur = "the project's event code does not compile";
            Arrete();
            return false;
        }
        m_piRunner = m_pRunnerLua.get();
    }
    return true;
}

void CHote::Arrete() {
    if (m_hModule) {
        if (m_bDemarre) {
            if (m_piGate) m_piGate->Terminate();  // closes every window, releases the context
            m_piExe = nullptr;
            if (m_piComposante) m_piComposante->Release();
            if (m_piGate) m_piGate->Release();
            m_piComposante = nullptr;
            m_piGate = nullptr;
            if (auto pfnExecution = reinterpret_cast<PFN_Execution>(dlsym(m_hModule, "Execution")))
                pfnExecution(4875, nullptr);
            if (auto pfnTerm = reinterpret_cast<PFN_TermLibrary>(dlsym(m_hModule, "TermLibrary"))) pfnTerm();
        }
        dlclose(m_hModule);
        m_hModule = nullptr;
    }
    if (m_hModuleVM) {
        dlclose(m_hModuleVM);
        m_hModuleVM = nullptr;
    }
    m_bDemarre = false;
    if (m_piRunner == m_pRunnerLua.get()) m_piRunner = &m_runnerCPP;
    m_pRunnerLua.reset();
}

KVVM_EXPORT IHote* KVVM_pCreeHote() { return new CHote(); }
