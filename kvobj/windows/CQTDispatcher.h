// Qt widgets of windows and controls hand their events to a controller.
// Every handler follows one rule: without a controller nothing happens;
// otherwise the controller's handler runs, and when it answers 1 the base
// widget's handler runs too and the event is accepted; any other answer
// ignores the event.
#pragma once
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDialog>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextEdit>
#include <QTimerEvent>
#include <QWheelEvent>
#include <QResizeEvent>
#include <QMoveEvent>
#include <QPaintEvent>
#include <QWidget>

class CFenCommun;

// The event record handed to a controller's handler.
struct CInfoEvenement {
    QWidget* pDispatcher;
    QEvent* pEvenement;
};
struct CInfoEveFocus : CInfoEvenement {
    int nDirection;  // 1 gained, 0 lost
};

class CControleurBase_QT {
public:
    explicit CControleurBase_QT(CFenCommun* pclObjet) : m_pclObjet(pclObjet) {}
    virtual ~CControleurBase_QT() = default;
    CFenCommun* pclGetObjet() const { return m_pclObjet; }
    void Detache() { m_pclObjet = nullptr; }
    void AddDispatcher(QWidget* w) { m_pDispatcher = w; }
    QWidget* pGetDispatcher() const { return m_pDispatcher; }

    // Handlers, in slot order. Each answers 1 to let the widget handle the
    // event too, 0 to ignore it.
    virtual int nGetType() const { return 0; }
    virtual void vTraiteInitialisation() {}
    virtual void vTraiteDestruction() {}
    virtual int veQuandPresseBoutonGaucheSouris(const CInfoEvenement&) { return 1; }
    virtual int veQuandRelacheBoutonGaucheSouris(const CInfoEvenement&) { return 1; }
    virtual int veQuandPresseBoutonDroitSouris(const CInfoEvenement&) { return 1; }
    virtual int veQuandRelacheBoutonDroitSouris(const CInfoEvenement&) { return 1; }
    virtual int veQuandPresseBoutonMilieuSouris(const CInfoEvenement&) { return 1; }
    virtual int veQuandRelacheBoutonMilieuSouris(const CInfoEvenement&) { return 1; }
    virtual int veQuandDeplacementSouris(const CInfoEvenement&) { return 1; }
    virtual int veQuandDoubleClicBoutonGauche(const CInfoEvenement&) { return 1; }
    virtual int veQuandDoubleClicBoutonDroit(const CInfoEvenement&) { return 1; }
    virtual int veQuandDoubleClicBoutonMilieu(const CInfoEvenement&) { return 1; }
    virtual int veQuandMouvementMolette(const CInfoEvenement&) { return 1; }
    virtual int veQuandSortieSouris(const CInfoEvenement&) { return 1; }
    virtual int veQuandPresseBoutonClavier(const CInfoEvenement&) { return 1; }
    virtual int veQuandRelacheBoutonClavier(const CInfoEvenement&) { return 1; }
    virtual int veQuandEvenementTimer(const CInfoEvenement&) { return 1; }
    virtual int veQuandRedimensionne(const CInfoEvenement&) { return 1; }
    virtual int veQuandRepositionne(const CInfoEvenement&) { return 1; }
    virtual int veQuandFermeture(const CInfoEvenement&) { return 1; }
    virtual int veQuandRecoitFocus(const CInfoEveFocus&) { return 1; }
    virtual int veQuandPerdFocus(const CInfoEveFocus&) { return 1; }
    virtual int veQuandGestePincement(const CInfoEvenement&) { return 1; }
    virtual int veQuandGesteGlissement(const CInfoEvenement&) { return 1; }
    virtual int veQuandGesteBalayage(const CInfoEvenement&) { return 1; }
    virtual bool vbWantMouseWheel() { return true; }
    virtual int veQuandScrollHorizontal(const CInfoEvenement&) { return 1; }
    virtual int veQuandScrollVertical(const CInfoEvenement&) { return 1; }
    // Opens the context menu of the widget's owner; 1 when a menu was shown.
    virtual int veAfficheMenuContextuel(const CInfoEvenement& info);
    virtual void vOnChangePlanFenetre() {}
    virtual void vPreInitialisation() {}
    // Painting is the view's: the controller only lets it happen.
    virtual int veQuandDessine(const CInfoEvenement&) { return 1; }

    // A user action among the focus change causes (1, 2, 3 and 10).
    static bool sbCauseEstActionUtilisateur(int nCause) { return nCause == 1 || nCause == 2 || nCause == 3 || nCause == 10; }

protected:
    CFenCommun* m_pclObjet;
    QWidget* m_pDispatcher = nullptr;
};

