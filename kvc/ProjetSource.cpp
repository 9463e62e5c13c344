#include "ProjetSource.h"
#include "CodeLua.h"
#include "Registre.h"
#include "conteneur/Identifiants.h"
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iconv.h>
#include <set>
#include <sstream>
#include <utility>

namespace fs = std::filesystem;

bool bCodePageConnue(uint32_t nCodePage) {
    if (nCodePage == 0) return false;
    std::string sNom;
    if (nCodePage == 65001) sNom = "UTF-8";
    else if (nCodePage == 28591) sNom = "ISO-8859-1";
    else if (nCodePage == 28605) sNom = "ISO-8859-15";
    else sNom = "CP" + std::to_string(nCodePage);
    iconv_t cd = iconv_open("WCHAR_T", sNom.c_str());
    if (cd == (iconv_t)-1) return false;
    iconv_close(cd);
    return true;
}

namespace {

// Limits on what a source file may ask of the reader: the YAML parser
// recurses once per level of flow nesting, and aliases can make a small
// file expand to a huge tree.
constexpr uintmax_t nTAILLE_MAX_FICHIER = 16u << 20;
constexpr int nPROFONDEUR_MAX = 256;
constexpr size_t nNOEUDS_MAX = 1000000;

// Reads one YAML source file and reports against its positions.
class CFichierYAML {
public:
    CFichierYAML(std::string sChemin, CDiagnostics& diag) : m_sChemin(std::move(sChemin)), m_diag(diag) {}

    const std::string& sChemin() const { return m_sChemin; }
    CDiagnostics& diag() { return m_diag; }

    STPosition Position(const YAML::Mark& m) const {
        STPosition p;
        p.sFichier = m_sChemin;
        if (m.line >= 0) {
            p.nLigne = m.line + 1;
            p.nColonne = m.column + 1;
        }
        return p;
    }
    STPosition Position(const YAML::Node& n) const { return Position(n.Mark()); }
    STPosition Debut() const {
        STPosition p;
        p.sFichier = m_sChemin;
        p.nLigne = p.nColonne = 1;
        return p;
    }
    void Erreur(const STPosition& p, const std::string& s) { m_diag.Erreur(p, s); }

    // Line n (0-based) of the file, without its end of line.
    std::string sLigne(int n) const {
        size_t i = 0;
        for (int k = 0; k < n && i != std::string::npos; ++k) {
            i = m_sTexte.find('\n', i);
            if (i != std::string::npos) ++i;
        }
        if (i == std::string::npos || i > m_sTexte.size()) return {};
        size_t f = m_sTexte.find('\n', i);
        std::string s = m_sTexte.substr(i, f == std::string::npos ? std::string::npos : f - i);
        if (!s.empty() && s.back() == '\r') s.pop_back();
        return s;
    }

    // Where line nLigne (1-based) of a code text starts in the file: a
    // literal block ("|") starts on the line after its indicator, at its
    // indentation; other scalars start where their node is.
    STPosition PositionDansCode(const YAML::Node& v, int nLigne, const std::string& sPres) const {
        const YAML::Mark m = v.Mark();
        STPosition p = Position(m);
        if (m.line < 0) return p;
        std::string sDebut = sLigne(m.line);
        const bool bLitteral = m.column >= 0 && static_cast<size_t>(m.column) < sDebut.size() && sDebut[m.column] == '|';
        int nLigneFichier = m.line;  // 0-based
        int nColonne = m.column;     // 0-based
        if (bLitteral) {
            // The block's lines, blank ones included, follow the indicator.
            nLigneFichier = m.line + nLigne;
            std::string s = sLigne(nLigneFichier);
            size_t k = s.find_first_not_of(' ');
            nColonne = k == std::string::npos ? 0 : static_cast<int>(k);
        } else if (nLigne > 1) {
            nLigneFichier = m.line + nLigne - 1;
            std::string s = sLigne(nLigneFichier);
            size_t k = s.find_first_not_of(' ');
            nColonne = k == std::string::npos ? 0 : static_cast<int>(k);
        }
        // Lua gives no column: the token it names, when it stands once on
        // that line, else where the line's code starts.
        if (!sPres.empty()) {
            std::string s = sLigne(nLigneFichier);
            size_t k = s.find(sPres, static_cast<size_t>(nColonne));
            if (k != std::string::npos && s.find(sPres, k + 1) == std::string::npos) nColonne = static_cast<int>(k);
        }
        p.nLigne = nLigneFichier + 1;
        p.nColonne = nColonne + 1;
        return p;
    }
    void Erreur(const YAML::Node& n, const std::string& s) { m_diag.Erreur(Position(n), s); }

