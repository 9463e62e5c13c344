// The application context: one per process, created by bInitLibrary. It owns
// the list of open windows, the active window, timers, the hourglass state,
// persistence access and the settings consumed by the next window opening.
#pragma once
#include "base/CObjet.h"
#include "base/CTListeMT.h"
#include "base/CTString.h"
#include "kv/boites.h"
#include "kv/module.h"
#include <QThread>
#include <functional>
#include <string>
#include <vector>

class CFenPrincipale;
class CIExe;
class CTimerQT;
class CAppelMainThread_QT;
class CObjetAPCodeOBJ;
class QWidget;

// One record per timer.
struct STTimerInfo {
    CTimerQT* hTimer = nullptr;
    void* pProcedure = nullptr;
    uint32_t nReserve1 = 0;
    class CExe* pclExe = nullptr;
    IVM* piVM = nullptr;
    int bTempsReel = 0;
    int nPeriode = 0;
    uint32_t nReserve2 = 0;
    Qt::HANDLE nThread = nullptr;
};

enum eCHAINEERREUR { eCHAINEERREUR_0 = 0, eCHAINEERREUR_1, eCHAINEERREUR_2, eCHAINEERREUR_3, eCHAINEERREUR_NB };

// The project object: an object whose code is the project's code.
class CProjet : public CObjet {
public:
    CTString m_sNom;
};

class CExe : public CObjet {
public:
    // Shows (true) or takes away (false) the wait cursor: set by the Qt
    // side of the context; null without one.
    static void (*s_pfnCurseurAttente)(bool);

    CExe();
    ~CExe() override;

    // Object kind 0 of the factory: the context itself with a further reference.
    static CExe* hResCreateInstance();
    virtual CIExe* CreateAgregat();
    virtual CObjetAPCodeOBJ* vpclGetObjetAPCodeOBJFromName(const wchar_t* pszNom, int nMode);
    virtual int nGetIDObjet() { return 0; }

    // Window list.
    void AjouteFenetre(CFenPrincipale* pclFen);
    void SupprimeFenetre(CFenPrincipale* pclFen);
    bool bEstFenOuverte(CFenPrincipale* pclFen) const;
    void GetListeFenetreOuverte(std::vector<CFenPrincipale*>& tab) const;
    void GetListeFenFilles(CFenPrincipale* pclParent, std::vector<CFenPrincipale*>& tab) const;
    void FermeToutesLesFillesDe(CFenPrincipale* pclParent);
    int nGetNbFenetres() const { return m_listeFenetres.nGetNb(); }
    CFenPrincipale* pclGetFenetreFromName(const wchar_t* pszNom) const;
    CFenPrincipale* pclGetFenetreFromNameAndComponent(const wchar_t* pszNom, IVM* piVM) const;
    bool _bEstFenRecherchee(CFenPrincipale* pclFen, const wchar_t* pszNom, IVM* piComposante) const;
    bool bFenEnFermetureExiste() const;
    bool bFenEnOuvertureExiste() const;
    void FermeTout();
    bool bFermeToutEnCours() const { return m_bFermeTout; }
    CTListeMT<CFenPrincipale*>& ListeFenetres() { return m_listeFenetres; }

    // Active window (reference counted).
    void SetFenActive(CFenPrincipale* pclFen);
    CFenPrincipale* pclGetFenActive() const { return m_pclFenActive; }
    CFenPrincipale* pclGetFenFromMainThread() const { return m_pclFenActive; }

    // Host.
    void LoadVM(IVM* piVM);
    IVM* piGetVM() const { return m_piVM; }
    bool bVMMultitache() const { return m_bVMMultitache; }
    void SetLibShop(ILibShop* piShop) { if (!m_piLibShop) m_piLibShop = piShop; }
    ILibShop* piGetLibShop() const;
    int nGetModeGestionErreur() const;
    bool bErreurKSAffichee() const;
    bool bDialogueDebuggerEnCours() const;
    bool bChargeKVLOBJ();
    bool bKVLOBJCharge() const { return m_bKVLOBJCharge; }
    std::wstring pszGetNomProjet() const;
    // The running project's folder (empty when the host gives none).
    std::wstring sGetRepertoireProjet() const;
    IObjetShop* PIGetMainOLE();
    bool bEstThreadPrincipal() const { return QThread::currentThread() == m_pThreadPrincipal; }
    QThread* pGetThreadPrincipal() const { return m_pThreadPrincipal; }

