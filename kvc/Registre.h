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
class CEcrivainKV;

// What a record compiler receives besides its source.
struct STContexteCompilation {
    const STProjetSource& projet;
    CDiagnostics& diag;
};

// Writes the description of one window (bytes of a type-2 description);
// false after reporting an error through the context.
using PFN_COMPILE_FENETRE = bool (*)(const STFenetreSource&, STContexteCompilation&, std::vector<uint8_t>&);
// Reads a description through its record's one definition with the
// reader's trace on (the dump); a damaged description throws CXError.
using PFN_DUMP_DESCRIPTION = void (*)(CKVBuffer&, unsigned nCodePage, std::wostream& trace);
// Writes the record of one control of a window.
using PFN_COMPILE_CHAMP = bool (*)(const STObjetSource&, STContexteCompilation&, CEcrivainKV&);

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

// A kind of control as written in a window file ("edit: EDT_Name").
struct STGenreChamp {
    const char* pszCle;      // YAML key
    int nGenreObjet;         // the object kind the module's factory creates
    PFN_COMPILE_CHAMP pfnCompile = nullptr;  // null while its record is not compiled
};
const std::vector<STGenreChamp>& GenresChamps();
const STGenreChamp* pGenreChamp(std::string_view sCle);
// False when the kind is unknown.
bool bInscritCompilateurChamp(std::string_view sCle, PFN_COMPILE_CHAMP pfn);

struct CInscription {
    explicit CInscription(const std::function<void()>& f) { f(); }
};
