#include "frame/BoitesMessage.h"
#include "base/Texte.h"
#include "frame/CExe.h"
#include "windows/CFenPrincipale.h"
#include "windows/Questions.h"
#include <algorithm>
#include <cwctype>
#include <optional>

namespace kvboites {

int (*gpfnAfficheBoite)(STAffichageBoite& st) = nullptr;
void (*gpfnSurThreadPrincipal)(const std::function<void()>& fn) = nullptr;

std::vector<int> BoutonsDuJeu(uint32_t nFlags) { return ResultatsDuJeu(nFlags); }

int nIndiceBoutonParDefaut(uint32_t nFlags) {
    int n = (nFlags & nMB_DEFBUTTON3) ? 2 : (nFlags & nMB_DEFBUTTON2) ? 1 : 0;
    return std::min(n, static_cast<int>(BoutonsDuJeu(nFlags).size()) - 1);
}

std::wstring sLibelleCompteARebours(const std::wstring& sLibelle, int nSecondes) {
    return kvtexte::Format(pszFORMAT_COMPTE_A_REBOURS, sLibelle.c_str(), nSecondes);
}

STGenreBoite GenrePersonnalise(uint32_t nFlags) {
    switch (nFlags) {
    case 0x10: return {1, 1};
    case 0x34: return {2, 1};
    case 0x134: return {2, 2};
    case 0x30: return {4, 1};
    case 0x31: return {5, 1};
    case 0x131: return {5, 2};
    default: break;
    }
    uint32_t nJeu = nFlags & nMB_JEU;
    if (nJeu == nMB_OKCANCEL || nJeu == nMB_YESNOCANCEL)
        return {3, (nFlags & nMB_DEFBUTTON3) ? 3 : (nFlags & nMB_DEFBUTTON2) ? 2 : 1};
    return {0, 1};
}

uint32_t nFlagsConfirmer(int nDefaut) {
    switch (nDefaut) {
    case 0: return 0x133;
    case 2: return 0x233;
    default: return 0x33;
    }
}

int nResultatConfirmer(int nResultat) {
    if (nResultat == nID_YES) return 1;
    if (nResultat == nID_NO) return 0;
    return 2;
}

namespace {

constexpr wchar_t cESC = 27;

// Past a parenthesised group starting at i (nested parentheses counted);
// the text's end when it is not closed.
size_t nApresParentheses(const std::wstring& s, size_t i) {
    int nProfondeur = 0;
    for (; i < s.size(); ++i) {
        if (s[i] == L'(') ++nProfondeur;
        else if (s[i] == L')' && --nProfondeur <= 0) return i + 1;
    }
    return s.size();
}

// Past a colour: "RVB(...)" / "RGB(...)" or one letter.
size_t nApresCouleur(const std::wstring& s, size_t i) {
    if (i + 3 < s.size() && s[i + 3] == L'(') {
        std::wstring t = s.substr(i, 3);
        for (auto& c : t) c = static_cast<wchar_t>(std::towupper(c));
        if (t == L"RVB" || t == L"RGB") return nApresParentheses(s, i + 3);
    }
    return std::min(i + 1, s.size());
}

} // namespace

std::wstring sSansCommandesDessin(const std::wstring& s) {
    std::wstring r;
    size_t i = 0;
    while (i < s.size()) {
        if (s[i] != cESC) {
            r += s[i++];
            continue;
        }
        if (++i >= s.size()) break;
        const wchar_t c = s[i++];
        switch (c) {
        case L'D': case L'E': case L'R': case L'A': i = nApresParentheses(s, i); break;
        case L'T': case L'F': i = nApresCouleur(s, i); break;
        case L'P':
            if (i < s.size() && (s[i] == L'(' || s[i] == L'C')) {
                i = nApresParentheses(s, s[i] == L'C' ? i + 1 : i);
            } else if (i < s.size() && s[i] == L'T') {
                size_t n = s.find(L'T', i + 1);
                i = n == std::wstring::npos ? s.size() : n + 1;
            } else {
                i = std::min(i + 2, s.size());  // G, I or S and its sign
            }
            break;
        case L'X': case L'Y': {
            if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) ++i;
            for (int n = 0; n < 4 && i < s.size() && std::iswdigit(s[i]); ++n) ++i;
            break;
        }
        case L'C': {
            // Aligned text: its text is kept.
            size_t nDebut = s.find(L'(', i);
            if (nDebut == std::wstring::npos) {
                i = s.size();
                break;
            }
            size_t a = s.find(wchar_t(0x1E), nDebut);
            size_t b = a == std::wstring::npos ? a : s.find(wchar_t(0x1E), a + 1);
            if (b != std::wstring::npos) r += s.substr(a + 1, b - a - 1);
            size_t nFin = s.find(L')', b == std::wstring::npos ? nDebut : b);
            i = nFin == std::wstring::npos ? s.size() : nFin + 1;
            break;
        }
        case L'B': {
            size_t n = s.find(L']', i);
            i = n == std::wstring::npos ? s.size() : n + 1;
            break;
        }
        case L'K': case L'L': {
            size_t n = s.find(cESC, i);
            i = n == std::wstring::npos ? s.size() : std::min(n + 2, s.size());
            break;
        }
        case L'V': break;
        default: r += c; break;
        }
    }
    return r;
}

