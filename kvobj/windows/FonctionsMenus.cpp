// Menu functions of the language: entries added, inserted, cloned and
// deleted at run time, their states, check marks, visibility and captions,
// by object or by (window, identifier), and the enumeration of a menu.
// Opening menus is in FonctionsMenus_QT.cpp.
#include "base/Export.h"
#include "base/Texte.h"
#include "frame/CComposanteOBJ.h"
#include "frame/CExe.h"
#include "frame/Glue.h"
#include "kv/types.h"
#include "windows/CFenPrincipale.h"
#include "windows/CMenu.h"
#include <cwchar>
#include <string>

namespace {

void* Slot(const CComposanteOBJ& c) { return c.pstGetContexteAppel() ? c.pstGetContexteAppel()->pSlot : nullptr; }

bool bFenetreOuverte(CFenPrincipale* f) { return f && gpclExe && f->bEstVivante() && gpclExe->bEstFenOuverte(f); }

// How a menu is named in messages: its name, or for a main menu (which has
// none) its window's.
CTString sNomMenu(const CMenu& m) {
    if (!m.sGetNom().empty() || m.pclGetParent()) return m.sGetNom();
    CFenPrincipale* f = m.vpclGetFenPrincipale();
    return f ? f->sGetAliasOuNom() : m.sGetNom();
}

// The window of an entry, when it is open; error 10001 otherwise.
CFenPrincipale* pclFenetreDe(CComposanteOBJ& compo, const COptionMenu& o) {
    CFenPrincipale* f = o.vpclGetFenPrincipale();
    if (bFenetreOuverte(f)) return f;
    compo._RaiseErrorNum(10001, {f ? std::wstring(f->sGetAliasOuNom()) : std::wstring(o.sGetNom())});
    return nullptr;
}

// The entry an object argument designates, in an open window; null with the
// error raised: 10009 (argument n) for none, 10416 for another object.
COptionMenu* pclOptionArgument(CComposanteOBJ& compo, CObjetAPCodeOBJ* pclObjet, int nArgument = 1) {
    if (!pclObjet) {
        compo._RaiseErrorNum(10009, {std::to_wstring(nArgument)});
        return nullptr;
    }
    auto* o = dynamic_cast<COptionMenu*>(pclObjet);
    if (!o) {
        compo._RaiseErrorTypeChampIDS(pclObjet, 0);
        return nullptr;
    }
    return pclFenetreDe(compo, *o) ? o : nullptr;
}

// The menu an object argument designates: a menu, or a window's main menu;
// error 10411 for an entry that is not a menu.
CMenu* pclMenuArgument(CComposanteOBJ& compo, CObjetAPCodeOBJ* pclObjet, int nArgument = 1) {
    if (CFenPrincipale* f = pclObjet ? pclObjet->vpclCastToFenPrincipale() : nullptr) {
        if (bFenetreOuverte(f)) return f->Description().pMenuPrincipal.get();
        compo._RaiseErrorNum(10001, {f->sGetAliasOuNom()});
        return nullptr;
    }
    if (pclObjet && !dynamic_cast<COptionMenu*>(pclObjet)) {
        compo._RaiseErrorNum(10411, {pclObjet->sGetNom()});
        return nullptr;
    }
    COptionMenu* o = pclOptionArgument(compo, pclObjet, nArgument);
    if (!o) return nullptr;
    if (CMenu* m = o->pclCastToMenu()) return m;
    compo._RaiseErrorNum(10411, {o->sGetNom()});
    return nullptr;
}

// The entry of an open window's menus with this identifier (an empty window
// name: the running code's window, else the active one); error 10408 when
// none has it.
COptionMenu* pclOptionIdentifiant(CComposanteOBJ& compo, const wchar_t* pszFenetre, int nIdentifiant) {
    CFenPrincipale* f = kvglue::pclFenetreOuverte(compo, pszFenetre);
    if (!f) return nullptr;
    COptionMenu* o = nIdentifiant >= 0 && nIdentifiant <= 0xFFFF
                         ? pclChercheOptionFenetre(*f, static_cast<uint16_t>(nIdentifiant))
                         : nullptr;
    if (!o) compo._RaiseErrorNum(10408, {std::to_wstring(nIdentifiant), f->sGetAliasOuNom()});
    return o;
}

// ---------------------------------------------------------------- adding

// Where the adding routine places a new entry.
struct STPlace {
    enum eGenre { POSITION, REFERENCE, SEPARATEUR_SUIVANT } e = POSITION;
    int nPosition = -1;                  // POSITION: 1-based; -1, -2, -3 or past the end: at the end
    const COptionMenu* pclReference = nullptr;  // REFERENCE: before it; SEPARATEUR_SUIVANT: at the next separator after it
};

// Position given as a typed value: a number, or an option of the menu (an
// object or its name).
STPlace xPlaceArgument(const CAny* pclValeur, CMenu& m) {
    STPlace place;
    if (!pclValeur) return place;
    int n = 0;
    if (pclValeur->nGetINT(n) == 0) {
        place.nPosition = n;
        return place;
    }
    place.e = STPlace::REFERENCE;
    if (void* p = pclValeur->pGetObjet()) {
        auto* o = dynamic_cast<COptionMenu*>(static_cast<CObjetAPCodeOBJ*>(p));
        if (!o || o->pclGetParent() != &m) xThrowErreur(10408, o ? o->sGetNom() : CTString(), sNomMenu(m));
        place.pclReference = o;
        return place;
    }
    CTString s;
    pclValeur->__nCastToString(s);
    const COptionMenu* o = m.pclChercheDirect(s.c_str());
    if (!o) xThrowErreur(10408, s, sNomMenu(m));
    place.pclReference = o;
    return place;
}

int nxIndice(const CMenu& m, const STPlace& place) {
    const int nNb = m.nGetNbOptions();
    switch (place.e) {
    case STPlace::REFERENCE: {
        int i = m.nIndiceDe(place.pclReference);
        if (i < 0) xThrowErreur(10408, place.pclReference ? place.pclReference->sGetNom() : CTString(), sNomMenu(m));
        return i;
    }
    case STPlace::SEPARATEUR_SUIVANT: {
        int i = m.nIndiceDe(place.pclReference);
        for (int j = i < 0 ? nNb : i + 1; j < nNb; ++j)
            if (m.pclGetOption(j)->bEstSeparateur()) return j;
        return nNb;
    }
    case STPlace::POSITION: break;
    }
    const int p = place.nPosition;
    if (p > 0) return p > nNb ? nNb : p - 1;
    if (p == -1 || p == -2 || p == -3) return nNb;
    xThrowErreur(10410, p, nNb);
}

// The procedure a plain option runs, with the call's further parameters.
struct STProcedure {
    const wchar_t* pszNom = nullptr;
    int nPremierParametre = 0;  // the first further parameter that is the procedure's
};

// The adding routine of the menu functions: the entry (a new option,
// separator or sub-menu, or a copy) placed in the menu and shown; returns
// its 1-based position.
int nxAjoute(CComposanteOBJ& compo, CMenu& m, eGENRE_AJOUT_MENU eGenre, const wchar_t* pszNom, const wchar_t* pszLibelle,
             const STPlace& place, const STProcedure& proc = {}) {
    CFenPrincipale* f = m.vpclGetFenPrincipale();
    if (!bFenetreOuverte(f)) xThrowErreur(10001, sNomMenu(m));
    CTString sNom = pszNom ? pszNom : L"";
    if (eGenre != eGENRE_AJOUT_MENU::SEPARATEUR && !sNom.empty() && m.pclChercheDirect(sNom.c_str()))
        xThrowErreur(10407, sNom, sNomMenu(m));
    uint16_t w = wxNouvelIdentifiant(*f);
    int i = nxIndice(m, place);
    PtrOption p(eGenre == eGENRE_AJOUT_MENU::SOUS_MENU ? new CMenu() : new COptionMenu());
    p->SetStyle(m.GetStyle());
    p->SetIdentifiant(w);
    p->GenerateNewID();
    p->SetVisibleInitial(true);
    if (eGenre == eGENRE_AJOUT_MENU::SEPARATEUR) {
        p->SetSeparateur(true);
        p->SetName(kvtexte::Format(L"_sep_%d_", static_cast<int>(w)).c_str());
    } else {
        // An option without a name is named after its identifier, as
        // separators are: it never meets another.
        if (sNom.empty()) sNom = kvtexte::Format(L"_opt_%d_", static_cast<int>(w));
        p->SetName(sNom.c_str());
        p->SetLibelleExecution(pszLibelle);
    }
    if (eGenre == eGENRE_AJOUT_MENU::OPTION && proc.pszNom && *proc.pszNom) {
        IVM* vm = compo.piGetVM();
        void* pProcedure = vm ? vm->pGetProcedure(proc.pszNom) : nullptr;
        if (!pProcedure) xThrowErreur(10409, proc.pszNom, sNom);
        std::vector<CAny> tab;
        void* pSlot = Slot(compo);
        int nNb = vm->nGetNbParametresSupp(pSlot);
        for (int k = proc.nPremierParametre; k < nNb; ++k) {
            std::wstring s;
            int nType = 0;
            if (!vm->bGetParametreSupp(pSlot, k, s, nType)) continue;
            CAny cl;
            cl.SetPSTRX(s.c_str());
            if (nType != KS_PSTRW && nType != KS_DSTRW && nType != 0) cl.__nCastTo(nType, 0, 0);
            tab.push_back(std::move(cl));
        }
        p->SetProcedure(vm, pProcedure, proc.pszNom, std::move(tab));
    }
    return m.nInsere(std::move(p), i) + 1;
}

// Gives fresh identifiers to an entry just placed in a window's menus and
// to every entry below it.
void xNumerote(CFenPrincipale& f, COptionMenu& o) {
    o.SetIdentifiant(0);
    if (CMenu* m = o.pclCastToMenu())
        for (int i = 0; i < m->nGetNbOptions(); ++i) m->pclGetOption(i)->SetIdentifiant(0);
    o.SetIdentifiant(wxNouvelIdentifiant(f));
    if (CMenu* m = o.pclCastToMenu())
        for (int i = 0; i < m->nGetNbOptions(); ++i) xNumerote(f, *m->pclGetOption(i));
}

int MenuAjoute(CComposanteOBJ& compo, CObjetAPCodeOBJ* pclMenu, eGENRE_AJOUT_MENU eGenre, const wchar_t* pszNom,
               const wchar_t* pszLibelle, const CAny* pclPosition, bool bInsere, const STProcedure& proc = {}) {
    return kvglue::Protege(compo, -1, [&] {
        CMenu* m = pclMenuArgument(compo, pclMenu);
        if (!m) return -1;
        STPlace place;
        if (bInsere) place = xPlaceArgument(pclPosition, *m);
        return nxAjoute(compo, *m, eGenre, pszNom, pszLibelle, place, proc);
    });
}

int MenuClone(CComposanteOBJ& compo, CObjetAPCodeOBJ* pclObjet, const wchar_t* pszNom) {
    return kvglue::Protege(compo, -1, [&] {
        COptionMenu* o = pclOptionArgument(compo, pclObjet);
        if (!o) return -1;
        if (std::wcschr(pszNom, L'.')) {
            compo._RaiseErrorNum(10125, {pszNom});
            return -1;
        }
        CMenu* m = o->pclGetParent();
        if (!m) {
            compo._RaiseErrorNum(10009, {L"1"});
            return -1;
        }
        if (m->pclChercheDirect(pszNom)) xThrowErreur(10407, pszNom, sNomMenu(*m));
        CFenPrincipale* f = o->vpclGetFenPrincipale();
        // A further text is the copy's caption.
        IVM* vm = compo.piGetVM();
        std::wstring sLibelle;
        int nType = 0;
        bool bLibelle = vm && vm->nGetNbParametresSupp(Slot(compo)) > 0 && vm->bGetParametreSupp(Slot(compo), 0, sLibelle, nType);
        STPlace place;
        place.e = STPlace::SEPARATEUR_SUIVANT;
        place.pclReference = o;
        int i = nxIndice(*m, place);
        PtrOption p = o->pclClone();
        p->SetName(pszNom);
        if (bLibelle) p->SetLibelleExecution(sLibelle.c_str());
        COptionMenu& copie = *p;
        i = m->nInsere(std::move(p), i);
        try {
            xNumerote(*f, copie);
        } catch (const CXError&) {
            m->SupprimeOption(i);
            throw;
        }
        return i + 1;
    });
}

void MenuSupprime(CComposanteOBJ& compo, CObjetAPCodeOBJ* pclObjet) {
    COptionMenu* o = pclOptionArgument(compo, pclObjet);
    if (!o) return;
    CMenu* m = o->pclGetParent();
    if (!m) {
        compo._RaiseErrorNum(10009, {L"1"});
        return;
    }
    m->SupprimeOption(m->nIndiceDe(o));
}

void MenuSupprime(CComposanteOBJ& compo, CObjetAPCodeOBJ* pclMenu, int nPosition) {
    CMenu* m = pclMenuArgument(compo, pclMenu);
    if (!m || nPosition < 1 || nPosition > m->nGetNbOptions()) return;
    m->SupprimeOption(nPosition - 1);
}

CTString EnumereMenu(CComposanteOBJ& compo, CObjetAPCodeOBJ* pclMenu, int n) {
    CMenu* m = pclMenuArgument(compo, pclMenu);
    if (!m) return CTString();
    int nNb = m->nGetNbOptions();
    if (n == nNb + 1) return CTString();
    if (n < 1 || n > nNb) {
        compo._RaiseErrorNum(10055, {L"2", std::to_wstring(n), L"1", std::to_wstring(nNb)});
        return CTString();
    }
    return m->pclGetOption(n - 1)->sGetNom();
}

// ---------------------------------------------------------------- states

// The state of an entry as the language sees it: 0 active, 4 greyed.
int nEtat(const COptionMenu& o) { return o.nGetEtat() == nETAT_MENU_GRISE ? nETAT_MENU_GRISE : nETAT_MENU_ACTIF; }

int MenuEtat(CComposanteOBJ& compo, COptionMenu* o, int nArgument, const int* pnNouveau) {
    if (!o) return -1;
    if (pnNouveau) {
        if (*pnNouveau != nETAT_MENU_ACTIF && *pnNouveau != nETAT_MENU_GRISE) {
            compo._RaiseErrorNum(10009, {std::to_wstring(nArgument)});
            return -1;
        }
        o->SetEtatPropriete(*pnNouveau | nFLAG_ETAT_MENU);
    }
    return nEtat(*o);
}

bool MenuMarquage(COptionMenu* o, const int* pnNouveau) {
    if (!o) return false;
    if (pnNouveau) o->SetCochee(*pnNouveau != 0);
    return o->bEstCochee();
}

CTString MenuLibelle(COptionMenu* o, const wchar_t* pszNouveau) {
    if (!o) return CTString();
    if (pszNouveau) o->SetLibelleExecution(pszNouveau);
    return o->sGetLibelle();
}

// MenuSelectPlus and MenuSelectMoins: the identifiers given as declared
// arguments, then every further argument, each an identifier (a number,
// else error 10054 with its argument number, and the rest is left).
void MenuSelect(CComposanteOBJ& compo, const wchar_t* pszFenetre, std::initializer_list<int> tabPremiers, int nEtat) {
    auto applique = [&](int nIdentifiant) {
        COptionMenu* o = pclOptionIdentifiant(compo, pszFenetre, nIdentifiant);
        if (!o) return false;
        // Written as the Etat property writes a menu state.
        o->SetEtatPropriete(nEtat == 2 ? nEtat : nEtat | nFLAG_ETAT_MENU);
        return true;
    };
    for (int n : tabPremiers)
        if (!applique(n)) return;
    // Arguments are counted from 1, the window name included when given.
    const int nArgumentSupp = static_cast<int>(tabPremiers.size()) + (*pszFenetre ? 2 : 1);
    IVM* vm = compo.piGetVM();
    void* pSlot = Slot(compo);
    int nNb = vm ? vm->nGetNbParametresSupp(pSlot) : 0;
    for (int k = 0; k < nNb; ++k) {
        std::wstring s;
        int nType = 0;
        bool bNombre = vm->bGetParametreSupp(pSlot, k, s, nType) &&
                       ((nType >= KS_UI1 && nType <= KS_I8) || nType == KS_R4 || nType == KS_R8 || nType == KS_UIX ||
                        nType == KS_I4BIS);
        long long n = 0;
        if (bNombre) {
            try {
                n = static_cast<long long>(std::stod(s));
            } catch (const std::exception&) {
                bNombre = false;
            }
        }
        if (!bNombre || n < INT32_MIN || n > INT32_MAX) {
            compo._RaiseErrorNum(10054, {std::to_wstring(nArgumentSupp + k)});
            return;
        }
        if (!applique(static_cast<int>(n))) return;
    }
}

// The syntax with a window name. A caller that hands identifiers only may
// see its first one taken for the window name (a number as text): no window
// is named by digits, so it is the first identifier and the window is the
// running code's.
void MenuSelectFenetre(CComposanteOBJ& compo, const wchar_t* pszFenetre, int nIdentifiant, int nEtat) {
    std::wstring s = pszFenetre;
    bool bNombre = !s.empty() && s.size() <= 9 && s.find_first_not_of(L"0123456789") == std::wstring::npos;
    if (bNombre) MenuSelect(compo, L"", {std::stoi(s), nIdentifiant}, nEtat);
    else MenuSelect(compo, pszFenetre, {nIdentifiant}, nEtat);
}

// ---------------------------------------------------------------- existence

// The entry of the window's menus with this name ("" window: the running
// code's, else the active one); a qualified name is found as the program
// writes it.
COptionMenu* pclOptionNommee(CComposanteOBJ& compo, const wchar_t* pszFenetre, bool bFenetreDonnee, const wchar_t* pszNom) {
    if (std::wcschr(pszNom, L'.')) return dynamic_cast<COptionMenu*>(compo.pclResoutNom(pszNom));
    CFenPrincipale* f = bFenetreDonnee ? kvglue::pclFenetreOuverte(compo, pszFenetre) : compo.pclGetFenPrincipaleFromName(L"");
    if (!bFenetreOuverte(f)) return nullptr;
    return pclChercheOptionFenetre(*f, pszNom);
}

bool MenuExiste(CComposanteOBJ& compo, const wchar_t* pszFenetre, bool bFenetreDonnee, const wchar_t* pszNom) {
    COptionMenu* o = pclOptionNommee(compo, pszFenetre, bFenetreDonnee, pszNom);
    return o && o->pclCastToMenu();
}

bool MenuOptionExiste(CComposanteOBJ& compo, const wchar_t* pszFenetre, bool bFenetreDonnee, const wchar_t* pszNom) {
    COptionMenu* o = pclOptionNommee(compo, pszFenetre, bFenetreDonnee, pszNom);
    return o && !o->bEstSeparateur();
}

} // namespace

