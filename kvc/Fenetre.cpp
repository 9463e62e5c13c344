// Windows in the compiler: a window file mapped onto the module's window
// object (CFenPrincipale, its controls and menus), written by the window's
// own writer as a type-2 description, and printed back by "kvc dump".
//
// A window file:
//   window: FEN_Main
//   title: Orders
//   at: [x, y]                       optional; without it the window opens centred
//   size: [width, height]            initial and client size (pixels)
//   min_size: [w, h]    max_size: [w, h]
//   resizable: true     visible: true      state: active | read_only | greyed
//   background: white                0xBBGGRR or a colour name
//   auto_close: {ms: 5000, button: BTN_OK}
//   opening_mode: normal | maximised | minimised
//   context_menu: MENU_Popup         one of the window's context menus
//   pack: true                       the description's tail is packed
//   controls: [...]   menus: [...]   context_menus: [...]   code: {...}
//   questions: [...]                 the dialogs Dialogue shows (below)
//
// Every control:
//   - KIND: NAME
//     at: [x, y, width, height]      required
//     caption: text      visible: true      state: active | read_only | greyed
//     tab_stop: bool     (default: true for kinds that take input)
//     tab_order: 1..     (1-based; the others follow in file order)
//     groups: [A, B]     plane: 0..       memorise: true
//     anchor: {right, width, bottom, height}     thousandths, 0 to 1000
//     help_title: text   help_text: text    initial_value: text
//     context_menu: MENU_Popup
//     style: {text_colour, background_colour, font, font_size (points), bold,
//             italic, underline, frame: none | line | sunken | raised,
//             frame_colour, frame_width, caption_width}
//     ...the kind's own keys (Registre.h)
// The stacking order is the order of the file.
//
// Menus (the menu bar's menus, and context menus):
//   - menu: NAME        caption, state: active | greyed, visible, options: [...]
//     options:
//       - option: NAME  caption, state, visible, checked
//       - separator
//       - menu: NAME    a sub-menu
// Options, sub-menus and separators are numbered 1, 2... in the window, in
// file order (menu bar first, then the context menus). A caption defaults
// to the name.
//
// Questions (Dialogue("Q_Save", name) shows one by its name):
//   - question: Q_Save
//     message: "Save %1?"            %1, %2... are Dialogue's further arguments
//     kind: question | warning | information      (default question)
//     buttons: [Yes, No, Cancel]     (default [OK])
//     default: 1                     the default button, 1-based (default 1)
//     cancel: 3                      the button Escape presses (default none: 0)
//     inputs:                        optional input fields
//       - caption: Name
//         value: initial text
//         width: 200                 pixels (default: the dialog's width)
// A question's identifier is derived from "WINDOW.NAME".
#include "AccesModule.h"
#include "Compilateur.h"
#include "EntreeYAML.h"
#include "Registre.h"
#include "conteneur/CConteneurProjet.h"
#include "conteneur/Identifiants.h"
#include "controls/core/CConteneurChamp.h"
#include "base/CRetenue.h"
#include "kv/CXError.h"
#include "windows/CFenPrincipale.h"
#include <algorithm>
#include <cctype>
#include <map>
#include <ostream>

namespace {

// Limits of coordinates and sizes in a description.
constexpr int64_t nCOORD_MIN = -32768, nCOORD_MAX = 32767;
constexpr int32_t nTAILLE_MAX_FENETRE = 20000;  // also "no maximum"
constexpr uint32_t nIDENTIFIANT_OPTION_MAX = 0xFFFF;

const std::initializer_list<STChoix> ETATS = {{"active", eETAT_ACTIF}, {"read_only", eETAT_LECTURE_SEULE}, {"greyed", eETAT_GRISE}};
const std::initializer_list<STChoix> ETATS_MENU = {{"active", 0}, {"greyed", 4}};

std::string sNomUtf8(const std::wstring& s) { return sVersUtf8(s); }

// A control's place in the tab order, settled once every control is read.
struct STTabStop {
    CChamp* pclChamp = nullptr;
    const STObjetSource* pSource = nullptr;
    int32_t nOrdre = 0;  // as written (1-based), 0 when not given
    STPosition posOrdre;
};

class CCompilateurFenetre {
public:
    CCompilateurFenetre(const STFenetreSource& src, STContexteCompilation& ctx)
        : m_src(src), m_ctx(ctx), m_diag(ctx.diag), m_fen(new CFenPrincipale(src.objet.sNom.c_str())) {}

