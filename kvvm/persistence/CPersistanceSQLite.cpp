#include "persistence/CPersistanceSQLite.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iconv.h>
#include <pwd.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// How long a write waits for another connection (another process, usually a
// second instance of the same program) to release the file.
constexpr int DELAI_OCCUPE_MS = 10000;

const char* const SQL_TABLE =
    "CREATE TABLE IF NOT EXISTS persistance ("
    " objet TEXT NOT NULL,"
    " valeur TEXT NOT NULL,"
    " texte TEXT,"
    " PRIMARY KEY (objet, valeur)"
    ") WITHOUT ROWID";
const char* const SQL_LECTURE = "SELECT texte FROM persistance WHERE objet = ?1 AND valeur = ?2";
const char* const SQL_ECRITURE =
    "INSERT INTO persistance (objet, valeur, texte) VALUES (?1, ?2, ?3)"
    " ON CONFLICT (objet, valeur) DO UPDATE SET texte = excluded.texte";

// Wide text (UTF-32) to UTF-8. Fails on values that are not Unicode scalar
// values (surrogates, beyond U+10FFFF): they have no UTF-8 form, and storing
// a substitute would hand back a different text than the one written.
bool bVersUTF8(const wchar_t* psz, std::string& s) {
    s.clear();
    if (!psz) return true;
    for (; *psz; ++psz) {
        const uint32_t c = static_cast<uint32_t>(*psz);
        if (c < 0x80) {
            s += static_cast<char>(c);
        } else if (c < 0x800) {
            s += static_cast<char>(0xC0 | (c >> 6));
            s += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            if (c >= 0xD800 && c <= 0xDFFF) return false;
            s += static_cast<char>(0xE0 | (c >> 12));
            s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c <= 0x10FFFF) {
            s += static_cast<char>(0xF0 | (c >> 18));
            s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            return false;
        }
    }
    return true;
}

// UTF-8 to wide text. The store only holds text written through bVersUTF8 or
// iconv, so malformed bytes come from an outside edit of the file: each one
// reads as U+FFFD rather than failing the read.
std::wstring sDepuisUTF8(const char* p, size_t n) {
    std::wstring s;
    s.reserve(n);
    size_t i = 0;
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(p[i]);
        uint32_t cp;
        size_t nSuite;
        if (c < 0x80) {
            s += static_cast<wchar_t>(c);
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            cp = c & 0x1F;
            nSuite = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            cp = c & 0x0F;
            nSuite = 2;
        } else if (c >= 0xF0 && c <= 0xF4) {
            cp = c & 0x07;
            nSuite = 3;
        } else {
            s += L'\uFFFD';
            ++i;
            continue;
        }
        size_t j = 1;
        for (; j <= nSuite && i + j < n; ++j) {
            const unsigned char d = static_cast<unsigned char>(p[i + j]);
            if ((d & 0xC0) != 0x80) break;
            cp = (cp << 6) | (d & 0x3F);
        }
        const bool bComplet = j == nSuite + 1;
        const bool bValide = bComplet && !(nSuite == 2 && cp < 0x800) && !(nSuite == 3 && cp < 0x10000) &&
                             !(cp >= 0xD800 && cp <= 0xDFFF) && cp <= 0x10FFFF;
        if (bValide) {
            s += static_cast<wchar_t>(cp);
            i += j;
        } else {
            s += L'\uFFFD';
            i += j;  // the lead byte and the continuation bytes that followed it
        }
    }
    return s;
}

// glibc's name for a numbered code page.
std::string sNomCodePage(unsigned nCodePage) {
    if (nCodePage == 1252) return "CP1252";
    if (nCodePage == 65001) return "UTF-8";  // the number of UTF-8 among code pages
    return "CP" + std::to_string(nCodePage);
}

