// A compiled project run by the real host for one test: the project folder
// compiled once by kvc, the host loaded with dlopen (it loads the module),
// a safety net that closes every window when a test leaves one open, and a
// clean stop at the end.
#pragma once
#include "Binaires.h"
#include "kv/boites.h"
#include "kv/host.h"
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kvtest {

// The project in folder sDossier compiled by the real kvc, once per run of
// the test program; empty when kvc failed.
inline const std::string& ProjetCompile(const std::string& sDossier) {
    static std::map<std::string, std::string> projets;
    auto it = projets.find(sDossier);
    if (it != projets.end()) return it->second;
    std::string sSortie = RepertoireTemporaire() + "/projet.kvp";
    std::string sCommande = "'" + CheminBinaire("kvc") + "' '" + sDossier + "' -o '" + sSortie + "'";
    if (std::system(sCommande.c_str()) != 0) sSortie.clear();
    return projets[sDossier] = sSortie;
}

// Runs nothing: installed while the host shuts down, so that code a test
// registered does not run after it.
class CRunnerVide : public ICodeRunner {
public:
    bool bPossedeCode(uint64_t, int) override { return false; }
    int nExecute(const STExecutionCode&) override { return 0; }
    int nExecuteProcedure(void*) override { return 0; }
};

class HoteProjet {
public:
    using PFN_KSL = int (*)(STKSAppel*, IKSLibrary*, void**);

    HoteProjet() {
        m_filet.setSingleShot(true);
        QObject::connect(&m_filet, &QTimer::timeout, [this] {
            ADD_FAILURE() << "a window was still open after 10 s";
            if (m_hote && m_hote->piGetExe()) m_hote->piGetExe()->FermeTout();
        });
    }
    ~HoteProjet() {
        m_filet.stop();
        static CRunnerVide vide;
        if (m_reponses) Commande(KV_COMMANDE_INTERCEPTEUR_BOITES, nullptr);
        if (m_hote && m_hote->piGetExe()) {
            m_hote->SetRunner(&vide);
            m_hote->piGetExe()->FermeTout();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        if (m_hote) m_hote->Arrete();
    }
    HoteProjet(const HoteProjet&) = delete;
    HoteProjet& operator=(const HoteProjet&) = delete;

    // Starts the host on a compiled project; the safety net runs from now.
    bool bDemarre(const std::string& sProjet, std::string& sErreur) {
        m_hote.reset(m_vm.Symbole<PFN_KVVM_pCreeHote>("KVVM_pCreeHote")());
        STOptionsHote st;
        st.sProjet = sProjet;
        st.sPersistance = RepertoireTemporaire() + "/persist.sqlite";
        if (!m_hote->bDemarre(st, sErreur)) return false;
        Reponses();
        m_filet.start(10000);
        return true;
    }
    IHote* operator->() const { return m_hote.get(); }
    IHote* get() const { return m_hote.get(); }

    // A window function called as the program calls it: a window name and
    // further parameters. The component's error object tells how it went.
    STSlotAppel AppelleFenetre(const char* pszGlue, const wchar_t* pszNom, std::vector<STValeurHote> tabSupp = {}) {
        STSlotAppel slot;
        slot.tabParamSupp = std::move(tabSupp);
        auto pfn = reinterpret_cast<PFN_KSL>(m_hote->pSymboleModule(pszGlue));
        if (!pfn) return slot;
        const wchar_t* psz = pszNom;
        void* tabArgs[1] = {&psz};
        STKSAppel appel;
        appel.pVM = m_hote->piGetVM();
        appel.pSlot = &slot;
        IKSLibrary* c = m_hote->piGetComposante();
        c->pclGetError()->RAZ();
        pfn(&appel, c, tabArgs);
        return slot;
    }
    // Any glue function with its declared arguments (as the glue reads them)
    // and further parameters.
    STSlotAppel Appelle(const char* pszGlue, std::vector<void*> tabArgs, std::vector<STValeurHote> tabSupp = {}) {
        STSlotAppel slot;
        slot.tabParamSupp = std::move(tabSupp);
        auto pfn = reinterpret_cast<PFN_KSL>(m_hote->pSymboleModule(pszGlue));
        EXPECT_NE(pfn, nullptr) << pszGlue;
        if (!pfn) return slot;
        tabArgs.push_back(nullptr);
        STKSAppel appel;
        appel.pVM = m_hote->piGetVM();
        appel.pSlot = &slot;
        IKSLibrary* c = m_hote->piGetComposante();
        c->pclGetError()->RAZ();
        pfn(&appel, c, tabArgs.data());
        return slot;
    }
    // The module's CommandeComposante.
    intptr_t Commande(int nCode, void* p) {
        auto pfn = reinterpret_cast<PFN_CommandeComposante>(m_hote->pSymboleModule("CommandeComposante"));
        return pfn ? pfn(nCode, p) : 0;
    }
    // Message boxes answered with these results, in order, and what they
    // showed. Once they run out every box is answered with its default
    // button, so that no test waits for a person; a test that shows real
    // boxes calls MontreBoites (and the safety net closes windows, not
    // boxes).
    void MontreBoites() { Reponses().RepondParDefaut(false); }
    CReponsesBoites& Reponses(const std::vector<int>& tab = {}) {
        if (!m_reponses) {
            m_reponses = std::make_unique<CReponsesBoites>();
            m_reponses->RepondParDefaut(true);
            Commande(KV_COMMANDE_INTERCEPTEUR_BOITES, static_cast<IIntercepteurBoites*>(m_reponses.get()));
        }
        for (int n : tab) m_reponses->Ajoute(n);
        return *m_reponses;
    }
    CXError* Erreur() const { return m_hote->piGetComposante()->pclGetError(); }
    // A window or control by its qualified name, as the gate finds it.
    void* pObjet(const wchar_t* pszNom) const { return m_hote->piGetGate()->pclGetObjectFromName(pszNom, nullptr); }

private:
    Bibliotheque m_vm{CheminBinaire("kv190vm.so")};
    std::unique_ptr<IHote> m_hote;
    std::unique_ptr<CReponsesBoites> m_reponses;
    QTimer m_filet;
};

} // namespace kvtest
