// The button's Qt view and controller, and the keyboard's call letters.
#pragma once
#include "controls/core/CStyleChamp.h"
#include "windows/Focus_QT.h"
#include <QImage>
#include <QPushButton>
#include <functional>

class CBouton;
class CFenPrincipale;
class QKeyEvent;

// The button's widget. QPushButton gives the keyboard (space and Enter on
// the focused button), the click on release inside the button and the
// caption's underlined call letter; the drawing of the states, images and
// arrow is ours, from what the model hands over.
class CVueBouton_QT : public QPushButton {
public:
    explicit CVueBouton_QT(QWidget* pParent);

    // fnClic: a click of the user; fnLettreAppel: Alt and the call letter.
    void SetActions(std::function<void()> fnClic, std::function<void()> fnLettreAppel);

    void SetStyle(const STStyleChamp& s);
    void SetGrise(bool b);
    void SetEtat(int nEtat);  // BOUTON_ETAT
    // The caption and the letter Alt selects it with (0: none).
    void SetLibelle(const QString& s, QChar cLettre);
    // A strip of nEtats images side by side; an empty path: none.
    void SetImage(const QString& sChemin, int nEtats);
    void SetImageFond(const QString& sChemin, int nEtats);
    void SetFleche(bool b);

    // The arrow area (an empty rectangle without arrow).
    QRect RectFleche() const;
    int nGetEtat() const { return m_nEtat; }
    bool bGetGrise() const { return m_bGrise; }
    // The image of a strip drawn in a state: image k in state k, the first
    // one for states the strip has no image for.
    static QImage sImageEtat(const QImage& strip, int nEtats, int nEtat);

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    struct STImageEtats {
        QString sChemin;
        QImage image;
        int nEtats = 1;
    };
    static void Charge(STImageEtats& st, const QString& sChemin, int nEtats);
    // The state whose image is drawn, from the model's state and Qt's.
    int nEtatDessine(bool bSurvol, bool bFocus) const;

    std::function<void()> m_fnClic, m_fnLettreAppel;
    STStyleChamp m_style;
    bool m_bGrise = false;
    int m_nEtat = 0;
    QChar m_cLettre;
    STImageEtats m_image, m_fond;
    bool m_bFleche = false;
};

// The controller of a button's widget: what the user does reaches the
// model's click processing only on an enabled button; a press on a button
// whose focus change was refused does not become a click.
class CControleurBouton_QT : public CControleurChamp_QT {
public:
    using CControleurChamp_QT::CControleurChamp_QT;
    int veQuandRecoitFocus(const CInfoEveFocus& info) override;
    int veQuandPresseBoutonGaucheSouris(const CInfoEvenement& info) override;
    int veQuandPresseBoutonClavier(const CInfoEvenement& info) override;
    // From the view.
    void OnClic();
    void OnLettreAppel();

private:
    CBouton* pclBouton() const;
    // The focus change of the last press did not end on the button.
    bool m_bFocusClicRefuse = false;
};

// A key that may be a call letter (the letter alone, or with Alt) typed in
// a window: runs the button that has it. True when one ran.
bool bTraiteLettreAppel(CFenPrincipale* f, const QKeyEvent* e);
