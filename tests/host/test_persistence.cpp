// The host's store of user values, reached through kv190vm.so loaded with
// dlopen and the test entry points it exports.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <poll.h>
#include <random>
#include <sqlite3.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "Binaires.h"
#include "kv/vm.h"

extern char** environ;

namespace {

using PFN_pCreePersistance = IPersistance* (*)(const char*);
using PFN_nCheminParDefaut = size_t (*)(const wchar_t*, char*, size_t);

struct LiberePersistance {
    void operator()(IPersistance* p) const {
        if (p) p->Release();
    }
};
using PPersistance = std::unique_ptr<IPersistance, LiberePersistance>;

// Every path below a folder, with the contents of the files.
std::string sInstantane(const std::string& sRepertoire) {
    std::string s;
    for (const auto& entree : std::filesystem::recursive_directory_iterator(sRepertoire)) {
        s += entree.path().string() + "\n";
        if (entree.is_regular_file()) {
            std::ifstream f(entree.path(), std::ios::binary);
            s += std::string(std::istreambuf_iterator<char>(f), {}) + "\n";
        }
    }
    return s;
}

class Persistance : public ::testing::Test {
protected:
    kvtest::Bibliotheque m_lib{kvtest::CheminBinaire("kv190vm.so")};
    PFN_pCreePersistance m_pfnCree = m_lib.Symbole<PFN_pCreePersistance>("KVVM_pCreePersistance");
    std::string m_sRepertoire = kvtest::RepertoireTemporaire();
    std::string m_sFichier = m_sRepertoire + "/persistence.sqlite";

    PPersistance Ouvre(const std::string& sFichier) { return PPersistance(m_pfnCree(sFichier.c_str())); }
    PPersistance Ouvre() { return Ouvre(m_sFichier); }

