// Window functions of the language: opening and closing windows, their
// states, names and geometry.
#include "base/Export.h"
#include "base/Texte.h"
#include "frame/CComposanteOBJ.h"
#include "frame/CExe.h"
#include "frame/Glue.h"
#include "windows/CFenPrincipale.h"
#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include "controls/core/CChamp.h"
#include <cwchar>

IVM* CComposanteOBJ::piGetVM() const {
    if (IVM* p = piGetVMAppel()) return p;
    return gpclExe ? gpclExe->piGetVM() : nullptr;
}

CFenPrincipale* CComposanteOBJ::pclGetFenPrincipaleOwner() const {
    CObjetAPCodeOBJ* o = gpclExe ? gpclExe->pclGetObjetCourant() : nullptr;
    return o ? o->vpclGetFenPrincipale() : nullptr;
}

CFenPrincipale* CComposanteOBJ::pclGetFenPrincipaleFromName(const wchar_t* pszNom) const {
    CFenPrincipale* pclCourante = pclGetFenPrincipaleOwner();
    if (!pszNom || !*pszNom) return pclCourante ? pclCourante : (gpclExe ? gpclExe->pclGetFenActive() : nullptr);
    if (pclCourante && (kvtexte::bEgalSansCasse(pclCourante->sGetNom(), pszNom) ||
                        kvtexte::bEgalSansCasse(pclCourante->sGetAlias(), pszNom)))
        return pclCourante;
    if (!gpclExe) return nullptr;
    if (CFenPrincipale* f = gpclExe->pclGetFenetreFromNameAndComponent(pszNom, piGetVMAppel())) return f;
    return gpclExe->pclGetFenetreFromName(pszNom);
}

namespace {
void* Slot(const CKSLibrary* p) { return p->pstGetContexteAppel() ? p->pstGetContexteAppel()->pSlot : nullptr; }
} // namespace