// Strict conversion: any byte or character that has no place in the target
// fails the whole conversion.
class CConvertisseur {
public:
    CConvertisseur(const std::string& sVers, const std::string& sDe)
        : m_cd(iconv_open(sVers.c_str(), sDe.c_str())) {}
    ~CConvertisseur() {
        if (bValide()) iconv_close(m_cd);
    }
    CConvertisseur(const CConvertisseur&) = delete;
    CConvertisseur& operator=(const CConvertisseur&) = delete;
    bool bValide() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    bool bConvertit(const char* p, size_t n, std::string& sSortie) {
        sSortie.clear();
        if (!bValide()) return false;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        std::vector<char> tampon(n * 4 + 16);
        char* pEntree = const_cast<char*>(p);
        size_t nEntree = n;
        for (;;) {
            char* pSortie = tampon.data();
            size_t nSortie = tampon.size();
            const size_t r = iconv(m_cd, nEntree ? &pEntree : nullptr, &nEntree, &pSortie, &nSortie);
            sSortie.append(tampon.data(), tampon.size() - nSortie);
            if (r != static_cast<size_t>(-1)) {
                if (nEntree == 0) break;
                continue;
            }
            if (errno != E2BIG) return false;  // EILSEQ or EINVAL: not text of that code page
        }
        // Flush any shift state of stateful encodings.
        char* pSortie = tampon.data();
        size_t nSortie = tampon.size();
        if (iconv(m_cd, nullptr, nullptr, &pSortie, &nSortie) == static_cast<size_t>(-1)) return false;
        sSortie.append(tampon.data(), tampon.size() - nSortie);
        return true;
    }

private:
    iconv_t m_cd;
};

// mkdir -p; new folders are private to the user (they hold user data).
bool bCreeRepertoires(const std::filesystem::path& chemin, std::string& sErreur) {
    if (chemin.empty()) return true;
    std::filesystem::path courant;
    for (const auto& partie : chemin) {
        courant /= partie;
        if (mkdir(courant.c_str(), 0700) == 0) continue;
        const int nErreur = errno;
        struct stat st;
        if (stat(courant.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) continue;
        sErreur = "cannot create folder " + courant.string() + ": " + std::strerror(nErreur == EEXIST ? ENOTDIR : nErreur);
        return false;
    }
    return true;
}

// A project name as one folder name: no separator, no "." or ".." entry, no
// control characters, not empty, within NAME_MAX.
std::string sNomRepertoireProjet(const std::wstring& sNomProjet) {
    std::string s;
    for (wchar_t c : sNomProjet) {
        std::string sCar;
        if (c < 0x20 || c == 0x7F || c == L'/' || c == L'\\' || !bVersUTF8(std::wstring(1, c).c_str(), sCar))
            s += '_';
        else
            s += sCar;
    }
    // Leading dots would make "." and ".." (or a hidden folder).
    s.erase(0, s.find_first_not_of('.') == std::string::npos ? s.size() : s.find_first_not_of('.'));
    constexpr size_t NOM_MAX = 200;
    if (s.size() > NOM_MAX) {
        size_t n = NOM_MAX;
        while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;  // cut between characters
        s.resize(n);
    }
    if (s.empty()) s = "default";
    return s;
}

std::string sRepertoirePersonnel() {
    const char* psz = std::getenv("HOME");
    if (psz && psz[0] == '/') return psz;
    std::vector<char> tampon(16384);
    struct passwd pw;
    struct passwd* pResultat = nullptr;
    if (getpwuid_r(getuid(), &pw, tampon.data(), tampon.size(), &pResultat) == 0 && pResultat && pw.pw_dir &&
        pw.pw_dir[0] == '/')
        return pw.pw_dir;
    return {};
}

} // namespace

CPersistanceSQLite::CPersistanceSQLite(const std::string& sFichier) : m_sFichier(sFichier) {
    std::string sErreur;
    if (!bOuvre(sFichier, sErreur)) {
        Ferme();
        std::fprintf(stderr, "kv190vm: user values cannot be kept in \"%s\": %s\n", sFichier.c_str(), sErreur.c_str());
    }
}

CPersistanceSQLite::~CPersistanceSQLite() {
    std::lock_guard<std::mutex> verrou(m_mutex);
    // A batch still open at the end is committed: its writes were acknowledged.
    if (m_nNiveauBloc > 0) {
        m_nNiveauBloc = 0;
        TermineBloc();
    }
    Ferme();
}

