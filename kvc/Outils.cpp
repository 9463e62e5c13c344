// "kvc dump" and "kvc list": a compiled project printed back as text.
#include "Compilateur.h"
#include "Registre.h"
#include "conteneur/CConteneurProjet.h"
#include "conteneur/Identifiants.h"
#include "controls/core/CKVBuffer.h"
#include "kv/CXError.h"
#include <algorithm>
#include <cstdio>
#include <ostream>
#include <sstream>

namespace {

std::string sHex(uint64_t n, int nChiffres) {
    char sz[32];
    std::snprintf(sz, sizeof sz, "%0*llX", nChiffres, static_cast<unsigned long long>(n));
    return sz;
}

void DumpHex(const uint8_t* p, size_t nDebut, size_t nFin, std::ostream& out) {
    for (size_t i = nDebut; i < nFin; i += 16) {
        out << sHex(i, 8) << " ";
        for (size_t k = i; k < i + 16 && k < nFin; ++k) out << " " << sHex(p[k], 2);
        out << "\n";
    }
}

std::string sNomType(int nType) {
    const STTypeDescription* t = pTypeDescription(nType);
    return t ? t->pszNom : "unknown";
}

unsigned nCodePageProjet(CConteneurProjet& c) {
    std::string s;
    if (c.eGetParametre("code_page", s) != eLECTURE_OK) return CP_1252;
    try {
        unsigned long n = std::stoul(s);
        return n > 0 && n < 0x10000 ? static_cast<unsigned>(n) : CP_1252;
    } catch (...) {
        return CP_1252;
    }
}

// One description, record by record. False when its bytes are damaged.
bool bDumpDescription(const STEntreeDescription& e, std::vector<uint8_t>& tab, unsigned nCodePage,
                      std::ostream& out, std::ostream& err) {
    out << "description \"" << e.sNom << "\", type " << e.nType << " (" << sNomType(e.nType) << "), " << tab.size()
        << " bytes\n";
    const STTypeDescription* t = pTypeDescription(e.nType);
    if (!t || !t->pfnDump) {
        out << "no reader for this type; its bytes:\n";
        DumpHex(tab.data(), 0, tab.size(), out);
        return true;
    }
    CKVBuffer b(tab.data(), tab.size());
    std::wostringstream trace;
    bool bOk = true;
    try {
        t->pfnDump(b, nCodePage, trace);
    } catch (const CXError& x) {
        bOk = false;
        out << sUtf8(trace.str());
        err << "error: description \"" << e.sNom << "\": offset 0x" << sHex(b.nGetPosition(), 8) << ": "
            << sUtf8(x.sGetMessage()) << " (error " << x.nGetErreur() << ")\n";
        return false;
    } catch (const std::exception& x) {
        out << sUtf8(trace.str());
        err << "error: description \"" << e.sNom << "\": " << x.what() << "\n";
        return false;
    }
    out << sUtf8(trace.str());
    if (bOk && b.nGetPosition() < b.nGetTailleUtilisee()) {
        out << (b.nGetTailleUtilisee() - b.nGetPosition()) << " bytes after the record:\n";
        DumpHex(b.pGetData(), b.nGetPosition(), b.nGetTailleUtilisee(), out);
        err << "warning: description \"" << e.sNom << "\": " << (b.nGetTailleUtilisee() - b.nGetPosition())
            << " bytes after the record\n";
    }
    return bOk;
}

} // namespace

int nDump(const std::string& sFichier, const std::string& sNom, int nType, std::ostream& out, std::ostream& err) {
    CConteneurProjet c;
    if (!c.bOuvre(sFichier)) {
        err << "error: " << c.sGetErreur() << "\n";
        return 1;
    }
    std::vector<STEntreeDescription> tabEntrees;
    if (!c.bListeDescriptions(tabEntrees)) {
        err << "error: " << sFichier << ": " << c.sGetErreur() << "\n";
        return 1;
    }
    const std::wstring sCherche = sDepuisUtf8(sNom);
    const unsigned nCodePage = nCodePageProjet(c);
    int nTrouves = 0;
    bool bOk = true;
    for (const auto& e : tabEntrees) {
        if ((nType && e.nType != nType) || !bNomsEgaux(sDepuisUtf8(e.sNom), sCherche)) continue;
        std::vector<uint8_t> tab;
        if (c.eLitDescription(e.sNom, e.nType, tab) != eLECTURE_OK) {
            err << "error: " << sFichier << ": " << c.sGetErreur() << "\n";
            bOk = false;
            continue;
        }
        if (nTrouves++) out << "\n";
        bOk &= bDumpDescription(e, tab, nCodePage, out, err);
    }
    if (nTrouves == 0) {
        err << "error: " << sFichier << ": no description \"" << sNom << "\"";
        if (nType) err << " of type " << nType;
        err << "\n";
        return 1;
    }
    return bOk ? 0 : 1;
}

int nListe(const std::string& sFichier, std::ostream& out, std::ostream& err) {
    CConteneurProjet c;
    if (!c.bOuvre(sFichier)) {
        err << "error: " << c.sGetErreur() << "\n";
        return 1;
    }
    std::vector<std::pair<std::string, std::string>> tabParametres;
    std::vector<STEntreeDescription> tabDescriptions;
    std::vector<STEntreeCode> tabCode;
    if (!c.bListeParametres(tabParametres) || !c.bListeDescriptions(tabDescriptions) || !c.bListeCode(tabCode)) {
        err << "error: " << sFichier << ": " << c.sGetErreur() << "\n";
        return 1;
    }
    out << "settings\n";
    for (const auto& [k, v] : tabParametres) out << "  " << k << " = " << v << "\n";
    out << "descriptions\n";
    for (const auto& d : tabDescriptions)
        out << "  type " << d.nType << " (" << sNomType(d.nType) << ")  \"" << d.sNom << "\"  " << d.nTaille
            << " bytes\n";
    out << "code\n";
    for (const auto& e : tabCode) {
        const char* pszEvenement = pszNomEvenement(e.nEvenement);
        size_t nLignes = std::count(e.sSource.begin(), e.sSource.end(), '\n');
        if (!e.sSource.empty() && e.sSource.back() != '\n') ++nLignes;
        out << "  0x" << sHex(e.nId, 16) << "  " << e.nEvenement << " " << (pszEvenement ? pszEvenement : "?")
            << "  " << e.sNom << "  (" << e.sLangage << ", " << nLignes << (nLignes == 1 ? " line)\n" : " lines)\n");
    }
    return 0;
}
