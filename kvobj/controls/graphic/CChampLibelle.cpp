#include "controls/graphic/CChampLibelle.h"
#include "controls/graphic/VueStyle.h"
#include "windows/Focus_QT.h"
#include <QLabel>
#include <QPainter>

// ---------------------------------------------------------------- view

// The static text's widget. QLabel keeps the caption, alignment and word
// wrap (and so gives the size hints); the drawing is ours, so that the
// style's colours, frame and greyed state are honoured.
class CVueLibelle_QT : public QLabel {
public:
    explicit CVueLibelle_QT(QWidget* pParent) : QLabel(pParent) {
        // Captions are plain text: markup is not interpreted.
        setTextFormat(Qt::PlainText);
        setFocusPolicy(Qt::NoFocus);
    }

    void SetStyle(const STStyleChamp& s) {
        m_style = s;
        kvvue::AppliqueStyle(this, s);
        update();
    }
    void SetGrise(bool b) {
        if (b == m_bGrise) return;
        m_bGrise = b;
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

} // namespace

// ---------------------------------------------------------------- control

void CChampLibelle::_Deserialize(CLecteurKV& ar) {
    CChamp::_Deserialize(ar);
    // Whatever the description says, static text is never a tab stop.
    m_bTabStop = false;
    m_nTabOrder = -1;
}

void CChampLibelle::SetLibelle(const wchar_t* psz) {
    CChamp::SetLibelle(psz);
    MAJVueLibelle();
}

CAny CChampLibelle::_vGetValeurPourPersistance() const {
    CAny cl;
    cl.SetPSTRX(m_sLibelle.c_str());
    return cl;
}

void CChampLibelle::_vSetValeurPourPersistance(const CAny& cl) {
    CTString s;
    if (cl.nGetType() != 0) cl.__nCastToString(s);
    SetLibelle(s.c_str());
}

void CChampLibelle::SetAlignement(int32_t nH, int32_t nV) {
    m_stLibelle.nAlignementH = nH;
    m_stLibelle.nAlignementV = nV;
    MAJVueLibelle();
}

void CChampLibelle::SetRetourLigne(bool b) {
    m_stLibelle.bRetourLigne = b;
    MAJVueLibelle();
}

QWidget* CChampLibelle::vpclCreeDispatcherQT(QWidget* pParent) {
    return new CQTDispatcher<CVueLibelle_QT>(pParent, new CControleurChamp_QT(this));
}

CVueLibelle_QT* CChampLibelle::pclGetVue() const { return dynamic_cast<CVueLibelle_QT*>(pGetWidget()); }

void CChampLibelle::vMAJVue() {
    CChamp::vMAJVue();
    MAJVueLibelle();
}

void CChampLibelle::MAJVueLibelle() {
    CVueLibelle_QT* v = pclGetVue();
    if (!v) return;
    v->SetStyle(m_style);
    v->setAlignment(AlignementQt(m_stLibelle));
    v->setWordWrap(m_stLibelle.bRetourLigne);
    v->setText(TexteAffiche(m_sLibelle));
    v->SetGrise(bIsGrayed());
}

CObjet* pclCreeChampLibelle() { return new CChampLibelle(); }

// The value is what the control persists: read and written the same way.
void CChampLibelle::xGet_PropValeur(CAny* v) { *v = _vGetValeurPourPersistance(); }
void CChampLibelle::xSet_PropValeur(const CAny& v) {
    CAny cl;
    CTString s;
    if (v.nGetType() != 0) v.__nCastToString(s);
    cl.SetPSTRX(s.c_str());
    _vSetValeurPourPersistance(cl);
}
