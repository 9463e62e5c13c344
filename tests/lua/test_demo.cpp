// The demo project as a person uses it: its menus are triggered on the real
// widgets, its Lua code runs through the host's runner, and the effects are
// read back through the code's own names.
#include "HoteProjet.h"
#include "kv/host.h"
#include "kv/types.h"
#include "code/CRunnerLua.h"
#include "conteneur/Identifiants.h"
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QLineEdit>
#include <QTest>
#include "controls/core/CChamp.h"
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

QWidget* Fenetre(const QString& sTitre) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == sTitre) return w;
    return nullptr;
}

QAction* Action(QWidget* w, const QString& sTexte) {
    if (!w) return nullptr;
    for (QMenuBar* b : w->findChildren<QMenuBar*>())
        for (QAction* a : b->actions()) {
            if (a->text() == sTexte) return a;
            if (a->menu())
                for (QAction* o : a->menu()->actions())
                    if (o->text() == sTexte) return o;
        }
    return nullptr;
}

class Demo : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string& sProjet = kvtest::ProjetCompile(KV_SOURCE_DIR "/examples/demo");
        ASSERT_FALSE(sProjet.empty()) << "kvc did not compile the demo";
        std::string sErreur;
        ASSERT_TRUE(hote.bDemarre(sProjet, sErreur)) << sErreur;
        lua = static_cast<IRunnerLua*>(hote->piGetRunnerProjet());
        ASSERT_NE(lua, nullptr);
        // The welcome window, without a loop of its own so that the test goes on.
        hote.AppelleFenetre("KSL_OuvreFille_0", L"FEN_Accueil");
        ASSERT_FALSE(hote.Erreur()->bEstErreur());
        accueil = Fenetre("Welcome");
        ASSERT_NE(accueil, nullptr);
    }

    // Evaluates a Lua expression as the project's code.
    std::string Evalue(const std::string& sExpression) {
        uint64_t nID = nIdentifiantObjet(L"FEN_Accueil.TEST");
        lua->bAjouteCode(nID, 18, "_G.R = tostring(" + sExpression + ")", "FEN_Accueil.TEST");
        STExecutionCode st{nID, 18, nullptr, nullptr, 0};
        if (lua->nExecute(st) != 0) return "error: " + lua->sDerniereErreur();
        STValeurHote v;
        if (!lua->bLitGlobale("R", v)) return "<nil>";
        return QString::fromStdWString(v.sTexte).toStdString();
    }

    kvtest::HoteProjet hote;
    IRunnerLua* lua = nullptr;
    QWidget* accueil = nullptr;
};

// The welcome window opened its journal, which logged the opening.
TEST_F(Demo, TheWelcomeWindowOpensItsJournal) {
    ASSERT_NE(Fenetre("Journal"), nullptr);
    EXPECT_NE(Evalue("FEN_Journal.LIB_Lignes.Libelle").find("Welcome window opened"), std::string::npos);
    EXPECT_EQ(Evalue("NombreFenetre()"), "2");
}

// The colour menu opens a modal window; the colour chosen in its menu comes
// back as Ouvre's value and the welcome window shows it.
TEST_F(Demo, TheModalWindowHandsItsChoiceBack) {
    struct Cas {
        const char* pszOption;
        const char* pszTitre;
        const char* pszJournal;
    } tab[] = {
        {"&Green", "Chosen: green", "colour green"},
        {"&Cancel", "Chosen: green", "no colour chosen"},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszOption);
        QAction* choix = Action(accueil, "&Choose a colour...");
        ASSERT_NE(choix, nullptr);
        bool bVu = false;
        QTimer::singleShot(100, [&] {
            QWidget* w = Fenetre("Choose a colour");
            bVu = w != nullptr;
            if (QAction* a = Action(w, c.pszOption)) a->trigger();
            else hote->piGetExe()->FermeTout();
        });
        choix->trigger();
        EXPECT_TRUE(bVu);
        EXPECT_EQ(Evalue("FEN_Accueil.LIB_Titre.Libelle"), c.pszTitre);
        EXPECT_NE(Evalue("FEN_Journal.LIB_Lignes.Libelle").find(c.pszJournal), std::string::npos)
            << Evalue("FEN_Journal.LIB_Lignes.Libelle");
    }
}

