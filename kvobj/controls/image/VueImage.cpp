// The image's Qt view.
#include "controls/image/VueImage.h"
#include "controls/core/VueStyle.h"
#include "controls/image/CChampImage.h"
#include "controls/core/VueChamp_QT.h"
#include "windows/CQTDispatcher.h"
#include "windows/Focus_QT.h"
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QWidget>

namespace {

// The image's widget: the picture is read once, when its file changes, and
// drawn in the display mode over the style's background, under its frame.
// A file that is missing or cannot be read leaves only background and frame.
class CVueImage_QT : public QWidget, public IVueImage {
public:
    explicit CVueImage_QT(QWidget* pParent) : QWidget(pParent) {}

    void AfficheImage(const STStyleChamp& s, const STImage& st, const CTString& sChemin) override {
        SetStyle(s);
        SetMode(st.nMode);
        SetFondTransparent(st.bFondTransparent);
        SetFichier(QString::fromStdWString(sChemin));
    }

private:

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

} // namespace

namespace {
QWidget* pclCreeWidget(CChamp& champ, QWidget* pParent) {
    auto& image = static_cast<CChampImage&>(champ);
    auto* d = new CQTDispatcher<CVueImage_QT>(pParent, new CControleurChamp_QT(&image));
    image.SetVueFamille(d);
    return d;
}

const CInscriptionVue s_vue(ID_IMAGE, &pclCreeWidget);
} // namespace
