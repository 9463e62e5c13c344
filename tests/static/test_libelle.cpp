// Static text: its own record against bytes written by hand, the whole
// control written and read back, its value, and what its view draws.
#include "Graphique.h"
#include "controls/static/CChampLibelle.h"
#include <gtest/gtest.h>
#include <QLabel>

using namespace kvgraphique;
using namespace kvoctets;

namespace {

// Right, middle, word wrap on, no markup.
const Octets LIBELLE = {
    LE32(1),   // version
    LE32(20),  // declared size
    LE32(2),   // horizontal alignment: right
    LE32(1),   // vertical alignment: middle
    LE32(1),   // word wrap
    LE32(0),   // markup
};

const QColor BLEU(0, 0, 255);
const QColor ROUGE(255, 0, 0);
const QColor VERT(0, 255, 0);

// Blue background, red text (colours are 0x00BBGGRR), a large bold font.
void StyleVisible(CChamp& c) {
    STStyleChamp& s = c.Style();
    s.nCouleurFond = 0x00FF0000;
    s.nCouleurTexte = 0x000000FF;
    s.nTaillePolice = 200;
    s.nStylePolice = 0x1;
}

TEST(EnregistrementLibelle, HandWrittenBytesReadAndWrittenBack) {
    CKVBuffer b(LIBELLE.data(), LIBELLE.size());
    STLibelle r;
    xLitEnregistrement(b, r);
    EXPECT_EQ(b.nGetPosition(), LIBELLE.size());
    EXPECT_EQ(r.nVersion, 1u);
    EXPECT_EQ(r.nAlignementH, 2);
    EXPECT_EQ(r.nAlignementV, 1);
    EXPECT_TRUE(r.bRetourLigne);
    EXPECT_FALSE(r.bMiseEnForme);

    CKVBuffer w;
    EcritEnregistrement(w, r);
    EXPECT_EQ(w.Octets(), LIBELLE);
}

TEST(ChampLibelle, WholeControlWrittenAndReadBack) {
    Champ<CChampLibelle> a;
    a->SetName(L"LIB_Total");
    a->SetQWID(0x1122334455667788u);
    a->SetRectInitial(QRect(8, 16, 160, 48));
    a->SetLibelle(L"Total :\r\n\u00E0 payer");
    a->SetGroupes(L"GRP_Infos");
    STStyleChamp& s = a->Style();
    s.nCouleurTexte = 0x000000FF;
    s.nCouleurFond = 0x00FF0000;
    s.sPolice = L"DejaVu Sans";
    s.nTaillePolice = 140;
    s.nStylePolice = 0x5;
    s.nCadre = 1;
    s.nCouleurCadre = 0x0000FF00;
    s.nEpaisseurCadre = 2;
    a->SetAlignement(1, 2);
    a->SetRetourLigne(true);
    a->SetMiseEnForme(true);
    const Octets o = Ecrit(*a);

    // The own record closes the description.
    const Octets propre = {LE32(1), LE32(20), LE32(1), LE32(2), LE32(1), LE32(1)};
    ASSERT_GE(o.size(), propre.size());
    EXPECT_EQ(Octets(o.end() - static_cast<long>(propre.size()), o.end()), propre);

    Champ<CChampLibelle> b;
    EXPECT_EQ(nLit(*b, o), o.size());
    EXPECT_EQ(b->sGetNom(), L"LIB_Total");
    EXPECT_EQ(b->qwGetID(), 0x1122334455667788u);
    EXPECT_EQ(b->rectInitial(), QRect(8, 16, 160, 48));
    EXPECT_EQ(std::wstring(b->pszGetLibelle()), L"Total :\r\n\u00E0 payer");
    EXPECT_EQ(b->sGetGroupes(), L"GRP_Infos");
    const STStyleChamp& t = b->GetStyle();
    EXPECT_EQ(t.nCouleurTexte, 0x000000FFu);
    EXPECT_EQ(t.nCouleurFond, 0x00FF0000u);
    EXPECT_EQ(t.sPolice, L"DejaVu Sans");
    EXPECT_EQ(t.nTaillePolice, 140);
    EXPECT_EQ(t.nStylePolice, 0x5u);
    EXPECT_EQ(t.nCadre, 1);
    EXPECT_EQ(t.nCouleurCadre, 0x0000FF00u);
    EXPECT_EQ(t.nEpaisseurCadre, 2);
    EXPECT_EQ(b->GetLibelle().nAlignementH, 1);
    EXPECT_EQ(b->GetLibelle().nAlignementV, 2);
    EXPECT_TRUE(b->GetLibelle().bRetourLigne);
    EXPECT_TRUE(b->GetLibelle().bMiseEnForme);
    EXPECT_EQ(Ecrit(*b), o) << "every field read is written back";
}

TEST(ChampLibelle, DescriptionCannotMakeItATabStop) {
    Champ<CChampLibelle> a;
    a->SetTabStopDirect(true);
    a->SetTabOrder(2);
    Champ<CChampLibelle> b;
    nLit(*b, Ecrit(*a));
    EXPECT_FALSE(b->bGetTabStop());
    EXPECT_EQ(b->nGetTabOrder(), -1);
    EXPECT_EQ(b.pVue()->focusPolicy(), Qt::NoFocus);
}

TEST(ChampLibelle, ValueIsTheCaptionAndReachesTheView) {
    Champ<CChampLibelle> c;
    c->SetLibelle(L"Avant");
    auto* pLabel = dynamic_cast<QLabel*>(c.pVue());
    ASSERT_NE(pLabel, nullptr);
    EXPECT_EQ(pLabel->text(), QStringLiteral("Avant"));

    CAny v;
    v.SetPSTRX(L"Apr\u00E8s <b>x</b>");
    c->_vSetValeurPourPersistance(v);
    EXPECT_EQ(std::wstring(c->pszGetLibelle()), L"Apr\u00E8s <b>x</b>");
    EXPECT_EQ(pLabel->text(), QStringLiteral(u"Apr\u00E8s <b>x</b>"));
    EXPECT_EQ(pLabel->textFormat(), Qt::PlainText) << "markup is not interpreted";

    CTString s;
    c->_vGetValeurPourPersistance().__nCastToString(s);
    EXPECT_EQ(s, L"Apr\u00E8s <b>x</b>");
}

// ------------------------------------------------------------------ view

TEST(VueLibelle, BackgroundAtTheCornersAndTextInside) {
    Champ<CChampLibelle> c;
    c->SetRectInitial(QRect(0, 0, 160, 50));
    StyleVisible(*c);
    c->SetAlignement(1, 1);
    c->SetLibelle(L"MWM");
    QImage img = c.Capture();
    ASSERT_EQ(img.size(), QSize(160, 50));
    for (QPoint pt : {QPoint(0, 0), QPoint(159, 0), QPoint(0, 49), QPoint(159, 49)})
        EXPECT_TRUE(bProche(img.pixel(pt), BLEU)) << pt.x() << "," << pt.y();
    EXPECT_GT(nPixels(img, ROUGE), 50) << "the caption is drawn in the text colour";
    QRect r = BoiteHorsFond(img, BLEU);
    EXPECT_TRUE(QRect(0, 0, 160, 50).contains(r.adjusted(-1, -1, 1, 1)));
}

// Where the caption lands for each alignment: 0 the first third of the
// axis, 1 around the middle, 2 the last third.
struct CasAlignement {
    int32_t nH, nV;
};

class VueLibelleAlignement : public ::testing::TestWithParam<CasAlignement> {};

void VerifieAxe(int nAlign, int nDebut, int nFin, int nTaille, const char* pszAxe) {
    SCOPED_TRACE(pszAxe);
    switch (nAlign) {
    case 0:
        EXPECT_LT(nFin, nTaille / 3);
        break;
    case 1:
        EXPECT_NEAR((nDebut + nFin) / 2, nTaille / 2, 8);
        break;
    case 2:
        EXPECT_GT(nDebut, 2 * nTaille / 3);
        break;
    default:
        EXPECT_LT(nFin, nTaille / 3) << "an unknown alignment is the first one";
        break;
    }
}

TEST_P(VueLibelleAlignement, CaptionLandsWhereAligned) {
    const CasAlignement& k = GetParam();
    Champ<CChampLibelle> c;
    c->SetRectInitial(QRect(0, 0, 240, 120));
    StyleVisible(*c);
    c->Style().nTaillePolice = 120;
    c->SetAlignement(k.nH, k.nV);
    c->SetLibelle(L"Mi");
    QRect r = BoiteHorsFond(c.Capture(), BLEU);
    ASSERT_FALSE(r.isEmpty());
    VerifieAxe(k.nH, r.left(), r.right(), 240, "horizontal");
    VerifieAxe(k.nV, r.top(), r.bottom(), 120, "vertical");
}

INSTANTIATE_TEST_SUITE_P(Cas, VueLibelleAlignement,
                         ::testing::Values(CasAlignement{0, 0}, CasAlignement{1, 1}, CasAlignement{2, 2},
                                           CasAlignement{2, 0}, CasAlignement{0, 2}, CasAlignement{7, -1}));

TEST(VueLibelle, WordWrapBreaksTheCaptionIntoLines) {
    auto hauteur = [](bool bRetour) {
        Champ<CChampLibelle> c;
        c->SetRectInitial(QRect(0, 0, 90, 200));
        StyleVisible(*c);
        c->Style().nTaillePolice = 100;
        c->SetRetourLigne(bRetour);
        c->SetLibelle(L"MMM MMM MMM");
        return BoiteHorsFond(c.Capture(), BLEU).height();
    };
    int nUneLigne = hauteur(false);
    ASSERT_GT(nUneLigne, 0);
    EXPECT_GT(hauteur(true), 2 * nUneLigne);
}

// Greyed states draw the caption in the platform's greyed colour; the
// others in the style's colour.
struct CasEtat {
    FEN_ETAT eEtat;
    bool bGrise;
};

class VueLibelleEtat : public ::testing::TestWithParam<CasEtat> {};

TEST_P(VueLibelleEtat, GreyedStatesDrawTheCaptionGreyed) {
    Champ<CChampLibelle> c;
    c->SetRectInitial(QRect(0, 0, 160, 50));
    StyleVisible(*c);
    c->SetLibelle(L"MWM");
    c.pVue();
    c->SetState(GetParam().eEtat);
    QImage img = c.Capture();
    EXPECT_FALSE(BoiteHorsFond(img, BLEU).isEmpty()) << "the caption is drawn";
    if (GetParam().bGrise)
        EXPECT_EQ(nPixels(img, ROUGE), 0);
    else
        EXPECT_GT(nPixels(img, ROUGE), 50);
}

INSTANTIATE_TEST_SUITE_P(Etats, VueLibelleEtat,
                         ::testing::Values(CasEtat{eETAT_ACTIF, false}, CasEtat{eETAT_LECTURE_SEULE, false},
                                           CasEtat{eETAT_GRISE_LECTURE, true}, CasEtat{eETAT_GRISE, true},
                                           CasEtat{eETAT_LECTURE_5, false}));

TEST(VueLibelle, StateChangeRepaintsTheCaption) {
    Champ<CChampLibelle> c;
    c->SetRectInitial(QRect(0, 0, 160, 50));
    StyleVisible(*c);
    c->SetLibelle(L"MWM");
    c.pVue();
    c->SetState(eETAT_GRISE);
    c->SetState(eETAT_ACTIF);
    EXPECT_GT(nPixels(c.Capture(), ROUGE), 50);
}

// A line frame in its colour and width around the background; a width no
// control could hold fills the control and nothing more.
struct CasCadre {
    const char* pszNom;
    int32_t nEpaisseur;
    std::vector<std::pair<QPoint, QColor>> points;
};

class VueLibelleCadre : public ::testing::TestWithParam<CasCadre> {};

TEST_P(VueLibelleCadre, LineFrameInItsColourAndWidth) {
    const CasCadre& k = GetParam();
    Champ<CChampLibelle> c;
    c->SetRectInitial(QRect(0, 0, 60, 40));
    StyleVisible(*c);
    c->Style().nCadre = 1;
    c->Style().nCouleurCadre = 0x0000FF00;
    c->Style().nEpaisseurCadre = k.nEpaisseur;
    QImage img = c.Capture();
    for (const auto& [pt, couleur] : k.points)
        EXPECT_TRUE(bProche(img.pixel(pt), couleur)) << pt.x() << "," << pt.y();
}

INSTANTIATE_TEST_SUITE_P(Cas, VueLibelleCadre,
                         ::testing::Values(CasCadre{"width3", 3,
                                                    {{QPoint(0, 0), VERT},
                                                     {QPoint(2, 20), VERT},
                                                     {QPoint(59, 39), VERT},
                                                     {QPoint(57, 10), VERT},
                                                     {QPoint(3, 3), BLEU},
                                                     {QPoint(56, 36), BLEU}}},
                                           CasCadre{"huge", 1000000000,
                                                    {{QPoint(0, 0), VERT},
                                                     {QPoint(30, 20), VERT},
                                                     {QPoint(59, 39), VERT}}}),
                         [](const auto& info) { return std::string(info.param.pszNom); });

} // namespace