    static std::wstring sLit(IPersistance& p, const wchar_t* pszObjet, const wchar_t* pszValeur,
                             const wchar_t* pszDefaut = L"<défaut>") {
        std::wstring s;
        EXPECT_TRUE(p.bLit(pszObjet, pszValeur, pszDefaut, s));
        return s;
    }
};

TEST_F(Persistance, EcritRelitEcraseEtGardeApresReouverture) {
    {
        PPersistance p = Ouvre();
        ASSERT_TRUE(p);
        EXPECT_TRUE(p->bEcrit(L"FEN_Client.EDT_Nom", L"Val", L"Dupont"));
        EXPECT_EQ(sLit(*p, L"FEN_Client.EDT_Nom", L"Val"), L"Dupont");
        EXPECT_TRUE(p->bEcrit(L"FEN_Client.EDT_Nom", L"Val", L"Durand"));
        EXPECT_EQ(sLit(*p, L"FEN_Client.EDT_Nom", L"Val"), L"Durand");
        // The key is the pair: the same value name under another object, or
        // another value name of the same object, is a different value.
        EXPECT_TRUE(p->bEcrit(L"FEN_Client.EDT_Ville", L"Val", L"Lyon"));
        EXPECT_TRUE(p->bEcrit(L"FEN_Client.EDT_Nom", L"Largeur", L"120"));
        EXPECT_EQ(sLit(*p, L"FEN_Client.EDT_Nom", L"Val"), L"Durand");
    }
    PPersistance p = Ouvre();
    EXPECT_EQ(sLit(*p, L"FEN_Client.EDT_Nom", L"Val"), L"Durand");
    EXPECT_EQ(sLit(*p, L"FEN_Client.EDT_Ville", L"Val"), L"Lyon");
    EXPECT_EQ(sLit(*p, L"FEN_Client.EDT_Nom", L"Largeur"), L"120");
}

TEST_F(Persistance, SansValeurStockeeDonneLeDefautEtReussit) {
    PPersistance p = Ouvre();
    EXPECT_TRUE(p->bEcrit(L"FEN_Client.EDT_Nom", L"Val", L"Dupont"));
    EXPECT_EQ(sLit(*p, L"FEN_Client.EDT_Nom", L"Autre", L"***<NULL>***"), L"***<NULL>***");
    EXPECT_EQ(sLit(*p, L"FEN_Autre", L"Val", L"***<NULL>***"), L"***<NULL>***");
    EXPECT_EQ(sLit(*p, L"FEN_Autre", L"Val", nullptr), L"");

    // A stored empty text is a value, not an absence.
    EXPECT_TRUE(p->bEcrit(L"FEN_Client.EDT_Nom", L"Vide", L""));
    EXPECT_EQ(sLit(*p, L"FEN_Client.EDT_Nom", L"Vide"), L"");
    // A null text is stored as the empty text.
    EXPECT_TRUE(p->bEcrit(L"FEN_Client.EDT_Nom", L"Val", nullptr));
    EXPECT_EQ(sLit(*p, L"FEN_Client.EDT_Nom", L"Val"), L"");

    std::string s;
    EXPECT_TRUE(p->bLitA(L"FEN_Autre", L"Val", "d\xE9" "faut", 1252, s));
    EXPECT_EQ(s, "d\xE9" "faut");  // the 8-bit default is handed back untouched
}

TEST_F(Persistance, TexteUnicodeRelutALIdentique) {
    const std::wstring aTextes[] = {
        L"",
        L"ASCII simple",
        L"accentué: àéèêëïîôöùûüç ÀÉÈ œŒ æÆ",
        L"中文 日本語 한국어 Ελληνικά русский עברית العربية",
        L"hors du plan de base: \U0001F600 \U0001D11E \U00010348",
        L"guillemets ' \" ; DROP TABLE persistance; --",
        L"lignes\r\n\ttabulées\x01\x7F fin",
        std::wstring(100000, L'é') + L"fin",
    };
    {
        PPersistance p = Ouvre();
        for (size_t i = 0; i < std::size(aTextes); ++i) {
            const std::wstring sValeur = L"V" + std::to_wstring(i);
            ASSERT_TRUE(p->bEcrit(L"Objet \U0001F600 é", sValeur.c_str(), aTextes[i].c_str())) << i;
            EXPECT_EQ(sLit(*p, L"Objet \U0001F600 é", sValeur.c_str()), aTextes[i]) << i;
        }
    }
    PPersistance p = Ouvre();
    for (size_t i = 0; i < std::size(aTextes); ++i) {
        const std::wstring sValeur = L"V" + std::to_wstring(i);
        EXPECT_EQ(sLit(*p, L"Objet \U0001F600 é", sValeur.c_str()), aTextes[i]) << i;
    }
}

TEST_F(Persistance, TexteSansFormeUTF8EstRefuseSansRienEcrire) {
    PPersistance p = Ouvre();
    ASSERT_TRUE(p->bEcrit(L"O", L"V", L"avant"));
    const wchar_t aSurrogat[] = {L'a', static_cast<wchar_t>(0xD800), L'b', 0};
    const wchar_t aHorsUnicode[] = {L'a', static_cast<wchar_t>(0x110000), 0};
    for (const wchar_t* psz : {aSurrogat, aHorsUnicode}) {
        EXPECT_FALSE(p->bEcrit(L"O", L"V", psz));
        EXPECT_FALSE(p->bEcrit(psz, L"V", L"x"));
        EXPECT_EQ(sLit(*p, L"O", L"V"), L"avant");
        EXPECT_EQ(sLit(*p, psz, L"V"), L"<défaut>");
    }
}

struct CasMagasinInutilisable {
    const char* pszNom;
    // Prepares the folder and returns the path handed to the store.
    std::string (*pfnPrepare)(const std::string& sRepertoire);
};

const CasMagasinInutilisable aMagasinsInutilisables[] = {
    {"chemin sous un fichier ordinaire",
     [](const std::string& sRep) {
         std::ofstream(sRep + "/fichier") << "texte";
         return sRep + "/fichier/sous/persistence.sqlite";
     }},
    {"dossier donné comme fichier",
     [](const std::string& sRep) {
         std::filesystem::create_directory(sRep + "/dossier");
         return sRep + "/dossier";
     }},
    {"fichier qui n'est pas une base",
     [](const std::string& sRep) {
         std::string sContenu = "Ceci n'est pas une base de données.\n";
         for (int i = 0; i < 200; ++i) sContenu += "ligne de texte ordinaire\n";
         std::ofstream(sRep + "/texte.sqlite", std::ios::binary) << sContenu;
         return sRep + "/texte.sqlite";
     }},
    {"chemin vide", [](const std::string&) { return std::string(); }},
};

TEST_F(Persistance, MagasinInutilisableDonneLeDefautEtNEcritRien) {
    for (const auto& cas : aMagasinsInutilisables) {
        SCOPED_TRACE(cas.pszNom);
        const std::string sRep = kvtest::RepertoireTemporaire();
        const std::string sFichier = cas.pfnPrepare(sRep);
        const std::string sAvant = sInstantane(sRep);
        PPersistance p = Ouvre(sFichier);
        ASSERT_TRUE(p);

        EXPECT_FALSE(p->bEcrit(L"O", L"V", L"texte"));
        EXPECT_FALSE(p->bEcritA(L"O", L"V", "texte", 1252));
        p->DebutOperationEnBloc();
        EXPECT_FALSE(p->bEcrit(L"O", L"V", L"texte"));
        p->FinOperationEnBloc();

        std::wstring s = L"rempli";
        EXPECT_FALSE(p->bLit(L"O", L"V", L"défaut", s));
        EXPECT_EQ(s, L"défaut");
        std::string sA = "rempli";
        EXPECT_FALSE(p->bLitA(L"O", L"V", "d\xE9" "faut", 1252, sA));
        EXPECT_EQ(sA, "d\xE9" "faut");

        EXPECT_EQ(p->AddRef(), 2u);
        EXPECT_EQ(p->Release(), 1u);
        p.reset();
        // Nothing was created or written over.
        EXPECT_EQ(sInstantane(sRep), sAvant);
    }
}

TEST_F(Persistance, FichierEnLectureSeuleEstInutilisable) {
    if (geteuid() == 0) GTEST_SKIP() << "file modes do not restrict the superuser";
    { PPersistance p = Ouvre(); ASSERT_TRUE(p->bEcrit(L"O", L"V", L"stocké")); }
    ASSERT_EQ(chmod(m_sFichier.c_str(), 0444), 0);
    PPersistance p = Ouvre();
    EXPECT_FALSE(p->bEcrit(L"O", L"V", L"nouveau"));
    std::wstring s;
    EXPECT_FALSE(p->bLit(L"O", L"V", L"défaut", s));
    EXPECT_EQ(s, L"défaut");
}

TEST_F(Persistance, DossiersManquantsSontCrees) {
    const std::string sFichier = m_sRepertoire + "/a/b/c/persistence.sqlite";
    { PPersistance p = Ouvre(sFichier); EXPECT_TRUE(p->bEcrit(L"O", L"V", L"texte")); }
    PPersistance p = Ouvre(sFichier);
    EXPECT_EQ(sLit(*p, L"O", L"V"), L"texte");
}

TEST_F(Persistance, BlocImbriqueNEstValideQuALaFinExterieure) {
    PPersistance p = Ouvre();
    PPersistance pAutre = Ouvre();  // a second connection sees only committed values
    ASSERT_TRUE(p->bEcrit(L"O", L"Avant", L"0"));

    p->DebutOperationEnBloc();
    EXPECT_TRUE(p->bEcrit(L"O", L"A", L"1"));
    p->DebutOperationEnBloc();
    EXPECT_TRUE(p->bEcrit(L"O", L"B", L"2"));
    EXPECT_TRUE(p->bEcrit(L"O", L"Avant", L"écrasé"));
    p->FinOperationEnBloc();
    EXPECT_TRUE(p->bEcrit(L"O", L"C", L"3"));

    // Inside the batch the writer reads its own writes; others do not yet.
    EXPECT_EQ(sLit(*p, L"O", L"B"), L"2");
    EXPECT_EQ(sLit(*pAutre, L"O", L"A"), L"<défaut>");
    EXPECT_EQ(sLit(*pAutre, L"O", L"B"), L"<défaut>");
    EXPECT_EQ(sLit(*pAutre, L"O", L"Avant"), L"0");

    p->FinOperationEnBloc();
    EXPECT_EQ(sLit(*pAutre, L"O", L"A"), L"1");
    EXPECT_EQ(sLit(*pAutre, L"O", L"B"), L"2");
    EXPECT_EQ(sLit(*pAutre, L"O", L"C"), L"3");
    EXPECT_EQ(sLit(*pAutre, L"O", L"Avant"), L"écrasé");

    // An end without a start changes nothing; later writes commit at once.
    p->FinOperationEnBloc();
    EXPECT_TRUE(p->bEcrit(L"O", L"D", L"4"));
    EXPECT_EQ(sLit(*pAutre, L"O", L"D"), L"4");
}

TEST_F(Persistance, BlocOuvertALaLiberationEstValide) {
    {
        PPersistance p = Ouvre();
        p->DebutOperationEnBloc();
        EXPECT_TRUE(p->bEcrit(L"O", L"V", L"dans le bloc"));
    }
    PPersistance p = Ouvre();
    EXPECT_EQ(sLit(*p, L"O", L"V"), L"dans le bloc");
}

struct CasCodePage {
    unsigned nCodePage;
    const char* pszOctets;
    const wchar_t* pszTexte;
};

const CasCodePage aCodePages[] = {
    {1252, "caf\xE9 \x80 \x9C\xC6", L"café € œÆ"},
    {1250, "\xB9\x9A\xE8", L"ąšč"},
    {850, "caf\x82 \x9C", L"café £"},
    {437, "\xE1\xF1", L"ß±"},
    {932, "\x93\xFA\x96\x7B\x8C\xEA", L"日本語"},
    {65001, "caf\xC3\xA9 \xE2\x82\xAC", L"café €"},
};

TEST_F(Persistance, CodePageConvertitALEcritureEtALaLecture) {
    PPersistance p = Ouvre();
    for (const auto& cas : aCodePages) {
        SCOPED_TRACE(cas.nCodePage);
        ASSERT_TRUE(p->bEcritA(L"O", L"V", cas.pszOctets, cas.nCodePage));
        EXPECT_EQ(sLit(*p, L"O", L"V"), cas.pszTexte);
        std::string s;
        EXPECT_TRUE(p->bLitA(L"O", L"V", "", cas.nCodePage, s));
        EXPECT_EQ(s, cas.pszOctets);
        // Wide text written, 8-bit text read back.
        ASSERT_TRUE(p->bEcrit(L"O", L"W", cas.pszTexte));
        EXPECT_TRUE(p->bLitA(L"O", L"W", "", cas.nCodePage, s));
        EXPECT_EQ(s, cas.pszOctets);
    }
}

TEST_F(Persistance, CodePageInconnueOuTexteInvalideEchoueSansRienEcrire) {
    PPersistance p = Ouvre();
    ASSERT_TRUE(p->bEcrit(L"O", L"V", L"avant €"));

    EXPECT_FALSE(p->bEcritA(L"O", L"V", "texte", 4242));       // no such code page
    EXPECT_FALSE(p->bEcritA(L"O", L"V", "a\x81z", 1252));      // 0x81 has no character in 1252
    EXPECT_FALSE(p->bEcritA(L"O", L"V", "\x93", 932));         // a lead byte cut short
    EXPECT_FALSE(p->bEcritA(L"O", L"V", "\xC3\x28", 65001));   // not UTF-8
    EXPECT_EQ(sLit(*p, L"O", L"V"), L"avant €");

    std::string s = "rempli";
    EXPECT_FALSE(p->bLitA(L"O", L"V", "d", 4242, s));
    EXPECT_EQ(s, "d");
    // "€" has no place in code page 437: no altered text comes back.
    s = "rempli";
    EXPECT_FALSE(p->bLitA(L"O", L"V", "d", 437, s));
    EXPECT_EQ(s, "d");
}

TEST_F(Persistance, PlusieursFilsPartagentLObjet) {
    PPersistance p = Ouvre();
    constexpr int NB_FILS = 4, NB_VALEURS = 40;
    std::atomic<int> nEchecs{0};
    std::vector<std::thread> fils;
    for (int f = 0; f < NB_FILS; ++f) {
        fils.emplace_back([&, f] {
            const std::wstring sObjet = L"Fil" + std::to_wstring(f);
            for (int i = 0; i < NB_VALEURS; ++i) {
                const std::wstring sValeur = L"V" + std::to_wstring(i);
                const std::wstring sTexte = sObjet + L"-" + std::to_wstring(i);
                if (f == 0 && i % 10 == 0) p->DebutOperationEnBloc();
                if (!p->bEcrit(sObjet.c_str(), sValeur.c_str(), sTexte.c_str())) ++nEchecs;
                std::wstring s;
                if (!p->bLit(sObjet.c_str(), sValeur.c_str(), L"", s) || s != sTexte) ++nEchecs;
                if (f == 0 && i % 10 == 9) p->FinOperationEnBloc();
                p->AddRef();
                p->Release();
            }
        });
    }
    for (auto& t : fils) t.join();
    EXPECT_EQ(nEchecs.load(), 0);
    p.reset();

    PPersistance pRelu = Ouvre();
    for (int f = 0; f < NB_FILS; ++f)
        for (int i = 0; i < NB_VALEURS; ++i) {
            const std::wstring sObjet = L"Fil" + std::to_wstring(f);
            EXPECT_EQ(sLit(*pRelu, sObjet.c_str(), (L"V" + std::to_wstring(i)).c_str()),
                      sObjet + L"-" + std::to_wstring(i));
        }
}

// The default location, with the data folder redirected to a test folder.
class CheminParDefaut : public Persistance {
protected:
    void SetUp() override {
        for (const char* psz : {"XDG_DATA_HOME", "HOME"}) {
            const char* pszValeur = std::getenv(psz);
            m_anciens.emplace_back(psz, pszValeur ? std::optional<std::string>(pszValeur) : std::nullopt);
        }
    }
    void TearDown() override {
        for (const auto& [sNom, valeur] : m_anciens) {
            if (valeur) setenv(sNom.c_str(), valeur->c_str(), 1);
            else unsetenv(sNom.c_str());
        }
    }
    std::string sChemin(const wchar_t* pszProjet) {
        auto pfn = m_lib.Symbole<PFN_nCheminParDefaut>("KVVM_nCheminPersistanceParDefaut");
        std::vector<char> tampon(pfn(pszProjet, nullptr, 0) + 1);
        pfn(pszProjet, tampon.data(), tampon.size());
        return tampon.data();
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> m_anciens;
};

TEST_F(CheminParDefaut, NomDeProjetResteUnSeulDossierSous_kv) {
    const std::string sDonnees = m_sRepertoire + "/donnees";
    setenv("XDG_DATA_HOME", sDonnees.c_str(), 1);
    const struct {
        const wchar_t* pszProjet;
        const char* pszDossier;
    } aCas[] = {
        {L"Commandes", "Commandes"},
        {L"Gestion é", "Gestion é"},
        {L"", "default"},
        {L".", "default"},
        {L"..", "default"},
        {L"../../etc", "_.._etc"},
        {L"a/b", "a_b"},
        {L"/racine", "_racine"},
        {L"c:\\dossier", "c:_dossier"},
        {L".cache", "cache"},
        {L"ligne\nsuivante", "ligne_suivante"},
    };
    for (const auto& cas : aCas) {
        const std::string s = sChemin(cas.pszProjet);
        EXPECT_EQ(s, sDonnees + "/kv/" + cas.pszDossier + "/persistence.sqlite");
        EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(s).parent_path())) << s;
    }
    // A very long name is cut between characters to fit a folder name.
    const std::string sLong = sChemin(std::wstring(300, L'é').c_str());
    const std::string sDossier = std::filesystem::path(sLong).parent_path().filename().string();
    EXPECT_LE(sDossier.size(), 255u);
    std::string sEnE;
    for (size_t i = 0; i < sDossier.size() / 2; ++i) sEnE += "é";
    EXPECT_EQ(sDossier, sEnE);
    EXPECT_FALSE(sDossier.empty());

