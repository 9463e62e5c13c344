#include "controls/image/CChampImage.h"
#include <QDir>
#include <QFileInfo>

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
    if (m_st.sImage.empty()) return CTString();
    QString sNom = QString::fromStdWString(m_st.sImage);
    const CTString& sRep = RepertoireImages();
    if (QFileInfo(sNom).isRelative() && !sRep.empty()) sNom = QDir(QString::fromStdWString(sRep)).filePath(sNom);
    return CTString(sNom.toStdWString());
}

CAny CChampImage::_vGetValeurPourPersistance() const {
    CAny cl;
    cl.SetPSTRX(m_st.sImage.c_str());
    return cl;
}

void CChampImage::_vSetValeurPourPersistance(const CAny& cl) {
    CTString s;
    if (cl.nGetType() != 0) cl.__nCastToString(s);
    SetImage(s.c_str());
}

void CChampImage::SetImage(const wchar_t* pszImage) { bChange(m_st.sImage, CTString(pszImage)); }

void CChampImage::SetMode(int32_t n) { bChange(m_st.nMode, n); }

void CChampImage::SetFondTransparent(bool b) { bChange(m_st.bFondTransparent, b); }

void CChampImage::vMAJVue() {
    CChamp::vMAJVue();
    if (IVueImage* v = pclVue()) v->AfficheImage(m_style, m_st, sGetCheminImage());
}

// The value is what the control persists: read and written the same way.
void CChampImage::xGet_PropValeur(CAny* v) { *v = _vGetValeurPourPersistance(); }
void CChampImage::xSet_PropValeur(const CAny& v) {
    CAny cl;
    CTString s;
    if (v.nGetType() != 0) v.__nCastToString(s);
    cl.SetPSTRX(s.c_str());
    _vSetValeurPourPersistance(cl);
}
