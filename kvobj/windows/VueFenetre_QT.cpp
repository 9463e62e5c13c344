// The view of a window on Qt widgets: a dialog (the frame) with a vertical
// layout, the menu bar with a client area below it, the frame's timers and
// the loops that run for it.
#include "windows/IVueFenetre.h"
#include "frame/CComposanteOBJ.h"
#include "windows/CFenPrincipale.h"
#include "windows/CFenPrincipale_QT.h"
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QImageReader>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QVBoxLayout>

namespace {
// The window flags of a window's dialog.
const Qt::WindowFlags nDRAPEAUX_FENETRE(0x0A00C001);

// A window's background image: a label below every control of the client
// area, that takes no input and follows the area's size.
class CImageFond_QT final : public QLabel {
public:
    CImageFond_QT(QWidget* pClient, const QImage& img, int eMode) : QLabel(pClient), m_img(img), m_eMode(eMode) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        pClient->installEventFilter(this);
        Applique();
        lower();
        show();
    }
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o == parent() && e->type() == QEvent::Resize) Applique();
        return false;
    }

private:
    void Applique() {
        QWidget* pClient = parentWidget();
        const QSize t = pClient->size();
        setGeometry(0, 0, t.width(), t.height());
        if (t.isEmpty()) return;
        QPixmap pm(t);
        pm.fill(Qt::transparent);
        QPainter dc(&pm);
        switch (m_eMode) {
        case IVueFenetre::eIMAGE_FOND_MOSAIQUE: dc.fillRect(pm.rect(), QBrush(QPixmap::fromImage(m_img))); break;
        case IVueFenetre::eIMAGE_FOND_ETIRE: dc.drawImage(pm.rect(), m_img); break;
        case IVueFenetre::eIMAGE_FOND_CENTRE:
            dc.drawImage(QPoint((t.width() - m_img.width()) / 2, (t.height() - m_img.height()) / 2), m_img);
            break;
        default: dc.drawImage(QPoint(0, 0), m_img); break;
        }
        dc.end();
        setPixmap(pm);
    }

    QImage m_img;
    int m_eMode;
};

class CVueFenetre_QT final : public IVueFenetre {
public:
    explicit CVueFenetre_QT(CFenPrincipale& f) : m_fen(f) {}
    ~CVueFenetre_QT() override {
        if (auto* w = dynamic_cast<CQTDispatcher<QDialog>*>(m_fen.pGetWidget())) {
            if (w->pGetControleur()) w->pGetControleur()->Detache();
        }
    }

    void CreeFenetre(const CTString& sTitre, uint32_t nCouleurFond) override {
        CComposanteOBJ::s_pclGetApplicationQT();
        CFenPrincipale* pclParent = m_fen.pclGetParent();
        QWidget* pParent = pclParent ? pclParent->pGetWidget() : nullptr;
        auto* w = new CQTDispatcher<QDialog>(pParent, new CControleurFenPrincipale_QT(&m_fen));
        w->setWindowFlags(nDRAPEAUX_FENETRE);
        w->setModal(false);
        w->setWindowTitle(QString::fromStdWString(sTitre));
        auto* layout = new QVBoxLayout(w);
        layout->setSpacing(0);
        layout->setContentsMargins(0, 0, 0, 0);
        if (nCouleurFond < 0x01000000) {
            QPalette pal = w->palette();
            uint32_t c = nCouleurFond;
            pal.setColor(QPalette::Window, QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
            w->setPalette(pal);
            w->setAutoFillBackground(true);
        }
        m_fen.SetWidget(w);
    }

    bool bCreeBarreMenu(const QSize& tClient) override {
        QWidget* w = Widget();
        QMenuBar* barre = w ? pclCreeBarreMenu(&m_fen, w) : nullptr;
        if (!barre) return false;
        auto* client = new CQTDispatcher<QWidget>(w, nullptr);
        client->setMinimumSize(tClient);
        w->layout()->setMenuBar(barre);
        w->layout()->addWidget(client);
        m_fen.SaveWindowInWidget(client);
        m_fen.SetWidgetClient(client);
        return true;
    }

    int nHauteurBarreMenu() const override {
        QWidget* w = Widget();
        QLayout* l = w ? w->layout() : nullptr;
        QWidget* barre = l ? l->menuBar() : nullptr;
        return barre ? barre->sizeHint().height() : 0;
    }

    void AppliqueTailles(const QSize& t, const QSize& tMin, const QSize& tMax, bool bFixe) override {
        QWidget* w = Widget();
        if (!w) return;
        if (bFixe) w->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        w->setMinimumSize(tMin);
        w->setMaximumSize(tMax.boundedTo(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)));
        w->resize(t);
    }

