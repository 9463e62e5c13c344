// A window of the application. This is the part the application context
// relies on (identity, name and alias, life flags, parent, widget); opening
// from a description and the runtime come on top of it.
#pragma once
#include "base/CObjet.h"
#include "base/CTString.h"
#include <QPointer>
#include <QWidget>

class IVM;

class CFenPrincipale : public CObjet {
public:
    CFenPrincipale(const wchar_t* pszNom, const wchar_t* pszAlias = nullptr);
    ~CFenPrincipale() override;

    const CTString& sGetNom() const { return m_sNom; }
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
    IVM* piGetVM() const { return m_piVM; }
    void SetVM(IVM* p) { m_piVM = p; }
    bool bEstComposantePrincipale() const { return m_bComposantePrincipale; }
    void SetComposantePrincipale(bool b) { m_bComposantePrincipale = b; }
    int nGetLangue() const { return m_nLangue; }

    QWidget* pGetWidget() const { return m_pWidget.data(); }
    // Creates the window's widget and enters the window in the application
    // context's list.
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

private:
    CTString m_sNom;
    CTString m_sAlias;
    bool m_bVivante = true;
    bool m_bEnFermeture = false;
    bool m_bEnOuverture = false;
    bool m_bComposantePrincipale = true;
    int m_nLangue = 0;
    CFenPrincipale* m_pclParent = nullptr;
    IVM* m_piVM = nullptr;
    QPointer<QWidget> m_pWidget;
};