// ---------------------------------------------------------------- glue

using namespace kvglue;

namespace {
COptionMenu* ParObjet(CComposanteOBJ* c, void** tabArgs) { return pclOptionArgument(*c, Objet(tabArgs, 0)); }
COptionMenu* ParIdentifiant(CComposanteOBJ* c, void** tabArgs) { return pclOptionIdentifiant(*c, L"", Entier(tabArgs, 0)); }
COptionMenu* ParFenetreIdentifiant(CComposanteOBJ* c, void** tabArgs) {
    return pclOptionIdentifiant(*c, NomFenetre(tabArgs, 0), Entier(tabArgs, 1));
}
const CAny* Valeur(void** tabArgs, int i) { return static_cast<const CAny*>(tabArgs ? tabArgs[i] : nullptr); }
} // namespace

KV_GLUE(EnumereMenu, 0) { ResultatChaine(pAppel, EnumereMenu(*pclCompo, Objet(tabArgs, 0), Entier(tabArgs, 1))); }

// MenuAjoute(menu, caption, procedure): an option named after its identifier.
KV_GLUE(MenuAjoute, 0) {
    STProcedure proc{Chaine(tabArgs, 2), 0};
    ResultatEntier(pAppel, MenuAjoute(*pclCompo, Objet(tabArgs, 0), eGENRE_AJOUT_MENU::OPTION, L"", Chaine(tabArgs, 1),
                                      nullptr, false, proc));
}

