// Event code of windows and controls: the common routine around the virtual
// machine (current object, focus requests, busy cursor, hooks), the entry and
// exit code guards, and the tables of code in use.
#include "controls/core/CChamp.h"
#include "controls/core/CIChamp.h"
#include "controls/core/CodeEvenement.h"
#include "frame/CExe.h"
#include "windows/CFenPrincipale.h"
#include <gtest/gtest.h>
#include "VMNeutre.h"
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

// A virtual machine whose code is a callable per (object identifier, event),
// and which notes what it is asked to do, in order.
class VMFactice : public CVMNeutre {
public:
    using Code = std::function<void()>;
    void Enregistre(uint64_t nID, int nEvenement, Code f) { m_codes[{nID, nEvenement}] = std::move(f); }
    std::vector<std::string> journal;

    int nExecuteCode(uint32_t nBas, uint32_t nHaut, int nEvenement, void*, const void*, int, int) override {
        uint64_t nID = (uint64_t(nHaut) << 32) | nBas;
        journal.push_back("code " + std::to_string(nID) + ":" + std::to_string(nEvenement));
        auto it = m_codes.find({nID, nEvenement});
        if (it != m_codes.end()) it->second();
        return 0;
    }
    void DebutCode() override { journal.push_back("begin"); }
    void FinCode() override { journal.push_back("end"); }
    int nPossedeCode(uint32_t, uint32_t, int) override { return -1; }

private:
    std::map<std::pair<uint64_t, int>, Code> m_codes;
};

// A window that notes when it applies a focus request.
class CFenJournal : public CFenPrincipale {
public:
    CFenJournal(const wchar_t* psz, std::vector<std::string>& journal) : CFenPrincipale(psz), m_journal(journal) {}
    void vAppliqueDemandeFocus(CObjetAPCodeOBJ* pclOrigine) override {
        m_journal.push_back("focus");
        CFenPrincipale::vAppliqueDemandeFocus(pclOrigine);
    }

private:
    std::vector<std::string>& m_journal;
};

class CChampTest : public CChamp {
public:
    explicit CChampTest(const wchar_t* pszNom) { SetName(pszNom); }
    int dwGetId() const override { return ID_SAISIE; }
    ISurchargeTraitement* vpiGetSurchargeTraitement() override { return pSurcharge; }
    ISurchargeTraitement* pSurcharge = nullptr;
};

constexpr uint64_t ID_A = 0xA0000000Aull, ID_B = 0xB;
const std::string CODE_A = "code " + std::to_string(ID_A) + ":";
const std::string CODE_B = "code " + std::to_string(ID_B) + ":";

// A window with two controls A and B, and the virtual machine loaded.
class CodeEvenement : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(gpclExe, nullptr);
        gpclExe = new CExe();
        gpclExe->LoadVM(&vm);
        fen = new CFenJournal(L"FEN", vm.journal);
        a = Ajoute(L"EDT_A", ID_A);
        b = Ajoute(L"EDT_B", ID_B);
    }
    void TearDown() override {
        gpclExe->SablierAnnuleTout();
        gpclExe->SetHookTraitement(nullptr);
        fen->nRelease();
        gpclExe->nRelease();
        gpclExe = nullptr;
    }
    CChampTest* Ajoute(const wchar_t* psz, uint64_t nID) {
        auto* p = new CChampTest(psz);
        p->SetQWID(nID);
        fen->Conteneur().AddChamp(p);
        p->nRelease();
        return p;
    }
    VMFactice vm;
    CFenJournal* fen = nullptr;
    CChampTest* a = nullptr;
    CChampTest* b = nullptr;
};

using Journal = std::vector<std::string>;

// ------------------------------------------------------------------ common routine

TEST_F(CodeEvenement, ObjectIsCurrentWhileItsCodeRuns) {
    vm.Enregistre(ID_A, 18, [&] {
        EXPECT_EQ(gpclExe->pclGetObjetCourant(), a);
        b->ExecutePCode(17);
        EXPECT_EQ(gpclExe->pclGetObjetCourant(), a) << "back to A after B's code";
    });
    vm.Enregistre(ID_B, 17, [&] { EXPECT_EQ(gpclExe->pclGetObjetCourant(), b); });
    a->ExecutePCode(18);
    EXPECT_EQ(gpclExe->pclGetObjetCourant(), nullptr);
    EXPECT_EQ(vm.journal, (Journal{"begin", CODE_A + "18", "begin", CODE_B + "17", "end", "end"}));
}

