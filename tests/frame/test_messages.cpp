// The module's error definition table, its packed messages and the message
// lookup entry points.
#include "frame/ModuleInfo.h"

#include <gtest/gtest.h>

#include "Binaires.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace {

std::set<int> ErreursAttendues() {
    std::set<int> s;
    for (int n = 10001; n <= 10152; ++n) s.insert(n);
    for (int n = 10201; n <= 10207; ++n) s.insert(n);
    for (int n = 10406; n <= 10418; ++n) s.insert(n);
    for (int n : {10453, 10459, 10616, 10637, 10643, 10644, 10645, 10646, 10665, 10666}) s.insert(n);
    return s;
}

// Placeholders %1..%9 that a text uses.
std::set<int> Marques(const std::wstring& s) {
    std::set<int> r;
    for (size_t i = 0; i + 1 < s.size(); ++i) {
        if (s[i] != L'%') continue;
        if (s[i + 1] >= L'1' && s[i + 1] <= L'9') r.insert(s[i + 1] - L'0');
        ++i;
    }
    return r;
}

// Restores the external loader whatever a test installed.
class Messages : public ::testing::Test {
protected:
    void SetUp() override { gpfnLoadStringKVM = nullptr; }
    void TearDown() override { gpfnLoadStringKVM = nullptr; }
};

int ChargeurExt(int, wchar_t* psz, int nCap) {
    const wchar_t* s = L"Ext";
    int n = std::min<int>(3, nCap - 1);
    std::wmemcpy(psz, s, n);
    psz[n] = 0;
    return 3;
}
int ChargeurVide(int, wchar_t* psz, int) { return 0; }
int ChargeurNegatif(int, wchar_t* psz, int) { return -1; }
// Claims more characters than the buffer holds.
int ChargeurMenteur(int, wchar_t* psz, int nCap) {
    std::wmemset(psz, L'x', nCap);
    return nCap + 40;
}
// A text of 2000 characters, cut to the buffer like a well-behaved loader.
int ChargeurLong(int, wchar_t* psz, int nCap) {
    int n = std::min(2000, nCap - 1);
    std::wmemset(psz, L'L', n);
    psz[n] = 0;
    return n;
}
int ChargeurModele(int, wchar_t* psz, int nCap) {
    const std::wstring s = L"Replaced %2/%1";
    int n = std::min<int>(static_cast<int>(s.size()), nCap - 1);
    std::wmemcpy(psz, s.data(), n);
    psz[n] = 0;
    return n;
}

} // namespace

TEST(ErreursKVOBJ, TableHasOneLevel3RowPerErrorSortedByNumber) {
    ASSERT_EQ(gnNbErreursKVOBJ, 182);
    std::set<int> vus;
    for (int i = 0; i < gnNbErreursKVOBJ; ++i) {
        const STErreurDef& d = gtabErreursKVOBJ[i];
        SCOPED_TRACE(d.nErreur);
        if (i > 0) {
            EXPECT_LT(gtabErreursKVOBJ[i - 1].nErreur, d.nErreur);
        }
        EXPECT_EQ(d.nMessage, d.nErreur);
        EXPECT_EQ(d.nCode, d.nErreur);
        EXPECT_EQ(d.nNiveau, 3);
        EXPECT_EQ(pstGetErreurDef(d.nErreur), &d);
        vus.insert(d.nErreur);
    }
    EXPECT_EQ(vus, ErreursAttendues());
    EXPECT_EQ(pstGetErreurDef(10000), nullptr);
    EXPECT_EQ(pstGetErreurDef(10153), nullptr);
    EXPECT_EQ(pstGetErreurDef(10667), nullptr);
    EXPECT_EQ(pstGetErreurDef(0), nullptr);
}

