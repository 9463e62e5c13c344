// The description stream: a growable byte buffer read and written
// sequentially. Windows, controls, menus and styles read their records from
// it field by field; writers (the compiler, persistence, clones) produce the
// same bytes.
//
// Integers are little-endian and unaligned. Every read stays inside the used
// size: a read that would pass it is a truncated stream (error 10011, or
// 10201 inside a marked block), never a read outside the bytes.
#pragma once
#include "base/CTString.h"
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

template <class T> class CXYString;
struct CSimpleBuffer;

enum EModeTString : int {
    eMODE_TSTRING_0 = 0,  // marked UTF-8 if present, else 8-bit in the given code page
    eMODE_TSTRING_1 = 1,  // marked UTF-8 required; one zero byte is the empty string
    eMODE_TSTRING_2 = 2,  // 8-bit zero-terminated in the given code page
    eMODE_TSTRING_3 = 3,  // marked UTF-8 required, the empty string included
    eMODE_TSTRING_4 = 4,  // plain UTF-8 zero-terminated
};

enum eBUFFER_PACKMETHOD : int {
    eBUFFER_PACKMETHOD_AUCUNE = 0,
    eBUFFER_PACKMETHOD_1 = 1,
    eBUFFER_PACKMETHOD_2 = 2,
};

inline constexpr uint32_t nMARK_START_TSTRINGUTF8 = 0xF188CEFF;
inline constexpr uint32_t nMARK_END_TSTRINGUTF8 = 0xE198EDFE;
inline constexpr unsigned CP_1252 = 1252;
inline constexpr unsigned CP_UTF8 = 65001;

// First byte of a packed tail: which coder packed it.
inline constexpr uint8_t nCODEUR_ZLIB = 0x5A;

class CKVBuffer {
public:
    CKVBuffer();
    explicit CKVBuffer(size_t nPasAllocation);
    CKVBuffer(const void* p, size_t n);  // a copy of the bytes, position 0
    explicit CKVBuffer(const CSimpleBuffer& st);
    CKVBuffer(const CKVBuffer&) = delete;
    CKVBuffer& operator=(const CKVBuffer&) = delete;
    CKVBuffer(CKVBuffer&&) noexcept;
    CKVBuffer& operator=(CKVBuffer&&) noexcept;
    ~CKVBuffer();

    // State.
    const uint8_t* pGetData() const { return m_pData; }
    size_t nGetTailleUtilisee() const { return m_nUtilise; }
    size_t nGetPosition() const { return m_nPosition; }
    size_t nGetRestant() const { return m_nUtilise > m_nPosition ? m_nUtilise - m_nPosition : 0; }
    bool bFin() const { return m_nPosition >= m_nUtilise; }
    std::vector<uint8_t> Octets() const { return {m_pData, m_pData + m_nUtilise}; }
    void Vide();

    // Reading primitives.
    CKVBuffer& operator>>(int32_t& n) { return LitBrut(&n, 4); }
    CKVBuffer& operator>>(uint32_t& n) { return LitBrut(&n, 4); }
    CKVBuffer& operator>>(int16_t& n) { return LitBrut(&n, 2); }
    CKVBuffer& operator>>(uint16_t& n) { return LitBrut(&n, 2); }
    CKVBuffer& operator>>(int64_t& n) { return LitBrut(&n, 8); }
    CKVBuffer& operator>>(uint64_t& n) { return LitBrut(&n, 8); }
    CKVBuffer& operator>>(uint8_t& n) { return LitBrut(&n, 1); }
    CKVBuffer& operator>>(int8_t& n) { return LitBrut(&n, 1); }
    CKVBuffer& operator>>(double& d) { return LitBrut(&d, 8); }
    CKVBuffer& operator>>(float& d) { return LitBrut(&d, 4); }
    CKVBuffer& operator>>(bool& b);  // 4-byte integer, non-zero is true
    CKVBuffer& operator>>(CTString& s);             // in the buffer's string mode, code page 1252
    CKVBuffer& operator>>(CXYString<wchar_t>& s);

    // Fixed bytes: all or nothing; false (position unchanged) when fewer remain.
    bool Get(void* p, size_t n);
    // As many bytes as remain, at most n; returns the count.
    size_t dwGet(void* p, size_t n);
    // n bytes or a truncated-stream error.
    void xGet(void* p, size_t n) { LitBrut(p, n); }

    // One string. False, nothing consumed, when the mode needs a marked
    // string and none is at the position. An empty result empties the target.
    bool bReadString(CTString& s, EModeTString eMode, unsigned nCodePage);
    // Into a caller's buffer: nCapacite < 0 only measures (characters needed
    // with the terminator, nothing consumed); 0 consumes without copying;
    // otherwise copies at most nCapacite-1 characters, terminates, consumes
    // the whole item and returns the count. -1 when a needed mark is missing.
    int nReadString(wchar_t* psz, int nCapacite, EModeTString eMode, unsigned nCodePage);
    // The 8-bit zero-terminated text at the position, in place; steps over it.
    const char* pszGetStringOldAnsi();
    // Steps over one string item without decoding it.
    bool bSeekString(EModeTString eMode);

