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
#include "controls/edit/CMasqueNumerique.h"
#include <QColor>
#include <algorithm>
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

// ---------------------------------------------------------------- first control, names

// ChampPremier([window]): the name of the control that takes the focus first
// in the window (the first of the tab order that can take it: a tab stop,
// shown and enabled), qualified as the current control's name; empty when
// none can.
CTString ChampPremier(CComposanteOBJ& compo, const wchar_t* pszFenetre) {
    CFenPrincipale* f = nullptr;
    if (pszFenetre && *pszFenetre) {
        f = kvglue::pclFenetreOuverte(compo, pszFenetre);
    } else {
        f = compo._pclGetFenCourante();
        if (f && !f->bEstVivante()) f = nullptr;
    }
    if (!f) return CTString();
    for (CChamp* c : f->Conteneur().vpclEnumereChamp_ParTabOrder())
        if (c->vbTabStop()) return compo._GetNomKSChampEnCours(c);
    return CTString();
}

// ChampSansEspaceFenetre(name): the name of the control a (qualified) name
// designates, without the name of its window: "FEN.SUPER.EDT" gives
// "SUPER.EDT", "FEN.EDT" and "EDT" give "EDT". Empty when the name
// designates no control.
CTString ChampSansEspaceFenetre(CComposanteOBJ& compo, const wchar_t* pszNom) {
    CObjetAPCodeOBJ* o = pszNom && *pszNom ? compo.pclResoutNom(pszNom) : nullptr;
    CChamp* c = o ? o->pclCastToChamp() : nullptr;
    if (!c || !c->bEstVivant()) return CTString();
    CTString s = c->GetNomComplet();
    CFenPrincipale* f = c->vpclGetFenPrincipale();
    if (f) {
        for (const CTString& sFen : {f->sGetAliasOuNom(), f->sGetNom()}) {
            if (s.size() > sFen.size() && s[sFen.size()] == L'.' && kvtexte::bEgalSansCasse(s.substr(0, sFen.size()), sFen))
                return s.substr(sFen.size() + 1);
        }
    }
    return s;
}

// ParentObjet(object): what holds the object: for a control, the control
// it belongs to (a supercontrol, a tab control), else its window; for a
// window, the window it was opened from as a child or sister (a null
// reference for a window without a parent).
CObjetAPCodeOBJ* ParentObjet(CComposanteOBJ& compo, CObjetAPCodeOBJ* pclObjet) {
    if (!pclObjet) {
        compo._RaiseErrorNum(10009, {L"1"});
        return nullptr;
    }
    if (CFenPrincipale* f = pclObjet->vpclCastToFenPrincipale()) return f->pclGetParent();
    CChamp* c = pclObjet->pclCastToChamp();
    if (!c) {
        compo._RaiseErrorTypeChampIDS(pclObjet, 0);
        return nullptr;
    }
    if (CChamp* p = c->pclGetChampParent()) return p;
    if (CConteneurChamp* cont = c->pclGetConteneur())
        if (CChamp* p = cont->pclGetChampProprietaire()) return p;
    return c->vpclGetFenPrincipale();
}

// ---------------------------------------------------------------- error mark, selection colour, features

// ChampErreur(control, message): marks the control as in error, the message
// shown beside it and kept as its tool tip; an empty message takes the mark
// away.
void ChampErreur(CComposanteOBJ& compo, CObjetAPCodeOBJ* pclObjet, const wchar_t* pszMessage) {
    if (CChamp* c = kvglue::pclChampArgument(compo, pclObjet)) c->SetMessageErreur(pszMessage);
}

// CouleurSelection(control): the colour of the control's selected text and
// items (nCOULEUR_AUTO: the platform's); CouleurSelection(control, colour)
// changes it and answers the colour it had.
int CouleurSelection(CComposanteOBJ& compo, CObjetAPCodeOBJ* pclObjet, bool bChange, int nCouleur) {
    CChamp* c = kvglue::pclChampArgument(compo, pclObjet);
    if (!c) return 0;
    auto nAvant = static_cast<int>(c->nGetCouleurSelection());
    if (bChange) c->SetCouleurSelection(static_cast<uint32_t>(nCouleur));
    return nAvant;
}