// A focus request is applied after the code when the code made it, or for
// declaration (0) and closing (2) code when one is pending at all.
enum Cible { AUCUNE, SUR_A, SUR_B };

struct CasFocus {
    const char* pszNom;
    int nEvenement;
    Cible eAvant;    // request pending before the code
    Cible ePendant;  // request the code makes
    bool bAppliquee;
};
void PrintTo(const CasFocus& k, std::ostream* os) { *os << k.pszNom; }

class CodeEvenementFocus : public CodeEvenement, public ::testing::WithParamInterface<CasFocus> {
protected:
    CChamp* Objet(Cible e) const { return e == SUR_A ? a : e == SUR_B ? b : nullptr; }
};

TEST_P(CodeEvenementFocus, RequestAppliedAfterTheCode) {
    const CasFocus& k = GetParam();
    if (k.eAvant != AUCUNE) gpclExe->SetRepriseSaisie(Objet(k.eAvant), 1);
    const std::string code = CODE_A + std::to_string(k.nEvenement);
    vm.Enregistre(ID_A, k.nEvenement, [&] {
        if (k.ePendant != AUCUNE) gpclExe->SetRepriseSaisie(Objet(k.ePendant), 2);
        EXPECT_EQ(vm.journal.back(), code) << "nothing applied while the code runs";
    });
    a->ExecutePCode(k.nEvenement);
    if (k.bAppliquee) {
        EXPECT_EQ(vm.journal, (Journal{"begin", code, "focus", "end"}));
        EXPECT_EQ(gpclExe->pclGetRepriseSaisie(), nullptr) << "the applied request is cleared";
    } else {
        EXPECT_EQ(vm.journal, (Journal{"begin", code, "end"}));
        EXPECT_EQ(gpclExe->pclGetRepriseSaisie(), Objet(k.eAvant));
    }
}

INSTANTIATE_TEST_SUITE_P(Cas, CodeEvenementFocus,
                         ::testing::Values(CasFocus{"MadeDuringTheCode", 18, AUCUNE, SUR_B, true},
                                           CasFocus{"MadeDuringTheCodeOverAnOlderOne", 18, SUR_B, SUR_A, true},
                                           CasFocus{"RepeatedDuringTheCode", 18, SUR_B, SUR_B, true},
                                           CasFocus{"OnlyAnOlderOne", 18, SUR_B, AUCUNE, false},
                                           CasFocus{"None", 18, AUCUNE, AUCUNE, false},
                                           CasFocus{"PendingAfterDeclarations", 0, SUR_B, AUCUNE, true},
                                           CasFocus{"PendingAfterClosing", 2, SUR_B, AUCUNE, true}),
                         [](const auto& i) { return std::string(i.param.pszNom); });

struct CasSablier {
    const char* pszNom;
    int nAvant;    // busy cursors shown before the code
    int nPendant;  // busy cursors the code shows and leaves
    int nApres;
};
void PrintTo(const CasSablier& k, std::ostream* os) { *os << k.pszNom; }

class CodeEvenementSablier : public CodeEvenement, public ::testing::WithParamInterface<CasSablier> {};

TEST_P(CodeEvenementSablier, BusyCursorLeftByTheCodeIsCancelled) {
    const CasSablier& k = GetParam();
    for (int i = 0; i < k.nAvant; ++i) gpclExe->SablierVrai();
    vm.Enregistre(ID_A, 18, [&] {
        for (int i = 0; i < k.nPendant; ++i) gpclExe->SablierVrai();
    });
    a->ExecutePCode(18);
    EXPECT_EQ(gpclExe->nGetNiveauSablier(), k.nApres);
}

INSTANTIATE_TEST_SUITE_P(Cas, CodeEvenementSablier,
                         ::testing::Values(CasSablier{"OneLeftOn", 0, 1, 0},
                                           CasSablier{"TwoLeftOn", 0, 2, 0},
                                           CasSablier{"AlreadyOnBefore", 1, 1, 2},
                                           CasSablier{"NoneShown", 0, 0, 0}),
                         [](const auto& i) { return std::string(i.param.pszNom); });

