// The base of every control: the common part of its description, identity,
// state, tab and stacking order, planes and panes, groups, initial value,
// database link, anchoring rates and the persistence of its value.
#pragma once
#include "controls/core/CAny.h"
#include "controls/core/CKVBufferMark.h"
#include "controls/core/CStyleChamp.h"
#include "controls/core/VueChamp.h"
#include "frame/Numeros.h"
#include "windows/CFenQT.h"
#include <QPoint>
#include <memory>
#include <vector>

class CConteneurChamp;
class CFenPrincipale;
class CIChamp;
struct CSimpleBuffer;

// The file item (or formula) a control is bound to.
struct CLienQB {
    CTString sTexte;          // the link in text form, or "#FORMULE#="
    CTString sNomLien;        // with a formula: the link name
    CTString sFormule;        // with a formula: its text
    bool bEstFormule() const { return sTexte == L"#FORMULE#="; }
    bool bEstVide() const { return sTexte.empty(); }
};

// The plane of a control and, when it is not 0, its secondary planes.
struct CPlanDuChamp {
    int32_t nPlan = 0;
    std::vector<int32_t> tabSecondaires;
    bool bEstDansPlan(int nPlanFenetre) const;
};

// Flag bytes of a control.
inline constexpr uint8_t FLAG0_CODE_SORTIE = 0x02;     // exit code running
inline constexpr uint8_t FLAG0_CODE_ENTREE = 0x04;     // entry code running
inline constexpr uint8_t FLAG0_CODE_MODIFICATION = 0x08; // modification code running
inline constexpr uint8_t FLAG0_DANS_ZR_COLONNE = 0x20; // lives in a looper or column container
inline constexpr uint8_t FLAG0_UNICODE = 0x80;
inline constexpr uint8_t FLAG1_SANS_IDENTITE = 0x20;   // created at run time or cloned

class CChamp : public CFenCommunQT {
public:
    CChamp();
    ~CChamp() override;

    // Kind number (ID_OBJET).
    virtual int dwGetId() const = 0;
    CChamp* pclCastToChamp() override { return this; }

    // Reading and writing the control's description: the common control
    // record, then the control's own fields.
    virtual void _Deserialize(CLecteurKV& ar);
    virtual void _Serialize(CEcrivainKV& ar);
    // A description handed over whole: a 4-byte word, then the record.
    void xFromBuffer(const CSimpleBuffer& st);
    void xStyleFromBuffer(const CSimpleBuffer& st);

    template <class A>
    friend void serialise(A& ar, CChamp& c);

    // Window, container, parent control.
    CFenPrincipale* vpclGetFenPrincipale() const override { return m_pclFenetre; }
    void SetFenetrePrincipale(CFenPrincipale* f) { m_pclFenetre = f; }
    CConteneurChamp* pclGetConteneur() const { return m_pclConteneur; }
    void SetConteneur(CConteneurChamp* c) { m_pclConteneur = c; }
    CChamp* pclGetChampParent() const { return m_pclParent; }
    virtual void vSetChampParent(CChamp* p) { m_pclParent = p; }
    IVM* piGetVM() const override;

