// The project description (type 1 in the compiled project, named after the
// project): what the host needs before it opens the first window.
//
//   version            uint32   1
//   declared size      uint32   bytes from this word to the end of the record
//   name               text
//   first window       text
//   code page          uint32   code page of the project's texts
//   manages languages  bool     4 bytes
//   language count     uint32, then one text per language
//   window count       uint32, then one text per window name
//
// Texts are technical strings (marked UTF-8 when written).
#pragma once
#include "controls/core/Archive.h"
#include <cstdint>
#include <vector>

struct STDescriptionProjet {
    uint32_t nVersion = 1;
    CTString sNom;
    CTString sPremiereFenetre;
    uint32_t nCodePage = CP_1252;
    bool bGereLangues = false;
    std::vector<CTString> tabLangues;
    std::vector<CTString> tabFenetres;
};

inline constexpr STRegleVersion REGLE_DESCRIPTION_PROJET{1, 1, 1};

// A list of texts: its count, then the texts. On reading, a count larger
// than the bytes left is a damaged stream (every text takes at least one
// byte), refused before anything is allocated for it.
template <class A>
void SerialiseListeTextes(A& ar, std::vector<CTString>& tab, const char* pszCompte, const char* pszElement) {
    uint32_t n = static_cast<uint32_t>(tab.size());
    if constexpr (A::bLecture) {
        const size_t nPos = ar.Buffer().nGetPosition();
        ar(n, pszCompte);
        const size_t nDebut = nPos + 4, nLimite = ar.Buffer().nGetLimite();
        if (n > (nLimite > nDebut ? nLimite - nDebut : 0))
            xThrowErreur(10011, static_cast<unsigned long long>(nDebut + n), static_cast<unsigned long long>(nLimite));
        tab.assign(n, CTString());
    } else {
        ar(n, pszCompte);
    }
    for (auto& s : tab) ar.TexteTechnique(s, pszElement);
}

template <class A>
void serialise(A& ar, STDescriptionProjet& r) {
    CEnregistrement<A> rec(ar, r.nVersion, REGLE_DESCRIPTION_PROJET, "project");
    ar.TexteTechnique(r.sNom, "name");
    ar.TexteTechnique(r.sPremiereFenetre, "first window");
    ar(r.nCodePage, "code page");
    ar(r.bGereLangues, "manages languages");
    SerialiseListeTextes(ar, r.tabLangues, "language count", "language");
    SerialiseListeTextes(ar, r.tabFenetres, "window count", "window");
    rec.Fin();
}
