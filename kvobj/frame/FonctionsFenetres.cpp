// Window functions of the language: opening and closing windows.
#include "base/Export.h"
#include "base/Texte.h"
#include "frame/CComposanteOBJ.h"
#include "frame/CExe.h"
#include "windows/CFenPrincipale.h"
#include <QApplication>
#include <QCursor>
#include <QDialog>
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

CAny CComposanteOBJ::Ouvre(const wchar_t* pszNom) {
    CAny clRes;
    IVM* vm = piGetVM();
    if (vm && !vm->bOuvertureFenetrePermise()) {
        _RaiseErrorNum(10453, {});
        return clRes;
    }
    if (!gpclExe || gpclExe->bFermeToutEnCours()) return clRes;
    s_pclGetApplicationQT();
    CFenPrincipale* pclParent = pclGetFenPrincipaleOwner();
    if (pclParent && (!pclParent->bEstVivante() || !gpclExe->bEstFenOuverte(pclParent))) pclParent = nullptr;
    try {
        CFenPrincipale* f = CFenPrincipale::_xpclOuvreInternal(pszNom, eOUVRE_MODAL, pclParent, vm, Slot(this));
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
        RaiseError(&e);
    }
    return clRes;
}

void CComposanteOBJ::OuvreFille(const wchar_t* pszNom) {
    if (!gpclExe || gpclExe->bFermeToutEnCours()) return;
    s_pclGetApplicationQT();
    CFenPrincipale* pclParent = gpclExe->hGetHandleParentSuivant() ? nullptr : pclGetFenPrincipaleOwner();
    try {
        CFenPrincipale* f = CFenPrincipale::_xpclOuvreInternal(pszNom, eOUVRE_FILLE, pclParent, piGetVM(), Slot(this));
        f->nRelease();  // the window list keeps the window while it is open
    } catch (const CXError& e) {
        RaiseError(&e);
    }
}

void CComposanteOBJ::OuvreSoeur(const wchar_t* pszNom) {
    if (!gpclExe || gpclExe->bFermeToutEnCours()) return;
    CFenPrincipale* pclCourante = pclGetFenPrincipaleOwner();
    if (!pclCourante) {
        _RaiseErrorNum(10034, {});
        return;
    }
    try {
        CFenPrincipale* f = CFenPrincipale::_xpclOuvreInternal(pszNom, 0, pclCourante->pclGetParent(), piGetVM(), Slot(this));
        f->nRelease();
    } catch (const CXError& e) {
        RaiseError(&e);
    }
}

bool CComposanteOBJ::Ferme(const wchar_t* pszNom) {
    CFenPrincipale* f = pclGetFenPrincipaleFromName(pszNom);
    if (!f || !gpclExe || !gpclExe->bEstFenOuverte(f)) {
        _RaiseErrorNum(10001, {pszNom ? pszNom : L""});
        return false;
    }
    IVM* vm = piGetVM();
    void* pSlot = Slot(this);
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

void CComposanteOBJ::Utilise(const wchar_t* pszNom) {
    if (!gpclExe) return;
    IVM* vm = piGetVM();
    STNomFenetre st;
    CFenPrincipale::_sParseNomFenetre(pszNom, st, vm && (vm->nGetModeGestionErreur() & 1));
    // The window must exist in the project before anything is replaced.
    STRechercheDescription req;
    req.pszNom = st.sNom.c_str();
    if (!vm || vm->nChercheDescription(&req) != 0) {
        _RaiseErrorNum(10019, {st.sNom, req.szMessage});
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
        CFenPrincipale* f = CFenPrincipale::_xpclOuvreInternal(pszNom, 0, nullptr, vm, Slot(this));
        f->nRelease();
    } catch (const CXError& e) {
        RaiseError(&e);
    }
}

CAny CComposanteOBJ::OuvrePopUp(const wchar_t* pszNom) { return OuvrePopUpPosition(pszNom, -1); }

CAny CComposanteOBJ::OuvrePopUpPosition(const wchar_t* pszNom, int nPosition) {
    CAny clRes;
    if (nPosition < -1 || nPosition > 4) {
        _RaiseErrorNum(10051, {std::to_wstring(nPosition), L"3"});
        return clRes;
    }
    CObjetAPCodeOBJ* pclObjet = gpclExe ? gpclExe->pclGetObjetCourant() : nullptr;
    CChamp* pclAppelant = pclObjet ? pclObjet->pclCastToChamp() : nullptr;
    if (nPosition >= 1 && (!pclAppelant || !pclAppelant->pGetWidget())) {
        _RaiseErrorNum(10009, {L"3"});
        return clRes;
    }
    if (!gpclExe || gpclExe->bFermeToutEnCours()) return clRes;
    s_pclGetApplicationQT();
    try {
        CFenPrincipale* f = CFenPrincipale::_xpclOuvreInternal(pszNom, 0, pclGetFenPrincipaleOwner(), piGetVM(), Slot(this));
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
            if (auto* d = qobject_cast<QDialog*>(w)) {
                d->setModal(true);
                if (f->bEstVivante() && gpclExe->bEstFenOuverte(f)) d->exec();
            }
        }
        clRes = f->ValeurRetour();
        f->nRelease();
    } catch (const CXError& e) {
        RaiseError(&e);
    }
    return clRes;
}