    // Caption and simple fields.
    virtual void SetLibelle(const wchar_t* psz) { m_sLibelle.Set(psz); }
    virtual const wchar_t* pszGetLibelle() const { return m_sLibelle.c_str(); }
    const CAny& clGetValeurInitiale() const { return m_clValeurInitiale; }
    void SetValeurInitiale(const CAny& cl) { m_clValeurInitiale = cl; }
    const CLienQB& GetLienQB() const { return m_lienQB; }
    const CTString& sGetGroupes() const { return m_sGroupes; }
    void SetGroupes(const wchar_t* psz) { m_sGroupes.Set(psz); }
    bool bEstDansGroupe(const wchar_t* pszGroupe) const;
    const CPlanDuChamp& GetPlan() const { return m_plan; }
    void SetPlan(int n) { m_plan.nPlan = n; }
    const std::vector<int32_t>& tabGetVolets() const { return m_tabVolets; }
    int32_t nGetTauxAncrage(int i) const { return m_tabTaux[i]; }
    void SetTauxAncrage(int i, int32_t n) { m_tabTaux[i] = n; }
    uint16_t wGetAutoExtension() const { return m_wAutoExtension; }
    bool bGetMemoriserValeur() const { return m_bMemoriserValeur; }
    void SetMemoriserValeur(bool b) { m_bMemoriserValeur = b; }
    uint8_t byGetFlag(int i) const { return m_abyFlags[i]; }
    void SetFlag(int i, uint8_t by, bool b) { if (b) m_abyFlags[i] |= by; else m_abyFlags[i] &= static_cast<uint8_t>(~by); }
    const STStyleChamp& GetStyle() const { return m_style; }
    int32_t nGetStyleAscenseur() const { return m_nStyleAscenseur; }
    STStyleChamp& Style() { return m_style; }
    const CTString& sGetChampModeleBase() const { return m_sChampModeleBase; }
    const wchar_t* pszNomOrigineClone() const { return m_sNomOrigineClone.c_str(); }
    uint64_t qwGetOptionsFAA() const { return m_qwOptionsFAA; }
    std::pair<int32_t, int32_t> GetEntiers606() const { return {m_nEntier606a, m_nEntier606b}; }
    QPoint ptGetOrigineParent() const { return m_ptOrigineParent; }

    // Tab and stacking order.
    bool bGetTabStop() const { return m_bTabStop; }
    void SetTabStop(bool b);
    void SetTabStopDirect(bool b) { m_bTabStop = b; }
    int nGetTabOrder() const { return m_nTabOrder; }
    void SetTabOrder(int n) { m_nTabOrder = n; }
    void SetTabOrderAndValidate(int n);
    bool bGetPrendFocus() const { return m_bPrendFocus; }
    void SetPrendFocus(bool b) { m_bPrendFocus = b; }
    uint32_t dwGetLettreAppel() const { return m_dwLettreAppel; }
    void SetLettreAppel(uint32_t n) { m_dwLettreAppel = n; }
    virtual int nGetZOrder() const { return m_nZOrder; }
    virtual void SetZOrder(int n) { m_nZOrder = n; }
    // Tab stop, visible and enabled.
    virtual bool vbTabStop() const;

    // States.
    void SetState(FEN_ETAT e) override;
    virtual bool bIsVisible() const;
    virtual bool bIsGrayed() const;
    virtual bool bIsEnabled() const;
    virtual bool bIsReadOnly() const;
    bool bEstDansPlanVisible() const;
    bool bEnSaisie() const { return m_eEtat == eETAT_ACTIF || m_eEtat == eETAT_GRISE; }
    virtual void SetVisible(bool b);
    bool bGetVisible() const { return m_bVisible; }

    // Full language name.
    CTString GetNomComplet() const override;
    CObjetAPCodeOBJ* vpclGetObjetAPCodeOBJFromName(const wchar_t* pszNom, int nMode) override;
    // Controls whose panes are named (tab controls): children in a pane are
    // named "%s[%d].%s".
    virtual bool vbVoletsNommes() const { return false; }
    // A mandatory input left empty (edits answer; the window's mandatory
    // check and validation buttons ask).
    virtual bool vbSaisieObligatoireVide() const { return false; }
    // Tells the user that this mandatory input is empty.
    virtual void vSignaleSaisieObligatoireVide() {}

    // Persistence of the value between runs.
    CTString _GetNomCleConfiguration() const;
    CTString _vCalcCheckSumConfiguration() const;
    void _SauveValeurPersistante();
    bool _bRestaureValeurPersistante();
    bool _vbMarquePersistanceOK() const;
    virtual CAny _vGetValeurPourPersistance() const;
    virtual void _vSetValeurPourPersistance(const CAny& cl);

