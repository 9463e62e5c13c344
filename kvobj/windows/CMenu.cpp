#include "windows/CMenu.h"
#include "base/CRetenue.h"
#include "base/Texte.h"
#include "controls/core/CChamp.h"
#include "controls/core/CodeEvenement.h"
#include "frame/CExe.h"
#include "frame/Numeros.h"
#include "frame/Proprietes.h"
#include "windows/CFenPrincipale.h"

void CLiberationOption::operator()(COptionMenu* p) const {
    if (p) p->nRelease();
}

COptionMenu::~COptionMenu() {
    if (m_pclFenetre && m_pclFenetre->pclGetOptionCourante() == this) m_pclFenetre->SetOptionCourante(nullptr);
    if (m_pProcedure && m_piVMProcedure) m_piVMProcedure->LibereProcedure(m_pProcedure);
}

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

bool COptionMenu::bEstGrisee() const { return m_nEtat == nETAT_MENU_GRISE || (m_pclParent && m_pclParent->bEstGrisee()); }

int COptionMenu::nGetIndice() const { return m_pclParent ? m_pclParent->nIndiceDe(this) : -1; }

CFenPrincipale* COptionMenu::vpclGetFenPrincipale() const { return m_pclFenetre; }

int COptionMenu::nGetIDObjet() const { return pclCastToMenu() ? ID_MENU : ID_OPTION; }

void COptionMenu::MAJVue() {
    if (m_pclParent) {
        if (IBackendMenu* b = m_pclParent->pGetBackend()) {
            int i = m_pclParent->nIndiceDe(this);
            if (i >= 0) b->vMAJOption(i, *this);
        }
    } else if (CMenu* m = pclCastToMenu()) {
        if (IBackendMenu* b = m->pGetBackend()) b->vMAJMenu();
    }
}

void COptionMenu::SetLibelleExecution(const wchar_t* psz) {
    std::wstring s = psz ? psz : L"";
    std::wstring sLibelle, sSecondaire;
    bool bSecondaire = false;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == L'\\' && i + 1 < s.size() && s[i + 1] == L':') {
            (bSecondaire ? sSecondaire : sLibelle).push_back(L':');
            ++i;
        } else if (s[i] == L':' && !bSecondaire) {
            bSecondaire = true;
        } else {
            (bSecondaire ? sSecondaire : sLibelle).push_back(s[i]);
        }
    }
    m_sLibelle.Set(sLibelle.c_str());
    m_sTexteSecondaire.Set(sSecondaire.c_str());
    MAJVue();
}

void COptionMenu::SetEtatPropriete(int n) {
    if (n & nFLAG_ETAT_MENU) {
        SetEtat((n & ~nFLAG_ETAT_MENU) == nETAT_MENU_GRISE ? nETAT_MENU_GRISE : nETAT_MENU_ACTIF);
        return;
    }
    switch (n) {
    case eETAT_ACTIF:
        m_bVisible = true;
        SetEtat(nETAT_MENU_ACTIF);
        break;
    case eETAT_INVISIBLE: SetVisible(false); break;
    default:
        m_bVisible = true;
        SetEtat(nETAT_MENU_GRISE);
        break;
    }
}

void COptionMenu::SetProcedure(IVM* piVM, void* pProcedure, const CTString& sNom, std::vector<CAny> tabParametres) {
    if (m_pProcedure && m_piVMProcedure) m_piVMProcedure->LibereProcedure(m_pProcedure);
    m_piVMProcedure = piVM;
    m_pProcedure = pProcedure;
    m_sProcedure = sNom;
    m_tabParametres = std::move(tabParametres);
}