KV_GLUE(MenuAjouteMenu, 0) {
    ResultatEntier(pAppel, MenuAjoute(*pclCompo, Objet(tabArgs, 0), eGENRE_AJOUT_MENU::SOUS_MENU, Chaine(tabArgs, 1),
                                      Chaine(tabArgs, 2), nullptr, false));
}

KV_GLUE(MenuAjouteOption, 0) {
    STProcedure proc{Chaine(tabArgs, 3), 0};
    ResultatEntier(pAppel, MenuAjoute(*pclCompo, Objet(tabArgs, 0), eGENRE_AJOUT_MENU::OPTION, Chaine(tabArgs, 1),
                                      Chaine(tabArgs, 2), nullptr, false, proc));
}

KV_GLUE(MenuAjouteSeparateur, 0) {
    ResultatEntier(pAppel, MenuAjoute(*pclCompo, Objet(tabArgs, 0), eGENRE_AJOUT_MENU::SEPARATEUR, L"", L"", nullptr, false));
}

KV_GLUE(MenuInsereMenu, 0) {
    ResultatEntier(pAppel, MenuAjoute(*pclCompo, Objet(tabArgs, 0), eGENRE_AJOUT_MENU::SOUS_MENU, Chaine(tabArgs, 2),
                                      Chaine(tabArgs, 3), Valeur(tabArgs, 1), true));
}