namespace {

CAny Ouvre(CComposanteOBJ& compo, const wchar_t* pszNom) {
    CAny clRes;
    IVM* vm = compo.piGetVM();
    if (vm && !vm->bOuvertureFenetrePermise()) {
        compo._RaiseErrorNum(10453, {});
        return clRes;
    }
    if (!gpclExe || gpclExe->bFermeToutEnCours()) return clRes;
    CComposanteOBJ::s_pclGetApplicationQT();
    CFenPrincipale* pclParent = compo.pclGetFenPrincipaleOwner();
    if (pclParent && (!pclParent->bEstVivante() || !gpclExe->bEstFenOuverte(pclParent))) pclParent = nullptr;
    try {
        CFenPrincipale* f = CFenPrincipale::_xpclOuvreInternal(pszNom, eOUVRE_MODAL, pclParent, vm, Slot(&compo));
        if (f->bEstVivante() && gpclExe->bEstFenOuverte(f)) {
            f->bDoModal();
        } else {
            // Closed while opening: a modal sister left without a loop of its
            // own takes the loop over; otherwise nobody owns it.
            CFenPrincipale* pclSoeur = nullptr;
            std::vector<CFenPrincipale*> tab;
            gpclExe->GetListeFenetreOuverte(tab);
            for (CFenPrincipale* s : tab)
                if (s != f && s->bEstModale() && !s->bBoucleEnCours() && s->pclGetParent() == f->pclGetParent()) {
                    pclSoeur = s;
                    break;
                }
            if (pclSoeur) {
                gpclExe->ChangeMessageLoop(pclSoeur, f, pclSoeur);
                pclSoeur->bDoModal();
            } else if (gpclExe->pclGetProprietaireBoucle() == f) {
                gpclExe->SetProprietaireBoucle(nullptr);
            }
        }
        clRes = f->ValeurRetour();
        f->nRelease();
    } catch (const CXError& e) {
        compo.RaiseError(&e);
    }
    return clRes;
}

void OuvreFille(CComposanteOBJ& compo, const wchar_t* pszNom) {
    if (!gpclExe || gpclExe->bFermeToutEnCours()) return;
    CComposanteOBJ::s_pclGetApplicationQT();
    CFenPrincipale* pclParent = gpclExe->hGetHandleParentSuivant() ? nullptr : compo.pclGetFenPrincipaleOwner();
    try {
        CFenPrincipale* f = CFenPrincipale::_xpclOuvreInternal(pszNom, eOUVRE_FILLE, pclParent, compo.piGetVM(), Slot(&compo));
        f->nRelease();  // the window list keeps the window while it is open
    } catch (const CXError& e) {
        compo.RaiseError(&e);
    }
}

void OuvreSoeur(CComposanteOBJ& compo, const wchar_t* pszNom) {
    if (!gpclExe || gpclExe->bFermeToutEnCours()) return;
    CFenPrincipale* pclCourante = compo.pclGetFenPrincipaleOwner();
    if (!pclCourante) {
        compo._RaiseErrorNum(10034, {});
        return;
    }
    try {
        CFenPrincipale* f = CFenPrincipale::_xpclOuvreInternal(pszNom, 0, pclCourante->pclGetParent(), compo.piGetVM(), Slot(&compo));
        f->nRelease();
    } catch (const CXError& e) {
        compo.RaiseError(&e);
    }
}

bool Ferme(CComposanteOBJ& compo, const wchar_t* pszNom) {
    CFenPrincipale* f = kvglue::pclFenetreOuverte(compo, pszNom);
    if (!f) return false;
    IVM* vm = compo.piGetVM();
    void* pSlot = Slot(&compo);
    if (vm && vm->nGetNbParametresSupp(pSlot) > 0) {
        std::wstring s;
        int nType = 0;
        if (vm->bGetParametreSupp(pSlot, 0, s, nType)) {
            CAny cl;
            cl.SetPSTRX(s.c_str());
            if (nType != KS_PSTRW && nType != KS_DSTRW && nType != 0) cl.__nCastTo(nType, 0, 0);
            f->ValeurRetour() = cl;
        }
    }
    CFenPrincipale::Ferme(f, 0);
    return true;
}

void Utilise(CComposanteOBJ& compo, const wchar_t* pszNom) {
    if (!gpclExe) return;
    IVM* vm = compo.piGetVM();
    STNomFenetre st;
    CFenPrincipale::_sParseNomFenetre(pszNom, st, vm && (vm->nGetModeGestionErreur() & 1));
    // The window must exist in the project before anything is replaced.
    STRechercheDescription req;
    req.pszNom = st.sNom.c_str();
    if (!vm || vm->nChercheDescription(&req) != 0) {
        compo._RaiseErrorNum(10019, {st.sNom, req.szMessage});
        return;
    }
    std::vector<CFenPrincipale*> tab;
    gpclExe->GetListeFenetreOuverte(tab);
    for (CFenPrincipale* f : tab) {
        f->AddRef();
        f->DetruitSansCodeFermeture();
        f->nRelease();
    }
    gpclExe->SetFenActive(nullptr);
    try {
        CFenPrincipale* f = CFenPrincipale::_xpclOuvreInternal(pszNom, 0, nullptr, vm, Slot(&compo));
        f->nRelease();
    } catch (const CXError& e) {
        compo.RaiseError(&e);
    }
}



CAny OuvrePopUpPosition(CComposanteOBJ& compo, const wchar_t* pszNom, int nPosition) {
    CAny clRes;
    if (nPosition < -1 || nPosition > 4) {
        compo._RaiseErrorNum(10051, {std::to_wstring(nPosition), L"3"});
        return clRes;
    }
    CObjetAPCodeOBJ* pclObjet = gpclExe ? gpclExe->pclGetObjetCourant() : nullptr;
    CChamp* pclAppelant = pclObjet ? pclObjet->pclCastToChamp() : nullptr;
    if (nPosition >= 1 && (!pclAppelant || !pclAppelant->pGetWidget())) {
        compo._RaiseErrorNum(10009, {L"3"});
        return clRes;
    }
    if (!gpclExe || gpclExe->bFermeToutEnCours()) return clRes;
    CComposanteOBJ::s_pclGetApplicationQT();
    try {
        CFenPrincipale* f = CFenPrincipale::_xpclOuvreInternal(pszNom, 0, compo.pclGetFenPrincipaleOwner(), compo.piGetVM(), Slot(&compo));
        if (QWidget* w = f->pGetWidget()) {
            QPoint p = QCursor::pos();
            if (nPosition >= 1) {
                QWidget* c = pclAppelant->pGetWidget();
                QRect r(c->mapToGlobal(QPoint(0, 0)), c->size());
                switch (nPosition) {
                case 1: p = r.bottomLeft() + QPoint(0, 1); break;
                case 2: p = r.topLeft() - QPoint(0, w->height()); break;
                case 3: p = r.topRight() + QPoint(1, 0); break;
                case 4: p = r.topLeft() - QPoint(w->width(), 0); break;
                }
            }
            if (nPosition >= 0) w->move(p);
            if (f->bEstVivante() && gpclExe->bEstFenOuverte(f)) f->ExecBoucleModale();
        }
        clRes = f->ValeurRetour();
        f->nRelease();
    } catch (const CXError& e) {
        compo.RaiseError(&e);
    }
    return clRes;
}

CAny OuvrePopUp(CComposanteOBJ& compo, const wchar_t* pszNom) { return OuvrePopUpPosition(compo, pszNom, -1); }


// ---------------------------------------------------------------- states

// States FenEtat answers besides the window's own.
constexpr int nETAT_FERMEE = 8;
constexpr int nETAT_HORS_ECRAN = 16;

bool bEstOuverte(CFenPrincipale* f) { return f && gpclExe && f->bEstVivante() && gpclExe->bEstFenOuverte(f); }
} // namespace

