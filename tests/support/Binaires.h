// Paths of the built binaries and fixtures, and a small dlopen wrapper.
#pragma once
#include <dlfcn.h>
#include <stdexcept>
#include <string>

namespace kvtest {

std::string CheminBinaire(const char* pszNom);  // KV_BIN_DIR/pszNom
std::string CheminFixture(const char* pszNom);  // tests/fixtures/pszNom
std::string RepertoireTemporaire();             // a fresh folder, removed at exit

class Bibliotheque {
public:
    explicit Bibliotheque(const std::string& sChemin, int nMode = RTLD_NOW | RTLD_LOCAL);
    ~Bibliotheque();
    Bibliotheque(const Bibliotheque&) = delete;
    Bibliotheque& operator=(const Bibliotheque&) = delete;
    void* pHandle() const { return m_h; }
    template <class F>
    F Symbole(const char* pszNom) const {
        void* p = dlsym(m_h, pszNom);
        if (!p) throw std::runtime_error(std::string("missing symbol ") + pszNom);
        return reinterpret_cast<F>(p);
    }
    bool bASymbole(const char* pszNom) const { return dlsym(m_h, pszNom) != nullptr; }

private:
    void* m_h = nullptr;
};

} // namespace kvtest
