// The function table's data: kvobj/frame/fonctions.txt turned by kvfonctions
// into the rows, syntaxes, signatures and packed name block of the module.
#include <gtest/gtest.h>

#include "Binaires.h"
#include "Octets.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

using namespace kvoctets;

namespace {

// The tool: KV_FONCTIONS_OUTIL when set, else the one built beside the module.
std::string sOutil() {
    if (const char* psz = std::getenv("KV_FONCTIONS_OUTIL"); psz && *psz) return psz;
    return kvtest::CheminBinaire("kvfonctions");
}

std::string sFichierReel() { return std::string(KV_SOURCE_DIR) + "/kvobj/frame/fonctions.txt"; }

std::string sLitTout(const std::string& sChemin) {
    std::ifstream f(sChemin, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

int nLanceOutil(const std::string& sEntree, const std::string& sSortie) {
    std::filesystem::remove(sSortie);
    const std::string sCommande = "'" + sOutil() + "' '" + sEntree + "' '" + sSortie + "' 2>/dev/null";
    int r = std::system(sCommande.c_str());
    return WIFEXITED(r) ? WEXITSTATUS(r) : -1;
}

// One row of the list, read here independently of the tool.
struct Ligne {
    std::string sNom;
    uint32_t nCategorie = 0;
    struct Syntaxe {
        uint32_t nResultat = 0;
        std::vector<uint32_t> tabParametres;
        bool bVariadique = false;
    };
    std::vector<Syntaxe> tabSyntaxes;
};

std::vector<std::string> Decoupe(const std::string& s, char c) {
    std::vector<std::string> r;
    std::string sPart;
    std::istringstream is(s);
    while (std::getline(is, sPart, c)) r.push_back(sPart);
    if (!s.empty() && s.back() == c) r.push_back("");
    return r;
}

std::vector<Ligne> LitListe(const std::string& sChemin) {
    std::vector<Ligne> tab;
    std::istringstream is(sLitTout(sChemin));
    std::string s;
    while (std::getline(is, s)) {
        if (!s.empty() && s.back() == '\r') s.pop_back();
        if (s.empty() || s[0] == '#') continue;
        std::vector<std::string> champs = Decoupe(s, '\t');
        Ligne l;
        l.sNom = champs.at(0);
        l.nCategorie = static_cast<uint32_t>(std::stoul(champs.at(1)));
        if (champs.at(2) != "-")
            for (const std::string& sSyn : Decoupe(champs[2], ';')) {
                Ligne::Syntaxe st;
                size_t n = sSyn.find(':');
                st.nResultat = static_cast<uint32_t>(std::stoul(sSyn.substr(0, n), nullptr, 0));
                if (n + 1 < sSyn.size())
                    for (const std::string& p : Decoupe(sSyn.substr(n + 1), ',')) {
                        if (p == "...")
                            st.bVariadique = true;
                        else
                            st.tabParametres.push_back(static_cast<uint32_t>(std::stoul(p, nullptr, 0)));
                    }
                l.tabSyntaxes.push_back(st);
            }
        tab.push_back(l);
    }
    return tab;
}

// What the generated source defines, read back from its text.
struct Genere {
    struct Fonction {
        uint32_t nOrdinal, nNom, nReserve, nAttributs, nCategorie, nIdentifiant;
        long nPremiereSyntaxe;  // -1 for a null syntax pointer
        std::string sCommentaire;
    };
    struct Syntaxe {
        std::string sGlue;
        std::string sReserve;
        size_t nSignature;
        uint32_t nParametres;
    };
    std::vector<unsigned char> signatures, blocNoms;
    std::vector<Syntaxe> syntaxes;
    std::vector<Fonction> fonctions;
    uint32_t nNbFonctions = 0, nTailleBlocNoms = 0;
};

std::vector<unsigned char> LitOctets(const std::string& sSource, const std::string& sTableau) {
    // The definition, not the extern declaration: its size is written out.
    size_t nDebut = sSource.find(sTableau + "[");
    while (nDebut != std::string::npos && !std::isdigit(static_cast<unsigned char>(sSource[nDebut + sTableau.size() + 1])))
        nDebut = sSource.find(sTableau + "[", nDebut + 1);
    size_t nAccolade = sSource.find('{', nDebut);
    size_t nFin = sSource.find("};", nAccolade);
    std::vector<unsigned char> v;
    if (nDebut == std::string::npos || nFin == std::string::npos) return v;
    const std::string sCorps = sSource.substr(nAccolade + 1, nFin - nAccolade - 1);
    static const std::regex re("0x([0-9a-fA-F]{2})");
    for (auto it = std::sregex_iterator(sCorps.begin(), sCorps.end(), re); it != std::sregex_iterator(); ++it)
        v.push_back(static_cast<unsigned char>(std::stoul((*it)[1], nullptr, 16)));
    return v;
}

Genere LitGenere(const std::string& sSource) {
    Genere g;
    g.signatures = LitOctets(sSource, "kabySignatures");
    g.blocNoms = LitOctets(sSource, "gabyBlocNoms");
    // Each syntax points at its glue function (a weak reference: null when
    // the module does not define it).
    static const std::regex reSyntaxe(
        R"(\{reinterpret_cast<void\*>\(&(\w+)\), \{([^}]*)\}, kabySignatures \+ (\d+), 0x([0-9A-F]+)u\},)");
    for (auto it = std::sregex_iterator(sSource.begin(), sSource.end(), reSyntaxe); it != std::sregex_iterator(); ++it)
        g.syntaxes.push_back({(*it)[1], (*it)[2], std::stoul((*it)[3]), static_cast<uint32_t>(std::stoul((*it)[4], nullptr, 16))});
    static const std::regex reFonction(
        R"(\{(\d+), (\d+), (\d+), 0x([0-9A-F]+)u, (\d+), 0x([0-9A-F]+)u, (nullptr|ktabSyntaxes \+ (\d+))\},  // (\w+))");
    for (auto it = std::sregex_iterator(sSource.begin(), sSource.end(), reFonction); it != std::sregex_iterator(); ++it) {
        const auto& m = *it;
        g.fonctions.push_back({static_cast<uint32_t>(std::stoul(m[1])), static_cast<uint32_t>(std::stoul(m[2])),
                               static_cast<uint32_t>(std::stoul(m[3])), static_cast<uint32_t>(std::stoul(m[4], nullptr, 16)),
                               static_cast<uint32_t>(std::stoul(m[5])), static_cast<uint32_t>(std::stoul(m[6], nullptr, 16)),
                               m[8].matched ? std::stol(m[8]) : -1, m[9]});
    }
    std::smatch m;
    static const std::regex reNb(R"(gnNbFonctions = (\d+)u;)"), reTaille(R"(gnTailleBlocNoms = (\d+)u;)");
    if (std::regex_search(sSource, m, reNb)) g.nNbFonctions = static_cast<uint32_t>(std::stoul(m[1]));
    if (std::regex_search(sSource, m, reTaille)) g.nTailleBlocNoms = static_cast<uint32_t>(std::stoul(m[1]));
    return g;
}

// The real list, run through the tool once for every test below.
class TableFonctions : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::string sSortie = kvtest::RepertoireTemporaire() + "/fonctions.cpp";
        snCode = nLanceOutil(sFichierReel(), sSortie);
        sgGenere = LitGenere(sLitTout(sSortie));
        stabListe = LitListe(sFichierReel());
    }
    void SetUp() override {
        ASSERT_EQ(snCode, 0) << sOutil() << " refused " << sFichierReel();
        ASSERT_EQ(stabListe.size(), 586u);
        ASSERT_EQ(sgGenere.fonctions.size(), stabListe.size());
    }
    static inline int snCode = -1;
    static inline Genere sgGenere;
    static inline std::vector<Ligne> stabListe;
};

TEST_F(TableFonctions, HoldsEveryRowInOrder) {
    EXPECT_EQ(sgGenere.nNbFonctions, 586u);
    for (size_t i = 0; i < sgGenere.fonctions.size(); ++i) {
        const auto& f = sgGenere.fonctions[i];
        SCOPED_TRACE(stabListe[i].sNom);
        EXPECT_EQ(f.nOrdinal, i + 1);
        EXPECT_EQ(f.nNom, 0u);
        EXPECT_EQ(f.nReserve, 0u);
        EXPECT_EQ(f.nCategorie, stabListe[i].nCategorie);
        EXPECT_TRUE(f.nCategorie == 1 || f.nCategorie == 3);
        EXPECT_EQ(f.sCommentaire, stabListe[i].sNom);
        EXPECT_EQ(f.nAttributs, stabListe[i].tabSyntaxes.empty() ? 0xC1028018u : 0xC3228618u);
    }
}

TEST_F(TableFonctions, IdentifiersCountSyntaxesAndIndexTheFirstRowOfAName) {
    std::map<std::string, uint32_t> tabPremier;
    int nRepetitions = 0;
    for (size_t i = 0; i < sgGenere.fonctions.size(); ++i) {
        const uint32_t n = sgGenere.fonctions[i].nIdentifiant;
        const std::string& sNom = stabListe[i].sNom;
        SCOPED_TRACE(sNom);
        EXPECT_EQ(n >> 24, stabListe[i].tabSyntaxes.size());
        EXPECT_EQ((n >> 16) & 0xFF, 1u);
        auto [it, bNouveau] = tabPremier.emplace(sNom, static_cast<uint32_t>(i));
        if (!bNouveau) ++nRepetitions;
        EXPECT_EQ(n & 0xFFFF, it->second) << (bNouveau ? "first row" : "repeated row");
    }
    EXPECT_EQ(nRepetitions, 10);
}

TEST_F(TableFonctions, RowsWithSyntaxesAndDeclaredRowsSplitAsTheModuleDeclaresThem) {
    int nAvec = 0, nSans = 0;
    for (const Ligne& l : stabListe) (l.tabSyntaxes.empty() ? nSans : nAvec)++;
    EXPECT_EQ(nAvec, 262);
    EXPECT_EQ(nSans, 324);
}

TEST_F(TableFonctions, SyntaxesPointAtTheirPackedSignatures) {
    size_t nSyntaxe = 0;
    size_t nOffsetAttendu = 0;
    for (size_t i = 0; i < stabListe.size(); ++i) {
        const Ligne& l = stabListe[i];
        SCOPED_TRACE(l.sNom);
        if (l.tabSyntaxes.empty()) {
            EXPECT_EQ(sgGenere.fonctions[i].nPremiereSyntaxe, -1);
            continue;
        }
        EXPECT_EQ(sgGenere.fonctions[i].nPremiereSyntaxe, static_cast<long>(nSyntaxe));
        for (size_t k = 0; k < l.tabSyntaxes.size(); ++k) {
            const Ligne::Syntaxe& st = l.tabSyntaxes[k];
            ASSERT_LT(nSyntaxe, sgGenere.syntaxes.size());
            const Genere::Syntaxe& g = sgGenere.syntaxes[nSyntaxe++];
            EXPECT_EQ(g.sGlue, "KSL_" + l.sNom + "_" + std::to_string(k));
            EXPECT_EQ(g.sReserve, "0, 0");
            EXPECT_EQ(g.nParametres & 0x7F, st.tabParametres.size());
            EXPECT_EQ((g.nParametres & 0x80) != 0, st.bVariadique);
            EXPECT_EQ(g.nParametres & ~0xFFu, 0u);
            // Signatures follow one another: result, parameters, one 0 byte.
            EXPECT_EQ(g.nSignature, nOffsetAttendu);
            ASSERT_LE(g.nSignature + 4 * st.tabParametres.size() + 5, sgGenere.signatures.size());
            EXPECT_EQ(Mot(sgGenere.signatures, g.nSignature), st.nResultat);
            for (size_t p = 0; p < st.tabParametres.size(); ++p)
                EXPECT_EQ(Mot(sgGenere.signatures, g.nSignature + 4 + 4 * p), st.tabParametres[p]) << "parameter " << p;
            EXPECT_EQ(sgGenere.signatures[g.nSignature + 4 + 4 * st.tabParametres.size()], 0);
            nOffsetAttendu = g.nSignature + 4 * st.tabParametres.size() + 5;
        }
    }
    EXPECT_EQ(nSyntaxe, sgGenere.syntaxes.size());
    EXPECT_EQ(nOffsetAttendu, sgGenere.signatures.size());
}

TEST_F(TableFonctions, NameBlockUnpacksToTheNamesInTableOrder) {
    const auto& bloc = sgGenere.blocNoms;
    ASSERT_GT(bloc.size(), 4u);
    EXPECT_EQ(sgGenere.nTailleBlocNoms, bloc.size());
    const uint32_t nBrut = Mot(bloc, 0);
    std::vector<unsigned char> brut(nBrut);
    uLongf nLu = nBrut;
    ASSERT_EQ(uncompress(brut.data(), &nLu, bloc.data() + 4, static_cast<uLong>(bloc.size() - 4)), Z_OK);
    ASSERT_EQ(nLu, nBrut);
    std::vector<std::string> tabNoms;
    std::string s;
    for (unsigned char c : brut) {
        if (c == 0) {
            tabNoms.push_back(s);
            s.clear();
        } else {
            s.push_back(static_cast<char>(c));
        }
    }
    EXPECT_TRUE(s.empty()) << "the last name must end with a 0 byte";
    ASSERT_EQ(tabNoms.size(), stabListe.size());
    for (size_t i = 0; i < tabNoms.size(); ++i) EXPECT_EQ(tabNoms[i], stabListe[i].sNom) << "row " << i + 1;
}

// Every function the module implements, by family; each needs a row that
// carries its syntaxes.
const std::pair<const char*, const char*> ktabFamilles[] = {
    {"windows",
     "DelaiAvantFermeture EcranPremier EcranVersFichier EcranVersSource FenAgencementEnCours FenChangeAgencement "
     "FenChangeAlias FenEnCours FenEnExecution FenEtat FenExtHaut FenExtLarg FenExtPosX FenExtPosY FenImageFond "
     "FenInitialisee FenIntHaut FenIntLarg FenIntPosX FenIntPosY FenPrecedente FenRectangleEcran FenRepeint FenTaille "
     "FenTailleUtile Ferme FichierVersEcran InitFenetre NombreFenetre Ouvre OuvreFille OuvreMenuContextuel "
     "OuvreMenuPrincipal OuvreSoeur RAZ SourceVersEcran TitreEnCours TitreSuivant Utilise"},
    {"controls and focus",
     "ChampCloneFenetre ChampCree ChampErreur ChampExisteFenetre ChampGrise ChampInvisible ChampPrecedent ChampPremier "
     "ChampSansEspaceFenetre ChampSuivant ChampSupprimeFenetre ChampVisible ChangeSeparateur CouleurSelection "
     "DesactiveFAA DonneCouleur DonneFocus DonneIdentifiant EnumereChampFenetre Handle IndiceEnCours IndiceSuivant "
     "Occurrence ParentObjet RepriseSaisie"},
    {"message boxes and dialogs",
     "Abandonne Avertissement Confirmer Dialogue Erreur ErreurAvecDelai ErreurConstruit Info InfoAvecDelai InfoBitmap "
     "InfoConstruit OKAnnuler OuiNon Saisie"},
    {"system", "Bip Multitache MultitacheRepeint Sablier SourisPosX SourisPosY"},
    {"list box",
     "ListeAffiche ListeAjoute ListeCherche ListeDeplaceLigne ListeInfoXY ListeInsere ListeModifie ListeOccurrence "
     "ListePosition ListeSelect ListeSelectMoins ListeSelectOccurrence ListeSelectPlus ListeSupprime ListeSupprimeTout "
     "ListeTrie"},
    {"combo box", "ComboFerme ComboOuvre"},
    {"table",
     "ConstruitTableFichier FichierVersListeMemoire FichierVersTableMemoire SQLTable TableActiveFiltre TableAffiche "
     "TableAjoute TableAjouteColonne TableAjouteLigne TableAjuste TableCherche TableColonnesFiltrees "
     "TableColonnesTriees TableDeplaceColonne TableDeplaceLigne TableDerouleTout TableDesactiveFiltre "
     "TableEchangeLigne TableEnregistre TableEnrouleTout TableEnumereColonne TableFin TableIndiceColonne "
     "TableIndiceRupture TableInfoXY TableInsere TableInsereColonne TableInsereLigne TableMode TableModifie "
     "TableModifieColonne TableModifieLigne TableNumEnr TableOccurrence TablePosition TableRestaurePositionEtSelection "
     "TableSaisieEnCours TableSauvePositionEtSelection TableSelect TableSelectMoins TableSelectOccurrence "
     "TableSelectPlus TableSelectVersFichier TableSupprime TableSupprimeSelect TableSupprimeTout TableTrie"},
    {"looper",
     "ZoneRepeteeAffiche ZoneRepeteeAjoute ZoneRepeteeAjouteLigne ZoneRepeteeCherche ZoneRepeteeDeplaceLigne "
     "ZoneRepeteeDeroule ZoneRepeteeEnregistre ZoneRepeteeEnroule ZoneRepeteeEnrouleDeroule ZoneRepeteeIndiceRupture "
     "ZoneRepeteeInfoXY ZoneRepeteeInsere ZoneRepeteeInsereLigne ZoneRepeteeModifie ZoneRepeteeModifieLigne "
     "ZoneRepeteeNumEnr ZoneRepeteeOccurrence ZoneRepeteePosition ZoneRepeteeSelect ZoneRepeteeSelectMoins "
     "ZoneRepeteeSelectOccurrence ZoneRepeteeSelectPlus ZoneRepeteeSupprime ZoneRepeteeSupprimeTout ZoneRepeteeTrie"},
    {"tree view", "ArbreAffiche"},
    {"check boxes and radio buttons",
     "InterrupteurAjoute InterrupteurInsere InterrupteurSupprime SelecteurAjoute SelecteurInsere SelecteurSupprime"},
    {"menus",
     "EnumereMenu MenuAjoute MenuAjouteMenu MenuAjouteOption MenuAjouteSeparateur MenuClone MenuDemarque MenuEtat "
     "MenuExiste MenuInsereMenu MenuInsereOption MenuInsereSeparateur MenuInvisible MenuLibelle MenuMarquage MenuMarque "
     "MenuSelectMoins MenuSelectPlus MenuSupprime"},
    {"tabs", "OngletDuChamp"},
    {"calendar and holidays",
     "CalendrierPosition CalendrierSelect CalendrierSelectMoins CalendrierSelectOccurrence CalendrierSelectPlus "
     "JourFerie JourFerieAjoute JourFerieListe JourFerieSupprimeTout"},
    {"map",
     "CarteAffichePosition CarteAjouteMarqueur CarteFinDeplacement CarteInfoPosition CarteInfoXY CarteModifieMarqueur "
     "CarteRecuperePosition CarteSuitDeplacement CarteSupprimeMarqueur CarteSupprimeTout"},
    {"agenda", "__AgendaZoom_RebondMODEL"},
    {"drawing",
     "dArc_Rebond dCercle_Rebond dCopieImage dCorde_Rebond dDebutDessin_Rebond dFinDessin_Rebond dFond_Rebond "
     "dLigne_Rebond dPixelOpacite_Rebond dPoint_Rebond dPolice_Rebond dPolygone_Rebond dPortion_Rebond "
     "dRectangle_Rebond dRectangleDegrade_Rebond dRemplissage_Rebond dSauveImageJPEG_Rebond dSauveImagePNG_Rebond "
     "dStylo_Rebond dTexte_Rebond"},
    {"drawing strings",
     "gCercle gFond gFondDegrade gLien gLienActive gLigne gPolice gPoliceGras gPoliceItalique gPoliceSoulignee "
     "gPoliceTaille gStylo gVersTexte"},
    {"text conversion", "RTFVersTexte"},
};

TEST_F(TableFonctions, EveryImplementedFamilyHasItsFunctionsWithSyntaxes) {
    std::map<std::string, size_t> tabSyntaxes;
    for (const Ligne& l : stabListe) tabSyntaxes[l.sNom] += l.tabSyntaxes.size();
    for (const auto& [pszFamille, pszNoms] : ktabFamilles) {
        std::istringstream is(pszNoms);
        std::string sNom;
        while (is >> sNom) {
            auto it = tabSyntaxes.find(sNom);
            ASSERT_NE(it, tabSyntaxes.end()) << pszFamille << ": " << sNom << " is missing";
            EXPECT_GT(it->second, 0u) << pszFamille << ": " << sNom << " declares no syntax";
        }
    }
}

// The glue of these functions fills fixed defaults for the parameters that
// their first syntax leaves out, so that syntax must stay the short one.
TEST_F(TableFonctions, FunctionsWithDefaultedParametersKeepTheirShortSyntax) {
    struct Cas {
        const char* pszNom;
        size_t nParametres;  // of the first syntax
    };
    const Cas tab[] = {
        {"TableSupprime", 1}, {"ChampVisible", 1}, {"Multitache", 0},
        {"Sablier", 0},       {"DonneFocus", 0},   {"ChampCree", 2},
    };
    for (const Cas& c : tab) {
        auto it = std::find_if(stabListe.begin(), stabListe.end(), [&](const Ligne& l) { return l.sNom == c.pszNom; });
        ASSERT_NE(it, stabListe.end()) << c.pszNom;
        ASSERT_GE(it->tabSyntaxes.size(), 2u) << c.pszNom;
        EXPECT_EQ(it->tabSyntaxes[0].tabParametres.size(), c.nParametres) << c.pszNom;
    }
}

// The tool itself: it must refuse bad lists without leaving output.
class OutilFonctions : public ::testing::Test {
protected:
    std::string m_sDossier = kvtest::RepertoireTemporaire();

