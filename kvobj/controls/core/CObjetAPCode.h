// Objects that own event code: windows, controls, columns, menus, groups.
// The host finds an object's code by its 64-bit identifier and the event
// number.
#pragma once
#include "base/CObjet.h"
#include "base/CTString.h"
#include "kv/vm.h"
#include <cstdint>
#include <vector>

// Event numbers.
enum eID_FEN_TRAITEMENT : int {
    eTRT_DECLARATION = 0,
    eTRT_FERMETURE = 2,
    eTRT_ACTIVATION_11 = 11,
    eTRT_ACTIVATION_12 = 12,
    eTRT_REDIMENSIONNEMENT = 13,
    eTRT_INITIALISATION = 14,
    eTRT_ENTREE = 15,
    eTRT_SORTIE = 16,
    eTRT_MODIFICATION = 17,
    eTRT_CLIC = 18,
    eTRT_ENTREE_LIGNE = 19,
    eTRT_SORTIE_LIGNE = 20,
    eTRT_AFFICHAGE_LIGNE = 21,
    eTRT_POTAR = 28,
    eTRT_DOUBLE_CLIC_IMAGE = 31,
    eTRT_OPTION_MENU = 32,
    eTRT_SELECTION_LIGNE = 33,
    eTRT_INIT_FENETRE = 34,
    eTRT_FIN_INIT_LISTE = 35,
    eTRT_LOUPE = 41,
    eTRT_LECTURE_SUPERCHAMP = 42,
    eTRT_ZR_43 = 43,
    eTRT_TRI_COLONNE = 44,
    eTRT_OUVERTURE_COMBO = 116,
    eTRT_FERMETURE_COMBO = 117,
    eTRT_CALENDRIER_MOIS = 118,
    eTRT_CALENDRIER_JOUR = 120,
    eTRT_CALENDRIER_AUJOURDHUI = 124,
    eTRT_CALENDRIER_MOIS_2 = 149,
    eTRT_SURVOL_ENTREE = 152,
    eTRT_SURVOL_SORTIE = 153,
    eTRT_BULLE_LISTE = 167,
    eTRT_COMBO_ACCEPTE_SORTIE = 175,
    eTRT_FERMETURE_FILLE = 177,
    eTRT_ETAT_200 = 200,
    eTRT_APPLICATION_ACTIVEE = 220,
    eTRT_APPLICATION_DESACTIVEE = 221,
    eTRT_REDIM_COLONNE = 228,
};

// End of an event table: any value of 0xFFFFFFFE or above.
inline constexpr uint32_t nFIN_TABLE_PCODE = 0xFFFFFFFE;

class CFenPrincipale;
class CChamp;
class CFenCommun;
class ISurchargeTraitement;
class CAny;

// Declares a class's own accessors of a property.
#define KV_ACCESSEURS(id) \
    void xGet_Prop##id(CAny* pclValeur) override; \
    void xSet_Prop##id(const CAny& clValeur) override;

// Thrown by a property accessor the object does not have.
class CXPropNomImplemente : public CXException {};

class CObjetAPCode : public CObjet {
public:
    const wchar_t* pszGetName() const { return m_sNom.c_str(); }
    const CTString& sGetNom() const { return m_sNom; }
    virtual void SetName(const wchar_t* psz) { m_sNom.Set(psz); }
    uint64_t qwGetID() const { return m_qwID; }
    void SetQWID(uint64_t n) { m_qwID = n; }
    // A fresh identifier for objects created at run time.
    void GenerateNewID();

protected:
    CTString m_sNom;
    uint64_t m_qwID = 0;
};

class CObjetAPCodeOBJ : public CObjetAPCode {
public:
    // Code page of the object's texts in its description.
    virtual unsigned vdwGetCodePageDeserial() const { return m_nCodePage; }
    virtual void vForceCodePage(unsigned n) { m_nCodePage = n; }

    // Events with compiled code, and events whose optional code is in use:
    // lists ended by a value of nFIN_TABLE_PCODE or above.
    virtual const uint32_t* _vpclGetTablePcodeUtilise() const { return m_tabPcode.data(); }
    virtual const uint32_t* _vpclGetTablePcodeOptionnelUtilise() const { return m_tabPcodeOptionnel.data(); }
    void SetTablePcode(std::vector<uint32_t> tab, std::vector<uint32_t> tabOptionnel = {});
    // Kind 0: compiled code exists; kind 1: optional code in use; else false.
    bool bPCodeInfo(int nEvenement, int nGenre) const;
    // Asks the virtual machine; the default when no virtual machine is attached.
    bool bPossedeCode(int nEvenement, bool bDefaut) const;

    virtual IVM* piGetVM() const;
    virtual CFenPrincipale* vpclGetFenPrincipale() const { return nullptr; }
    virtual CFenCommun* vpclGetFenCommun() { return nullptr; }
    virtual CChamp* pclCastToChamp() { return nullptr; }
    virtual CFenPrincipale* vpclCastToFenPrincipale() { return nullptr; }
    // Full language name ("FEN.CHAMP"...).
    virtual CTString GetNomComplet() const { return m_sNom; }
    // A handler override of this object (null: none).
    virtual ISurchargeTraitement* vpiGetSurchargeTraitement() { return nullptr; }
    // A child of this object by name (modes of the name resolution).
    virtual CObjetAPCodeOBJ* vpclGetObjetAPCodeOBJFromName(const wchar_t* pszNom, int nMode);
    // The sub-object of a qualified name's "[n]" (1-based: a tab pane, a
    // row...); null for objects without indexed parts.
    virtual CObjetAPCodeOBJ* vpclGetSousObjetIndice(int /*n*/) { return nullptr; }

    // The object's kind (ID_OBJET), as the property Type reads it.
    virtual int nGetIDObjet() const { return -1; }
    // The type name shown in error messages.
    virtual const wchar_t* pszGetNomType() const { return L"object"; }
    // Whether the object accepts a change of its Multiligne property now.
    virtual bool vbAccepteChangementMultiligne() const { return false; }

    // Property accessors, one pair per property; an object overrides those
    // it has. The others throw CXPropNomImplemente.
#define KV_PROP(n, id, nom, en, type) \
    virtual void xGet_Prop##id(CAny* pclValeur); \
    virtual void xSet_Prop##id(const CAny& clValeur);
#define KV_PROP_NONCE(n)
#include "frame/Proprietes.def"
#undef KV_PROP
#undef KV_PROP_NONCE
    void xGet_Prop_NonCE(CAny* pclValeur);
    void xSet_Prop_NonCE(const CAny& clValeur);

protected:
    unsigned m_nCodePage = 1252;
    std::vector<uint32_t> m_tabPcode{nFIN_TABLE_PCODE};
    std::vector<uint32_t> m_tabPcodeOptionnel{nFIN_TABLE_PCODE};
};
