// The module's information record, its error definitions and the message
// lookup over the packed message block.
#include "frame/ModuleInfo.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <mutex>

PFN_LOAD_STRING_KVM gpfnLoadStringKVM = nullptr;

namespace {

// kvmsgpack refuses any other count, so the record can be filled at compile
// time (other static initialisers may raise errors before main).
constexpr int knNbErreursKVOBJ = 182;

constexpr char kszDebutBloc[] = "KORVEL RES BLOC UTF16 START ";
constexpr char kszFinBloc[] = "KORVEL RES BLOC UTF16 STOP";
constexpr size_t knTailleDebut = sizeof(kszDebutBloc) - 1;
constexpr size_t knTailleFin = sizeof(kszFinBloc) - 1;

// Texts longer than this are served cut by DLLRES_bLoadString.
constexpr int knCapaciteMax = 1 << 20;

struct STMessage {
    uint32_t nNumero;
    std::wstring sTexte;
};

uint32_t nLitU32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

std::wstring sDepuisUTF16LE(const unsigned char* p, size_t nUnites) {
    std::wstring s;
    s.reserve(nUnites);
    for (size_t i = 0; i < nUnites; ++i) {
        char32_t c = char32_t(p[2 * i]) | char32_t(p[2 * i + 1]) << 8;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < nUnites) {
            char32_t d = char32_t(p[2 * i + 2]) | char32_t(p[2 * i + 3]) << 8;
            if (d >= 0xDC00 && d <= 0xDFFF) {
                s.push_back(static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (d - 0xDC00)));
                ++i;
                continue;
            }
        }
        if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
        s.push_back(static_cast<wchar_t>(c));
    }
    return s;
}

// Unpacks the block; every size is checked so that a damaged block gives no
// messages rather than reads outside it.
std::vector<STMessage> tabDeballeBloc(const unsigned char* pBloc, size_t nTaille) {
    std::vector<STMessage> tab;
    if (nTaille < knTailleDebut + 8 + knTailleFin || std::memcmp(pBloc, kszDebutBloc, knTailleDebut) != 0) return tab;
    const uint32_t nPacke = nLitU32(pBloc + knTailleDebut);
    const uint32_t nDeballe = nLitU32(pBloc + knTailleDebut + 4);
    const unsigned char* pPacke = pBloc + knTailleDebut + 8;
    if (nPacke > nTaille - knTailleDebut - 8 - knTailleFin ||
        std::memcmp(pPacke + nPacke, kszFinBloc, knTailleFin) != 0 || nDeballe < 4)
        return tab;

    std::vector<unsigned char> brut(nDeballe);
    uLongf nObtenu = nDeballe;
    if (uncompress(brut.data(), &nObtenu, pPacke, nPacke) != Z_OK || nObtenu != nDeballe) return tab;

    const uint64_t nNombre = nLitU32(brut.data());
    if (4 + nNombre * 12 > nDeballe) return tab;
    const unsigned char* pTextes = brut.data() + 4 + nNombre * 12;
    const uint64_t nUnites = (nDeballe - 4 - nNombre * 12) / 2;
    tab.reserve(nNombre);
    for (uint64_t i = 0; i < nNombre; ++i) {
        const unsigned char* e = brut.data() + 4 + i * 12;
        const uint64_t nOffset = nLitU32(e + 4), nLongueur = nLitU32(e + 8);
        if (nOffset + nLongueur > nUnites) return {};
        tab.push_back({nLitU32(e), sDepuisUTF16LE(pTextes + 2 * nOffset, nLongueur)});
    }
    std::sort(tab.begin(), tab.end(), [](const STMessage& a, const STMessage& b) { return a.nNumero < b.nNumero; });
    return tab;
}

const std::vector<STMessage>& tabMessages() {
    static std::once_flag s_once;
    static std::vector<STMessage> s_tab;
    std::call_once(s_once, [] { s_tab = tabDeballeBloc(gabyBlocMessages, gnTailleBlocMessages); });
    return s_tab;
}

const std::wstring* psTrouveMessage(int nNumero) {
    if (nNumero <= 0) return nullptr;
    const auto& tab = tabMessages();
    auto it = std::lower_bound(tab.begin(), tab.end(), static_cast<uint32_t>(nNumero),
                               [](const STMessage& m, uint32_t n) { return m.nNumero < n; });
    if (it == tab.end() || it->nNumero != static_cast<uint32_t>(nNumero)) return nullptr;
    return &it->sTexte;
}

// The module's own loader: copies the packed message into the buffer.
int nChargeMessagePacke(int nNumero, wchar_t* pszBuffer, int nCapacite) {
    if (!pszBuffer || nCapacite <= 0) return 0;
    const std::wstring* ps = psTrouveMessage(nNumero);
    if (!ps) {
        pszBuffer[0] = 0;
        return 0;
    }
    const size_t n = std::min(ps->size(), static_cast<size_t>(nCapacite - 1));
    std::copy_n(ps->data(), n, pszBuffer);
    pszBuffer[n] = 0;
    return static_cast<int>(n);
}

// Keeps a loader's answer inside the buffer and terminates it.
int nBorneReponse(int nReponse, wchar_t* pszBuffer, int nCapacite) {
    if (nReponse <= 0) {
        pszBuffer[0] = 0;
        return 0;
    }
    if (nReponse > nCapacite - 1) nReponse = nCapacite - 1;
    pszBuffer[nReponse] = 0;
    return nReponse;
}

} // namespace

