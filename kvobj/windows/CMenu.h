// Menus of a window: trees of options, each an object with event code.
// This part holds the model, its compiled description, the changes the
// program makes at run time and the choice of an option; the widgets that
// show a menu are its backend's (CMenu_QT.cpp).
#pragma once
#include "controls/core/Archive.h"
#include "controls/core/CAny.h"
#include "controls/core/CObjetAPCode.h"
#include "controls/core/CStyleChamp.h"
#include <algorithm>
#include <memory>
#include <vector>

class CMenu;
class COptionMenu;
class CFenPrincipale;

// The look of a menu option. The record is ours: version 1, declared size.
struct CStyleMenu {
    uint32_t nVersion = 1;
    uint32_t nCouleurTexte = nCOULEUR_AUTO;
    uint32_t nCouleurFond = nCOULEUR_AUTO;
    CTString sPolice;
    int32_t nTaillePolice = 0;
    uint32_t nStylePolice = 0;
    bool bStandard() const { return nCouleurTexte == nCOULEUR_AUTO && nCouleurFond == nCOULEUR_AUTO && sPolice.empty() && nStylePolice == 0; }
};

template <class A>
void serialise(A& ar, CStyleMenu& s) {
    CEnregistrement<A> rec(ar, s.nVersion, {1, 1, 1}, "MenuStyle");
    ar(s.nCouleurTexte, "text_colour");
    ar(s.nCouleurFond, "background_colour");
    ar.TexteTechnique(s.sPolice, "font");
    ar(s.nTaillePolice, "font_size");
    ar(s.nStylePolice, "font_style");
    rec.Fin();
}

// Menu states as the model keeps them.
inline constexpr int nETAT_MENU_ACTIF = 0;
inline constexpr int nETAT_MENU_GRISE = 4;
// A state written through the Etat property with this flag is a menu state
// as it stands (0 or 4); without it, it is a language state (0 active,
// 2 invisible, the others greyed).
inline constexpr int nFLAG_ETAT_MENU = 0x4000;

// Limits of what a description may declare: an option count beyond what the
// remaining bytes can hold, or sub-menus nested deeper than this, is a
// damaged description.
inline constexpr uint32_t nNB_OPTIONS_MENU_MAX = 65535;
inline constexpr int nPROFONDEUR_MENU_MAX = 32;
// The fewest bytes an entry of a menu takes: its kind word, the option's
// identifier and version.
inline constexpr size_t nOCTETS_MIN_ENTREE_MENU = 16;

// Gives a reference back instead of deleting: code that runs for an option
// holds one, so that an option deleted by its own code outlives the run.
struct CLiberationOption {
    void operator()(COptionMenu* p) const;
};
using PtrOption = std::unique_ptr<COptionMenu, CLiberationOption>;

// The widgets that show one menu (a menu bar, a popup or a sub-menu). The
// model tells them every change at once, by the entry's index in the menu;
// the Qt layer makes them (CMenuQT).
class IBackendMenu {
public:
    virtual ~IBackendMenu() = default;
    // An entry the menu holds now at nIndice.
    virtual void vAjouteOption(int nIndice, COptionMenu& o) = 0;
    // The entry at nIndice is about to leave the menu.
    virtual void vSupprimeOption(int nIndice, COptionMenu& o) = 0;
    // The caption, state, check mark or visibility of the entry at nIndice.
    virtual void vMAJOption(int nIndice, COptionMenu& o) = 0;
    // The state of the menu itself, for a menu shown on its own.
    virtual void vMAJMenu() = 0;
};

class COptionMenu : public CObjetAPCodeOBJ {
public:
    ~COptionMenu() override;
    virtual CMenu* pclCastToMenu() { return nullptr; }
    const CMenu* pclCastToMenu() const { return const_cast<COptionMenu*>(this)->pclCastToMenu(); }

    template <class A>
    friend void serialise(A& ar, COptionMenu& o);

