// One definition of a record serves reading and writing: a record type
// lists its fields once, in a function template over the archive, e.g.
//
//   template <class A> void serialise(A& ar, STCadre& r) {
//       CEnregistrement<A> rec(ar, r.nVersion, {600, 701, 601}, "Frame");
//       ar(r.nLargeur, "width");
//       if (rec.bDepuis(605)) ar(r.nCouleur, "colour");
//       ar.TexteUtilisateur(r.sLibelle, "caption");
//       rec.Fin();
//   }
//
// CLecteurKV reads the fields from a CKVBuffer, CEcrivainKV writes them.
// A reader given a trace stream also prints every record and field it reads
// (the compiler's dump).
#pragma once
#include "controls/core/CKVBuffer.h"
#include "frame/ModuleInfo.h"
#include <exception>
#include <ostream>
#include <string>
#include <type_traits>

class CLecteurKV {
public:
    static constexpr bool bLecture = true;
    explicit CLecteurKV(CKVBuffer& b, unsigned nCodePage = CP_1252) : m_b(b), m_nCodePage(nCodePage) {}
    CKVBuffer& Buffer() { return m_b; }
    unsigned nGetCodePage() const { return m_nCodePage; }
    void SetCodePage(unsigned n) { m_nCodePage = n; }
    void SetTrace(std::wostream* p) { m_pTrace = p; }
    std::wostream* pGetTrace() const { return m_pTrace; }
    int& nProfondeur() { return m_nProfondeur; }

    template <class T>
    void operator()(T& v, const char* pszNom = nullptr) {
        static_assert(std::is_arithmetic_v<T> || std::is_enum_v<T>, "a field is a number");
        size_t nPos = m_b.nGetPosition();
        if constexpr (std::is_enum_v<T>) {
            std::underlying_type_t<T> n;
            m_b >> n;
            v = static_cast<T>(n);
            if (m_pTrace) Trace(nPos, pszNom, std::to_wstring(n));
        } else {
            m_b >> v;
            if (m_pTrace) {
                if constexpr (std::is_same_v<T, bool>) Trace(nPos, pszNom, v ? L"true" : L"false");
                else if constexpr (std::is_floating_point_v<T>) Trace(nPos, pszNom, std::to_wstring(v));
                else Trace(nPos, pszNom, std::to_wstring(static_cast<std::conditional_t<std::is_signed_v<T>, long long, unsigned long long>>(v)));
            }
        }
    }
    // Bytes copied as laid out (rectangles, colour sets).
    void Octets(void* p, size_t n, const char* pszNom = nullptr) {
        size_t nPos = m_b.nGetPosition();
        m_b.xGet(p, n);
        if (m_pTrace) {
            std::wstring s;
            static const wchar_t hex[] = L"0123456789ABCDEF";
            for (size_t i = 0; i < n; ++i) {
                auto c = static_cast<const uint8_t*>(p)[i];
                if (i) s += L' ';
                s += hex[c >> 4];
                s += hex[c & 15];
            }
            Trace(nPos, pszNom, s);
        }
    }
    // A field that is no longer used: read and dropped.
    template <class T>
    void Obsolete(const char* pszNom = "(obsolete)") {
        T v{};
        (*this)(v, pszNom);
    }
    void ObsoleteTexte(const char* pszNom = "(obsolete)") {
        CTString s;
        TexteTechnique(s, pszNom);
    }
    // Texts shown to the user: the object's code page, unless the buffer
    // reads mode-1 strings, which are always UTF-8.
    void TexteUtilisateur(CTString& s, const char* pszNom = nullptr) {
        if (m_b.eGetModeDeserialTString() == eMODE_TSTRING_1)
            Texte(s, eMODE_TSTRING_1, CP_1252, pszNom);
        else
            Texte(s, eMODE_TSTRING_0, m_nCodePage, pszNom);
    }
    // Technical strings (names, file names): the buffer's mode, code page 1252.
    void TexteTechnique(CTString& s, const char* pszNom = nullptr) {
        size_t nPos = m_b.nGetPosition();
        m_b >> s;
        if (m_pTrace) Trace(nPos, pszNom, L"\"" + s + L"\"");
    }
    void Texte(CTString& s, EModeTString eMode, unsigned nCodePage, const char* pszNom = nullptr) {
        size_t nPos = m_b.nGetPosition();
        if (!m_b.bReadString(s, eMode, nCodePage))
            xThrowErreur(10011, static_cast<unsigned long long>(m_b.nGetPosition()),
                         static_cast<unsigned long long>(m_b.nGetTailleUtilisee()));
        if (m_pTrace) Trace(nPos, pszNom, L"\"" + s + L"\"");
    }
    // One line of the dump: offset, indentation, name and value.
    void Trace(size_t nPos, const char* pszNom, const std::wstring& sValeur) {
        if (!m_pTrace) return;
        wchar_t szPos[16];
        std::swprintf(szPos, 16, L"%08zX  ", nPos);
        *m_pTrace << szPos << std::wstring(static_cast<size_t>(m_nProfondeur) * 2, L' ')
                  << (pszNom ? std::wstring(pszNom, pszNom + std::char_traits<char>::length(pszNom)) : std::wstring(L"?"))
                  << L" = " << sValeur << L"\n";
    }

private:
    CKVBuffer& m_b;
    unsigned m_nCodePage;
    std::wostream* m_pTrace = nullptr;
    int m_nProfondeur = 0;
};

