#include "controls/static/CChampLibelle.h"

// ---------------------------------------------------------------- control

void CChampLibelle::_Deserialize(CLecteurKV& ar) {
    CChamp::_Deserialize(ar);
    // Whatever the description says, static text is never a tab stop.
    m_bTabStop = false;
    m_nTabOrder = -1;
}

void CChampLibelle::SetLibelle(const wchar_t* psz) {
    if (m_sLibelle == CTString(psz)) return;
    CChamp::SetLibelle(psz);
    vMAJVue();
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
    if (m_st.nAlignementH == nH && m_st.nAlignementV == nV) return;
    m_st.nAlignementH = nH;
    m_st.nAlignementV = nV;
    vMAJVue();
}

void CChampLibelle::SetRetourLigne(bool b) { bChange(m_st.bRetourLigne, b); }

void CChampLibelle::vMAJVue() {
    CChamp::vMAJVue();
    if (IVueLibelle* v = pclVue()) v->AfficheLibelle(m_style, m_st, m_sLibelle, bIsGrayed());
}

// The value is what the control persists: read and written the same way.
void CChampLibelle::xGet_PropValeur(CAny* v) { *v = _vGetValeurPourPersistance(); }
void CChampLibelle::xSet_PropValeur(const CAny& v) {
    CAny cl;
    CTString s;
    if (v.nGetType() != 0) v.__nCastToString(s);
    cl.SetPSTRX(s.c_str());
    _vSetValeurPourPersistance(cl);
}