TEST(ErreursKVOBJ, ModuleRecordNamesTheTableAndLoader) {
    EXPECT_EQ(gstMyModuleInfo1.pTabErreurs, gtabErreursKVOBJ);
    EXPECT_EQ(gstMyModuleInfo1.nNbErreurs, gnNbErreursKVOBJ);
    EXPECT_STREQ(gstMyModuleInfo1.pszFichier, L"kv190obj.so");
    EXPECT_STREQ(gstMyModuleInfo1.pszVersion, L"19.0.356.39");
    EXPECT_EQ(gstMyModuleInfo1.nNbRessources, 0);
    ASSERT_NE(gstMyModuleInfo1.pfnChargeMessage, nullptr);
    wchar_t sz[8];
    EXPECT_EQ(gstMyModuleInfo1.pfnChargeMessage(4589, sz, 8), 3);
    EXPECT_STREQ(sz, L"Sum");
}

TEST(ErreursKVOBJ, EveryErrorHasAMessage) {
    for (int i = 0; i < gnNbErreursKVOBJ; ++i) {
        std::wstring s;
        EXPECT_TRUE(bChargeMessage(gtabErreursKVOBJ[i].nMessage, s)) << gtabErreursKVOBJ[i].nErreur;
        EXPECT_FALSE(s.empty());
    }
}

// Each raised error's text uses exactly its arguments, so that none is lost
// and none shows as an empty gap.
TEST(ErreursKVOBJ, TextsUseExactlyTheArgumentsTheErrorCarries) {
    const std::vector<std::pair<int, int>> tab = {
        {10001, 1}, {10005, 1}, {10008, 1}, {10009, 1}, {10010, 1}, {10011, 2}, {10012, 1}, {10013, 1},
        {10014, 1}, {10015, 3}, {10017, 3}, {10018, 1}, {10019, 2}, {10020, 2}, {10021, 2}, {10023, 2},
        {10024, 3}, {10027, 1}, {10028, 2}, {10029, 1}, {10030, 1}, {10034, 0}, {10035, 2}, {10037, 1},
        {10038, 3}, {10042, 1}, {10043, 2}, {10044, 2}, {10049, 1}, {10050, 2}, {10051, 2}, {10054, 1},
        {10055, 4}, {10059, 1}, {10060, 2}, {10063, 2}, {10068, 2}, {10070, 1}, {10071, 0}, {10072, 1},
        {10084, 1}, {10125, 1}, {10143, 1}, {10145, 2}, {10147, 1}, {10151, 2}, {10152, 2}, {10201, 0},
        {10202, 0}, {10203, 0}, {10206, 0}, {10207, 1}, {10406, 0}, {10407, 2}, {10408, 2}, {10410, 2},
        {10411, 1}, {10416, 4}, {10417, 1}, {10418, 1}, {10453, 0}, {10459, 1}, {10616, 1}, {10637, 3},
        {10643, 0}, {10644, 2}, {10645, 2}, {10646, 2}, {10665, 0}, {10666, 2},
    };
    for (auto [nErreur, nArgs] : tab) {
        SCOPED_TRACE(nErreur);
        std::wstring s;
        ASSERT_TRUE(bChargeMessage(nErreur, s));
        std::set<int> attendu;
        for (int k = 1; k <= nArgs; ++k) attendu.insert(k);
        EXPECT_EQ(Marques(s), attendu);
        EXPECT_EQ(s.rfind(L"Internal error", 0), std::wstring::npos) << "raised error with a generic text";
    }
}

TEST(ErreursKVOBJ, PlainMessagesExist) {
    for (int n : {3459, 4589, 4590, 4591, 5555, 5556, 5557, 5558, 5559, 5560, 5561, 5562, 5563, 5564, 5565, 5566, 5851}) {
        std::wstring s;
        EXPECT_TRUE(bChargeMessage(n, s)) << n;
        EXPECT_TRUE(Marques(s).empty()) << n;
    }
    std::wstring s = L"old";
    EXPECT_FALSE(bChargeMessage(9999, s));
    EXPECT_TRUE(s.empty());
}

