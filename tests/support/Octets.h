// Bytes written by hand in the tests: the byte vector, little-endian
// integers and the frame of a marked UTF-8 string spelled as brace-list
// items, bytes from hex text, joining byte vectors, and 32-bit words read or
// replaced inside them.
#pragma once
#include <gtest/gtest.h>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

// A 16-bit integer as its two bytes, low byte first.
#define LE16(v) uint8_t((v) & 0xFF), uint8_t(((v) >> 8) & 0xFF)
// A 32-bit integer (negative ones in two's complement) as its four bytes,
// low byte first.
#define LE32(v)                                                                                         \
    uint8_t(uint32_t(v) & 0xFF), uint8_t((uint32_t(v) >> 8) & 0xFF), uint8_t((uint32_t(v) >> 16) & 0xFF), \
        uint8_t((uint32_t(v) >> 24) & 0xFF)
// A 64-bit integer as its eight bytes, low byte first.
#define LE64(v) LE32(uint64_t(v) & 0xFFFFFFFFu), LE32(uint64_t(v) >> 32)
// What comes before the bytes of a marked UTF-8 string: the start mark and
// the total length L (L = bytes + 13).
#define UTF8_DEBUT(L) 0xFF, 0xCE, 0x88, 0xF1, LE32(L)
// What comes after the bytes of a marked UTF-8 string: a zero and the end mark.
#define UTF8_FIN 0x00, 0xFE, 0xED, 0x98, 0xE1

namespace kvoctets {

using Octets = std::vector<uint8_t>;

// The bytes of a followed by those of b.
inline Octets operator+(Octets a, const Octets& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The parts one after the other.
inline Octets Concat(std::initializer_list<Octets> parts) {
    Octets o;
    for (const Octets& p : parts) o.insert(o.end(), p.begin(), p.end());
    return o;
}

// The little-endian 32-bit word at offset n; an offset past the bytes throws.
inline uint32_t Mot(const Octets& o, size_t n) {
    return o.at(n) | o.at(n + 1) << 8 | o.at(n + 2) << 16 | static_cast<uint32_t>(o.at(n + 3)) << 24;
}

// Replaces the 32-bit word at offset n by v, low byte first; an offset past
// the bytes throws.
inline void Remplace(Octets& o, size_t n, uint32_t v) {
    for (size_t i = 0; i < 4; ++i) o.at(n + i) = static_cast<uint8_t>(v >> (8 * i));
}

// Bytes from hex digits of either case; anything else (spaces) is ignored.
// An odd number of digits fails the test.
inline Octets Hex(const std::string& s) {
    Octets o;
    int nDemi = -1;
    for (char c : s) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) continue;
        int v = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::toupper(c) - 'A' + 10;
        if (nDemi < 0) {
            nDemi = v;
        } else {
            o.push_back(static_cast<uint8_t>(nDemi * 16 + v));
            nDemi = -1;
        }
    }
    EXPECT_LT(nDemi, 0) << "odd number of hex digits";
    return o;
}

// Bytes from pairs of upper-case hex digits; every other character, lower-case
// letters included, is ignored, and a last digit without its pair is dropped.
inline Octets HexMajuscules(const char* psz) {
    Octets tab;
    unsigned n = 0;
    int nChiffres = 0;
    for (const char* p = psz; *p; ++p) {
        int v = (*p >= '0' && *p <= '9') ? *p - '0' : (*p >= 'A' && *p <= 'F') ? *p - 'A' + 10 : -1;
        if (v < 0) continue;
        n = n * 16 + static_cast<unsigned>(v);
        if (++nChiffres == 2) {
            tab.push_back(static_cast<uint8_t>(n));
            n = 0;
            nChiffres = 0;
        }
    }
    return tab;
}

// A 32-bit integer as the hex text of its four bytes, low byte first
// ("79010000" for 377).
inline std::string Le32(uint32_t n) {
    char sz[16];
    std::snprintf(sz, sizeof sz, "%02X%02X%02X%02X", n & 0xFF, (n >> 8) & 0xFF, (n >> 16) & 0xFF, n >> 24);
    return sz;
}

} // namespace kvoctets
