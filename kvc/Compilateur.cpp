// The compiler's driver: reads the project, checks names across it, builds
// the records that have a compiler, and writes the container.
#include "Compilateur.h"
#include "DescriptionProjet.h"
#include "Registre.h"
#include "conteneur/CConteneurProjet.h"
#include "conteneur/Identifiants.h"
#include <filesystem>
#include <map>
#include <ostream>

std::string sUtf8(const std::wstring& s) { return sVersUtf8(s); }

namespace {

constexpr const char* LANGAGE_CODE = "lua";

struct STObjetVu {
    std::wstring sNomComplet;
    STPosition pos;
};

// Names must be unique where the module looks them up: windows in the
// project, and every full name (hence identifier) in its window. Two
// different names with one identifier would share their code.
class CVerification {
public:
    explicit CVerification(CDiagnostics& diag) : m_diag(diag) {}

    void Fenetre(const STFenetreSource& f) {
        auto it = m_mapFenetres.find(sMajusculeStable(f.objet.sNom));
        if (it != m_mapFenetres.end()) {
            m_diag.Erreur(f.objet.pos, "duplicate window name '" + sUtf8(f.objet.sNom) + "' (first defined at " +
                                           it->second.sTexte() + ")");
            return;
        }
        m_mapFenetres.emplace(sMajusculeStable(f.objet.sNom), f.objet.pos);
        Objet(f.objet, f.objet.sNom);
        for (const auto& c : f.tabChamps) Objet(c, f.objet.sNom);
        for (const auto& m : f.tabMenus) Objet(m, f.objet.sNom);
        for (const auto& m : f.tabMenusContextuels) Objet(m, f.objet.sNom);
    }

private:
    void Objet(const STObjetSource& o, const std::wstring& sFenetre) {
        auto itNom = m_mapNoms.find(sMajusculeStable(o.sNomComplet));
        if (itNom != m_mapNoms.end()) {
            m_diag.Erreur(o.pos, "duplicate name '" + sUtf8(o.sNom) + "' in window " + sUtf8(sFenetre) +
                                     " (first defined at " + itNom->second.sTexte() + ")");
        } else {
            m_mapNoms.emplace(sMajusculeStable(o.sNomComplet), o.pos);
            auto itId = m_mapIds.find(o.nId);
            if (itId != m_mapIds.end())
                m_diag.Erreur(o.pos, "'" + sUtf8(o.sNomComplet) + "' and '" + sUtf8(itId->second.sNomComplet) +
                                         "' (" + itId->second.pos.sTexte() +
                                         ") have the same identifier; rename one of them");
            else
                m_mapIds.emplace(o.nId, STObjetVu{o.sNomComplet, o.pos});
        }
        for (const auto& f : o.tabFils) Objet(f, sFenetre);
    }

    CDiagnostics& m_diag;
    std::map<std::wstring, STPosition> m_mapFenetres;
    std::map<std::wstring, STPosition> m_mapNoms;
    std::map<uint64_t, STObjetVu> m_mapIds;
};

bool bEcritObjet(CConteneurProjet& c, const STObjetSource& o, size_t& nCode) {
    const std::string sNom = sUtf8(o.sNomComplet);
    if (!c.bAjouteObjet(o.nId, sNom)) return false;
    for (const auto& code : o.tabCode) {
        if (!c.bAjouteCode(o.nId, code.nEvenement, LANGAGE_CODE, code.sSource, sNom)) return false;
        ++nCode;
    }
    for (const auto& f : o.tabFils)
        if (!bEcritObjet(c, f, nCode)) return false;
    return true;
}

std::string sListe(const std::vector<std::wstring>& tab) {
    std::string s;
    for (const auto& e : tab) s += (s.empty() ? "" : ",") + sUtf8(e);
    return s;
}

// Image controls name their files relative to the project's folder; the
// host takes them from there.
std::string sDossierImages(const std::string& sRepertoire) {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(sRepertoire, ec);
    if (ec) p = sRepertoire;
    p = p.lexically_normal();
    if (p.has_relative_path() && p.filename().empty()) p = p.parent_path();  // "demo/" is "demo"
    return p.string();
}

} // namespace