    CMenu* pclGetParent() const { return m_pclParent; }
    void SetParent(CMenu* p) { m_pclParent = p; }
    const CTString& sGetLibelle() const { return m_sLibelle; }
    void SetLibelle(const wchar_t* psz) { m_sLibelle.Set(psz); MAJVue(); }
    // A caption given at run time: split at the first colon not preceded by
    // a backslash into the caption and the secondary text; "\:" stands for
    // a colon in both.
    void SetLibelleExecution(const wchar_t* psz);
    const CTString& sGetTexteSecondaire() const { return m_sTexteSecondaire; }
    int nGetEtat() const { return m_nEtat; }
    void SetEtat(int n) { m_nEtat = n; MAJVue(); }
    bool bGetVisible() const { return m_bVisible; }
    void SetVisible(bool b) { m_bVisible = b; MAJVue(); }
    bool bVisibleInitial() const { return m_bVisibleInitial; }
    bool bEstSeparateur() const { return m_bSeparateur; }
    bool bEstCochee() const { return m_bCochee; }
    void SetCochee(bool b) { m_bCochee = b; MAJVue(); }
    uint16_t wGetIdentifiant() const { return m_wIdentifiant; }
    void SetIdentifiant(uint16_t w) { m_wIdentifiant = w; }
    void SetSeparateur(bool b) { m_bSeparateur = b; }
    // Visible when the window opens (the current visibility follows it).
    void SetVisibleInitial(bool b) { m_bVisibleInitial = b; m_bVisible = b; }
    const CTString& sGetImage() const { return m_sImage; }
    const CStyleMenu& GetStyle() const { return m_style; }
    void SetStyle(const CStyleMenu& s) { m_style = s; }
    uint32_t nGetVersionOption() const { return m_nVersionOption; }
    // The character after the '&' marker of the caption (0 when none).
    wchar_t cGetLettreAppel() const;
    // Greyed itself or through a menu it belongs to.
    bool bEstGrisee() const;
    // Its 0-based place in its menu (-1 without one).
    int nGetIndice() const;

    // The procedure an option added at run time runs when chosen, held by
    // reference from the virtual machine, with its parameters.
    void SetProcedure(IVM* piVM, void* pProcedure, const CTString& sNom, std::vector<CAny> tabParametres);
    void* pGetProcedure() const { return m_pProcedure; }
    const CTString& sGetProcedure() const { return m_sProcedure; }
    const std::vector<CAny>& tabGetParametres() const { return m_tabParametres; }
    // A copy of this entry (a sub-menu with its entries) for MenuClone: the
    // same caption, states, look and code (compiled code through the same
    // code identifier, a procedure through a reference of its own).
    virtual PtrOption pclClone() const;

    // Chooses the option as the user does: nothing for a greyed option or a
    // window no longer open; the focused control must accept leaving; the
    // option becomes the window's current one and runs its procedure or
    // its selection code; the window's post-choice processing follows.
    void ExecuteOption();

    CFenPrincipale* vpclGetFenPrincipale() const override;
    int nGetIDObjet() const override;
    const wchar_t* pszGetNomType() const override { return L"menu option"; }
    KV_ACCESSEURS(Nom)
    KV_ACCESSEURS(Type)
    KV_ACCESSEURS(Libelle)
    KV_ACCESSEURS(Etat)
    KV_ACCESSEURS(Visible)
    KV_ACCESSEURS(Cochee)
    void SetFenetre(CFenPrincipale* f) { m_pclFenetre = f; }
    // The state as the Etat property writes it (see nFLAG_ETAT_MENU).
    void SetEtatPropriete(int n);

protected:
    // The widgets showing the option follow its fields.
    void MAJVue();
    void CopieVers(COptionMenu& o) const;

    uint32_t m_nVersionOption = 708;
    CTString m_sLibelle, m_sChaine2, m_sChaine3;
    CTString m_sTexteSecondaire;
    int32_t m_nEtat = 0;
    bool m_bVisibleInitial = true;
    bool m_bVisible = true;
    uint16_t m_wIdentifiant = 0;
    bool m_bSeparateur = false;
    bool m_bCochee = false;
    int32_t m_nValeurApresCoche = 0;
    CStyleMenu m_style;
    CTString m_sImage;
    int32_t m_nMot706 = 0, m_nMot707 = 0, m_nMot708 = 0;
    CMenu* m_pclParent = nullptr;
    CFenPrincipale* m_pclFenetre = nullptr;
    IVM* m_piVMProcedure = nullptr;
    void* m_pProcedure = nullptr;
    CTString m_sProcedure;
    std::vector<CAny> m_tabParametres;
};

