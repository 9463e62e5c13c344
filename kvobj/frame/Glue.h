// What every glue function of the function table does: record the call
// context, read the declared arguments from the argument array, and hand the
// result to the virtual machine with the signature's result code.
#pragma once
#include "base/CTString.h"
#include "controls/core/CAny.h"
#include "controls/core/CObjetAPCode.h"
#include "frame/CComposanteOBJ.h"
#include "kv/tables.h"
#include "kv/types.h"

class CFenPrincipale;

namespace kvglue {

// The call context of the component for the duration of one glue call.
struct Contexte {
    Contexte(STKSAppel* p, CComposanteOBJ* c) : m_c(c) { m_ancien = c->ChangeContexteAppel(p); }
    ~Contexte() { m_c->ChangeContexteAppel(m_ancien); }
    Contexte(const Contexte&) = delete;
    Contexte& operator=(const Contexte&) = delete;
    CComposanteOBJ* m_c;
    STKSAppel* m_ancien;
};

// Integers and booleans (types 1 and 8): the argument holds their address.
inline int Entier(void** tabArgs, int i) {
    auto p = static_cast<const int*>(tabArgs ? tabArgs[i] : nullptr);
    return p ? *p : 0;
}

// Strings (116, 122, 127, 131) and window names (39): the argument holds the
// address of the character pointer. A missing text is the empty text.
inline const wchar_t* Chaine(void** tabArgs, int i) {
    auto pp = static_cast<const wchar_t* const*>(tabArgs ? tabArgs[i] : nullptr);
    return pp && *pp ? *pp : L"";
}
inline const wchar_t* NomFenetre(void** tabArgs, int i) { return Chaine(tabArgs, i); }

// Object references (45 and 57): the argument holds the address of the
// object's pointer, which may be null.
inline CObjetAPCodeOBJ* Objet(void** tabArgs, int i) {
    auto pp = static_cast<CObjetAPCodeOBJ* const*>(tabArgs ? tabArgs[i] : nullptr);
    return pp ? *pp : nullptr;
}

// Results, with the result code of the syntax's signature.
inline void ResultatEntier(STKSAppel* pAppel, int n) {
    if (pAppel && pAppel->pVM) pAppel->pVM->SetResultat(pAppel->pSlot, &n, eSIG_ENTIER);
}
inline void ResultatBooleen(STKSAppel* pAppel, bool b) {
    int n = b ? 1 : 0;
    if (pAppel && pAppel->pVM) pAppel->pVM->SetResultat(pAppel->pSlot, &n, eSIG_BOOLEEN);
}
// The virtual machine copies the text before the call returns.
inline void ResultatChaine(STKSAppel* pAppel, const CTString& s) {
    const wchar_t* psz = s.c_str();
    if (pAppel && pAppel->pVM) pAppel->pVM->SetResultat(pAppel->pSlot, &psz, eSIG_CHAINE_RESULTAT);
}
inline void ResultatObjet(STKSAppel* pAppel, CObjetAPCodeOBJ* pclObjet) {
    void* p = pclObjet;
    if (pAppel && pAppel->pVM) pAppel->pVM->SetResultat(pAppel->pSlot, &p, eSIG_OBJET_RESULTAT);
}

// A typed value as the closest scalar or text the virtual machine knows.
inline void ResultatAny(STKSAppel* pAppel, const CAny& cl) {
    if (!pAppel || !pAppel->pVM) return;
    int n;
    int64_t n8;
    double d;
    if (cl.nGetType() == KS_VIDE || cl.bEstNull()) {
        // No value (a window closed without one, a null): the typed value
        // itself, which the virtual machine reads as its null.
        pAppel->pVM->SetResultat(pAppel->pSlot, &cl, eSIG_ANY);
    } else if (cl.nGetType() == KS_BOOL) {
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

// The guards the language functions share.

// The control an object argument designates; null with the error raised:
// 10416 for an object that is not a control, 10009 (argument n) for none.
inline CChamp* pclChampArgument(CComposanteOBJ& compo, CObjetAPCodeOBJ* pclObjet, int nArgument = 1) {
    if (CChamp* c = pclObjet ? pclObjet->pclCastToChamp() : nullptr) return c;
    if (pclObjet) compo._RaiseErrorTypeChampIDS(pclObjet, 0);
    else compo._RaiseErrorNum(10009, {std::to_wstring(nArgument)});
    return nullptr;
}

// The window a name designates when it is open (an empty name: the running
// code's window, else the active one); null with error 10001 otherwise.
CFenPrincipale* pclFenetreOuverte(CComposanteOBJ& compo, const wchar_t* pszNom);

// Runs a function's work; an error it throws is raised on the component's
// error object (never let out to the host) and the default is returned.
template <class R, class F>
R Protege(CComposanteOBJ& compo, R rSiErreur, F&& f) {
    try {
        return f();
    } catch (const CXError& e) {
        compo.RaiseError(&e);
        return rSiErreur;
    }
}

} // namespace kvglue

// Defines the exported glue KSL_<name>_<syntax>. The body runs with the call
// context recorded in the component, and sees pAppel, pclCompo and tabArgs:
//
//   KV_GLUE(ChampVisible, 0) { ChampVisible(*pclCompo, kvglue::Objet(tabArgs, 0), 0, 0); }
#define KV_GLUE(nom, syntaxe)                                                                        \
    static void Glue_##nom##_##syntaxe(STKSAppel* pAppel, CComposanteOBJ* pclCompo, void** tabArgs); \
    KV_EXPORT int KSL_##nom##_##syntaxe(STKSAppel* pAppel, CComposanteOBJ* pclCompo, void** tabArgs) { \
        kvglue::Contexte ctx(pAppel, pclCompo);                                                      \
        Glue_##nom##_##syntaxe(pAppel, pclCompo, tabArgs);                                           \
        return 0;                                                                                    \
    }                                                                                                \
    static void Glue_##nom##_##syntaxe(STKSAppel* pAppel, CComposanteOBJ* pclCompo, void** tabArgs)
