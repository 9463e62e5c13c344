#include "shop/CLibShop.h"
#include "persistence/CPersistanceSQLite.h"
#include <cstring>

CLibShop::~CLibShop() {
    if (m_piPersistance) m_piPersistance->Release();
}

void CLibShop::SetProjet(std::wstring sNom, std::wstring sRepertoire) {
    std::lock_guard<std::mutex> l(m_mutex);
    m_sNomProjet = std::move(sNom);
    m_sRepProjet = std::move(sRepertoire);
}

IObjetShop* CLibShop::pGetObjetNomme(const char* pszNom, void* /*pObjetVM*/, CXError* /*pErreur*/) {
    if (!pszNom) return nullptr;
    std::lock_guard<std::mutex> l(m_mutex);
    if (std::strcmp(pszNom, "VMProjet") == 0) return new CProjetVM(m_sNomProjet, m_sRepProjet);
    if (std::strcmp(pszNom, "Persistance") == 0) {
        if (!m_piPersistance) {
            std::string sFichier = m_sFichierPersistance.empty() ? sCheminPersistanceParDefaut(m_sNomProjet)
                                                                 : m_sFichierPersistance;
            m_piPersistance = pCreePersistanceSQLite(sFichier);
        }
        m_piPersistance->AddRef();
        return m_piPersistance;
    }
    // No automation object exists on this platform ("MainOLE").
    return nullptr;
}
