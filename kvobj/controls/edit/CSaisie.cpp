#include "controls/edit/CSaisie.h"
#include "base/CRetenue.h"
#include "controls/edit/CISaisie.h"
#include "controls/edit/CMasqueFixe.h"
#include "controls/edit/CMasqueHexadecimal.h"
#include "controls/edit/CMasqueNumerique.h"
#include "controls/edit/VueSaisie.h"
#include "controls/core/CodeEvenement.h"
#include "frame/CExe.h"
#include "frame/ModuleInfo.h"
#include "frame/Proprietes.h"
#include "windows/CFenPrincipale.h"
#include <cmath>
#include <cstdio>
#include <cwchar>

uint16_t wTypeValeurAncien(uint32_t n) {
    static const uint16_t tab[52] = {0,  2,  3,  4,  5,  1,  6,  7,  8,  9,  11, 12,  12, 10, 4,  9,  81, 110,
                                     16, 21, 22, 23, 24, 25, 26, 27, 31, 28, 34, 35,  37, 15, 41, 45, 43, 42,
                                     46, 44, 48, 40, 47, 49, 32, 33, 51, 134, 50, 52, 36, 29, 38, 39};
    return n < 52 ? tab[n] : 0;
}

CSaisie::CSaisie() = default;
CSaisie::~CSaisie() = default;

// ---------------------------------------------------------------- record

void CSaisie::_Deserialize(CLecteurKV& ar) {
    CChamp::_Deserialize(ar);
    ConstruitMasque();
    ValeurInterneVersAffichage();
}

void CSaisie::sAdapteMasqueAncien(STSaisie& st) {
    // Numeric masks written before 615 used a single "$", "%" and "-" for
    // what the mask language now writes doubled.
    if (st.eTypeSaisie != eSAISIE_NUMERIQUE || st.nVersion >= 615 || st.bGestionEuro) return;
    CTString s;
    for (wchar_t c : st.sMasque) {
        s.push_back(c);
        if (c == L'$' || c == L'%' || c == L'-') s.push_back(c);
    }
    st.sMasque = s;
}

void CSaisie::vLitSpecifique(CLecteurKV& ar) {
    m_st.sNomControle = m_sNom;
    serialise(ar, m_st);
    sAdapteMasqueAncien(m_st);
    // The Unicode flag lives in the control's flag byte too.
    if (m_st.bUnicode) m_abyFlags[0] |= FLAG0_UNICODE;
    else m_abyFlags[0] &= static_cast<uint8_t>(~FLAG0_UNICODE);
}

void CSaisie::ConstruitMasque() {
    CTString sMasque = m_st.bRemplaceMasque ? m_st.sMasqueRemplace : m_st.sMasque;
    unsigned nMode = m_st.nVersion < 626 ? 3 : 1;
    m_pMasque.reset();
    if (m_st.bAvecMasque || !sMasque.empty() || m_st.nNumeroMasque != 0) {
        if (m_st.eTypeSaisie != eSAISIE_NUMERIQUE && m_st.nNumeroMasque != 0 && sMasque.empty())
            m_pMasque = CMasque::pclGetNewMasqueTexte(m_st.nNumeroMasque);
        else
            bChangeMasqueSaisie(sMasque, m_st.sMasqueAffichage, nMode);
    } else if (m_st.eTypeSaisie != eSAISIE_TEXTE && m_st.eTypeSaisie != eSAISIE_TEXTE_4) {
        // Numbers, dates, times and durations always have a mask.
        bChangeMasqueSaisie(L"", m_st.sMasqueAffichage, nMode);
    }
}

CIChamp* CSaisie::vpclCreeIChamp() { return new CISaisie(this); }

void CSaisie::SetLibelle(const wchar_t* psz) {
    CChamp::SetLibelle(psz);
    if (IVueSaisie* v = pclVue()) v->AppliqueLibelle(m_sLibelle, m_style.nLargeurLibelle);
}

void CSaisie::SetTypeValeur(uint16_t w) {
    if (!bEstNumerique() || w == 0 || !CAny_Intern::spclGet(w)) return;
    if (m_bEnSaisie) AffichageVersValeurInterne();
    m_st.wTypeValeur = w;
    CAny v = m_clValeur;
    if (v.nGetType() != KS_VIDE && v.__nCastTo(w) == 0) m_clValeur = v;
    ValeurInterneVersAffichage();
}