// The window menu changes the journal's state and the logo's visibility.
TEST_F(Demo, TheWindowMenuChangesStates) {
    Action(accueil, "&Grey the journal")->trigger();
    EXPECT_EQ(Evalue("FenEtat('FEN_Journal')"), "4");
    Action(accueil, "&Activate the journal")->trigger();
    EXPECT_EQ(Evalue("FenEtat('FEN_Journal')"), "0");
    Action(accueil, "Show or hide the &logo")->trigger();
    EXPECT_EQ(Evalue("FEN_Accueil.IMG_Logo.Visible"), "false");
    EXPECT_NE(Evalue("FEN_Journal.LIB_Lignes.Libelle").find("logo hidden"), std::string::npos);
}

// The code changes the menus: an option it added is checked and toggles the
// journal's times; an order made through the File menu is offered again and
// can be forgotten, which greys the option that forgets it. The boxes the
// demo shows on the way (the welcome's countdown, the order recorded, the
// last order) are answered with their default button.
TEST_F(Demo, MenusChangedByTheCodeAndItsBoxes) {
    CReponsesBoites& r = hote.Reponses();
    ASSERT_EQ(r.Vues().size(), 1u);
    EXPECT_EQ(r.Vues()[0].sMessage, L"Welcome to the demo.\r\nFile > Order form... opens a form with masked inputs.");
    EXPECT_EQ(r.Vues()[0].nFlags & 0xF0, 0x40u);

    QAction* heures = Action(accueil, "Show the &times in the journal");
    QAction* oublier = Action(accueil, "&Forget the last order");
    ASSERT_TRUE(heures && oublier);
    EXPECT_TRUE(heures->isChecked());
    EXPECT_FALSE(oublier->isEnabled());
    EXPECT_EQ(Action(accueil, "Show the &last order"), nullptr);

    // An order through the menu: the modal form is filled and validated.
    bool bVu = false;
    QTimer::singleShot(100, [&] {
        bVu = Fenetre("Order") != nullptr;
        Evalue("(function() FEN_Commande.EDT_Client.Valeur = 'Dupont' return 1 end)()");
        auto* b = static_cast<CChamp*>(static_cast<CObjetAPCodeOBJ*>(hote.pObjet(L"FEN_Commande.BTN_Valider")));
        if (b && b->pGetWidget()) QTest::mouseClick(b->pGetWidget(), Qt::LeftButton);
        else hote->piGetExe()->FermeTout();
    });
    Action(accueil, "&Order form...")->trigger();
    EXPECT_TRUE(bVu);
    ASSERT_EQ(r.Vues().size(), 2u);
    EXPECT_EQ(r.Vues()[1].sMessage.rfind(L"Order recorded:\r\nDupont, 1 x ", 0), 0u) << QString::fromStdWString(r.Vues()[1].sMessage).toStdString();
    QAction* derniere = Action(accueil, "Show the &last order");
    ASSERT_NE(derniere, nullptr);
    EXPECT_TRUE(oublier->isEnabled());
    derniere->trigger();
    ASSERT_EQ(r.Vues().size(), 3u);
    EXPECT_EQ(r.Vues()[2].sMessage.rfind(L"The last order:\r\nDupont", 0), 0u);

    oublier->trigger();
    EXPECT_EQ(Action(accueil, "Show the &last order"), nullptr);
    EXPECT_FALSE(oublier->isEnabled());
    heures->trigger();
    EXPECT_FALSE(heures->isChecked());
    const std::string sJournal = Evalue("FEN_Journal.LIB_Lignes.Libelle");
    EXPECT_NE(sJournal.find("last order forgotten"), std::string::npos) << sJournal;
    EXPECT_NE(sJournal.find("\ntimes hidden"), std::string::npos) << sJournal;
}