    // The path is usable as a store.
    PPersistance p = Ouvre(sChemin(L"Commandes"));
    EXPECT_TRUE(p->bEcrit(L"O", L"V", L"texte"));
}

TEST_F(CheminParDefaut, SansXDGValideUtiliseLeDossierPersonnel) {
    const std::string sPerso = m_sRepertoire + "/perso";
    setenv("HOME", sPerso.c_str(), 1);
    for (const char* pszXDG : {static_cast<const char*>(nullptr), "", "relatif/donnees"}) {
        SCOPED_TRACE(pszXDG ? pszXDG : "(absent)");
        if (pszXDG) setenv("XDG_DATA_HOME", pszXDG, 1);
        else unsetenv("XDG_DATA_HOME");
        EXPECT_EQ(sChemin(L"Projet"), sPerso + "/.local/share/kv/Projet/persistence.sqlite");
    }
}

// ---------------------------------------------------------------------------
// Durability when the writing process is killed.
//
// The writer is this test program started again (fork, then exec of
// /proc/self/exe) with KV_TEST_ECRIVAIN_PERSISTANCE set: the hook below runs
// before main, loads kv190vm.so itself, writes numbered values and reports
// on a pipe each number whose write has returned. Starting a fresh program
// keeps the writer clear of whatever threads the test program already has.

