#include "vm/Reference.h"
#include "code/TableFonctions.h"
#include "vm/CHote.h"
#include "conteneur/Identifiants.h"
#include <algorithm>
#include <cstdlib>

namespace {
// A row of the object kind table (InfoComposante 37): the kind, its class
// name and its creation function, as the module lays them out.
struct STGenreModule {
    int nIDObjet;
    const wchar_t* pszClasse;
    void* pfnCree;
};

constexpr int nCOLONNE_NOM_PROPRIETE = 12;  // the French names, as the code writes them
constexpr int nCOLONNE_NOM_ANGLAIS = 9;

bool bEgauxSansCasse(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}
} // namespace

int nListeFonctions(CHote& hote, std::FILE* f) {
    auto tab = LitTableFonctions([&hote](const char* psz) { return hote.pSymboleModule(psz); });
    if (tab.empty()) {
        std::fprintf(stderr, "kvrun: the module has no function table\n");
        return 1;
    }
    std::sort(tab.begin(), tab.end(), [](const STFonctionModule& a, const STFonctionModule& b) {
        return std::lexicographical_compare(a.sNom.begin(), a.sNom.end(), b.sNom.begin(), b.sNom.end(),
                                            [](char x, char y) { return std::tolower(x) < std::tolower(y); });
    });
    for (const STFonctionModule& fn : tab) {
        for (const STSyntaxeModule& s : fn.tabSyntaxes) {
            if (!s.pfnGlue) continue;
            std::string sLigne = fn.sNom + "(";
            for (size_t i = 0; i < s.tabParametres.size(); ++i) {
                if (i) sLigne += ", ";
                sLigne += pszNomTypeSignature(s.tabParametres[i]);
            }
            if (s.bVariadique) sLigne += s.tabParametres.empty() ? "..." : ", ...";
            sLigne += ")";
            if (s.nResultat & 0xFF) sLigne += std::string(" -> ") + pszNomTypeSignature(s.nResultat);
            std::fprintf(f, "%s\n", sLigne.c_str());
        }
    }
    return 0;
}

int nListeProprietes(CHote& hote, const std::string& sGenre, std::FILE* f) {
    auto pfnInfo = reinterpret_cast<uintptr_t (*)(int, unsigned)>(hote.pSymboleModule("InfoComposante"));
    IObjGate* g = hote.piGetGate();
    if (!pfnInfo || !g) {
        std::fprintf(stderr, "kvrun: the module is not started\n");
        return 1;
    }
    const auto* tab = reinterpret_cast<const STGenreModule* const*>(pfnInfo(37, 0));
    const int nNb = static_cast<int>(pfnInfo(38, 0));
    const int nProps = g->nGetNbProp();
    bool bTrouve = false;
    for (int k = 0; tab && k < nNb; ++k) {
        const STGenreModule* d = tab[k];
        if (!d || d->nIDObjet < 0 || !d->pszClasse || !*d->pszClasse) continue;
        const std::string sClasse = sVersUtf8(d->pszClasse);
        if (!sGenre.empty()) {
            char* pFin = nullptr;
            long n = std::strtol(sGenre.c_str(), &pFin, 10);
            const bool bNumero = pFin && *pFin == 0 && !sGenre.empty();
            if (bNumero ? n != d->nIDObjet : !bEgauxSansCasse(sGenre, sClasse)) continue;
        }
        std::vector<std::string> noms;
        for (int p = 0; p < nProps; ++p) {
            if (!g->bPropAvailable(d->nIDObjet, static_cast<EPropriete>(p))) continue;
            const wchar_t* pszFr = nullptr;
            const wchar_t* pszEn = nullptr;
            if (!g->bGetNomProp(static_cast<EPropriete>(p), nCOLONNE_NOM_PROPRIETE, &pszFr) || !pszFr || !*pszFr) continue;
            std::string s = sVersUtf8(pszFr);
            if (g->bGetNomProp(static_cast<EPropriete>(p), nCOLONNE_NOM_ANGLAIS, &pszEn) && pszEn && *pszEn &&
                !bEgauxSansCasse(sVersUtf8(pszEn), s))
                s += " (" + sVersUtf8(pszEn) + ")";
            noms.push_back(std::move(s));
        }
        // A kind the module declares without properties of its own is not
        // one a project can use yet.
        if (noms.empty() && sGenre.empty()) continue;
        bTrouve = true;
        std::fprintf(f, "%d %s\n", d->nIDObjet, sClasse.c_str());
        for (const std::string& s : noms) std::fprintf(f, "  %s\n", s.c_str());
    }
    if (!bTrouve) {
        std::fprintf(stderr, "kvrun: no object kind is named %s (give a class name such as CSaisie, or a number)\n",
                     sGenre.c_str());
        return 2;
    }
    return 0;
}
