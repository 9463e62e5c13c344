// The commands of kvc.
#pragma once
#include "ProjetSource.h"
#include <iosfwd>
#include <string>

struct STDescriptionProjet;

// Compiles the project folder into the container sSortie; messages go to
// err. Returns the exit status: 0, or 1 after errors (nothing written).
int nCompileProjet(const std::string& sRepertoire, const std::string& sSortie, std::ostream& err);

// Prints descriptions of that name (of one type when nType is not 0)
// record by record. Exit status.
int nDump(const std::string& sFichier, const std::string& sNom, int nType, std::ostream& out, std::ostream& err);

// Prints the settings, the descriptions and the event code entries.
int nListe(const std::string& sFichier, std::ostream& out, std::ostream& err);

// The project description record of a project.
STDescriptionProjet DescriptionProjet(const STProjetSource& projet);

// Wide text printed as UTF-8.
std::string sUtf8(const std::wstring& s);
