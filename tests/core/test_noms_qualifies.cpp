// Qualified names as the program writes them, split into their parts.
#include "frame/Resolution.h"
#include <gtest/gtest.h>

namespace {

TEST(NomsQualifies, SplitsPartsAndIndices) {
    struct Cas {
        const wchar_t* pszNom;
        bool bOk;
        std::vector<STPartieNom> attendu;
    } tab[] = {
        {L"EDT_Nom", true, {{L"EDT_Nom", 0}}},
        {L"FEN_X.EDT_Nom", true, {{L"FEN_X", 0}, {L"EDT_Nom", 0}}},
        {L"FEN_X.TAB_Onglets[2].EDT_Nom", true, {{L"FEN_X", 0}, {L"TAB_Onglets", 2}, {L"EDT_Nom", 0}}},
        {L"TABLE_Cde[ 12 ]", true, {{L"TABLE_Cde", 12}}},
        {L"", false, {}},
        {L".EDT", false, {}},
        {L"FEN.", false, {}},
        {L"FEN..EDT", false, {}},
        {L"[2]", false, {}},
        {L"TAB[0]", false, {}},
        {L"TAB[-1]", false, {}},
        {L"TAB[2", false, {}},
        {L"TAB[x]", false, {}},
        {L"TAB[2]X", false, {}},
        {L"TAB[1][2]", false, {}},
        {L"TAB[99999999999]", false, {}},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(std::string(c.pszNom, c.pszNom + wcslen(c.pszNom)));
        std::vector<STPartieNom> parties;
        ASSERT_EQ(bDecoupeNomQualifie(c.pszNom, parties), c.bOk);
        if (!c.bOk) continue;
        ASSERT_EQ(parties.size(), c.attendu.size());
        for (size_t i = 0; i < parties.size(); ++i) {
            EXPECT_EQ(parties[i].sNom, c.attendu[i].sNom);
            EXPECT_EQ(parties[i].nIndice, c.attendu[i].nIndice);
        }
    }
    std::vector<STPartieNom> parties;
    EXPECT_FALSE(bDecoupeNomQualifie(nullptr, parties));
}

} // namespace
