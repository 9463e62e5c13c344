// Containers of controls: reading a control list, tab order, groups, full
// names and the persistence of values between runs.
#include "Octets.h"
#include "controls/core/CChamp.h"
#include "controls/core/CConteneurChamp.h"
#include "controls/core/CGroupeChamp.h"
#include "frame/CExe.h"
#include "windows/CFenPrincipale.h"
#include <gtest/gtest.h>
#include "VMNeutre.h"
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace kvoctets;

namespace {

// A control of a chosen kind whose persisted value is a text.
class CChampTest : public CChamp {
public:
    explicit CChampTest(const wchar_t* pszNom, int nGenre = 2) : m_nGenre(nGenre) { SetName(pszNom); }
    int dwGetId() const override { return m_nGenre; }
    bool vbVoletsNommes() const override { return bVoletsNommes; }
    void SetVolets(std::vector<int32_t> tab) { m_tabVolets = std::move(tab); }

    CAny _vGetValeurPourPersistance() const override {
        CAny cl;
        cl.SetPSTRX(sValeur.c_str());
        return cl;
    }
    void _vSetValeurPourPersistance(const CAny& cl) override { cl.__nCastToString(sValeur); }

    bool bVoletsNommes = false;
    CTString sValeur;

private:
    int m_nGenre;
};

// Adds a new control to a container, which keeps the only reference.
CChampTest* Ajoute(CConteneurChamp& c, const wchar_t* pszNom, int nGenre = 2) {
    auto* p = new CChampTest(pszNom, nGenre);
    c.AddChamp(p);
    p->nRelease();
    return p;
}

// A container that belongs to a control (supercontrol, internal window).
class CConteneurDeChamp : public CConteneurChamp {
public:
    explicit CConteneurDeChamp(CChamp* p) : m_p(p) {}
    CChamp* pclGetChampProprietaire() const override { return m_p; }

private:
    CChamp* m_p;
};

int Erreur(const std::function<void()>& f, std::vector<std::wstring>* pArgs = nullptr) {
    try {
        f();
    } catch (const CXError& e) {
        if (pArgs) *pArgs = e.tabGetArgs();
        return e.nGetErreur();
    }
    return 0;
}

// ------------------------------------------------------------------ control lists

// Kinds a description may hold that no reader creates: internal windows
// (31, 32, created by their own path), 93, kinds above 112, and negative
// ones. Each entry is stepped over by its declared size, whatever its body.
const Octets LISTE_NON_SUPPORTES = Octets{
    LE32(0xB3F4F2A7), LE32(1701), LE32(5),           // marker, list version, count
    LE32(20), LE32(31), LE32(1), LE32(2), LE32(3),   // size, kind 31, a body of 12 bytes
    LE32(11), LE32(113), 0xEE, 0xEE, 0xEE,           // size, kind 113, 3 bytes
    LE32(8), LE32(93),                               // size, kind 93, no body
    LE32(12), LE32(32), LE32(0xFFFFFFFF),            // size, kind 32, 4 bytes
    LE32(8), LE32(-1),                               // size, kind -1
} + Octets{LE32(0x5E771E)};                          // the next item after the list

class ListeChamps : public ::testing::TestWithParam<bool> {};

TEST_P(ListeChamps, UnsupportedKindsAreSteppedOverByTheirSize) {
    CKVBuffer b(LISTE_NON_SUPPORTES.data(), LISTE_NON_SUPPORTES.size());
    CConteneurChamp c;
    ASSERT_EQ(Erreur([&] { c.xDeserialise(b, GetParam()); }), 0);
    EXPECT_EQ(c.nGetNbChamp(), 0);
    uint32_t nSuite = 0;
    b >> nSuite;
    EXPECT_EQ(nSuite, 0x5E771Eu) << "the list ends where its last entry's size says";
}

INSTANTIATE_TEST_SUITE_P(Modes, ListeChamps, ::testing::Bool(),
                         [](const auto& i) { return std::string(i.param ? "Tolerant" : "Strict"); });

// A count or an entry size the bytes cannot hold is a truncated list in
// both modes, and nothing is sized for controls that are not there.
struct CasListeFausse {
    const char* pszNom;
    Octets octets;
    std::vector<std::wstring> args;
};
void PrintTo(const CasListeFausse& k, std::ostream* os) { *os << k.pszNom; }

class ListeChampsFausse : public ::testing::TestWithParam<std::tuple<CasListeFausse, bool>> {};

TEST_P(ListeChampsFausse, FailsAsTruncated) {
    const auto& [k, bTolerant] = GetParam();
    CKVBuffer b(k.octets.data(), k.octets.size());
    CConteneurChamp c;
    std::vector<std::wstring> args;
    EXPECT_EQ(Erreur([&] { c.xDeserialise(b, bTolerant); }, &args), 10011);
    EXPECT_EQ(args, k.args);
    EXPECT_EQ(c.nGetNbChamp(), 0);
    EXPECT_LT(c.nGetTailleTableNoms(true), 1024u);
    EXPECT_LT(c.nGetTailleTableNoms(false), 1024u);
}

INSTANTIATE_TEST_SUITE_P(
    Cas, ListeChampsFausse,
    ::testing::Combine(
        ::testing::Values(
            CasListeFausse{"LyingCount",
                           {LE32(0xB3F4F2A7), LE32(1701), LE32(0x7FFFFFFF),  // two entries, not 2^31 - 1
                            LE32(8), LE32(31), LE32(8), LE32(31)},
                           {L"32", L"28"}},
            CasListeFausse{"EntryLargerThanTheData",
                           {LE32(0xB3F4F2A7), LE32(1701), LE32(1), LE32(1000), LE32(31)},
                           {L"1012", L"20"}},
            CasListeFausse{"EntrySizeBelowItsOwnWord",
                           {LE32(0xB3F4F2A7), LE32(1701), LE32(1), LE32(2), LE32(31)},
                           {L"14", L"20"}}),
        ::testing::Bool()),
    [](const auto& i) {
        return std::string(std::get<0>(i.param).pszNom) + (std::get<1>(i.param) ? "Tolerant" : "Strict");
    });

TEST(ListeChampsTaille, NameTablesAreSizedForLongLists) {
    const uint32_t n = 40;
    Octets o = {LE32(0xB3F4F2A7), LE32(1701), LE32(n)};
    for (uint32_t i = 0; i < n; ++i) o = o + Octets{LE32(8), LE32(31)};
    CKVBuffer b(o.data(), o.size());
    CConteneurChamp c;
    c.xDeserialise(b, false);
    EXPECT_GE(c.nGetTailleTableNoms(true), size_t(2 * n + 1));
    EXPECT_GE(c.nGetTailleTableNoms(false), size_t(n));
}

// A kind that exists but is not a control (0, the application) cannot be
// skipped: the entry after a skipped one is read and rejected with its kind.
TEST(ListeChampsGenre, NonControlKindAfterASkippedEntryIsRejected) {
    const Octets o = {LE32(0xB3F4F2A7), LE32(1701), LE32(2),
                      LE32(16), LE32(31), LE32(0), LE32(0),  // internal window, skipped
                      LE32(8), LE32(0)};                     // kind 0
    CKVBuffer b(o.data(), o.size());
    CConteneurChamp c;
    std::vector<std::wstring> args;
    EXPECT_EQ(Erreur([&] { c.xDeserialise(b, false); }, &args), 10012);
    EXPECT_EQ(args, std::vector<std::wstring>{L"0"});
}

// Without declared sizes (list version 1700) an entry that is not read
// cannot be stepped over: reading on would take its bytes for the next
// control. Both modes refuse the list with the entry's kind.
TEST_P(ListeChamps, UnsizedUnsupportedKindIsRefused) {
    const Octets o = {LE32(2), LE32(31), LE32(0x11111111), LE32(3), LE32(0)};  // count 2, internal window, ...
    CKVBuffer b(o.data(), o.size());
    CConteneurChamp c;
    std::vector<std::wstring> args;
    EXPECT_EQ(Erreur([&] { c.xDeserialise(b, GetParam()); }, &args), 10012);
    EXPECT_EQ(args, std::vector<std::wstring>{L"31"});
    EXPECT_EQ(c.nGetNbChamp(), 0);
}

// ------------------------------------------------------------------ tab order

// Three tab stops A, B, C placed 0, 1, 2, and a static text that never is one.
class OrdreTab : public ::testing::Test {
protected:
    void SetUp() override {
        for (const wchar_t* psz : {L"A", L"B", L"C"}) {
            CChampTest* p = Ajoute(c, psz);
            p->SetTabStop(true);
            tab.push_back(p);
        }
        libelle = Ajoute(c, L"LIB", 3);
    }
    std::vector<int> Ordres() const {
        std::vector<int> v;
        for (CChampTest* p : tab) v.push_back(p->nGetTabOrder());
        return v;
    }
    std::vector<CChamp*> Enumeres(std::initializer_list<int> indices) const {
        std::vector<CChamp*> v;
        for (int i : indices) v.push_back(tab[i]);
        return v;
    }
    CConteneurChamp c;
    std::vector<CChampTest*> tab;
    CChampTest* libelle = nullptr;
};

TEST_F(OrdreTab, TabStopsArePlacedInTurn) {
    EXPECT_EQ(Ordres(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(c.nGetTabOrderMax(), 2);
}

struct CasOrdre {
    const char* pszNom;
    int nChamp;
    int nOrdre;
    std::vector<int> ordres;  // of A, B, C afterwards
};
void PrintTo(const CasOrdre& k, std::ostream* os) { *os << k.pszNom; }

class OrdreTabDeplace : public OrdreTab, public ::testing::WithParamInterface<CasOrdre> {};

TEST_P(OrdreTabDeplace, SetTabOrderAndValidate) {
    const CasOrdre& k = GetParam();
    tab[k.nChamp]->SetTabOrderAndValidate(k.nOrdre);
    EXPECT_EQ(Ordres(), k.ordres);
    // The enumeration follows the new orders.
    std::vector<CChamp*> attendu(3);
    for (int i = 0; i < 3; ++i) attendu[k.ordres[i]] = tab[i];
    EXPECT_EQ(c.vpclEnumereChamp_ParTabOrder(), attendu);
    EXPECT_EQ(c.pclGetChamp_ParTabOrder(0), attendu[0]);
    EXPECT_EQ(c.pclGetChamp_ParTabOrder(3), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Cas, OrdreTabDeplace,
    ::testing::Values(CasOrdre{"ThirdToFirstMovesTheOthersUp", 2, 0, {1, 2, 0}},
                      CasOrdre{"FirstToLast", 0, 2, {2, 0, 1}},
                      CasOrdre{"SecondToFirst", 1, 0, {1, 0, 2}},
                      CasOrdre{"AboveTheHighestIsTheHighest", 0, 99, {2, 0, 1}},
                      CasOrdre{"BelowZeroIsZero", 2, -5, {1, 2, 0}},
                      CasOrdre{"SameOrderChangesNothing", 1, 1, {0, 1, 2}}),
    [](const auto& i) { return std::string(i.param.pszNom); });

TEST_F(OrdreTab, StaticTextNeverBecomesATabStop) {
    libelle->SetTabStop(true);
    EXPECT_FALSE(libelle->bGetTabStop());
    EXPECT_EQ(libelle->nGetTabOrder(), -1);
    EXPECT_EQ(Ordres(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(c.vpclEnumereChamp_ParTabOrder(), Enumeres({0, 1, 2}));
}

TEST_F(OrdreTab, LeavingTheTabOrderClosesTheGapAndComingBackAppends) {
    tab[1]->SetTabStop(false);
    EXPECT_EQ(Ordres(), (std::vector<int>{0, -1, 1}));
    EXPECT_EQ(c.vpclEnumereChamp_ParTabOrder(), Enumeres({0, 2}));
    tab[1]->SetTabStop(true);
    EXPECT_EQ(Ordres(), (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(c.vpclEnumereChamp_ParTabOrder(), Enumeres({0, 2, 1}));
}

TEST_F(OrdreTab, RepairAppendsTabStopsWithoutAPlace) {
    CChampTest* d = Ajoute(c, L"D");
    d->SetTabStopDirect(true);  // as read from a description: order -1
    CChampTest* e = Ajoute(c, L"E");
    e->SetTabStopDirect(true);
    e->SetTabOrder(-2);  // placing suspended: left alone
    c.RepareTabOrder();
    EXPECT_EQ(d->nGetTabOrder(), 3);
    EXPECT_EQ(e->nGetTabOrder(), -2);
    EXPECT_EQ(Ordres(), (std::vector<int>{0, 1, 2}));
}

// ------------------------------------------------------------------ groups

struct CasGroupe {
    const wchar_t* pszGroupes;
    const wchar_t* pszGroupe;
    bool bMembre;
};
void PrintTo(const CasGroupe& k, std::ostream* os) {
    *os << QString::fromWCharArray(k.pszGroupes).toStdString() << " / " << QString::fromWCharArray(k.pszGroupe).toStdString();
}

class Groupes : public ::testing::TestWithParam<CasGroupe> {};

TEST_P(Groupes, MembershipComparesWholeNamesIgnoringCase) {
    const CasGroupe& k = GetParam();
    CChampTest* p = new CChampTest(L"C");
    p->SetGroupes(k.pszGroupes);
    EXPECT_EQ(p->bEstDansGroupe(k.pszGroupe), k.bMembre);
    p->nRelease();
}

INSTANTIATE_TEST_SUITE_P(Cas, Groupes,
                         ::testing::Values(CasGroupe{L"GrpA", L"grpa", true},      // no comma: compared whole
                                           CasGroupe{L"GrpA", L"Grp", false},
                                           CasGroupe{L"GrpA", L"GrpAB", false},
                                           CasGroupe{L"A,B", L"a", true},
                                           CasGroupe{L"A,B", L"B", true},
                                           CasGroupe{L"A,B", L"A,B", false},
                                           CasGroupe{L"A,B", L"AB", false},
                                           CasGroupe{L"A,,B", L"", false},
                                           CasGroupe{L"", L"", false},
                                           CasGroupe{L"Alpha,Beta", L"BETA", true}));

TEST(GroupeChamp, MembersByWindowOrderZOrderAndTabOrder) {
    auto* f = new CFenPrincipale(L"FEN");
    struct {
        const wchar_t* pszNom;
        const wchar_t* pszGroupes;
        int nZ;
        int nTab;
    } const champs[] = {{L"A", L"G", 2, 1}, {L"B", L"X", 0, 3}, {L"C", L"x,g", 3, 0}, {L"D", L"G", 1, 2}};
    std::map<std::wstring, CChamp*> parNom;
    for (const auto& d : champs) {
        CChampTest* p = Ajoute(f->Conteneur(), d.pszNom);
        p->SetGroupes(d.pszGroupes);
        p->SetZOrder(d.nZ);
        p->SetTabStopDirect(true);
        p->SetTabOrder(d.nTab);
        parNom[d.pszNom] = p;
    }
    CGroupeChamp* g = new CGroupeChamp(f, L"g");
    EXPECT_EQ(g->Membres(), (std::vector<CChamp*>{parNom[L"A"], parNom[L"C"], parNom[L"D"]}));
    EXPECT_EQ(g->pclGetObjet(1), parNom[L"C"]);
    EXPECT_EQ(g->pclGetChamp_ParZOrder(0), parNom[L"D"]);
    EXPECT_EQ(g->pclGetChamp_ParZOrder(1), parNom[L"A"]);
    EXPECT_EQ(g->pclGetChamp_ParZOrder(2), parNom[L"C"]);
    EXPECT_EQ(g->pclGetChamp_ParTabOrder(0), parNom[L"C"]);
    EXPECT_EQ(g->pclGetChamp_ParTabOrder(1), parNom[L"A"]);
    EXPECT_EQ(g->pclGetChamp_ParTabOrder(2), parNom[L"D"]);
    for (int n : {-1, 3}) {
        EXPECT_EQ(g->pclGetObjet(n), nullptr) << n;
        EXPECT_EQ(g->pclGetChamp_ParZOrder(n), nullptr) << n;
        EXPECT_EQ(g->pclGetChamp_ParTabOrder(n), nullptr) << n;
    }
    g->nRelease();
    f->nRelease();
}

// ------------------------------------------------------------------ full names

TEST(NomComplet, EachPlaceGivesItsName) {
    auto* f = new CFenPrincipale(L"FEN");
    CConteneurChamp& w = f->Conteneur();
    CChampTest* champ = Ajoute(w, L"CHAMP");
    CChampTest* onglet = Ajoute(w, L"ONG");
    onglet->bVoletsNommes = true;
    CChampTest* dansVolet = Ajoute(w, L"EDT_V");
    dansVolet->vSetChampParent(onglet);
    dansVolet->SetVolets({1, 2});
    CChampTest* sansNom = Ajoute(w, L"");
    sansNom->vSetChampParent(onglet);
    CChampTest* voletsAnonymes = Ajoute(w, L"STAT");  // in a pane of a control whose panes are not named
    CChampTest* parent2 = Ajoute(w, L"GRP");
    voletsAnonymes->vSetChampParent(parent2);
    voletsAnonymes->SetVolets({0});

    CChampTest* sc = Ajoute(w, L"SC");
    CConteneurDeChamp dansSc(sc);
    dansSc.SetFenetre(f);
    CChampTest* edtSc = Ajoute(dansSc, L"EDT");
    CChampTest* proprietaireAnonyme = Ajoute(w, L"");
    CConteneurDeChamp dansAnonyme(proprietaireAnonyme);
    dansAnonyme.SetFenetre(f);
    CChampTest* edtAnonyme = Ajoute(dansAnonyme, L"EDT2");

    auto* seul = new CChampTest(L"SEUL");

    const std::pair<CChamp*, std::wstring> cas[] = {
        {champ, L"FEN.CHAMP"},
        {dansVolet, L"FEN.ONG[2].EDT_V"},   // first pane, numbered from 1
        {sansNom, L"FEN.ONG"},              // the parent's name
        {voletsAnonymes, L"FEN.STAT"},
        {edtSc, L"FEN.SC.EDT"},
        {edtAnonyme, L"FEN.EDT2"},          // no "." after an owner without a name
        {seul, L"SEUL"},
    };
    for (const auto& [p, s] : cas) EXPECT_EQ(p->GetNomComplet(), s) << QString::fromStdWString(s).toStdString();
    seul->nRelease();
    f->nRelease();
}

// ------------------------------------------------------------------ persistence

// The host's user-value store, in memory.
class Persistance : public IPersistance {
public:
    unsigned AddRef() override { return 2; }
    unsigned Release() override { return 1; }
    bool bEcrit(const wchar_t* o, const wchar_t* v, const wchar_t* t) override {
        valeurs[Cle(o, v)] = t;
        return true;
    }
    bool bEcritA(const wchar_t*, const wchar_t*, const char*, unsigned) override { return true; }
    bool bLit(const wchar_t* o, const wchar_t* v, const wchar_t* d, std::wstring& s) override {
        auto it = valeurs.find(Cle(o, v));
        s = it == valeurs.end() ? d : it->second;
        return true;
    }
    bool bLitA(const wchar_t*, const wchar_t*, const char* d, unsigned, std::string& s) override {
        s = d;
        return true;
    }
    void DebutOperationEnBloc() override {}
    void FinOperationEnBloc() override {}
    static std::wstring Cle(const wchar_t* o, const wchar_t* v) { return std::wstring(o) + L"|" + v; }
    std::map<std::wstring, std::wstring> valeurs;
};

class Boutique : public ILibShop {
public:
    explicit Boutique(Persistance& p) : m_p(p) {}
    IObjetShop* pGetObjetNomme(const char* pszNom, void*, CXError*) override {
        return std::string(pszNom) == "Persistance" ? &m_p : nullptr;
    }

private:
    Persistance& m_p;
};

// A virtual machine that only has to be there.
class VMInerte : public CVMNeutre {
public:
    int nPossedeCode(uint32_t, uint32_t, int) override { return -1; }
};

// Identifier 0x1000000AB of a control of kind 2: QUID "1000000AB",
// checksum 1 + 0xAB + 2 x 456 = 1084; without stable identity 912.
constexpr uint64_t nID = 0x1000000ABull;
const wchar_t* const CLE = L"FEN\\EDT";

class PersistanceChamp : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(gpclExe, nullptr);
        gpclExe = new CExe();
        gpclExe->SetLibShop(&boutique);
        gpclExe->LoadVM(&vm);
        fen = new CFenPrincipale(L"FEN");
        champ = Ajoute(fen->Conteneur(), L"EDT");
        champ->SetQWID(nID);
        champ->SetMemoriserValeur(true);
        champ->sValeur = L"initial";
    }
    void TearDown() override {
        fen->nRelease();
        gpclExe->nRelease();
        gpclExe = nullptr;
    }
    void Stocke(const wchar_t* v, const std::optional<std::wstring>& s) {
        if (s) persistance.valeurs[Persistance::Cle(CLE, v)] = *s;
    }
    std::optional<std::wstring> Lu(const wchar_t* v) const {
        auto it = persistance.valeurs.find(Persistance::Cle(CLE, v));
        return it == persistance.valeurs.end() ? std::nullopt : std::optional<std::wstring>(it->second);
    }
    Persistance persistance;
    Boutique boutique{persistance};
    VMInerte vm;
    CFenPrincipale* fen = nullptr;
    CChampTest* champ = nullptr;
};

TEST_F(PersistanceChamp, KeyAndChecksum) {
    EXPECT_EQ(champ->_GetNomCleConfiguration(), CLE);
    EXPECT_EQ(champ->_vCalcCheckSumConfiguration(), L"1084");
    champ->SetFlag(1, FLAG1_SANS_IDENTITE, true);
    EXPECT_EQ(champ->_vCalcCheckSumConfiguration(), L"912");
}

struct CasRestaure {
    const char* pszNom;
    bool bSansIdentite;
    bool bMemoriser;
    std::optional<std::wstring> quid, checksum;
    bool bRestaure;
};
void PrintTo(const CasRestaure& k, std::ostream* os) { *os << k.pszNom; }

class PersistanceRestaure : public PersistanceChamp, public ::testing::WithParamInterface<CasRestaure> {};

TEST_P(PersistanceRestaure, ValueRestoredOnlyWhenIdentityMatches) {
    const CasRestaure& k = GetParam();
    champ->SetFlag(1, FLAG1_SANS_IDENTITE, k.bSansIdentite);
    champ->SetMemoriserValeur(k.bMemoriser);
    Stocke(L"QUID", k.quid);
    Stocke(L"Checksum", k.checksum);
    Stocke(L"Val", L"restored");
    EXPECT_EQ(champ->_bRestaureValeurPersistante(), k.bRestaure);
    EXPECT_EQ(champ->sValeur, k.bRestaure ? L"restored" : L"initial");
}

INSTANTIATE_TEST_SUITE_P(
    Cas, PersistanceRestaure,
    ::testing::Values(CasRestaure{"BothMatch", false, true, L"1000000AB", L"1084", true},
                      CasRestaure{"QuidDiffers", false, true, L"1000000AC", L"1084", false},
                      CasRestaure{"QuidInLowerCase", false, true, L"1000000ab", L"1084", false},
                      CasRestaure{"ChecksumDiffers", false, true, L"1000000AB", L"1085", false},
                      CasRestaure{"QuidMissing", false, true, std::nullopt, L"1084", false},
                      CasRestaure{"NothingStored", false, true, std::nullopt, std::nullopt, false},
                      CasRestaure{"NoStableIdentityIgnoresQuid", true, true, L"DEAD", L"912", true},
                      CasRestaure{"NoStableIdentityWithoutQuid", true, true, std::nullopt, L"912", true},
                      CasRestaure{"NoStableIdentityChecksumOmitsTheIdentifier", true, true, L"1000000AB", L"1084", false},
                      CasRestaure{"NotMemorised", false, false, L"1000000AB", L"1084", false}),
    [](const auto& i) { return std::string(i.param.pszNom); });

TEST_F(PersistanceChamp, RestoreWithoutStoredValueKeepsTheInitialValue) {
    Stocke(L"QUID", L"1000000AB");
    Stocke(L"Checksum", L"1084");
    EXPECT_FALSE(champ->_bRestaureValeurPersistante());
    EXPECT_EQ(champ->sValeur, L"initial");
}

struct CasSauve {
    const char* pszNom;
    bool bMemoriser;
    bool bSansIdentite;
    std::optional<std::wstring> valForce;
    std::optional<std::wstring> quid, checksum, val;  // what is stored afterwards
};
void PrintTo(const CasSauve& k, std::ostream* os) { *os << k.pszNom; }

class PersistanceSauve : public PersistanceChamp, public ::testing::WithParamInterface<CasSauve> {};

TEST_P(PersistanceSauve, WhatIsWritten) {
    const CasSauve& k = GetParam();
    champ->SetMemoriserValeur(k.bMemoriser);
    champ->SetFlag(1, FLAG1_SANS_IDENTITE, k.bSansIdentite);
    Stocke(L"ValForce", k.valForce);
    champ->sValeur = L"typed";
    champ->_SauveValeurPersistante();
    EXPECT_EQ(Lu(L"QUID"), k.quid);
    EXPECT_EQ(Lu(L"Checksum"), k.checksum);
    EXPECT_EQ(Lu(L"Val"), k.val);
}

INSTANTIATE_TEST_SUITE_P(
    Cas, PersistanceSauve,
    ::testing::Values(CasSauve{"Memorised", true, false, std::nullopt, L"1000000AB", L"1084", L"typed"},
                      CasSauve{"NoStableIdentityWritesNoQuid", true, true, std::nullopt, std::nullopt, L"912", L"typed"},
                      CasSauve{"NotMemorised", false, false, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
                      CasSauve{"NotMemorisedValForceZero", false, false, L"0", std::nullopt, std::nullopt, std::nullopt},
                      CasSauve{"NotMemorisedButValForce", false, false, L"1", L"1000000AB", L"1084", L"typed"}),
    [](const auto& i) { return std::string(i.param.pszNom); });

TEST_F(PersistanceChamp, SavedValueIsRestoredOnTheNextRun) {
    champ->sValeur = L"Dupont";
    champ->_SauveValeurPersistante();
    champ->sValeur = L"initial";
    EXPECT_TRUE(champ->_bRestaureValeurPersistante());
    EXPECT_EQ(champ->sValeur, L"Dupont");
}

TEST_F(PersistanceChamp, NothingWithoutWindowOrVirtualMachine) {
    auto* seul = new CChampTest(L"EDT");
    seul->SetQWID(nID);
    seul->SetMemoriserValeur(true);
    seul->sValeur = L"x";
    seul->_SauveValeurPersistante();
    EXPECT_TRUE(persistance.valeurs.empty()) << "a control outside a window saves nothing";
    seul->nRelease();

    gpclExe->LoadVM(nullptr);
    Stocke(L"QUID", L"1000000AB");
    Stocke(L"Checksum", L"1084");
    Stocke(L"Val", L"restored");
    EXPECT_FALSE(champ->_bRestaureValeurPersistante());
    EXPECT_EQ(champ->sValeur, L"initial");
}

} // namespace
