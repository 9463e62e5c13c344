// The launcher's work, inside the host: kvrun [options] PROJECT
#include "kv/boites.h"
#include "vm/CHote.h"
#include "vm/Export.h"
#include "vm/Reference.h"
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <set>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

typedef int (*PFN_GLUE)(STKSAppel*, IKSLibrary*, void**);

// Saves each window the first time it is shown, then, once no window shown
// meanwhile waits for its picture, closes every window: what a person would
// see, without a display. A message box or dialog of the module (property
// "kvBoite") is saved the same way, in the same numbering, and answered
// with its default button instead of closing the windows.
class CCaptureFenetres : public QObject {
public:
    CCaptureFenetres(std::string sFichier, IExe* piExe) : m_sFichier(std::move(sFichier)), m_piExe(piExe) {}
    bool eventFilter(QObject* o, QEvent* e) override {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || !w->isWindow()) return false;
        const bool bBoite = w->property("kvBoite").toBool();
        // Windows close once every box shown meanwhile is answered.
        if (bBoite && e->type() == QEvent::Hide && m_boites.erase(w)) {
            // The code that showed the box goes on once the box's own loop
            // ends, and may show the next box: the windows stay until the
            // loops between two boxes have passed.
            ++m_nBoitesRecentes;
            QTimer::singleShot(500, this, [this] {
                --m_nBoitesRecentes;
                if (m_bFermeEnAttente) {
                    m_bFermeEnAttente = false;
                    FermeTout();
                }
            });
        }
        if (e->type() == QEvent::Show && !m_vues.count(w)) {
            m_vues.insert(w);
            // A widget made later at the same address (the next box) is a new one.
            QObject::connect(w, &QObject::destroyed, this, [this, w] {
                m_vues.erase(w);
                m_boites.erase(w);
            });
            QPointer<QWidget> p(w);
            if (bBoite) {
                m_boites.insert(w);
                QTimer::singleShot(150, this, [this, p] {
                    if (!p) return;
                    Sauve(p);
                    PresseDefaut(p);
                });
                return false;
            }
            ++m_nEnAttente;
            QTimer::singleShot(150, this, [this, p] {
                // Windows shown together are all saved before everything closes.
                if (--m_nEnAttente == 0) {
                    QTimer::singleShot(0, this, [this] { FermeTout(); });
                }
                if (p) Sauve(p);
            });
        }
        return false;
    }

private:
    // Closes every window, once no box waits for its answer (a box that
    // follows the one just answered comes first).
    void FermeTout() {
        if (m_boites.empty() && m_nBoitesRecentes == 0) m_piExe->FermeTout();
        else m_bFermeEnAttente = true;
    }
    void Sauve(QWidget* w) {
        std::string s = m_sFichier;
        if (m_nNumero > 0) {
            size_t n = s.rfind('.');
            s.insert(n == std::string::npos ? s.size() : n, "-" + std::to_string(m_nNumero + 1));
        }
        ++m_nNumero;
        bool bOk = w->grab().save(QString::fromStdString(s));
        std::printf("kvrun: %s %s\n", bOk ? "saved" : "could not save", s.c_str());
        std::fflush(stdout);
    }
    // The box's default button, else its first one.
    static void PresseDefaut(QWidget* w) {
        const auto tab = w->findChildren<QPushButton*>();
        QPushButton* b = nullptr;
        for (QPushButton* c : tab)
            if (c->isDefault()) b = c;
        if (!b)
            for (QPushButton* c : tab)
                if (c->isVisible()) {
                    b = c;
                    break;
                }
        if (b) b->click();
    }

    std::string m_sFichier;
    IExe* m_piExe;
    std::set<QWidget*> m_vues;
    std::set<QWidget*> m_boites;  // boxes shown and not yet answered
    bool m_bFermeEnAttente = false;
    int m_nBoitesRecentes = 0;    // boxes answered less than half a second ago
    int m_nNumero = 0;
    int m_nEnAttente = 0;
};

void Usage() {
    std::fprintf(stderr,
                 "usage: kvrun [options] [PROJECT]\n"
                 "  --check              start the module through its entry points and stop it again\n"
                 "  --screenshot FILE    save each window as PNG when it is first shown, then close;\n"
                 "                       message boxes are saved too and answered with their default button\n"
                 "  --answers N,N,...    answer the message boxes in order with these results without\n"
                 "                       showing them (1 OK, 2 Cancel, 6 Yes, 7 No...; a dialog: its\n"
                 "                       button's number); once they run out, boxes are shown\n"
                 "  --persistence FILE   where remembered user values are stored\n"
                 "  --module FILE        the window module to load (default: kv190obj.so beside the host)\n"
                 "  --functions          list the language functions the module implements, a line per syntax\n"
                 "  --properties [KIND]  list the properties of each control kind (or of one: CSaisie, or its number)\n"
                 "The exit status is 1 when an error in event code was not caught.\n");
}

// Opens the project's first window through the module's Ouvre, as the
// program's start would; returns when that window has closed.
// The results of --answers; false when the list is not integers separated by commas.
bool bLitReponses(const std::string& s, std::vector<int>& tab) {
    size_t i = 0;
    while (i <= s.size()) {
        size_t n = s.find(',', i);
        std::string t = s.substr(i, n == std::string::npos ? std::string::npos : n - i);
        char* pFin = nullptr;
        long v = std::strtol(t.c_str(), &pFin, 10);
        if (t.empty() || !pFin || *pFin || v < INT32_MIN || v > INT32_MAX) return false;
        tab.push_back(static_cast<int>(v));
        if (n == std::string::npos) break;
        i = n + 1;
    }
    return true;
}