int CSaisie::eGetTypeSaisie() const {
    if (m_st.eTypeSaisie == eSAISIE_NUMERIQUE && m_st.wTypeValeur == KS_CY) return 4;
    return m_st.eTypeSaisie;
}

bool CSaisie::bChangeMasqueSaisie(const CTString& sMasque, const CTString& sMasqueAffichage, unsigned nMode) {
    m_pMasque.reset();
    switch (m_st.eTypeSaisie) {
    case eSAISIE_DATE: case eSAISIE_HEURE: case eSAISIE_DUREE:
        // A plain fixed mask: digit positions and literals.
        m_pMasque = std::make_unique<CMasqueFixe>(
            sMasque, m_st.eTypeSaisie == eSAISIE_DATE ? eGENRE_MASQUE_FIXE::DATE
                     : m_st.eTypeSaisie == eSAISIE_HEURE ? eGENRE_MASQUE_FIXE::HEURE
                                                         : eGENRE_MASQUE_FIXE::DUREE);
        if (m_st.eTypeSaisie == eSAISIE_DUREE) m_st.wTypeValeur = KS_I8;
        else if (m_st.wTypeValeur != KS_PSTRW) m_st.wTypeValeur = KS_PSTRW;
        return true;
    case eSAISIE_NUMERIQUE: {
        if (CMasqueHexadecimal::sbEstUnMasqueHexaDecimal(sMasque)) {
            m_pMasque = CMasque::pclGetNewMasqueHexadecimal(sMasque);
        } else {
            auto p = CMasque::pclGetNewMasqueNumerique(sMasque);
            if (!sMasqueAffichage.empty()) p->vSetMasquePourSaisieEtAff(sMasque, sMasqueAffichage);
            m_pMasque = std::move(p);
        }
        uint16_t w = m_st.wTypeValeur;
        bool bGarde = w == KS_CY || (w == KS_DECIMAL && !(nMode & 0x02));
        if (!bGarde) {
            uint16_t wMasque = m_pMasque->wGetTypeFromMasque();
            if (wMasque != 0) m_st.wTypeValeur = wMasque;
        }
        return true;
    }
    default: {
        if (sMasque.empty()) return true;
        bool bErreur = false;
        m_pMasque = CMasque::pclGetNewMasqueTexte(sMasque, bErreur);
        return !bErreur;
    }
    }
}

int CSaisie::nGetTailleMaxSaisie() const {
    if (m_pMasque && m_pMasque->nGetMaxInputChar() != CMasque::nLONGUEUR_MAX_AUCUNE) {
        int n = m_pMasque->eGetTypeMaskTexte();
        if ((n == 10 || n == 16 || n == 17) && m_st.nTailleMax != 0) return m_st.nTailleMax;
        return m_pMasque->nGetMaxInputChar();
    }
    return m_st.eTypeSaisie == eSAISIE_NUMERIQUE ? 0 : m_st.nTailleMax;
}

// ---------------------------------------------------------------- value