constexpr const char* VARIABLE_ECRIVAIN = "KV_TEST_ECRIVAIN_PERSISTANCE";
constexpr int FD_ECRIVAIN = 77;
constexpr uint32_t TAILLE_GROUPE = 6;  // odd groups are written as one batch
constexpr uint32_t NB_MAX_VALEURS = 1000000;
const wchar_t* const OBJET_COUPURE = L"FEN_Coupure.EDT_Valeur";

std::wstring sValeurNumero(uint32_t n) { return L"V" + std::to_wstring(n); }

std::wstring sTexteNumero(uint32_t n) {
    // Lengths vary so that values straddle pages.
    return L"valeur " + std::to_wstring(n) + L" é€\U0001F600 " + std::wstring((n % 13) * 97, L'a' + n % 26);
}

bool bGroupeEnBloc(uint32_t n) { return ((n - 1) / TAILLE_GROUPE) % 2 == 1; }

[[noreturn]] void EcrivainJusquALaMort(const char* pszFichier) {
    try {
        kvtest::Bibliotheque lib(kvtest::CheminBinaire("kv190vm.so"));
        auto pfnCree = lib.Symbole<PFN_pCreePersistance>("KVVM_pCreePersistance");
        IPersistance* p = pfnCree(pszFichier);
        // After each acknowledgement the writer pauses a little, so that the
        // kill often lands just after a write returned: the moment a commit
        // put off until later would lose it.
        auto Signale = [](uint32_t n) {
            if (write(FD_ECRIVAIN, &n, sizeof n) != sizeof n) _exit(4);
            usleep(300);
        };
        for (uint32_t n = 1; n < NB_MAX_VALEURS; n += TAILLE_GROUPE) {
            const bool bBloc = bGroupeEnBloc(n);
            if (bBloc) p->DebutOperationEnBloc();
            for (uint32_t k = n; k < n + TAILLE_GROUPE; ++k) {
                if (!p->bEcrit(OBJET_COUPURE, sValeurNumero(k).c_str(), sTexteNumero(k).c_str())) _exit(2);
                if (!bBloc) Signale(k);
            }
            if (bBloc) {
                p->FinOperationEnBloc();
                Signale(n + TAILLE_GROUPE - 1);
            }
        }
    } catch (...) {
        _exit(5);
    }
    _exit(3);  // never killed
}

