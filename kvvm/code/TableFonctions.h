// The module's function table as the host reads it: names from the packed
// name block, syntaxes with their glue and signature words
// (InfoComposante 33, 34, 40, 41).
#pragma once
#include "kv/tables.h"
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct STSyntaxeModule {
    void* pfnGlue = nullptr;
    uint32_t nResultat = 0;               // result type word (0: none)
    std::vector<uint32_t> tabParametres;  // type words
    bool bVariadique = false;
};

struct STFonctionModule {
    std::string sNom;
    int nIndice = 0;  // 0-based row
    std::vector<STSyntaxeModule> tabSyntaxes;
    bool bAGlue() const;
};

// Every row of the table, in order (a repeated name's second row included,
// without syntaxes). Empty when the module has no table or it is damaged.
std::vector<STFonctionModule> LitTableFonctions(const std::function<void*(const char*)>& fnSymbole);

// "boolean", "integer", "text"...: what a type word's code means to a caller.
const char* pszNomTypeSignature(uint32_t nTypeMot);
