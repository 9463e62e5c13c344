// What the compiler knows how to write and to print back, by description
// type and by control kind. A record's own file registers its functions
// with a static CInscription, so a new record plugs in without touching
// the driver:
//
//   static const CInscription s_fenetre([] {
//       InscritTypeDescription({eTYPE_DESCRIPTION_FENETRE, "window", &CompileFenetre, &DumpFenetre});
//   });
#pragma once
#include "ProjetSource.h"
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string_view>
#include <vector>

class CKVBuffer;
class CChamp;
class CEntreeYAML;

// What a record compiler receives besides its source.
struct STContexteCompilation {
    const STProjetSource& projet;
    CDiagnostics& diag;
};

// Writes the description of one window (bytes of a type-2 description);
// false when it is not written: after an error, or after a note that the
// window holds something not compiled yet.
using PFN_COMPILE_FENETRE = bool (*)(const STFenetreSource&, STContexteCompilation&, std::vector<uint8_t>&);
// Reads a description through its record's one definition with the
// reader's trace on (the dump); a damaged description throws CXError.
using PFN_DUMP_DESCRIPTION = void (*)(CKVBuffer&, unsigned nCodePage, std::wostream& trace);
// Fills the fields of a control that belong to its kind from the keys of its
// entry (the common fields are filled already); every key it reads counts
// as known. False after an error was reported through the entry.
using PFN_COMPILE_CHAMP = bool (*)(CEntreeYAML& entree, CChamp& champ, STContexteCompilation& ctx);

struct STTypeDescription {
    int nType = 0;
    const char* pszNom = "";
    PFN_COMPILE_FENETRE pfnCompileFenetre = nullptr;  // type 2 only
    PFN_DUMP_DESCRIPTION pfnDump = nullptr;
};

// Registering a type that exists fills in the functions it had not.
void InscritTypeDescription(const STTypeDescription& st);
const STTypeDescription* pTypeDescription(int nType);
const std::vector<STTypeDescription>& TypesDescription();

// Whether a kind of control is in the tab order.
enum eTAB_STOP_GENRE : int {
    eTAB_STOP_JAMAIS = 0,   // never (static text)
    eTAB_STOP_NON = 1,      // not unless the entry says so
    eTAB_STOP_OUI = 2,      // unless the entry says otherwise (kinds that take input)
};

// A kind of control as written in a window file ("edit: EDT_Name").
struct STGenreChamp {
    const char* pszCle;      // YAML key
    int nGenreObjet;         // the object kind the module's factory creates
    eTAB_STOP_GENRE eTabStop = eTAB_STOP_OUI;
    PFN_COMPILE_CHAMP pfnCompile = nullptr;  // null while its record is not compiled
};
const std::vector<STGenreChamp>& GenresChamps();
const STGenreChamp* pGenreChamp(std::string_view sCle);
const STGenreChamp* pGenreChamp(int nGenreObjet);
// False when the kind is unknown.
bool bInscritCompilateurChamp(std::string_view sCle, PFN_COMPILE_CHAMP pfn);

struct CInscription {
    explicit CInscription(const std::function<void()>& f) { f(); }
};
