#include "controls/graphic/CChampImage.h"
#include "controls/graphic/VueStyle.h"
#include "windows/Focus_QT.h"
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QWidget>

// ---------------------------------------------------------------- view

// The image's widget: the picture is read once, when its file changes, and
// drawn in the display mode over the style's background, under its frame.
// A file that is missing or cannot be read leaves only background and frame.
class CVueImage_QT : public QWidget {
public:
    explicit CVueImage_QT(QWidget* pParent) : QWidget(pParent) {}

    void SetFichier(const QString& sChemin) {
        if (sChemin == m_sChemin) return;
        m_sChemin = sChemin;
        Charge();
    }
    void SetMode(int n) {
        if (n == m_nMode) return;
        m_nMode = n;
        update();
    }
    void SetFondTransparent(bool b) {
        if (b == m_bFondTransparent) return;
        m_bFondTransparent = b;
        Applique();
    }
    void SetStyle(const STStyleChamp& s) {
        m_styleChamp = s;
        Applique();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        kvvue::DessineFond(p, rect(), m_style);
        QRect r = contentsRect();
        if (!m_image.isNull() && r.isValid()) {
            p.save();
            p.setClipRect(r);
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            DessineImage(p, r);
            p.restore();
        }
        kvvue::DessineCadre(p, rect(), m_style, palette());
    }

private:
    // A transparent background leaves the style's background colour out of
    // the drawing and of the palette alike.
    void Applique() {
        m_style = m_styleChamp;
        if (m_bFondTransparent) m_style.nCouleurFond = nCOULEUR_TRANSPARENT;
        kvvue::AppliqueStyle(this, m_style);
        update();
    }

    void Charge() {
        m_image = QImage();
        if (!m_sChemin.isEmpty()) {
            QImageReader lecteur(m_sChemin);
            lecteur.setAutoTransform(true);
            m_image = lecteur.read();  // a null image when the file cannot be read
        }
        update();
    }

    void DessineImage(QPainter& p, const QRect& r) {
        const QSize t = m_image.size();
        switch (m_nMode) {
        case nIMAGE_ETIRE:
            p.drawImage(r, m_image);
            break;
        case nIMAGE_HOMOTHETIQUE: {
            QSize s = t.scaled(r.size(), Qt::KeepAspectRatio);
            if (s.isEmpty()) break;
            p.drawImage(QRect(QPoint(r.x() + (r.width() - s.width()) / 2, r.y() + (r.height() - s.height()) / 2), s),
                        m_image);
            break;
        }
        case nIMAGE_MOSAIQUE:
            p.setBrushOrigin(r.topLeft());
            p.fillRect(r, QBrush(m_image));
            break;
        case nIMAGE_HAUT_GAUCHE:
            p.drawImage(r.topLeft(), m_image);
            break;
        default:  // centred, and any mode this version does not know
            p.drawImage(QPoint(r.x() + (r.width() - t.width()) / 2, r.y() + (r.height() - t.height()) / 2), m_image);
            break;
        }
    }

    QString m_sChemin;
    QImage m_image;
    int m_nMode = nIMAGE_CENTRE;
    bool m_bFondTransparent = false;
    STStyleChamp m_styleChamp;  // the control's style
    STStyleChamp m_style;       // the style drawn
};

// ---------------------------------------------------------------- control

namespace {
CTString& RepertoireImages() {
    static CTString s;
    return s;
}
} // namespace

void CChampImage::s_SetRepertoireImages(const CTString& sRepertoire) { RepertoireImages() = sRepertoire; }
const CTString& CChampImage::s_sGetRepertoireImages() { return RepertoireImages(); }

CTString CChampImage::sGetCheminImage() const {
    if (m_stImage.sImage.empty()) return CTString();
    QString sNom = QString::fromStdWString(m_stImage.sImage);
    const CTString& sRep = RepertoireImages();
    if (QFileInfo(sNom).isRelative() && !sRep.empty()) sNom = QDir(QString::fromStdWString(sRep)).filePath(sNom);
    return CTString(sNom.toStdWString());
}

CAny CChampImage::_vGetValeurPourPersistance() const {
    CAny cl;
    cl.SetPSTRX(m_stImage.sImage.c_str());
    return cl;
}

void CChampImage::_vSetValeurPourPersistance(const CAny& cl) {
    CTString s;
    if (cl.nGetType() != 0) cl.__nCastToString(s);
    SetImage(s.c_str());
}

void CChampImage::SetImage(const wchar_t* pszImage) {
    m_stImage.sImage.Set(pszImage);
    MAJVueImage();
}

void CChampImage::SetMode(int32_t n) {
    m_stImage.nMode = n;
    MAJVueImage();
}

void CChampImage::SetFondTransparent(bool b) {
    m_stImage.bFondTransparent = b;
    MAJVueImage();
}

QWidget* CChampImage::vpclCreeDispatcherQT(QWidget* pParent) {
    return new CQTDispatcher<CVueImage_QT>(pParent, new CControleurChamp_QT(this));
}

CVueImage_QT* CChampImage::pclGetVue() const { return dynamic_cast<CVueImage_QT*>(pGetWidget()); }

void CChampImage::vMAJVue() {
    CChamp::vMAJVue();
    MAJVueImage();
}

void CChampImage::MAJVueImage() {
    CVueImage_QT* v = pclGetVue();
    if (!v) return;
    v->SetStyle(m_style);
    v->SetMode(m_stImage.nMode);
    v->SetFondTransparent(m_stImage.bFondTransparent);
    v->SetFichier(QString::fromStdWString(sGetCheminImage()));
}

CObjet* pclCreeChampImage() { return new CChampImage(); }

// The value is what the control persists: read and written the same way.
void CChampImage::xGet_PropValeur(CAny* v) { *v = _vGetValeurPourPersistance(); }
void CChampImage::xSet_PropValeur(const CAny& v) {
    CAny cl;
    CTString s;
    if (v.nGetType() != 0) v.__nCastToString(s);
    cl.SetPSTRX(s.c_str());
    _vSetValeurPourPersistance(cl);
}