    // Event code of a control.
    virtual void vExecutePCodeInit();
    // Closing code of controls that have one (internal windows); false refuses.
    virtual bool vbExecuteCodeFermeture() { return true; }
    bool _bExecuteCodeEntree();
    bool _bExecuteCodeSortie();
    // Whether the control may be left now: its own checks, then its exit
    // code. False keeps the focus here.
    virtual bool vbAccepteSortie() { return _bExecuteCodeSortie(); }
    bool vbInPcodeDEntree() const { return (m_abyFlags[0] & FLAG0_CODE_ENTREE) != 0; }
    bool vbInPcodeDeSortie() const { return (m_abyFlags[0] & FLAG0_CODE_SORTIE) != 0; }
    bool vbInPcodeDeModification() const { return (m_abyFlags[0] & FLAG0_CODE_MODIFICATION) != 0; }
    // Runs the modification code (event 17), marked as running meanwhile:
    // a focus request it makes leaves the control through its exit code.
    void _ExecuteCodeModification();
    bool bEstVivant() const { return m_bVivant; }
    void SetDetruit() { m_bVivant = false; }

    // View: the control's widget, made under its window's widget by the Qt
    // layer (VueChamp.cpp and each family's view); nothing without one.
    void InitSurOnCreate(QWidget* pParent);
    // The family whose view the Qt layer makes for this object (its kind
    // for the families' classes; -1: a plain widget).
    virtual int vnGenreVue() const { return -1; }
    // The widget's interface while the control has a widget, else null.
    IVueChamp* pclGetVueChamp() const { return pGetWidget() ? m_pVue.get() : nullptr; }
    virtual void vTermSurOnDestroy();
    // Applies state, visibility and geometry to the widget.
    virtual void vMAJVue();

    // Values the view shows. RAZ and InitFenetre: the control's value is
    // emptied, or with bValeurInitiale set back to its description's initial
    // value; controls without a value of their own change nothing. True when
    // the control is done.
    virtual bool vbResetValue(bool /*bValeurInitiale*/) { return true; }

    // The program's error mark (ChampErreur): empty when the control is not
    // marked.
    const CTString& sGetMessageErreur() const { return m_sMessageErreur; }
    void SetMessageErreur(const wchar_t* psz);
    // The colour of selected text and items (CouleurSelection); nCOULEUR_AUTO
    // for the platform's.
    uint32_t nGetCouleurSelection() const { return m_nCouleurSelection; }
    void SetCouleurSelection(uint32_t n);

    // Controls made of rows or repeated elements (lists, tables, loopers)
    // answer these: the element count, the current element and the one
    // about to become current (1-based, 0 for none). The others answer -1:
    // they have no elements.
    virtual int vnGetOccurrence() const { return -1; }
    virtual int vnGetIndiceEnCours() const { return -1; }
    virtual int vnGetIndiceSuivant() const { return -1; }

    CIChamp* pclGetIChamp();
    // Makes the language face once: each family gives its own.
    virtual CIChamp* vpclCreeIChamp();

    // Properties every control has.
    int nGetIDObjet() const override { return dwGetId(); }
    KV_ACCESSEURS(Nom)
    KV_ACCESSEURS(Type)
    KV_ACCESSEURS(Message)
    KV_ACCESSEURS(Libelle)
    KV_ACCESSEURS(MenuContextuel)
    KV_ACCESSEURS(Note)
    KV_ACCESSEURS(Colonne)
    KV_ACCESSEURS(Ligne)
    KV_ACCESSEURS(Hauteur)
    KV_ACCESSEURS(Largeur)
    KV_ACCESSEURS(Couleur)
    KV_ACCESSEURS(CouleurFond)
    KV_ACCESSEURS(Etat)
    KV_ACCESSEURS(EtatInitial)
    KV_ACCESSEURS(XInitial)
    KV_ACCESSEURS(YInitial)
    KV_ACCESSEURS(LargeurInitiale)
    KV_ACCESSEURS(HauteurInitiale)
    KV_ACCESSEURS(ValeurInitiale)
    KV_ACCESSEURS(Plan)
    KV_ACCESSEURS(TitreNote)
    KV_ACCESSEURS(Visible)
    KV_ACCESSEURS(VisibleInitial)
    KV_ACCESSEURS(TabOrder)
    KV_ACCESSEURS(ZOrder)
    KV_ACCESSEURS(Groupe)
    KV_ACCESSEURS(TauxAncrageDroite)
    KV_ACCESSEURS(TauxAncrageLargeur)
    KV_ACCESSEURS(TauxAncrageBas)
    KV_ACCESSEURS(TauxAncrageHauteur)
    KV_ACCESSEURS(NomComplet)
    KV_ACCESSEURS(Grise)
    KV_ACCESSEURS(EnSaisie)
    KV_ACCESSEURS(LargeurLibelle)
    KV_ACCESSEURS(ToucheRaccourci)
    KV_ACCESSEURS(MemoriserLaValeur)

protected:
    virtual void vLitSpecifique(CLecteurKV&) {}
    virtual void vEcritSpecifique(CEcrivainKV&) {}

