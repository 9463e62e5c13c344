#include "Registre.h"
#include "conteneur/CConteneurProjet.h"
#include <algorithm>

namespace {

std::vector<STTypeDescription>& Types() {
    static std::vector<STTypeDescription> tab = {
        {eTYPE_DESCRIPTION_PROJET, "project"},
        {eTYPE_DESCRIPTION_FENETRE, "window"},
        {eTYPE_DESCRIPTION_AUTRE, "other"},
    };
    return tab;
}

// The control kinds of the module's kind list, by their key in window
// files, with what the module's families say of them.
std::vector<STGenreChamp>& Genres() {
    static std::vector<STGenreChamp> tab = [] {
        std::vector<STGenreChamp> t;
        for (int n = 0; n < NB_ID_OBJET; ++n) {
            const char* pszCle = pszCleGenre(n);
            if (!*pszCle) continue;
            STGenreChamp g{pszCle, n};
            if (const STFamilleChamp* f = pFamilleDuGenre(n)) {
                g.pFamille = f;
                g.eTabStop = f->eTabStop;
            }
            t.push_back(g);
        }
        return t;
    }();
    return tab;
}

} // namespace

void InscritTypeDescription(const STTypeDescription& st) {
    auto& tab = Types();
    auto it = std::find_if(tab.begin(), tab.end(), [&](const STTypeDescription& t) { return t.nType == st.nType; });
    if (it == tab.end()) {
        tab.push_back(st);
        std::sort(tab.begin(), tab.end(), [](const auto& a, const auto& b) { return a.nType < b.nType; });
        return;
    }
    if (st.pszNom && *st.pszNom) it->pszNom = st.pszNom;
    if (st.pfnCompileFenetre) it->pfnCompileFenetre = st.pfnCompileFenetre;
    if (st.pfnDump) it->pfnDump = st.pfnDump;
}

const STTypeDescription* pTypeDescription(int nType) {
    for (const auto& t : Types())
        if (t.nType == nType) return &t;
    return nullptr;
}

const std::vector<STTypeDescription>& TypesDescription() { return Types(); }

const std::vector<STGenreChamp>& GenresChamps() { return Genres(); }

const STGenreChamp* pGenreChamp(std::string_view sCle) {
    for (const auto& g : Genres())
        if (sCle == g.pszCle) return &g;
    return nullptr;
}

const STGenreChamp* pGenreChamp(int nGenreObjet) {
    for (const auto& g : Genres())
        if (g.nGenreObjet == nGenreObjet) return &g;
    return nullptr;
}

bool bInscritCompilateurChamp(eID_OBJET eGenre, PFN_COMPILE_CHAMP pfn) {
    for (auto& g : Genres())
        if (g.nGenreObjet == eGenre && g.pFamille) {
            g.pfnCompile = pfn;
            return true;
        }
    return false;
}
