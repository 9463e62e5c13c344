// Object identifiers and event names shared by the compiler and the host.
//
// Every window, control, table column and menu option owns its event code
// under a 64-bit identifier derived from its full name ("FEN_Client",
// "FEN_Client.EDT_Nom", "FEN_Client.TABLE_Cde.COL_Ref",
// "FEN_Client.MENU_Principal.OPT_Quitter"), so that recompiling a project
// keeps every identifier. Names compare without regard to case.
//
// This code is linked by the host as well: standard C++ only.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Upper case of one character, the same on every machine and in every
// locale: ASCII, Latin-1 and Latin Extended-A letters are folded; every
// other character is kept. (towupper folds only ASCII in the "C" locale,
// which the module sets, so it cannot make stable identifiers.)
wchar_t cMajusculeStable(wchar_t c);
std::wstring sMajusculeStable(std::wstring_view s);
// Names equal without regard to case (the fold above).
bool bNomsEgaux(std::wstring_view a, std::wstring_view b);

// UTF-8 conversions. The decoder refuses malformed input (overlong forms,
// surrogates, values above U+10FFFF, cut sequences); the encoder writes
// U+FFFD for a wide character that is not a Unicode scalar value.
std::string sVersUtf8(std::wstring_view s);
bool bDepuisUtf8(std::string_view s, std::wstring& sSortie);
// Decodes, replacing each malformed sequence with U+FFFD.
std::wstring sDepuisUtf8(std::string_view s);

// FNV-1a 64 over the UTF-8 bytes of the full name in stable upper case.
uint64_t nIdentifiantObjet(std::wstring_view sNomComplet);

// Event numbers and their names in projects (short English snake_case).
struct STNomEvenement {
    uint32_t nNumero;
    const char* pszNom;
    const char* pszDescription;
};
const std::vector<STNomEvenement>& TableEvenements();
// The number of an event name, or of a plain decimal number that is an
// event of the table; nothing for anything else.
std::optional<uint32_t> nEvenementDepuisNom(std::string_view sNom);
// The name of an event number; nullptr when the table does not have it.
const char* pszNomEvenement(uint32_t nNumero);
