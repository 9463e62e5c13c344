// The button's keys in the compiler: the fixture's keys reach the records
// the module reads, and mistakes are reported at their line.
#include "Binaires.h"
#include "conteneur/CConteneurProjet.h"
#include "controls/button/CBouton.h"
#include "windows/CFenPrincipale.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// Runs kvc with its arguments; its exit code, what it wrote on stdout and
// on stderr.
int nKvc(const std::string& sArguments, std::string& sSortie, std::string& sErreurs) {
    const std::string sRep = kvtest::RepertoireTemporaire();
    std::string sCommande = "'" + kvtest::CheminBinaire("kvc") + "' " + sArguments + " > '" + sRep + "/out' 2> '" + sRep + "/err'";
    int n = std::system(sCommande.c_str());
    auto lit = [](const std::string& sFichier) {
        std::ifstream f(sFichier);
        std::stringstream ss;
        ss << f.rdbuf();
        return ss.str();
    };
    sSortie = lit(sRep + "/out");
    sErreurs = lit(sRep + "/err");
    return WIFEXITED(n) ? WEXITSTATUS(n) : -1;
}

int nCompile(const std::string& sProjet, const std::string& sKvp, std::string& sErreurs) {
    std::string sSortie;
    return nKvc("'" + sProjet + "' -o '" + sKvp + "'", sSortie, sErreurs);
}

// A window of the compiled fixture, read by the module's own reader.
struct FenetreLue {
    CFenPrincipale* f = new CFenPrincipale(L"");
    ~FenetreLue() { f->nRelease(); }
    CBouton* Bouton(const wchar_t* pszNom) { return dynamic_cast<CBouton*>(f->pclGetChampFromName(pszNom)); }
};

TEST(BoutonKvc, FixtureKeysReachTheRecords) {
    const std::string sSortie = kvtest::RepertoireTemporaire() + "/boutons.kvp";
    std::string sErreurs;
    ASSERT_EQ(nCompile(kvtest::CheminFixture("button"), sSortie, sErreurs), 0) << sErreurs;
    EXPECT_EQ(sErreurs, "") << "the fixture compiles without a word";
    CConteneurProjet c;
    ASSERT_TRUE(c.bOuvre(sSortie)) << c.sGetErreur();
    std::vector<uint8_t> tab;
    ASSERT_EQ(c.eLitDescription("FEN_Boutons", eTYPE_DESCRIPTION_FENETRE, tab), eLECTURE_OK);
    FenetreLue lue;
    CKVBuffer b(tab.data(), tab.size());
    lue.f->xCree(b);

    CBouton* ok = lue.Bouton(L"BTN_OK");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->nGetTypeBouton(), nBOUTON_NORMAL);
    EXPECT_TRUE(ok->bGetPrendFocus());
    EXPECT_TRUE(ok->bGetTabStop());
    EXPECT_EQ(ok->cGetLettreAppel(), L'O');

    CBouton* valider = lue.Bouton(L"BTN_Valider");
    ASSERT_NE(valider, nullptr);
    EXPECT_EQ(valider->nGetTypeBouton(), nBOUTON_VALIDATION);

    CBouton* lettre = lue.Bouton(L"BTN_Lettre");
    ASSERT_NE(lettre, nullptr);
    EXPECT_FALSE(lettre->bGetTabStop());
    EXPECT_TRUE(lettre->bGetPrendFocus());

    CBouton* enfonce = lue.Bouton(L"BTN_Enfonce");
    ASSERT_NE(enfonce, nullptr);
    EXPECT_TRUE(enfonce->bEstInterrupteur());
    EXPECT_TRUE(enfonce->bGetEnfonce());
    EXPECT_EQ(enfonce->eGetEtatBtn(), eBTN_ENFONCE);

    CBouton* image = lue.Bouton(L"BTN_Image");
    ASSERT_NE(image, nullptr);
    const STBouton& st = image->GetBouton();
    EXPECT_EQ(st.nType, nBOUTON_AIDE);
    EXPECT_FALSE(image->bGetPrendFocus());
    EXPECT_EQ(st.sImage, L"etats.png");
    EXPECT_EQ(st.nImageEtat, 5);
    EXPECT_EQ(st.nModeFlecheDD, nFLECHE_ZONE);
    EXPECT_EQ(st.sMenuFlecheDD, L"MENU_Choix");

    CBouton* aide = lue.Bouton(L"BTN_Aide");
    ASSERT_NE(aide, nullptr);
    EXPECT_EQ(aide->nGetTypeBouton(), nBOUTON_AIDE) << "a type given by its number";
    EXPECT_EQ(aide->cGetLettreAppel(), 0) << "'&&' is no call letter";

    // The dump prints the button's own record.
    std::string sDump;
    ASSERT_EQ(nKvc("dump '" + sSortie + "' FEN_Boutons", sDump, sErreurs), 0) << sErreurs;
    for (const char* psz : {"      Button = { version 1, declared size 79\n", "        image = \"etats.png\"\n",
                            "        arrow_menu = \"MENU_Choix\"\n"})
        EXPECT_NE(sDump.find(psz), std::string::npos) << psz << "\n" << sDump;
}

TEST(BoutonKvc, MistakesReportedWhereTheyAre) {
    const std::string BTN = "window: FEN_A\nsize: [200, 100]\ncontrols:\n  - button: BTN_A\n    at: [0, 0, 80, 24]\n";
    struct Cas {
        std::string sCles;  // line 6 on
        const char* pszLigne;
        const char* pszMessage;
    };
    const Cas tabCas[] = {
        {"    type: big\n", "6:", "'type' is one of: normal, validation, interrupt, cancel, help, 0, 1, 2, 3, 4 (not 'big')"},
        {"    type: 5\n", "6:", "'type' is one of:"},
        {"    pressed: true\n", "6:", "'pressed' is for toggle buttons ('toggle: true')"},
        {"    image_states: 6\n", "6:", "'image_states' must be between 1 and 5 (not 6)"},
        {"    background_states: 0\n", "6:", "'background_states' must be between 1 and 5 (not 0)"},
        {"    arrow_menu: MENU_X\n", "6:", "the arrow opens it: the button needs 'arrow: true'"},
        {"    arrow: true\n    arrow_popup: 3x\n", "7:", "'arrow_popup'"},
        {"    toggel: true\n", "6:", "unknown key 'toggel' in button BTN_A (did you mean 'toggle'?)"},
    };
    const std::string sRep = kvtest::RepertoireTemporaire();
    int i = 0;
    for (const auto& c : tabCas) {
        SCOPED_TRACE(c.sCles);
        const std::string sProjet = sRep + "/p" + std::to_string(i++);
        fs::create_directory(sProjet);
        std::ofstream(sProjet + "/project.yaml") << "name: P\nfirst_window: FEN_A\n";
        std::ofstream(sProjet + "/a.yaml") << BTN + c.sCles;
        const std::string sSortie = sRep + "/p.kvp";
        std::string sErreurs;
        EXPECT_EQ(nCompile(sProjet, sSortie, sErreurs), 1);
        const size_t n = sErreurs.find(sProjet + "/a.yaml:" + c.pszLigne);
        EXPECT_NE(n, std::string::npos) << sErreurs;
        EXPECT_NE(sErreurs.find(std::string("error: ") + c.pszMessage), std::string::npos) << sErreurs;
        EXPECT_FALSE(fs::exists(sSortie));
    }
}

} // namespace
