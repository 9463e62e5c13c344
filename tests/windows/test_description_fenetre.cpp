// Golden bytes of the window description: a window record of version 7006,
// one of version 7125 and menu records, written by hand field by field from
// the records' layout, read by the module's reader, checked, and written
// back byte for byte.
//
// Integers are little-endian. A string is either one zero byte (empty) or a
// marked UTF-8 string: FF CE 88 F1, total length L (4 bytes, L = bytes + 13),
// the bytes, 00, FE ED 98 E1. A declared size counts from the first byte of
// its own word to the end of its record.
#include "Octets.h"
#include "controls/core/Archive.h"
#include "windows/CFenPrincipale.h"
#include "windows/CMenu.h"
#include "windows/DescriptionFenetre.h"
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

using namespace kvoctets;

namespace {

// One field or group of fields of a record.
struct Segment {
    const char* pszNom;
    std::string sHex;
};
using Enregistrement = std::vector<Segment>;

Octets Assemble(const Enregistrement& e) {
    Octets o;
    for (const Segment& s : e) {
        Octets p = Hex(s.sHex);
        o.insert(o.end(), p.begin(), p.end());
    }
    return o;
}

std::string& Champ(Enregistrement& e, const char* pszNom) {
    for (Segment& s : e)
        if (std::strcmp(s.pszNom, pszNom) == 0) return s.sHex;
    ADD_FAILURE() << "no segment " << pszNom;
    static std::string vide;
    return vide;
}

// The option record of a menu itself, version 703 (no declared size), with
// the standard style: 82 bytes for a name of 6 characters.
std::string OptionMenu703(const char* pszNomHex, const char* pszID) {
    return std::string(pszNomHex) +  // name
           pszID +                    // identifier, 64 bits
           "BF020000"                 // option version 703
           "00"                       // caption ""
           "00"                       // second string ""
           "00000000"                 // state 0
           "01000000"                 // visible
           "00"                       // third string ""
           "0000"                     // option identifier 0
           "00000000"                 // separator no
           "00000000"                 // checked no
           "00000000"                 // value after the check mark
           "01000000 15000000"        // menu style: version 1, declared size 21
           "000000FF 000000FF"        //   text and background colours: automatic (0xFF000000)
           "00 00000000 00000000"     //   font "", size 0, style 0
           "00";                      // image ""
}

// ---------------------------------------------------------------- window record 7006

Enregistrement Fenetre7006() {
    return {
        {"version", "5E1B0000"},  // record version 7006
        {"pack", "00000000"},     // pack word: not packed
        // Common window record, version 603: no declared size, no extension.
        {"commun",
         "5B020000"                                   // version 603
         "FFCE88F1 12000000 46454E5F47 00 FEED98E1"   // name "FEN_G"
         "8877665544332211"                           // identifier 0x1122334455667788
         "0A000000 14000000 2C010000 C8000000"        // x 10, y 20, width 300, height 200
         "64000000 32000000 204E0000 204E0000"        // minimum 100 x 50, maximum 20000 x 20000
         "01000000"                                   // initially visible
         "00"                                         // string ""
         "00"                                         // right-click menu ""
         "FFCE88F1 13000000 4D454E555F43 00 FEED98E1" // context menu "MENU_C"
         "01000000"                                   // initial state 1 (read-only)
         "00"                                         // help title ""
         "FFCE88F1 11000000 41696465 00 FEED98E1"     // help text "Aide"
         "00"                                         // note title ""
         "00"                                         // note text ""
         "FFCE88F1 10000000 546970 00 FEED98E1"       // tooltip "Tip"
         "00"                                         // default value ""
         "FFCE88F1 12000000 4261727265 00 FEED98E1"}, // status bar message "Barre"
        {"style",
         "01000000 11000000"   // window style: version 1, declared size 17
         "99663300"            // background colour 0x00336699
         "00000000"            // text colour 0
         "00"                  // font ""
         "00000000"},          // font size 0
        {"taille", "AF000000"},  // declared size of the rest: 175
        {"base",
         "00000000"                                   // opening mode 0
         "FFCE88F1 13000000 476F6C64656E 00 FEED98E1" // title "Golden"
         "00"                                         // background image ""
         "00"                                         // second string ""
         "01000000 01000000 00000000"                 // message bar, title bar visible, an option
         "01000000 00000000 01000000"                 // minimise icon, maximise icon, automatic scroll bars
         "00"                                         // string not kept
         "01000000 02000000 03000000 04000000"        // rectangle not kept
         "00000000"                                   // an option
         "00"                                         // a string
         "00000000"                                   // not resizable
         "02000000"                                   // frame type 2
         "60000000"                                   // pixel density 96
         "01000000"                                   // a nine-image frame follows
         "08000000 09000000 0A000000 0B000000"        //   cut zone: left 8, right 9, top 10, bottom 11
         "01000000 00000000 01000000"                 //   repeat width, height (no), centre
         "01000000 01000000 01000000 01000000"        //   pieces 1 to 4 visible
         "00000000"                                   //   piece 5 hidden
         "01000000 01000000 01000000 01000000"        //   pieces 6 to 9 visible
         "01000000"                                   // movable by its background
         "00000000"                                   // no string follows
         "00000000"},                                 // an option
        {"7006", "18010000 B4000000"},  // client area 280 x 180
        {"menu",
         "C1020000 5A000000"  // main menu: version 705, declared size 90
         + OptionMenu703("FFCE88F1 13000000 4D454E555F50 00 FEED98E1", "2000000000000000")  // "MENU_P", 0x20
         + "00000000"},       // no options
        {"menus_contextuels", "00000000"},  // no context menus
    };
}

// ---------------------------------------------------------------- window record 7125

constexpr uint32_t nTAILLE_7125 = 377;

Enregistrement Fenetre7125() {
    return {
        {"version", "D51B0000"},  // record version 7125
        {"pack", "00000000"},     // not packed
        // Common window record, version 704: a declared size after the version.
        {"commun",
         "C0020000 92000000"                          // version 704, declared size 146
         "FFCE88F1 12000000 46454E5F47 00 FEED98E1"   // name "FEN_G"
         "8877665544332211"                           // identifier 0x1122334455667788
         "0A000000 14000000 2C010000 C8000000"        // x 10, y 20, width 300, height 200
         "64000000 32000000 20030000 58020000"        // minimum 100 x 50, maximum 800 x 600
         "01000000"                                   // initially visible
         "00 00"                                      // string "", right-click menu ""
         "FFCE88F1 13000000 4D454E555F43 00 FEED98E1" // context menu "MENU_C"
         "00000000"                                   // initial state 0
         "00"                                         // help title ""
         "FFCE88F1 11000000 41696465 00 FEED98E1"     // help text "Aide"
         "00 00"                                      // note title "", note text ""
         "FFCE88F1 10000000 546970 00 FEED98E1"       // tooltip "Tip"
         "00"                                         // default value ""
         "FFCE88F1 12000000 4261727265 00 FEED98E1"}, // status bar message "Barre"
        {"style",
         "01000000 11000000"      // window style: version 1, declared size 17
         "000000FF"               // background colour undefined (0xFF000000)
         "00000000 00 00000000"}, // text colour 0, font "", font size 0
        {"taille", Le32(nTAILLE_7125)},  // declared size of the rest: 377 (0x179)
        {"base",
         "02000000"                                       // opening mode 2
         "FFCE88F1 13000000 476F6C64656E 00 FEED98E1"     // title "Golden"
         "FFCE88F1 15000000 666F6E642E706E67 00 FEED98E1" // background image "fond.png"
         "00"                                             // second string ""
         "01000000 00000000 01000000"                     // message bar, title bar hidden, an option
         "00000000 01000000 01000000"                     // minimise icon no, maximise icon, scroll bars
         "00"                                             // string not kept
         "05000000 06000000 07000000 08000000"            // rectangle not kept
         "03000000"                                       // an option: 3
         "00"                                             // a string
         "01000000"                                       // resizable
         "01000000"                                       // frame type 1
         "78000000"                                       // pixel density 120
         "00000000"                                       // no nine-image frame
         "00000000"                                       // not movable by its background
         "01000000 FFCE88F1 0F000000 5339 00 FEED98E1"    // a string follows: "S9"
         "0A000000"},                                     // an option: 10
        {"7006", "40010000 F0000000"},                                 // client area 320 x 240
        {"7007", "B80B0000"},                                          // automatic closing after 3000 ms
        {"7008", "FFCE88F1 13000000 42544E5F4F4B 00 FEED98E1"},        // by pressing "BTN_OK"
        {"7009", "05000000"},                                          // an option: 5
        {"7010", "FFCE88F1 12000000 7337303130 00 FEED98E1"},          // a string "s7010"
        {"7012", "00000000 00000000"},                                 // no message bar, no values
        {"7015", "00000000"},                                          // no video streams
        {"7016", "10000000 11000000 12000000 13000000 14000000 15000000"   // 7016 to 7021: 16 to 21
                 "16000000 17000000 18000000 19000000 1A000000 1B000000"}, // 7022 to 7027: 22 to 27
        {"7028", "000102030405060708090A0B0C0D0E0F"},                  // a 16-byte block
        {"7029", "1D000000 1E000000"},                                 // 7029: 29, 7030: 30
        {"7031", "00000000"},                                          // no gradient background
        {"7032", "01000000 02000000 03000000 04000000"},               // four values 1 to 4
        {"7033", "21000000"},                                          // 7033: 33
        {"7034", "02000000 01000000"},                                 // automatic features 0x100000002
        {"7112", "70000000 71000000 72000000 73000000"},               // 7112 to 7115: 112 to 115
        {"7116", "00000000"},                                          // no action bar
        {"7117", "01000000"},                                          // opening position mode 1
        {"7118", "03000000"},                                          // target platform 3
        {"7120", "01000000"},                                          // white background
        {"7121", "15000000 FFCE88F1 12000000 7337313231 00 FEED98E1"}, // an option 21 and a string "s7121"
        {"7122", "96000000"},                                          // display factor 150
        {"7123", "04000000"},                                          // sliding menu: an empty block
        {"7124", "04000000"},                                          // layout tabs: an empty block
        {"7125", "7D000000"},                                          // an option: 125
        {"menu",
         "BC020000"  // main menu: version 700, no declared size
         + OptionMenu703("FFCE88F1 13000000 4D454E555F50 00 FEED98E1", "2000000000000000")  // "MENU_P", 0x20
         + "00000000"},  // no options
        {"menus_contextuels",
         "01000000"                    // one context menu:
         "C2020000 5E000000 66000000"  //   version 706, declared size 94, a further value 0x66
         + OptionMenu703("FFCE88F1 13000000 4D454E555F43 00 FEED98E1", "3000000000000000")  // "MENU_C", 0x30
         + "00000000"},                //   no options
    };
}

// The window record read through its one definition; position at the end.
size_t nLit(CFenPrincipale& f, const Octets& o) {
    CKVBuffer b(o.data(), o.size());
    CLecteurKV ar(b);
    serialise(ar, static_cast<CFenCommun&>(f), f.Description());
    return b.nGetPosition();
}

Octets Ecrit(CFenPrincipale& f) {
    CKVBuffer b;
    CEcrivainKV ar(b);
    serialise(ar, static_cast<CFenCommun&>(f), f.Description());
    return b.Octets();
}

// A whole compiled description: object type 2, format 6.7, the record and
// an empty control list (old form: a count of 0).
Octets Description(const Octets& enregistrement) {
    return Concat({Hex("02000000 07000600"), enregistrement, Hex("00000000")});
}

TEST(DescriptionFenetre, Record7006) {
    Octets o = Assemble(Fenetre7006());
    CFenPrincipale f(L"");
    ASSERT_EQ(nLit(f, o), o.size());
    // Common record.
    EXPECT_EQ(f.sGetNom(), L"FEN_G");
    EXPECT_EQ(f.qwGetID(), 0x1122334455667788u);
    EXPECT_EQ(f.rectInitial(), QRect(10, 20, 300, 200));
    EXPECT_EQ(f.rectGet(), QRect(10, 20, 300, 200));
    EXPECT_EQ(f.nGetLargeurMin(), 100);
    EXPECT_EQ(f.nGetHauteurMin(), 50);
    EXPECT_EQ(f.nGetLargeurMax(), 20000);
    EXPECT_EQ(f.nGetHauteurMax(), 20000);
    EXPECT_TRUE(f.bVisibleInitial());
    EXPECT_EQ(f.sGetMenuContextuel(), L"MENU_C");
    EXPECT_EQ(f.eGetEtatInitial(), eETAT_LECTURE_SEULE);
    EXPECT_EQ(f.sGetTexteAide(), L"Aide");
    EXPECT_EQ(f.sGetMessageBarre(), L"Barre");
    // Window record.
    const STDescriptionFenetre& d = f.Description();
    EXPECT_EQ(d.nVersion, 7006u);
    EXPECT_EQ(d.style.nCouleurFond, 0x00336699u);
    EXPECT_EQ(d.nModeOuverture, 0);
    EXPECT_EQ(d.sTitre, L"Golden");
    const int32_t options[6] = {1, 1, 0, 1, 0, 1};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(d.tabOptions[i], options[i]) << "option " << i;
    EXPECT_EQ(d.rectIgnore[3], 4);
    EXPECT_FALSE(d.bRedimensionnable);
    EXPECT_EQ(d.nTypeCadre, 2);
    EXPECT_EQ(d.nDensite, 96);
    ASSERT_TRUE(d.bDecor9);
    EXPECT_EQ(d.decor9.nGauche, 8);
    EXPECT_EQ(d.decor9.nBas, 11);
    EXPECT_FALSE(d.decor9.bRepeteHauteur);
    EXPECT_FALSE(d.decor9.tabVisible[4]);
    EXPECT_TRUE(d.decor9.tabVisible[8]);
    EXPECT_TRUE(d.bDeplacableParFond);
    EXPECT_EQ(d.nLargeurClient, 280);
    EXPECT_EQ(d.nHauteurClient, 180);
    // Fields of later versions keep their defaults.
    EXPECT_EQ(d.nDureeFermetureAuto, 0);
    EXPECT_EQ(d.nFacteurAffichage, 100);
    EXPECT_EQ(d.pMenuPrincipal->sGetNom(), L"MENU_P");
    EXPECT_EQ(d.pMenuPrincipal->qwGetID(), 0x20u);
    EXPECT_EQ(d.pMenuPrincipal->nGetNbOptions(), 0);
    EXPECT_TRUE(d.tabMenusContextuels.empty());

    EXPECT_EQ(Ecrit(f), o) << "written back byte for byte";
}

TEST(DescriptionFenetre, Record7125) {
    Octets o = Assemble(Fenetre7125());
    CFenPrincipale f(L"");
    ASSERT_EQ(nLit(f, o), o.size());
    EXPECT_EQ(f.sGetNom(), L"FEN_G");
    EXPECT_EQ(f.nGetLargeurMax(), 800);
    EXPECT_EQ(f.nGetHauteurMax(), 600);
    EXPECT_EQ(f.sGetMessageBarre(), L"Barre");
    const STDescriptionFenetre& d = f.Description();
    EXPECT_EQ(d.nVersion, 7125u);
    EXPECT_EQ(d.style.nCouleurFond, 0xFF000000u);
    EXPECT_EQ(d.nModeOuverture, 2);
    EXPECT_EQ(d.sTitre, L"Golden");
    EXPECT_EQ(d.sImageFond, L"fond.png");
    EXPECT_EQ(d.tabOptions[1], 0) << "title bar hidden";
    EXPECT_EQ(d.nOption7, 3);
    EXPECT_TRUE(d.bRedimensionnable);
    EXPECT_EQ(d.nDensite, 120);
    EXPECT_FALSE(d.bDecor9);
    EXPECT_EQ(d.sChaine9, L"S9");
    EXPECT_EQ(d.nOption10, 10);
    EXPECT_EQ(d.nLargeurClient, 320);
    EXPECT_EQ(d.nHauteurClient, 240);
    EXPECT_EQ(d.nDureeFermetureAuto, 3000);
    EXPECT_EQ(d.sBoutonFermetureAuto, L"BTN_OK");
    EXPECT_EQ(d.nOption7009, 5);
    EXPECT_EQ(d.sChaine7010, L"s7010");
    for (int w = 7016; w <= 7027; ++w) EXPECT_EQ(d.tabOptions7016[w - 7016], w - 7000) << "version " << w;
    EXPECT_EQ(d.abyBloc7028[15], 0x0F);
    EXPECT_EQ(d.tabOptions7016[7029 - 7016], 29);
    EXPECT_EQ(d.tabOptions7016[7030 - 7016], 30);
    EXPECT_EQ(d.tab7032[3], 4);
    EXPECT_EQ(d.tabOptions7016[7033 - 7016], 33);
    EXPECT_EQ(d.qwOptionsFAA, 0x100000002u);
    EXPECT_EQ(d.tabOptions7112[0], 112);
    EXPECT_EQ(d.tabOptions7112[3], 115);
    EXPECT_EQ(d.nModePositionOuverture, 1);
    EXPECT_EQ(d.nPlateforme, 3);
    EXPECT_TRUE(d.bFondBlanc);
    EXPECT_EQ(d.nOption7121, 21);
    EXPECT_EQ(d.sChaine7121, L"s7121");
    EXPECT_EQ(d.nFacteurAffichage, 150);
    EXPECT_EQ(d.nOption7125, 125);
    EXPECT_EQ(d.pMenuPrincipal->sGetNom(), L"MENU_P");
    EXPECT_EQ(d.pMenuPrincipal->nGetVersionMenu(), 700u);
    ASSERT_EQ(d.tabMenusContextuels.size(), 1u);
    EXPECT_EQ(d.tabMenusContextuels[0]->sGetNom(), L"MENU_C");
    EXPECT_EQ(d.tabMenusContextuels[0]->qwGetID(), 0x30u);
    EXPECT_EQ(d.tabMenusContextuels[0]->nGetVersionMenu(), 706u);

    EXPECT_EQ(Ecrit(f), o) << "written back byte for byte";
}

// Parts of the record that the module reads and drops, and fields of a
// newer writer: the rest of the record reads the same.
struct CasPartieIgnoree {
    const char* pszCas;
    const char* pszSegment;
    std::string sHex;
};

void PrintTo(const CasPartieIgnoree& c, std::ostream* os) { *os << c.pszCas; }

class PartieIgnoree : public ::testing::TestWithParam<CasPartieIgnoree> {};

TEST_P(PartieIgnoree, RestOfTheRecordReadsTheSame) {
    const CasPartieIgnoree& c = GetParam();
    Enregistrement e = Fenetre7125();
    std::string& s = Champ(e, c.pszSegment);
    // The declared size grows by the bytes inserted.
    uint32_t nTaille = nTAILLE_7125 + static_cast<uint32_t>(Hex(c.sHex).size() - Hex(s).size());
    s = c.sHex;
    Champ(e, "taille") = Le32(nTaille);
    Octets o = Assemble(e);

    CFenPrincipale f(L"");
    try {
        ASSERT_EQ(nLit(f, o), o.size());
    } catch (const CXError& e) {
        FAIL() << "error " << e.nGetErreur();
    }
    const STDescriptionFenetre& d = f.Description();
    EXPECT_EQ(d.nDureeFermetureAuto, 3000);
    EXPECT_EQ(d.tab7032[0], 1);
    EXPECT_EQ(d.nModePositionOuverture, 1);
    EXPECT_EQ(d.nOption7125, 125);
    EXPECT_EQ(d.pMenuPrincipal->sGetNom(), L"MENU_P");
    ASSERT_EQ(d.tabMenusContextuels.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Fenetre7125, PartieIgnoree,
    ::testing::Values(
        CasPartieIgnoree{"MessageBarAndValues", "7012",
                         "01000000 01000000 08000000 AABBCCDD"   // a message bar record: version 1, size 8, 4 bytes
                         "01000000 02000000 11111111 22222222"}, // values: 2 of them
        CasPartieIgnoree{"VideoStream", "7015",
                         "01000000"                           // one video stream:
                         "FFCE88F1 0E000000 76 00 FEED98E1"   //   its name "v"
                         "08000000 DEADBEEF"},                //   its description: a block of 8 bytes
        CasPartieIgnoree{"GradientBackground", "7031",
                         "01000000"            // a gradient background follows:
                         "D7070000 1C000000"   //   version 2007, declared size 28
                         "FF000000 00FF0000"   //   start and end colours
                         "5A000000 03000000"   //   angle 90, three colours
                         "0000FF00 32000000"}, //   the extra colour at 50 %
        // A gradient record may leave its size unchecked (0).
        CasPartieIgnoree{"GradientBackgroundWithoutSize", "7031",
                         "01000000"
                         "D7070000 00000000"   //   version 2007, size 0: not checked
                         "FF000000 00FF0000 5A000000 03000000 0000FF00 32000000"},
        CasPartieIgnoree{"ActionBar", "7116", "01000000 08000000 01020304"},       // an action bar block of 8 bytes
        CasPartieIgnoree{"SlidingMenu", "7123", "0C000000 0102030405060708"},     // a sliding menu block of 12 bytes
        CasPartieIgnoree{"FieldsOfANewerWriter", "7125", "7D000000 EEEEEEEE"}),  // 4 bytes this reader does not know
    [](const auto& i) { return std::string(i.param.pszCas); });

// After reading, the client area gives the window its size and moves its
// limits; an undefined background becomes white unless the record asks for
// a white background itself.
TEST(DescriptionFenetre, ReadingTheWholeDescriptionAppliesTheClientSizeAndBackground) {
    struct Cas {
        Enregistrement e;
        const char* pszFond;  // replaces the style's background colour, or null
        uint32_t nFondAttendu;
        QSize taille;
        int nLargeurMin, nHauteurMin, nLargeurMax, nHauteurMax;
    };
    std::vector<Cas> tabCas = {
        {Fenetre7006(), nullptr, 0x00336699, QSize(280, 180), 80, 30, 20000, 20000},
        {Fenetre7006(), "FFFFFFFF", 0x00FFFFFF, QSize(280, 180), 80, 30, 20000, 20000},
        {Fenetre7006(), "000000FF", 0x00FFFFFF, QSize(280, 180), 80, 30, 20000, 20000},
        // 7125: client 320 x 240 for a window of 300 x 200; the white-background flag is set.
        {Fenetre7125(), nullptr, 0xFF000000, QSize(320, 240), 120, 90, 820, 640},
    };
    for (Cas& c : tabCas) {
        if (c.pszFond) {
            std::string& s = Champ(c.e, "style");
            s.replace(s.find("99663300"), 8, c.pszFond);
        }
        Octets o = Description(Assemble(c.e));
        CFenPrincipale f(L"");
        CKVBuffer b(o.data(), o.size());
        ASSERT_NO_THROW(f.xCree(b));
        EXPECT_EQ(b.nGetPosition(), o.size());
        SCOPED_TRACE(c.pszFond ? c.pszFond : "designed background");
        EXPECT_EQ(f.Description().style.nCouleurFond, c.nFondAttendu);
        EXPECT_EQ(f.rectInitial(), QRect(QPoint(10, 20), c.taille));
        EXPECT_EQ(f.nGetLargeurMin(), c.nLargeurMin);
        EXPECT_EQ(f.nGetHauteurMin(), c.nHauteurMin);
        EXPECT_EQ(f.nGetLargeurMax(), c.nLargeurMax);
        EXPECT_EQ(f.nGetHauteurMax(), c.nHauteurMax);
    }
}

// A damaged description may give any client size and size limits: they are
// brought back to the range of a description (-32768 to 32767) before the
// client size moves the limits, so that none of them wraps around.
TEST(DescriptionFenetre, ClientSizeAndLimitsOutsideTheDescriptionRange) {
    struct Cas {
        const char* pszCas;
        const char* pszLimites;  // minimum and maximum sizes of the common record
        const char* pszClient;
        QSize taille;
        int nLargeurMin, nHauteurMin, nLargeurMax, nHauteurMax;
    };
    // The window is 300 x 200; each limit moves by the client size less that.
    const Cas tabCas[] = {
        {"huge client area", "64000000 32000000 20030000 58020000", "FFFFFF7F FFFFFF7F", QSize(32767, 32767),
         100 + 32467, 50 + 32567, 800 + 32467, 600 + 32567},
        {"huge limits", "FFFFFF7F FFFFFF7F FFFFFF7F FFFFFF7F", "40010000 F0000000", QSize(320, 240),
         32767 + 20, 32767 + 40, 32767 + 20, 32767 + 40},
        {"very negative limits", "00000080 00000080 00000080 00000080", "40010000 F0000000", QSize(320, 240),
         0, 0, -32768 + 20, -32768 + 40},
    };
    for (const Cas& c : tabCas) {
        SCOPED_TRACE(c.pszCas);
        Enregistrement e = Fenetre7125();
        std::string& s = Champ(e, "commun");
        const std::string sLimites = "64000000 32000000 20030000 58020000";
        ASSERT_NE(s.find(sLimites), std::string::npos);
        s.replace(s.find(sLimites), sLimites.size(), c.pszLimites);
        Champ(e, "7006") = c.pszClient;
        Octets o = Description(Assemble(e));
        CFenPrincipale f(L"");
        CKVBuffer b(o.data(), o.size());
        ASSERT_NO_THROW(f.xCree(b));
        EXPECT_EQ(f.rectInitial(), QRect(QPoint(10, 20), c.taille));
        EXPECT_EQ(f.nGetLargeurMin(), c.nLargeurMin);
        EXPECT_EQ(f.nGetHauteurMin(), c.nHauteurMin);
        EXPECT_EQ(f.nGetLargeurMax(), c.nLargeurMax);
        EXPECT_EQ(f.nGetHauteurMax(), c.nHauteurMax);
    }
}

// Header, version and size errors of a whole description.
TEST(DescriptionFenetre, ErrorsOfTheHeaderAndRecord) {
    struct Cas {
        const char* pszCas;
        size_t nOffset;    // of the 4-byte word replaced
        uint32_t nValeur;
        int nErreur;
        std::vector<std::wstring> tabArgs;
    };
    const std::vector<Cas> tabCas = {
        {"object type 3", 0, 3, 10013, {L"3"}},
        {"format 6.5", 4, 0x00060005, 10014, {L"KVOBJ"}},
        {"format 6.8", 4, 0x00060008, 10084, {L"KVOBJ"}},
        {"record version 7000", 8, 7000, 10014, {L"KVOBJ"}},
        {"record version 7251", 8, 7251, 10084, {L"KVOBJ"}},
        {"pack method 3", 12, 3, 10013, {L"3"}},
        // Offset of the declared size: header 8, version 4, pack 4, common
        // record 146 + 4, style 21. Four bytes fewer than the record uses.
        {"declared size too small", 8 + 8 + 150 + 21, nTAILLE_7125 - 4, 10011, {L"377", L"373"}},
    };
    for (const Cas& c : tabCas) {
        SCOPED_TRACE(c.pszCas);
        Octets o = Description(Assemble(Fenetre7125()));
        Remplace(o, c.nOffset, c.nValeur);
        CFenPrincipale f(L"");
        CKVBuffer b(o.data(), o.size());
        try {
            f.xCree(b);
            ADD_FAILURE() << "no error";
        } catch (const CXError& e) {
            EXPECT_EQ(e.nGetErreur(), c.nErreur);
            EXPECT_EQ(e.tabGetArgs(), c.tabArgs);
        }
    }
}

// ---------------------------------------------------------------- menu records

// Option records by version. From 705 the strings are read in string mode
// 1 (marked UTF-8 or one zero byte). From 704 a declared size follows the
// image (and the word of version 706).
struct CasOption {
    const char* pszCas;
    std::string sHex;
    uint32_t nVersion;
    bool bVisible;
    int nEtat;
    const wchar_t* pszImage;
};

const char* const OPTION_DEBUT =
    "FFCE88F1 12000000 4F50545F31 00 FEED98E1"  // name "OPT_1"
    "0700000000000100";                         // identifier 0x0001000000000007
const char* const OPTION_MILIEU =
    "FFCE88F1 12000000 264F70656E 00 FEED98E1"  // caption "&Open"
    "00";                                       // second string ""
const char* const OPTION_FIN =
    "00"                                                  // third string ""
    "0700"                                                // option identifier 7
    "00000000"                                            // not a separator
    "01000000"                                            // checked
    "09000000"                                            // value after the check mark: 9
    "01000000 15000000 FF000000 000000FF 00 5A000000 01000000";  // style v1, size 21: text red,
                                                                 // background automatic, font "", 90, style 1
const char* const IMAGE = "FFCE88F1 15000000 6F70656E2E706E67 00 FEED98E1";  // image "open.png"

std::string Option(const char* pszVersion, const char* pszEtatVisible, const std::string& sFin) {
    return std::string(OPTION_DEBUT) + pszVersion + OPTION_MILIEU + pszEtatVisible + OPTION_FIN + sFin;
}

void PrintTo(const CasOption& c, std::ostream* os) { *os << c.pszCas; }

class OptionMenu : public ::testing::TestWithParam<CasOption> {};

TEST_P(OptionMenu, ReadAndWrittenBack) {
    const CasOption& c = GetParam();
    Octets o = Hex(c.sHex);
    COptionMenu opt;
    CKVBuffer b(o.data(), o.size());
    CLecteurKV ar(b);
    try {
        serialise(ar, opt);
    } catch (const CXError& e) {
        FAIL() << "error " << e.nGetErreur();
    }
    EXPECT_EQ(b.nGetPosition(), o.size());
    EXPECT_EQ(b.eGetModeDeserialTString(), eMODE_TSTRING_0) << "the stream's string mode is restored";
    EXPECT_EQ(opt.sGetNom(), L"OPT_1");
    EXPECT_EQ(opt.qwGetID(), 0x0001000000000007u);
    EXPECT_EQ(opt.nGetVersionOption(), c.nVersion);
    EXPECT_EQ(opt.sGetLibelle(), L"&Open");
    EXPECT_EQ(opt.cGetLettreAppel(), L'O');
    EXPECT_EQ(opt.nGetEtat(), c.nEtat);
    EXPECT_EQ(opt.bGetVisible(), c.bVisible);
    EXPECT_EQ(opt.wGetIdentifiant(), 7);
    EXPECT_FALSE(opt.bEstSeparateur());
    EXPECT_TRUE(opt.bEstCochee());
    EXPECT_EQ(opt.GetStyle().nCouleurTexte, 0x000000FFu);
    EXPECT_EQ(opt.GetStyle().nTaillePolice, 90);
    EXPECT_EQ(opt.sGetImage(), c.pszImage);

    // Version 701 has no visibility field: its state 2 cannot be written back.
    if (c.nVersion == 701) return;
    CKVBuffer w;
    CEcrivainKV ec(w);
    serialise(ec, opt);
    EXPECT_EQ(w.Octets(), o) << "written back byte for byte";
}

INSTANTIATE_TEST_SUITE_P(
    Versions, OptionMenu,
    ::testing::Values(
        // 701: no visibility; state 2 is an invisible option of state 0.
        CasOption{"V701", Option("BD020000", "02000000", ""), 701, false, 0, L""},
        CasOption{"V703", Option("BF020000", "04000000 01000000", IMAGE), 703, true, 4, L"open.png"},
        CasOption{"V705",
                  Option("C1020000", "04000000 00000000", std::string(IMAGE) + "04000000"),  // size 4: its own word
                  705, false, 4, L"open.png"},
        CasOption{"V706",
                  Option("C2020000", "00000000 01000000",
                         std::string(IMAGE) + "66000000"  // the word of version 706
                                              "04000000"),  // size 4
                  706, true, 0, L"open.png"},
        CasOption{"V708",
                  Option("C4020000", "00000000 01000000",
                         std::string(IMAGE) + "0C000000"  // size 12: its word and the two words after it
                                              "77000000"  // word of version 707
                                              "88000000"),  // word of version 708
                  708, true, 0, L"open.png"}),
    [](const auto& i) { return std::string(i.param.pszCas); });

// A menu with a plain option and a sub-menu holding a separator.
TEST(DescriptionFenetre, MenuRecord) {
    const Octets o = Hex(
        "C2020000 76010000 01000000"  // menu version 706, declared size 374, a further value 1
        "FFCE88F1 14000000 46696368696572 00 FEED98E1"  // the menu's own option: name "Fichier"
        "1000000000000000"                              //   identifier 0x10
        "BF020000"                                      //   option version 703
        "FFCE88F1 14000000 46696368696572 00 FEED98E1"  //   caption "Fichier"
        "00 00000000 01000000 00"                       //   second string, state 0, visible, third string
        "0100 00000000 00000000 00000000"               //   option identifier 1, not a separator, not checked, value 0
        "01000000 15000000 000000FF 000000FF 00 00000000 00000000"  // standard style
        "00"                                            //   image ""
        "02000000"                                      // two entries
        "00000000"                                      // entry 1: a plain option
        "FFCE88F1 12000000 4F50545F41 00 FEED98E1"      //   name "OPT_A"
        "1100000000000000 BF020000"                     //   identifier 0x11, version 703
        "00 00 00000000 01000000 00"                    //   caption "", second string, state 0, visible, third string
        "0200 00000000 00000000 00000000"               //   option identifier 2
        "01000000 15000000 000000FF 000000FF 00 00000000 00000000"
        "00"                                            //   image ""
        "01000000"                                      // entry 2: a sub-menu
        "BC020000"                                      //   menu version 700, no declared size
        "FFCE88F1 0F000000 534D 00 FEED98E1"            //   its own option: name "SM"
        "1200000000000000 BE020000"                     //   identifier 0x12, version 702
        "00 00 00000000 01000000 00"                    //   caption "", second string, state 0, visible, third string
        "0300 00000000 00000000 00000000"               //   option identifier 3
        "01000000 15000000 000000FF 000000FF 00 00000000 00000000"
        "01000000"                                      //   one entry
        "00000000"                                      //   a plain option: the separator
        "FFCE88F1 14000000 5F7365705F335F 00 FEED98E1"  //     name "_sep_3_"
        "1300000000000000 BE020000"                     //     identifier 0x13, version 702
        "00 00 00000000 01000000 00"                    //     caption "", second string, state 0, visible, third string
        "0400 01000000 00000000 00000000"               //     option identifier 4, a separator
        "01000000 15000000 000000FF 000000FF 00 00000000 00000000");
    CMenu m;
    CKVBuffer b(o.data(), o.size());
    CLecteurKV ar(b);
    ASSERT_NO_THROW(serialise(ar, m));
    EXPECT_EQ(b.nGetPosition(), o.size());
    EXPECT_EQ(m.nGetVersionMenu(), 706u);
    EXPECT_EQ(m.sGetNom(), L"Fichier");
    EXPECT_EQ(m.sGetLibelle(), L"Fichier");
    ASSERT_EQ(m.nGetNbOptions(), 2);
    COptionMenu* a = m.pclGetOption(0);
    EXPECT_EQ(a->pclCastToMenu(), nullptr);
    EXPECT_EQ(a->sGetNom(), L"OPT_A");
    EXPECT_EQ(a->pclGetParent(), &m);
    CMenu* sm = m.pclGetOption(1)->pclCastToMenu();
    ASSERT_NE(sm, nullptr);
    EXPECT_EQ(sm->sGetNom(), L"SM");
    EXPECT_EQ(sm->nGetVersionMenu(), 700u);
    ASSERT_EQ(sm->nGetNbOptions(), 1);
    EXPECT_TRUE(sm->pclGetOption(0)->bEstSeparateur());
    EXPECT_EQ(m.pclChercheID(4), sm->pclGetOption(0));
    EXPECT_EQ(m.pclCherche(L"OPT_A"), a);

    CKVBuffer w;
    CEcrivainKV ec(w);
    serialise(ec, m);
    EXPECT_EQ(w.Octets(), o) << "written back byte for byte";
}

}  // namespace
