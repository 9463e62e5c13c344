// Message boxes and dialogs through the real host and module: what each
// language function asks for (flags, title, text) and what it makes of the
// answer, the real Qt box offscreen (buttons, default, countdown), boxes
// asked from another thread, compiled questions and input boxes in Lua, and
// kvrun's --answers and --screenshot.
#include "HoteProjet.h"
#include "Octets.h"
#include "code/CRunnerLua.h"
#include "conteneur/Identifiants.h"
#include "kv/boites.h"
#include "kv/types.h"
#include "windows/Questions.h"
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <thread>

namespace {

using kvoctets::Octets;

STValeurHote Texte(const wchar_t* psz) {
    STValeurHote v;
    v.nType = KS_PSTRW;
    v.sTexte = psz;
    return v;
}
STValeurHote Entier(int n) {
    STValeurHote v;
    v.nType = KS_I4;
    v.nEntier = n;
    return v;
}
STValeurHote Objet() {
    STValeurHote v;
    v.nType = KS_OBJET;
    return v;
}

// The box of the module on screen (property "kvBoite"), or null.
QWidget* BoiteOuverte() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->property("kvBoite").toBool()) return w;
    return nullptr;
}

class Boites : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string& sProjet = kvtest::ProjetCompile(KV_FIXTURES_DIR "/boites");
        ASSERT_FALSE(sProjet.empty()) << "kvc did not compile the fixture";
        std::string sErreur;
        ASSERT_TRUE(hote.bDemarre(sProjet, sErreur)) << sErreur;
        // These tests show real boxes when they give no answers.
        hote.MontreBoites();
    }

    // A function whose declared arguments are texts and integers, in order.
    struct Arg {
        bool bTexte;
        const wchar_t* psz;
        int n;
    };
    static Arg T(const wchar_t* p) { return {true, p, 0}; }
    static Arg N(int n) { return {false, nullptr, n}; }
    STSlotAppel Appelle(const char* pszGlue, std::vector<Arg> tab, std::vector<STValeurHote> tabSupp = {}) {
        std::vector<const wchar_t*> textes(tab.size());
        std::vector<int> entiers(tab.size());
        std::vector<void*> args;
        for (size_t i = 0; i < tab.size(); ++i) {
            textes[i] = tab[i].psz;
            entiers[i] = tab[i].n;
            args.push_back(tab[i].bTexte ? static_cast<void*>(&textes[i]) : static_cast<void*>(&entiers[i]));
        }
        return hote.Appelle(pszGlue, args, std::move(tabSupp));
    }

    IRunnerLua* Lua() { return static_cast<IRunnerLua*>(hote->piGetRunnerProjet()); }
    // Runs Lua as the code of a window of the project; the value of R as text.
    std::string Evalue(const std::string& sCode) {
        uint64_t nID = nIdentifiantObjet(L"FEN_Boites.TEST");
        Lua()->bAjouteCode(nID, 18, sCode, "FEN_Boites.TEST");
        STExecutionCode st{nID, 18, nullptr, nullptr, 0};
        if (Lua()->nExecute(st) != 0) return "error: " + Lua()->sDerniereErreur();
        STValeurHote v;
        if (!Lua()->bLitGlobale("R", v)) return "<nil>";
        if (v.nType == KS_PSTRW) return QString::fromStdWString(v.sTexte).toStdString();
        return std::to_string(v.nEntier);
    }

    kvtest::HoteProjet hote;
};

