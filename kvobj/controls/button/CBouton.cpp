#include "controls/button/CBouton.h"
#include "base/CRetenue.h"
#include "controls/core/CConteneurChamp.h"
#include "controls/image/CChampImage.h"
#include "frame/CExe.h"
#include "frame/Proprietes.h"
#include "windows/CFenPrincipale.h"
#include "windows/Focus.h"
#include <QChar>
#include <QDir>
#include <QFileInfo>

namespace {

wchar_t Majuscule(wchar_t c) {
    if (c <= 0 || c > 0xFFFF) return c;
    return static_cast<wchar_t>(QChar(static_cast<char16_t>(c)).toUpper().unicode());
}

} // namespace

// ---------------------------------------------------------------- description

void CBouton::vLitSpecifique(CLecteurKV& ar) {
    CChampFamille::vLitSpecifique(ar);
    m_eEtatBtn = m_st.bEnfonce ? eBTN_ENFONCE : eBTN_NORMAL;
}

// ---------------------------------------------------------------- type and states

void CBouton::SetTypeBouton(int32_t n) {
    if (n < 0 || n > nBOUTON_TYPE_MAX) return;
    m_st.nType = n;
    SetPrendFocus(n == nBOUTON_NORMAL || n == nBOUTON_VALIDATION);
    vMAJVue();
}

void CBouton::SetInterrupteur(bool b) { bChange(m_st.bInterrupteur, b); }

void CBouton::SetEnfonce(bool b) {
    m_st.bEnfonce = b;
    m_eEtatBtn = b ? eBTN_ENFONCE : eBTN_NORMAL;
    vMAJVue();
}

BOUTON_ETAT CBouton::eGetEtatBtn() const {
    if (m_abyFlags[0] & FLAG0_DANS_ZR_COLONNE) {
        // Loopers and table columns would say whether the button is their
        // current or highlighted one; none can be reached in this module.
        return m_st.bInterrupteur && m_st.bEnfonce ? eBTN_ENFONCE : eBTN_NORMAL;
    }
    return m_eEtatBtn;
}

// ---------------------------------------------------------------- images and arrow

void CBouton::SetImage(const wchar_t* psz) { bChange(m_st.sImage, CTString(psz)); }

void CBouton::SetImageEtat(int32_t n) { bChange(m_st.nImageEtat, nBorneEtatsImage(n)); }

void CBouton::SetImageFond(const wchar_t* psz) { bChange(m_st.sImageFond, CTString(psz)); }

void CBouton::SetImageFondEtat(int32_t n) { bChange(m_st.nImageFondEtat, nBorneEtatsImage(n)); }

CTString CBouton::ssCheminImage(const CTString& sImage) {
    if (sImage.empty()) return CTString();
    QString sNom = QString::fromStdWString(sImage);
    const CTString& sRep = CChampImage::s_sGetRepertoireImages();
    if (QFileInfo(sNom).isRelative() && !sRep.empty()) sNom = QDir(QString::fromStdWString(sRep)).filePath(sNom);
    return CTString(sNom.toStdWString());
}

void CBouton::SetModeFlecheDD(int32_t n) { bChange(m_st.nModeFlecheDD, n == nFLECHE_AUCUNE ? nFLECHE_AUCUNE : nFLECHE_ZONE); }

// ---------------------------------------------------------------- call letter

wchar_t CBouton::scLettreDuLibelle(const wchar_t* psz) {
    if (!psz) return 0;
    for (const wchar_t* p = psz; *p; ++p) {
        if (*p != L'&') continue;
        if (p[1] == L'&') {
            ++p;  // a literal '&'
            continue;
        }
        return p[1];  // 0 when the '&' ends the caption
    }
    return 0;
}

wchar_t CBouton::cGetLettreAppel() const {
    if (wchar_t c = scLettreDuLibelle(m_sLibelle.c_str())) return c;
    // The description's call letter, when it is a character.
    uint32_t n = m_dwLettreAppel;
    if (n > L' ' && n < 0x110000 && !(n >= 0xD800 && n < 0xE000)) return static_cast<wchar_t>(n);
    return 0;
}

bool CBouton::vbEstLettreAppel(wchar_t c) const {
    wchar_t l = cGetLettreAppel();
    return l != 0 && c != 0 && Majuscule(l) == Majuscule(c);
}

bool CBouton::bAFocus() const { return m_pclFenetre && m_pclFenetre->pclGetChampFocus() == this; }

void CBouton::vExecActionLettreAppel() {
    if (!m_bVivant) return;
    CFenPrincipale* f = m_pclFenetre;
    CRetenue retientFenetre(f);
    CRetenue retientBouton(this);
    CChamp* pclAvant = nullptr;
    if (bGetPrendFocus() && !bAFocus()) {
        pclAvant = f ? f->pclGetChampFocus() : nullptr;
        if (!pGetWidget() || !bSetFocusObjet(this, eFOCUS_AUTRE, pclAvant, nullptr)) return;
    }
    // The control that had the focus may be deleted by the click code.
    CRetenue retientAvant(pclAvant);
    _ExecuteAction();
    if (!f || !f->bEstVivante() || !m_bVivant) return;
    if (m_st.bInterrupteur) vMAJVue();
    if (bAFocus() && m_st.nType == nBOUTON_NORMAL && !m_bTabStop && pclAvant && pclAvant->bEstVivant() &&
        pclAvant->vpclGetFenPrincipale() == f)
        bSetFocusObjet(pclAvant, eFOCUS_AUTRE, this, nullptr);
}

