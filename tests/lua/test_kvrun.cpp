// kvrun as a person starts it: the reference lists it prints from the
// module's own tables, and the exit status of a run whose event code failed.
#include "Binaires.h"
#include "HoteProjet.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

struct STSortie {
    int nStatut = -1;
    std::string sTexte;  // stdout and stderr together
};

STSortie Kvrun(const std::string& sArguments) {
    std::string sCommande = "QT_QPA_PLATFORM=offscreen " + kvtest::CheminBinaire("kvrun") + " " + sArguments + " 2>&1";
    STSortie r;
    FILE* f = popen(sCommande.c_str(), "r");
    if (!f) return r;
    char buf[1024];
    while (fgets(buf, sizeof buf, f)) r.sTexte += buf;
    int n = pclose(f);
    r.nStatut = WIFEXITED(n) ? WEXITSTATUS(n) : -1;
    return r;
}

bool bALigne(const std::string& sTexte, const std::string& sLigne) {
    return ("\n" + sTexte).find("\n" + sLigne + "\n") != std::string::npos;
}

// Functions: one line per syntax that has glue, none for what the table
// only declares. Properties: those the module's matrix gives each kind.
TEST(Kvrun, ReferenceListsComeFromTheModulesTables) {
    STSortie f = Kvrun("--functions");
    ASSERT_EQ(f.nStatut, 0) << f.sTexte;
    struct {
        const char* pszLigne;
        bool bPresente;
    } tabFonctions[] = {
        {"FenEtat(window, integer) -> integer", true},
        {"Bip()", true},
        {"Ouvre(window, ...) -> value", true},
        {"ChampVisible(object, integer, integer)", true},
        {"Son()", false},  // declared, without a syntax of ours
    };
    for (const auto& c : tabFonctions) EXPECT_EQ(bALigne(f.sTexte, c.pszLigne), c.bPresente) << c.pszLigne;

    STSortie e = Kvrun("--properties CSaisie");
    ASSERT_EQ(e.nStatut, 0) << e.sTexte;
    EXPECT_TRUE(bALigne(e.sTexte, "2 CSaisie")) << e.sTexte;
    EXPECT_TRUE(bALigne(e.sTexte, "  NullSiVide (NullIfEmpty)")) << e.sTexte;
    EXPECT_TRUE(bALigne(e.sTexte, "  Libelle (Caption)")) << e.sTexte;
    STSortie b = Kvrun("--properties 4");
    ASSERT_EQ(b.nStatut, 0) << b.sTexte;
    EXPECT_TRUE(bALigne(b.sTexte, "4 CBouton")) << b.sTexte;
    EXPECT_FALSE(bALigne(b.sTexte, "  MasqueSaisie")) << b.sTexte;
    STSortie tout = Kvrun("--properties");
    EXPECT_TRUE(bALigne(tout.sTexte, "2 CSaisie") && bALigne(tout.sTexte, "4 CBouton")) << tout.sTexte;

    STSortie inconnu = Kvrun("--properties CInconnu");
    EXPECT_EQ(inconnu.nStatut, 2);
    EXPECT_NE(inconnu.sTexte.find("no object kind is named CInconnu"), std::string::npos) << inconnu.sTexte;
}

// An error the code did not catch is printed with where it happened, the
// window goes on, and the run's exit status says it failed.
TEST(Kvrun, AnUncaughtErrorFailsTheRun) {
    const std::string& sProjet = kvtest::ProjetCompile(kvtest::CheminFixture("lua_erreur"));
    ASSERT_FALSE(sProjet.empty());
    const std::string sImage = kvtest::RepertoireTemporaire() + "/erreur.png";
    STSortie r = Kvrun("--screenshot " + sImage + " " + sProjet);
    EXPECT_EQ(r.nStatut, 1) << r.sTexte;
    EXPECT_NE(r.sTexte.find("FEN_Erreur.LIB_Texte:init:2: no property is named Bidule"), std::string::npos) << r.sTexte;
    EXPECT_NE(r.sTexte.find("kvrun: 1 error in event code"), std::string::npos) << r.sTexte;
    EXPECT_NE(r.sTexte.find("saved " + sImage), std::string::npos) << r.sTexte;
}

} // namespace