// Each function: the flags it asks for, the text it shows, and its result
// for the answer given.
TEST_F(Boites, FunctionsAskTheirFlagsAndReadTheirAnswers) {
    struct Cas {
        const char* pszGlue;
        std::vector<Arg> args;
        std::vector<STValeurHote> supp;
        int nReponse;
        uint32_t nFlags;
        std::wstring sMessage;
        int nType;  // of the result, 0: none
        int64_t nResultat;
    } tab[] = {
        {"KSL_Info_0", {T(L"a")}, {Entier(12), Texte(L"b")}, 1, 0x40, L"a\r\n12\r\nb", 0, 0},
        {"KSL_Erreur_1", {T(L"bad")}, {}, 1, 0x10, L"bad", 0, 0},
        {"KSL_Avertissement_0", {T(L"careful")}, {}, 1, 0x30, L"careful", 0, 0},
        {"KSL_OuiNon_0", {T(L"q")}, {}, 6, 0x34, L"q", KS_BOOL, 1},
        {"KSL_OuiNon_0", {T(L"q")}, {}, 7, 0x34, L"q", KS_BOOL, 0},
        {"KSL_OuiNon_1", {N(1), T(L"q")}, {}, 6, 0x34, L"q", KS_BOOL, 1},
        {"KSL_OuiNon_1", {N(0), T(L"q")}, {}, 6, 0x134, L"q", KS_BOOL, 1},
        {"KSL_OuiNon_0", {T(L"q")}, {}, -1, 0x34, L"q", KS_BOOL, 0},
        {"KSL_OKAnnuler_0", {T(L"go")}, {}, 1, 0x31, L"go", KS_BOOL, 1},
        {"KSL_OKAnnuler_1", {N(0), T(L"go")}, {}, 2, 0x131, L"go", KS_BOOL, 0},
        {"KSL_OKAnnuler_0", {T(L"go")}, {}, -1, 0x31, L"go", KS_BOOL, 0},
        {"KSL_Confirmer_0", {T(L"c")}, {}, 6, 0x33, L"c", KS_I4, 1},
        {"KSL_Confirmer_0", {T(L"c")}, {}, 7, 0x33, L"c", KS_I4, 0},
        {"KSL_Confirmer_0", {T(L"c")}, {}, 2, 0x33, L"c", KS_I4, 2},
        {"KSL_Confirmer_0", {T(L"c")}, {}, -1, 0x33, L"c", KS_I4, 2},
        {"KSL_Confirmer_1", {N(0), T(L"c")}, {}, 7, 0x133, L"c", KS_I4, 0},
        {"KSL_Confirmer_1", {N(1), T(L"c")}, {}, 6, 0x33, L"c", KS_I4, 1},
        {"KSL_Confirmer_1", {N(2), T(L"c")}, {}, 2, 0x233, L"c", KS_I4, 2},
        {"KSL_Confirmer_1", {N(9), T(L"c")}, {}, 6, 0x33, L"c", KS_I4, 1},
        {"KSL_InfoConstruit_0", {T(L"%2 then %1, 100%%, %3")}, {Texte(L"a"), Entier(7)}, 1, 0x40, L"7 then a, 100%, %3", 0, 0},
        {"KSL_ErreurConstruit_0", {T(L"no %1")}, {Texte(L"file")}, 1, 0x10, L"no file", 0, 0},
        {"KSL_InfoAvecDelai_0", {N(300), T(L"soon")}, {}, 1, 0x40, L"soon", 0, 0},
        {"KSL_ErreurAvecDelai_1", {N(300), T(L"soon")}, {Texte(L"x")}, 1, 0x10, L"soon\r\nx", 0, 0},
        {"KSL_InfoBitmap_0", {T(L"none.png"), T(L"pic")}, {}, 1, 0x40, L"pic", 0, 0},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(std::string(c.pszGlue) + " " + QString::fromStdWString(c.sMessage).toStdString());
        CReponsesBoites& r = hote.Reponses({c.nReponse});
        size_t nAvant = r.Vues().size();
        STSlotAppel slot = Appelle(c.pszGlue, c.args, c.supp);
        EXPECT_FALSE(hote.Erreur()->bEstErreur()) << hote.Erreur()->sGetMessage().c_str();
        ASSERT_EQ(r.Vues().size(), nAvant + 1);
        const auto& v = r.Vues().back();
        EXPECT_EQ(v.nFlags, c.nFlags);
        EXPECT_EQ(v.sMessage, c.sMessage);
        EXPECT_EQ(v.sTitre, L"Boxes");  // no owner window: the project's name
        EXPECT_EQ(slot.bResultat, c.nType != 0);
        if (c.nType) {
            EXPECT_EQ(slot.stResultat.nType, c.nType);
            EXPECT_EQ(slot.stResultat.nEntier, c.nResultat);
        }
    }
}

