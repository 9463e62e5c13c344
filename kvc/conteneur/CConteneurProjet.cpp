#include "conteneur/CConteneurProjet.h"
#include "conteneur/Identifiants.h"
#include <sqlite3.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A prepared statement, finalised on every way out.
class CRequete {
public:
    CRequete(sqlite3* pBase, const char* pszSQL) {
        m_rc = sqlite3_prepare_v2(pBase, pszSQL, -1, &m_p, nullptr);
    }
    ~CRequete() { sqlite3_finalize(m_p); }
    CRequete(const CRequete&) = delete;
    CRequete& operator=(const CRequete&) = delete;

    bool bPrete() const { return m_rc == SQLITE_OK && m_p; }
    void Texte(int i, std::string_view s) {
        sqlite3_bind_text(m_p, i, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
    }
    void Entier(int i, int64_t n) { sqlite3_bind_int64(m_p, i, n); }
    void Blob(int i, const void* p, size_t n) {
        // A zero-length blob still has to be a blob, not NULL.
        sqlite3_bind_blob64(m_p, i, n ? p : "", n, SQLITE_TRANSIENT);
    }
    int nPas() { return sqlite3_step(m_p); }

    // Column readers that tolerate what a damaged file may hold (NULL,
    // another type): false when the column is not of the expected type.
    bool bTexte(int i, std::string& s) const {
        if (sqlite3_column_type(m_p, i) != SQLITE_TEXT) return false;
        auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_p, i));
        int n = sqlite3_column_bytes(m_p, i);
        s.assign(p ? p : "", p ? static_cast<size_t>(n) : 0);
        return true;
    }
    bool bEntier(int i, int64_t& n) const {
        if (sqlite3_column_type(m_p, i) != SQLITE_INTEGER) return false;
        n = sqlite3_column_int64(m_p, i);
        return true;
    }
    bool bBlob(int i, std::vector<uint8_t>& tab) const {
        if (sqlite3_column_type(m_p, i) != SQLITE_BLOB) return false;
        auto* p = static_cast<const uint8_t*>(sqlite3_column_blob(m_p, i));
        int n = sqlite3_column_bytes(m_p, i);
        tab.assign(p, p ? p + n : p);
        return true;
    }
    int64_t nTaille(int i) const { return sqlite3_column_bytes(m_p, i); }

private:
    sqlite3_stmt* m_p = nullptr;
    int m_rc;
};

constexpr const char* SCHEMA =
    "CREATE TABLE parametre(cle TEXT PRIMARY KEY, valeur TEXT);"
    "CREATE TABLE description(nom TEXT NOT NULL COLLATE NOCASE, type INTEGER NOT NULL,"
    " donnees BLOB NOT NULL, PRIMARY KEY(nom, type));"
    "CREATE TABLE code(id INTEGER NOT NULL, evenement INTEGER NOT NULL, langage TEXT NOT NULL,"
    " source TEXT NOT NULL, nom TEXT NOT NULL, PRIMARY KEY(id, evenement));"
    "CREATE TABLE objet(id INTEGER PRIMARY KEY, nom TEXT NOT NULL);";

// Columns every reader relies on, per table.
struct STTableAttendue {
    const char* pszTable;
    std::vector<const char*> tabColonnes;
};
const std::vector<STTableAttendue>& TablesAttendues() {
    static const std::vector<STTableAttendue> tab = {
        {"parametre", {"cle", "valeur"}},
        {"description", {"nom", "type", "donnees"}},
        {"code", {"id", "evenement", "langage", "source", "nom"}},
        {"objet", {"id", "nom"}},
    };
    return tab;
}

bool bSynchroniseFichier(const std::string& sChemin, bool bRepertoire) {
    int fd = ::open(sChemin.c_str(), (bRepertoire ? O_RDONLY | O_DIRECTORY : O_RDONLY) | O_CLOEXEC);
    if (fd < 0) return false;
    bool bOk = ::fsync(fd) == 0;
    ::close(fd);
    return bOk;
}

std::string sRepertoireDe(const std::string& sChemin) {
    auto n = sChemin.find_last_of('/');
    if (n == std::string::npos) return ".";
    if (n == 0) return "/";
    return sChemin.substr(0, n);
}

bool bEstAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

} // namespace

