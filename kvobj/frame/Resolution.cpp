// Finding windows and controls by the names the program gives, and the
// common errors of the functions that take them.
#include "frame/Resolution.h"
#include "base/Texte.h"
#include "controls/core/CChamp.h"
#include "frame/CComposanteOBJ.h"
#include "frame/CExe.h"
#include "frame/TablesComposante.h"
#include "windows/CFenPrincipale.h"
#include <zlib.h>
#include <cwchar>
#include <mutex>

bool bDecoupeNomQualifie(const wchar_t* pszNom, std::vector<STPartieNom>& tab) {
    tab.clear();
    if (!pszNom || !*pszNom) return false;
    STPartieNom partie;
    bool bIndiceFait = false;
    for (const wchar_t* p = pszNom;; ++p) {
        if (*p == L'.' || *p == 0) {
            if (partie.sNom.empty()) return false;
            tab.push_back(std::move(partie));
            partie = STPartieNom();
            bIndiceFait = false;
            if (*p == 0) return true;
        } else if (*p == L'[') {
            if (partie.sNom.empty() || bIndiceFait) return false;
            long n = 0;
            const wchar_t* q = p + 1;
            while (*q == L' ') ++q;
            if (*q < L'0' || *q > L'9') return false;
            while (*q >= L'0' && *q <= L'9') {
                n = n * 10 + (*q - L'0');
                if (n > 0x7FFFFFFF) return false;
                ++q;
            }
            while (*q == L' ') ++q;
            if (*q != L']' || n < 1) return false;
            partie.nIndice = static_cast<int>(n);
            bIndiceFait = true;
            p = q;
        } else {
            if (bIndiceFait) return false;  // "A[2]B"
            partie.sNom.push_back(*p);
        }
    }
}

CObjetAPCodeOBJ* pclResoutNomQualifie(const wchar_t* pszNom, CObjetAPCodeOBJ* pclDepart, int nMode) {
    std::vector<STPartieNom> tab;
    if (!bDecoupeNomQualifie(pszNom, tab)) return nullptr;
    CObjetAPCodeOBJ* pcl = nullptr;
    for (size_t i = 0; i < tab.size(); ++i) {
        const STPartieNom& partie = tab[i];
        if (i == 0 && !pclDepart) {
            CFenPrincipale* f = gpclExe ? gpclExe->pclGetFenetreFromName(partie.sNom.c_str()) : nullptr;
            pcl = f;
        } else {
            CObjetAPCodeOBJ* pclDans = i == 0 ? pclDepart : pcl;
            pcl = pclDans->vpclGetObjetAPCodeOBJFromName(partie.sNom.c_str(), i == 0 ? nMode : 1);
        }
        if (pcl && partie.nIndice > 0) pcl = pcl->vpclGetSousObjetIndice(partie.nIndice);
        if (!pcl) return nullptr;
    }
    return pcl;
}

// ---------------------------------------------------------------- windows

CObjetAPCodeOBJ* CExe::vpclGetObjetAPCodeOBJFromName(const wchar_t* pszNom, int nMode) {
    if (!pszNom || !*pszNom) return nullptr;
    if (std::wcschr(pszNom, L'.') || std::wcschr(pszNom, L'[')) return pclResoutNomQualifie(pszNom, nullptr, nMode);
    return pclGetFenetreFromName(pszNom);
}

// ---------------------------------------------------------------- component

CFenCommun* CComposanteOBJ::pclGetFenCommunOwner() const {
    CObjetAPCodeOBJ* o = gpclExe ? gpclExe->pclGetObjetCourant() : nullptr;
    if (!o) return nullptr;
    if (CFenCommun* f = o->vpclGetFenCommun()) return f;
    return o->vpclGetFenPrincipale();
}

CFenPrincipale* CComposanteOBJ::_pclGetFenCourante() const {
    if (CFenPrincipale* f = pclGetFenPrincipaleOwner()) return f;
    // The project's code: the active window stands for the current one.
    return gpclExe ? gpclExe->pclGetFenActive() : nullptr;
}