// Titles, the 4096 cut, the last error's text and the error box for the host.
TEST_F(Boites, TitleCutLastErrorAndHostErrorBox) {
    CReponsesBoites& r = hote.Reponses({1, 1, 1, 1, 1, 1});
    Appelle("KSL_TitreSuivant_0", {T(L"Next")});
    Appelle("KSL_Info_0", {T(L"one")});
    Appelle("KSL_Info_0", {T(L"two")});
    ASSERT_EQ(r.Vues().size(), 2u);
    EXPECT_EQ(r.Vues()[0].sTitre, L"Next");
    EXPECT_EQ(r.Vues()[1].sTitre, L"Boxes");  // the next title served one box only

    std::wstring sLong(5000, L'x');
    Appelle("KSL_Info_0", {T(sLong.c_str())});
    EXPECT_EQ(r.Vues().back().sMessage, std::wstring(4096, L'x'));

    static const wchar_t* const pszDerniere = L"the last error";
    hote->SetReponseQuery(eQVM_DERNIERE_ERREUR, 0, reinterpret_cast<intptr_t>(pszDerniere));
    for (const char* psz : {"KSL_Erreur_0", "KSL_ErreurAvecDelai_0"}) {
        SCOPED_TRACE(psz);
        if (std::string(psz) == "KSL_Erreur_0") Appelle(psz, {});
        else Appelle(psz, {N(100)});
        EXPECT_EQ(r.Vues().back().nFlags, 0x10u);
        EXPECT_EQ(r.Vues().back().sMessage, L"the last error");
    }

    EXPECT_EQ(hote.Commande(KV_COMMANDE_BOITE_ERREUR, const_cast<wchar_t*>(L"uncaught: boom")), 1);
    EXPECT_EQ(r.Vues().back().nFlags, 0x10u);
    EXPECT_EQ(r.Vues().back().sMessage, L"uncaught: boom");
    EXPECT_EQ(r.Vues().back().sTitre, L"Boxes");
}

// A refused argument or box: the error, no box, a neutral result, and the
// automatic-close delay of ...AvecDelai put back on every path.
class IntercepteurRefus : public IIntercepteurBoites {
public:
    eREPONSE_BOITE ePropose(const STBoiteMessage&, int&, std::wstring& sErreur) override {
        sErreur = L"refused by the host";
        return eBOITE_ERREUR;
    }
    void Resultat(const STBoiteMessage&, int) override {}
};