TEST(ErreursKVOBJ, PackedBlockLiesBetweenItsMarkers) {
    const std::string sDebut = "KORVEL RES BLOC UTF16 START ";
    const std::string sFin = "KORVEL RES BLOC UTF16 STOP";
    const std::string bloc(reinterpret_cast<const char*>(gabyBlocMessages), gnTailleBlocMessages);
    ASSERT_GT(bloc.size(), sDebut.size() + 8 + sFin.size());
    EXPECT_EQ(bloc.find(sDebut), 0u);
    const size_t nFin = bloc.rfind(sFin);
    ASSERT_NE(nFin, std::string::npos);
    EXPECT_EQ(nFin + sFin.size(), bloc.size());
    // The packed size that follows the start marker reaches exactly the stop marker.
    const unsigned char* p = gabyBlocMessages + sDebut.size();
    const uint32_t nPacke = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    EXPECT_EQ(sDebut.size() + 8 + nPacke, nFin);
}

struct CasChargement {
    const char* pszNom;
    PFN_LOAD_STRING_KVM pfnExterne;
    int nNumero;
    int nCapacite;
    int nAttendu;
    const wchar_t* pszAttendu;  // null: the buffer must stay untouched
};

class Chargement : public Messages, public ::testing::WithParamInterface<CasChargement> {};

TEST_P(Chargement, LoadString) {
    const CasChargement& c = GetParam();
    gpfnLoadStringKVM = c.pfnExterne;
    wchar_t sz[64];
    std::wmemset(sz, L'#', 64);
    EXPECT_EQ(DLLRES_nLoadString(&gstMyModuleInfo1, c.nNumero, sz, c.nCapacite), c.nAttendu);
    if (c.pszAttendu)
        EXPECT_STREQ(sz, c.pszAttendu);
    else
        EXPECT_EQ(sz[0], L'#');
}

INSTANTIATE_TEST_SUITE_P(
    Messages, Chargement,
    ::testing::Values(CasChargement{"Whole", nullptr, 4589, 16, 3, L"Sum"},
                      CasChargement{"ExactFit", nullptr, 4589, 4, 3, L"Sum"},
                      CasChargement{"CutAtCapacity", nullptr, 4589, 3, 2, L"Su"},
                      CasChargement{"CapacityOne", nullptr, 4589, 1, 0, L""},
                      CasChargement{"CapacityZero", nullptr, 4589, 0, 0, nullptr},
                      CasChargement{"CapacityNegative", nullptr, 4589, -4, 0, nullptr},
                      CasChargement{"UnknownNumber", nullptr, 9999, 16, 0, L""},
                      CasChargement{"NegativeNumber", nullptr, -4589, 16, 0, L""},
                      CasChargement{"ExternalPositiveWins", &ChargeurExt, 4589, 16, 3, L"Ext"},
                      CasChargement{"ExternalServesUnknown", &ChargeurExt, 9999, 16, 3, L"Ext"},
                      CasChargement{"ExternalZeroFallsBack", &ChargeurVide, 4589, 16, 3, L"Sum"},
                      CasChargement{"ExternalNegativeFallsBack", &ChargeurNegatif, 4589, 16, 3, L"Sum"},
                      CasChargement{"ExternalAnswerKeptInBuffer", &ChargeurMenteur, 4589, 8, 7, L"xxxxxxx"}),
    [](const auto& info) { return std::string(info.param.pszNom); });

TEST_F(Messages, ModuleRecordWithoutLoaderGivesNothing) {
    STModuleInfo info = gstMyModuleInfo1;
    info.pfnChargeMessage = nullptr;
    wchar_t sz[8] = L"junk";
    EXPECT_EQ(DLLRES_nLoadString(&info, 4589, sz, 8), 0);
    EXPECT_STREQ(sz, L"");
    EXPECT_EQ(DLLRES_nLoadString(nullptr, 4589, sz, 8), 3);
    EXPECT_STREQ(sz, L"Sum");
}

