// The description compiler: the project description record against bytes
// written by hand, object identifiers and event names, the compiled project
// container, and the kvc binary on good and bad YAML projects.
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
#include "conteneur/CConteneurProjet.h"
#include "conteneur/Identifiants.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Hex(const char* psz) {
    std::vector<uint8_t> tab;
    unsigned n = 0;
    int nChiffres = 0;
    for (const char* p = psz; *p; ++p) {
        int v = (*p >= '0' && *p <= '9') ? *p - '0' : (*p >= 'A' && *p <= 'F') ? *p - 'A' + 10 : -1;
        if (v < 0) continue;
        n = n * 16 + static_cast<unsigned>(v);
        if (++nChiffres == 2) {
            tab.push_back(static_cast<uint8_t>(n));
            n = 0;
            nChiffres = 0;
        }
    }
    return tab;
}

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
    const std::vector<uint8_t> golden = Hex(GOLDEN_PROJET);
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
        std::vector<uint8_t> t = Hex(GOLDEN_PROJET);
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
    // Window records are not compiled yet, and kvc says so for each window.
    EXPECT_NE(r.sErreurs.find("clients.yaml:1:9: note: window FEN_Clients: its description record is not compiled yet; "
                              "its event code is"),
              std::string::npos)
        << r.sErreurs;
    EXPECT_NE(r.sErreurs.find("note: window FEN_Commande:"), std::string::npos);

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
        std::vector<uint8_t> t = Hex(GOLDEN_PROJET);
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

} // namespace
