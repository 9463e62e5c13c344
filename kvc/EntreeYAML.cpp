#include "EntreeYAML.h"
#include "conteneur/Identifiants.h"
#include "controls/core/CStyleChamp.h"
#include <algorithm>
#include <charconv>

namespace {

struct STCouleurNommee {
    const char* pszNom;
    uint32_t nBGR;  // 0xBBGGRR
};

// Names of colours, as 0xBBGGRR.
constexpr STCouleurNommee COULEURS[] = {
    {"black", 0x000000},      {"white", 0xFFFFFF},       {"red", 0x0000FF},         {"green", 0x00FF00},
    {"blue", 0xFF0000},       {"yellow", 0x00FFFF},      {"cyan", 0xFFFF00},        {"magenta", 0xFF00FF},
    {"grey", 0x808080},       {"gray", 0x808080},        {"light_grey", 0xD3D3D3},  {"dark_grey", 0x404040},
    {"orange", 0x00A5FF},     {"purple", 0x800080},      {"brown", 0x2A2AA5},       {"pink", 0xCBC0FF},
    {"navy", 0x800000},       {"dark_blue", 0x8B0000},   {"light_blue", 0xE6D8AD},  {"dark_red", 0x00008B},
    {"dark_green", 0x006400}, {"light_green", 0x90EE90}, {"light_yellow", 0xE0FFFF},
};

size_t nDistance(const std::string& a, const std::string& b) {
    std::vector<size_t> ligne(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) ligne[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t nDiag = ligne[0];
        ligne[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            size_t n = std::min({ligne[j] + 1, ligne[j - 1] + 1, nDiag + (a[i - 1] == b[j - 1] ? 0 : 1)});
            nDiag = ligne[j];
            ligne[j] = n;
        }
    }
    return ligne[b.size()];
}

} // namespace

CEntreeYAML::CEntreeYAML(YAML::Node noeud, std::string sFichier, CDiagnostics& diag, std::string sQuoi)
    : m_noeud(std::move(noeud)), m_sFichier(std::move(sFichier)), m_diag(diag), m_sQuoi(std::move(sQuoi)) {}

STPosition CEntreeYAML::Position(const YAML::Node& n) const {
    STPosition p;
    p.sFichier = m_sFichier;
    const YAML::Mark m = n.Mark();
    if (m.line >= 0) {
        p.nLigne = m.line + 1;
        p.nColonne = m.column + 1;
    }
    return p;
}

STPosition CEntreeYAML::Position(const char* pszCle) const {
    if (m_noeud.IsMap())
        for (auto it = m_noeud.begin(); it != m_noeud.end(); ++it)
            if (it->first.IsScalar() && it->first.Scalar() == pszCle) return Position(it->first);
    return Position(m_noeud);
}

void CEntreeYAML::Erreur(const YAML::Node& n, const std::string& s) {
    m_bOk = false;
    m_diag.Erreur(Position(n), s);
}

void CEntreeYAML::Erreur(const char* pszCle, const std::string& s) {
    m_bOk = false;
    m_diag.Erreur(Position(pszCle), s);
}

void CEntreeYAML::Connues(std::initializer_list<const char*> tab) {
    for (const char* p : tab) m_setConnues.insert(p);
}

YAML::Node CEntreeYAML::Valeur(const char* pszCle) {
    m_setConnues.insert(pszCle);
    if (m_noeud.IsMap())
        for (auto it = m_noeud.begin(); it != m_noeud.end(); ++it)
            if (it->first.IsScalar() && it->first.Scalar() == pszCle) return it->second;
    return YAML::Node(YAML::NodeType::Undefined);
}

bool CEntreeYAML::bPresent(const char* pszCle) { return Valeur(pszCle).IsDefined(); }

bool CEntreeYAML::bScalaire(const YAML::Node& v, const char* pszCle, const char* pszAttendu) {
    if (v.IsScalar()) return true;
    Erreur(v, std::string("'") + pszCle + "' needs " + pszAttendu);
    return false;
}

bool CEntreeYAML::bTexte(const char* pszCle, CTString& s) {
    YAML::Node v = Valeur(pszCle);
    if (!v.IsDefined()) return false;
    if (v.IsNull()) {
        s.clear();
        return true;
    }
    if (!bScalaire(v, pszCle, "a text")) return false;
    std::wstring w;
    if (!bDepuisUtf8(v.Scalar(), w)) {
        Erreur(v, std::string("'") + pszCle + "' is not valid UTF-8");
        return false;
    }
    s = w;
    return true;
}

