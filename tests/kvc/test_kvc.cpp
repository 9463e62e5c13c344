// The description compiler: the project description record against bytes
// written by hand, object identifiers and event names, the compiled project
// container, and the kvc binary on good and bad YAML projects; windows
// compiled by kvc and read back by the module's own reader.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <spawn.h>
#include <sqlite3.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "Binaires.h"
#include "DescriptionProjet.h"
#include "Octets.h"
#include "conteneur/CConteneurProjet.h"
#include "conteneur/Identifiants.h"
#include "controls/image/CChampImage.h"
#include "controls/static/CChampLibelle.h"
#include "windows/CFenPrincipale.h"

extern char** environ;

namespace fs = std::filesystem;

using namespace kvoctets;

namespace {

std::string sLitFichier(const std::string& s) {
    std::ifstream f(s, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

void EcritFichier(const std::string& s, const std::string& sContenu) {
    std::ofstream f(s, std::ios::binary | std::ios::trunc);
    f << sContenu;
}

struct STExecution {
    bool bSignal = false;  // ended by a signal (a crash)
    int nCode = -1;
    std::string sSortie, sErreurs;
};

// Runs the real kvc binary with its output captured.
STExecution Kvc(const std::vector<std::string>& tabArgs) {
    const std::string sRep = kvtest::RepertoireTemporaire();
    const std::string sOut = sRep + "/out", sErr = sRep + "/err";
    std::string sBinaire = kvtest::CheminBinaire("kvc");
    std::vector<char*> argv{sBinaire.data()};
    std::vector<std::string> copie(tabArgs);
    for (auto& a : copie) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, sOut.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&fa, 2, sErr.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid;
    STExecution r;
    int rc = posix_spawn(&pid, sBinaire.c_str(), &fa, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    if (rc != 0) {
        r.sErreurs = std::string("cannot run kvc: ") + std::strerror(rc);
        return r;
    }
    int nStatut = 0;
    waitpid(pid, &nStatut, 0);
    r.bSignal = WIFSIGNALED(nStatut);
    r.nCode = WIFEXITED(nStatut) ? WEXITSTATUS(nStatut) : -1;
    r.sSortie = sLitFichier(sOut);
    r.sErreurs = sLitFichier(sErr);
    return r;
}

// ---------------------------------------------------------------- project description record

// Written by hand from the record's field table: version 1, declared size,
// marked UTF-8 texts (start mark, total length = bytes + 13, bytes, zero,
// end mark), the code page, a 4-byte boolean, counted lists of texts.
const char* const GOLDEN_PROJET =
    "01 00 00 00"                                          // version 1
    "7A 00 00 00"                                          // declared size: 122 bytes from here
    "FF CE 88 F1 12 00 00 00 44 C3 A9 6D 6F 00 FE ED 98 E1"  // name "Démo"
    "FF CE 88 F1 12 00 00 00 46 45 4E 5F 41 00 FE ED 98 E1"  // first window "FEN_A"
    "E4 04 00 00"                                          // code page 1252
    "01 00 00 00"                                          // manages languages
    "02 00 00 00"                                          // 2 languages
    "FF CE 88 F1 0F 00 00 00 66 72 00 FE ED 98 E1"          // "fr"
    "FF CE 88 F1 0F 00 00 00 65 6E 00 FE ED 98 E1"          // "en"
    "02 00 00 00"                                          // 2 windows
    "FF CE 88 F1 12 00 00 00 46 45 4E 5F 41 00 FE ED 98 E1"  // "FEN_A"
    "FF CE 88 F1 12 00 00 00 46 45 4E 5F 42 00 FE ED 98 E1"; // "FEN_B"

TEST(DescriptionProjet, GoldenBytesReadAndWritten) {
    const std::vector<uint8_t> golden = HexMajuscules(GOLDEN_PROJET);
    ASSERT_EQ(golden.size(), 126u);

    CKVBuffer b(golden.data(), golden.size());
    STDescriptionProjet d;
    d.nCodePage = 0;
    xLitEnregistrement(b, d);
    EXPECT_EQ(b.nGetPosition(), golden.size());
    EXPECT_EQ(d.nVersion, 1u);
    EXPECT_EQ(d.sNom, L"D\u00e9mo");
    EXPECT_EQ(d.sPremiereFenetre, L"FEN_A");
    EXPECT_EQ(d.nCodePage, 1252u);
    EXPECT_TRUE(d.bGereLangues);
    EXPECT_EQ(d.tabLangues, (std::vector<CTString>{L"fr", L"en"}));
    EXPECT_EQ(d.tabFenetres, (std::vector<CTString>{L"FEN_A", L"FEN_B"}));

    CKVBuffer w;
    EcritEnregistrement(w, d);
    EXPECT_EQ(w.Octets(), golden);
}

TEST(DescriptionProjet, DamagedOrNewerRecords) {
    struct Cas {
        const char* pszNom;
        void (*pfnModifie)(std::vector<uint8_t>&);
        int nErreur;  // 0: read
    };
    const Cas tabCas[] = {
        // A newer writer's extra field is skipped through the declared size.
        {"field of a newer writer", [](std::vector<uint8_t>& t) { t[4] = 0x7E; t.insert(t.end(), {0xAA, 0xBB, 0xCC, 0xDD}); }, 0},
        {"version above the range", [](std::vector<uint8_t>& t) { t[0] = 2; }, 10084},
        {"version below the range", [](std::vector<uint8_t>& t) { t[0] = 0; }, 10014},
        {"record cut short", [](std::vector<uint8_t>& t) { t.pop_back(); }, 10011},
        // A count no stream could hold is refused before anything is allocated.
        {"language count beyond the bytes", [](std::vector<uint8_t>& t) { t[0x34] = t[0x35] = t[0x36] = t[0x37] = 0xFF; }, 10011},
        {"window count one too many", [](std::vector<uint8_t>& t) { t[0x56] = 3; }, 10011},
    };
    for (const auto& c : tabCas) {
        SCOPED_TRACE(c.pszNom);
        std::vector<uint8_t> t = HexMajuscules(GOLDEN_PROJET);
        c.pfnModifie(t);
        CKVBuffer b(t.data(), t.size());
        STDescriptionProjet d;
        try {
            xLitEnregistrement(b, d);
            EXPECT_EQ(c.nErreur, 0);
            EXPECT_EQ(b.nGetPosition(), t.size());
            EXPECT_EQ(d.tabFenetres.size(), 2u);
        } catch (const CXError& e) {
            EXPECT_EQ(e.nGetErreur(), c.nErreur);
        }
    }
}

// ---------------------------------------------------------------- identifiers and events

TEST(Identifiants, StableValuesWithoutRegardToCase) {
    // FNV-1a 64 of the upper-case UTF-8 full name, computed independently.
    struct Cas {
        const wchar_t* pszNom;
        uint64_t nAttendu;
    };
    const Cas tabCas[] = {
        {L"FEN_Clients", 0x8E641E8C73406925ull},
        {L"fen_clients.edt_nom", 0xD0678EC02E9D2711ull},
        {L"FEN_Clients.TABLE_Cde.COL_R\u00e9f", 0x6080133326504AD7ull},
        {L"fen_\u00e9", 0x450E47B4FE0D826Bull},
        {L"\u00ff\u0101\u0133.\u0131", 0x1393671F5CE86A9Bull},  // ÿāĳ.ı folds to ŸĀĲ.I
    };
    for (const auto& c : tabCas) EXPECT_EQ(nIdentifiantObjet(c.pszNom), c.nAttendu) << sVersUtf8(c.pszNom);
    EXPECT_NE(nIdentifiantObjet(L"FEN_A.EDT_B"), nIdentifiantObjet(L"FEN_A.EDT_C"));
}

TEST(Identifiants, FoldOfLatinLettersIsTheSameInEveryLocale) {
    // towupper folds only ASCII in the "C" locale the module runs in; the
    // identifiers must not change with the locale of the compiler.
    const uint64_t nAvant = nIdentifiantObjet(L"FEN_\u00e9t\u00e9");
    const char* pszAncienne = std::setlocale(LC_CTYPE, nullptr);
    std::string sAncienne = pszAncienne ? pszAncienne : "C";
    ASSERT_TRUE(std::setlocale(LC_CTYPE, "C.UTF-8"));
    EXPECT_EQ(nIdentifiantObjet(L"FEN_\u00e9t\u00e9"), nAvant);
    // Letter for letter, the fold is the Unicode upper case of the Latin
    // letters (µ, a symbol here, is kept).
    for (wchar_t c = 0; c < 0x180; ++c) {
        if (c == 0xB5) continue;
        EXPECT_EQ(cMajusculeStable(c), static_cast<wchar_t>(std::towupper(c))) << std::hex << static_cast<unsigned>(c);
    }
    std::setlocale(LC_CTYPE, sAncienne.c_str());
    EXPECT_EQ(cMajusculeStable(L'\u0436'), L'\u0436');  // beyond Latin: kept
}

TEST(Evenements, NamesAndNumbersBothWays) {
    struct Cas {
        const char* pszNom;
        uint32_t nNumero;
    };
    const Cas tabCas[] = {
        {"declarations", 0}, {"closing", 2},        {"resize", 13},        {"init", 14},
        {"entry", 15},       {"exit", 16},          {"modification", 17},  {"click", 18},
        {"row_entry", 19},   {"row_exit", 20},      {"row_display", 21},   {"menu_option", 32},
        {"row_selection", 33}, {"window_init", 34}, {"list_init_end", 35}, {"mouse_enter", 152},
        {"mouse_leave", 153}, {"column_resize", 228},
    };
    for (const auto& c : tabCas) {
        EXPECT_EQ(nEvenementDepuisNom(c.pszNom), c.nNumero) << c.pszNom;
        EXPECT_STREQ(pszNomEvenement(c.nNumero), c.pszNom);
    }
    // Every event of the table reads back under its name and its number,
    // and no name or number appears twice.
    for (const auto& e : TableEvenements()) {
        EXPECT_EQ(nEvenementDepuisNom(e.pszNom), e.nNumero);
        EXPECT_EQ(nEvenementDepuisNom(std::to_string(e.nNumero)), e.nNumero);
        EXPECT_STREQ(pszNomEvenement(e.nNumero), e.pszNom);
    }
    EXPECT_EQ(TableEvenements().size(), 38u);
    for (const char* psz : {"", "clik", "Click", "5", "-1", "4294967314", "018x"})
        EXPECT_FALSE(nEvenementDepuisNom(psz).has_value()) << psz;
    EXPECT_EQ(pszNomEvenement(5), nullptr);
}

// ---------------------------------------------------------------- container

class Conteneur : public ::testing::Test {
protected:
    std::string m_sRep = kvtest::RepertoireTemporaire();
    std::string m_sFichier = m_sRep + "/p.kvp";

    void Cree() {
        CConteneurProjet c;
        ASSERT_TRUE(c.bCree(m_sFichier)) << c.sGetErreur();
        EXPECT_FALSE(fs::exists(m_sFichier));  // only FILE.tmp until complete
        ASSERT_TRUE(c.bSetParametre("name", "P"));
        ASSERT_TRUE(c.bAjouteDescription("FEN_\xC3\x89t\xC3\xA9", eTYPE_DESCRIPTION_FENETRE, std::vector<uint8_t>{1, 2, 3}));
        ASSERT_TRUE(c.bAjouteDescription("P", eTYPE_DESCRIPTION_PROJET, std::vector<uint8_t>{}));
        ASSERT_TRUE(c.bAjouteObjet(0xFEDCBA9876543210ull, "FEN_A.EDT_B"));
        ASSERT_TRUE(c.bAjouteCode(0xFEDCBA9876543210ull, 16, "lua", "Info(1)\n", "FEN_A.EDT_B"));
        ASSERT_TRUE(c.bValide()) << c.sGetErreur();
        EXPECT_FALSE(fs::exists(m_sFichier + ".tmp"));
    }
};

TEST_F(Conteneur, WrittenThenReadBack) {
    Cree();
    CConteneurProjet c;
    ASSERT_TRUE(c.bOuvre(m_sFichier)) << c.sGetErreur();
    std::string s;
    ASSERT_EQ(c.eGetParametre("name", s), eLECTURE_OK);
    EXPECT_EQ(s, "P");
    EXPECT_EQ(c.eGetParametre("absent", s), eLECTURE_ABSENT);

    // Names without regard to case, Latin letters included.
    std::vector<uint8_t> tab;
    for (const char* pszNom : {"FEN_\xC3\x89t\xC3\xA9", "fen_\xC3\xA9t\xC3\xA9", "FEN_\xC3\x89T\xC3\x89"}) {
        ASSERT_EQ(c.eLitDescription(pszNom, eTYPE_DESCRIPTION_FENETRE, tab), eLECTURE_OK) << pszNom;
        EXPECT_EQ(tab, (std::vector<uint8_t>{1, 2, 3}));
    }
    EXPECT_EQ(c.eLitDescription("FEN_\xC3\x89t\xC3\xA9", eTYPE_DESCRIPTION_AUTRE, tab), eLECTURE_ABSENT);
    ASSERT_EQ(c.eLitDescription("p", eTYPE_DESCRIPTION_PROJET, tab), eLECTURE_OK);
    EXPECT_TRUE(tab.empty());

    STEntreeCode code;
    ASSERT_EQ(c.eLitCode(0xFEDCBA9876543210ull, 16, code), eLECTURE_OK);  // above INT64_MAX
    EXPECT_EQ(code.sSource, "Info(1)\n");
    EXPECT_EQ(code.sNom, "FEN_A.EDT_B");
    EXPECT_EQ(c.eLitCode(0xFEDCBA9876543210ull, 15, code), eLECTURE_ABSENT);
    std::vector<STEntreeCode> tabCode;
    ASSERT_TRUE(c.bListeCode(tabCode));
    ASSERT_EQ(tabCode.size(), 1u);
    EXPECT_EQ(tabCode[0].nId, 0xFEDCBA9876543210ull);

    // Read-only: nothing can be written.
    EXPECT_FALSE(c.bSetParametre("name", "Q"));
    EXPECT_FALSE(c.bAjouteCode(1, 2, "lua", "", "X"));
}

TEST_F(Conteneur, ReplacingAndCollisions) {
    CConteneurProjet c;
    ASSERT_TRUE(c.bCree(m_sFichier));
    // Putting a name again in another case replaces it, Latin letters included.
    ASSERT_TRUE(c.bAjouteDescription("FEN_\xC3\xA9", 2, std::vector<uint8_t>{1}));
    ASSERT_TRUE(c.bAjouteDescription("FEN_\xC3\x89", 2, std::vector<uint8_t>{2}));
    std::vector<STEntreeDescription> tab;
    ASSERT_TRUE(c.bListeDescriptions(tab));
    ASSERT_EQ(tab.size(), 1u);
    EXPECT_EQ(tab[0].sNom, "FEN_\xC3\x89");
    // One identifier, two different names: refused, so code is never shared.
    ASSERT_TRUE(c.bAjouteObjet(7, "FEN_A.EDT_B"));
    EXPECT_TRUE(c.bAjouteObjet(7, "fen_a.edt_b"));
    EXPECT_FALSE(c.bAjouteObjet(7, "FEN_A.EDT_C"));
    EXPECT_NE(c.sGetErreur().find("same identifier"), std::string::npos);
}

TEST_F(Conteneur, AbandonedLeavesTheOldFileAlone) {
    EcritFichier(m_sFichier, "old");
    {
        CConteneurProjet c;
        ASSERT_TRUE(c.bCree(m_sFichier));
        ASSERT_TRUE(c.bSetParametre("name", "P"));
        // destroyed without bValide
    }
    EXPECT_EQ(sLitFichier(m_sFichier), "old");
    EXPECT_FALSE(fs::exists(m_sFichier + ".tmp"));

    CConteneurProjet c;
    EXPECT_FALSE(c.bCree(m_sRep + "/no/such/folder/p.kvp"));
    EXPECT_FALSE(c.sGetErreur().empty());
}

TEST_F(Conteneur, ForeignAndDamagedFilesRefused) {
    Cree();
    const std::string sBon = sLitFichier(m_sFichier);
    auto sqlite = [&](const std::string& sChemin, const char* pszSQL) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(sChemin.c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, pszSQL, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
    };
    struct Cas {
        const char* pszNom;
        std::function<void(const std::string&)> prepare;
        const char* pszMessage;
    };
    const Cas tabCas[] = {
        {"text file", [](const std::string& s) { EcritFichier(s, "name: P\nfirst_window: FEN_A\n"); }, "not a project container"},
        {"empty file", [](const std::string& s) { EcritFichier(s, ""); }, "not a project container"},
        {"another application's database",
         [&](const std::string& s) { sqlite(s, "PRAGMA application_id=1; CREATE TABLE t(x);"); }, "not a project container"},
        {"newer container format",
         [&](const std::string& s) { EcritFichier(s, sBon); sqlite(s, "PRAGMA user_version=2;"); }, "format version 2"},
        {"table missing",
         [&](const std::string& s) { EcritFichier(s, sBon); sqlite(s, "DROP TABLE code;"); }, "no table 'code'"},
        {"column missing",
         [&](const std::string& s) {
             EcritFichier(s, sBon);
             sqlite(s, "DROP TABLE objet; CREATE TABLE objet(id INTEGER PRIMARY KEY);");
         },
         "no column 'nom'"},
        {"a folder", [](const std::string& s) { fs::create_directory(s); }, "not a file"},
        {"no file", [](const std::string&) {}, "No such file"},
    };
    int i = 0;
    for (const auto& c : tabCas) {
        SCOPED_TRACE(c.pszNom);
        const std::string s = m_sRep + "/cas" + std::to_string(i++) + ".kvp";
        c.prepare(s);
        CConteneurProjet k;
        EXPECT_FALSE(k.bOuvre(s));
        EXPECT_NE(k.sGetErreur().find(c.pszMessage), std::string::npos) << k.sGetErreur();
        EXPECT_FALSE(k.bEstOuvert());
    }
}

TEST_F(Conteneur, DamagedPagesGiveErrorsNotCrashes) {
    Cree();
    const std::string sBon = sLitFichier(m_sFichier);
    ASSERT_GT(sBon.size(), 2048u);
    // Cut after the header page; then garbage over every page but the first.
    std::string sCoupe = sBon.substr(0, sBon.size() / 2);
    std::string sAbime = sBon;
    for (size_t k = 4096; k < sAbime.size(); ++k) sAbime[k] = static_cast<char>((k * 131) & 0xFF);
    for (const std::string& sContenu : {sCoupe, sAbime}) {
        EcritFichier(m_sFichier, sContenu);
        CConteneurProjet c;
        bool bOk = c.bOuvre(m_sFichier);
        std::vector<STEntreeDescription> tabD;
        std::vector<STEntreeCode> tabC;
        std::vector<uint8_t> tab;
        bOk = bOk && c.bListeDescriptions(tabD) && c.bListeCode(tabC) &&
              c.eLitDescription("P", eTYPE_DESCRIPTION_PROJET, tab) != eLECTURE_ERREUR;
        EXPECT_FALSE(bOk);
        EXPECT_NE(c.sGetErreur().find("damaged"), std::string::npos) << c.sGetErreur();
    }
}

// ---------------------------------------------------------------- the kvc binary

TEST(Kvc, CompilesListsAndDumpsAProject) {
    const std::string sRep = kvtest::RepertoireTemporaire();
    const std::string sSortie = sRep + "/demo.kvp";
    STExecution r = Kvc({kvtest::CheminFixture("kvc/bon"), "-o", sSortie});
    ASSERT_EQ(r.nCode, 0) << r.sErreurs;
    // A window with controls of kinds the compiler does not write yet keeps
    // its event code and has no description; kvc says so for each control.
    for (const char* psz : {"clients.yaml:24:12: note: control kind 'table' is not compiled yet",
                            "clients.yaml:1:9: note: window FEN_Clients: its description record is not compiled yet"})
        EXPECT_NE(r.sErreurs.find(psz), std::string::npos) << psz << "\n" << r.sErreurs;
    EXPECT_EQ(r.sErreurs.find("FEN_Commande"), std::string::npos) << r.sErreurs;

    // The container: the project description is the record of the project
    // as its writer makes it; the code is stored as written.
    CConteneurProjet c;
    ASSERT_TRUE(c.bOuvre(sSortie)) << c.sGetErreur();
    STDescriptionProjet attendu;
    attendu.sNom = L"D\u00e9mo";
    attendu.sPremiereFenetre = L"FEN_Clients";  // the window's own spelling
    attendu.nCodePage = 1252;
    attendu.bGereLangues = true;
    attendu.tabLangues = {L"fr", L"en"};
    attendu.tabFenetres = {L"FEN_Clients", L"FEN_Commande"};
    CKVBuffer b;
    EcritEnregistrement(b, attendu);
    std::vector<uint8_t> tab;
    ASSERT_EQ(c.eLitDescription("D\xC3\xA9mo", eTYPE_DESCRIPTION_PROJET, tab), eLECTURE_OK);
    EXPECT_EQ(tab, b.Octets());

    struct Code {
        const wchar_t* pszObjet;
        uint32_t nEvenement;
        const char* pszSource;
    };
    const Code tabCode[] = {
        {L"FEN_Clients", 0, "local client = ...\n"},
        {L"FEN_Clients", 34, "EDT_Nom.Valeur = client or \"\"\n"},  // a window's "init"
        {L"FEN_Clients", 2, "Info(\"bye\")"},
        {L"FEN_Clients.EDT_Nom", 16, "if EDT_Nom.Valeur == \"\" then Erreur(\"Nom ?\") end\n"},
        {L"FEN_Clients.EDT_Nom", 14, "EDT_Nom.Valeur = \"x\""},  // a control's "init"
        {L"FEN_Clients.BTN_Fermer", 18, "Ferme()"},
        {L"FEN_Clients.TABLE_Cde.COL_R\u00e9f", 15, "Info(\"r\u00e9f\")"},
        {L"FEN_Clients.MENU_Principal.OPT_Quitter", 32, "Ferme()"},
        {L"FEN_Clients.MENU_Principal.MENU_Aide.OPT_Apropos", 18, "Info(\"v1\")"},  // by number
        {L"FEN_Commande", 152, "Info(\"in\")"},
    };
    for (const auto& e : tabCode) {
        STEntreeCode code;
        ASSERT_EQ(c.eLitCode(nIdentifiantObjet(e.pszObjet), e.nEvenement, code), eLECTURE_OK) << sVersUtf8(e.pszObjet);
        EXPECT_EQ(sDepuisUtf8(code.sSource), sDepuisUtf8(e.pszSource));
        EXPECT_EQ(code.sNom, sVersUtf8(e.pszObjet));
        EXPECT_EQ(code.sLangage, "lua");
    }
    std::vector<STEntreeCode> tabTout;
    ASSERT_TRUE(c.bListeCode(tabTout));
    EXPECT_EQ(tabTout.size(), std::size(tabCode));
    // Every object, with or without code, has its full name.
    std::string sNom;
    ASSERT_EQ(c.eGetNomObjet(nIdentifiantObjet(L"FEN_Clients.TABLE_Cde.COL_Qte"), sNom), eLECTURE_OK);
    EXPECT_EQ(sNom, "FEN_Clients.TABLE_Cde.COL_Qte");

    // list
    r = Kvc({"list", sSortie});
    ASSERT_EQ(r.nCode, 0) << r.sErreurs;
    for (const char* psz : {"first_window = FEN_Clients", "languages = fr,en", "type 1 (project)  \"D\xC3\xA9mo\"  ",
                            "0xD0678EC02E9D2711  16 exit  FEN_Clients.EDT_Nom  (lua, 1 line)",
                            "0x8E641E8C73406925  34 window_init  FEN_Clients",
                            "152 mouse_enter  FEN_Commande"})
        EXPECT_NE(r.sSortie.find(psz), std::string::npos) << psz << "\n" << r.sSortie;

    // dump: through the record's reader, with offsets, version and size.
    r = Kvc({"dump", sSortie, "D\xC3\x89MO", "project"});
    ASSERT_EQ(r.nCode, 0) << r.sErreurs;
    const char* tabLignes[] = {
        "description \"D\xC3\xA9mo\", type 1 (project), ",
        "00000000  project = { version 1, declared size ",
        "00000008    name = \"D\xC3\xA9mo\"\n",
        "0000001A    first window = \"FEN_Clients\"\n",
        "00000032    code page = 1252\n",
        "00000036    manages languages = true\n",
        "0000003A    language count = 2\n",
        "    window = \"FEN_Commande\"\n",
        "  project = } ",
    };
    size_t nPos = 0;
    for (const char* psz : tabLignes) {
        size_t n = r.sSortie.find(psz, nPos);
        ASSERT_NE(n, std::string::npos) << psz << "\n" << r.sSortie;
        nPos = n;
    }
    r = Kvc({"dump", sSortie, "FEN_Clients"});
    EXPECT_EQ(r.nCode, 1);
    EXPECT_NE(r.sErreurs.find("no description \"FEN_Clients\""), std::string::npos);
}

TEST(Kvc, BadProjectsReportedWhereTheyAreAndNothingWritten) {
    struct Cas {
        const char* pszProjet;
        const char* pszOu;       // file:line:column
        const char* pszMessage;
    };
    const Cas tabCas[] = {
        {"yaml_syntaxe", "a.yaml:3:5", "error: YAML: "},
        {"evenement_inconnu", "a.yaml:5:7", "unknown event 'clik'"},
        {"evenement_double", "a.yaml:4:3", "event 2 (closing) has code already"},
        {"cle_double", "a.yaml:6:7", "duplicate key 'click'"},
        {"fenetre_double", "b.yaml:2:9", "duplicate window name 'fen_a'"},
        {"champ_double", "a.yaml:5:11", "duplicate name 'edt_nom' in window FEN_A"},
        {"menu_champ_meme_nom", "a.yaml:5:11", "duplicate name 'MENU_X' in window FEN_A"},
        {"premiere_absente", "project.yaml:2:15", "first window 'FEN_X' is not a window of the project"},
        {"sans_premiere", "project.yaml:1:1", "the project has no 'first_window'"},
        {"genre_inconnu", "a.yaml:3:5", "unknown control kind 'at'"},
        {"code_orphelin", "a.yaml:6:9", "event code here belongs to no object"},
        {"code_page", "project.yaml:3:12", "'code_page' must be the number of a known code page"},
        {"fichier_absent", "project.yaml:5:5", "no window file 'b.yaml'"},
        {"deux_documents", "a.yaml:3:1", "a second YAML document"},
        {"nom_invalide", "a.yaml:3:11", "'EDT.Nom' is not a valid name"},
    };
    const std::string sRep = kvtest::RepertoireTemporaire();
    const std::string sSortie = sRep + "/p.kvp";
    EcritFichier(sSortie, "old");
    for (const auto& c : tabCas) {
        SCOPED_TRACE(c.pszProjet);
        const std::string sProjet = kvtest::CheminFixture((std::string("kvc/mauvais/") + c.pszProjet).c_str());
        STExecution r = Kvc({sProjet, "-o", sSortie});
        EXPECT_FALSE(r.bSignal);
        EXPECT_EQ(r.nCode, 1);
        EXPECT_NE(r.sErreurs.find(sProjet + "/" + c.pszOu + ": error: "), std::string::npos) << r.sErreurs;
        EXPECT_NE(r.sErreurs.find(c.pszMessage), std::string::npos) << r.sErreurs;
        EXPECT_EQ(sLitFichier(sSortie), "old");
        EXPECT_FALSE(fs::exists(sSortie + ".tmp"));
    }
}

TEST(Kvc, DamagedOrForeignFilesRefusedWithoutCrash) {
    const std::string sRep = kvtest::RepertoireTemporaire();
    // A description whose record is cut short: the dump shows what it read
    // and reports where it stopped.
    const std::string sAbime = sRep + "/abime.kvp";
    {
        std::vector<uint8_t> t = HexMajuscules(GOLDEN_PROJET);
        t.resize(60);
        t[4] = 56;  // declared size fits the cut bytes; the language list does not
        CConteneurProjet c;
        ASSERT_TRUE(c.bCree(sAbime));
        ASSERT_TRUE(c.bAjouteDescription("P", eTYPE_DESCRIPTION_PROJET, t));
        ASSERT_TRUE(c.bValide());
    }
    STExecution r = Kvc({"dump", sAbime, "P"});
    EXPECT_FALSE(r.bSignal);
    EXPECT_EQ(r.nCode, 1);
    EXPECT_NE(r.sSortie.find("    code page = 1252"), std::string::npos) << r.sSortie;
    EXPECT_NE(r.sErreurs.find("error: description \"P\": offset 0x"), std::string::npos) << r.sErreurs;

    const std::string sTexte = sRep + "/texte.kvp";
    EcritFichier(sTexte, "window: FEN_A\n");
    for (const auto& args : std::vector<std::vector<std::string>>{{"list", sTexte}, {"dump", sTexte, "P"}}) {
        r = Kvc(args);
        EXPECT_FALSE(r.bSignal);
        EXPECT_EQ(r.nCode, 1);
        EXPECT_NE(r.sErreurs.find("not a project container"), std::string::npos) << r.sErreurs;
    }
}

// ---------------------------------------------------------------- windows

// A window object of the module, released at the end of the scope.
struct Fenetre {
    CFenPrincipale* p;
    explicit Fenetre(const wchar_t* psz) : p(new CFenPrincipale(psz)) {}
    ~Fenetre() { p->nRelease(); }
    Fenetre(const Fenetre&) = delete;
    Fenetre& operator=(const Fenetre&) = delete;
    CFenPrincipale* operator->() const { return p; }
};

std::vector<uint8_t> LitDescriptionFenetre(const std::string& sFichier, const char* pszNom) {
    CConteneurProjet c;
    std::vector<uint8_t> tab;
    EXPECT_TRUE(c.bOuvre(sFichier)) << c.sGetErreur();
    EXPECT_EQ(c.eLitDescription(pszNom, eTYPE_DESCRIPTION_FENETRE, tab), eLECTURE_OK) << pszNom;
    return tab;
}

// Reads a window's description with the module's loader (CFenPrincipale::xCree).
void ChargeFenetre(Fenetre& f, const std::vector<uint8_t>& tab) {
    CKVBuffer b(tab.data(), tab.size());
    f->xCree(b);
    EXPECT_EQ(b.nGetPosition(), b.nGetTailleUtilisee());
}

// The menu tree, one entry a line: option identifier, name, caption, and
// what differs from a plain active visible option. Each entry's object
// identifier is checked against its full name on the way.
void DecritMenu(const CMenu& m, const std::wstring& sParent, int nNiveau, std::string& s) {
    for (int i = 0; i < m.nGetNbOptions(); ++i) {
        COptionMenu* o = m.pclGetOption(i);
        s += std::string(static_cast<size_t>(nNiveau) * 2, ' ') + std::to_string(o->wGetIdentifiant()) + " " +
             sVersUtf8(o->sGetNom());
        if (o->bEstSeparateur()) {
            s += " separator";
            EXPECT_EQ(o->qwGetID(), 0u);
        } else {
            s += " \"" + sVersUtf8(o->sGetLibelle()) + "\"";
            EXPECT_EQ(o->qwGetID(), nIdentifiantObjet(sParent + L"." + o->sGetNom())) << sVersUtf8(o->sGetNom());
        }
        if (o->nGetEtat() != 0) s += " state " + std::to_string(o->nGetEtat());
        if (o->bEstCochee()) s += " checked";
        if (!o->bVisibleInitial()) s += " hidden";
        s += "\n";
        if (const CMenu* sm = o->pclCastToMenu())
            DecritMenu(*sm, sParent + L"." + o->sGetNom(), nNiveau + 1, s);
    }
}

TEST(KvcFenetres, CompiledAndReadBackByTheModule) {
    const std::string sRep = kvtest::RepertoireTemporaire();
    const std::string sSortie = sRep + "/f.kvp";
    const std::string sProjet = kvtest::CheminFixture("kvc/fenetres");
    STExecution r = Kvc({sProjet, "-o", sSortie});
    ASSERT_EQ(r.nCode, 0) << r.sErreurs;
    // A picture missing from the project folder is a warning, nothing more.
    EXPECT_EQ(r.sErreurs, sProjet + "/principale.yaml:54:11: warning: image file '" + sProjet +
                              "/fond_absent.png' not found\n");
    {
        CConteneurProjet c;
        ASSERT_TRUE(c.bOuvre(sSortie));
        std::string s;
        ASSERT_EQ(c.eGetParametre("image_folder", s), eLECTURE_OK);
        EXPECT_EQ(s, sProjet);
        // The window's code is found under the identifier of the window the module reads.
        STEntreeCode code;
        EXPECT_EQ(c.eLitCode(nIdentifiantObjet(L"FEN_Principale"), 34, code), eLECTURE_OK);
        EXPECT_EQ(c.eLitCode(nIdentifiantObjet(L"FEN_Principale.IMG_Fond"), 31, code), eLECTURE_OK);
        EXPECT_EQ(c.eLitCode(nIdentifiantObjet(L"FEN_Principale.MENU_Contexte.OPT_Copier"), 32, code), eLECTURE_OK);
    }

    Fenetre f(L"FEN_Principale");
    ChargeFenetre(f, LitDescriptionFenetre(sSortie, "FEN_Principale"));
    const STDescriptionFenetre& d = f->Description();
    EXPECT_EQ(f->sGetNom(), L"FEN_Principale");
    EXPECT_EQ(f->qwGetID(), nIdentifiantObjet(L"FEN_Principale"));
    EXPECT_EQ(d.sTitre, L"Fen\u00eatre principale");
    EXPECT_EQ(f->rectInitial(), QRect(100, 50, 640, 480));
    EXPECT_EQ(f->nGetLargeurMin(), 320);
    EXPECT_EQ(f->nGetHauteurMin(), 240);
    EXPECT_EQ(f->nGetLargeurMax(), 1280);
    EXPECT_EQ(f->nGetHauteurMax(), 960);
    EXPECT_EQ(d.style.nCouleurFond, 0x336699u);
    EXPECT_EQ(f->eGetEtatInitial(), eETAT_LECTURE_SEULE);
    EXPECT_TRUE(f->bVisibleInitial());
    EXPECT_TRUE(d.bRedimensionnable);
    EXPECT_EQ(d.nModePositionOuverture, 0);  // placed: not centred
    EXPECT_EQ(d.nDureeFermetureAuto, 5000);
    EXPECT_EQ(d.sBoutonFermetureAuto, L"LIB_Titre");
    EXPECT_EQ(f->sGetMenuContextuel(), L"MENU_Contexte");
    EXPECT_EQ(d.nPack, 0u);

    // The controls, in file order (which is the stacking order). Tab orders
    // are 0-based in the description: the two written in the file keep their
    // places and IMG_Fond takes the one left.
    struct Attendu {
        const wchar_t* pszNom;
        int nGenre;
        QRect rect;
        const wchar_t* pszLibelle;
        bool bTabStop;
        int nTabOrder;
        const wchar_t* pszGroupes;
        bool bVisible;
        FEN_ETAT eEtat;
    };
    const Attendu tabChamps[] = {
        {L"LIB_Titre", 3, QRect(10, 10, 300, 30), L"Bienvenue", false, -1, L"Entete,Textes", true, eETAT_ACTIF},
        {L"IMG_Logo", 8, QRect(10, 50, 96, 96), L"", true, 1, L"", true, eETAT_ACTIF},
        {L"LIB_Texte", 3, QRect(120, 50, 300, 80), L"Deux lignes\nde texte", false, -1, L"", false, eETAT_GRISE},
        {L"IMG_Fond", 8, QRect(-5, 0, 640, 480), L"", true, 2, L"", true, eETAT_ACTIF},
        {L"IMG_Trois", 8, QRect(500, 10, 32, 32), L"", true, 0, L"", true, eETAT_ACTIF},
    };
    const CConteneurChamp& cc = f->Conteneur();
    ASSERT_EQ(cc.nGetNbChamp(), static_cast<int>(std::size(tabChamps)));
    for (int i = 0; i < cc.nGetNbChamp(); ++i) {
        const Attendu& a = tabChamps[i];
        CChamp* c = cc.pclGetChamp(i);
        SCOPED_TRACE(sVersUtf8(a.pszNom));
        EXPECT_EQ(c->sGetNom(), a.pszNom);
        EXPECT_EQ(c->qwGetID(), nIdentifiantObjet(std::wstring(L"FEN_Principale.") + a.pszNom));
        EXPECT_EQ(c->dwGetId(), a.nGenre);
        EXPECT_EQ(c->rectInitial(), a.rect);
        EXPECT_EQ(std::wstring(c->pszGetLibelle()), a.pszLibelle);
        EXPECT_EQ(c->bGetTabStop(), a.bTabStop);
        EXPECT_EQ(c->nGetTabOrder(), a.nTabOrder);
        EXPECT_EQ(c->nGetZOrder(), i);
        EXPECT_EQ(c->sGetGroupes(), a.pszGroupes);
        EXPECT_EQ(c->bVisibleInitial(), a.bVisible);
        EXPECT_EQ(c->eGetEtatInitial(), a.eEtat);
        EXPECT_EQ(cc.pclGetChampFromName(a.pszNom), c);
    }

    // Common fields and styles.
    CChamp* titre = cc.pclGetChamp(0);
    EXPECT_EQ(titre->sGetTitreAide(), L"Titre");
    EXPECT_EQ(titre->sGetTexteAide(), L"Le titre de la fen\u00eatre");
    const STStyleChamp& st = titre->GetStyle();
    EXPECT_EQ(st.nCouleurTexte, 0xFF0000u);  // blue as 0xBBGGRR
    EXPECT_EQ(st.nCouleurFond, 0xE0FFFFu);   // light_yellow
    EXPECT_EQ(st.sPolice, L"DejaVu Sans");
    EXPECT_EQ(st.nTaillePolice, 145);        // 14.5 points in tenths
    EXPECT_EQ(st.nStylePolice, 1u | 4u);     // bold, underline
    EXPECT_EQ(st.nCadre, 1);
    EXPECT_EQ(st.nCouleurCadre, 0x800000u);  // navy
    EXPECT_EQ(st.nEpaisseurCadre, 2);
    EXPECT_EQ(st.nLargeurLibelle, 40);
    CChamp* logo = cc.pclGetChamp(1);
    EXPECT_EQ(logo->nGetTauxAncrage(0), 1000);
    EXPECT_EQ(logo->nGetTauxAncrage(1), 0);
    EXPECT_EQ(logo->nGetTauxAncrage(2), 500);
    EXPECT_EQ(logo->nGetTauxAncrage(3), 0);
    EXPECT_EQ(logo->sGetMenuContextuel(), L"MENU_Contexte");
    CChamp* texte = cc.pclGetChamp(2);
    EXPECT_EQ(texte->GetPlan().nPlan, 2);
    EXPECT_TRUE(texte->bGetMemoriserValeur());
    CTString sInitiale;
    texte->clGetValeurInitiale().__nCastToString(sInitiale);
    EXPECT_EQ(sInitiale, L"valeur");
    EXPECT_EQ(texte->GetStyle().nCouleurTexte, nCOULEUR_TRANSPARENT);
    EXPECT_EQ(texte->GetStyle().nStylePolice, 2u);
    EXPECT_EQ(texte->GetStyle().nCadre, 2);
    EXPECT_EQ(cc.pclGetChamp(3)->GetStyle().nCouleurFond, nCOULEUR_AUTO);

    // Each kind's own record.
    struct Libelle {
        int i, nH, nV;
        bool bRetour;
    };
    for (const Libelle& l : {Libelle{0, 1, 1, false}, Libelle{2, 0, 0, true}}) {
        auto* c = dynamic_cast<CChampLibelle*>(cc.pclGetChamp(l.i));
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->GetLibelle().nAlignementH, l.nH) << l.i;
        EXPECT_EQ(c->GetLibelle().nAlignementV, l.nV) << l.i;
        EXPECT_EQ(c->GetLibelle().bRetourLigne, l.bRetour) << l.i;
    }
    struct Image {
        int i;
        const wchar_t* pszFichier;
        int nMode;
        bool bTransparent;
    };
    for (const Image& im : {Image{1, L"logo.png", nIMAGE_HOMOTHETIQUE, true}, Image{3, L"fond_absent.png", nIMAGE_MOSAIQUE, false},
                            Image{4, L"", nIMAGE_CENTRE, false}}) {
        auto* c = dynamic_cast<CChampImage*>(cc.pclGetChamp(im.i));
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->GetImage().sImage, im.pszFichier) << im.i;
        EXPECT_EQ(c->GetImage().nMode, im.nMode) << im.i;
        EXPECT_EQ(c->GetImage().bFondTransparent, im.bTransparent) << im.i;
    }

    // Menus: the bar's menus, then the context menus, numbered in one
    // sequence; a caption defaults to the name.
    std::string sBarre, sContexte;
    DecritMenu(*d.pMenuPrincipal, L"FEN_Principale", 0, sBarre);
    EXPECT_EQ(sBarre,
              "1 MENU_Fichier \"&Fichier\"\n"
              "  2 OPT_Ouvrir \"&Ouvrir...\"\n"
              "  3 _sep_3_ separator\n"
              "  4 OPT_Quitter \"&Quitter\"\n"
              "5 MENU_Aide \"&Aide\" state 4\n"
              "  6 MENU_Langue \"MENU_Langue\"\n"
              "    7 OPT_Francais \"OPT_Francais\" checked\n"
              "    8 OPT_Anglais \"OPT_Anglais\" hidden\n");
    ASSERT_EQ(d.tabMenusContextuels.size(), 1u);
    const CMenu& ctx = *d.tabMenusContextuels[0];
    EXPECT_EQ(ctx.sGetNom(), L"MENU_Contexte");
    EXPECT_EQ(ctx.qwGetID(), nIdentifiantObjet(L"FEN_Principale.MENU_Contexte"));
    EXPECT_EQ(ctx.wGetIdentifiant(), 9);
    DecritMenu(ctx, L"FEN_Principale.MENU_Contexte", 0, sContexte);
    EXPECT_EQ(sContexte, "10 OPT_Copier \"Copier\"\n");

    // The second window: packed, not resizable, hidden, maximised, centred.
    const std::vector<uint8_t> tabSeconde = LitDescriptionFenetre(sSortie, "FEN_Seconde");
    ASSERT_GT(tabSeconde.size(), 17u);
    EXPECT_EQ(tabSeconde[12], 1);     // pack method after type, format and record version
    EXPECT_EQ(tabSeconde[16], 0x5A);  // the zlib coder's mark starts the packed tail
    Fenetre f2(L"FEN_Seconde");
    ChargeFenetre(f2, tabSeconde);
    EXPECT_EQ(f2->Description().nPack, 1u);
    EXPECT_EQ(f2->rectInitial(), QRect(0, 0, 300, 200));
    EXPECT_FALSE(f2->Description().bRedimensionnable);
    EXPECT_FALSE(f2->bVisibleInitial());
    EXPECT_EQ(f2->Description().nModeOuverture, 1);
    EXPECT_EQ(f2->Description().nModePositionOuverture, 1);
    EXPECT_EQ(f2->Description().style.nCouleurFond, 0xFFFFFFu);  // no background: white
    EXPECT_EQ(f2->Description().pMenuPrincipal->nGetNbOptions(), 0);
    ASSERT_EQ(f2->Conteneur().nGetNbChamp(), 1);
    auto* seul = dynamic_cast<CChampLibelle*>(f2->Conteneur().pclGetChamp(0));
    ASSERT_NE(seul, nullptr);
    EXPECT_EQ(std::wstring(seul->pszGetLibelle()), L"Seul");
    EXPECT_EQ(seul->GetLibelle().nAlignementH, 2);
    EXPECT_EQ(seul->GetLibelle().nAlignementV, 2);
}

TEST(KvcFenetres, DumpPrintsEveryRecordInReadingOrder) {
    const std::string sRep = kvtest::RepertoireTemporaire();
    const std::string sSortie = sRep + "/f.kvp";
    ASSERT_EQ(Kvc({kvtest::CheminFixture("kvc/fenetres"), "-o", sSortie}).nCode, 0);

    STExecution r = Kvc({"dump", sSortie, "fen_principale", "2"});
    ASSERT_EQ(r.nCode, 0) << r.sErreurs;
    EXPECT_EQ(r.sErreurs, "");
    const char* tabLignes[] = {
        "description \"FEN_Principale\", type 2 (window), ",
        "00000000  object_type = 2\n",
        "00000004  format = 0x00060007 (6.7)\n",
        "00000008  window_version = 7125\n",
        "  CommonWindow = { version 606, declared size ",
        "    name = \"FEN_Principale\"\n",
        "    context_menu = \"MENU_Contexte\"\n",
        "  WindowStyle = { version 1, ",
        "  title = \"Fen\xC3\xAAtre principale\"\n",
        "  auto_close_button = \"LIB_Titre\"\n",
        "  Menu = { version 706, ",
        "      name = \"MENU_Fichier\"\n",
        "  context_menus = 1\n",
        "  ControlList = { version 1701, 5 controls\n",
        "    control = { 1: kind 3 (static), declared size ",
        "      Control = { version 617, declared size ",
        "          name = \"LIB_Titre\"\n",
        "        caption = \"Bienvenue\"\n",
        "        groups = \"Entete,Textes\"\n",
        "      StaticText = { version 1, ",
        "        horizontal_alignment = 1\n",
        "    control = { 2: kind 8 (image), declared size ",
        "        tab_order = 1\n",
        "        image = \"logo.png\"\n",
        "        display_mode = 2\n",
        "    control = { 5: kind 8 (image)",
        "  ControlList = } ",
    };
    size_t nPos = 0;
    for (const char* psz : tabLignes) {
        size_t n = r.sSortie.find(psz, nPos);
        ASSERT_NE(n, std::string::npos) << psz << "\n" << r.sSortie;
        nPos = n;
    }
    // A packed description is printed from its unpacked bytes.
    r = Kvc({"dump", sSortie, "FEN_Seconde", "window"});
    ASSERT_EQ(r.nCode, 0) << r.sErreurs;
    EXPECT_EQ(r.sErreurs, "");
    for (const char* psz : {"0000000C  pack = 1\n", "          name = \"LIB_Seul\"\n", "  ControlList = } "})
        EXPECT_NE(r.sSortie.find(psz), std::string::npos) << psz << "\n" << r.sSortie;
}

TEST(KvcFenetres, MistakesReportedWhereTheyAre) {
    const std::string FEN = "window: FEN_A\nsize: [200, 100]\n";
    const std::string LIB = FEN + "controls:\n  - static: LIB_A\n    at: [0, 0, 10, 10]\n";  // lines 1 to 5
    const std::string IMG = FEN + "controls:\n  - image: IMG_A\n    at: [0, 0, 10, 10]\n    tab_stop: true\n";
    struct Cas {
        std::string sFenetre;
        const char* pszOu;  // line:column in a.yaml
        const char* pszMessage;
    };
    const Cas tabCas[] = {
        {FEN + "titel: A\n", "3:1", "unknown key 'titel' in window FEN_A (did you mean 'title'?)"},
        {FEN + "background: bleu\n", "3:13", "bad colour 'bleu' for 'background': 0xBBGGRR"},
        {FEN + "background: 0x1000000\n", "3:13", "bad colour '0x1000000'"},
        {"window: FEN_A\ntitle: A\n", "1:1", "window FEN_A has no 'size: [width, height]'"},
        {FEN + "min_size: [300, 50]\n", "3:1", "'min_size' is larger than 'size'"},
        {FEN + "auto_close: {ms: 10, button: BTN_X}\n", "3:30", "'BTN_X' is not a control of window FEN_A"},
        {FEN + "context_menu: MENU_X\n", "3:15", "'MENU_X' is not a context menu of window FEN_A"},
        {LIB + "    captoin: x\n", "6:5", "unknown key 'captoin' in static LIB_A (did you mean 'caption'?)"},
        {LIB + "    tab_stop: true\n", "6:15", "static LIB_A cannot be in the tab order"},
        {LIB + "    align: center\n", "6:12", "'align' is one of: left, centre, right (not 'center')"},
        {LIB + "    style: {bold: true, colour: red}\n", "6:25", "unknown key 'colour' in 'style'"},
        {LIB + "    style: {font_size: big}\n", "6:24", "'font_size' needs a size in points"},
        {LIB + "    anchor: {right: 1200}\n", "6:21", "'right' must be between 0 and 1000 (not 1200)"},
        {LIB + "    visible: yes\n", "6:14", "'visible' needs true or false"},
        {FEN + "controls:\n  - static: LIB_A\n    at: [0, 0, 10]\n", "5:9", "'at' needs [x, y, width, height]"},
        {FEN + "controls:\n  - static: LIB_A\n    caption: A\n", "4:5", "control LIB_A has no 'at: [x, y, width, height]'"},
        {IMG + "    tab_order: 0\n", "7:16", "'tab_order' counts from 1"},
        {IMG + "    tab_order: 3\n", "7:16", "tab_order 3 is beyond the 1 tab stops of window FEN_A"},
        {IMG + "    tab_order: 1\n  - image: IMG_B\n    at: [0, 0, 5, 5]\n    tab_stop: true\n    tab_order: 1\n", "11:16",
         "tab_order 1 is given to IMG_A already ("},
        {FEN + "menus:\n  - menu: MENU_A\n    options:\n      - option: OPT_A\n        chekced: true\n", "7:9",
         "unknown key 'chekced' in option OPT_A (did you mean 'checked'?)"},
        // Event code compiles with the project, and its mistakes are placed
        // in the YAML source: a literal block's lines follow its indicator.
        {FEN + "code:\n  init: |\n    local x = 1\n    x = = 2\n", "6:5",
         "Lua, in the code of event 'init': unexpected symbol near '='"},
        {FEN + "code:\n  init: |\n    local t = {}\n    t.a = 1 +* 2\n", "6:14",
         "Lua, in the code of event 'init': unexpected symbol near '*'"},
        {FEN + "code:\n  init: |\n    if x then\n      y()\n", "6:7",
         "Lua, in the code of event 'init': 'end' expected at the end of the code"},
        {FEN + "code:\n  init: Info('a'\n", "4:9", "Lua, in the code of event 'init': ')' expected (to close '(' at line 1) at the end of the code"},
        {LIB + "    code:\n      click: |\n        return 1\n        x = 2\n", "9:9",
         "Lua, in the code of event 'click': 'end' expected"},
    };
    const std::string sRep = kvtest::RepertoireTemporaire();
    const std::string sSortie = sRep + "/p.kvp";
    int i = 0;
    for (const auto& c : tabCas) {
        SCOPED_TRACE(c.sFenetre);
        const std::string sProjet = sRep + "/p" + std::to_string(i++);
        fs::create_directory(sProjet);
        EcritFichier(sProjet + "/project.yaml", "name: P\nfirst_window: FEN_A\n");
        EcritFichier(sProjet + "/a.yaml", c.sFenetre);
        STExecution r = Kvc({sProjet, "-o", sSortie});
        EXPECT_FALSE(r.bSignal);
        EXPECT_EQ(r.nCode, 1);
        EXPECT_NE(r.sErreurs.find(sProjet + "/a.yaml:" + c.pszOu + ": error: " + c.pszMessage), std::string::npos)
            << r.sErreurs;
        EXPECT_FALSE(fs::exists(sSortie));
    }
}

TEST(KvcFenetres, DemoProjectCompilesCleanly) {
    const std::string sSortie = kvtest::RepertoireTemporaire() + "/demo.kvp";
    STExecution r = Kvc({std::string(KV_SOURCE_DIR) + "/examples/demo", "-o", sSortie});
    ASSERT_EQ(r.nCode, 0) << r.sErreurs;
    EXPECT_EQ(r.sErreurs, "");
    for (const char* psz : {"FEN_Accueil", "FEN_Info"}) {
        Fenetre f(L"");
        ChargeFenetre(f, LitDescriptionFenetre(sSortie, psz));
        EXPECT_GT(f->Conteneur().nGetNbChamp(), 0) << psz;
    }
}

} // namespace
