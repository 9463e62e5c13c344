#include "base/Texte.h"
#include <QString>
#include <cstdarg>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace kvtexte {

std::string VersUTF8(std::wstring_view s) {
    return QString::fromWCharArray(s.data(), static_cast<qsizetype>(s.size())).toStdString();
}

std::wstring DepuisUTF8(std::string_view s) {
    // Names and most captions are ASCII: no decoder needed for them.
    std::wstring w(s.size(), L'\0');
    for (size_t i = 0; i < s.size(); ++i) {
        auto c = static_cast<unsigned char>(s[i]);
        if (c >= 0x80) return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())).toStdWString();
        w[i] = static_cast<wchar_t>(c);
    }
    return w;
}

bool bEgalSansCasse(std::wstring_view a, std::wstring_view b) {
    if (a.size() == b.size()) {
        bool ascii = true;
        for (size_t i = 0; i < a.size(); ++i) {
            wchar_t x = a[i], y = b[i];
            if (x >= 128 || y >= 128) { ascii = false; break; }
            if (x >= 'a' && x <= 'z') x -= 32;
            if (y >= 'a' && y <= 'z') y -= 32;
            if (x != y) return false;
        }
        if (ascii) return true;
    }
    QString qa = QString::fromWCharArray(a.data(), static_cast<qsizetype>(a.size()));
    QString qb = QString::fromWCharArray(b.data(), static_cast<qsizetype>(b.size()));
    return qa.compare(qb, Qt::CaseInsensitive) == 0;
}

std::wstring Majuscules(std::wstring_view s) {
    return QString::fromWCharArray(s.data(), static_cast<qsizetype>(s.size())).toUpper().toStdWString();
}

int nCompareVersions(std::wstring_view a, std::wstring_view b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (std::iswdigit(a[i]) && std::iswdigit(b[j])) {
            size_t i0 = i, j0 = j;
            while (i0 < a.size() && a[i0] == '0') ++i0;
            while (j0 < b.size() && b[j0] == '0') ++j0;
            size_t i1 = i0, j1 = j0;
            while (i1 < a.size() && std::iswdigit(a[i1])) ++i1;
            while (j1 < b.size() && std::iswdigit(b[j1])) ++j1;
            // Longer run of significant digits is the larger number.
            if (i1 - i0 != j1 - j0) return (i1 - i0) < (j1 - j0) ? -1 : 1;
            for (size_t k = 0; k < i1 - i0; ++k)
                if (a[i0 + k] != b[j0 + k]) return a[i0 + k] < b[j0 + k] ? -1 : 1;
            i = i1;
            j = j1;
            continue;
        }
        if (a[i] != b[j]) return a[i] < b[j] ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

std::wstring Format(const wchar_t* pszFormat, ...) {
    std::vector<wchar_t> buf(256);
    for (;;) {
        va_list ap;
        va_start(ap, pszFormat);
        int n = std::vswprintf(buf.data(), buf.size(), pszFormat, ap);
        va_end(ap);
        if (n >= 0 && static_cast<size_t>(n) < buf.size()) return std::wstring(buf.data(), n);
        if (buf.size() > (1u << 24)) return {};
        buf.resize(buf.size() * 2);
    }
}

} // namespace kvtexte
