#include "frame/Proprietes.h"
#include "base/Texte.h"
#include "controls/core/CAny.h"
#include "controls/core/Famille.h"
#include "frame/ModuleInfo.h"
#include "frame/TablesComposante.h"
#include <algorithm>
#include <array>
#include <iterator>
#include <span>
#include <vector>

// ---------------------------------------------------------------- default accessors

#define KV_PROP(n, id, nom, en, type) \
    void CObjetAPCodeOBJ::xGet_Prop##id(CAny*) { throw CXPropNomImplemente(); } \
    void CObjetAPCodeOBJ::xSet_Prop##id(const CAny&) { throw CXPropNomImplemente(); }
#define KV_PROP_NONCE(n)
#include "frame/Proprietes.def"
#undef KV_PROP
#undef KV_PROP_NONCE
void CObjetAPCodeOBJ::xGet_Prop_NonCE(CAny*) { throw CXPropNomImplemente(); }
void CObjetAPCodeOBJ::xSet_Prop_NonCE(const CAny&) { throw CXPropNomImplemente(); }

// ---------------------------------------------------------------- tables

namespace {
struct STInfoProp {
    const wchar_t* pszNom;
    const wchar_t* pszAnglais;
    int nType;
    bool bExiste;
};

constexpr std::array<STInfoProp, NB_PROPRIETES> InfosProp() {
    std::array<STInfoProp, NB_PROPRIETES> t{};
#define KV_PROP(n, id, nom, en, type) t[n] = {L"" nom, L"" en, type, true};
#define KV_PROP_NONCE(n) t[n] = {L"", L"", 0, false};
#include "frame/Proprietes.def"
#undef KV_PROP
#undef KV_PROP_NONCE
    return t;
}
constexpr auto gtabInfos = InfosProp();
} // namespace

const STPropriete gTabProp[NB_PROPRIETES] = {
#define KV_PROP(n, id, nom, en, type) {&CObjetAPCodeOBJ::xGet_Prop##id, &CObjetAPCodeOBJ::xSet_Prop##id, n},
#define KV_PROP_NONCE(n) {&CObjetAPCodeOBJ::xGet_Prop_NonCE, &CObjetAPCodeOBJ::xSet_Prop_NonCE, n},
#include "frame/Proprietes.def"
#undef KV_PROP
#undef KV_PROP_NONCE
};

bool bProprieteExiste(int p) { return p >= 0 && p < NB_PROPRIETES && gtabInfos[p].bExiste; }

int nColonneLangue(int nLangue) { return nLangue == 9 ? 1 : nLangue == 4 ? 2 : 0; }

const wchar_t* pszGetNomPropriete(int p, int nColonne) {
    if (p < 0 || p >= NB_PROPRIETES) return L"";
    // The internal names are the language's own.
    return nColonne == 1 ? gtabInfos[p].pszAnglais : gtabInfos[p].pszNom;
}

int eGetNumPropFromName(const wchar_t* pszNom) {
    if (!pszNom || !*pszNom) return -1;
    for (int p = 0; p < NB_PROPRIETES; ++p) {
        if (!gtabInfos[p].bExiste) continue;
        if (kvtexte::bEgalSansCasse(gtabInfos[p].pszNom, pszNom) || kvtexte::bEgalSansCasse(gtabInfos[p].pszAnglais, pszNom))
            return p;
    }
    return -1;
}

int wGetTypeKSPropriete(int p) { return p >= 0 && p < NB_PROPRIETES ? gtabInfos[p].nType : 0; }

// ---------------------------------------------------------------- availability