CFenPrincipale* kvglue::pclFenetreOuverte(CComposanteOBJ& compo, const wchar_t* pszNom) {
    CFenPrincipale* f = compo.pclGetFenPrincipaleFromName(pszNom);
    if (bEstOuverte(f)) return f;
    compo._RaiseErrorNum(10001, {pszNom ? pszNom : L""});
    return nullptr;
}

namespace {

int nEtatFenetre(CFenPrincipale* f) {
    if (!bEstOuverte(f)) return nETAT_FERMEE;
    if (f->bEstHorsEcran()) return nETAT_HORS_ECRAN;
    return f->eGetState();
}

bool _bChangeEtatFenetre(CComposanteOBJ& compo, CFenPrincipale* f, int nEtat) {
    if (nEtat == nETAT_FERMEE) {
        CFenPrincipale::Ferme(f, 0);
        return true;
    }
    if (nEtat != eETAT_ACTIF && nEtat != eETAT_LECTURE_SEULE && nEtat != eETAT_INVISIBLE && nEtat != eETAT_GRISE) {
        compo._RaiseErrorNum(10059, {std::to_wstring(nEtat)});
        return false;
    }
    if (nEtat == eETAT_ACTIF) f->RameneHorsEcran();
    f->SetState(static_cast<FEN_ETAT>(nEtat));
    if (QWidget* w = f->pGetWidget()) {
        w->setEnabled(nEtat != eETAT_GRISE);
        // Hidden through QWidget: a dialog hidden through its own setVisible
        // would end the modal loop that Ouvre runs for it.
        if (nEtat == eETAT_INVISIBLE)
            w->QWidget::setVisible(false);
        else
            w->show();
    }
    // The controls show the window's state (greyed, read-only).
    for (int i = 0; i < f->Conteneur().nGetNbChamp(); ++i) f->Conteneur().pclGetChamp(i)->vMAJVue();
    return true;
}

int FenEtat(CComposanteOBJ& compo) { return nEtatFenetre(compo.pclGetFenPrincipaleOwner()); }

int FenEtat(CComposanteOBJ& compo, const wchar_t* pszNom) { return nEtatFenetre(compo.pclGetFenPrincipaleFromName(pszNom)); }

int FenChangeEtat(CComposanteOBJ& compo, int nEtat) {
    CFenPrincipale* f = compo.pclGetFenPrincipaleOwner();
    int nAvant = nEtatFenetre(f);
    if (nAvant == nETAT_FERMEE) return nAvant;
    f->AddRef();
    _bChangeEtatFenetre(compo, f, nEtat);
    f->nRelease();
    return nAvant;
}

int FenChangeEtat(CComposanteOBJ& compo, const wchar_t* pszNom, int nEtat) {
    CFenPrincipale* f = kvglue::pclFenetreOuverte(compo, pszNom);
    if (!f) return 0;
    int nAvant = nEtatFenetre(f);
    f->AddRef();
    _bChangeEtatFenetre(compo, f, nEtat);
    f->nRelease();
    return nAvant;
}

// ---------------------------------------------------------------- names

CTString FenEnCours(CComposanteOBJ& compo) {
    CFenPrincipale* f = gpclExe ? gpclExe->pclGetFenActive() : nullptr;
    return bEstOuverte(f) ? CTString(kvtexte::Majuscules(f->sGetAliasOuNom())) : CTString();
}

CTString FenEnExecution(CComposanteOBJ& compo) {
    CFenPrincipale* f = compo.pclGetFenPrincipaleOwner();
    return f ? f->sGetAliasOuNom() : CTString();
}

CTString FenPrecedente(CComposanteOBJ& compo) {
    if (!gpclExe) return CTString();
    const CTString& s = gpclExe->sGetNomFenPrecedente();
    return !s.empty() && gpclExe->pclGetFenetreFromName(s.c_str()) ? s : CTString();
}

int NombreFenetre(CComposanteOBJ& compo) { return gpclExe ? gpclExe->nGetNbFenetres() : 0; }

bool FenInitialisee(CComposanteOBJ& compo) {
    CFenPrincipale* f = compo.pclGetFenPrincipaleOwner();
    return f && f->bInitialisee();
}

// ---------------------------------------------------------------- size and geometry

int FenTaille(CComposanteOBJ& compo, const wchar_t* pszNom) {
    kvglue::pclFenetreOuverte(compo, pszNom);
    return 0;
}

int FenTaille(CComposanteOBJ& compo, const wchar_t* pszNom, int nMode) {
    CFenPrincipale* f = kvglue::pclFenetreOuverte(compo, pszNom);
    if (!f) return 0;
    if (nMode < 0 || nMode > 2) {
        compo._RaiseErrorNum(10051, {std::to_wstring(nMode), L"2"});
        return 0;
    }
    if (QWidget* w = f->pGetWidget()) {
        switch (nMode) {
        case 0: w->showNormal(); break;
        case 1: w->showMaximized(); break;
        case 2: w->showMinimized(); break;
        }
    }
    return 0;
}

void FenRepeint(CComposanteOBJ& compo, const wchar_t* pszNom) {
    CFenPrincipale* f = compo.pclGetFenPrincipaleFromName(pszNom);
    if (!bEstOuverte(f)) {
        if (pszNom && *pszNom) compo._RaiseErrorNum(10001, {pszNom});
        return;
    }
    QWidget* w = f->pGetWidget();
    if (!w || !w->isVisible()) return;
    f->AddRef();
    f->SetRepeintEnCours(true);
    w->repaint();
    f->SetRepeintEnCours(false);
    f->nRelease();
}

int FenGeometrie(CComposanteOBJ& compo, const wchar_t* pszNom, CComposanteOBJ::eGEOMETRIE_FEN eQuoi) {
    CFenPrincipale* f = kvglue::pclFenetreOuverte(compo, pszNom);
    if (!f) return 0;
    QWidget* w = f->pGetWidget();
    QWidget* c = f->pGetWidgetClient();
    // Before the widget exists, the window's own rectangle stands for both.
    QRect rExt = w ? w->frameGeometry() : f->rectGet();
    QRect rInt = c ? QRect(c->mapToGlobal(QPoint(0, 0)), c->size()) : f->rectGet();
    switch (eQuoi) {
    case CComposanteOBJ::eEXT_HAUT: return rExt.height();
    case CComposanteOBJ::eEXT_LARG: return rExt.width();
    case CComposanteOBJ::eEXT_POSX: return rExt.x();
    case CComposanteOBJ::eEXT_POSY: return rExt.y();
    case CComposanteOBJ::eINT_HAUT: return rInt.height();
    case CComposanteOBJ::eINT_LARG: return rInt.width();
    case CComposanteOBJ::eINT_POSX: return rInt.x();
    case CComposanteOBJ::eINT_POSY: return rInt.y();
    }
    return 0;
}

// ---------------------------------------------------------------- values, title, alias

// RAZ() empties the value of every control of the current window (an edit
// shows nothing); RAZ(true) gives each its description's initial value
// instead. The values are the program's: no modification code runs.
void _RemetValeurs(CComposanteOBJ& compo, CFenPrincipale* f, bool bValeurInitiale) {
    f->AddRef();
    for (CChamp* c : f->Conteneur().vpclEnumereChamp_ParOrdreDeCreation())
        if (!kvglue::Protege(compo, false, [&] { return c->vbResetValue(bValeurInitiale); })) break;
    f->nRelease();
}

void RAZ(CComposanteOBJ& compo, bool bValeurInitiale) {
    if (CFenPrincipale* f = kvglue::pclFenetreOuverte(compo, L"")) _RemetValeurs(compo, f, bValeurInitiale);
}

// InitFenetre([name]): the window starts again as it was opened: every
// control takes its initial value, then the controls' initialisation codes
// and the window's initialisation code run again (the declarations, which
// hold the window's parameters, do not).
void InitFenetre(CComposanteOBJ& compo, const wchar_t* pszNom) {
    CFenPrincipale* f = kvglue::pclFenetreOuverte(compo, pszNom);
    if (!f) return;
    f->AddRef();
    _RemetValeurs(compo, f, true);
    for (CChamp* c : f->Conteneur().vpclEnumereChamp_ParOrdreDeCreation()) {
        if (!bEstOuverte(f)) break;
        if (c->bEstVivant() && !c->pclGetChampParent()) c->vExecutePCodeInit();
    }
    if (bEstOuverte(f)) f->ExecutePCode(eTRT_INIT_FENETRE);
    f->nRelease();
}

// TitreEnCours(): the title of the current window (the running code's,
// else the active one), empty when there is none; TitreEnCours(text)
// changes it.
CTString TitreEnCours(CComposanteOBJ& compo) {
    CFenPrincipale* f = compo.pclGetFenPrincipaleFromName(L"");
    return bEstOuverte(f) ? f->Description().sTitre : CTString();
}

void TitreEnCours(CComposanteOBJ& compo, const wchar_t* pszTitre) {
    CFenPrincipale* f = kvglue::pclFenetreOuverte(compo, L"");
    if (!f) return;
    CAny cl;
    cl.SetPSTRX(pszTitre);
    kvglue::Protege(compo, false, [&] {
        f->xSet_PropTitre(cl);
        return true;
    });
}

// FenChangeAlias(name, alias): the window is known by the new alias from
// now on (an empty alias: by its name again). An alias that already names
// another open window is refused (error 10009): that window could no
// longer be found by it.
void FenChangeAlias(CComposanteOBJ& compo, const wchar_t* pszNom, const wchar_t* pszAlias) {
    CFenPrincipale* f = kvglue::pclFenetreOuverte(compo, pszNom);
    if (!f) return;
    CTString sAlias(std::wstring(kvtexte::sSansEspaces(pszAlias ? pszAlias : L"")));
    if (!sAlias.empty() && sAlias.find_first_of(L"=.,[]") != CTString::npos) {
        compo._RaiseErrorNum(10009, {L"2"});
        return;
    }
    if (!sAlias.empty() && gpclExe) {
        CFenPrincipale* pclAutre = gpclExe->pclGetFenetreFromName(sAlias.c_str());
        if (pclAutre && pclAutre != f) {
            compo._RaiseErrorNum(10009, {L"2"});
            return;
        }
    }
    f->SetAlias(sAlias.c_str());
}

// ---------------------------------------------------------------- background image and screen

// FenImageFond(name, image[, mode]): the image shown behind the window's
// controls; mode 0 (the default) at the top-left corner as it is, 1
// repeated, 2 stretched to the window, 3 centred. An empty name removes
// it; a relative file name is taken from the project's folder, and a file
// that holds no image shows nothing, as in an image control.
void FenImageFond(CComposanteOBJ& compo, const wchar_t* pszNom, const wchar_t* pszImage, int nMode) {
    CFenPrincipale* f = kvglue::pclFenetreOuverte(compo, pszNom);
    if (!f) return;
    if (nMode < IVueFenetre::eIMAGE_FOND_NORMAL || nMode > IVueFenetre::eIMAGE_FOND_CENTRE) {
        compo._RaiseErrorNum(10051, {std::to_wstring(nMode), L"3"});
        return;
    }
    f->Description().sImageFond.Set(pszImage);
    f->AfficheImageFond(nMode);
}

// The screen a window is on: the one under its centre (the primary screen
// when there is no window or it is off every screen). bUtile: the part
// windows may use, without the desktop's panels.
QRect _rectEcran(CFenPrincipale* f, bool bUtile) {
    CComposanteOBJ::s_pclGetApplicationQT();
    QScreen* e = nullptr;
    if (QWidget* w = f ? f->pGetWidget() : nullptr) e = QGuiApplication::screenAt(w->frameGeometry().center());
    if (!e) e = QGuiApplication::primaryScreen();
    if (!e) return QRect();
    return bUtile ? e->availableGeometry() : e->geometry();
}

// FenRectangleEcran([name]) and FenTailleUtile([name]): the rectangle of
// the screen the window is on, and of its usable part, as the text
// "x<TAB>y<TAB>width<TAB>height" (the separator of the language's
// multi-value texts). An empty name: the current window, else the primary
// screen.
CTString FenRectangleEcran(CComposanteOBJ& compo, const wchar_t* pszNom, bool bUtile) {
    CFenPrincipale* f = nullptr;
    if (pszNom && *pszNom) {
        f = kvglue::pclFenetreOuverte(compo, pszNom);
        if (!f) return CTString();
    } else {
        f = compo.pclGetFenPrincipaleFromName(L"");
        if (!bEstOuverte(f)) f = nullptr;
    }
    QRect r = _rectEcran(f, bUtile);
    return kvtexte::Format(L"%d\t%d\t%d\t%d", r.x(), r.y(), r.width(), r.height());
}

// ---------------------------------------------------------------- layout variants

// The layout variants of a description are not read by this module: no
// window has any, and both functions answer error 10665 for an open window.
int FenAgencementEnCours(CComposanteOBJ& compo) {
    if (!kvglue::pclFenetreOuverte(compo, L"")) return 0;
    compo._RaiseErrorNum(10665, {});
    return 0;
}

void FenChangeAgencement(CComposanteOBJ& compo, int) {
    if (!kvglue::pclFenetreOuverte(compo, L"")) return;
    compo._RaiseErrorNum(10665, {});
}

} // namespace