    // The description's bytes; false when it is not written (see the driver).
    bool bCompile(std::vector<uint8_t>& tab) {
        for (const auto& m : m_src.tabMenusContextuels) m_tabNomsMenusContextuels.push_back(m.sNom);
        Fenetre();
        Champs();
        OrdreTabulation();
        Menus();
        Questions();
        if (!m_bOk) return false;
        if (m_bIncomplet) {
            m_diag.Note(m_src.objet.pos, "window " + sNomUtf8(m_src.objet.sNom) +
                                             ": its description record is not compiled yet (control kinds above); "
                                             "its event code is");
            return false;
        }
        CKVBuffer b;
        m_fen->Ecrit(b);
        tab = b.Octets();
        return bRelu(tab);
    }

private:
    std::unique_ptr<CEntreeYAML> Entree(const STObjetSource& o, const std::string& sQuoi) {
        return std::make_unique<CEntreeYAML>(o.noeud, m_src.sFichier, m_diag, sQuoi);
    }

    void Echec() { m_bOk = false; }

    // "context_menu: NAME" of a window or control.
    void MenuContextuel(CEntreeYAML& e, CFenCommun& f) {
        CTString s;
        if (!e.bNom("context_menu", s)) return;
        auto it = std::find_if(m_tabNomsMenusContextuels.begin(), m_tabNomsMenusContextuels.end(),
                               [&](const std::wstring& n) { return bNomsEgaux(n, s); });
        if (it == m_tabNomsMenusContextuels.end()) {
            e.Erreur(e.Valeur("context_menu"), "'" + sNomUtf8(s) + "' is not a context menu of window " +
                                                   sNomUtf8(m_src.objet.sNom) + " (context_menus: ...)");
            return;
        }
        kvacces::SetMenuContextuel(f, CTString(*it));
    }

    // ------------------------------------------------------------ the window

    void Fenetre() {
        auto pe = Entree(m_src.objet, "window " + sNomUtf8(m_src.objet.sNom));
        CEntreeYAML& e = *pe;
        e.Connues({"window", "code", "controls", "menus", "context_menus", "questions"});
        CFenPrincipale& f = *m_fen;
        STDescriptionFenetre& d = f.Description();
        f.SetQWID(m_src.objet.nId);

        CTString s;
        if (e.bTexte("title", s)) d.sTitre = s;
        int32_t at[2] = {0, 0};
        const bool bAt = e.bPresent("at");
        e.bEntiers("at", at, 2, "[x, y]", nCOORD_MIN, nCOORD_MAX);
        int32_t taille[2] = {0, 0};
        if (!e.bPresent("size")) e.Erreur("window", "window " + sNomUtf8(m_src.objet.sNom) + " has no 'size: [width, height]'");
        else e.bEntiers("size", taille, 2, "[width, height]", 1, nTAILLE_MAX_FENETRE);
        int32_t tMin[2] = {0, 0}, tMax[2] = {nTAILLE_MAX_FENETRE, nTAILLE_MAX_FENETRE};
        bool bMin = e.bEntiers("min_size", tMin, 2, "[width, height]", 0, nTAILLE_MAX_FENETRE);
        bool bMax = e.bEntiers("max_size", tMax, 2, "[width, height]", 1, nTAILLE_MAX_FENETRE);
        if (e.bOk()) {
            if (bMin && (tMin[0] > taille[0] || tMin[1] > taille[1]))
                e.Erreur("min_size", "'min_size' is larger than 'size'");
            if (bMax && (tMax[0] < taille[0] || tMax[1] < taille[1]))
                e.Erreur("max_size", "'max_size' is smaller than 'size'");
        }
        f.SetRectInitial(QRect(at[0], at[1], taille[0], taille[1]));
        f.SetTaillesMinMax(tMin[0], tMin[1], tMax[0], tMax[1]);
        // The client size is the size: reading the description leaves the
        // initial size and its limits as written.
        d.nLargeurClient = taille[0];
        d.nHauteurClient = taille[1];
        // Without a position the window opens centred.
        d.nModePositionOuverture = bAt ? 0 : 1;

        bool b = true;
        if (e.bBooleen("resizable", b)) d.bRedimensionnable = b;
        if (e.bBooleen("visible", b)) f.SetVisibleInitial(b);
        int32_t n = 0;
        if (e.bChoix("state", ETATS, n)) kvacces::SetEtatInitial(f, static_cast<FEN_ETAT>(n));
        uint32_t nCouleur = 0;
        if (e.bCouleur("background", nCouleur, false)) d.style.nCouleurFond = nCouleur;
        if (e.bChoix("opening_mode", {{"normal", 0}, {"maximised", 1}, {"minimised", 2}}, n)) d.nModeOuverture = n;
        if (e.bBooleen("pack", b)) d.nPack = b ? 1 : 0;
        MenuContextuel(e, f);

        if (auto pAuto = e.pSousEntree("auto_close", "'auto_close'")) {
            if (!pAuto->bPresent("ms"))
                pAuto->Erreur(pAuto->Noeud(), "'auto_close' needs 'ms', the delay in milliseconds");
            pAuto->bEntier("ms", d.nDureeFermetureAuto, 1, 24 * 3600 * 1000);
            CTString sBouton;
            if (pAuto->bNom("button", sBouton)) {
                auto it = std::find_if(m_src.tabChamps.begin(), m_src.tabChamps.end(),
                                       [&](const STObjetSource& c) { return bNomsEgaux(c.sNom, sBouton); });
                if (it == m_src.tabChamps.end())
                    pAuto->Erreur(pAuto->Valeur("button"), "'" + sNomUtf8(sBouton) + "' is not a control of window " +
                                                               sNomUtf8(m_src.objet.sNom));
                else
                    d.sBoutonFermetureAuto = it->sNom;
            }
            pAuto->bFin();
        }
        if (!e.bFin()) Echec();
    }