namespace {
// A real as the mask's value text: fixed point, no exponent, no trailing zeros.
CTString TexteReel(double d) {
    if (!std::isfinite(d)) return L"0";
    char sz[512];
    std::snprintf(sz, sizeof sz, "%.10f", d);
    std::string s = sz;
    if (s.find('.') != std::string::npos) {
        while (!s.empty() && s.back() == '0') s.pop_back();
        if (!s.empty() && s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return CTString(std::wstring(s.begin(), s.end()));
}
} // namespace

CTString CSaisie::sValeurPourMasque() const {
    if (m_clValeur.bEstNull() || m_clValeur.nGetType() == KS_VIDE) return CTString();
    int64_t n = 0;
    double d = 0;
    switch (m_clValeur.nGetType()) {
    case KS_R4: case KS_R8:
        if (m_clValeur.nGetREAL(d) == 0) return TexteReel(d);
        break;
    case KS_CY: {
        int64_t c = 0;
        std::memcpy(&c, m_clValeur.pGetStockage(), sizeof c);
        CTString s = TexteReel(static_cast<double>(c) / 10000.0);
        return s;
    }
    default:
        if (m_clValeur.nGetINT_64(n) == 0) return CTString(std::to_wstring(n));
        break;
    }
    CTString s;
    m_clValeur.__nCastToString(s);
    for (wchar_t& c : s)
        if (c == L',') c = L'.';
    return s;
}

void CSaisie::ValeurInterneVersAffichage() {
    CTString sValeur = bEstNumerique() ? sValeurPourMasque() : CTString();
    if (!bEstNumerique() && m_clValeur.nGetType() != KS_VIDE && !m_clValeur.bEstNull()) m_clValeur.__nCastToString(sValeur);
    if (m_pMasque && !sValeur.empty()) {
        CTString s;
        if (m_bEnSaisie) m_pMasque->FormateEnSaisie(sValeur, s);
        else m_pMasque->Formate(sValeur, s, this);
        m_sAffiche = s;
    } else {
        m_sAffiche = sValeur;
    }
    m_nDebutSel = m_nFinSel = static_cast<int>(m_sAffiche.size());
    MAJVueTexte();
}

void CSaisie::AffichageVersValeurInterne() {
    if (!bEstNumerique()) {
        CAny cl;
        CTString sValeur = m_sAffiche;
        if (m_pMasque && !m_pMasque->vbDeformate(m_sAffiche, sValeur, m_bEnSaisie)) sValeur.clear();
        if (m_st.eTypeSaisie == eSAISIE_DUREE) {
            cl.SetI8(sValeur.empty() ? 0 : std::wcstoll(sValeur.c_str(), nullptr, 10));
            m_clValeur = cl;
            return;
        }
        cl.SetPSTRX(sValeur.c_str());
        if (m_st.wTypeValeur != KS_PSTRW && m_st.wTypeValeur != 0) cl.__nCastTo(m_st.wTypeValeur);
        m_clValeur = cl;
        return;
    }
    CTString sValeur;
    if (m_pMasque) {
        if (!m_pMasque->vbDeformate(m_sAffiche, sValeur, m_bEnSaisie)) sValeur.clear();
    } else {
        for (wchar_t c : m_sAffiche)
            if ((c >= L'0' && c <= L'9') || c == L'-' || c == L'.') sValeur.push_back(c);
            else if (c == L',') sValeur.push_back(L'.');
    }
    CAny cl;
    if (sValeur.empty() || sValeur == L"-") {
        if (m_st.bVideSiNull) {
            cl.__SetType(m_st.wTypeValeur, true);
            cl.SetNull(true);
            m_clValeur = cl;
            return;
        }
        sValeur = L"0";
    }
    switch (m_st.wTypeValeur) {
    case KS_R4: case KS_R8: cl.SetR8(std::wcstod(sValeur.c_str(), nullptr)); break;
    case KS_CY: cl.SetCY(static_cast<int64_t>(std::llround(std::wcstod(sValeur.c_str(), nullptr) * 10000.0))); break;
    case KS_I8: case KS_UI8: cl.SetI8(std::wcstoll(sValeur.c_str(), nullptr, 10)); break;
    case KS_I4: case KS_I4BIS: case KS_UI4: case KS_I2: case KS_UI2: case KS_I1: case KS_UI1: {
        long long n = std::wcstoll(sValeur.c_str(), nullptr, 10);
        if (n >= INT32_MIN && n <= INT32_MAX) cl.SetI4(static_cast<int32_t>(n));
        else cl.SetI8(n);
        break;
    }
    default:
        cl.SetPSTRX(sValeur.c_str());
        if (m_st.wTypeValeur != 0) cl.__nCastTo(m_st.wTypeValeur);
        break;
    }
    m_clValeur = cl;
}

void CSaisie::SetValeur(const CAny& cl) {
    CAny v = cl;
    if (bEstNumerique() && v.nGetType() != m_st.wTypeValeur && v.nGetType() != KS_VIDE && m_st.wTypeValeur != 0) {
        CAny essai = v;
        if (essai.__nCastTo(m_st.wTypeValeur) == 0) v = essai;
    }
    m_clValeur = v;
    ValeurInterneVersAffichage();
}

bool CSaisie::vbResetValue(bool bValeurInitiale) {
    // Empty: no text, or 0 for a number. As a value given by the program,
    // no modification code runs.
    CAny cl;
    if (bValeurInitiale && m_clValeurInitiale.nGetType() != KS_VIDE) cl = m_clValeurInitiale;
    else if (bEstNumerique()) cl.SetI4(0);
    else cl.SetPSTRX(L"");
    xSet_PropValeur(cl);
    return true;
}

void CSaisie::GetValeur(CAny* pcl) {
    if (m_bEnSaisie) AffichageVersValeurInterne();
    bool bVide = m_clValeur.nGetType() == KS_VIDE;
    if (!bVide && m_st.bVideSiNull && m_clValeur.nGetType() == KS_PSTRW) {
        CTString s;
        m_clValeur.__nCastToString(s);
        bVide = s.empty();
    }
    if (!bVide) {
        *pcl = m_clValeur;
        return;
    }
    // An edit that holds nothing (never typed into, or given no value) reads
    // as what an empty entry means for its type: the empty text, 0 for
    // numbers and durations; null only when the edit asks for it.
    CAny cl;
    if (m_st.bVideSiNull) {
        cl.__SetType(m_st.wTypeValeur, true);
        cl.SetNull(true);
    } else if (bEstNumerique()) {
        cl.SetI4(0);
        if (m_st.wTypeValeur != 0 && m_st.wTypeValeur != KS_I4) cl.__nCastTo(m_st.wTypeValeur);
    } else if (m_st.eTypeSaisie == eSAISIE_DUREE) {
        cl.SetI8(0);
    } else {
        cl.SetPSTRX(L"");
    }
    *pcl = cl;
}

CAny CSaisie::_vGetValeurPourPersistance() const { return m_clValeur; }
void CSaisie::_vSetValeurPourPersistance(const CAny& cl) { SetValeur(cl); }

// ---------------------------------------------------------------- typing

void CSaisie::SetSelection(int nDebut, int nFin) {
    int n = static_cast<int>(m_sAffiche.size());
    m_nDebutSel = std::clamp(std::min(nDebut, nFin), 0, n);
    m_nFinSel = std::clamp(std::max(nDebut, nFin), 0, n);
}

void CSaisie::SelectionneTout() {
    m_nDebutSel = 0;
    m_nFinSel = static_cast<int>(m_sAffiche.size());
    MAJVueTexte();
}

void CSaisie::ChangeTexte(const CTString& sNouveau, int nDebutSel, int nFinSel) {
    if (sNouveau == m_sAffiche) {
        SetSelection(nDebutSel, nFinSel);
        MAJVueTexte();
        return;
    }
    m_sAvantModification = m_sAffiche;
    m_sAffiche = sNouveau;
    SetSelection(nDebutSel, nFinSel);
    MAJVueTexte();
    // The modification code sees the new text (and, for numbers, the value).
    _ExecuteCodeModification();
}

int CSaisie::nGereChar(wchar_t c) {
    if (c == 22 || c == 3) return 1;  // paste and copy are standard keys
    if (!bIsEnabled() || bIsReadOnly()) return 0;
    if (c == 13 || c == 10) {
        if (!m_st.bMultiligne) return 0;
        c = L'\n';
    } else if (c < 32) {
        return 0;
    }
    int nMax = nGetTailleMaxSaisie();
    int nLongueurApres = static_cast<int>(m_sAffiche.size()) - (m_nFinSel - m_nDebutSel) + 1;
    if (nMax > 0 && nLongueurApres > nMax) return 0;
    CTString sNouveau;
    int nDebut = m_nDebutSel, nFin = m_nFinSel;
    if (m_pMasque && c != L'\n') {
        int nD = 0, nF = 0;
        if (!m_pMasque->bAccepteSaisie(c, m_nDebutSel, m_nFinSel, m_sAffiche, sNouveau, nD, nF)) return 0;
        nDebut = nD;
        nFin = nF;
        if (nMax > 0 && static_cast<int>(sNouveau.size()) > nMax) return 0;
    } else {
        sNouveau = m_sAffiche.substr(0, m_nDebutSel) + std::wstring(1, c) + m_sAffiche.substr(m_nFinSel);
        nDebut = nFin = m_nDebutSel + 1;
    }
    ChangeTexte(sNouveau, nDebut, nFin);
    if (m_st.bFinSaisieAuto && m_pMasque && m_pMasque->bFinDeSaisie(m_sAffiche, true)) {
        // The mask is full: the focus moves on as Tab would.
        if (IVueChamp* v = pclGetVueChamp()) v->PasseAuSuivant();
    }
    return 1;
}

int CSaisie::nGereKeyDown(int nTouche) {
    if (!bIsEnabled() || bIsReadOnly()) return 0;
    int nDebut = m_nDebutSel, nFin = m_nFinSel;
    if (nDebut == nFin) {
        if (nTouche == Qt::Key_Backspace) {
            if (nDebut == 0) return 0;
            --nDebut;
        } else if (nTouche == Qt::Key_Delete) {
            if (nFin >= static_cast<int>(m_sAffiche.size())) return 0;
            ++nFin;
        } else {
            return 0;
        }
    }
    CTString sNouveau = m_sAffiche.substr(0, nDebut) + m_sAffiche.substr(nFin);
    // What is left must still be a text the mask can complete.
    if (m_pMasque && !sNouveau.empty() && !m_pMasque->bEstValideEnSaisie(sNouveau)) return 0;
    ChangeTexte(sNouveau, nDebut, nDebut);
    return 1;
}

bool CSaisie::_CMD_Coller(const CTString& sTexte) {
    if (!bIsEnabled() || bIsReadOnly()) return false;
    CTString sColle = sTexte;
    if (!m_st.bMultiligne) {
        CTString s;
        for (wchar_t c : sColle)
            if (c != L'\r' && c != L'\n') s.push_back(c);
        sColle = s;
    }
    CTString sNouveau = m_sAffiche.substr(0, m_nDebutSel) + sColle + m_sAffiche.substr(m_nFinSel);
    if (m_pMasque) {
        CTString sForme;
        if (!m_pMasque->vbReformatePourColler(sNouveau, sForme)) return false;
        if (!m_pMasque->bEstValideEnSaisie(sForme)) return false;
        sNouveau = sForme;
    }
    int nMax = nGetTailleMaxSaisie();
    if (nMax > 0 && static_cast<int>(sNouveau.size()) > nMax) return false;
    int nPos = std::min(static_cast<int>(sNouveau.size()), m_nDebutSel + static_cast<int>(sColle.size()));
    ChangeTexte(sNouveau, nPos, nPos);
    return true;
}

void CSaisie::_CMD_Couper(CTString& sCopie) {
    sCopie = m_sAffiche.substr(m_nDebutSel, m_nFinSel - m_nDebutSel);
    _CMD_Supprimer();
}

void CSaisie::_CMD_Supprimer() {
    if (m_nDebutSel != m_nFinSel) nGereKeyDown(Qt::Key_Delete);
}

void CSaisie::_CMD_Annuler() {
    if (!bIsEnabled() || bIsReadOnly() || m_sAvantModification == m_sAffiche) return;
    CTString s = m_sAvantModification;
    ChangeTexte(s, static_cast<int>(s.size()), static_cast<int>(s.size()));
}

// ---------------------------------------------------------------- focus

void CSaisie::OnGainFocus() {
    if (m_bEnSaisie) return;
    m_bEnSaisie = true;
    ValeurInterneVersAffichage();
    m_sAvantModification = m_sAffiche;
    if (bGetEffacementAuto()) SelectionneTout();
}

void CSaisie::OnPerteFocus() {
    if (!m_bEnSaisie) return;
    // The exit checks, which run once the new control takes the focus, judge
    // what was typed, not its display form.
    m_sDerniereSaisie = m_sAffiche;
    AffichageVersValeurInterne();
    m_bEnSaisie = false;
    ValeurInterneVersAffichage();
}

// ---------------------------------------------------------------- exit checks

bool CSaisie::vbSaisieObligatoireVide() const {
    return m_st.bObligatoire && m_sAffiche.empty();
}

void CSaisie::Signale(int nMessage, std::vector<std::wstring> tabArgs, const wchar_t* pszDefaut) {
    std::wstring sModele;
    if (!bChargeMessage(nMessage, sModele) || sModele.empty()) sModele = pszDefaut;
    m_sDernierMessage = sFormateMessage(sModele, tabArgs);
    if (IVueChamp* v = pclGetVueChamp()) {
        v->Bip();
        v->AfficheBulle(m_sDernierMessage);
    }
}

void CSaisie::vSignaleSaisieObligatoireVide() { Signale(nMSG_SAISIE_OBLIGATOIRE, {m_sNom}, L"This input is mandatory."); }

bool CSaisie::bTestSaisieObligatoire() {
    if (!m_st.bObligatoire || !bIsVisible() || !bIsEnabled() || bIsReadOnly()) return true;
    if (!vbSaisieObligatoireVide()) return true;
    vSignaleSaisieObligatoireVide();
    return false;
}

bool CSaisie::bBorne(const CTString& sBorne, double& d) const {
    if (sBorne.empty()) return false;
    wchar_t* pFin = nullptr;
    CTString s = sBorne;
    for (wchar_t& c : s)
        if (c == L',') c = L'.';
    d = std::wcstod(s.c_str(), &pFin);
    return pFin && pFin != s.c_str();
}

bool CSaisie::bTestBornes() {
    if (!bEstNumerique()) return true;
    double dMin = 0, dMax = 0;
    bool bMin = bBorne(m_st.sBorneMin, dMin), bMax = bBorne(m_st.sBorneMax, dMax);
    if (!bMin && !bMax) return true;
    if (m_bEnSaisie) AffichageVersValeurInterne();
    if (m_clValeur.bEstNull()) return true;
    double d = std::wcstod(sValeurPourMasque().c_str(), nullptr);
    if ((bMin && d < dMin) || (bMax && d > dMax)) {
        Signale(nMSG_SAISIE_BORNES, {m_st.sBorneMin, m_st.sBorneMax}, L"The value must be between %1 and %2.");
        return false;
    }
    return true;
}

bool CSaisie::bTestDateValide() {
    auto* m = dynamic_cast<const CMasqueFixe*>(m_pMasque.get());
    if (!m || m_st.eTypeSaisie != eSAISIE_DATE) return true;
    return m->bDateAcceptable(m_bEnSaisie ? m_sAffiche : m_sDerniereSaisie);
}

bool CSaisie::bTestTexteValide() {
    const CTString& sTexte = m_bEnSaisie ? m_sAffiche : m_sDerniereSaisie;
    if (!m_pMasque || sTexte.empty()) return true;
    if (m_pMasque->bEstValide(sTexte)) return true;
    Signale(m_pMasque->vnGetIDResErreur(), {}, L"The text does not match the input mask.");
    return false;
}

bool CSaisie::vbAccepteSortie() {
    auto refuse = [this] {
        // The value is shown again, all selected, and the focus stays.
        if (!m_bEnSaisie) {
            m_bEnSaisie = true;
            ValeurInterneVersAffichage();
        }
        SelectionneTout();
        return false;
    };
    if (!bTestSaisieObligatoire()) return refuse();
    if (!bTestDateValide()) {
        if (IVueChamp* v = pclGetVueChamp()) v->Bip();
        return refuse();
    }
    if (!bTestBornes()) return refuse();
    if (!bTestTexteValide()) return refuse();
    if (!vbInPcodeDeSortie() && !_bExecuteCodeSortie()) return false;
    return true;
}

// ---------------------------------------------------------------- view

void CSaisie::vMAJVue() {
    CChamp::vMAJVue();
    if (IVueSaisie* v = pclVue()) {
        v->AppliqueStyle(m_style, bIsGrayed(), bIsReadOnly());
        v->AppliqueOptions(m_st.bMotDePasse && m_st.eTypeSaisie == eSAISIE_TEXTE, m_st.sTexteConseil);
        v->AppliqueMiseEnPage(m_nCadrageH, m_nCadrageV, m_nRetraitGauche, m_nRetraitDroit);
        v->AppliqueLibelle(m_sLibelle, m_style.nLargeurLibelle);
    }
    MAJVueTexte();
}

void CSaisie::MAJVueTexte() {
    IVueSaisie* v = pclVue();
    if (!v) return;
    uint32_t dwCouleur = COULEUR_MASQUE_AUCUNE;
    if (auto* n = dynamic_cast<const CMasqueNumerique*>(m_pMasque.get()))
        dwCouleur = n->dwGetCouleurPourValeur(sValeurPourMasque(), m_bEnSaisie);
    v->AfficheTexte(m_sAffiche, m_nDebutSel, m_nFinSel, dwCouleur);
}

// ---------------------------------------------------------------- properties


void CSaisie::xGet_PropValeur(CAny* v) { GetValeur(v); }
void CSaisie::xSet_PropValeur(const CAny& v) {
    SetValeur(v);
    if (m_bEnSaisie) {
        // While focused the entry form is shown, caret at the end.
        ValeurInterneVersAffichage();
    }
}
void CSaisie::xGet_PropMasqueSaisie(CAny* v) { v->SetPSTRX(m_st.sMasque.c_str()); }
void CSaisie::xSet_PropMasqueSaisie(const CAny& v) {
    if (m_bEnSaisie) AffichageVersValeurInterne();
    m_st.sMasque = sTextePropriete(v);
    m_st.bAvecMasque = !m_st.sMasque.empty();
    m_st.bRemplaceMasque = false;
    if (!bChangeMasqueSaisie(m_st.sMasque, m_st.sMasqueAffichage, 1)) throw ErreurKVOBJ(10002, {m_st.sMasque});
    ValeurInterneVersAffichage();
}
void CSaisie::xGet_PropTypeSaisie(CAny* v) {
    int n = m_st.eTypeSaisie;
    if (n == eSAISIE_NUMERIQUE && m_st.wTypeValeur == KS_CY) n = 4;
    else if (n == eSAISIE_NUMERIQUE && m_st.wTypeValeur == KS_DECIMAL) n = 7;
    v->SetI4(n);
}
void CSaisie::xSet_PropTypeSaisie(const CAny& v) {
    int n = nEntierPropriete(v, PROP_TypeSaisie);
    if (m_bEnSaisie) AffichageVersValeurInterne();
    switch (n) {
    case 0: m_st.eTypeSaisie = eSAISIE_TEXTE; m_st.wTypeValeur = KS_PSTRW; break;
    case 1: m_st.eTypeSaisie = eSAISIE_NUMERIQUE; break;
    case 4: m_st.eTypeSaisie = eSAISIE_NUMERIQUE; m_st.wTypeValeur = KS_CY; break;
    case 7: m_st.eTypeSaisie = eSAISIE_NUMERIQUE; m_st.wTypeValeur = KS_DECIMAL; break;
    case 2: case 3: case 5: m_st.eTypeSaisie = n; break;
    default: throw ErreurKVOBJ(10002, {std::to_wstring(n)});
    }
    ConstruitMasque();
    ValeurInterneVersAffichage();
}
void CSaisie::xGet_PropBorneMin(CAny* v) {
    if (m_st.sBorneMin.empty()) return;
    v->SetPSTRX(m_st.sBorneMin.c_str());
}
void CSaisie::xSet_PropBorneMin(const CAny& v) { m_st.sBorneMin = v.bEstNull() ? CTString() : sTextePropriete(v); }
void CSaisie::xGet_PropBorneMax(CAny* v) {
    if (m_st.sBorneMax.empty()) return;
    v->SetPSTRX(m_st.sBorneMax.c_str());
}
void CSaisie::xSet_PropBorneMax(const CAny& v) { m_st.sBorneMax = v.bEstNull() ? CTString() : sTextePropriete(v); }
void CSaisie::xGet_PropMultiligne(CAny* v) { v->SetBOOL(m_st.bMultiligne); }
void CSaisie::xSet_PropMultiligne(const CAny& v) { m_st.bMultiligne = bBooleenOuFaux(v); }
void CSaisie::xGet_PropMotDePasse(CAny* v) { v->SetBOOL(m_st.bMotDePasse); }
void CSaisie::xSet_PropMotDePasse(const CAny& v) {
    m_st.bMotDePasse = bBooleenOuFaux(v);
    vMAJVue();
}
void CSaisie::xGet_PropNullSiVide(CAny* v) { v->SetBOOL(m_st.bVideSiNull); }
void CSaisie::xSet_PropNullSiVide(const CAny& v) { m_st.bVideSiNull = bBooleenOuFaux(v); }
void CSaisie::xGet_PropEffacementAutomatique(CAny* v) { v->SetBOOL(bGetEffacementAuto()); }
void CSaisie::xSet_PropEffacementAutomatique(const CAny& v) {
    if (bBooleenOuFaux(v)) m_st.dwOptions |= OPTION_SAISIE_EFFACEMENT_AUTO;
    else m_st.dwOptions &= ~OPTION_SAISIE_EFFACEMENT_AUTO;
}
void CSaisie::xGet_PropTexteConseil(CAny* v) { v->SetPSTRX(m_st.sTexteConseil.c_str()); }
void CSaisie::xSet_PropTexteConseil(const CAny& v) {
    m_st.sTexteConseil = sTextePropriete(v);
    vMAJVue();
}
void CSaisie::xGet_PropTexteSelectionne(CAny* v) {
    v->SetPSTRX(m_sAffiche.substr(m_nDebutSel, m_nFinSel - m_nDebutSel).c_str());
}
void CSaisie::xSet_PropTexteSelectionne(const CAny& v) {
    CTString s = sTextePropriete(v);
    CTString sNouveau = m_sAffiche.substr(0, m_nDebutSel) + s + m_sAffiche.substr(m_nFinSel);
    int nFin = m_nDebutSel + static_cast<int>(s.size());
    m_sAffiche = sNouveau;
    SetSelection(m_nDebutSel, nFin);
    if (!m_bEnSaisie) AffichageVersValeurInterne();
    MAJVueTexte();
}
// Caret positions are 1-based in the language.
void CSaisie::xGet_PropCurseur(CAny* v) { v->SetI4(m_nDebutSel + 1); }
void CSaisie::xSet_PropCurseur(const CAny& v) {
    int n = nEntierPropriete(v, PROP_Curseur) - 1;
    SetSelection(n, n);
    MAJVueTexte();
}
void CSaisie::xGet_PropFinCurseur(CAny* v) { v->SetI4(m_nFinSel + 1); }
void CSaisie::xSet_PropFinCurseur(const CAny& v) {
    SetSelection(m_nDebutSel, nEntierPropriete(v, PROP_FinCurseur) - 1);
    MAJVueTexte();
}
void CSaisie::xGet_PropEllipse(CAny* v) { v->SetI4(m_st.nEllipse); }
void CSaisie::xSet_PropEllipse(const CAny& v) { m_st.nEllipse = nEntierPropriete(v, PROP_Ellipse); }
void CSaisie::xGet_PropTaille(CAny* v) { v->SetI4(nGetTailleMaxSaisie()); }
void CSaisie::xSet_PropTaille(const CAny& v) {
    int n = nEntierPropriete(v, PROP_Taille);
    if (n < 0) throw ErreurKVOBJ(10002, {std::to_wstring(n)});
    m_st.nTailleMax = n;
}
void CSaisie::xGet_PropValeurAffichee(CAny* v) { v->SetPSTRX(m_sAffiche.c_str()); }
void CSaisie::xSet_PropValeurAffichee(const CAny&) { throw CXPropNomImplemente(); }
void CSaisie::xGet_PropUnicode(CAny* v) { v->SetBOOL((m_abyFlags[0] & FLAG0_UNICODE) != 0); }
void CSaisie::xSet_PropUnicode(const CAny& v) {
    if (bBooleenOuFaux(v)) m_abyFlags[0] |= FLAG0_UNICODE;
    else m_abyFlags[0] &= static_cast<uint8_t>(~FLAG0_UNICODE);
    m_st.bUnicode = (m_abyFlags[0] & FLAG0_UNICODE) != 0;
}
void CSaisie::xGet_PropBoutonCalendrier(CAny* v) { v->SetBOOL(m_st.bBoutonCalendrier); }
void CSaisie::xSet_PropBoutonCalendrier(const CAny& v) { m_st.bBoutonCalendrier = bBooleenOuFaux(v); }

namespace {
int Cadrage(const CAny& v, ePROPRIETE p) {
    int n = nEntierPropriete(v, p);
    if (n < 0 || n > 2) xThrowErreur(10002, n, pszGetNomPropriete(p, 0));
    return n;
}
int Retrait(const CAny& v, ePROPRIETE p) {
    int n = nEntierPropriete(v, p);
    if (n < 0 || n > 10000) xThrowErreur(10002, n, pszGetNomPropriete(p, 0));
    return n;
}
} // namespace

void CSaisie::xGet_PropCadrageH(CAny* v) { v->SetI4(m_nCadrageH); }
void CSaisie::xSet_PropCadrageH(const CAny& v) {
    m_nCadrageH = Cadrage(v, PROP_CadrageH);
    vMAJVue();
}
void CSaisie::xGet_PropCadrageV(CAny* v) { v->SetI4(m_nCadrageV); }
void CSaisie::xSet_PropCadrageV(const CAny& v) {
    m_nCadrageV = Cadrage(v, PROP_CadrageV);
    vMAJVue();
}
void CSaisie::xGet_PropRetraitGauche(CAny* v) { v->SetI4(m_nRetraitGauche); }
void CSaisie::xSet_PropRetraitGauche(const CAny& v) {
    m_nRetraitGauche = Retrait(v, PROP_RetraitGauche);
    vMAJVue();
}
void CSaisie::xGet_PropRetraitDroit(CAny* v) { v->SetI4(m_nRetraitDroit); }
void CSaisie::xSet_PropRetraitDroit(const CAny& v) {
    m_nRetraitDroit = Retrait(v, PROP_RetraitDroit);
    vMAJVue();
}
