// What the build-time source generators share: their refusals, writing a
// generated source beside its final name and renaming it (a failed run
// never leaves a truncated source behind for the next build), and the
// command line "TOOL INPUT OUTPUT.cpp".
#pragma once
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>

// A refused input: the message says where and why.
struct Echec {
    std::string sTexte;
};

[[noreturn]] inline void Refuse(const std::string& sFichier, int nLigne, const std::string& sRaison) {
    std::ostringstream o;
    o << sFichier << ":" << nLigne << ": " << sRaison;
    throw Echec{o.str()};
}

inline void EcritFichierAtomique(const std::string& sSortie, const std::string& sSource) {
    const std::string sTemp = sSortie + ".tmp";
    {
        std::ofstream f(sTemp, std::ios::binary | std::ios::trunc);
        if (!f) throw std::runtime_error(sTemp + ": cannot be created: " + std::strerror(errno));
        f << sSource;
        f.close();
        if (!f) {
            std::remove(sTemp.c_str());
            throw std::runtime_error(sTemp + ": write error");
        }
    }
    if (std::rename(sTemp.c_str(), sSortie.c_str()) != 0) {
        std::string sRaison = std::strerror(errno);
        std::remove(sTemp.c_str());
        throw std::runtime_error(sSortie + ": cannot be written: " + sRaison);
    }
}

// Runs a generator: fnGenere makes the source from the input file's name;
// the source is written atomically. 0 on success, 1 on a refusal or a
// failure (said on stderr, no output written), 2 on a bad command line.
inline int nLanceGenerateur(int argc, char** argv, const char* pszOutil, const char* pszEntree,
                            const std::function<std::string(const std::string&)>& fnGenere) {
    if (argc != 3) {
        std::cerr << "usage: " << pszOutil << " " << pszEntree << " OUTPUT.cpp\n";
        return 2;
    }
    try {
        const std::string sSource = fnGenere(argv[1]);
        EcritFichierAtomique(argv[2], sSource);
    } catch (const Echec& e) {
        std::cerr << pszOutil << ": " << e.sTexte << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << pszOutil << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}