// Nothing runs, and the virtual machine is not even told, for an object
// whose window is closed or missing, or without a virtual machine.
TEST_F(CodeEvenement, NothingRunsWithoutALiveWindowOrAVirtualMachine) {
    vm.Enregistre(ID_A, 18, [] { ADD_FAILURE() << "code ran"; });

    CFenPrincipale::Ferme(fen, 0);
    ASSERT_FALSE(fen->bEstVivante());
    a->ExecutePCode(18);
    EXPECT_TRUE(vm.journal.empty()) << "window closed";

    auto* seul = new CChampTest(L"SEUL");
    seul->SetQWID(ID_A);
    seul->ExecutePCode(18);
    EXPECT_TRUE(vm.journal.empty()) << "control without a window";
    seul->nRelease();

    auto* f2 = new CFenPrincipale(L"FEN2");
    auto* c2 = new CChampTest(L"EDT");
    c2->SetQWID(ID_A);
    f2->Conteneur().AddChamp(c2);
    c2->nRelease();
    gpclExe->LoadVM(nullptr);
    c2->ExecutePCode(18);
    EXPECT_TRUE(vm.journal.empty()) << "no virtual machine";
    f2->nRelease();
}

// The application's event hook, and a handler override on the object.
struct Appel {
    std::wstring sObjet;
    int nEvenement;
    void* pData;
    bool operator==(const Appel&) const = default;
};
std::vector<Appel> gAppelsHook;
void HookApplication(const wchar_t* psz, int n, void* p) { gAppelsHook.push_back({L"app:" + std::wstring(psz), n, p}); }
void HookSurcharge(const wchar_t* psz, int n, void* p) { gAppelsHook.push_back({L"override:" + std::wstring(psz), n, p}); }

class Surcharge : public ISurchargeTraitement {
public:
    PFN_HOOK pfnGetHook() override { return &HookSurcharge; }
    void* pGetDataHook() override { return this; }
    bool bDoitExecuter(int) override { return bExecute; }
    bool bExecute = false;
};

TEST_F(CodeEvenement, HookIsCalledAndAnOverrideDecides) {
    gAppelsHook.clear();
    gpclExe->SetHookTraitement(&HookApplication);
    a->ExecutePCode(18);
    EXPECT_EQ(gAppelsHook, (std::vector<Appel>{{L"app:EDT_A", 18, nullptr}}));
    EXPECT_EQ(vm.journal, (Journal{"begin", CODE_A + "18", "end"}));

    Surcharge s;
    a->pSurcharge = &s;
    gAppelsHook.clear();
    vm.journal.clear();
    a->ExecutePCode(17);
    EXPECT_EQ(gAppelsHook, (std::vector<Appel>{{L"override:EDT_A", 17, &s}}));
    EXPECT_TRUE(vm.journal.empty()) << "the override said the code does not run";

    s.bExecute = true;
    a->ExecutePCode(17);
    EXPECT_EQ(vm.journal, (Journal{"begin", CODE_A + "17", "end"}));
    a->pSurcharge = nullptr;
}

// ------------------------------------------------------------------ entry and exit code

TEST_F(CodeEvenement, EntryCodeIsNotRunAgainWhileItRuns) {
    int nAppels = 0;
    bool bDeuxieme = false;
    vm.Enregistre(ID_A, 15, [&] {
        ++nAppels;
        EXPECT_TRUE(a->byGetFlag(0) & FLAG0_CODE_ENTREE);
        EXPECT_TRUE(a->vbInPcodeDEntree());
        bDeuxieme = a->_bExecuteCodeEntree();  // the code moves the focus back into A
    });
    EXPECT_TRUE(a->_bExecuteCodeEntree());
    EXPECT_EQ(nAppels, 1);
    EXPECT_TRUE(bDeuxieme) << "the skipped entry reports success";
    EXPECT_FALSE(a->vbInPcodeDEntree());
}

// What entry code asks, and what the entry reports. A request pending
// before the entry survives it when the code asks nothing.
struct CasEntreeSortie {
    const char* pszNom;
    std::function<void(CChampTest* a, CChampTest* b, CFenPrincipale* f)> code;
    bool bResultat;
};
void PrintTo(const CasEntreeSortie& k, std::ostream* os) { *os << k.pszNom; }

class CodeEntree : public CodeEvenement, public ::testing::WithParamInterface<CasEntreeSortie> {};

TEST_P(CodeEntree, Result) {
    const CasEntreeSortie& k = GetParam();
    CChampTest* c = new CChampTest(L"EDT_C");
    gpclExe->SetRepriseSaisie(c, 9);  // an older request, not made by this code
    vm.Enregistre(ID_A, 15, [&] { k.code(a, b, fen); });
    EXPECT_EQ(a->_bExecuteCodeEntree(), k.bResultat);
    if (k.bResultat) {
        EXPECT_EQ(gpclExe->pclGetRepriseSaisie(), c) << "the older request is given back";
        EXPECT_EQ(gpclExe->nGetLastCmdRepriseSaisie(), 9);
    }
    gpclExe->SetRepriseSaisie(nullptr, 0);
    c->nRelease();
}