[[maybe_unused]] const bool g_bEcrivain = [] {
    if (const char* psz = std::getenv(VARIABLE_ECRIVAIN)) EcrivainJusquALaMort(psz);
    return false;
}();

// SQLite itself, loaded on its own, checks the file the writer left.
class CVerificateurSQLite {
public:
    std::string sVerifieIntegrite(const std::string& sFichier) {
        sqlite3* pBase = nullptr;
        std::string sResultat = "cannot open";
        if (m_pfnOuvre(sFichier.c_str(), &pBase, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
            sqlite3_stmt* pRequete = nullptr;
            if (m_pfnPrepare(pBase, "PRAGMA integrity_check", -1, &pRequete, nullptr) == SQLITE_OK) {
                sResultat.clear();
                while (m_pfnPas(pRequete) == SQLITE_ROW)
                    sResultat += reinterpret_cast<const char*>(m_pfnColonne(pRequete, 0));
            }
            m_pfnFinalise(pRequete);
        }
        m_pfnFerme(pBase);
        return sResultat;
    }

private:
    kvtest::Bibliotheque m_lib{"libsqlite3.so.0"};
    decltype(&sqlite3_open_v2) m_pfnOuvre = m_lib.Symbole<decltype(&sqlite3_open_v2)>("sqlite3_open_v2");
    decltype(&sqlite3_prepare_v2) m_pfnPrepare = m_lib.Symbole<decltype(&sqlite3_prepare_v2)>("sqlite3_prepare_v2");
    decltype(&sqlite3_step) m_pfnPas = m_lib.Symbole<decltype(&sqlite3_step)>("sqlite3_step");
    decltype(&sqlite3_column_text) m_pfnColonne = m_lib.Symbole<decltype(&sqlite3_column_text)>("sqlite3_column_text");
    decltype(&sqlite3_finalize) m_pfnFinalise = m_lib.Symbole<decltype(&sqlite3_finalize)>("sqlite3_finalize");
    decltype(&sqlite3_close) m_pfnFerme = m_lib.Symbole<decltype(&sqlite3_close)>("sqlite3_close");
};

// Starts the writer on sFichier; returns its pid and the read end of its pipe.
pid_t LanceEcrivain(const std::string& sFichier, int& fdLecture) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return -1;
    // Everything the child needs is built before fork: after it, only
    // async-signal-safe calls until exec.
    std::vector<std::string> env;
    for (char** pp = environ; *pp; ++pp)
        if (std::strncmp(*pp, VARIABLE_ECRIVAIN, std::strlen(VARIABLE_ECRIVAIN)) != 0) env.emplace_back(*pp);
    env.push_back(std::string(VARIABLE_ECRIVAIN) + "=" + sFichier);
    std::vector<char*> envp;
    for (auto& s : env) envp.push_back(s.data());
    envp.push_back(nullptr);
    char szNom[] = "test_host";
    char* argv[] = {szNom, nullptr};

