#include "controls/edit/VueSaisie.h"
#include "controls/edit/CMasque.h"
#include "controls/edit/CSaisie.h"
#include "controls/core/VueStyle.h"
#include "controls/core/VueChamp_QT.h"
#include "windows/Focus_QT.h"
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QPainter>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextDocument>
#include <QTextOption>

namespace {

QPalette PaletteTexte(const QPalette& base, const STStyleChamp& s, bool bGrise, uint32_t dwCouleur) {
    QPalette pal = kvvue::PaletteStyle(s, base);
    QColor c = kvvue::CouleurTexte(s, pal, bGrise);
    if (!bGrise && dwCouleur != COULEUR_MASQUE_AUCUNE) c = kvvue::CouleurQt(dwCouleur);
    pal.setColor(QPalette::Text, c);
    return pal;
}

// What both widgets share: the style, the greyed and read-only states and
// the colour the mask gives the value.
template <class W>
class CVueSaisieBase : public W, public IVueSaisie {
public:
    explicit CVueSaisieBase(QWidget* pParent) : W(pParent) {
        this->setAcceptDrops(false);
        this->setContextMenuPolicy(Qt::NoContextMenu);
    }
    void AppliqueStyle(const STStyleChamp& s, bool bGrise, bool bLectureSeule) override {
        m_style = s;
        m_bGrise = bGrise;
        kvvue::AppliqueStyle(this, s);
        this->setReadOnly(bGrise || bLectureSeule);
        AppliqueCouleur();
    }

    void AppliqueMiseEnPage(int nH, int nV, int nGauche, int nDroit) override {
        Qt::Alignment a = nH == 1 ? Qt::AlignHCenter : nH == 2 ? Qt::AlignRight : Qt::AlignLeft;
        a |= nV == 0 ? Qt::AlignTop : nV == 2 ? Qt::AlignBottom : Qt::AlignVCenter;
        MetAlignement(a);
        MetMarges(nGauche, nDroit);
    }

protected:
    virtual void MetAlignement(Qt::Alignment a) = 0;
    virtual void MetMarges(int nGauche, int nDroit) = 0;
    void AppliqueCouleur() { this->setPalette(PaletteTexte(this->palette(), m_style, m_bGrise, m_dwCouleur)); }

    STStyleChamp m_style;
    bool m_bGrise = false;
    uint32_t m_dwCouleur = COULEUR_MASQUE_AUCUNE;
};

class CVueLigne_QT : public CVueSaisieBase<QLineEdit> {
public:
    using CVueSaisieBase::CVueSaisieBase;
    void AfficheTexte(const CTString& s, int nDebut, int nFin, uint32_t dwCouleur) override {
        QSignalBlocker b(this);
        QString q = QString::fromStdWString(s);
        if (text() != q) setText(q);
        if (nDebut == nFin) setCursorPosition(nFin);
        else setSelection(nDebut, nFin - nDebut);
        m_dwCouleur = dwCouleur;
        AppliqueCouleur();
    }
    void MetAlignement(Qt::Alignment a) override { setAlignment(a); }
    void MetMarges(int nGauche, int nDroit) override {
        m_nRetraitGauche = nGauche;
        m_nRetraitDroit = nDroit;
        setTextMargins(m_nLargeurLibelle + nGauche, 0, nDroit, 0);
    }
    void AppliqueLibelle(const CTString& s, int nLargeur) override {
        m_sLibelle = QString::fromStdWString(s);
        // '&' marks the call letter; it is not shown.
        m_sLibelle.remove(QRegularExpression(QStringLiteral("&(?!&)")));
        m_nLargeurLibelle = m_sLibelle.isEmpty() ? 0 : std::max(0, nLargeur);
        MetMarges(m_nRetraitGauche, m_nRetraitDroit);
        update();
    }

protected:
    // The caption sits left of the entry box: the box is drawn from the end
    // of the caption, the caption on the window's background.
    void paintEvent(QPaintEvent* e) override {
        QLineEdit::paintEvent(e);
        if (m_nLargeurLibelle <= 0) return;
        QPainter p(this);
        const QRect rLibelle(0, 0, m_nLargeurLibelle, height());
        QWidget* pParent = parentWidget();
        p.fillRect(rLibelle, (pParent ? pParent->palette() : palette()).color(QPalette::Window));
        p.setPen(kvvue::CouleurTexte(m_style, palette(), m_bGrise));
        p.drawText(rLibelle.adjusted(0, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_sLibelle);
        QStyleOptionFrame o;
        initStyleOption(&o);
        o.rect = QRect(m_nLargeurLibelle, 0, width() - m_nLargeurLibelle, height());
        style()->drawPrimitive(QStyle::PE_FrameLineEdit, &o, &p, this);
    }

private:
    QString m_sLibelle;
    int m_nLargeurLibelle = 0, m_nRetraitGauche = 0, m_nRetraitDroit = 0;

public:
    void AppliqueOptions(bool bMotDePasse, const CTString& sTexteConseil) override {
        setEchoMode(bMotDePasse ? QLineEdit::Password : QLineEdit::Normal);
        setPlaceholderText(QString::fromStdWString(sTexteConseil));
    }
    void LitSelection(int& nDebut, int& nFin) const override {
        if (hasSelectedText()) {
            nDebut = selectionStart();
            nFin = nDebut + static_cast<int>(selectedText().size());
            // The caret at the start of the selection: keep the order.
            if (cursorPosition() == nDebut) std::swap(nDebut, nFin);
        } else {
            nDebut = nFin = cursorPosition();
        }
    }
};

class CVueMultiligne_QT : public CVueSaisieBase<QPlainTextEdit> {
public:
    using CVueSaisieBase::CVueSaisieBase;
    void AfficheTexte(const CTString& s, int nDebut, int nFin, uint32_t dwCouleur) override {
        QSignalBlocker b(this);
        QString q = QString::fromStdWString(s);
        if (toPlainText() != q) setPlainText(q);
        QTextCursor c = textCursor();
        c.setPosition(nDebut);
        c.setPosition(nFin, QTextCursor::KeepAnchor);
        setTextCursor(c);
        m_dwCouleur = dwCouleur;
        AppliqueCouleur();
    }
    void MetAlignement(Qt::Alignment a) override {
        QTextOption o = document()->defaultTextOption();
        o.setAlignment(a & Qt::AlignHorizontal_Mask);
        document()->setDefaultTextOption(o);
    }
    void MetMarges(int nGauche, int nDroit) override { setViewportMargins(nGauche, 0, nDroit, 0); }
    void AppliqueOptions(bool, const CTString& sTexteConseil) override {
        setPlaceholderText(QString::fromStdWString(sTexteConseil));
    }
    void LitSelection(int& nDebut, int& nFin) const override {
        QTextCursor c = textCursor();
        nDebut = c.anchor();
        nFin = c.position();
    }
};

// Keys reach the model; what it refuses never reaches the widget.
class CControleurChampSaisie_QT : public CControleurChamp_QT {
public:
    CControleurChampSaisie_QT(CSaisie* pclSaisie) : CControleurChamp_QT(pclSaisie), m_pclSaisie(pclSaisie) {}

