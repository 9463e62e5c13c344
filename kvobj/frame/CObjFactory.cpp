#include "frame/CObjFactory.h"
#include "frame/CExe.h"
#include "frame/CIExe.h"
#include "frame/ModuleInfo.h"
#include "controls/core/Famille.h"
#include <array>

namespace {
CObjet* CreeExe(eID_OBJET) { return CExe::hResCreateInstance(); }
} // namespace

const STDeclareObjet* CObjFactory::m_tabDeclareObjet() {
    static const auto tab = [] {
        std::array<STDeclareObjet, NB_ID_OBJET> t;
        // Kinds whose classes this module does not provide (yet) are -1.
        t.fill({-1, nullptr, nullptr});
        t[ID_EXE] = {ID_EXE, L"CExe", &CreeExe};
        for (const STFamilleChamp* f : Familles())
            for (eID_OBJET g : f->tabGenres) t[g] = {g, f->pszClasse, f->pfnCree};
        return t;
    }();
    return tab.data();
}

bool CObjFactory::bEstIDChamp(int n) { return bEstGenreChamp(n); }

int CObjFactory::QueryInterface(int, void** ppSortie) {
    if (!ppSortie) return -1;
    *ppSortie = this;
    AddRef();
    return 0;
}

unsigned CObjFactory::Release() {
    unsigned n = --m_nRef;
    if (n == 0) delete this;
    return n;
}

int CObjFactory::CreateInstance(void* pExterieur, int nIDObjet, void** ppSortie) {
    return bCreateAgregat(nIDObjet, ppSortie, pExterieur) ? 0 : -1;
}

CObjet* CObjFactory::pclCree(int nIDObjet) {
    if (nIDObjet < 0 || nIDObjet >= NB_ID_OBJET) return nullptr;
    const STDeclareObjet& d = m_tabDeclareObjet()[nIDObjet];
    if (d.nIDObjet < 0 || !d.pfnCree) return nullptr;
    return d.pfnCree(static_cast<eID_OBJET>(nIDObjet));
}

bool CObjFactory::bCreateAgregat(int nIDObjet, void** ppSortie, void* pExterieur) {
    if (!ppSortie || *ppSortie) return false;
    if (nIDObjet < 0 || nIDObjet >= NB_ID_OBJET || m_tabDeclareObjet()[nIDObjet].nIDObjet < 0) return false;
    CObjet* pclObjet;
    if (pExterieur) {
        pclObjet = static_cast<CObjet*>(pExterieur);
        pclObjet->AddRef();
    } else {
        pclObjet = pclCree(nIDObjet);
    }
    if (!pclObjet) return false;
    void* pInterface = nullptr;
    if (nIDObjet == ID_EXE) {
        auto* pclExe = static_cast<CExe*>(pclObjet);
        pInterface = pclExe->pclGetIExe() ? pclExe->pclGetIExe() : pclExe->CreateAgregat();
    } else {
        pInterface = pclObjet->pIQueryInterface(0);
        if (!pInterface) {
            // The object is its own interface: the caller keeps the reference.
            *ppSortie = pclObjet;
            return true;
        }
    }
    pclObjet->nRelease();  // the temporary reference
    *ppSortie = pInterface;
    return pInterface != nullptr;
}

CObjet* CObjFactory::xResCreateChamp(int nIDObjet) {
    if (nIDObjet < 0 || nIDObjet >= NB_ID_OBJET || m_tabDeclareObjet()[nIDObjet].nIDObjet < 0) xThrowErreur(10012, nIDObjet);
    CObjet* p = pclCree(nIDObjet);
    if (!p) xThrowErreur(10012, nIDObjet);
    return p;
}
