// The application context's state that the windows and controls use: the
// list of open windows and the active one, the project, the persistent
// values and the hourglass count. No widget here: the Qt side of the
// context (the wait cursor, closing every window) is in CExe.cpp.
#include "frame/CExe.h"
#include "frame/Module.h"
#include "frame/ModuleInfo.h"
#include "base/Texte.h"
#include "windows/CFenPrincipale.h"
#include <algorithm>
#include <cwchar>

CExe* gpclExe = nullptr;
void (*CExe::s_pfnCurseurAttente)(bool) = nullptr;

namespace {
constexpr const wchar_t* PERSIST_DEFAUT_VAL = L"***<NULL>***";
constexpr wchar_t SEPARATEUR_CHEMIN = L'/';
} // namespace

// The list holds a reference on each open window: a window that is not
// modal stays alive while it is open, whatever else becomes active.
void CExe::AjouteFenetre(CFenPrincipale* pclFen) {
    pclFen->AddRef();
    m_listeFenetres.Ajoute(pclFen);
}

void CExe::SupprimeFenetre(CFenPrincipale* pclFen) {
    if (m_listeFenetres.bSupprime(pclFen)) pclFen->nRelease();
}

bool CExe::bEstFenOuverte(CFenPrincipale* pclFen) const { return m_listeFenetres.bContient(pclFen); }

void CExe::GetListeFenetreOuverte(std::vector<CFenPrincipale*>& tab) const { tab = m_listeFenetres.Copie(); }

void CExe::GetListeFenFilles(CFenPrincipale* pclParent, std::vector<CFenPrincipale*>& tab) const {
    tab.clear();
    m_listeFenetres.PourChaque([&](CFenPrincipale* f) {
        if (f->pclGetParent() == pclParent) tab.push_back(f);
        return true;
    });
}

bool CExe::_bEstFenRecherchee(CFenPrincipale* pclFen, const wchar_t* pszNom, IVM* piComposante) const {
    if (!pclFen->bEstVivante() || pclFen->bEnFermeture()) return false;
    if (piComposante) {
        if (pclFen->piGetVM() != piComposante) return false;
    } else if (!pclFen->bEstComposantePrincipale()) {
        return false;
    }
    if (!pclFen->sGetAlias().empty() && kvtexte::bEgalSansCasse(pclFen->sGetAlias(), pszNom)) return true;
    return kvtexte::bEgalSansCasse(pclFen->sGetNom(), pszNom);
}

CFenPrincipale* CExe::pclGetFenetreFromName(const wchar_t* pszNom) const {
    if (!pszNom || !*pszNom) return nullptr;
    CFenPrincipale* pclTrouvee = nullptr;
    m_listeFenetres.PourChaque(
        [&](CFenPrincipale* f) {
            if (!f->bEstVivante() || f->bEnFermeture()) return true;
            if ((!f->sGetAlias().empty() && kvtexte::bEgalSansCasse(f->sGetAlias(), pszNom)) ||
                kvtexte::bEgalSansCasse(f->sGetNom(), pszNom)) {
                pclTrouvee = f;
                return false;
            }
            return true;
        },
        true);
    return pclTrouvee;
}

CFenPrincipale* CExe::pclGetFenetreFromNameAndComponent(const wchar_t* pszNom, IVM* piVM) const {
    if (!pszNom || !*pszNom) return nullptr;
    CFenPrincipale* pclTrouvee = nullptr;
    m_listeFenetres.PourChaque(
        [&](CFenPrincipale* f) {
            if (_bEstFenRecherchee(f, pszNom, piVM)) {
                pclTrouvee = f;
                return false;
            }
            return true;
        },
        true);
    return pclTrouvee;
}

bool CExe::bFenEnFermetureExiste() const {
    bool b = false;
    m_listeFenetres.PourChaque([&](CFenPrincipale* f) { return !(b = f->bEnFermeture()); });
    return b;
}

