// Typed values (CAny) and the shared string (CXYString).
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "Binaires.h"
#include "base/CSimpleBuffer.h"
#include "base/CXYString.h"
#include "controls/core/CAny.h"
#include "frame/Module.h"
#include "kv/conv.h"
#include "kv/types.h"
#include "kv/vm.h"

namespace {

// The block header of a shared string, read the way the host sees it: the
// count 12 bytes before the characters, the byte length 4 bytes before them.
template <class T>
int32_t nCompteBloc(const T* psz) {
    int32_t n;
    std::memcpy(&n, reinterpret_cast<const char*>(psz) - 12, 4);
    return n;
}
template <class T>
uint32_t nReserveBloc(const T* psz) {
    uint32_t n;
    std::memcpy(&n, reinterpret_cast<const char*>(psz) - 8, 4);
    return n;
}
template <class T>
uint32_t nOctetsBloc(const T* psz) {
    uint32_t n;
    std::memcpy(&n, reinterpret_cast<const char*>(psz) - 4, 4);
    return n;
}

// The characters pointer a string value hands to the host.
const wchar_t* pszBlocW(const CAny& a) { return *static_cast<const wchar_t* const*>(a.pGetStockage()); }
const char* pszBlocA(const CAny& a) { return *static_cast<const char* const*>(a.pGetStockage()); }

std::wstring sTexte(const CAny& a) {
    CTString s;
    EXPECT_EQ(a.__nCastToString(s), 0);
    return s;
}

// ---------------------------------------------------------------------------
// CXYString

template <class T>
class XYString : public ::testing::Test {
protected:
    // "abc" in the string's character type.
    static std::basic_string<T> s(const char* psz) { return std::basic_string<T>(psz, psz + std::strlen(psz)); }
};
using TypesCaracteres = ::testing::Types<char, wchar_t>;
TYPED_TEST_SUITE(XYString, TypesCaracteres);

TYPED_TEST(XYString, BlocPorteCompteEtLongueurDouzeOctetsAvantLesCaracteres) {
    const auto sAbc = this->s("abc");
    CXYString<TypeParam> a(sAbc.c_str());
    const TypeParam* psz = a.pszGet();
    EXPECT_EQ(nCompteBloc(psz), 1);
    EXPECT_EQ(nReserveBloc(psz), 0u);
    EXPECT_EQ(nOctetsBloc(psz), 3 * sizeof(TypeParam));
    EXPECT_EQ(psz[3], TypeParam(0));
    EXPECT_EQ(a.nGetLongueur(), 3u);
    EXPECT_EQ(a.nGetTailleOctets(), 3 * sizeof(TypeParam));
    {
        CXYString<TypeParam> b(a);
        EXPECT_EQ(b.pszGet(), psz) << "a copy shares the block";
        EXPECT_EQ(nCompteBloc(psz), 2);
    }
    EXPECT_EQ(nCompteBloc(psz), 1);

    // A block handed over by its characters pointer is shared, not copied.
    CXYString<TypeParam> c = CXYString<TypeParam>::sPartage(psz);
    EXPECT_EQ(c.pszGet(), psz);
    EXPECT_EQ(nCompteBloc(psz), 2);
}

TYPED_TEST(XYString, VideNaPasDeBlocEtDonneUneChaineVide) {
    CXYString<TypeParam> a;
    const auto sAbc = this->s("abc");
    CXYString<TypeParam> b(sAbc.c_str(), 0);
    CXYString<TypeParam> c(static_cast<const TypeParam*>(nullptr));
    for (const auto* p : {&a, &b, &c}) {
        ASSERT_NE(p->pszGet(), nullptr);
        EXPECT_EQ(p->pszGet()[0], TypeParam(0));
        EXPECT_TRUE(p->bEstVide());
        EXPECT_EQ(p->nGetLongueur(), 0u);
        EXPECT_EQ(p->nGetNbReferences(), 0);
        EXPECT_EQ(p->pszGetBloc(), nullptr);
    }
    EXPECT_EQ(a, b);
}

TYPED_TEST(XYString, AffectationEtUnshare) {
    const auto sAbc = this->s("abcdef");
    CXYString<TypeParam> a(sAbc.c_str());
    CXYString<TypeParam> b(a);
    const TypeParam* pszPartage = a.pszGet();

    // A writer gets its own block; the other holder keeps the old text.
    EXPECT_EQ(b.nUnshare(), 0);
    EXPECT_NE(b.pszGet(), pszPartage);
    EXPECT_EQ(nCompteBloc(pszPartage), 1);
    EXPECT_EQ(nCompteBloc(b.pszGet()), 1);
    b.pszGetModifiable()[0] = TypeParam('X');
    EXPECT_EQ(std::basic_string_view<TypeParam>(a), sAbc);
    EXPECT_EQ(b.sVue(), this->s("Xbcdef"));

    // Unsharing a block held once keeps it.
    const TypeParam* pszUnique = b.pszGet();
    b.nUnshare();
    EXPECT_EQ(b.pszGet(), pszUnique);

    // Assignment releases the old block and shares the new one; assigning a
    // string to itself keeps it alive.
    b = a;
    EXPECT_EQ(b.pszGet(), pszPartage);
    EXPECT_EQ(nCompteBloc(pszPartage), 2);
    b = b;
    EXPECT_EQ(nCompteBloc(pszPartage), 2);

    // Set from the string's own characters.
    a.Set(a.pszGet() + 1, 3);
    EXPECT_EQ(a.sVue(), this->s("bcd"));
    EXPECT_EQ(b.sVue(), sAbc);
    EXPECT_EQ(nCompteBloc(pszPartage), 1);
}

TYPED_TEST(XYString, Comparaison) {
    const auto sAb = this->s("ab"), sAbc = this->s("abc"), sAbd = this->s("abd");
    const CXYString<TypeParam> ab(sAb.c_str()), abc(sAbc.c_str()), abc2(sAbc.c_str()), abd(sAbd.c_str());
    EXPECT_TRUE(abc == abc2);
    EXPECT_TRUE(abc == sAbc.c_str());
    EXPECT_FALSE(abc == abd);
    EXPECT_TRUE(ab < abc);
    EXPECT_TRUE(abc < abd);
    EXPECT_EQ(abd.nCompare(abc), 1);
    EXPECT_EQ(abc.nCompare(abc2), 0);

    // Lengths count, not terminators: bytes after a zero still compare.
    const TypeParam az1[] = {TypeParam('a'), TypeParam(0), TypeParam('x')};
    const TypeParam az2[] = {TypeParam('a'), TypeParam(0), TypeParam('y')};
    EXPECT_FALSE(CXYString<TypeParam>(az1, 3) == CXYString<TypeParam>(az2, 3));
    EXPECT_EQ(CXYString<TypeParam>(az1, 3).nGetLongueur(), 3u);
}

TEST(XYStringTaille, LongueurQueLeMotDeTailleNePeutPasDecrireEstRefusee) {
    CXYString<char> a("kept");
    const char c = 'x';
    // The pointer is never read: the length is refused first.
    EXPECT_THROW(a.Set(&c, size_t(UINT32_MAX) + 1), std::length_error);
    EXPECT_THROW(CXYString<wchar_t>(L"x", size_t(UINT32_MAX / sizeof(wchar_t)) + 1), std::length_error);
    EXPECT_EQ(a, "kept");
}

// Every block goes through the replaceable allocation pair.
std::atomic<int> g_nAlloues{0}, g_nLiberes{0};
void* AlloueCompte(size_t n) {
    ++g_nAlloues;
    return std::malloc(n);
}
void LibereCompte(void* p) {
    ++g_nLiberes;
    std::free(p);
}

TEST(XYStringAllocateur, LesBlocsPassentParLaPaireDAllocation) {
    g_nAlloues = g_nLiberes = 0;
    DefinitAllocateurXY(AlloueCompte, LibereCompte);
    {
        CXYString<wchar_t> a(L"one");
        CXYString<char> b("two");
        CXYString<wchar_t> c(a);
        c.nUnshare();
        EXPECT_EQ(g_nAlloues, 3);
    }
    DefinitAllocateurXY(nullptr, nullptr);
    EXPECT_EQ(g_nLiberes, 3);
}

TEST(XYStringThreads, CompteurAtomiqueSousCopiesConcurrentes) {
    const CXYString<wchar_t> s(L"shared between threads");
    // Both threads start together so that their copies overlap.
    std::atomic<int> nPrets{0};
    auto copie = [&s, &nPrets] {
        ++nPrets;
        while (nPrets < 2) {
        }
        for (int i = 0; i < 100000; ++i) {
            CXYString<wchar_t> c(s);
            CXYString<wchar_t> d;
            d = c;
        }
    };
    std::thread t1(copie), t2(copie);
    t1.join();
    t2.join();
    EXPECT_EQ(nCompteBloc(s.pszGet()), 1);
    EXPECT_EQ(s, L"shared between threads");
}

TEST(SimpleBuffer, PaireNonProprietaire) {
    const char ab[] = "desc";
    const CSimpleBuffer st{ab, 4};
    EXPECT_EQ(st.pData, ab);
    EXPECT_EQ(st.nTaille, 4u);
    EXPECT_FALSE(st.bEstVide());
    EXPECT_TRUE(CSimpleBuffer{}.bEstVide());
}

// ---------------------------------------------------------------------------
// CAny without the host's routines.

// Saves and restores what the tests change: the host's routines and the
// initial date and time texts.
class AnySansHote : public ::testing::Test {
protected:
    void SetUp() override {
        m_stSauve = gstConversionVM;
        gstConversionVM.pfnConversion = nullptr;
        gstConversionVM.pfnFinConversion = nullptr;
        m_pszDate = CDateTimeBase::ms_pcszValeurInitDate;
        m_pszHeure = CDateTimeBase::ms_pcszValeurInitTime;
    }
    void TearDown() override {
        gstConversionVM = m_stSauve;
        CDateTimeBase::ms_pcszValeurInitDate = m_pszDate;
        CDateTimeBase::ms_pcszValeurInitTime = m_pszHeure;
    }

private:
    STConversionVM m_stSauve;
    const wchar_t* m_pszDate = nullptr;
    const wchar_t* m_pszHeure = nullptr;
};

enum EInit { eZero, eChaineW, eChaineA, eTexteW, eTexteA, eDateHeure, eDecimal };
struct CasInit {
    int nCode;
    int nTypeAttendu;
    EInit eInit;
    const char* pszTexte = "";  // eTexteW / eTexteA
};

TEST_F(AnySansHote, SetTypeDonneLaValeurInitialeDeChaqueType) {
    CDateTimeBase::ms_pcszValeurInitDate = L"20240131";
    CDateTimeBase::ms_pcszValeurInitTime = L"081500000";
    const CasInit cas[] = {
        {KS_BOOL, KS_BOOL, eZero},       {KS_UI1, KS_UI1, eZero},
        {KS_UI2, KS_UI2, eZero},         {KS_UI4, KS_UI4, eZero},
        {KS_UI8, KS_UI8, eZero},         {KS_I1, KS_I1, eZero},
        {KS_I2, KS_I2, eZero},           {KS_I4, KS_I4, eZero},
        {KS_I8, KS_I8, eZero},           {KS_CY, KS_CY, eZero},
        {KS_R4, KS_R4, eZero},           {KS_R8, KS_R8, eZero},
        {KS_DECIMAL, KS_DECIMAL, eDecimal}, {KS_UIX, KS_UIX, eZero},
        {KS_I4BIS, KS_I4BIS, eZero},     {KS_DSTRW, KS_DSTRW, eChaineW},
        {KS_CARA, KS_CARA, eZero},       {KS_PSTRA, KS_PSTRA, eChaineA},
        {KS_DSTRA, KS_DSTRA, eChaineA},  {KS_DATEW, KS_DATEW, eTexteW, "20240131"},
        {KS_TIMEW, KS_TIMEW, eTexteW, "081500000"}, {KS_DATETIME, KS_DATETIME, eDateHeure},
        {KS_DUREE, KS_DUREE, eZero},     {KS_BIN, KS_BIN, eChaineA},
        {KS_BUFFER, KS_BUFFER, eChaineA}, {KS_MEMOIMG, KS_MEMOIMG, eChaineA},
        {KS_CONVOYEUR, KS_CONVOYEUR, eZero}, {KS_POLICE, KS_POLICE, eZero},
        {KS_CARW, KS_CARW, eZero},       {KS_TABANY, KS_TABANY, eZero},
        {KS_OBJET, KS_OBJET, eZero},     {KS_PSTRW, KS_PSTRW, eChaineW},
        {KS_DINO, KS_DINO, eZero},       {KS_DATEA, KS_DATEA, eTexteA, "20240131"},
        {KS_TIMEA, KS_TIMEA, eTexteA, "081500000"}, {KS_OBJET2, KS_OBJET2, eZero},
        {KS_OBJET3, KS_OBJET3, eZero},   {KS_OBJET4, KS_OBJET4, eZero},
        // Codes that are not types of the language.
        {20, KS_VIDE, eZero},            {23, KS_VIDE, eZero},
        {31, KS_VIDE, eZero},            {109, KS_VIDE, eZero},
        {144, KS_VIDE, eZero},           {200, KS_VIDE, eZero},
        {-1, KS_VIDE, eZero},            {0x108, KS_VIDE, eZero},
    };
    for (const CasInit& c : cas) {
        SCOPED_TRACE(c.nCode);
        CAny a;
        a.__SetType(c.nCode);
        EXPECT_EQ(a.nGetType(), c.nTypeAttendu);
        EXPECT_EQ(a.wGetTypeComplet(), c.nTypeAttendu);
        const void* p = a.pGetStockage();
        switch (c.eInit) {
        case eZero: {
            unsigned char abZero[8] = {};
            EXPECT_EQ(std::memcmp(p, abZero, 8), 0);
            break;
        }
        case eChaineW: EXPECT_EQ(pszBlocW(a), nullptr); EXPECT_EQ(sTexte(a), L""); break;
        case eChaineA: EXPECT_EQ(pszBlocA(a), nullptr); break;
        case eTexteW:
            EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(p)),
                      std::wstring(c.pszTexte, c.pszTexte + std::strlen(c.pszTexte)));
            break;
        case eTexteA: EXPECT_STREQ(static_cast<const char*>(p), c.pszTexte); break;
        case eDateHeure: {
            STDateHeure dh;
            std::memcpy(&dh, p, sizeof dh);
            EXPECT_EQ(dh.nDate, 20240131);
            EXPECT_EQ(dh.nHeure, 0);
            break;
        }
        case eDecimal: {
            // Without the host's factory zero is a null object; with it, a zero.
            IDecimal* piDecimal = *static_cast<IDecimal* const*>(p);
            if (piDecimal) { EXPECT_EQ(piDecimal->sVersTexte(), L"0"); }
            break;
        }
        }
    }
}

