// kvmsgpack: packs the window module's message texts into a C++ source file.
//
//   kvmsgpack MESSAGES.txt OUTPUT.cpp
//
// Input (UTF-8), one message per line, fields separated by one TAB:
//   E<TAB>NUMBER<TAB>TEXT   an error, which also gets a row of the error
//                           definition table (message = code word = NUMBER,
//                           level 3)
//   M<TAB>NUMBER<TAB>TEXT   a plain message
// Lines starting with '#' and empty lines are ignored. In TEXT, "\n", "\t"
// and "\\" stand for a line break, a tab and a backslash; a '%' must be
// followed by a digit 1..9 or by another '%'.
//
// Output: the packed message block gabyBlocMessages (start marker, u32 packed
// size, u32 unpacked size, zlib data, stop marker; the unpacked data is a u32
// count, then {u32 number, u32 offset, u32 length} per message sorted by
// number, offsets and lengths in UTF-16 units, then the texts in UTF-16LE)
// and the error definition table gtabErreursKVOBJ sorted by error number.
//
// Any malformed line, duplicate number or an error count other than the
// module's fixed count makes the tool fail without leaving an output file.
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>
#include "EcritureSource.h"

namespace {

constexpr const char* kszDebut = "KORVEL RES BLOC UTF16 START ";
constexpr const char* kszFin = "KORVEL RES BLOC UTF16 STOP";
constexpr int knNbErreursAttendu = 182;
constexpr int knNiveauErreur = 3;

struct Message {
    bool bErreur = false;
    std::u16string sTexte;
    int nLigne = 0;
};

// Decodes UTF-8 into code points; false on any invalid or overlong sequence.
bool bDecodeUTF8(const std::string& s, std::u32string& sSortie) {
    sSortie.clear();
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        char32_t cp;
        int nSuite;
        if (c < 0x80) {
            cp = c;
            nSuite = 0;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            nSuite = 1;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            nSuite = 2;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            nSuite = 3;
        } else {
            return false;
        }
        for (int k = 1; k <= nSuite; ++k) {
            if (i + k >= s.size()) return false;
            unsigned char d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        static const char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMinimum[nSuite] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        sSortie.push_back(cp);
        i += 1 + nSuite;
    }
    return true;
}

std::u16string sVersUTF16(const std::u32string& s) {
    std::u16string r;
    for (char32_t cp : s) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            r.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            r.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            r.push_back(static_cast<char16_t>(cp));
        }
    }
    return r;
}

// Resolves the escapes of a text and checks its placeholders.
std::u32string sResoutTexte(const std::u32string& s, const std::string& sFichier, int nLigne) {
    std::u32string r;
    for (size_t i = 0; i < s.size(); ++i) {
        char32_t c = s[i];
        if (c < 0x20 && c != U'\t') Refuse(sFichier, nLigne, "control character in the text");
        if (c == U'\\') {
            if (i + 1 >= s.size()) Refuse(sFichier, nLigne, "backslash at the end of the text");
            char32_t e = s[++i];
            if (e == U'n')
                r.push_back(U'\n');
            else if (e == U't')
                r.push_back(U'\t');
            else if (e == U'\\')
                r.push_back(U'\\');
            else
                Refuse(sFichier, nLigne, "unknown escape in the text");
            continue;
        }
        if (c == U'%') {
            if (i + 1 >= s.size()) Refuse(sFichier, nLigne, "'%' at the end of the text");
            char32_t e = s[i + 1];
            if (!(e == U'%' || (e >= U'1' && e <= U'9')))
                Refuse(sFichier, nLigne, "'%' must be followed by 1..9 or by '%'");
            r.push_back(c);
            r.push_back(e);
            ++i;
            continue;
        }
        r.push_back(c);
    }
    return r;
}

std::map<uint32_t, Message> LitMessages(const std::string& sFichier) {
    std::ifstream f(sFichier, std::ios::binary);
    if (!f) throw Echec{sFichier + ": cannot be opened: " + std::strerror(errno)};
    std::map<uint32_t, Message> tab;
    std::string sLigne;
    int nLigne = 0;
    while (std::getline(f, sLigne)) {
        ++nLigne;
        if (!sLigne.empty() && sLigne.back() == '\r') sLigne.pop_back();
        if (nLigne == 1 && sLigne.compare(0, 3, "\xEF\xBB\xBF") == 0) sLigne.erase(0, 3);
        if (sLigne.empty() || sLigne[0] == '#') continue;

        std::u32string s32;
        if (!bDecodeUTF8(sLigne, s32)) Refuse(sFichier, nLigne, "invalid UTF-8");
        if (sLigne.size() < 2 || (sLigne[0] != 'E' && sLigne[0] != 'M') || sLigne[1] != '\t')
            Refuse(sFichier, nLigne, "a line must start with 'E' or 'M' and a tab");
        size_t nTab = sLigne.find('\t', 2);
        if (nTab == std::string::npos) Refuse(sFichier, nLigne, "missing tab after the number");
        std::string sNombre = sLigne.substr(2, nTab - 2);
        if (sNombre.empty() || sNombre.size() > 9 ||
            !std::all_of(sNombre.begin(), sNombre.end(), [](char c) { return c >= '0' && c <= '9'; }))
            Refuse(sFichier, nLigne, "the number must be 1 to 9 decimal digits");
        uint32_t nNumero = static_cast<uint32_t>(std::stoul(sNombre));
        if (nNumero == 0) Refuse(sFichier, nLigne, "the number must not be 0");

        std::u32string sBrut;
        if (!bDecodeUTF8(sLigne.substr(nTab + 1), sBrut)) Refuse(sFichier, nLigne, "invalid UTF-8");
        std::u32string sTexte = sResoutTexte(sBrut, sFichier, nLigne);
        if (sTexte.empty()) Refuse(sFichier, nLigne, "empty text");

        auto it = tab.find(nNumero);
        if (it != tab.end())
            Refuse(sFichier, nLigne, "number " + sNombre + " already defined on line " + std::to_string(it->second.nLigne));
        Message m;
        m.bErreur = sLigne[0] == 'E';
        m.sTexte = sVersUTF16(sTexte);
        m.nLigne = nLigne;
        tab.emplace(nNumero, std::move(m));
    }
    if (f.bad()) throw Echec{sFichier + ": read error"};
    return tab;
}

