// Formatting a million amounts through the numeric mask "999 999 999,99",
// beside QLocale::toString with the same digits and separators (German
// grouping, its '.' turned into the mask's space afterwards).
#include "Ratio.h"
#include "controls/edit/CMasqueNumerique.h"
#include <QLocale>
#include <QString>
#include <charconv>
#include <cstdint>
#include <vector>

namespace {

constexpr size_t knValeurs = 1000000;

// Amounts between -999 999 999,99 and 999 999 999,99, in hundredths.
const std::vector<int64_t>& Centiemes() {
    static const std::vector<int64_t> v = [] {
        std::vector<int64_t> r(knValeurs);
        uint64_t x = 88172645463325252ull;
        for (auto& c : r) {
            x ^= x << 13;
            x ^= x >> 7;
            x ^= x << 17;
            c = static_cast<int64_t>(x % 199999999999ull) - 99999999999ll;
        }
        return r;
    }();
    return v;
}

// The value texts a control hands to its mask ("-1234.56").
const std::vector<CTString>& Textes() {
    static const std::vector<CTString> v = [] {
        std::vector<CTString> r;
        r.reserve(knValeurs);
        for (int64_t c : Centiemes()) {
            char sz[32];
            const int64_t a = c < 0 ? -c : c;
            const int n = std::snprintf(sz, sizeof sz, "%s%lld.%02lld", c < 0 ? "-" : "", static_cast<long long>(a / 100),
                                        static_cast<long long>(a % 100));
            r.emplace_back(sz, sz + n);
        }
        return r;
    }();
    return v;
}

const std::vector<double>& Reels() {
    static const std::vector<double> v = [] {
        std::vector<double> r;
        r.reserve(knValeurs);
        for (int64_t c : Centiemes()) r.push_back(static_cast<double>(c) / 100.0);
        return r;
    }();
    return v;
}

// The mask from value texts.
void MasqueNumerique(benchmark::State& st) {
    const auto& tab = Textes();
    CMasqueNumerique m(L"999 999 999,99");
    CTString s;
    for (auto _ : st) {
        size_t n = 0;
        for (const CTString& v : tab) {
            m.Formate(v, s);
            n += s.size();
        }
        benchmark::DoNotOptimize(n);
    }
    st.SetItemsProcessed(static_cast<int64_t>(st.iterations() * tab.size()));
}

// The mask from reals, their text made first (what a control does with a
// real value).
void MasqueNumeriqueDepuisReel(benchmark::State& st) {
    const auto& tab = Reels();
    CMasqueNumerique m(L"999 999 999,99");
    CTString s, v;
    for (auto _ : st) {
        size_t n = 0;
        for (double d : tab) {
            char sz[64];
            const auto r = std::to_chars(sz, sz + sizeof sz, d, std::chars_format::fixed, 2);
            v.assign(sz, r.ptr);
            m.Formate(v, s);
            n += s.size();
        }
        benchmark::DoNotOptimize(n);
    }
    st.SetItemsProcessed(static_cast<int64_t>(st.iterations() * tab.size()));
}

void QLocaleToString(benchmark::State& st) {
    const auto& tab = Reels();
    const QLocale l(QLocale::German, QLocale::Germany);
    for (auto _ : st) {
        size_t n = 0;
        for (double d : tab) {
            QString s = l.toString(d, 'f', 2);
            s.replace(QLatin1Char('.'), QLatin1Char(' '));
            n += static_cast<size_t>(s.size());
        }
        benchmark::DoNotOptimize(n);
    }
    st.SetItemsProcessed(static_cast<int64_t>(st.iterations() * tab.size()));
}

BENCHMARK(MasqueNumerique)->Unit(benchmark::kMillisecond);
BENCHMARK(MasqueNumeriqueDepuisReel)->Unit(benchmark::kMillisecond);
BENCHMARK(QLocaleToString)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return kvbench::Main(argc, argv,
                         {{"MasqueNumerique", "QLocaleToString"}, {"MasqueNumeriqueDepuisReel", "QLocaleToString"}});
}
