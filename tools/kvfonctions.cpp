// kvfonctions: turns the list of the module's language functions into the
// function table the virtual machine reads, as a C++ source file.
//
//   kvfonctions FONCTIONS.txt OUTPUT.cpp
//
// Input (UTF-8), one function per line, in table order, fields separated by
// one TAB:
//   NAME<TAB>CATEGORY<TAB>SYNTAXES[<TAB>?]
// NAME is the language name (letters, digits and '_', not starting with a
// digit). CATEGORY is 1 or 3. SYNTAXES is '-' for a function declared without
// any syntax of ours, else the syntaxes separated by ';', each written as
// RESULT:PARAM,PARAM,... where every type word is decimal or 0x-hex, RESULT
// may be 0 (no result), parameters may not, and a last parameter "..." marks
// the syntax as variadic ("8:" has no parameter, "0:..." only further ones).
// A trailing '?' field marks a signature still to be confirmed; it changes
// nothing in the output. Lines starting with '#' and empty lines are ignored.
//
// A name may appear on more than one row; every row after the first of a
// name is a repeat, and its identifier carries the index of that first row.
// The table has exactly knNbFonctions rows and at most knNbRepetitions
// repeats. Two names that differ only by case are refused: the language
// does not tell them apart.
//
// Output:
// - gtabFonctions / gnNbFonctions: one STFonction per row (ordinal, name 0,
//   reserved 0, attribute bits, category, identifier = syntax count << 24 |
//   1 << 16 | index, syntax array or null), with the syntaxes and their
//   packed signatures (4-byte result type, 4 bytes per declared parameter,
//   one 0 byte). Each syntax i of NAME points to the glue KSL_NAME_i through
//   a weak reference: the module defines the glue functions it implements,
//   and the others stay null (declared, never called);
// - gabyBlocNoms / gnTailleBlocNoms: the names in table order, each followed
//   by a 0 byte, packed with zlib behind the unpacked size (u32, little-endian).
//
// Any malformed line or count makes the tool fail without leaving an output
// file.
#include <zlib.h>

#include <algorithm>
#include <cctype>
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

constexpr size_t knNbFonctions = 586;
constexpr int knNbRepetitions = 10;
constexpr uint32_t knMaxParametres = 0x7F;   // bits 0-6 of the parameters word
constexpr uint32_t knVariadique = 0x80;      // bit 7
constexpr size_t knMaxSyntaxes = 0xFF;       // bits 24-31 of the identifier
constexpr size_t knMaxIndice = 0xFFFF;       // bits 0-15 of the identifier
// Attribute bits handed to the virtual machine: rows that carry syntaxes
// and rows that only declare the name.
constexpr uint32_t knAttributsSyntaxes = 0xC3228618u;
constexpr uint32_t knAttributsDeclaration = 0xC1028018u;

struct Syntaxe {
    uint32_t nResultat = 0;
    std::vector<uint32_t> tabParametres;
    bool bVariadique = false;
};

struct Fonction {
    std::string sNom;
    uint32_t nCategorie = 1;
    std::vector<Syntaxe> tabSyntaxes;
    size_t nIndice = 0;  // own index, or the first row's index for a repeat
    int nLigne = 0;
};

std::vector<std::string> Decoupe(const std::string& s, char c) {
    std::vector<std::string> r;
    size_t nDebut = 0;
    for (;;) {
        size_t n = s.find(c, nDebut);
        r.push_back(s.substr(nDebut, n == std::string::npos ? std::string::npos : n - nDebut));
        if (n == std::string::npos) return r;
        nDebut = n + 1;
    }
}

bool bNomValide(const std::string& s) {
    if (s.empty() || std::isdigit(static_cast<unsigned char>(s[0]))) return false;
    return std::all_of(s.begin(), s.end(), [](char c) {
        unsigned char u = static_cast<unsigned char>(c);
        return u < 0x80 && (std::isalnum(u) || c == '_');
    });
}

