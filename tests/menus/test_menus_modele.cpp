// The menu model on its own: the identifier a new entry gets, finding an
// entry by its call letters, and what a damaged menu description may ask of
// the reader.
#include "base/CRetenue.h"
#include "windows/CFenPrincipale.h"
#include "windows/CMenu.h"
#include <gtest/gtest.h>
#include <chrono>
#include <vector>

namespace {

std::unique_ptr<COptionMenu> Option(const wchar_t* pszNom, const wchar_t* pszLibelle, uint16_t w) {
    auto o = std::make_unique<COptionMenu>();
    o->SetName(pszNom);
    o->SetLibelle(pszLibelle);
    o->SetIdentifiant(w);
    return o;
}

// ---------------------------------------------------------------- identifiers

struct CasIdentifiant {
    std::vector<uint16_t> tabPris;  // the first is a menu of the bar, the others its options
    uint16_t wAttendu;
};

class Identifiant : public ::testing::TestWithParam<CasIdentifiant> {};

// The largest identifier plus one; past 65535 the lowest free one, never one
// an entry has (65535 + 1 kept to 16 bits would be 0, and the next, 1, is
// the bar's first menu).
TEST_P(Identifiant, IsNeverOneThatAnEntryHas) {
    const CasIdentifiant& c = GetParam();
    CRef<CFenPrincipale> f(new CFenPrincipale(L"FEN_T"));
    auto m = std::make_unique<CMenu>();
    m->SetIdentifiant(c.tabPris[0]);
    for (size_t i = 1; i < c.tabPris.size(); ++i) m->AjouteOption(Option(L"OPT", L"x", c.tabPris[i]));
    f->Description().pMenuPrincipal->AjouteOption(std::move(m));
    EXPECT_EQ(wxNouvelIdentifiant(*f), c.wAttendu);
}

INSTANTIATE_TEST_SUITE_P(Menus, Identifiant,
                         ::testing::Values(CasIdentifiant{{1, 2, 3}, 4}, CasIdentifiant{{1, 2, 65535}, 3},
                                           CasIdentifiant{{65535, 1, 2, 4}, 3}, CasIdentifiant{{1, 65534}, 65535}));

TEST(Identifiant, NoneFreeIsAnError) {
    CRef<CFenPrincipale> f(new CFenPrincipale(L"FEN_T"));
    auto m = std::make_unique<CMenu>();
    m->SetIdentifiant(1);
    for (uint32_t w = 2; w <= 0xFFFF; ++w) m->AjouteOption(Option(L"OPT", L"x", static_cast<uint16_t>(w)));
    f->Description().pMenuPrincipal->AjouteOption(std::move(m));
    try {
        wxNouvelIdentifiant(*f);
        FAIL() << "an identifier was given";
    } catch (const CXError& e) {
        EXPECT_EQ(e.nGetErreur(), 10412);
    }
}

// ---------------------------------------------------------------- call letters

TEST(LettresAppel, FindTheEntryMenuByMenu) {
    CMenu barre;
    auto fichier = std::make_unique<CMenu>();
    fichier->SetName(L"MENU_F");
    fichier->SetLibelle(L"&File");
    fichier->AjouteOption(Option(L"OPT_O", L"&Open", 2));
    fichier->AjouteOption(Option(L"OPT_S", L"Save && &quit", 3));
    barre.AjouteOption(std::move(fichier));
    barre.AjouteOption(Option(L"OPT_H", L"&Help", 4));
    struct Cas {
        const wchar_t* pszLettres;
        const wchar_t* pszAttendu;  // null: none
    } tab[] = {
        {L"F", L"MENU_F"}, {L"fo", L"OPT_O"}, {L"FQ", L"OPT_S"}, {L"h", L"OPT_H"},
        {L"O", nullptr},   // not an entry of the bar
        {L"FS", nullptr},  // "&&" is a plain ampersand, not a marker
        {L"HX", nullptr},  // Help is not a menu
        {L"", nullptr},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.pszLettres)));
        COptionMenu* o = barre.pclChercheLettresAppel(c.pszLettres);
        if (!c.pszAttendu) {
            EXPECT_EQ(o, nullptr);
            continue;
        }
        ASSERT_NE(o, nullptr);
        EXPECT_EQ(o->sGetNom(), c.pszAttendu);
    }
}

// ---------------------------------------------------------------- damaged descriptions

// A menu record whose option count is patched: the last word of a record
// written without entries.
std::vector<uint8_t> MenuAvecCompte(uint32_t n) {
    CMenu m;
    m.SetName(L"MENU");
    CKVBuffer b;
    EcritEnregistrement(b, m);
    std::vector<uint8_t> o = b.Octets();
    for (int i = 0; i < 4; ++i) o[o.size() - 4 + i] = static_cast<uint8_t>(n >> (8 * i));
    return o;
}

int nErreurLecture(const std::vector<uint8_t>& o) {
    CMenu m;
    CKVBuffer b(o.data(), o.size());
    try {
        xLitEnregistrement(b, m);
    } catch (const CXError& e) {
        return e.nGetErreur();
    }
    return 0;
}

// An absurd count is refused before anything is read or allocated for it.
TEST(DescriptionMenu, CountBeyondTheBytesIsRefused) {
    for (uint32_t n : {0xFFFFFFFFu, 0x7FFFFFFFu, 70000u, 1u}) {
        SCOPED_TRACE(n);
        auto t0 = std::chrono::steady_clock::now();
        EXPECT_EQ(nErreurLecture(MenuAvecCompte(n)), 10413);
        EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(1));
    }
    EXPECT_EQ(nErreurLecture(MenuAvecCompte(0)), 0);
}

// Sub-menus nested beyond the limit are refused; at the limit they are read.
TEST(DescriptionMenu, NestingBeyondTheLimitIsRefused) {
    auto imbrique = [](int nNiveaux) {
        auto racine = std::make_unique<CMenu>();
        CMenu* m = racine.get();
        for (int i = 0; i < nNiveaux; ++i) {
            auto sm = std::make_unique<CMenu>();
            CMenu* p = sm.get();
            m->AjouteOption(std::move(sm));
            m = p;
        }
        CKVBuffer b;
        EcritEnregistrement(b, *racine);
        return b.Octets();
    };
    EXPECT_EQ(nErreurLecture(imbrique(nPROFONDEUR_MENU_MAX)), 0);
    EXPECT_EQ(nErreurLecture(imbrique(nPROFONDEUR_MENU_MAX + 1)), 10414);
}

} // namespace
