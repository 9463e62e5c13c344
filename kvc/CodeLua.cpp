#include "CodeLua.h"
#include <lua.hpp>
#include <cstring>
#include <memory>

std::optional<STErreurLua> VerifieCodeLua(const std::string& sSource) {
    std::unique_ptr<lua_State, void (*)(lua_State*)> L(luaL_newstate(), lua_close);
    if (!L) return STErreurLua{1, "the Lua compiler could not start", ""};
    // The wrapper the host puts around the code, on the code's first line so
    // that line numbers are the source's.
    const std::string sTexte = "return function(_ENV, ...) " + sSource + "\nend";
    if (luaL_loadbuffer(L.get(), sTexte.data(), sTexte.size(), "=code") == LUA_OK) return std::nullopt;
    const char* psz = lua_tostring(L.get(), -1);
    std::string s = psz ? psz : "the code does not compile";
    STErreurLua e;
    // "code:LINE: message"
    if (s.rfind("code:", 0) == 0) {
        size_t i = 5, j = i;
        while (j < s.size() && s[j] >= '0' && s[j] <= '9') ++j;
        if (j > i && j < s.size() && s[j] == ':') {
            e.nLigne = std::stoi(s.substr(i, j - i));
            s = s.substr(j + 1);
            if (!s.empty() && s[0] == ' ') s.erase(0, 1);
        }
    }
    // The wrapper's own function and end are not the user's: an unclosed
    // block is reported at the code's last line.
    int nLignes = 1;
    for (char c : sSource)
        if (c == '\n') ++nLignes;
    if (!sSource.empty() && sSource.back() == '\n') --nLignes;
    const std::string sWrapper = " (to close 'function' at line 1)";
    if (size_t k = s.find(sWrapper); k != std::string::npos) s.erase(k, sWrapper.size());
    if (e.nLigne > nLignes) {
        // Lua reached the wrapper's closing line: for the user that is the
        // end of the code.
        e.nLigne = nLignes < 1 ? 1 : nLignes;
        for (const char* psz : {" near 'end'", " near <eof>"})
            if (size_t k = s.rfind(psz); k != std::string::npos && k + std::strlen(psz) == s.size())
                s.replace(k, std::strlen(psz), " at the end of the code");
    }
    if (size_t k = s.rfind(" near '"); k != std::string::npos) {
        size_t f = s.find('\'', k + 7);
        if (f != std::string::npos) e.sPres = s.substr(k + 7, f - k - 7);
    }
    e.sMessage = s;
    return e;
}
