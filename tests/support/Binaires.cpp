#include "Binaires.h"
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <vector>
#include <unistd.h>

namespace kvtest {

std::string CheminBinaire(const char* pszNom) { return std::string(KV_BIN_DIR) + "/" + pszNom; }
std::string CheminFixture(const char* pszNom) { return std::string(KV_FIXTURES_DIR) + "/" + pszNom; }

namespace {
std::vector<std::string>& Temporaires() {
    static std::vector<std::string> tab;
    static bool bInscrit = false;
    if (!bInscrit) {
        bInscrit = true;
        std::atexit([] {
            std::error_code ec;
            for (auto& s : Temporaires()) std::filesystem::remove_all(s, ec);
        });
    }
    return tab;
}
} // namespace

std::string RepertoireTemporaire() {
    static std::mutex m;
    std::lock_guard<std::mutex> l(m);
    std::string modele = (std::filesystem::temp_directory_path() / "kvtest-XXXXXX").string();
    std::vector<char> buf(modele.begin(), modele.end());
    buf.push_back(0);
    if (!mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed");
    Temporaires().push_back(buf.data());
    return buf.data();
}

Bibliotheque::Bibliotheque(const std::string& sChemin, int nMode) {
    m_h = dlopen(sChemin.c_str(), nMode);
    if (!m_h) throw std::runtime_error(std::string("dlopen: ") + dlerror());
}

Bibliotheque::~Bibliotheque() {
    if (m_h) dlclose(m_h);
}

} // namespace kvtest
