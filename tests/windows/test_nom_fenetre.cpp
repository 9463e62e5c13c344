// The window name given to the opening functions: "alias=NAME,Y,X" with
// marker characters that set display options.
#include "windows/CFenPrincipale.h"
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace {

struct CasNom {
    const char* pszCas;
    std::wstring sEntree;
    bool bSansEspaces;
    const wchar_t* pszAlias;
    const wchar_t* pszNom;
    std::optional<int> y, x;
    unsigned nOptions;
};

void PrintTo(const CasNom& c, std::ostream* os) { *os << c.pszCas; }

class NomFenetre : public ::testing::TestWithParam<CasNom> {};

TEST_P(NomFenetre, Parse) {
    const CasNom& c = GetParam();
    STNomFenetre st;
    st.nOptions = 0xFFFF;  // nothing of a previous parse survives
    st.sAlias = L"old";
    CFenPrincipale::_sParseNomFenetre(c.sEntree.c_str(), st, c.bSansEspaces);
    EXPECT_EQ(st.sAlias, c.pszAlias);
    EXPECT_EQ(st.sNom, c.pszNom);
    EXPECT_EQ(st.bY, c.y.has_value());
    if (c.y) {
        EXPECT_EQ(st.nY, *c.y);
    }
    EXPECT_EQ(st.bX, c.x.has_value());
    if (c.x) {
        EXPECT_EQ(st.nX, *c.x);
    }
    EXPECT_EQ(st.nOptions, c.nOptions);
}

const std::optional<int> AUCUN;

INSTANTIATE_TEST_SUITE_P(
    Cas, NomFenetre,
    ::testing::Values(
        CasNom{"NameOnly", L"FEN_Client", false, L"", L"FEN_Client", AUCUN, AUCUN, 0},
        CasNom{"AliasAndYOnly", L"Client=FEN_Client,100", false, L"Client", L"FEN_Client", 100, AUCUN, 4},
        CasNom{"XOnly", L"FEN_X,,250", false, L"", L"FEN_X", AUCUN, 250, 0},
        CasNom{"YAndX", L"FEN_X,-5,7", false, L"", L"FEN_X", -5, 7, 0},
        CasNom{"TrimmedAroundEqualsAndCommas", L"  Client =\tFEN_Client , 10 , 20", false, L"Client", L"FEN_Client", 10, 20, 4},
        CasNom{"EmptyAlias", L"=FEN_X", false, L"", L"FEN_X", AUCUN, AUCUN, 4},
        CasNom{"Marker01", std::wstring(L"\x01") + L"FEN_X", false, L"", L"FEN_X", AUCUN, AUCUN, 256},
        CasNom{"Marker02InsideTheName", L"FEN\x02_X", false, L"", L"FEN_X", AUCUN, AUCUN, 512},
        CasNom{"Marker05AndAnother", std::wstring(L"\x05") + L"A=FEN_X,1\x01", false, L"A", L"FEN_X", 1, AUCUN, 2048 | 256 | 4},
        CasNom{"SpacesKeptByDefault", L"FEN Client", false, L"", L"FEN Client", AUCUN, AUCUN, 0},
        CasNom{"SpacesRemovedFromTheNameOnly", L"Mon Alias = FEN Client ,3", true, L"Mon Alias", L"FENClient", 3, AUCUN, 4},
        CasNom{"Empty", L"", false, L"", L"", AUCUN, AUCUN, 0}),
    [](const auto& i) { return std::string(i.param.pszCas); });

TEST(NomFenetre, NullNameIsEmpty) {
    STNomFenetre st;
    CFenPrincipale::_sParseNomFenetre(nullptr, st, false);
    EXPECT_TRUE(st.sNom.empty());
    EXPECT_FALSE(st.bX || st.bY);
}

}  // namespace
