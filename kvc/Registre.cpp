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

// The control kinds of the module's object factory, by their key in
// window files.
std::vector<STGenreChamp>& Genres() {
    static std::vector<STGenreChamp> tab = {
        {"edit", 2},
        {"static", 3, eTAB_STOP_JAMAIS},
        {"button", 4},
        {"check_box", 5},
        {"radio", 6},
        {"list", 7},
        {"image", 8, eTAB_STOP_NON},
        {"table", 9},
        {"gauge", 10, eTAB_STOP_NON},
        {"slider", 12},
        {"rotary_slider", 13},
        {"combo", 14},
        {"tab", 16},
        {"scroll_bar", 18},
        {"bar_code", 26},
        {"splitter", 28, eTAB_STOP_NON},
        {"looper", 30},
        {"internal_window", 31},
        {"chart", 33},
        {"supercontrol", 40},
        {"control_template", 43},
        {"calendar", 47},
    };
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

bool bInscritCompilateurChamp(std::string_view sCle, PFN_COMPILE_CHAMP pfn) {
    for (auto& g : Genres())
        if (sCle == g.pszCle) {
            g.pfnCompile = pfn;
            return true;
        }
    return false;
}
