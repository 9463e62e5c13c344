// Message boxes and dialogs: what they show and how their results read,
// without any widget. The language functions build a request and hand it to
// the common routine (nBoiteMessage), which offers it to the host's
// interceptor, settles its title, cuts its text, tries the project's own
// box, and lets the Qt layer (BoitesMessage_QT.cpp) show the system box or
// the dialog.
//
// Flags and results use the Win32 MessageBox encoding (kv/boites.h).
#pragma once
#include "base/CTString.h"
#include "kv/boites.h"
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CFenPrincipale;
class IVM;
struct CQuestionExec;

namespace kvboites {

// Button sets (bits 0-3).
inline constexpr uint32_t nMB_OK = 0x0;
inline constexpr uint32_t nMB_OKCANCEL = 0x1;
inline constexpr uint32_t nMB_ABORTRETRYIGNORE = 0x2;
inline constexpr uint32_t nMB_YESNOCANCEL = 0x3;
inline constexpr uint32_t nMB_YESNO = 0x4;
inline constexpr uint32_t nMB_RETRYCANCEL = 0x5;
inline constexpr uint32_t nMB_CANCELTRYCONTINUE = 0x6;
inline constexpr uint32_t nMB_JEU = 0xF;
// Icons (bits 4-7).
inline constexpr uint32_t nMB_ICONERROR = 0x10;
inline constexpr uint32_t nMB_ICONQUESTION = 0x20;
inline constexpr uint32_t nMB_ICONWARNING = 0x30;
inline constexpr uint32_t nMB_ICONINFORMATION = 0x40;
inline constexpr uint32_t nMB_ICONE = 0xF0;
// Default button (bits 8-9).
inline constexpr uint32_t nMB_DEFBUTTON2 = 0x100;
inline constexpr uint32_t nMB_DEFBUTTON3 = 0x200;

// Results.
inline constexpr int nID_OK = 1, nID_CANCEL = 2, nID_ABORT = 3, nID_RETRY = 4, nID_IGNORE = 5, nID_YES = 6, nID_NO = 7,
                     nID_TRYAGAIN = 10, nID_CONTINUE = 11;
// A box that could not be shown (no Qt application, no custom box), and a
// question or input box whose custom dialog could not be shown.
inline constexpr int nRESULTAT_AUCUN = -1;
inline constexpr int nRESULTAT_AUCUN_SAISIE = -2;

inline constexpr size_t nLONGUEUR_MAX_MESSAGE = 4096;
inline constexpr int nNB_ARGUMENTS_MAX = 255;
// The caption of the default button while the box closes by itself.
inline constexpr const wchar_t* pszFORMAT_COMPTE_A_REBOURS = L"%ls (%d s)";

// The buttons of a flag's set, left to right, as the results they give;
// any set not listed is OK alone.
std::vector<int> BoutonsDuJeu(uint32_t nFlags);
// The 0-based place of the default button in that list (bits 8-9, kept
// within the set).
int nIndiceBoutonParDefaut(uint32_t nFlags);
// "Caption (n s)".
std::wstring sLibelleCompteARebours(const std::wstring& sLibelle, int nSecondes);

// Kind and default button (1-based) handed to the project's own message box.
struct STGenreBoite {
    int nGenre;
    int nDefaut;
};
STGenreBoite GenrePersonnalise(uint32_t nFlags);

// Confirmer: flags from its default (0 No, 1 Yes, 2 Cancel) and its result
// from the box's (1 Yes, 0 No, 2 anything else).
uint32_t nFlagsConfirmer(int nDefaut);
int nResultatConfirmer(int nResultat);

// A text without its drawing commands (ESC and a command letter): only the
// text runs are kept.
std::wstring sSansCommandesDessin(const std::wstring& s);

// One input field of an input box.
struct STSaisieBoite {
    std::wstring sLibelle;
    std::wstring sValeur;
    int nType = 0;  // the language type of the variable it fills (0: text)
};

// A question shown as a dialog: message, kind (1 question, 2 warning,
// 3 information), buttons, the default and the cancel button (1-based; 0
// none) and its input fields.
struct STQuestionBoite {
    uint64_t nIdentifiant = 0;
    std::wstring sMessage;
    int nGenre = 1;
    std::vector<std::wstring> tabBoutons;
    int nDefaut = 1;
    int nAnnulation = 0;
    std::vector<STSaisieBoite> tabSaisies;
};
// The icon flag of a question's kind.
uint32_t nIconeQuestion(int nGenre);
// A compiled question ready to be shown, its message completed with the
// arguments (%1 ... in the message).
STQuestionBoite QuestionDepuis(const CQuestionExec& q, const std::vector<std::wstring>& tabArguments);
// An input box from a text: OK and Cancel, one field per value.
STQuestionBoite QuestionSaisie(const std::wstring& sMessage, std::vector<STSaisieBoite> tabSaisies);

// What one box is asked to be.
struct STDemandeBoite {
    uint32_t nFlags = 0;
    std::wstring sMessage;
    std::wstring sTitre;                    // explicit title; empty: the rules of the title
    CFenPrincipale* pclProprietaire = nullptr;  // null: the window of the running code
    IVM* piVM = nullptr;                    // the program that asks
    STQuestionBoite* pQuestion = nullptr;   // a dialog; its input values come back in it
    std::wstring sImage;                    // an image shown beside the text (InfoBitmap)
};

// The common routine: the box's result (a button identifier, or for a
// question the pressed button's number). From any thread: the box is built
// and shown on the interface thread while the caller waits.
int nBoiteMessage(STDemandeBoite& d);

// The module's error box with a text, for the host: from any thread and
// outside any running code; its result (-1 without a Qt application).
int nBoiteErreurHote(const wchar_t* pszTexte);

// What the routine settled, handed to the Qt layer to show.
struct STAffichageBoite {
    uint32_t nFlags = 0;
    std::wstring sTitre, sMessage, sImage;
    int nDelaiMs = 0;                        // automatic close; 0 none
    CFenPrincipale* pclProprietaire = nullptr;
    bool bAutreThread = false;               // requested from another thread
    STQuestionBoite* pQuestion = nullptr;
};

// Set by the Qt layer: shows the box (system box or the module's dialog)
// and returns its result (-1 without a Qt application).
extern int (*gpfnAfficheBoite)(STAffichageBoite& st);
// Set by the Qt layer: runs the work on the interface thread and waits.
extern void (*gpfnSurThreadPrincipal)(const std::function<void()>& fn);

// The title of a box: the explicit title, else the title set for the next
// box, else the owner's title (without drawing commands), else the
// project's name.
std::wstring sTitreBoite(const std::wstring& sExplicite, const std::wstring& sSuivant, CFenPrincipale* pclProprietaire,
                         const std::wstring& sNomProjet);

// The automatic-close delay for the duration of one call, put back
// whatever happens.
class CDelaiTemporaire {
public:
    explicit CDelaiTemporaire(int nMs);
    ~CDelaiTemporaire();
    CDelaiTemporaire(const CDelaiTemporaire&) = delete;
    CDelaiTemporaire& operator=(const CDelaiTemporaire&) = delete;

private:
    int m_nAvant;
};

} // namespace kvboites
