// Compiling event code when the project is compiled: a syntax error is
// reported against the YAML source instead of failing when the code runs.
#pragma once
#include <optional>
#include <string>

struct STErreurLua {
    int nLigne = 1;          // 1-based line in the chunk's source
    std::string sMessage;    // Lua's message without its position
    std::string sPres;       // the token Lua names ("near 'x'"), when any
};

// Compiles the source as the host does (the body of a function of its
// environment and parameters); nothing when it compiles.
std::optional<STErreurLua> VerifieCodeLua(const std::string& sSource);
