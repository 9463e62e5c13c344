#include "windows/CMenu.h"
#include "base/Texte.h"
#include "windows/CFenPrincipale.h"

wchar_t COptionMenu::cGetLettreAppel() const {
    for (size_t i = 0; i + 1 < m_sLibelle.size(); ++i) {
        if (m_sLibelle[i] != L'&') continue;
        if (m_sLibelle[i + 1] == L'&') {
            ++i;
            continue;
        }
        return m_sLibelle[i + 1];
    }
    return 0;
}

bool COptionMenu::bEstGrisee() const { return m_nEtat == 4 || (m_pclParent && m_pclParent->bEstGrisee()); }

CFenPrincipale* COptionMenu::vpclGetFenPrincipale() const { return m_pclFenetre; }

void CMenu::AjouteOption(std::unique_ptr<COptionMenu> p, int nPosition) {
    p->SetParent(this);
    p->SetFenetre(m_pclFenetre);
    if (nPosition < 0 || nPosition > nGetNbOptions()) m_tabOptions.push_back(std::move(p));
    else m_tabOptions.insert(m_tabOptions.begin() + nPosition, std::move(p));
}

std::unique_ptr<COptionMenu> CMenu::SupprimeOption(int i) {
    if (i < 0 || i >= nGetNbOptions()) return nullptr;
    auto p = std::move(m_tabOptions[i]);
    m_tabOptions.erase(m_tabOptions.begin() + i);
    return p;
}

COptionMenu* CMenu::pclCherche(const wchar_t* pszNom) {
    for (auto& p : m_tabOptions) {
        if (kvtexte::bEgalSansCasse(p->sGetNom(), pszNom)) return p.get();
        if (CMenu* sm = p->pclCastToMenu())
            if (COptionMenu* o = sm->pclCherche(pszNom)) return o;
    }
    return nullptr;
}

COptionMenu* CMenu::pclChercheID(uint16_t w) {
    for (auto& p : m_tabOptions) {
        if (p->wGetIdentifiant() == w) return p.get();
        if (CMenu* sm = p->pclCastToMenu())
            if (COptionMenu* o = sm->pclChercheID(w)) return o;
    }
    return nullptr;
}

void CMenu::SetFenetreRecursif(CFenPrincipale* f) {
    SetFenetre(f);
    for (auto& p : m_tabOptions) {
        if (CMenu* sm = p->pclCastToMenu()) sm->SetFenetreRecursif(f);
        else p->SetFenetre(f);
    }
}

// ---------------------------------------------------------------- properties

void COptionMenu::xGet_PropNom(CAny* v) { v->SetPSTRX(m_sNom.c_str()); }
void COptionMenu::xSet_PropNom(const CAny&) { throw CXPropNomImplemente(); }
