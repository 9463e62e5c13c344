// A control family (edit, button, static text, ...) declares itself once:
// its kinds, its class, how it is created, the properties it adds to those
// of every control, whether it is in the tab order, and the YAML key that
// introduces it in a window file. The object factory, the property matrix
// and the compiler's table of control kinds are built from these
// descriptors, so a kind cannot be known to one of them and missing from
// another.
#pragma once
#include "frame/Numeros.h"
#include <span>

class CObjet;
class CChamp;

// Whether a kind of control is in the tab order when its entry does not say.
enum eTAB_STOP_GENRE : int {
    eTAB_STOP_JAMAIS = 0,   // never (static text)
    eTAB_STOP_NON = 1,      // not unless the entry says so
    eTAB_STOP_OUI = 2,      // unless the entry says otherwise (kinds that take input)
};

struct STFamilleChamp {
    const char* pszFamille;                     // the family's folder name
    std::span<const eID_OBJET> tabGenres;       // its kinds, the first one the main kind
    const wchar_t* pszClasse;
    CObjet* (*pfnCree)(eID_OBJET eGenre);       // a new object of one of its kinds
    std::span<const ePROPRIETE> tabProprietes;  // its own properties, besides every control's
    eTAB_STOP_GENRE eTabStop;
    const char* pszCle;                         // YAML key of the main kind
};

// The families this module has (controls/Familles.cpp).
std::span<const STFamilleChamp* const> Familles();
// The family of a kind; null when no family has it.
const STFamilleChamp* pFamilleDuGenre(int nGenre);

// Whether a kind is a control (kinds of groups, options, rows... are not).
bool bEstGenreChamp(int nGenre);
// A new control of a kind; throws 10012 when no family has the kind.
CChamp* xpclCreeChamp(int nGenre);

// The kind list's own entry of a kind: its class and YAML key ("" when the
// kind has no name, or is not written in window files).
const wchar_t* pszClasseGenre(int nGenre);
const char* pszCleGenre(int nGenre);
