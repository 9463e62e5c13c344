#include "frame/TablesComposante.h"
#include "frame/CObjFactory.h"

// Generated from frame/fonctions.txt at build time.
extern const STFonction gtabFonctions[];
extern const uint32_t gnNbFonctions;
extern const uint8_t gabyBlocNoms[];
extern const uint32_t gnTailleBlocNoms;
#include <zlib.h>
#include <array>
#include <vector>

// The function, constant, variable and property tables grow as the families
// of language functions and properties are built; each answer counts the
// rows really held.
STTable<STFonction> TableFonctions() { return {gtabFonctions, gnNbFonctions}; }
STTable<STConstante> TableConstantes() { return {nullptr, 0}; }
STTable<STVariable> TableVariables() { return {nullptr, 0}; }
// The property table and its matrix are built with the properties (Proprietes.cpp).

STTable<uint8_t> BlocNoms() { return {gabyBlocNoms, gnTailleBlocNoms}; }

STTable<const wchar_t*> TableReferencesTypes() {
    // Types of the model objects the agenda and planning functions return:
    // number, kind, family and type name.
    static const wchar_t* const tab[] = {
        L"+:070:0:MODEL:RendezVous", L"+:071:0:MODEL:Ressource",  L"+:072:0:MODEL:Periode",
        L"+:073:0:MODEL:Planning",   L"+:074:0:MODEL:Agenda",     L"+:075:0:MODEL:Marqueur",
        L"+:076:0:MODEL:Position",   L"+:077:0:MODEL:Itineraire", L"+:078:0:MODEL:Categorie",
    };
    return {tab, 9};
}

namespace {
const wchar_t* const gtabAide[3] = {L"", L"", L""};
const wchar_t* const gtabDescription[3] = {
    L"Windows and controls",
    L"Opens windows from their compiled descriptions and runs their controls",
    L"kv190obj.so",
};

const void* const* TableTypesObjets() {
    static const auto tab = [] {
        std::array<const void*, NB_ID_OBJET> t;
        for (int i = 0; i < NB_ID_OBJET; ++i) t[i] = &CObjFactory::m_tabDeclareObjet()[i];
        return t;
    }();
    return tab.data();
}
} // namespace

uintptr_t InfoComposanteModule(int nCode, unsigned nIndice) {
    auto p = [](const void* q) { return reinterpret_cast<uintptr_t>(q); };
    switch (nCode) {
    case 0: return 13;
    case 1: case 3: case 30: return 1;
    case 2: return 2819;
    case 4: return nIndice < 3 ? p(gtabAide[nIndice]) : 0;
    case 13: return p(MatriceProprietes().pLignes);
    case 14: case 38: return NB_ID_OBJET;
    case 23: return p(TableConstantes().pLignes);
    case 24: return TableConstantes().nNb;
    case 25: return p(TableVariables().pLignes);
    case 26: return TableVariables().nNb;
    case 29: return 0;  // no classes are declared to the virtual machine
    case 31: return p(TableReferencesTypes().pLignes);
    case 32: return 9;
    case 33: return p(TableFonctions().pLignes);
    case 34: return TableFonctions().nNb;
    case 35: return p(TableProprietes().pLignes);
    case 36: return TableProprietes().nNb;
    case 37: return p(TableTypesObjets());
    case 39: return nIndice < 3 ? p(gtabDescription[nIndice]) : 0;
    case 40: return p(BlocNoms().pLignes);
    case 41: return BlocNoms().nNb;
    default: return 0;
    }
}