uint32_t nIconeQuestion(int nGenre) {
    switch (nGenre) {
    case 2: return nMB_ICONWARNING;
    case 3: return nMB_ICONINFORMATION;
    default: return nMB_ICONQUESTION;
    }
}

namespace {
// %1, %2... replaced by the arguments.
std::wstring sCompleteMessage(const std::wstring& s, const std::vector<std::wstring>& tab) {
    return sRemplaceMarques(s, [&](int n, std::wstring& sValeur) {
        if (static_cast<size_t>(n) > tab.size()) return false;
        sValeur = tab[n - 1];
        return true;
    });
}
} // namespace

STQuestionBoite QuestionDepuis(const CQuestionExec& q, const std::vector<std::wstring>& tabArguments) {
    STQuestionBoite st;
    st.nIdentifiant = q.qwID;
    st.sMessage = sCompleteMessage(q.sMessage, tabArguments);
    st.nGenre = q.nGenre;
    for (const auto& b : q.tabBoutons) st.tabBoutons.push_back(b.sLibelle);
    if (st.tabBoutons.empty()) st.tabBoutons.push_back(L"OK");
    st.nDefaut = q.nDefaut;
    st.nAnnulation = q.nAnnulation;
    for (const auto& s : q.tabSaisies) st.tabSaisies.push_back({s.sLibelle, s.sValeurInitiale, 0});
    return st;
}

STQuestionBoite QuestionSaisie(const std::wstring& sMessage, std::vector<STSaisieBoite> tabSaisies) {
    STQuestionBoite st;
    st.sMessage = sMessage;
    st.nGenre = 1;
    st.tabBoutons = {L"OK", L"Cancel"};
    st.nDefaut = 1;
    st.nAnnulation = 2;
    st.tabSaisies = std::move(tabSaisies);
    return st;
}

std::wstring sTitreBoite(const std::wstring& sExplicite, const std::wstring& sSuivant, CFenPrincipale* pclProprietaire,
                         const std::wstring& sNomProjet) {
    if (!sExplicite.empty()) return sExplicite;
    if (!sSuivant.empty()) return sSuivant;
    if (pclProprietaire) {
        const CTString& sTitre = pclProprietaire->Description().sTitre;
        std::wstring s = sTitre.empty() ? std::wstring(pclProprietaire->sGetNom()) : std::wstring(sTitre);
        return s.find(wchar_t(27)) != std::wstring::npos ? sSansCommandesDessin(s) : s;
    }
    return sNomProjet;
}

CDelaiTemporaire::CDelaiTemporaire(int nMs) : m_nAvant(gpclExe ? gpclExe->nGetDelaiBoites() : 0) {
    if (gpclExe) gpclExe->SetDelaiBoites(nMs);
}

CDelaiTemporaire::~CDelaiTemporaire() {
    if (gpclExe) gpclExe->SetDelaiBoites(m_nAvant);
}