constinit const STModuleInfo gstMyModuleInfo1 = {
    gtabErreursKVOBJ,
    knNbErreursKVOBJ,
    KVOBJ_FICHIER,
    KVOBJ_VERSION,
    &nChargeMessagePacke,
    {nullptr, nullptr, nullptr, nullptr, nullptr},
    nullptr,
    0,
};

const STErreurDef* pstGetErreurDef(int nErreur) {
    const STErreurDef* pDebut = gtabErreursKVOBJ;
    const STErreurDef* pFin = gtabErreursKVOBJ + gnNbErreursKVOBJ;
    const STErreurDef* p =
        std::lower_bound(pDebut, pFin, nErreur, [](const STErreurDef& d, int n) { return d.nErreur < n; });
    return (p != pFin && p->nErreur == nErreur) ? p : nullptr;
}

bool bChargeMessage(int nNumero, std::wstring& sTexte) {
    const std::wstring* ps = psTrouveMessage(nNumero);
    if (!ps) {
        sTexte.clear();
        return false;
    }
    sTexte = *ps;
    return true;
}

std::wstring sFormateMessage(const std::wstring& sModele, const std::vector<std::wstring>& tabArgs) {
    std::wstring r;
    r.reserve(sModele.size());
    for (size_t i = 0; i < sModele.size(); ++i) {
        const wchar_t c = sModele[i];
        if (c == L'%' && i + 1 < sModele.size()) {
            const wchar_t d = sModele[i + 1];
            if (d == L'%') {
                r.push_back(L'%');
                ++i;
                continue;
            }
            if (d >= L'1' && d <= L'9') {
                const size_t nArg = static_cast<size_t>(d - L'1');
                if (nArg < tabArgs.size()) r += tabArgs[nArg];
                ++i;
                continue;
            }
        }
        r.push_back(c);
    }
    return r;
}

CXError ErreurKVOBJ(int nErreur, std::vector<std::wstring> tabArgs) {
    const STErreurDef* pDef = pstGetErreurDef(nErreur);
    const int nNiveau = pDef ? pDef->nNiveau : eNIVEAU_ERREUR;
    std::wstring sMessage;
    if (!pDef || pDef->nMessage <= 0 || !DLLRES_bFormatMessage(&gstMyModuleInfo1, pDef->nMessage, sMessage, tabArgs)) {
        sMessage = L"Error " + std::to_wstring(nErreur) + L" of module " + KVOBJ_MODULE;
        for (size_t i = 0; i < tabArgs.size(); ++i) {
            sMessage += i == 0 ? L": " : L", ";
            sMessage += tabArgs[i];
        }
    }
    return CXError(KVOBJ_MODULE, nErreur, std::move(tabArgs), std::move(sMessage), nNiveau);
}

int DLLRES_nLoadString(const STModuleInfo* pInfo, int nNumero, wchar_t* pszBuffer, int nCapacite) {
    if (!pszBuffer || nCapacite <= 0) return 0;
    if (PFN_LOAD_STRING_KVM pfnExterne = gpfnLoadStringKVM) {
        pszBuffer[0] = 0;
        const int n = pfnExterne(nNumero, pszBuffer, nCapacite);
        if (n > 0) return nBorneReponse(n, pszBuffer, nCapacite);
    }
    const STModuleInfo* p = pInfo ? pInfo : &gstMyModuleInfo1;
    if (!p->pfnChargeMessage) {
        pszBuffer[0] = 0;
        return 0;
    }
    return nBorneReponse(p->pfnChargeMessage(nNumero, pszBuffer, nCapacite), pszBuffer, nCapacite);
}

bool DLLRES_bLoadString(const STModuleInfo* pInfo, int nNumero, std::wstring& sTexte) {
    // A result of capacity-1 may mean a cut text: retry with a larger buffer.
    std::vector<wchar_t> buffer(512);
    for (;;) {
        const int nCapacite = static_cast<int>(buffer.size());
        const int n = DLLRES_nLoadString(pInfo, nNumero, buffer.data(), nCapacite);
        if (n <= 0) {
            sTexte.clear();
            return false;
        }
        if (n < nCapacite - 1 || nCapacite >= knCapaciteMax) {
            sTexte.assign(buffer.data(), static_cast<size_t>(n));
            return true;
        }
        buffer.resize(buffer.size() * 4);
    }
}

bool DLLRES_bFormatMessage(const STModuleInfo* pInfo, int nNumero, std::wstring& sTexte,
                           const std::vector<std::wstring>& tabArgs) {
    std::wstring sModele;
    if (!DLLRES_bLoadString(pInfo, nNumero, sModele)) {
        sTexte.clear();
        return false;
    }
    sTexte = sFormateMessage(sModele, tabArgs);
    return true;
}

bool DLLRES_bFormatMessageList(const STModuleInfo* pInfo, int nNumero, std::wstring& sTexte,
                               const std::vector<std::wstring>& tabArgs) {
    return DLLRES_bFormatMessage(pInfo, nNumero, sTexte, tabArgs);
}

bool DLLRES_bFormatMessageSingulierPluriel(const STModuleInfo* pInfo, int nNumeroSingulier, int nNumeroPluriel,
                                           long long nCompte, std::wstring& sTexte,
                                           const std::vector<std::wstring>& tabArgs) {
    const bool bSingulier = nCompte >= -1 && nCompte <= 1;
    return DLLRES_bFormatMessage(pInfo, bSingulier ? nNumeroSingulier : nNumeroPluriel, sTexte, tabArgs);
}