std::string sMinuscules(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// A type word: decimal or 0x-hex, 32 bits.
bool bLitType(const std::string& s, uint32_t& n) {
    bool bHexa = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
    const std::string sChiffres = bHexa ? s.substr(2) : s;
    if (sChiffres.empty() || sChiffres.size() > (bHexa ? 8u : 10u)) return false;
    for (char c : sChiffres)
        if (!(bHexa ? std::isxdigit(static_cast<unsigned char>(c)) : std::isdigit(static_cast<unsigned char>(c))))
            return false;
    unsigned long long v = std::stoull(sChiffres, nullptr, bHexa ? 16 : 10);
    if (v > 0xFFFFFFFFull) return false;
    n = static_cast<uint32_t>(v);
    return true;
}

Syntaxe LitSyntaxe(const std::string& s, const std::string& sFichier, int nLigne) {
    size_t nDeuxPoints = s.find(':');
    if (nDeuxPoints == std::string::npos) Refuse(sFichier, nLigne, "syntax '" + s + "' lacks ':' after its result type");
    Syntaxe st;
    if (!bLitType(s.substr(0, nDeuxPoints), st.nResultat))
        Refuse(sFichier, nLigne, "bad result type in syntax '" + s + "'");
    const std::string sParametres = s.substr(nDeuxPoints + 1);
    if (sParametres.empty()) return st;
    std::vector<std::string> tab = Decoupe(sParametres, ',');
    for (size_t i = 0; i < tab.size(); ++i) {
        if (tab[i] == "...") {
            if (i + 1 != tab.size()) Refuse(sFichier, nLigne, "'...' must end the syntax '" + s + "'");
            st.bVariadique = true;
            break;
        }
        uint32_t n = 0;
        if (!bLitType(tab[i], n)) Refuse(sFichier, nLigne, "bad parameter type '" + tab[i] + "' in syntax '" + s + "'");
        if ((n & 0xFF) == 0) Refuse(sFichier, nLigne, "parameter without a type code in syntax '" + s + "'");
        st.tabParametres.push_back(n);
    }
    if (st.tabParametres.size() > knMaxParametres) Refuse(sFichier, nLigne, "too many parameters in syntax '" + s + "'");
    return st;
}

std::vector<Fonction> LitFonctions(const std::string& sFichier) {
    std::ifstream f(sFichier, std::ios::binary);
    if (!f) throw Echec{sFichier + ": cannot be opened: " + std::strerror(errno)};
    std::vector<Fonction> tab;
    std::map<std::string, size_t> tabPremier;           // name -> first row
    std::map<std::string, std::string> tabCasse;        // lower-case name -> name
    int nRepetitions = 0;
    std::string sLigne;
    int nLigne = 0;
    while (std::getline(f, sLigne)) {
        ++nLigne;
        if (!sLigne.empty() && sLigne.back() == '\r') sLigne.pop_back();
        if (nLigne == 1 && sLigne.compare(0, 3, "\xEF\xBB\xBF") == 0) sLigne.erase(0, 3);
        if (sLigne.empty() || sLigne[0] == '#') continue;

        std::vector<std::string> champs = Decoupe(sLigne, '\t');
        if (champs.size() < 3 || champs.size() > 4)
            Refuse(sFichier, nLigne, "expected NAME, CATEGORY and SYNTAXES separated by tabs, then optionally '?'");
        if (champs.size() == 4 && champs[3] != "?") Refuse(sFichier, nLigne, "the fourth field may only be '?'");

        Fonction fn;
        fn.nLigne = nLigne;
        fn.sNom = champs[0];
        if (!bNomValide(fn.sNom)) Refuse(sFichier, nLigne, "invalid function name '" + fn.sNom + "'");
        if (champs[1] == "1")
            fn.nCategorie = 1;
        else if (champs[1] == "3")
            fn.nCategorie = 3;
        else
            Refuse(sFichier, nLigne, "the category must be 1 or 3");

        if (champs[2] != "-") {
            if (champs[2].empty()) Refuse(sFichier, nLigne, "empty syntax list (write '-' for none)");
            for (const std::string& s : Decoupe(champs[2], ';')) fn.tabSyntaxes.push_back(LitSyntaxe(s, sFichier, nLigne));
            if (fn.tabSyntaxes.size() > knMaxSyntaxes) Refuse(sFichier, nLigne, "too many syntaxes");
        }

        auto itCasse = tabCasse.find(sMinuscules(fn.sNom));
        if (itCasse != tabCasse.end() && itCasse->second != fn.sNom)
            Refuse(sFichier, nLigne, "'" + fn.sNom + "' differs only by case from '" + itCasse->second + "'");
        auto it = tabPremier.find(fn.sNom);
        if (it != tabPremier.end()) {
            if (++nRepetitions > knNbRepetitions)
                Refuse(sFichier, nLigne, "'" + fn.sNom + "' repeats a name beyond the " + std::to_string(knNbRepetitions) +
                                             " repeats the table allows");
            fn.nIndice = it->second;
        } else {
            fn.nIndice = tab.size();
            tabPremier.emplace(fn.sNom, tab.size());
            tabCasse.emplace(sMinuscules(fn.sNom), fn.sNom);
        }
        if (tab.size() > knMaxIndice) Refuse(sFichier, nLigne, "too many rows for a 16-bit index");
        tab.push_back(std::move(fn));
    }
    if (f.bad()) throw Echec{sFichier + ": read error"};
    if (tab.size() != knNbFonctions)
        throw Echec{sFichier + ": " + std::to_string(tab.size()) + " functions listed, the table has exactly " +
                    std::to_string(knNbFonctions)};
    return tab;
}

void AjouteU32(std::vector<unsigned char>& v, uint32_t n) {
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<unsigned char>(n >> (8 * i)));
}

std::vector<unsigned char> ConstruitBlocNoms(const std::vector<Fonction>& tab) {
    std::vector<unsigned char> brut;
    for (const Fonction& fn : tab) {
        brut.insert(brut.end(), fn.sNom.begin(), fn.sNom.end());
        brut.push_back(0);
    }
    uLongf nPacke = compressBound(static_cast<uLong>(brut.size()));
    std::vector<unsigned char> bloc(4 + nPacke);
    for (int i = 0; i < 4; ++i) bloc[i] = static_cast<unsigned char>(brut.size() >> (8 * i));
    if (compress2(bloc.data() + 4, &nPacke, brut.data(), static_cast<uLong>(brut.size()), Z_BEST_COMPRESSION) != Z_OK)
        throw Echec{"zlib compression failed"};
    bloc.resize(4 + nPacke);
    return bloc;
}

