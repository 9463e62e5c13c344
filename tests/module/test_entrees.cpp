// The module's entry points, reached only through dlopen as a host would.
#include "Binaires.h"
#include "kv/module.h"
#include <gtest/gtest.h>
#include <cwchar>
#include <set>
#include <sstream>
#include <string>

namespace {

struct Module {
    kvtest::Bibliotheque lib{kvtest::CheminBinaire("kv190obj.so")};
    PFN_bInitLibrary bInitLibrary = lib.Symbole<PFN_bInitLibrary>("bInitLibrary");
    PFN_TermLibrary TermLibrary = lib.Symbole<PFN_TermLibrary>("TermLibrary");
    PFN_pQueryProxy pQueryProxy = lib.Symbole<PFN_pQueryProxy>("pQueryProxy");
    PFN_Execution Execution = lib.Symbole<PFN_Execution>("Execution");
    PFN_InfoComposante InfoComposante = lib.Symbole<PFN_InfoComposante>("InfoComposante");
    PFN_CommandeComposante CommandeComposante = lib.Symbole<PFN_CommandeComposante>("CommandeComposante");
    PFN_pclCreateFactory pclCreateFactory = lib.Symbole<PFN_pclCreateFactory>("pclCreateFactory");
    PFN_DeclareProxy DeclareProxy = lib.Symbole<PFN_DeclareProxy>("DeclareProxy");
    PFN_bInitKSFromVM bInitKSConvFromVM = lib.Symbole<PFN_bInitKSFromVM>("bInitKSConvFromVM");
    PFN_bInitKSFromVM bInitKSCalcFromVM = lib.Symbole<PFN_bInitKSFromVM>("bInitKSCalcFromVM");
    PFN_DLLRES_pLoadResourceModule pLoadResource =
        lib.Symbole<PFN_DLLRES_pLoadResourceModule>("DLLRES_pLoadResourceModule");
};

class Entrees : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(m.bInitLibrary(m.lib.pHandle()), 1); }
    void TearDown() override {
        // Leave no execution object behind for the next test.
        while (m.Execution(5238, nullptr) == 1) m.Execution(4875, nullptr);
        EXPECT_EQ(m.TermLibrary(), 1);
    }
    // A start-up block naming a host module.
    static STInitExecution Bloc(void* hVM) {
        STInitExecution b{};
        b.nTaille = 12;
        b.hModuleVM = hVM;
        return b;
    }
    Module m;
};

TEST_F(Entrees, ProxiesAreNewObjectsForComponentAndGateOnly) {
    auto* a = static_cast<IKSLibrary*>(m.pQueryProxy(KV_PROXY_COMPOSANTE));
    auto* b = static_cast<IKSLibrary*>(m.pQueryProxy(KV_PROXY_COMPOSANTE));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    EXPECT_NE(a->pclGetError(), b->pclGetError());
    EXPECT_EQ(a->nGetVersion(), 7);
    EXPECT_EQ(a->nGetCompatSince(), 2);
    EXPECT_EQ(a->nGetDllNum(), -1);
    auto* g = static_cast<IObjGate*>(m.pQueryProxy(KV_PROXY_GATE));
    ASSERT_NE(g, nullptr);
    EXPECT_STREQ(g->pszGetModuleVersion(), L"19.0.356.39");
    EXPECT_EQ(m.pQueryProxy(5), nullptr);
    a->Release();
    b->Release();
    g->Release();
}

TEST_F(Entrees, ExecutionObjectIsCountedAcrossInitialisations) {
    kvtest::Bibliotheque vm(kvtest::CheminBinaire("kv190vm.so"));
    STInitExecution bloc = Bloc(vm.pHandle());
    EXPECT_EQ(m.Execution(5238, nullptr), 0) << "no execution object before 3985";
    EXPECT_EQ(m.Execution(3985, &bloc), 1);
    EXPECT_EQ(m.Execution(3985, &bloc), 1);
    EXPECT_EQ(m.Execution(4875, nullptr), 1);
    EXPECT_EQ(m.Execution(5238, nullptr), 1) << "one initialisation is still counted";
    EXPECT_EQ(m.Execution(4875, nullptr), 1);
    EXPECT_EQ(m.Execution(5238, nullptr), 0) << "the last 4875 destroys it";
    EXPECT_EQ(m.Execution(4875, nullptr), 1) << "a further 4875 does nothing";
    EXPECT_EQ(m.Execution(4879, nullptr), 1);
    EXPECT_EQ(m.Execution(12345, nullptr), 0);
}

