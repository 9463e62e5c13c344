// kvc, the description compiler.
#include "Compilateur.h"
#include "Registre.h"
#include "conteneur/Identifiants.h"
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

void Aide(std::ostream& out) {
    out << "usage:\n"
           "  kvc PROJECT_DIR -o OUT.kvp     compile a project written in YAML\n"
           "  kvc dump FILE NAME [TYPE]      print the descriptions named NAME record by record\n"
           "  kvc list FILE                  list the settings, descriptions and event code\n"
           "  kvc --help                     this text\n"
           "\n"
           "PROJECT_DIR holds project.yaml (name, first_window, code_page, languages,\n"
           "windows) and one YAML file per window. TYPE is a number or a name:\n";
    for (const auto& t : TypesDescription()) out << "  " << t.nType << " " << t.pszNom << "\n";
    out << "\ncontrol kinds (the first key of an entry of 'controls'; a window holding a kind\n"
           "not compiled yet keeps its event code and gets no description):\n";
    for (const auto& g : GenresChamps()) {
        const bool bCompile = g.pfnCompile && g.pFamille;
        out << "  " << g.pszCle << (bCompile ? "" : "  (not compiled yet)") << "\n";
    }
    out << "\nevent names in 'code' (a number is accepted too):\n";
    for (const auto& e : TableEvenements())
        out << "  " << e.nNumero << "\t" << e.pszNom << "\t" << e.pszDescription << "\n";
}

int nUsage(const std::string& s) {
    std::cerr << "kvc: " << s << "\n(kvc --help gives the usage)\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return nUsage("no project folder");
    if (args[0] == "--help" || args[0] == "-h") {
        Aide(std::cout);
        return 0;
    }
    if (args[0] == "dump") {
        if (args.size() < 3 || args.size() > 4) return nUsage("dump takes FILE NAME [TYPE]");
        int nType = 0;
        if (args.size() == 4) {
            const std::string& s = args[3];
            for (const auto& t : TypesDescription())
                if (s == t.pszNom || s == std::to_string(t.nType)) nType = t.nType;
            if (nType == 0) {
                bool bNombre = !s.empty() && s.size() < 9 && s.find_first_not_of("0123456789") == std::string::npos;
                if (!bNombre || std::stoi(s) == 0) return nUsage("unknown description type '" + s + "'");
                nType = std::stoi(s);
            }
        }
        return nDump(args[1], args[2], nType, std::cout, std::cerr);
    }
    if (args[0] == "list") {
        if (args.size() != 2) return nUsage("list takes FILE");
        return nListe(args[1], std::cout, std::cerr);
    }
    std::string sRepertoire, sSortie;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o") {
            if (i + 1 >= args.size()) return nUsage("-o needs a file name");
            sSortie = args[++i];
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            return nUsage("unknown option " + args[i]);
        } else if (sRepertoire.empty()) {
            sRepertoire = args[i];
        } else {
            return nUsage("one project folder at a time");
        }
    }
    if (sRepertoire.empty()) return nUsage("no project folder");
    if (sSortie.empty()) return nUsage("no output file (-o OUT.kvp)");
    return nCompileProjet(sRepertoire, sSortie, std::cerr);
}
