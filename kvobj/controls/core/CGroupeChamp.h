// A named group of controls of a window: a property set on the group is
// set on every member.
#pragma once
#include "controls/core/CObjetAPCode.h"
#include <vector>

class CChamp;
class CFenPrincipale;

class CGroupeChamp : public CObjetAPCodeOBJ {
public:
    CGroupeChamp(CFenPrincipale* pclFenetre, const wchar_t* pszNom);
    int xGet_PropType() const { return 58; }
    CFenPrincipale* vpclGetFenPrincipale() const override { return m_pclFenetre; }

    // Members in the window's order.
    std::vector<CChamp*> Membres() const;
    int nGetNbChamp() const { return static_cast<int>(Membres().size()); }
    CChamp* pclGetObjet(int i) const;
    // The n-th member by z-order or tab order (0-based), null out of range.
    CChamp* pclGetChamp_ParZOrder(int n) const;
    CChamp* pclGetChamp_ParTabOrder(int n) const;

    // Applies an operation to every member (the group property setters).
    template <class F>
    void PourChaqueMembre(F f) const {
        for (CChamp* c : Membres()) f(c);
    }

private:
    CFenPrincipale* m_pclFenetre;
};