TEST_F(Entrees, HostWithoutExecutionKeepsNothing) {
    kvtest::Bibliotheque autre("libz.so.1");
    STInitExecution bloc = Bloc(autre.pHandle());
    EXPECT_EQ(m.Execution(3985, &bloc), 0);
    EXPECT_EQ(m.Execution(5238, nullptr), 0);
    EXPECT_EQ(m.Execution(3985, nullptr), 0);
    EXPECT_EQ(m.Execution(5238, nullptr), 0);
}

TEST_F(Entrees, NativeTypesNeedTheHostFactory) {
    kvtest::Bibliotheque vm(kvtest::CheminBinaire("kv190vm.so"));
    STInitExecution bloc = Bloc(vm.pHandle());
    ASSERT_EQ(m.Execution(3985, &bloc), 1);
    CXError err;
    EXPECT_EQ(m.Execution(4963, &err), 1);
}

TEST_F(Entrees, InfoComposanteAnswers) {
    struct Cas { int nCode; uintptr_t nAttendu; };
    const Cas cas[] = {{0, 13}, {1, 1}, {2, 2819}, {3, 1}, {30, 1}, {32, 9}, {14, 113}, {38, 113}, {99, 0}, {-1, 0}};
    for (const Cas& c : cas) EXPECT_EQ(m.InfoComposante(c.nCode, 0), c.nAttendu) << "code " << c.nCode;

    auto* tabTypes = reinterpret_cast<const wchar_t* const*>(m.InfoComposante(31, 0));
    ASSERT_NE(tabTypes, nullptr);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(std::wstring(tabTypes[i]).rfind(L"+:", 0), 0u) << i;
    EXPECT_EQ(std::wstring(tabTypes[0]), L"+:070:0:MODEL:RendezVous");

    EXPECT_NE(m.InfoComposante(37, 0), 0u) << "object kind table";
    EXPECT_NE(m.InfoComposante(40, 0), 0u) << "packed name block";
    EXPECT_GE(m.InfoComposante(41, 0), 4u);
    EXPECT_NE(m.InfoComposante(39, 0), 0u);
    EXPECT_EQ(m.InfoComposante(39, 3), 0u);
    EXPECT_EQ(m.InfoComposante(4, 3), 0u);
    // Counts answer the rows the tables hold, and a table exists when it has rows.
    for (auto [nTable, nCompte] : {std::pair{33, 34}, {23, 24}, {25, 26}, {35, 36}})
        if (m.InfoComposante(nCompte, 0) > 0) EXPECT_NE(m.InfoComposante(nTable, 0), 0u) << nTable;
}

TEST_F(Entrees, VersionChecks) {
    auto* g = static_cast<IObjGate*>(m.pQueryProxy(KV_PROXY_GATE));
    struct Cas { const wchar_t* pszModule; const wchar_t* pszVersion; int bAttendu; };
    const Cas cas[] = {
        {L"KVETAT.dll", L"9.00Cd", 0}, {L"KVETAT.dll", L"9.00Ce", 1}, {L"KVETAT.dll", L"10.00", 1},
        {L"KVFEN.dll", L"10.00Ac", 0}, {L"KVFEN.dll", L"10.00Ad", 1}, {L"KVFEN.dll", L"9.99Zz", 0},
        {L"kv190vm.so", L"10.00Ak", 1}, {L"kv190vm.so", L"10.00Aj", 0}, {L"kv190vm.so", L"19.0", 1},
        {L"other.so", L"0", 1}, {L"other.so", L"", 1},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(g->bCheckVersion(c.pszModule, c.pszVersion), c.bAttendu) << std::wstring(c.pszModule).size() << " "
                                                                           << c.bAttendu;
    STVersionDLL st;
    std::wmemset(reinterpret_cast<wchar_t*>(&st), L'x', 36);
    g->GetInfoVersion(L"KVETAT.dll", &st);
    EXPECT_STREQ(st.szVersion, L"19.0.356.39");
    EXPECT_STREQ(st.szVersionMin, L"9.00Ce");
    g->GetInfoVersion(L"other.so", &st);
    EXPECT_STREQ(st.szVersionMin, L"");
    g->Release();
}

TEST_F(Entrees, ConversionAndCalculationRoutinesFollowTheVersionRule) {
    kvtest::Bibliotheque vm(kvtest::CheminBinaire("kv190vm.so"));
    kvtest::Bibliotheque autre("libz.so.1");
    struct Cas { void* h; int nVersion; int nCompat; int bAttendu; };
    const Cas cas[] = {
        {vm.pHandle(), 2, 2, 1}, {vm.pHandle(), 5, 0, 1}, {vm.pHandle(), 1, 2, 0},
        {vm.pHandle(), 2, 3, 0}, {autre.pHandle(), 2, 2, 0}, {nullptr, 2, 2, 0},
    };
    for (const Cas& c : cas) {
        EXPECT_EQ(m.bInitKSConvFromVM(c.h, c.nVersion, c.nCompat), c.bAttendu) << c.nVersion << "/" << c.nCompat;
        EXPECT_EQ(m.bInitKSCalcFromVM(c.h, c.nVersion, c.nCompat), c.bAttendu) << c.nVersion << "/" << c.nCompat;
    }
}

TEST_F(Entrees, SmallEntryPoints) {
    void* p[4] = {&p, &p, &p, &p};
    m.DeclareProxy(&p[0], &p[1], &p[2], &p[3]);
    for (void* q : p) EXPECT_EQ(q, nullptr);

    IClassFactory* f = m.pclCreateFactory();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->AddRef(), 2u);
    EXPECT_EQ(f->Release(), 1u);
    void* pExe = nullptr;
    EXPECT_EQ(f->CreateInstance(nullptr, 0, &pExe), 0);
    EXPECT_NE(pExe, nullptr);
    void* pRien = nullptr;
    EXPECT_NE(f->CreateInstance(nullptr, 200, &pRien), 0);
    EXPECT_EQ(pRien, nullptr);
    EXPECT_EQ(f->Release(), 0u);

    uint32_t nTaille = 99;
    EXPECT_EQ(m.pLoadResource(nullptr, L"RT_KVL", L"6812", &nTaille), nullptr);
    EXPECT_EQ(nTaille, 0u);
}