CConteneurProjet::~CConteneurProjet() {
    if (m_bEcriture) Abandonne();
    else Ferme();
}

bool CConteneurProjet::bErreur(std::string s) {
    m_sErreur = std::move(s);
    return false;
}

bool CConteneurProjet::bErreurSQL(const char* pszQuoi) {
    std::string s = pszQuoi;
    if (m_pBase) {
        int rc = sqlite3_errcode(m_pBase);
        if (rc == SQLITE_CORRUPT || rc == SQLITE_NOTADB) s = "damaged project container: " + s;
        s += std::string(" (") + sqlite3_errmsg(m_pBase) + ")";
    }
    return bErreur(std::move(s));
}

bool CConteneurProjet::bExecute(const char* pszSQL) {
    char* pszMessage = nullptr;
    if (sqlite3_exec(m_pBase, pszSQL, nullptr, nullptr, &pszMessage) == SQLITE_OK) return true;
    std::string s = pszMessage ? pszMessage : sqlite3_errmsg(m_pBase);
    sqlite3_free(pszMessage);
    return bErreur(s);
}

// ---------------------------------------------------------------- writing

bool CConteneurProjet::bCree(const std::string& sChemin) {
    if (m_bEcriture) Abandonne();
    Ferme();
    m_sErreur.clear();
    if (sChemin.empty()) return bErreur("no file name for the project container");
    m_sChemin = sChemin;
    m_sTemporaire = sChemin + ".tmp";
    struct stat st;
    if (::lstat(m_sTemporaire.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return bErreur(m_sTemporaire + ": is a directory");
        if (::unlink(m_sTemporaire.c_str()) != 0)
            return bErreur(m_sTemporaire + ": cannot replace it (" + std::strerror(errno) + ")");
    }
    int rc = sqlite3_open_v2(m_sTemporaire.c_str(), &m_pBase,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        std::string s = m_sTemporaire + ": cannot create it (" +
                        (m_pBase ? sqlite3_errmsg(m_pBase) : sqlite3_errstr(rc)) + ")";
        sqlite3_close(m_pBase);
        m_pBase = nullptr;
        ::unlink(m_sTemporaire.c_str());
        return bErreur(s);
    }
    m_bEcriture = true;
    // No journal: until the rename, the file is ours alone and is thrown
    // away on any failure. Durability comes from the fsync before the rename.
    std::string sSQL = "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;"
                       "PRAGMA application_id=" + std::to_string(nAPPLICATION_ID) + ";"
                       "PRAGMA user_version=" + std::to_string(nVERSION_FORMAT) + ";"
                       "BEGIN;" + SCHEMA;
    if (!bExecute(sSQL.c_str())) {
        std::string s = m_sTemporaire + ": " + m_sErreur;
        Abandonne();
        return bErreur(s);
    }
    return true;
}

bool CConteneurProjet::bValide() {
    if (!m_pBase || !m_bEcriture) return bErreur("no project container is being written");
    if (!bExecute("COMMIT;")) {
        std::string s = m_sTemporaire + ": " + m_sErreur;
        Abandonne();
        return bErreur(s);
    }
    int rc = sqlite3_close(m_pBase);
    m_pBase = nullptr;
    if (rc != SQLITE_OK) {
        Abandonne();
        return bErreur(m_sTemporaire + ": cannot close it");
    }
    if (!bSynchroniseFichier(m_sTemporaire, false)) {
        std::string s = m_sTemporaire + ": cannot write it to disk (" + std::strerror(errno) + ")";
        Abandonne();
        return bErreur(s);
    }
    if (::rename(m_sTemporaire.c_str(), m_sChemin.c_str()) != 0) {
        std::string s = m_sChemin + ": cannot write it (" + std::strerror(errno) + ")";
        Abandonne();
        return bErreur(s);
    }
    bSynchroniseFichier(sRepertoireDe(m_sChemin), true);
    m_bEcriture = false;
    m_sTemporaire.clear();
    return true;
}

void CConteneurProjet::Abandonne() {
    if (m_pBase) {
        sqlite3_close_v2(m_pBase);
        m_pBase = nullptr;
    }
    if (m_bEcriture && !m_sTemporaire.empty()) ::unlink(m_sTemporaire.c_str());
    m_bEcriture = false;
    m_sTemporaire.clear();
}

// ---------------------------------------------------------------- reading

bool CConteneurProjet::bOuvre(const std::string& sChemin) {
    if (m_bEcriture) Abandonne();
    Ferme();
    m_sErreur.clear();
    struct stat st;
    if (::stat(sChemin.c_str(), &st) != 0) return bErreur(sChemin + ": " + std::strerror(errno));
    if (!S_ISREG(st.st_mode)) return bErreur(sChemin + ": not a project container (not a file)");
    int rc = sqlite3_open_v2(sChemin.c_str(), &m_pBase, SQLITE_OPEN_READONLY, nullptr);
    if (rc != SQLITE_OK) {
        std::string s = sChemin + ": cannot open it (" + (m_pBase ? sqlite3_errmsg(m_pBase) : sqlite3_errstr(rc)) + ")";
        Ferme();
        return bErreur(s);
    }
    // A file from elsewhere may hold anything: no schema code of its own
    // (triggers, views, functions) is trusted, and page checks are on.
    sqlite3_db_config(m_pBase, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(m_pBase, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_exec(m_pBase, "PRAGMA cell_size_check=ON; PRAGMA query_only=ON;", nullptr, nullptr, nullptr);
    if (!bVerifieEntete(sChemin) || !bVerifieTables()) {
        std::string s = sChemin + ": " + m_sErreur;
        Ferme();
        return bErreur(s);
    }
    return true;
}

bool CConteneurProjet::bVerifieEntete(const std::string& sChemin) {
    // The file's own header first (SQLite's first 100 bytes: magic text,
    // user_version at 60 and application_id at 68, big-endian), so that a
    // foreign file is told apart from a damaged container.
    uint8_t abyEntete[100];
    int fd = ::open(sChemin.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return bErreur(std::string("cannot read it (") + std::strerror(errno) + ")");
    ssize_t nLu = ::read(fd, abyEntete, sizeof abyEntete);
    ::close(fd);
    static const char MAGIQUE[] = "SQLite format 3";
    if (nLu < static_cast<ssize_t>(sizeof abyEntete) || std::memcmp(abyEntete, MAGIQUE, sizeof MAGIQUE) != 0)
        return bErreur("not a project container");
    auto mot = [&](size_t n) -> int64_t {
        return static_cast<int32_t>(static_cast<uint32_t>(abyEntete[n]) << 24 | static_cast<uint32_t>(abyEntete[n + 1]) << 16 |
                                    static_cast<uint32_t>(abyEntete[n + 2]) << 8 | abyEntete[n + 3]);
    };
    if (mot(68) != nAPPLICATION_ID) return bErreur("not a project container");
    if (mot(60) != nVERSION_FORMAT)
        return bErreur("container format version " + std::to_string(mot(60)) +
                       " is not supported (this program reads version " + std::to_string(nVERSION_FORMAT) + ")");
    // SQLite must agree with its own header.
    CRequete r(m_pBase, "PRAGMA application_id");
    int64_t nId = 0;
    if (!r.bPrete() || r.nPas() != SQLITE_ROW || !r.bEntier(0, nId))
        return bErreurSQL("cannot read its header");
    if (nId != nAPPLICATION_ID) return bErreur("damaged project container: inconsistent header");
    return true;
}

bool CConteneurProjet::bVerifieTables() {
    for (const auto& t : TablesAttendues()) {
        CRequete r(m_pBase, "SELECT name FROM pragma_table_info(?1)");
        if (!r.bPrete()) return bErreurSQL("cannot read the container's tables");
        r.Texte(1, t.pszTable);
        std::vector<std::string> tabPresentes;
        int rc;
        while ((rc = r.nPas()) == SQLITE_ROW) {
            std::string s;
            if (r.bTexte(0, s)) tabPresentes.push_back(s);
        }
        if (rc != SQLITE_DONE) return bErreurSQL("cannot read the container's tables");
        if (tabPresentes.empty())
            return bErreur(std::string("damaged project container: no table '") + t.pszTable + "'");
        for (const char* c : t.tabColonnes) {
            bool bTrouve = false;
            for (const auto& s : tabPresentes) bTrouve = bTrouve || s == c;
            if (!bTrouve)
                return bErreur(std::string("damaged project container: table '") + t.pszTable + "' has no column '" +
                               c + "'");
        }
    }
    return true;
}

void CConteneurProjet::Ferme() {
    if (m_bEcriture) {
        Abandonne();
        return;
    }
    if (m_pBase) sqlite3_close_v2(m_pBase);
    m_pBase = nullptr;
}

// ---------------------------------------------------------------- settings

bool CConteneurProjet::bSetParametre(std::string_view sCle, std::string_view sValeur) {
    if (!m_bEcriture) return bErreur("the project container is open read-only");
    CRequete r(m_pBase, "INSERT OR REPLACE INTO parametre(cle, valeur) VALUES(?1, ?2)");
    if (!r.bPrete()) return bErreurSQL("cannot write a setting");
    r.Texte(1, sCle);
    r.Texte(2, sValeur);
    if (r.nPas() != SQLITE_DONE) return bErreurSQL("cannot write a setting");
    return true;
}

eRESULTAT_LECTURE CConteneurProjet::eGetParametre(std::string_view sCle, std::string& sValeur) {
    m_sErreur.clear();
    if (!m_pBase) return bErreur("no project container is open"), eLECTURE_ERREUR;
    CRequete r(m_pBase, "SELECT valeur FROM parametre WHERE cle = ?1");
    if (!r.bPrete()) return bErreurSQL("cannot read a setting"), eLECTURE_ERREUR;
    r.Texte(1, sCle);
    int rc = r.nPas();
    if (rc == SQLITE_DONE) return eLECTURE_ABSENT;
    if (rc != SQLITE_ROW) return bErreurSQL("cannot read a setting"), eLECTURE_ERREUR;
    // A NULL value reads as an empty setting.
    if (!r.bTexte(0, sValeur)) sValeur.clear();
    return eLECTURE_OK;
}

bool CConteneurProjet::bListeParametres(std::vector<std::pair<std::string, std::string>>& tab) {
    tab.clear();
    m_sErreur.clear();
    if (!m_pBase) return bErreur("no project container is open");
    CRequete r(m_pBase, "SELECT cle, valeur FROM parametre ORDER BY cle");
    if (!r.bPrete()) return bErreurSQL("cannot read the settings");
    int rc;
    while ((rc = r.nPas()) == SQLITE_ROW) {
        std::string sCle, sValeur;
        if (!r.bTexte(0, sCle)) return bErreur("damaged project container: a setting without a name");
        r.bTexte(1, sValeur);
        tab.emplace_back(std::move(sCle), std::move(sValeur));
    }
    if (rc != SQLITE_DONE) return bErreurSQL("cannot read the settings");
    return true;
}

// ---------------------------------------------------------------- descriptions

eRESULTAT_LECTURE CConteneurProjet::eTrouveNomDescription(std::string_view sNom, int nType, std::string& sStocke) {
    // SQLite folds ASCII letters only: the exact and ASCII-folded match is
    // asked first, then the names of the type are compared with the fold of
    // Latin letters.
    {
        CRequete r(m_pBase, "SELECT nom FROM description WHERE nom = ?1 AND type = ?2");
        if (!r.bPrete()) return bErreurSQL("cannot read the descriptions"), eLECTURE_ERREUR;
        r.Texte(1, sNom);
        r.Entier(2, nType);
        int rc = r.nPas();
        if (rc == SQLITE_ROW && r.bTexte(0, sStocke)) return eLECTURE_OK;
        if (rc != SQLITE_ROW && rc != SQLITE_DONE) return bErreurSQL("cannot read the descriptions"), eLECTURE_ERREUR;
    }
    const std::wstring sCherche = sDepuisUtf8(sNom);
    CRequete r(m_pBase, "SELECT nom FROM description WHERE type = ?1");
    if (!r.bPrete()) return bErreurSQL("cannot read the descriptions"), eLECTURE_ERREUR;
    r.Entier(1, nType);
    int rc;
    while ((rc = r.nPas()) == SQLITE_ROW) {
        std::string s;
        if (!r.bTexte(0, s) || (bEstAscii(s) && bEstAscii(sNom))) continue;
        if (bNomsEgaux(sDepuisUtf8(s), sCherche)) {
            sStocke = std::move(s);
            return eLECTURE_OK;
        }
    }
    if (rc != SQLITE_DONE) return bErreurSQL("cannot read the descriptions"), eLECTURE_ERREUR;
    return eLECTURE_ABSENT;
}

bool CConteneurProjet::bAjouteDescription(std::string_view sNom, int nType, const void* pDonnees, size_t nTaille) {
    m_sErreur.clear();
    if (!m_bEcriture) return bErreur("the project container is open read-only");
    if (sNom.empty()) return bErreur("a description needs a name");
    std::string sAncien;
    switch (eTrouveNomDescription(sNom, nType, sAncien)) {
    case eLECTURE_ERREUR: return false;
    case eLECTURE_OK: {
        CRequete r(m_pBase, "DELETE FROM description WHERE nom = ?1 AND type = ?2");
        if (!r.bPrete()) return bErreurSQL("cannot write a description");
        r.Texte(1, sAncien);
        r.Entier(2, nType);
        if (r.nPas() != SQLITE_DONE) return bErreurSQL("cannot write a description");
        break;
    }
    case eLECTURE_ABSENT: break;
    }
    CRequete r(m_pBase, "INSERT INTO description(nom, type, donnees) VALUES(?1, ?2, ?3)");
    if (!r.bPrete()) return bErreurSQL("cannot write a description");
    r.Texte(1, sNom);
    r.Entier(2, nType);
    r.Blob(3, pDonnees, nTaille);
    if (r.nPas() != SQLITE_DONE) return bErreurSQL("cannot write a description");
    return true;
}

eRESULTAT_LECTURE CConteneurProjet::eLitDescription(std::string_view sNom, int nType, std::vector<uint8_t>& tab) {
    m_sErreur.clear();
    if (!m_pBase) return bErreur("no project container is open"), eLECTURE_ERREUR;
    std::string sStocke;
    eRESULTAT_LECTURE e = eTrouveNomDescription(sNom, nType, sStocke);
    if (e != eLECTURE_OK) return e;
    CRequete r(m_pBase, "SELECT donnees FROM description WHERE nom = ?1 AND type = ?2");
    if (!r.bPrete()) return bErreurSQL("cannot read a description"), eLECTURE_ERREUR;
    r.Texte(1, sStocke);
    r.Entier(2, nType);
    int rc = r.nPas();
    if (rc == SQLITE_DONE) return eLECTURE_ABSENT;
    if (rc != SQLITE_ROW) return bErreurSQL("cannot read a description"), eLECTURE_ERREUR;
    if (!r.bBlob(0, tab))
        return bErreur("damaged project container: description '" + sStocke + "' holds no bytes"), eLECTURE_ERREUR;
    return eLECTURE_OK;
}

bool CConteneurProjet::bListeDescriptions(std::vector<STEntreeDescription>& tab) {
    tab.clear();
    m_sErreur.clear();
    if (!m_pBase) return bErreur("no project container is open");
    CRequete r(m_pBase, "SELECT nom, type, donnees FROM description ORDER BY type, nom");
    if (!r.bPrete()) return bErreurSQL("cannot read the descriptions");
    int rc;
    while ((rc = r.nPas()) == SQLITE_ROW) {
        STEntreeDescription st;
        int64_t nType;
        if (!r.bTexte(0, st.sNom) || !r.bEntier(1, nType))
            return bErreur("damaged project container: a description without a name or type");
        st.nType = static_cast<int>(nType);
        st.nTaille = static_cast<size_t>(r.nTaille(2));
        tab.push_back(std::move(st));
    }
    if (rc != SQLITE_DONE) return bErreurSQL("cannot read the descriptions");
    return true;
}

// ---------------------------------------------------------------- objects

bool CConteneurProjet::bAjouteObjet(uint64_t nId, std::string_view sNomComplet) {
    m_sErreur.clear();
    if (!m_bEcriture) return bErreur("the project container is open read-only");
    std::string sAncien;
    switch (eGetNomObjet(nId, sAncien)) {
    case eLECTURE_ERREUR: return false;
    case eLECTURE_OK:
        if (bNomsEgaux(sDepuisUtf8(sAncien), sDepuisUtf8(sNomComplet))) return true;
        return bErreur("objects '" + sAncien + "' and '" + std::string(sNomComplet) +
                       "' have the same identifier; rename one of them");
    case eLECTURE_ABSENT: break;
    }
    CRequete r(m_pBase, "INSERT INTO objet(id, nom) VALUES(?1, ?2)");
    if (!r.bPrete()) return bErreurSQL("cannot write an object");
    r.Entier(1, static_cast<int64_t>(nId));
    r.Texte(2, sNomComplet);
    if (r.nPas() != SQLITE_DONE) return bErreurSQL("cannot write an object");
    return true;
}

eRESULTAT_LECTURE CConteneurProjet::eGetNomObjet(uint64_t nId, std::string& sNom) {
    if (!m_pBase) return bErreur("no project container is open"), eLECTURE_ERREUR;
    CRequete r(m_pBase, "SELECT nom FROM objet WHERE id = ?1");
    if (!r.bPrete()) return bErreurSQL("cannot read the objects"), eLECTURE_ERREUR;
    r.Entier(1, static_cast<int64_t>(nId));
    int rc = r.nPas();
    if (rc == SQLITE_DONE) return eLECTURE_ABSENT;
    if (rc != SQLITE_ROW) return bErreurSQL("cannot read the objects"), eLECTURE_ERREUR;
    if (!r.bTexte(0, sNom)) return bErreur("damaged project container: an object without a name"), eLECTURE_ERREUR;
    return eLECTURE_OK;
}

// ---------------------------------------------------------------- code

bool CConteneurProjet::bAjouteCode(uint64_t nId, uint32_t nEvenement, std::string_view sLangage,
                                   std::string_view sSource, std::string_view sNomComplet) {
    m_sErreur.clear();
    if (!m_bEcriture) return bErreur("the project container is open read-only");
    CRequete r(m_pBase,
               "INSERT OR REPLACE INTO code(id, evenement, langage, source, nom) VALUES(?1, ?2, ?3, ?4, ?5)");
    if (!r.bPrete()) return bErreurSQL("cannot write event code");
    r.Entier(1, static_cast<int64_t>(nId));
    r.Entier(2, nEvenement);
    r.Texte(3, sLangage);
    r.Texte(4, sSource);
    r.Texte(5, sNomComplet);
    if (r.nPas() != SQLITE_DONE) return bErreurSQL("cannot write event code");
    return true;
}

namespace {
bool bLitLigneCode(const CRequete& r, STEntreeCode& st) {
    int64_t nId, nEvenement;
    if (!r.bEntier(0, nId) || !r.bEntier(1, nEvenement) || nEvenement < 0 || nEvenement > UINT32_MAX) return false;
    st.nId = static_cast<uint64_t>(nId);
    st.nEvenement = static_cast<uint32_t>(nEvenement);
    return r.bTexte(2, st.sLangage) && r.bTexte(3, st.sSource) && r.bTexte(4, st.sNom);
}
} // namespace

eRESULTAT_LECTURE CConteneurProjet::eLitCode(uint64_t nId, uint32_t nEvenement, STEntreeCode& st) {
    m_sErreur.clear();
    if (!m_pBase) return bErreur("no project container is open"), eLECTURE_ERREUR;
    CRequete r(m_pBase, "SELECT id, evenement, langage, source, nom FROM code WHERE id = ?1 AND evenement = ?2");
    if (!r.bPrete()) return bErreurSQL("cannot read event code"), eLECTURE_ERREUR;
    r.Entier(1, static_cast<int64_t>(nId));
    r.Entier(2, nEvenement);
    int rc = r.nPas();
    if (rc == SQLITE_DONE) return eLECTURE_ABSENT;
    if (rc != SQLITE_ROW) return bErreurSQL("cannot read event code"), eLECTURE_ERREUR;
    if (!bLitLigneCode(r, st)) return bErreur("damaged project container: malformed event code entry"), eLECTURE_ERREUR;
    return eLECTURE_OK;
}

bool CConteneurProjet::bListeCode(std::vector<STEntreeCode>& tab) {
    tab.clear();
    m_sErreur.clear();
    if (!m_pBase) return bErreur("no project container is open");
    CRequete r(m_pBase, "SELECT id, evenement, langage, source, nom FROM code ORDER BY nom, evenement");
    if (!r.bPrete()) return bErreurSQL("cannot read event code");
    int rc;
    while ((rc = r.nPas()) == SQLITE_ROW) {
        STEntreeCode st;
        if (!bLitLigneCode(r, st)) return bErreur("damaged project container: malformed event code entry");
        tab.push_back(std::move(st));
    }
    if (rc != SQLITE_DONE) return bErreurSQL("cannot read event code");
    return true;
}
