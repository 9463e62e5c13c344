// The host's store of user values ("Persistance"): one SQLite database file
// holding a text per (object name, value name).
#pragma once
#include <atomic>
#include <mutex>
#include <string>
#include "kv/vm.h"

struct sqlite3;
struct sqlite3_stmt;

// IPersistance over one SQLite file.
//
// Every write that returns true is committed before it returns (WAL journal,
// synchronous=FULL), so a process killed right after still finds it on the
// next open. DebutOperationEnBloc/FinOperationEnBloc group writes in one
// transaction; brackets nest and the outermost end commits.
//
// A store that cannot be opened is "dead": reads hand back the default and
// return false, writes do nothing and return false.
//
// All operations take one mutex, so the object can be shared between
// threads. A batch belongs to the object, not to a thread: while one is open,
// writes from every thread join it.
class CPersistanceSQLite final : public IPersistance {
public:
    explicit CPersistanceSQLite(const std::string& sFichier);
    CPersistanceSQLite(const CPersistanceSQLite&) = delete;
    CPersistanceSQLite& operator=(const CPersistanceSQLite&) = delete;

    unsigned AddRef() override;
    unsigned Release() override;

    bool bEcrit(const wchar_t* pszObjet, const wchar_t* pszValeur, const wchar_t* pszTexte) override;
    bool bEcritA(const wchar_t* pszObjet, const wchar_t* pszValeur, const char* pszTexte,
                 unsigned nCodePage) override;
    bool bLit(const wchar_t* pszObjet, const wchar_t* pszValeur, const wchar_t* pszDefaut,
              std::wstring& sSortie) override;
    bool bLitA(const wchar_t* pszObjet, const wchar_t* pszValeur, const char* pszDefaut, unsigned nCodePage,
               std::string& sSortie) override;
    void DebutOperationEnBloc() override;
    void FinOperationEnBloc() override;

    bool bOuvert() const { return m_pBase != nullptr; }

private:
    ~CPersistanceSQLite();

    bool bOuvre(const std::string& sFichier, std::string& sErreur);
    void Ferme();
    // Stores UTF-8 text; the caller holds the mutex.
    bool bEcritUTF8(const std::string& sObjet, const std::string& sValeur, const std::string& sTexte);
    // Reads UTF-8 text: 1 found, 0 not stored, -1 store failure. The caller holds the mutex.
    int nLitUTF8(const std::string& sObjet, const std::string& sValeur, std::string& sTexte);
    bool bExecute(sqlite3_stmt* pRequete);
    void TermineBloc();

    std::atomic<unsigned> m_nRef{1};
    std::mutex m_mutex;
    std::string m_sFichier;
    sqlite3* m_pBase = nullptr;
    sqlite3_stmt* m_pLecture = nullptr;
    sqlite3_stmt* m_pEcriture = nullptr;
    sqlite3_stmt* m_pDebut = nullptr;
    sqlite3_stmt* m_pValide = nullptr;
    sqlite3_stmt* m_pAnnule = nullptr;
    int m_nNiveauBloc = 0;            // nesting depth of the open batch brackets
    bool m_bTransactionBloc = false;  // the batch's transaction is open
};

// Opens (creating it and its folder when needed) the store in sFichier.
// Always returns an object holding one reference; a dead one when the file
// cannot be used.
IPersistance* pCreePersistanceSQLite(const std::string& sFichier);

// $XDG_DATA_HOME/kv/<project>/persistence.sqlite, or
// ~/.local/share/kv/<project>/persistence.sqlite; the folders are created.
// The project name is reduced to one safe folder name. Empty when no data
// folder can be found.
std::string sCheminPersistanceParDefaut(const std::wstring& sNomProjet);