void COptionMenu::CopieVers(COptionMenu& o) const {
    o.m_nVersionOption = m_nVersionOption;
    o.m_sLibelle = m_sLibelle;
    o.m_sChaine2 = m_sChaine2;
    o.m_sChaine3 = m_sChaine3;
    o.m_sTexteSecondaire = m_sTexteSecondaire;
    o.m_nEtat = m_nEtat;
    o.m_bVisibleInitial = m_bVisibleInitial;
    o.m_bVisible = m_bVisible;
    o.m_bSeparateur = m_bSeparateur;
    o.m_bCochee = m_bCochee;
    o.m_nValeurApresCoche = m_nValeurApresCoche;
    o.m_style = m_style;
    o.m_sImage = m_sImage;
    o.m_qwID = m_qwID;
    o.m_tabPcode = m_tabPcode;
    o.m_tabPcodeOptionnel = m_tabPcodeOptionnel;
    o.m_nCodePage = m_nCodePage;
    if (m_pProcedure && m_piVMProcedure) {
        // A reference of its own, so that either can go first.
        if (void* p = m_piVMProcedure->pGetProcedure(m_sProcedure.c_str()))
            o.SetProcedure(m_piVMProcedure, p, m_sProcedure, m_tabParametres);
    }
}

PtrOption COptionMenu::pclClone() const {
    PtrOption p(new COptionMenu());
    CopieVers(*p);
    return p;
}

PtrOption CMenu::pclClone() const {
    auto* m = new CMenu();
    PtrOption p(m);
    CopieVers(*m);
    m->m_nVersionMenu = m_nVersionMenu;
    m->m_nValeurApresTaille = m_nValeurApresTaille;
    for (const auto& o : m_tabOptions) m->nInsere(o->pclClone());
    return p;
}

// ---------------------------------------------------------------- choice

namespace {
// After the choice: a focus request the code made (or the exit code left)
// is applied; otherwise the control that had the focus keeps it and, since
// its exit code ran for the choice, its entry code runs again.
void _PostExecActionMenu(CFenPrincipale* f, CChamp* pclFocusAvant) {
    if (!f->bEstVivante() || f->bEnFermeture()) return;
    if (gpclExe && gpclExe->pclGetRepriseSaisie()) {
        f->vAppliqueDemandeFocus(nullptr);
        return;
    }
    if (pclFocusAvant && pclFocusAvant->bEstVivant() && f->pclGetChampFocus() == pclFocusAvant)
        pclFocusAvant->_bExecuteCodeEntree();
}
} // namespace

void COptionMenu::ExecuteOption() {
    CFenPrincipale* f = m_pclFenetre;
    if (!f || !f->bEstVivante() || f->bEnFermeture() || !gpclExe || !gpclExe->bEstFenOuverte(f)) return;
    if (bEstGrisee() || m_bSeparateur || pclCastToMenu()) return;
    // The option may be deleted and its window closed by the code it runs.
    CRetenue retientOption(this);
    CRetenue retientFenetre(f);
    CChamp* pclFocus = f->pclGetChampFocus();
    if (pclFocus && !pclFocus->bEstVivant()) pclFocus = nullptr;
    CRetenue retientFocus(pclFocus);
    if (pclFocus) {
        if (!pclFocus->vbAccepteSortie()) return;
        if (!f->bEstVivante() || f->bEnFermeture() || !pclFocus->bEstVivant()) return;
    }
    f->SetOptionCourante(this);
    IVM* piVM = f->piGetVM();
    if (m_pProcedure)
        ExecuteProcedureObjet(eTRT_OPTION_MENU, this, piVM, m_pProcedure, m_tabParametres.data(),
                              static_cast<int>(m_tabParametres.size()));
    else
        ExecutePCode(eTRT_OPTION_MENU, this, piVM, 0, nullptr, this);
    _PostExecActionMenu(f, pclFocus);
}

// ---------------------------------------------------------------- menus

namespace {
wchar_t cMajuscule(wchar_t c) {
    std::wstring s = kvtexte::Majuscules(std::wstring_view(&c, 1));
    return s.size() == 1 ? s[0] : c;
}
} // namespace

CMenu::~CMenu() {
    m_pBackend.reset();
    // An entry that code still holds outlives the menu without it.
    for (auto& p : m_tabOptions) {
        p->SetParent(nullptr);
        if (CMenu* sm = p->pclCastToMenu()) sm->SetFenetreRecursif(nullptr);
        else p->SetFenetre(nullptr);
    }
}

int CMenu::AjouteOption(std::unique_ptr<COptionMenu> p, int nPosition) { return nInsere(PtrOption(p.release()), nPosition); }