CFenPrincipale* CComposanteOBJ::xpclChargeFen(const wchar_t* pszNom, CFenPrincipale* pclParent) {
    STNomFenetre st;
    CFenPrincipale::_sParseNomFenetre(pszNom, st, false);
    return CFenPrincipale::_xpclsChargeFen(piGetVM(), st, pclParent, 0);
}

// ---------------------------------------------------------------- glue

namespace {
// A window name is handed as a reference-counted string: the argument holds
// the address of its character pointer.
const wchar_t* NomFenetre(void** tabArgs, int i) {
    auto pp = static_cast<const wchar_t* const*>(tabArgs ? tabArgs[i] : nullptr);
    return pp && *pp ? *pp : L"";
}

void ResultatAny(STKSAppel* pAppel, const CAny& cl) {
    if (!pAppel || !pAppel->pVM) return;
    int n;
    int64_t n8;
    double d;
    if (cl.nGetType() == KS_BOOL) {
        int b = 0;
        cl.nGetINT(b);
        pAppel->pVM->SetResultat(pAppel->pSlot, &b, KS_BOOL);
    } else if (cl.nGetINT(n) == 0) {
        pAppel->pVM->SetResultat(pAppel->pSlot, &n, KS_I4);
    } else if (cl.nGetINT_64(n8) == 0) {
        pAppel->pVM->SetResultat(pAppel->pSlot, &n8, KS_I8);
    } else if (cl.nGetREAL(d) == 0) {
        pAppel->pVM->SetResultat(pAppel->pSlot, &d, KS_R8);
    } else {
        CTString s;
        if (cl.nGetType() != 0) cl.__nCastToString(s);
        const wchar_t* psz = s.c_str();
        pAppel->pVM->SetResultat(pAppel->pSlot, &psz, KS_PSTRW);
    }
}

struct Contexte {
    Contexte(STKSAppel* p, CComposanteOBJ* c) : m_c(c) { m_ancien = c->ChangeContexteAppel(p); }
    ~Contexte() { m_c->ChangeContexteAppel(m_ancien); }
    CComposanteOBJ* m_c;
    STKSAppel* m_ancien;
};
} // namespace

KV_EXPORT int KSL_Ouvre_0(STKSAppel* pAppel, CComposanteOBJ* pclCompo, void** tabArgs) {
    Contexte ctx(pAppel, pclCompo);
    CAny cl = pclCompo->Ouvre(NomFenetre(tabArgs, 0));
    ResultatAny(pAppel, cl);
    return 0;
}

KV_EXPORT int KSL_OuvreFille_0(STKSAppel* pAppel, CComposanteOBJ* pclCompo, void** tabArgs) {
    Contexte ctx(pAppel, pclCompo);
    pclCompo->OuvreFille(NomFenetre(tabArgs, 0));
    return 0;
}

KV_EXPORT int KSL_OuvreSoeur_0(STKSAppel* pAppel, CComposanteOBJ* pclCompo, void** tabArgs) {
    Contexte ctx(pAppel, pclCompo);
    pclCompo->OuvreSoeur(NomFenetre(tabArgs, 0));
    return 0;
}

KV_EXPORT int KSL_Ferme_0(STKSAppel* pAppel, CComposanteOBJ* pclCompo, void**) {
    Contexte ctx(pAppel, pclCompo);
    pclCompo->Ferme(L"");
    return 0;
}

KV_EXPORT int KSL_Ferme_1(STKSAppel* pAppel, CComposanteOBJ* pclCompo, void** tabArgs) {
    Contexte ctx(pAppel, pclCompo);
    pclCompo->Ferme(NomFenetre(tabArgs, 0));
    return 0;
}

KV_EXPORT int KSL_Utilise_0(STKSAppel* pAppel, CComposanteOBJ* pclCompo, void** tabArgs) {
    Contexte ctx(pAppel, pclCompo);
    pclCompo->Utilise(NomFenetre(tabArgs, 0));
    return 0;
}

KV_EXPORT int KSL_OuvrePopUp_0(STKSAppel* pAppel, CComposanteOBJ* pclCompo, void** tabArgs) {
    Contexte ctx(pAppel, pclCompo);
    ResultatAny(pAppel, pclCompo->OuvrePopUp(NomFenetre(tabArgs, 0)));
    return 0;
}

KV_EXPORT int KSL_OuvrePopUpPosition_0(STKSAppel* pAppel, CComposanteOBJ* pclCompo, void** tabArgs) {
    Contexte ctx(pAppel, pclCompo);
    int nPosition = tabArgs && tabArgs[1] ? *static_cast<const int*>(tabArgs[1]) : 0;
    ResultatAny(pAppel, pclCompo->OuvrePopUpPosition(NomFenetre(tabArgs, 0), nPosition));
    return 0;
}