TEST_F(Boites, RefusalsRaiseAndPutTheDelayBack) {
    CReponsesBoites& r = hote.Reponses();
    IntercepteurRefus refus;
    struct Cas {
        const char* pszGlue;
        std::vector<Arg> args;
        std::vector<STValeurHote> supp;
        bool bRefus;  // the interceptor refuses (else the argument is refused)
        int nErreur;
        std::wstring sArgument;
        bool bResultat;
    } tab[] = {
        {"KSL_Info_0", {T(L"a")}, {Texte(L"b"), Objet()}, false, 10009, L"3", false},
        {"KSL_OuiNon_1", {N(1), T(L"a")}, {Objet()}, false, 10009, L"3", true},
        {"KSL_Confirmer_0", {T(L"a")}, {Objet()}, false, 10009, L"2", true},
        {"KSL_InfoAvecDelai_0", {N(300), T(L"a")}, {Objet()}, false, 10009, L"3", false},
        {"KSL_ErreurAvecDelai_1", {N(300), T(L"a")}, {}, true, 10003, L"refused by the host", false},
        {"KSL_OuiNon_0", {T(L"a")}, {}, true, 10003, L"refused by the host", true},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszGlue);
        EXPECT_EQ(Appelle("KSL_DelaisAvantFermeture_0", {N(50)}).stResultat.nEntier, 0);
        if (c.bRefus) hote.Commande(KV_COMMANDE_INTERCEPTEUR_BOITES, static_cast<IIntercepteurBoites*>(&refus));
        size_t nAvant = r.Vues().size();
        STSlotAppel slot = Appelle(c.pszGlue, c.args, c.supp);
        hote.Commande(KV_COMMANDE_INTERCEPTEUR_BOITES, static_cast<IIntercepteurBoites*>(&r));
        ASSERT_TRUE(hote.Erreur()->bEstErreur());
        EXPECT_EQ(hote.Erreur()->nGetErreur(), c.nErreur);
        ASSERT_FALSE(hote.Erreur()->tabGetArgs().empty());
        EXPECT_EQ(hote.Erreur()->tabGetArgs()[0], c.sArgument);
        EXPECT_EQ(r.Vues().size(), nAvant);
        EXPECT_EQ(slot.bResultat, c.bResultat);
        if (slot.bResultat) {
            EXPECT_EQ(slot.stResultat.nEntier, 0);
        }
        // The delay set before the call is the one in force.
        EXPECT_EQ(Appelle("KSL_DelaisAvantFermeture_0", {N(0)}).stResultat.nEntier, 50);
    }
}

// DelaisAvantFermeture and DelaiAvantFermeture share their state; the
// window form needs an open window.
TEST_F(Boites, DelayBeforeClosing) {
    EXPECT_EQ(Appelle("KSL_DelaisAvantFermeture_0", {N(300)}).stResultat.nEntier, 0);
    EXPECT_EQ(Appelle("KSL_DelaiAvantFermeture_1", {N(120)}).stResultat.nEntier, 300);
    EXPECT_EQ(Appelle("KSL_DelaisAvantFermeture_0", {N(0)}).stResultat.nEntier, 120);
    Appelle("KSL_DelaisAvantFermeture_1", {T(L"FEN_Nowhere"), T(L"BTN_OK"), N(100)});
    ASSERT_TRUE(hote.Erreur()->bEstErreur());
    EXPECT_EQ(hote.Erreur()->nGetErreur(), 10001);
    EXPECT_EQ(hote.Erreur()->tabGetArgs().at(0), L"FEN_Nowhere");
}

// The real box, offscreen: its buttons and default, pressed by the test.
TEST_F(Boites, SystemBoxShowsButtonsAndDefault) {
    using SB = QMessageBox::StandardButton;
    struct Cas {
        const char* pszGlue;
        std::vector<Arg> args;
        std::vector<SB> boutons;
        SB defaut;
        SB presse;
        int64_t nResultat;
    } tab[] = {
        {"KSL_OuiNon_0", {T(L"q")}, {QMessageBox::Yes, QMessageBox::No}, QMessageBox::Yes, QMessageBox::Yes, 1},
        {"KSL_OuiNon_1", {N(0), T(L"q")}, {QMessageBox::Yes, QMessageBox::No}, QMessageBox::No, QMessageBox::No, 0},
        {"KSL_OKAnnuler_1", {N(0), T(L"q")}, {QMessageBox::Ok, QMessageBox::Cancel}, QMessageBox::Cancel, QMessageBox::Ok, 1},
        {"KSL_Confirmer_1", {N(2), T(L"q")}, {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}, QMessageBox::Cancel, QMessageBox::No, 0},
        {"KSL_Confirmer_1", {N(2), T(L"q")}, {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}, QMessageBox::Cancel, QMessageBox::Cancel, 2},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszGlue);
        std::vector<SB> vus;
        SB defautVu = QMessageBox::NoButton;
        QString sTexte;
        QTimer::singleShot(100, [&] {
            auto* box = qobject_cast<QMessageBox*>(BoiteOuverte());
            if (!box) return;
            sTexte = box->text();
            for (QAbstractButton* b : box->buttons()) vus.push_back(box->standardButton(b));
            std::sort(vus.begin(), vus.end());
            defautVu = box->standardButton(box->defaultButton());
            if (QAbstractButton* b = box->button(c.presse)) b->click();
        });
        STSlotAppel slot = Appelle(c.pszGlue, c.args);
        std::vector<SB> attendus = c.boutons;
        std::sort(attendus.begin(), attendus.end());
        EXPECT_EQ(vus, attendus);
        EXPECT_EQ(defautVu, c.defaut);
        EXPECT_EQ(sTexte, "q");
        EXPECT_EQ(slot.stResultat.nEntier, c.nResultat);
    }
}