    uint32_t m_nVersionChamp = 617;
    STStyleChamp m_style;
    QPoint m_ptOrigineParent;
    CTString m_sLibelle;
    CLienQB m_lienQB;
    CTString m_sTexteLien;
    bool m_bTabStop = false;
    bool m_bPrendFocus = true;
    uint32_t m_dwLettreAppel = 0;
    bool m_bDansVoletExterne = false;
    int32_t m_nTabOrder = -1;
    int32_t m_nZOrder = 0;
    CPlanDuChamp m_plan;
    CAny m_clValeurInitiale;
    uint16_t m_wAutoExtension = 0;
    int32_t m_tabTaux[4] = {0, 0, 0, 0};
    CTString m_sGroupes;
    CTString m_sChampModeleBase;
    int32_t m_nEntier606a = 0, m_nEntier606b = 0;
    bool m_bMemoriserValeur = false;
    CTString m_sNomOrigineClone;
    uint64_t m_qwOptionsFAA = 0;
    CTString m_sMessageErreur;
    uint32_t m_nCouleurSelection = nCOULEUR_AUTO;
    uint8_t m_abyFlags[2] = {0, 0};
    CTString m_sLienObjetSource;
    std::vector<int32_t> m_tabVolets;
    bool m_bVisible = true;
    bool m_bVivant = true;
    CChamp* m_pclParent = nullptr;
    CConteneurChamp* m_pclConteneur = nullptr;
    CFenPrincipale* m_pclFenetre = nullptr;
    CIChamp* m_pclIChamp = nullptr;
    std::unique_ptr<IVueChamp> m_pVue;
    int32_t m_nStyleAscenseur = 0;  // scroll bar style, from the style record
};