class CEcrivainKV {
public:
    static constexpr bool bLecture = false;
    explicit CEcrivainKV(CKVBuffer& b, unsigned nCodePage = CP_1252) : m_b(b), m_nCodePage(nCodePage) {}
    CKVBuffer& Buffer() { return m_b; }
    unsigned nGetCodePage() const { return m_nCodePage; }
    void SetCodePage(unsigned n) { m_nCodePage = n; }

    template <class T>
    void operator()(const T& v, const char* = nullptr) {
        static_assert(std::is_arithmetic_v<T> || std::is_enum_v<T>, "a field is a number");
        if constexpr (std::is_enum_v<T>)
            m_b << static_cast<std::underlying_type_t<T>>(v);
        else
            m_b << v;
    }
    void Octets(const void* p, size_t n, const char* = nullptr) { m_b.Set(p, n); }
    template <class T>
    void Obsolete(const char* = nullptr) {
        (*this)(T{});
    }
    void ObsoleteTexte(const char* = nullptr) { TexteTechnique(CTString()); }
    // Texts are written as marked UTF-8: every reading mode but 2 and 4
    // recognises them, whatever the code page.
    void TexteUtilisateur(const CTString& s, const char* = nullptr) { m_b.SaveString(s.c_str(), eMODE_TSTRING_1, CP_1252); }
    void TexteTechnique(const CTString& s, const char* = nullptr) { m_b.SaveString(s.c_str(), eMODE_TSTRING_1, CP_1252); }
    void Texte(const CTString& s, EModeTString eMode, unsigned nCodePage, const char* = nullptr) {
        m_b.SaveString(s.c_str(), eMode, nCodePage);
    }

private:
    CKVBuffer& m_b;
    unsigned m_nCodePage;
};

// The end of a record with a declared size counted from its size word: a
// short read skips to the declared end (fields of newer writers), a long one
// ends at the declared end and raises 10011 (bytes read, bytes declared).
inline void xFinTailleDeclaree(CKVBuffer& b, size_t nOffsetTaille, uint32_t nTaille) {
    if (nTaille == 0) return;
    size_t nLu = b.nGetPosition() - nOffsetTaille;
    size_t nFin = nOffsetTaille + nTaille;
    if (nLu < nTaille) {
        b.xSeekLecture(nFin);
    } else if (nLu > nTaille) {
        b.SeekNoResize(static_cast<int64_t>(nFin), 0);
        xThrowErreur(10011, static_cast<unsigned long long>(nLu), static_cast<unsigned long long>(nTaille));
    }
}

