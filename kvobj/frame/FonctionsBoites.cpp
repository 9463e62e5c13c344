// Message box and dialog functions of the language: Info, Erreur,
// Avertissement, OuiNon, OKAnnuler, Confirmer and their variants, the
// automatic-close delay, TitreSuivant, Dialogue and the input boxes.
//
// A message is the first message argument followed by every further
// argument of the call (each converted to text) on lines of their own,
// joined by CR LF; at most 255 arguments are taken.
//
// Input boxes and Lua: a program in Lua cannot hand a variable by
// reference, so Saisie returns what was entered in its first field (in the
// type of the value given, nil when the box was cancelled), and every
// entered value is also written back into the call's further parameters
// through IVM::bEcritParametreSupp, where a host that keeps variables by
// reference (or a C++ caller) reads them. The declared value of Saisie is
// written back into the value handed to the glue.
#include "base/Export.h"
#include "controls/button/CBouton.h"
#include "frame/BoitesMessage.h"
#include "frame/CComposanteOBJ.h"
#include "frame/CExe.h"
#include "frame/Glue.h"
#include "windows/CFenPrincipale.h"

using namespace kvboites;

namespace {

// The stop asked of the virtual machine after Abandonne.
constexpr int nARRET_ABANDONNE = 2;

void* Slot(const CComposanteOBJ& compo) { return compo.pstGetContexteAppel() ? compo.pstGetContexteAppel()->pSlot : nullptr; }

// Types a further argument can be shown as text in.
bool bConvertibleEnTexte(int nType) {
    switch (nType) {
    case KS_BOOL: case KS_UI1: case KS_UI2: case KS_UI4: case KS_UI8: case KS_I1: case KS_I2: case KS_I4: case KS_I8:
    case KS_CY: case KS_R4: case KS_R8: case KS_DECIMAL: case KS_UIX: case KS_I4BIS: case KS_DSTRW: case KS_CARA:
    case KS_PSTRA: case KS_DSTRA: case KS_DATEW: case KS_TIMEW: case KS_DATETIME: case KS_DUREE: case KS_CARW:
    case KS_PSTRW: case KS_DATEA: case KS_TIMEA:
        return true;
    default:
        return false;
    }
}

// The further arguments as texts (at most nMax); false with error 10009
// (the argument's 1-based position among all arguments) for one that
// cannot be converted.
bool bArgumentsSupp(CComposanteOBJ& compo, int nDeclares, int nMax, std::vector<std::wstring>& tab,
                    std::vector<int>* pTypes = nullptr) {
    IVM* vm = compo.piGetVM();
    void* pSlot = Slot(compo);
    int n = vm && pSlot ? vm->nGetNbParametresSupp(pSlot) : 0;
    n = std::min(n, std::max(0, nMax));
    for (int i = 0; i < n; ++i) {
        std::wstring s;
        int nType = 0;
        if (!vm->bGetParametreSupp(pSlot, i, s, nType) || !bConvertibleEnTexte(nType)) {
            compo._RaiseErrorNum(10009, {std::to_wstring(nDeclares + i + 1)});
            return false;
        }
        tab.push_back(std::move(s));
        if (pTypes) pTypes->push_back(nType);
    }
    return true;
}

// The message: the first argument, then each further one on its own line.
bool bMessage(CComposanteOBJ& compo, const wchar_t* pszPremier, int nDeclares, std::wstring& s) {
    std::vector<std::wstring> tab;
    if (!bArgumentsSupp(compo, nDeclares, nNB_ARGUMENTS_MAX - 1, tab)) return false;
    s = pszPremier ? pszPremier : L"";
    for (const auto& t : tab) s += L"\r\n" + t;
    return true;
}

// The text of the program's last error, as the host gives it.
std::wstring sDerniereErreur(CComposanteOBJ& compo) {
    IVM* vm = compo.piGetVM();
    intptr_t n = vm ? vm->nQuery(eQVM_DERNIERE_ERREUR, 0) : 0;
    return n ? std::wstring(reinterpret_cast<const wchar_t*>(n)) : std::wstring();
}

// Shows a box; an error (the interceptor's) is raised on the component and
// gives 0.
int nBoite(CComposanteOBJ& compo, uint32_t nFlags, std::wstring sMessage, std::wstring sImage = {}) {
    return kvglue::Protege(compo, 0, [&] {
        STDemandeBoite d;
        d.nFlags = nFlags;
        d.sMessage = std::move(sMessage);
        d.sImage = std::move(sImage);
        d.piVM = compo.piGetVM();
        d.pclProprietaire = compo.pclGetFenPrincipaleOwner();
        return nBoiteMessage(d);
    });
}

// A box whose message is the call's arguments; -1000 when an argument was refused.
constexpr int nREFUSE = -1000;
int nBoiteArguments(CComposanteOBJ& compo, uint32_t nFlags, const wchar_t* pszMessage, int nDeclares) {
    std::wstring s;
    if (!bMessage(compo, pszMessage, nDeclares, s)) return nREFUSE;
    return nBoite(compo, nFlags, std::move(s));
}

// A box built by the host from a format and the further arguments.
void BoiteConstruite(CComposanteOBJ& compo, uint32_t nFlags, const wchar_t* pszFormat) {
    std::vector<std::wstring> tab;
    if (!bArgumentsSupp(compo, 1, nNB_ARGUMENTS_MAX - 1, tab)) return;
    IVM* vm = compo.piGetVM();
    std::wstring s = vm ? vm->sConstruitMessage(pszFormat, Slot(compo)) : std::wstring(pszFormat ? pszFormat : L"");
    nBoite(compo, nFlags, std::move(s));
}

// Delays of the language are hundredths of a second.
int nMsDepuisCentiemes(int n) { return n > 0 ? (n > INT32_MAX / 10 ? INT32_MAX : n * 10) : 0; }

int DelaiAvantFermeture(int nCentiemes) {
    if (!gpclExe) return 0;
    int nAvant = gpclExe->nGetDelaiBoites() / 10;
    gpclExe->SetDelaiBoites(nMsDepuisCentiemes(nCentiemes));
    return nAvant;
}

int DelaiAvantFermeture(CComposanteOBJ& compo, const wchar_t* pszFenetre, const wchar_t* pszBouton, int nCentiemes) {
    CFenPrincipale* f = kvglue::pclFenetreOuverte(compo, pszFenetre);
    if (!f) return 0;
    int nAvant = f->nGetDureeFermetureAuto() / 10;
    if (nCentiemes > 0) f->DemarreFermetureAuto(nMsDepuisCentiemes(nCentiemes), pszBouton);
    else f->ArreteFermetureAuto();
    return nAvant;
}

// The window whose questions Dialogue looks in: the running code's, else the active one.
CFenPrincipale* pclFenetreQuestions(CComposanteOBJ& compo) {
    if (CFenPrincipale* f = compo.pclGetFenPrincipaleOwner()) return f;
    return gpclExe ? gpclExe->pclGetFenActive() : nullptr;
}

int Dialogue(CComposanteOBJ& compo, const wchar_t* pszQuestion) {
    std::vector<std::wstring> tab;
    if (!bArgumentsSupp(compo, 1, nNB_ARGUMENTS_MAX - 1, tab)) return 0;
    CFenPrincipale* f = pclFenetreQuestions(compo);
    const CQuestionExec* q = f ? f->Description().questions.pclCherche(pszQuestion) : nullptr;
    if (!q) return 0;
    STQuestionBoite st = QuestionDepuis(*q, tab);
    return kvglue::Protege(compo, 0, [&] {
        STDemandeBoite d;
        d.nFlags = nIconeQuestion(st.nGenre);
        d.pQuestion = &st;
        d.piVM = compo.piGetVM();
        d.pclProprietaire = f;
        int n = nBoiteMessage(d);
        return n < 0 ? 0 : n;
    });
}

// An input box over the given values; the pressed button (1 OK, 2 Cancel,
// 0 or less: not shown), with the entered values in tabSaisies.
int nBoiteSaisie(CComposanteOBJ& compo, const std::wstring& sMessage, std::vector<STSaisieBoite>& tabSaisies) {
    STQuestionBoite st = QuestionSaisie(sMessage, tabSaisies);
    int n = kvglue::Protege(compo, 0, [&] {
        STDemandeBoite d;
        d.nFlags = nIconeQuestion(st.nGenre);
        d.pQuestion = &st;
        d.piVM = compo.piGetVM();
        d.pclProprietaire = compo.pclGetFenPrincipaleOwner();
        return nBoiteMessage(d);
    });
    tabSaisies = st.tabSaisies;
    return n;
}

// The entered values go back into the call's further parameters.
void EcritSaisiesSupp(CComposanteOBJ& compo, const std::vector<STSaisieBoite>& tab, size_t nPremiere) {
    IVM* vm = compo.piGetVM();
    void* pSlot = Slot(compo);
    if (!vm || !pSlot) return;
    for (size_t i = nPremiere; i < tab.size(); ++i)
        vm->bEcritParametreSupp(pSlot, static_cast<int>(i - nPremiere), tab[i].sValeur, tab[i].nType);
}

} // namespace

