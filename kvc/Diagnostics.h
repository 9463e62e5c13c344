// Messages of the compiler: "file:line:column: error: text", in the order
// they are found, on the error stream. The compiler writes nothing when an
// error was reported.
#pragma once
#include <iosfwd>
#include <string>

// A place in a source file (line and column from 1; 0 when unknown).
struct STPosition {
    std::string sFichier;
    int nLigne = 0;
    int nColonne = 0;
    std::string sTexte() const;  // "file:line:column" or "file"
};

class CDiagnostics {
public:
    explicit CDiagnostics(std::ostream& flux) : m_flux(flux) {}
    void Erreur(const STPosition& pos, const std::string& sMessage);
    void Avertissement(const STPosition& pos, const std::string& sMessage);
    void Note(const STPosition& pos, const std::string& sMessage);
    int nErreurs() const { return m_nErreurs; }

private:
    void Ecrit(const STPosition& pos, const char* pszGenre, const std::string& sMessage);
    std::ostream& m_flux;
    int m_nErreurs = 0;
};
