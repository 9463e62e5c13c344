// One mapping of a window file (a window, a control, a menu option, a
// style...) read key by key into a record: typed values, each error at its
// file:line:column, and at the end every key of the mapping that no reader
// asked for is reported as unknown, so a misspelt key is never ignored.
//
//   CEntreeYAML e(noeud, sFichier, diag, "a static");
//   e.Connues({"static", "code"});          // keys other readers take
//   if (e.bTexte("caption", s)) c.SetLibelle(s.c_str());
//   int32_t n;
//   if (e.bEntier("plane", n, 0, 1000)) c.SetPlan(n);
//   bool bOk = e.bFin();
//
// Every getter counts its key as known whether or not the mapping has it;
// it returns true when the key is there with a valid value, and reports a
// value of the wrong shape (bOk() turns false).
#pragma once
#include "Diagnostics.h"
#include "base/CTString.h"
#include <yaml-cpp/yaml.h>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

// A named value of a choice ("align: centre").
struct STChoix {
    const char* pszNom;
    int32_t nValeur;
};

class CEntreeYAML {
public:
    // sQuoi names the entry in messages ("a static", "the style").
    CEntreeYAML(YAML::Node noeud, std::string sFichier, CDiagnostics& diag, std::string sQuoi);
    CEntreeYAML(const CEntreeYAML&) = delete;
    CEntreeYAML& operator=(const CEntreeYAML&) = delete;

    const YAML::Node& Noeud() const { return m_noeud; }
    const std::string& sFichier() const { return m_sFichier; }
    CDiagnostics& Diag() { return m_diag; }
    STPosition Position(const YAML::Node& n) const;
    STPosition Position(const char* pszCle) const;  // of the key, else of the mapping
    void Erreur(const YAML::Node& n, const std::string& s);
    void Erreur(const char* pszCle, const std::string& s);  // at the key
    bool bOk() const { return m_bOk; }

    // Keys that other readers take (the kind key, "code"...).
    void Connues(std::initializer_list<const char*> tab);
    // The value of a key (an undefined node when absent); counts as known.
    YAML::Node Valeur(const char* pszCle);
    bool bPresent(const char* pszCle);

    // Typed values. A null value ("caption:") is the empty text for texts
    // and an error for the others.
    bool bTexte(const char* pszCle, CTString& s);
    // A name: letters, digits and '_', not starting with a digit.
    bool bNom(const char* pszCle, CTString& s);
    bool bBooleen(const char* pszCle, bool& b);
    bool bEntier(const char* pszCle, int32_t& n, int64_t nMin, int64_t nMax);
    // A list of exactly nNombre integers ("[x, y]"); pszForme names it in messages.
    bool bEntiers(const char* pszCle, int32_t* p, size_t nNombre, const char* pszForme, int64_t nMin, int64_t nMax);
    // A colour: 0xBBGGRR (or decimal) up to 0xFFFFFF, or a name; with
    // bSpeciales, "automatic" and "transparent" too.
    bool bCouleur(const char* pszCle, uint32_t& n, bool bSpeciales);
    bool bChoix(const char* pszCle, std::initializer_list<STChoix> tab, int32_t& n);
    // A list of names ("groups: [A, B]").
    bool bNoms(const char* pszCle, std::vector<CTString>& tab);
    // A nested mapping read as an entry of its own (null when absent or not
    // a mapping, which is reported). Its errors and unknown keys count for
    // this entry once its bFin() is called.
    std::unique_ptr<CEntreeYAML> pSousEntree(const char* pszCle, const std::string& sQuoi);

    // Reports the keys nobody asked for; true when this entry (and its
    // sub-entries) reported no error.
    bool bFin();

    // Values of scalars, shared with readers of lists.
    static bool sbEntier(const std::string& s, int64_t& n);
    static bool sbCouleur(const std::string& s, bool bSpeciales, uint32_t& n);
    static std::string sNomsCouleurs();
    static bool sbNomValide(const std::wstring& s);

private:
    bool bScalaire(const YAML::Node& v, const char* pszCle, const char* pszAttendu);

    YAML::Node m_noeud;
    std::string m_sFichier;
    CDiagnostics& m_diag;
    std::string m_sQuoi;
    std::set<std::string> m_setConnues;
    bool m_bOk = true;
    bool m_bFini = false;
    CEntreeYAML* m_pParent = nullptr;
};