    // Persistence of user values.
    IPersistance* piGetPersistance();
    void SavePersistantUserValue(IVM* piVM, const wchar_t* pszObjet, const wchar_t* pszValeur, const wchar_t* pszTexte);
    void SavePersistantUserValue_Int(IVM* piVM, const wchar_t* pszObjet, const wchar_t* pszValeur, int nValeur);
    void SavePersistantUserValueA(IVM* piVM, const wchar_t* pszObjet, const wchar_t* pszValeur, const char* pszTexte, unsigned nCodePage);
    void PersistDebutOperationEnBloc(IVM* piVM);
    void PersistFinOperationEnBloc(IVM* piVM);
    bool bReadPersistantUserValue(IVM* piVM, const wchar_t* pszObjet, const wchar_t* pszValeur, CTString& sSortie);
    int nReadPersistantUserValue_Int(IVM* piVM, const wchar_t* pszObjet, const wchar_t* pszValeur, int nDefaut);
    bool bReadPersistantUserValueFromA(IVM* piVM, const wchar_t* pszObjet, const wchar_t* pszValeur, std::string& sSortie, unsigned nCodePage);
    void _GetPersistantUserValuePath(const wchar_t* pszFichier, CTString& sSortie);
    void SetModeUtilitaire(bool b) { m_bModeUtilitaire = b; }

    // Hourglass.
    void SablierVrai();
    void SablierFaux();
    void SablierAnnuleTout();
    int nGetNiveauSablier() const { return m_nSablier; }

    // Timers.
    void* hCreeTimerVM(int nPeriode, IVM* piVM, void* pProcedure, CXError* pErreur, bool bTempsReel = false);
    void SupprimeTimerVM(void* hTimer);
    bool bTimerTempsReelExiste() const;
    void CheckTimerTempsReel();
    int nGetNbTimers() const { return static_cast<int>(m_tabTimers.size()); }
    bool bTimerDesactive() const { return m_bTimerDesactive; }
    void SetTimerDesactive(bool b) { m_bTimerDesactive = b; }
    bool bDansCallbackTimer() const { return m_bDansCallbackTimer; }
    static void KVCallBackTimerProc(void*, unsigned, void* hTimer, unsigned);

    // Error display strings.
    const std::wstring& rclGetChaineErreur(int nIndice) const;
    void SetChaineErreur(int nIndice, const wchar_t* psz);
    wchar_t cGetSeparateurMillier() const { return m_cSeparateurMillier; }
    wchar_t cGetSeparateurDecimal() const { return m_cSeparateurDecimal; }
    void SetSeparateurs(wchar_t cMillier, wchar_t cDecimal) { m_cSeparateurMillier = cMillier; m_cSeparateurDecimal = cDecimal; }

    // Next-window settings.
    void SetHandleParentSuivant(void* h) { m_hParentSuivant = h; if (!h) m_bForceChildSuivant = false; }
    void SetHandleParentSuivantForceChild(void* h) { m_hParentSuivant = h; m_bForceChildSuivant = true; }
    void* hGetHandleParentSuivant() const { return m_hParentSuivant; }
    bool bForceChildSuivant() const { return m_bForceChildSuivant; }
    void SetContexteQBSuivant(void* p) { m_pContexteQBSuivant = p; }
    void* pGetContexteQBSuivant() const { return m_pContexteQBSuivant; }
    void SetTypeKVFileOuvreSuivant(uint32_t n) { m_nTypeKVFileSuivant = n; }
    uint32_t dwGetTypeKVFileOuvreSuivant() const { return m_nTypeKVFileSuivant; }

    // First window and end-of-initialisation callback.
    void On1ereFenetreOuverte(CFenPrincipale* pclFen);
    bool bAucuneFenetreEncore() const { return m_bAucuneFenetre; }
    const CTString& sGetNom1ereFenetre() const { return m_sNom1ereFenetre; }
    void SetCallbackFinInit(PFN_CALLBACK_FIN_INIT pfn, void* pUser) { m_pfnFinInit = pfn; m_pUserFinInit = pUser; }
    void SetMessageSpashScreen(const wchar_t* pszTexte);

    // Language change.
    void onChangeLangue(int nLangue);

    // Cross-thread calls.
    void LanceActionGeneriqueVMMainThread(int nAction, intptr_t nParametre);
    void ReceiveActionGeneriqueVMMainThread(int nAction, intptr_t nParametre);