    // ------------------------------------------------------------ controls

    void Champs() {
        int nZOrder = 0;
        for (const auto& src : m_src.tabChamps) {
            const STGenreChamp* g = pGenreChamp(src.sGenre);
            if (!g) continue;  // refused by the reader already
            if (!g->pFamille || !g->pfnCompile) {
                m_diag.Note(src.pos, "control kind '" + src.sGenre + "' is not compiled yet");
                m_bIncomplet = true;
                ++nZOrder;
                continue;
            }
            CChamp* c = static_cast<CChamp*>(g->pFamille->pfnCree(static_cast<eID_OBJET>(g->nGenreObjet)));
            // The window's container keeps its own reference.
            m_fen->Conteneur().AddChamp(c);
            c->nRelease();
            c->SetName(src.sNom.c_str());
            c->SetQWID(src.nId);
            c->SetZOrder(nZOrder++);
            auto pe = Entree(src, src.sGenre + " " + sNomUtf8(src.sNom));
            CEntreeYAML& e = *pe;
            e.Connues({g->pszCle, "code"});
            ChampCommun(e, *c, *g, src);
            bool bOk = g->pfnCompile(e, *c, m_ctx);
            if (!e.bFin() || !bOk) Echec();
        }
    }

    void ChampCommun(CEntreeYAML& e, CChamp& c, const STGenreChamp& g, const STObjetSource& src) {
        int32_t r[4] = {0, 0, 0, 0};
        if (!e.bPresent("at")) {
            e.Erreur(src.noeud, "control " + sNomUtf8(src.sNom) + " has no 'at: [x, y, width, height]'");
        } else if (e.bEntiers("at", r, 4, "[x, y, width, height]", nCOORD_MIN, nCOORD_MAX)) {
            if (r[2] < 0 || r[3] < 0) e.Erreur(e.Valeur("at"), "the width and height of 'at' cannot be negative");
        }
        c.SetRectInitial(QRect(r[0], r[1], r[2], r[3]));

        CTString s;
        if (e.bTexte("caption", s)) c.SetLibelle(s.c_str());
        bool b = true;
        if (e.bBooleen("visible", b)) c.SetVisibleInitial(b);
        int32_t n = 0;
        if (e.bChoix("state", ETATS, n)) kvacces::SetEtatInitial(c, static_cast<FEN_ETAT>(n));

        bool bTabStop = g.eTabStop == eTAB_STOP_OUI;
        if (e.bBooleen("tab_stop", b)) {
            if (b && g.eTabStop == eTAB_STOP_JAMAIS)
                e.Erreur(e.Valeur("tab_stop"), src.sGenre + " " + sNomUtf8(src.sNom) + " cannot be in the tab order");
            else
                bTabStop = b;
        }
        c.SetTabStopDirect(bTabStop);
        c.SetTabOrder(-1);
        STTabStop t;
        t.pclChamp = &c;
        t.pSource = &src;
        YAML::Node vOrdre = e.Valeur("tab_order");
        int64_t nOrdre = -1;
        if (vOrdre.IsScalar() && CEntreeYAML::sbEntier(vOrdre.Scalar(), nOrdre) && nOrdre == 0) {
            e.Erreur(vOrdre, "'tab_order' counts from 1 (the first control of the tab order is 1)");
        } else if (e.bEntier("tab_order", t.nOrdre, 1, nCOORD_MAX)) {
            t.posOrdre = e.Position(vOrdre);
            if (!bTabStop) e.Erreur(vOrdre, "'tab_order' is given to a control that is not a tab stop");
        }
        if (bTabStop) m_tabTabStops.push_back(t);

        std::vector<CTString> tabGroupes;
        if (e.bNoms("groups", tabGroupes)) {
            CTString sGroupes;
            for (const auto& g2 : tabGroupes) sGroupes += (sGroupes.empty() ? L"" : L",") + g2;
            c.SetGroupes(sGroupes.c_str());
        }
        if (e.bEntier("plane", n, 0, 100000)) c.SetPlan(n);
        if (e.bBooleen("memorise", b)) c.SetMemoriserValeur(b);
        if (e.bTexte("help_title", s)) c.SetTitreAide(s.c_str());
        if (e.bTexte("help_text", s)) c.SetTexteAide(s.c_str());
        if (e.bTexte("initial_value", s)) kvacces::SetValeurInitiale(c, s);
        MenuContextuel(e, c);

        if (auto pa = e.pSousEntree("anchor", "'anchor'")) {
            static const char* const CLES[4] = {"right", "width", "bottom", "height"};
            for (int i = 0; i < 4; ++i)
                if (pa->bEntier(CLES[i], n, 0, 1000)) c.SetTauxAncrage(i, n);
            pa->bFin();
        }
        if (auto ps = e.pSousEntree("style", "'style'")) {
            Style(*ps, c.Style());
            ps->bFin();
        }
    }