    int veQuandPresseBoutonClavier(const CInfoEvenement& info) override {
        if (!m_pclObjet) return 1;
        auto* e = static_cast<QKeyEvent*>(info.pEvenement);
        auto* v = dynamic_cast<IVueSaisie*>(info.pDispatcher);
        if (v) {
            int d = 0, f = 0;
            v->LitSelection(d, f);
            m_pclSaisie->SetSelection(d, f);
        }
        const Qt::KeyboardModifiers m = e->modifiers() & ~Qt::KeypadModifier;
        const int k = e->key();
        if (m & Qt::AltModifier) return 1;
        if (m & Qt::ControlModifier) {
            switch (k) {
            case Qt::Key_A: m_pclSaisie->SelectionneTout(); return 0;
            case Qt::Key_C: case Qt::Key_Insert: return 1;
            case Qt::Key_X: {
                CTString s;
                m_pclSaisie->_CMD_Couper(s);
                if (!s.empty()) QApplication::clipboard()->setText(QString::fromStdWString(s));
                return 0;
            }
            case Qt::Key_V: m_pclSaisie->_CMD_Coller(QApplication::clipboard()->text().toStdWString()); return 0;
            case Qt::Key_Z: m_pclSaisie->_CMD_Annuler(); return 0;
            case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Home: case Qt::Key_End: return 1;
            default: return 0;  // nothing else may change the text behind the mask's back
            }
        }
        switch (k) {
        case Qt::Key_Tab: case Qt::Key_Backtab: case Qt::Key_Escape: case Qt::Key_Left: case Qt::Key_Right:
        case Qt::Key_Home: case Qt::Key_End: case Qt::Key_PageUp: case Qt::Key_PageDown:
            return 1;
        case Qt::Key_Up: case Qt::Key_Down:
            return m_pclSaisie->GetSaisie().bMultiligne ? 1 : 0;
        case Qt::Key_Backspace: case Qt::Key_Delete:
            m_pclSaisie->nGereKeyDown(k);
            return 0;
        case Qt::Key_Return: case Qt::Key_Enter:
            if (!m_pclSaisie->GetSaisie().bMultiligne) return 1;  // the window's keys (default button)
            m_pclSaisie->nGereChar(13);
            return 0;
        default: break;
        }
        const QString s = e->text();
        if (s.isEmpty()) return 1;  // keys without text (Shift, F1...)
        for (QChar c : s)
            if (c.unicode() >= 32) m_pclSaisie->nGereChar(static_cast<wchar_t>(c.unicode()));
        return 0;
    }

    int veQuandRecoitFocus(const CInfoEveFocus& info) override {
        int n = CControleurChamp_QT::veQuandRecoitFocus(info);
        if (m_pclObjet && info.pDispatcher->hasFocus()) m_pclSaisie->OnGainFocus();
        return n;
    }
    int veQuandPerdFocus(const CInfoEveFocus&) override {
        if (m_pclObjet) m_pclSaisie->OnPerteFocus();
        return 1;
    }

private:
    CSaisie* m_pclSaisie;
};

} // namespace

namespace {
QWidget* pclCreeWidget(CChamp& champ, QWidget* pParent) {
    auto& saisie = static_cast<CSaisie&>(champ);
    if (saisie.GetSaisie().bMultiligne) {
        auto* d = new CQTDispatcher<CVueMultiligne_QT>(pParent, new CControleurChampSaisie_QT(&saisie));
        saisie.SetVueFamille(d);
        return d;
    }
    auto* d = new CQTDispatcher<CVueLigne_QT>(pParent, new CControleurChampSaisie_QT(&saisie));
    saisie.SetVueFamille(d);
    return d;
}

const CInscriptionVue s_vue(ID_SAISIE, &pclCreeWidget);
} // namespace