    // Project and edition settings.
    void SetProjectPath(const wchar_t* psz) { m_sCheminProjet.Set(psz); }
    const CTString& sGetCheminProjet() const { return m_sCheminProjet; }
    void SetNomProjetEdition(const wchar_t* psz) { m_sNomProjetEdition.Set(psz); }
    void SetIconeProjetEdition(const wchar_t* psz) { m_sIconeProjetEdition.Set(psz); }
    void ModeTestFen(const wchar_t* pszNom) { m_bModeTestFen = true; m_sFenTest.Set(pszNom); }
    CProjet* pclGetProjet() const { return m_pclProjet; }
    bool bMsgBoxPersonalisees() const { return m_bMsgBoxPersonalisees; }
    int nGetLastCmdRepriseSaisie() const { return m_pclRepriseSaisie ? m_nCmdRepriseSaisie : 0; }
    // The pending resume-input request (focus requested by the program).
    // Every request made counts, so that code can tell it asked for one even
    // after the request was applied; the last target and command stay known.
    void SetRepriseSaisie(CObjet* pclObjet, int nCmd) {
        m_pclRepriseSaisie = pclObjet;
        m_nCmdRepriseSaisie = nCmd;
        if (pclObjet) {
            ++m_nCompteurReprises;
            m_pclDerniereReprise = pclObjet;
            m_nDerniereCmdReprise = nCmd;
        }
    }
    // Puts back a request saved before running code, without counting it.
    void RestaureRepriseSaisie(CObjet* pclObjet, int nCmd) { m_pclRepriseSaisie = pclObjet; m_nCmdRepriseSaisie = nCmd; }
    CObjet* pclGetRepriseSaisie() const { return m_pclRepriseSaisie; }
    // An object that is destroyed is no longer a resume-input target.
    void OublieRepriseSaisie(const CObjet* pclObjet) {
        if (m_pclRepriseSaisie == pclObjet) m_pclRepriseSaisie = nullptr;
        if (m_pclDerniereReprise == pclObjet) m_pclDerniereReprise = nullptr;
        if (m_pclDerniereSortie == pclObjet) m_pclDerniereSortie = nullptr;
    }
    // The focus change under way: the widget it gives the focus to, set
    // while the new control's entry code runs, and the last control whose
    // exit code a focus change ran. A focus request made by that entry code
    // continues the change and must not run the same exit code again.
    QWidget* pGetCibleChangementFocus() const { return m_pCibleChangementFocus; }
    void SetCibleChangementFocus(QWidget* p) { m_pCibleChangementFocus = p; }
    const CObjet* pclGetDerniereSortie() const { return m_pclDerniereSortie; }
    void SetDerniereSortie(const CObjet* p) { m_pclDerniereSortie = p; }
    unsigned nGetCompteurReprises() const { return m_nCompteurReprises; }
    CObjet* pclGetDerniereReprise() const { return m_pclDerniereReprise; }
    int nGetDerniereCmdReprise() const { return m_nDerniereCmdReprise; }
    CIExe* pclGetIExe() const { return m_pclIExe; }
    void OublieIExe(CIExe* p) { if (m_pclIExe == p) m_pclIExe = nullptr; }

    // The event hook of the application (called before every event code).
    typedef void (*PFN_HOOK_TRAITEMENT)(const wchar_t* pszObjet, int nEvenement, void* pData);
    void SetHookTraitement(PFN_HOOK_TRAITEMENT pfn) { m_pfnHookTraitement = pfn; }
    PFN_HOOK_TRAITEMENT pfnGetHookTraitement() const { return m_pfnHookTraitement; }
    // The alias or name of the window that was current when the last
    // window opened (FenPrecedente).
    const CTString& sGetNomFenPrecedente() const { return m_sNomFenPrecedente; }
    void SetNomFenPrecedente(const wchar_t* psz) { m_sNomFenPrecedente.Set(psz); }
    // The object whose code is running.
    CObjetAPCodeOBJ* pclGetObjetCourant() const { return m_pclObjetCourant; }
    void SetObjetCourant(CObjetAPCodeOBJ* p) { m_pclObjetCourant = p; }

    // Application-wide counters: DonneIdentifiant's identifiers (1, 2, ...)
    // and DonneCouleur's series numbers taken with index -1 (1, 2, ...).
    int nDonneIdentifiant() { return ++m_nDernierIdentifiant; }
    int nSerieCouleurSuivante() { return ++m_nDerniereSerieCouleur; }