// Common control record: versions 602 to 700, a declared size always.
template <class A>
void serialise(A& ar, CChamp& c) {
    CEnregistrement<A> rec(ar, c.m_nVersionChamp, {602, 700, 602}, "Control");
    serialise(ar, c.m_style);
    serialise(ar, static_cast<CFenCommun&>(c));
    int32_t o[2] = {c.m_ptOrigineParent.x(), c.m_ptOrigineParent.y()};
    ar(o[0], "origin_x");
    ar(o[1], "origin_y");
    ar.TexteUtilisateur(c.m_sLibelle, "caption");
    ar(c.m_plan.nPlan, "plane");
    CTString sInit;
    if constexpr (!A::bLecture) {
        if (c.m_clValeurInitiale.nGetType() != 0) c.m_clValeurInitiale.__nCastToString(sInit);
    }
    ar.TexteUtilisateur(sInit, "initial_value");
    ar(c.m_wAutoExtension, "auto_extension");
    ar.Texte(c.m_lienQB.sTexte, eMODE_TSTRING_0, CP_1252, "link");
    if (c.m_lienQB.bEstFormule()) {
        ar.Texte(c.m_lienQB.sNomLien, eMODE_TSTRING_0, CP_1252, "link_name");
        // The formula: a marked block with a header, holding its text.
        CKVBuffer& b = ar.Buffer();
        if constexpr (A::bLecture) {
            size_t nFin = CKVBufferMark::s_dwReadBeginMark(b);
            CKVBufferMark::s_xVerifieEntete(CKVBufferMark::s_nReadEntete(b, 1, 1, nullptr, nullptr));
            ar.TexteTechnique(c.m_lienQB.sFormule, "formula");
            CKVBufferMark::s_ReadEndMark(b, nFin);
        } else {
            size_t n = CKVBufferMark::s_dwWriteBeginMark(b);
            CKVBufferMark::s_WriteEntete(b, 1, 1);
            ar.TexteTechnique(c.m_lienQB.sFormule);
            CKVBufferMark::s_WriteEndMark(b, n);
        }
    }
    ar(c.m_bTabStop, "tab_stop");
    if (rec.bDepuis(605)) ar(c.m_bPrendFocus, "takes_focus");
    ar(c.m_dwLettreAppel, "call_letter");
    ar(c.m_bDansVoletExterne, "in_pane_external");
    ar(c.m_nTabOrder, "tab_order");
    if (rec.bDepuis(603)) ar.TexteTechnique(c.m_sGroupes, "groups");
    if (rec.bDepuis(604)) ar(c.m_nZOrder, "z_order");
    if (rec.bDepuis(606)) {
        // Stored in the reverse order of reading.
        ar(c.m_nEntier606b, "int_b");
        ar(c.m_nEntier606a, "int_a");
    }
    bool bTaux = rec.bDepuis(607) || (rec.nVersion() == 606 && rec.nResteDeclare() >= 16);
    if constexpr (!A::bLecture) bTaux = rec.bDepuis(606);
    if (bTaux) {
        static const char* const noms[4] = {"anchor_right", "anchor_width", "anchor_bottom", "anchor_height"};
        for (int i = 0; i < 4; ++i) ar(c.m_tabTaux[i], noms[i]);
    }
    if (rec.bDepuis(609)) ar(c.m_bMemoriserValeur, "memorise_value");
    if (rec.bDepuis(610)) ar.template Obsolete<int32_t>();
    if (rec.bDepuis(611)) ar.TexteTechnique(c.m_sChampModeleBase, "template_control");
    if (rec.bDepuis(612)) ar.TexteTechnique(c.m_sLienObjetSource, "source_object");
    if (rec.bDepuis(613)) ar(c.m_qwOptionsFAA, "automatic_features");
    if (rec.bDepuis(614)) {
        int32_t nMef = 0;
        ar(nMef, "conditional_formatting");
        if constexpr (A::bLecture) {
            if (nMef != 0) {
                // Conditional formatting is not supported: its block is skipped.
                CKVBuffer& b = ar.Buffer();
                size_t nFin = CKVBufferMark::s_dwReadBeginMark(b);
                CKVBufferMark::s_ReadEndMark(b, nFin);
            }
        }
    }
    if (rec.bDepuis(616) && c.m_plan.nPlan != 0) {
        uint32_t n = static_cast<uint32_t>(c.m_plan.tabSecondaires.size());
        ar(n, "secondary_planes");
        if constexpr (A::bLecture) {
            c.m_plan.tabSecondaires.clear();
            for (uint32_t i = 0; i < n; ++i) {
                int32_t p;
                ar(p, "plane");
                c.m_plan.tabSecondaires.push_back(p);
            }
        } else {
            for (int32_t p : c.m_plan.tabSecondaires) ar(p);
        }
    }
    if (rec.bDepuis(617)) {
        uint32_t n = static_cast<uint32_t>(c.m_tabVolets.size());
        ar(n, "panes");
        if constexpr (A::bLecture) {
            c.m_tabVolets.clear();
            for (uint32_t i = 0; i < n; ++i) {
                int32_t p;
                ar(p, "pane");
                c.m_tabVolets.push_back(p);
            }
        } else {
            for (int32_t p : c.m_tabVolets) ar(p);
        }
    }
    if constexpr (A::bLecture) {
        c.m_ptOrigineParent = QPoint(o[0], o[1]);
        if (!sInit.empty()) c.m_clValeurInitiale.SetPSTRX(sInit.c_str());
        c.m_wAutoExtension &= 0x0FFF;
        c.m_sTexteLien = c.m_lienQB.bEstFormule() ? c.m_lienQB.sNomLien : c.m_lienQB.sTexte;
        if (c.m_nTabOrder < -1) c.m_nTabOrder = -1;
        if (!rec.bDepuis(616)) c.m_plan.tabSecondaires.clear();
        // A 606 record with the anchoring rates is a 607 record.
        if (rec.nVersion() == 606 && bTaux) c.m_nVersionChamp = 607;
    }
    rec.Fin();
    if constexpr (A::bLecture) c.m_nStyleAscenseur = c.m_style.nStyleAscenseur;
}
