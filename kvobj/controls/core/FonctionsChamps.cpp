// Control functions of the language: visibility and state, focus requests,
// the controls around the focus, and controls made, copied and deleted at
// run time.
#include "base/Export.h"
#include "base/Texte.h"
#include "controls/core/CChamp.h"
#include "controls/core/CConteneurChamp.h"
#include "controls/core/CKVBuffer.h"
#include "frame/CComposanteOBJ.h"
#include "frame/CExe.h"
#include "controls/core/Famille.h"
#include "frame/Glue.h"
#include "frame/Proprietes.h"
#include "windows/CFenPrincipale.h"
#include <climits>
#include <cwchar>

namespace {
// Language types that ChampCree turns into a table column or a tab pane.
constexpr int nTYPE_COLONNE = 56;
constexpr int nTYPE_COLONNE_2 = 110;
constexpr int nTYPE_VOLET = 57;

// ChampCloneFenetre without a coordinate: the original's.
constexpr int nPOSITION_ORIGINALE = INT32_MIN;

bool bFenetreVisible(CFenPrincipale* f) {
    IVueFenetre* v = f->pclVueWidget();
    return v ? v->bEstVisible() : f->bVisibleInitial();
}

// A control made at run time gets its widget in its window's client area,
// when the window has its widgets already.
void CreeWidget(CChamp* c) {
    CFenPrincipale* f = c->vpclGetFenPrincipale();
    QWidget* pClient = f ? f->pGetWidgetClient() : nullptr;
    if (!pClient) return;
    if (IVueChamp* v = c->pclGetVueChamp()) {
        v->ChangeParent(pClient);
        c->vMAJVue();
        return;
    }
    c->InitSurOnCreate(pClient);
}

// Splits "A.B.NAME" into "A.B" and "NAME".
void DecoupeDernier(const wchar_t* pszNom, CTString& sConteneur, CTString& sNom) {
    std::wstring s = pszNom ? pszNom : L"";
    size_t n = s.rfind(L'.');
    if (n == std::wstring::npos) {
        sConteneur.clear();
        sNom = s;
    } else {
        sConteneur = s.substr(0, n);
        sNom = s.substr(n + 1);
    }
}
} // namespace