// What the adding routine adds.
enum class eGENRE_AJOUT_MENU { OPTION, SEPARATEUR, SOUS_MENU };

class CMenu : public COptionMenu {
public:
    CMenu() = default;
    ~CMenu() override;
    CMenu* pclCastToMenu() override { return this; }

    template <class A>
    friend void serialise(A& ar, CMenu& m);
    template <class A>
    friend void serialise(A& ar, CMenu& m, int nProfondeur);

    int nGetNbOptions() const { return static_cast<int>(m_tabOptions.size()); }
    COptionMenu* pclGetOption(int i) const { return i >= 0 && i < nGetNbOptions() ? m_tabOptions[i].get() : nullptr; }
    // Inserts at 0-based nPosition (out of range: appends); returns the index.
    int AjouteOption(std::unique_ptr<COptionMenu> p, int nPosition = -1);
    int nInsere(PtrOption p, int nPosition = -1);
    // Takes the entry at i out of the menu (null when i is out of range);
    // dropping the result gives the menu's reference back.
    PtrOption SupprimeOption(int i);
    int nIndiceDe(const COptionMenu* o) const;
    // An option of this menu or its sub-menus by name or identifier.
    COptionMenu* pclCherche(const wchar_t* pszNom);
    COptionMenu* pclChercheID(uint16_t w);
    // An entry of this menu only, by name.
    COptionMenu* pclChercheDirect(const wchar_t* pszNom) const;
    // By call letters: the first letter picks the first entry of this menu
    // whose call letter it is (case ignored), each further letter an entry
    // of the sub-menu found so far.
    COptionMenu* pclChercheLettresAppel(const wchar_t* pszLettres);
    // Every identifier in use below this menu (its own included).
    void MarqueIdentifiants(std::vector<bool>& tabPris) const;
    uint16_t wGetIdentifiantMax() const;
    void SetFenetreRecursif(CFenPrincipale* f);
    uint32_t nGetVersionMenu() const { return m_nVersionMenu; }
    // Appends a separator unless the menu is empty or already ends with one;
    // true when one was added.
    bool AjouteSeparateurSiUtile(uint16_t wIdentifiant);

    // The widgets that show this menu (null while it is not shown).
    IBackendMenu* pGetBackend() const { return m_pBackend.get(); }
    void SetBackend(std::unique_ptr<IBackendMenu> p) { m_pBackend = std::move(p); }
    PtrOption pclClone() const override;
    // Its entries by name, those of its sub-menus included (MENU.OPTION).
    CObjetAPCodeOBJ* vpclGetObjetAPCodeOBJFromName(const wchar_t* pszNom, int nMode) override;

protected:
    uint32_t m_nVersionMenu = 706;
    int32_t m_nValeurApresTaille = 0;
    std::vector<PtrOption> m_tabOptions;
    // Declared last: gone before the entries it shows.
    std::unique_ptr<IBackendMenu> m_pBackend;
};

// Option record: name, identifier, version (701 to 800), then the fields.
// From 704 a size word counts the bytes from itself to the end of the
// record; from 705 its strings are marked UTF-8 (string mode 1).
template <class A>
void serialise(A& ar, COptionMenu& o) {
    CKVBuffer& b = ar.Buffer();
    EModeTString eModeAvant = b.eGetModeDeserialTString();
    ar.TexteTechnique(o.m_sNom, "name");
    ar(o.m_qwID, "identifier");
    ar(o.m_nVersionOption, "option_version");
    uint32_t v = o.m_nVersionOption;
    if constexpr (A::bLecture) {
        if (v < 701) xThrowErreur(10014, KVOBJ_MODULE);
        if (v > 800) xThrowErreur(10084, KVOBJ_MODULE);
        if (v >= 705) b.SetModeDeserialTString(eMODE_TSTRING_1);
    } else {
        if (v < 701 || v > 800) o.m_nVersionOption = v = 708;
    }
    struct Restaure {
        CKVBuffer& b;
        EModeTString e;
        ~Restaure() { b.SetModeDeserialTString(e); }
    } restaure{b, eModeAvant};
    ar.TexteUtilisateur(o.m_sLibelle, "caption");
    ar.TexteUtilisateur(o.m_sChaine2, "string2");
    ar(o.m_nEtat, "state");
    if (v >= 702) {
        ar(o.m_bVisibleInitial, "visible");
    } else if constexpr (A::bLecture) {
        o.m_bVisibleInitial = o.m_nEtat != 2;
        if (o.m_nEtat == 2) o.m_nEtat = 0;
    }
    ar.TexteUtilisateur(o.m_sChaine3, "string3");
    ar(o.m_wIdentifiant, "option_id");
    ar(o.m_bSeparateur, "separator");
    ar(o.m_bCochee, "checked");
    ar(o.m_nValeurApresCoche, "value");
    serialise(ar, o.m_style);
    if (v >= 703) ar.TexteTechnique(o.m_sImage, "image");
    if (v == 706) ar(o.m_nMot706, "word706");
    CTailleDeclaree<A> taille(ar, v >= 704, "size");
    if (v >= 707) ar(o.m_nMot707, "word707");
    if (v >= 708) ar(o.m_nMot708, "word708");
    if constexpr (A::bLecture) o.m_bVisible = o.m_bVisibleInitial;
    taille.Fin();
}

