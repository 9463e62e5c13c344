#include "frame/CObjFactory.h"
#include "frame/CExe.h"
#include "frame/CIExe.h"
#include "frame/ModuleInfo.h"
#include "controls/containers/CBouton.h"
#include "controls/edit/CSaisie.h"
#include "controls/graphic/CChampImage.h"
#include "controls/graphic/CChampLibelle.h"

namespace {
CObjet* CreeExe() { return CExe::hResCreateInstance(); }
} // namespace

// Kinds whose classes this module does not provide (yet) are -1.
#define KV_INDISPONIBLE {-1, nullptr, nullptr}
const STDeclareObjet CObjFactory::m_tabDeclareObjet[NB_ID_OBJET] = {
    {0, L"CExe", &CreeExe},
    KV_INDISPONIBLE,                                                                                       // 1
    {2, L"CSaisie", &pclCreeSaisie},
    {3, L"CChampLibelle", &pclCreeChampLibelle},
    {4, L"CBouton", &pclCreeBouton},
    KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE,                                                     // 5-7
    {8, L"CChampImage", &pclCreeChampImage},
    KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE,                                    // 9-12
    KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE,  // 13-18
    KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE,  // 19-24
    KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE,  // 25-30
    KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE,  // 31-36
    KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE,  // 37-42
    KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE,  // 43-48
    KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE,  // 49-54
    KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE,  // 55-60
    KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE,  // 61-66
    KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE,  // 67-72
    KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE,  // 73-78
    KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE,  // 79-84
    KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE,  // 85-90
    KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE,  // 91-96
    KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE,  // 97-102
    KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE,  // 103-108
    KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE, KV_INDISPONIBLE,                                    // 109-112
};
#undef KV_INDISPONIBLE

bool CObjFactory::bEstIDChamp(int n) {
    if (n >= 2 && n <= 40) return n != 41;
    switch (n) {
    case 42: case 43: case 47: case 70: case 72: case 74: case 76: case 80: case 81: case 85: case 86: case 87:
    case 88: case 92: case 93: case 95: case 97: case 99: case 102: case 111:
        return true;
    default:
        return false;
    }
}

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
    const STDeclareObjet& d = m_tabDeclareObjet[nIDObjet];
    if (d.nIDObjet < 0 || !d.pfnCree) return nullptr;
    return d.pfnCree();
}

bool CObjFactory::bCreateAgregat(int nIDObjet, void** ppSortie, void* pExterieur) {
    if (!ppSortie || *ppSortie) return false;
    if (nIDObjet < 0 || nIDObjet >= NB_ID_OBJET || m_tabDeclareObjet[nIDObjet].nIDObjet < 0) return false;
    CObjet* pclObjet;
    if (pExterieur) {
        pclObjet = static_cast<CObjet*>(pExterieur);
        pclObjet->AddRef();
    } else {
        pclObjet = pclCree(nIDObjet);
    }
    if (!pclObjet) return false;
    void* pInterface = nullptr;
    if (nIDObjet == 0) {
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
    if (nIDObjet < 0 || nIDObjet >= NB_ID_OBJET || m_tabDeclareObjet[nIDObjet].nIDObjet < 0) xThrowErreur(10012, nIDObjet);
    CObjet* p = pclCree(nIDObjet);
    if (!p) xThrowErreur(10012, nIDObjet);
    return p;
}
