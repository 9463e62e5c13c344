// Writes a generated source beside its final name and renames it, so that a
// failed run never leaves a truncated source behind for the next build.
#pragma once
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>

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