    // Seek from the start (0), the position (1) or the end (2). Seek grows the
    // buffer to a target beyond the used size; SeekNoResize clamps to it.
    void Seek(int64_t nDeplacement, int nOrigine = 0);
    void SeekNoResize(int64_t nDeplacement, int nOrigine = 0);
    // For readers: to an offset that must lie inside the used size, else a
    // truncated-stream error (a declared size never grows the buffer).
    void xSeekLecture(size_t nOffset);

    // Modes.
    void SetModeDeserialTString(EModeTString e) { m_eModeTString = e; }
    EModeTString eGetModeDeserialTString() const { return m_eModeTString; }
    void DefineFirstCodedByte(size_t nOffset);
    size_t nGetFirstCodedByte() const { return m_nPremierOctetCode; }
    void SetPackMethod(eBUFFER_PACKMETHOD e);
    eBUFFER_PACKMETHOD eGetPackMethod() const { return m_ePack; }
    bool bEncorePacke() const { return m_bEncorePacke; }
    // Packs the bytes from the first coded byte on (writers) with a method;
    // method 0 leaves them plain.
    void ChangePackMethod(eBUFFER_PACKMETHOD e);
    // Unpacks the tail now if it is still packed (error 10013 on failure).
    void xDepacke();

    // Writing.
    void Set(const void* p, size_t n);
    CKVBuffer& operator<<(int32_t n) { Set(&n, 4); return *this; }
    CKVBuffer& operator<<(uint32_t n) { Set(&n, 4); return *this; }
    CKVBuffer& operator<<(int16_t n) { Set(&n, 2); return *this; }
    CKVBuffer& operator<<(uint16_t n) { Set(&n, 2); return *this; }
    CKVBuffer& operator<<(int64_t n) { Set(&n, 8); return *this; }
    CKVBuffer& operator<<(uint64_t n) { Set(&n, 8); return *this; }
    CKVBuffer& operator<<(uint8_t n) { Set(&n, 1); return *this; }
    CKVBuffer& operator<<(int8_t n) { Set(&n, 1); return *this; }
    CKVBuffer& operator<<(double d) { Set(&d, 8); return *this; }
    CKVBuffer& operator<<(float d) { Set(&d, 4); return *this; }
    CKVBuffer& operator<<(bool b) { return *this << static_cast<int32_t>(b ? 1 : 0); }
    CKVBuffer& operator<<(const CTString& s) { SetString(s.c_str()); return *this; }
    void SetString(const wchar_t* psz) { SaveString(psz, eMODE_TSTRING_1, CP_1252); }
    void SaveString(const wchar_t* psz, EModeTString eMode, unsigned nCodePage);
    void SaveStringOldAnsi(const char* psz);
    // Overwrites 4 bytes at an offset already written (size words, marks).
    void PatchU32(size_t nOffset, uint32_t n);

    // Marked blocks being read: the innermost end limits every read
    // (CKVBufferMark pushes and pops it).
    void EmpileLimite(size_t nFin);
    void DepileLimite();
    size_t nGetLimite() const;
    // A reader that gives up inside nested blocks puts the limits back as
    // they were where it started.
    size_t nGetProfondeurLimites() const { return m_pileLimites.size(); }
    void RestaureProfondeurLimites(size_t n) { if (m_pileLimites.size() > n) m_pileLimites.resize(n); }

private:
    CKVBuffer& LitBrut(void* p, size_t n);
    // Makes n bytes at the position readable: unpacks when they reach the
    // packed tail; throws a truncated-stream error past the limit.
    void Assure(size_t n);
    [[noreturn]] void xTronque(size_t nFin) const;
    void Reserve(size_t nTaille);
    bool bLitChaineMarquee(size_t nPos, std::string& sUtf8, size_t& nLongueur, bool bMode3);
    bool bLitChaine(EModeTString eMode, unsigned nCodePage, std::wstring& s, bool bConsomme);

    uint8_t* m_pData = nullptr;
    size_t m_nAlloue = 0;
    size_t m_nUtilise = 0;
    size_t m_nPosition = 0;
    size_t m_nPas = 4096;
    EModeTString m_eModeTString = eMODE_TSTRING_0;
    eBUFFER_PACKMETHOD m_ePack = eBUFFER_PACKMETHOD_AUCUNE;
    size_t m_nPremierOctetCode = 0;
    bool m_bEncorePacke = false;
    std::vector<size_t> m_pileLimites;
};

// Code page conversions (glibc iconv; 65001 is UTF-8).
namespace kvcp {
std::wstring DepuisCodePage(const char* p, size_t n, unsigned nCodePage);
std::string VersCodePage(const wchar_t* p, size_t n, unsigned nCodePage);
} // namespace kvcp
