// The Qt side of message boxes: the system box (QMessageBox), the module's
// own dialog window "KVOBJ_Dialogue" for compiled questions and input boxes,
// the automatic-close countdown, activation and focus around a box, and the
// exported MessageBox_QT_W / MessageBox_QT_A.
//
// Every box carries the dynamic property "kvBoite" (true) and presses its
// default button (QPushButton::isDefault) when it closes by itself, so that
// a host capturing windows can find and answer it the same way.
#include "base/Export.h"
#include "frame/BoitesMessage.h"
#include "frame/CExe.h"
#include "windows/CFenPrincipale.h"
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

using namespace kvboites;

namespace {

QString VersQt(const std::wstring& s) { return QString::fromStdWString(s); }

// The text as a label shows it: CR LF line breaks become line feeds.
QString TexteAffiche(const std::wstring& s) { return VersQt(s).replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

// Presses a button as a mouse would: press and release at its centre.
void PresseBouton(QAbstractButton* b) {
    if (!b) return;
    if (!b->isVisible() || !b->isEnabled()) {
        b->click();
        return;
    }
    QPointF p(b->width() / 2.0, b->height() / 2.0);
    QPointF g = b->mapToGlobal(p);
    QMouseEvent press(QEvent::MouseButtonPress, p, g, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(b, &press);
    QPointer<QAbstractButton> garde(b);
    QMouseEvent release(QEvent::MouseButtonRelease, p, g, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    if (garde) QCoreApplication::sendEvent(b, &release);
}

// The countdown of a box that closes by itself: the button's caption is
// followed by the remaining whole seconds, once per second (sooner under a
// second), and at the end the button is pressed.
class CCompteARebours_QT : public QObject {
public:
    CCompteARebours_QT(QAbstractButton* pBouton, int nDelaiMs) : QObject(pBouton), m_pBouton(pBouton), m_nDelai(nDelaiMs) {
        m_sLibelle = pBouton->text();
        m_debut.start();
        m_timer.setSingleShot(false);
        m_timer.setInterval(std::min(1000, std::max(1, nDelaiMs)));
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { Tick(); });
        Affiche(static_cast<int>(m_nDelai / 1000));
    }
    void Demarre() { m_timer.start(); }

private:
    void Affiche(int nSecondes) {
        if (m_pBouton)
            m_pBouton->setText(VersQt(sLibelleCompteARebours(m_sLibelle.toStdWString(), nSecondes)));
    }
    void Tick() {
        qint64 nReste = m_nDelai - m_debut.elapsed();
        if (nReste > 50) {
            Affiche(static_cast<int>((nReste + 500) / 1000));
            if (nReste < m_timer.interval()) m_timer.setInterval(static_cast<int>(nReste));
            return;
        }
        m_timer.stop();
        Affiche(0);
        // The last count is shown a moment before the press.
        QTimer::singleShot(100, this, [this] {
            if (!m_pBouton) return;
            m_pBouton->setText(m_sLibelle);
            PresseBouton(m_pBouton);
        });
    }

    QPointer<QAbstractButton> m_pBouton;
    QString m_sLibelle;
    qint64 m_nDelai;
    QElapsedTimer m_debut;
    QTimer m_timer;
};

// Arms the countdown once the box is up.
void ArmeCompteARebours(QWidget* pBoite, QAbstractButton* pBouton, int nDelaiMs) {
    if (!pBouton || nDelaiMs <= 0) return;
    auto* c = new CCompteARebours_QT(pBouton, nDelaiMs);
    QTimer::singleShot(0, pBoite, [c] { c->Demarre(); });
}

QMessageBox::StandardButton BoutonQt(int nResultat, uint32_t nJeu) {
    switch (nResultat) {
    case nID_OK: return QMessageBox::Ok;
    case nID_CANCEL: return QMessageBox::Cancel;
    case nID_ABORT: return QMessageBox::Abort;
    case nID_RETRY: case nID_TRYAGAIN: return QMessageBox::Retry;
    case nID_IGNORE: case nID_CONTINUE: return QMessageBox::Ignore;
    case nID_YES: return QMessageBox::Yes;
    case nID_NO: return QMessageBox::No;
    default: (void)nJeu; return QMessageBox::Ok;
    }
}

QApplication* pApplication() { return qobject_cast<QApplication*>(QCoreApplication::instance()); }

// The system box (also what MessageBox_QT_W shows).
int nBoiteSysteme(uint32_t nFlags, const std::wstring& sTitre, const std::wstring& sMessage, QWidget* pParent,
                  int nDelaiMs, const std::wstring& sImage) {
    if (!pApplication()) return nRESULTAT_AUCUN;
    // On the heap under a guard: the parent window may be destroyed while the
    // box runs (a timer closing it), and it deletes its children with it.
    QPointer<QMessageBox> pBox = new QMessageBox(pParent);
    QMessageBox& box = *pBox;
    box.setObjectName(QStringLiteral("KVOBJ_MessageBox"));
    box.setProperty("kvBoite", true);
    box.setWindowTitle(VersQt(sTitre));
    box.setTextFormat(Qt::PlainText);
    box.setText(TexteAffiche(sMessage));
    switch (nFlags & nMB_ICONE) {
    case nMB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case nMB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
    case nMB_ICONERROR: box.setIcon(QMessageBox::Critical); break;
    default: box.setIcon(QMessageBox::Information); break;
    }
    if (!sImage.empty()) {
        QPixmap pm(VersQt(sImage));
        if (!pm.isNull()) box.setIconPixmap(pm.scaled(pm.size().boundedTo(QSize(256, 256)), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    const uint32_t nJeu = nFlags & nMB_JEU;
    const std::vector<int> tabResultats = BoutonsDuJeu(nFlags);
    std::vector<QAbstractButton*> tabBoutons;
    for (int n : tabResultats) tabBoutons.push_back(box.addButton(BoutonQt(n, nJeu)));
    auto* pDefaut = qobject_cast<QPushButton*>(tabBoutons[static_cast<size_t>(nIndiceBoutonParDefaut(nFlags))]);
    box.setDefaultButton(pDefaut);
    ArmeCompteARebours(&box, pDefaut, nDelaiMs);
    pBox->exec();
    if (!pBox) return nID_CANCEL;
    QAbstractButton* pClic = pBox->clickedButton();
    delete pBox.data();
    for (size_t i = 0; i < tabBoutons.size(); ++i)
        if (tabBoutons[i] == pClic) return tabResultats[i];
    // Closed without a button (Escape on a box without Cancel): its escape
    // button's result, else the default's.
    return tabResultats.size() == 1 ? tabResultats[0] : tabResultats[static_cast<size_t>(nIndiceBoutonParDefaut(nFlags))];
}

QStyle::StandardPixmap IconeStyle(uint32_t nIcone) {
    switch (nIcone) {
    case nMB_ICONWARNING: return QStyle::SP_MessageBoxWarning;
    case nMB_ICONINFORMATION: return QStyle::SP_MessageBoxInformation;
    case nMB_ICONERROR: return QStyle::SP_MessageBoxCritical;
    default: return QStyle::SP_MessageBoxQuestion;
    }
}

// The module's dialog window for a question: its buttons "BTN_1"...,
// the cancel button "BTN_ESC" (Escape), and one input field per value,
// named "KVINPUTBOX_INPUT_<question>_<field>".
int nDialogue(STQuestionBoite& q, const std::wstring& sTitre, QWidget* pParent, int nDelaiMs) {
    if (!pApplication()) return q.tabSaisies.empty() ? nRESULTAT_AUCUN : nRESULTAT_AUCUN_SAISIE;
    // On the heap under a guard, as the system box.
    QPointer<QDialog> pDlg = new QDialog(pParent);
    QDialog& dlg = *pDlg;
    dlg.setObjectName(QStringLiteral("KVOBJ_Dialogue"));
    dlg.setProperty("kvBoite", true);
    dlg.setWindowTitle(VersQt(sTitre));
    auto* pColonne = new QVBoxLayout(&dlg);
    auto* pHaut = new QHBoxLayout();
    auto* pIcone = new QLabel(&dlg);
    const int nTailleIcone = dlg.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &dlg);
    pIcone->setPixmap(dlg.style()->standardIcon(IconeStyle(nIconeQuestion(q.nGenre)), nullptr, &dlg).pixmap(nTailleIcone, nTailleIcone));
    pIcone->setAlignment(Qt::AlignTop);
    pHaut->addWidget(pIcone);
    auto* pTexte = new QLabel(TexteAffiche(q.sMessage), &dlg);
    pTexte->setTextFormat(Qt::PlainText);
    pTexte->setWordWrap(true);
    pTexte->setObjectName(QStringLiteral("KVOBJ_Message"));
    pHaut->addWidget(pTexte, 1);
    pColonne->addLayout(pHaut);

    std::vector<QLineEdit*> tabChamps;
    if (!q.tabSaisies.empty()) {
        auto* pGrille = new QGridLayout();
        for (size_t i = 0; i < q.tabSaisies.size(); ++i) {
            const STSaisieBoite& s = q.tabSaisies[i];
            auto* pChamp = new QLineEdit(VersQt(s.sValeur), &dlg);
            char szNom[64];
            std::snprintf(szNom, sizeof szNom, "%s_%08x_%08x", "KVINPUTBOX_INPUT", static_cast<unsigned>(q.nIdentifiant & 0xFFFFFFFFu),
                          static_cast<unsigned>(i + 1));
            pChamp->setObjectName(QString::fromLatin1(szNom));
            int nLigne = static_cast<int>(i);
            if (!s.sLibelle.empty()) pGrille->addWidget(new QLabel(VersQt(s.sLibelle), &dlg), nLigne, 0);
            pGrille->addWidget(pChamp, nLigne, 1);
            tabChamps.push_back(pChamp);
        }
        pColonne->addLayout(pGrille);
    }

    auto* pBas = new QHBoxLayout();
    pBas->addStretch(1);
    QPushButton* pDefaut = nullptr;
    for (size_t i = 0; i < q.tabBoutons.size(); ++i) {
        auto* b = new QPushButton(VersQt(q.tabBoutons[i]), &dlg);
        b->setObjectName(QStringLiteral("BTN_%1").arg(i + 1));
        b->setAutoDefault(false);
        const int nNumero = static_cast<int>(i + 1);
        QObject::connect(b, &QPushButton::clicked, &dlg, [&dlg, nNumero] { dlg.done(nNumero); });
        if (nNumero == q.nDefaut) pDefaut = b;
        pBas->addWidget(b);
    }
    // Escape: the cancel button of the question, else 0.
    auto* pEchap = new QPushButton(QStringLiteral("Esc"), &dlg);
    pEchap->setObjectName(QStringLiteral("BTN_ESC"));
    pEchap->setAutoDefault(false);
    pEchap->hide();
    const int nAnnulation = q.nAnnulation;
    QObject::connect(pEchap, &QPushButton::clicked, &dlg, [&dlg, nAnnulation] { dlg.done(nAnnulation); });
    pColonne->addLayout(pBas);
    if (pDefaut) pDefaut->setDefault(true);
    if (!tabChamps.empty()) tabChamps.front()->setFocus();
    else if (pDefaut) pDefaut->setFocus();
    ArmeCompteARebours(&dlg, pDefaut, nDelaiMs);
    int n = pDlg->exec();
    if (!pDlg) return nAnnulation;
    // QDialog::reject (Escape, the title bar's close) ends with 0.
    if (n == QDialog::Rejected) n = nAnnulation;
    for (size_t i = 0; i < tabChamps.size(); ++i) q.tabSaisies[i].sValeur = tabChamps[i]->text().toStdWString();
    delete pDlg.data();
    return n;
}

QWidget* pFenetrePrincipale() {
    if (QWidget* w = QApplication::activeWindow()) return w;
    if (gpclExe && gpclExe->pclGetFenActive()) return gpclExe->pclGetFenActive()->pGetWidget();
    return nullptr;
}

// Steps around the box: the owner becomes active, the box is shown with
// its parent, then the window that was active and the focus come back.
int nAfficheBoite(STAffichageBoite& st) {
    if (!pApplication()) return st.pQuestion && !st.pQuestion->tabSaisies.empty() ? nRESULTAT_AUCUN_SAISIE : nRESULTAT_AUCUN;
    CFenPrincipale* pclAvant = gpclExe ? gpclExe->pclGetFenActive() : nullptr;
    if (pclAvant) pclAvant->AddRef();
    QPointer<QWidget> pFocusAvant = QApplication::focusWidget();
    QWidget* pParent = nullptr;
    if (st.pclProprietaire) {
        pParent = st.pclProprietaire->pGetWidget();
        if (gpclExe && st.pclProprietaire != pclAvant) gpclExe->SetFenActive(st.pclProprietaire);
        if (pParent) pParent->activateWindow();
    } else if (st.bAutreThread) {
        pParent = pFenetrePrincipale();
    }
    int nResultat = st.pQuestion ? nDialogue(*st.pQuestion, st.sTitre, pParent, st.nDelaiMs)
                                 : nBoiteSysteme(st.nFlags, st.sTitre, st.sMessage, pParent, st.nDelaiMs, st.sImage);
    if (pclAvant) {
        if (gpclExe && gpclExe->bEstFenOuverte(pclAvant) && pclAvant->bEstVivante()) {
            gpclExe->SetFenActive(pclAvant);
            if (QWidget* w = pclAvant->pGetWidget()) w->activateWindow();
        }
        pclAvant->nRelease();
    }
    if (pFocusAvant) pFocusAvant->setFocus();
    return nResultat;
}

void SurThreadPrincipal(const std::function<void()>& fn) {
    if (gpclExe) gpclExe->ExecuteSurThreadPrincipal(fn);
    else fn();
}

const bool gbBoites = [] {
    gpfnAfficheBoite = &nAfficheBoite;
    gpfnSurThreadPrincipal = &SurThreadPrincipal;
    return true;
}();

// The exported box, on the interface thread.
int nMessageBoxExporte(const std::wstring& sTexte, const std::wstring& sTitre, uint32_t nFlags) {
    int n = nRESULTAT_AUCUN;
    SurThreadPrincipal([&] { n = nBoiteSysteme(nFlags, sTitre, sTexte, pFenetrePrincipale(), 0, {}); });
    return n;
}

} // namespace

KV_EXPORT int MessageBox_QT_W(void* /*owner*/, const wchar_t* pszTexte, const wchar_t* pszTitre, uint32_t nFlags) {
    return nMessageBoxExporte(pszTexte ? pszTexte : L"", pszTitre ? pszTitre : L"", nFlags);
}

KV_EXPORT int MessageBox_QT_A(void* /*owner*/, const char* pszTexte, const char* pszTitre, uint32_t nFlags) {
    return nMessageBoxExporte(QString::fromLocal8Bit(pszTexte ? pszTexte : "").toStdWString(),
                              QString::fromLocal8Bit(pszTitre ? pszTitre : "").toStdWString(), nFlags);
}