namespace {

// ---------------------------------------------------------------- visibility and state

bool _JoueAnimSurPropriete(CComposanteOBJ& compo, CObjetAPCodeOBJ* pclObjet, int nPropriete, const CAny& clValeur, int, int) {
    if (!pclObjet) {
        compo._RaiseErrorNum(10009, {L"1"});
        return false;
    }
    CXError err;
    if (!bSetProprieteObjet(pclObjet, nPropriete, clValeur, &err)) {
        compo.RaiseError(&err);
        return false;
    }
    return true;
}

void ChampVisible(CComposanteOBJ& compo, CObjetAPCodeOBJ* pclObjet, int nAnim1, int nAnim2) {
    CFenPrincipale* f = pclObjet ? pclObjet->vpclCastToFenPrincipale() : nullptr;
    if (f && bFenetreVisible(f)) return;
    CAny cl;
    cl.SetBOOL(true);
    _JoueAnimSurPropriete(compo, pclObjet, PROP_Visible, cl, nAnim1, nAnim2);
}

void ChampGrise(CComposanteOBJ& compo, CObjetAPCodeOBJ* pclObjet, int nAnim1, int nAnim2) {
    CFenPrincipale* f = pclObjet ? pclObjet->vpclCastToFenPrincipale() : nullptr;
    if (f && f->eGetState() == eETAT_GRISE) return;
    CAny cl;
    cl.SetI4(eETAT_GRISE);
    _JoueAnimSurPropriete(compo, pclObjet, PROP_Etat, cl, nAnim1, nAnim2);
}

void ChampInvisible(CComposanteOBJ& compo, CObjetAPCodeOBJ* pclObjet, int nAnim1, int nAnim2) {
    CFenPrincipale* f = pclObjet ? pclObjet->vpclCastToFenPrincipale() : nullptr;
    if (f && !bFenetreVisible(f)) return;
    CAny cl;
    cl.SetBOOL(false);
    _JoueAnimSurPropriete(compo, pclObjet, PROP_Visible, cl, nAnim1, nAnim2);
}

// ---------------------------------------------------------------- focus

// The object a focus request is for: the one given, else the object whose
// code runs. Null (with error 10063) when it is neither a window nor a control.
CObjetAPCodeOBJ* pclCibleFocus(CComposanteOBJ& compo, CObjetAPCodeOBJ* pclObjet) {
    if (!pclObjet && gpclExe) pclObjet = gpclExe->pclGetObjetCourant();
    if (pclObjet && (pclObjet->pclCastToChamp() || pclObjet->vpclCastToFenPrincipale())) return pclObjet;
    if (pclObjet)
        compo._RaiseErrorNum(10063, {pclObjet->sGetNom(), pclObjet->pszGetNomType()});
    else
        compo._RaiseErrorNum(10063, {L"?", L"object"});
    return nullptr;
}

void DonneFocus(CComposanteOBJ& compo, CObjetAPCodeOBJ* pclObjet) {
    CObjetAPCodeOBJ* o = pclCibleFocus(compo, pclObjet);
    if (o && gpclExe) gpclExe->SetRepriseSaisie(o, 3);
}

void RepriseSaisie(CComposanteOBJ& compo, CObjetAPCodeOBJ* pclObjet) {
    CObjetAPCodeOBJ* o = pclCibleFocus(compo, pclObjet);
    if (!o || !gpclExe) return;
    gpclExe->SetRepriseSaisie(o, 1);
    if (IVM* vm = compo.piGetVM()) vm->StopCode(12);
}

CTString ChampSuivant(CComposanteOBJ& compo) {
    CFenPrincipale* f = compo._pclGetFenCourante();
    CChamp* c = f ? f->pclGetChampSuivant() : nullptr;
    return c ? compo._GetNomKSChampEnCours(c) : CTString();
}

CObjetAPCodeOBJ* ChampPrecedent(CComposanteOBJ& compo, CTString& sNom) {
    sNom.clear();
    CFenPrincipale* f = compo._pclGetFenCourante();
    if (!f) return nullptr;
    // While the focus moves, the control that still has it is the previous one.
    CChamp* c = f->pclGetChampSuivant() ? f->pclGetChampFocus() : f->pclGetChampPrecedent();
    if (!c) return nullptr;
    sNom = compo._GetNomKSChampEnCours(c);
    return c;
}

// ---------------------------------------------------------------- enumeration

CObjetAPCodeOBJ* EnumereChampFenetre(CComposanteOBJ& compo, CObjetAPCodeOBJ* pclObjet, int nIndice, int nOption) {
    if (!pclObjet) {
        compo._RaiseErrorNum(10009, {L"1"});
        return nullptr;
    }
    if (nOption < 0 || nOption > 2) {
        compo._RaiseErrorNum(10051, {std::to_wstring(nOption), L"3"});
        return nullptr;
    }
    CFenPrincipale* f = pclObjet->vpclCastToFenPrincipale();
    // A control holds no controls of its own: its enumeration is empty.
    if (!f) {
        if (!pclObjet->pclCastToChamp()) compo._RaiseErrorTypeChampIDS(pclObjet, 0);
        return nullptr;
    }
    const CConteneurChamp& cont = f->Conteneur();
    std::vector<CChamp*> tab = nOption == 1   ? cont.vpclEnumereChamp_ParTabOrder()
                               : nOption == 2 ? cont.vpclEnumereChamp_ParZOrder()
                                              : cont.vpclEnumereChamp_ParOrdreDeCreation();
    if (nIndice < 1 || nIndice > static_cast<int>(tab.size())) return nullptr;
    return tab[nIndice - 1];
}

// ---------------------------------------------------------------- creation, copy, deletion

CObjetAPCodeOBJ* ChampCree(CComposanteOBJ& compo, const wchar_t* pszNom, int nType, int x, int y, int nLargeur, int nHauteur,
                                           bool bVisible) {
    IVM* vm = compo.piGetVM();
    if (vm && !vm->bOuvertureFenetrePermise()) return nullptr;
    CTString sConteneur, sNom;
    DecoupeDernier(pszNom, sConteneur, sNom);
    if (sNom.empty() || sNom.find_first_of(L"[]") != CTString::npos) {
        compo._RaiseErrorNum(10009, {L"1"});
        return nullptr;
    }
    // The container: the named one, else the current window.
    CObjetAPCodeOBJ* pclConteneur = nullptr;
    if (sConteneur.empty()) {
        pclConteneur = compo._pclGetFenCourante();
        if (!pclConteneur) {
            compo._RaiseErrorNum(10001, {L""});
            return nullptr;
        }
    } else {
        pclConteneur = compo.pclResoutNom(sConteneur.c_str());
        if (!pclConteneur) {
            compo._RaiseErrorNum(10001, {sConteneur});
            return nullptr;
        }
    }
    // Columns go in tables and panes in tab controls; this module has
    // neither kind yet, so the container found cannot take them.
    bool bColonne = nType == nTYPE_COLONNE || nType == nTYPE_COLONNE_2;
    if (bColonne || nType == nTYPE_VOLET) {
        int nAttendu = bColonne ? ID_TABLE : ID_ONGLET;
        if (pclConteneur->nGetIDObjet() != nAttendu) {
            compo._RaiseErrorNum(10010, {pclConteneur->sGetNom()});
            return nullptr;
        }
        compo._RaiseErrorNum(10012, {std::to_wstring(nType)});
        return nullptr;
    }
    CFenPrincipale* f = pclConteneur->vpclCastToFenPrincipale();
    if (!f) {
        compo._RaiseErrorNum(10010, {pclConteneur->sGetNom()});
        return nullptr;
    }
    if (!bEstGenreChamp(nType) || !CConteneurChamp::sbEstIDChampSupportePlatforme(nType)) {
        compo._RaiseErrorNum(10012, {std::to_wstring(nType)});
        return nullptr;
    }
    // Two controls of one window never share a name: the first would no
    // longer be found.
    if (f->Conteneur().pclGetChampFromName(sNom.c_str(), true)) {
        compo._RaiseErrorNum(10009, {L"1"});
        return nullptr;
    }
    return kvglue::Protege(compo, static_cast<CObjetAPCodeOBJ*>(nullptr), [&]() -> CObjetAPCodeOBJ* {
        CChamp* c = f->Conteneur().pclCreeunChampExec(nType, sNom.c_str(), x, y, nLargeur, nHauteur, bVisible);
        CreeWidget(c);
        return c;
    });
}

CObjetAPCodeOBJ* ChampCloneFenetre(CComposanteOBJ& compo, CObjetAPCodeOBJ* pclObjet, const wchar_t* pszNom, int x, int y) {
    CChamp* c = kvglue::pclChampArgument(compo, pclObjet);
    if (!c) return nullptr;
    CConteneurChamp* pclConteneur = c->pclGetConteneur();
    if (!pszNom || !*pszNom || std::wcspbrk(pszNom, L".[]") || !pclConteneur) {
        compo._RaiseErrorNum(10009, {L"2"});
        return nullptr;
    }
    if (pclConteneur->pclGetChampFromName(pszNom, true)) {
        compo._RaiseErrorNum(10009, {L"2"});
        return nullptr;
    }
    return kvglue::Protege(compo, static_cast<CObjetAPCodeOBJ*>(nullptr), [&]() -> CObjetAPCodeOBJ* {
        // The copy reads the original's description, then takes its
        // current geometry, state and visibility.
        CKVBuffer b;
        CEcrivainKV ecrivain(b);
        c->_Serialize(ecrivain);
        std::vector<uint8_t> octets = b.Octets();
        CKVBuffer lu(octets.data(), octets.size());
        auto* pclCopie = xpclCreeChamp(c->dwGetId());
        try {
            CLecteurKV lecteur(lu, c->vdwGetCodePageDeserial());
            pclCopie->_Deserialize(lecteur);
        } catch (...) {
            pclCopie->nRelease();
            throw;
        }
        pclCopie->SetName(pszNom);
        // The copy keeps the original's identifier, so it runs the same
        // event code; it has no identity of its own for persistence.
        pclCopie->SetFlag(1, FLAG1_SANS_IDENTITE, true);
        pclCopie->SetPosition(x != nPOSITION_ORIGINALE ? x : c->nGetPosX(), y != nPOSITION_ORIGINALE ? y : c->nGetPosY());
        pclCopie->SetSize(c->nGetLargeur(), c->nGetHauteur());
        pclCopie->SetState(c->eGetState());
        pclCopie->SetVisible(c->bGetVisible());
        pclCopie->SetZOrder(pclConteneur->nGetNbChamp());
        bool bTabStop = pclCopie->bGetTabStop();
        pclCopie->SetTabStopDirect(false);
        pclCopie->SetTabOrder(-1);
        pclConteneur->AddChamp(pclCopie);
        pclCopie->nRelease();  // the container keeps its own reference
        pclConteneur->EnregistreNom(pclCopie);
        if (bTabStop) pclCopie->SetTabStop(true);  // last in the tab order
        CreeWidget(pclCopie);
        return pclCopie;
    });
}

void ChampSupprimeFenetre(CComposanteOBJ& compo, CObjetAPCodeOBJ* pclObjet) {
    CChamp* c = kvglue::pclChampArgument(compo, pclObjet);
    if (!c) return;
    CConteneurChamp* pclConteneur = c->pclGetConteneur();
    if (!pclConteneur) return;  // already deleted
    c->AddRef();
    // Nothing may keep pointing at the control once it is gone.
    if (CFenPrincipale* f = c->vpclGetFenPrincipale()) f->OublieChamp(c);
    if (gpclExe) gpclExe->OublieRepriseSaisie(c);
    pclConteneur->DelChampRecursif(c);
    c->nRelease();
}

bool ChampExisteFenetre(CComposanteOBJ& compo, const wchar_t* pszNom) {
    if (!pszNom || !*pszNom) return false;
    CObjetAPCodeOBJ* o = compo.pclResoutNom(pszNom);
    if (!o) return false;
    if (CChamp* c = o->pclCastToChamp()) return c->bEstVivant();
    if (CFenPrincipale* f = o->vpclCastToFenPrincipale()) return f->bEstVivante();
    return true;
}

} // namespace

