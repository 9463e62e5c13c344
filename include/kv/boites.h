// The module's message boxes as a host sees them: an interceptor offered
// every box before it is shown (kvrun --answers, tests), and the commands of
// CommandeComposante that install it and show the module's error box.
//
// Flags and results are the Win32 MessageBox encoding: button set in bits
// 0-3, icon in bits 4-7, default button in bits 8-9; results 1 OK, 2 Cancel,
// 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No, 10 Try again, 11 Continue.
// A dialog built from a compiled question (Dialogue) has the kind -1, an
// input box (one with input fields) -2; its result is the pressed button's
// number (1-based), 0 when it was cancelled.
#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

// The results of the buttons of a flag's button set, left to right (a set
// not listed is OK alone).
inline std::vector<int> ResultatsDuJeu(uint32_t nFlags) {
    switch (nFlags & 0xF) {
    case 1: return {1, 2};        // OK, Cancel
    case 2: return {3, 4, 5};     // Abort, Retry, Ignore
    case 3: return {6, 7, 2};     // Yes, No, Cancel
    case 4: return {6, 7};        // Yes, No
    case 5: return {4, 2};        // Retry, Cancel
    case 6: return {2, 10, 11};   // Cancel, Try again, Continue
    default: return {1};          // OK
    }
}
// The result of the default button (bits 8-9, kept within the set).
inline int nResultatParDefaut(uint32_t nFlags) {
    const std::vector<int> tab = ResultatsDuJeu(nFlags);
    size_t n = (nFlags & 0x200) ? 2 : (nFlags & 0x100) ? 1 : 0;
    return tab[n < tab.size() ? n : tab.size() - 1];
}

// A message built from a format: %1 to %999 are the values fnValeur gives
// (1-based; false: none, the placeholder is left as written), %% is a
// percent sign. Dialogs and InfoConstruit share it.
template <class F>
std::wstring sRemplaceMarques(const std::wstring& s, F&& fnValeur) {
    std::wstring r;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != L'%' || i + 1 >= s.size()) {
            r += s[i];
            continue;
        }
        if (s[i + 1] == L'%') {
            r += L'%';
            ++i;
            continue;
        }
        size_t j = i + 1;
        int n = 0;
        while (j < s.size() && j - i <= 3 && s[j] >= L'0' && s[j] <= L'9') n = n * 10 + (s[j++] - L'0');
        std::wstring sValeur;
        if (j > i + 1 && n >= 1 && fnValeur(n, sValeur)) {
            r += sValeur;
            i = j - 1;
        } else {
            r += s[i];
        }
    }
    return r;
}

// One box as the module is about to show it.
struct STBoiteMessage {
    uint32_t nFlags = 0;
    int nGenre = 0;                   // 0 a message box, -1 a question, -2 a question with input fields
    const wchar_t* pszTitre = L"";
    const wchar_t* pszMessage = L"";
    // Captions of the question's buttons (questions only).
    const std::vector<std::wstring>* pBoutons = nullptr;
    // Values of the input fields as shown (input boxes only); an interceptor
    // that answers may change them: they are then the values entered.
    std::vector<std::wstring>* pSaisies = nullptr;
};

// What an interceptor does with a box it is offered.
enum eREPONSE_BOITE : int {
    eBOITE_MONTREE = 0,    // not answered: the box is shown
    eBOITE_REPONDUE = 1,   // answered: nResultat is the result, nothing is shown
    eBOITE_ERREUR = 2,     // refused: sErreur is reported to the program, the result is 0
};

class IIntercepteurBoites {
public:
    virtual eREPONSE_BOITE ePropose(const STBoiteMessage& st, int& nResultat, std::wstring& sErreur) = 0;
    // Every box's result, answered or shown.
    virtual void Resultat(const STBoiteMessage& st, int nResultat) = 0;

protected:
    ~IIntercepteurBoites() = default;
};

// CommandeComposante(KV_COMMANDE_INTERCEPTEUR_BOITES, IIntercepteurBoites*)
// installs the interceptor in the module's application context (null takes
// it away); returns 1. The module does not own it.
inline constexpr int KV_COMMANDE_INTERCEPTEUR_BOITES = 20;
// CommandeComposante(KV_COMMANDE_BOITE_ERREUR, const wchar_t* text) shows
// the module's error box with that text, from any thread and outside any
// running code (the interceptor is offered it first); returns the box's
// result, -1 without a Qt application.
inline constexpr int KV_COMMANDE_BOITE_ERREUR = 21;

// An interceptor that answers boxes from a list of results, in order, and
// keeps what every box showed. When the list runs out the boxes are shown.
class CReponsesBoites : public IIntercepteurBoites {
public:
    struct STVue {
        uint32_t nFlags;
        int nGenre;
        std::wstring sTitre, sMessage;
        std::vector<std::wstring> tabBoutons;
        int nResultat = 0;
        bool bRepondue = false;
    };
    CReponsesBoites() = default;
    explicit CReponsesBoites(const std::vector<int>& tab) {
        for (int n : tab) Ajoute(n);
    }
    // An answer; for an input box, the values it enters (empty: the values
    // shown are kept).
    void Ajoute(int n, std::vector<std::wstring> tabSaisies = {}) {
        m_reponses.push_back(n);
        m_saisies.push_back(std::move(tabSaisies));
    }
    size_t nRestantes() const { return m_reponses.size(); }
    // Once the answers run out, every box is answered with its default
    // button (a question with its first) instead of being shown.
    void RepondParDefaut(bool b) { m_bParDefaut = b; }
    const std::vector<STVue>& Vues() const { return m_vues; }

    eREPONSE_BOITE ePropose(const STBoiteMessage& st, int& nResultat, std::wstring&) override {
        m_vues.push_back({st.nFlags, st.nGenre, st.pszTitre ? st.pszTitre : L"", st.pszMessage ? st.pszMessage : L"",
                          st.pBoutons ? *st.pBoutons : std::vector<std::wstring>{}});
        if (m_reponses.empty()) {
            if (!m_bParDefaut) return eBOITE_MONTREE;
            nResultat = st.nGenre < 0 ? 1 : nResultatParDefaut(st.nFlags);
            m_vues.back().bRepondue = true;
            return eBOITE_REPONDUE;
        }
        nResultat = m_reponses.front();
        m_reponses.pop_front();
        if (!m_saisies.empty()) {
            if (st.pSaisies && !m_saisies.front().empty()) *st.pSaisies = m_saisies.front();
            m_saisies.pop_front();
        }
        m_vues.back().bRepondue = true;
        return eBOITE_REPONDUE;
    }
    void Resultat(const STBoiteMessage&, int nResultat) override {
        if (!m_vues.empty()) m_vues.back().nResultat = nResultat;
    }

private:
    std::deque<int> m_reponses;
    std::deque<std::vector<std::wstring>> m_saisies;
    std::vector<STVue> m_vues;
    bool m_bParDefaut = false;
};