KV_GLUE(MenuInsereOption, 0) {
    STProcedure proc{Chaine(tabArgs, 4), 0};
    ResultatEntier(pAppel, MenuAjoute(*pclCompo, Objet(tabArgs, 0), eGENRE_AJOUT_MENU::OPTION, Chaine(tabArgs, 2),
                                      Chaine(tabArgs, 3), Valeur(tabArgs, 1), true, proc));
}

KV_GLUE(MenuInsereSeparateur, 0) {
    ResultatEntier(pAppel, MenuAjoute(*pclCompo, Objet(tabArgs, 0), eGENRE_AJOUT_MENU::SEPARATEUR, L"", L"",
                                      Valeur(tabArgs, 1), true));
}

KV_GLUE(MenuClone, 0) { ResultatEntier(pAppel, MenuClone(*pclCompo, Objet(tabArgs, 0), Chaine(tabArgs, 1))); }

KV_GLUE(MenuSupprime, 0) { MenuSupprime(*pclCompo, Objet(tabArgs, 0)); }

KV_GLUE(MenuSupprime, 1) { MenuSupprime(*pclCompo, Objet(tabArgs, 0), Entier(tabArgs, 1)); }

// MenuEtat: (option), (option, state), (window, identifier), (window, identifier, state).
KV_GLUE(MenuEtat, 0) { ResultatEntier(pAppel, MenuEtat(*pclCompo, ParObjet(pclCompo, tabArgs), 2, nullptr)); }
KV_GLUE(MenuEtat, 1) {
    int n = Entier(tabArgs, 1);
    ResultatEntier(pAppel, MenuEtat(*pclCompo, ParObjet(pclCompo, tabArgs), 2, &n));
}
KV_GLUE(MenuEtat, 2) { ResultatEntier(pAppel, MenuEtat(*pclCompo, ParFenetreIdentifiant(pclCompo, tabArgs), 3, nullptr)); }
KV_GLUE(MenuEtat, 3) {
    int n = Entier(tabArgs, 2);
    ResultatEntier(pAppel, MenuEtat(*pclCompo, ParFenetreIdentifiant(pclCompo, tabArgs), 3, &n));
}

