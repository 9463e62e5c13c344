// The host's shop of named objects: the running project ("VMProjet") and
// the persistence store ("Persistance").
#pragma once
#include "kv/vm.h"
#include <atomic>
#include <mutex>
#include <string>

class CProjetVM : public IProjetVM {
public:
    CProjetVM(std::wstring sNom, std::wstring sRepertoire) : m_sNom(std::move(sNom)), m_sRep(std::move(sRepertoire)) {}
    unsigned AddRef() override { return ++m_nRef; }
    unsigned Release() override {
        unsigned n = --m_nRef;
        if (n == 0) delete this;
        return n;
    }
    const wchar_t* pszGetNom() override { return m_sNom.c_str(); }
    const wchar_t* pszGetRepertoire() override { return m_sRep.c_str(); }

private:
    virtual ~CProjetVM() = default;
    std::wstring m_sNom, m_sRep;
    std::atomic<unsigned> m_nRef{1};
};

class CLibShop : public ILibShop {
public:
    ~CLibShop();
    IObjetShop* pGetObjetNomme(const char* pszNom, void* pObjetVM, CXError* pErreur) override;

    void SetProjet(std::wstring sNom, std::wstring sRepertoire);
    // Where persistent values are stored; empty: the user's data directory.
    void SetFichierPersistance(std::string s) { m_sFichierPersistance = std::move(s); }

private:
    std::mutex m_mutex;
    std::wstring m_sNomProjet, m_sRepProjet;
    std::string m_sFichierPersistance;
    IPersistance* m_piPersistance = nullptr;
};
