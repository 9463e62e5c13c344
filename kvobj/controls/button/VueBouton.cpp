#include "controls/button/VueBouton.h"
#include "controls/button/CBouton.h"
#include "controls/core/VueStyle.h"
#include "windows/CFenPrincipale.h"
#include <QApplication>
#include <QIcon>
#include <QImageReader>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QShortcutEvent>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QPushButton>
#include "controls/core/VueChamp_QT.h"
#include "windows/CQTDispatcher.h"
#include "windows/Focus_QT.h"
#include <functional>

namespace {
// Width of the drop-down arrow's area at the right of the button.
constexpr int nLARGEUR_FLECHE = 16;
} // namespace

// The button's widget. QPushButton gives the keyboard (space and Enter on
// the focused button), the click on release inside the button and the
// caption's underlined call letter; the drawing of the states, images and
// arrow is ours, from what the model hands over.
class CVueBouton_QT : public QPushButton, public IVueBouton {
public:
    explicit CVueBouton_QT(QWidget* pParent);

    // fnClic: a click of the user; fnLettreAppel: Alt and the call letter.
    void SetActions(std::function<void()> fnClic, std::function<void()> fnLettreAppel);

    void SetStyle(const STStyleChamp& s) override;
    void SetGrise(bool b) override;
    void SetEtat(int nEtat) override;  // BOUTON_ETAT
    // The caption and the letter Alt selects it with (0: none).
    void SetLibelle(const QString& s, QChar cLettre) override;
    // A strip of nEtats images side by side; an empty path: none.
    void SetImage(const QString& sChemin, int nEtats) override;
    void SetImageFond(const QString& sChemin, int nEtats) override;
    void SetFleche(bool b) override;
    void SetPriseFocus(bool bTabStop, bool bPrendFocus) override;

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


// ---------------------------------------------------------------- view

CVueBouton_QT::CVueBouton_QT(QWidget* pParent) : QPushButton(pParent) {
    // Enter clicks the focused button in any window, not only in dialogs.
    setAutoDefault(true);
    QObject::connect(this, &QAbstractButton::clicked, this, [this] {
        // The click may close the window and delete this widget: the
        // action is copied first and nothing of the widget is used after it.
        if (auto fn = m_fnClic) fn();
    });
}

void CVueBouton_QT::SetActions(std::function<void()> fnClic, std::function<void()> fnLettreAppel) {
    m_fnClic = std::move(fnClic);
    m_fnLettreAppel = std::move(fnLettreAppel);
}

void CVueBouton_QT::SetStyle(const STStyleChamp& s) {
    m_style = s;
    kvvue::AppliqueStyle(this, s);
    update();
}

void CVueBouton_QT::SetGrise(bool b) {
    if (b == m_bGrise) return;
    m_bGrise = b;
    update();
}

void CVueBouton_QT::SetEtat(int nEtat) {
    if (nEtat == m_nEtat) return;
    m_nEtat = nEtat;
    update();
}

void CVueBouton_QT::SetLibelle(const QString& s, QChar cLettre) {
    if (s == text() && cLettre == m_cLettre) return;
    setText(s);
    m_cLettre = cLettre;
    // Alt and the call letter, whatever setText made of the caption: the
    // model says which letter it is.
    if (cLettre.isNull())
        setShortcut(QKeySequence());
    else
        setShortcut(QKeySequence(QKeyCombination(Qt::AltModifier, static_cast<Qt::Key>(cLettre.toUpper().unicode()))));
}

void CVueBouton_QT::Charge(STImageEtats& st, const QString& sChemin, int nEtats) {
    st.nEtats = std::max(1, nEtats);
    if (sChemin == st.sChemin) return;
    st.sChemin = sChemin;
    st.image = QImage();
    if (!sChemin.isEmpty()) {
        QImageReader lecteur(sChemin);
        lecteur.setAutoTransform(true);
        st.image = lecteur.read();  // a null image when the file cannot be read
    }
}

void CVueBouton_QT::SetImage(const QString& sChemin, int nEtats) {
    Charge(m_image, sChemin, nEtats);
    update();
}

void CVueBouton_QT::SetImageFond(const QString& sChemin, int nEtats) {
    Charge(m_fond, sChemin, nEtats);
    update();
}

void CVueBouton_QT::SetFleche(bool b) {
    if (b == m_bFleche) return;
    m_bFleche = b;
    update();
}

void CVueBouton_QT::SetPriseFocus(bool bTabStop, bool bPrendFocus) {
    Qt::FocusPolicy eFocus = Qt::NoFocus;
    if (bTabStop) eFocus = Qt::TabFocus;
    if (bPrendFocus) eFocus = bTabStop ? Qt::StrongFocus : Qt::ClickFocus;
    setFocusPolicy(eFocus);
}

QRect CVueBouton_QT::RectFleche() const {
    if (!m_bFleche || width() < 2 * nLARGEUR_FLECHE) return QRect();
    return QRect(width() - nLARGEUR_FLECHE, 0, nLARGEUR_FLECHE, height());
}

QImage CVueBouton_QT::sImageEtat(const QImage& strip, int nEtats, int nEtat) {
    if (strip.isNull()) return QImage();
    nEtats = std::max(1, nEtats);
    int l = strip.width() / nEtats;
    if (l <= 0) return strip;
    int k = nEtat >= 0 && nEtat < nEtats ? nEtat : 0;
    return strip.copy(k * l, 0, l, strip.height());
}

int CVueBouton_QT::nEtatDessine(bool bSurvol, bool bFocus) const {
    if (m_bGrise) return eBTN_GRISE;
    if (m_nEtat == eBTN_ENFONCE || isDown()) return eBTN_ENFONCE;
    if (m_nEtat == eBTN_COURANT || bFocus) return eBTN_COURANT;
    if (m_nEtat == eBTN_SURVOL || bSurvol) return eBTN_SURVOL;
    return eBTN_NORMAL;
}

bool CVueBouton_QT::event(QEvent* e) {
    if (e->type() == QEvent::Shortcut && m_fnLettreAppel) {
        // Alt and the call letter: the model decides (the widget may be
        // deleted by the click, so nothing of it is used afterwards).
        auto fn = m_fnLettreAppel;
        fn();
        return true;
    }
    return QPushButton::event(e);
}

void CVueBouton_QT::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    if (m_nEtat == eBTN_ENFONCE) {
        opt.state |= QStyle::State_Sunken | QStyle::State_On;
        opt.state &= ~QStyle::State_Raised;
    } else if (m_nEtat == eBTN_COURANT || m_nEtat == eBTN_SURVOL) {
        opt.state |= QStyle::State_MouseOver;
    }
    if (m_bGrise) {
        // A greyed button keeps an enabled widget: it is drawn greyed here.
        opt.state &= ~(QStyle::State_Enabled | QStyle::State_MouseOver);
        opt.palette.setCurrentColorGroup(QPalette::Disabled);
    }
    const int nEtat = nEtatDessine(opt.state & QStyle::State_MouseOver, opt.state & QStyle::State_HasFocus);

