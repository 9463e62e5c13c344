#include "frame/CObjGate.h"
#include "frame/CExe.h"
#include "frame/CObjFactory.h"
#include "frame/ModuleInfo.h"
#include "frame/Proprietes.h"
#include "frame/Resolution.h"
#include "windows/CFenPrincipale.h"
#include "base/CObjet.h"
#include "base/Texte.h"
#include <QCoreApplication>
#include <cstring>
#include <cwchar>

namespace {
struct STVersionMin {
    const wchar_t* pszModule;
    const wchar_t* pszVersion;
};
constexpr STVersionMin gtabVersionsMin[] = {
    {L"KVFEN.dll", L"10.00Ad"},
    {L"kv190vm.so", L"10.00Ak"},
    {L"KVETAT.dll", L"9.00Ce"},
};

// Copies at most 18 characters, terminator included.
void Copie18(wchar_t* pszCible, const wchar_t* pszSource) {
    if (!pszSource) return;
    std::wcsncpy(pszCible, pszSource, 17);
    pszCible[17] = 0;
}

CObjetAPCodeOBJ* Objet(void* p) { return static_cast<CObjetAPCodeOBJ*>(p); }
} // namespace

const wchar_t* CObjGate::pszGetVersionMinimum(const wchar_t* pszModule) {
    if (!pszModule) return nullptr;
    for (const auto& v : gtabVersionsMin)
        if (kvtexte::bEgalSansCasse(v.pszModule, pszModule)) return v.pszVersion;
    return nullptr;
}

int CObjGate::bCree(int nIDObjet, void** ppSortie) { return bCreeInterface(nIDObjet, ppSortie, nullptr); }

int CObjGate::bCreeInterface(int nIDObjet, void** ppSortie, void* pExterieur) {
    return CObjFactory::bCreateAgregat(nIDObjet, ppSortie, pExterieur) ? 1 : 0;
}

void CObjGate::Delete(void* pObjet) { delete static_cast<CObjet*>(pObjet); }

void CObjGate::LibereSiObjetTemp(void* pObjet) {
    if (pObjet) static_cast<CObjet*>(pObjet)->nRelease();
}

void CObjGate::xSetPropriete(void* pObjet, EPropriete e, const CAny& cl) {
    CXError err;
    if (!bSetProprieteObjet(Objet(pObjet), e, cl, &err)) throw err;
}

void CObjGate::xGetPropriete(void* pObjet, EPropriete e, CAny* pcl) {
    CXError err;
    if (!bGetProprieteObjet(Objet(pObjet), e, pcl, &err)) throw err;
}

int CObjGate::bSetPropriete(void* pObjet, EPropriete e, const CAny& cl, CXError* pErreur) {
    return bSetProprieteObjet(Objet(pObjet), e, cl, pErreur) ? 1 : 0;
}

int CObjGate::bGetPropriete(void* pObjet, EPropriete e, CAny* pcl, CXError* pErreur) {
    return bGetProprieteObjet(Objet(pObjet), e, pcl, pErreur) ? 1 : 0;
}

int CObjGate::bPropAvailable(int nIDObjet, EPropriete e) { return ::bPropAvailableEx(nIDObjet, e, true, true, 0) ? 1 : 0; }
int CObjGate::bPropAvailableEx(int nIDObjet, EPropriete e) { return ::bPropAvailableEx(nIDObjet, e, true, true, 1) ? 1 : 0; }
int CObjGate::nGetNbProp() { return NB_PROPRIETES; }
int CObjGate::bGetNomProp(EPropriete e, int nLangue, const wchar_t** ppszNom) {
    if (ppszNom) *ppszNom = nullptr;
    if (e < 0 || e >= NB_PROPRIETES || !bProprieteExiste(e)) return 0;
    if (ppszNom) *ppszNom = pszGetNomPropriete(e, nColonneLangue(nLangue));
    return 1;
}

const wchar_t* CObjGate::pszGetModuleVersion() { return KVOBJ_VERSION; }

int CObjGate::bCheckVersion(const wchar_t* pszModule, const wchar_t* pszVersion) {
    const wchar_t* pszMin = pszGetVersionMinimum(pszModule);
    if (!pszMin) return 1;
    return kvtexte::nCompareVersions(pszVersion ? pszVersion : L"", pszMin) >= 0 ? 1 : 0;
}

void CObjGate::GetInfoVersion(const wchar_t* pszModule, STVersionDLL* pstVersion) {
    if (!pstVersion) return;
    std::memset(pstVersion, 0, sizeof(*pstVersion));
    Copie18(pstVersion->szVersion, KVOBJ_VERSION);
    Copie18(pstVersion->szVersionMin, pszGetVersionMinimum(pszModule));
}

void CObjGate::GivLibShop(ILibShop* piLibShop) {
    if (gpclExe) gpclExe->SetLibShop(piLibShop);
}

void CObjGate::Terminate() {
    if (!gpclExe) return;
    gpclExe->FermeTout();
    // Widgets of closed windows go now, while their code is still loaded.
    if (QCoreApplication::instance()) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    gpclExe->nRelease();
}

void* CObjGate::pclGetObjectFromName(const wchar_t* pszNom, void* pContexte) {
    if (!gpclExe || !pszNom) return nullptr;
    // Qualified names ("FEN.CHAMP", "ONGLET[2].CHAMP") part by part.
    if (!pContexte) return gpclExe->vpclGetObjetAPCodeOBJFromName(pszNom, 2);
    if (std::wcschr(pszNom, L'.') || std::wcschr(pszNom, L'[')) return pclResoutNomQualifie(pszNom, Objet(pContexte), 1);
    return Objet(pContexte)->vpclGetObjetAPCodeOBJFromName(pszNom, 1);
}