// Under an automatic close the default button counts down "%s (%d s)",
// then it is pressed: OuiNon(false, ...) answers No.
TEST_F(Boites, CountdownPressesTheDefaultButton) {
    QStringList libelles;
    QString sLibelleInitial;
    QTimer sonde;
    QObject::connect(&sonde, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(BoiteOuverte());
        if (!box || !box->defaultButton()) return;
        QString s = box->defaultButton()->text();
        if (libelles.isEmpty() || libelles.back() != s) libelles << s;
    });
    sonde.start(20);
    Appelle("KSL_DelaisAvantFermeture_0", {N(200)});
    QElapsedTimer t;
    t.start();
    STSlotAppel slot = Appelle("KSL_OuiNon_1", {N(0), T(L"q")});
    sonde.stop();
    EXPECT_GE(t.elapsed(), 1900);
    EXPECT_EQ(slot.stResultat.nEntier, 0);
    ASSERT_GE(libelles.size(), 3) << libelles.join("|").toStdString();
    QString sBase = libelles[0].left(libelles[0].lastIndexOf(" ("));
    QStringList attendus = {sBase + " (2 s)", sBase + " (1 s)", sBase + " (0 s)"};
    for (const QString& s : attendus) EXPECT_TRUE(libelles.contains(s)) << s.toStdString() << " in " << libelles.join("|").toStdString();
    EXPECT_TRUE(sBase.contains("No")) << sBase.toStdString();
    Appelle("KSL_DelaisAvantFermeture_0", {N(0)});
}

// A box asked from another thread is built on the interface thread, and
// the caller waits for its answer.
TEST_F(Boites, BoxFromAnotherThreadIsShownOnTheInterfaceThread) {
    std::atomic<bool> bFini{false};
    STSlotAppel slot;
    std::thread th([&] {
        slot = Appelle("KSL_OuiNon_0", {T(L"from a thread")});
        bFini = true;
    });
    bool bThreadPrincipal = false;
    // The box's own modal loop runs inside the events processed here: a
    // timer finds and answers it.
    QTimer sonde;
    QObject::connect(&sonde, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(BoiteOuverte())) {
            bThreadPrincipal = box->thread() == QThread::currentThread();
            if (QAbstractButton* b = box->button(QMessageBox::Yes)) b->click();
        }
    });
    sonde.start(50);
    QElapsedTimer t;
    t.start();
    while (!bFini && t.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    sonde.stop();
    th.join();
    EXPECT_TRUE(bFini);
    EXPECT_TRUE(bThreadPrincipal);
    EXPECT_EQ(slot.stResultat.nEntier, 1);
}