bool CBouton::sbExecuteLettreAppel(CFenPrincipale* f, wchar_t c) {
    if (!f || !f->bEstVivante() || c == 0) return false;
    for (CChamp* champ : f->Conteneur().vpclEnumereChamp_ParOrdreDeCreation()) {
        auto* b = dynamic_cast<CBouton*>(champ);
        if (!b || !b->vbEstLettreAppel(c) || !b->bIsVisible() || !b->bIsEnabled()) continue;
        b->vExecActionLettreAppel();
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- click processing

void CBouton::_ExecuteAction() {
    if (!m_bVivant) return;
    CFenPrincipale* f = m_pclFenetre;
    CRetenue retientFenetre(f);
    CRetenue retientBouton(this);
    unsigned nReprisesAvant = gpclExe ? gpclExe->nGetCompteurReprises() : 0;
    if (f) f->ArreteFermetureAuto();
    if (m_st.nType == nBOUTON_VALIDATION && f && f->bEstVivante() && !f->bVerifieSaisiesObligatoires()) return;
    if (m_st.bInterrupteur) {
        // A looper or column holding the button would be told here; none
        // exists in this module.
        SetEnfonce(!m_st.bEnfonce);
    }
    ExecutePCode(eTRT_CLIC);
    // The window's processing after an action: a focus request made during
    // it and not applied yet is applied now, as after any event code.
    if (gpclExe && f && f->bEstVivante() && gpclExe->pclGetRepriseSaisie() &&
        gpclExe->nGetCompteurReprises() != nReprisesAvant)
        f->vAppliqueDemandeFocus(this);
}

void CBouton::OnClicUtilisateur() {
    if (!m_bVivant || !bIsVisible() || !bIsEnabled()) return;
    _ExecuteAction();
}

// ---------------------------------------------------------------- caption, state, view

void CBouton::SetLibelle(const wchar_t* psz) {
    CChamp::SetLibelle(psz);
    vMAJVue();
}

void CBouton::vMAJVue() {
    CChamp::vMAJVue();
    IVueBouton* v = pclVue();
    if (!v) return;
    v->SetStyle(m_style);
    wchar_t c = cGetLettreAppel();
    v->SetLibelle(QString::fromStdWString(m_sLibelle), c > 0 && c <= 0xFFFF ? QChar(static_cast<char16_t>(c)) : QChar());
    v->SetImage(QString::fromStdWString(ssCheminImage(m_st.sImage)), m_st.nImageEtat);
    v->SetImageFond(QString::fromStdWString(ssCheminImage(m_st.sImageFond)), m_st.nImageFondEtat);
    v->SetFleche(m_st.nModeFlecheDD != nFLECHE_AUCUNE);
    v->SetEtat(eGetEtatBtn());
    v->SetGrise(bIsGrayed());
    v->SetPriseFocus(m_bTabStop, m_bPrendFocus);
}

// ---------------------------------------------------------------- properties

// Any value is read as an integer (0 when it is not one); a type outside
// 0..4 is ignored.
void CBouton::xGet_PropTypeBouton(CAny* v) { v->SetI4(m_st.nType); }
void CBouton::xSet_PropTypeBouton(const CAny& v) { SetTypeBouton(nEntierOuZero(v)); }
void CBouton::xGet_PropEnfonce(CAny* v) { v->SetBOOL(m_st.bEnfonce); }
void CBouton::xSet_PropEnfonce(const CAny& v) { SetEnfonce(bBooleenPropriete(v, PROP_Enfonce)); }
void CBouton::xGet_PropImage(CAny* v) { v->SetPSTRX(m_st.sImage.c_str()); }
void CBouton::xSet_PropImage(const CAny& v) { SetImage(sTextePropriete(v).c_str()); }
void CBouton::xGet_PropImageEtat(CAny* v) { v->SetI4(m_st.nImageEtat); }
void CBouton::xSet_PropImageEtat(const CAny& v) { SetImageEtat(nEntierPropriete(v, PROP_ImageEtat)); }
void CBouton::xGet_PropImageFond(CAny* v) { v->SetPSTRX(m_st.sImageFond.c_str()); }
void CBouton::xSet_PropImageFond(const CAny& v) { SetImageFond(sTextePropriete(v).c_str()); }
void CBouton::xGet_PropImageFondEtat(CAny* v) { v->SetI4(m_st.nImageFondEtat); }
void CBouton::xSet_PropImageFondEtat(const CAny& v) { SetImageFondEtat(nEntierPropriete(v, PROP_ImageFondEtat)); }