bool CEntreeYAML::sbNomValide(const std::wstring& s) {
    if (s.empty() || s.size() > 255) return false;
    auto lettre = [](wchar_t c) {
        return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_' ||
               (c >= 0xC0 && c != 0xD7 && c != 0xF7 && c <= 0x24F);
    };
    if (!lettre(s[0])) return false;
    return std::all_of(s.begin(), s.end(), [&](wchar_t c) { return lettre(c) || (c >= L'0' && c <= L'9'); });
}

bool CEntreeYAML::bNom(const char* pszCle, CTString& s) {
    YAML::Node v = Valeur(pszCle);
    if (!v.IsDefined()) return false;
    std::wstring w;
    if (!v.IsScalar() || !bDepuisUtf8(v.Scalar(), w) || !sbNomValide(w)) {
        Erreur(v, std::string("'") + pszCle + "' needs a name (letters, digits and '_', not starting with a digit)");
        return false;
    }
    s = w;
    return true;
}

bool CEntreeYAML::bBooleen(const char* pszCle, bool& b) {
    YAML::Node v = Valeur(pszCle);
    if (!v.IsDefined()) return false;
    if (v.IsScalar() && (v.Scalar() == "true" || v.Scalar() == "false")) {
        b = v.Scalar() == "true";
        return true;
    }
    Erreur(v, std::string("'") + pszCle + "' needs true or false");
    return false;
}

bool CEntreeYAML::sbEntier(const std::string& s, int64_t& n) {
    if (s.empty() || s.size() > 20) return false;
    const char* p = s.data();
    const char* fin = s.data() + s.size();
    bool bNegatif = false;
    if (*p == '-' || *p == '+') {
        bNegatif = *p == '-';
        ++p;
    }
    int nBase = 10;
    if (fin - p > 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        nBase = 16;
        p += 2;
    }
    if (p == fin) return false;
    uint64_t u = 0;
    auto r = std::from_chars(p, fin, u, nBase);
    if (r.ec != std::errc() || r.ptr != fin || u > static_cast<uint64_t>(INT64_MAX)) return false;
    n = bNegatif ? -static_cast<int64_t>(u) : static_cast<int64_t>(u);
    return true;
}

bool CEntreeYAML::bEntier(const char* pszCle, int32_t& n, int64_t nMin, int64_t nMax) {
    YAML::Node v = Valeur(pszCle);
    if (!v.IsDefined()) return false;
    int64_t x = 0;
    if (!v.IsScalar() || !sbEntier(v.Scalar(), x)) {
        Erreur(v, std::string("'") + pszCle + "' needs a whole number");
        return false;
    }
    if (x < nMin || x > nMax) {
        Erreur(v, std::string("'") + pszCle + "' must be between " + std::to_string(nMin) + " and " +
                      std::to_string(nMax) + " (not " + v.Scalar() + ")");
        return false;
    }
    n = static_cast<int32_t>(x);
    return true;
}

bool CEntreeYAML::bEntiers(const char* pszCle, int32_t* p, size_t nNombre, const char* pszForme, int64_t nMin,
                           int64_t nMax) {
    YAML::Node v = Valeur(pszCle);
    if (!v.IsDefined()) return false;
    if (!v.IsSequence() || v.size() != nNombre) {
        Erreur(v, std::string("'") + pszCle + "' needs " + pszForme);
        return false;
    }
    bool bBon = true;
    for (size_t i = 0; i < nNombre; ++i) {
        const YAML::Node& e = v[i];
        int64_t x = 0;
        if (!e.IsScalar() || !sbEntier(e.Scalar(), x)) {
            Erreur(e, std::string("'") + pszCle + "' needs " + pszForme + " (whole numbers)");
            bBon = false;
        } else if (x < nMin || x > nMax) {
            Erreur(e, std::string("the numbers of '") + pszCle + "' must be between " + std::to_string(nMin) +
                          " and " + std::to_string(nMax) + " (not " + e.Scalar() + ")");
            bBon = false;
        } else {
            p[i] = static_cast<int32_t>(x);
        }
    }
    return bBon;
}

std::string CEntreeYAML::sNomsCouleurs() {
    std::string s;
    for (const auto& c : COULEURS) s += (s.empty() ? "" : ", ") + std::string(c.pszNom);
    return s;
}

