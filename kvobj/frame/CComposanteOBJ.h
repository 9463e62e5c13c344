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

    // Window states: 0 active, 1 read-only, 2 invisible, 3 and 4 greyed; 8
    // for a window that is not open, 16 for a window placed off screen.
    // The state of the running code's window.
    int FenEtat();
    // The state of a window by name (empty: the running code's window, else
    // the active one).
    int FenEtat(const wchar_t* pszNom);
    // Sets the running code's window's state; its previous state (8 when
    // the code has no window).
    int FenChangeEtat(int nEtat);
    // The named window's state, then sets it (error 10001 and 0 when the
    // window is not open). States set: 0, 1, 2, 4 and 8 (closes the window);
    // any other raises error 10059.
    int FenChangeEtat(const wchar_t* pszNom, int nEtat);
    // Alias or name of the active window in upper case; of the running
    // code's window; of the window that was current when the last window
    // opened, when it is still open. Empty when there is none.
    CTString FenEnCours();
    CTString FenEnExecution();
    CTString FenPrecedente();
    // 0, or error 10001 when the window is not open. With a mode, the
    // window is also shown normal (0), maximised (1) or minimised (2).
    int FenTaille(const wchar_t* pszNom);
    int FenTaille(const wchar_t* pszNom, int nMode);
    // Paints a shown window at once.
    void FenRepeint(const wchar_t* pszNom);
    // Geometry in screen pixels of the outer frame (title and borders
    // included) or of the client area (below the menu bar), of a window by
    // name; error 10001 and 0 when the window is not open.
    enum eGEOMETRIE_FEN { eEXT_HAUT, eEXT_LARG, eEXT_POSX, eEXT_POSY, eINT_HAUT, eINT_LARG, eINT_POSX, eINT_POSY };
    int FenGeometrie(const wchar_t* pszNom, eGEOMETRIE_FEN eQuoi);
    int NombreFenetre();
    bool FenInitialisee();

private:
    // Applies a state to a window (FenEtat); false with the error raised.
    bool _bChangeEtatFenetre(CFenPrincipale* pclFen, int nEtat);

    CTString m_sChaineCourante;
    static QApplication* s_pclApplication;
    static bool s_bApplicationCreee;
};
