// The component object: carries every language function of the module.
#pragma once
#include "frame/CKSLibrary.h"
#include "base/CTString.h"
#include "controls/core/CAny.h"

class CFenPrincipale;

class QApplication;

class CComposanteOBJ : public CKSLibrary {
public:
    CComposanteOBJ();
    ~CComposanteOBJ() override;

    // The Qt application, created on first need with the single argument
    // "App"; the process locale is then set to "C".
    static QApplication* s_pclGetApplicationQT();
    // Destroys the application the module created (shut-down).
    static void s_DetruitApplicationQT();

    const CTString& sGetChaineCourante() const { return m_sChaineCourante; }

    // The window of the running code (null when the code has none).
    CFenPrincipale* pclGetFenPrincipaleOwner() const;
    // A window by name; empty: the window of the running code, else the active one.
    CFenPrincipale* pclGetFenPrincipaleFromName(const wchar_t* pszNom) const;
    IVM* piGetVM() const;

    // Window functions. Failures are raised on the error object.
    CAny Ouvre(const wchar_t* pszNom);
    void OuvreFille(const wchar_t* pszNom);
    void OuvreSoeur(const wchar_t* pszNom);
    bool Ferme(const wchar_t* pszNom);
    void Utilise(const wchar_t* pszNom);
    // A window shown as a popup with its own modal loop; with a position:
    // 0 at the mouse, 1 below, 2 above, 3 right of, 4 left of the calling control.
    CAny OuvrePopUp(const wchar_t* pszNom);
    CAny OuvrePopUpPosition(const wchar_t* pszNom, int nPosition);
    CFenPrincipale* xpclChargeFen(const wchar_t* pszNom, CFenPrincipale* pclParent);

private:
    CTString m_sChaineCourante;
    static QApplication* s_pclApplication;
    static bool s_bApplicationCreee;
};
