// Reading a 10 MB description of typical records, beside memcpy of the same
// bytes.
#include "Ratio.h"
#include "controls/core/Archive.h"
#include "controls/core/CKVBufferMark.h"
#include <cstring>
#include <vector>

namespace {

// A typical control-like record: integers, a mode-0 (8-bit) caption, a
// mode-1 (marked UTF-8) name and a marked block with a header.
struct STTypique {
    uint32_t nVersion = 610;
    int32_t nX = 0, nY = 0, nLargeur = 0, nHauteur = 0;
    uint32_t nCouleur = 0;
    int64_t nID = 0;
    CTString sLibelle, sNom;
    int32_t nBloc = 0;
};

template <class A>
void serialise(A& ar, STTypique& r) {
    CEnregistrement<A> rec(ar, r.nVersion, {600, 700, 605});
    ar(r.nX);
    ar(r.nY);
    ar(r.nLargeur);
    ar(r.nHauteur);
    ar(r.nCouleur);
    ar(r.nID);
    ar.Texte(r.sLibelle, eMODE_TSTRING_2, CP_1252);
    ar.TexteTechnique(r.sNom);
    CKVBuffer& b = ar.Buffer();
    if constexpr (A::bLecture) {
        size_t nFin = CKVBufferMark::s_dwReadBeginMark(b);
        CKVBufferMark::s_xVerifieEntete(CKVBufferMark::s_nReadEntete(b, 1, 1, nullptr, nullptr));
        b >> r.nBloc;
        CKVBufferMark::s_ReadEndMark(b, nFin);
    } else {
        size_t n = CKVBufferMark::s_dwWriteBeginMark(b);
        CKVBufferMark::s_WriteEntete(b, 1, 1);
        b << r.nBloc;
        CKVBufferMark::s_WriteEndMark(b, n);
    }
    rec.Fin();
}

const std::vector<uint8_t>& Description() {
    static std::vector<uint8_t> o = [] {
        CKVBuffer b;
        STTypique r;
        for (int i = 0; b.nGetTailleUtilisee() < 10u * 1024 * 1024; ++i) {
            r.nX = i;
            r.nID = i * 7919LL;
            r.sLibelle = L"Libellé " + std::to_wstring(i);
            r.sNom = L"EDT_Champ" + std::to_wstring(i);
            r.nBloc = i;
            EcritEnregistrement(b, r);
        }
        return b.Octets();
    }();
    return o;
}

void LectureDescription(benchmark::State& st) {
    const auto& o = Description();
    for (auto _ : st) {
        CKVBuffer b(o.data(), o.size());
        STTypique r;
        int64_t nSomme = 0;
        while (!b.bFin()) {
            xLitEnregistrement(b, r);
            nSomme += r.nBloc;
        }
        benchmark::DoNotOptimize(nSomme);
    }
    st.SetBytesProcessed(static_cast<int64_t>(st.iterations()) * static_cast<int64_t>(o.size()));
}

void MemcpyDescription(benchmark::State& st) {
    const auto& o = Description();
    std::vector<uint8_t> copie(o.size());
    for (auto _ : st) {
        // The reader copies the bytes into its own buffer first; so does this.
        std::vector<uint8_t> c(o.size());
        std::memcpy(c.data(), o.data(), o.size());
        benchmark::DoNotOptimize(c.data());
    }
    st.SetBytesProcessed(static_cast<int64_t>(st.iterations()) * static_cast<int64_t>(o.size()));
}

BENCHMARK(LectureDescription)->Unit(benchmark::kMillisecond);
BENCHMARK(MemcpyDescription)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return kvbench::Main(argc, argv, {{"LectureDescription", "MemcpyDescription"}}); }
