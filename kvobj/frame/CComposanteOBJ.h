// The component object: carries every language function of the module.
#pragma once
#include "frame/CKSLibrary.h"
#include "base/CTString.h"
#include "controls/core/CAny.h"

class CFenPrincipale;
class CFenCommun;
class CChamp;
class CObjetAPCodeOBJ;

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

    // Name resolution (frame/Resolution.cpp).
    // The window or control whose code runs (null when none).
    CFenCommun* pclGetFenCommunOwner() const;
    // The window of the running code; for the project's code, the window
    // named by the current window name.
    CFenPrincipale* _pclGetFenCourante() const;
    // Empty: the window or control of the running code; otherwise the name
    // searched from it in mode 2, its window-or-control part.
    CFenCommun* pclGetFenCommunFromName(const wchar_t* pszNom) const;
    // A name as the program writes it, qualified or not ("FEN.CHAMP",
    // "ONGLET[2].CHAMP", "CHAMP"): from the running code's window first,
    // then from the open windows. Null when nothing has that name.
    CObjetAPCodeOBJ* pclResoutNom(const wchar_t* pszNom) const;
    // The full language name of a control as the current control's name.
    CTString _GetNomKSChampEnCours(const CChamp* pclChamp) const;
    // Error 10416: the running function does not accept this object.
    void _RaiseErrorTypeChampIDS(CObjetAPCodeOBJ* pclObjet, int nMessage);

    // Loads a window by name under a parent, without opening it.
    CFenPrincipale* xpclChargeFen(const wchar_t* pszNom, CFenPrincipale* pclParent);

    // The window geometries the language asks for: outer frame (title and
    // borders included) or client area (below the menu bar).
    enum eGEOMETRIE_FEN { eEXT_HAUT, eEXT_LARG, eEXT_POSX, eEXT_POSY, eINT_HAUT, eINT_LARG, eINT_POSX, eINT_POSY };

private:

    CTString m_sChaineCourante;
    static QApplication* s_pclApplication;
    static bool s_bApplicationCreee;
};