bool CExe::bFenEnOuvertureExiste() const {
    bool b = false;
    m_listeFenetres.PourChaque([&](CFenPrincipale* f) { return !(b = f->bEnOuverture()); });
    return b;
}

void CExe::SetFenActive(CFenPrincipale* pclFen) {
    if (pclFen == m_pclFenActive) return;
    if (pclFen) pclFen->AddRef();
    CFenPrincipale* pclAncienne = m_pclFenActive;
    m_pclFenActive = pclFen;
    if (pclAncienne) pclAncienne->nRelease();
}

bool CExe::bChargeKVLOBJ() {
    if (m_bKVLOBJCharge) return true;
    if (!m_piVM || !bEstThreadPrincipal()) return false;
    char abySortie[64] = {};
    int nRes = m_piVM->nChargeRessource(nullptr, L"", ghModuleKVOBJ, "RT_KVL", 6812, &gstMyModuleInfo1, abySortie, 0, 0);
    if (nRes != 0) return false;
    m_bKVLOBJCharge = true;
    return true;
}

std::wstring CExe::pszGetNomProjet() const {
    if (!m_sNomProjetEdition.empty()) return m_sNomProjetEdition;
    if (!m_piLibShop) return {};
    CXError err;
    auto* pProjet = static_cast<IProjetVM*>(m_piLibShop->pGetObjetNomme("VMProjet", nullptr, &err));
    if (!pProjet) return {};
    std::wstring s = pProjet->pszGetNom() ? pProjet->pszGetNom() : L"";
    pProjet->Release();
    return s;
}

std::wstring CExe::sGetRepertoireProjet() const {
    if (!m_piLibShop) return {};
    CXError err;
    auto* pProjet = static_cast<IProjetVM*>(m_piLibShop->pGetObjetNomme("VMProjet", nullptr, &err));
    if (!pProjet) return {};
    std::wstring s = pProjet->pszGetRepertoire() ? pProjet->pszGetRepertoire() : L"";
    pProjet->Release();
    return s;
}

IObjetShop* CExe::PIGetMainOLE() {
    if (!m_piMainOLE && m_piLibShop) {
        CXError err;
        m_piMainOLE = m_piLibShop->pGetObjetNomme("MainOLE", nullptr, &err);
    }
    return m_piMainOLE;
}

IPersistance* CExe::piGetPersistance() {
    if (m_bModeUtilitaire) return nullptr;
    if (m_piPersistance) return m_piPersistance;
    if (!m_piVM || !m_piLibShop) return nullptr;
    CXError err;
    void* pSource = m_piVM->pGetInterface(8);
    m_piPersistance = static_cast<IPersistance*>(m_piLibShop->pGetObjetNomme("Persistance", pSource, &err));
    return m_piPersistance;
}

void CExe::SavePersistantUserValue(IVM*, const wchar_t* pszObjet, const wchar_t* pszValeur, const wchar_t* pszTexte) {
    if (IPersistance* p = piGetPersistance()) p->bEcrit(pszObjet, pszValeur, pszTexte ? pszTexte : L"");
}

void CExe::SavePersistantUserValue_Int(IVM* piVM, const wchar_t* pszObjet, const wchar_t* pszValeur, int nValeur) {
    SavePersistantUserValue(piVM, pszObjet, pszValeur, std::to_wstring(nValeur).c_str());
}

void CExe::SavePersistantUserValueA(IVM*, const wchar_t* pszObjet, const wchar_t* pszValeur, const char* pszTexte,
                                    unsigned nCodePage) {
    if (IPersistance* p = piGetPersistance()) p->bEcritA(pszObjet, pszValeur, pszTexte ? pszTexte : "", nCodePage);
}

void CExe::PersistDebutOperationEnBloc(IVM*) {
    if (IPersistance* p = piGetPersistance()) p->DebutOperationEnBloc();
}

void CExe::PersistFinOperationEnBloc(IVM*) {
    if (IPersistance* p = piGetPersistance()) p->FinOperationEnBloc();
}

