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

    virtual int veQuandPresseBoutonGaucheSouris(const CInfoEvenement&) { return 1; }
    virtual int veQuandRelacheBoutonGaucheSouris(const CInfoEvenement&) { return 1; }
    virtual int veQuandDoubleClicBoutonGauche(const CInfoEvenement&) { return 1; }
    virtual int veQuandDeplacementSouris(const CInfoEvenement&) { return 1; }
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
    // Opens the context menu of the widget's owner; 1 when a menu was shown.
    virtual int veAfficheMenuContextuel(const CInfoEvenement& info);

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
    template <class F, class B>
    void Regle(QEvent* e, F handler, B base) {
        if (!m_pControleur) return;
        CInfoEvenement info{this, e};
        if ((m_pControleur->*handler)(info) == 1) {
            base();
            e->accept();
        } else {
            e->ignore();
        }
    }
    void mousePressEvent(QMouseEvent* e) override {
        Regle(e, &CControleurBase_QT::veQuandPresseBoutonGaucheSouris, [&] { W::mousePressEvent(e); });
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        Regle(e, &CControleurBase_QT::veQuandRelacheBoutonGaucheSouris, [&] { W::mouseReleaseEvent(e); });
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        Regle(e, &CControleurBase_QT::veQuandDoubleClicBoutonGauche, [&] { W::mouseDoubleClickEvent(e); });
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