using namespace kvglue;

KV_GLUE(Info, 0) { nBoiteArguments(*pclCompo, nMB_ICONINFORMATION, Chaine(tabArgs, 0), 1); }

KV_GLUE(Erreur, 0) { nBoite(*pclCompo, nMB_ICONERROR, sDerniereErreur(*pclCompo)); }
KV_GLUE(Erreur, 1) { nBoiteArguments(*pclCompo, nMB_ICONERROR, Chaine(tabArgs, 0), 1); }

KV_GLUE(Avertissement, 0) { nBoiteArguments(*pclCompo, nMB_ICONWARNING, Chaine(tabArgs, 0), 1); }

KV_GLUE(OuiNon, 0) { ResultatBooleen(pAppel, nBoiteArguments(*pclCompo, 0x34, Chaine(tabArgs, 0), 1) == nID_YES); }
KV_GLUE(OuiNon, 1) {
    uint32_t nFlags = Entier(tabArgs, 0) ? 0x34 : 0x134;
    ResultatBooleen(pAppel, nBoiteArguments(*pclCompo, nFlags, Chaine(tabArgs, 1), 2) == nID_YES);
}

KV_GLUE(OKAnnuler, 0) { ResultatBooleen(pAppel, nBoiteArguments(*pclCompo, 0x31, Chaine(tabArgs, 0), 1) == nID_OK); }
KV_GLUE(OKAnnuler, 1) {
    uint32_t nFlags = Entier(tabArgs, 0) ? 0x31 : 0x131;
    ResultatBooleen(pAppel, nBoiteArguments(*pclCompo, nFlags, Chaine(tabArgs, 1), 2) == nID_OK);
}