    // Sizes of fonts are written in points (10 or 10.5) and kept in tenths.
    static bool sbTaillePolice(const std::string& s, int32_t& n) {
        size_t nPoint = s.find('.');
        std::string sEntier = s.substr(0, nPoint), sDecimale = nPoint == std::string::npos ? "" : s.substr(nPoint + 1);
        if (sEntier.empty() || sEntier.size() > 4 || sDecimale.size() > 1 ||
            sEntier.find_first_not_of("0123456789") != std::string::npos ||
            (nPoint != std::string::npos && (sDecimale.empty() || !std::isdigit(static_cast<unsigned char>(sDecimale[0])))))
            return false;
        n = std::stoi(sEntier) * 10 + (sDecimale.empty() ? 0 : sDecimale[0] - '0');
        return n >= 10 && n <= 10000;
    }

    void Style(CEntreeYAML& e, STStyleChamp& st) {
        e.bCouleur("text_colour", st.nCouleurTexte, true);
        e.bCouleur("background_colour", st.nCouleurFond, true);
        e.bCouleur("frame_colour", st.nCouleurCadre, true);
        e.bTexte("font", st.sPolice);
        YAML::Node v = e.Valeur("font_size");
        if (v.IsDefined() && !(v.IsScalar() && sbTaillePolice(v.Scalar(), st.nTaillePolice)))
            e.Erreur(v, "'font_size' needs a size in points from 1 to 1000 (10 or 10.5)");
        static const struct {
            const char* pszCle;
            uint32_t nBit;
        } POLICE[] = {{"bold", 1}, {"italic", 2}, {"underline", 4}, {"strike_out", 8}};
        for (const auto& p : POLICE) {
            bool b = false;
            if (e.bBooleen(p.pszCle, b)) st.nStylePolice = b ? (st.nStylePolice | p.nBit) : (st.nStylePolice & ~p.nBit);
        }
        e.bChoix("frame", {{"none", 0}, {"line", 1}, {"sunken", 2}, {"raised", 3}}, st.nCadre);
        e.bEntier("frame_width", st.nEpaisseurCadre, 1, 64);
        e.bEntier("caption_width", st.nLargeurLibelle, 0, nCOORD_MAX);
    }