namespace {

// The project's own message box: its result, or -1 when it cannot be run.
int nBoitePersonnalisee(IVM* piVM, const STAffichageBoite& st) {
    if (!piVM) return nRESULTAT_AUCUN;
    STGenreBoite g = GenrePersonnalise(st.nFlags);
    int nResultat = 0;
    if (piVM->nExecuteProcedureNommee(L"KorvelMessageBox", {st.sTitre, st.sMessage, std::to_wstring(g.nGenre), std::to_wstring(g.nDefaut)},
                                      nResultat) != 0)
        return nRESULTAT_AUCUN;
    return nResultat;
}

int nBoiteSurThreadPrincipal(STDemandeBoite& d, bool bAutreThread) {
    CExe* exe = gpclExe;
    IIntercepteurBoites* piIntercepteur = exe ? exe->piGetIntercepteurBoites() : nullptr;

    STAffichageBoite st;
    st.nFlags = d.nFlags;
    st.bAutreThread = bAutreThread;
    st.pQuestion = d.pQuestion;
    st.sImage = d.sImage;
    // Owner: the given window, else the window of the running code.
    CFenPrincipale* pclProprietaire = d.pclProprietaire;
    if (!pclProprietaire && exe && exe->pclGetObjetCourant()) pclProprietaire = exe->pclGetObjetCourant()->vpclGetFenPrincipale();
    if (pclProprietaire && (!exe || !exe->bEstFenOuverte(pclProprietaire))) pclProprietaire = nullptr;
    st.pclProprietaire = pclProprietaire;
    st.sTitre = sTitreBoite(d.sTitre, exe ? exe->sGetTitreSuivant() : std::wstring(), pclProprietaire,
                            exe ? exe->pszGetNomProjet() : std::wstring());
    // The title set for the next box served this one, whatever happens to it.
    if (exe) exe->SetTitreSuivant(std::wstring());
    st.sMessage = d.pQuestion ? d.pQuestion->sMessage : d.sMessage;
    if (st.sMessage.size() > nLONGUEUR_MAX_MESSAGE) st.sMessage.resize(nLONGUEUR_MAX_MESSAGE);
    if (d.pQuestion) d.pQuestion->sMessage = st.sMessage;
    st.nDelaiMs = exe ? exe->nGetDelaiBoites() : 0;

    STBoiteMessage vue;
    vue.nFlags = st.nFlags;
    vue.nGenre = !d.pQuestion ? 0 : d.pQuestion->tabSaisies.empty() ? -1 : -2;
    vue.pszTitre = st.sTitre.c_str();
    vue.pszMessage = st.sMessage.c_str();
    std::vector<std::wstring> tabSaisies;
    if (d.pQuestion) {
        vue.pBoutons = &d.pQuestion->tabBoutons;
        for (const auto& s : d.pQuestion->tabSaisies) tabSaisies.push_back(s.sValeur);
        if (!tabSaisies.empty()) vue.pSaisies = &tabSaisies;
    }

    // The interceptor answers first.
    if (piIntercepteur) {
        int nResultat = 0;
        std::wstring sErreur;
        switch (piIntercepteur->ePropose(vue, nResultat, sErreur)) {
        case eBOITE_REPONDUE:
            if (d.pQuestion)
                for (size_t i = 0; i < tabSaisies.size() && i < d.pQuestion->tabSaisies.size(); ++i)
                    d.pQuestion->tabSaisies[i].sValeur = tabSaisies[i];
            piIntercepteur->Resultat(vue, nResultat);
            return nResultat;
        case eBOITE_ERREUR:
            // Reported to the program by the language function, in the
            // interceptor's own words.
            throw CXError(KVOBJ_MODULE, 10003, {sErreur}, sErreur);
        case eBOITE_MONTREE:
            break;
        }
    }

    int nResultat = nRESULTAT_AUCUN;
    if (!d.pQuestion && exe && exe->bMsgBoxPersonalisees()) nResultat = nBoitePersonnalisee(d.piVM ? d.piVM : exe->piGetVM(), st);
    if (nResultat == nRESULTAT_AUCUN && gpfnAfficheBoite) nResultat = gpfnAfficheBoite(st);
    if (nResultat == nRESULTAT_AUCUN && d.pQuestion && !d.pQuestion->tabSaisies.empty()) nResultat = nRESULTAT_AUCUN_SAISIE;
    if (piIntercepteur) piIntercepteur->Resultat(vue, nResultat);
    return nResultat;
}

} // namespace

int nBoiteMessage(STDemandeBoite& d) {
    if (!gpclExe) return nRESULTAT_AUCUN;
    if (gpclExe->bEstThreadPrincipal() || !gpfnSurThreadPrincipal) return nBoiteSurThreadPrincipal(d, false);
    // Built and shown on the interface thread; an error comes back here.
    int nResultat = nRESULTAT_AUCUN;
    std::optional<CXError> erreur;
    gpfnSurThreadPrincipal([&] {
        try {
            nResultat = nBoiteSurThreadPrincipal(d, true);
        } catch (const CXError& e) {
            erreur = e;
        }
    });
    if (erreur) throw *erreur;
    return nResultat;
}

} // namespace kvboites