// ---------------------------------------------------------------- glue

using namespace kvglue;

KV_GLUE(ChampVisible, 0) { ChampVisible(*pclCompo, Objet(tabArgs, 0), 0, 0); }

KV_GLUE(ChampVisible, 1) { ChampVisible(*pclCompo, Objet(tabArgs, 0), Entier(tabArgs, 1), Entier(tabArgs, 2)); }

KV_GLUE(ChampGrise, 0) { ChampGrise(*pclCompo, Objet(tabArgs, 0), 0, 0); }

KV_GLUE(ChampGrise, 1) { ChampGrise(*pclCompo, Objet(tabArgs, 0), Entier(tabArgs, 1), Entier(tabArgs, 2)); }

KV_GLUE(ChampInvisible, 0) { ChampInvisible(*pclCompo, Objet(tabArgs, 0), 0, 0); }

KV_GLUE(ChampInvisible, 1) { ChampInvisible(*pclCompo, Objet(tabArgs, 0), Entier(tabArgs, 1), Entier(tabArgs, 2)); }

KV_GLUE(DonneFocus, 0) { DonneFocus(*pclCompo, nullptr); }

KV_GLUE(DonneFocus, 1) { DonneFocus(*pclCompo, Objet(tabArgs, 0)); }

KV_GLUE(RepriseSaisie, 0) { RepriseSaisie(*pclCompo, nullptr); }

