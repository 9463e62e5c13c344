// Drives the description stream's readers with arbitrary bytes: the first
// bytes choose the operations, the rest is the stream. No crash, no read
// outside the buffer, no leak; errors are CXError only.
#include "controls/core/Archive.h"
#include "controls/core/CKVBufferMark.h"
#include <cstddef>
#include <cstdint>

namespace {
struct STFuzz {
    uint32_t nVersion = 0;
    int32_t a = 0, b = 0;
    int64_t c = 0;
    CTString s1, s2;
};
template <class A>
void serialise(A& ar, STFuzz& r) {
    CEnregistrement<A> rec(ar, r.nVersion, {600, 700, 605, 16, 600});
    ar(r.a);
    if (rec.bDepuis(603)) ar.TexteUtilisateur(r.s1);
    if (rec.bDepuis(606)) ar(r.c);
    ar.TexteTechnique(r.s2);
    if (rec.bDepuis(610)) ar(r.b);
    rec.Fin();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const uint8_t* ops = data;
    CKVBuffer b(data + 4, size - 4);
    std::vector<size_t> marques;
    for (int i = 0; i < 4 * 4; ++i) {
        uint8_t op = (ops[i / 4] >> ((i % 4) * 2)) & 3;
        uint8_t sel = ops[(i + 1) % 4];
        try {
            switch ((op * 7 + sel + i) % 12) {
            case 0: { int32_t n; b >> n; break; }
            case 1: { CTString s; b.bReadString(s, static_cast<EModeTString>(sel % 5), sel & 1 ? 1252 : 1251); break; }
            case 2: { wchar_t sz[8]; b.nReadString(sz, (sel % 10) - 1, static_cast<EModeTString>(sel % 5), 1252); break; }
            case 3: { STFuzz r; xLitEnregistrement(b, r); break; }
            case 4: marques.push_back(CKVBufferMark::s_dwReadBeginMark(b)); break;
            case 5: CKVBufferMark::s_nReadEntete(b, sel % 4, 1, nullptr, nullptr); break;
            case 6:
                if (!marques.empty()) {
                    CKVBufferMark::s_ReadEndMark(b, marques.back());
                    marques.pop_back();
                }
                break;
            case 7: b.DefineFirstCodedByte(b.nGetPosition()); b.SetPackMethod(eBUFFER_PACKMETHOD_1); break;
            case 8: { uint8_t t[16]; b.Get(t, sel % 17); b.dwGet(t, sel % 17); break; }
            case 9: b.pszGetStringOldAnsi(); break;
            case 10: b.bSeekString(static_cast<EModeTString>(sel % 5)); break;
            case 11: { int64_t n; double d; b >> n >> d; break; }
            }
        } catch (const CXError&) {
        }
    }
    return 0;
}
