#include "controls/core/CKVBuffer.h"
#include "base/CSimpleBuffer.h"
#include "base/CXYString.h"
#include "frame/ModuleInfo.h"
#include "base/Texte.h"
#include <QString>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <mutex>
#include <unordered_map>
#include <zlib.h>

// ---------------------------------------------------------------- code pages

namespace kvcp {
namespace {
std::string NomIconv(unsigned nCodePage) {
    if (nCodePage == CP_UTF8 || nCodePage == 0) return "UTF-8";
    if (nCodePage == 28591) return "ISO-8859-1";
    if (nCodePage == 28605) return "ISO-8859-15";
    return "CP" + std::to_string(nCodePage);
}

// One converter per direction and code page, kept for the process; iconv
// descriptors are not thread-safe, so each use takes the lock.
struct Convertisseurs {
    std::mutex m;
    std::unordered_map<unsigned, iconv_t> versWide, depuisWide;
    ~Convertisseurs() {
        for (auto& [k, v] : versWide) if (v != (iconv_t)-1) iconv_close(v);
        for (auto& [k, v] : depuisWide) if (v != (iconv_t)-1) iconv_close(v);
    }
};
Convertisseurs& Conv() {
    static Convertisseurs c;
    return c;
}

iconv_t Descripteur(std::unordered_map<unsigned, iconv_t>& t, unsigned nCP, bool bVersWide) {
    auto it = t.find(nCP);
    if (it != t.end()) return it->second;
    std::string sNom = NomIconv(nCP);
    iconv_t cd = bVersWide ? iconv_open("WCHAR_T", sNom.c_str()) : iconv_open((sNom + "//TRANSLIT").c_str(), "WCHAR_T");
    t.emplace(nCP, cd);
    return cd;
}
} // namespace

std::wstring DepuisCodePage(const char* p, size_t n, unsigned nCodePage) {
    if (n == 0) return {};
    if (nCodePage == CP_1252 || nCodePage == 0) {
        // The common case without iconv: 1252 differs from Latin-1 only in 0x80-0x9F.
        static const char16_t tab80[32] = {0x20AC, 0x81, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D, 0x017D, 0x8F,
                                           0x90, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D, 0x017E, 0x0178};
        std::wstring s(n, L'\0');
        for (size_t i = 0; i < n; ++i) {
            auto c = static_cast<unsigned char>(p[i]);
            s[i] = (c >= 0x80 && c < 0xA0) ? static_cast<wchar_t>(tab80[c - 0x80]) : static_cast<wchar_t>(c);
        }
        return s;
    }
    auto& c = Conv();
    std::lock_guard<std::mutex> l(c.m);
    iconv_t cd = Descripteur(c.versWide, nCodePage, true);
    if (cd == (iconv_t)-1) return QString::fromLatin1(p, static_cast<qsizetype>(n)).toStdWString();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::wstring s(n + 1, L'\0');
    char* in = const_cast<char*>(p);
    size_t nIn = n;
    char* out = reinterpret_cast<char*>(s.data());
    size_t nOut = s.size() * sizeof(wchar_t);
    while (nIn > 0) {
        if (iconv(cd, &in, &nIn, &out, &nOut) == (size_t)-1) {
            if (errno == E2BIG) break;
            // A byte without a character: keep it as U+FFFD and go on.
            if (nOut < sizeof(wchar_t)) break;
            wchar_t r = 0xFFFD;
            std::memcpy(out, &r, sizeof r);
            out += sizeof r;
            nOut -= sizeof r;
            ++in;
            --nIn;
        }
    }
    s.resize((out - reinterpret_cast<char*>(s.data())) / sizeof(wchar_t));
    return s;
}

std::string VersCodePage(const wchar_t* p, size_t n, unsigned nCodePage) {
    if (n == 0) return {};
    if (nCodePage == CP_UTF8) return QString::fromWCharArray(p, static_cast<qsizetype>(n)).toStdString();
    auto& c = Conv();
    std::lock_guard<std::mutex> l(c.m);
    iconv_t cd = Descripteur(c.depuisWide, nCodePage == 0 ? CP_1252 : nCodePage, false);
    std::string s;
    if (cd == (iconv_t)-1) {
        for (size_t i = 0; i < n; ++i) s += p[i] < 256 ? static_cast<char>(p[i]) : '?';
        return s;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    s.resize(n * 4 + 4);
    char* in = reinterpret_cast<char*>(const_cast<wchar_t*>(p));
    size_t nIn = n * sizeof(wchar_t);
    char* out = s.data();
    size_t nOut = s.size();
    while (nIn > 0) {
        if (iconv(cd, &in, &nIn, &out, &nOut) == (size_t)-1) {
            if (errno == E2BIG || nOut == 0) break;
            *out++ = '?';
            --nOut;
            in += sizeof(wchar_t);
            nIn -= sizeof(wchar_t);
        }
    }
    s.resize(out - s.data());
    return s;
}
} // namespace kvcp

// ---------------------------------------------------------------- buffer

CKVBuffer::CKVBuffer() = default;
CKVBuffer::CKVBuffer(size_t nPas) : m_nPas(nPas ? nPas : 4096) {}

CKVBuffer::CKVBuffer(const void* p, size_t n) {
    Reserve(n);
    if (n) std::memcpy(m_pData, p, n);
    m_nUtilise = n;
}

CKVBuffer::CKVBuffer(const CSimpleBuffer& st) : CKVBuffer(st.pData, st.nTaille) {}

CKVBuffer::CKVBuffer(CKVBuffer&& o) noexcept { *this = std::move(o); }

CKVBuffer& CKVBuffer::operator=(CKVBuffer&& o) noexcept {
    if (this != &o) {
        std::free(m_pData);
        m_pData = std::exchange(o.m_pData, nullptr);
        m_nAlloue = std::exchange(o.m_nAlloue, 0);
        m_nUtilise = std::exchange(o.m_nUtilise, 0);
        m_nPosition = std::exchange(o.m_nPosition, 0);
        m_nPas = o.m_nPas;
        m_eModeTString = o.m_eModeTString;
        m_ePack = o.m_ePack;
        m_nPremierOctetCode = o.m_nPremierOctetCode;
        m_bEncorePacke = o.m_bEncorePacke;
        m_pileLimites = std::move(o.m_pileLimites);
    }
    return *this;
}

CKVBuffer::~CKVBuffer() { std::free(m_pData); }

void CKVBuffer::Vide() {
    m_nUtilise = m_nPosition = 0;
    m_ePack = eBUFFER_PACKMETHOD_AUCUNE;
    m_nPremierOctetCode = 0;
    m_bEncorePacke = false;
    m_pileLimites.clear();
}

void CKVBuffer::Reserve(size_t nTaille) {
    if (nTaille <= m_nAlloue) return;
    size_t nNouveau = ((nTaille + m_nPas - 1) / m_nPas) * m_nPas;
    if (nNouveau < m_nAlloue * 2 && m_nAlloue * 2 > nTaille) nNouveau = m_nAlloue * 2;
    auto* p = static_cast<uint8_t*>(std::realloc(m_pData, nNouveau));
    if (!p) throw std::bad_alloc();
    std::memset(p + m_nAlloue, 0, nNouveau - m_nAlloue);
    m_pData = p;
    m_nAlloue = nNouveau;
}

void CKVBuffer::EmpileLimite(size_t nFin) { m_pileLimites.push_back(std::min(nFin, m_nUtilise)); }
void CKVBuffer::DepileLimite() {
    if (!m_pileLimites.empty()) m_pileLimites.pop_back();
}
size_t CKVBuffer::nGetLimite() const {
    return m_pileLimites.empty() ? m_nUtilise : std::min(m_pileLimites.back(), m_nUtilise);
}

void CKVBuffer::xTronque(size_t nFin) const {
    if (!m_pileLimites.empty()) xThrowErreur(10201);
    xThrowErreur(10011, static_cast<unsigned long long>(nFin), static_cast<unsigned long long>(m_nUtilise));
}

void CKVBuffer::Assure(size_t n) {
    if (m_bEncorePacke && m_nPosition + n > m_nPremierOctetCode) xDepacke();
    if (n > nGetLimite() || m_nPosition > nGetLimite() - n) xTronque(m_nPosition + n);
}

CKVBuffer& CKVBuffer::LitBrut(void* p, size_t n) {
    Assure(n);
    // An empty buffer has no storage: memcpy is not called with it, not even
    // for zero bytes.
    if (n) std::memcpy(p, m_pData + m_nPosition, n);
    m_nPosition += n;
    return *this;
}

CKVBuffer& CKVBuffer::operator>>(bool& b) {
    int32_t n;
    *this >> n;
    b = n != 0;
    return *this;
}

bool CKVBuffer::Get(void* p, size_t n) {
    if (m_bEncorePacke && m_nPosition + n > m_nPremierOctetCode) xDepacke();
    size_t nLim = nGetLimite();
    if (m_nPosition > nLim || n > nLim - m_nPosition) return false;
    if (n) std::memcpy(p, m_pData + m_nPosition, n);
    m_nPosition += n;
    return true;
}

size_t CKVBuffer::dwGet(void* p, size_t n) {
    if (m_bEncorePacke && m_nPosition + n > m_nPremierOctetCode) xDepacke();
    size_t nLim = nGetLimite();
    size_t nReste = m_nPosition < nLim ? nLim - m_nPosition : 0;
    size_t nLu = std::min(n, nReste);
    if (nLu) std::memcpy(p, m_pData + m_nPosition, nLu);
    m_nPosition += nLu;
    return nLu;
}

// ---------------------------------------------------------------- seeking

namespace {
int64_t Cible(int64_t nDeplacement, int nOrigine, size_t nPosition, size_t nUtilise) {
    int64_t nBase = nOrigine == 1 ? static_cast<int64_t>(nPosition) : nOrigine == 2 ? static_cast<int64_t>(nUtilise) : 0;
    int64_t n = nBase + nDeplacement;
    return n < 0 ? 0 : n;
}
} // namespace

void CKVBuffer::Seek(int64_t nDeplacement, int nOrigine) {
    auto n = static_cast<size_t>(Cible(nDeplacement, nOrigine, m_nPosition, m_nUtilise));
    if (n > m_nUtilise) {
        Reserve(n);
        m_nUtilise = n;
    }
    m_nPosition = n;
}

void CKVBuffer::SeekNoResize(int64_t nDeplacement, int nOrigine) {
    auto n = static_cast<size_t>(Cible(nDeplacement, nOrigine, m_nPosition, m_nUtilise));
    m_nPosition = std::min(n, m_nUtilise);
}

void CKVBuffer::xSeekLecture(size_t nOffset) {
    if (m_bEncorePacke && nOffset > m_nPremierOctetCode) xDepacke();
    if (nOffset > nGetLimite()) xTronque(nOffset);
    m_nPosition = nOffset;
}

// ---------------------------------------------------------------- packing

void CKVBuffer::DefineFirstCodedByte(size_t nOffset) { m_nPremierOctetCode = nOffset; }

void CKVBuffer::SetPackMethod(eBUFFER_PACKMETHOD e) {
    m_ePack = e;
    // A reader that switches to a pack method finds the tail packed.
    m_bEncorePacke = e != eBUFFER_PACKMETHOD_AUCUNE && m_nPremierOctetCode < m_nUtilise;
}

// Packed tail: coder byte, 4-byte unpacked size, then the zlib stream.
void CKVBuffer::xDepacke() {
    if (!m_bEncorePacke) return;
    const size_t nDebut = m_nPremierOctetCode;
    auto echec = [&]() -> void { xThrowErreur(10013, static_cast<int>(m_ePack)); };
    if (nDebut > m_nUtilise || m_nUtilise - nDebut < 5) echec();
    const uint8_t* p = m_pData + nDebut;
    if (p[0] != nCODEUR_ZLIB) echec();
    uint32_t nTaille;
    std::memcpy(&nTaille, p + 1, 4);
    // A packed block never expands beyond what zlib can produce from it.
    size_t nPacke = m_nUtilise - nDebut - 5;
    if (static_cast<uint64_t>(nTaille) > static_cast<uint64_t>(nPacke) * 1032 + 64) echec();
    std::vector<uint8_t> depacke(nTaille);
    uLongf nSortie = nTaille;
    int rc = uncompress(depacke.data(), &nSortie, p + 5, static_cast<uLong>(nPacke));
    if (rc != Z_OK || nSortie != nTaille) echec();  // the buffer is left packed as it was
    Reserve(nDebut + nTaille);
    if (nTaille) std::memcpy(m_pData + nDebut, depacke.data(), nTaille);
    m_nUtilise = nDebut + nTaille;
    for (auto& l : m_pileLimites) l = std::min(l, m_nUtilise);
    m_bEncorePacke = false;
}

void CKVBuffer::ChangePackMethod(eBUFFER_PACKMETHOD e) {
    if (m_bEncorePacke) xDepacke();
    m_ePack = e;
    if (e == eBUFFER_PACKMETHOD_AUCUNE || m_nPremierOctetCode > m_nUtilise) return;
    size_t nDebut = m_nPremierOctetCode;
    size_t nPlain = m_nUtilise - nDebut;
    uLongf nPacke = compressBound(static_cast<uLong>(nPlain));
    std::vector<uint8_t> out(5 + nPacke);
    out[0] = nCODEUR_ZLIB;
    auto n32 = static_cast<uint32_t>(nPlain);
    std::memcpy(out.data() + 1, &n32, 4);
    compress2(out.data() + 5, &nPacke, m_pData + nDebut, static_cast<uLong>(nPlain), Z_BEST_COMPRESSION);
    out.resize(5 + nPacke);
    Reserve(nDebut + out.size());
    std::memcpy(m_pData + nDebut, out.data(), out.size());
    m_nUtilise = nDebut + out.size();
    m_nPosition = m_nUtilise;
    m_bEncorePacke = true;
}

// ---------------------------------------------------------------- writing

void CKVBuffer::Set(const void* p, size_t n) {
    if (n == 0) return;
    if (m_bEncorePacke) xDepacke();
    Reserve(m_nPosition + n);
    std::memcpy(m_pData + m_nPosition, p, n);
    m_nPosition += n;
    m_nUtilise = std::max(m_nUtilise, m_nPosition);
}

void CKVBuffer::PatchU32(size_t nOffset, uint32_t n) {
    if (nOffset + 4 > m_nUtilise) return;
    std::memcpy(m_pData + nOffset, &n, 4);
}

void CKVBuffer::SaveString(const wchar_t* psz, EModeTString eMode, unsigned nCodePage) {
    const wchar_t* p = psz ? psz : L"";
    size_t n = std::wcslen(p);
    switch (eMode) {
    case eMODE_TSTRING_1:
    case eMODE_TSTRING_3:
    case eMODE_TSTRING_0: {
        if (n == 0 && eMode != eMODE_TSTRING_3) {
            *this << static_cast<uint8_t>(0);
            return;
        }
        std::string s = QString::fromWCharArray(p, static_cast<qsizetype>(n)).toStdString();
        // An inner zero would end the text early on reading: stop there.
        s.resize(std::strlen(s.c_str()));
        *this << nMARK_START_TSTRINGUTF8 << static_cast<uint32_t>(s.size() + 13);
        Set(s.c_str(), s.size() + 1);
        *this << nMARK_END_TSTRINGUTF8;
        return;
    }
    case eMODE_TSTRING_2: {
        std::string s = kvcp::VersCodePage(p, n, nCodePage);
        Set(s.c_str(), std::strlen(s.c_str()) + 1);
        return;
    }
    case eMODE_TSTRING_4: {
        std::string s = QString::fromWCharArray(p, static_cast<qsizetype>(n)).toStdString();
        Set(s.c_str(), std::strlen(s.c_str()) + 1);
        return;
    }
    }
}

void CKVBuffer::SaveStringOldAnsi(const char* psz) {
    if (!psz) psz = "";
    Set(psz, std::strlen(psz) + 1);
}

// ---------------------------------------------------------------- strings

// Is a marked UTF-8 string at nPos? Every test must pass: all of it inside
// the readable bytes, its length at least 14 (13 in mode 3), the end mark
// at L-4 and a text whose zero-terminated length is exactly L-13.
bool CKVBuffer::bLitChaineMarquee(size_t nPos, std::string& sUtf8, size_t& nLongueur, bool bMode3) {
    if (m_bEncorePacke && nPos + 8 > m_nPremierOctetCode) xDepacke();
    size_t nLim = nGetLimite();
    if (nPos > nLim || nLim - nPos < 8) return false;
    uint32_t nMarque, L;
    std::memcpy(&nMarque, m_pData + nPos, 4);
    if (nMarque != nMARK_START_TSTRINGUTF8) return false;
    std::memcpy(&L, m_pData + nPos + 4, 4);
    if (L < (bMode3 ? 13u : 14u)) return false;
    if (m_bEncorePacke && nPos + L > m_nPremierOctetCode) {
        xDepacke();
        nLim = nGetLimite();
    }
    if (L > nLim - nPos) return false;
    uint32_t nFin;
    std::memcpy(&nFin, m_pData + nPos + L - 4, 4);
    if (nFin != nMARK_END_TSTRINGUTF8) return false;
    const char* pTexte = reinterpret_cast<const char*>(m_pData + nPos + 8);
    size_t nTexte = strnlen(pTexte, L - 12);
    if (nTexte != L - 13) return false;
    sUtf8.assign(pTexte, nTexte);
    nLongueur = L;
    return true;
}

// Reads (or with bConsomme false, only decodes) one string at the position.
// False when the mode needs a marked string and none is there.
bool CKVBuffer::bLitChaine(EModeTString eMode, unsigned nCodePage, std::wstring& s, bool bConsomme) {
    const size_t nPos = m_nPosition;
    std::string sUtf8;
    size_t L = 0;
    auto zeroTermine = [&](size_t nDebut, size_t& nOctets) -> const char* {
        if (m_bEncorePacke && nDebut >= m_nPremierOctetCode) xDepacke();
        size_t nLim = nGetLimite();
        for (;;) {
            const void* z = nDebut < nLim ? std::memchr(m_pData + nDebut, 0, nLim - nDebut) : nullptr;
            if (z) {
                nOctets = static_cast<const uint8_t*>(z) - (m_pData + nDebut);
                return reinterpret_cast<const char*>(m_pData + nDebut);
            }
            if (m_bEncorePacke) {
                xDepacke();
                nLim = nGetLimite();
                continue;
            }
            xTronque(nLim + 1);
        }
    };
    switch (eMode) {
    case eMODE_TSTRING_0:
    case eMODE_TSTRING_1:
    case eMODE_TSTRING_3:
        if (bLitChaineMarquee(nPos, sUtf8, L, eMode == eMODE_TSTRING_3)) {
            s = kvtexte::DepuisUTF8(sUtf8);
            if (bConsomme) m_nPosition = nPos + L;
            return true;
        }
        if (eMode == eMODE_TSTRING_3) return false;
        if (eMode == eMODE_TSTRING_1) {
            if (m_bEncorePacke && nPos + 1 > m_nPremierOctetCode) xDepacke();
            if (nPos < nGetLimite() && m_pData[nPos] == 0) {
                s.clear();
                if (bConsomme) m_nPosition = nPos + 1;
                return true;
            }
            return false;
        }
        [[fallthrough]];
    case eMODE_TSTRING_2: {
        size_t n = 0;
        const char* p = zeroTermine(nPos, n);
        s = kvcp::DepuisCodePage(p, n, nCodePage);
        if (bConsomme) m_nPosition = nPos + n + 1;
        return true;
    }
    case eMODE_TSTRING_4: {
        size_t n = 0;
        const char* p = zeroTermine(nPos, n);
        s = kvtexte::DepuisUTF8(std::string_view(p, n));
        if (bConsomme) m_nPosition = nPos + n + 1;
        return true;
    }
    }
    return false;
}

bool CKVBuffer::bReadString(CTString& s, EModeTString eMode, unsigned nCodePage) {
    std::wstring w;
    if (!bLitChaine(eMode, nCodePage, w, true)) return false;
    s = std::move(w);
    return true;
}

CKVBuffer& CKVBuffer::operator>>(CTString& s) {
    if (!bReadString(s, m_eModeTString, CP_1252)) xThrowErreur(10011, static_cast<unsigned long long>(m_nPosition),
                                                               static_cast<unsigned long long>(m_nUtilise));
    return *this;
}

CKVBuffer& CKVBuffer::operator>>(CXYString<wchar_t>& s) {
    CTString t;
    *this >> t;
    s.Set(t.c_str(), t.size());
    return *this;
}

int CKVBuffer::nReadString(wchar_t* psz, int nCapacite, EModeTString eMode, unsigned nCodePage) {
    std::wstring w;
    const size_t nPos = m_nPosition;
    if (!bLitChaine(eMode, nCodePage, w, nCapacite >= 0)) return -1;
    if (nCapacite < 0) {
        m_nPosition = nPos;
        return static_cast<int>(w.size()) + 1;
    }
    if (nCapacite == 0 || !psz) return 0;
    size_t n = std::min(w.size(), static_cast<size_t>(nCapacite - 1));
    std::wmemcpy(psz, w.data(), n);
    psz[n] = 0;
    return static_cast<int>(n);
}

const char* CKVBuffer::pszGetStringOldAnsi() {
    if (m_bEncorePacke && m_nPosition >= m_nPremierOctetCode) xDepacke();
    for (;;) {
        size_t nLim = nGetLimite();
        const void* z = m_nPosition < nLim ? std::memchr(m_pData + m_nPosition, 0, nLim - m_nPosition) : nullptr;
        if (z) {
            const char* p = reinterpret_cast<const char*>(m_pData + m_nPosition);
            m_nPosition = static_cast<const uint8_t*>(z) - m_pData + 1;
            return p;
        }
        if (!m_bEncorePacke) xTronque(nLim + 1);
        xDepacke();
    }
}

bool CKVBuffer::bSeekString(EModeTString eMode) {
    std::wstring w;
    return bLitChaine(eMode, CP_1252, w, true);
}
