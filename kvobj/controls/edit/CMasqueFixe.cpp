#include "controls/edit/CMasqueFixe.h"
#include <algorithm>
#include <cstdlib>

namespace {
// Indices of the fields of a value.
enum { ANNEE, MOIS, JOUR, HEURE, MINUTE, SECONDE, MILLI };

int nIndiceChamp(wchar_t c) {
    switch (c) {
    case L'A': return ANNEE;
    case L'M': return MOIS;
    case L'J': return JOUR;
    case L'H': return HEURE;
    case L'm': return MINUTE;
    case L'S': return SECONDE;
    default: return MILLI;
    }
}

long long nPuissance10(int n) {
    long long p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

// The number some digits make; false when it does not fit a long long.
bool bNombre(const CTString& sChiffres, long long& n) {
    n = 0;
    for (wchar_t c : sChiffres)
        if (__builtin_mul_overflow(n, 10LL, &n) || __builtin_add_overflow(n, static_cast<long long>(c - L'0'), &n))
            return false;
    return true;
}

// A duration in milliseconds from its fields (none negative); false when it
// does not fit the 8-byte integer a duration value is.
bool bDureeEnMs(const long long tab[7], long long& n) {
    return !__builtin_mul_overflow(tab[HEURE], 60LL, &n) && !__builtin_add_overflow(n, tab[MINUTE], &n) &&
           !__builtin_mul_overflow(n, 60LL, &n) && !__builtin_add_overflow(n, tab[SECONDE], &n) &&
           !__builtin_mul_overflow(n, 1000LL, &n) && !__builtin_add_overflow(n, tab[MILLI], &n);
}
} // namespace

CMasqueFixe::CMasqueFixe(const CTString& sMasque, eGENRE_MASQUE_FIXE eGenre) : m_eGenre(eGenre) {
    // The letters of the mask and the field each one stands for: dates use
    // J/D, M, A/Y; times and durations H, M (minutes), S, C/L; a letter in
    // either case. Any other character is a literal; '\' makes the next one
    // literal.
    auto champ = [&](wchar_t c) -> wchar_t {
        wchar_t u = static_cast<wchar_t>(c >= L'a' && c <= L'z' ? c - 32 : c);
        if (eGenre == eGENRE_MASQUE_FIXE::DATE) {
            if (u == L'J' || u == L'D') return L'J';
            if (u == L'M') return L'M';
            if (u == L'A' || u == L'Y') return L'A';
            return 0;
        }
        if (u == L'H') return L'H';
        if (u == L'M') return L'm';
        if (u == L'S') return L'S';
        if (u == L'C' || u == L'L') return L'C';
        return 0;
    };
    CTString s = sMasque;
    if (s.empty()) s = eGenre == eGENRE_MASQUE_FIXE::DATE ? L"JJ/MM/AAAA" : L"HH:MM";
    for (size_t i = 0; i < s.size(); ++i) {
        wchar_t c = s[i];
        if (c == L'\\' && i + 1 < s.size()) {
            m_tabElements.push_back({false, s[++i], {}});
            continue;
        }
        wchar_t f = champ(c);
        if (!f) {
            m_tabElements.push_back({false, c, {}});
            continue;
        }
        if (!m_tabElements.empty() && m_tabElements.back().bZone && m_tabElements.back().zone.cChamp == f &&
            i > 0 && champ(s[i - 1]) == f)
            ++m_tabElements.back().zone.nLongueur;
        else
            m_tabElements.push_back({true, 0, {f, 1}});
        ++m_nChiffres;
    }
    m_nLongueurMax = static_cast<int>(sRendu(CTString(static_cast<size_t>(m_nChiffres), L'0')).size());
}

bool CMasqueFixe::bChamps(const CTString& sValeur, long long tab[7]) const {
    std::fill(tab, tab + 7, 0LL);
    if (sValeur.empty()) return false;
    for (wchar_t c : sValeur)
        if ((c < L'0' || c > L'9') && c != L'-') return false;
    auto lit = [&](size_t d, size_t n) { return d + n <= sValeur.size() ? std::wcstoll(sValeur.substr(d, n).c_str(), nullptr, 10) : 0LL; };
    switch (m_eGenre) {
    case eGENRE_MASQUE_FIXE::DATE:
        tab[ANNEE] = lit(0, 4);
        tab[MOIS] = lit(4, 2);
        tab[JOUR] = lit(6, 2);
        break;
    case eGENRE_MASQUE_FIXE::HEURE:
        tab[HEURE] = lit(0, 2);
        tab[MINUTE] = lit(2, 2);
        tab[SECONDE] = lit(4, 2);
        tab[MILLI] = lit(6, 3);
        break;
    case eGENRE_MASQUE_FIXE::DUREE: {
        // The magnitude of the value, taken unsigned: the most negative
        // duration has no positive counterpart.
        const long long nValeur = std::wcstoll(sValeur.c_str(), nullptr, 10);
        const unsigned long long ms =
            nValeur < 0 ? 0ULL - static_cast<unsigned long long>(nValeur) : static_cast<unsigned long long>(nValeur);
        // The largest field the mask shows takes what is above it.
        bool bH = false, bm = false;
        for (const STElement& e : m_tabElements)
            if (e.bZone) {
                bH |= e.zone.cChamp == L'H';
                bm |= e.zone.cChamp == L'm';
            }
        tab[MILLI] = static_cast<long long>(ms % 1000);
        long long s = static_cast<long long>(ms / 1000);
        tab[SECONDE] = bm || bH ? s % 60 : s;
        long long m = s / 60;
        tab[MINUTE] = bH ? m % 60 : m;
        tab[HEURE] = m / 60;
        break;
    }
    }
    return true;
}

bool CMasqueFixe::bValeurDepuisChamps(const long long tab[7], CTString& sValeur) const {
    wchar_t sz[32];
    switch (m_eGenre) {
    case eGENRE_MASQUE_FIXE::DATE:
        std::swprintf(sz, 32, L"%04lld%02lld%02lld", tab[ANNEE], tab[MOIS], tab[JOUR]);
        sValeur = sz;
        return true;
    case eGENRE_MASQUE_FIXE::HEURE:
        std::swprintf(sz, 32, L"%02lld%02lld%02lld%03lld", tab[HEURE], tab[MINUTE], tab[SECONDE], tab[MILLI]);
        sValeur = sz;
        return true;
    case eGENRE_MASQUE_FIXE::DUREE: {
        long long n;
        if (!bDureeEnMs(tab, n)) return false;
        sValeur = std::to_wstring(n);
        return true;
    }
    }
    return false;
}

void CMasqueFixe::Formate(const CTString& sValeur, CTString& sSortie, CObjetAPCode*) const {
    long long tab[7];
    sSortie.clear();
    if (!bChamps(sValeur, tab)) return;
    for (const STElement& e : m_tabElements) {
        if (!e.bZone) {
            sSortie.push_back(e.cLitteral);
            continue;
        }
        int i = nIndiceChamp(e.zone.cChamp);
        long long v = tab[i];
        // A two-digit year shows its last digits; milliseconds are cut to the
        // positions the mask has (hundredths for "CC").
        if (i == MILLI && e.zone.nLongueur < 3) v /= nPuissance10(3 - e.zone.nLongueur);
        else v %= nPuissance10(std::min(e.zone.nLongueur, 18));
        CTString s = std::to_wstring(v);
        if (static_cast<int>(s.size()) < e.zone.nLongueur) s.insert(0, static_cast<size_t>(e.zone.nLongueur) - s.size(), L'0');
        sSortie += s;
    }
}

void CMasqueFixe::FormateEnSaisie(const CTString& sValeur, CTString& sSortie) const { Formate(sValeur, sSortie); }

CTString CMasqueFixe::sChiffres(const CTString& sTexte) const {
    CTString s;
    for (wchar_t c : sTexte)
        if (c >= L'0' && c <= L'9' && static_cast<int>(s.size()) < m_nChiffres) s.push_back(c);
    return s;
}

CTString CMasqueFixe::sRendu(const CTString& sChiffres) const {
    // A literal shows once every digit position before it is typed, so that
    // typing "12" in "JJ/MM/AAAA" gives "12/".
    CTString s;
    if (sChiffres.empty()) return s;
    size_t n = 0;
    for (const STElement& e : m_tabElements) {
        if (!e.bZone) {
            s.push_back(e.cLitteral);
            continue;
        }
        for (int j = 0; j < e.zone.nLongueur; ++j) {
            if (n >= sChiffres.size()) return s;
            s.push_back(sChiffres[n++]);
        }
    }
    return s;
}

bool CMasqueFixe::vbDeformate(const CTString& sTexte, CTString& sValeur, bool) const {
    CTString sCh = sChiffres(sTexte);
    sValeur.clear();
    if (sCh.empty()) return true;
    sCh.resize(static_cast<size_t>(m_nChiffres), L'0');
    long long tab[7] = {0, 0, 0, 0, 0, 0, 0};
    size_t n = 0;
    for (const STElement& e : m_tabElements) {
        if (!e.bZone) continue;
        // A field of more digits than a number holds gives no value (rather
        // than the largest number).
        long long v;
        if (!bNombre(sCh.substr(n, static_cast<size_t>(e.zone.nLongueur)), v)) return false;
        n += static_cast<size_t>(e.zone.nLongueur);
        int i = nIndiceChamp(e.zone.cChamp);
        // Two-digit years: 00 to 50 are 2000 to 2050, 51 to 99 are 1951 to 1999.
        if (i == ANNEE && e.zone.nLongueur <= 2) v += v <= 50 ? 2000 : 1900;
        if (i == MILLI && e.zone.nLongueur < 3) v *= nPuissance10(3 - e.zone.nLongueur);
        tab[i] = v;
    }
    // A duration too long for its value type is refused, not wrapped.
    if (!bValeurDepuisChamps(tab, sValeur)) {
        sValeur.clear();
        return false;
    }
    return true;
}

bool CMasqueFixe::bEstValideEnSaisie(const CTString& sTexte) const {
    int nChiffres = 0;
    for (wchar_t c : sTexte) {
        if (c >= L'0' && c <= L'9') {
            ++nChiffres;
            continue;
        }
        bool bLitteral = std::any_of(m_tabElements.begin(), m_tabElements.end(),
                                     [c](const STElement& e) { return !e.bZone && e.cLitteral == c; });
        if (!bLitteral) return false;
    }
    return nChiffres <= m_nChiffres;
}

bool CMasqueFixe::bEstValide(const CTString& sTexte) const {
    if (!bEstValideEnSaisie(sTexte)) return false;
    const int n = static_cast<int>(sChiffres(sTexte).size());
    if (n == 0) return true;
    // Complete, and holding a value: a duration past the largest one is not.
    CTString sValeur;
    return n == m_nChiffres && vbDeformate(sTexte, sValeur, false);
}

bool CMasqueFixe::bFinDeSaisie(const CTString& sTexte, bool) const {
    return static_cast<int>(sChiffres(sTexte).size()) >= m_nChiffres;
}

bool CMasqueFixe::bAccepteSaisie(wchar_t c, int nDebutSel, int nFinSel, const CTString& sTexte, CTString& sNouveau,
                                 int& nNouveauDebutSel, int& nNouveauFinSel) const {
    if (c < L'0' || c > L'9') return false;
    const int n = static_cast<int>(sTexte.size());
    int d = std::clamp(nDebutSel, 0, n), f = std::clamp(nFinSel, 0, n);
    if (d > f) std::swap(d, f);
    CTString sAvant = sChiffres(sTexte.substr(0, static_cast<size_t>(d)));
    CTString sApres = sChiffres(sTexte.substr(static_cast<size_t>(f)));
    if (static_cast<int>(sAvant.size()) >= m_nChiffres) return false;
    // The digit goes in at the caret; digits pushed beyond the mask drop off.
    CTString sCh = sAvant + c + sApres;
    if (static_cast<int>(sCh.size()) > m_nChiffres) sCh.resize(static_cast<size_t>(m_nChiffres));
    sNouveau = sRendu(sCh);
    nNouveauDebutSel = nNouveauFinSel = static_cast<int>(sRendu(sCh.substr(0, sAvant.size() + 1)).size());
    return true;
}

bool CMasqueFixe::vbReformatePourColler(const CTString& sColle, CTString& sSortie) const {
    CTString sCh = sChiffres(sColle);
    if (sCh.empty()) return false;
    sSortie = sRendu(sCh);
    return true;
}

bool CMasqueFixe::sbDateValide(int nAnnee, int nMois, int nJour) {
    if (nAnnee < 1 || nAnnee > 9999 || nMois < 1 || nMois > 12 || nJour < 1) return false;
    static const int tabJours[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool bBissextile = (nAnnee % 4 == 0 && nAnnee % 100 != 0) || nAnnee % 400 == 0;
    return nJour <= tabJours[nMois - 1] + (nMois == 2 && bBissextile ? 1 : 0);
}

bool CMasqueFixe::bDateAcceptable(const CTString& sTexte) const {
    if (m_eGenre != eGENRE_MASQUE_FIXE::DATE) return true;
    CTString sCh = sChiffres(sTexte);
    if (sCh.find_first_not_of(L'0') == CTString::npos) return true;
    CTString sValeur;
    if (!vbDeformate(sTexte, sValeur, true) || sValeur.size() != 8) return false;
    bool bMois = false, bJour = false;
    for (const STElement& e : m_tabElements)
        if (e.bZone) {
            bMois |= e.zone.cChamp == L'M';
            bJour |= e.zone.cChamp == L'J';
        }
    int a = std::stoi(sValeur.substr(0, 4)), m = std::stoi(sValeur.substr(4, 2)), j = std::stoi(sValeur.substr(6, 2));
    if (!bMois) m = 1;
    if (!bJour) j = 1;
    return sbDateValide(a == 0 ? 2000 : a, m, j);
}
