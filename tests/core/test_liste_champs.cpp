// A window's control list read through the object factory: static texts
// (kind 3) and images (kind 8) whose records come from the module's own
// writer, damaged by hand where a case needs it, around entries that are
// skipped; the order, names, tab order and stacking order afterwards.
#include "Octets.h"
#include "controls/core/CChamp.h"
#include "controls/core/CConteneurChamp.h"
#include "frame/CObjFactory.h"
#include "windows/CFenPrincipale.h"
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

using namespace kvoctets;

namespace {

constexpr int nLIBELLE = ID_LIBELLE;
constexpr int nIMAGE = ID_IMAGE;
constexpr uint32_t nSUITE = 0x5E771E;  // the item after the list

// A control as the designer left it. Images are tab stops, static texts
// never are.
struct Def {
    int nGenre;
    std::wstring sNom;
    int nTab = -1;
    int nZ = 0;
};

// The control's record (common control record, then its own), written by
// the module from a control the factory made.
Octets Enregistrement(const Def& d) {
    auto* c = static_cast<CChamp*>(CObjFactory::xResCreateChamp(d.nGenre));
    c->SetName(d.sNom.c_str());
    c->SetLibelle((L"Caption " + d.sNom).c_str());
    c->SetRectInitial(QRect(8, 8, 120, 20));
    c->SetTabStopDirect(d.nGenre == nIMAGE);
    c->SetTabOrder(d.nTab);
    c->SetZOrder(d.nZ);
    CKVBuffer b;
    CEcrivainKV ar(b);
    c->_Serialize(ar);
    c->nRelease();
    return b.Octets();
}

// One entry of a marked list: declared size (counted from its own word),
// kind, record.
Octets Entree(int nGenre, const Octets& rec) { return Octets{LE32(8 + rec.size()), LE32(nGenre)} + rec; }
Octets Entree(const Def& d) { return Entree(d.nGenre, Enregistrement(d)); }

Octets Liste(const std::vector<Octets>& entrees) {
    Octets o = {LE32(nMARQUEUR_LISTE_CHAMPS), LE32(1701), LE32(entrees.size())};
    for (const Octets& e : entrees) o = o + e;
    return o + Octets{LE32(nSUITE)};
}

// Where the pieces of a written record lie: the common control record's
// version and declared size, the style record right after them, then the
// common window record; the control's own record after the common one.
constexpr size_t nOFFSET_VERSION_CHAMP = 0;
constexpr size_t nOFFSET_TAILLE_CHAMP = 4;
size_t nOffsetFenCommun(const Octets& rec) { return 12 + Mot(rec, 12); }
size_t nOffsetPropre(const Octets& rec) { return 4 + Mot(rec, nOFFSET_TAILLE_CHAMP); }

// A window that owns the container, released at the end of the test.
struct Fenetre {
    CFenPrincipale* f = new CFenPrincipale(L"FEN");
    ~Fenetre() { f->nRelease(); }
    CConteneurChamp& c() { return f->Conteneur(); }
};

struct Resultat {
    int nErreur = 0;
    std::vector<std::wstring> args;
    uint32_t nSuite = 0;  // the word read after the list
};

Resultat Charge(CConteneurChamp& c, const Octets& o, bool bTolerant) {
    Resultat r;
    CKVBuffer b(o.data(), o.size());
    try {
        c.xDeserialise(b, bTolerant);
        b >> r.nSuite;
    } catch (const CXError& e) {
        r.nErreur = e.nGetErreur();
        r.args = e.tabGetArgs();
    }
    return r;
}

std::vector<std::wstring> Noms(const CConteneurChamp& c) {
    std::vector<std::wstring> v;
    for (CChamp* p : c.vpclEnumereChamp_ParOrdreDeCreation()) v.push_back(p->sGetNom());
    return v;
}
std::vector<int> OrdresTab(const CConteneurChamp& c) {
    std::vector<int> v;
    for (CChamp* p : c.vpclEnumereChamp_ParOrdreDeCreation()) v.push_back(p->nGetTabOrder());
    return v;
}
std::vector<int> ZOrdres(const CConteneurChamp& c) {
    std::vector<int> v;
    for (CChamp* p : c.vpclEnumereChamp_ParOrdreDeCreation()) v.push_back(p->nGetZOrder());
    return v;
}

const char* Mode(bool bTolerant) { return bTolerant ? "Tolerant" : "Strict"; }

// ------------------------------------------------------------------ a damaged record

// Five controls; the third one's record is damaged. Tab stops are the
// images B, C and D (orders 0, 1, 2); the stacking order follows creation.
const std::vector<Def> CINQ = {
    {nLIBELLE, L"LIB_A", -1, 0}, {nIMAGE, L"IMG_B", 0, 1}, {nIMAGE, L"IMG_C", 1, 2},
    {nIMAGE, L"IMG_D", 2, 3},    {nLIBELLE, L"LIB_E", -1, 4},
};

struct CasAbime {
    const char* pszNom;
    std::function<size_t(const Octets&)> offset;  // the word replaced in the third record
    uint32_t nAvant;                              // what the writer put there (0: not checked)
    uint32_t nValeur;
    int nErreur;
    std::function<std::vector<std::wstring>(const Octets&)> args;
};
void PrintTo(const CasAbime& k, std::ostream* os) { *os << k.pszNom; }

std::vector<std::wstring> ArgsModule(const Octets&) { return {L"KVOBJ"}; }

const CasAbime CAS_ABIMES[] = {
    {"ControlVersionAboveRange", [](const Octets&) { return nOFFSET_VERSION_CHAMP; }, 617, 701, 10084, ArgsModule},
    {"CommonWindowVersionBelowRange", nOffsetFenCommun, 606, 601, 10014, ArgsModule},
    // The image's own record comes after the tab order was read.
    {"OwnRecordVersionAboveRange", nOffsetPropre, 1, 2, 10084, ArgsModule},
    {"DeclaredSizeShorterThanTheFields", [](const Octets&) { return nOFFSET_TAILLE_CHAMP; }, 0, 100, 10011,
     [](const Octets& rec) {
         return std::vector<std::wstring>{std::to_wstring(Mot(rec, nOFFSET_TAILLE_CHAMP)), L"100"};
     }},
};

class ListeFabriqueAbime : public ::testing::TestWithParam<std::tuple<CasAbime, bool>> {
protected:
    Octets ListeAbimee(std::vector<std::wstring>* pArgs) const {
        const CasAbime& k = std::get<0>(GetParam());
        std::vector<Octets> entrees;
        for (size_t i = 0; i < CINQ.size(); ++i) {
            Octets rec = Enregistrement(CINQ[i]);
            if (i == 2) {
                if (k.nAvant) {
                    EXPECT_EQ(Mot(rec, k.offset(rec)), k.nAvant) << "the damage misses its field";
                }
                *pArgs = k.args(rec);
                Remplace(rec, k.offset(rec), k.nValeur);
            }
            entrees.push_back(Entree(CINQ[i].nGenre, rec));
        }
        return Liste(entrees);
    }
};

TEST_P(ListeFabriqueAbime, TolerantDropsTheControlStrictRaisesItsError) {
    const auto& [k, bTolerant] = GetParam();
    std::vector<std::wstring> args;
    const Octets o = ListeAbimee(&args);
    Fenetre w;
    Resultat r = Charge(w.c(), o, bTolerant);
    if (!bTolerant) {
        EXPECT_EQ(r.nErreur, k.nErreur);
        EXPECT_EQ(r.args, args);
        return;
    }
    ASSERT_EQ(r.nErreur, 0);
    EXPECT_EQ(r.nSuite, nSUITE) << "the list ends where its last entry's size says";
    EXPECT_EQ(Noms(w.c()), (std::vector<std::wstring>{L"LIB_A", L"IMG_B", L"IMG_D", L"LIB_E"}));
    for (const wchar_t* psz : {L"LIB_A", L"IMG_B", L"IMG_D", L"LIB_E"}) {
        CChamp* p = w.c().pclGetChampFromName(psz, false);
        ASSERT_NE(p, nullptr) << QString::fromWCharArray(psz).toStdString();
        EXPECT_EQ(p->sGetNom(), psz);
        EXPECT_EQ(w.c().pclGetChampFromName(psz, true), p);
    }
    EXPECT_EQ(w.c().pclGetChampFromName(L"IMG_C", false), nullptr);
    EXPECT_EQ(w.c().pclGetChampFromName(L"IMG_C", true), nullptr);
    // The remaining tab stops are numbered without a hole, in their order,
    // and the stacking order is repaired the same way.
    EXPECT_EQ(OrdresTab(w.c()), (std::vector<int>{-1, 0, 1, -1}));
    EXPECT_EQ(w.c().nGetTabOrderMax(), 1);
    EXPECT_EQ(ZOrdres(w.c()), (std::vector<int>{0, 1, 2, 3}));
}

INSTANTIATE_TEST_SUITE_P(Cas, ListeFabriqueAbime, ::testing::Combine(::testing::ValuesIn(CAS_ABIMES), ::testing::Bool()),
                         [](const auto& i) {
                             return std::string(std::get<0>(i.param).pszNom) + Mode(std::get<1>(i.param));
                         });

// ------------------------------------------------------------------ kinds stepped over

// An entry of a kind no reader creates, between two good controls, is
// stepped over by its declared size even when its body is a readable
// record; kind 50 in a window's own list is read as kind 70, which is not
// available either.
class ListeFabriqueGenreSaute : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(ListeFabriqueGenreSaute, NextControlIsRead) {
    const auto& [nGenre, bTolerant] = GetParam();
    const Octets o = Liste({Entree({nLIBELLE, L"LIB_AVANT"}),
                            Entree(nGenre, Enregistrement({nLIBELLE, L"CACHE"})),
                            Entree({nIMAGE, L"IMG_APRES", 0, 1})});
    Fenetre w;
    Resultat r = Charge(w.c(), o, bTolerant);
    ASSERT_EQ(r.nErreur, 0);
    EXPECT_EQ(r.nSuite, nSUITE);
    EXPECT_EQ(Noms(w.c()), (std::vector<std::wstring>{L"LIB_AVANT", L"IMG_APRES"}));
    EXPECT_EQ(w.c().pclGetChampFromName(L"CACHE"), nullptr);
    ASSERT_NE(w.c().pclGetChampFromName(L"IMG_APRES"), nullptr);
    EXPECT_EQ(w.c().pclGetChampFromName(L"IMG_APRES")->pszGetLibelle(), std::wstring(L"Caption IMG_APRES"));
}

INSTANTIATE_TEST_SUITE_P(Cas, ListeFabriqueGenreSaute, ::testing::Combine(::testing::Values(31, 93, 200, 50), ::testing::Bool()),
                         [](const auto& i) {
                             return "Kind" + std::to_string(std::get<0>(i.param)) + Mode(std::get<1>(i.param));
                         });

// The kind a window's list reads for 50 shows in the error of a reader that
// is not asked to skip: 70 in the window, 50 in a container owned by a control.
class CConteneurDeChamp : public CConteneurChamp {
public:
    explicit CConteneurDeChamp(CChamp* p) : m_p(p) {}
    CChamp* pclGetChampProprietaire() const override { return m_p; }

private:
    CChamp* m_p;
};

TEST(ListeFabriqueGenre50, ReadAs70OnlyInAWindowsOwnList) {
    const Octets o = {LE32(50)};
    Fenetre w;
    auto* proprietaire = static_cast<CChamp*>(CObjFactory::xResCreateChamp(nIMAGE));
    CConteneurDeChamp dansChamp(proprietaire);
    const std::pair<CConteneurChamp*, std::wstring> cas[] = {{&w.c(), L"70"}, {&dansChamp, L"50"}};
    for (const auto& [c, sGenre] : cas) {
        CKVBuffer b(o.data(), o.size());
        CLecteurKV ar(b);
        std::vector<std::wstring> args;
        int nErreur = 0;
        try {
            c->xpclDeserialiseUnChamp(ar, 0);
        } catch (const CXError& e) {
            nErreur = e.nGetErreur();
            args = e.tabGetArgs();
        }
        EXPECT_EQ(nErreur, 10012);
        EXPECT_EQ(args, std::vector<std::wstring>{sGenre});
    }
    proprietaire->nRelease();
}

// ------------------------------------------------------------------ tab and stacking order

// Three images with tab orders 0 and 1 and one whose description says -7:
// that one takes the place after the others once the list is loaded,
// wherever it stands in the list.
struct CasTab {
    const char* pszNom;
    std::vector<int> lus;      // in the descriptions
    std::vector<int> ordres;   // after loading
};
void PrintTo(const CasTab& k, std::ostream* os) { *os << k.pszNom; }

class ListeFabriqueOrdreTab : public ::testing::TestWithParam<CasTab> {};

TEST_P(ListeFabriqueOrdreTab, MinusSevenIsAppendedAfterLoading) {
    const CasTab& k = GetParam();
    const wchar_t* const noms[] = {L"IMG_1", L"IMG_2", L"IMG_3"};
    std::vector<Octets> entrees;
    for (int i = 0; i < 3; ++i) entrees.push_back(Entree({nIMAGE, noms[i], k.lus[i], i}));
    Fenetre w;
    ASSERT_EQ(Charge(w.c(), Liste(entrees), true).nErreur, 0);
    EXPECT_EQ(OrdresTab(w.c()), k.ordres);
    std::vector<CChamp*> attendu(3);
    for (int i = 0; i < 3; ++i) attendu[k.ordres[i]] = w.c().pclGetChamp(i);
    EXPECT_EQ(w.c().vpclEnumereChamp_ParTabOrder(), attendu);
}

INSTANTIATE_TEST_SUITE_P(Cas, ListeFabriqueOrdreTab,
                         ::testing::Values(CasTab{"First", {-7, 0, 1}, {2, 0, 1}},
                                           CasTab{"Middle", {0, -7, 1}, {0, 2, 1}},
                                           CasTab{"Last", {0, 1, -7}, {0, 1, 2}}),
                         [](const auto& i) { return std::string(i.param.pszNom); });

// A z-order above the number of controls becomes 0; one equal to it stays.
TEST(ListeFabriqueZOrder, AboveTheControlCountBecomesZero) {
    const Octets o = Liste({Entree({nLIBELLE, L"LIB_1", -1, 1}), Entree({nIMAGE, L"IMG_2", 0, 99}),
                            Entree({nLIBELLE, L"LIB_3", -1, 3})});
    Fenetre w;
    ASSERT_EQ(Charge(w.c(), o, true).nErreur, 0);
    EXPECT_EQ(ZOrdres(w.c()), (std::vector<int>{1, 0, 3}));
}

// ------------------------------------------------------------------ a long list

TEST(ListeFabriqueLongue, FortyControlsFoundByNameWithTheirTabOrders) {
    constexpr int n = 40;
    std::vector<Octets> entrees;
    std::vector<std::wstring> noms;
    for (int i = 0; i < n; ++i) {
        wchar_t sz[16];
        std::swprintf(sz, 16, L"IMG_%02d", i);
        noms.push_back(sz);
        entrees.push_back(Entree({nIMAGE, sz, n - 1 - i, i}));  // tabbed through from the last one
    }
    Fenetre w;
    ASSERT_EQ(Charge(w.c(), Liste(entrees), true).nErreur, 0);
    EXPECT_EQ(Noms(w.c()), noms);
    for (int i = 0; i < n; ++i) {
        const std::string s = QString::fromStdWString(noms[i]).toStdString();
        CChamp* p = w.c().pclGetChamp(i);
        EXPECT_EQ(w.c().pclGetChampFromName(noms[i].c_str(), false), p) << s;
        EXPECT_EQ(w.c().pclGetChampFromName(noms[i].c_str(), true), p) << s;
        EXPECT_EQ(w.f->pclGetChampFromName(noms[i].c_str()), p) << s;
        EXPECT_EQ(p->nGetTabOrder(), n - 1 - i) << s;
        EXPECT_EQ(w.c().pclGetChamp_ParTabOrder(n - 1 - i), p) << s;
    }
    EXPECT_EQ(w.c().pclGetChampFromName(L"img_07"), w.c().pclGetChamp(7)) << "names are found ignoring case";
    EXPECT_EQ(w.c().nGetTabOrderMax(), n - 1);
    EXPECT_EQ(w.c().vpclEnumereChamp_ParTabOrder().size(), size_t(n));
}

// ------------------------------------------------------------------ entries without a size

// The old list form (no marker: the first word is the count, no size per
// entry) and a marked list whose size words are 0: each control is read
// whole from its own record.
struct CasSansTaille {
    const char* pszNom;
    std::function<Octets(const Octets&, const Octets&)> liste;
};
void PrintTo(const CasSansTaille& k, std::ostream* os) { *os << k.pszNom; }

const CasSansTaille CAS_SANS_TAILLE[] = {
    {"OldFormWithoutMarker",
     [](const Octets& a, const Octets& b) {
         return Octets{LE32(2), LE32(nLIBELLE)} + a + Octets{LE32(nIMAGE)} + b + Octets{LE32(nSUITE)};
     }},
    {"MarkedWithSizeZero",
     [](const Octets& a, const Octets& b) {
         return Octets{LE32(nMARQUEUR_LISTE_CHAMPS), LE32(1701), LE32(2), LE32(0), LE32(nLIBELLE)} + a +
                Octets{LE32(0), LE32(nIMAGE)} + b + Octets{LE32(nSUITE)};
     }},
};

class ListeFabriqueSansTaille : public ::testing::TestWithParam<std::tuple<CasSansTaille, bool>> {};

TEST_P(ListeFabriqueSansTaille, BothControlsAreRead) {
    const auto& [k, bTolerant] = GetParam();
    const Octets o = k.liste(Enregistrement({nLIBELLE, L"LIB_NOM", -1, 0}), Enregistrement({nIMAGE, L"IMG_PHOTO", 0, 1}));
    Fenetre w;
    Resultat r = Charge(w.c(), o, bTolerant);
    ASSERT_EQ(r.nErreur, 0);
    EXPECT_EQ(r.nSuite, nSUITE);
    EXPECT_EQ(Noms(w.c()), (std::vector<std::wstring>{L"LIB_NOM", L"IMG_PHOTO"}));
    ASSERT_NE(w.c().pclGetChampFromName(L"LIB_NOM"), nullptr);
    EXPECT_EQ(w.c().pclGetChampFromName(L"LIB_NOM")->pszGetLibelle(), std::wstring(L"Caption LIB_NOM"));
    EXPECT_EQ(w.c().pclGetChampFromName(L"IMG_PHOTO"), w.c().pclGetChamp(1));
    EXPECT_EQ(OrdresTab(w.c()), (std::vector<int>{-1, 0}));
    EXPECT_EQ(ZOrdres(w.c()), (std::vector<int>{0, 1}));
}

INSTANTIATE_TEST_SUITE_P(Cas, ListeFabriqueSansTaille,
                         ::testing::Combine(::testing::ValuesIn(CAS_SANS_TAILLE), ::testing::Bool()),
                         [](const auto& i) {
                             return std::string(std::get<0>(i.param).pszNom) + Mode(std::get<1>(i.param));
                         });

} // namespace