// Menu record: version (700 to 800), from 705 a declared size (and above
// 705 one more word), the menu's own option record, then its options, each
// behind a kind word (non-zero: a sub-menu). A reader refuses an option
// count the remaining bytes cannot hold and sub-menus nested too deep.
template <class A>
void serialise(A& ar, CMenu& m, int nProfondeur) {
    CEnregistrement<A> rec(ar, m.m_nVersionMenu, {700, 800, 705}, "Menu");
    if (rec.nVersion() > 705) ar(m.m_nValeurApresTaille, "value");
    serialise(ar, static_cast<COptionMenu&>(m));
    uint32_t n = static_cast<uint32_t>(m.m_tabOptions.size());
    ar(n, "options");
    if constexpr (A::bLecture) {
        CKVBuffer& b = ar.Buffer();
        size_t nLimite = b.nGetLimite(), nPos = b.nGetPosition();
        size_t nPossibles = nLimite > nPos ? (nLimite - nPos) / nOCTETS_MIN_ENTREE_MENU : 0;
        if (n > nNB_OPTIONS_MENU_MAX || n > nPossibles)
            xThrowErreur(10413, static_cast<unsigned long long>(n),
                         static_cast<unsigned long long>(std::min<size_t>(nPossibles, nNB_OPTIONS_MENU_MAX)));
        m.m_tabOptions.clear();
        for (uint32_t i = 0; i < n; ++i) {
            int32_t nGenre;
            ar(nGenre, "kind");
            PtrOption p;
            if (nGenre != 0) {
                if (nProfondeur + 1 > nPROFONDEUR_MENU_MAX) xThrowErreur(10414, nPROFONDEUR_MENU_MAX);
                auto* sm = new CMenu();
                p.reset(sm);
                serialise(ar, *sm, nProfondeur + 1);
            } else {
                p.reset(new COptionMenu());
                serialise(ar, *p);
            }
            p->SetParent(&m);
            m.m_tabOptions.push_back(std::move(p));
        }
    } else {
        for (auto& p : m.m_tabOptions) {
            int32_t nGenre = p->pclCastToMenu() ? 1 : 0;
            ar(nGenre);
            if (CMenu* sm = p->pclCastToMenu()) serialise(ar, *sm, nProfondeur + 1);
            else serialise(ar, *p);
        }
    }
    rec.Fin();
}

template <class A>
void serialise(A& ar, CMenu& m) {
    serialise(ar, m, 0);
}

// The menus of a window: its main menu, then its context menus.
std::vector<CMenu*> tabMenusFenetre(CFenPrincipale& f);
// An entry of the window's menus by identifier, or a context menu or entry
// by name (null when none).
COptionMenu* pclChercheOptionFenetre(CFenPrincipale& f, uint16_t w);
COptionMenu* pclChercheOptionFenetre(CFenPrincipale& f, const wchar_t* pszNom);
// An identifier that no entry of the window's menus has: the largest plus
// one, or, past 65535, the lowest free one; error 10412 when none is free.
uint16_t wxNouvelIdentifiant(CFenPrincipale& f);
