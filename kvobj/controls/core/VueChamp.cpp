// The Qt side of every control: the widget made under its window's widget,
// and the generic view that applies the model's state to it.
#include "controls/core/VueChamp.h"
#include "controls/core/CChamp.h"
#include "controls/core/VueChamp_QT.h"
#include "windows/CQTDispatcher.h"
#include "windows/Focus_QT.h"
#include <QApplication>
#include <QGraphicsDropShadowEffect>
#include <QKeyEvent>
#include <QPointer>
#include <QToolTip>
#include <QWidget>
#include <array>

namespace {
class CVueChamp_QT final : public IVueChamp {
public:
    explicit CVueChamp_QT(QWidget* w) : m_w(w) {}

    void AppliqueEtat(const QRect& r, bool bVisible, bool bActive) override {
        QWidget* w = m_w.data();
        if (!w) return;
        w->setGeometry(r);
        w->setVisible(bVisible);
        if (bActive) w->setEnabled(true);
        w->update();
    }
    void AppliqueTabStop(bool bTabStop) override {
        if (QWidget* w = m_w.data())
            if (bTabStop && w->focusPolicy() == Qt::NoFocus) w->setFocusPolicy(Qt::StrongFocus);
    }
    void Bip() override { QApplication::beep(); }
    void AfficheBulle(const CTString& s) override {
        if (QWidget* w = m_w.data()) QToolTip::showText(w->mapToGlobal(QPoint(0, w->height())), QString::fromStdWString(s), w);
    }
    void PasseAuSuivant() override {
        if (QWidget* w = m_w.data()) QApplication::postEvent(w, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
    }

    void PremierPlan() override {
        if (QWidget* w = m_w.data()) w->raise();
    }
    void ChangeParent(QWidget* pParent) override {
        if (QWidget* w = m_w.data())
            if (w->parentWidget() != pParent) w->setParent(pParent);
    }
    void AfficheErreur(const CTString& sMessage) override {
        QWidget* w = m_w.data();
        if (!w) return;
        if (sMessage.empty()) {
            if (m_bErreur) {
                w->setGraphicsEffect(nullptr);
                w->setToolTip(m_sBulleAvantErreur);
                m_bErreur = false;
            }
            return;
        }
        if (!m_bErreur) m_sBulleAvantErreur = w->toolTip();
        m_bErreur = true;
        // A red halo around the widget, whatever its own colours.
        auto* effet = new QGraphicsDropShadowEffect;
        effet->setColor(QColor(0xE0, 0x10, 0x10));
        effet->setOffset(0, 0);
        effet->setBlurRadius(10);
        w->setGraphicsEffect(effet);
        w->setToolTip(QString::fromStdWString(sMessage));
        AfficheBulle(sMessage);
    }
    void SetCouleurSelection(uint32_t nCouleur) override {
        QWidget* w = m_w.data();
        if (!w) return;
        QPalette pal = w->palette();
        const QPalette palDefaut = QApplication::palette(w);
        for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
            if (nCouleur < 0x01000000)
                pal.setColor(g, QPalette::Highlight, QColor(nCouleur & 0xFF, (nCouleur >> 8) & 0xFF, (nCouleur >> 16) & 0xFF));
            else
                pal.setColor(g, QPalette::Highlight, palDefaut.color(g, QPalette::Highlight));
        }
        w->setPalette(pal);
    }

private:
    QPointer<QWidget> m_w;
    bool m_bErreur = false;
    QString m_sBulleAvantErreur;
};
// The widget makers of the families, by kind; a kind without one gets a
// plain widget.
std::array<PFN_CREE_WIDGET_CHAMP, NB_ID_OBJET>& Vues() {
    static std::array<PFN_CREE_WIDGET_CHAMP, NB_ID_OBJET> tab{};
    return tab;
}

QWidget* pclCreeWidgetSimple(CChamp& c, QWidget* pParent) {
    return new CQTDispatcher<QWidget>(pParent, new CControleurChamp_QT(&c));
}

IVueChamp* pclCreeVue(CChamp& c, QWidget* pParent, QWidget*& pWidget) {
    const int g = c.vnGenreVue();
    PFN_CREE_WIDGET_CHAMP pfn = g >= 0 && g < NB_ID_OBJET && Vues()[g] ? Vues()[g] : &pclCreeWidgetSimple;
    pWidget = pfn(c, pParent);
    if (!pWidget) return nullptr;
    pWidget->setObjectName(QString::fromStdWString(c.sGetNom()));
    auto* v = new CVueChamp_QT(pWidget);
    v->AppliqueTabStop(c.bGetTabStop());
    c.SetWidget(pWidget);
    return v;
}

// The models find the Qt layer through this once the module is loaded.
const bool gbInscrit = [] {
    gpfnCreeVueChamp = &pclCreeVue;
    return true;
}();
} // namespace

CInscriptionVue::CInscriptionVue(eID_OBJET eGenre, PFN_CREE_WIDGET_CHAMP pfn) { Vues()[eGenre] = pfn; }
