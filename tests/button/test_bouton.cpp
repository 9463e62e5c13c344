// Button: its own record against bytes written by hand, the whole control
// written and read back, its properties, its visual state, its call letter
// and what its view draws.
#include "Graphique.h"
#include "controls/button/CBouton.h"
#include "controls/button/VueBouton.h"
#include "frame/Proprietes.h"
#include "kv/types.h"
#include <gtest/gtest.h>
#include <QPushButton>

using namespace kvgraphique;
using namespace kvoctets;

namespace {

// A validation toggle button that starts pressed, a 5-image picture, no
// background image (3 images declared), an arrow opening MENU_X.
const Octets BOUTON = {
    LE32(1),                                         // 0   version
    LE32(72),                                        // 4   declared size, from this word to the end
    LE32(1),                                         // 8   type: validation
    LE32(1),                                         // 12  toggle
    LE32(1),                                         // 16  pressed
    UTF8_DEBUT(19), 'o', 'k', '.', 'p', 'n', 'g', UTF8_FIN,  // 20  picture file
    LE32(5),                                         // 39  images in the picture
    0x00,                                            // 43  background image: none
    LE32(3),                                         // 44  images in the background
    LE32(1),                                         // 48  arrow mode: arrow area
    UTF8_DEBUT(19), 'M', 'E', 'N', 'U', '_', 'X', UTF8_FIN,  // 52  menu of the arrow
    0x00,                                            // 71  popup window: none
    LE32(1),                                         // 72  option becomes the action
};

TEST(EnregistrementBouton, HandWrittenBytesReadAndWrittenBack) {
    CKVBuffer b(BOUTON.data(), BOUTON.size());
    STBouton r;
    xLitEnregistrement(b, r);
    EXPECT_EQ(b.nGetPosition(), BOUTON.size());
    EXPECT_EQ(r.nVersion, 1u);
    EXPECT_EQ(r.nType, nBOUTON_VALIDATION);
    EXPECT_TRUE(r.bInterrupteur);
    EXPECT_TRUE(r.bEnfonce);
    EXPECT_EQ(r.sImage, L"ok.png");
    EXPECT_EQ(r.nImageEtat, 5);
    EXPECT_EQ(r.sImageFond, L"");
    EXPECT_EQ(r.nImageFondEtat, 3);
    EXPECT_EQ(r.nModeFlecheDD, nFLECHE_ZONE);
    EXPECT_EQ(r.sMenuFlecheDD, L"MENU_X");
    EXPECT_EQ(r.sFenPopupFlecheDD, L"");
    EXPECT_TRUE(r.bOptionPopupDevientAction);

    CKVBuffer w;
    EcritEnregistrement(w, r);
    EXPECT_EQ(w.Octets(), BOUTON);
}

// Values a button cannot show are read as the nearest one it can; a
// version out of range or a size beyond the bytes is an error.
struct CasLecture {
    const char* pszNom;
    size_t nOffset;
    uint32_t nValeur;
    int nErreur;  // 0: read
    int32_t STBouton::*pChamp;
    int32_t nLu;
};

class LectureBouton : public ::testing::TestWithParam<CasLecture> {};

TEST_P(LectureBouton, Field) {
    const CasLecture& k = GetParam();
    Octets o = BOUTON;
    Remplace(o, k.nOffset, k.nValeur);
    CKVBuffer b(o.data(), o.size());
    STBouton r;
    if (k.nErreur) {
        try {
            xLitEnregistrement(b, r);
            ADD_FAILURE() << "read without error";
        } catch (const CXError& e) {
            EXPECT_EQ(e.nGetErreur(), k.nErreur);
        }
        return;
    }
    xLitEnregistrement(b, r);
    EXPECT_EQ(r.*k.pChamp, k.nLu);
}

INSTANTIATE_TEST_SUITE_P(
    Cas, LectureBouton,
    ::testing::Values(CasLecture{"TypeOutOfRange", 8, 7, 0, &STBouton::nType, nBOUTON_NORMAL},
                      CasLecture{"NegativeType", 8, 0xFFFFFFFF, 0, &STBouton::nType, nBOUTON_NORMAL},
                      CasLecture{"NoImage", 39, 0, 0, &STBouton::nImageEtat, 1},
                      CasLecture{"TooManyImages", 39, 9, 0, &STBouton::nImageEtat, 5},
                      CasLecture{"TooManyBackgroundImages", 44, 100, 0, &STBouton::nImageFondEtat, 5},
                      CasLecture{"UnknownArrowMode", 48, 3, 0, &STBouton::nModeFlecheDD, nFLECHE_ZONE},
                      CasLecture{"VersionTooOld", 0, 0, 10014, nullptr, 0},
                      CasLecture{"VersionTooNew", 0, 2, 10084, nullptr, 0},
                      CasLecture{"SizeBeyondTheBytes", 4, 200, 10011, nullptr, 0}),
    [](const auto& i) { return std::string(i.param.pszNom); });

TEST(Bouton, WholeControlWrittenAndReadBack) {
    Champ<CBouton> a;
    a->SetName(L"BTN_Valider");
    a->SetQWID(0x0102030405060708u);
    a->SetRectInitial(QRect(4, 8, 100, 28));
    a->SetLibelle(L"&Valider");
    a->SetTypeBouton(nBOUTON_ANNULATION);
    a->SetInterrupteur(true);
    a->SetEnfonce(true);
    a->SetImage(L"images/ok.png");
    a->SetImageEtat(4);
    a->SetImageFond(L"fond.png");
    a->SetImageFondEtat(2);
    a->SetModeFlecheDD(nFLECHE_ZONE);
    a->SetNomFenPopupSiClicFlecheDD(L"FEN_Popup");
    a->SetOptionPopupSelDevientAction(true);
    const Octets o = Ecrit(*a);

    Champ<CBouton> b;
    EXPECT_EQ(nLit(*b, o), o.size());
    EXPECT_EQ(b->sGetNom(), L"BTN_Valider");
    EXPECT_EQ(b->rectInitial(), QRect(4, 8, 100, 28));
    EXPECT_STREQ(b->pszGetLibelle(), L"&Valider");
    EXPECT_FALSE(b->bGetPrendFocus()) << "a type-3 button does not take the focus";
    const STBouton& r = b->GetBouton();
    EXPECT_EQ(r.nType, nBOUTON_ANNULATION);
    EXPECT_TRUE(r.bInterrupteur);
    EXPECT_TRUE(r.bEnfonce);
    EXPECT_EQ(b->eGetEtatBtn(), eBTN_ENFONCE) << "a button read pressed is drawn pressed";
    EXPECT_EQ(r.sImage, L"images/ok.png");
    EXPECT_EQ(r.nImageEtat, 4);
    EXPECT_EQ(r.sImageFond, L"fond.png");
    EXPECT_EQ(r.nImageFondEtat, 2);
    EXPECT_EQ(r.nModeFlecheDD, nFLECHE_ZONE);
    EXPECT_EQ(r.sFenPopupFlecheDD, L"FEN_Popup");
    EXPECT_TRUE(r.bOptionPopupDevientAction);
    EXPECT_EQ(Ecrit(*b), o) << "every field read is written back";
}

// ------------------------------------------------------------------ properties

CAny Entier(int n) {
    CAny v;
    v.SetI4(n);
    return v;
}

CAny Texte(const wchar_t* psz) {
    CAny v;
    v.SetPSTRX(psz);
    return v;
}

// Writing TypeBouton to a button of type 4: an integer 0..4 is taken (and
// decides the focus on click), others leave the type, a value that is not a
// number counts as 0.
struct CasType {
    const char* pszNom;
    CAny valeur;
    int32_t nType;
};

class TypeBouton : public ::testing::TestWithParam<CasType> {};

TEST_P(TypeBouton, Written) {
    Champ<CBouton> b;
    b->SetTypeBouton(nBOUTON_AIDE);
    CXError err;
    EXPECT_TRUE(bSetProprieteObjet(b.p, PROP_TypeBouton, GetParam().valeur, &err)) << err.nGetErreur();
    CAny lu;
    ASSERT_TRUE(bGetProprieteObjet(b.p, PROP_TypeBouton, &lu, &err));
    int n = -1;
    EXPECT_EQ(lu.nGetINT(n), 0);
    EXPECT_EQ(n, GetParam().nType);
    EXPECT_EQ(b->bGetPrendFocus(), n <= nBOUTON_VALIDATION);
}

INSTANTIATE_TEST_SUITE_P(Cas, TypeBouton,
                         ::testing::Values(CasType{"Seven", Entier(7), nBOUTON_AIDE},
                                           CasType{"MinusOne", Entier(-1), nBOUTON_AIDE},
                                           CasType{"Validation", Entier(1), nBOUTON_VALIDATION},
                                           CasType{"Interrupt", Entier(2), nBOUTON_INTERRUPTION},
                                           CasType{"NotANumber", Texte(L"abc"), nBOUTON_NORMAL}),
                         [](const auto& i) { return std::string(i.param.pszNom); });

TEST(ProprietesBouton, ValueDoesNotExistOnAButton) {
    Champ<CBouton> b;
    CXError err;
    CAny v;
    EXPECT_FALSE(bGetProprieteObjet(b.p, PROP_Valeur, &v, &err));
    EXPECT_EQ(err.nGetErreur(), 10021);
    EXPECT_FALSE(bSetProprieteObjet(b.p, PROP_Valeur, Texte(L"x"), &err));
    EXPECT_EQ(err.nGetErreur(), 10020);
    for (int p : {PROP_Libelle, PROP_Image, PROP_ImageEtat, PROP_ImageFond, PROP_ImageFondEtat, PROP_Enfonce, PROP_TypeBouton})
        EXPECT_TRUE(bPropAvailableEx(ID_BOUTON, p, true, true, 0)) << pszGetNomPropriete(p, 0);
    EXPECT_FALSE(bPropAvailableEx(ID_BOUTON, PROP_Valeur, true, true, 0));
}

TEST(ProprietesBouton, PressedAndImagesReadBackAsWritten) {
    Champ<CBouton> b;
    b->SetInterrupteur(true);
    CXError err;
    ASSERT_TRUE(bSetProprieteObjet(b.p, PROP_Enfonce, Entier(1), &err));
    EXPECT_TRUE(b->bGetEnfonce());
    EXPECT_EQ(b->eGetEtatBtn(), eBTN_ENFONCE);
    CAny v;
    ASSERT_TRUE(bGetProprieteObjet(b.p, PROP_Enfonce, &v, &err));
    bool bLu = false;
    EXPECT_EQ(v.nGetBOOL(bLu), 0);
    EXPECT_TRUE(bLu);

    // Strips hold 1 to 5 images.
    ASSERT_TRUE(bSetProprieteObjet(b.p, PROP_ImageEtat, Entier(9), &err));
    EXPECT_EQ(b->GetBouton().nImageEtat, 5);
    ASSERT_TRUE(bSetProprieteObjet(b.p, PROP_ImageFondEtat, Entier(0), &err));
    EXPECT_EQ(b->GetBouton().nImageFondEtat, 1);
    ASSERT_TRUE(bSetProprieteObjet(b.p, PROP_Image, Texte(L"a.png"), &err));
    ASSERT_TRUE(bGetProprieteObjet(b.p, PROP_Image, &v, &err));
    CTString s;
    v.__nCastToString(s);
    EXPECT_EQ(s, L"a.png");
}

// ------------------------------------------------------------------ visual state

// A button in a looper or column container asks it; none can be reached,
// so only a pressed toggle button is drawn pressed. Other buttons draw the
// state they hold.
struct CasEtatBtn {
    const char* pszNom;
    bool bDansZR, bInterrupteur, bEnfonce;
    BOUTON_ETAT eEtat;
};

class EtatBouton : public ::testing::TestWithParam<CasEtatBtn> {};

TEST_P(EtatBouton, Computed) {
    const CasEtatBtn& k = GetParam();
    Champ<CBouton> b;
    b->SetFlag(0, FLAG0_DANS_ZR_COLONNE, k.bDansZR);
    b->SetInterrupteur(k.bInterrupteur);
    b->SetEnfonce(k.bEnfonce);
    EXPECT_EQ(b->eGetEtatBtn(), k.eEtat);
}

INSTANTIATE_TEST_SUITE_P(Cas, EtatBouton,
                         ::testing::Values(CasEtatBtn{"PressedOutside", false, false, true, eBTN_ENFONCE},
                                           CasEtatBtn{"NormalOutside", false, true, false, eBTN_NORMAL},
                                           CasEtatBtn{"PressedToggleInLooper", true, true, true, eBTN_ENFONCE},
                                           CasEtatBtn{"PressedNonToggleInLooper", true, false, true, eBTN_NORMAL},
                                           CasEtatBtn{"ToggleInLooper", true, true, false, eBTN_NORMAL}),
                         [](const auto& i) { return std::string(i.param.pszNom); });

// ------------------------------------------------------------------ call letter

struct CasLettre {
    const wchar_t* pszLibelle;
    uint32_t nLettreDescription;
    wchar_t cLettre;
};

class LettreAppel : public ::testing::TestWithParam<CasLettre> {};

TEST_P(LettreAppel, FromTheCaption) {
    Champ<CBouton> b;
    b->SetLibelle(GetParam().pszLibelle);
    b->SetLettreAppel(GetParam().nLettreDescription);
    EXPECT_EQ(b->cGetLettreAppel(), GetParam().cLettre);
}

INSTANTIATE_TEST_SUITE_P(Cas, LettreAppel,
                         ::testing::Values(CasLettre{L"&OK", 0, L'O'}, CasLettre{L"Sa&ve", 0, L'v'},
                                           CasLettre{L"A&&B", 0, 0},        // a literal '&'
                                           CasLettre{L"&&x&y", 0, L'y'},
                                           CasLettre{L"End&", 0, 0},
                                           CasLettre{L"&\u00C9t\u00E9", 0, L'\u00C9'},
                                           CasLettre{L"Go", L'g', L'g'},    // the description's letter
                                           CasLettre{L"&Go", L'x', L'G'},   // the caption's comes first
                                           CasLettre{L"Go", 13, 0}));       // a key code is no letter

TEST(LettreAppel, ComparedWithoutCase) {
    Champ<CBouton> b;
    b->SetLibelle(L"&\u00E9t\u00E9");
    EXPECT_TRUE(b->vbEstLettreAppel(L'\u00C9'));
    EXPECT_TRUE(b->vbEstLettreAppel(L'\u00E9'));
    EXPECT_FALSE(b->vbEstLettreAppel(L'e'));
    EXPECT_FALSE(b->vbEstLettreAppel(0));
}

// ------------------------------------------------------------------ view

TEST(VueBouton, CaptionAndFocusPolicyReachTheWidget) {
    Champ<CBouton> b;
    b->SetRectInitial(QRect(0, 0, 100, 30));
    b->SetLibelle(L"&OK");
    b->SetTabStopDirect(false);
    auto* w = dynamic_cast<QPushButton*>(b.pVue());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->text(), QStringLiteral("&OK"));
    EXPECT_EQ(w->focusPolicy(), Qt::ClickFocus) << "type 0 out of the tab order: the focus on click only";
    EXPECT_EQ(w->shortcut(), QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key_O)));
    b->SetTypeBouton(nBOUTON_AIDE);
    EXPECT_EQ(w->focusPolicy(), Qt::NoFocus);
    b->SetLibelle(L"Help");
    EXPECT_TRUE(w->shortcut().isEmpty());
}