// MenuMarque, MenuDemarque, MenuInvisible: (option), (identifier), (window, identifier).
#define KV_GLUE_OPTION(NOM, ACTION)                                                  \
    KV_GLUE(NOM, 0) {                                                                \
        if (COptionMenu* o = ParObjet(pclCompo, tabArgs)) o->ACTION;                 \
    }                                                                                \
    KV_GLUE(NOM, 1) {                                                                \
        if (COptionMenu* o = ParIdentifiant(pclCompo, tabArgs)) o->ACTION;           \
    }                                                                                \
    KV_GLUE(NOM, 2) {                                                                \
        if (COptionMenu* o = ParFenetreIdentifiant(pclCompo, tabArgs)) o->ACTION;    \
    }
KV_GLUE_OPTION(MenuMarque, SetCochee(true))
KV_GLUE_OPTION(MenuDemarque, SetCochee(false))
KV_GLUE_OPTION(MenuInvisible, SetVisible(false))
#undef KV_GLUE_OPTION

// MenuMarquage: (option), (option, checked), (window, identifier), (window, identifier, checked).
KV_GLUE(MenuMarquage, 0) { ResultatBooleen(pAppel, MenuMarquage(ParObjet(pclCompo, tabArgs), nullptr)); }
KV_GLUE(MenuMarquage, 1) {
    int n = Entier(tabArgs, 1);
    ResultatBooleen(pAppel, MenuMarquage(ParObjet(pclCompo, tabArgs), &n));
}
KV_GLUE(MenuMarquage, 2) { ResultatBooleen(pAppel, MenuMarquage(ParFenetreIdentifiant(pclCompo, tabArgs), nullptr)); }
KV_GLUE(MenuMarquage, 3) {
    int n = Entier(tabArgs, 2);
    ResultatBooleen(pAppel, MenuMarquage(ParFenetreIdentifiant(pclCompo, tabArgs), &n));
}