    // Tab stops with a tab_order keep it; the others fill the free places
    // in file order. Written whole, so that loading changes nothing.
    void OrdreTabulation() {
        const int32_t nTotal = static_cast<int32_t>(m_tabTabStops.size());
        std::vector<const STTabStop*> tabPlaces(nTotal, nullptr);
        bool bBon = true;
        for (const auto& t : m_tabTabStops) {
            if (t.nOrdre == 0) continue;
            if (t.nOrdre > nTotal) {
                m_diag.Erreur(t.posOrdre, "tab_order " + std::to_string(t.nOrdre) + " is beyond the " +
                                              std::to_string(nTotal) + " tab stops of window " +
                                              sNomUtf8(m_src.objet.sNom));
                bBon = false;
                continue;
            }
            if (const STTabStop* p = tabPlaces[t.nOrdre - 1]) {
                m_diag.Erreur(t.posOrdre, "tab_order " + std::to_string(t.nOrdre) + " is given to " +
                                              sNomUtf8(p->pSource->sNom) + " already (" + p->posOrdre.sTexte() + ")");
                bBon = false;
                continue;
            }
            tabPlaces[t.nOrdre - 1] = &t;
        }
        if (!bBon) {
            Echec();
            return;
        }
        size_t nLibre = 0;
        for (const auto& t : m_tabTabStops) {
            if (t.nOrdre != 0) continue;
            while (tabPlaces[nLibre]) ++nLibre;
            tabPlaces[nLibre] = &t;
        }
        for (int32_t i = 0; i < nTotal; ++i) tabPlaces[i]->pclChamp->SetTabOrder(i);
    }

    // ------------------------------------------------------------ menus

    void Menus() {
        STDescriptionFenetre& d = m_fen->Description();
        CMenu& barre = *d.pMenuPrincipal;
        for (const auto& m : m_src.tabMenus) {
            auto p = std::make_unique<CMenu>();
            Menu(m, *p);
            barre.AjouteOption(std::move(p));
        }
        for (const auto& m : m_src.tabMenusContextuels) {
            auto p = std::make_unique<CMenu>();
            Menu(m, *p);
            d.tabMenusContextuels.push_back(std::move(p));
        }
    }

    bool bIdentifiant(COptionMenu& o, const STPosition& pos) {
        if (m_nIdentifiant > nIDENTIFIANT_OPTION_MAX) {
            if (m_nIdentifiant++ == nIDENTIFIANT_OPTION_MAX + 1)
                m_diag.Erreur(pos, "more than " + std::to_string(nIDENTIFIANT_OPTION_MAX) + " menu entries in window " +
                                       sNomUtf8(m_src.objet.sNom));
            Echec();
            return false;
        }
        kvacces::SetIdentifiant(o, static_cast<uint16_t>(m_nIdentifiant++));
        return true;
    }

    // What menus and options share: name, identifiers, caption, state, visibility.
    void OptionCommune(CEntreeYAML& e, COptionMenu& o, const STObjetSource& src) {
        o.SetName(src.sNom.c_str());
        o.SetQWID(src.nId);
        bIdentifiant(o, src.pos);
        CTString s = src.sNom;
        e.bTexte("caption", s);
        o.SetLibelle(s.c_str());
        int32_t n = 0;
        if (e.bChoix("state", ETATS_MENU, n)) o.SetEtat(n);
        bool b = true;
        if (e.bBooleen("visible", b)) kvacces::SetVisibleInitial(o, b);
    }