TEST_F(AnySansHote, TexteInitialDeLHeureCompleteOuCoupeANeufChiffres) {
    struct {
        const wchar_t* pszInit;
        const wchar_t* pszHeureW;
        const char* pszHeureA;
    } const cas[] = {
        {L"1234", L"123400000", "123400000"},
        {L"", L"000000000", "000000000"},
        {nullptr, L"000000000", "000000000"},
        {L"123456789012", L"123456789", "123456789"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.pszHeureW);
        CDateTimeBase::ms_pcszValeurInitTime = c.pszInit;
        CAny w, a;
        w.__SetType(KS_TIMEW);
        a.__SetType(KS_TIMEA);
        EXPECT_STREQ(static_cast<const wchar_t*>(w.pGetStockage()), c.pszHeureW);
        EXPECT_STREQ(static_cast<const char*>(a.pGetStockage()), c.pszHeureA);
    }

    // The date text is cut to 8 characters, never padded.
    CDateTimeBase::ms_pcszValeurInitDate = L"2024";
    CAny d;
    d.__SetType(KS_DATEW);
    EXPECT_STREQ(static_cast<const wchar_t*>(d.pGetStockage()), L"2024");
    CDateTimeBase::ms_pcszValeurInitDate = L"2024013199";
    CAny d2;
    d2.__SetType(KS_DATEW);
    EXPECT_STREQ(static_cast<const wchar_t*>(d2.pGetStockage()), L"20240131");
    // Without initialisation the text is empty.
    CAny d3;
    d3.__SetType(KS_DATEW, true);
    EXPECT_STREQ(static_cast<const wchar_t*>(d3.pGetStockage()), L"");
}