namespace {
// Properties every control has, and windows'; each family adds its own
// (controls/core/Famille.h).
constexpr ePROPRIETE PROPS_CHAMP[] = {
    PROP_Nom, PROP_Type, PROP_Message, PROP_Libelle, PROP_MenuContextuel, PROP_Note, PROP_Colonne, PROP_Ligne,
    PROP_Hauteur, PROP_Largeur, PROP_Couleur, PROP_CouleurFond, PROP_Etat, PROP_EtatInitial, PROP_XInitial,
    PROP_YInitial, PROP_LargeurInitiale, PROP_HauteurInitiale, PROP_ValeurInitiale, PROP_Plan, PROP_TitreNote,
    PROP_Visible, PROP_VisibleInitial, PROP_TabOrder, PROP_ZOrder, PROP_Groupe, PROP_TauxAncrageDroite,
    PROP_TauxAncrageLargeur, PROP_TauxAncrageBas, PROP_TauxAncrageHauteur, PROP_NomComplet, PROP_Grise,
    PROP_EnSaisie, PROP_LargeurLibelle, PROP_ToucheRaccourci, PROP_MemoriserLaValeur,
};
constexpr ePROPRIETE PROPS_FENETRE[] = {
    PROP_Nom, PROP_Type, PROP_Colonne, PROP_Ligne, PROP_Hauteur, PROP_Largeur, PROP_Etat, PROP_EtatInitial,
    PROP_XInitial, PROP_YInitial, PROP_LargeurInitiale, PROP_HauteurInitiale, PROP_Titre, PROP_Alias,
    PROP_LargeurMin, PROP_HauteurMin, PROP_LargeurMax, PROP_HauteurMax, PROP_Visible, PROP_NomComplet,
};

struct STMatrice {
    std::vector<uint8_t> octets = std::vector<uint8_t>(static_cast<size_t>(NB_ID_OBJET) * NB_PROPRIETES, 0);
    void Ajoute(int k, std::span<const ePROPRIETE> tab) {
        for (ePROPRIETE p : tab) octets[static_cast<size_t>(p) * NB_ID_OBJET + k] = 0x0F;
    }
};

const STMatrice& Matrice() {
    static const STMatrice m = [] {
        STMatrice x;
        x.Ajoute(ID_FENETRE, PROPS_FENETRE);
        for (const STFamilleChamp* f : Familles())
            for (eID_OBJET g : f->tabGenres) {
                x.Ajoute(g, PROPS_CHAMP);
                x.Ajoute(g, f->tabProprietes);
            }
        return x;
    }();
    return m;
}

const std::vector<STProprieteDesc>& Descripteurs() {
    static const std::vector<STProprieteDesc> t = [] {
        std::vector<STProprieteDesc> v(NB_PROPRIETES);
        for (int p = 0; p < NB_PROPRIETES; ++p) {
            v[p].nNumero = static_cast<uint32_t>(p);
            v[p].nFlags = gtabInfos[p].bExiste ? 0 : 1;
            v[p].wTypeLangage = static_cast<uint16_t>(gtabInfos[p].nType);
        }
        return v;
    }();
    return t;
}
} // namespace

STTable<STProprieteDesc> TableProprietes() { return {Descripteurs().data(), NB_PROPRIETES}; }
STTable<uint8_t> MatriceProprietes() { return {Matrice().octets.data(), static_cast<uint32_t>(Matrice().octets.size())}; }

bool bPropAvailableEx(int k, int p, bool a, bool b, int nMode) {
    if (k < 0 || k >= NB_ID_OBJET || p < 0 || p >= NB_PROPRIETES) return false;
    const STProprieteDesc& d = Descripteurs()[p];
    if (d.nFlags & 1) return false;
    if ((d.nFlags & 0x200) && nMode != 0) return false;
    int nBit = a && b ? 0 : !a && b ? 1 : a && !b ? 2 : 3;
    return (Matrice().octets[static_cast<size_t>(p) * NB_ID_OBJET + k] >> nBit) & 1;
}

// ---------------------------------------------------------------- values

int nEntierPropriete(const CAny& cl, int nPropriete) {
    int n = 0;
    if (cl.nGetINT(n) == 0) return n;
    CAny c(cl);
    if (c.__nCastTo(KS_I4, 0, 0) == 0 && c.nGetINT(n) == 0) return n;
    CTString s;
    cl.__nCastToString(s);
    xThrowErreur(10002, s, pszGetNomPropriete(nPropriete, 0));
}

bool bBooleenPropriete(const CAny& cl, int nPropriete) { return nEntierPropriete(cl, nPropriete) != 0; }

