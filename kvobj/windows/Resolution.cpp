// Name searches of windows, control lists and controls.
#include "base/Texte.h"
#include "controls/core/CChamp.h"
#include "controls/core/CConteneurChamp.h"
#include "frame/CExe.h"
#include "windows/CFenPrincipale.h"
#include "windows/CMenu.h"

namespace {
// Reserved name by which a window's help menu finds the window.
constexpr const wchar_t* pszNOM_MENU_AIDE = L"FI_MenuHKorvelHelp";
} // namespace

CObjetAPCodeOBJ* CConteneurChamp::pclChercheNom(const wchar_t* pszNom, int nMode) const {
    if (!pszNom || !*pszNom) return nullptr;
    if (nMode == 1 || nMode == 4 || nMode == 2) return pclGetChampFromName(pszNom, true);
    if (CChamp* c = pclGetChampFromName(pszNom, false)) return c;
    if (nMode == 3) {
        for (CChamp* c : m_tabChamps)
            if (CObjetAPCodeOBJ* p = c->vpclGetObjetAPCodeOBJFromName(pszNom, 3); p && p != c) return p;
    }
    return nullptr;
}

CObjetAPCodeOBJ* CChamp::vpclGetObjetAPCodeOBJFromName(const wchar_t* pszNom, int nMode) {
    if (CObjetAPCodeOBJ* p = CObjetAPCodeOBJ::vpclGetObjetAPCodeOBJFromName(pszNom, nMode)) return p;
    // Mode 2 also asks the window the control belongs to.
    if (nMode == 2 && m_pclFenetre) return m_pclFenetre->vpclGetObjetAPCodeOBJFromName(pszNom, 1);
    return nullptr;
}

CObjetAPCodeOBJ* CFenPrincipale::vpclGetObjetAPCodeOBJFromName(const wchar_t* pszNom, int nMode) {
    if (!pszNom || !*pszNom) return nullptr;
    int nModeConteneur = nMode == 2 ? 4 : nMode == 0 ? 3 : nMode;
    if (CObjetAPCodeOBJ* p = m_conteneur.pclChercheNom(pszNom, nModeConteneur)) return p;
    auto optionContextuelle = [&]() -> CObjetAPCodeOBJ* {
        for (auto& m : m_desc.tabMenusContextuels) {
            if (!m) continue;
            if (kvtexte::bEgalSansCasse(m->sGetNom(), pszNom)) return m.get();
            if (COptionMenu* o = m->pclCherche(pszNom)) return o;
        }
        return nullptr;
    };
    for (auto& m : m_desc.tabMenusContextuels)
        if (m && kvtexte::bEgalSansCasse(m->sGetNom(), pszNom)) return m.get();
    if (m_desc.pMenuPrincipal)
        if (COptionMenu* o = m_desc.pMenuPrincipal->pclCherche(pszNom)) return o;
    if (nMode != 0 && nMode != 4 &&
        (kvtexte::bEgalSansCasse(m_sNom, pszNom) || (!m_sAlias.empty() && kvtexte::bEgalSansCasse(m_sAlias, pszNom))))
        return this;
    if (nMode == 2) {
        if (gpclExe)
            if (CFenPrincipale* f = gpclExe->pclGetFenetreFromNameAndComponent(pszNom, piGetVM())) return f;
        if (CObjetAPCodeOBJ* o = optionContextuelle()) return o;
    }
    if (kvtexte::bEgalSansCasse(pszNOM_MENU_AIDE, pszNom)) return this;
    if (nMode != 0) return optionContextuelle();
    return nullptr;
}
