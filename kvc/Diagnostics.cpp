#include "Diagnostics.h"
#include <ostream>

std::string STPosition::sTexte() const {
    if (nLigne <= 0) return sFichier;
    return sFichier + ":" + std::to_string(nLigne) + ":" + std::to_string(nColonne > 0 ? nColonne : 1);
}

void CDiagnostics::Ecrit(const STPosition& pos, const char* pszGenre, const std::string& sMessage) {
    std::string s = pos.sTexte();
    if (!s.empty()) s += ": ";
    m_flux << s << pszGenre << ": " << sMessage << "\n";
    m_flux.flush();
}

void CDiagnostics::Erreur(const STPosition& pos, const std::string& sMessage) {
    ++m_nErreurs;
    Ecrit(pos, "error", sMessage);
}

void CDiagnostics::Avertissement(const STPosition& pos, const std::string& sMessage) {
    Ecrit(pos, "warning", sMessage);
}

void CDiagnostics::Note(const STPosition& pos, const std::string& sMessage) { Ecrit(pos, "note", sMessage); }