KV_GLUE(RepriseSaisie, 1) { RepriseSaisie(*pclCompo, Objet(tabArgs, 0)); }

KV_GLUE(ChampSuivant, 0) { ResultatChaine(pAppel, ChampSuivant(*pclCompo)); }

KV_GLUE(ChampPrecedent, 0) {
    CTString sNom;
    ChampPrecedent(*pclCompo, sNom);
    ResultatChaine(pAppel, sNom);
}

KV_GLUE(EnumereChampFenetre, 0) { ResultatObjet(pAppel, EnumereChampFenetre(*pclCompo, Objet(tabArgs, 0), Entier(tabArgs, 1), 0)); }

KV_GLUE(EnumereChampFenetre, 1) { ResultatObjet(pAppel, EnumereChampFenetre(*pclCompo, Objet(tabArgs, 0), Entier(tabArgs, 1), Entier(tabArgs, 2))); }

KV_GLUE(ChampCree, 0) { ResultatObjet(pAppel, ChampCree(*pclCompo, Chaine(tabArgs, 0), Entier(tabArgs, 1), 0, 0, 0, 0, true)); }

KV_GLUE(ChampCree, 1) {
    ResultatObjet(pAppel, ChampCree(*pclCompo, Chaine(tabArgs, 0), Entier(tabArgs, 1), Entier(tabArgs, 2), Entier(tabArgs, 3),
                                              Entier(tabArgs, 4), Entier(tabArgs, 5), Entier(tabArgs, 6) != 0));
}

KV_GLUE(ChampCloneFenetre, 0) { ResultatObjet(pAppel, ChampCloneFenetre(*pclCompo, Objet(tabArgs, 0), Chaine(tabArgs, 1), nPOSITION_ORIGINALE, nPOSITION_ORIGINALE)); }

KV_GLUE(ChampCloneFenetre, 1) { ResultatObjet(pAppel, ChampCloneFenetre(*pclCompo, Objet(tabArgs, 0), Chaine(tabArgs, 1), Entier(tabArgs, 2), nPOSITION_ORIGINALE)); }

KV_GLUE(ChampCloneFenetre, 2) {
    ResultatObjet(pAppel,
                  ChampCloneFenetre(*pclCompo, Objet(tabArgs, 0), Chaine(tabArgs, 1), Entier(tabArgs, 2), Entier(tabArgs, 3)));
}

KV_GLUE(ChampSupprimeFenetre, 0) { ChampSupprimeFenetre(*pclCompo, Objet(tabArgs, 0)); }

KV_GLUE(ChampExisteFenetre, 0) { ResultatBooleen(pAppel, ChampExisteFenetre(*pclCompo, Chaine(tabArgs, 0))); }
