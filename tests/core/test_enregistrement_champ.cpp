// The common control record against bytes written by hand from its layout:
// the style record, the common window record, then the control's fields,
// with every version gate met at least once. The newest record is also
// written back and compared byte for byte.
#include "Octets.h"
#include "controls/core/Archive.h"
#include "controls/core/CChamp.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

using namespace kvoctets;

namespace {

// A control of our own: the kind is chosen by the test, and the fields the
// base keeps protected are visible.
class CChampTest : public CChamp {
public:
    int dwGetId() const override { return ID_SAISIE; }
    uint32_t nVersion() const { return m_nVersionChamp; }
    uint32_t nVersionCommun() const { return m_nVersionCommun; }
    const CTString& sTexteLien() const { return m_sTexteLien; }
    bool bDansVoletExterne() const { return m_bDansVoletExterne; }
    const CTString& sLienObjetSource() const { return m_sLienObjetSource; }
    const CTString& sChaine5() const { return m_sChaine5; }
    const CTString& sMenuClicDroit() const { return m_sMenuClicDroit; }
    const CTString& sTitreNote() const { return m_sTitreNote; }
    const CTString& sTexteNote() const { return m_sTexteNote; }
    const CTString& sBulle() const { return m_sBulle; }
    const CTString& sValeurDefaut() const { return m_sValeurDefautLue; }
};

struct Champ {
    CChampTest* p = new CChampTest();
    ~Champ() { p->nRelease(); }
    CChampTest* operator->() { return p; }
    CChampTest& operator*() { return *p; }
};

std::wstring TexteInitial(const CChamp& c) {
    CTString s;
    c.clGetValeurInitiale().__nCastToString(s);
    return s;
}

// ------------------------------------------------------------------ pieces

// Style record with every field at its default and no font name.
const Octets STYLE_DEFAUT = {
    LE32(1),            // style version
    LE32(45),           // declared size
    LE32(0xFF000000),   // text colour: automatic
    LE32(0xFF000000),   // background colour: automatic
    0x00,               // font: empty
    LE32(0),            // font size
    LE32(0),            // font style
    LE32(0),            // frame
    LE32(0xFF000000),   // frame colour
    LE32(1),            // frame width
    LE32(0),            // caption width
    LE32(0),            // caption alignment
    LE32(0),            // scroll bar style
};

// Version 604: tab fields without "takes focus", groups and z-order, no
// anchoring rates, no memorise flag, no template name.
const Octets CHAMP_604 = Concat({
    {LE32(604),         // control record version
     LE32(157)},        // declared size
    STYLE_DEFAUT,
    {LE32(602),         // common window record 602: no declared size, ends after the note title
     'X', 0x00,         // name (8-bit)
     LE64(7),           // identifier
     LE32(1), LE32(2), LE32(30), LE32(12),    // initial x, y, width, height
     LE32(0), LE32(0), LE32(100), LE32(50),   // minimum and maximum width, height
     LE32(0),           // initially visible: no
     0x00,              // string
     0x00,              // right-click menu
     0x00,              // context menu
     LE32(7),           // state 7: not a valid initial state
     'A', 'i', 'd', 'e', 0x00,  // help title
     0x00,              // help text
     0x00},             // note title
    {LE32(-3), LE32(4), // origin in parent
     0x00,              // caption
     LE32(1),           // plane
     0x00,              // initial value
     LE16(0xF123),      // auto-extension flags: the top 4 bits are not kept
     0x00,              // database link
     LE32(1),           // tab stop
     LE32(0x41),        // call letter
     LE32(0),           // in pane but external
     LE32(-7),          // tab order below -1
     'G', '1', 0x00,    // groups
     LE32(9)},          // z-order
});

// The body of a version-606 record (after the declared size), whose tail the
// cases choose. Common window record 603: no declared size, with the 603 texts.
const Octets CORPS_606 = Concat({
    STYLE_DEFAUT,
    {LE32(603),         // common window record version
     'S', 0x00,         // name
     LE64(0x606),       // identifier
     LE32(0), LE32(0), LE32(10), LE32(10), LE32(0), LE32(0), LE32(0), LE32(0), LE32(1),  // geometry, visible
     0x00, 0x00, 0x00,  // string, right-click menu, context menu
     LE32(0),           // state
     0x00, 0x00, 0x00,  // help title, help text, note title
     0x00,              // note text
     0x00,              // tooltip
     'd', 'f', 0x00,    // value read with the default reader
     0x00},             // status bar message
    {LE32(0), LE32(0),  // origin
     0x00,              // caption
     LE32(0),           // plane
     0x00,              // initial value
     LE16(0),           // auto-extension
     0x00,              // link
     LE32(1), LE32(0), LE32(0), LE32(0), LE32(0),  // tab stop, takes focus, call letter, external, tab order
     0x00,              // groups
     LE32(0),           // z-order
     LE32(0x11),        // first int read (kept as the second field)
     LE32(0x22)},       // second int read (kept as the first field)
});

// Version 611: common window record 606 with 8-bit strings, a formula link,
// anchoring rates, memorise flag, the ignored word and the template name.
const Octets CHAMP_611 = Concat({
    {LE32(611),         // control record version
     LE32(254)},        // declared size
    STYLE_DEFAUT,
    {LE32(606),         // common window record version
     LE32(72),          // its declared size
     'L', 'I', 'B', '_', 'T', 'i', 't', 'r', 'e', 0x00,  // name
     LE64(42),          // identifier
     LE32(8), LE32(16), LE32(120), LE32(20), LE32(10), LE32(10), LE32(500), LE32(40), LE32(1),
     0x00, 0x00, 0x00,  // string, right-click menu, context menu
     LE32(4),           // state: greyed
     0x00, 0x00, 0x00,  // help title, help text, note title
     0x00, 0x00, 0x00, 0x00},  // note text, tooltip, default value, status bar message
    {LE32(0), LE32(0),  // origin
     'P', 'r', 0xE9, 'n', 'o', 'm', 0x00,  // caption "Prénom" in code page 1252
     LE32(0),           // plane
     0x00,              // initial value
     LE16(0),           // auto-extension
     '#', 'F', 'O', 'R', 'M', 'U', 'L', 'E', '#', '=', 0x00,  // link: a formula follows
     'L', 'I', 'E', 'N', 0x00,  // link name
     LE32(20),          // formula block: length from this word
     LE32(12), LE32(1), LE32(1),  // block header: size, version, minimum reader version
     'A', '+', 'B', 0x00,  // formula text
     LE32(1),           // tab stop
     LE32(1),           // takes focus on click
     LE32(0),           // call letter
     LE32(1),           // in pane but external
     LE32(0),           // tab order
     0x00,              // groups
     LE32(2),           // z-order
     LE32(0), LE32(0),  // the two 606 ints
     LE32(1), LE32(2), LE32(3), LE32(4),  // anchoring rates: right, width, bottom, height
     LE32(0),           // memorise value
     LE32(0xDEADBEEF),  // 610 word, ignored
     'M', 'D', 'L', '_', 'F', 'i', 'c', 'h', 'e', 0x00},  // base template control
});
constexpr size_t nOFFSET_VERSION_FORMULE_611 = 179;

// Version 617, every string marked UTF-8 as our writer produces them, a plane
// other than 0 with secondary planes, and panes.
const Octets CHAMP_617 = Concat({
    {LE32(617),         // control record version
     LE32(450)},        // declared size
    {LE32(1),           // style version
     LE32(62),          // declared size
     LE32(0x000000FF),  // text colour
     LE32(0xFE000000),  // background colour: transparent
     UTF8_DEBUT(18), 'A', 'r', 'i', 'a', 'l', UTF8_FIN,  // font
     LE32(100),         // font size (tenths of a point)
     LE32(5),           // font style: bold, underline
     LE32(1),           // frame: line
     LE32(0x00808080),  // frame colour
     LE32(2),           // frame width
     LE32(80),          // caption width
     LE32(1),           // caption alignment
     LE32(3)},          // scroll bar style
    {LE32(606),         // common window record version
     LE32(151),         // its declared size
     UTF8_DEBUT(20), 'E', 'D', 'T', '_', 'N', 'o', 'm', UTF8_FIN,  // name
     LE64(0x0123456789ABCDEF),  // identifier
     LE32(10), LE32(20), LE32(200), LE32(24), LE32(50), LE32(20), LE32(400), LE32(48), LE32(1),
     0x00,              // string
     0x00,              // right-click menu
     UTF8_DEBUT(21), 'M', 'E', 'N', 'U', '_', 'C', 't', 'x', UTF8_FIN,  // context menu
     LE32(1),           // state: read-only
     UTF8_DEBUT(18), 'T', 'i', 't', 'r', 'e', UTF8_FIN,  // help title
     0x00,              // help text
     0x00,              // note title
     0x00,              // note text
     UTF8_DEBUT(18), 'B', 'u', 'l', 'l', 'e', UTF8_FIN,  // tooltip
     0x00,              // default value
     UTF8_DEBUT(16), 'M', 's', 'g', UTF8_FIN},  // status bar message
    {LE32(5), LE32(6),  // origin in parent
     UTF8_DEBUT(16), 'N', 0xC3, 0xA9, UTF8_FIN,  // caption "Né"
     LE32(2),           // plane
     UTF8_DEBUT(16), 'a', 'b', 'c', UTF8_FIN,  // initial value
     LE16(0x0012),      // auto-extension
     UTF8_DEBUT(23), 'C', 'L', 'I', 'E', 'N', 'T', '.', 'N', 'O', 'M', UTF8_FIN,  // link
     LE32(1),           // tab stop
     LE32(0),           // takes focus on click: no
     LE32(0x4E),        // call letter 'N'
     LE32(0),           // in pane but external
     LE32(3),           // tab order
     UTF8_DEBUT(24), 'G', 'R', 'P', '_', 'A', ',', 'G', 'R', 'P', '_', 'B', UTF8_FIN,  // groups
     LE32(7),           // z-order
     LE32(0x11), LE32(0x22),  // the two 606 ints
     LE32(100), LE32(0), LE32(50), LE32(1000),  // anchoring rates
     LE32(1),           // memorise value
     LE32(0),           // 610 word
     UTF8_DEBUT(21), 'M', 'D', 'L', '_', 'B', 'a', 's', 'e', UTF8_FIN,  // base template control
     UTF8_DEBUT(19), 'C', 'l', 'i', 'e', 'n', 't', UTF8_FIN,  // data-source object
     LE64(0x0000000500000003),  // automatic-feature options
     LE32(0),           // no conditional formatting
     LE32(2), LE32(3), LE32(5),  // secondary planes: count, planes
     LE32(2), LE32(0), LE32(1)},  // panes: count, pane numbers
});

// ------------------------------------------------------------------ golden records

TEST(EnregistrementChamp, Version604KeepsDefaultsOfLaterFields) {
    CKVBuffer b(CHAMP_604.data(), CHAMP_604.size());
    Champ c;
    xLitEnregistrement(b, *c);
    EXPECT_EQ(b.nGetPosition(), CHAMP_604.size());

    EXPECT_EQ(c->nVersion(), 604u);
    EXPECT_EQ(c->nVersionCommun(), 602u);
    EXPECT_EQ(c->GetStyle().nCouleurTexte, nCOULEUR_AUTO);
    EXPECT_EQ(c->GetStyle().nEpaisseurCadre, 1);
    EXPECT_TRUE(c->GetStyle().sPolice.empty());

    EXPECT_EQ(c->sGetNom(), L"X");
    EXPECT_EQ(c->qwGetID(), 7u);
    EXPECT_EQ(c->rectInitial(), QRect(1, 2, 30, 12));
    EXPECT_EQ(c->rectGet(), QRect(1, 2, 30, 12));
    EXPECT_EQ(c->rectAncrage(), QRect(1, 2, 30, 12));
    EXPECT_EQ(c->nGetLargeurMax(), 100);
    EXPECT_EQ(c->nGetHauteurMax(), 50);
    EXPECT_FALSE(c->bVisibleInitial());
    EXPECT_EQ(c->eGetEtatInitial(), eETAT_ACTIF) << "state 7 is not valid in a description";
    EXPECT_EQ(c->sGetTitreAide(), L"Aide");
    EXPECT_TRUE(c->sTexteNote().empty());

    EXPECT_EQ(c->ptGetOrigineParent(), QPoint(-3, 4));
    EXPECT_EQ(c->GetPlan().nPlan, 1);
    EXPECT_EQ(c->clGetValeurInitiale().nGetType(), 0) << "an empty initial value gives no value";
    EXPECT_EQ(c->wGetAutoExtension(), 0x0123);
    EXPECT_TRUE(c->GetLienQB().bEstVide());
    EXPECT_TRUE(c->bGetTabStop());
    EXPECT_TRUE(c->bGetPrendFocus()) << "not in a 604 record: keeps its default";
    EXPECT_EQ(c->dwGetLettreAppel(), 0x41u);
    EXPECT_EQ(c->nGetTabOrder(), -1) << "a tab order of -7 becomes -1";
    EXPECT_EQ(c->sGetGroupes(), L"G1");
    EXPECT_EQ(c->nGetZOrder(), 9);
    EXPECT_EQ(c->GetEntiers606(), std::make_pair(0, 0));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(c->nGetTauxAncrage(i), 0);
    EXPECT_FALSE(c->bGetMemoriserValeur());
    EXPECT_TRUE(c->sGetChampModeleBase().empty());
    EXPECT_TRUE(c->tabGetVolets().empty());
}

// A damaged description may hold any position and size: each is brought
// back to the range a description holds (the rectangle's far edge,
// x + width - 1, must stay within an int).
TEST(EnregistrementChamp, GeometryOutsideTheDescriptionRangeIsBroughtBackToIt) {
    // The geometry of CHAMP_604: after the record header, the style record,
    // and the common record's version, name and identifier.
    const size_t nOffsetGeometrie = 8 + STYLE_DEFAUT.size() + 4 + 2 + 8;
    struct {
        int32_t x, y, l, h;
        QRect attendu;
    } tab[] = {
        {1, 2, 30, 12, QRect(1, 2, 30, 12)},
        {-32768, 32767, 0, 32767, QRect(-32768, 32767, 0, 32767)},
        {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, QRect(32767, 32767, 32767, 32767)},
        {INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, QRect(-32768, -32768, -32768, -32768)},
        {-1414812757, 5, -1414812757, 7, QRect(-32768, 5, -32768, 7)},
    };
    for (const auto& k : tab) {
        SCOPED_TRACE(testing::Message() << k.x << ", " << k.y << ", " << k.l << ", " << k.h);
        Octets o = CHAMP_604;
        ASSERT_EQ((Octets{o.begin() + nOffsetGeometrie, o.begin() + nOffsetGeometrie + 16}),
                  (Octets{LE32(1), LE32(2), LE32(30), LE32(12)}));
        const Octets geometrie = {LE32(k.x), LE32(k.y), LE32(k.l), LE32(k.h)};
        std::copy(geometrie.begin(), geometrie.end(), o.begin() + nOffsetGeometrie);
        CKVBuffer b(o.data(), o.size());
        Champ c;
        xLitEnregistrement(b, *c);
        EXPECT_EQ(c->rectInitial(), k.attendu);
    }
}

// A 606 record carries the anchoring rates only when at least 16 bytes of
// its declared size remain after the two ints; it is then a 607 record.
struct Cas606 {
    const char* pszNom;
    uint32_t nTaille;  // declared size
    Octets queue;      // bytes after the two ints
    bool bTaux;
    uint32_t nVersionLue;
};
void PrintTo(const Cas606& k, std::ostream* os) { *os << k.pszNom; }

class EnregistrementChamp606 : public ::testing::TestWithParam<Cas606> {};

TEST_P(EnregistrementChamp606, AnchoringRatesOnlyWhen16BytesRemain) {
    const Cas606& k = GetParam();
    Octets o = Concat({{LE32(606), LE32(k.nTaille)}, CORPS_606, k.queue, {LE32(0xCAFEF00D)}});
    CKVBuffer b(o.data(), o.size());
    Champ c;
    xLitEnregistrement(b, *c);
    EXPECT_EQ(b.nGetPosition(), o.size() - 4) << "the reader stops at the declared end";

    EXPECT_EQ(c->nVersion(), k.nVersionLue);
    EXPECT_EQ(c->nVersionCommun(), 603u);
    EXPECT_EQ(c->sValeurDefaut(), L"df");
    EXPECT_EQ(c->qwGetID(), 0x606u);
    EXPECT_FALSE(c->bGetPrendFocus());
    EXPECT_EQ(c->GetEntiers606(), std::make_pair(0x22, 0x11)) << "kept in the reverse order of reading";
    const int32_t attendus[4] = {10, 20, 30, 40};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(c->nGetTauxAncrage(i), k.bTaux ? attendus[i] : 0) << "rate " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Queues, EnregistrementChamp606,
    ::testing::Values(Cas606{"NothingLeft", 169, {}, false, 606},
                      Cas606{"TwelveBytesLeft", 181, {LE32(10), LE32(20), LE32(30)}, false, 606},
                      Cas606{"SixteenBytesLeft", 185, {LE32(10), LE32(20), LE32(30), LE32(40)}, true, 607},
                      Cas606{"TwentyBytesLeft", 189, {LE32(10), LE32(20), LE32(30), LE32(40), LE32(99)}, true, 607}),
    [](const auto& i) { return std::string(i.param.pszNom); });

TEST(EnregistrementChamp, Version611FormulaLinkRatesAndTemplate) {
    CKVBuffer b(CHAMP_611.data(), CHAMP_611.size());
    Champ c;
    xLitEnregistrement(b, *c, 1252);
    EXPECT_EQ(b.nGetPosition(), CHAMP_611.size());

    EXPECT_EQ(c->nVersion(), 611u);
    EXPECT_EQ(c->nVersionCommun(), 606u);
    EXPECT_EQ(c->sGetNom(), L"LIB_Titre");
    EXPECT_EQ(c->qwGetID(), 42u);
    EXPECT_EQ(c->rectInitial(), QRect(8, 16, 120, 20));
    EXPECT_EQ(c->nGetLargeurMin(), 10);
    EXPECT_EQ(c->nGetHauteurMax(), 40);
    EXPECT_EQ(c->eGetState(), eETAT_GRISE);

    EXPECT_EQ(c->pszGetLibelle(), std::wstring(L"Pr\u00E9nom"));
    EXPECT_TRUE(c->GetLienQB().bEstFormule());
    EXPECT_EQ(c->GetLienQB().sNomLien, L"LIEN");
    EXPECT_EQ(c->GetLienQB().sFormule, L"A+B");
    EXPECT_EQ(c->sTexteLien(), L"LIEN") << "with a formula the link text is the link name";
    EXPECT_TRUE(c->bGetTabStop());
    EXPECT_TRUE(c->bGetPrendFocus());
    EXPECT_TRUE(c->bDansVoletExterne());
    EXPECT_EQ(c->nGetTabOrder(), 0);
    EXPECT_EQ(c->nGetZOrder(), 2);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(c->nGetTauxAncrage(i), i + 1);
    EXPECT_FALSE(c->bGetMemoriserValeur());
    EXPECT_EQ(c->sGetChampModeleBase(), L"MDL_Fiche");
    EXPECT_TRUE(c->sLienObjetSource().empty()) << "from 612 only";
    EXPECT_EQ(c->qwGetOptionsFAA(), 0u) << "from 613 only";
}

TEST(EnregistrementChamp, Version617ReadsEveryFieldAndWritesTheSameBytes) {
    CKVBuffer b(CHAMP_617.data(), CHAMP_617.size());
    Champ c;
    xLitEnregistrement(b, *c);
    EXPECT_EQ(b.nGetPosition(), CHAMP_617.size());

    const STStyleChamp& s = c->GetStyle();
    EXPECT_EQ(s.nCouleurTexte, 0x000000FFu);
    EXPECT_EQ(s.nCouleurFond, nCOULEUR_TRANSPARENT);
    EXPECT_EQ(s.sPolice, L"Arial");
    EXPECT_EQ(s.nTaillePolice, 100);
    EXPECT_EQ(s.nStylePolice, 5u);
    EXPECT_EQ(s.nCadre, 1);
    EXPECT_EQ(s.nCouleurCadre, 0x00808080u);
    EXPECT_EQ(s.nEpaisseurCadre, 2);
    EXPECT_EQ(s.nLargeurLibelle, 80);
    EXPECT_EQ(s.nAlignementLibelle, 1);
    EXPECT_EQ(s.nStyleAscenseur, 3);

    EXPECT_EQ(c->nVersionCommun(), 606u);
    EXPECT_EQ(c->sGetNom(), L"EDT_Nom");
    EXPECT_EQ(c->qwGetID(), 0x0123456789ABCDEFu);
    EXPECT_EQ(c->rectInitial(), QRect(10, 20, 200, 24));
    EXPECT_EQ(c->nGetLargeurMin(), 50);
    EXPECT_EQ(c->nGetHauteurMin(), 20);
    EXPECT_EQ(c->nGetLargeurMax(), 400);
    EXPECT_EQ(c->nGetHauteurMax(), 48);
    EXPECT_TRUE(c->bVisibleInitial());
    EXPECT_TRUE(c->sChaine5().empty());
    EXPECT_TRUE(c->sMenuClicDroit().empty());
    EXPECT_EQ(c->sGetMenuContextuel(), L"MENU_Ctx");
    EXPECT_EQ(c->eGetEtatInitial(), eETAT_LECTURE_SEULE);
    EXPECT_EQ(c->sGetTitreAide(), L"Titre");
    EXPECT_TRUE(c->sGetTexteAide().empty());
    EXPECT_TRUE(c->sTitreNote().empty());
    EXPECT_EQ(c->sBulle(), L"Bulle");
    EXPECT_EQ(c->sGetMessageBarre(), L"Msg");

    EXPECT_EQ(c->nVersion(), 617u);
    EXPECT_EQ(c->ptGetOrigineParent(), QPoint(5, 6));
    EXPECT_EQ(c->pszGetLibelle(), std::wstring(L"N\u00E9"));
    EXPECT_EQ(c->GetPlan().nPlan, 2);
    EXPECT_EQ(c->clGetValeurInitiale().nGetType(), 110) << "a wide string";
    EXPECT_EQ(TexteInitial(*c), L"abc");
    EXPECT_EQ(c->wGetAutoExtension(), 0x0012);
    EXPECT_FALSE(c->GetLienQB().bEstFormule());
    EXPECT_EQ(c->GetLienQB().sTexte, L"CLIENT.NOM");
    EXPECT_EQ(c->sTexteLien(), L"CLIENT.NOM");
    EXPECT_TRUE(c->bGetTabStop());
    EXPECT_FALSE(c->bGetPrendFocus());
    EXPECT_EQ(c->dwGetLettreAppel(), uint32_t('N'));
    EXPECT_FALSE(c->bDansVoletExterne());
    EXPECT_EQ(c->nGetTabOrder(), 3);
    EXPECT_EQ(c->sGetGroupes(), L"GRP_A,GRP_B");
    EXPECT_EQ(c->nGetZOrder(), 7);
    EXPECT_EQ(c->GetEntiers606(), std::make_pair(0x22, 0x11));
    EXPECT_EQ(c->nGetTauxAncrage(0), 100);
    EXPECT_EQ(c->nGetTauxAncrage(1), 0);
    EXPECT_EQ(c->nGetTauxAncrage(2), 50);
    EXPECT_EQ(c->nGetTauxAncrage(3), 1000);
    EXPECT_TRUE(c->bGetMemoriserValeur());
    EXPECT_EQ(c->sGetChampModeleBase(), L"MDL_Base");
    EXPECT_EQ(c->sLienObjetSource(), L"Client");
    EXPECT_EQ(c->qwGetOptionsFAA(), 0x0000000500000003u);
    EXPECT_EQ(c->GetPlan().tabSecondaires, (std::vector<int32_t>{3, 5}));
    EXPECT_EQ(c->tabGetVolets(), (std::vector<int32_t>{0, 1}));

    CKVBuffer w;
    EcritEnregistrement(w, *c);
    EXPECT_EQ(w.Octets(), CHAMP_617);
}

// A conditional formatting block (from 614, after a non-zero flag) is not
// kept: the reader steps over it by its length and goes on with the planes.
TEST(EnregistrementChamp, ConditionalFormattingBlockIsSkipped) {
    constexpr size_t nOffsetDrapeau = 426;  // the 617 record's conditional formatting flag
    Octets o(CHAMP_617.begin(), CHAMP_617.begin() + nOffsetDrapeau);
    o = Concat({o,
                {LE32(1),                                 // conditional formatting follows
                 LE32(12), LE32(0xAAAAAAAA), LE32(0xBBBBBBBB)}, // its block: length from this word, 8 bytes
                Octets(CHAMP_617.begin() + nOffsetDrapeau + 4, CHAMP_617.end())});
    const uint32_t nTaille = 450 + 12;
    Remplace(o, 4, nTaille);
    CKVBuffer b(o.data(), o.size());
    Champ c;
    xLitEnregistrement(b, *c);
    EXPECT_EQ(b.nGetPosition(), o.size());
    EXPECT_EQ(c->GetPlan().tabSecondaires, (std::vector<int32_t>{3, 5}));
    EXPECT_EQ(c->tabGetVolets(), (std::vector<int32_t>{0, 1}));
}

// ------------------------------------------------------------------ errors

// A record whose version, declared size or nested record is wrong: the error
// and its arguments; when the record's declared size was read, the reader is
// left at its declared end with every limit released, so the next item
// (a sentinel word here) is readable.
struct CasErreur {
    const char* pszNom;
    const Octets* pBase;
    size_t nOffset;  // word replaced
    uint32_t nValeur;
    int nErreur;
    std::vector<std::wstring> args;
    bool bAuBoutDeclare;  // the reader is left at the declared end
};
void PrintTo(const CasErreur& k, std::ostream* os) { *os << k.pszNom; }

class EnregistrementChampErreur : public ::testing::TestWithParam<CasErreur> {};

TEST_P(EnregistrementChampErreur, ErrorAndPositionAfterIt) {
    const CasErreur& k = GetParam();
    Octets o = *k.pBase;
    Remplace(o, k.nOffset, k.nValeur);
    const size_t nFinDeclaree = 4 + size_t(Mot(o, 4));
    o.insert(o.end(), {LE32(0xCAFEF00D)});
    CKVBuffer b(o.data(), o.size());
    Champ c;
    int nErreur = 0;
    std::vector<std::wstring> args;
    try {
        xLitEnregistrement(b, *c);
    } catch (const CXError& e) {
        nErreur = e.nGetErreur();
        args = e.tabGetArgs();
    }
    EXPECT_EQ(nErreur, k.nErreur);
    EXPECT_EQ(args, k.args);
    if (k.bAuBoutDeclare) {
        EXPECT_EQ(b.nGetPosition(), nFinDeclaree);
        EXPECT_EQ(b.nGetLimite(), o.size()) << "no block limit may stay in force after the error";
        if (nFinDeclaree == o.size() - 4) {
            uint32_t nSentinelle = 0;
            EXPECT_NO_THROW(b >> nSentinelle);
            EXPECT_EQ(nSentinelle, 0xCAFEF00Du);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cas, EnregistrementChampErreur,
    ::testing::Values(
        CasErreur{"VersionBelowRange", &CHAMP_604, 0, 601, 10014, {L"KVOBJ"}, false},
        CasErreur{"VersionAboveRange", &CHAMP_604, 0, 701, 10084, {L"KVOBJ"}, false},
        CasErreur{"DeclaredSizeBeyondTheBytes", &CHAMP_604, 4, 1000, 10011, {L"1004", L"165"}, false},
        CasErreur{"DeclaredSizeShorterThanTheFields", &CHAMP_604, 4, 100, 10011, {L"157", L"100"}, true},
        CasErreur{"StyleVersionAboveRange", &CHAMP_604, 8, 2, 10084, {L"KVOBJ"}, true},
        CasErreur{"CommonWindowVersionBelowRange", &CHAMP_604, 57, 601, 10014, {L"KVOBJ"}, true},
        CasErreur{"CommonWindowVersionAboveRange", &CHAMP_604, 57, 705, 10084, {L"KVOBJ"}, true},
        CasErreur{"FormulaBlockTooOld", &CHAMP_611, nOFFSET_VERSION_FORMULE_611, 0, 10203, {}, true}),
    [](const auto& i) { return std::string(i.param.pszNom); });

} // namespace