    bool bAFenetre() const override { return qobject_cast<QDialog*>(Widget()) != nullptr; }

    QPoint ptPosition() const override {
        QWidget* w = Widget();
        return w ? w->pos() : QPoint();
    }
    int nX() const override {
        QWidget* w = Widget();
        return w ? w->x() : 0;
    }
    int nY() const override {
        QWidget* w = Widget();
        return w ? w->y() : 0;
    }
    QSize taille() const override {
        QWidget* w = Widget();
        return w ? w->size() : QSize();
    }
    void Deplace(const QPoint& p) override {
        if (QWidget* w = Widget()) w->move(p);
    }
    void Redimensionne(const QSize& t) override {
        if (QWidget* w = Widget()) w->resize(t);
    }
    void SetLargeurMin(int n) override {
        if (QWidget* w = Widget()) w->setMinimumWidth(n);
    }
    void SetHauteurMin(int n) override {
        if (QWidget* w = Widget()) w->setMinimumHeight(n);
    }
    void SetLargeurMax(int n) override {
        if (QWidget* w = Widget()) w->setMaximumWidth(n);
    }
    void SetHauteurMax(int n) override {
        if (QWidget* w = Widget()) w->setMaximumHeight(n);
    }
    void SetTitre(const CTString& s) override {
        if (QWidget* w = Widget()) w->setWindowTitle(QString::fromStdWString(s));
    }

    void AfficheImageFond(const CTString& sChemin, int eMode) override {
        delete m_pImageFond.data();
        QWidget* pClient = m_fen.pGetWidgetClient();
        if (!pClient || sChemin.empty()) return;
        QImageReader lecteur(QString::fromStdWString(sChemin));
        QImage img = lecteur.read();
        if (img.isNull()) return;  // as an image control, a missing file shows nothing
        m_pImageFond = new CImageFond_QT(pClient, img, eMode);
    }

    void Montre() override {
        if (QWidget* w = Widget()) w->show();
    }
    bool bEstVisible() const override {
        QWidget* w = Widget();
        return w && w->isVisible();
    }
    bool bEstCachee() const override {
        QWidget* w = Widget();
        return w && w->isHidden();
    }
    void SetVisible(bool b) override {
        if (QWidget* w = Widget()) w->setVisible(b);
    }
    void SetMontree(bool b) override {
        if (QWidget* w = Widget()) w->QWidget::setVisible(b);
    }
    void SetGrisee(bool b) override {
        if (QWidget* w = Widget()) w->setEnabled(!b);
    }
    void PremierPlan() override {
        if (QWidget* w = Widget()) {
            w->raise();
            w->activateWindow();
        }
    }

    int nDemarreTimer(int nMs) override {
        QWidget* w = Widget();
        return w ? w->startTimer(nMs) : 0;
    }
    void ArreteTimer(int nId) override {
        if (QWidget* w = Widget()) w->killTimer(nId);
    }

    bool bFerme() override {
        QWidget* w = Widget();
        return w && w->close();
    }
    void Libere() override {
        QWidget* w = Widget();
        m_fen.NotifieDetruit();
        if (w) w->deleteLater();
    }

    void RetablitDrapeaux() override {
        if (QWidget* w = Widget()) w->setWindowFlags(nDRAPEAUX_FENETRE);
    }
    void ExecBoucleModale(const std::function<bool()>& bAttendre) override {
        auto* w = qobject_cast<QDialog*>(Widget());
        if (!w) return;
        w->setModal(true);
        QEventLoop boucle;
        m_pBoucleModale = &boucle;
        w->show();
        if (bAttendre()) boucle.exec(QEventLoop::DialogExec);
        m_pBoucleModale = nullptr;
    }
    void TermineBoucleModale() override {
        if (m_pBoucleModale) m_pBoucleModale->exit();
    }
    void ExecBouclePrincipale() override {
        if (QWidget* w = Widget()) w->show();
        QApplication::exec();
    }
    void TermineBouclePrincipale() override { QCoreApplication::quit(); }

private:
    QWidget* Widget() const { return m_fen.pGetWidget(); }

    CFenPrincipale& m_fen;
    QEventLoop* m_pBoucleModale = nullptr;
    QPointer<QLabel> m_pImageFond;
};
} // namespace

namespace {
// The windows find their Qt view through this once the module is loaded.
const bool gbInscrit = [] {
    IVueFenetre::s_pfnCree = [](CFenPrincipale& f) -> std::unique_ptr<IVueFenetre> { return std::make_unique<CVueFenetre_QT>(f); };
    return true;
}();
} // namespace
