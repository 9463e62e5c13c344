// Static text: a caption drawn with the control's style, its alignment and
// word wrap. Its value is its caption; it never takes part in the tab order.
#pragma once
#include "controls/core/CChampFamille.h"
#include "controls/static/VueLibelle.h"

// The static text's own record, after the common control record.
struct STLibelle {
    uint32_t nVersion = 1;
    int32_t nAlignementH = 0;   // 0 left, 1 centre, 2 right (other values: left)
    int32_t nAlignementV = 0;   // 0 top, 1 middle, 2 bottom (other values: top)
    bool bRetourLigne = false;  // word wrap
    bool bMiseEnForme = false;  // the caption may hold simple markup (kept, not interpreted yet)
};

// Version 1, a declared size.
template <class A>
void serialise(A& ar, STLibelle& r) {
    CEnregistrement<A> rec(ar, r.nVersion, {1, 1, 1}, "StaticText");
    ar(r.nAlignementH, "horizontal_alignment");
    ar(r.nAlignementV, "vertical_alignment");
    ar(r.bRetourLigne, "word_wrap");
    ar(r.bMiseEnForme, "markup");
    rec.Fin();
}

class CChampLibelle : public CChampFamille<ID_LIBELLE, STLibelle, IVueLibelle> {
public:
    void _Deserialize(CLecteurKV& ar) override;

    void SetLibelle(const wchar_t* psz) override;
    CAny _vGetValeurPourPersistance() const override;
    KV_ACCESSEURS(Valeur)
    const wchar_t* pszGetNomType() const override { return L"static text"; }
    void _vSetValeurPourPersistance(const CAny& cl) override;

    const STLibelle& GetLibelle() const { return m_st; }
    void SetAlignement(int32_t nH, int32_t nV);
    void SetRetourLigne(bool b);
    void SetMiseEnForme(bool b) { m_st.bMiseEnForme = b; }

    void vMAJVue() override;

};
