// What the image's model asks of its view.
#pragma once
#include "base/CTString.h"
#include "controls/core/CStyleChamp.h"

struct STImage;

class IVueImage {
public:
    virtual ~IVueImage() = default;
    // Style, display mode, transparent background and the file to draw
    // (empty: none); the view reads the file again only when it changes.
    virtual void AfficheImage(const STStyleChamp& s, const STImage& st, const CTString& sChemin) = 0;
};
