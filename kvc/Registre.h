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
#include "controls/core/Famille.h"
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

// A kind of control as written in a window file ("edit: EDT_Name"): every
// kind of the module's kind list that has a YAML key. The kinds of the
// module's control families carry their family; the others are known by
// name only, so that a window using one is told it is not compiled yet.
struct STGenreChamp {
    const char* pszCle;      // YAML key
    int nGenreObjet;         // the object kind the module's factory creates
    const STFamilleChamp* pFamille = nullptr;  // null: the module has no family for it yet
    eTAB_STOP_GENRE eTabStop = eTAB_STOP_OUI;
    PFN_COMPILE_CHAMP pfnCompile = nullptr;  // null while its record is not compiled
};
const std::vector<STGenreChamp>& GenresChamps();
const STGenreChamp* pGenreChamp(std::string_view sCle);
const STGenreChamp* pGenreChamp(int nGenreObjet);
// A family's compiler (kvc/<family>/), by its main kind; false when the
// kind is not a kind of the module's families.
bool bInscritCompilateurChamp(eID_OBJET eGenre, PFN_COMPILE_CHAMP pfn);

struct CInscription {
    explicit CInscription(const std::function<void()>& f) { f(); }
};
