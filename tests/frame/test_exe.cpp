// The application context: window list and search, closing every window,
// persistence rules.
#include "frame/CExe.h"
#include "frame/CIExe.h"
#include "windows/CFenPrincipale.h"
#include <gtest/gtest.h>
#include "VMNeutre.h"
#include <QApplication>
#include <map>
#include <memory>

namespace {

// A context for one test, installed as the process's context.
class Contexte : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(gpclExe, nullptr);
        gpclExe = new CExe();
    }
    void TearDown() override {
        for (CFenPrincipale* f : fenetres) f->nRelease();
        fenetres.clear();
        if (gpclExe) gpclExe->nRelease();
        gpclExe = nullptr;
    }
    CFenPrincipale* Ouvre(CFenPrincipale* f) {
        f->CreeWidget();
        fenetres.push_back(f);
        return f;
    }
    CFenPrincipale* Ouvre(const wchar_t* pszNom, const wchar_t* pszAlias = nullptr) {
        return Ouvre(new CFenPrincipale(pszNom, pszAlias));
    }
    std::vector<CFenPrincipale*> fenetres;
};

TEST_F(Contexte, SearchFindsTheNewestInstanceByAliasOrName) {
    CFenPrincipale* a = Ouvre(L"FEN_Client", L"Premier");
    CFenPrincipale* b = Ouvre(L"FEN_Client", L"Second");
    CFenPrincipale* c = Ouvre(L"FEN_Autre");
    EXPECT_EQ(gpclExe->pclGetFenetreFromName(L"fen_client"), b);
    EXPECT_EQ(gpclExe->pclGetFenetreFromName(L"PREMIER"), a);
    EXPECT_EQ(gpclExe->pclGetFenetreFromName(L"second"), b);
    EXPECT_EQ(gpclExe->pclGetFenetreFromName(L"FEN_Autre"), c);
    EXPECT_EQ(gpclExe->pclGetFenetreFromName(L""), nullptr);
    EXPECT_EQ(gpclExe->pclGetFenetreFromName(nullptr), nullptr);
    EXPECT_EQ(gpclExe->pclGetFenetreFromName(L"FEN_Absente"), nullptr);

    CFenPrincipale::Ferme(b, 0);
    EXPECT_EQ(gpclExe->pclGetFenetreFromName(L"FEN_Client"), a) << "a closed window is not found";
    EXPECT_EQ(gpclExe->nGetNbFenetres(), 2);
}

TEST_F(Contexte, ComponentFilter) {
    IVM* piAutre = reinterpret_cast<IVM*>(0x1000);
    CFenPrincipale* a = Ouvre(L"FEN_X");
    CFenPrincipale* b = new CFenPrincipale(L"FEN_X");
    b->SetVM(piAutre);
    b->SetComposantePrincipale(false);
    Ouvre(b);
    EXPECT_EQ(gpclExe->pclGetFenetreFromNameAndComponent(L"FEN_X", nullptr), a);
    EXPECT_EQ(gpclExe->pclGetFenetreFromNameAndComponent(L"FEN_X", piAutre), b);
}

// A window whose closing code closes one window and opens another.
class CFenQuiFerme : public CFenPrincipale {
public:
    CFenQuiFerme(const wchar_t* psz, std::map<std::wstring, int>& visites) : CFenPrincipale(psz), m_visites(visites) {}
    CFenPrincipale* pclAFermer = nullptr;
    std::function<void()> fnOuvre;

protected:
    void vSurFermeture() override {
        ++m_visites[sGetNom()];
        if (pclAFermer) CFenPrincipale::Ferme(pclAFermer, 0);
        if (fnOuvre) fnOuvre();
    }

private:
    std::map<std::wstring, int>& m_visites;
};

TEST_F(Contexte, FermeToutVisitsEachCollectedWindowOnce) {
    std::map<std::wstring, int> visites;
    auto* a = new CFenQuiFerme(L"A", visites);
    auto* b = new CFenQuiFerme(L"B", visites);
    auto* c = new CFenQuiFerme(L"C", visites);
    Ouvre(a);
    Ouvre(b);
    Ouvre(c);
    a->pclAFermer = c;  // A's closing code closes C before FermeTout reaches it
    b->fnOuvre = [&] { Ouvre(new CFenQuiFerme(L"D", visites)); };
    gpclExe->FermeTout();
    EXPECT_EQ(visites[L"A"], 1);
    EXPECT_EQ(visites[L"B"], 1);
    EXPECT_EQ(visites[L"C"], 1);
    EXPECT_EQ(visites.count(L"D"), 0u) << "a window opened during FermeTout was not collected";
    EXPECT_FALSE(gpclExe->bFermeToutEnCours());
    ASSERT_EQ(gpclExe->nGetNbFenetres(), 1);
    EXPECT_EQ(gpclExe->pclGetFenetreFromName(L"D"), fenetres.back());
}

