#include "conteneur/Identifiants.h"
#include <algorithm>

wchar_t cMajusculeStable(wchar_t c) {
    const auto n = static_cast<uint32_t>(c);
    if (n < 0x80) return (n >= 'a' && n <= 'z') ? static_cast<wchar_t>(n - 0x20) : c;
    if (n < 0x100) {
        if (n >= 0xE0 && n <= 0xFE && n != 0xF7) return static_cast<wchar_t>(n - 0x20);
        if (n == 0xFF) return static_cast<wchar_t>(0x178);
        return c;
    }
    if (n > 0x17F) return c;
    // Latin Extended-A: pairs of upper and lower case, with the parity of
    // the lower case letter changing at 0x139 and 0x14A and 0x179.
    if (n == 0x131) return L'I';
    if (n == 0x17F) return L'S';
    if (n == 0x130 || n == 0x138 || n == 0x149 || n == 0x178) return c;
    const bool bImpair = (n & 1) != 0;
    if (n < 0x139) return bImpair ? static_cast<wchar_t>(n - 1) : c;
    if (n < 0x149) return bImpair ? c : static_cast<wchar_t>(n - 1);
    if (n < 0x178) return bImpair ? static_cast<wchar_t>(n - 1) : c;
    return bImpair ? c : static_cast<wchar_t>(n - 1);
}

std::wstring sMajusculeStable(std::wstring_view s) {
    std::wstring r(s);
    for (auto& c : r) c = cMajusculeStable(c);
    return r;
}

bool bNomsEgaux(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (cMajusculeStable(a[i]) != cMajusculeStable(b[i])) return false;
    return true;
}

// ---------------------------------------------------------------- UTF-8

std::string sVersUtf8(std::wstring_view s) {
    std::string r;
    r.reserve(s.size());
    for (wchar_t w : s) {
        auto c = static_cast<uint32_t>(w);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if (c < 0x80) {
            r += static_cast<char>(c);
        } else if (c < 0x800) {
            r += static_cast<char>(0xC0 | (c >> 6));
            r += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            r += static_cast<char>(0xE0 | (c >> 12));
            r += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            r += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            r += static_cast<char>(0xF0 | (c >> 18));
            r += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            r += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            r += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return r;
}

namespace {
// One character at p[i]: its value and length, or length 0 when malformed.
size_t nDecodeUn(std::string_view s, size_t i, uint32_t& c) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        c = b0;
        return 1;
    }
    size_t n;
    uint32_t nMin;
    if (b0 >= 0xC2 && b0 <= 0xDF) { n = 2; c = b0 & 0x1F; nMin = 0x80; }
    else if (b0 >= 0xE0 && b0 <= 0xEF) { n = 3; c = b0 & 0x0F; nMin = 0x800; }
    else if (b0 >= 0xF0 && b0 <= 0xF4) { n = 4; c = b0 & 0x07; nMin = 0x10000; }
    else return 0;
    if (s.size() - i < n) return 0;
    for (size_t k = 1; k < n; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        c = (c << 6) | (b & 0x3F);
    }
    if (c < nMin || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return n;
}
} // namespace

bool bDepuisUtf8(std::string_view s, std::wstring& sSortie) {
    std::wstring r;
    r.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        uint32_t c;
        size_t n = nDecodeUn(s, i, c);
        if (n == 0) return false;
        r += static_cast<wchar_t>(c);
        i += n;
    }
    sSortie = std::move(r);
    return true;
}

std::wstring sDepuisUtf8(std::string_view s) {
    std::wstring r;
    r.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        uint32_t c;
        size_t n = nDecodeUn(s, i, c);
        if (n == 0) {
            r += static_cast<wchar_t>(0xFFFD);
            ++i;
        } else {
            r += static_cast<wchar_t>(c);
            i += n;
        }
    }
    return r;
}

// ---------------------------------------------------------------- identifiers

uint64_t nIdentifiantObjet(std::wstring_view sNomComplet) {
    uint64_t h = 0xCBF29CE484222325ull;
    for (unsigned char c : sVersUtf8(sMajusculeStable(sNomComplet))) {
        h ^= c;
        h *= 0x100000001B3ull;
    }
    return h;
}

// ---------------------------------------------------------------- events

const std::vector<STNomEvenement>& TableEvenements() {
    // Events 11 and 12 (activation of a window), 43 (looper path) and 200
    // (report path) are named after their numbers until the code that raises
    // them fixes their exact meaning.
    static const std::vector<STNomEvenement> tab = {
        {0, "declarations", "global declarations, before the window is shown"},
        {2, "closing", "the window is closing"},
        {11, "activation_11", "raised while the active window changes"},
        {12, "activation_12", "raised while the active window changes"},
        {13, "resize", "the window is resized"},
        {14, "init", "initialisation of a control, column or supercontrol"},
        {15, "entry", "entry into a control or a table column"},
        {16, "exit", "exit from a control or a table column"},
        {17, "modification", "the user modified the value"},
        {18, "click", "click or action"},
        {19, "row_entry", "entry into a table row"},
        {20, "row_exit", "exit from a table row"},
        {21, "row_display", "display of a table row"},
        {28, "slider_change", "a slider's value changes"},
        {31, "double_click", "double click on an image"},
        {32, "menu_option", "a menu option is chosen"},
        {33, "row_selection", "selection of a row in a list, combo box, table or looper"},
        {34, "window_init", "window initialisation, after its controls are created"},
        {35, "list_init_end", "end of initialisation of a list or combo box"},
        {41, "search_modification", "a table's search (magnifier) is modified"},
        {42, "value_read", "the value of a supercontrol is read"},
        {43, "looper_43", "raised by the looper"},
        {44, "column_sort", "a table column is sorted by the user"},
        {116, "combo_open", "a combo box opens"},
        {117, "combo_close", "a combo box closes"},
        {118, "month_change", "a calendar changes month"},
        {120, "day_selection", "a calendar day is selected"},
        {124, "today", "a calendar's today action"},
        {149, "month_navigation", "a calendar changes month by navigation, before month_change"},
        {152, "mouse_enter", "the mouse enters a control"},
        {153, "mouse_leave", "the mouse leaves a control"},
        {167, "tooltip", "before a list shows its automatic tooltip"},
        {175, "accept_exit", "a combo box is asked whether it accepts the exit"},
        {177, "child_closing", "a child window shown inside its parent is closing"},
        {200, "report_200", "raised by the report path"},
        {220, "app_activate", "the application is activated"},
        {221, "app_deactivate", "the application is deactivated"},
        {228, "column_resize", "a table column is resized by the user"},
    };
    return tab;
}

const char* pszNomEvenement(uint32_t nNumero) {
    for (const auto& e : TableEvenements())
        if (e.nNumero == nNumero) return e.pszNom;
    return nullptr;
}

std::optional<uint32_t> nEvenementDepuisNom(std::string_view sNom) {
    if (sNom.empty()) return std::nullopt;
    if (std::all_of(sNom.begin(), sNom.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        if (sNom.size() > 9) return std::nullopt;
        uint32_t n = 0;
        for (char c : sNom) n = n * 10 + static_cast<uint32_t>(c - '0');
        if (!pszNomEvenement(n)) return std::nullopt;
        return n;
    }
    for (const auto& e : TableEvenements())
        if (sNom == e.pszNom) return e.nNumero;
    return std::nullopt;
}