// DesactiveFAA(object, feature): switches off automatic feature number
// 0 to 63 of a window or a control for the rest of its life.
void DesactiveFAA(CComposanteOBJ& compo, CObjetAPCodeOBJ* pclObjet, int nFonctionnalite) {
    if (!pclObjet) {
        compo._RaiseErrorNum(10009, {L"1"});
        return;
    }
    CFenCommun* f = pclObjet->vpclGetFenCommun();
    if (!f) {
        compo._RaiseErrorTypeChampIDS(pclObjet, 0);
        return;
    }
    if (nFonctionnalite < 0 || nFonctionnalite > 63) {
        compo._RaiseErrorNum(10051, {std::to_wstring(nFonctionnalite), L"2"});
        return;
    }
    f->DesactiveFAA(nFonctionnalite);
}

// ChangeSeparateur(kind, text): the separator that numbers are shown and
// typed with, for the whole application: kind 1 the decimal separator (its
// first character; it cannot be empty), kind 2 the thousands separator (its
// first character; empty: none). Numbers shown from now on use it, whatever
// their masks say.
constexpr int nSEPARATEUR_DECIMAL = 1;
constexpr int nSEPARATEUR_MILLIER = 2;

void ChangeSeparateur(CComposanteOBJ& compo, int nGenre, const wchar_t* pszSeparateur) {
    CTString s(pszSeparateur);
    if (nGenre != nSEPARATEUR_DECIMAL && nGenre != nSEPARATEUR_MILLIER) {
        compo._RaiseErrorNum(10051, {std::to_wstring(nGenre), L"1"});
        return;
    }
    if (nGenre == nSEPARATEUR_DECIMAL && s.empty()) {
        compo._RaiseErrorNum(10009, {L"2"});
        return;
    }
    CMasqueNumerique::SetInternationnalParam(
        nGenre == nSEPARATEUR_DECIMAL ? CMasqueNumerique::eIP_SEPARATEUR_DECIMAL : CMasqueNumerique::eIP_SEPARATEUR_MILLIER, s, true);
    if (gpclExe) {
        wchar_t cMillier = gpclExe->cGetSeparateurMillier(), cDecimal = gpclExe->cGetSeparateurDecimal();
        if (nGenre == nSEPARATEUR_DECIMAL) cDecimal = s[0];
        else cMillier = s.empty() ? 0 : s[0];
        gpclExe->SetSeparateurs(cMillier, cDecimal);
    }
}

// ---------------------------------------------------------------- colours and identifiers

// DonneCouleur(index[, mode]): a colour that goes with the others for
// series number index (1-based; -1 the next number of the application's
// series): the palettes' colours first, then the same hues lighter and
// darker. Mode 1 takes the second palette; mode 2 the second palette's
// hues, pale.
int DonneCouleur(int nIndice, int nMode) {
    static constexpr uint32_t tabBase[11] = {0x69BFFF, 0xC79DFF, 0xF89DD7, 0xFFA3B2, 0xE8AF67, 0xE6C365,
                                             0xCBD75E, 0x71E388, 0x33E4B0, 0x2BEBD8, 0x40D4FF};
    static constexpr uint32_t tabSeconde[11] = {0x2DBF8E, 0xE3BC6A, 0xCC8433, 0x8F8F8F, 0xFB5DAB, 0xF0298D,
                                                0x66B3FF, 0x2F90D6, 0x40D4FF, 0xB164D7, 0xAD33CC};
    if (nIndice == -1 && gpclExe) nIndice = gpclExe->nSerieCouleurSuivante();
    const int i = std::max(0, nIndice - 1);
    const uint32_t* tab = nMode == 1 || nMode == 2 ? tabSeconde : tabBase;
    if (nMode != 2 && i < 11) return static_cast<int>(tab[i]);
    const uint32_t nCouleur = tab[i % 11];
    const int k = (i / 11) % 11;
    if (k == 0 && nMode != 2) return static_cast<int>(nCouleur);
    // 0x00BBGGRR, lightness in percent.
    QColor cl(nCouleur & 0xFF, (nCouleur >> 8) & 0xFF, (nCouleur >> 16) & 0xFF);
    float h = 0, sat = 0, l = 0;
    cl.getHslF(&h, &sat, &l);
    double dL = l * 100.0;
    if (k == 1 || k == 2) dL += 4.5 * k;
    else if (k > 2) dL -= 4.5 * (k - 2);
    if (nMode == 2) dL = std::clamp(dL * 1.5, 80.0, 99.0);
    else dL = std::clamp(dL, 10.0, 92.0);
    QColor res = QColor::fromHslF(h, sat, static_cast<float>(dL / 100.0)).toRgb();
    return res.red() | res.green() << 8 | res.blue() << 16;
}

// DonneIdentifiant(): a number never given before in this run of the
// application (1, 2, 3...).
int DonneIdentifiant() { return gpclExe ? gpclExe->nDonneIdentifiant() : 0; }