template <class W>
class CQTDispatcher : public W {
public:
    CQTDispatcher(QWidget* pParent, CControleurBase_QT* pControleur, bool bPopup = false)
        : W(pParent), m_pControleur(pControleur) {
        if (bPopup) this->setWindowFlags(Qt::WindowFlags(9));
        if (m_pControleur) m_pControleur->AddDispatcher(this);
    }
    ~CQTDispatcher() override { delete m_pControleur; }
    CControleurBase_QT* pGetControleur() const { return m_pControleur; }
    void ResetVueEtControleur() {
        delete m_pControleur;
        m_pControleur = nullptr;
    }

protected:
    template <class B>
    void Regle(QEvent* e, int (CControleurBase_QT::*handler)(const CInfoEvenement&), B base) {
        if (!m_pControleur) return;
        CInfoEvenement info{this, e};
        if ((m_pControleur->*handler)(info) == 1) {
            base();
            e->accept();
        } else {
            e->ignore();
        }
    }
    // Mouse buttons go to the handler of their button.
    using Handler = int (CControleurBase_QT::*)(const CInfoEvenement&);
    static Handler SelonBouton(Qt::MouseButton b, Handler g, Handler d, Handler m) {
        return b == Qt::RightButton ? d : b == Qt::MiddleButton ? m : g;
    }
    void mousePressEvent(QMouseEvent* e) override {
        Regle(e,
              SelonBouton(e->button(), &CControleurBase_QT::veQuandPresseBoutonGaucheSouris,
                          &CControleurBase_QT::veQuandPresseBoutonDroitSouris, &CControleurBase_QT::veQuandPresseBoutonMilieuSouris),
              [&] { W::mousePressEvent(e); });
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        Regle(e,
              SelonBouton(e->button(), &CControleurBase_QT::veQuandRelacheBoutonGaucheSouris,
                          &CControleurBase_QT::veQuandRelacheBoutonDroitSouris, &CControleurBase_QT::veQuandRelacheBoutonMilieuSouris),
              [&] { W::mouseReleaseEvent(e); });
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        Regle(e,
              SelonBouton(e->button(), &CControleurBase_QT::veQuandDoubleClicBoutonGauche,
                          &CControleurBase_QT::veQuandDoubleClicBoutonDroit, &CControleurBase_QT::veQuandDoubleClicBoutonMilieu),
              [&] { W::mouseDoubleClickEvent(e); });
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        Regle(e, &CControleurBase_QT::veQuandDeplacementSouris, [&] { W::mouseMoveEvent(e); });
    }
    void wheelEvent(QWheelEvent* e) override {
        Regle(e, &CControleurBase_QT::veQuandMouvementMolette, [&] { W::wheelEvent(e); });
    }
    void leaveEvent(QEvent* e) override {
        Regle(e, &CControleurBase_QT::veQuandSortieSouris, [&] { W::leaveEvent(e); });
    }
    void resizeEvent(QResizeEvent* e) override {
        Regle(e, &CControleurBase_QT::veQuandRedimensionne, [&] { W::resizeEvent(e); });
    }
    void moveEvent(QMoveEvent* e) override {
        Regle(e, &CControleurBase_QT::veQuandRepositionne, [&] { W::moveEvent(e); });
    }
    void paintEvent(QPaintEvent* e) override {
        Regle(e, &CControleurBase_QT::veQuandDessine, [&] { W::paintEvent(e); });
    }
    void keyPressEvent(QKeyEvent* e) override {
        Regle(e, &CControleurBase_QT::veQuandPresseBoutonClavier, [&] { W::keyPressEvent(e); });
    }
    void keyReleaseEvent(QKeyEvent* e) override {
        Regle(e, &CControleurBase_QT::veQuandRelacheBoutonClavier, [&] { W::keyReleaseEvent(e); });
    }
    void timerEvent(QTimerEvent* e) override {
        Regle(e, &CControleurBase_QT::veQuandEvenementTimer, [&] { W::timerEvent(e); });
    }
    void closeEvent(QCloseEvent* e) override {
        Regle(e, &CControleurBase_QT::veQuandFermeture, [&] { W::closeEvent(e); });
    }
    void contextMenuEvent(QContextMenuEvent* e) override {
        Regle(e, &CControleurBase_QT::veAfficheMenuContextuel, [&] { W::contextMenuEvent(e); });
    }
    void focusInEvent(QFocusEvent* e) override {
        if (!m_pControleur) return;
        CInfoEveFocus info{{this, e}, 1};
        if (m_pControleur->veQuandRecoitFocus(info) == 1) {
            W::focusInEvent(e);
            e->accept();
        } else {
            e->ignore();
        }
    }
    void focusOutEvent(QFocusEvent* e) override {
        if (!m_pControleur) return;
        CInfoEveFocus info{{this, e}, 0};
        if (m_pControleur->veQuandPerdFocus(info) == 1) {
            W::focusOutEvent(e);
            e->accept();
        } else {
            e->ignore();
        }
    }

private:
    CControleurBase_QT* m_pControleur;
};