// The picture drawn is the image of the state in its strip. Each image of
// the fixture's 5-image strip has a colour of its own (normal blue, hover
// cyan, current green, greyed grey, pressed red): the colour found in the
// capture says which image was drawn.
const QColor COULEURS_ETATS[] = {QColor(0, 0, 255), QColor(0, 255, 255), QColor(0, 200, 0), QColor(128, 128, 128),
                                 QColor(255, 0, 0)};

struct CasImage {
    const char* pszNom;
    bool bEnfonce, bGrise;
    int nEtatImage;
};

class VueBoutonImage : public ::testing::TestWithParam<CasImage> {};

TEST_P(VueBoutonImage, ImageOfTheState) {
    const CasImage& k = GetParam();
    Champ<CBouton> b;
    b->SetRectInitial(QRect(0, 0, 120, 40));
    b->SetTabStopDirect(false);
    b->SetTypeBouton(nBOUTON_AIDE);  // never focused: the normal image is the first
    b->SetImage(QString(KV_FIXTURES_DIR "/button/etats.png").toStdWString().c_str());
    b->SetImageEtat(5);
    b->SetInterrupteur(true);
    b->SetEnfonce(k.bEnfonce);
    b.pVue();
    if (k.bGrise) b->SetState(eETAT_GRISE);
    QImage img = b.Capture();
    for (int i = 0; i < 5; ++i) {
        if (i == eBTN_SURVOL || i == eBTN_COURANT) continue;  // not drawn in these cases
        int n = nPixels(img, COULEURS_ETATS[i], 30);
        if (i == k.nEtatImage)
            EXPECT_GT(n, 100) << "image " << i;
        else
            EXPECT_LT(n, 20) << "image " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Cas, VueBoutonImage,
                         ::testing::Values(CasImage{"Normal", false, false, eBTN_NORMAL},
                                           CasImage{"Pressed", true, false, eBTN_ENFONCE},
                                           CasImage{"Greyed", false, true, eBTN_GRISE}),
                         [](const auto& i) { return std::string(i.param.pszNom); });

TEST(VueBouton, PressedAndGreyedAreDrawnSo) {
    auto capture = [](bool bEnfonce, FEN_ETAT eEtat) {
        Champ<CBouton> b;
        b->SetRectInitial(QRect(0, 0, 120, 40));
        b->Style().nCouleurTexte = 0x000000FF;  // red
        b->Style().nTaillePolice = 160;
        b->SetLibelle(L"MWM");
        b->SetInterrupteur(true);
        b->SetEnfonce(bEnfonce);
        b.pVue();
        b->SetState(eEtat);
        return b.Capture();
    };
    QImage normal = capture(false, eETAT_ACTIF);
    EXPECT_GT(nPixels(normal, QColor(255, 0, 0)), 30) << "the caption in the style's colour";
    EXPECT_NE(capture(true, eETAT_ACTIF), normal) << "a pressed toggle button is drawn pressed";
    EXPECT_EQ(nPixels(capture(false, eETAT_GRISE), QColor(255, 0, 0)), 0) << "a greyed caption is drawn greyed";
}

} // namespace