    // 576 distinct names and 10 repeats.
    static std::string sValide() {
        std::ostringstream o;
        o << "# comment\n\n";
        for (int n = 1; n <= 576; ++n) {
            o << "F" << n << "\t" << (n % 2 ? 1 : 3) << "\t" << (n % 3 ? "8:57,0x8074;0:" : "-") << "\n";
            if (n <= 10) o << "F" << n << "\t1\t-\n";
        }
        return o.str();
    }
    int nLance(const std::string& sContenu) {
        const std::string sEntree = m_sDossier + "/fonctions.txt";
        std::ofstream(sEntree, std::ios::binary) << sContenu;
        return nLanceOutil(sEntree, sSortie());
    }
    std::string sSortie() const { return m_sDossier + "/out.cpp"; }
};

TEST_F(OutilFonctions, AcceptsAWellFormedList) {
    ASSERT_EQ(nLance(sValide()), 0);
    Genere g = LitGenere(sLitTout(sSortie()));
    ASSERT_EQ(g.fonctions.size(), 586u);
    // F1 then its repeat: two syntaxes, then none, both with index 0.
    EXPECT_EQ(g.fonctions[0].nIdentifiant, 0x02010000u);
    EXPECT_EQ(g.fonctions[1].nIdentifiant, 0x00010000u);
    EXPECT_EQ(g.fonctions[2].nIdentifiant, 0x02010002u);
    ASSERT_GE(g.syntaxes.size(), 2u);
    EXPECT_EQ(g.syntaxes[0].nParametres, 2u);
    EXPECT_EQ(Mot(g.signatures, g.syntaxes[0].nSignature + 8), 0x8074u) << "options kept in the type word";
    EXPECT_EQ(g.syntaxes[1].nParametres, 0u);
}

TEST_F(OutilFonctions, RefusesBadLists) {
    const std::string sBon = sValide();
    auto remplace = [&](const std::string& sAncien, const std::string& sNouveau) {
        std::string s = sBon;
        s.replace(s.find(sAncien), sAncien.size(), sNouveau);
        return s;
    };
    const std::pair<const char*, std::string> tab[] = {
        {"one row too many", sBon + "Extra\t1\t-\n"},
        {"one row missing", remplace("F576\t3\t-\n", "")},
        {"eleventh repeat", remplace("F576\t3\t-\n", "F20\t1\t-\n")},
        {"name differing only by case", remplace("F576\t3\t-\n", "f1\t1\t-\n")},
        {"bad category", remplace("F576\t3\t-", "F576\t2\t-")},
        {"space instead of tab", remplace("F576\t3\t-", "F576 3 -")},
        {"missing syntaxes", remplace("F576\t3\t-", "F576\t3")},
        {"empty syntaxes", remplace("F576\t3\t-", "F576\t3\t")},
        {"bad fourth field", remplace("F576\t3\t-", "F576\t3\t-\tmaybe")},
        {"invalid name", remplace("F576\t3\t-", "F 576\t3\t-")},
        {"name starting with a digit", remplace("F576\t3\t-", "576F\t3\t-")},
        {"syntax without result", remplace("F575\t1\t8:57,0x8074;0:", "F575\t1\t57,116")},
        {"parameter of type 0", remplace("F575\t1\t8:57,0x8074;0:", "F575\t1\t8:57,0")},
        {"variadic mark not last", remplace("F575\t1\t8:57,0x8074;0:", "F575\t1\t8:...,57")},
        {"type not a number", remplace("F575\t1\t8:57,0x8074;0:", "F575\t1\t8:57x")},
        {"type beyond 32 bits", remplace("F575\t1\t8:57,0x8074;0:", "F575\t1\t8:4294967296")},
        {"empty syntax", remplace("F575\t1\t8:57,0x8074;0:", "F575\t1\t8:57;;0:")},
    };
    for (const auto& [pszCas, sContenu] : tab) {
        EXPECT_NE(nLance(sContenu), 0) << pszCas;
        EXPECT_FALSE(std::filesystem::exists(sSortie())) << pszCas;
    }
}

} // namespace
