#include "controls/edit/CMasque.h"
#include "controls/edit/CMasqueHexadecimal.h"
#include "controls/edit/CMasqueNumerique.h"
#include "controls/edit/CMasqueTexte.h"
#include "frame/ModuleInfo.h"
#include <algorithm>
#include <cwchar>

CTString sMessageMasque(int nMessage) {
    std::wstring s;
    // Through the module's loader, so that a loader the host installed wins.
    DLLRES_bLoadString(nullptr, nMessage, s);
    return CTString(std::move(s));
}

std::unique_ptr<CMasque> CMasque::pclGetNewMasqueNumerique(const CTString& sTexte) {
    return std::make_unique<CMasqueNumerique>(sTexte);
}

std::unique_ptr<CMasque> CMasque::pclGetNewMasqueHexadecimal(const CTString& sTexte, int nFormatRetour) {
    return std::make_unique<CMasqueHexadecimal>(sTexte, nFormatRetour);
}

std::unique_ptr<CMasque> CMasque::pclGetNewMasqueTexte(int nNumero) {
    switch (nNumero) {
    case eMASQUE_TEXTE_MAJUSCULES:
    case eMASQUE_TEXTE_MINUSCULES:
    case eMASQUE_TEXTE_PREMIERE_MAJUSCULE:
    case eMASQUE_TEXTE_CHIFFRES:
    case eMASQUE_TEXTE_NOM_FICHIER:
    case eMASQUE_TEXTE_EMAIL:
        return std::make_unique<CMasqueTexte>(static_cast<eTYPE_MASQUE_TEXTE>(nNumero));
    case eMASQUE_TEXTE_HEXADECIMAL:
        // A text edit keeps the hexadecimal digits as its value.
        return std::make_unique<CMasqueHexadecimal>(CTString(), eRETOUR_HEXA_TEXTE);
    default:
        return nullptr;
    }
}

std::unique_ptr<CMasque> CMasque::pclGetNewMasqueTexte(const CTString& sTexte, bool& bErreur) {
    bErreur = false;
    if (!CMasqueTexte::sbEstMasqueExpressionReguliere(sTexte)) return nullptr;
    std::unique_ptr<CMasque> p = CMasqueTexte::pclExpressionReguliere(sTexte.substr(std::wcslen(CMasqueTexte::pszPREFIXE_REGEXP)));
    if (!p && sTexte.size() > std::wcslen(CMasqueTexte::pszPREFIXE_REGEXP)) bErreur = true;
    return p;
}

void CMasque::Formate(const CTString& sValeur, CTString& sSortie, CObjetAPCode*) const { sSortie = sValeur; }

void CMasque::FormateEnSaisie(const CTString& sValeur, CTString& sSortie) const { sSortie = sValeur; }

bool CMasque::vbDeformate(const CTString& sTexte, CTString& sValeur, bool) const {
    sValeur = sTexte;
    return true;
}

void CMasque::ReFormateLaSaisie(CTString&) const {}

bool CMasque::bEstValide(const CTString& sTexte) const { return bEstValideEnSaisie(sTexte); }

bool CMasque::bEstValideEnSaisie(const CTString& sTexte) const {
    return static_cast<long long>(sTexte.size()) <= nGetMaxInputChar();
}

wchar_t CMasque::vcTransformeCaractere(wchar_t c, const CTString&, int) const { return c; }

bool CMasque::bAccepteSaisie(wchar_t c, int nDebutSel, int nFinSel, const CTString& sTexte, CTString& sNouveau,
                             int& nNouveauDebutSel, int& nNouveauFinSel) const {
    if (c < 0x20 || c == 0x7F) return false;
    const int n = static_cast<int>(sTexte.size());
    int d = std::clamp(nDebutSel, 0, n), f = std::clamp(nFinSel, 0, n);
    if (d > f) std::swap(d, f);
    const wchar_t t = vcTransformeCaractere(c, sTexte, d);
    if (t == 0) return false;
    if (static_cast<long long>(n) - (f - d) + 1 > nGetMaxInputChar()) return false;
    CTString s;
    s.reserve(static_cast<size_t>(n - (f - d) + 1));
    s.append(sTexte, 0, static_cast<size_t>(d));
    s.push_back(t);
    s.append(sTexte, static_cast<size_t>(f), std::wstring::npos);
    if (!bEstValideEnSaisie(s)) return false;
    sNouveau = std::move(s);
    nNouveauDebutSel = nNouveauFinSel = d + 1;
    return true;
}

bool CMasque::bFinDeSaisie(const CTString& sTexte, bool) const {
    return m_nLongueurMax != nLONGUEUR_MAX_AUCUNE && static_cast<long long>(sTexte.size()) >= m_nLongueurMax;
}

bool CMasque::vbReformatePourColler(const CTString& sColle, CTString& sSortie) const {
    // Each character as if it were typed; the refused ones are left out.
    CTString s;
    for (wchar_t c : sColle) {
        if (c < 0x20 || c == 0x7F) continue;
        const wchar_t t = vcTransformeCaractere(c, s, static_cast<int>(s.size()));
        if (t) s.push_back(t);
    }
    if (static_cast<long long>(s.size()) > nGetMaxInputChar()) s.resize(static_cast<size_t>(nGetMaxInputChar()));
    sSortie = std::move(s);
    return !sSortie.empty();
}

void CMasque::vSetMasquePourSaisieEtAff(const CTString&, const CTString&) {}

void CMasque::vSetMinMax(const CTString&, const CTString&) {}

void CMasque::vSetInfoLangueMasque(const STInfoLangueMasque&) {}