int nCompileProjet(const std::string& sRepertoire, const std::string& sSortie, std::ostream& err) {
    CDiagnostics diag(err);
    STProjetSource projet;
    bLitProjet(sRepertoire, projet, diag);

    CVerification verif(diag);
    for (const auto& f : projet.tabFenetres) verif.Fenetre(f);

    if (!projet.sPremiereFenetre.empty()) {
        bool bTrouve = false;
        for (const auto& f : projet.tabFenetres) bTrouve = bTrouve || bNomsEgaux(f.objet.sNom, projet.sPremiereFenetre);
        // Only when every window was read: a window with errors is missing
        // from the list and would be reported twice.
        if (!bTrouve && diag.nErreurs() == 0)
            diag.Erreur(projet.posPremiereFenetre,
                        "first window '" + sUtf8(projet.sPremiereFenetre) + "' is not a window of the project");
    }
    if (diag.nErreurs()) return 1;

    // The records.
    STContexteCompilation ctx{projet, diag};
    STDescriptionProjet desc = DescriptionProjet(projet);
    CKVBuffer bProjet;
    EcritEnregistrement(bProjet, desc, projet.nCodePage);

    std::vector<std::pair<std::wstring, std::vector<uint8_t>>> tabDescFenetres;
    const STTypeDescription* pFen = pTypeDescription(eTYPE_DESCRIPTION_FENETRE);
    for (const auto& f : projet.tabFenetres) {
        if (pFen && pFen->pfnCompileFenetre) {
            std::vector<uint8_t> tab;
            if (pFen->pfnCompileFenetre(f, ctx, tab)) tabDescFenetres.emplace_back(f.objet.sNom, std::move(tab));
        } else {
            STPosition p = f.objet.pos;
            diag.Note(p, "window " + sUtf8(f.objet.sNom) +
                             ": its description record is not compiled yet; its event code is");
        }
    }
    if (diag.nErreurs()) return 1;

    // The container, complete or not at all.
    CConteneurProjet c;
    auto echec = [&]() {
        STPosition p;
        p.sFichier = sSortie;
        diag.Erreur(p, c.sGetErreur());
        c.Abandonne();
        return 1;
    };
    if (!c.bCree(sSortie)) return echec();
    const std::string sNomProjet = sUtf8(projet.sNom);
    if (!c.bSetParametre("name", sNomProjet) || !c.bSetParametre("first_window", sUtf8(desc.sPremiereFenetre)) ||
        !c.bSetParametre("code_page", std::to_string(projet.nCodePage)) ||
        !c.bSetParametre("languages", sListe(projet.tabLangues)) ||
        !c.bSetParametre("windows", sListe(std::vector<std::wstring>(desc.tabFenetres.begin(), desc.tabFenetres.end()))) ||
        !c.bSetParametre("image_folder", sDossierImages(sRepertoire)) ||
        (projet.bBoitesPersonnalisees && !c.bSetParametre("custom_message_boxes", "true")))
        return echec();
    const auto octets = bProjet.Octets();
    if (!c.bAjouteDescription(sNomProjet, eTYPE_DESCRIPTION_PROJET, octets)) return echec();
    for (const auto& [sNom, tab] : tabDescFenetres)
        if (!c.bAjouteDescription(sUtf8(sNom), eTYPE_DESCRIPTION_FENETRE, tab)) return echec();
    size_t nCode = 0;
    for (const auto& f : projet.tabFenetres) {
        if (!bEcritObjet(c, f.objet, nCode)) return echec();
        for (const auto& o : f.tabChamps)
            if (!bEcritObjet(c, o, nCode)) return echec();
        for (const auto& o : f.tabMenus)
            if (!bEcritObjet(c, o, nCode)) return echec();
        for (const auto& o : f.tabMenusContextuels)
            if (!bEcritObjet(c, o, nCode)) return echec();
    }
    if (!c.bValide()) return echec();
    return 0;
}