// Confirmer: 1 Yes, 0 No, 2 Cancel; a refused argument answers 0.
KV_GLUE(Confirmer, 0) {
    int n = nBoiteArguments(*pclCompo, 0x33, Chaine(tabArgs, 0), 1);
    ResultatEntier(pAppel, n == nREFUSE ? 0 : nResultatConfirmer(n));
}
KV_GLUE(Confirmer, 1) {
    int n = nBoiteArguments(*pclCompo, nFlagsConfirmer(Entier(tabArgs, 0)), Chaine(tabArgs, 1), 2);
    ResultatEntier(pAppel, n == nREFUSE ? 0 : nResultatConfirmer(n));
}

KV_GLUE(InfoAvecDelai, 0) {
    CDelaiTemporaire delai(nMsDepuisCentiemes(Entier(tabArgs, 0)));
    nBoiteArguments(*pclCompo, nMB_ICONINFORMATION, Chaine(tabArgs, 1), 2);
}

KV_GLUE(ErreurAvecDelai, 0) {
    CDelaiTemporaire delai(nMsDepuisCentiemes(Entier(tabArgs, 0)));
    nBoite(*pclCompo, nMB_ICONERROR, sDerniereErreur(*pclCompo));
}
KV_GLUE(ErreurAvecDelai, 1) {
    CDelaiTemporaire delai(nMsDepuisCentiemes(Entier(tabArgs, 0)));
    nBoiteArguments(*pclCompo, nMB_ICONERROR, Chaine(tabArgs, 1), 2);
}

KV_GLUE(InfoConstruit, 0) { BoiteConstruite(*pclCompo, nMB_ICONINFORMATION, Chaine(tabArgs, 0)); }
KV_GLUE(ErreurConstruit, 0) { BoiteConstruite(*pclCompo, nMB_ICONERROR, Chaine(tabArgs, 0)); }

// InfoBitmap(image, message, ...): an information box showing the image
// (relative names: the project's image folder) beside the text.
KV_GLUE(InfoBitmap, 0) {
    std::wstring s;
    if (!bMessage(*pclCompo, Chaine(tabArgs, 1), 2, s)) return;
    nBoite(*pclCompo, nMB_ICONINFORMATION, std::move(s), CBouton::ssCheminImage(CTString(Chaine(tabArgs, 0))));
}

// Abandonne: an error box (the last error's text without argument), then
// the running code is stopped.
KV_GLUE(Abandonne, 0) {
    nBoite(*pclCompo, nMB_ICONERROR, sDerniereErreur(*pclCompo));
    if (IVM* vm = pclCompo->piGetVM()) vm->StopCode(nARRET_ABANDONNE);
}
KV_GLUE(Abandonne, 1) {
    if (nBoiteArguments(*pclCompo, nMB_ICONERROR, Chaine(tabArgs, 0), 1) == nREFUSE) return;
    if (IVM* vm = pclCompo->piGetVM()) vm->StopCode(nARRET_ABANDONNE);
}