TEST_F(AnySansHote, ChangerDeTypeLibereLAncienneValeurMemeTypeNeChangeRien) {
    CXYString<wchar_t> s(L"held");
    CAny a;
    a.SetPSTRX(s);
    EXPECT_EQ(pszBlocW(a), s.pszGet());
    EXPECT_EQ(s.nGetNbReferences(), 2);

    a.SetFlags(wANY_NULL | wANY_TRANSIT);
    a.__SetType(KS_PSTRW);  // its own type: value and flags stay
    EXPECT_EQ(a.wGetTypeComplet(), KS_PSTRW | wANY_NULL | wANY_TRANSIT);
    EXPECT_EQ(pszBlocW(a), s.pszGet());

    a.__SetType(KS_I4);
    EXPECT_EQ(s.nGetNbReferences(), 1);
    EXPECT_EQ(a.wGetTypeComplet(), KS_I4);
    int n = -1;
    EXPECT_EQ(a.nGetINT(n), 0);
    EXPECT_EQ(n, 0);

    a.SetPSTRX(s);
    a.__SetType(144);  // not a type: the value is dropped
    EXPECT_EQ(a.nGetType(), KS_VIDE);
    EXPECT_EQ(s.nGetNbReferences(), 1);
}

TEST_F(AnySansHote, SettersDonnentTypeEtValeurEtEffacentLesDrapeaux) {
    const unsigned char abBin[] = {1, 0, 2};
    struct {
        const char* pszNom;
        void (*pfnSet)(CAny&);
        int nType;
        std::wstring sTexte;  // for the types whose text needs no host
    } const cas[] = {
        {"SetI4", [](CAny& a) { a.SetI4(-3); }, KS_I4, L""},
        {"=int", [](CAny& a) { a = 7; }, KS_I4, L""},
        {"SetI8", [](CAny& a) { a.SetI8(INT64_MIN); }, KS_I8, L""},
        {"SetBOOL", [](CAny& a) { a.SetBOOL(true); }, KS_BOOL, L""},
        {"SetR8", [](CAny& a) { a.SetR8(2.5); }, KS_R8, L""},
        {"SetCY", [](CAny& a) { a.SetCY(125000); }, KS_CY, L""},
        {"SetPSTRX", [](CAny& a) { a.SetPSTRX(L"wide"); }, KS_PSTRW, L"wide"},
        {"SetPSTRX(n)", [](CAny& a) { a.SetPSTRX(L"wide", 2); }, KS_PSTRW, L"wi"},
        {"SetPSTRX(null)", [](CAny& a) { a.SetPSTRX(nullptr); }, KS_PSTRW, L""},
        {"Set", [](CAny& a) { a.Set(L"set"); }, KS_PSTRW, L"set"},
        {"=text", [](CAny& a) { a = L"assigned"; }, KS_PSTRW, L"assigned"},
        {"SetCSTR", [](CAny& a) { a.SetCSTR("narrow"); }, KS_PSTRA, L""},
        {"SetBIN", [](CAny& a) { a.SetBIN("\1\0\2", 3); }, KS_BIN, L""},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.pszNom);
        CAny a;
        a.SetPSTRX(L"before");
        a.SetFlags(wANY_NULL | wANY_TRANSIT);
        c.pfnSet(a);
        EXPECT_EQ(a.wGetTypeComplet(), c.nType);
        if (c.nType == KS_PSTRW) { EXPECT_EQ(sTexte(a), c.sTexte); }
    }

    CAny a;
    a.SetCSTR("narrow");
    EXPECT_STREQ(pszBlocA(a), "narrow");
    a.SetBIN(abBin, 3);
    EXPECT_EQ(nOctetsBloc(pszBlocA(a)), 3u);
    EXPECT_EQ(std::memcmp(pszBlocA(a), abBin, 3), 0);
    int64_t n = 0;
    a.SetI8(INT64_MIN);
    EXPECT_EQ(a.nGetINT_64(n), 0);
    EXPECT_EQ(n, INT64_MIN);

    // A text taken from the value itself.
    a.SetPSTRX(L"abcdef");
    a.SetPSTRX(pszBlocW(a) + 2);
    EXPECT_EQ(sTexte(a), L"cdef");
}