CFenCommun* CComposanteOBJ::pclGetFenCommunFromName(const wchar_t* pszNom) const {
    if (!pszNom || !*pszNom) return pclGetFenCommunOwner();
    CObjetAPCodeOBJ* pclDepart = gpclExe ? gpclExe->pclGetObjetCourant() : nullptr;
    CObjetAPCodeOBJ* pcl = pclDepart ? pclResoutNomQualifie(pszNom, pclDepart, 2) : nullptr;
    if (!pcl) pcl = pclResoutNomQualifie(pszNom, nullptr, 2);
    if (!pcl) return nullptr;
    if (CFenCommun* f = pcl->vpclGetFenCommun()) return f;
    return pcl->vpclCastToFenPrincipale();
}

CObjetAPCodeOBJ* CComposanteOBJ::pclResoutNom(const wchar_t* pszNom) const {
    if (!pszNom || !*pszNom) return nullptr;
    if (CFenPrincipale* f = pclGetFenPrincipaleOwner()) {
        if (f->bEstVivante())
            if (CObjetAPCodeOBJ* p = pclResoutNomQualifie(pszNom, f, 1)) return p;
    }
    return pclResoutNomQualifie(pszNom, nullptr, 2);
}

CTString CComposanteOBJ::_GetNomKSChampEnCours(const CChamp* pclChamp) const {
    if (!pclChamp) return CTString();
    CTString s = pclChamp->sGetNom();
    if (CChamp* pclParent = pclChamp->pclGetChampParent()) {
        if (!pclChamp->tabGetVolets().empty() && pclParent->vbVoletsNommes())
            s = kvtexte::Format(L"%ls[%d].%ls", pclParent->sGetNom().c_str(), pclChamp->tabGetVolets().front() + 1, s.c_str());
        else if (!pclParent->sGetNom().empty())
            s = kvtexte::Format(L"%ls.%ls", pclParent->sGetNom().c_str(), s.c_str());
    } else if (pclChamp->pclGetConteneur()) {
        if (CChamp* pclProprietaire = pclChamp->pclGetConteneur()->pclGetChampProprietaire())
            if (!pclProprietaire->sGetNom().empty())
                s = kvtexte::Format(L"%ls.%ls", pclProprietaire->sGetNom().c_str(), s.c_str());
    }
    CFenPrincipale* f = pclChamp->vpclGetFenPrincipale();
    if (f && f != _pclGetFenCourante()) s = kvtexte::Format(L"%ls.%ls", f->sGetAliasOuNom().c_str(), s.c_str());
    return s;
}

namespace {
// The functions' names, unpacked once from the table's name block.
const std::vector<std::wstring>& tabNomsFonctions() {
    static std::vector<std::wstring> tab;
    static std::once_flag once;
    std::call_once(once, [] {
        STTable<uint8_t> bloc = BlocNoms();
        if (!bloc.pLignes || bloc.nNb < 4) return;
        const uint8_t* p = bloc.pLignes;
        uLongf nTaille = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
        std::vector<unsigned char> brut(nTaille);
        if (uncompress(brut.data(), &nTaille, p + 4, bloc.nNb - 4) != Z_OK) return;
        std::wstring s;
        for (uLongf i = 0; i < nTaille; ++i) {
            if (brut[i] == 0) {
                tab.push_back(std::move(s));
                s.clear();
            } else {
                s.push_back(static_cast<wchar_t>(brut[i]));
            }
        }
    });
    return tab;
}
} // namespace

void CComposanteOBJ::_RaiseErrorTypeChampIDS(CObjetAPCodeOBJ* pclObjet, int nMessage) {
    std::wstring sMessage;
    bChargeMessage(nMessage, sMessage);
    std::wstring sFonction;
    if (m_pstAppel) {
        const auto& tab = tabNomsFonctions();
        if (m_pstAppel->nFonction >= 0 && static_cast<size_t>(m_pstAppel->nFonction) < tab.size())
            sFonction = tab[m_pstAppel->nFonction];
    }
    std::wstring sNom = pclObjet ? std::wstring(pclObjet->sGetNom()) : std::wstring();
    std::wstring sType = pclObjet ? pclObjet->pszGetNomType() : L"";
    _RaiseErrorNum(10416, {sFonction, sNom, sType, sMessage});
}