TEST_F(Messages, LoadStringIntoStringIsNotCutByItsWorkingBuffer) {
    gpfnLoadStringKVM = &ChargeurLong;
    std::wstring s;
    ASSERT_TRUE(DLLRES_bLoadString(&gstMyModuleInfo1, 4589, s));
    EXPECT_EQ(s, std::wstring(2000, L'L'));
}

TEST(FormateMessage, Placeholders) {
    const std::vector<std::wstring> ab = {L"a", L"b"};
    const std::vector<std::wstring> neuf = {L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"nine"};
    struct Cas {
        const wchar_t* pszModele;
        const std::vector<std::wstring>* pArgs;
        const wchar_t* pszAttendu;
    } tab[] = {
        {L"%1 and %2", &ab, L"a and b"},
        {L"%2 before %1, %1 again", &ab, L"b before a, a again"},
        {L"100%%", &ab, L"100%"},
        {L"%%1 is literal", &ab, L"%1 is literal"},
        {L"missing [%3]", &ab, L"missing []"},
        {L"%9", &neuf, L"nine"},
        {L"%10", &neuf, L"10"},
        {L"%0 %a % end %", &ab, L"%0 %a % end %"},
        {L"", &ab, L""},
    };
    for (const Cas& c : tab) EXPECT_EQ(sFormateMessage(c.pszModele, *c.pArgs), c.pszAttendu) << c.pszModele;
    // An argument's own text is not expanded again.
    EXPECT_EQ(sFormateMessage(L"%1|%2", {L"%2", L"x"}), L"%2|x");
}

TEST_F(Messages, ErrorCarriesModuleNumberArgumentsAndFormattedText) {
    try {
        xThrowErreur(10011, 12, 8);
        FAIL() << "no error thrown";
    } catch (const CXError& e) {
        EXPECT_EQ(e.sGetModule(), L"KVOBJ");
        EXPECT_EQ(e.nGetErreur(), 10011);
        EXPECT_EQ(e.nGetNiveau(), 3);
        EXPECT_TRUE(e.bEstErreur());
        EXPECT_EQ(e.tabGetArgs(), (std::vector<std::wstring>{L"12", L"8"}));
        std::wstring sModele;
        ASSERT_TRUE(bChargeMessage(10011, sModele));
        EXPECT_EQ(e.sGetMessage(), sFormateMessage(sModele, {L"12", L"8"}));
        EXPECT_NE(e.sGetMessage().find(L"12"), std::wstring::npos);
        EXPECT_EQ(e.sGetMessage().find(L'%'), std::wstring::npos);
    }
    EXPECT_EQ(ErreurKVOBJ(10014, {L"KVOBJ"}).sGetMessage().find(L"%1"), std::wstring::npos);
}

TEST_F(Messages, ErrorWithoutDefinitionNamesNumberAndArguments) {
    CXError e = ErreurKVOBJ(19999, {L"a", L"b"});
    EXPECT_EQ(e.sGetModule(), L"KVOBJ");
    EXPECT_EQ(e.nGetNiveau(), 3);
    EXPECT_EQ(e.sGetMessage(), L"Error 19999 of module KVOBJ: a, b");
    EXPECT_EQ(ErreurKVOBJ(19999).sGetMessage(), L"Error 19999 of module KVOBJ");
}

TEST_F(Messages, ErrorTextComesFromTheExternalLoaderWhenInstalled) {
    gpfnLoadStringKVM = &ChargeurModele;
    EXPECT_EQ(ErreurKVOBJ(10028, {L"COL", L"TABLE"}).sGetMessage(), L"Replaced TABLE/COL");
}

