#include "frame/Proprietes.h"
#include "base/Texte.h"
#include "controls/core/CAny.h"
#include "frame/CObjFactory.h"
#include "frame/ModuleInfo.h"
#include "frame/TablesComposante.h"
#include <algorithm>
#include <array>
#include <iterator>
#include <vector>
#include <mutex>

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
// Properties each class has (the matrix is built from these lists).
constexpr int PROPS_CHAMP[] = {0, 2, 3, 5, 6, 7, 8, 9, 10, 11, 20, 21, 22, 29, 30, 31, 32, 33, 34, 36, 59, 73, 74, 76, 77, 79,
                               92, 93, 94, 95, 136, 211, 212, 257, 264, 265};
constexpr int PROPS_FENETRE[] = {0, 2, 8, 9, 10, 11, 22, 29, 30, 31, 32, 33, 35, 67, 69, 70, 71, 72, 73, 136};
constexpr int PROPS_LIBELLE[] = {1, 40, 41};
constexpr int PROPS_IMAGE[] = {1, 52, 85};
// Edit: Valeur, Curseur, FinCurseur, MasqueSaisie, Taille, Multiligne,
// MotDePasse, BorneMin, BorneMax, TypeSaisie, Ellipse, TexteConseil,
// Unicode, EffacementAutomatique, TexteSelectionne, ValeurAffichee,
// BoutonCalendrier, NullSiVide, CadrageH, CadrageV, RetraitGauche, RetraitDroit.
constexpr int PROPS_SAISIE[] = {1, 16, 17, 23, 28, 39, 40, 41, 43, 46, 56, 57, 61, 125, 149, 153, 155, 159, 160, 168, 266, 268};
constexpr int PROPS_BOUTON[] = {52, 53, 54, 55, 132, 267};

struct STMatrice {
    std::vector<uint8_t> octets = std::vector<uint8_t>(static_cast<size_t>(NB_ID_OBJET) * NB_PROPRIETES, 0);
    void Ajoute(int k, const int* p, size_t n) {
        for (size_t i = 0; i < n; ++i) octets[static_cast<size_t>(p[i]) * NB_ID_OBJET + k] = 0x0F;
    }
};

const STMatrice& Matrice() {
    static const STMatrice m = [] {
        STMatrice x;
        x.Ajoute(1, PROPS_FENETRE, std::size(PROPS_FENETRE));
        for (int k : {2, 3, 4, 8}) x.Ajoute(k, PROPS_CHAMP, std::size(PROPS_CHAMP));
        x.Ajoute(2, PROPS_SAISIE, std::size(PROPS_SAISIE));
        x.Ajoute(3, PROPS_LIBELLE, std::size(PROPS_LIBELLE));
        x.Ajoute(8, PROPS_IMAGE, std::size(PROPS_IMAGE));
        x.Ajoute(4, PROPS_BOUTON, std::size(PROPS_BOUTON));
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
            if (p == 1) *pErreur = ErreurKVOBJ(10021, {o->sGetNom(), o->pszGetNomType()});
            else *pErreur = ErreurKVOBJ(10017, {pszGetNomPropriete(p, 0), o->sGetNom(), o->pszGetNomType()});
        }
        return false;
    } catch (const CXError& e) {
        if (pErreur) *pErreur = e;
        return false;
    }
    if (p == 1 && pclValeur) pclValeur->SetFlags(pclValeur->wGetFlags() & ~0x0400);
    return true;
}

bool bSetProprieteObjet(CObjetAPCodeOBJ* o, int p, const CAny& cl, CXError* pErreur) {
    if (!o || p < 0 || p >= NB_PROPRIETES) {
        if (pErreur) *pErreur = ErreurKVOBJ(10017, {std::to_wstring(p), o ? o->sGetNom() : L"", o ? o->pszGetNomType() : L""});
        return false;
    }
    static constexpr int tabLectureSeule[] = {0, 26, 29, 46, 58, 66, 82, 174};
    bool bRefuse = std::find(std::begin(tabLectureSeule), std::end(tabLectureSeule), p) != std::end(tabLectureSeule);
    if (p == 39 && !o->vbAccepteChangementMultiligne()) bRefuse = true;
    if (p == 60) {
        int k = o->nGetIDObjet();
        if (k != 9 && k != 30 && k != 37 && k != 80 && k != 86) bRefuse = true;
    }
    if (bRefuse) {
        if (pErreur) *pErreur = ErreurKVOBJ(10072, {pszGetNomPropriete(p, 0)});
        return false;
    }
    try {
        (o->*gTabProp[p].pfnSet)(cl);
    } catch (const CXPropNomImplemente&) {
        if (pErreur) {
            if (p == 1) *pErreur = ErreurKVOBJ(10020, {o->sGetNom(), o->pszGetNomType()});
            else *pErreur = ErreurKVOBJ(10017, {pszGetNomPropriete(p, 0), o->sGetNom(), o->pszGetNomType()});
        }
        return false;
    } catch (const CXError& e) {
        if (pErreur) *pErreur = e;
        return false;
    }
    return true;
}