CFenPrincipale* CComposanteOBJ::xpclChargeFen(const wchar_t* pszNom, CFenPrincipale* pclParent) {
    STNomFenetre st;
    CFenPrincipale::_sParseNomFenetre(pszNom, st, false);
    return CFenPrincipale::_xpclsChargeFen(piGetVM(), st, pclParent, 0);
}

// ---------------------------------------------------------------- glue

using namespace kvglue;

KV_GLUE(Ouvre, 0) {
    CAny cl = Ouvre(*pclCompo, NomFenetre(tabArgs, 0));
    ResultatAny(pAppel, cl);
}

KV_GLUE(OuvreFille, 0) { OuvreFille(*pclCompo, NomFenetre(tabArgs, 0)); }

KV_GLUE(OuvreSoeur, 0) { OuvreSoeur(*pclCompo, NomFenetre(tabArgs, 0)); }

KV_GLUE(Ferme, 0) { Ferme(*pclCompo, L""); }

KV_GLUE(Ferme, 1) { Ferme(*pclCompo, NomFenetre(tabArgs, 0)); }

KV_GLUE(Utilise, 0) { Utilise(*pclCompo, NomFenetre(tabArgs, 0)); }

KV_GLUE(OuvrePopUp, 0) { ResultatAny(pAppel, OuvrePopUp(*pclCompo, NomFenetre(tabArgs, 0))); }