// A declared size that a record carries after some of its fields, counted
// from its own word: read (a declared end past the data is a truncated
// stream, 10011) or written as 0 and filled in by Fin(). Fin() ends the
// sized part as xFinTailleDeclaree does. Absent (bPresente false), it reads
// and writes nothing.
template <class A>
class CTailleDeclaree {
public:
    CTailleDeclaree(A& ar, bool bPresente, const char* pszNom = "declared_size") : m_b(ar.Buffer()), m_bPresente(bPresente) {
        if (!m_bPresente) return;
        m_nOffset = m_b.nGetPosition();
        ar(m_nTaille, pszNom);
        if constexpr (A::bLecture) {
            const size_t nFin = m_nOffset + m_nTaille;
            if (m_nTaille != 0 && (m_nTaille < 4 || nFin > m_b.nGetLimite()))
                xThrowErreur(10011, static_cast<unsigned long long>(nFin), static_cast<unsigned long long>(m_b.nGetLimite()));
        }
    }
    CTailleDeclaree(const CTailleDeclaree&) = delete;
    CTailleDeclaree& operator=(const CTailleDeclaree&) = delete;

    // 0 without a declared size.
    uint32_t nTaille() const { return m_nTaille; }
    size_t nFinDeclaree() const { return m_nOffset + m_nTaille; }

    void Fin() {
        if (!m_bPresente) return;
        if constexpr (A::bLecture) xFinTailleDeclaree(m_b, m_nOffset, m_nTaille);
        else m_b.PatchU32(m_nOffset, static_cast<uint32_t>(m_b.nGetPosition() - m_nOffset));
    }

private:
    CKVBuffer& m_b;
    bool m_bPresente;
    size_t m_nOffset = 0;
    uint32_t m_nTaille = 0;
};

// The versions a record accepts and from which it carries a declared size.
struct STRegleVersion {
    uint32_t nMin;
    uint32_t nMax;
    uint32_t nTailleDepuis = 0;       // 0: never a declared size
    // Old records without a version word: a first word up to this value is
    // the record's first field; the reader steps back and reads nVersionAncienne.
    int64_t nAncienJusqua = -1;
    uint32_t nVersionAncienne = 0;
};

// The frame of one record: version word with its range, optional declared
// size, and the end checks. Fin() must be called after the last field; when
// a read throws inside the record, the reader is left at the record's
// declared end.
template <class A>
class CEnregistrement {
public:
    CEnregistrement(A& ar, uint32_t& nVersion, const STRegleVersion& r, const char* pszNom = "record")
        : m_ar(ar), m_nVersion(nVersion), m_nExceptions(std::uncaught_exceptions()), m_pszNom(pszNom) {
        CKVBuffer& b = ar.Buffer();
        m_nProfondeur = b.nGetProfondeurLimites();
        if constexpr (A::bLecture) {
            size_t nDebut = b.nGetPosition();
            m_nDebut = nDebut;
            uint32_t n;
            b >> n;
            if (r.nAncienJusqua >= 0 && static_cast<int64_t>(n) <= r.nAncienJusqua) {
                b.xSeekLecture(nDebut);
                n = r.nVersionAncienne;
            } else {
                if (n < r.nMin) xThrowErreur(10014, KVOBJ_MODULE);
                if (n > r.nMax) xThrowErreur(10084, KVOBJ_MODULE);
            }
            nVersion = n;
            m_nVersion = n;
            if (r.nTailleDepuis && n >= r.nTailleDepuis) {
                m_nOffsetTaille = b.nGetPosition();
                b >> m_nTaille;
                m_bTaille = true;
                // A declared end beyond the bytes is a truncated stream,
                // never a reason to grow the buffer.
                if (m_nTaille != 0) {
                    size_t nFin = m_nOffsetTaille + m_nTaille;
                    if (b.bEncorePacke() && nFin > b.nGetFirstCodedByte()) b.xDepacke();
                    if (m_nTaille < 4 || nFin > b.nGetLimite())
                        xThrowErreur(10011, static_cast<unsigned long long>(nFin),
                                     static_cast<unsigned long long>(b.nGetLimite()));
                }
            }
            if (ar.pGetTrace()) {
                std::wstring s = std::wstring(L"version ") + std::to_wstring(n);
                if (m_bTaille) s += L", declared size " + std::to_wstring(m_nTaille);
                ar.Trace(nDebut, pszNom, L"{ " + s);
                ++ar.nProfondeur();
            }
        } else {
            if (nVersion < r.nMin || nVersion > r.nMax) nVersion = r.nMax;
            m_nVersion = nVersion;
            b << nVersion;
            if (r.nTailleDepuis && nVersion >= r.nTailleDepuis) {
                m_nOffsetTaille = b.nGetPosition();
                b << static_cast<uint32_t>(0);
                m_bTaille = true;
            }
        }
    }