    // The window whose modal loop runs.
    CFenPrincipale* pclGetProprietaireBoucle() const { return m_pclProprietaireBoucle; }
    void SetProprietaireBoucle(CFenPrincipale* f) { m_pclProprietaireBoucle = f; }
    // Windows whose loop owner is pclAncien now name pclNouveau, which takes
    // over the count of dependent windows.
    void ChangeMessageLoop(CFenPrincipale* pclFen, CFenPrincipale* pclAncien, CFenPrincipale* pclNouveau);

    // Message boxes: the automatic-close delay of the following boxes in
    // milliseconds (0 none), the title of the next box (emptied after each
    // box), the interceptor a host installed (not owned), and whether the
    // project shows its own boxes (asked of the host at LoadVM).
    int nGetDelaiBoites() const { return m_nDelaiBoites; }
    void SetDelaiBoites(int nMs) { m_nDelaiBoites = nMs > 0 ? nMs : 0; }
    const std::wstring& sGetTitreSuivant() const { return m_sTitreSuivant; }
    void SetTitreSuivant(const std::wstring& s) { m_sTitreSuivant = s; }
    IIntercepteurBoites* piGetIntercepteurBoites() const { return m_piIntercepteurBoites; }
    void SetIntercepteurBoites(IIntercepteurBoites* p) { m_piIntercepteurBoites = p; }
    void SetMsgBoxPersonalisees(bool b) { m_bMsgBoxPersonalisees = b; }
    // Runs the work on the interface thread and waits for it (directly when
    // called there).
    void ExecuteSurThreadPrincipal(const std::function<void()>& fn);

    // Applies an operation to every window in the list (under its lock).
    void DoSurToutesLesFenetres(const std::function<void(CFenPrincipale*)>& f);

private:
    CTListeMT<CFenPrincipale*> m_listeFenetres;
    CProjet* m_pclProjet = nullptr;
    CFenPrincipale* m_pclFenActive = nullptr;
    IVM* m_piVM = nullptr;
    bool m_bVMMultitache = false;
    CObjet* m_pclRepriseSaisie = nullptr;
    int m_nCmdRepriseSaisie = 0;
    unsigned m_nCompteurReprises = 0;
    CObjet* m_pclDerniereReprise = nullptr;
    int m_nDerniereCmdReprise = 0;
    QWidget* m_pCibleChangementFocus = nullptr;
    const CObjet* m_pclDerniereSortie = nullptr;
    ILibShop* m_piLibShop = nullptr;
    IObjetShop* m_piMainOLE = nullptr;
    CAppelMainThread_QT* m_pclAppelMainThread = nullptr;
    CIExe* m_pclIExe = nullptr;
    CTString m_sCheminProjet, m_sNomProjetEdition, m_sIconeProjetEdition, m_sFenTest;
    bool m_bModeTestFen = false;
    bool m_bSablier = false;
    int m_nSablier = 0;
    std::vector<STTimerInfo> m_tabTimers;
    std::wstring m_tabChaineErreur[eCHAINEERREUR_NB];
    wchar_t m_cSeparateurMillier = L' ';
    wchar_t m_cSeparateurDecimal = L'.';
    void* m_hParentSuivant = nullptr;
    bool m_bForceChildSuivant = false;
    void* m_pContexteQBSuivant = nullptr;
    uint32_t m_nTypeKVFileSuivant = 0;
    QThread* m_pThreadPrincipal = nullptr;
    CTString m_sNom1ereFenetre;
    bool m_bAucuneFenetre = true;
    bool m_bMsgBoxPersonalisees = false;
    bool m_bTimerDesactive = false;
    PFN_CALLBACK_FIN_INIT m_pfnFinInit = nullptr;
    void* m_pUserFinInit = nullptr;
    bool m_bFermeTout = false;
    bool m_bKVLOBJCharge = false;
    bool m_bModeUtilitaire = false;
    IPersistance* m_piPersistance = nullptr;
    bool m_bDansCallbackTimer = false;
    bool m_bChangeLangueEnCours = false;
    PFN_HOOK_TRAITEMENT m_pfnHookTraitement = nullptr;
    CObjetAPCodeOBJ* m_pclObjetCourant = nullptr;
    CFenPrincipale* m_pclProprietaireBoucle = nullptr;
    CTString m_sNomFenPrecedente;
    int m_nDelaiBoites = 0;
    std::wstring m_sTitreSuivant;
    IIntercepteurBoites* m_piIntercepteurBoites = nullptr;
    int m_nDernierIdentifiant = 0;
    int m_nDerniereSerieCouleur = 0;
};

// The one application context of the process.
extern CExe* gpclExe;