TEST_F(Contexte, ChildrenAndActiveWindow) {
    CFenPrincipale* p = Ouvre(L"P");
    CFenPrincipale* f1 = Ouvre(L"F1");
    CFenPrincipale* f2 = Ouvre(L"F2");
    f1->SetParent(p);
    f2->SetParent(p);
    std::vector<CFenPrincipale*> filles;
    gpclExe->GetListeFenFilles(p, filles);
    EXPECT_EQ(filles.size(), 2u);
    gpclExe->SetFenActive(f1);
    unsigned nRef = f1->nGetRef();
    gpclExe->SetFenActive(f1);
    EXPECT_EQ(f1->nGetRef(), nRef) << "setting the same active window takes no further reference";
    gpclExe->FermeToutesLesFillesDe(p);
    EXPECT_EQ(gpclExe->nGetNbFenetres(), 1);
    EXPECT_EQ(gpclExe->pclGetFenActive(), nullptr) << "a closed window is no longer active";
}

// A host that answers only what the persistence rules need.
class Persistance : public IPersistance {
public:
    unsigned AddRef() override { return ++n; }
    unsigned Release() override { return --n; }
    bool bEcrit(const wchar_t* o, const wchar_t* v, const wchar_t* t) override {
        valeurs[std::wstring(o) + L"/" + v] = t;
        return true;
    }
    bool bEcritA(const wchar_t* o, const wchar_t* v, const char* t, unsigned) override {
        valeursA[std::wstring(o) + L"/" + v] = t;
        return true;
    }
    bool bLit(const wchar_t* o, const wchar_t* v, const wchar_t* d, std::wstring& s) override {
        auto it = valeurs.find(std::wstring(o) + L"/" + v);
        s = it == valeurs.end() ? d : it->second;
        return true;
    }
    bool bLitA(const wchar_t* o, const wchar_t* v, const char* d, unsigned, std::string& s) override {
        auto it = valeursA.find(std::wstring(o) + L"/" + v);
        s = it == valeursA.end() ? d : it->second;
        return true;
    }
    void DebutOperationEnBloc() override { ++nBlocs; }
    void FinOperationEnBloc() override { --nBlocs; }
    std::map<std::wstring, std::wstring> valeurs;
    std::map<std::wstring, std::string> valeursA;
    unsigned n = 1;
    int nBlocs = 0;
};

class Projet : public IProjetVM {
public:
    explicit Projet(std::wstring r) : rep(std::move(r)) {}
    unsigned AddRef() override { return 1; }
    unsigned Release() override { return 1; }
    const wchar_t* pszGetNom() override { return L"Demo"; }
    const wchar_t* pszGetRepertoire() override { return rep.c_str(); }
    std::wstring rep;
};

class Shop : public ILibShop {
public:
    IObjetShop* pGetObjetNomme(const char* psz, void*, CXError*) override {
        if (std::string(psz) == "Persistance") return &persistance;
        if (std::string(psz) == "VMProjet") return projet.get();
        return nullptr;
    }
    Persistance persistance;
    std::unique_ptr<Projet> projet;
};

class VM : public CVMNeutre {
public:
};