    const pid_t pid = fork();
    if (pid == 0) {
        if (dup2(fds[1], FD_ECRIVAIN) < 0) _exit(126);  // the copy does not close on exec
        execve("/proc/self/exe", argv, envp.data());
        _exit(127);
    }
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return -1;
    }
    fdLecture = fds[0];
    return pid;
}

TEST_F(Persistance, ValeursAcquitteesSurviventAUnProcessusTue) {
    CVerificateurSQLite verificateur;
    std::random_device alea;
    const unsigned nGraine = alea();
    SCOPED_TRACE("seed " + std::to_string(nGraine));
    std::mt19937 generateur(nGraine);
    using Horloge = std::chrono::steady_clock;

    constexpr int NB_TOURS = 4;
    for (int nTour = 0; nTour < NB_TOURS; ++nTour) {
        SCOPED_TRACE("round " + std::to_string(nTour));
        const std::string sFichier = kvtest::RepertoireTemporaire() + "/persistence.sqlite";
        int fd = -1;
        const pid_t pid = LanceEcrivain(sFichier, fd);
        ASSERT_GT(pid, 0) << std::strerror(errno);

        // Kill at a random moment once the first writes have been acknowledged.
        const auto delaiMort = std::chrono::milliseconds(std::uniform_int_distribution<int>(2, 150)(generateur));
        const auto limitePremier = Horloge::now() + std::chrono::seconds(20);
        std::optional<Horloge::time_point> mort;
        uint32_t nAcquitte = 0;
        std::string sRecu;
        bool bTue = false, bFin = false;
        while (!bFin) {
            const auto maintenant = Horloge::now();
            if (!bTue && ((mort && maintenant >= *mort) || (!mort && maintenant >= limitePremier))) {
                kill(pid, SIGKILL);
                bTue = true;
            }
            int nDelai = 100;
            if (!bTue) {
                const auto cible = mort ? *mort : limitePremier;
                nDelai = static_cast<int>(
                    std::max<long>(0, std::chrono::duration_cast<std::chrono::milliseconds>(cible - maintenant).count()));
            }
            pollfd pfd{fd, POLLIN, 0};
            const int r = poll(&pfd, 1, nDelai);
            if (r < 0 && errno != EINTR) break;
            if (r <= 0) continue;
            char tampon[4096];
            const ssize_t n = read(fd, tampon, sizeof tampon);
            if (n <= 0) {
                bFin = n == 0 || errno != EINTR;
                continue;
            }
            sRecu.append(tampon, static_cast<size_t>(n));
            for (; sRecu.size() >= sizeof(uint32_t); sRecu.erase(0, sizeof(uint32_t))) {
                uint32_t nNumero;
                std::memcpy(&nNumero, sRecu.data(), sizeof nNumero);
                EXPECT_GT(nNumero, nAcquitte);
                nAcquitte = std::max(nAcquitte, nNumero);
            }
            if (nAcquitte > 0 && !mort) mort = Horloge::now() + delaiMort;
        }
        close(fd);
        int nStatut = 0;
        ASSERT_EQ(waitpid(pid, &nStatut, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(nStatut) && WTERMSIG(nStatut) == SIGKILL)
            << "the writer ended by itself, status " << nStatut;
        ASSERT_GT(nAcquitte, 0u) << "no write was acknowledged in time";

        EXPECT_EQ(verificateur.sVerifieIntegrite(sFichier), "ok");

        PPersistance p = Ouvre(sFichier);
        for (uint32_t n = 1; n <= nAcquitte; ++n) {
            std::wstring s;
            ASSERT_TRUE(p->bLit(OBJET_COUPURE, sValeurNumero(n).c_str(), L"<absent>", s));
            ASSERT_EQ(s, sTexteNumero(n)) << "acknowledged value " << n << " of " << nAcquitte;
        }
        // Writes past the last acknowledgement may or may not be there, but
        // are whole, and a batch is there entirely or not at all.
        const uint32_t nDebutGroupe = (nAcquitte / TAILLE_GROUPE) * TAILLE_GROUPE + 1;
        for (uint32_t nGroupe = nDebutGroupe; nGroupe < nDebutGroupe + 2 * TAILLE_GROUPE; nGroupe += TAILLE_GROUPE) {
            uint32_t nPresents = 0;
            for (uint32_t n = nGroupe; n < nGroupe + TAILLE_GROUPE; ++n) {
                std::wstring s;
                ASSERT_TRUE(p->bLit(OBJET_COUPURE, sValeurNumero(n).c_str(), L"<absent>", s));
                if (s == L"<absent>") continue;
                ++nPresents;
                EXPECT_EQ(s, sTexteNumero(n)) << "value " << n;
            }
            if (bGroupeEnBloc(nGroupe)) {
                EXPECT_TRUE(nPresents == 0 || nPresents == TAILLE_GROUPE) << "batch from " << nGroupe;
            }
        }
    }
}

} // namespace