// MenuLibelle: (option), (option, caption), (window, identifier), (window, identifier, caption).
KV_GLUE(MenuLibelle, 0) { ResultatChaine(pAppel, MenuLibelle(ParObjet(pclCompo, tabArgs), nullptr)); }
KV_GLUE(MenuLibelle, 1) { ResultatChaine(pAppel, MenuLibelle(ParObjet(pclCompo, tabArgs), Chaine(tabArgs, 1))); }
KV_GLUE(MenuLibelle, 2) { ResultatChaine(pAppel, MenuLibelle(ParFenetreIdentifiant(pclCompo, tabArgs), nullptr)); }
KV_GLUE(MenuLibelle, 3) { ResultatChaine(pAppel, MenuLibelle(ParFenetreIdentifiant(pclCompo, tabArgs), Chaine(tabArgs, 2))); }

// MenuSelectPlus and MenuSelectMoins: (identifier, ...), (window, identifier, ...).
KV_GLUE(MenuSelectPlus, 0) { MenuSelect(*pclCompo, L"", {Entier(tabArgs, 0)}, nETAT_MENU_ACTIF); }
KV_GLUE(MenuSelectPlus, 1) { MenuSelectFenetre(*pclCompo, NomFenetre(tabArgs, 0), Entier(tabArgs, 1), nETAT_MENU_ACTIF); }
KV_GLUE(MenuSelectMoins, 0) { MenuSelect(*pclCompo, L"", {Entier(tabArgs, 0)}, nETAT_MENU_GRISE); }
KV_GLUE(MenuSelectMoins, 1) { MenuSelectFenetre(*pclCompo, NomFenetre(tabArgs, 0), Entier(tabArgs, 1), nETAT_MENU_GRISE); }

KV_GLUE(MenuExiste, 0) { ResultatBooleen(pAppel, MenuExiste(*pclCompo, L"", false, Chaine(tabArgs, 0))); }
KV_GLUE(MenuExiste, 1) { ResultatBooleen(pAppel, MenuExiste(*pclCompo, NomFenetre(tabArgs, 0), true, Chaine(tabArgs, 1))); }
KV_GLUE(MenuOptionExiste, 0) { ResultatBooleen(pAppel, MenuOptionExiste(*pclCompo, L"", false, Chaine(tabArgs, 0))); }
KV_GLUE(MenuOptionExiste, 1) {
    ResultatBooleen(pAppel, MenuOptionExiste(*pclCompo, NomFenetre(tabArgs, 0), true, Chaine(tabArgs, 1)));
}