// Cancelling a form with a customer typed asks first; No, the default,
// keeps the form.
TEST_F(Demo, CancellingTheOrderFormAsksFirst) {
    hote.AppelleFenetre("KSL_OuvreFille_0", L"FEN_Commande");
    ASSERT_NE(Fenetre("Order"), nullptr);
    Evalue("(function() FEN_Commande.EDT_Client.Valeur = 'Dupont' return 1 end)()");
    auto* b = static_cast<CChamp*>(static_cast<CObjetAPCodeOBJ*>(hote.pObjet(L"FEN_Commande.BTN_Annuler")));
    ASSERT_TRUE(b && b->pGetWidget());
    CReponsesBoites& r = hote.Reponses();
    const size_t nAvant = r.Vues().size();
    QTest::mouseClick(b->pGetWidget(), Qt::LeftButton);
    ASSERT_EQ(r.Vues().size(), nAvant + 1);
    EXPECT_EQ(r.Vues().back().nFlags, 0x134u);
    EXPECT_EQ(r.Vues().back().nResultat, 7);
    EXPECT_NE(Fenetre("Order"), nullptr);
    r.Ajoute(6);
    QTest::mouseClick(b->pGetWidget(), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(Fenetre("Order"), nullptr);
}

// The order form: the amount typed on screen takes the mask's separators
// and colour once left, an empty mandatory customer keeps the focus and
// stops the validation button, and a filled form hands its summary back.
TEST_F(Demo, TheOrderFormMasksAndChecksItsInputs) {
    hote.AppelleFenetre("KSL_OuvreFille_0", L"FEN_Commande");
    ASSERT_FALSE(hote.Erreur()->bEstErreur());
    QWidget* commande = Fenetre("Order");
    ASSERT_NE(commande, nullptr);
    commande->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(commande));
    auto widget = [&](const wchar_t* pszNom) {
        std::wstring s = std::wstring(L"FEN_Commande.") + pszNom;
        auto* c = static_cast<CChamp*>(static_cast<CObjetAPCodeOBJ*>(hote.pObjet(s.c_str())));
        return c ? c->pGetWidget() : nullptr;
    };
    QWidget* client = widget(L"EDT_Client");
    QWidget* montant = widget(L"EDT_Montant");
    ASSERT_TRUE(client && montant);
    // The window opens in the mandatory customer: leaving it empty fails.
    client->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    montant->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(client->hasFocus());
    QTest::keyClicks(client, "dupont sa");
    EXPECT_EQ(Evalue("FEN_Commande.EDT_Client.Valeur"), "Dupont Sa");

    montant->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    ASSERT_TRUE(montant->hasFocus());
    QTest::keyClicks(montant, "1234,5");
    EXPECT_EQ(Evalue("FEN_Commande.EDT_Montant.ValeurAffichee"), "1234,5");
    widget(L"EDT_Quantite")->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(Evalue("FEN_Commande.EDT_Montant.ValeurAffichee"), "1 234,50 \xE2\x82\xAC");
    auto* ligne = qobject_cast<QLineEdit*>(montant);
    ASSERT_NE(ligne, nullptr);
    EXPECT_EQ(ligne->text(), QString::fromUtf8("1 234,50 \xE2\x82\xAC"));
    EXPECT_EQ(ligne->palette().color(QPalette::Text), QColor(0, 0, 255)) << "the positive part is blue";
    if (const char* psz = std::getenv("KV_CAPTURES")) commande->grab().save(QString(psz) + "/commande.png");

    // The validation button closes with the summary.
    QTest::mouseClick(widget(L"BTN_Valider"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(Fenetre("Order"), nullptr);
}

} // namespace