KV_GLUE(TitreSuivant, 0) {
    if (gpclExe) gpclExe->SetTitreSuivant(Chaine(tabArgs, 0));
}

// DelaiAvantFermeture and DelaisAvantFermeture are one function under two
// spellings, with their syntaxes in opposite orders.
KV_GLUE(DelaiAvantFermeture, 0) {
    ResultatEntier(pAppel, DelaiAvantFermeture(*pclCompo, NomFenetre(tabArgs, 0), Chaine(tabArgs, 1), Entier(tabArgs, 2)));
}
KV_GLUE(DelaiAvantFermeture, 1) { ResultatEntier(pAppel, DelaiAvantFermeture(Entier(tabArgs, 0))); }
KV_GLUE(DelaisAvantFermeture, 0) { ResultatEntier(pAppel, DelaiAvantFermeture(Entier(tabArgs, 0))); }
KV_GLUE(DelaisAvantFermeture, 1) {
    ResultatEntier(pAppel, DelaiAvantFermeture(*pclCompo, NomFenetre(tabArgs, 0), Chaine(tabArgs, 1), Entier(tabArgs, 2)));
}

// Dialogue(question, ...): the question by name (or identifier) among the
// compiled questions of the running code's window; 0 when there is none.
KV_GLUE(Dialogue, 0) { ResultatEntier(pAppel, Dialogue(*pclCompo, Chaine(tabArgs, 0))); }

// Saisie(message, value, ...): one field per value; the first entered value
// when validated, nothing (nil) when cancelled.
KV_GLUE(Saisie, 0) {
    std::vector<STSaisieBoite> tab;
    auto* pValeur = static_cast<CAny*>(tabArgs ? tabArgs[1] : nullptr);
    STSaisieBoite premier;
    if (pValeur) {
        premier.nType = pValeur->nGetType();
        CTString s;
        if (premier.nType != 0) pValeur->__nCastToString(s);
        premier.sValeur = s;
    }
    tab.push_back(premier);
    std::vector<std::wstring> tabTextes;
    std::vector<int> tabTypes;
    if (!bArgumentsSupp(*pclCompo, 2, nNB_ARGUMENTS_MAX - 2, tabTextes, &tabTypes)) return;
    for (size_t i = 0; i < tabTextes.size(); ++i) tab.push_back({L"", tabTextes[i], tabTypes[i]});
    if (nBoiteSaisie(*pclCompo, Chaine(tabArgs, 0), tab) != 1) return;
    CAny cl;
    cl.SetPSTRX(tab[0].sValeur.c_str());
    const int nType = tab[0].nType;
    if (nType != 0 && nType != KS_PSTRW && nType != KS_DSTRW && cl.__nCastTo(nType, 0, 0) != 0) cl.SetPSTRX(tab[0].sValeur.c_str());
    if (pValeur) *pValeur = cl;
    EcritSaisiesSupp(*pclCompo, tab, 1);
    if (cl.nGetType() == KS_PSTRW || cl.nGetType() == KS_DSTRW) ResultatChaine(pAppel, CTString(tab[0].sValeur));
    else ResultatAny(pAppel, cl);
}

// BoiteSaisie(message, ...): one field per further value; the pressed
// button (1 OK, 2 Cancel, 0 when nothing could be shown).
KV_GLUE(BoiteSaisie, 0) {
    std::vector<std::wstring> tabTextes;
    std::vector<int> tabTypes;
    if (!bArgumentsSupp(*pclCompo, 1, nNB_ARGUMENTS_MAX - 1, tabTextes, &tabTypes)) return;
    std::vector<STSaisieBoite> tab;
    for (size_t i = 0; i < tabTextes.size(); ++i) tab.push_back({L"", tabTextes[i], tabTypes[i]});
    int n = nBoiteSaisie(*pclCompo, Chaine(tabArgs, 0), tab);
    if (n == 1) EcritSaisiesSupp(*pclCompo, tab, 0);
    ResultatEntier(pAppel, n < 0 ? 0 : n);
}

// The module's error box for the host (CommandeComposante): a text shown
// with the error icon, outside any running code.
int kvboites::nBoiteErreurHote(const wchar_t* pszTexte) {
    try {
        STDemandeBoite d;
        d.nFlags = nMB_ICONERROR;
        d.sMessage = pszTexte ? pszTexte : L"";
        return nBoiteMessage(d);
    } catch (const CXError&) {
        return 0;
    }
}
