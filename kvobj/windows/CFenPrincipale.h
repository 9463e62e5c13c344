// A window of the application: a common window object owning its controls.
// Opening from a description and the runtime build on this.
#pragma once
#include "controls/core/CAny.h"
#include "controls/core/CConteneurChamp.h"
#include "frame/Numeros.h"
#include "windows/CFenQT.h"
#include "windows/DescriptionFenetre.h"
#include "windows/IVueFenetre.h"
#include <QElapsedTimer>
#include <QPointer>
#include <memory>

class CChamp;
class QWidget;

// A window name as given to the opening functions: "alias=NAME,Y,X".
struct STNomFenetre {
    CTString sAlias;
    CTString sNom;
    bool bY = false, bX = false;
    int nY = 0, nX = 0;
    unsigned nOptions = 0;  // 4 alias, 256 and 512 display modes, 2048 the 0x05 marker
};

// Flags of the internal opening.
enum : int { eOUVRE_MODAL = 1, eOUVRE_FILLE = 2 };

class IVM;

class CFenPrincipale : public CFenCommunQT {
public:
    CFenPrincipale(const wchar_t* pszNom, const wchar_t* pszAlias = nullptr);
    ~CFenPrincipale() override;

    CFenPrincipale* vpclGetFenPrincipale() const override { return const_cast<CFenPrincipale*>(this); }
    int nGetIDObjet() const override { return ID_FENETRE; }
    const wchar_t* pszGetNomType() const override { return L"window"; }
    KV_ACCESSEURS(Nom)
    KV_ACCESSEURS(Type)
    KV_ACCESSEURS(Colonne)
    KV_ACCESSEURS(Ligne)
    KV_ACCESSEURS(Hauteur)
    KV_ACCESSEURS(Largeur)
    KV_ACCESSEURS(Etat)
    KV_ACCESSEURS(EtatInitial)
    KV_ACCESSEURS(XInitial)
    KV_ACCESSEURS(YInitial)
    KV_ACCESSEURS(LargeurInitiale)
    KV_ACCESSEURS(HauteurInitiale)
    KV_ACCESSEURS(Titre)
    KV_ACCESSEURS(Alias)
    KV_ACCESSEURS(LargeurMin)
    KV_ACCESSEURS(HauteurMin)
    KV_ACCESSEURS(LargeurMax)
    KV_ACCESSEURS(HauteurMax)
    KV_ACCESSEURS(Visible)
    KV_ACCESSEURS(NomComplet)
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
    // Gives the focus to the object of the pending resume-input request;
    // pclOrigine is the object whose code made the request.
    virtual void vAppliqueDemandeFocus(CObjetAPCodeOBJ* pclOrigine);

    // Key under which the window's controls store their values.
    CTString _GetNomCleConfiguration() const { return m_sNom; }

    // Creates the window's widget and its controls' widgets, and enters the
    // window in the application context's list.
    void CreeWidget();
    // Has the view make the window's widget, and enters the window in the list.
    void _CreeWidgetFenetre();

    // Description: header, window record, control list (reading and writing).
    void xCree(CKVBuffer& b);
    // The description's header (object type 2, format 6.6 or 6.7); with the
    // reader's trace on, printed (kvc dump).
    static void sxLitEntete(CLecteurKV& ar);
    void Ecrit(CKVBuffer& b);
    STDescriptionFenetre& Description() { return m_desc; }

    // Name parsing, loading and opening.
    static void _sParseNomFenetre(const wchar_t* pszNom, STNomFenetre& st, bool bSansEspaces);
    static CFenPrincipale* _xpclsChargeFen(IVM* piVM, const STNomFenetre& st, CFenPrincipale* pclParent, int nFlagsChargement);
    void xOuvre(bool bModal);
    void xAppelCodesOuverture(void* pSlot);
    void xInitApresCreate();
    bool bDoModal();
    // Shows the window modal and runs its loop until the window closes
    // (hiding it does not end the loop).
    void ExecBoucleModale();
    // Loop ownership: the window whose modal loop this window depends on.
    CFenPrincipale* pclGetProprietaireBoucle() const { return m_pclProprietaireBoucle; }
    void SetProprietaireBoucle(CFenPrincipale* f) { m_pclProprietaireBoucle = f; }
    int nGetNbDependants() const { return m_nNbDependants; }
    void SetNbDependants(int n) { m_nNbDependants = n; }
    bool bBoucleEnCours() const { return m_bBoucleEnCours; }
    void _TakeMessageLoopOwnership();
    void _SetParamOuverture(const STNomFenetre& st);
    // Opens a window by name: loading, opening sequence, modal loop when asked.
    static CFenPrincipale* _xpclOuvreInternal(const wchar_t* pszNom, int nFlags, CFenPrincipale* pclParent, IVM* piVM, void* pSlot);

    // Return value, modal and first-window flags.
    CAny& ValeurRetour() { return m_clValeurRetour; }
    bool bEstModale() const { return m_bModal; }
    bool bEstPremiere() const { return m_bPremiere; }
    bool bDeclarationFaite() const { return m_bDeclFaite; }
    bool bInitialisee() const { return m_bInitialisee; }
    CFenCommun* pclGetOuvreur() const { return m_pclOuvreur; }
    void SetOuvreur(CFenCommun* p) { m_pclOuvreur = p; }