void AjouteU32(std::vector<unsigned char>& v, uint32_t n) {
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<unsigned char>(n >> (8 * i)));
}

std::vector<unsigned char> ConstruitBloc(const std::map<uint32_t, Message>& tab) {
    std::vector<unsigned char> brut;
    AjouteU32(brut, static_cast<uint32_t>(tab.size()));
    uint32_t nOffset = 0;
    for (const auto& [nNumero, m] : tab) {
        AjouteU32(brut, nNumero);
        AjouteU32(brut, nOffset);
        AjouteU32(brut, static_cast<uint32_t>(m.sTexte.size()));
        nOffset += static_cast<uint32_t>(m.sTexte.size());
    }
    for (const auto& [nNumero, m] : tab)
        for (char16_t c : m.sTexte) {
            brut.push_back(static_cast<unsigned char>(c & 0xFF));
            brut.push_back(static_cast<unsigned char>(c >> 8));
        }

    uLongf nPacke = compressBound(static_cast<uLong>(brut.size()));
    std::vector<unsigned char> packe(nPacke);
    if (compress2(packe.data(), &nPacke, brut.data(), static_cast<uLong>(brut.size()), Z_BEST_COMPRESSION) != Z_OK)
        throw Echec{"zlib compression failed"};
    packe.resize(nPacke);

    std::vector<unsigned char> bloc(kszDebut, kszDebut + std::strlen(kszDebut));
    AjouteU32(bloc, static_cast<uint32_t>(packe.size()));
    AjouteU32(bloc, static_cast<uint32_t>(brut.size()));
    bloc.insert(bloc.end(), packe.begin(), packe.end());
    bloc.insert(bloc.end(), kszFin, kszFin + std::strlen(kszFin));
    return bloc;
}

std::string sGenereSource(const std::string& sEntree, const std::map<uint32_t, Message>& tab,
                          const std::vector<unsigned char>& bloc) {
    std::ostringstream o;
    o << "// Generated by kvmsgpack from " << sEntree << ". Do not edit.\n"
      << "#include \"frame/ModuleInfo.h\"\n\n"
      << "extern const unsigned char gabyBlocMessages[];\n"
      << "extern const unsigned gnTailleBlocMessages;\n"
      << "extern const STErreurDef gtabErreursKVOBJ[];\n"
      << "extern const int gnNbErreursKVOBJ;\n\n"
      << "alignas(4) const unsigned char gabyBlocMessages[" << bloc.size() << "] = {";
    for (size_t i = 0; i < bloc.size(); ++i) {
        if (i % 16 == 0) o << "\n   ";
        char sz[8];
        std::snprintf(sz, sizeof sz, " 0x%02x,", bloc[i]);
        o << sz;
    }
    o << "\n};\n"
      << "const unsigned gnTailleBlocMessages = " << bloc.size() << "u;\n\n"
      << "const STErreurDef gtabErreursKVOBJ[] = {\n";
    int nErreurs = 0;
    for (const auto& [nNumero, m] : tab) {
        if (!m.bErreur) continue;
        o << "    {" << nNumero << ", " << nNumero << ", " << nNumero << ", " << knNiveauErreur << "},\n";
        ++nErreurs;
    }
    o << "};\n"
      << "const int gnNbErreursKVOBJ = " << nErreurs << ";\n";
    return o.str();
}

} // namespace

int main(int argc, char** argv) {
    return nLanceGenerateur(argc, argv, "kvmsgpack", "MESSAGES.txt", [](const std::string& sEntree) {
        std::map<uint32_t, Message> tab = LitMessages(sEntree);
        int nErreurs = static_cast<int>(std::count_if(tab.begin(), tab.end(), [](const auto& p) { return p.second.bErreur; }));
        if (nErreurs != knNbErreursAttendu)
            throw Echec{sEntree + ": " + std::to_string(nErreurs) + " errors defined, the module has exactly " +
                        std::to_string(knNbErreursAttendu)};
        return sGenereSource(sEntree, tab, ConstruitBloc(tab));
    });
}