bool CEntreeYAML::sbCouleur(const std::string& s, bool bSpeciales, uint32_t& n) {
    for (const auto& c : COULEURS)
        if (s == c.pszNom) {
            n = c.nBGR;
            return true;
        }
    if (bSpeciales && s == "automatic") {
        n = nCOULEUR_AUTO;
        return true;
    }
    if (bSpeciales && s == "transparent") {
        n = nCOULEUR_TRANSPARENT;
        return true;
    }
    int64_t x = 0;
    if (!sbEntier(s, x) || x < 0 || x > 0xFFFFFF) return false;
    n = static_cast<uint32_t>(x);
    return true;
}

bool CEntreeYAML::bCouleur(const char* pszCle, uint32_t& n, bool bSpeciales) {
    YAML::Node v = Valeur(pszCle);
    if (!v.IsDefined()) return false;
    if (v.IsScalar() && sbCouleur(v.Scalar(), bSpeciales, n)) return true;
    Erreur(v, std::string("bad colour") + (v.IsScalar() ? " '" + v.Scalar() + "'" : std::string()) + " for '" +
                  pszCle + "': 0xBBGGRR (blue, green, red; up to 0xFFFFFF) or a name: " + sNomsCouleurs() +
                  (bSpeciales ? ", automatic, transparent" : ""));
    return false;
}

bool CEntreeYAML::bChoix(const char* pszCle, std::initializer_list<STChoix> tab, int32_t& n) {
    YAML::Node v = Valeur(pszCle);
    if (!v.IsDefined()) return false;
    if (v.IsScalar())
        for (const auto& c : tab)
            if (v.Scalar() == c.pszNom) {
                n = c.nValeur;
                return true;
            }
    std::string s;
    for (const auto& c : tab) s += (s.empty() ? "" : ", ") + std::string(c.pszNom);
    Erreur(v, std::string("'") + pszCle + "' is one of: " + s +
                  (v.IsScalar() && !v.Scalar().empty() ? " (not '" + v.Scalar() + "')" : std::string()));
    return false;
}

bool CEntreeYAML::bNoms(const char* pszCle, std::vector<CTString>& tab) {
    YAML::Node v = Valeur(pszCle);
    if (!v.IsDefined()) return false;
    if (!v.IsSequence()) {
        Erreur(v, std::string("'") + pszCle + "' needs a list of names ([A, B])");
        return false;
    }
    bool bBon = true;
    tab.clear();
    for (auto it = v.begin(); it != v.end(); ++it) {
        std::wstring w;
        if (!it->IsScalar() || !bDepuisUtf8(it->Scalar(), w) || !sbNomValide(w)) {
            Erreur(*it, std::string("'") + pszCle + "' needs a list of names (letters, digits and '_', not starting with a digit)");
            bBon = false;
            continue;
        }
        if (std::any_of(tab.begin(), tab.end(), [&](const CTString& t) { return bNomsEgaux(t, w); })) {
            Erreur(*it, "'" + it->Scalar() + "' is listed twice in '" + pszCle + "'");
            bBon = false;
            continue;
        }
        tab.emplace_back(w);
    }
    return bBon;
}

std::unique_ptr<CEntreeYAML> CEntreeYAML::pSousEntree(const char* pszCle, const std::string& sQuoi) {
    YAML::Node v = Valeur(pszCle);
    if (!v.IsDefined()) return nullptr;
    if (!v.IsMap()) {
        Erreur(v, std::string("'") + pszCle + "' needs a mapping ({key: value, ...})");
        return nullptr;
    }
    auto p = std::make_unique<CEntreeYAML>(v, m_sFichier, m_diag, sQuoi);
    p->m_pParent = this;
    return p;
}

bool CEntreeYAML::bFin() {
    if (!m_bFini && m_noeud.IsMap()) {
        m_bFini = true;
        for (auto it = m_noeud.begin(); it != m_noeud.end(); ++it) {
            if (!it->first.IsScalar()) {
                Erreur(it->first, "a key of " + m_sQuoi + " must be a text");
                continue;
            }
            const std::string& k = it->first.Scalar();
            if (m_setConnues.count(k)) continue;
            std::string sProche;
            size_t nMeilleure = 3;
            for (const auto& c : m_setConnues) {
                size_t d = nDistance(k, c);
                if (d < nMeilleure) {
                    nMeilleure = d;
                    sProche = c;
                }
            }
            Erreur(it->first, "unknown key '" + k + "' in " + m_sQuoi +
                                  (sProche.empty() ? std::string() : " (did you mean '" + sProche + "'?)"));
        }
    }
    if (!m_bOk && m_pParent) m_pParent->m_bOk = false;
    return m_bOk;
}