    // The document of the file, or a null node after reporting why not.
    bool bCharge(YAML::Node& racine) {
        std::error_code ec;
        auto nTaille = fs::file_size(m_sChemin, ec);
        if (ec) return ErreurFichier("cannot read it (" + ec.message() + ")");
        if (nTaille > nTAILLE_MAX_FICHIER) return ErreurFichier("file too large for a project source");
        std::ifstream f(m_sChemin, std::ios::binary);
        if (!f) return ErreurFichier("cannot read it");
        std::string sTexte((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        if (!f.good() && !f.eof()) return ErreurFichier("cannot read it");
        if (nProfondeurCrochets(sTexte) > nPROFONDEUR_MAX) {
            Erreur(Debut(), "brackets nested too deeply");
            return false;
        }
        m_sTexte = sTexte;
        std::vector<YAML::Node> tabDocs;
        try {
            tabDocs = YAML::LoadAll(sTexte);
        } catch (const YAML::ParserException& e) {
            Erreur(Position(e.mark), "YAML: " + e.msg);
            return false;
        } catch (const YAML::Exception& e) {
            Erreur(Position(e.mark), std::string("YAML: ") + e.what());
            return false;
        }
        if (tabDocs.empty() || tabDocs[0].IsNull()) {
            Erreur(Debut(), "the file is empty");
            return false;
        }
        if (tabDocs.size() > 1) {
            Erreur(Position(tabDocs[1]), "a second YAML document; a source file holds one");
            return false;
        }
        racine = tabDocs[0];
        size_t nNoeuds = 0;
        if (!bVerifieArbre(racine, 0, nNoeuds)) return false;
        return true;
    }

    // The value of a key of a mapping (an undefined node when absent); the
    // key's node in *pCle.
    static YAML::Node Valeur(const YAML::Node& map, const char* pszCle, YAML::Node* pCle = nullptr) {
        if (!map.IsMap()) return YAML::Node(YAML::NodeType::Undefined);
        for (auto it = map.begin(); it != map.end(); ++it) {
            if (it->first.IsScalar() && it->first.Scalar() == pszCle) {
                if (pCle) *pCle = it->first;
                return it->second;
            }
        }
        return YAML::Node(YAML::NodeType::Undefined);
    }

    // A text scalar as wide characters; reports and fails otherwise.
    bool bTexte(const YAML::Node& n, const std::string& sQuoi, std::wstring& s) {
        if (!n.IsScalar()) {
            Erreur(n, sQuoi + " must be a text");
            return false;
        }
        if (!bDepuisUtf8(n.Scalar(), s)) {
            Erreur(n, sQuoi + " is not valid UTF-8");
            return false;
        }
        return true;
    }

    // A name of a window or object: letters, digits and '_', not starting
    // with a digit (a dot would split full names).
    bool bNom(const YAML::Node& n, const std::string& sQuoi, std::wstring& s) {
        if (!bTexte(n, sQuoi, s)) return false;
        if (!bNomValide(s)) {
            Erreur(n, sQuoi + " '" + n.Scalar() + "' is not a valid name (letters, digits and '_', not starting with a digit)");
            return false;
        }
        return true;
    }

    static bool bNomValide(const std::wstring& s) {
        if (s.empty() || s.size() > 255) return false;
        auto lettre = [](wchar_t c) {
            return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_' ||
                   (c >= 0xC0 && c != 0xD7 && c != 0xF7 && c <= 0x24F);
        };
        if (!lettre(s[0])) return false;
        return std::all_of(s.begin(), s.end(), [&](wchar_t c) { return lettre(c) || (c >= L'0' && c <= L'9'); });
    }

private:
    std::string m_sTexte;  // the file as read, for positions inside code
    bool ErreurFichier(const std::string& s) {
        STPosition p;
        p.sFichier = m_sChemin;
        m_diag.Erreur(p, s);
        return false;
    }

    static int nProfondeurCrochets(const std::string& s) {
        int n = 0, nMax = 0;
        for (char c : s) {
            if (c == '[' || c == '{') nMax = std::max(nMax, ++n);
            else if ((c == ']' || c == '}') && n > 0) --n;
        }
        return nMax;
    }

    // Every mapping of the document: no key twice (the YAML library keeps
    // both and a lookup would see only the first). Also bounds the tree.
    bool bVerifieArbre(const YAML::Node& n, int nProfondeur, size_t& nNoeuds) {
        if (++nNoeuds > nNOEUDS_MAX) {
            Erreur(Debut(), "the document expands to too many nodes (aliases?)");
            return false;
        }
        if (nProfondeur > nPROFONDEUR_MAX) {
            Erreur(n, "entries nested too deeply");
            return false;
        }
        bool bOk = true;
        if (n.IsMap()) {
            std::vector<std::pair<std::string, YAML::Node>> tabVues;
            for (auto it = n.begin(); it != n.end(); ++it) {
                if (it->first.IsScalar()) {
                    const std::string& k = it->first.Scalar();
                    auto vu = std::find_if(tabVues.begin(), tabVues.end(), [&](const auto& p) { return p.first == k; });
                    if (vu != tabVues.end()) {
                        Erreur(it->first, "duplicate key '" + k + "' (first at " + Position(vu->second).sTexte() + ")");
                        bOk = false;
                    } else {
                        tabVues.emplace_back(k, it->first);
                    }
                }
                if (!bVerifieArbre(it->second, nProfondeur + 1, nNoeuds)) {
                    if (nNoeuds > nNOEUDS_MAX) return false;
                    bOk = false;
                }
            }
        } else if (n.IsSequence()) {
            for (auto it = n.begin(); it != n.end(); ++it)
                if (!bVerifieArbre(*it, nProfondeur + 1, nNoeuds)) {
                    if (nNoeuds > nNOEUDS_MAX) return false;
                    bOk = false;
                }
        }
        return bOk;
    }

    std::string m_sChemin;
    CDiagnostics& m_diag;
};

// ---------------------------------------------------------------- windows

class CLecteurFenetre {
public:
    CLecteurFenetre(CFichierYAML& f) : m_f(f) {}

    bool bLit(const YAML::Node& racine, STFenetreSource& fen) {
        fen.sFichier = m_f.sChemin();
        if (!racine.IsMap()) {
            m_f.Erreur(racine, "a window file is a mapping with 'window', 'title', 'size', 'code', 'controls'...");
            return false;
        }
        YAML::Node cle;
        YAML::Node nom = CFichierYAML::Valeur(racine, "window", &cle);
        if (!nom.IsDefined()) {
            m_f.Erreur(m_f.Debut(), "no 'window' key naming the window");
            return false;
        }
        bool bOk = true;
        STObjetSource& w = fen.objet;
        w.sGenre = "window";
        w.noeud = racine;
        if (!bNomEntree(nom, cle, "the window name", w)) return false;
        w.sNomComplet = w.sNom;
        w.nId = nIdentifiantObjet(w.sNomComplet);
        bOk &= bLitCode(racine, w, true);

        YAML::Node champs = CFichierYAML::Valeur(racine, "controls");
        if (champs.IsDefined() && !champs.IsNull()) {
            if (!champs.IsSequence()) {
                m_f.Erreur(champs, "'controls' must be a list of controls");
                bOk = false;
            } else {
                for (auto it = champs.begin(); it != champs.end(); ++it) {
                    STObjetSource c;
                    if (bLitChamp(*it, w, c)) fen.tabChamps.push_back(std::move(c));
                    else bOk = false;
                }
            }
        }
        for (auto [pszCle, pTab] : {std::pair{"menus", &fen.tabMenus}, std::pair{"context_menus", &fen.tabMenusContextuels}}) {
            YAML::Node menus = CFichierYAML::Valeur(racine, pszCle);
            if (!menus.IsDefined() || menus.IsNull()) continue;
            if (!menus.IsSequence()) {
                m_f.Erreur(menus, std::string("'") + pszCle + "' must be a list of menus");
                bOk = false;
                continue;
            }
            for (auto it = menus.begin(); it != menus.end(); ++it) {
                STObjetSource m;
                if (bLitMenu(*it, w, m, false)) pTab->push_back(std::move(m));
                else bOk = false;
            }
        }
        // Checked once the entries read cleanly: an entry refused above
        // would otherwise be reported a second time for its code.
        if (bOk) bOk = bVerifieCodeNonLu(racine);
        return bOk;
    }

private:
    // An entry whose first key names its kind and whose value is its name.
    bool bEntree(const YAML::Node& n, const char* pszQuoi, std::string& sGenre, YAML::Node& nom, YAML::Node& cle) {
        if (!n.IsMap() || n.size() == 0) {
            m_f.Erreur(n, std::string("a ") + pszQuoi + " is a mapping whose first key names its kind");
            return false;
        }
        auto it = n.begin();
        if (!it->first.IsScalar()) {
            m_f.Erreur(it->first, std::string("the first key of a ") + pszQuoi + " names its kind");
            return false;
        }
        sGenre = it->first.Scalar();
        cle = it->first;
        nom = it->second;
        return true;
    }

    // The name of an entry, which the key names when it has none.
    bool bNomEntree(const YAML::Node& nom, const YAML::Node& cle, const std::string& sQuoi, STObjetSource& o) {
        if (nom.IsNull()) {
            m_f.Erreur(cle, "the " + cle.Scalar() + " has no name");
            return false;
        }
        o.pos = m_f.Position(nom);
        return m_f.bNom(nom, sQuoi, o.sNom);
    }

    void Nomme(STObjetSource& o, const STObjetSource& parent) {
        o.sNomComplet = parent.sNomComplet + L"." + o.sNom;
        o.nId = nIdentifiantObjet(o.sNomComplet);
    }

    bool bLitChamp(const YAML::Node& n, const STObjetSource& fen, STObjetSource& c) {
        std::string sGenre;
        YAML::Node nom, cle;
        if (!bEntree(n, "control", sGenre, nom, cle)) return false;
        if (!pGenreChamp(sGenre)) {
            std::string s = "unknown control kind '" + sGenre + "' (the first key of a control names its kind: ";
            bool bPremier = true;
            for (const auto& g : GenresChamps()) {
                s += (bPremier ? "" : ", ") + std::string(g.pszCle);
                bPremier = false;
            }
            m_f.Erreur(cle, s + ")");
            return false;
        }
        c.sGenre = sGenre;
        c.noeud = n;
        if (!bNomEntree(nom, cle, "the control name", c)) return false;
        Nomme(c, fen);
        bool bOk = bLitCode(n, c, false);
        YAML::Node colonnes = CFichierYAML::Valeur(n, "columns");
        if (colonnes.IsDefined() && !colonnes.IsNull()) {
            if (!colonnes.IsSequence()) {
                m_f.Erreur(colonnes, "'columns' must be a list of columns");
                return false;
            }
            for (auto it = colonnes.begin(); it != colonnes.end(); ++it) {
                const YAML::Node& e = *it;
                STObjetSource col;
                std::string sG;
                YAML::Node nomCol, cleCol;
                if (!bEntree(e, "column", sG, nomCol, cleCol)) {
                    bOk = false;
                    continue;
                }
                if (sG != "column") {
                    m_f.Erreur(cleCol, "a column starts with 'column: NAME'");
                    bOk = false;
                    continue;
                }
                col.sGenre = "column";
                col.noeud = e;
                if (!bNomEntree(nomCol, cleCol, "the column name", col)) {
                    bOk = false;
                    continue;
                }
                Nomme(col, c);
                bOk &= bLitCode(e, col, false);
                c.tabFils.push_back(std::move(col));
            }
        }
        return bOk;
    }

    bool bLitMenu(const YAML::Node& n, const STObjetSource& parent, STObjetSource& m, bool bSousMenu) {
        std::string sGenre;
        YAML::Node nom, cle;
        if (!bEntree(n, "menu", sGenre, nom, cle)) return false;
        if (sGenre != "menu") {
            m_f.Erreur(cle, "a menu starts with 'menu: NAME'");
            return false;
        }
        m.sGenre = "menu";
        m.noeud = n;
        if (!bNomEntree(nom, cle, bSousMenu ? "the sub-menu name" : "the menu name", m)) return false;
        Nomme(m, parent);
        bool bOk = bLitCode(n, m, false);
        YAML::Node options = CFichierYAML::Valeur(n, "options");
        if (!options.IsDefined() || options.IsNull()) return bOk;
        if (!options.IsSequence()) {
            m_f.Erreur(options, "'options' must be a list of options");
            return false;
        }
        for (auto it = options.begin(); it != options.end(); ++it) {
            const YAML::Node& e = *it;
            if (e.IsScalar() && e.Scalar() == "separator") continue;
            std::string sG;
            YAML::Node nomOpt, cleOpt;
            if (!bEntree(e, "menu option", sG, nomOpt, cleOpt)) {
                bOk = false;
                continue;
            }
            if (sG == "separator") continue;
            STObjetSource o;
            if (sG == "menu") {
                if (bLitMenu(e, m, o, true)) m.tabFils.push_back(std::move(o));
                else bOk = false;
                continue;
            }
            if (sG != "option") {
                m_f.Erreur(cleOpt, "a menu entry is 'option: NAME', 'menu: NAME' or 'separator'");
                bOk = false;
                continue;
            }
            o.sGenre = "option";
            o.noeud = e;
            if (!bNomEntree(nomOpt, cleOpt, "the option name", o)) {
                bOk = false;
                continue;
            }
            Nomme(o, m);
            bOk &= bLitCode(e, o, false);
            m.tabFils.push_back(std::move(o));
        }
        return bOk;
    }

    // The 'code' mapping of an entry: event name (or number) to Lua source.
    bool bLitCode(const YAML::Node& entree, STObjetSource& o, bool bFenetre) {
        YAML::Node code = CFichierYAML::Valeur(entree, "code");
        if (!code.IsDefined() || code.IsNull()) return true;
        m_tabCodeLus.push_back(code);
        if (!code.IsMap()) {
            m_f.Erreur(code, "'code' must map event names to code");
            return false;
        }
        bool bOk = true;
        for (auto it = code.begin(); it != code.end(); ++it) {
            // The iterator hands out its pair by a temporary: the key and the
            // value are copied (nodes are handles) so they outlive it.
            const YAML::Node k = it->first;
            if (!k.IsScalar()) {
                m_f.Erreur(k, "an event name must be a text");
                bOk = false;
                continue;
            }
            std::optional<uint32_t> n;
            if (bFenetre && k.Scalar() == "init") n = 34;  // a window's "init" is its initialisation
            else n = nEvenementDepuisNom(k.Scalar());
            if (!n) {
                m_f.Erreur(k, "unknown event '" + k.Scalar() + "'");
                bOk = false;
                continue;
            }
            auto double_ = std::find_if(o.tabCode.begin(), o.tabCode.end(),
                                        [&](const STCodeSource& c) { return c.nEvenement == *n; });
            if (double_ != o.tabCode.end()) {
                m_f.Erreur(k, "event " + std::to_string(*n) + " (" + pszNomEvenement(*n) + ") has code already, at " +
                                  double_->pos.sTexte());
                bOk = false;
                continue;
            }
            const YAML::Node v = it->second;
            if (v.IsNull()) continue;  // an event listed without code
            if (!v.IsScalar()) {
                m_f.Erreur(v, "the code of event '" + k.Scalar() + "' must be text");
                bOk = false;
                continue;
            }
            // The code compiles now, not when it first runs.
            if (auto e = VerifieCodeLua(v.Scalar())) {
                m_f.Erreur(m_f.PositionDansCode(v, e->nLigne, e->sPres),
                           "Lua, in the code of event '" + k.Scalar() + "': " + e->sMessage);
                bOk = false;
                continue;
            }
            STCodeSource c;
            c.nEvenement = *n;
            c.sSource = v.Scalar();
            c.pos = m_f.Position(k);
            o.tabCode.push_back(std::move(c));
        }
        return bOk;
    }

    // Code written where no object owns it would be lost: every 'code'
    // mapping of the file must be one that was read above.
    bool bVerifieCodeNonLu(const YAML::Node& n) {
        bool bOk = true;
        if (n.IsMap()) {
            for (auto it = n.begin(); it != n.end(); ++it) {
                if (it->first.IsScalar() && it->first.Scalar() == "code" && it->second.IsMap() &&
                    std::none_of(m_tabCodeLus.begin(), m_tabCodeLus.end(),
                                 [&](const YAML::Node& c) { return c.is(it->second); })) {
                    m_f.Erreur(it->first, "event code here belongs to no object: windows, controls, table columns, "
                                          "menus and menu options own event code");
                    bOk = false;
                }
                bOk &= bVerifieCodeNonLu(it->second);
            }
        } else if (n.IsSequence()) {
            for (auto it = n.begin(); it != n.end(); ++it) bOk &= bVerifieCodeNonLu(*it);
        }
        return bOk;
    }

    CFichierYAML& m_f;
    std::vector<YAML::Node> m_tabCodeLus;
};

// ---------------------------------------------------------------- project

bool bFichierFenetre(const fs::directory_entry& e) {
    std::error_code ec;
    const std::string sNom = e.path().filename().string();
    return e.is_regular_file(ec) && e.path().extension() == ".yaml" && sNom != "project.yaml" && sNom[0] != '.';
}

} // namespace

bool bLitProjet(const std::string& sRepertoire, STProjetSource& projet, CDiagnostics& diag) {
    const int nErreursAvant = diag.nErreurs();
    projet.sRepertoire = sRepertoire;
    fs::path rep(sRepertoire);
    projet.sFichier = (rep / "project.yaml").string();
    CFichierYAML f(projet.sFichier, diag);
    std::error_code ec;
    if (!fs::is_directory(rep, ec)) {
        STPosition p;
        p.sFichier = sRepertoire;
        diag.Erreur(p, "not a project folder");
        return false;
    }
    YAML::Node racine;
    if (!f.bCharge(racine)) return false;
    if (!racine.IsMap()) {
        f.Erreur(racine, "project.yaml is a mapping with 'name', 'first_window', 'code_page', 'languages', 'windows'");
        return false;
    }
    static const std::set<std::string> setCles = {"name", "first_window", "code_page", "languages", "windows",
                                                  "custom_message_boxes"};
    for (auto it = racine.begin(); it != racine.end(); ++it)
        if (!it->first.IsScalar() || !setCles.count(it->first.Scalar()))
            diag.Avertissement(f.Position(it->first),
                               "unknown key '" + (it->first.IsScalar() ? it->first.Scalar() : std::string("?")) +
                                   "' ignored");

    YAML::Node cle;
    YAML::Node n = CFichierYAML::Valeur(racine, "name", &cle);
    if (!n.IsDefined() || n.IsNull()) {
        f.Erreur(n.IsDefined() ? f.Position(cle) : f.Debut(), "the project has no 'name'");
    } else if (f.bTexte(n, "the project name", projet.sNom)) {
        projet.posNom = f.Position(n);
        if (projet.sNom.empty() || std::any_of(projet.sNom.begin(), projet.sNom.end(), [](wchar_t c) {
                return c < 0x20 || c == 0x7F || c == L'/' || c == L'\\';
            }))
            f.Erreur(n, "the project name must be a non-empty text without '/', '\\' or control characters");
    }

    n = CFichierYAML::Valeur(racine, "first_window", &cle);
    if (!n.IsDefined() || n.IsNull()) {
        projet.posPremiereFenetre = n.IsDefined() ? f.Position(cle) : f.Debut();
        f.Erreur(projet.posPremiereFenetre, "the project has no 'first_window'");
    } else {
        projet.posPremiereFenetre = f.Position(n);
        f.bTexte(n, "the first window", projet.sPremiereFenetre);
    }

    n = CFichierYAML::Valeur(racine, "code_page");
    if (n.IsDefined() && !n.IsNull()) {
        uint32_t nCP = 0;
        bool bNombre = n.IsScalar() && !n.Scalar().empty() &&
                       std::all_of(n.Scalar().begin(), n.Scalar().end(), [](char c) { return c >= '0' && c <= '9'; }) &&
                       n.Scalar().size() <= 9;
        if (bNombre) nCP = static_cast<uint32_t>(std::stoul(n.Scalar()));
        if (!bNombre || !bCodePageConnue(nCP))
            f.Erreur(n, "'code_page' must be the number of a known code page (1252, 65001, 1250...)");
        else
            projet.nCodePage = nCP;
    }

    n = CFichierYAML::Valeur(racine, "custom_message_boxes");
    if (n.IsDefined() && !n.IsNull()) {
        if (n.IsScalar() && (n.Scalar() == "true" || n.Scalar() == "false"))
            projet.bBoitesPersonnalisees = n.Scalar() == "true";
        else
            f.Erreur(n, "'custom_message_boxes' needs true or false");
    }

    n = CFichierYAML::Valeur(racine, "languages");
    if (n.IsDefined() && !n.IsNull()) {
        if (!n.IsSequence()) {
            f.Erreur(n, "'languages' must be a list");
        } else {
            for (auto it = n.begin(); it != n.end(); ++it) {
                std::wstring s;
                if (!f.bTexte(*it, "a language", s)) continue;
                if (s.empty() || s.find_first_of(L", \t") != std::wstring::npos) {
                    f.Erreur(*it, "a language is a non-empty code without spaces or commas");
                    continue;
                }
                if (std::any_of(projet.tabLangues.begin(), projet.tabLangues.end(),
                                [&](const std::wstring& l) { return bNomsEgaux(l, s); })) {
                    f.Erreur(*it, "language '" + it->Scalar() + "' listed twice");
                    continue;
                }
                projet.tabLangues.push_back(s);
            }
        }
    }

    // The window files: as listed, or every other *.yaml of the folder.
    std::vector<std::pair<std::string, STPosition>> tabFichiers;
    n = CFichierYAML::Valeur(racine, "windows");
    if (n.IsDefined() && !n.IsNull()) {
        if (!n.IsSequence()) {
            f.Erreur(n, "'windows' must be a list of window files");
        } else {
            for (auto it = n.begin(); it != n.end(); ++it) {
                if (!it->IsScalar() || it->Scalar().empty()) {
                    f.Erreur(*it, "a window file name must be a text");
                    continue;
                }
                fs::path p = rep / it->Scalar();
                auto deja = std::find_if(tabFichiers.begin(), tabFichiers.end(), [&](const auto& e) {
                    std::error_code ec2;
                    return fs::equivalent(e.first, p, ec2);
                });
                if (deja != tabFichiers.end()) {
                    f.Erreur(*it, "window file '" + it->Scalar() + "' listed twice");
                    continue;
                }
                if (!fs::is_regular_file(p, ec)) {
                    f.Erreur(*it, "no window file '" + it->Scalar() + "' in the project folder");
                    continue;
                }
                tabFichiers.emplace_back(p.string(), f.Position(*it));
            }
        }
    } else {
        std::vector<std::string> tab;
        for (const auto& e : fs::directory_iterator(rep, ec))
            if (bFichierFenetre(e)) tab.push_back(e.path().string());
        if (ec) {
            STPosition p;
            p.sFichier = sRepertoire;
            diag.Erreur(p, "cannot list the folder (" + ec.message() + ")");
        }
        std::sort(tab.begin(), tab.end());
        for (auto& s : tab) tabFichiers.emplace_back(s, STPosition{});
    }

    for (const auto& [sFichier, pos] : tabFichiers) {
        CFichierYAML fw(sFichier, diag);
        YAML::Node doc;
        if (!fw.bCharge(doc)) continue;
        STFenetreSource fen;
        CLecteurFenetre l(fw);
        if (l.bLit(doc, fen)) projet.tabFenetres.push_back(std::move(fen));
    }
    return diag.nErreurs() == nErreursAvant;
}
