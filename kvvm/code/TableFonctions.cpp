#include "code/TableFonctions.h"
#include <zlib.h>
#include <algorithm>
#include <cstring>

bool STFonctionModule::bAGlue() const {
    return std::any_of(tabSyntaxes.begin(), tabSyntaxes.end(), [](const STSyntaxeModule& s) { return s.pfnGlue; });
}

std::vector<STFonctionModule> LitTableFonctions(const std::function<void*(const char*)>& fnSymbole) {
    std::vector<STFonctionModule> tabRes;
    auto pfnInfo = reinterpret_cast<uintptr_t (*)(int, unsigned)>(fnSymbole ? fnSymbole("InfoComposante") : nullptr);
    if (!pfnInfo) return tabRes;
    auto* tab = reinterpret_cast<const STFonction*>(pfnInfo(33, 0));
    auto nNb = static_cast<uint32_t>(pfnInfo(34, 0));
    auto* pBloc = reinterpret_cast<const uint8_t*>(pfnInfo(40, 0));
    auto nBloc = static_cast<uint32_t>(pfnInfo(41, 0));
    if (!tab || !pBloc || nBloc < 4) return tabRes;
    uLongf nTaille = uint32_t(pBloc[0]) | uint32_t(pBloc[1]) << 8 | uint32_t(pBloc[2]) << 16 | uint32_t(pBloc[3]) << 24;
    std::vector<unsigned char> brut(nTaille);
    if (uncompress(brut.data(), &nTaille, pBloc + 4, nBloc - 4) != Z_OK) return tabRes;
    std::vector<std::string> noms;
    std::string s;
    for (uLongf i = 0; i < nTaille; ++i) {
        if (brut[i] == 0) {
            noms.push_back(std::move(s));
            s.clear();
        } else {
            s.push_back(static_cast<char>(brut[i]));
        }
    }
    for (uint32_t i = 0; i < nNb && i < noms.size(); ++i) {
        const STFonction& f = tab[i];
        STFonctionModule fn;
        fn.sNom = noms[i];
        fn.nIndice = static_cast<int>(i);
        const uint32_t nSyntaxes = f.nIdentifiant >> 24;
        for (uint32_t k = 0; f.pSyntaxes && k < nSyntaxes; ++k) {
            const STSyntaxe& st = f.pSyntaxes[k];
            STSyntaxeModule sm;
            sm.pfnGlue = st.pfnGlue;
            sm.bVariadique = (st.nParametres & nSYNTAXE_VARIADIQUE) != 0;
            auto lit = [&](uint32_t j) {
                uint32_t n;
                std::memcpy(&n, st.pSignature + 4 * j, 4);
                return n;
            };
            // The parameters' type words follow the result's.
            if (st.pSignature) {
                sm.nResultat = lit(0);
                for (uint32_t j = 0; j < (st.nParametres & nSYNTAXE_NB_PARAMETRES); ++j) sm.tabParametres.push_back(lit(1 + j));
            }
            fn.tabSyntaxes.push_back(std::move(sm));
        }
        tabRes.push_back(std::move(fn));
    }
    return tabRes;
}

const char* pszNomTypeSignature(uint32_t nTypeMot) {
    switch (nTypeMot & 0xFF) {
    case 0: return "";
    case 1: return "boolean";
    case 8: return "integer";
    case 9: return "integer64";
    case 14: return "handle";
    case 30: return "image";
    case 31: return "value";
    case 39: return "window";
    case 45: case 57: case 140: return "object";
    case 116: case 121: case 122: case 127: case 131: return "text";
    default: return "value";
    }
}
