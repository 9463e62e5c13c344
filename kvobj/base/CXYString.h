// Reference-counted string of char or wchar_t.
//
// The heap block is laid out the way the virtual machine hands its strings
// over, so that a block can pass between the two without copying:
//
//   offset 0   atomic 32-bit reference count
//   offset 4   32-bit reserved word (0)
//   offset 8   32-bit byte length of the text, terminator excluded
//   offset 12  the characters, then one zero character
//
// The object holds the characters pointer only (null for the empty string),
// so the count sits 12 bytes before what pszGet() returns. Copies share the
// block; a writer calls nUnshare() (or pszGetModifiable()) first. The count is
// changed atomically: copies of one string may live and die on several
// threads at once (one CXYString object itself is not meant to be written by
// two threads at the same time, as with any value type).
//
// Every block comes from one allocation pair (malloc/free by default), which
// the host's string allocator can replace before the first string is made.
#pragma once
#include <atomic>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string_view>
#include <type_traits>

typedef void* (*PFN_AlloueBlocXY)(size_t nOctets);
typedef void (*PFN_LibereBlocXY)(void* pBloc);

// The allocation pair of every CXYString block.
void* pAlloueBlocXY(size_t nOctets);
void LibereBlocXY(void* pBloc);
// Replaces the allocation pair (null restores malloc/free). Only before any
// string exists: a block must go back to the allocator it came from.
void DefinitAllocateurXY(PFN_AlloueBlocXY pfnAlloue, PFN_LibereBlocXY pfnLibere);

// Header in front of the characters of a block.
struct STEnteteXY {
    std::atomic<int32_t> nReferences;
    uint32_t nReserve;
    uint32_t nTailleOctets;
};
static_assert(sizeof(STEnteteXY) == 12, "the count must sit 12 bytes before the characters");
static_assert(std::atomic<int32_t>::is_always_lock_free);

template <class T>
class CXYString {
public:
    static constexpr size_t nTAILLE_ENTETE = sizeof(STEnteteXY);
    // Longest text a block can describe with its 32-bit byte length.
    static constexpr size_t nLONGUEUR_MAX = UINT32_MAX / sizeof(T);

    CXYString() noexcept = default;
    CXYString(const T* psz) { Set(psz); }
    CXYString(const T* p, size_t n) { Set(p, n); }
    explicit CXYString(std::basic_string_view<T> s) { Set(s.data(), s.size()); }
    CXYString(const CXYString& s) noexcept : m_psz(s.m_psz) { Prend(m_psz); }
    CXYString(CXYString&& s) noexcept : m_psz(s.m_psz) { s.m_psz = nullptr; }
    ~CXYString() { Relache(m_psz); }

    CXYString& operator=(const CXYString& s) noexcept {
        T* pAncien = m_psz;
        Prend(s.m_psz);  // first: s may be *this
        m_psz = s.m_psz;
        Relache(pAncien);
        return *this;
    }
    CXYString& operator=(CXYString&& s) noexcept {
        if (this != &s) {
            Relache(m_psz);
            m_psz = s.m_psz;
            s.m_psz = nullptr;
        }
        return *this;
    }
    CXYString& operator=(const T* psz) {
        Set(psz);
        return *this;
    }

    // A string that shares an existing block (for example one the virtual
    // machine handed over): takes a reference on it. Null gives the empty string.
    static CXYString sPartage(const T* pszBloc) noexcept {
        CXYString s;
        s.m_psz = const_cast<T*>(pszBloc);
        Prend(s.m_psz);
        return s;
    }

    // Replaces the text with n characters from p (which may point into this
    // string's own block). An empty text holds no block.
    void Set(const T* p, size_t n) {
        T* pNouveau = nullptr;
        if (n > 0 && p) {
            pNouveau = pszAlloue(n);
            std::memcpy(pNouveau, p, n * sizeof(T));
        }
        Relache(m_psz);
        m_psz = pNouveau;
    }
    void Set(const T* psz) { Set(psz, psz ? std::char_traits<T>::length(psz) : 0); }
    void Vide() noexcept {
        Relache(m_psz);
        m_psz = nullptr;
    }

