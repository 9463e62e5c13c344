// What a project can use, from the module's own tables: kvrun --functions
// and kvrun --properties [KIND].
#pragma once
#include <cstdio>
#include <string>

class CHote;

// Every language function that has glue, one line per syntax:
// "OuiNon(boolean, text, ...) -> boolean". Returns the exit status.
int nListeFonctions(CHote& hote, std::FILE* f);
// The properties of each control kind (or of the one named by its class
// name, "CSaisie", or its number). Returns the exit status.
int nListeProprietes(CHote& hote, const std::string& sGenre, std::FILE* f);
