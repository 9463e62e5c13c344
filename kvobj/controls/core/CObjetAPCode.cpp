#include "controls/core/CObjetAPCode.h"
#include "base/Texte.h"
#include "frame/CExe.h"
#include <atomic>
#include <chrono>
#include <random>

void CObjetAPCode::GenerateNewID() {
    // Identifiers of run-time objects: random 64-bit values with the top bit
    // set, so they never meet the identifiers the compiler derives from names
    // (which the compiler keeps below 2^63).
    static std::mt19937_64 gen(static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    static std::atomic<uint64_t> nCompteur{0};
    m_qwID = (gen() ^ ++nCompteur) | (1ull << 63);
}

void CObjetAPCodeOBJ::SetTablePcode(std::vector<uint32_t> tab, std::vector<uint32_t> tabOptionnel) {
    tab.push_back(nFIN_TABLE_PCODE);
    tabOptionnel.push_back(nFIN_TABLE_PCODE);
    m_tabPcode = std::move(tab);
    m_tabPcodeOptionnel = std::move(tabOptionnel);
}

bool CObjetAPCodeOBJ::bPCodeInfo(int nEvenement, int nGenre) const {
    const uint32_t* p = nGenre == 0 ? _vpclGetTablePcodeUtilise() : nGenre == 1 ? _vpclGetTablePcodeOptionnelUtilise() : nullptr;
    if (!p) return false;
    for (; *p < nFIN_TABLE_PCODE; ++p)
        if (*p == static_cast<uint32_t>(nEvenement)) return true;
    return false;
}

IVM* CObjetAPCodeOBJ::piGetVM() const { return gpclExe ? gpclExe->piGetVM() : nullptr; }

bool CObjetAPCodeOBJ::bPossedeCode(int nEvenement, bool bDefaut) const {
    IVM* piVM = piGetVM();
    if (!piVM) return bDefaut;
    int n = piVM->nPossedeCode(static_cast<uint32_t>(m_qwID), static_cast<uint32_t>(m_qwID >> 32), nEvenement);
    return n < 0 ? bDefaut : n != 0;
}

CObjetAPCodeOBJ* CObjetAPCodeOBJ::vpclGetObjetAPCodeOBJFromName(const wchar_t* pszNom, int nMode) {
    if (nMode != 0 && nMode != 4 && pszNom && kvtexte::bEgalSansCasse(m_sNom, pszNom)) return this;
    return nullptr;
}
