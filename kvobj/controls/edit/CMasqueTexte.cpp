#include "controls/edit/CMasqueTexte.h"
#include <QChar>
#include <QString>
#include <cwchar>
#include <string_view>

namespace {

QString qs(const CTString& s) { return QString::fromWCharArray(s.data(), static_cast<qsizetype>(s.size())); }

bool bLettreOuChiffre(wchar_t c) { return QChar::isLetterOrNumber(static_cast<char32_t>(c)); }
wchar_t cMajuscule(wchar_t c) { return static_cast<wchar_t>(QChar::toUpper(static_cast<char32_t>(c))); }
wchar_t cMinuscule(wchar_t c) { return static_cast<wchar_t>(QChar::toLower(static_cast<char32_t>(c))); }

// Characters no file name may hold on any of the systems files travel to.
bool bInterditDansNomFichier(wchar_t c) { return c < 0x20 || c == 0x7F || std::wcschr(L"/\\:*?\"<>|", c); }

// Characters of an address besides letters and digits (the local part may
// hold all of them, the domain only '-' and '.').
bool bCaractereEmail(wchar_t c) { return bLettreOuChiffre(c) || (c && std::wcschr(L"@.!#$%&'*+/=?^_`{|}~-", c)); }

constexpr size_t knLocalMax = 64;
constexpr size_t knDomaineMax = 253;
constexpr size_t knLabelMax = 63;

// An address or the beginning of one; bComplet asks for a whole address.
bool bEmailValide(std::wstring_view t, bool bComplet) {
    if (t.size() > static_cast<size_t>(CMasqueTexte::nLONGUEUR_MAX_EMAIL)) return false;
    for (wchar_t c : t)
        if (!bCaractereEmail(c)) return false;
    const size_t nArobase = t.find(L'@');
    if (nArobase != std::wstring_view::npos && t.find(L'@', nArobase + 1) != std::wstring_view::npos) return false;
    const std::wstring_view sLocal = t.substr(0, nArobase);
    if (sLocal.size() > knLocalMax || (!sLocal.empty() && sLocal.front() == L'.') ||
        sLocal.find(L"..") != std::wstring_view::npos)
        return false;
    if (nArobase == std::wstring_view::npos) return !bComplet;
    if (sLocal.empty() || sLocal.back() == L'.') return false;
    const std::wstring_view sDomaine = t.substr(nArobase + 1);
    if (sDomaine.size() > knDomaineMax) return false;
    // Labels of letters, digits and '-', not beginning or ending with '-'.
    size_t nLabels = 0;
    size_t nDebut = 0;
    for (;;) {
        const size_t nPoint = sDomaine.find(L'.', nDebut);
        const bool bDernier = nPoint == std::wstring_view::npos;
        const std::wstring_view sLabel = sDomaine.substr(nDebut, bDernier ? std::wstring_view::npos : nPoint - nDebut);
        for (wchar_t c : sLabel)
            if (!bLettreOuChiffre(c) && c != L'-') return false;
        if (sLabel.size() > knLabelMax) return false;
        if (!sLabel.empty() && sLabel.front() == L'-') return false;
        if (bDernier) {
            // The label being typed may still be empty or end with '-'.
            if (bComplet && (sLabel.empty() || sLabel.back() == L'-')) return false;
            if (!sLabel.empty()) ++nLabels;
            break;
        }
        if (sLabel.empty() || sLabel.back() == L'-') return false;
        ++nLabels;
        nDebut = nPoint + 1;
    }
    return !bComplet || nLabels >= 2;
}

} // namespace

CMasqueTexte::CMasqueTexte(eTYPE_MASQUE_TEXTE eType) : m_eType(eType) {
    if (eType == eMASQUE_TEXTE_EMAIL) m_nLongueurMax = nLONGUEUR_MAX_EMAIL;
    if (eType == eMASQUE_TEXTE_NOM_FICHIER) m_nLongueurMax = nLONGUEUR_MAX_NOM_FICHIER;
}

CMasqueTexte::CMasqueTexte(eTYPE_MASQUE_TEXTE eType, const CTString& sModele, QRegularExpression clExpression)
    : m_eType(eType), m_sModele(sModele), m_clExpression(std::move(clExpression)) {}

bool CMasqueTexte::sbEstMasqueExpressionReguliere(const CTString& sMasque) {
    return sMasque.compare(0, std::wcslen(pszPREFIXE_REGEXP), pszPREFIXE_REGEXP) == 0;
}