TEST_F(AnySansHote, CopiePartageLesChainesEtAffectationLesRelache) {
    CAny a;
    a.SetPSTRX(L"text");
    const wchar_t* psz = pszBlocW(a);
    {
        CAny b(a);
        EXPECT_EQ(pszBlocW(b), psz);
        EXPECT_EQ(nCompteBloc(psz), 2);
        CAny c;
        c = b;
        EXPECT_EQ(nCompteBloc(psz), 3);
        c = 5;
        EXPECT_EQ(nCompteBloc(psz), 2);
        c = c;
        b = b;
        EXPECT_EQ(nCompteBloc(psz), 2);

        // Unshare before a change: each value then has its own block.
        EXPECT_EQ(b.nUnshare(), 0);
        EXPECT_NE(pszBlocW(b), psz);
        EXPECT_EQ(nCompteBloc(psz), 1);
        EXPECT_EQ(sTexte(b), L"text");
    }
    EXPECT_EQ(nCompteBloc(psz), 1);

    // The flags are part of the value that is copied.
    a.SetNull();
    CAny d(a);
    EXPECT_EQ(d.wGetTypeComplet(), KS_PSTRW | wANY_NULL);
}

TEST_F(AnySansHote, ValeurNulleSeLitVide) {
    CAny a;
    a.SetI4(42);
    a.SetNull();
    EXPECT_TRUE(a.bEstNull());
    int n = -1;
    EXPECT_EQ(a.nGetINT(n), 0);
    EXPECT_EQ(n, 0);
    bool b = true;
    EXPECT_EQ(a.nGetBOOL(b), 0);
    EXPECT_FALSE(b);
    // Still of its type: an unsuitable getter still says so.
    double d = 1;
    EXPECT_EQ(a.nGetREAL(d), eCONV_TYPE_INADAPTE);
    EXPECT_EQ(sTexte(a), L"");

    a.SetNull(false);
    EXPECT_EQ(a.nGetINT(n), 0);
    EXPECT_EQ(n, 42);

    CAny s;
    s.SetPSTRX(L"hidden");
    s.SetNull();
    EXPECT_EQ(sTexte(s), L"");
    CXYString<wchar_t> xy(L"old");
    EXPECT_EQ(s.__nFillString(xy), 0);
    EXPECT_TRUE(xy.bEstVide());
}

