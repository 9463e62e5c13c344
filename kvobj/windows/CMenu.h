// Menus of a window: trees of options, each an object with event code.
// This part holds the model and the compiled description of menus.
#pragma once
#include "controls/core/Archive.h"
#include "controls/core/CObjetAPCode.h"
#include "controls/core/CStyleChamp.h"
#include <memory>
#include <vector>

class CMenu;
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

class COptionMenu : public CObjetAPCodeOBJ {
public:
    virtual ~COptionMenu() = default;
    virtual CMenu* pclCastToMenu() { return nullptr; }

    template <class A>
    friend void serialise(A& ar, COptionMenu& o);

    CMenu* pclGetParent() const { return m_pclParent; }
    void SetParent(CMenu* p) { m_pclParent = p; }
    const CTString& sGetLibelle() const { return m_sLibelle; }
    void SetLibelle(const wchar_t* psz) { m_sLibelle.Set(psz); }
    int nGetEtat() const { return m_nEtat; }
    void SetEtat(int n) { m_nEtat = n; }
    bool bGetVisible() const { return m_bVisible; }
    void SetVisible(bool b) { m_bVisible = b; }
    bool bVisibleInitial() const { return m_bVisibleInitial; }
    bool bEstSeparateur() const { return m_bSeparateur; }
    bool bEstCochee() const { return m_bCochee; }
    void SetCochee(bool b) { m_bCochee = b; }
    uint16_t wGetIdentifiant() const { return m_wIdentifiant; }
    void SetIdentifiant(uint16_t w) { m_wIdentifiant = w; }
    void SetSeparateur(bool b) { m_bSeparateur = b; }
    // Visible when the window opens (the current visibility follows it).
    void SetVisibleInitial(bool b) { m_bVisibleInitial = b; m_bVisible = b; }
    const CTString& sGetImage() const { return m_sImage; }
    const CStyleMenu& GetStyle() const { return m_style; }
    uint32_t nGetVersionOption() const { return m_nVersionOption; }
    // The character after the '&' marker of the caption (0 when none).
    wchar_t cGetLettreAppel() const;
    bool bEstGrisee() const;
    CFenPrincipale* vpclGetFenPrincipale() const override;
    const wchar_t* pszGetNomType() const override { return L"menu option"; }
    KV_ACCESSEURS(Nom)
    void SetFenetre(CFenPrincipale* f) { m_pclFenetre = f; }

protected:
    uint32_t m_nVersionOption = 708;
    CTString m_sLibelle, m_sChaine2, m_sChaine3;
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
};

class CMenu : public COptionMenu {
public:
    CMenu* pclCastToMenu() override { return this; }

    template <class A>
    friend void serialise(A& ar, CMenu& m);

    int nGetNbOptions() const { return static_cast<int>(m_tabOptions.size()); }
    COptionMenu* pclGetOption(int i) const { return i >= 0 && i < nGetNbOptions() ? m_tabOptions[i].get() : nullptr; }
    void AjouteOption(std::unique_ptr<COptionMenu> p, int nPosition = -1);
    std::unique_ptr<COptionMenu> SupprimeOption(int i);
    // An option of this menu or its sub-menus by name or identifier.
    COptionMenu* pclCherche(const wchar_t* pszNom);
    COptionMenu* pclChercheID(uint16_t w);
    void SetFenetreRecursif(CFenPrincipale* f);
    uint32_t nGetVersionMenu() const { return m_nVersionMenu; }

protected:
    uint32_t m_nVersionMenu = 706;
    int32_t m_nValeurApresTaille = 0;
    std::vector<std::unique_ptr<COptionMenu>> m_tabOptions;
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
    size_t nOffsetTaille = b.nGetPosition();
    uint32_t nTaille = 0;
    if (v >= 704) ar(nTaille, "size");
    if (v >= 707) ar(o.m_nMot707, "word707");
    if (v >= 708) ar(o.m_nMot708, "word708");
    if constexpr (A::bLecture) {
        o.m_bVisible = o.m_bVisibleInitial;
        if (v >= 704) xFinTailleDeclaree(b, nOffsetTaille, nTaille);
    } else {
        if (v >= 704) b.PatchU32(nOffsetTaille, static_cast<uint32_t>(b.nGetPosition() - nOffsetTaille));
    }
}

// Menu record: version (700 to 800), from 705 a declared size (and above
// 705 one more word), the menu's own option record, then its options, each
// behind a kind word (non-zero: a sub-menu).
template <class A>
void serialise(A& ar, CMenu& m) {
    CEnregistrement<A> rec(ar, m.m_nVersionMenu, {700, 800, 705}, "Menu");
    if (rec.nVersion() > 705) ar(m.m_nValeurApresTaille, "value");
    serialise(ar, static_cast<COptionMenu&>(m));
    uint32_t n = static_cast<uint32_t>(m.m_tabOptions.size());
    ar(n, "options");
    if constexpr (A::bLecture) {
        m.m_tabOptions.clear();
        for (uint32_t i = 0; i < n; ++i) {
            int32_t nGenre;
            ar(nGenre, "kind");
            std::unique_ptr<COptionMenu> p;
            if (nGenre != 0) {
                auto sm = std::make_unique<CMenu>();
                serialise(ar, *sm);
                p = std::move(sm);
            } else {
                p = std::make_unique<COptionMenu>();
                serialise(ar, *p);
            }
            p->SetParent(&m);
            m.m_tabOptions.push_back(std::move(p));
        }
    } else {
        for (auto& p : m.m_tabOptions) {
            int32_t nGenre = p->pclCastToMenu() ? 1 : 0;
            ar(nGenre);
            if (CMenu* sm = p->pclCastToMenu()) serialise(ar, *sm);
            else serialise(ar, *p);
        }
    }
    rec.Fin();
}
