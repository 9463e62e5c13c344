// Menus shown on Qt widgets: one QMenu (or the window's QMenuBar) per menu,
// one QAction per entry, in the menu's order. The widgets follow every
// change of the model at once; an action triggered runs its option.
#pragma once
#include "windows/CMenu.h"
#include <QObject>
#include <QPointer>
#include <QWidget>

class QAction;
class QMenu;
class QPoint;

// Between an action's triggered() and the option it shows. It lives as a
// child of its action; the menu makes it forget the option when the option
// leaves the menu or the menu goes.
class CQTMenuActionDispatcher : public QObject {
    Q_OBJECT
public:
    CQTMenuActionDispatcher(QAction* pAction, COptionMenu* pclOption);
    COptionMenu* pclGetOption() const { return m_pclOption; }
    void Oublie() { m_pclOption = nullptr; }
    // The dispatcher of an action (null when it has none).
    static CQTMenuActionDispatcher* spDe(QAction* pAction);

public Q_SLOTS:
    void ExecuteAction();

private:
    QAction* m_pAction;
    COptionMenu* m_pclOption;
};

class CMenuQT final : public IBackendMenu {
public:
    // Shows the menu on w, a QMenuBar or a QMenu, and gives the menu this
    // backend. With bProprietaire the backend deletes w when it goes.
    static CMenuQT* spAttache(CMenu& m, QWidget* w, bool bProprietaire);
    CMenuQT(CMenu& m, QWidget* w, bool bProprietaire);
    ~CMenuQT() override;

    void vAjouteOption(int nIndice, COptionMenu& o) override;
    void vSupprimeOption(int nIndice, COptionMenu& o) override;
    void vMAJOption(int nIndice, COptionMenu& o) override;
    void vMAJMenu() override;

    QWidget* pGetWidget() const { return m_pWidget; }
    QAction* pGetAction(int nIndice) const;
    // The action that shows an entry of a shown menu (null when none).
    static QAction* spActionDe(const COptionMenu& o);
    // The popup of a menu, made the first time under pParent.
    static QMenu* spPopup(CMenu& m, QWidget* pParent);
    // The text of an entry's action: its caption, and its secondary text as
    // the shortcut column.
    static QString sTexte(const COptionMenu& o);

private:
    CMenu& m_menu;
    QPointer<QWidget> m_pWidget;
    bool m_bProprietaire;
};

// Shows a menu as a popup at a screen position and waits until the user
// chooses or dismisses it; the option chosen runs.
void AfficheMenuPopup(CMenu& m, QWidget* pParent, const QPoint& ptEcran);
