// A window of the application: a common window object owning its controls.
// Opening from a description and the runtime build on this.
#pragma once
#include "controls/core/CConteneurChamp.h"
#include "windows/CFenQT.h"

class IVM;

class CFenPrincipale : public CFenCommunQT {
public:
    CFenPrincipale(const wchar_t* pszNom, const wchar_t* pszAlias = nullptr);
    ~CFenPrincipale() override;

    CFenPrincipale* vpclGetFenPrincipale() const override { return const_cast<CFenPrincipale*>(this); }
    CFenPrincipale* vpclCastToFenPrincipale() override { return this; }

    const CTString& sGetAlias() const { return m_sAlias; }
    void SetAlias(const wchar_t* psz) { m_sAlias.Set(psz); }
    // The alias when one was given, else the name.
    const CTString& sGetAliasOuNom() const { return m_sAlias.empty() ? m_sNom : m_sAlias; }

    bool bEstVivante() const { return m_bVivante; }
    bool bEnFermeture() const { return m_bEnFermeture; }
    bool bEnOuverture() const { return m_bEnOuverture; }
    void SetEnOuverture(bool b) { m_bEnOuverture = b; }

    CFenPrincipale* pclGetParent() const { return m_pclParent; }
    void SetParent(CFenPrincipale* p) { m_pclParent = p; }
    IVM* piGetVM() const override;
    void SetVM(IVM* p) { m_piVM = p; }
    bool bEstComposantePrincipale() const { return m_bComposantePrincipale; }
    void SetComposantePrincipale(bool b) { m_bComposantePrincipale = b; }
    int nGetLangue() const { return m_nLangue; }

    // Controls.
    CConteneurChamp& Conteneur() { return m_conteneur; }
    const CConteneurChamp& Conteneur() const { return m_conteneur; }
    CChamp* pclGetChampFromName(const wchar_t* pszNom) const { return m_conteneur.pclGetChampFromName(pszNom); }
    CObjetAPCodeOBJ* vpclGetObjetAPCodeOBJFromName(const wchar_t* pszNom, int nMode) override;

    // The window's current plane, and its state as controls see it.
    int nGetPlan() const { return m_nPlan; }
    void SetPlan(int n) { m_nPlan = n; }
    bool bEstGrisee() const { return m_eEtat == eETAT_GRISE || m_eEtat == eETAT_GRISE_LECTURE; }
    bool bEstActive() const { return m_eEtat == eETAT_ACTIF; }

    // Whether code of an object of this window may run now.
    virtual bool vbAccepteCodeObjet(const CFenCommun* pclObjet, int nEvenement) const;
    // Gives the focus to the object of the pending resume-input request.
    virtual void vAppliqueDemandeFocus();

    // Key under which the window's controls store their values.
    CTString _GetNomCleConfiguration() const { return m_sNom; }

    // Creates the window's widget and its controls' widgets, and enters the
    // window in the application context's list.
    void CreeWidget();

    // Closes the window: the widget closes and the window leaves the list.
    static void Ferme(CFenPrincipale* pclFen, int nValeur);
    static void ChangeLangueFenOuverte(CFenPrincipale* pclFen, int nAncienne, int nNouvelle);
    // Finds the window that owns a widget (null when none).
    static CFenPrincipale* pclDepuisWidget(QWidget* pWidget);

    // Called when the widget's close is accepted.
    void OnFermetureAcceptee();

protected:
    // Runs while the window closes, before it leaves the list (closing code).
    virtual void vSurFermeture() {}

    CTString m_sAlias;
    bool m_bVivante = true;
    bool m_bEnFermeture = false;
    bool m_bEnOuverture = false;
    bool m_bComposantePrincipale = true;
    int m_nLangue = 0;
    int m_nPlan = 1;
    CFenPrincipale* m_pclParent = nullptr;
    IVM* m_piVM = nullptr;
    CConteneurChamp m_conteneur;
};