TEST_F(Messages, FormatMessageVariants) {
    std::wstring s = L"old";
    EXPECT_TRUE(DLLRES_bFormatMessage(&gstMyModuleInfo1, 10028, s, {L"COL", L"TABLE"}));
    EXPECT_NE(s.find(L"COL"), std::wstring::npos);
    EXPECT_NE(s.find(L"TABLE"), std::wstring::npos);
    std::wstring s2;
    EXPECT_TRUE(DLLRES_bFormatMessageList(&gstMyModuleInfo1, 10028, s2, {L"COL", L"TABLE"}));
    EXPECT_EQ(s2, s);
    EXPECT_FALSE(DLLRES_bFormatMessage(&gstMyModuleInfo1, 9999, s, {}));
    EXPECT_TRUE(s.empty());
    EXPECT_FALSE(DLLRES_bLoadString(&gstMyModuleInfo1, 9999, s));

    // 4589 stands for the singular form, 4590 for the plural one.
    const std::pair<long long, const wchar_t*> compte[] = {
        {0, L"Sum"}, {1, L"Sum"}, {-1, L"Sum"}, {2, L"Count"}, {-2, L"Count"},
        {1LL << 40, L"Count"}, {std::numeric_limits<long long>::min(), L"Count"},
    };
    for (auto [n, psz] : compte) {
        EXPECT_TRUE(DLLRES_bFormatMessageSingulierPluriel(&gstMyModuleInfo1, 4589, 4590, n, s, {}));
        EXPECT_EQ(s, psz) << n;
    }
}

// The packing tool itself: it must refuse bad input without leaving output.
class OutilPack : public ::testing::Test {
protected:
    std::string m_sDossier = kvtest::RepertoireTemporaire();

    static std::string sValide() {
        std::ostringstream o;
        o << "# comment\n\n";
        for (int n = 1; n <= 182; ++n) o << "E\t" << 20000 + n << "\tError %1 number " << n << "\n";
        o << "M\t5\tplain \\n text\r\n";
        return o.str();
    }

    int nLance(const std::string& sContenu) {
        const std::string sEntree = m_sDossier + "/messages.txt";
        std::ofstream(sEntree, std::ios::binary) << sContenu;
        std::filesystem::remove(sSortie());
        const std::string sCommande =
            "'" + kvtest::CheminBinaire("kvmsgpack") + "' '" + sEntree + "' '" + sSortie() + "' 2>/dev/null";
        int r = std::system(sCommande.c_str());
        return WIFEXITED(r) ? WEXITSTATUS(r) : -1;
    }
    std::string sSortie() const { return m_sDossier + "/out.cpp"; }
};

TEST_F(OutilPack, AcceptsAWellFormedFile) {
    ASSERT_EQ(nLance(sValide()), 0);
    std::ifstream f(sSortie());
    std::string s((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    EXPECT_NE(s.find("gabyBlocMessages"), std::string::npos);
    EXPECT_NE(s.find("{20001, 20001, 20001, 3}"), std::string::npos);
    EXPECT_NE(s.find("gnNbErreursKVOBJ = 182"), std::string::npos);
}

TEST_F(OutilPack, RefusesBadInput) {
    const std::string sBon = sValide();
    const std::pair<const char*, std::string> tab[] = {
        {"duplicate error", sBon + "E\t20001\tagain\n"},
        {"duplicate across kinds", sBon + "M\t20002\tagain\n"},
        {"one error too many", sBon + "E\t30000\tmore\n"},
        {"one error missing", sBon.substr(0, sBon.find("E\t20001")) + sBon.substr(sBon.find("E\t20002"))},
        {"unknown kind", sBon + "X\t7\ttext\n"},
        {"space instead of tab", sBon + "M 7 text\n"},
        {"number not decimal", sBon + "M\t7a\ttext\n"},
        {"missing text", sBon + "M\t7\n"},
        {"empty text", sBon + "M\t7\t\n"},
        {"bad placeholder", sBon + "M\t7\t50% off\n"},
        {"bad escape", sBon + "M\t7\ta\\qb\n"},
        {"invalid UTF-8", sBon + "M\t7\t\xC3\x28\n"},
    };
    for (const auto& [pszCas, sContenu] : tab) {
        EXPECT_NE(nLance(sContenu), 0) << pszCas;
        EXPECT_FALSE(std::filesystem::exists(sSortie())) << pszCas;
    }
}
