// The launcher's work, inside the host: kvrun [--check] PROJECT
#include "vm/CHote.h"
#include "vm/Export.h"
#include "vm/Reference.h"
#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <set>
#include <cstring>
#include <memory>
#include <string>

namespace {

typedef int (*PFN_GLUE)(STKSAppel*, IKSLibrary*, void**);

// Saves each window the first time it is shown, then, once no window shown
// meanwhile waits for its picture, closes every window: what a person would
// see, without a display.
class CCaptureFenetres : public QObject {
public:
    CCaptureFenetres(std::string sFichier, IExe* piExe) : m_sFichier(std::move(sFichier)), m_piExe(piExe) {}
    bool eventFilter(QObject* o, QEvent* e) override {
        auto* w = qobject_cast<QWidget*>(o);
        if (e->type() == QEvent::Show && w && w->isWindow() && !m_vues.count(w)) {
            m_vues.insert(w);
            QPointer<QWidget> p(w);
            ++m_nEnAttente;
            QTimer::singleShot(150, this, [this, p] {
                // Windows shown together are all saved before everything closes.
                if (--m_nEnAttente == 0) QTimer::singleShot(0, this, [this] { m_piExe->FermeTout(); });
                if (!p) return;
                std::string s = m_sFichier;
                if (m_nNumero > 0) {
                    size_t n = s.rfind('.');
                    s.insert(n == std::string::npos ? s.size() : n, "-" + std::to_string(m_nNumero + 1));
                }
                ++m_nNumero;
                bool bOk = p->grab().save(QString::fromStdString(s));
                std::printf("kvrun: %s %s\n", bOk ? "saved" : "could not save", s.c_str());
            });
        }
        return false;
    }

private:
    std::string m_sFichier;
    IExe* m_piExe;
    std::set<QWidget*> m_vues;
    int m_nNumero = 0;
    int m_nEnAttente = 0;
};

void Usage() {
    std::fprintf(stderr,
                 "usage: kvrun [options] [PROJECT]\n"
                 "  --check              start the module through its entry points and stop it again\n"
                 "  --screenshot FILE    save each window as PNG when it is first shown, then close\n"
                 "  --persistence FILE   where remembered user values are stored\n"
                 "  --module FILE        the window module to load (default: kv190obj.so beside the host)\n"
                 "  --functions          list the language functions the module implements, a line per syntax\n"
                 "  --properties [KIND]  list the properties of each control kind (or of one: CSaisie, or its number)\n"
                 "The exit status is 1 when an error in event code was not caught.\n");
}

// Opens the project's first window through the module's Ouvre, as the
// program's start would; returns when that window has closed.
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
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--check") == 0) {
            bCheck = true;
        } else if (std::strcmp(a, "--screenshot") == 0 && i + 1 < argc) {
            sCapture = argv[++i];
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
    pHote->Arrete();
    return nRes;
}
