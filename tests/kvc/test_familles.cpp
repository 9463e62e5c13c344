// The control families are declared once; the object factory, the property
// matrix and the compiler's table of kinds are built from the declarations.
// This walks every family and every kind of the kind list and checks that
// the three agree.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "Binaires.h"
#include "base/CObjet.h"
#include "controls/core/CChamp.h"
#include "controls/core/Famille.h"
#include "frame/CObjFactory.h"
#include "frame/Proprietes.h"

namespace {

// The control kinds "kvc --help" lists: key -> compiled.
std::map<std::string, bool> GenresKvc() {
    std::map<std::string, bool> m;
    const std::string sCommande = kvtest::CheminBinaire("kvc") + " --help";
    FILE* f = popen(sCommande.c_str(), "r");
    if (!f) return m;
    std::string sTexte;
    char tampon[4096];
    size_t n;
    while ((n = fread(tampon, 1, sizeof tampon, f)) > 0) sTexte.append(tampon, n);
    pclose(f);
    std::istringstream in(sTexte);
    std::string sLigne;
    bool bDansGenres = false;
    while (std::getline(in, sLigne)) {
        if (sLigne.rfind("control kinds", 0) == 0) {
            bDansGenres = true;
            continue;
        }
        if (!bDansGenres || sLigne.rfind("not compiled yet", 0) == 0 || sLigne.rfind("  ", 0) != 0) {
            if (bDansGenres && sLigne.empty()) break;
            continue;
        }
        std::string sCle = sLigne.substr(2, sLigne.find(' ', 2) - 2);
        m[sCle] = sLigne.find("(not compiled yet)") == std::string::npos;
    }
    return m;
}

TEST(Familles, FactoryMatrixAndCompilerAgree) {
    const auto genresKvc = GenresKvc();
    ASSERT_FALSE(genresKvc.empty()) << "kvc --help listed no control kind";
    std::set<int> genresFamilles;
    for (const STFamilleChamp* f : Familles()) {
        SCOPED_TRACE(f->pszFamille);
        ASSERT_FALSE(f->tabGenres.empty());
        for (eID_OBJET g : f->tabGenres) {
            EXPECT_TRUE(genresFamilles.insert(g).second) << "kind " << g << " is declared by two families";
            EXPECT_EQ(pFamilleDuGenre(g), f);
            // The factory creates the family's class for each of its kinds.
            const STDeclareObjet& d = CObjFactory::m_tabDeclareObjet()[g];
            EXPECT_EQ(d.nIDObjet, g);
            EXPECT_STREQ(d.pszClasse, f->pszClasse);
            EXPECT_STREQ(d.pszClasse, pszClasseGenre(g)) << "the kind list names another class";
            EXPECT_TRUE(CObjFactory::bEstIDChamp(g));
            CObjet* o = CObjFactory::pclCree(g);
            ASSERT_NE(o, nullptr);
            auto* c = dynamic_cast<CChamp*>(o);
            ASSERT_NE(c, nullptr);
            EXPECT_EQ(c->dwGetId(), g);
            o->nRelease();
            // Every control's properties and the family's own are available.
            for (int p : {PROP_Nom, PROP_Libelle, PROP_Visible, PROP_MemoriserLaValeur})
                EXPECT_TRUE(bPropAvailableEx(g, p, true, true, 0)) << pszGetNomPropriete(p, 0);
            for (ePROPRIETE p : f->tabProprietes)
                EXPECT_TRUE(bPropAvailableEx(g, p, true, true, 0)) << pszGetNomPropriete(p, 0);
            // A window's own property is not a control's.
            EXPECT_FALSE(bPropAvailableEx(g, PROP_Titre, true, true, 0));
        }
        // The compiler knows the family's key and compiles it.
        EXPECT_STREQ(f->pszCle, pszCleGenre(f->tabGenres[0])) << "the kind list gives another YAML key";
        auto it = genresKvc.find(f->pszCle);
        ASSERT_NE(it, genresKvc.end()) << "kvc does not know '" << f->pszCle << "'";
        EXPECT_TRUE(it->second) << "kvc does not compile '" << f->pszCle << "'";
    }
    // A property of one family is not another's unless both declare it.
    for (const STFamilleChamp* f : Familles())
        for (const STFamilleChamp* autre : Familles())
            for (ePROPRIETE p : autre->tabProprietes) {
                bool bDeclaree = false;
                for (ePROPRIETE q : f->tabProprietes) bDeclaree |= q == p;
                EXPECT_EQ(bPropAvailableEx(f->tabGenres[0], p, true, true, 0), bDeclaree)
                    << f->pszFamille << " / " << pszGetNomPropriete(p, 0);
            }
    // Every other kind: unavailable in the factory, and known to the
    // compiler only as not compiled yet.
    for (int g = 1; g < NB_ID_OBJET; ++g) {
        if (genresFamilles.count(g)) continue;
        EXPECT_EQ(CObjFactory::m_tabDeclareObjet()[g].nIDObjet, -1) << "kind " << g;
        const std::string sCle = pszCleGenre(g);
        if (sCle.empty()) continue;
        auto it = genresKvc.find(sCle);
        ASSERT_NE(it, genresKvc.end()) << "kvc does not know '" << sCle << "'";
        EXPECT_FALSE(it->second) << "kvc claims to compile '" << sCle << "'";
    }
    EXPECT_EQ(genresKvc.size(), [] {
        size_t n = 0;
        for (int g = 0; g < NB_ID_OBJET; ++g) n += *pszCleGenre(g) != 0;
        return n;
    }()) << "kvc lists a key the kind list does not have";
}

} // namespace