int CMenu::nInsere(PtrOption p, int nPosition) {
    COptionMenu& o = *p;
    o.SetParent(this);
    if (CMenu* sm = o.pclCastToMenu()) sm->SetFenetreRecursif(m_pclFenetre);
    else o.SetFenetre(m_pclFenetre);
    int i = nPosition < 0 || nPosition > nGetNbOptions() ? nGetNbOptions() : nPosition;
    m_tabOptions.insert(m_tabOptions.begin() + i, std::move(p));
    if (m_pBackend) m_pBackend->vAjouteOption(i, o);
    return i;
}

PtrOption CMenu::SupprimeOption(int i) {
    if (i < 0 || i >= nGetNbOptions()) return nullptr;
    if (m_pBackend) m_pBackend->vSupprimeOption(i, *m_tabOptions[i]);
    PtrOption p = std::move(m_tabOptions[i]);
    m_tabOptions.erase(m_tabOptions.begin() + i);
    p->SetParent(nullptr);
    if (CFenPrincipale* f = p->vpclGetFenPrincipale())
        if (f->pclGetOptionCourante() == p.get()) f->SetOptionCourante(nullptr);
    if (CMenu* sm = p->pclCastToMenu()) sm->SetFenetreRecursif(nullptr);
    else p->SetFenetre(nullptr);
    return p;
}

CObjetAPCodeOBJ* CMenu::vpclGetObjetAPCodeOBJFromName(const wchar_t* pszNom, int nMode) {
    if (CObjetAPCodeOBJ* p = COptionMenu::vpclGetObjetAPCodeOBJFromName(pszNom, nMode)) return p;
    return pszNom && *pszNom ? pclCherche(pszNom) : nullptr;
}

int CMenu::nIndiceDe(const COptionMenu* o) const {
    for (int i = 0; i < nGetNbOptions(); ++i)
        if (m_tabOptions[i].get() == o) return i;
    return -1;
}

COptionMenu* CMenu::pclCherche(const wchar_t* pszNom) {
    for (auto& p : m_tabOptions) {
        if (kvtexte::bEgalSansCasse(p->sGetNom(), pszNom)) return p.get();
        if (CMenu* sm = p->pclCastToMenu())
            if (COptionMenu* o = sm->pclCherche(pszNom)) return o;
    }
    return nullptr;
}