TEST_F(AnySansHote, Egalite) {
    auto i4 = [](int n) { CAny a; a.SetI4(n); return a; };
    auto texte = [](const wchar_t* psz) { CAny a; a.SetPSTRX(psz); return a; };
    auto bin = [](const char* p, size_t n) { CAny a; a.SetBIN(p, n); return a; };
    auto nul = [](CAny a) { a.SetNull(); return a; };
    struct {
        const char* pszNom;
        CAny a, b;
        bool bEgal;
    } const cas[] = {
        {"same integers", i4(5), i4(5), true},
        {"different integers", i4(5), i4(6), false},
        {"texts in two blocks", texte(L"abc"), texte(L"abc"), true},
        {"different texts", texte(L"abc"), texte(L"abd"), false},
        {"number and text", i4(5), texte(L"5"), false},
        {"bytes after a zero", bin("a\0x", 3), bin("a\0y", 3), false},
        {"same bytes", bin("a\0x", 3), bin("a\0x", 3), true},
        {"two nulls", nul(i4(1)), nul(i4(2)), true},
        {"null and zero", nul(i4(0)), i4(0), false},
        {"no type", CAny(), CAny(), true},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.pszNom);
        EXPECT_EQ(c.a.bEgal(c.b), c.bEgal);
        EXPECT_EQ(c.b.bEgal(c.a), c.bEgal);
    }
}