    // Background: the background image of the state stretched over the
    // button, else the style's button.
    QImage fond = sImageEtat(m_fond.image, m_fond.nEtats, nEtat);
    if (!fond.isNull()) {
        p.save();
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(rect(), fond);
        p.restore();
    } else {
        p.drawControl(QStyle::CE_PushButtonBevel, opt);
    }

    QStyleOptionButton libelle = opt;
    libelle.rect = style()->subElementRect(QStyle::SE_PushButtonContents, &opt, this);
    QRect rf = RectFleche();
    if (!rf.isEmpty()) {
        libelle.rect.setRight(std::min(libelle.rect.right(), rf.left() - 1));
        p.save();
        p.setPen(opt.palette.color(QPalette::Mid));
        p.drawLine(rf.left(), rf.top() + 4, rf.left(), rf.bottom() - 4);
        p.restore();
        QStyleOption fleche;
        fleche.initFrom(this);
        fleche.state = opt.state;
        fleche.palette = opt.palette;
        fleche.rect = rf.adjusted(3, 0, -3, 0);
        p.drawPrimitive(QStyle::PE_IndicatorArrowDown, fleche);
    }

    // The picture of the state, beside the caption (alone: centred). A
    // strip with a greyed image gives it; otherwise Qt greys the picture.
    libelle.icon = QIcon();
    QImage image = sImageEtat(m_image.image, m_image.nEtats, nEtat);
    if (!image.isNull() && libelle.rect.isValid()) {
        QPixmap pm = QPixmap::fromImage(image);
        QSize t = pm.size();
        if (t.width() > libelle.rect.width() || t.height() > libelle.rect.height())
            t = t.scaled(libelle.rect.size(), Qt::KeepAspectRatio);
        QIcon icone(pm);
        if (m_bGrise && m_image.nEtats > eBTN_GRISE) icone.addPixmap(pm, QIcon::Disabled);
        libelle.icon = icone;
        libelle.iconSize = t;
    }
    p.drawControl(QStyle::CE_PushButtonLabel, libelle);
    kvvue::DessineCadre(p, rect(), m_style, palette());
}