    ~CEnregistrement() {
        if constexpr (A::bLecture) {
            if (!m_bFini && m_ar.pGetTrace()) --m_ar.nProfondeur();
            if (!m_bFini && std::uncaught_exceptions() > m_nExceptions) {
                // Blocks opened inside the record are left with it.
                m_ar.Buffer().RestaureProfondeurLimites(m_nProfondeur);
                if (m_bTaille && m_nTaille != 0)
                    m_ar.Buffer().SeekNoResize(static_cast<int64_t>(m_nOffsetTaille + m_nTaille), 0);
            }
        }
    }

    CEnregistrement(const CEnregistrement&) = delete;
    CEnregistrement& operator=(const CEnregistrement&) = delete;

    uint32_t nVersion() const { return m_nVersion; }
    bool bDepuis(uint32_t v) const { return m_nVersion >= v; }
    bool bAvant(uint32_t v) const { return m_nVersion < v; }
    bool bTailleDeclaree() const { return m_bTaille; }
    uint32_t nTailleDeclaree() const { return m_nTaille; }
    // Bytes the record still declares beyond the position (0 without a size).
    size_t nResteDeclare() const {
        if (!m_bTaille || m_nTaille == 0) return 0;
        size_t nFin = m_nOffsetTaille + m_nTaille, nPos = m_ar.Buffer().nGetPosition();
        return nFin > nPos ? nFin - nPos : 0;
    }

    void Fin() {
        m_bFini = true;
        CKVBuffer& b = m_ar.Buffer();
        if constexpr (A::bLecture) {
            if (m_ar.pGetTrace()) {
                --m_ar.nProfondeur();
                m_ar.Trace(b.nGetPosition(), m_pszNom,
                           L"} " + std::to_wstring(b.nGetPosition() - m_nDebut) + L" bytes read");
            }
            if (m_bTaille) xFinTailleDeclaree(b, m_nOffsetTaille, m_nTaille);
        } else {
            if (m_bTaille) b.PatchU32(m_nOffsetTaille, static_cast<uint32_t>(b.nGetPosition() - m_nOffsetTaille));
        }
    }

private:
    A& m_ar;
    uint32_t m_nVersion;
    int m_nExceptions;
    size_t m_nOffsetTaille = 0;
    uint32_t m_nTaille = 0;
    bool m_bTaille = false;
    bool m_bFini = false;
    const char* m_pszNom;
    size_t m_nDebut = 0;
    size_t m_nProfondeur = 0;
};

// Reads or writes a record through its one definition.
template <class R>
void xLitEnregistrement(CKVBuffer& b, R& r, unsigned nCodePage = CP_1252) {
    CLecteurKV ar(b, nCodePage);
    serialise(ar, r);
}
template <class R>
void EcritEnregistrement(CKVBuffer& b, R& r, unsigned nCodePage = CP_1252) {
    CEcrivainKV ar(b, nCodePage);
    serialise(ar, r);
}