bool CExe::bReadPersistantUserValue(IVM*, const wchar_t* pszObjet, const wchar_t* pszValeur, CTString& sSortie) {
    const wchar_t* pszDefaut = (pszValeur && std::wcscmp(pszValeur, L"Val") == 0) ? PERSIST_DEFAUT_VAL : L"";
    std::wstring s = pszDefaut;
    if (IPersistance* p = piGetPersistance()) p->bLit(pszObjet, pszValeur, pszDefaut, s);
    if (s == pszDefaut) {
        sSortie.Vide();
        return false;
    }
    sSortie = std::move(s);
    return true;
}

int CExe::nReadPersistantUserValue_Int(IVM* piVM, const wchar_t* pszObjet, const wchar_t* pszValeur, int nDefaut) {
    CTString s;
    if (!bReadPersistantUserValue(piVM, pszObjet, pszValeur, s)) return nDefaut;
    return static_cast<int>(std::wcstol(s.c_str(), nullptr, 10));
}

bool CExe::bReadPersistantUserValueFromA(IVM*, const wchar_t* pszObjet, const wchar_t* pszValeur, std::string& sSortie,
                                         unsigned nCodePage) {
    const char* pszDefaut = (pszValeur && std::wcscmp(pszValeur, L"Val") == 0) ? "***<NULL>***" : "";
    std::string s = pszDefaut;
    if (IPersistance* p = piGetPersistance()) p->bLitA(pszObjet, pszValeur, pszDefaut, nCodePage, s);
    if (s == pszDefaut) {
        sSortie.clear();
        return false;
    }
    sSortie = std::move(s);
    return true;
}

void CExe::_GetPersistantUserValuePath(const wchar_t* pszFichier, CTString& sSortie) {
    sSortie.Vide();
    std::wstring sRep;
    if (m_piLibShop) {
        CXError err;
        if (auto* pProjet = static_cast<IProjetVM*>(m_piLibShop->pGetObjetNomme("VMProjet", nullptr, &err))) {
            if (pProjet->pszGetRepertoire()) sRep = pProjet->pszGetRepertoire();
            pProjet->Release();
        }
    }
    if (sRep.empty()) return;
    // Joined with this platform's separator: a backslash would become part
    // of a file name here instead of separating folders.
    std::wstring s = sRep;
    if (s.back() != SEPARATEUR_CHEMIN) s += SEPARATEUR_CHEMIN;
    s += pszFichier ? pszFichier : L"";
    std::wstring sReduit;
    for (wchar_t c : s) {
        if (c == SEPARATEUR_CHEMIN && !sReduit.empty() && sReduit.back() == SEPARATEUR_CHEMIN) continue;
        sReduit += c;
    }
    sSortie = std::move(sReduit);
}

void CExe::SablierVrai() {
    if (m_nSablier == 0 && s_pfnCurseurAttente) s_pfnCurseurAttente(true);
    m_bSablier = true;
    ++m_nSablier;
}

void CExe::SablierFaux() {
    if (m_nSablier >= 2) {
        --m_nSablier;
    } else if (m_nSablier == 1) {
        if (s_pfnCurseurAttente) s_pfnCurseurAttente(false);
        m_nSablier = 0;
        m_bSablier = false;
    }
}

void CExe::SablierAnnuleTout() {
    if (m_nSablier != 0) {
        if (s_pfnCurseurAttente) s_pfnCurseurAttente(false);
        m_nSablier = 0;
        m_bSablier = false;
    }
}

void CExe::On1ereFenetreOuverte(CFenPrincipale* pclFen) {
    m_bAucuneFenetre = false;
    if (pclFen) m_sNom1ereFenetre = pclFen->sGetNom();
    if (m_pfnFinInit) m_pfnFinInit(m_pUserFinInit, 0, nullptr);
}

void CExe::SetMessageSpashScreen(const wchar_t* pszTexte) {
    if (m_pfnFinInit) m_pfnFinInit(m_pUserFinInit, 1, pszTexte);
}