// ---------------------------------------------------------------- controller

CBouton* CControleurBouton_QT::pclBouton() const {
    CChamp* c = m_pclObjet ? m_pclObjet->pclCastToChamp() : nullptr;
    return dynamic_cast<CBouton*>(c);
}

int CControleurBouton_QT::veQuandRecoitFocus(const CInfoEveFocus& info) {
    m_bFocusClicRefuse = false;
    QPointer<QWidget> w(info.pDispatcher);
    int n = CControleurChamp_QT::veQuandRecoitFocus(info);
    if (!w) return 0;
    // A click that moved the focus here: when the change was refused (or
    // the entry code sent the focus elsewhere) the press is no click.
    auto* e = static_cast<QFocusEvent*>(info.pEvenement);
    if (e->reason() == Qt::MouseFocusReason && QApplication::focusWidget() != w) m_bFocusClicRefuse = true;
    return n;
}

int CControleurBouton_QT::veQuandPresseBoutonGaucheSouris(const CInfoEvenement& info) {
    bool bRefuse = m_bFocusClicRefuse;
    m_bFocusClicRefuse = false;
    CBouton* b = pclBouton();
    if (!b) return 1;
    if (bRefuse || !b->bIsEnabled() || !b->bIsVisible()) return 0;
    // The arrow's area opens a menu or popup window (not available yet): no click.
    auto* v = dynamic_cast<CVueBouton_QT*>(info.pDispatcher);
    auto* e = static_cast<QMouseEvent*>(info.pEvenement);
    if (v && v->RectFleche().contains(e->position().toPoint())) return 0;
    return 1;
}

int CControleurBouton_QT::veQuandPresseBoutonClavier(const CInfoEvenement& info) {
    CBouton* b = pclBouton();
    if (!b) return 1;
    auto* e = static_cast<QKeyEvent*>(info.pEvenement);
    const int k = e->key();
    if (k == Qt::Key_Space || k == Qt::Key_Return || k == Qt::Key_Enter) return b->bIsEnabled() && b->bIsVisible() ? 1 : 0;
    // A button takes no text: a letter typed on it is a call letter of its window.
    QPointer<QWidget> w(info.pDispatcher);
    if (bTraiteLettreAppel(b->vpclGetFenPrincipale(), e)) return w ? 1 : 0;
    return 1;
}

void CControleurBouton_QT::OnClic() {
    if (CBouton* b = pclBouton()) b->OnClicUtilisateur();
}

void CControleurBouton_QT::OnLettreAppel() {
    CBouton* b = pclBouton();
    if (!b) return;
    if (CFenPrincipale* f = b->vpclGetFenPrincipale()) {
        CBouton::sbExecuteLettreAppel(f, b->cGetLettreAppel());
    } else if (b->bIsVisible() && b->bIsEnabled()) {
        b->vExecActionLettreAppel();
    }
}

bool bTraiteLettreAppel(CFenPrincipale* f, const QKeyEvent* e) {
    if (!f || !e) return false;
    Qt::KeyboardModifiers m = e->modifiers() & ~Qt::KeypadModifier;
    if (m != Qt::NoModifier && m != Qt::AltModifier) return false;
    // Keys of characters carry the character's upper-case code.
    const int k = e->key();
    if (k <= 0x20 || k >= 0x01000000) return false;
    return CBouton::sbExecuteLettreAppel(f, static_cast<wchar_t>(k));
}

namespace {
QWidget* pclCreeWidget(CChamp& champ, QWidget* pParent) {
    auto& bouton = static_cast<CBouton&>(champ);
    auto* c = new CControleurBouton_QT(&bouton);
    auto* d = new CQTDispatcher<CVueBouton_QT>(pParent, c);
    d->SetActions([c] { c->OnClic(); }, [c] { c->OnLettreAppel(); });
    bouton.SetVueFamille(d);
    return d;
}

const CInscriptionVue s_vue(ID_BOUTON, &pclCreeWidget);
} // namespace
