// Bytes written by hand in the tests: the byte vector, little-endian
// integers and the frame of a marked UTF-8 string spelled as brace-list
// items, and joining byte vectors.
#pragma once
#include <cstdint>
#include <initializer_list>
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

} // namespace kvoctets
