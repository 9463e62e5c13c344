// The typed value through which every property value, language argument,
// result, initial value and persisted value passes.
//
// A value is a 16-bit type word and inline storage. The low byte of the word
// is the language's type code (kv/types.h); two flags of the high byte travel
// with the value: wANY_NULL marks the null value (it reads as empty) and
// wANY_TRANSIT is carried through conversions untouched. A per-type handler
// (CAny_Intern and its subclasses, one per family of type codes) knows how to
// set up, copy, compare and release the storage of its type.
//
// The storage holds the value in the representation the host's conversion
// and calculation routines expect (kv/conv.h): scalars in place, dates and
// times as inline text, wide and 8-bit strings as the characters pointer of a
// CXYString (so the address of the storage is the address of a `const T*`),
// decimals as an IDecimal* holding one reference, objects as an opaque
// pointer. Binary blocks, buffers and image memos are CXYString<char> bytes.
//
// Conversions between types are the host's: without its routines
// (gstConversionVM) a conversion between two different types fails with
// eCONV_IMPOSSIBLE and leaves the value as it was.
#pragma once
#include <cstddef>
#include <cstdint>

#include "base/CTString.h"
#include "base/CXYString.h"
#include "kv/conv.h"
#include "kv/types.h"

class IDecimal;

// Initial texts of the date and time types. Either may be replaced (for
// example by the project's settings) before values are typed.
struct CDateTimeBase {
    static const wchar_t* ms_pcszValeurInitDate;  // default L"00000000"; at most 8 characters are used
    static const wchar_t* ms_pcszValeurInitTime;  // default L"000000000"; cut or padded with '0' to 9
};

inline constexpr uint16_t wANY_NULL = 0x0100;     // null value: reads as empty
inline constexpr uint16_t wANY_TRANSIT = 0x0400;  // carried through conversions
inline constexpr uint16_t wANY_FLAGS = wANY_NULL | wANY_TRANSIT;
inline constexpr uint16_t wANY_MASQUE_TYPE = 0x00FF;

inline constexpr int nLONGUEUR_DATE = 8;   // "AAAAMMJJ"
inline constexpr int nLONGUEUR_HEURE = 9;  // "HHMMSSCCC"

// Storage of a value. Which member is alive is decided by the handler of the
// value's type; the bytes of a value without a type are zero.
union UAnyStockage {
    static constexpr size_t nTAILLE = (nLONGUEUR_HEURE + 1) * sizeof(wchar_t);

    unsigned char ab[nTAILLE];
    int32_t i4;
    uint32_t ui4;
    int64_t i8;
    uint64_t ui8;
    float r4;
    double r8;
    wchar_t szW[nLONGUEUR_HEURE + 1];
    char szA[nLONGUEUR_HEURE + 1];
    STDateHeure dh;
    IDecimal* pDecimal;
    void* pObjet;
    CXYString<wchar_t> sW;
    CXYString<char> sA;

    UAnyStockage() noexcept : ab{} {}
    ~UAnyStockage() {}
    UAnyStockage(const UAnyStockage&) = delete;
    UAnyStockage& operator=(const UAnyStockage&) = delete;
};

// Handler of one family of type codes. The base class is the handler of the
// value without a type (code 0). Handlers are stateless and live for the
// whole process; their destructor is trivial so that values destroyed late
// at exit still find them.
class CAny_Intern {
public:
    ~CAny_Intern() = default;

    // Sets up the empty value of the type in zeroed storage.
    virtual void vConstruit(UAnyStockage&) const noexcept {}
    // Gives constructed storage the type's initial value.
    virtual void vInitialise(UAnyStockage&) const {}
    // Releases what the storage holds; the caller zeroes the bytes afterwards.
    virtual void vDetruit(UAnyStockage&) const noexcept {}
    // Copies a value into zeroed storage (strings are shared, decimals get a reference).
    virtual void vCopie(UAnyStockage& dst, const UAnyStockage& src) const noexcept;
    virtual bool vbEgal(const UAnyStockage&, const UAnyStockage&) const noexcept { return true; }
    // Takes the result of a host conversion into constructed storage.
    virtual void vPrendConversion(UAnyStockage&, const STValeurConv&) const {}
    // Gives the storage its own copy of shared parts. 0 or an error code.
    virtual int vnUnshare(UAnyStockage&) const { return 0; }
    // The text form when no conversion is needed (wide strings); false otherwise.
    virtual bool vbTexteDirect(const UAnyStockage&, CTString&) const { return false; }
    virtual bool vbPartageTexte(const UAnyStockage&, CXYString<wchar_t>&) const { return false; }