int nOuvrePremiereFenetre(CHote& hote, const std::string& sCapture) {
    std::wstring sFenetre = hote.sGetParametre("first_window");
    if (sFenetre.empty()) {
        std::fprintf(stderr, "kvrun: the project names no first window\n");
        return 1;
    }
    auto pfnOuvre = reinterpret_cast<PFN_GLUE>(hote.pSymboleModule("KSL_Ouvre_0"));
    if (!pfnOuvre) {
        std::fprintf(stderr, "kvrun: the module has no Ouvre\n");
        return 1;
    }
    std::unique_ptr<CCaptureFenetres> capture;
    if (!sCapture.empty()) {
        // The application is made here so that the capture can watch it; the
        // module uses it as its own.
        if (!QApplication::instance()) {
            static int nArgc = 1;
            static char szApp[] = "App";
            static char* argvApp[] = {szApp, nullptr};
            new QApplication(nArgc, argvApp);
        }
        capture = std::make_unique<CCaptureFenetres>(sCapture, hote.piGetExe());
        qApp->installEventFilter(capture.get());
    }
    STSlotAppel slot;
    STKSAppel appel;
    appel.pVM = hote.piGetVM();
    appel.pSlot = &slot;
    const wchar_t* pszNom = sFenetre.c_str();
    void* args[1] = {&pszNom};
    IKSLibrary* piCompo = hote.piGetComposante();
    piCompo->pclGetError()->RAZ();
    pfnOuvre(&appel, piCompo, args);
    CXError* e = piCompo->pclGetError();
    if (capture) qApp->removeEventFilter(capture.get());
    if (e->bEstErreur()) {
        std::fprintf(stderr, "kvrun: error %d: %ls\n", e->nGetErreur(), e->sGetMessage().c_str());
        return 1;
    }
    return 0;
}

} // namespace

KVVM_EXPORT int KVVM_nMain(int argc, char** argv) {
    STOptionsHote st;
    bool bCheck = false;
    bool bFonctions = false;
    bool bProprietes = false;
    std::string sGenre;
    std::string sCapture;
    std::unique_ptr<CReponsesBoites> reponses;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--check") == 0) {
            bCheck = true;
        } else if (std::strcmp(a, "--screenshot") == 0 && i + 1 < argc) {
            sCapture = argv[++i];
        } else if (std::strcmp(a, "--answers") == 0 && i + 1 < argc) {
            std::vector<int> tab;
            if (!bLitReponses(argv[++i], tab)) {
                std::fprintf(stderr, "kvrun: --answers takes integers separated by commas\n");
                return 2;
            }
            reponses = std::make_unique<CReponsesBoites>(tab);
        } else if (std::strcmp(a, "--persistence") == 0 && i + 1 < argc) {
            st.sPersistance = argv[++i];
        } else if (std::strcmp(a, "--module") == 0 && i + 1 < argc) {
            st.sModule = argv[++i];
        } else if (std::strcmp(a, "--functions") == 0) {
            bFonctions = true;
        } else if (std::strcmp(a, "--properties") == 0) {
            bProprietes = true;
            if (i + 1 < argc && argv[i + 1][0] != '-') sGenre = argv[++i];
        } else if (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0) {
            Usage();
            return 0;
        } else if (a[0] == '-') {
            std::fprintf(stderr, "kvrun: unknown option %s\n", a);
            Usage();
            return 2;
        } else if (st.sProjet.empty()) {
            st.sProjet = a;
        } else {
            Usage();
            return 2;
        }
    }
    auto pHote = std::make_unique<CHote>();
    std::string sErreur;
    if (!pHote->bDemarre(st, sErreur)) {
        std::fprintf(stderr, "kvrun: %s\n", sErreur.c_str());
        return 1;
    }
    // The answers are offered every box through the module's interceptor.
    auto pfnCommande = reinterpret_cast<PFN_CommandeComposante>(pHote->pSymboleModule("CommandeComposante"));
    if (reponses && pfnCommande) pfnCommande(KV_COMMANDE_INTERCEPTEUR_BOITES, static_cast<IIntercepteurBoites*>(reponses.get()));
    int nRes = 0;
    if (bCheck) {
        std::printf("kvrun: module %ls started and stopped\n", pHote->piGetGate()->pszGetModuleVersion());
    } else if (bFonctions) {
        nRes = nListeFonctions(*pHote, stdout);
    } else if (bProprietes) {
        nRes = nListeProprietes(*pHote, sGenre, stdout);
    } else if (st.sProjet.empty()) {
        std::fprintf(stderr, "kvrun: no project given\n");
        Usage();
        nRes = 2;
    } else {
        nRes = nOuvrePremiereFenetre(*pHote, sCapture);
        // An error in event code that nothing caught fails the run, even
        // when the windows went on.
        if (int n = pHote->nGetNbErreursCode(); n > 0 && nRes == 0) {
            std::fprintf(stderr, "kvrun: %d error%s in event code\n", n, n > 1 ? "s" : "");
            nRes = 1;
        }
    }
    if (reponses && pfnCommande) {
        pfnCommande(KV_COMMANDE_INTERCEPTEUR_BOITES, nullptr);
        // What was answered, one line a box.
        for (const auto& v : reponses->Vues()) {
            std::wstring sLigne = v.sMessage.substr(0, v.sMessage.find_first_of(L"\r\n"));
            std::printf("kvrun: box \"%ls\" %s %d\n", sLigne.c_str(), v.bRepondue ? "answered" : "shown, result", v.nResultat);
        }
    }
    pHote->Arrete();
    return nRes;
}
