// The base of a control family: what every family repeats is written here
// once. The family's own record (TEnreg, after the common control record)
// is read and written by its one serialise(); its view (TVue, the family's
// interface to its widget) is handed over once by the Qt layer when the
// widget is made; setters change a field and refresh the view only when
// the value really changed.
#pragma once
#include "controls/core/CChamp.h"

template <eID_OBJET GENRE, class TEnreg, class TVue>
class CChampFamille : public CChamp {
public:
    static constexpr eID_OBJET ID = GENRE;
    int dwGetId() const override { return GENRE; }
    int vnGenreVue() const override { return GENRE; }

    const TEnreg& Enregistrement() const { return m_st; }
    // Called by the family's view when it makes the widget.
    void SetVueFamille(TVue* p) { m_pVueFamille = p; }

protected:
    void vLitSpecifique(CLecteurKV& ar) override { serialise(ar, m_st); }
    void vEcritSpecifique(CEcrivainKV& ar) override { serialise(ar, m_st); }

    // The family's view while the control has a widget, else null.
    TVue* pclVue() const { return pclGetVueChamp() ? m_pVueFamille : nullptr; }

    // The setters' one shape: nothing when unchanged, else assign and
    // refresh once. True when the value changed.
    template <class T, class V>
    bool bChange(T& champ, const V& v) {
        if (champ == v) return false;
        champ = v;
        vMAJVue();
        return true;
    }

    TEnreg m_st;

private:
    TVue* m_pVueFamille = nullptr;
};