KV_GLUE(OuvrePopUpPosition, 0) { ResultatAny(pAppel, OuvrePopUpPosition(*pclCompo, NomFenetre(tabArgs, 0), Entier(tabArgs, 1))); }

// FenEtat: (), (name), (state), (name, state), (name, text).
KV_GLUE(FenEtat, 0) { ResultatEntier(pAppel, FenEtat(*pclCompo)); }

KV_GLUE(FenEtat, 1) { ResultatEntier(pAppel, FenEtat(*pclCompo, NomFenetre(tabArgs, 0))); }

KV_GLUE(FenEtat, 2) { ResultatEntier(pAppel, FenChangeEtat(*pclCompo, Entier(tabArgs, 0))); }

KV_GLUE(FenEtat, 3) { ResultatEntier(pAppel, FenChangeEtat(*pclCompo, NomFenetre(tabArgs, 0), Entier(tabArgs, 1))); }

// A text made of the single character 1 or 2 is the state 256 or 512 (which
// the setter refuses); any other text answers -1.
KV_GLUE(FenEtat, 4) {
    const wchar_t* psz = Chaine(tabArgs, 1);
    int n = -1;
    if ((psz[0] == 0x01 || psz[0] == 0x02) && psz[1] == 0)
        n = FenChangeEtat(*pclCompo, NomFenetre(tabArgs, 0), psz[0] == 0x01 ? 256 : 512);
    ResultatEntier(pAppel, n);
}

