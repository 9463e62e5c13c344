// The description stream: string forms, bounds, marked blocks, packed tails
// and the record convention, against bytes written by hand.
#include "Octets.h"
#include "controls/core/Archive.h"
#include "controls/core/CKVBuffer.h"
#include "controls/core/CKVBufferMark.h"
#include <gtest/gtest.h>
#include <functional>
#include <sstream>
#include <vector>

using namespace kvoctets;

namespace {

CKVBuffer Buf(const Octets& o) { return CKVBuffer(o.data(), o.size()); }

// Runs f and returns the error it raised (0 when none).
int Erreur(const std::function<void()>& f, CXError* pSortie = nullptr) {
    try {
        f();
    } catch (const CXError& e) {
        if (pSortie) *pSortie = e;
        return e.nGetErreur();
    }
    return 0;
}

// ------------------------------------------------------------------ strings

struct CasChaine {
    const char* pszNom;
    Octets octets;
    EModeTString eMode;
    unsigned nCodePage;
    bool bLu;
    std::wstring sAttendu;
    size_t nConsomme;
};

class Chaines : public ::testing::TestWithParam<CasChaine> {};

TEST_P(Chaines, ReadOneString) {
    const CasChaine& c = GetParam();
    CKVBuffer b = Buf(c.octets);
    CTString s = L"previous";
    bool bLu = b.bReadString(s, c.eMode, c.nCodePage);
    EXPECT_EQ(bLu, c.bLu);
    if (bLu) EXPECT_EQ(s, c.sAttendu);
    else EXPECT_EQ(s, L"previous");
    EXPECT_EQ(b.nGetPosition(), c.nConsomme);

    // Stepping over the item lands where reading it does.
    CKVBuffer b2 = Buf(c.octets);
    EXPECT_EQ(b2.bSeekString(c.eMode), c.bLu);
    EXPECT_EQ(b2.nGetPosition(), c.nConsomme);
}

// "Aé" marked: 4-byte start mark, L = 3 + 13, the bytes, 0, the end mark.
const Octets MARQUEE_AE = {0xFF, 0xCE, 0x88, 0xF1, 0x10, 0, 0, 0, 'A', 0xC3, 0xA9, 0, 0xFE, 0xED, 0x98, 0xE1};
// The same frame around "A\0B": its text ends before L-13.
const Octets MARQUEE_ZERO = {0xFF, 0xCE, 0x88, 0xF1, 0x10, 0, 0, 0, 'A', 0, 'B', 0, 0xFE, 0xED, 0x98, 0xE1};
// The empty string with marks (L = 13), allowed in mode 3 only.
const Octets MARQUEE_VIDE = {0xFF, 0xCE, 0x88, 0xF1, 0x0D, 0, 0, 0, 0, 0xFE, 0xED, 0x98, 0xE1};
// A start mark followed by a wrong length.
const Octets MARQUE_FAUSSE = {0xFF, 0xCE, 0x88, 0xF1, 0x05, 0, 0, 0, 'A', 0};

INSTANTIATE_TEST_SUITE_P(
    Modes, Chaines,
    ::testing::Values(
        CasChaine{"Mode0ZeroByte", {0, 'x'}, eMODE_TSTRING_0, 1252, true, L"", 1},
        CasChaine{"Mode0Marked", MARQUEE_AE, eMODE_TSTRING_0, 1252, true, L"Aé", 16},
        CasChaine{"Mode0WrongLengthIs8Bit", MARQUE_FAUSSE, eMODE_TSTRING_0, 1252, true, L"ÿÎˆñ\x05", 6},
        CasChaine{"Mode0InnerZeroIs8Bit", MARQUEE_ZERO, eMODE_TSTRING_0, 1252, true, L"ÿÎˆñ\x10", 6},
        CasChaine{"Mode0CodePage", {0xE9, 't', 0xE9, 0}, eMODE_TSTRING_0, 1252, true, L"été", 4},
        CasChaine{"Mode0Cyrillic", {0xC0, 0xE1, 0}, eMODE_TSTRING_0, 1251, true, L"Аб", 3},
        CasChaine{"Mode1Marked", MARQUEE_AE, eMODE_TSTRING_1, 1252, true, L"Aé", 16},
        CasChaine{"Mode1ZeroByte", {0}, eMODE_TSTRING_1, 1252, true, L"", 1},
        CasChaine{"Mode1Plain8BitRefused", {'A', 0}, eMODE_TSTRING_1, 1252, false, L"", 0},
        CasChaine{"Mode1InnerZeroRefused", MARQUEE_ZERO, eMODE_TSTRING_1, 1252, false, L"", 0},
        CasChaine{"Mode1EmptyMarkedRefused", MARQUEE_VIDE, eMODE_TSTRING_1, 1252, false, L"", 0},
        CasChaine{"Mode3EmptyMarked", MARQUEE_VIDE, eMODE_TSTRING_3, 1252, true, L"", 13},
        CasChaine{"Mode3ZeroByteRefused", {0}, eMODE_TSTRING_3, 1252, false, L"", 0},
        CasChaine{"Mode2", {0xE9, 't', 0xE9, 0, 'x'}, eMODE_TSTRING_2, 1252, true, L"été", 4},
        CasChaine{"Mode2MarksAreBytes", MARQUEE_AE, eMODE_TSTRING_2, 1252, true, L"ÿÎˆñ\x10", 6},
        CasChaine{"Mode4Utf8", {0xC3, 0xA9, 'a', 0}, eMODE_TSTRING_4, 1252, true, L"éa", 4}),
    [](const auto& info) { return std::string(info.param.pszNom); });

TEST(Chaines, MarkedStringRunningPastTheDataIsNotMarked) {
    // L claims 40 bytes; only 16 exist. Mode 1 refuses, mode 0 reads 8-bit.
    Octets o = MARQUEE_AE;
    o[4] = 40;
    CKVBuffer b = Buf(o);
    CTString s;
    EXPECT_FALSE(b.bReadString(s, eMODE_TSTRING_1, 1252));
    EXPECT_TRUE(b.bReadString(s, eMODE_TSTRING_0, 1252));
    EXPECT_EQ(b.nGetPosition(), 6u);
}

TEST(Chaines, UnterminatedTextIsATruncatedStream) {
    CKVBuffer b = Buf({'a', 'b', 'c'});
    CTString s;
    EXPECT_EQ(Erreur([&] { b.bReadString(s, eMODE_TSTRING_2, 1252); }), 10011);
    EXPECT_EQ(Erreur([&] { b.pszGetStringOldAnsi(); }), 10011);
    EXPECT_EQ(b.nGetPosition(), 0u);
}

TEST(Chaines, ReadIntoCallerBuffer) {
    CKVBuffer b = Buf(MARQUEE_AE);
    EXPECT_EQ(b.nReadString(nullptr, -1, eMODE_TSTRING_1, 1252), 3) << "measures with the terminator";
    EXPECT_EQ(b.nGetPosition(), 0u);
    wchar_t sz[8];
    EXPECT_EQ(b.nReadString(sz, 2, eMODE_TSTRING_1, 1252), 1);
    EXPECT_STREQ(sz, L"A");
    EXPECT_EQ(b.nGetPosition(), 16u) << "a cut copy still consumes the whole item";
    CKVBuffer b0 = Buf(MARQUEE_AE);
    EXPECT_EQ(b0.nReadString(sz, 0, eMODE_TSTRING_1, 1252), 0);
    EXPECT_EQ(b0.nGetPosition(), 16u);
    CKVBuffer b1 = Buf({'A', 0});
    EXPECT_EQ(b1.nReadString(sz, 8, eMODE_TSTRING_1, 1252), -1);
    EXPECT_EQ(b1.nGetPosition(), 0u);
}

TEST(Chaines, OldAnsiInPlace) {
    CKVBuffer b = Buf({'a', 'b', 0, 'c', 0});
    EXPECT_STREQ(b.pszGetStringOldAnsi(), "ab");
    EXPECT_STREQ(b.pszGetStringOldAnsi(), "c");
    EXPECT_TRUE(b.bFin());
}

TEST(Chaines, WrittenFormsReadBack) {
    struct Cas { EModeTString eMode; const wchar_t* psz; Octets attendu; };
    const Cas cas[] = {
        {eMODE_TSTRING_1, L"Aé", MARQUEE_AE},
        {eMODE_TSTRING_1, L"", {0}},
        {eMODE_TSTRING_3, L"", MARQUEE_VIDE},
        {eMODE_TSTRING_2, L"été", {0xE9, 't', 0xE9, 0}},
        {eMODE_TSTRING_4, L"é", {0xC3, 0xA9, 0}},
    };
    for (const Cas& c : cas) {
        CKVBuffer b;
        b.SaveString(c.psz, c.eMode, 1252);
        EXPECT_EQ(b.Octets(), c.attendu) << c.eMode;
        b.Seek(0);
        CTString s;
        ASSERT_TRUE(b.bReadString(s, c.eMode, 1252));
        EXPECT_EQ(s, c.psz);
        EXPECT_TRUE(b.bFin());
    }
    CKVBuffer b;
    b.SaveStringOldAnsi(nullptr);
    EXPECT_EQ(b.Octets(), Octets{0});
}

// ------------------------------------------------------------------ bounds

TEST(Limites, GetIsAllOrNothingAndDwGetTakesWhatRemains) {
    CKVBuffer b = Buf({1, 2, 3});
    uint8_t t[4] = {9, 9, 9, 9};
    EXPECT_FALSE(b.Get(t, 4));
    EXPECT_EQ(b.nGetPosition(), 0u);
    EXPECT_EQ(t[0], 9);
    EXPECT_EQ(b.dwGet(t, 4), 3u);
    EXPECT_EQ(t[2], 3);
    EXPECT_EQ(b.nGetPosition(), 3u);
    EXPECT_EQ(b.dwGet(t, 4), 0u);
}

// A buffer that never held a byte has no storage at all; reading nothing
// from it succeeds and copies nothing (the sanitized build checks that no
// null pointer reaches memcpy).
TEST(Limites, ZeroByteReadsFromAnEmptyBuffer) {
    CKVBuffer vide;
    CKVBuffer depuisRien(nullptr, 0);
    for (CKVBuffer* b : {&vide, &depuisRien}) {
        ASSERT_EQ(b->pGetData(), nullptr);
        uint8_t t[1] = {9};
        EXPECT_TRUE(b->Get(t, 0));
        EXPECT_EQ(b->dwGet(t, 0), 0u);
        EXPECT_EQ(Erreur([&] { b->xGet(t, 0); }), 0);
        EXPECT_FALSE(b->Get(t, 1));
        EXPECT_EQ(t[0], 9);
        EXPECT_EQ(b->nGetPosition(), 0u);
    }
}

TEST(Limites, PrimitivesNeverReadPastTheData) {
    CKVBuffer b = Buf({1, 0, 0});
    int32_t n = 77;
    CXError e;
    EXPECT_EQ(Erreur([&] { b >> n; }, &e), 10011);
    EXPECT_EQ(n, 77);
    EXPECT_EQ(b.nGetPosition(), 0u);
    ASSERT_EQ(e.tabGetArgs().size(), 2u);
    EXPECT_EQ(e.tabGetArgs()[0], L"4");
    EXPECT_EQ(e.tabGetArgs()[1], L"3");
    uint16_t w;
    b >> w;
    EXPECT_EQ(w, 1);
    EXPECT_EQ(Erreur([&] { b >> w; }), 10011);
}

TEST(Limites, SeekGrowsAndSeekNoResizeClamps) {
    CKVBuffer b = Buf({1, 2});
    b.SeekNoResize(10);
    EXPECT_EQ(b.nGetPosition(), 2u);
    EXPECT_EQ(b.nGetTailleUtilisee(), 2u);
    b.SeekNoResize(-5, 1);
    EXPECT_EQ(b.nGetPosition(), 0u);
    b.Seek(3, 2);
    EXPECT_EQ(b.nGetPosition(), 5u);
    EXPECT_EQ(b.nGetTailleUtilisee(), 5u);
    EXPECT_EQ(Erreur([&] { b.xSeekLecture(6); }), 10011) << "readers never grow the buffer";
}

// ------------------------------------------------------------------ marked blocks

Octets BlocAvecEntete(uint32_t nTailleEntete, uint32_t nVersion, uint32_t nMinLecteur, Octets extra, Octets corps) {
    CKVBuffer b;
    size_t nMarque = CKVBufferMark::s_dwWriteBeginMark(b);
    b << nTailleEntete << nVersion << nMinLecteur;
    b.Set(extra.data(), extra.size());
    b.Set(corps.data(), corps.size());
    CKVBufferMark::s_WriteEndMark(b, nMarque);
    return b.Octets();
}

TEST(Blocs, NewerHeaderAndFieldsAreSkipped) {
    // Header of 16 bytes (4 unknown), two fields of which this reader knows one.
    Octets o = BlocAvecEntete(16, 5, 2, {0xAA, 0xAA, 0xAA, 0xAA}, {7, 0, 0, 0, 8, 0, 0, 0});
    o.push_back(0x42);  // what follows the block
    EXPECT_EQ(o[0], 4 + 16 + 8);
    CKVBuffer b = Buf(o);
    size_t nFin = CKVBufferMark::s_dwReadBeginMark(b);
    uint32_t nVersion = 0, nMin = 0;
    EXPECT_EQ(CKVBufferMark::s_nReadEntete(b, 3, 1, &nVersion, &nMin), 0);
    EXPECT_EQ(nVersion, 5u);
    int32_t n;
    b >> n;
    EXPECT_EQ(n, 7);
    CKVBufferMark::s_ReadEndMark(b, nFin);
    uint8_t c;
    b >> c;
    EXPECT_EQ(c, 0x42);
}

TEST(Blocs, HeaderResults) {
    struct Cas { const char* psz; Octets o; int nAttendu; int nErreur; };
    auto entete = [](uint32_t t, uint32_t v, uint32_t m) {
        CKVBuffer b;
        b << t << v << m;
        return b.Octets();
    };
    const Cas cas[] = {
        {"fine", entete(12, 3, 1), 0, 0},
        {"short", {12, 0, 0, 0, 3, 0}, 1, 10201},
        {"header size below 12", entete(8, 3, 1), 2, 10201},
        {"extra header reaches the end", entete(20, 3, 1), 2, 10201},
        {"older than understood", entete(12, 0, 0), -2, 10203},
        {"needs a newer reader", entete(12, 9, 4), -1, 10202},
    };
    for (const Cas& c : cas) {
        CKVBuffer b = Buf(c.o);
        int n = CKVBufferMark::s_nReadEntete(b, 3, 1, nullptr, nullptr);
        EXPECT_EQ(n, c.nAttendu) << c.psz;
        EXPECT_EQ(Erreur([&] { CKVBufferMark::s_xVerifieEntete(n); }), c.nErreur) << c.psz;
    }
}

TEST(Blocs, ReadsStayInsideTheBlock) {
    Octets o = BlocAvecEntete(12, 1, 1, {}, {1, 2});
    o.insert(o.end(), {3, 4, 5, 6});
    CKVBuffer b = Buf(o);
    size_t nFin = CKVBufferMark::s_dwReadBeginMark(b);
    ASSERT_EQ(CKVBufferMark::s_nReadEntete(b, 1, 1, nullptr, nullptr), 0);
    int32_t n;
    EXPECT_EQ(Erreur([&] { b >> n; }), 10201) << "the next bytes belong to what follows the block";
    CKVBufferMark::s_ReadEndMark(b, nFin);
    b >> n;
    EXPECT_EQ(n, 0x06050403);
}

TEST(Blocs, DamagedMarks) {
    for (uint32_t nLongueur : {0u, 3u, 100u}) {
        CKVBuffer b;
        b << nLongueur << uint32_t(0);
        b.Seek(0);
        EXPECT_EQ(Erreur([&] { CKVBufferMark::s_dwReadBeginMark(b); }), 10201) << nLongueur;
    }
}

// ------------------------------------------------------------------ packed tails

Octets PackeAvecEntete() {
    CKVBuffer b;
    CKVBufferMark::WriteEntetePrincipale(b, 3, 1);
    for (int i = 0; i < 1000; ++i) b << static_cast<int32_t>(i);
    b.SaveString(L"fin", eMODE_TSTRING_1, 1252);
    b.ChangePackMethod(eBUFFER_PACKMETHOD_1);
    return b.Octets();
}

TEST(Packe, TailUnpacksOnTheFirstReadThatReachesIt) {
    Octets o = PackeAvecEntete();
    EXPECT_LT(o.size(), 4000u) << "the tail is packed";
    EXPECT_EQ(o[12], nCODEUR_ZLIB);
    CKVBuffer b = Buf(o);
    uint32_t nVersion;
    ASSERT_EQ(CKVBufferMark::nReadEntetePrincipale(b, 3, 1, &nVersion, nullptr), 0);
    b.SetPackMethod(eBUFFER_PACKMETHOD_1);
    EXPECT_TRUE(b.bEncorePacke());
    int32_t n;
    for (int i = 0; i < 1000; ++i) {
        b >> n;
        ASSERT_EQ(n, i);
    }
    EXPECT_FALSE(b.bEncorePacke());
    CTString s;
    b >> s;
    EXPECT_EQ(s, L"fin");
    EXPECT_TRUE(b.bFin());
}

TEST(Packe, FailedUnpackKeepsThePackedState) {
    Octets o = PackeAvecEntete();
    o[20] ^= 0xFF;  // inside the zlib stream
    CKVBuffer b = Buf(o);
    ASSERT_EQ(CKVBufferMark::nReadEntetePrincipale(b, 3, 1, nullptr, nullptr), 0);
    b.SetPackMethod(eBUFFER_PACKMETHOD_1);
    int32_t n;
    EXPECT_EQ(Erreur([&] { b >> n; }), 10013);
    EXPECT_TRUE(b.bEncorePacke());
    EXPECT_EQ(b.nGetTailleUtilisee(), o.size());
    EXPECT_EQ(b.nGetPosition(), 12u);
}

TEST(Packe, LyingUnpackedSizeIsRefusedWithoutAllocating) {
    Octets o = PackeAvecEntete();
    o[13] = o[14] = o[15] = 0xFF;
    o[16] = 0x7F;  // about two gigabytes
    CKVBuffer b = Buf(o);
    ASSERT_EQ(CKVBufferMark::nReadEntetePrincipale(b, 3, 1, nullptr, nullptr), 0);
    b.SetPackMethod(eBUFFER_PACKMETHOD_1);
    int32_t n;
    EXPECT_EQ(Erreur([&] { b >> n; }), 10013);
}

// ------------------------------------------------------------------ records

// A record of the test: a field at every version, one from 603, one from 607.
struct STEssai {
    uint32_t nVersion = 607;
    int32_t nA = 0;
    int32_t nB = 0;
    int32_t nC = 0;
    CTString sNom;
};

template <class A>
void serialise(A& ar, STEssai& r) {
    CEnregistrement<A> rec(ar, r.nVersion, {600, 700, 605}, "Test");
    ar(r.nA, "a");
    if (rec.bDepuis(603)) ar(r.nB, "b");
    ar.TexteTechnique(r.sNom, "name");
    if (rec.bDepuis(607)) ar(r.nC, "c");
    rec.Fin();
}

// The same record read by a reader that reads one field too many.
struct STEssaiTropLong : STEssai {};
template <class A>
void serialise(A& ar, STEssaiTropLong& r) {
    CEnregistrement<A> rec(ar, r.nVersion, {600, 700, 605});
    ar(r.nA);
    ar(r.nB);
    ar.TexteTechnique(r.sNom);
    ar(r.nC);
    int32_t nEnTrop;
    ar(nEnTrop);
    rec.Fin();
}

TEST(Enregistrements, GoldenVersion607) {
    // version, declared size (from the size word to the end), a, b, "X" marked, c.
    const Octets o = {0x5F, 0x02, 0, 0,  0x1E, 0, 0, 0,  1, 0, 0, 0,  2, 0, 0, 0,
                      0xFF, 0xCE, 0x88, 0xF1, 0x0E, 0, 0, 0, 'X', 0, 0xFE, 0xED, 0x98, 0xE1,
                      3, 0, 0, 0};
    CKVBuffer b = Buf(o);
    STEssai r;
    xLitEnregistrement(b, r);
    EXPECT_EQ(r.nVersion, 607u);
    EXPECT_EQ(r.nA, 1);
    EXPECT_EQ(r.nB, 2);
    EXPECT_EQ(r.sNom, L"X");
    EXPECT_EQ(r.nC, 3);
    EXPECT_TRUE(b.bFin());

    CKVBuffer w;
    EcritEnregistrement(w, r);
    EXPECT_EQ(w.Octets(), o);
}

TEST(Enregistrements, OldVersionsReadOnlyTheirFields) {
    // Version 602: no size, no b, no c.
    const Octets o = {0x5A, 0x02, 0, 0,  9, 0, 0, 0,  0,  0x77};
    CKVBuffer b = Buf(o);
    STEssai r;
    r.nB = r.nC = -1;
    xLitEnregistrement(b, r);
    EXPECT_EQ(r.nVersion, 602u);
    EXPECT_EQ(r.nA, 9);
    EXPECT_EQ(r.nB, -1);
    EXPECT_EQ(r.sNom, L"");
    EXPECT_EQ(b.nGetPosition(), 9u);
}

TEST(Enregistrements, NewerFieldsAreSkippedToTheDeclaredEnd) {
    // Version 606 declares 8 bytes more than this reader knows; the next
    // record starts after them.
    CKVBuffer b;
    b << uint32_t(606) << uint32_t(4 + 4 + 4 + 1 + 8) << int32_t(5) << int32_t(6) << uint8_t(0) << int64_t(-1);
    b << uint32_t(602) << int32_t(11) << uint8_t(0);
    b.Seek(0);
    STEssai r1, r2;
    xLitEnregistrement(b, r1);
    EXPECT_EQ(r1.nA, 5);
    EXPECT_EQ(b.nGetPosition(), 4u + 21u);
    xLitEnregistrement(b, r2);
    EXPECT_EQ(r2.nA, 11);
}

TEST(Enregistrements, OverReadEndsAtTheDeclaredEnd) {
    CKVBuffer b;
    b << uint32_t(607) << uint32_t(4 + 4 + 4 + 1 + 4) << int32_t(1) << int32_t(2) << uint8_t(0) << int32_t(3);
    b << int32_t(0x55) << int32_t(0x66);  // the next record
    b.Seek(0);
    STEssaiTropLong r;
    CXError e;
    EXPECT_EQ(Erreur([&] { xLitEnregistrement(b, r); }, &e), 10011);
    EXPECT_EQ(b.nGetPosition(), 4u + 17u);
    ASSERT_EQ(e.tabGetArgs().size(), 2u);
    EXPECT_EQ(e.tabGetArgs()[0], L"21") << "bytes read: declared + 4";
    EXPECT_EQ(e.tabGetArgs()[1], L"17");
}

TEST(Enregistrements, VersionOutsideTheRange) {
    for (auto [nVersion, nErreur] : {std::pair{599u, 10014}, {701u, 10084}}) {
        CKVBuffer b;
        b << nVersion << int32_t(0) << int32_t(0);
        b.Seek(0);
        STEssai r;
        CXError e;
        EXPECT_EQ(Erreur([&] { xLitEnregistrement(b, r); }, &e), nErreur);
        ASSERT_EQ(e.tabGetArgs().size(), 1u);
        EXPECT_EQ(e.tabGetArgs()[0], L"KVOBJ");
    }
}

TEST(Enregistrements, FailedReadLeavesThePositionAtTheDeclaredEnd) {
    // The name is a mode-1 string that is not there: the read fails inside the record.
    CKVBuffer b;
    b << uint32_t(607) << uint32_t(4 + 4 + 4 + 2 + 4) << int32_t(1) << int32_t(2) << uint8_t('Z') << uint8_t('Z')
      << int32_t(3);
    b.Seek(0);
    b.SetModeDeserialTString(eMODE_TSTRING_1);
    STEssai r;
    EXPECT_NE(Erreur([&] { xLitEnregistrement(b, r); }), 0);
    EXPECT_EQ(b.nGetPosition(), b.nGetTailleUtilisee());
}

TEST(Enregistrements, DeclaredSizePastTheDataIsATruncatedStream) {
    CKVBuffer b;
    b << uint32_t(607) << uint32_t(0x7FFFFFF0) << int32_t(1);
    b.Seek(0);
    STEssai r;
    EXPECT_EQ(Erreur([&] { xLitEnregistrement(b, r); }), 10011);
    EXPECT_EQ(b.nGetTailleUtilisee(), 12u);
}

struct STAncien {
    uint32_t nVersion = 601;
    int32_t nPremier = 0;
};
template <class A>
void serialise(A& ar, STAncien& r) {
    CEnregistrement<A> rec(ar, r.nVersion, {600, 701, 0, 16, 600});
    ar(r.nPremier);
    rec.Fin();
}

TEST(Enregistrements, OldRecordsWithoutVersionAreRecognisedByRange) {
    CKVBuffer b = Buf({7, 0, 0, 0});
    STAncien r;
    xLitEnregistrement(b, r);
    EXPECT_EQ(r.nVersion, 600u);
    EXPECT_EQ(r.nPremier, 7);
    CKVBuffer b2 = Buf({0x59, 0x02, 0, 0, 9, 0, 0, 0});
    xLitEnregistrement(b2, r);
    EXPECT_EQ(r.nVersion, 601u);
    EXPECT_EQ(r.nPremier, 9);
}

TEST(Enregistrements, TraceShowsRecordsAndFields) {
    STEssai r;
    r.nA = 4;
    r.sNom = L"Nom";
    CKVBuffer b;
    EcritEnregistrement(b, r);
    b.Seek(0);
    std::wostringstream os;
    CLecteurKV ar(b);
    ar.SetTrace(&os);
    STEssai lu;
    serialise(ar, lu);
    std::wstring s = os.str();
    EXPECT_NE(s.find(L"Test = { version 607, declared size"), std::wstring::npos) << s;
    EXPECT_NE(s.find(L"  a = 4"), std::wstring::npos) << s;
    EXPECT_NE(s.find(L"  name = \"Nom\""), std::wstring::npos) << s;
}

} // namespace