int nEntierOuZero(const CAny& cl) {
    int n = 0;
    if (cl.nGetINT(n) == 0) return n;
    CAny c(cl);
    if (c.__nCastTo(KS_I4, 0, 0) == 0 && c.nGetINT(n) == 0) return n;
    return 0;
}

bool bBooleenOuFaux(const CAny& cl) {
    bool b = false;
    if (cl.nGetBOOL(b) == 0) return b;
    int n = 0;
    if (cl.nGetINT(n) == 0) return n != 0;
    CAny c(cl);
    if (c.__nCastTo(KS_BOOL) == 0 && c.nGetBOOL(b) == 0) return b;
    return false;
}

CTString sTextePropriete(const CAny& cl) {
    CTString s;
    if (cl.nGetType() != 0) cl.__nCastToString(s);
    return s;
}

void xLectureSeule(int nPropriete) { xThrowErreur(10072, pszGetNomPropriete(nPropriete, 0)); }

// ---------------------------------------------------------------- access

bool bGetProprieteObjet(CObjetAPCodeOBJ* o, int p, CAny* pclValeur, CXError* pErreur) {
    if (!o || p < 0 || p >= NB_PROPRIETES) {
        if (pErreur) *pErreur = ErreurKVOBJ(10017, {std::to_wstring(p), o ? o->sGetNom() : L"", o ? o->pszGetNomType() : L""});
        return false;
    }
    try {
        (o->*gTabProp[p].pfnGet)(pclValeur);
    } catch (const CXPropNomImplemente&) {
        if (pErreur) {
            if (p == PROP_Valeur) *pErreur = ErreurKVOBJ(10021, {o->sGetNom(), o->pszGetNomType()});
            else *pErreur = ErreurKVOBJ(10017, {pszGetNomPropriete(p, 0), o->sGetNom(), o->pszGetNomType()});
        }
        return false;
    } catch (const CXError& e) {
        if (pErreur) *pErreur = e;
        return false;
    }
    if (p == PROP_Valeur && pclValeur) pclValeur->SetFlags(pclValeur->wGetFlags() & ~0x0400);
    return true;
}

bool bSetProprieteObjet(CObjetAPCodeOBJ* o, int p, const CAny& cl, CXError* pErreur) {
    if (!o || p < 0 || p >= NB_PROPRIETES) {
        if (pErreur) *pErreur = ErreurKVOBJ(10017, {std::to_wstring(p), o ? o->sGetNom() : L"", o ? o->pszGetNomType() : L""});
        return false;
    }
    static constexpr int tabLectureSeule[] = {PROP_Nom,     PROP_Occurrence,     PROP_EtatInitial,      PROP_ValeurAffichee,
                                              PROP_Memoire, PROP_ContenuInitial, PROP_AnimationInitial, PROP_TypeRemplissage};
    bool bRefuse = std::find(std::begin(tabLectureSeule), std::end(tabLectureSeule), p) != std::end(tabLectureSeule);
    if (p == PROP_Multiligne && !o->vbAccepteChangementMultiligne()) bRefuse = true;
    if (p == PROP_Vertical) {
        int k = o->nGetIDObjet();
        if (k != ID_TABLE && k != ID_ZONE_REPETEE && k != 37 && k != 80 && k != 86) bRefuse = true;
    }
    if (bRefuse) {
        if (pErreur) *pErreur = ErreurKVOBJ(10072, {pszGetNomPropriete(p, 0)});
        return false;
    }
    try {
        (o->*gTabProp[p].pfnSet)(cl);
    } catch (const CXPropNomImplemente&) {
        if (pErreur) {
            if (p == PROP_Valeur) *pErreur = ErreurKVOBJ(10020, {o->sGetNom(), o->pszGetNomType()});
            else *pErreur = ErreurKVOBJ(10017, {pszGetNomPropriete(p, 0), o->sGetNom(), o->pszGetNomType()});
        }
        return false;
    } catch (const CXError& e) {
        if (pErreur) *pErreur = e;
        return false;
    }
    return true;
}
