// A container of controls (a window, a tab pane, a supercontrol): creates
// them from the description through the object factory, keeps them in
// creation, tab and stacking order, and finds them by name.
#pragma once
#include "controls/core/Archive.h"
#include "base/CTString.h"
#include <QHash>
#include <QString>
#include <vector>

class CChamp;
class CFenPrincipale;
class CObjetAPCodeOBJ;

inline constexpr uint32_t nMARQUEUR_LISTE_CHAMPS = 0xB3F4F2A7;

// Flags of xpclDeserialiseUnChamp.
enum : int {
    eDESER_IGNORE_ERREUR = 1,     // drop a control whose record fails and go on
    eDESER_IGNORE_NON_SUPPORTE = 2,
    eDESER_FORCE_ZORDER = 4,
    eDESER_SANS_NOM = 8,
    // Reading a whole list: controls without a tab order are placed once the
    // list is read, after every order the list gives.
    eDESER_DANS_LISTE = 16,
};

class CConteneurChamp {
public:
    CConteneurChamp() = default;
    virtual ~CConteneurChamp();
    CConteneurChamp(const CConteneurChamp&) = delete;
    CConteneurChamp& operator=(const CConteneurChamp&) = delete;

    // The window whose controls these are, and the control that owns the
    // container (null for a window's own list).
    void SetFenetre(CFenPrincipale* f) { m_pclFenetre = f; }
    CFenPrincipale* pclGetFenetre() const { return m_pclFenetre; }
    virtual CChamp* pclGetChampProprietaire() const { return nullptr; }
    virtual bool vbConteneurGrise() const { return false; }
    virtual bool vbConteneurActif() const { return true; }

    // The control list of a description (reading), and its writer.
    void xDeserialise(CKVBuffer& b, bool bIgnoreErreurs);
    // The same through a reader: with its trace on, every control is
    // printed as it is read (kvc dump).
    void xDeserialise(CLecteurKV& ar, bool bIgnoreErreurs);
    // Where a control of a traced list starts, for the reader's trace.
    struct STTraceChamp {
        bool bTrace;
        uint32_t nNumero;  // from 1
        size_t nDebut;
        uint32_t nTaille;  // declared size, 0 without one
    };
    CChamp* xpclDeserialiseUnChamp(CLecteurKV& ar, int nFlags, int nZOrder = 0, const STTraceChamp* pTrace = nullptr);
    void Serialise(CKVBuffer& b);
    static bool sbEstIDChampSupportePlatforme(int nIDObjet);

    // Controls.
    void AddChamp(CChamp* pclChamp);
    void DelChamp(CChamp* pclChamp);
    void DelChampRecursif(CChamp* pclChamp);
    int nGetNbChamp() const { return static_cast<int>(m_tabChamps.size()); }
    CChamp* pclGetChamp(int i) const { return i >= 0 && i < nGetNbChamp() ? m_tabChamps[i] : nullptr; }
    // By name: bRecursif looks in the table of all descendants.
    CChamp* pclGetChampFromName(const wchar_t* pszNom, bool bRecursif = true) const;
    // The name search of the language: modes 1 and 4 every descendant, 0 the
    // direct children, 3 the direct children and then each child's own search.
    CObjetAPCodeOBJ* pclChercheNom(const wchar_t* pszNom, int nMode) const;
    void EnregistreNom(CChamp* pclChamp);
    void OublieNom(CChamp* pclChamp);
    size_t nGetTailleTableNoms(bool bRecursive) const;

    // Tab and stacking order.
    void AddToTabOrder(CChamp* pclChamp);
    void RemoveFromTabOrder(CChamp* pclChamp);
    int nGetTabOrderMax() const;
    void RepareTabOrder();
    // Renumbers the tab stops 0..n-1 in their order (after a control was dropped).
    void CompacteTabOrder();
    void RepareZOrder();
    CChamp* pclGetChamp_ParTabOrder(int n) const;
    CChamp* pclGetChampFromZOrder(int n) const;
    std::vector<CChamp*> vpclEnumereChamp_ParTabOrder() const;
    std::vector<CChamp*> vpclEnumereChamp_ParZOrder() const;
    std::vector<CChamp*> vpclEnumereChamp_ParOrdreDeCreation() const { return m_tabChamps; }
    void ChampGetListeChampsFilsDirect(std::vector<CChamp*>& tab) const { tab = m_tabChamps; }
    void ChampGetListeTousLesChampsFils(std::vector<CChamp*>& tab) const;

    // Creates a control at run time (name "_AUTO_%d" when none is given).
    CChamp* pclCreeunChampExec(int nIDObjet, const wchar_t* pszNom, int x, int y, int l, int h, bool bVisible);

protected:
    virtual void vApresChargement() {}

    CFenPrincipale* m_pclFenetre = nullptr;
    std::vector<CChamp*> m_tabChamps;
    QHash<QString, CChamp*> m_tabNomsDirects;
    QHash<QString, CChamp*> m_tabNomsTous;
    uint32_t m_nVersionListe = 1701;
};
