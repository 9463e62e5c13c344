#include "controls/core/CGroupeChamp.h"
#include "controls/core/CChamp.h"
#include "windows/CFenPrincipale.h"
#include <algorithm>

CGroupeChamp::CGroupeChamp(CFenPrincipale* pclFenetre, const wchar_t* pszNom) : m_pclFenetre(pclFenetre) { SetName(pszNom); }

std::vector<CChamp*> CGroupeChamp::Membres() const {
    std::vector<CChamp*> tab;
    if (!m_pclFenetre) return tab;
    const CConteneurChamp& c = m_pclFenetre->Conteneur();
    for (int i = 0; i < c.nGetNbChamp(); ++i)
        if (c.pclGetChamp(i)->bEstDansGroupe(pszGetName())) tab.push_back(c.pclGetChamp(i));
    return tab;
}

CChamp* CGroupeChamp::pclGetObjet(int i) const {
    auto tab = Membres();
    return i >= 0 && i < static_cast<int>(tab.size()) ? tab[i] : nullptr;
}

namespace {
CChamp* NiemeSelon(std::vector<CChamp*> tab, int n, int (*cle)(CChamp*)) {
    std::stable_sort(tab.begin(), tab.end(), [&](CChamp* a, CChamp* b) { return cle(a) < cle(b); });
    return n >= 0 && n < static_cast<int>(tab.size()) ? tab[n] : nullptr;
}
} // namespace

CChamp* CGroupeChamp::pclGetChamp_ParZOrder(int n) const {
    return NiemeSelon(Membres(), n, [](CChamp* c) { return c->nGetZOrder(); });
}

CChamp* CGroupeChamp::pclGetChamp_ParTabOrder(int n) const {
    return NiemeSelon(Membres(), n, [](CChamp* c) { return c->nGetTabOrder(); });
}