std::unique_ptr<CMasqueTexte> CMasqueTexte::pclExpressionReguliere(const CTString& sModele, CTString* psErreur) {
    if (sModele.empty()) return nullptr;
    QRegularExpression e(QRegularExpression::anchoredPattern(qs(sModele)), QRegularExpression::UseUnicodePropertiesOption);
    if (!e.isValid()) {
        if (psErreur) *psErreur = e.errorString().toStdWString();
        return nullptr;
    }
    return std::unique_ptr<CMasqueTexte>(new CMasqueTexte(eMASQUE_TEXTE_EXPRESSION_REGULIERE, sModele, std::move(e)));
}

wchar_t CMasqueTexte::vcTransformeCaractere(wchar_t c, const CTString& sTexte, int nPosition) const {
    switch (m_eType) {
    case eMASQUE_TEXTE_MAJUSCULES: return cMajuscule(c);
    case eMASQUE_TEXTE_MINUSCULES: return cMinuscule(c);
    case eMASQUE_TEXTE_PREMIERE_MAJUSCULE:
        // A word begins after anything that is not a letter or a digit.
        if (nPosition <= 0 || nPosition > static_cast<int>(sTexte.size()) ||
            !bLettreOuChiffre(sTexte[static_cast<size_t>(nPosition - 1)]))
            return cMajuscule(c);
        return c;
    case eMASQUE_TEXTE_CHIFFRES: return c >= L'0' && c <= L'9' ? c : 0;
    case eMASQUE_TEXTE_NOM_FICHIER: return bInterditDansNomFichier(c) ? 0 : c;
    case eMASQUE_TEXTE_EMAIL: return bCaractereEmail(c) ? c : 0;
    default: return c;
    }
}

CTString CMasqueTexte::_sTransforme(const CTString& sTexte) const {
    if (m_eType != eMASQUE_TEXTE_MAJUSCULES && m_eType != eMASQUE_TEXTE_MINUSCULES &&
        m_eType != eMASQUE_TEXTE_PREMIERE_MAJUSCULE)
        return sTexte;
    CTString s = sTexte;
    for (size_t i = 0; i < s.size(); ++i) s[i] = vcTransformeCaractere(s[i], s, static_cast<int>(i));
    return s;
}

void CMasqueTexte::Formate(const CTString& sValeur, CTString& sSortie, CObjetAPCode*) const {
    sSortie = _sTransforme(sValeur);
}

void CMasqueTexte::FormateEnSaisie(const CTString& sValeur, CTString& sSortie) const { sSortie = _sTransforme(sValeur); }

bool CMasqueTexte::bEstValideEnSaisie(const CTString& sTexte) const {
    if (sTexte.empty()) return true;
    if (static_cast<long long>(sTexte.size()) > nGetMaxInputChar()) return false;
    switch (m_eType) {
    case eMASQUE_TEXTE_CHIFFRES:
        for (wchar_t c : sTexte)
            if (c < L'0' || c > L'9') return false;
        return true;
    case eMASQUE_TEXTE_NOM_FICHIER:
        for (wchar_t c : sTexte)
            if (bInterditDansNomFichier(c)) return false;
        return true;
    case eMASQUE_TEXTE_EMAIL: return bEmailValide(sTexte, false);
    case eMASQUE_TEXTE_EXPRESSION_REGULIERE: {
        // Accepted while the text is a match or can still become one.
        const QRegularExpressionMatch m =
            m_clExpression.match(qs(sTexte), 0, QRegularExpression::PartialPreferCompleteMatch);
        return m.hasMatch() || m.hasPartialMatch();
    }
    default: return true;
    }
}

bool CMasqueTexte::bEstValide(const CTString& sTexte) const {
    if (sTexte.empty()) return true;
    if (!bEstValideEnSaisie(sTexte)) return false;
    switch (m_eType) {
    case eMASQUE_TEXTE_NOM_FICHIER:
        // "." and ".." name directories; a trailing space or dot is dropped
        // by some systems, which would give another name.
        return sTexte != L"." && sTexte != L".." && sTexte.back() != L' ' && sTexte.back() != L'.';
    case eMASQUE_TEXTE_EMAIL: return bEmailValide(sTexte, true);
    case eMASQUE_TEXTE_EXPRESSION_REGULIERE: return m_clExpression.match(qs(sTexte)).hasMatch();
    default: return true;
    }
}
