// The compiled project: one SQLite file that the compiler writes and the
// host reads.
//
//   parametre(cle, valeur)                  project settings (name, first window, code page...)
//   description(nom, type, donnees)         compiled descriptions by name and type
//   code(id, evenement, langage, source, nom)  event code by object identifier and event
//   objet(id, nom)                          object identifier to full name
//
// The file carries our application id and the container format version in
// its header (PRAGMA application_id / user_version); any other file is
// refused with a message. A new container is written to FILE.tmp and renamed
// onto FILE only when complete, so a failed compilation never leaves a
// half-written project behind.
//
// Texts are UTF-8. Description names and object names compare without
// regard to case (ASCII and Latin letters, see Identifiants.h).
//
// Failures are return values with a message (sGetErreur), never exceptions:
// the host links this code and must survive a damaged or foreign file.
// One object is used by one thread at a time.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct sqlite3;

// Types of descriptions in the container.
enum eTYPE_DESCRIPTION : int {
    eTYPE_DESCRIPTION_PROJET = 1,   // the project description, named after the project
    eTYPE_DESCRIPTION_FENETRE = 2,  // a window
    eTYPE_DESCRIPTION_AUTRE = 8,    // other descriptions
};

enum eRESULTAT_LECTURE : int {
    eLECTURE_OK = 0,
    eLECTURE_ABSENT = 1,   // no such entry; sGetErreur() is empty
    eLECTURE_ERREUR = 2,   // sGetErreur() says why
};

struct STEntreeDescription {
    std::string sNom;
    int nType = 0;
    size_t nTaille = 0;
};

struct STEntreeCode {
    uint64_t nId = 0;
    uint32_t nEvenement = 0;
    std::string sLangage;
    std::string sSource;
    std::string sNom;   // full name of the object, for messages
};

class CConteneurProjet {
public:
    // "KVPJ": the header's application id of every container.
    static constexpr int32_t nAPPLICATION_ID = 0x4B56504A;
    static constexpr int32_t nVERSION_FORMAT = 1;

    CConteneurProjet() = default;
    ~CConteneurProjet();
    CConteneurProjet(const CConteneurProjet&) = delete;
    CConteneurProjet& operator=(const CConteneurProjet&) = delete;

    // Writing: bCree starts FILE.tmp (an old one is replaced); bValide
    // completes it and renames it onto FILE; Abandonne (or the destructor
    // without bValide) removes it.
    bool bCree(const std::string& sChemin);
    bool bValide();
    void Abandonne();

    // Reading: opens an existing container read-only after checking its
    // header and its tables.
    bool bOuvre(const std::string& sChemin);
    void Ferme();

    bool bEstOuvert() const { return m_pBase != nullptr; }
    bool bEnEcriture() const { return m_bEcriture; }
    const std::string& sGetErreur() const { return m_sErreur; }

    // Settings.
    bool bSetParametre(std::string_view sCle, std::string_view sValeur);
    eRESULTAT_LECTURE eGetParametre(std::string_view sCle, std::string& sValeur);
    bool bListeParametres(std::vector<std::pair<std::string, std::string>>& tab);

    // Descriptions. Putting a name that exists (in any case) replaces it.
    bool bAjouteDescription(std::string_view sNom, int nType, const void* pDonnees, size_t nTaille);
    bool bAjouteDescription(std::string_view sNom, int nType, const std::vector<uint8_t>& tab) {
        return bAjouteDescription(sNom, nType, tab.data(), tab.size());
    }
    eRESULTAT_LECTURE eLitDescription(std::string_view sNom, int nType, std::vector<uint8_t>& tab);
    // By type then name.
    bool bListeDescriptions(std::vector<STEntreeDescription>& tab);

    // Objects: an identifier keeps one name; giving it another name is an
    // identifier collision and fails.
    bool bAjouteObjet(uint64_t nId, std::string_view sNomComplet);
    eRESULTAT_LECTURE eGetNomObjet(uint64_t nId, std::string& sNom);

    // Event code. Putting (id, event) again replaces it.
    bool bAjouteCode(uint64_t nId, uint32_t nEvenement, std::string_view sLangage, std::string_view sSource,
                     std::string_view sNomComplet);
    eRESULTAT_LECTURE eLitCode(uint64_t nId, uint32_t nEvenement, STEntreeCode& st);
    // By object name then event.
    bool bListeCode(std::vector<STEntreeCode>& tab);

private:
    bool bErreur(std::string s);
    bool bErreurSQL(const char* pszQuoi);
    bool bExecute(const char* pszSQL);
    bool bVerifieEntete(const std::string& sChemin);
    bool bVerifieTables();
    // The stored spelling of a description name equal to sNom without
    // regard to case, if any.
    eRESULTAT_LECTURE eTrouveNomDescription(std::string_view sNom, int nType, std::string& sStocke);

    sqlite3* m_pBase = nullptr;
    bool m_bEcriture = false;
    std::string m_sChemin;      // final path when writing
    std::string m_sTemporaire;  // FILE.tmp when writing
    std::string m_sErreur;
};