KV_GLUE(FenEnCours, 0) { ResultatChaine(pAppel, FenEnCours(*pclCompo)); }

KV_GLUE(FenEnExecution, 0) { ResultatChaine(pAppel, FenEnExecution(*pclCompo)); }

KV_GLUE(FenPrecedente, 0) { ResultatChaine(pAppel, FenPrecedente(*pclCompo)); }

KV_GLUE(FenTaille, 0) { ResultatEntier(pAppel, FenTaille(*pclCompo, NomFenetre(tabArgs, 0))); }

KV_GLUE(FenTaille, 1) { ResultatEntier(pAppel, FenTaille(*pclCompo, NomFenetre(tabArgs, 0), Entier(tabArgs, 1))); }

KV_GLUE(FenRepeint, 0) { FenRepeint(*pclCompo, NomFenetre(tabArgs, 0)); }

// The geometry functions: syntax 0 the current window, syntax 1 by name.
#define KV_GLUE_GEOMETRIE(NOM, QUOI)                                                                            \
    KV_GLUE(NOM, 0) { ResultatEntier(pAppel, FenGeometrie(*pclCompo, L"", CComposanteOBJ::QUOI)); }                  \
    KV_GLUE(NOM, 1) { ResultatEntier(pAppel, FenGeometrie(*pclCompo, NomFenetre(tabArgs, 0), CComposanteOBJ::QUOI)); }
