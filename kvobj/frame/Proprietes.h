// The property table: dispatch from a property number to the object's
// accessors, the descriptors the virtual machine reads, names in three
// columns and the availability matrix by object kind.
#pragma once
#include "controls/core/CObjetAPCode.h"
#include "frame/Numeros.h"
#include <cstdint>

struct STPropriete {
    void (CObjetAPCodeOBJ::*pfnGet)(CAny*);
    void (CObjetAPCodeOBJ::*pfnSet)(const CAny&);
    int nNumero;
};
extern const STPropriete gTabProp[NB_PROPRIETES];

// Names: column 0 the language's own names, 1 English, 2 the internal names.
const wchar_t* pszGetNomPropriete(int nPropriete, int nColonne);
// The column of a language code: 12, 9 and 4 select 0, 1 and 2.
int nColonneLangue(int nLangue);
int eGetNumPropFromName(const wchar_t* pszNom);
int wGetTypeKSPropriete(int nPropriete);
bool bProprieteExiste(int nPropriete);  // false for the rows this platform lacks

// Availability of property p on object kind k for the questions (a, b).
bool bPropAvailableEx(int nIDObjet, int nPropriete, bool a, bool b, int nMode);

// Reading and writing through the table, with the errors of the language.
bool bGetProprieteObjet(CObjetAPCodeOBJ* pclObjet, int nPropriete, CAny* pclValeur, CXError* pErreur);
bool bSetProprieteObjet(CObjetAPCodeOBJ* pclObjet, int nPropriete, const CAny& clValeur, CXError* pErreur);

// Values handed to property setters, whatever type the program gave them
// in. The strict forms raise 10002 naming the value and the property; the
// lenient forms take what is not a number as 0 (false).
int nEntierPropriete(const CAny& cl, int nPropriete);
bool bBooleenPropriete(const CAny& cl, int nPropriete);
int nEntierOuZero(const CAny& cl);
bool bBooleenOuFaux(const CAny& cl);
CTString sTextePropriete(const CAny& cl);
// A property that is only read: raises 10072 with its name.
[[noreturn]] void xLectureSeule(int nPropriete);
