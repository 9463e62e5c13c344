// Text helpers shared by the module: conversions and comparisons.
#pragma once
#include <string>
#include <string_view>

namespace kvtexte {

std::string VersUTF8(std::wstring_view s);
std::wstring DepuisUTF8(std::string_view s);

// Case-insensitive equality of two names (Unicode simple case folding).
bool bEgalSansCasse(std::wstring_view a, std::wstring_view b);
std::wstring Majuscules(std::wstring_view s);

// Compares two version texts, runs of digits by value and other characters
// one by one: "10.00Ad" is above "9.00Ce". Returns <0, 0 or >0.
int nCompareVersions(std::wstring_view a, std::wstring_view b);

// printf-style formatting into a wide string.
std::wstring Format(const wchar_t* pszFormat, ...);

} // namespace kvtexte