// The window's compiled questions and the input boxes, from Lua.
TEST_F(Boites, QuestionsAndInputBoxesInLua) {
    CReponsesBoites& r = hote.Reponses({7, 3, 1});
    // The window's own code asks OuiNon, Dialogue("Q_Save", ...), then Info.
    hote.AppelleFenetre("KSL_OuvreFille_0", L"FEN_Boites");
    ASSERT_EQ(r.Vues().size(), 3u);
    const auto& q = r.Vues()[1];
    EXPECT_EQ(q.nGenre, -1);
    EXPECT_EQ(q.nFlags, 0x20u);
    EXPECT_EQ(q.sMessage, L"Save orders.txt?");
    EXPECT_EQ(q.sTitre, L"Box window");  // the owner window's title
    EXPECT_EQ(q.tabBoutons, (std::vector<std::wstring>{L"Save", L"Discard", L"Cancel"}));
    EXPECT_EQ(r.Vues()[2].sMessage, L"Done\r\n0\r\n3");

    // An input question by name, an unknown question, Saisie and BoiteSaisie.
    hote.AppelleFenetre("KSL_OuvreFille_0", L"FEN_Boites2");
    struct Cas {
        const char* pszCode;
        int nReponse;
        std::vector<std::wstring> saisies;
        const char* pszR;
        int nGenre;  // of the box, 1: no box
    } tab[] = {
        {"_G.R = Dialogue('q_name')", 1, {}, "1", -2},
        {"_G.R = Dialogue('Q_Missing')", 1, {}, "0", 1},
        {"_G.R = Saisie('Your name?', 'Ann')", 1, {L"Bob"}, "Bob", -2},
        {"local v = Saisie('Age?', 40) _G.R = math.type(v) .. ' ' .. v", 1, {L"41"}, "integer 41", -2},
        {"_G.R = tostring((Saisie('Your name?', 'Ann')))", 2, {L"Bob"}, "nil", -2},
        {"_G.R = BoiteSaisie('Two values', 'a', 'b')", 2, {}, "2", -2},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.pszCode);
        size_t nAvant = r.Vues().size();
        r.Ajoute(c.nReponse, c.saisies);
        EXPECT_EQ(Evalue(c.pszCode), c.pszR);
        if (c.nGenre == 1) {
            EXPECT_EQ(r.Vues().size(), nAvant);
            r = CReponsesBoites();  // the unused answer goes
        } else {
            ASSERT_EQ(r.Vues().size(), nAvant + 1);
            EXPECT_EQ(r.Vues().back().nGenre, c.nGenre);
        }
    }
    hote->piGetExe()->FermeTout();
}

// The dialog window the module builds for a question: its buttons, its
// input field, Escape, and the value entered.
TEST_F(Boites, TheDialogWindowNamesItsButtonsAndFields) {
    hote.AppelleFenetre("KSL_OuvreFille_0", L"FEN_Boites2");
    QStringList noms;
    bool bDefautPremier = false;
    QTimer::singleShot(100, [&] {
        QWidget* w = BoiteOuverte();
        if (!w) return;
        EXPECT_EQ(w->objectName(), "KVOBJ_Dialogue");
        for (QPushButton* b : w->findChildren<QPushButton*>()) noms << b->objectName();
        if (auto* b = w->findChild<QPushButton*>("BTN_1")) bDefautPremier = b->isDefault();
        auto tab = w->findChildren<QLineEdit*>();
        if (tab.size() == 1) {
            noms << tab[0]->objectName().left(17) + ":" + tab[0]->text();
            tab[0]->setText("Zoe");
        }
        if (auto* b = w->findChild<QPushButton*>("BTN_1")) b->click();
    });
    EXPECT_EQ(Evalue("_G.R = Saisie('Your name?', 'Ann')"), "Zoe");
    noms.sort();
    EXPECT_EQ(noms.join(",").toStdString(), "BTN_1,BTN_2,BTN_ESC,KVINPUTBOX_INPUT_:Ann");
    EXPECT_TRUE(bDefautPremier);
    // Escape presses the question's cancel button (Cancel, 2).
    QTimer::singleShot(100, [&] {
        if (auto* b = BoiteOuverte() ? BoiteOuverte()->findChild<QPushButton*>("BTN_ESC") : nullptr) b->click();
    });
    EXPECT_EQ(Evalue("_G.R = Dialogue('Q_Name')"), "2");
    hote->piGetExe()->FermeTout();
}