INSTANTIATE_TEST_SUITE_P(
    Cas, CodeEntree,
    ::testing::Values(CasEntreeSortie{"AsksNothing", [](CChampTest*, CChampTest*, CFenPrincipale*) {}, true},
                      CasEntreeSortie{"ResumesInputElsewhere",
                                      [](CChampTest*, CChampTest* b, CFenPrincipale*) { gpclExe->SetRepriseSaisie(b, 1); },
                                      false}),
    [](const auto& i) { return std::string(i.param.pszNom); });

class CodeSortie : public CodeEvenement, public ::testing::WithParamInterface<CasEntreeSortie> {};

TEST_P(CodeSortie, Result) {
    const CasEntreeSortie& k = GetParam();
    bool bDrapeau = false;
    vm.Enregistre(ID_A, 16, [&] {
        bDrapeau = a->vbInPcodeDeSortie();
        k.code(a, b, fen);
    });
    EXPECT_EQ(a->_bExecuteCodeSortie(), k.bResultat);
    EXPECT_TRUE(bDrapeau) << "flag 0x02 is set while the exit code runs";
    if (fen->Conteneur().nGetNbChamp() == 2) {
        EXPECT_FALSE(a->vbInPcodeDeSortie());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cas, CodeSortie,
    ::testing::Values(
        CasEntreeSortie{"AsksNothing", [](CChampTest*, CChampTest*, CFenPrincipale*) {}, true},
        CasEntreeSortie{"ResumesInputOnTheSameControl",
                        [](CChampTest* a, CChampTest*, CFenPrincipale*) { gpclExe->SetRepriseSaisie(a, 1); }, false},
        CasEntreeSortie{"ResumesInputOnAnotherControl",
                        [](CChampTest*, CChampTest* b, CFenPrincipale*) { gpclExe->SetRepriseSaisie(b, 1); }, true},
        CasEntreeSortie{"ClosesTheWindowAndResumesInput",
                        [](CChampTest*, CChampTest* b, CFenPrincipale* f) {
                            gpclExe->SetRepriseSaisie(b, 1);
                            CFenPrincipale::Ferme(f, 0);
                        },
                        false},
        CasEntreeSortie{"DestroysItsOwnControl",
                        [](CChampTest* a, CChampTest*, CFenPrincipale* f) {
                            f->Conteneur().DelChamp(a);
                            EXPECT_FALSE(a->bEstVivant());
                            EXPECT_GE(a->nGetRef(), 1u) << "still held while its code runs";
                        },
                        false}),
    [](const auto& i) { return std::string(i.param.pszNom); });

TEST_F(CodeEvenement, ExitWithoutRequestGivesBackAnOlderOne) {
    gpclExe->SetRepriseSaisie(b, 4);
    EXPECT_TRUE(a->_bExecuteCodeSortie());
    EXPECT_EQ(gpclExe->pclGetRepriseSaisie(), b);
    EXPECT_EQ(gpclExe->nGetLastCmdRepriseSaisie(), 4);
}

// ------------------------------------------------------------------ tables of code

struct CasInfo {
    int nEvenement;
    int nGenre;
    bool bReponse;
};
void PrintTo(const CasInfo& k, std::ostream* os) { *os << k.nEvenement << "/" << k.nGenre; }

class TableCode : public ::testing::TestWithParam<CasInfo> {};

TEST_P(TableCode, PCodeInfo) {
    const CasInfo& k = GetParam();
    auto* c = new CChampTest(L"EDT");
    // Compiled code for 15 and 16; 18 lies after an end value.
    c->SetTablePcode({15, 16, 0xFFFFFFFF, 18}, {33});
    EXPECT_EQ(c->bPCodeInfo(k.nEvenement, k.nGenre), k.bReponse);
    EXPECT_EQ(c->pclGetIChamp()->bPCodeInfo(k.nEvenement, k.nGenre), k.bReponse);
    c->nRelease();
}

INSTANTIATE_TEST_SUITE_P(Cas, TableCode,
                         ::testing::Values(CasInfo{15, 0, true}, CasInfo{16, 0, true}, CasInfo{18, 0, false},
                                           CasInfo{33, 0, false}, CasInfo{33, 1, true}, CasInfo{15, 1, false},
                                           CasInfo{15, 2, false}, CasInfo{33, 2, false}, CasInfo{15, -1, false}));

} // namespace
