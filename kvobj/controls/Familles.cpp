// The control families of this module: one line each. Everything else a
// family needs lives in its own folder (see docs/controls.md).
#include "controls/core/Famille.h"
#include <array>

extern const STFamilleChamp gFamilleSaisie;
extern const STFamilleChamp gFamilleLibelle;
extern const STFamilleChamp gFamilleBouton;
extern const STFamilleChamp gFamilleImage;

namespace {
const STFamilleChamp* const gtabFamilles[] = {
    &gFamilleSaisie,
    &gFamilleLibelle,
    &gFamilleBouton,
    &gFamilleImage,
};

struct STGenreListe {
    int nGenre;
    const wchar_t* pszClasse;
    const char* pszCle;
};
constexpr STGenreListe gtabGenres[] = {
#define KV_GENRE(n, id, classe, cle) {n, classe, cle},
#include "frame/Genres.def"
#undef KV_GENRE
};

// Each kind's family, by kind number.
const std::array<const STFamilleChamp*, NB_ID_OBJET>& FamillesParGenre() {
    static const auto tab = [] {
        std::array<const STFamilleChamp*, NB_ID_OBJET> t{};
        for (const STFamilleChamp* f : gtabFamilles)
            for (eID_OBJET g : f->tabGenres) t[g] = f;
        return t;
    }();
    return tab;
}

const STGenreListe* pGenreListe(int nGenre) {
    for (const STGenreListe& g : gtabGenres)
        if (g.nGenre == nGenre) return &g;
    return nullptr;
}
} // namespace

std::span<const STFamilleChamp* const> Familles() { return gtabFamilles; }

const STFamilleChamp* pFamilleDuGenre(int nGenre) {
    return nGenre >= 0 && nGenre < NB_ID_OBJET ? FamillesParGenre()[nGenre] : nullptr;
}

const wchar_t* pszClasseGenre(int nGenre) {
    const STGenreListe* g = pGenreListe(nGenre);
    return g ? g->pszClasse : L"";
}

const char* pszCleGenre(int nGenre) {
    const STGenreListe* g = pGenreListe(nGenre);
    return g ? g->pszCle : "";
}