// The question list as a description holds it, written by hand from its layout.
TEST(Questions, ReadFromTheirBytes) {
    const Octets question = {
        LE32(1), LE32(0),               // version, declared size (patched below)
        LE64(0x1122334455667788ull),    // identifier
        UTF8_DEBUT(15), 'Q', '1', UTF8_FIN,
        UTF8_DEBUT(18), 'H', 'i', ' ', '%', '1', UTF8_FIN,
        LE32(9),                        // kind out of range: a question
        LE32(2), LE32(7),               // default 2; cancel beyond the buttons: none
        LE32(2),                        // two buttons
        LE32(1), LE32(19), UTF8_DEBUT(15), 'O', 'K', UTF8_FIN,
        LE32(1), LE32(5), 0x00,         // an empty caption
        LE32(1),                        // one input
        LE32(1), LE32(0), UTF8_DEBUT(17), 'N', 'a', 'm', 'e', UTF8_FIN, 0x00, LE32(120),
    };
    Octets q = question;
    kvoctets::Remplace(q, 4, static_cast<uint32_t>(q.size() - 4));
    // The input's declared size: from its size word to its end.
    const size_t nSaisie = q.size() - (4 + 4 + 17 + 1 + 4);
    kvoctets::Remplace(q, nSaisie + 4, 4 + 17 + 1 + 4);
    Octets bloc = kvoctets::Concat({{LE32(4 + 4 + q.size()), LE32(1)}, q});
    CKVBuffer b(bloc.data(), bloc.size());
    CListeQuestionExec l;
    CLecteurKV ar(b);
    serialise(ar, l);
    EXPECT_EQ(b.nGetPosition(), bloc.size());
    ASSERT_EQ(l.tabQuestions.size(), 1u);
    const CQuestionExec& r = l.tabQuestions[0];
    EXPECT_EQ(r.qwID, 0x1122334455667788ull);
    EXPECT_EQ(std::wstring(r.sNom), L"Q1");
    EXPECT_EQ(std::wstring(r.sMessage), L"Hi %1");
    EXPECT_EQ(r.nGenre, 1);
    EXPECT_EQ(r.nDefaut, 2);
    EXPECT_EQ(r.nAnnulation, 0);
    ASSERT_EQ(r.tabBoutons.size(), 2u);
    EXPECT_EQ(std::wstring(r.tabBoutons[0].sLibelle), L"OK");
    EXPECT_TRUE(r.tabBoutons[1].sLibelle.empty());
    ASSERT_EQ(r.tabSaisies.size(), 1u);
    EXPECT_EQ(std::wstring(r.tabSaisies[0].sLibelle), L"Name");
    EXPECT_EQ(r.tabSaisies[0].nLargeur, 120);
    EXPECT_EQ(l.pclCherche(L"q1"), &r);
    EXPECT_EQ(l.pclCherche(L"0x1122334455667788"), &r);
    EXPECT_EQ(l.pclCherche(L"Q2"), nullptr);
    // A count the block cannot hold is refused, not allocated.
    Octets faux = kvoctets::Concat({{LE32(8), LE32(0xFFFFFFFF)}});
    CKVBuffer b2(faux.data(), faux.size());
    CLecteurKV ar2(b2);
    CListeQuestionExec l2;
    EXPECT_THROW(serialise(ar2, l2), CXError);
}

