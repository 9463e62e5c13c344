// The control families of this module: one line each. Everything else a
// family needs lives in its own folder (see docs/controls.md).
#include "controls/core/Famille.h"
#include "controls/core/CChamp.h"
#include "frame/ModuleInfo.h"
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

bool bEstGenreChamp(int n) {
    if (n >= 2 && n <= 40) return true;
    switch (n) {
    case 42: case 43: case 47: case 70: case 72: case 74: case 76: case 80: case 81: case 85: case 86: case 87:
    case 88: case 92: case 93: case 95: case 97: case 99: case 102: case 111:
        return true;
    default:
        return false;
    }
}

CChamp* xpclCreeChamp(int nGenre) {
    const STFamilleChamp* f = pFamilleDuGenre(nGenre);
    if (!f) xThrowErreur(10012, nGenre);
    return static_cast<CChamp*>(f->pfnCree(static_cast<eID_OBJET>(nGenre)));
}
