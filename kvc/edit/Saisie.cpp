// The own keys of the edit control.
//
//   - edit: EDT_Amount
//     type: text | numeric | currency | decimal | date | time | duration
//     mask: "[Red]-999 999,99;[Blue]999 999,99"   (numeric mask language, or "regexp:...";
//           dates "JJ/MM/AAAA", times "HH:MM:SS", durations "HH:MM": digit positions and literals)
//     text_mask: 1            (predefined text mask number; see the module's list)
//     display_mask: "..."     (numeric edits: the mask used once the control is left)
//     max_length: 40          multiline: true      password: true
//     mandatory: true         min: 1               max: 999
//     cue_text: "Amount"      auto_erase: true     auto_end: true
//     null_if_empty: true
#include "EntreeYAML.h"
#include "Registre.h"
#include "controls/edit/CMasque.h"
#include "controls/edit/CSaisie.h"

namespace {

bool bCompileSaisie(CEntreeYAML& e, CChamp& c, STContexteCompilation&) {
    auto* pSaisie = dynamic_cast<CSaisie*>(&c);
    if (!pSaisie) return false;
    STSaisie& s = pSaisie->Saisie();
    int32_t nType = 0;
    if (e.bChoix("type",
                 {{"text", 0}, {"numeric", 1}, {"date", 2}, {"time", 3}, {"duration", 5}, {"currency", 100}, {"decimal", 101}},
                 nType)) {
        if (nType == 100) {
            s.eTypeSaisie = eSAISIE_NUMERIQUE;
            s.wTypeValeur = KS_CY;
        } else if (nType == 101) {
            s.eTypeSaisie = eSAISIE_NUMERIQUE;
            s.wTypeValeur = KS_DECIMAL;
        } else {
            s.eTypeSaisie = nType;
            s.wTypeValeur = nType == eSAISIE_NUMERIQUE ? KS_I4 : KS_PSTRW;
        }
    }
    CTString sTexte;
    if (e.bTexte("mask", sTexte)) {
        s.bAvecMasque = !sTexte.empty();
        s.sMasque = sTexte;
    }
    int32_t n = 0;
    if (e.bEntier("text_mask", n, 0, 1000)) {
        if (s.eTypeSaisie != eSAISIE_TEXTE) e.Erreur("text_mask", "'text_mask' is for text edits");
        s.nNumeroMasque = n;
    }
    if (e.bTexte("display_mask", sTexte)) s.sMasqueAffichage = sTexte;
    if (e.bEntier("max_length", n, 0, 1 << 20)) s.nTailleMax = n;
    bool b = false;
    if (e.bBooleen("multiline", b)) s.bMultiligne = b;
    if (e.bBooleen("password", b)) s.bMotDePasse = b;
    if (e.bBooleen("mandatory", b)) s.bObligatoire = b;
    if (e.bBooleen("auto_end", b)) s.bFinSaisieAuto = b;
    if (e.bBooleen("null_if_empty", b)) s.bVideSiNull = b;
    if (e.bBooleen("auto_erase", b)) {
        if (b) s.dwOptions |= OPTION_SAISIE_EFFACEMENT_AUTO;
        else s.dwOptions &= ~OPTION_SAISIE_EFFACEMENT_AUTO;
    }
    if (e.bTexte("min", sTexte)) s.sBorneMin = sTexte;
    if (e.bTexte("max", sTexte)) s.sBorneMax = sTexte;
    if ((!s.sBorneMin.empty() || !s.sBorneMax.empty()) && s.eTypeSaisie != eSAISIE_NUMERIQUE)
        e.Erreur(e.bPresent("min") ? "min" : "max", "bounds are for numeric edits");
    if (e.bTexte("cue_text", sTexte)) s.sTexteConseil = sTexte;
    // A regular expression that does not compile is refused now, not at run time.
    if (s.eTypeSaisie == eSAISIE_TEXTE && s.bAvecMasque) {
        bool bErreur = false;
        CMasque::pclGetNewMasqueTexte(s.sMasque, bErreur);
        if (bErreur) e.Erreur("mask", "the regular expression of 'mask' is not valid");
    }
    pSaisie->ConstruitMasque();
    return e.bOk();
}

const CInscription s_inscription([] { bInscritCompilateurChamp(ID_SAISIE, &bCompileSaisie); });

} // namespace