    void Menu(const STObjetSource& src, CMenu& m) {
        auto pe = Entree(src, "menu " + sNomUtf8(src.sNom));
        CEntreeYAML& e = *pe;
        e.Connues({"menu", "code"});
        OptionCommune(e, m, src);
        YAML::Node options = e.Valeur("options");
        size_t nFils = 0;
        if (options.IsSequence()) {
            for (auto it = options.begin(); it != options.end(); ++it) {
                const YAML::Node& n = *it;
                if ((n.IsScalar() && n.Scalar() == "separator") ||
                    (n.IsMap() && n.size() > 0 && n.begin()->first.IsScalar() && n.begin()->first.Scalar() == "separator")) {
                    auto sep = std::make_unique<COptionMenu>();
                    kvacces::SetSeparateur(*sep, true);
                    if (n.IsMap()) {
                        CEntreeYAML es(n, m_src.sFichier, m_diag, "a separator");
                        es.Connues({"separator"});
                        if (!n.begin()->second.IsNull()) es.Erreur(n.begin()->second, "a separator has no name");
                        if (!es.bFin()) Echec();
                    }
                    if (!bIdentifiant(*sep, e.Position(n))) continue;
                    sep->SetName((L"_sep_" + std::to_wstring(sep->wGetIdentifiant()) + L"_").c_str());
                    m.AjouteOption(std::move(sep));
                    continue;
                }
                // Options and sub-menus were read in this order by the project reader.
                if (nFils >= src.tabFils.size() || !src.tabFils[nFils].noeud.is(n)) continue;
                const STObjetSource& fils = src.tabFils[nFils++];
                if (fils.sGenre == "menu") {
                    auto sm = std::make_unique<CMenu>();
                    Menu(fils, *sm);
                    m.AjouteOption(std::move(sm));
                } else {
                    auto o = std::make_unique<COptionMenu>();
                    auto po = Entree(fils, "option " + sNomUtf8(fils.sNom));
                    po->Connues({"option", "code"});
                    OptionCommune(*po, *o, fils);
                    bool b = false;
                    if (po->bBooleen("checked", b)) o->SetCochee(b);
                    if (!po->bFin()) Echec();
                    m.AjouteOption(std::move(o));
                }
            }
        }
        if (!e.bFin()) Echec();
    }

    // ------------------------------------------------------------ questions

    void Questions() {
        YAML::Node n = m_src.objet.noeud["questions"];
        if (!n.IsDefined() || n.IsNull()) return;
        CEntreeYAML ef(m_src.objet.noeud, m_src.sFichier, m_diag, "window " + sNomUtf8(m_src.objet.sNom));
        if (!n.IsSequence()) {
            m_diag.Erreur(ef.Position(n), "'questions' is a list of '- question: NAME' entries");
            Echec();
            return;
        }
        STDescriptionFenetre& d = m_fen->Description();
        for (auto it = n.begin(); it != n.end(); ++it) {
            CEntreeYAML e(*it, m_src.sFichier, m_diag, "a question");
            CQuestionExec q;
            if (!it->IsMap() || !e.bNom("question", q.sNom)) {
                m_diag.Erreur(ef.Position(*it), "a question starts with 'question: NAME'");
                Echec();
                continue;
            }
            for (const auto& autre : d.questions.tabQuestions)
                if (bNomsEgaux(autre.sNom, q.sNom)) {
                    e.Erreur("question", "window " + sNomUtf8(m_src.objet.sNom) + " has question " + sNomUtf8(q.sNom) + " already");
                    break;
                }
            q.qwID = nIdentifiantObjet(m_src.objet.sNom + L"." + std::wstring(q.sNom));
            e.bTexte("message", q.sMessage);
            e.bChoix("kind", {{"question", 1}, {"warning", 2}, {"information", 3}}, q.nGenre);
            YAML::Node b = e.Valeur("buttons");
            if (b.IsDefined()) {
                if (!b.IsSequence() || b.size() == 0) e.Erreur(b, "'buttons' is a list of captions: [Yes, No]");
                else
                    for (auto ib = b.begin(); ib != b.end(); ++ib) {
                        if (!ib->IsScalar()) {
                            e.Erreur(*ib, "a button is its caption");
                            continue;
                        }
                        CQuestionBoutonExec bouton;
                        bouton.sLibelle = sDepuisUtf8(ib->Scalar());
                        q.tabBoutons.push_back(bouton);
                    }
            }
            if (q.tabBoutons.empty()) q.tabBoutons.push_back({1, CTString(L"OK")});
            const int32_t nBoutons = static_cast<int32_t>(q.tabBoutons.size());
            e.bEntier("default", q.nDefaut, 1, nBoutons);
            e.bEntier("cancel", q.nAnnulation, 0, nBoutons);
            YAML::Node s = e.Valeur("inputs");
            if (s.IsDefined()) {
                if (!s.IsSequence()) e.Erreur(s, "'inputs' is a list of '- caption: ...' entries");
                else
                    for (auto is = s.begin(); is != s.end(); ++is) {
                        CEntreeYAML es(*is, m_src.sFichier, m_diag, "an input of question " + sNomUtf8(q.sNom));
                        CQuestionSaisieExec saisie;
                        es.bTexte("caption", saisie.sLibelle);
                        es.bTexte("value", saisie.sValeurInitiale);
                        es.bEntier("width", saisie.nLargeur, 0, nCOORD_MAX);
                        if (!es.bFin()) Echec();
                        q.tabSaisies.push_back(saisie);
                    }
            }
            if (!e.bFin()) Echec();
            d.questions.tabQuestions.push_back(std::move(q));
        }
        if (!d.questions.tabQuestions.empty() && d.nVersion < nVERSION_FENETRE_QUESTIONS) d.nVersion = nVERSION_FENETRE_QUESTIONS;
    }