TEST_F(Contexte, PersistentValuesKeepTheDefaultRule) {
    Shop shop;
    VM vm;
    gpclExe->SetLibShop(&shop);
    gpclExe->LoadVM(&vm);
    CTString s = L"unchanged";
    EXPECT_FALSE(gpclExe->bReadPersistantUserValue(&vm, L"FEN.EDT", L"Val", s));
    EXPECT_EQ(s, L"") << "the stored default is never handed out";
    gpclExe->SavePersistantUserValue(&vm, L"FEN.EDT", L"Val", L"");
    EXPECT_TRUE(gpclExe->bReadPersistantUserValue(&vm, L"FEN.EDT", L"Val", s)) << "an empty Val is a value";
    EXPECT_EQ(s, L"");
    gpclExe->SavePersistantUserValue(&vm, L"FEN.EDT", L"Other", L"");
    EXPECT_FALSE(gpclExe->bReadPersistantUserValue(&vm, L"FEN.EDT", L"Other", s))
        << "for other names the empty text is the default";
    gpclExe->SavePersistantUserValue_Int(&vm, L"FEN.EDT", L"N", -42);
    EXPECT_EQ(gpclExe->nReadPersistantUserValue_Int(&vm, L"FEN.EDT", L"N", 7), -42);
    EXPECT_EQ(gpclExe->nReadPersistantUserValue_Int(&vm, L"FEN.EDT", L"Absent", 7), 7);
    std::string a;
    EXPECT_FALSE(gpclExe->bReadPersistantUserValueFromA(&vm, L"X", L"Val", a, 1252));
    gpclExe->SavePersistantUserValueA(&vm, L"X", L"Val", "abc", 1252);
    EXPECT_TRUE(gpclExe->bReadPersistantUserValueFromA(&vm, L"X", L"Val", a, 1252));
    EXPECT_EQ(a, "abc");
    gpclExe->PersistDebutOperationEnBloc(&vm);
    EXPECT_EQ(shop.persistance.nBlocs, 1);
    gpclExe->PersistFinOperationEnBloc(&vm);
    EXPECT_EQ(shop.persistance.nBlocs, 0);

    // The context goes before the host objects it holds (they live on this stack).
    gpclExe->nRelease();
    gpclExe = new CExe();
    gpclExe->SetModeUtilitaire(true);
    gpclExe->SetLibShop(&shop);
    EXPECT_EQ(gpclExe->piGetPersistance(), nullptr) << "no persistence in the utility mode";
    gpclExe->nRelease();
    gpclExe = nullptr;
}

TEST_F(Contexte, NoStoreReadsNothingAndWritesNothing) {
    VM vm;
    gpclExe->LoadVM(&vm);
    CTString s;
    gpclExe->SavePersistantUserValue(&vm, L"A", L"Val", L"x");
    EXPECT_FALSE(gpclExe->bReadPersistantUserValue(&vm, L"A", L"Val", s));
    EXPECT_EQ(gpclExe->nReadPersistantUserValue_Int(&vm, L"A", L"N", 3), 3);
}

TEST_F(Contexte, PersistentValuePathUsesThisPlatformsSeparator) {
    Shop shop;
    gpclExe->SetLibShop(&shop);
    struct Cas { const wchar_t* pszRep; const wchar_t* pszFichier; const wchar_t* pszAttendu; };
    const Cas cas[] = {
        {L"/home/u/projet", L"valeurs.ini", L"/home/u/projet/valeurs.ini"},
        {L"/home/u/projet/", L"valeurs.ini", L"/home/u/projet/valeurs.ini"},
        {L"/home/u//projet/", L"valeurs.ini", L"/home/u/projet/valeurs.ini"},
        {L"", L"valeurs.ini", L""},
    };
    for (const Cas& c : cas) {
        shop.projet = std::make_unique<Projet>(c.pszRep);
        CTString s = L"x";
        gpclExe->_GetPersistantUserValuePath(c.pszFichier, s);
        EXPECT_EQ(s, c.pszAttendu) << std::wstring(c.pszRep).size();
    }
}

TEST_F(Contexte, ErrorDisplayStrings) {
    EXPECT_EQ(gpclExe->rclGetChaineErreur(0), L"+++++");
    EXPECT_EQ(gpclExe->rclGetChaineErreur(1), L"#####");
    EXPECT_EQ(gpclExe->rclGetChaineErreur(2), L"###");
    EXPECT_EQ(gpclExe->rclGetChaineErreur(3), L"");
    gpclExe->SetChaineErreur(2, L"?");
    EXPECT_EQ(gpclExe->rclGetChaineErreur(2), L"?");
    EXPECT_EQ(gpclExe->rclGetChaineErreur(9), L"");
}

TEST_F(Contexte, LanguageChangeReachesWindowsInAnotherLanguage) {
    struct VMLangue : VM {
        struct Desc : IDescriptionProjet {
            int nGetVersion() override { return 10; }
            bool bGereLangues() override { return gere; }
            bool gere = true;
        } desc;
        IDescriptionProjet* pGetDescriptionProjet() override { return &desc; }
    } vm;
    CFenPrincipale* f = Ouvre(L"F");
    gpclExe->onChangeLangue(3);
    EXPECT_EQ(f->nGetLangue(), 0) << "nothing happens without a virtual machine";
    gpclExe->LoadVM(&vm);
    vm.desc.gere = false;
    gpclExe->onChangeLangue(3);
    EXPECT_EQ(f->nGetLangue(), 0) << "a project that does not manage languages";
    vm.desc.gere = true;
    gpclExe->onChangeLangue(3);
    EXPECT_EQ(f->nGetLangue(), 3);
}

} // namespace
