#include "controls/core/CAny.h"

#include <array>
#include <climits>
#include <cstring>
#include <new>
#include <string>
#include <type_traits>

#include "frame/Module.h"
#include "kv/vm.h"

const wchar_t* CDateTimeBase::ms_pcszValeurInitDate = L"00000000";
const wchar_t* CDateTimeBase::ms_pcszValeurInitTime = L"000000000";

void CAny_Intern::vCopie(UAnyStockage& dst, const UAnyStockage& src) const noexcept {
    std::memcpy(dst.ab, src.ab, sizeof dst.ab);
}

namespace {

// Scalars are read and written through memcpy: the storage is shared by all
// the types and the host reads and writes it byte for byte.
template <class T>
T Lit(const void* p) noexcept {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
template <class T>
void Ecrit(void* p, T v) noexcept {
    std::memcpy(p, &v, sizeof v);
}

// ---------------------------------------------------------------------------
// Scalars held in place.

template <class T>
class CAny_Scalaire : public CAny_Intern {
public:
    bool vbEgal(const UAnyStockage& a, const UAnyStockage& b) const noexcept override {
        return Lit<T>(a.ab) == Lit<T>(b.ab);
    }
    void vPrendConversion(UAnyStockage& st, const STValeurConv& r) const override { Ecrit(st.ab, Lit<T>(&r)); }
};

// Stored as a 4-byte integer; any non-zero value is true.
class CAny_KSBOOL final : public CAny_Scalaire<int32_t> {
public:
    bool vbEgal(const UAnyStockage& a, const UAnyStockage& b) const noexcept override {
        return (Lit<int32_t>(a.ab) != 0) == (Lit<int32_t>(b.ab) != 0);
    }
};
class CAny_KSUI1 final : public CAny_Scalaire<uint8_t> {};
class CAny_KSUI2 final : public CAny_Scalaire<uint16_t> {};
class CAny_KSUI4 final : public CAny_Scalaire<uint32_t> {};
class CAny_KSUI8 final : public CAny_Scalaire<uint64_t> {};
class CAny_KSI1 final : public CAny_Scalaire<int8_t> {};
class CAny_KSI2 final : public CAny_Scalaire<int16_t> {};
class CAny_KSI4 final : public CAny_Scalaire<int32_t> {};  // codes 8 and 15
class CAny_KSI8 final : public CAny_Scalaire<int64_t> {};
class CAny_KSCY final : public CAny_Scalaire<int64_t> {};  // ten-thousandths
class CAny_KSR4 final : public CAny_Scalaire<float> {};
class CAny_KSR8 final : public CAny_Scalaire<double> {};
class CAny_KSUIX final : public CAny_Scalaire<uintptr_t> {};
class CAny_KSCARA final : public CAny_Scalaire<char> {};
class CAny_KSCARW final : public CAny_Scalaire<wchar_t> {};
class CAny_KSDUREE final : public CAny_Scalaire<int64_t> {};  // milliseconds

// Date and time as two packed integers; the date starts at the initial date.
class CAny_KSDATETIME final : public CAny_Intern {
public:
    void vInitialise(UAnyStockage& st) const override {
        // Only a complete 8-digit initial date is a date; anything else is the empty date.
        const wchar_t* psz = CDateTimeBase::ms_pcszValeurInitDate;
        int32_t nDate = 0;
        for (int i = 0; i < nLONGUEUR_DATE; ++i) {
            if (!psz || psz[i] < L'0' || psz[i] > L'9') {
                nDate = 0;
                break;
            }
            nDate = nDate * 10 + (psz[i] - L'0');
        }
        Ecrit(st.ab, STDateHeure{nDate, 0});
    }
    bool vbEgal(const UAnyStockage& a, const UAnyStockage& b) const noexcept override {
        const auto dhA = Lit<STDateHeure>(a.ab), dhB = Lit<STDateHeure>(b.ab);
        return dhA.nDate == dhB.nDate && dhA.nHeure == dhB.nHeure;
    }
    void vPrendConversion(UAnyStockage& st, const STValeurConv& r) const override { Ecrit(st.ab, r.dh); }
};

// ---------------------------------------------------------------------------
// Dates and times as inline text of N characters and a terminator.

template <class C>
C* pszInline(UAnyStockage& st) noexcept {
    if constexpr (sizeof(C) == 1) return st.szA;
    else return st.szW;
}
template <class C>
const C* pszInline(const UAnyStockage& st) noexcept {
    if constexpr (sizeof(C) == 1) return st.szA;
    else return st.szW;
}

// The digits of the texts are ASCII; an 8-bit text keeps nothing else.
template <class C>
C cDepuisLarge(wchar_t c) noexcept {
    if constexpr (sizeof(C) == 1) return (c >= 0 && c < 0x80) ? char(c) : '?';
    else return c;
}

template <class C>
size_t nLongueurBornee(const C* p, size_t nMax) noexcept {
    size_t n = 0;
    while (n < nMax && p[n]) ++n;
    return n;
}

template <class C, int N, bool bComplete>
class CAny_TexteInline : public CAny_Intern {
public:
    static_assert((N + 1) * sizeof(C) <= UAnyStockage::nTAILLE);

    void vInitialise(UAnyStockage& st) const override {
        const wchar_t* pszInit = N == nLONGUEUR_DATE ? CDateTimeBase::ms_pcszValeurInitDate
                                                     : CDateTimeBase::ms_pcszValeurInitTime;
        C* psz = pszInline<C>(st);
        size_t n = pszInit ? nLongueurBornee(pszInit, N) : 0;
        for (size_t i = 0; i < n; ++i) psz[i] = cDepuisLarge<C>(pszInit[i]);
        if (bComplete)
            for (; n < size_t(N); ++n) psz[n] = C('0');
        psz[n] = C(0);
    }
    bool vbEgal(const UAnyStockage& a, const UAnyStockage& b) const noexcept override {
        const C* pA = pszInline<C>(a);
        const C* pB = pszInline<C>(b);
        const size_t nA = nLongueurBornee(pA, N), nB = nLongueurBornee(pB, N);
        return nA == nB && std::char_traits<C>::compare(pA, pB, nA) == 0;
    }
    void vPrendConversion(UAnyStockage& st, const STValeurConv& r) const override {
        const C* pSource = sizeof(C) == 1 ? reinterpret_cast<const C*>(r.szDateA) : reinterpret_cast<const C*>(r.szDateW);
        C* psz = pszInline<C>(st);
        const size_t n = nLongueurBornee(pSource, N);
        std::char_traits<C>::copy(psz, pSource, n);
        psz[n] = C(0);
    }
};

class CAny_KSDATEW final : public CAny_TexteInline<wchar_t, nLONGUEUR_DATE, false> {};
class CAny_KSTIMEW final : public CAny_TexteInline<wchar_t, nLONGUEUR_HEURE, true> {};
class CAny_KSDATEA final : public CAny_TexteInline<char, nLONGUEUR_DATE, false> {};
class CAny_KSTIMEA final : public CAny_TexteInline<char, nLONGUEUR_HEURE, true> {};

// ---------------------------------------------------------------------------
// Strings and byte blocks held by a shared CXYString.

class CAny_ChaineW : public CAny_Intern {
public:
    void vConstruit(UAnyStockage& st) const noexcept override { new (&st.sW) CXYString<wchar_t>(); }
    void vDetruit(UAnyStockage& st) const noexcept override { st.sW.~CXYString(); }
    void vCopie(UAnyStockage& dst, const UAnyStockage& src) const noexcept override {
        new (&dst.sW) CXYString<wchar_t>(src.sW);
    }
    bool vbEgal(const UAnyStockage& a, const UAnyStockage& b) const noexcept override { return a.sW == b.sW; }
    void vPrendConversion(UAnyStockage& st, const STValeurConv& r) const override { st.sW.Set(r.pszW); }
    int vnUnshare(UAnyStockage& st) const override { return st.sW.nUnshare(); }
    bool vbTexteDirect(const UAnyStockage& st, CTString& s) const override {
        s.assign(st.sW.sVue());
        return true;
    }
    bool vbPartageTexte(const UAnyStockage& st, CXYString<wchar_t>& s) const override {
        s = st.sW;
        return true;
    }
};
class CAny_KSPSTRW final : public CAny_ChaineW {};
class CAny_KSDSTRW final : public CAny_ChaineW {};

class CAny_BlocA : public CAny_Intern {
public:
    void vConstruit(UAnyStockage& st) const noexcept override { new (&st.sA) CXYString<char>(); }
    void vDetruit(UAnyStockage& st) const noexcept override { st.sA.~CXYString(); }
    void vCopie(UAnyStockage& dst, const UAnyStockage& src) const noexcept override {
        new (&dst.sA) CXYString<char>(src.sA);
    }
    bool vbEgal(const UAnyStockage& a, const UAnyStockage& b) const noexcept override { return a.sA == b.sA; }
    int vnUnshare(UAnyStockage& st) const override { return st.sA.nUnshare(); }
};
// 8-bit strings: the conversion result is a zero-terminated text.
class CAny_ChaineA : public CAny_BlocA {
public:
    void vPrendConversion(UAnyStockage& st, const STValeurConv& r) const override { st.sA.Set(r.pszA); }
};
class CAny_KSPSTRA final : public CAny_ChaineA {};
class CAny_KSDSTRA final : public CAny_ChaineA {};
// Byte blocks: no conversion produces them.
class CAny_KSBIN final : public CAny_BlocA {};
class CAny_KSBUFFER final : public CAny_BlocA {};
class CAny_KSMEMOIMG final : public CAny_BlocA {};

// ---------------------------------------------------------------------------
// Decimals: an IDecimal* with one reference of the value's own; null is zero
// (the host reads it so), which is what a value gets without the factory.

class CAny_KSDECIMAL final : public CAny_Intern {
public:
    void vInitialise(UAnyStockage& st) const override {
        if (IFabriqueGlobale* piFabrique = pGetFabriqueDecimaux()) st.pDecimal = piFabrique->pCreeDecimal(nullptr);
    }
    void vDetruit(UAnyStockage& st) const noexcept override {
        if (st.pDecimal) st.pDecimal->Release();
    }
    void vCopie(UAnyStockage& dst, const UAnyStockage& src) const noexcept override {
        dst.pDecimal = src.pDecimal;
        if (dst.pDecimal) dst.pDecimal->AddRef();
    }
    bool vbEgal(const UAnyStockage& a, const UAnyStockage& b) const noexcept override {
        if (a.pDecimal == b.pDecimal) return true;
        // The host's text of a decimal is canonical (no trailing zeros).
        try {
            return sTexte(a.pDecimal) == sTexte(b.pDecimal);
        } catch (...) {
            return false;
        }
    }
    void vPrendConversion(UAnyStockage& st, const STValeurConv& r) const override {
        // The scratch keeps its own reference, which FinConversion releases.
        st.pDecimal = r.pDecimal;
        if (st.pDecimal) st.pDecimal->AddRef();
    }
    int vnUnshare(UAnyStockage& st) const override {
        if (!st.pDecimal) return 0;
        IDecimal* piCopie = st.pDecimal->pClone();
        if (!piCopie) return eCONV_IMPOSSIBLE;
        st.pDecimal->Release();
        st.pDecimal = piCopie;
        return 0;
    }

private:
    static std::wstring sTexte(const IDecimal* p) { return p ? p->sVersTexte() : std::wstring(L"0"); }
};

// ---------------------------------------------------------------------------
// Objects: an opaque pointer that the value neither owns nor counts.

class CAny_KSOBJET_BASE : public CAny_Intern {
public:
    bool vbEgal(const UAnyStockage& a, const UAnyStockage& b) const noexcept override {
        return a.pObjet == b.pObjet;
    }
    void vPrendConversion(UAnyStockage& st, const STValeurConv& r) const override {
        st.pObjet = Lit<void*>(&r);
    }
};
class CAny_KSCONVOYEUR final : public CAny_KSOBJET_BASE {};
class CAny_KSPOLICE final : public CAny_KSOBJET_BASE {};
class CAny_KSTABANY final : public CAny_KSOBJET_BASE {};
class CAny_KSDINO final : public CAny_KSOBJET_BASE {};

static_assert(std::is_trivially_destructible_v<CAny_KSDECIMAL>);

constexpr int nNB_TYPES = 144;  // codes of 144 and above are no type

const std::array<const CAny_Intern*, nNB_TYPES>& TableIntern() {
    static const CAny_Intern s_Vide;
    static const CAny_KSBOOL s_BOOL;
    static const CAny_KSUI1 s_UI1;
    static const CAny_KSUI2 s_UI2;
    static const CAny_KSUI4 s_UI4;
    static const CAny_KSUI8 s_UI8;
    static const CAny_KSI1 s_I1;
    static const CAny_KSI2 s_I2;
    static const CAny_KSI4 s_I4;
    static const CAny_KSI8 s_I8;
    static const CAny_KSCY s_CY;
    static const CAny_KSR4 s_R4;
    static const CAny_KSR8 s_R8;
    static const CAny_KSDECIMAL s_DECIMAL;
    static const CAny_KSUIX s_UIX;
    static const CAny_KSDSTRW s_DSTRW;
    static const CAny_KSCARA s_CARA;
    static const CAny_KSPSTRA s_PSTRA;
    static const CAny_KSDSTRA s_DSTRA;
    static const CAny_KSDATEW s_DATEW;
    static const CAny_KSTIMEW s_TIMEW;
    static const CAny_KSDATETIME s_DATETIME;
    static const CAny_KSDUREE s_DUREE;
    static const CAny_KSBIN s_BIN;
    static const CAny_KSBUFFER s_BUFFER;
    static const CAny_KSMEMOIMG s_MEMOIMG;
    static const CAny_KSCONVOYEUR s_CONVOYEUR;
    static const CAny_KSPOLICE s_POLICE;
    static const CAny_KSCARW s_CARW;
    static const CAny_KSTABANY s_TABANY;
    static const CAny_KSOBJET_BASE s_OBJET;
    static const CAny_KSPSTRW s_PSTRW;
    static const CAny_KSDINO s_DINO;
    static const CAny_KSDATEA s_DATEA;
    static const CAny_KSTIMEA s_TIMEA;

    static const std::array<const CAny_Intern*, nNB_TYPES> s_tab = [] {
        std::array<const CAny_Intern*, nNB_TYPES> t{};
        t[KS_VIDE] = &s_Vide;
        t[KS_BOOL] = &s_BOOL;
        t[KS_UI1] = &s_UI1;
        t[KS_UI2] = &s_UI2;
        t[KS_UI4] = &s_UI4;
        t[KS_UI8] = &s_UI8;
        t[KS_I1] = &s_I1;
        t[KS_I2] = &s_I2;
        t[KS_I4] = &s_I4;
        t[KS_I4BIS] = &s_I4;
        t[KS_I8] = &s_I8;
        t[KS_CY] = &s_CY;
        t[KS_R4] = &s_R4;
        t[KS_R8] = &s_R8;
        t[KS_DECIMAL] = &s_DECIMAL;
        t[KS_UIX] = &s_UIX;
        t[KS_DSTRW] = &s_DSTRW;
        t[KS_CARA] = &s_CARA;
        t[KS_PSTRA] = &s_PSTRA;
        t[KS_DSTRA] = &s_DSTRA;
        t[KS_DATEW] = &s_DATEW;
        t[KS_TIMEW] = &s_TIMEW;
        t[KS_DATETIME] = &s_DATETIME;
        t[KS_DUREE] = &s_DUREE;
        t[KS_BIN] = &s_BIN;
        t[KS_BUFFER] = &s_BUFFER;
        t[KS_MEMOIMG] = &s_MEMOIMG;
        t[KS_CONVOYEUR] = &s_CONVOYEUR;
        t[KS_POLICE] = &s_POLICE;
        t[KS_CARW] = &s_CARW;
        t[KS_TABANY] = &s_TABANY;
        t[KS_OBJET] = &s_OBJET;
        t[KS_OBJET2] = &s_OBJET;
        t[KS_OBJET3] = &s_OBJET;
        t[KS_OBJET4] = &s_OBJET;
        t[KS_PSTRW] = &s_PSTRW;
        t[KS_DINO] = &s_DINO;
        t[KS_DATEA] = &s_DATEA;
        t[KS_TIMEA] = &s_TIMEA;
        return t;
    }();
    return s_tab;
}

// The integer held by an integer type code (the boolean as 0 or 1): its value
// and its bits zero-extended from the type's width. False for another code.
bool bLitEntier(int nType, const UAnyStockage& u, __int128& n, uint64_t& nBits) noexcept {
    switch (nType) {
    case KS_BOOL: n = Lit<int32_t>(u.ab) != 0; nBits = uint64_t(n); return true;
    case KS_UI1: n = nBits = Lit<uint8_t>(u.ab); return true;
    case KS_UI2: n = nBits = Lit<uint16_t>(u.ab); return true;
    case KS_UI4: n = nBits = Lit<uint32_t>(u.ab); return true;
    case KS_UI8: n = nBits = Lit<uint64_t>(u.ab); return true;
    case KS_UIX: n = nBits = Lit<uintptr_t>(u.ab); return true;
    case KS_I1: n = Lit<int8_t>(u.ab); nBits = uint8_t(n); return true;
    case KS_I2: n = Lit<int16_t>(u.ab); nBits = uint16_t(n); return true;
    case KS_I4:
    case KS_I4BIS: n = Lit<int32_t>(u.ab); nBits = uint32_t(n); return true;
    case KS_I8: n = Lit<int64_t>(u.ab); nBits = uint64_t(n); return true;
    default: return false;
    }
}

} // namespace

const CAny_Intern* CAny_Intern::spclGet(int nType) noexcept {
    return nType >= 0 && nType < nNB_TYPES ? TableIntern()[nType] : nullptr;
}

// ---------------------------------------------------------------------------

CAny::CAny() noexcept : m_pclIntern(CAny_Intern::spclGet(KS_VIDE)) {}

CAny::CAny(const CAny& cl) noexcept : m_pclIntern(cl.m_pclIntern), m_wType(cl.m_wType) {
    m_pclIntern->vCopie(m_u, cl.m_u);
}

CAny::~CAny() { m_pclIntern->vDetruit(m_u); }

CAny& CAny::operator=(const CAny& cl) noexcept {
    if (this != &cl) {
        CAny copie(cl);
        Echange(copie);
    }
    return *this;
}

CAny& CAny::operator=(int n) {
    SetI4(n);
    return *this;
}

CAny& CAny::operator=(const wchar_t* psz) {
    SetPSTRX(psz);
    return *this;
}

// Every handler's storage may move byte for byte: strings and decimals are
// pointers to blocks elsewhere, nothing points into the storage itself.
void CAny::Echange(CAny& cl) noexcept {
    unsigned char abTemp[UAnyStockage::nTAILLE];
    std::memcpy(abTemp, m_u.ab, sizeof abTemp);
    std::memcpy(m_u.ab, cl.m_u.ab, sizeof abTemp);
    std::memcpy(cl.m_u.ab, abTemp, sizeof abTemp);
    std::swap(m_pclIntern, cl.m_pclIntern);
    std::swap(m_wType, cl.m_wType);
}

void CAny::__SetType(int nType, bool bSansInit) {
    const CAny_Intern* pclIntern = CAny_Intern::spclGet(nType);
    if (!pclIntern) {
        nType = KS_VIDE;
        pclIntern = CAny_Intern::spclGet(KS_VIDE);
    }
    if (nType == nGetType()) return;
    m_pclIntern->vDetruit(m_u);
    std::memset(m_u.ab, 0, sizeof m_u.ab);
    m_pclIntern = pclIntern;
    m_wType = static_cast<uint16_t>(nType);
    m_pclIntern->vConstruit(m_u);
    if (!bSansInit) m_pclIntern->vInitialise(m_u);
}

void CAny::SetTypeSansFlags(int nType) {
    __SetType(nType, true);
    m_wType &= ~wANY_FLAGS;
}

void CAny::SetI4(int32_t n) {
    SetTypeSansFlags(KS_I4);
    Ecrit(m_u.ab, n);
}

void CAny::SetI8(int64_t n) {
    SetTypeSansFlags(KS_I8);
    Ecrit(m_u.ab, n);
}

void CAny::SetBOOL(bool b) {
    SetTypeSansFlags(KS_BOOL);
    Ecrit(m_u.ab, int32_t(b ? 1 : 0));
}

void CAny::SetR8(double d) {
    SetTypeSansFlags(KS_R8);
    Ecrit(m_u.ab, d);
}

void CAny::SetCY(int64_t nDixMilliemes) {
    SetTypeSansFlags(KS_CY);
    Ecrit(m_u.ab, nDixMilliemes);
}

// The new text is built before the type changes: a failed allocation leaves
// the value as it was, and a text taken from the value itself stays valid.
void CAny::SetPSTRX(const wchar_t* psz) { SetPSTRX(CXYString<wchar_t>(psz)); }

void CAny::SetPSTRX(const wchar_t* p, size_t n) { SetPSTRX(CXYString<wchar_t>(p, n)); }

void CAny::SetPSTRX(const CXYString<wchar_t>& s) {
    CXYString<wchar_t> sCopie(s);
    SetTypeSansFlags(KS_PSTRW);
    m_u.sW = std::move(sCopie);
}

void CAny::SetCSTR(const char* psz) { SetCSTR(psz, psz ? std::strlen(psz) : 0); }

void CAny::SetCSTR(const char* p, size_t n) {
    CXYString<char> s(p, n);
    SetTypeSansFlags(KS_PSTRA);
    m_u.sA = std::move(s);
}

void CAny::SetBIN(const void* p, size_t nTaille) {
    CXYString<char> s(static_cast<const char*>(p), nTaille);
    SetTypeSansFlags(KS_BIN);
    m_u.sA = std::move(s);
}

void CAny::SetObjet(void* p) {
    SetTypeSansFlags(KS_OBJET);
    m_u.pObjet = p;
}

void* CAny::pGetObjet() const noexcept {
    switch (nGetType()) {
    case KS_OBJET: case KS_OBJET2: case KS_OBJET3: case KS_OBJET4: return bEstNull() ? nullptr : m_u.pObjet;
    default: return nullptr;
    }
}

void CAny::SetNull(bool bNull) noexcept {
    if (bNull) m_wType |= wANY_NULL;
    else m_wType &= ~wANY_NULL;
}

void CAny::SetFlags(uint16_t wFlags) noexcept {
    m_wType = static_cast<uint16_t>((m_wType & ~wANY_FLAGS) | (wFlags & wANY_FLAGS));
}

// ---------------------------------------------------------------------------
// Exact getters.

int CAny::nGetINT(int& n) const noexcept {
    n = 0;
    switch (nGetType()) {
    case KS_BOOL: case KS_UI1: case KS_UI2: case KS_I1: case KS_I2: case KS_I4: case KS_I4BIS: case KS_UIX: break;
    default: return eCONV_TYPE_INADAPTE;
    }
    if (bEstNull()) return eCONV_OK;
    __int128 nValeur = 0;
    uint64_t nBits = 0;
    bLitEntier(nGetType(), m_u, nValeur, nBits);
    // The system-size integer is 64 bits wide here: it may not fit.
    if (nValeur > INT_MAX) return eCONV_DEPASSEMENT;
    n = static_cast<int>(nValeur);
    return eCONV_OK;
}

int CAny::nGetBOOL(bool& b) const noexcept {
    b = false;
    switch (nGetType()) {
    case KS_BOOL: case KS_UI4: case KS_I4: case KS_I4BIS: break;
    default: return eCONV_TYPE_INADAPTE;
    }
    if (!bEstNull()) b = Lit<uint32_t>(m_u.ab) != 0;
    return eCONV_OK;
}

int CAny::nGetREAL(double& d) const noexcept {
    d = 0;
    switch (nGetType()) {
    case KS_R4: if (!bEstNull()) d = Lit<float>(m_u.ab); return eCONV_OK;
    case KS_R8: if (!bEstNull()) d = Lit<double>(m_u.ab); return eCONV_OK;
    default: return eCONV_TYPE_INADAPTE;
    }
}

int CAny::nGetBYTE(uint8_t& n) const noexcept {
    n = 0;
    switch (nGetType()) {
    case KS_UI1:
    case KS_CARA:
        if (!bEstNull()) n = Lit<uint8_t>(m_u.ab);
        return eCONV_OK;
    case KS_I1: {
        const int8_t c = bEstNull() ? 0 : Lit<int8_t>(m_u.ab);
        if (c < 0) return eCONV_DEPASSEMENT;
        n = static_cast<uint8_t>(c);
        return eCONV_OK;
    }
    default: return eCONV_TYPE_INADAPTE;
    }
}

int CAny::nGetINT_64(int64_t& n) const noexcept {
    n = 0;
    __int128 nValeur = 0;
    uint64_t nBits = 0;
    if (!bLitEntier(nGetType(), m_u, nValeur, nBits)) return eCONV_TYPE_INADAPTE;
    if (bEstNull()) return eCONV_OK;
    if (nValeur > INT64_MAX) return eCONV_DEPASSEMENT;
    n = static_cast<int64_t>(nValeur);
    return eCONV_OK;
}

int CAny::nGetBitField_64(uint64_t& n) const noexcept {
    n = 0;
    __int128 nValeur = 0;
    uint64_t nBits = 0;
    if (!bLitEntier(nGetType(), m_u, nValeur, nBits)) return eCONV_TYPE_INADAPTE;
    if (!bEstNull()) n = nBits;
    return eCONV_OK;
}

// ---------------------------------------------------------------------------
// Conversions.

int CAny::__nCastTo(int nType, unsigned nOptions, unsigned nFlags) {
    if (nType == nGetType()) return eCONV_OK;
    const CAny_Intern* pclCible = CAny_Intern::spclGet(nType);
    if (!pclCible) return eCONV_TYPE_INCONNU;
    if (!gstConversionVM.pfnConversion) return eCONV_IMPOSSIBLE;

    STValeurConv stScratch;
    const int nRes = gstConversionVM.pfnConversion(&m_u, nGetType(), &stScratch, nType, nOptions, nFlags);
    if (nRes > 99) return nRes;

    // The result is built aside and swapped in, so that nothing of this value
    // changes unless the whole result could be stored.
    CAny clResultat;
    int nErreur = eCONV_OK;
    try {
        clResultat.__SetType(nType, true);
        pclCible->vPrendConversion(clResultat.m_u, stScratch);
    } catch (...) {
        nErreur = eCONV_IMPOSSIBLE;
    }
    if (gstConversionVM.pfnFinConversion) gstConversionVM.pfnFinConversion(&stScratch, nType);
    if (nErreur != eCONV_OK) return nErreur;
    clResultat.m_wType |= m_wType & wANY_FLAGS;
    Echange(clResultat);
    return nRes;
}

int CAny::__nCastToString(CTString& s, unsigned nOptions, unsigned nFlags) const {
    s.Vide();
    if (bEstNull() || nGetType() == KS_VIDE) return eCONV_OK;
    try {
        if (m_pclIntern->vbTexteDirect(m_u, s)) return eCONV_OK;
        CAny clCopie(*this);
        const int nRes = clCopie.__nCastTo(KS_PSTRW, nOptions, nFlags);
        if (nRes > 99) return nRes;
        s.assign(clCopie.m_u.sW.sVue());
        return nRes;
    } catch (const std::bad_alloc&) {
        s.Vide();
        return eCONV_IMPOSSIBLE;
    }
}

int CAny::__nFillString(CXYString<wchar_t>& s, unsigned nOptions, unsigned nFlags) const {
    if (!bEstNull() && m_pclIntern->vbPartageTexte(m_u, s)) return eCONV_OK;
    CTString sTexte;
    const int nRes = __nCastToString(sTexte, nOptions, nFlags);
    if (nRes > 99) {
        s.Vide();
        return nRes;
    }
    try {
        s.Set(sTexte.data(), sTexte.size());
    } catch (const std::bad_alloc&) {
        s.Vide();
        return eCONV_IMPOSSIBLE;
    }
    return nRes;
}

int CAny::nUnshare() { return m_pclIntern->vnUnshare(m_u); }

bool CAny::bEgal(const CAny& cl) const noexcept {
    if (nGetType() != cl.nGetType()) return false;
    if (bEstNull() || cl.bEstNull()) return bEstNull() == cl.bEstNull();
    return m_pclIntern->vbEgal(m_u, cl.m_u);
}