void EcritOctets(std::ostringstream& o, const std::vector<unsigned char>& v) {
    for (size_t i = 0; i < v.size(); ++i) {
        if (i % 16 == 0) o << "\n   ";
        char sz[8];
        std::snprintf(sz, sizeof sz, " 0x%02x,", v[i]);
        o << sz;
    }
    o << "\n";
}

std::string sHexa(uint32_t n) {
    char sz[16];
    std::snprintf(sz, sizeof sz, "0x%08Xu", n);
    return sz;
}

std::string sGenereSource(const std::string& sEntree, const std::vector<Fonction>& tab) {
    // Signatures packed one after the other, and the syntax rows pointing
    // into them.
    std::vector<unsigned char> signatures;
    std::ostringstream oSyntaxes;
    std::ostringstream oGlues;
    std::vector<size_t> tabPremiereSyntaxe;
    size_t nSyntaxes = 0;
    for (const Fonction& fn : tab) {
        tabPremiereSyntaxe.push_back(nSyntaxes);
        for (size_t i = 0; i < fn.tabSyntaxes.size(); ++i) {
            const Syntaxe& st = fn.tabSyntaxes[i];
            const size_t nOffset = signatures.size();
            AjouteU32(signatures, st.nResultat);
            for (uint32_t n : st.tabParametres) AjouteU32(signatures, n);
            signatures.push_back(0);
            uint32_t nParametres = static_cast<uint32_t>(st.tabParametres.size()) | (st.bVariadique ? knVariadique : 0);
            char sz[32];
            std::snprintf(sz, sizeof sz, "0x%02Xu", nParametres);
            const std::string sGlue = "KSL_" + fn.sNom + "_" + std::to_string(i);
            oGlues << "int " << sGlue << "(void*, void*, void**) KV_GLUE_FAIBLE;\n";
            oSyntaxes << "    {reinterpret_cast<void*>(&" << sGlue << "), {0, 0}, kabySignatures + " << nOffset << ", " << sz
                      << "},\n";
            ++nSyntaxes;
        }
    }
    const std::vector<unsigned char> bloc = ConstruitBlocNoms(tab);

    std::ostringstream o;
    o << "// Generated by kvfonctions from " << sEntree << ". Do not edit.\n"
      << "#include \"frame/TablesComposante.h\"\n\n"
      << "extern const STFonction gtabFonctions[];\n"
      << "extern const uint32_t gnNbFonctions;\n"
      << "extern const uint8_t gabyBlocNoms[];\n"
      << "extern const uint32_t gnTailleBlocNoms;\n\n"
      << "// Glue functions: null unless the module defines them.\n"
      << "#define KV_GLUE_FAIBLE __attribute__((weak, visibility(\"default\")))\n"
      << "extern \"C\" {\n"
      << oGlues.str() << "}\n\n"
      << "namespace {\n\n"
      << "const uint8_t kabySignatures[" << std::max<size_t>(signatures.size(), 1) << "] = {";
    EcritOctets(o, signatures);
    o << "};\n\n"
      << "const STSyntaxe ktabSyntaxes[" << std::max<size_t>(nSyntaxes, 1) << "] = {\n"
      << oSyntaxes.str() << "};\n\n"
      << "} // namespace\n\n"
      << "const STFonction gtabFonctions[" << tab.size() << "] = {\n";
    for (size_t i = 0; i < tab.size(); ++i) {
        const Fonction& fn = tab[i];
        const uint32_t nIdentifiant =
            static_cast<uint32_t>(fn.tabSyntaxes.size()) << 24 | 1u << 16 | static_cast<uint32_t>(fn.nIndice);
        o << "    {" << i + 1 << ", 0, 0, "
          << sHexa(fn.tabSyntaxes.empty() ? knAttributsDeclaration : knAttributsSyntaxes) << ", " << fn.nCategorie << ", "
          << sHexa(nIdentifiant) << ", ";
        if (fn.tabSyntaxes.empty())
            o << "nullptr";
        else
            o << "ktabSyntaxes + " << tabPremiereSyntaxe[i];
        o << "},  // " << fn.sNom << "\n";
    }
    o << "};\n"
      << "const uint32_t gnNbFonctions = " << tab.size() << "u;\n\n"
      << "const uint8_t gabyBlocNoms[" << bloc.size() << "] = {";
    EcritOctets(o, bloc);
    o << "};\n"
      << "const uint32_t gnTailleBlocNoms = " << bloc.size() << "u;\n";
    return o.str();
}

} // namespace

int main(int argc, char** argv) {
    return nLanceGenerateur(argc, argv, "kvfonctions", "FONCTIONS.txt", [](const std::string& sEntree) {
        return sGenereSource(sEntree, LitFonctions(sEntree));
    });
}