// The message record of CommandeComposante(3) and (4).
struct STDemandeMessage {
    uint32_t nReserve;
    int32_t nNumero;
    wchar_t* pszBuffer;
    int32_t nCapacite;
    int32_t nResultat;
};

int ChargeurExterne(int nNumero, wchar_t* psz, int nCapacite) {
    if (nNumero != 777 || nCapacite < 6) return 0;
    std::wcscpy(psz, L"outer");
    return 5;
}

TEST_F(Entrees, CommandeComposanteLoadsMessages) {
    wchar_t sz[256] = {};
    STDemandeMessage d{0, 10011, sz, 256, -5};
    EXPECT_GT(m.CommandeComposante(3, &d), 0);
    EXPECT_EQ(d.nResultat, static_cast<int>(std::wcslen(sz)));
    EXPECT_NE(std::wstring(sz).find(L"%1"), std::wstring::npos) << "the raw text keeps its placeholders";

    STDemandeMessage inconnu{0, 999999, sz, 256, -5};
    EXPECT_EQ(m.CommandeComposante(3, &inconnu), 0);

    STDemandeMessage d4{0, 10014, sz, 256, -5};
    EXPECT_GT(m.CommandeComposante(4, &d4), 0);
    EXPECT_EQ(m.CommandeComposante(4, nullptr), -1);

    EXPECT_EQ(m.CommandeComposante(2, reinterpret_cast<void*>(&ChargeurExterne)), 1);
    STDemandeMessage ext{0, 777, sz, 256, 0};
    EXPECT_EQ(m.CommandeComposante(3, &ext), 5);
    EXPECT_STREQ(sz, L"outer");
    EXPECT_EQ(m.CommandeComposante(9, nullptr), 0);
}

} // namespace

namespace {
// The module exports its entry points and glue functions and nothing else.
TEST(Exports, OnlyEntryPointsAndGlue) {
    std::string sCommande = "nm -D --defined-only " + kvtest::CheminBinaire("kv190obj.so") + " 2>&1";
    FILE* f = popen(sCommande.c_str(), "r");
    ASSERT_NE(f, nullptr);
    const std::set<std::string> entrees = {"bInitLibrary", "TermLibrary", "pQueryProxy", "Execution", "CommandeComposante",
                                           "InfoComposante", "pclCreateFactory", "DeclareProxy", "bInitKSConvFromVM",
                                           "bInitKSCalcFromVM", "DLLRES_pLoadResourceModule", "MessageBox_QT_A",
                                           "MessageBox_QT_W"};
    char buf[512];
    std::set<std::string> vues;
    while (fgets(buf, sizeof buf, f)) {
        std::istringstream ligne(buf);
        std::string adresse, genre, nom;
        ligne >> adresse >> genre >> nom;
        if (nom.empty()) continue;
        vues.insert(nom);
        bool bPermis = entrees.count(nom) || nom.rfind("KSL_", 0) == 0;
        EXPECT_TRUE(bPermis) << "exported: " << nom;
    }
    EXPECT_EQ(pclose(f), 0);
    for (const char* psz : {"bInitLibrary", "TermLibrary", "pQueryProxy", "Execution", "InfoComposante"})
        EXPECT_TRUE(vues.count(psz)) << psz;
}
} // namespace