// A project that shows its own boxes gets them through its procedure
// KorvelMessageBox: title, message, kind and default button in, the result
// out.
TEST(BoitesPersonnalisees, TheProjectsProcedureAnswers) {
    const std::string& sProjet = kvtest::ProjetCompile(KV_FIXTURES_DIR "/boites_perso");
    ASSERT_FALSE(sProjet.empty());
    kvtest::HoteProjet hote;
    std::string sErreur;
    ASSERT_TRUE(hote.bDemarre(sProjet, sErreur)) << sErreur;
    hote.MontreBoites();
    hote.AppelleFenetre("KSL_Ouvre_0", L"FEN_Perso");
    auto* lua = static_cast<IRunnerLua*>(hote->piGetRunnerProjet());
    STValeurHote v;
    ASSERT_TRUE(lua->bLitGlobale("VU", v)) << lua->sDerniereErreur();
    EXPECT_EQ(v.sTexte, L"Own boxes|Sure?|2|2");
    ASSERT_TRUE(lua->bLitGlobale("R", v));
    EXPECT_EQ(v.sTexte, L"false");
    EXPECT_EQ(lua->nGetNbErreurs(), 0);

    // The kind and the default button are numbers; a procedure that fails is
    // reported once (its error box cannot ask it again) and the system box
    // stands in for it.
    QTimer presse;
    QObject::connect(&presse, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            if (box->defaultButton()) box->defaultButton()->click();
    });
    presse.start(50);
    const uint64_t nID = nIdentifiantObjet(L"FEN_Perso.TEST");
    ASSERT_TRUE(lua->bAjouteCode(nID, 18,
                                 "_G.KorvelMessageBox = function(t, m, k, d) _G.TYPES = math.type(k) .. math.type(d) error('boom') end "
                                 "Info('hello')",
                                 "FEN_Perso.TEST"));
    STExecutionCode st{nID, 18, nullptr, nullptr, 0};
    EXPECT_EQ(lua->nExecute(st), 0) << lua->sDerniereErreur();
    presse.stop();
    ASSERT_TRUE(lua->bLitGlobale("TYPES", v));
    EXPECT_EQ(v.sTexte, L"integerinteger");
    EXPECT_EQ(lua->nGetNbErreurs(), 2);  // the failing procedure, for the box and for its error box
}

// kvrun answers boxes from --answers, then shows the others; under
// --screenshot each box is saved and answered with its default button.
TEST(KvrunBoites, AnswersAndScreenshots) {
    const std::string& sProjet = kvtest::ProjetCompile(KV_FIXTURES_DIR "/boites");
    ASSERT_FALSE(sProjet.empty());
    const std::string sDossier = kvtest::RepertoireTemporaire();
    std::string sImage = sDossier + "/box.png";
    struct Cas {
        std::string sOptions;
        std::vector<std::string> lignes;
        int nImages;
    } tab[] = {
        {"--answers 6,2,1", {"box \"Continue?\" answered 6", "box \"Save orders.txt?\" answered 2", "box \"Done\" answered 1"}, 0},
        {"--answers 7 --screenshot " + sImage,
         {"box \"Continue?\" answered 7", "box \"Save orders.txt?\" shown, result 1", "box \"Done\" shown, result 1"}, 3},
    };
    for (const Cas& c : tab) {
        SCOPED_TRACE(c.sOptions);
        std::string sCommande = "QT_QPA_PLATFORM=offscreen timeout 60 " + kvtest::CheminBinaire("kvrun") + " " + c.sOptions + " '" + sProjet + "' 2>&1";
        FILE* f = popen(sCommande.c_str(), "r");
        ASSERT_NE(f, nullptr);
        char buf[512];
        std::string sSortie;
        while (fgets(buf, sizeof buf, f)) sSortie += buf;
        EXPECT_EQ(pclose(f), 0) << sSortie;
        for (const auto& l : c.lignes) EXPECT_NE(sSortie.find("kvrun: " + l), std::string::npos) << l << "\n" << sSortie;
        int nImages = 0;
        for (const char* psz : {"/box.png", "/box-2.png", "/box-3.png"})
            if (sSortie.find("saved " + sDossier + psz) != std::string::npos && std::filesystem::exists(sDossier + psz)) ++nImages;
        EXPECT_EQ(nImages, c.nImages) << sSortie;
    }
}

} // namespace
