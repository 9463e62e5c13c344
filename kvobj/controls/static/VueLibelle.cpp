// The static text's Qt view.
#include "controls/static/VueLibelle.h"
#include "controls/core/VueStyle.h"
#include "controls/static/CChampLibelle.h"
#include "controls/core/VueChamp_QT.h"
#include "windows/CQTDispatcher.h"
#include "windows/Focus_QT.h"
#include <QLabel>
#include <QPainter>

namespace {

Qt::Alignment AlignementQt(const STLibelle& st) {
    Qt::Alignment a;
    switch (st.nAlignementH) {
    case 1: a = Qt::AlignHCenter; break;
    case 2: a = Qt::AlignRight; break;
    default: a = Qt::AlignLeft; break;
    }
    switch (st.nAlignementV) {
    case 1: a |= Qt::AlignVCenter; break;
    case 2: a |= Qt::AlignBottom; break;
    default: a |= Qt::AlignTop; break;
    }
    return a;
}

// Line breaks written the Windows way show as one break.
QString TexteAffiche(const CTString& s) {
    QString q = QString::fromStdWString(s);
    q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    q.replace(QChar(u'\r'), QChar(u'\n'));
    return q;
}

// The static text's widget. QLabel keeps the caption, alignment and word
// wrap (and so gives the size hints); the drawing is ours, so that the
// style's colours, frame and greyed state are honoured.
class CVueLibelle_QT : public QLabel, public IVueLibelle {
public:
    explicit CVueLibelle_QT(QWidget* pParent) : QLabel(pParent) {
        // Captions are plain text: markup is not interpreted.
        setTextFormat(Qt::PlainText);
        setFocusPolicy(Qt::NoFocus);
    }

    void AfficheLibelle(const STStyleChamp& s, const STLibelle& st, const CTString& sLibelle, bool bGrise) override {
        m_style = s;
        kvvue::AppliqueStyle(this, s);
        setAlignment(AlignementQt(st));
        setWordWrap(st.bRetourLigne);
        setText(TexteAffiche(sLibelle));
        m_bGrise = bGrise;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        kvvue::DessineFond(p, rect(), m_style);
        QRect r = contentsRect();
        if (r.isValid() && !text().isEmpty()) {
            p.save();
            p.setClipRect(r);
            p.setFont(font());
            p.setPen(kvvue::CouleurTexte(m_style, palette(), m_bGrise));
            int nFlags = static_cast<int>(alignment());
            if (wordWrap()) nFlags |= Qt::TextWordWrap;
            p.drawText(r, nFlags, text());
            p.restore();
        }
        kvvue::DessineCadre(p, rect(), m_style, palette());
    }

private:
    STStyleChamp m_style;
    bool m_bGrise = false;
};

} // namespace

namespace {
QWidget* pclCreeWidget(CChamp& champ, QWidget* pParent) {
    auto& libelle = static_cast<CChampLibelle&>(champ);
    auto* d = new CQTDispatcher<CVueLibelle_QT>(pParent, new CControleurChamp_QT(&libelle));
    libelle.SetVueFamille(d);
    return d;
}

const CInscriptionVue s_vue(ID_LIBELLE, &pclCreeWidget);
} // namespace