    // The zero-terminated text; never null.
    const T* pszGet() const noexcept { return m_psz ? m_psz : pszVide(); }
    // The held characters pointer: null for the empty string.
    const T* pszGetBloc() const noexcept { return m_psz; }
    size_t nGetLongueur() const noexcept { return nGetTailleOctets() / sizeof(T); }
    size_t nGetTailleOctets() const noexcept { return m_psz ? pEntete(m_psz)->nTailleOctets : 0; }
    bool bEstVide() const noexcept { return m_psz == nullptr; }
    // Number of strings sharing the block; 0 for the empty string.
    int nGetNbReferences() const noexcept {
        return m_psz ? pEntete(m_psz)->nReferences.load(std::memory_order_acquire) : 0;
    }

    // Gives this string a block of its own when the block is shared. Returns 0.
    int nUnshare() {
        if (m_psz && pEntete(m_psz)->nReferences.load(std::memory_order_acquire) > 1) {
            const size_t n = nGetLongueur();
            T* pCopie = pszAlloue(n);
            std::memcpy(pCopie, m_psz, n * sizeof(T));
            Relache(m_psz);
            m_psz = pCopie;
        }
        return 0;
    }
    // The characters, made unique first, for a change in place that keeps the
    // length. Null for the empty string.
    T* pszGetModifiable() {
        nUnshare();
        return m_psz;
    }

    std::basic_string_view<T> sVue() const noexcept { return {pszGet(), nGetLongueur()}; }
    operator std::basic_string_view<T>() const noexcept { return sVue(); }

    // Character by character comparison (code unit values): <0, 0 or >0.
    int nCompare(std::basic_string_view<T> s) const noexcept {
        const int n = sVue().compare(s);
        return n < 0 ? -1 : (n > 0 ? 1 : 0);
    }
    bool operator==(const CXYString& s) const noexcept { return m_psz == s.m_psz || sVue() == s.sVue(); }
    bool operator==(const T* psz) const noexcept {
        return sVue() == std::basic_string_view<T>(psz ? psz : pszVide());
    }
    std::strong_ordering operator<=>(const CXYString& s) const noexcept { return nCompare(s.sVue()) <=> 0; }

private:
    static const T* pszVide() noexcept {
        static const T s_szVide[1] = {T(0)};
        return s_szVide;
    }
    static STEnteteXY* pEntete(const T* psz) noexcept {
        return reinterpret_cast<STEnteteXY*>(reinterpret_cast<char*>(const_cast<T*>(psz)) - nTAILLE_ENTETE);
    }
    // A block with one reference for n characters and their terminator; the
    // terminator is written, the characters are the caller's.
    static T* pszAlloue(size_t n) {
        if (n > nLONGUEUR_MAX) throw std::length_error("CXYString: text too long");
        void* pBloc = pAlloueBlocXY(nTAILLE_ENTETE + (n + 1) * sizeof(T));
        if (!pBloc) throw std::bad_alloc();
        STEnteteXY* pEnt = new (pBloc) STEnteteXY;
        pEnt->nReferences.store(1, std::memory_order_relaxed);
        pEnt->nReserve = 0;
        pEnt->nTailleOctets = static_cast<uint32_t>(n * sizeof(T));
        T* psz = reinterpret_cast<T*>(static_cast<char*>(pBloc) + nTAILLE_ENTETE);
        psz[n] = T(0);
        return psz;
    }
    static void Prend(T* psz) noexcept {
        if (psz) pEntete(psz)->nReferences.fetch_add(1, std::memory_order_relaxed);
    }
    static void Relache(T* psz) noexcept {
        if (!psz) return;
        STEnteteXY* pEnt = pEntete(psz);
        if (pEnt->nReferences.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            pEnt->~STEnteteXY();
            LibereBlocXY(pEnt);
        }
    }

    T* m_psz = nullptr;
};

// CAny hands the object to the host's routines as the `const T*` it holds.
static_assert(sizeof(CXYString<wchar_t>) == sizeof(wchar_t*));
static_assert(std::is_standard_layout_v<CXYString<wchar_t>>);