    // The window's mandatory inputs: the first empty one (in tab order,
    // shown and accepting entry) gets the focus and its message; false then.
    bool bVerifieSaisiesObligatoires();

    // Closing codes (children's, controls', the window's); false: refused.
    bool bExecuteCodeFermeture();
    // Saves the persistent values of the window's controls.
    void SauveParamEnFermeture();
    void RestaureValeursPersistantes();
    // Destroys the window without running its closing code (Utilise).
    void DetruitSansCodeFermeture();

    // Automatic closing.
    void DemarreFermetureAuto(int nMs, const wchar_t* pszBouton);
    void TickFermetureAuto();
    // Cancels a running countdown; the designated button shows its caption again.
    void ArreteFermetureAuto();
    bool bFermetureAutoEnCours() const { return m_nTimerFermetureAuto != 0; }
    // The armed automatic close's delay in milliseconds (0 when none is armed).
    int nGetDureeFermetureAuto() const { return bFermetureAutoEnCours() ? m_nDureeFermetureAuto : 0; }

    // Focus: the control about to receive it, and the cause of the last change.
    CChamp* pclGetChampSuivant() const { return m_pclChampSuivant; }
    void SetChampSuivant(CChamp* c) { m_pclChampSuivant = c; }
    int nGetCauseFocus() const { return m_nCauseFocus; }
    void SetCauseFocus(int n) { m_nCauseFocus = n; }
    CChamp* pclGetChampPrecedent() const { return m_pclChampPrecedent; }
    void SetChampPrecedent(CChamp* c) { m_pclChampPrecedent = c; }
    CChamp* pclGetChampFocus() const { return m_pclChampFocus; }
    void SetChampFocus(CChamp* c) { m_pclChampFocus = c; }

    // A control that leaves the window is no longer the focused, previous
    // or pending one.
    void OublieChamp(const CChamp* c) {
        if (m_pclChampSuivant == c) m_pclChampSuivant = nullptr;
        if (m_pclChampPrecedent == c) m_pclChampPrecedent = nullptr;
        if (m_pclChampFocus == c) m_pclChampFocus = nullptr;
    }

    // The widget that holds the controls: the client area below the menu
    // bar, or the window's widget itself. The view sets the client area.
    QWidget* pGetWidgetClient() const;
    void SetWidgetClient(QWidget* pClient);

    // Off screen: open, but moved outside every screen; the position it had
    // is kept to bring it back.
    bool bEstHorsEcran() const { return m_bHorsEcran; }
    void PlaceHorsEcran();
    void RameneHorsEcran();

    // Shows the description's background image (file name relative to the
    // project's folder) in the way eIMAGE_FOND_* says, or none.
    void AfficheImageFond(int eMode);

    // Set while FenRepeint paints the window.
    bool bRepeintEnCours() const { return m_bRepeintEnCours; }
    void SetRepeintEnCours(bool b) { m_bRepeintEnCours = b; }

    // Called by the widget: a close request; false refuses it.
    bool bOnCloseFermeture();
    void OnTimerEvent(int nId);

    // Closes the window: the widget closes and the window leaves the list.
    static void Ferme(CFenPrincipale* pclFen, int nValeur);
    static void ChangeLangueFenOuverte(CFenPrincipale* pclFen, int nAncienne, int nNouvelle);
    // Finds the window that owns a widget (null when none).
    static CFenPrincipale* pclDepuisWidget(QWidget* pWidget);

    // Called when the widget's close is accepted.
    void OnFermetureAcceptee();
    // Closes the widget, ending the modal loop that runs for it; false when
    // the closing is refused.
    bool _bFermeWidget();

    // The menu option chosen last (null when none, or once it is deleted).
    COptionMenu* pclGetOptionCourante() const { return m_pclOptionCourante; }
    void SetOptionCourante(COptionMenu* o) { m_pclOptionCourante = o; }

    // The view while the window's widget exists (null before and after).
    IVueFenetre* pclVueWidget() const { return pGetWidget() ? m_pVue.get() : nullptr; }

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
    STDescriptionFenetre m_desc;
    CAny m_clValeurRetour;
    bool m_bModal = false, m_bPremiere = false;
    bool m_bDeclFaite = false, m_bInitialisee = false;
    bool m_bCodeFermetureEnCours = false, m_bFermetureAcceptee = false;
    CFenCommun* m_pclOuvreur = nullptr;
    COptionMenu* m_pclOptionCourante = nullptr;
    CChamp* m_pclChampSuivant = nullptr;
    CChamp* m_pclChampPrecedent = nullptr;
    CChamp* m_pclChampFocus = nullptr;
    int m_nCauseFocus = 0;
    int m_nTimerFermetureAuto = 0;
    CFenPrincipale* m_pclProprietaireBoucle = nullptr;
    CFenPrincipale* m_pclProprietairePrecedent = nullptr;
    int m_nNbDependants = 0;
    bool m_bBoucleEnCours = false;
    int m_nDureeFermetureAuto = 0;
    QElapsedTimer m_debutFermetureAuto;
    CTString m_sBoutonFermetureAuto;
    CTString m_sLibelleBoutonAvant;
    // The window's widgets are the view's; it lives as long as the window.
    std::unique_ptr<IVueFenetre> m_pVue;
    CPointeurWidget m_pClient;
    bool m_bHorsEcran = false;
    QPoint m_ptAvantHorsEcran;
    bool m_bRepeintEnCours = false;
};