TEST_F(AnySansHote, SansRoutinesLaConversionEchoueEtGardeLaValeur) {
    CAny a;
    a.SetPSTRX(L"12");
    a.SetFlags(wANY_TRANSIT);
    EXPECT_EQ(a.__nCastTo(KS_I4), eCONV_IMPOSSIBLE);
    EXPECT_EQ(a.wGetTypeComplet(), KS_PSTRW | wANY_TRANSIT);
    EXPECT_EQ(sTexte(a), L"12");
    EXPECT_EQ(a.__nCastTo(KS_PSTRW), 0);  // its own type needs no routine

    // Wide strings give their text and their block without a conversion.
    CXYString<wchar_t> s;
    EXPECT_EQ(a.__nFillString(s), 0);
    EXPECT_EQ(s.pszGet(), pszBlocW(a));

    CAny n;
    n.SetI4(1);
    CTString t(L"stale");
    EXPECT_EQ(n.__nCastToString(t), eCONV_IMPOSSIBLE);
    EXPECT_EQ(t, L"");
}

// ---------------------------------------------------------------------------
// CAny with the host's conversion routines.

class AnyHote : public ::testing::Test {
protected:
    static kvtest::Bibliotheque& Vm() {
        static kvtest::Bibliotheque s_vm(kvtest::CheminBinaire("kv190vm.so"));
        return s_vm;
    }
    void SetUp() override {
        m_stSauve = gstConversionVM;
        gstConversionVM.pfnConversion = Vm().Symbole<PFN_nConversionDepassementExt>("nConversionDepassementExt");
        gstConversionVM.pfnFinConversion = Vm().Symbole<PFN_FinConversion>("FinConversion");
    }
    void TearDown() override { gstConversionVM = m_stSauve; }

    // A value of a type built by converting a text.
    static CAny Valeur(int nType, const wchar_t* pszTexte) {
        CAny a;
        a.SetPSTRX(pszTexte);
        EXPECT_EQ(a.__nCastTo(nType), 0) << "building type " << nType;
        return a;
    }

private:
    STConversionVM m_stSauve;
};

TEST_F(AnyHote, Conversions) {
    struct {
        const char* pszNom;
        CAny a;
        int nCible;
        int nResultat;
        int nTypeApres;
        std::wstring sTexteApres;
    } cas[] = {
        {"integer to text", Valeur(KS_I4, L"42"), KS_PSTRW, 0, KS_PSTRW, L"42"},
        {"text to integer", Valeur(KS_PSTRW, L" -17 "), KS_I4, 0, KS_I4, L"-17"},
        {"text to 2nd integer code", Valeur(KS_PSTRW, L"9"), KS_I4BIS, 0, KS_I4BIS, L"9"},
        {"not a number", Valeur(KS_PSTRW, L"abc"), KS_I4, eCONV_PAS_UN_NOMBRE, KS_PSTRW, L"abc"},
        {"out of range", Valeur(KS_PSTRW, L"300"), KS_UI1, eCONV_DEPASSEMENT, KS_PSTRW, L"300"},
        {"real to currency", Valeur(KS_R8, L"12.5"), KS_CY, 0, KS_CY, L"12.5"},
        {"number to date", Valeur(KS_I4, L"3"), KS_DATEW, eCONV_IMPOSSIBLE, KS_I4, L"3"},
        {"text to date", Valeur(KS_PSTRW, L"20240131"), KS_DATEW, 0, KS_DATEW, L"20240131"},
        {"text to time", Valeur(KS_PSTRW, L"081500000"), KS_TIMEA, 0, KS_TIMEA, L"081500000"},
        {"8-bit text to wide", Valeur(KS_PSTRA, L"caf\u00e9"), KS_PSTRW, 0, KS_PSTRW, L"caf\u00e9"},
        {"text to character", Valeur(KS_PSTRW, L"Z"), KS_CARW, 0, KS_CARW, L"Z"},
        {"text to boolean", Valeur(KS_PSTRW, L"true"), KS_BOOL, 0, KS_BOOL, L"1"},
        {"not a type", Valeur(KS_PSTRW, L"5"), 20, eCONV_TYPE_INCONNU, KS_PSTRW, L"5"},
        {"beyond the table", Valeur(KS_PSTRW, L"5"), 200, eCONV_TYPE_INCONNU, KS_PSTRW, L"5"},
        {"bytes have no text", CAny(), KS_PSTRW, eCONV_IMPOSSIBLE, KS_BIN, L""},
    };
    cas[14].a.SetBIN("ab", 2);
    for (auto& c : cas) {
        SCOPED_TRACE(c.pszNom);
        EXPECT_EQ(c.a.__nCastTo(c.nCible), c.nResultat);
        EXPECT_EQ(c.a.wGetTypeComplet(), c.nTypeApres);
        if (c.nTypeApres != KS_BIN) { EXPECT_EQ(sTexte(c.a), c.sTexteApres); }
    }

    // The currency is held in ten-thousandths.
    CAny cy = Valeur(KS_R8, L"12.5");
    ASSERT_EQ(cy.__nCastTo(KS_CY), 0);
    int64_t nCY = 0;
    std::memcpy(&nCY, cy.pGetStockage(), 8);
    EXPECT_EQ(nCY, 125000);
}

