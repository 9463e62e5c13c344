// Image: its own record against bytes written by hand, the whole control
// written and read back, its value and file path, and what its view draws
// in each display mode and when the file cannot be drawn.
#include "Binaires.h"
#include "Graphique.h"
#include "controls/image/CChampImage.h"
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QPainter>

using namespace kvgraphique;
using namespace kvoctets;

namespace {

// "logo.png", homothetic, transparent background.
const Octets IMAGE = {
    LE32(1),         // version
    LE32(33),        // declared size
    UTF8_DEBUT(21),  // image name
    'l', 'o', 'g', 'o', '.', 'p', 'n', 'g',
    UTF8_FIN,
    LE32(2),         // display mode: homothetic
    LE32(1),         // transparent background
};

const QColor ROUGE(255, 0, 0);
const QColor BLEU(0, 0, 255);
const QColor VERT(0, 255, 0);
const uint32_t nVERT = 0x0000FF00;  // 0x00BBGGRR

// A folder of image files: 4x4 red, 4x4 blue, 4x4 with its top-left 2x2
// red and the rest blue, a file that is not an image, and a sub-folder.
struct Images {
    QString sRep = QString::fromStdString(kvtest::RepertoireTemporaire());
    Images() {
        Ecrit("rouge.png", [](QPainter& p) { p.fillRect(0, 0, 4, 4, ROUGE); });
        Ecrit("bleu.png", [](QPainter& p) { p.fillRect(0, 0, 4, 4, BLEU); });
        Ecrit("deux.png", [](QPainter& p) {
            p.fillRect(0, 0, 4, 4, BLEU);
            p.fillRect(0, 0, 2, 2, ROUGE);
        });
        QFile f(sRep + "/faux.png");
        f.open(QIODevice::WriteOnly);
        f.write("\x89PNG\r\n\x1a\n not an image at all");
        QDir(sRep).mkdir("sous.png");
        CChampImage::s_SetRepertoireImages(sRep.toStdWString());
    }
    ~Images() { CChampImage::s_SetRepertoireImages(CTString()); }
    template <class F>
    void Ecrit(const char* pszNom, F dessin) const {
        QImage img(4, 4, QImage::Format_RGB32);
        QPainter p(&img);
        dessin(p);
        p.end();
        ASSERT_TRUE(img.save(sRep + "/" + pszNom, "PNG"));
    }
    std::wstring sChemin(const char* pszNom) const { return (sRep + "/" + pszNom).toStdWString(); }
};

TEST(EnregistrementImage, HandWrittenBytesReadAndWrittenBack) {
    CKVBuffer b(IMAGE.data(), IMAGE.size());
    STImage r;
    xLitEnregistrement(b, r);
    EXPECT_EQ(b.nGetPosition(), IMAGE.size());
    EXPECT_EQ(r.nVersion, 1u);
    EXPECT_EQ(r.sImage, L"logo.png");
    EXPECT_EQ(r.nMode, 2);
    EXPECT_TRUE(r.bFondTransparent);

    CKVBuffer w;
    EcritEnregistrement(w, r);
    EXPECT_EQ(w.Octets(), IMAGE);
}

TEST(ChampImage, WholeControlWrittenAndReadBack) {
    Champ<CChampImage> a;
    a->SetName(L"IMG_Logo");
    a->SetQWID(0x0102030405060708u);
    a->SetRectInitial(QRect(4, 4, 64, 32));
    a->Style().nCouleurFond = 0x00C0C0C0;
    a->Style().nCadre = 2;
    a->SetImage(L"logo.png");
    a->SetMode(2);
    a->SetFondTransparent(true);
    const Octets o = Ecrit(*a);
    ASSERT_GE(o.size(), IMAGE.size());
    EXPECT_EQ(Octets(o.end() - static_cast<long>(IMAGE.size()), o.end()), IMAGE) << "the own record closes the description";

    Champ<CChampImage> b;
    EXPECT_EQ(nLit(*b, o), o.size());
    EXPECT_EQ(b->sGetNom(), L"IMG_Logo");
    EXPECT_EQ(b->qwGetID(), 0x0102030405060708u);
    EXPECT_EQ(b->rectInitial(), QRect(4, 4, 64, 32));
    EXPECT_EQ(b->GetStyle().nCouleurFond, 0x00C0C0C0u);
    EXPECT_EQ(b->GetStyle().nCadre, 2);
    EXPECT_EQ(b->GetImage().sImage, L"logo.png");
    EXPECT_EQ(b->GetImage().nMode, 2);
    EXPECT_TRUE(b->GetImage().bFondTransparent);
    EXPECT_EQ(Ecrit(*b), o) << "every field read is written back";
}

TEST(ChampImage, ValueIsTheImageName) {
    Champ<CChampImage> c;
    CAny v;
    v.SetPSTRX(L"images/fond.png");
    c->_vSetValeurPourPersistance(v);
    EXPECT_EQ(c->GetImage().sImage, L"images/fond.png");
    CTString s;
    c->_vGetValeurPourPersistance().__nCastToString(s);
    EXPECT_EQ(s, L"images/fond.png");
}

// The file an image name designates, with and without an image folder.
struct CasChemin {
    const wchar_t* pszRepertoire;
    const wchar_t* pszNom;
    const wchar_t* pszChemin;
};

class ChampImageChemin : public ::testing::TestWithParam<CasChemin> {};

TEST_P(ChampImageChemin, RelativeNamesAreTakenFromTheImageFolder) {
    const CasChemin& k = GetParam();
    CChampImage::s_SetRepertoireImages(k.pszRepertoire);
    Champ<CChampImage> c;
    c->SetImage(k.pszNom);
    EXPECT_EQ(c->sGetCheminImage(), k.pszChemin);
    CChampImage::s_SetRepertoireImages(CTString());
}

INSTANTIATE_TEST_SUITE_P(Cas, ChampImageChemin,
                         ::testing::Values(CasChemin{L"/projet", L"img/a.png", L"/projet/img/a.png"},
                                           CasChemin{L"/projet/", L"a.png", L"/projet/a.png"},
                                           CasChemin{L"/projet", L"/ailleurs/b.png", L"/ailleurs/b.png"},
                                           CasChemin{L"", L"a.png", L"a.png"},
                                           CasChemin{L"/projet", L"", L""}));

// ------------------------------------------------------------------ view

TEST(VueImage, RedImageStretchedHasRedAtItsCentre) {
    Images f;
    Champ<CChampImage> c;
    c->SetRectInitial(QRect(0, 0, 40, 40));
    c->SetImage(L"rouge.png");
    c->SetMode(nIMAGE_ETIRE);
    QImage img = c.Capture();
    ASSERT_EQ(img.size(), QSize(40, 40));
    EXPECT_TRUE(bProche(img.pixel(20, 20), ROUGE));
    EXPECT_TRUE(bProche(img.pixel(1, 1), ROUGE));
    EXPECT_TRUE(bProche(img.pixel(38, 38), ROUGE));
}

// The two-colour image (red top-left quarter, blue elsewhere) over a green
// background, in each display mode.
struct CasMode {
    const char* pszNom;
    int32_t nMode;
    QSize taille;
    std::vector<std::pair<QPoint, QColor>> points;
};

class VueImageMode : public ::testing::TestWithParam<CasMode> {};

TEST_P(VueImageMode, ImageDrawnInTheDisplayMode) {
    const CasMode& k = GetParam();
    Images f;
    Champ<CChampImage> c;
    c->SetRectInitial(QRect(QPoint(0, 0), k.taille));
    c->Style().nCouleurFond = nVERT;
    c->SetImage(L"deux.png");
    c->SetMode(k.nMode);
    QImage img = c.Capture();
    for (const auto& [pt, couleur] : k.points)
        EXPECT_TRUE(bProche(img.pixel(pt), couleur)) << pt.x() << "," << pt.y() << ": " << std::hex << img.pixel(pt);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, VueImageMode,
    ::testing::Values(
        CasMode{"centred", nIMAGE_CENTRE, {40, 40}, {{{18, 18}, ROUGE}, {{21, 21}, BLEU}, {{2, 2}, VERT}, {{30, 20}, VERT}}},
        CasMode{"stretched", nIMAGE_ETIRE, {40, 40}, {{{5, 5}, ROUGE}, {{30, 30}, BLEU}, {{35, 5}, BLEU}, {{5, 35}, BLEU}}},
        CasMode{"homothetic", nIMAGE_HOMOTHETIQUE, {40, 20},
                {{{12, 2}, ROUGE}, {{25, 15}, BLEU}, {{2, 10}, VERT}, {{37, 10}, VERT}}},
        CasMode{"tiled", nIMAGE_MOSAIQUE, {40, 40},
                {{{0, 0}, ROUGE}, {{2, 2}, BLEU}, {{4, 4}, ROUGE}, {{37, 37}, ROUGE}, {{39, 39}, BLEU}}},
        CasMode{"top_left", nIMAGE_HAUT_GAUCHE, {40, 40}, {{{0, 0}, ROUGE}, {{3, 3}, BLEU}, {{10, 10}, VERT}}},
        CasMode{"unknown_is_centred", 9, {40, 40}, {{{18, 18}, ROUGE}, {{2, 2}, VERT}}}),
    [](const auto& info) { return std::string(info.param.pszNom); });

// Names that give nothing to draw leave the background alone.
class VueImageSansImage : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(VueImageSansImage, OnlyTheBackgroundIsDrawn) {
    Images f;
    Champ<CChampImage> c;
    c->SetRectInitial(QRect(0, 0, 40, 40));
    c->Style().nCouleurFond = nVERT;
    c->SetImage(GetParam());
    c->SetMode(nIMAGE_ETIRE);
    QImage img = c.Capture();
    EXPECT_EQ(nPixels(img, VERT, 0), 40 * 40);
}

INSTANTIATE_TEST_SUITE_P(Noms, VueImageSansImage,
                         ::testing::Values(L"absent.png", L"faux.png", L"sous.png", L""));

TEST(VueImage, TransparentBackgroundLeavesTheStyleColourOut) {
    Images f;
    Champ<CChampImage> c;
    c->SetRectInitial(QRect(0, 0, 40, 40));
    c->Style().nCouleurFond = nVERT;
    c->SetFondTransparent(true);
    c->SetImage(L"absent.png");
    EXPECT_EQ(nPixels(c.Capture(), VERT, 30), 0);
    c->SetImage(L"rouge.png");
    c->SetMode(nIMAGE_ETIRE);
    EXPECT_TRUE(bProche(c.Capture().pixel(20, 20), ROUGE));
}

// The file is read when the name is given and again only when it changes.
TEST(VueImage, ReadOnceAndAgainWhenTheNameChanges) {
    Images f;
    Champ<CChampImage> c;
    c->SetRectInitial(QRect(0, 0, 40, 40));
    c->SetMode(nIMAGE_ETIRE);
    f.Ecrit("change.png", [](QPainter& p) { p.fillRect(0, 0, 4, 4, ROUGE); });
    c->SetImage(f.sChemin("change.png").c_str());
    EXPECT_TRUE(bProche(c.Capture().pixel(20, 20), ROUGE));

    f.Ecrit("change.png", [](QPainter& p) { p.fillRect(0, 0, 4, 4, BLEU); });
    c->vMAJVue();
    c->SetImage(f.sChemin("change.png").c_str());
    EXPECT_TRUE(bProche(c.Capture().pixel(20, 20), ROUGE)) << "same name: not read again";

    c->SetImage(f.sChemin("bleu.png").c_str());
    EXPECT_TRUE(bProche(c.Capture().pixel(20, 20), BLEU));
    c->SetImage(f.sChemin("absent.png").c_str());
    EXPECT_FALSE(bProche(c.Capture().pixel(20, 20), BLEU)) << "a missing file drops the previous image";
}

} // namespace