    // ------------------------------------------------------------ check

    // The description is read back by the module's reader: what it cannot
    // read (or would drop) is never written.
    bool bRelu(const std::vector<uint8_t>& tab) {
        CRef<CFenPrincipale> f(new CFenPrincipale(m_src.objet.sNom.c_str()));
        try {
            CKVBuffer b(tab.data(), tab.size());
            f->xCree(b);
            if (b.nGetPosition() != b.nGetTailleUtilisee())
                xThrowErreur(10011, static_cast<unsigned long long>(b.nGetPosition()),
                             static_cast<unsigned long long>(b.nGetTailleUtilisee()));
        } catch (const CXError& x) {
            m_diag.Erreur(m_src.objet.pos, "window " + sNomUtf8(m_src.objet.sNom) +
                                               ": the description written does not read back (" +
                                               sNomUtf8(x.sGetMessage()) + ", error " + std::to_string(x.nGetErreur()) + ")");
            return false;
        }
        if (f->Conteneur().nGetNbChamp() != m_fen->Conteneur().nGetNbChamp()) {
            m_diag.Erreur(m_src.objet.pos, "window " + sNomUtf8(m_src.objet.sNom) + ": " +
                                               std::to_string(m_fen->Conteneur().nGetNbChamp()) +
                                               " controls written, " + std::to_string(f->Conteneur().nGetNbChamp()) +
                                               " read back");
            return false;
        }
        return true;
    }

    const STFenetreSource& m_src;
    STContexteCompilation& m_ctx;
    CDiagnostics& m_diag;
    CRef<CFenPrincipale> m_fen;
    std::vector<std::wstring> m_tabNomsMenusContextuels;
    std::vector<STTabStop> m_tabTabStops;
    uint32_t m_nIdentifiant = 1;
    bool m_bOk = true;
    bool m_bIncomplet = false;
};

bool bCompileFenetre(const STFenetreSource& src, STContexteCompilation& ctx, std::vector<uint8_t>& tab) {
    CCompilateurFenetre c(src, ctx);
    return c.bCompile(tab);
}

// ---------------------------------------------------------------- dump

// What the window's loader reads, in its order: header, window record
// (common record, style, options, menus), control list.
void DumpFenetre(CKVBuffer& b, unsigned nCodePage, std::wostream& trace) {
    CLecteurKV ar(b, nCodePage);
    ar.SetTrace(&trace);
    CFenPrincipale::sxLitEntete(ar);
    CRef<CFenPrincipale> f(new CFenPrincipale(L""));
    serialise(ar, static_cast<CFenCommun&>(*f), f->Description());
    f->Conteneur().xDeserialise(ar, false);
}

const CInscription s_inscription([] {
    InscritTypeDescription({eTYPE_DESCRIPTION_FENETRE, "window", &bCompileFenetre, &DumpFenetre});
});

} // namespace
