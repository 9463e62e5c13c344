// The owning wide-character string used for names, captions and texts.
#pragma once
#include <string>
#include <cwchar>

class CTString : public std::wstring {
public:
    using std::wstring::wstring;
    CTString() = default;
    CTString(const std::wstring& s) : std::wstring(s) {}
    CTString(std::wstring&& s) : std::wstring(std::move(s)) {}
    CTString(const wchar_t* psz) : std::wstring(psz ? psz : L"") {}

    const wchar_t* pszGet() const { return c_str(); }
    void Vide() { clear(); }
    bool bEstVide() const { return empty(); }
    int nGetLongueur() const { return static_cast<int>(size()); }
    void Set(const wchar_t* psz) { assign(psz ? psz : L""); }
};