bool CPersistanceSQLite::bOuvre(const std::string& sFichierDemande, std::string& sErreur) {
    if (sFichierDemande.empty()) {
        // SQLite would open a temporary database: writes would succeed and be lost.
        sErreur = "no file name";
        return false;
    }
    std::string sFichier = sFichierDemande;
    // Always a file, never SQLite's in-memory or URI names.
    if (sFichier[0] == ':' || sFichier.rfind("file:", 0) == 0) sFichier = "./" + sFichier;

    const std::filesystem::path chemin(sFichier);
    if (chemin.has_parent_path() && !bCreeRepertoires(chemin.parent_path(), sErreur)) return false;

    int rc = sqlite3_open_v2(sFichier.c_str(), &m_pBase, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                             nullptr);
    if (rc != SQLITE_OK) {
        sErreur = m_pBase ? sqlite3_errmsg(m_pBase) : sqlite3_errstr(rc);
        return false;
    }
    sqlite3_extended_result_codes(m_pBase, 1);
    sqlite3_busy_timeout(m_pBase, DELAI_OCCUPE_MS);
    if (sqlite3_db_readonly(m_pBase, "main") != 0) {
        sErreur = "the file is read-only";
        return false;
    }
    // WAL with a full sync makes each commit durable at the cost of one sync
    // of the log. Where WAL is not available (no shared memory on the file
    // system) the rollback journal with a full sync is just as durable.
    sqlite3_exec(m_pBase, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    const char* const aSQL[] = {"PRAGMA synchronous=FULL", SQL_TABLE};
    for (const char* pszSQL : aSQL) {
        if (sqlite3_exec(m_pBase, pszSQL, nullptr, nullptr, nullptr) != SQLITE_OK) {
            sErreur = sqlite3_errmsg(m_pBase);
            return false;
        }
    }
    const std::pair<const char*, sqlite3_stmt**> aRequetes[] = {
        {SQL_LECTURE, &m_pLecture},
        {SQL_ECRITURE, &m_pEcriture},
        {"BEGIN IMMEDIATE", &m_pDebut},
        {"COMMIT", &m_pValide},
        {"ROLLBACK", &m_pAnnule},
    };
    for (const auto& [pszSQL, ppRequete] : aRequetes) {
        if (sqlite3_prepare_v3(m_pBase, pszSQL, -1, SQLITE_PREPARE_PERSISTENT, ppRequete, nullptr) != SQLITE_OK) {
            sErreur = sqlite3_errmsg(m_pBase);
            return false;
        }
    }
    return true;
}

void CPersistanceSQLite::Ferme() {
    for (sqlite3_stmt** pp : {&m_pLecture, &m_pEcriture, &m_pDebut, &m_pValide, &m_pAnnule}) {
        sqlite3_finalize(*pp);
        *pp = nullptr;
    }
    if (m_pBase) sqlite3_close_v2(m_pBase);
    m_pBase = nullptr;
}

unsigned CPersistanceSQLite::AddRef() { return m_nRef.fetch_add(1, std::memory_order_relaxed) + 1; }

unsigned CPersistanceSQLite::Release() {
    const unsigned n = m_nRef.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (n == 0) delete this;
    return n;
}

bool CPersistanceSQLite::bExecute(sqlite3_stmt* pRequete) {
    const int rc = sqlite3_step(pRequete);
    sqlite3_reset(pRequete);
    return rc == SQLITE_DONE;
}

bool CPersistanceSQLite::bEcritUTF8(const std::string& sObjet, const std::string& sValeur, const std::string& sTexte) {
    if (!m_pBase) return false;
    // A batch whose transaction could not start, or was lost, takes no more
    // writes: they would land outside it and break its all-or-nothing promise.
    if (m_nNiveauBloc > 0 && !m_bTransactionBloc) return false;
    sqlite3_bind_text(m_pEcriture, 1, sObjet.data(), static_cast<int>(sObjet.size()), SQLITE_STATIC);
    sqlite3_bind_text(m_pEcriture, 2, sValeur.data(), static_cast<int>(sValeur.size()), SQLITE_STATIC);
    bool bOK = sTexte.size() < static_cast<size_t>(INT32_MAX) &&
               sqlite3_bind_text(m_pEcriture, 3, sTexte.data(), static_cast<int>(sTexte.size()), SQLITE_STATIC) ==
                   SQLITE_OK;
    bOK = bOK && bExecute(m_pEcriture);
    sqlite3_clear_bindings(m_pEcriture);
    if (!bOK && m_bTransactionBloc && sqlite3_get_autocommit(m_pBase)) {
        // SQLite rolled the batch back after the error (disk full, I/O error):
        // the writes made so far in it are gone.
        m_bTransactionBloc = false;
        std::fprintf(stderr, "kv190vm: a batch of user values in \"%s\" was lost: %s\n", m_sFichier.c_str(),
                     sqlite3_errmsg(m_pBase));
    }
    return bOK;
}

int CPersistanceSQLite::nLitUTF8(const std::string& sObjet, const std::string& sValeur, std::string& sTexte) {
    if (!m_pBase) return -1;
    sqlite3_bind_text(m_pLecture, 1, sObjet.data(), static_cast<int>(sObjet.size()), SQLITE_STATIC);
    sqlite3_bind_text(m_pLecture, 2, sValeur.data(), static_cast<int>(sValeur.size()), SQLITE_STATIC);
    int nResultat = -1;
    const int rc = sqlite3_step(m_pLecture);
    if (rc == SQLITE_ROW) {
        // A NULL text (only an outside edit makes one) counts as no value.
        if (sqlite3_column_type(m_pLecture, 0) == SQLITE_NULL) {
            nResultat = 0;
        } else {
            const char* p = reinterpret_cast<const char*>(sqlite3_column_text(m_pLecture, 0));
            const int n = sqlite3_column_bytes(m_pLecture, 0);
            if (p) {
                sTexte.assign(p, static_cast<size_t>(n));
                nResultat = 1;
            }
        }
    } else if (rc == SQLITE_DONE) {
        nResultat = 0;
    }
    sqlite3_reset(m_pLecture);
    sqlite3_clear_bindings(m_pLecture);
    return nResultat;
}

bool CPersistanceSQLite::bEcrit(const wchar_t* pszObjet, const wchar_t* pszValeur, const wchar_t* pszTexte) {
    std::string sObjet, sValeur, sTexte;
    if (!bVersUTF8(pszObjet, sObjet) || !bVersUTF8(pszValeur, sValeur) || !bVersUTF8(pszTexte, sTexte)) return false;
    std::lock_guard<std::mutex> verrou(m_mutex);
    return bEcritUTF8(sObjet, sValeur, sTexte);
}

bool CPersistanceSQLite::bEcritA(const wchar_t* pszObjet, const wchar_t* pszValeur, const char* pszTexte,
                                 unsigned nCodePage) {
    std::string sObjet, sValeur, sTexte;
    if (!bVersUTF8(pszObjet, sObjet) || !bVersUTF8(pszValeur, sValeur)) return false;
    CConvertisseur conv("UTF-8", sNomCodePage(nCodePage));
    const char* p = pszTexte ? pszTexte : "";
    if (!conv.bConvertit(p, std::strlen(p), sTexte)) return false;
    std::lock_guard<std::mutex> verrou(m_mutex);
    return bEcritUTF8(sObjet, sValeur, sTexte);
}

bool CPersistanceSQLite::bLit(const wchar_t* pszObjet, const wchar_t* pszValeur, const wchar_t* pszDefaut,
                              std::wstring& sSortie) {
    sSortie = pszDefaut ? pszDefaut : L"";
    std::string sObjet, sValeur, sTexte;
    if (!bVersUTF8(pszObjet, sObjet) || !bVersUTF8(pszValeur, sValeur)) {
        // Such a name cannot have been written: nothing is stored under it.
        std::lock_guard<std::mutex> verrou(m_mutex);
        return m_pBase != nullptr;
    }
    int n;
    {
        std::lock_guard<std::mutex> verrou(m_mutex);
        n = nLitUTF8(sObjet, sValeur, sTexte);
    }
    if (n == 1) sSortie = sDepuisUTF8(sTexte.data(), sTexte.size());
    return n >= 0;
}

bool CPersistanceSQLite::bLitA(const wchar_t* pszObjet, const wchar_t* pszValeur, const char* pszDefaut,
                               unsigned nCodePage, std::string& sSortie) {
    sSortie = pszDefaut ? pszDefaut : "";
    CConvertisseur conv(sNomCodePage(nCodePage), "UTF-8");
    if (!conv.bValide()) return false;
    std::string sObjet, sValeur, sTexte;
    if (!bVersUTF8(pszObjet, sObjet) || !bVersUTF8(pszValeur, sValeur)) {
        std::lock_guard<std::mutex> verrou(m_mutex);
        return m_pBase != nullptr;
    }
    int n;
    {
        std::lock_guard<std::mutex> verrou(m_mutex);
        n = nLitUTF8(sObjet, sValeur, sTexte);
    }
    if (n < 0) return false;
    if (n == 0) return true;
    // A stored text with characters the code page lacks is not handed back
    // altered: the caller gets the default and a failure.
    std::string sConverti;
    if (!conv.bConvertit(sTexte.data(), sTexte.size(), sConverti)) return false;
    sSortie = std::move(sConverti);
    return true;
}

void CPersistanceSQLite::DebutOperationEnBloc() {
    std::lock_guard<std::mutex> verrou(m_mutex);
    if (m_nNiveauBloc++ > 0 || !m_pBase) return;
    // IMMEDIATE takes the write lock now (waiting for other processes up to
    // the busy delay) rather than failing at the first write of the batch.
    m_bTransactionBloc = bExecute(m_pDebut);
    if (!m_bTransactionBloc)
        std::fprintf(stderr, "kv190vm: a batch of user values in \"%s\" cannot start: %s\n", m_sFichier.c_str(),
                     sqlite3_errmsg(m_pBase));
}

void CPersistanceSQLite::FinOperationEnBloc() {
    std::lock_guard<std::mutex> verrou(m_mutex);
    if (m_nNiveauBloc == 0) return;  // an end without a start
    if (--m_nNiveauBloc > 0) return;
    TermineBloc();
}

void CPersistanceSQLite::TermineBloc() {
    if (!m_pBase || !m_bTransactionBloc) {
        m_bTransactionBloc = false;
        return;
    }
    m_bTransactionBloc = false;
    if (bExecute(m_pValide)) return;
    std::fprintf(stderr, "kv190vm: a batch of user values in \"%s\" was lost: %s\n", m_sFichier.c_str(),
                 sqlite3_errmsg(m_pBase));
    // Never leave the connection inside a failed transaction: later writes
    // would silently join it.
    if (!sqlite3_get_autocommit(m_pBase)) bExecute(m_pAnnule);
}

IPersistance* pCreePersistanceSQLite(const std::string& sFichier) { return new CPersistanceSQLite(sFichier); }

std::string sCheminPersistanceParDefaut(const std::wstring& sNomProjet) {
    std::filesystem::path base;
    const char* pszXDG = std::getenv("XDG_DATA_HOME");
    if (pszXDG && pszXDG[0] == '/') {
        base = pszXDG;  // a relative XDG_DATA_HOME is invalid and ignored
    } else {
        const std::string sHome = sRepertoirePersonnel();
        if (sHome.empty()) return {};
        base = std::filesystem::path(sHome) / ".local" / "share";
    }
    const std::filesystem::path repertoire = base / "kv" / sNomRepertoireProjet(sNomProjet);
    std::string sErreur;
    bCreeRepertoires(repertoire, sErreur);  // a failure shows when the store is opened
    return (repertoire / "persistence.sqlite").string();
}

extern "C" __attribute__((visibility("default"))) IPersistance* KVVM_pCreePersistance(const char* pszFichier) {
    return pCreePersistanceSQLite(pszFichier ? pszFichier : "");
}

// The default store path of a project, copied (truncated, terminated) into
// pszSortie when it is large enough. Returns the path's length.
extern "C" __attribute__((visibility("default"))) size_t KVVM_nCheminPersistanceParDefaut(const wchar_t* pszNomProjet,
                                                                                        char* pszSortie, size_t nTaille) {
    const std::string s = sCheminPersistanceParDefaut(pszNomProjet ? pszNomProjet : L"");
    if (pszSortie && nTaille > 0) {
        const size_t n = std::min(s.size(), nTaille - 1);
        std::memcpy(pszSortie, s.data(), n);
        pszSortie[n] = 0;
    }
    return s.size();
}
