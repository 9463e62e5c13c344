// Text helpers shared by the module: conversions and comparisons.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace kvtexte {

std::string VersUTF8(std::wstring_view s);
std::wstring DepuisUTF8(std::string_view s);

// Case-insensitive equality of two names (Unicode simple case folding).
bool bEgalSansCasse(std::wstring_view a, std::wstring_view b);
std::wstring Majuscules(std::wstring_view s);

// Compares two version texts, runs of digits by value and other characters
// one by one: "10.00Ad" is above "9.00Ce". Returns <0, 0 or >0.
int nCompareVersions(std::wstring_view a, std::wstring_view b);

// Blanks around a text: spaces, tabs, line ends and the no-break space.
inline bool bEspace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == 0xA0; }
inline std::wstring_view sSansEspaces(std::wstring_view s) {
    while (!s.empty() && bEspace(s.front())) s.remove_prefix(1);
    while (!s.empty() && bEspace(s.back())) s.remove_suffix(1);
    return s;
}

// The parts of a text between separators ("a,,b" gives "a", "", "b"; an
// empty text gives one empty part).
inline std::vector<std::wstring_view> Decoupe(std::wstring_view s, wchar_t cSeparateur) {
    std::vector<std::wstring_view> tab;
    for (;;) {
        size_t n = s.find(cSeparateur);
        tab.push_back(s.substr(0, n));
        if (n == std::wstring_view::npos) return tab;
        s.remove_prefix(n + 1);
    }
}

// printf-style formatting into a wide string.
std::wstring Format(const wchar_t* pszFormat, ...);

} // namespace kvtexte
