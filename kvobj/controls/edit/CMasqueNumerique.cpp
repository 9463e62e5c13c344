#include "controls/edit/CMasqueNumerique.h"
#include "base/Texte.h"
#include "controls/core/CObjetAPCode.h"
#include "controls/core/CodeEvenement.h"
#include "frame/ModuleInfo.h"
#include <algorithm>
#include <cstring>

namespace {

using STNombre = CMasqueNumerique::STNombre;
using STJeton = CMasqueNumerique::STJeton;
using STPartie = CMasqueNumerique::STPartie;
using eJeton = CMasqueNumerique::eJeton;

// Module-wide settings. The international settings of this module always
// give these defaults.
struct STParametres {
    wchar_t cDecimal = L',';
    wchar_t cMillier = L' ';
    CTString sMonnaie = CTString(1, L'\u20AC');
    bool tabForce[CMasqueNumerique::eIP_NB] = {};
};
STParametres& Parametres() {
    static STParametres s;
    return s;
}

constexpr const wchar_t* kpszDepassementDefaut = L"+++++";
constexpr const wchar_t* kpszMasqueTailleDisqueSaisie = L"999 999 999 999 999 999 999";
// Exponents beyond this make a value text unreadable (the digits would be
// thousands of characters long).
constexpr long knExposantMax = 4096;
// Integer positions GetMasqueAvecNChiffres accepts.
constexpr int knChiffresMax = 1000;

bool bChiffre(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool bEspace(wchar_t c) { return c == L' ' || c == L'\t' || c == 0xA0; }

CTString sSansEspaces(const CTString& s) {
    size_t i = 0, f = s.size();
    while (i < f && bEspace(s[i])) ++i;
    while (f > i && bEspace(s[f - 1])) --f;
    return s.substr(i, f - i);
}

void SupprimeZerosGauche(std::string& s) {
    size_t i = s.find_first_not_of('0');
    s.erase(0, i == std::string::npos ? s.size() : i);
}

// A value text: optional sign, digits with '.' as decimal point, optional
// exponent. Spaces around are ignored.
bool bLitNombre(const CTString& sTexte, STNombre& n) {
    n = STNombre();
    size_t i = 0, f = sTexte.size();
    while (i < f && bEspace(sTexte[i])) ++i;
    while (f > i && bEspace(sTexte[f - 1])) --f;
    if (i < f && (sTexte[i] == L'-' || sTexte[i] == L'+')) n.bNegatif = sTexte[i++] == L'-';
    std::string sChiffres;
    size_t nPoint = std::string::npos;
    for (; i < f; ++i) {
        const wchar_t c = sTexte[i];
        if (bChiffre(c))
            sChiffres.push_back(static_cast<char>(c));
        else if (c == L'.' && nPoint == std::string::npos)
            nPoint = sChiffres.size();
        else
            break;
    }
    if (sChiffres.empty()) return false;
    if (nPoint == std::string::npos) nPoint = sChiffres.size();
    long nExposant = 0;
    if (i < f && (sTexte[i] == L'e' || sTexte[i] == L'E')) {
        ++i;
        bool bMoins = false;
        if (i < f && (sTexte[i] == L'-' || sTexte[i] == L'+')) bMoins = sTexte[i++] == L'-';
        const size_t nDebut = i;
        for (; i < f && bChiffre(sTexte[i]); ++i) {
            nExposant = nExposant * 10 + (sTexte[i] - L'0');
            if (nExposant > knExposantMax) return false;
        }
        if (i == nDebut) return false;
        if (bMoins) nExposant = -nExposant;
    }
    if (i != f) return false;
    long nPos = static_cast<long>(nPoint) + nExposant;
    if (nPos < 0) {
        sChiffres.insert(0, static_cast<size_t>(-nPos), '0');
        nPos = 0;
    }
    if (static_cast<size_t>(nPos) > sChiffres.size()) sChiffres.append(static_cast<size_t>(nPos) - sChiffres.size(), '0');
    n.sEntier = sChiffres.substr(0, static_cast<size_t>(nPos));
    n.sFraction = sChiffres.substr(static_cast<size_t>(nPos));
    SupprimeZerosGauche(n.sEntier);
    if (n.bZero()) n.bNegatif = false;
    return true;
}

void MultiplieParCent(STNombre& n) {
    if (n.sFraction.size() < 2) n.sFraction.append(2 - n.sFraction.size(), '0');
    n.sEntier += n.sFraction.substr(0, 2);
    n.sFraction.erase(0, 2);
    SupprimeZerosGauche(n.sEntier);
}

void DiviseParCent(STNombre& n) {
    if (n.sEntier.size() < 2) n.sEntier.insert(0, 2 - n.sEntier.size(), '0');
    n.sFraction.insert(0, n.sEntier.substr(n.sEntier.size() - 2));
    n.sEntier.resize(n.sEntier.size() - 2);
    SupprimeZerosGauche(n.sEntier);
}

// Rounds to nDecimales decimals, half away from zero.
void Arrondit(STNombre& n, int nDecimales) {
    const size_t nDec = static_cast<size_t>(std::max(nDecimales, 0));
    if (n.sFraction.size() <= nDec) return;
    const bool bHaut = n.sFraction[nDec] >= '5';
    n.sFraction.resize(nDec);
    if (bHaut) {
        std::string s = n.sEntier + n.sFraction;
        size_t k = s.size();
        while (k > 0 && s[k - 1] == '9') s[--k] = '0';
        if (k == 0)
            s.insert(0, 1, '1');
        else
            ++s[k - 1];
        n.sEntier = s.substr(0, s.size() - nDec);
        n.sFraction = s.substr(s.size() - nDec);
        SupprimeZerosGauche(n.sEntier);
    }
    if (n.bZero()) n.bNegatif = false;
}

// The value text of a number: "-1234.5", "0".
CTString sTexteNombre(const STNombre& n) {
    std::string f = n.sFraction;
    while (!f.empty() && f.back() == '0') f.pop_back();
    std::string s = n.sEntier.empty() ? std::string("0") : n.sEntier;
    if (!f.empty()) s += "." + f;
    CTString r;
    if (n.bNegatif && !n.bZero()) r.push_back(L'-');
    r.append(s.begin(), s.end());
    return r;
}

// The entry text of a number: no grouping, the given decimal separator.
CTString sTexteBrut(const STNombre& n, wchar_t cDecimal) {
    CTString r = sTexteNombre(n);
    std::replace(r.begin(), r.end(), L'.', cDecimal);
    return r;
}

// Colour names, compared ignoring case; values are 0x00BBGGRR.
struct STCouleurNommee {
    const wchar_t* pszNom;
    uint32_t dwCouleur;
};
constexpr STCouleurNommee ktabCouleurs[] = {
    {L"Rouge", 0x0000FF}, {L"Red", 0x0000FF},     {L"Vert", 0x00FF00},   {L"Green", 0x00FF00},
    {L"Bleu", 0xFF0000},  {L"Blue", 0xFF0000},    {L"Noir", 0x000000},   {L"Black", 0x000000},
    {L"Blanc", 0xFFFFFF}, {L"White", 0xFFFFFF},   {L"Jaune", 0x00FFFF},  {L"Yellow", 0x00FFFF},
    {L"Orange", 0x0080FF},
};

int nHexa(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

uint32_t dwCouleurDeNom(const CTString& sNomBrut) {
    const CTString sNom = sSansEspaces(sNomBrut);
    if (sNom.size() == 7 && sNom[0] == L'#') {
        uint32_t rgb = 0;
        for (size_t i = 1; i < 7; ++i) {
            const int h = nHexa(sNom[i]);
            if (h < 0) return COULEUR_MASQUE_AUCUNE;
            rgb = (rgb << 4) | static_cast<uint32_t>(h);
        }
        // Written RRGGBB, kept with red in the low byte.
        return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    }
    for (const auto& c : ktabCouleurs)
        if (kvtexte::bEgalSansCasse(sNom, c.pszNom)) return c.dwCouleur;
    return COULEUR_MASQUE_AUCUNE;
}

// The part for a value: negative 1, zero 2, else 0. The entry form shows a
// zero through part 0: a zero part may show no digit at all, and an entry
// text without one would read back as no value.
int nChoixPartie(const CMasqueNumerique::STAnalyse& a, const STNombre& n, bool bEnSaisie = false) {
    if (a.tabParties.size() > 1) {
        if (n.bZero()) return bEnSaisie ? 0 : 2;
        if (n.bNegatif) return 1;
    }
    return 0;
}

// A raw entry text read: an optional leading '-', digits, one decimal
// separator at most.
struct STSaisie {
    bool bValide = true;
    bool bNegatif = false;
    bool bSeparateur = false;
    bool bZero = true;
    int nEntiers = 0;
    int nDecimales = 0;
};
STSaisie LitSaisie(const CTString& s, wchar_t cDecimal) {
    STSaisie r;
    size_t i = 0;
    if (!s.empty() && s[0] == L'-') {
        r.bNegatif = true;
        i = 1;
    }
    for (; i < s.size(); ++i) {
        const wchar_t c = s[i];
        if (bChiffre(c)) {
            ++(r.bSeparateur ? r.nDecimales : r.nEntiers);
            if (c != L'0') r.bZero = false;
        } else if (!r.bSeparateur && (c == L'.' || c == cDecimal)) {
            r.bSeparateur = true;
        } else {
            r.bValide = false;
            break;
        }
    }
    return r;
}

CTString sEntier128(unsigned __int128 v) {
    CTString s;
    do {
        s.push_back(static_cast<wchar_t>(L'0' + static_cast<int>(v % 10)));
        v /= 10;
    } while (v != 0);
    std::reverse(s.begin(), s.end());
    return s;
}

CTString sUniteTailleDisque(int k) {
    static const wchar_t* const ktabDefaut[nNB_UNITES_TAILLE_DISQUE] = {L"B", L"KB", L"MB", L"GB", L"TB", L"PB", L"EB"};
    CTString s = sMessageMasque(eMSG_MASQUE_OCTETS + k);
    return s.empty() ? CTString(ktabDefaut[k]) : s;
}

} // namespace

bool CMasqueNumerique::STNombre::bZero() const {
    return sEntier.empty() && sFraction.find_first_not_of('0') == std::string::npos;
}

// ---------------------------------------------------------------------------
// Module-wide settings

void CMasqueNumerique::SetInternationnalParam(eINTERNATIONAL_PARAM e, const CTString& sValeur, bool bForce) {
    STParametres& p = Parametres();
    switch (e) {
    case eIP_SEPARATEUR_DECIMAL:
        if (sValeur.empty()) return;  // a number needs a decimal separator
        p.cDecimal = sValeur[0];
        break;
    case eIP_SEPARATEUR_MILLIER:
        p.cMillier = sValeur.empty() ? 0 : sValeur[0];
        break;
    case eIP_MONNAIE:
        p.sMonnaie = sValeur;
        break;
    default:
        return;
    }
    p.tabForce[e] = bForce;
}

CTString CMasqueNumerique::sGetInternationnalParam(eINTERNATIONAL_PARAM e) {
    const STParametres& p = Parametres();
    switch (e) {
    case eIP_SEPARATEUR_DECIMAL: return CTString(1, p.cDecimal);
    case eIP_SEPARATEUR_MILLIER: return p.cMillier ? CTString(1, p.cMillier) : CTString();
    case eIP_MONNAIE: return p.sMonnaie;
    default: return CTString();
    }
}

bool CMasqueNumerique::sbParametreForce(eINTERNATIONAL_PARAM e) {
    return e >= 0 && e < eIP_NB && Parametres().tabForce[e];
}

void CMasqueNumerique::sReinitialiseParametresInternationaux() { Parametres() = STParametres(); }

wchar_t CMasqueNumerique::_cSeparateurDecimal(const STAnalyse& a) const {
    if ((a.dwOptions & eOPT_SEPARATEUR_PROPRE) || !Parametres().tabForce[eIP_SEPARATEUR_DECIMAL])
        return m_cSepDecimalAffichage;
    return Parametres().cDecimal;
}

wchar_t CMasqueNumerique::_cSeparateurMillier() const {
    return Parametres().tabForce[eIP_SEPARATEUR_MILLIER] ? Parametres().cMillier : m_cSepMillierAffichage;
}

const CTString& CMasqueNumerique::_sMonnaie() const {
    return Parametres().tabForce[eIP_MONNAIE] ? Parametres().sMonnaie : m_sMonnaie;
}

// ---------------------------------------------------------------------------
// Construction and analysis

CMasqueNumerique::CMasqueNumerique(const CTString& sMasque, uint32_t dwOptions)
    : m_cSepMillierAffichage(Parametres().cMillier), m_cSepDecimalAffichage(Parametres().cDecimal),
      m_sMonnaie(Parametres().sMonnaie) {
    _Analyse(m_clTailleDisqueSaisie, kpszMasqueTailleDisqueSaisie, 0);
    SetMasque(sMasque, dwOptions);
}

void CMasqueNumerique::SetMasque(const CTString& sMasque, uint32_t dwOptions) { _Analyse(m_clAffichage, sMasque, dwOptions); }

void CMasqueNumerique::SetMasqueSaisie(const CTString& sMasque, uint32_t dwOptions) {
    _Analyse(m_clSaisie, sMasque, dwOptions);
}

void CMasqueNumerique::vSetMasquePourSaisieEtAff(const CTString& sSaisie, const CTString& sAffichage) {
    SetMasqueSaisie(sSaisie, m_clSaisie.dwOptionsDonnees);
    SetMasque(sAffichage, m_clAffichage.dwOptionsDonnees);
}

void CMasqueNumerique::SetNbChiffresSysteme(int n) {
    m_nNbChiffresSysteme = n;
    _Analyse(m_clAffichage, CTString(m_clAffichage.sTexte), m_clAffichage.dwOptionsDonnees);
    _Analyse(m_clSaisie, CTString(m_clSaisie.sTexte), m_clSaisie.dwOptionsDonnees);
}

void CMasqueNumerique::vSetInfoLangueMasque(const STInfoLangueMasque& stInfo) {
    if (stInfo.cSeparateurDecimal) m_cSepDecimalAffichage = stInfo.cSeparateurDecimal;
    m_cSepMillierAffichage = stInfo.cSeparateurMillier;
    m_sMonnaie = stInfo.sMonnaie;
}

const CMasqueNumerique::STAnalyse& CMasqueNumerique::_clAnalysePour(bool bEnSaisie) const {
    return bEnSaisie && !m_clSaisie.bVide() ? m_clSaisie : m_clAffichage;
}

const CMasqueNumerique::STAnalyse& CMasqueNumerique::_clAnalyseSaisie() const {
    const STAnalyse& a = _clAnalysePour(true);
    return a.bTailleDisque ? m_clTailleDisqueSaisie : a;
}

CTString CMasqueNumerique::sConstruitMasqueMonetaire(int nEntiers, int nDecimales, bool bSymbole) {
    nEntiers = std::clamp(nEntiers, 1, knChiffresMax);
    nDecimales = std::clamp(nDecimales, 0, knChiffresMax);
    CTString s;
    for (int k = 0; k < nEntiers; ++k) {
        if (k > 0 && k % 3 == 0) s.push_back(L' ');
        s.push_back(L'9');
    }
    std::reverse(s.begin(), s.end());
    s.insert(0, 1, L'-');
    if (nDecimales > 0) {
        s.push_back(L',');
        s.append(static_cast<size_t>(nDecimales), L'9');
    }
    if (bSymbole) s += L" $";
    return s;
}

CTString CMasqueNumerique::_ConstruitMasqueSysteme(bool, bool bSymbole) const {
    // Numbers and money are both shown with the current separators (those of
    // the mask, from the module-wide settings) and the system number of
    // decimals; money may add the currency symbol.
    const int nDecimales = m_nNbChiffresSysteme < 0 ? 2 : std::min(m_nNbChiffresSysteme, 30);
    return sConstruitMasqueMonetaire(15, nDecimales, bSymbole);
}

void CMasqueNumerique::_Analyse(STAnalyse& a, const CTString& sTexte, uint32_t dwOptions) const {
    a = STAnalyse();
    a.sTexte = sTexte;
    a.dwOptionsDonnees = dwOptions;
    a.dwOptions = dwOptions;
    if (sTexte.empty()) return;
    CTString sEffectif = sTexte;
    if (kvtexte::bEgalSansCasse(sTexte, pszMASQUE_TAILLE_DISQUE)) {
        a.bTailleDisque = true;
        return;
    }
    if (kvtexte::bEgalSansCasse(sTexte, pszMASQUE_NUM_SYSTEME)) {
        sEffectif = _ConstruitMasqueSysteme(false, false);
        a.dwOptions |= eOPT_SYSTEME;
    } else if (kvtexte::bEgalSansCasse(sTexte, pszMASQUE_MONNAIE_SYSTEME)) {
        sEffectif = _ConstruitMasqueSysteme(true, false);
        a.dwOptions |= eOPT_SYSTEME;
    } else if (kvtexte::bEgalSansCasse(sTexte, pszMASQUE_MONNAIE_SYSTEME_SYMBOLE)) {
        sEffectif = _ConstruitMasqueSysteme(true, true);
        a.dwOptions |= eOPT_SYSTEME | eOPT_SYMBOLE_MONETAIRE;
    }
    // Parts: positive, negative, zero, null; any further part is ignored.
    std::vector<CTString> tabTextes;
    size_t nDebut = 0;
    for (;;) {
        const size_t n = sEffectif.find(L';', nDebut);
        tabTextes.push_back(sEffectif.substr(nDebut, n == CTString::npos ? CTString::npos : n - nDebut));
        if (n == CTString::npos || tabTextes.size() == 4) break;
        nDebut = n + 1;
    }
    a.tabParties.resize(tabTextes.size());
    for (size_t i = 0; i < tabTextes.size(); ++i) _AnalysePartie(a.tabParties[i], tabTextes[i], tabTextes.size() > 1);
}

void CMasqueNumerique::_AnalysePartie(STPartie& P, CTString T, bool bPlusieurs) const {
    // The colour, "[Name]" anywhere in the part.
    const size_t o = T.find(L'[');
    if (o != CTString::npos) {
        const size_t f = T.find(L']', o + 1);
        if (f != CTString::npos) {
            P.sCouleur = T.substr(o, f - o + 1);
            P.dwCouleur = dwCouleurDeNom(T.substr(o + 1, f - o - 1));
            T.erase(o, f - o + 1);
        }
    }
    P.sTexte = T;
    P.bSigne = T.find_first_of(L"-+") != CTString::npos;

    bool bApresDecimale = false, bDansFraction = false;
    for (size_t i = 0; i < T.size(); ++i) {
        const wchar_t c = T[i];
        const wchar_t s = i + 1 < T.size() ? T[i + 1] : 0;
        // The decimals run up to the first character that is neither a digit
        // nor a space.
        if (bDansFraction && !bChiffre(c) && c != L' ' && c != 0xA0) bDansFraction = false;
        STJeton j;
        j.nTexte = static_cast<int>(i);
        j.c = c;
        if (c == L'\\' && s == L'%') {
            j.c = L'%';
            ++i;
        } else if (c == L'$') {
            if (s == L'$')
                ++i;
            else
                j.e = eJeton::Monnaie;
        } else if (c == L'%') {
            if (s == L'%')
                ++i;
            else
                j.e = eJeton::Pourcent;
        } else if (c == L'-') {
            if (s == L'-')
                ++i;
            else
                j.e = eJeton::Signe;
        } else if (c == L'+') {
            if (!bPlusieurs) j.e = eJeton::Signe;
        } else if (bChiffre(c)) {
            if (bDansFraction) {
                j.e = eJeton::Chiffre;
                j.bFraction = true;
            } else if (!bApresDecimale && (c == L'0' || c == L'9')) {
                j.e = eJeton::Chiffre;
            }
        } else if (c == m_cCaractereDecimalMasque && !bApresDecimale) {
            j.e = eJeton::Decimale;
            bApresDecimale = bDansFraction = true;
        } else if (c == m_cCaractereMillierMasque || c == L'.' || (bDansFraction && c == 0xA0)) {
            j.e = eJeton::Separateur;
        } else if (c == L'(') {
            j.e = eJeton::ParOuvrante;
        } else if (c == L')') {
            j.e = eJeton::ParFermante;
        }
        P.tabJetons.push_back(j);
    }

    auto& J = P.tabJetons;
    const int nNb = static_cast<int>(J.size());
    int nPremier = -1, nDernier = -1;
    for (int k = 0; k < nNb; ++k)
        if (J[k].e == eJeton::Chiffre) {
            if (nPremier < 0) nPremier = k;
            nDernier = k;
        }
    // Separators outside the digits are shown as written; between digits
    // they know whether a '9' position follows.
    bool b9 = false;
    for (int k = nNb - 1; k >= 0; --k) {
        if (J[k].e == eJeton::Separateur) {
            if (nPremier < 0 || k < nPremier || k > nDernier)
                J[k].e = eJeton::Litteral;
            else
                J[k].b9Apres = b9;
        } else if (J[k].e == eJeton::Chiffre && J[k].c == L'9') {
            b9 = true;
        }
    }
    // Parentheses: the first '(' and a ')' after it with a digit position
    // between them; any other parenthesis is a plain character.
    int nOuvrante = -1, nFermante = -1;
    for (int k = 0; k < nNb && nOuvrante < 0; ++k)
        if (J[k].e == eJeton::ParOuvrante) {
            bool bChiffreEntre = false;
            for (int m = k + 1; m < nNb; ++m) {
                if (J[m].e == eJeton::Chiffre) bChiffreEntre = true;
                if (J[m].e == eJeton::ParFermante && bChiffreEntre) {
                    nOuvrante = k;
                    nFermante = m;
                    break;
                }
            }
            break;
        }
    P.bParentheses = nOuvrante >= 0;
    for (int k = 0; k < nNb; ++k)
        if ((J[k].e == eJeton::ParOuvrante || J[k].e == eJeton::ParFermante) && k != nOuvrante && k != nFermante)
            J[k].e = eJeton::Litteral;

    for (const STJeton& j : J) {
        if (j.e == eJeton::Chiffre) ++(j.bFraction ? P.nDecimales : P.nEntiers);
        if (j.e == eJeton::Decimale) P.bDecimale = true;
        if (j.e == eJeton::Pourcent) P.bPourcentage = true;
    }
}

const CMasqueNumerique::STPartie& CMasqueNumerique::_clPartie(const STAnalyse& a, int nPartie) {
    static const STPartie s_clVide;
    if (a.tabParties.empty()) return s_clVide;
    if (nPartie > 0 && nPartie < static_cast<int>(a.tabParties.size())) {
        // An empty part 1 or 2 is a missing one: part 0 serves. The null part
        // is taken as written, even empty.
        const STPartie& p = a.tabParties[static_cast<size_t>(nPartie)];
        if (nPartie == 3 || !p.sTexte.empty() || !p.sCouleur.empty()) return p;
    }
    return a.tabParties[0];
}

// The part that shows n, and in v the number as that part shows it: the
// percentage applied and rounded to the part's decimals. A value that rounds
// to zero is shown by the zero part.
const CMasqueNumerique::STPartie& CMasqueNumerique::_clPreparePartie(const STAnalyse& a, const STNombre& n,
                                                                     STNombre& v, bool bEnSaisie) const {
    auto prepare = [&](const STPartie& P) {
        v = n;
        if (P.bPourcentage) MultiplieParCent(v);
        Arrondit(v, P.nDecimales);
    };
    const STPartie* P = &_clPartie(a, nChoixPartie(a, n, bEnSaisie));
    prepare(*P);
    const STPartie* P2 = &_clPartie(a, nChoixPartie(a, v, bEnSaisie));
    if (P2 != P) {
        P = P2;
        prepare(*P);
    }
    return *P;
}

// ---------------------------------------------------------------------------
// Formatting

void CMasqueNumerique::Formate(const CTString& sValeur, CTString& sSortie, CObjetAPCode* pclObjet) const {
    MetAuFormat(sValeur, sSortie, false, pclObjet);
}

void CMasqueNumerique::FormateEnSaisie(const CTString& sValeur, CTString& sSortie) const {
    MetAuFormat(sValeur, sSortie, true, nullptr);
}

void CMasqueNumerique::MetAuFormat(const CTString& sValeur, CTString& sSortie, bool bEnSaisie,
                                   CObjetAPCode* pclObjet) const {
    const STAnalyse& a = _clAnalysePour(bEnSaisie);
    STNombre n;
    if (a.bVide() || !bLitNombre(sValeur, n)) {
        sSortie = sValeur;
        return;
    }
    if (a.bTailleDisque && !bEnSaisie) {
        MetAuFormatTailleDisque(sValeur, sSortie);
        return;
    }
    const bool bTient = _bFormate(a.bTailleDisque ? m_clTailleDisqueSaisie : a, n, sValeur, bEnSaisie, sSortie);
    if (!bTient && !bEnSaisie && pclObjet) {
        const CXError e = ErreurKVOBJ(10637, {sValeur, a.sTexte, sSortie});
        // Named as the program names it ("FEN.EDT") when the object knows it.
        const auto* pclOBJ = dynamic_cast<const CObjetAPCodeOBJ*>(pclObjet);
        const CTString sNom = pclOBJ ? pclOBJ->GetNomComplet() : pclObjet->sGetNom();
        LeveWarningExecChamp(ePORTEE_CHAMP, sNom.empty() ? e.sGetMessage() : sNom + L": " + e.sGetMessage());
    }
}

bool CMasqueNumerique::_bFormate(const STAnalyse& a, const STNombre& n, const CTString& sValeur, bool bEnSaisie,
                                 CTString& sSortie) const {
    STNombre v;
    const STPartie& P = _clPreparePartie(a, n, v, bEnSaisie);
    if (P.sTexte.empty()) {
        sSortie = sValeur;
        return true;
    }
    const wchar_t cDecimal = _cSeparateurDecimal(a);
    if (static_cast<long long>(v.sEntier.size()) > P.nEntiers) {
        if (bEnSaisie) {
            // The entry text must give the value back when it is read again:
            // the raw number, not the overflow text.
            sSortie = sTexteBrut(v, cDecimal);
        } else {
            sSortie = sMessageMasque(eMSG_MASQUE_DEPASSEMENT);
            if (sSortie.empty()) sSortie = kpszDepassementDefaut;
            if (kvtexte::bEgalSansCasse(sSortie, kpszDepassementDefaut) && P.nEntiers <= 4)
                sSortie.assign(static_cast<size_t>(std::max(P.nEntiers, 1)), L'+');
        }
        return false;
    }

    const std::string sEntier = v.sEntier.empty() && P.nEntiers > 0 ? std::string("0") : v.sEntier;
    const int nVides = P.nEntiers - static_cast<int>(sEntier.size());
    std::string sFraction = v.sFraction;
    sFraction.resize(static_cast<size_t>(P.nDecimales), '0');
    // Decimals shown in entry: trailing zeros at '9' positions are left out.
    int nDecimalesMontrees = P.nDecimales;
    if (bEnSaisie) {
        std::vector<wchar_t> tabGenres;
        for (const STJeton& j : P.tabJetons)
            if (j.e == eJeton::Chiffre && j.bFraction) tabGenres.push_back(j.c);
        while (nDecimalesMontrees > 0 && tabGenres[static_cast<size_t>(nDecimalesMontrees - 1)] != L'0' &&
               sFraction[static_cast<size_t>(nDecimalesMontrees - 1)] == '0')
            --nDecimalesMontrees;
    }
    const wchar_t cMillier = _cSeparateurMillier();

    CTString s;
    int iEntier = 0, iFraction = 0;
    bool bChiffreMontre = false, bSigneMontre = false;
    for (const STJeton& j : P.tabJetons) {
        switch (j.e) {
        case eJeton::Chiffre:
            if (!j.bFraction) {
                if (iEntier < nVides) {
                    if (j.c == L'0' && !bEnSaisie) {
                        s.push_back(L'0');
                        bChiffreMontre = true;
                    }
                } else {
                    s.push_back(static_cast<wchar_t>(sEntier[static_cast<size_t>(iEntier - nVides)]));
                    bChiffreMontre = true;
                }
                ++iEntier;
            } else {
                if (!bEnSaisie || iFraction < nDecimalesMontrees) {
                    s.push_back(static_cast<wchar_t>(sFraction[static_cast<size_t>(iFraction)]));
                    bChiffreMontre = true;
                }
                ++iFraction;
            }
            break;
        case eJeton::Decimale:
            if (!bEnSaisie || nDecimalesMontrees > 0) s.push_back(cDecimal);
            break;
        case eJeton::Separateur:
            if (!bEnSaisie && bChiffreMontre) {
                if (!j.b9Apres)
                    s.push_back(L' ');
                else if (cMillier)
                    s.push_back(cMillier);
            }
            break;
        case eJeton::Monnaie:
            if (!bEnSaisie) s += _sMonnaie();
            break;
        case eJeton::Pourcent:
            if (!bEnSaisie) s.push_back(L'%');
            break;
        case eJeton::Signe:
            if (v.bNegatif && !bEnSaisie) {
                s.push_back(L'-');
                bSigneMontre = true;
            }
            break;
        case eJeton::ParOuvrante:
            if (v.bNegatif) {
                s.push_back(bEnSaisie ? L'-' : L'(');
                bSigneMontre = true;
            }
            break;
        case eJeton::ParFermante:
            if (v.bNegatif && !bEnSaisie) s.push_back(L')');
            break;
        case eJeton::Litteral:
            if (!bEnSaisie) s.push_back(j.c);
            break;
        }
    }
    if (v.bNegatif && !bSigneMontre) s.insert(0, 1, L'-');
    sSortie = std::move(s);
    return true;
}

void CMasqueNumerique::MetAuFormatTailleDisque(const CTString& sValeur, CTString& sSortie) const {
    STNombre n;
    if (!bLitNombre(sValeur, n)) {
        sSortie = sValeur;
        return;
    }
    Arrondit(n, 0);
    if (n.sEntier.size() > 36) {
        sSortie = sMessageMasque(eMSG_MASQUE_DEPASSEMENT);
        if (sSortie.empty()) sSortie = kpszDepassementDefaut;
        return;
    }
    unsigned __int128 v = 0;
    for (char c : n.sEntier) v = v * 10 + static_cast<unsigned>(c - '0');
    int k = 0;
    unsigned __int128 u = 1;
    while (k < nNB_UNITES_TAILLE_DISQUE - 1 && v >= u * 1024) {
        u *= 1024;
        ++k;
    }
    // Hundredths of the unit, rounded; 1023.995 KB is shown as 1 MB.
    unsigned __int128 c = (v * 100 + u / 2) / u;
    if (k > 0 && k < nNB_UNITES_TAILLE_DISQUE - 1 && c >= 102400) {
        u *= 1024;
        ++k;
        c = (v * 100 + u / 2) / u;
    }
    CTString s;
    if (n.bNegatif) s.push_back(L'-');
    if (k == 0) {
        s += sEntier128(v);
    } else {
        s += sEntier128(c / 100);
        const int d = static_cast<int>(c % 100);
        if (d != 0) {
            s.push_back(_cSeparateurDecimal(m_clAffichage));
            s.push_back(static_cast<wchar_t>(L'0' + d / 10));
            if (d % 10) s.push_back(static_cast<wchar_t>(L'0' + d % 10));
        }
    }
    s.push_back(L' ');
    s += sUniteTailleDisque(k);
    sSortie = std::move(s);
}

// ---------------------------------------------------------------------------
// Reading back

bool CMasqueNumerique::_EnleveFormat(const CTString& sTexte, CTString& sValeur, bool bEnSaisie) const {
    const wchar_t cDecimal = _cSeparateurDecimal(_clAnalysePour(bEnSaisie));
    CTString t = sTexte;
    if (!bEnSaisie) {
        const CTString& sMonnaie = _sMonnaie();
        if (!sMonnaie.empty())
            for (size_t p = t.find(sMonnaie); p != CTString::npos; p = t.find(sMonnaie, p)) t.erase(p, sMonnaie.size());
    }
    CTString r;
    bool bNegatif = false, bSeparateur = false, bChiffres = false, bOuvrante = false;
    for (wchar_t c : t) {
        if (bChiffre(c)) {
            r.push_back(c);
            bChiffres = true;
        } else if (c == cDecimal || (bEnSaisie && c == L'.')) {
            if (bSeparateur) return false;
            bSeparateur = true;
            r.push_back(L'.');
        } else if (c == L'-') {
            bNegatif = true;
        } else if (c == L'(') {
            bOuvrante = true;
        } else if (c == L')' && bOuvrante) {
            bNegatif = true;
        }
        // Anything else (separators, literals, symbols) is format.
    }
    if (!bChiffres) return false;
    if (bNegatif) r.insert(0, 1, L'-');
    sValeur = std::move(r);
    return true;
}

bool CMasqueNumerique::_bDeformateTailleDisque(const CTString& sTexte, CTString& sValeur) const {
    CTString s = sTexte;
    // The longest unit name the text ends with ("KB" before "B").
    int k = 0;
    size_t nLongueur = 0;
    for (int u = 0; u < nNB_UNITES_TAILLE_DISQUE; ++u) {
        const CTString sUnite = sUniteTailleDisque(u);
        if (sUnite.size() > nLongueur && s.size() >= sUnite.size() &&
            kvtexte::bEgalSansCasse(std::wstring_view(s).substr(s.size() - sUnite.size()), sUnite)) {
            k = u;
            nLongueur = sUnite.size();
        }
    }
    s = sSansEspaces(s.substr(0, s.size() - nLongueur));
    const STSaisie e = LitSaisie(s, _cSeparateurDecimal(m_clAffichage));
    if (!e.bValide || e.nEntiers + e.nDecimales == 0) return false;
    STNombre n;
    std::replace(s.begin(), s.end(), _cSeparateurDecimal(m_clAffichage), L'.');
    if (!bLitNombre(s, n)) return false;
    // bytes = digits × 1024^k / 10^decimals, in 128 bits.
    if (k == 0) {
        Arrondit(n, 0);
        sValeur = sTexteNombre(n);
        return true;
    }
    if (n.sEntier.size() + n.sFraction.size() > 19) return false;
    unsigned __int128 N = 0, echelle = 1;
    for (char c : n.sEntier + n.sFraction) N = N * 10 + static_cast<unsigned>(c - '0');
    for (size_t i = 0; i < n.sFraction.size(); ++i) echelle *= 10;
    const unsigned __int128 octets = ((N << (10 * k)) + echelle / 2) / echelle;
    sValeur = CTString(n.bNegatif && octets ? L"-" : L"") + sEntier128(octets);
    return true;
}

bool CMasqueNumerique::DeformateNum(const CTString& sTexte, CTString& sValeur, bool bEnSaisie) const {
    const STAnalyse& a = _clAnalysePour(bEnSaisie);
    const CTString s = sSansEspaces(sTexte);
    if (s.empty()) {
        sValeur.clear();
        return true;
    }
    if (!bEnSaisie && !a.bVide()) {
        if (s == sSansEspaces(pszGetValeurPourNull(false))) {
            sValeur.clear();
            return true;
        }
        if (a.bTailleDisque) return _bDeformateTailleDisque(s, sValeur);
        // The display of zero may be any text (a zero part).
        CTString sZero;
        MetAuFormat(L"0", sZero, false, nullptr);
        if (s == sSansEspaces(sZero)) {
            sValeur = L"0";
            return true;
        }
    }
    CTString sBrut;
    STNombre n;
    // Without a mask, or through an empty part, the value text itself is
    // shown ('.' as decimal point whatever the separators).
    if (a.bVide()) return _bValeurSansMasque(s, sValeur);
    if (!_EnleveFormat(s, sBrut, bEnSaisie) || !bLitNombre(sBrut, n)) return false;
    const STPartie& P = _clPartie(a, nChoixPartie(a, n));
    if (!bEnSaisie && !a.bTailleDisque && P.sTexte.empty()) return _bValeurSansMasque(s, sValeur);
    if (!a.bTailleDisque && P.bPourcentage) DiviseParCent(n);
    sValeur = sTexteNombre(n);
    return true;
}

// A value text as written, or with the mask's decimal separator.
bool CMasqueNumerique::_bValeurSansMasque(const CTString& sTexte, CTString& sValeur) const {
    CTString s = sSansEspaces(sTexte);
    std::replace(s.begin(), s.end(), _cSeparateurDecimal(_clAnalysePour(true)), L'.');
    STNombre n;
    if (!bLitNombre(s, n)) return false;
    sValeur = sTexteNombre(n);
    return true;
}

bool CMasqueNumerique::vbDeformate(const CTString& sTexte, CTString& sValeur, bool bEnSaisie) const {
    return DeformateNum(sTexte, sValeur, bEnSaisie);
}

// ---------------------------------------------------------------------------
// Typing

wchar_t CMasqueNumerique::vcTransformeCaractere(wchar_t c, const CTString&, int) const {
    // Either decimal key types the decimal separator: an entry text has no
    // thousands separators, so neither can mean anything else.
    if (c == L'.' || c == L',') return _cSeparateurDecimal(_clAnalysePour(true));
    return c;
}

void CMasqueNumerique::ReFormateLaSaisie(CTString& sTexte) const {
    const wchar_t cDecimal = _cSeparateurDecimal(_clAnalysePour(true));
    for (wchar_t& c : sTexte)
        if (c == L'.' || c == L',') c = cDecimal;
}

bool CMasqueNumerique::_bNegatifAccepte(const STAnalyse& a) const {
    if (a.tabParties.empty()) return false;
    const STPartie& P = _clPartie(a, 1);
    return P.bSigne || P.bParentheses;
}

bool CMasqueNumerique::bNegatifAccepte() const { return _bNegatifAccepte(_clAnalyseSaisie()); }

bool CMasqueNumerique::_bTexteValide(const STAnalyse& a, const CTString& sTexte) const {
    if (a.bVide() || sTexte.empty()) return true;
    const STSaisie e = LitSaisie(sTexte, _cSeparateurDecimal(a));
    if (!e.bValide) return false;
    if (e.bNegatif && !_bNegatifAccepte(a)) return false;
    if (e.bZero && a.tabParties.size() > 2 && &_clPartie(a, 2) != &a.tabParties[0]) return true;
    const STPartie& P = _clPartie(a, e.bNegatif ? 1 : 0);
    if (P.sTexte.empty()) return true;
    return e.nEntiers <= P.nEntiers && e.nDecimales <= P.nDecimales;
}

bool CMasqueNumerique::bEstValideEnSaisie(const CTString& sTexte) const {
    return _bTexteValide(_clAnalyseSaisie(), sTexte);
}

bool CMasqueNumerique::bEstValide(const CTString& sTexte) const {
    if (sTexte.empty()) return true;
    const STAnalyse& a = _clAnalyseSaisie();
    if (a.bVide()) {
        CTString sValeur;
        return _bValeurSansMasque(sTexte, sValeur);
    }
    // Valid while typing, and a number: a lone sign or separator is not.
    return _bTexteValide(a, sTexte) && std::any_of(sTexte.begin(), sTexte.end(), bChiffre);
}

bool CMasqueNumerique::bFinDeSaisie(const CTString& sTexte, bool bEnSaisie) const {
    const STAnalyse& a = bEnSaisie ? _clAnalyseSaisie() : _clAnalysePour(false);
    if (a.bVide() || a.bTailleDisque) return false;
    CTString sBrut = sTexte;
    if (!bEnSaisie) {
        CTString sValeur;
        if (!_EnleveFormat(sTexte, sValeur, false)) return false;
        sBrut = sValeur;
    }
    const STSaisie e = LitSaisie(sBrut, _cSeparateurDecimal(a));
    if (!e.bValide) return false;
    const STPartie& P = _clPartie(a, e.bNegatif ? 1 : 0);
    return P.nEntiers + P.nDecimales > 0 && e.nEntiers == P.nEntiers && e.nDecimales == P.nDecimales;
}

bool CMasqueNumerique::vbReformatePourColler(const CTString& sColle, CTString& sSortie) const {
    // A text holding the display decimal separator is read as displayed
    // (dots being thousands separators), any other as typed ('.' decimal).
    const CTString s = sSansEspaces(sColle);
    const wchar_t cDecimal = _cSeparateurDecimal(_clAnalysePour(true));
    const bool bAffiche = cDecimal != L'.' && s.find(_cSeparateurDecimal(m_clAffichage)) != CTString::npos;
    CTString sBrut;
    STNombre n;
    if (!_EnleveFormat(s, sBrut, !bAffiche) || !bLitNombre(sBrut, n)) return false;
    sSortie = sTexteBrut(n, cDecimal);
    return true;
}

int CMasqueNumerique::nNbMaxCharEnSaisie() const {
    const STAnalyse& a = _clAnalyseSaisie();
    if (a.bVide()) return nLONGUEUR_MAX_AUCUNE;
    const int nSigne = _bNegatifAccepte(a) ? 1 : 0;
    int n = 0;
    for (int p = 0; p < std::min<int>(3, static_cast<int>(a.tabParties.size())); ++p) {
        const STPartie& P = _clPartie(a, p);
        if (P.sTexte.empty()) return nLONGUEUR_MAX_AUCUNE;
        n = std::max(n, nSigne + P.nEntiers + (P.nDecimales > 0 ? 1 + P.nDecimales : 0));
    }
    return n;
}

// ---------------------------------------------------------------------------
// Questions on the mask

uint16_t CMasqueNumerique::wGetTypeFromMasque() const {
    const STAnalyse& a = m_clAffichage.bVide() ? m_clSaisie : m_clAffichage;
    if (a.bTailleDisque) return wTYPE_ENTIER_8;
    // A mask that says nothing keeps decimals rather than dropping them.
    if (a.bVide()) return wTYPE_REEL_8;
    if (a.dwOptions & (eOPT_REEL | eOPT_SYSTEME)) return wTYPE_REEL_8;
    int nEntiers = 0;
    for (size_t p = 0; p < a.tabParties.size() && p < 3; ++p) {
        const STPartie& P = a.tabParties[p];
        if (P.nDecimales > 0 || P.bPourcentage) return wTYPE_REEL_8;
        nEntiers = std::max(nEntiers, P.nEntiers);
    }
    return nEntiers < 10 ? wTYPE_ENTIER_4 : wTYPE_ENTIER_8;
}

int CMasqueNumerique::nDecimalesMasque(int nPartie, bool bEffectif) const {
    const STPartie& P = _clPartie(m_clAffichage, nPartie);
    return P.nDecimales + (bEffectif && P.bPourcentage ? 2 : 0);
}

int CMasqueNumerique::nGetNbChiffreSignificatifMasque(int nPartie) const {
    const STPartie& P = _clPartie(m_clAffichage, nPartie);
    return P.nEntiers + P.nDecimales;
}

bool CMasqueNumerique::bEstMasquePourcentage(int nPartie) const {
    return _clPartie(m_clAffichage, nPartie).bPourcentage;
}

bool CMasqueNumerique::bEstMasqueTailleDisque(int) const { return m_clAffichage.bTailleDisque; }

uint32_t CMasqueNumerique::dwGetCouleurPourValeur(const CTString& sValeur, bool bEnSaisie) const {
    const STAnalyse& a = _clAnalysePour(bEnSaisie);
    if (a.tabParties.empty()) return COULEUR_MASQUE_AUCUNE;
    STNombre n, v;
    if (!bLitNombre(sValeur, n))
        return sSansEspaces(sValeur).empty() ? dwGetCouleurPourPourNull(bEnSaisie) : a.tabParties[0].dwCouleur;
    return _clPreparePartie(a, n, v, bEnSaisie).dwCouleur;
}

uint32_t CMasqueNumerique::dwGetCouleurPourPourNull(bool bEnSaisie) const {
    const STAnalyse& a = _clAnalysePour(bEnSaisie);
    return a.tabParties.size() > 3 ? a.tabParties[3].dwCouleur : COULEUR_MASQUE_AUCUNE;
}

CTString CMasqueNumerique::pszGetValeurPourNull(bool bEnSaisie) const {
    if (bEnSaisie) return CTString();
    if (m_clAffichage.tabParties.size() > 3) return m_clAffichage.tabParties[3].sTexte;
    return sMessageMasque(eMSG_MASQUE_NULL);
}

void CMasqueNumerique::_Affixe(const STPartie& P, bool bPrefixe, CTString& sSortie) const {
    sSortie.clear();
    const int nNb = static_cast<int>(P.tabJetons.size());
    int nPremier = nNb, nDernier = nNb;
    for (int k = 0; k < nNb; ++k)
        if (P.tabJetons[static_cast<size_t>(k)].e == eJeton::Chiffre) {
            if (nPremier == nNb) nPremier = k;
            nDernier = k;
        }
    const int nDebut = bPrefixe ? 0 : nDernier + 1;
    const int nFin = bPrefixe ? nPremier : nNb;
    for (int k = nDebut; k < nFin; ++k) {
        const STJeton& j = P.tabJetons[static_cast<size_t>(k)];
        switch (j.e) {
        case eJeton::Litteral: sSortie.push_back(j.c); break;
        case eJeton::Monnaie: sSortie += _sMonnaie(); break;
        case eJeton::Pourcent: sSortie.push_back(L'%'); break;
        case eJeton::Decimale: sSortie.push_back(_cSeparateurDecimal(m_clAffichage)); break;
        default: break;  // signs and parentheses show nothing for a positive value
        }
    }
}

void CMasqueNumerique::GetPrefixeChiffre(int nPartie, CTString& sSortie) const {
    _Affixe(_clPartie(m_clAffichage, nPartie), true, sSortie);
}

void CMasqueNumerique::GetPostfixeChiffre(int nPartie, CTString& sSortie) const {
    _Affixe(_clPartie(m_clAffichage, nPartie), false, sSortie);
}

void CMasqueNumerique::GetMasqueAvecNChiffres(int nChiffres, CTString& sSortie) const {
    const STAnalyse& a = m_clAffichage;
    if (a.bVide() || a.bTailleDisque) {
        sSortie = a.sTexte;
        return;
    }
    nChiffres = std::clamp(nChiffres, 1, knChiffresMax);
    CTString s;
    for (size_t p = 0; p < a.tabParties.size(); ++p) {
        const STPartie& P = a.tabParties[p];
        if (p > 0) s.push_back(L';');
        s += P.sCouleur;
        if (P.nEntiers == 0) {
            s += P.sTexte;
            continue;
        }
        // The integer positions, from the first to the last, are written
        // again: the '0' positions on the right are kept, the separator (if
        // any) groups by three.
        int nPremier = -1, nDernier = -1, nZeros = 0;
        wchar_t cSeparateur = 0;
        for (size_t k = 0; k < P.tabJetons.size(); ++k) {
            const STJeton& j = P.tabJetons[k];
            if (j.e == eJeton::Chiffre && !j.bFraction) {
                if (nPremier < 0) nPremier = j.nTexte;
                nDernier = j.nTexte;
                nZeros = j.c == L'0' ? nZeros + 1 : 0;
            } else if (j.e == eJeton::Separateur && nPremier >= 0 && !cSeparateur && !j.bFraction) {
                cSeparateur = j.c;
            }
        }
        CTString sChiffres;
        for (int k = 0; k < nChiffres; ++k) {
            if (k > 0 && k % 3 == 0 && cSeparateur) sChiffres.push_back(cSeparateur);
            sChiffres.push_back(k < nZeros ? L'0' : L'9');
        }
        std::reverse(sChiffres.begin(), sChiffres.end());
        s += P.sTexte.substr(0, static_cast<size_t>(nPremier));
        s += sChiffres;
        s += P.sTexte.substr(static_cast<size_t>(nDernier) + 1);
    }
    sSortie = std::move(s);
}