// ---------------------------------------------------------------- elements of controls

// Occurrence(object): a window's open instances (under any alias); a
// control's elements (rows of a list, table or looper). IndiceEnCours() and
// IndiceEnCours(control): the current element (of the control whose code
// runs, or of the one given); IndiceSuivant(control): the element about to
// become current. A control without elements raises error 10416.
enum class eELEMENTS { OCCURRENCE, EN_COURS, SUIVANT };

int nElements(CComposanteOBJ& compo, CObjetAPCodeOBJ* pclObjet, eELEMENTS e) {
    if (!pclObjet) {
        compo._RaiseErrorNum(10009, {L"1"});
        return 0;
    }
    if (CFenPrincipale* f = pclObjet->vpclCastToFenPrincipale(); f && e == eELEMENTS::OCCURRENCE) {
        int n = 0;
        if (gpclExe)
            gpclExe->DoSurToutesLesFenetres([&](CFenPrincipale* g) {
                if (g->bEstVivante() && kvtexte::bEgalSansCasse(g->sGetNom(), f->sGetNom())) ++n;
            });
        return n;
    }
    CChamp* c = pclObjet->pclCastToChamp();
    int n = -1;
    if (c) n = e == eELEMENTS::OCCURRENCE ? c->vnGetOccurrence() : e == eELEMENTS::EN_COURS ? c->vnGetIndiceEnCours() : c->vnGetIndiceSuivant();
    if (n < 0) {
        compo._RaiseErrorTypeChampIDS(pclObjet, 0);
        return 0;
    }
    return n;
}

int IndiceEnCours(CComposanteOBJ& compo) {
    CObjetAPCodeOBJ* o = gpclExe ? gpclExe->pclGetObjetCourant() : nullptr;
    if (!o) {
        compo._RaiseErrorNum(10034, {});
        return 0;
    }
    return nElements(compo, o, eELEMENTS::EN_COURS);
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

KV_GLUE(ChampPremier, 0) { ResultatChaine(pAppel, ChampPremier(*pclCompo, L"")); }

KV_GLUE(ChampPremier, 1) { ResultatChaine(pAppel, ChampPremier(*pclCompo, NomFenetre(tabArgs, 0))); }

KV_GLUE(ChampSansEspaceFenetre, 0) { ResultatChaine(pAppel, ChampSansEspaceFenetre(*pclCompo, Chaine(tabArgs, 0))); }

KV_GLUE(ParentObjet, 0) { ResultatObjet(pAppel, ParentObjet(*pclCompo, Objet(tabArgs, 0))); }

KV_GLUE(ChampErreur, 0) { ChampErreur(*pclCompo, Objet(tabArgs, 0), Chaine(tabArgs, 1)); }

KV_GLUE(CouleurSelection, 0) { ResultatEntier(pAppel, CouleurSelection(*pclCompo, Objet(tabArgs, 0), false, 0)); }

KV_GLUE(CouleurSelection, 1) { ResultatEntier(pAppel, CouleurSelection(*pclCompo, Objet(tabArgs, 0), true, Entier(tabArgs, 1))); }

KV_GLUE(DesactiveFAA, 0) { DesactiveFAA(*pclCompo, Objet(tabArgs, 0), Entier(tabArgs, 1)); }

KV_GLUE(ChangeSeparateur, 0) { ChangeSeparateur(*pclCompo, Entier(tabArgs, 0), Chaine(tabArgs, 1)); }

KV_GLUE(DonneCouleur, 0) { ResultatEntier(pAppel, DonneCouleur(Entier(tabArgs, 0), 0)); }

KV_GLUE(DonneCouleur, 1) { ResultatEntier(pAppel, DonneCouleur(Entier(tabArgs, 0), Entier(tabArgs, 1))); }

KV_GLUE(DonneIdentifiant, 0) { ResultatEntier(pAppel, DonneIdentifiant()); }

KV_GLUE(Occurrence, 0) { ResultatEntier(pAppel, nElements(*pclCompo, Objet(tabArgs, 0), eELEMENTS::OCCURRENCE)); }

KV_GLUE(IndiceEnCours, 0) { ResultatEntier(pAppel, IndiceEnCours(*pclCompo)); }

KV_GLUE(IndiceEnCours, 1) { ResultatEntier(pAppel, nElements(*pclCompo, Objet(tabArgs, 0), eELEMENTS::EN_COURS)); }

KV_GLUE(IndiceSuivant, 0) { ResultatEntier(pAppel, nElements(*pclCompo, Objet(tabArgs, 0), eELEMENTS::SUIVANT)); }
