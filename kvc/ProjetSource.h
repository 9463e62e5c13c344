// A project as written in YAML: project.yaml and one file per window,
// read into objects that own event code. The YAML of every entry is kept
// (noeud) for the record compilers; this reader only takes what every
// object shares: its kind, its name and its code.
//
// project.yaml:
//   name: Orders            (required)
//   first_window: FEN_Main  (required, a window of the project)
//   code_page: 1252         (default 1252)
//   languages: [fr, en]     (optional)
//   windows: [main.yaml]    (optional; default every other *.yaml of the folder, by name)
//
// A window file:
//   window: FEN_Main
//   code: {declarations: ..., init: ...}      by event name (or number)
//   controls:
//     - edit: EDT_Name                        the first key names the kind
//       code: {exit: ...}
//     - table: TABLE_Orders
//       columns:
//         - column: COL_Ref
//           code: {entry: ...}
//   menus:
//     - menu: MENU_Main
//       options:
//         - option: OPT_Quit
//           code: {menu_option: ...}
//         - separator
//         - menu: MENU_Sub                   a sub-menu, with its own options
//   context_menus:                            named menus shown by a right click,
//     - menu: MENU_Popup                      with options as above
//
// In a window's own code, "init" is the window's initialisation (event 34);
// elsewhere it is the initialisation of the object (event 14).
#pragma once
#include "Diagnostics.h"
#include <yaml-cpp/yaml.h>
#include <cstdint>
#include <string>
#include <vector>

struct STCodeSource {
    uint32_t nEvenement = 0;
    std::string sSource;  // Lua, as written
    STPosition pos;       // of the event's key
};

struct STObjetSource {
    std::string sGenre;          // "window", a control kind ("edit", ...), "column", "menu", "option"
    std::wstring sNom;
    std::wstring sNomComplet;    // "FEN.EDT", "FEN.TABLE.COL", "FEN.MENU.OPT"
    uint64_t nId = 0;
    STPosition pos;              // of the name
    YAML::Node noeud;            // the whole entry
    std::vector<STCodeSource> tabCode;
    std::vector<STObjetSource> tabFils;  // columns of a control; options and sub-menus of a menu
};

struct STFenetreSource {
    std::string sFichier;
    STObjetSource objet;                   // the window itself
    std::vector<STObjetSource> tabChamps;  // in file order
    std::vector<STObjetSource> tabMenus;              // the menus of the menu bar
    std::vector<STObjetSource> tabMenusContextuels;   // named context menus
};

struct STProjetSource {
    std::string sRepertoire;
    std::string sFichier;  // .../project.yaml
    std::wstring sNom;
    STPosition posNom;
    std::wstring sPremiereFenetre;
    STPosition posPremiereFenetre;
    uint32_t nCodePage = 1252;
    std::vector<std::wstring> tabLangues;
    // The project's procedure KorvelMessageBox shows the message boxes.
    bool bBoitesPersonnalisees = false;
    std::vector<STFenetreSource> tabFenetres;  // in project order
};

// Reads the project folder; every problem is reported through diag.
// False when an error was reported.
bool bLitProjet(const std::string& sRepertoire, STProjetSource& projet, CDiagnostics& diag);

// Whether a code page can be converted (the module converts texts through iconv).
bool bCodePageConnue(uint32_t nCodePage);