COptionMenu* CMenu::pclChercheDirect(const wchar_t* pszNom) const {
    for (auto& p : m_tabOptions)
        if (kvtexte::bEgalSansCasse(p->sGetNom(), pszNom)) return p.get();
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

COptionMenu* CMenu::pclChercheLettresAppel(const wchar_t* pszLettres) {
    if (!pszLettres || !*pszLettres) return nullptr;
    wchar_t c = cMajuscule(*pszLettres);
    for (auto& p : m_tabOptions) {
        wchar_t l = p->cGetLettreAppel();
        if (!l || cMajuscule(l) != c) continue;
        if (!pszLettres[1]) return p.get();
        CMenu* sm = p->pclCastToMenu();
        return sm ? sm->pclChercheLettresAppel(pszLettres + 1) : nullptr;
    }
    return nullptr;
}

void CMenu::MarqueIdentifiants(std::vector<bool>& tabPris) const {
    tabPris[m_wIdentifiant] = true;
    for (const auto& p : m_tabOptions) {
        if (const CMenu* sm = p->pclCastToMenu()) sm->MarqueIdentifiants(tabPris);
        else tabPris[p->wGetIdentifiant()] = true;
    }
}

uint16_t CMenu::wGetIdentifiantMax() const {
    uint16_t w = m_wIdentifiant;
    for (const auto& p : m_tabOptions) {
        const CMenu* sm = p->pclCastToMenu();
        w = std::max(w, sm ? sm->wGetIdentifiantMax() : p->wGetIdentifiant());
    }
    return w;
}

void CMenu::SetFenetreRecursif(CFenPrincipale* f) {
    SetFenetre(f);
    for (auto& p : m_tabOptions) {
        if (CMenu* sm = p->pclCastToMenu()) sm->SetFenetreRecursif(f);
        else p->SetFenetre(f);
    }
}

bool CMenu::AjouteSeparateurSiUtile(uint16_t wIdentifiant) {
    if (m_tabOptions.empty() || m_tabOptions.back()->bEstSeparateur()) return false;
    PtrOption p(new COptionMenu());
    p->SetSeparateur(true);
    p->SetIdentifiant(wIdentifiant);
    p->SetName(kvtexte::Format(L"_sep_%d_", static_cast<int>(wIdentifiant)).c_str());
    p->SetStyle(m_style);
    p->GenerateNewID();
    nInsere(std::move(p));
    return true;
}

// ---------------------------------------------------------------- properties

void COptionMenu::xGet_PropNom(CAny* v) { v->SetPSTRX(m_sNom.c_str()); }
void COptionMenu::xSet_PropNom(const CAny&) { throw CXPropNomImplemente(); }
void COptionMenu::xGet_PropType(CAny* v) { v->SetI4(nGetIDObjet()); }
void COptionMenu::xSet_PropType(const CAny&) { throw CXPropNomImplemente(); }
void COptionMenu::xGet_PropLibelle(CAny* v) { v->SetPSTRX(m_sLibelle.c_str()); }
void COptionMenu::xSet_PropLibelle(const CAny& v) { SetLibelleExecution(sTextePropriete(v).c_str()); }
void COptionMenu::xGet_PropEtat(CAny* v) { v->SetI4(m_nEtat == nETAT_MENU_GRISE ? nETAT_MENU_GRISE : nETAT_MENU_ACTIF); }
void COptionMenu::xSet_PropEtat(const CAny& v) { SetEtatPropriete(nEntierPropriete(v, PROP_Etat)); }
void COptionMenu::xGet_PropVisible(CAny* v) { v->SetBOOL(m_bVisible); }
void COptionMenu::xSet_PropVisible(const CAny& v) { SetVisible(bBooleenPropriete(v, PROP_Visible)); }
void COptionMenu::xGet_PropCochee(CAny* v) { v->SetBOOL(m_bCochee); }
void COptionMenu::xSet_PropCochee(const CAny& v) { SetCochee(bBooleenPropriete(v, PROP_Cochee)); }

// ---------------------------------------------------------------- a window's menus

std::vector<CMenu*> tabMenusFenetre(CFenPrincipale& f) {
    std::vector<CMenu*> tab;
    STDescriptionFenetre& d = f.Description();
    if (d.pMenuPrincipal) tab.push_back(d.pMenuPrincipal.get());
    for (auto& m : d.tabMenusContextuels)
        if (m) tab.push_back(m.get());
    return tab;
}

COptionMenu* pclChercheOptionFenetre(CFenPrincipale& f, uint16_t w) {
    for (CMenu* m : tabMenusFenetre(f))
        if (COptionMenu* o = m->pclChercheID(w)) return o;
    return nullptr;
}

COptionMenu* pclChercheOptionFenetre(CFenPrincipale& f, const wchar_t* pszNom) {
    if (!pszNom || !*pszNom) return nullptr;
    for (CMenu* m : tabMenusFenetre(f)) {
        if (m != f.Description().pMenuPrincipal.get() && kvtexte::bEgalSansCasse(m->sGetNom(), pszNom)) return m;
        if (COptionMenu* o = m->pclCherche(pszNom)) return o;
    }
    return nullptr;
}

uint16_t wxNouvelIdentifiant(CFenPrincipale& f) {
    std::vector<CMenu*> tab = tabMenusFenetre(f);
    uint16_t wMax = 0;
    for (CMenu* m : tab) wMax = std::max(wMax, m->wGetIdentifiantMax());
    if (wMax < 0xFFFF) return static_cast<uint16_t>(wMax + 1);
    // The largest is taken: the lowest identifier no entry has (0 is
    // never given: it is the identifier of entries that have none).
    std::vector<bool> tabPris(0x10000, false);
    for (CMenu* m : tab) m->MarqueIdentifiants(tabPris);
    for (uint32_t w = 1; w <= 0xFFFF; ++w)
        if (!tabPris[w]) return static_cast<uint16_t>(w);
    xThrowErreur(10412, f.sGetAliasOuNom());
}
