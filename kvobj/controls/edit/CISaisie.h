// The language face of an edit control: the control's own settings, in the
// order the virtual machine reaches them, forwarded to its CSaisie.
#pragma once
#include "controls/core/CIChamp.h"
#include "controls/edit/CSaisie.h"

class CISaisie : public CIChamp {
public:
    explicit CISaisie(CSaisie* pclSaisie) : CIChamp(pclSaisie), m_p(pclSaisie) {}

    virtual int eGetTypeSaisie() { return m_p->eGetTypeSaisie(); }
    // Numeric edits only: the value type (language type code).
    virtual void SetTypeKS(uint16_t w) { m_p->SetTypeValeur(w); }
    virtual void SetFlagScroll_OBSOLETE(bool) {}
    virtual bool bGetEffacementAuto() { return Option(OPTION_SAISIE_EFFACEMENT_AUTO); }
    virtual void SetEffacementAuto(bool b) { SetOption(OPTION_SAISIE_EFFACEMENT_AUTO, b); }
    virtual bool bGetFinSaisieAuto() { return St().bFinSaisieAuto; }
    virtual void SetFinSaisieAuto(bool b) { St().bFinSaisieAuto = b; }
    virtual bool bGetSaisieObligatoire() { return St().bObligatoire; }
    virtual void SetSaisieObligatoire(bool b) { St().bObligatoire = b; }
    virtual bool bGetVideSiNull() { return St().bVideSiNull; }
    virtual void SetVideSiNull(bool b) { St().bVideSiNull = b; }
    virtual bool bGetEuro() { return St().bGestionEuro; }
    virtual void SetRechercheMulticritere(bool b) { St().bRechercheMulticritere = b; }
    virtual bool bGetRechercheMulticritere() { return St().bRechercheMulticritere; }
    virtual void SetChangeCouleurSiInactif(bool b) { SetOption(OPTION_SAISIE_COULEUR_INACTIF, b); }
    virtual bool bGetChangeCouleurSiInactif() { return Option(OPTION_SAISIE_COULEUR_INACTIF); }
    virtual void SetIDCode(int n) { m_nIDCode = n; }
    virtual void SetSaisieAssistee(bool b) { SetOption(OPTION_SAISIE_ASSISTEE, b); }
    virtual bool bGetSaisieAssistee() { return Option(OPTION_SAISIE_ASSISTEE); }
    virtual void SetOuvreSIP_CE(bool b) { St().bSIP = b; }
    virtual bool bGetOuvreSIP_CE() { return St().bSIP; }
    virtual bool bGetGardeToucheTab() { return St().bGardeTab; }
    virtual void SetGardeToucheTab(bool b) { St().bGardeTab = b; }
    virtual void SetFaaMemoriseHistoriqueSaisie(bool b) { St().bMemoriseHistorique = b; }
    virtual bool bGetFaaMemoriseHistoriqueSaisie() { return St().bMemoriseHistorique; }
    virtual void SetModeSystemSmartphone(bool b) { m_bSmartphone = b; }
    virtual bool bGetModeSystemSmartphone() { return m_bSmartphone; }
    // Scroll bar creation modes: horizontal, vertical.
    virtual void GetConditionCreationAscenceur(int& nH, int& nV) {
        nH = St().nQuandAscenseurH;
        nV = St().nQuandAscenseurV;
    }
    virtual bool bGetAutoVScroll() { return St().bAutoVScroll; }
    virtual bool bGetAutoHScroll() { return St().bAutoHScroll; }
    // Rich text toolbars belong to rich text edits, which this module does
    // not make: the settings are kept and have no effect.
    virtual void SetBarreOutilRTF(bool b) { m_bBarreRTF = b; }
    virtual bool bGetBarreOutilRTF() { return m_bBarreRTF; }
    virtual void SetBarreOutilRTFToujoursVisible(bool b) { m_bBarreRTFToujours = b; }
    virtual bool bGetBarreOutilRTFToujoursVisible() { return m_bBarreRTFToujours; }
    // The calendar of a date edit's button (none is made yet).
    virtual void* piGetCalendrier() { return nullptr; }
    virtual int nGetLargeurBoutonCalendrier() { return 16; }
    virtual void SetTexteConseilAuto(bool b) { St().bTexteConseilAuto = b; }
    virtual bool bGetTexteConseilAuto() { return St().bTexteConseilAuto; }
    virtual void SetBulleAideAuto(bool b) { St().bBulleAuto = b; }
    virtual bool bGetBulleAideAuto() { return St().bBulleAuto; }
    virtual void SetSaisieAssisteeNomDeFichier(bool b) { St().bNomFichierAssiste = b; }
    virtual bool bGeSaisieAssisteeNomDeFichier() { return St().bNomFichierAssiste; }
    // Automatic calculation formulas are not part of this module.
    virtual void* piGetCalculAutoFormule() { return nullptr; }
    virtual int eGetTypeBoutonValidation() { return St().nTypeToucheValidation; }
    virtual void SetTypeBoutonValidation(int n) { St().nTypeToucheValidation = n; }

    CSaisie* pclGetSaisie() const { return m_p; }
    int nGetIDCode() const { return m_nIDCode; }

private:
    STSaisie& St() { return m_p->Saisie(); }
    bool Option(uint32_t dw) { return (St().dwOptions & dw) != 0; }
    void SetOption(uint32_t dw, bool b) {
        if (b) St().dwOptions |= dw;
        else St().dwOptions &= ~dw;
    }

    CSaisie* m_p;
    int m_nIDCode = 0;
    bool m_bSmartphone = false, m_bBarreRTF = false, m_bBarreRTFToujours = false;
};
