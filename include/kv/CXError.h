// The error object that travels between the module and the host.
// Header-only on purpose: both shared objects include it and neither needs
// the other's code to read an error.
#pragma once
#include <string>
#include <vector>
#include <atomic>

namespace kv {}

// Levels of an error object. A reset object is at level 1 ("nothing to
// report"); every error the module raises is at level 3.
enum eNIVEAU_ERREUR : int {
    eNIVEAU_AUCUN = 1,
    eNIVEAU_WARNING = 2,
    eNIVEAU_ERREUR = 3,
};

class CXException {
public:
    virtual ~CXException() = default;
};

class CXError : public CXException {
public:
    CXError() = default;
    CXError(const wchar_t* module, int number, std::vector<std::wstring> args = {},
            std::wstring message = {}, int level = eNIVEAU_ERREUR)
        : m_sModule(module), m_nErreur(number), m_nNiveau(level),
          m_tabArgs(std::move(args)), m_sMessage(std::move(message)) {}
    CXError(const CXError& o)
        : CXException(), m_sModule(o.m_sModule), m_nErreur(o.m_nErreur), m_nNiveau(o.m_nNiveau),
          m_tabArgs(o.m_tabArgs), m_sMessage(o.m_sMessage) {}
    CXError& operator=(const CXError& o) {
        m_sModule = o.m_sModule; m_nErreur = o.m_nErreur; m_nNiveau = o.m_nNiveau;
        m_tabArgs = o.m_tabArgs; m_sMessage = o.m_sMessage;
        return *this;
    }

    void AddRef() { ++m_nRef; }
    int nRelease() { int n = --m_nRef; if (n == 0) delete this; return n; }

    void RAZ() { m_sModule.clear(); m_nErreur = 0; m_nNiveau = eNIVEAU_AUCUN; m_tabArgs.clear(); m_sMessage.clear(); }
    bool bEstErreur() const { return m_nNiveau >= eNIVEAU_ERREUR && m_nErreur != 0; }

    int nGetErreur() const { return m_nErreur; }
    int nGetNiveau() const { return m_nNiveau; }
    const std::wstring& sGetModule() const { return m_sModule; }
    const std::wstring& sGetMessage() const { return m_sMessage; }
    const std::vector<std::wstring>& tabGetArgs() const { return m_tabArgs; }

    void SetMessage(std::wstring s) { m_sMessage = std::move(s); }
    void SetNiveau(int n) { m_nNiveau = n; }

    std::wstring m_sModule;
    int m_nErreur = 0;
    int m_nNiveau = eNIVEAU_AUCUN;
    std::vector<std::wstring> m_tabArgs;
    std::wstring m_sMessage;

private:
    std::atomic<int> m_nRef{1};
};
