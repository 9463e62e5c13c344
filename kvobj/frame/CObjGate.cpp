#include "frame/CObjGate.h"
#include "frame/CExe.h"
#include "frame/CObjFactory.h"
#include "frame/ModuleInfo.h"
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

// Until objects carry properties, every property number is unknown.
void ErreurPropriete(CXError* pErreur, EPropriete e) {
    if (pErreur) *pErreur = ErreurKVOBJ(10017, {std::to_wstring(e)});
}
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

void CObjGate::xSetPropriete(void*, EPropriete e, const CAny&) { xThrowErreur(10017, e); }
void CObjGate::xGetPropriete(void*, EPropriete e, CAny*) { xThrowErreur(10017, e); }

int CObjGate::bSetPropriete(void*, EPropriete e, const CAny&, CXError* pErreur) {
    ErreurPropriete(pErreur, e);
    return 0;
}

int CObjGate::bGetPropriete(void*, EPropriete e, CAny*, CXError* pErreur) {
    ErreurPropriete(pErreur, e);
    return 0;
}

int CObjGate::bPropAvailable(int, EPropriete) { return 0; }
int CObjGate::bPropAvailableEx(int, EPropriete) { return 0; }
int CObjGate::nGetNbProp() { return 0; }
int CObjGate::bGetNomProp(EPropriete, int, const wchar_t** ppszNom) {
    if (ppszNom) *ppszNom = nullptr;
    return 0;
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
    if (!gpclExe) return nullptr;
    if (!pContexte) {
        if (void* p = gpclExe->vpclGetObjetAPCodeOBJFromName(pszNom, 2)) return p;
        return gpclExe->pclGetFenetreFromName(pszNom);
    }
    return nullptr;
}