TEST_F(AnyHote, DrapeauxTraversentLaConversion) {
    for (uint16_t wFlags : {uint16_t(0), wANY_NULL, wANY_TRANSIT, wANY_FLAGS}) {
        SCOPED_TRACE(wFlags);
        CAny a = Valeur(KS_PSTRW, L"5");
        a.SetFlags(wFlags);
        ASSERT_EQ(a.__nCastTo(KS_I8), 0);
        EXPECT_EQ(a.wGetTypeComplet(), KS_I8 | wFlags);
        // A failed conversion keeps them too.
        EXPECT_EQ(a.__nCastTo(KS_DATEW), eCONV_IMPOSSIBLE);
        EXPECT_EQ(a.wGetTypeComplet(), KS_I8 | wFlags);
    }
}

TEST_F(AnyHote, DecimalAllerRetour) {
    CAny a = Valeur(KS_DECIMAL, L"12.50");
    IDecimal* piDecimal = *static_cast<IDecimal* const*>(a.pGetStockage());
    ASSERT_NE(piDecimal, nullptr);
    // The host released the scratch's reference: the value holds the only one.
    EXPECT_EQ(piDecimal->AddRef(), 2u);
    piDecimal->Release();
    {
        CAny b(a);  // a copy takes its own reference
        EXPECT_EQ(piDecimal->AddRef(), 3u);
        piDecimal->Release();
        EXPECT_TRUE(b.bEgal(Valeur(KS_DECIMAL, L"12.5")));
        EXPECT_FALSE(b.bEgal(Valeur(KS_DECIMAL, L"12.51")));
    }
    // Unsharing gives the value its own object of the same amount.
    CAny c(a);
    EXPECT_EQ(c.nUnshare(), 0);
    EXPECT_NE(*static_cast<IDecimal* const*>(c.pGetStockage()), piDecimal);
    EXPECT_EQ(sTexte(c), L"12.5");

    EXPECT_EQ(sTexte(a), L"12.5");
    ASSERT_EQ(a.__nCastTo(KS_PSTRW), 0);
    EXPECT_EQ(sTexte(a), L"12.5");
    ASSERT_EQ(a.__nCastTo(KS_DECIMAL), 0);
    ASSERT_EQ(a.__nCastTo(KS_CY), 0);
    EXPECT_EQ(sTexte(a), L"12.5");
}

TEST_F(AnyHote, TexteDUneValeurSurUneCopie) {
    CAny a = Valeur(KS_I2, L"-300");
    CTString s;
    EXPECT_EQ(a.__nCastToString(s), 0);
    EXPECT_EQ(s, L"-300");
    EXPECT_EQ(a.nGetType(), KS_I2) << "the value keeps its type";
    CXYString<wchar_t> xy;
    EXPECT_EQ(a.__nFillString(xy), 0);
    EXPECT_EQ(xy, L"-300");

    CAny b;
    b.SetBIN("x", 1);
    s = L"stale";
    EXPECT_EQ(b.__nCastToString(s), eCONV_IMPOSSIBLE);
    EXPECT_EQ(s, L"");
}

enum EGetter { eINT, eBOOL, eREAL, eBYTE, eINT_64, eBITS };