KV_GLUE_GEOMETRIE(FenExtHaut, eEXT_HAUT)
KV_GLUE_GEOMETRIE(FenExtLarg, eEXT_LARG)
KV_GLUE_GEOMETRIE(FenExtPosX, eEXT_POSX)
KV_GLUE_GEOMETRIE(FenExtPosY, eEXT_POSY)
KV_GLUE_GEOMETRIE(FenIntHaut, eINT_HAUT)
KV_GLUE_GEOMETRIE(FenIntLarg, eINT_LARG)
KV_GLUE_GEOMETRIE(FenIntPosX, eINT_POSX)
KV_GLUE_GEOMETRIE(FenIntPosY, eINT_POSY)
#undef KV_GLUE_GEOMETRIE

KV_GLUE(NombreFenetre, 0) { ResultatEntier(pAppel, NombreFenetre(*pclCompo)); }

KV_GLUE(FenInitialisee, 0) { ResultatBooleen(pAppel, FenInitialisee(*pclCompo)); }

KV_GLUE(RAZ, 0) { RAZ(*pclCompo, false); }

KV_GLUE(RAZ, 1) { RAZ(*pclCompo, Entier(tabArgs, 0) != 0); }

KV_GLUE(InitFenetre, 0) { InitFenetre(*pclCompo, L""); }

KV_GLUE(InitFenetre, 1) { InitFenetre(*pclCompo, NomFenetre(tabArgs, 0)); }

KV_GLUE(TitreEnCours, 0) { ResultatChaine(pAppel, TitreEnCours(*pclCompo)); }

KV_GLUE(TitreEnCours, 1) { TitreEnCours(*pclCompo, Chaine(tabArgs, 0)); }

KV_GLUE(FenChangeAlias, 0) { FenChangeAlias(*pclCompo, NomFenetre(tabArgs, 0), Chaine(tabArgs, 1)); }

KV_GLUE(FenImageFond, 0) { FenImageFond(*pclCompo, NomFenetre(tabArgs, 0), Chaine(tabArgs, 1), IVueFenetre::eIMAGE_FOND_NORMAL); }

KV_GLUE(FenImageFond, 1) { FenImageFond(*pclCompo, NomFenetre(tabArgs, 0), Chaine(tabArgs, 1), Entier(tabArgs, 2)); }

KV_GLUE(FenRectangleEcran, 0) { ResultatChaine(pAppel, FenRectangleEcran(*pclCompo, L"", false)); }

KV_GLUE(FenRectangleEcran, 1) { ResultatChaine(pAppel, FenRectangleEcran(*pclCompo, NomFenetre(tabArgs, 0), false)); }

KV_GLUE(FenTailleUtile, 0) { ResultatChaine(pAppel, FenRectangleEcran(*pclCompo, L"", true)); }

KV_GLUE(FenTailleUtile, 1) { ResultatChaine(pAppel, FenRectangleEcran(*pclCompo, NomFenetre(tabArgs, 0), true)); }

KV_GLUE(FenAgencementEnCours, 0) { ResultatEntier(pAppel, FenAgencementEnCours(*pclCompo)); }

KV_GLUE(FenChangeAgencement, 0) { FenChangeAgencement(*pclCompo, Entier(tabArgs, 0)); }