    // The handler of a type code; null for a code that is not a type of the language.
    static const CAny_Intern* spclGet(int nType) noexcept;
};

class CAny {
public:
    CAny() noexcept;
    CAny(const CAny& cl) noexcept;
    ~CAny();
    CAny& operator=(const CAny& cl) noexcept;
    CAny& operator=(int n);
    CAny& operator=(const wchar_t* psz);

    int nGetType() const noexcept { return m_wType & wANY_MASQUE_TYPE; }
    uint16_t wGetTypeComplet() const noexcept { return m_wType; }

    // Switches to a type; unless bSansInit the storage receives the type's
    // initial value, otherwise its empty value. A code that is not a type of
    // the language leaves the value without a type. The current type: nothing.
    void __SetType(int nType, bool bSansInit = false);

    // Setters: type and value; both flags are cleared.
    void SetI4(int32_t n);
    void SetI8(int64_t n);
    void SetBOOL(bool b);
    void SetR8(double d);
    void SetCY(int64_t nDixMilliemes);  // currency in ten-thousandths
    void SetPSTRX(const wchar_t* psz);  // null: the empty string
    void SetPSTRX(const wchar_t* p, size_t n);
    void SetPSTRX(const CXYString<wchar_t>& s);  // shares the text
    void Set(const wchar_t* psz) { SetPSTRX(psz); }
    void SetCSTR(const char* psz);  // 8-bit string; null: the empty string
    void SetCSTR(const char* p, size_t n);
    void SetBIN(const void* p, size_t nTaille);
    // An object reference (KS_OBJET): the pointer only, no reference taken.
    void SetObjet(void* p);
    // The object of an object-typed value; null for any other type.
    void* pGetObjet() const noexcept;

    // Null value. SetNull keeps the type and the stored value; readers
    // (getters, text forms, comparison) see the value as empty.
    bool bEstNull() const noexcept { return (m_wType & wANY_NULL) != 0; }
    void SetNull(bool bNull = true) noexcept;
    // The two flags (wANY_NULL, wANY_TRANSIT) as they are; other bits are ignored.
    uint16_t wGetFlags() const noexcept { return m_wType & wANY_FLAGS; }
    void SetFlags(uint16_t wFlags) noexcept;

    // Exact getters: 0 and the value when the stored type suits them;
    // eCONV_TYPE_INADAPTE (105) and 0 otherwise. A null value reads as 0.
    // Integers that do not fit the output give eCONV_DEPASSEMENT (102) and 0.
    int nGetINT(int& n) const noexcept;            // 1, 2, 3, 6, 7, 8, 14, 15
    int nGetBOOL(bool& b) const noexcept;          // 1, 4, 8, 15
    int nGetREAL(double& d) const noexcept;        // 11, 12
    int nGetBYTE(uint8_t& n) const noexcept;       // 2, 17; 6 when not negative
    int nGetINT_64(int64_t& n) const noexcept;     // 1 to 9, 14, 15
    int nGetBitField_64(uint64_t& n) const noexcept;  // 1 to 9, 14, 15: the bits, zero-extended

    // Converts in place through the host's routine. 0 when the value already
    // has that type; the host's error (above 99) with the value untouched;
    // eCONV_TYPE_INCONNU for a code that is not a type of the language,
    // eCONV_IMPOSSIBLE when the host's routines are missing.
    int __nCastTo(int nType, unsigned nOptions = 0, unsigned nFlags = 0);
    // The text form (empty for a null value or a value without a type).
    // 0 or the conversion's error, with the text emptied.
    int __nCastToString(CTString& s, unsigned nOptions = 0, unsigned nFlags = 0) const;
    // The same into a shared string; a wide string value is shared, not copied.
    int __nFillString(CXYString<wchar_t>& s, unsigned nOptions = 0, unsigned nFlags = 0) const;

    // Gives the value its own copy of shared storage before a change in place.
    // 0, or eCONV_IMPOSSIBLE when a decimal could not be copied.
    int nUnshare();

    // Equality of two values of the same type code (different codes: false).
    // Two null values are equal; a null value equals no value that is not null.
    bool bEgal(const CAny& cl) const noexcept;

    // The storage in the representation the host's routines take (kv/conv.h).
    const void* pGetStockage() const noexcept { return &m_u; }

    void Echange(CAny& cl) noexcept;

private:
    void SetTypeSansFlags(int nType);

    const CAny_Intern* m_pclIntern;
    uint16_t m_wType = 0;
    UAnyStockage m_u;
};