// Runs a getter and gives its output as text, with its result.
std::wstring sLit(const CAny& a, EGetter e, int& nRes) {
    switch (e) {
    case eINT: { int n = -99; nRes = a.nGetINT(n); return std::to_wstring(n); }
    case eBOOL: { bool b = true; nRes = a.nGetBOOL(b); return b ? L"true" : L"false"; }
    case eREAL: { double d = -99; nRes = a.nGetREAL(d); return std::to_wstring(d); }
    case eBYTE: { uint8_t n = 99; nRes = a.nGetBYTE(n); return std::to_wstring(n); }
    case eINT_64: { int64_t n = -99; nRes = a.nGetINT_64(n); return std::to_wstring(n); }
    case eBITS: { uint64_t n = 99; nRes = a.nGetBitField_64(n); return std::to_wstring(n); }
    }
    return L"";
}

TEST_F(AnyHote, GettersExacts) {
    struct {
        int nType;
        const wchar_t* pszValeur;
        EGetter eGetter;
        int nResultat;
        const wchar_t* pszSortie;
    } const cas[] = {
        // nGetINT: small integers keep their sign when widened.
        {KS_I1, L"-5", eINT, 0, L"-5"},
        {KS_I2, L"-300", eINT, 0, L"-300"},
        {KS_UI1, L"200", eINT, 0, L"200"},
        {KS_UI2, L"65535", eINT, 0, L"65535"},
        {KS_I4, L"-2147483648", eINT, 0, L"-2147483648"},
        {KS_I4BIS, L"-7", eINT, 0, L"-7"},
        {KS_BOOL, L"true", eINT, 0, L"1"},
        {KS_UIX, L"4000", eINT, 0, L"4000"},
        {KS_UIX, L"4294967296", eINT, eCONV_DEPASSEMENT, L"0"},
        {KS_UI4, L"5", eINT, eCONV_TYPE_INADAPTE, L"0"},
        {KS_I8, L"5", eINT, eCONV_TYPE_INADAPTE, L"0"},
        {KS_R8, L"5", eINT, eCONV_TYPE_INADAPTE, L"0"},
        {KS_PSTRW, L"5", eINT, eCONV_TYPE_INADAPTE, L"0"},
        // nGetBOOL
        {KS_BOOL, L"false", eBOOL, 0, L"false"},
        {KS_UI4, L"4000000000", eBOOL, 0, L"true"},
        {KS_I4, L"-1", eBOOL, 0, L"true"},
        {KS_I4BIS, L"0", eBOOL, 0, L"false"},
        {KS_UI1, L"1", eBOOL, eCONV_TYPE_INADAPTE, L"false"},
        {KS_PSTRW, L"1", eBOOL, eCONV_TYPE_INADAPTE, L"false"},
        // nGetREAL
        {KS_R4, L"1.5", eREAL, 0, L"1.500000"},
        {KS_R8, L"-2.25", eREAL, 0, L"-2.250000"},
        {KS_I4, L"2", eREAL, eCONV_TYPE_INADAPTE, L"0.000000"},
        {KS_CY, L"2", eREAL, eCONV_TYPE_INADAPTE, L"0.000000"},
        // nGetBYTE: unsigned bytes and 8-bit characters; a signed byte when it is not negative.
        {KS_UI1, L"200", eBYTE, 0, L"200"},
        {KS_CARA, L"A", eBYTE, 0, L"65"},
        {KS_I1, L"100", eBYTE, 0, L"100"},
        {KS_I1, L"-1", eBYTE, eCONV_DEPASSEMENT, L"0"},
        {KS_I4, L"1", eBYTE, eCONV_TYPE_INADAPTE, L"0"},
        // nGetINT_64: every integer width.
        {KS_I8, L"-9223372036854775808", eINT_64, 0, L"-9223372036854775808"},
        {KS_UI4, L"4000000000", eINT_64, 0, L"4000000000"},
        {KS_I1, L"-128", eINT_64, 0, L"-128"},
        {KS_UI8, L"9223372036854775807", eINT_64, 0, L"9223372036854775807"},
        {KS_UI8, L"9223372036854775808", eINT_64, eCONV_DEPASSEMENT, L"0"},
        {KS_CY, L"1", eINT_64, eCONV_TYPE_INADAPTE, L"0"},
        {KS_DUREE, L"1", eINT_64, eCONV_TYPE_INADAPTE, L"0"},
        // nGetBitField_64: the bits of the source width.
        {KS_I2, L"-1", eBITS, 0, L"65535"},
        {KS_I4, L"-2", eBITS, 0, L"4294967294"},
        {KS_UI8, L"18446744073709551615", eBITS, 0, L"18446744073709551615"},
        {KS_R8, L"1", eBITS, eCONV_TYPE_INADAPTE, L"0"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << "type " << c.nType << " value " << c.pszValeur << " getter " << c.eGetter);
        const CAny a = Valeur(c.nType, c.pszValeur);
        int nRes = -1;
        const std::wstring s = sLit(a, c.eGetter, nRes);
        EXPECT_EQ(nRes, c.nResultat);
        EXPECT_EQ(s, c.pszSortie);
    }
}

} // namespace
