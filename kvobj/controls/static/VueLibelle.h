// What the static text's model asks of its view.
#pragma once
#include "base/CTString.h"
#include "controls/core/CStyleChamp.h"

struct STLibelle;

class IVueLibelle {
public:
    virtual ~IVueLibelle() = default;
    // Style, alignment and word wrap, caption and greyed state, drawn together.
    virtual void AfficheLibelle(const STStyleChamp& s, const STLibelle& st, const CTString& sLibelle, bool bGrise) = 0;
};
