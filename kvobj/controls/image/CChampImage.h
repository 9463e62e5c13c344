// Image: a picture file drawn in the control in one of five display modes.
// Its value is the image's name.
#pragma once
#include "controls/core/CChampFamille.h"
#include "controls/image/VueImage.h"

// Display modes.
inline constexpr int32_t nIMAGE_CENTRE = 0;
inline constexpr int32_t nIMAGE_ETIRE = 1;
inline constexpr int32_t nIMAGE_HOMOTHETIQUE = 2;  // keeps the aspect, fits the control
inline constexpr int32_t nIMAGE_MOSAIQUE = 3;      // tiled from the top-left corner
inline constexpr int32_t nIMAGE_HAUT_GAUCHE = 4;

// The image's own record, after the common control record.
struct STImage {
    uint32_t nVersion = 1;
    CTString sImage;                  // file path; a relative path is taken from the image folder
    int32_t nMode = nIMAGE_CENTRE;    // other values draw as centred
    bool bFondTransparent = false;    // the style's background is not painted
};

// Version 1, a declared size.
template <class A>
void serialise(A& ar, STImage& r) {
    CEnregistrement<A> rec(ar, r.nVersion, {1, 1, 1}, "Image");
    ar.TexteTechnique(r.sImage, "image");
    ar(r.nMode, "display_mode");
    ar(r.bFondTransparent, "transparent_background");
    rec.Fin();
}

class CChampImage : public CChampFamille<ID_IMAGE, STImage, IVueImage> {
public:
    // The folder relative image names are taken from (the project's folder).
    static void s_SetRepertoireImages(const CTString& sRepertoire);
    static const CTString& s_sGetRepertoireImages();

    CAny _vGetValeurPourPersistance() const override;
    KV_ACCESSEURS(Valeur)
    const wchar_t* pszGetNomType() const override { return L"image"; }
    void _vSetValeurPourPersistance(const CAny& cl) override;

    const STImage& GetImage() const { return m_st; }
    void SetImage(const wchar_t* pszImage);
    void SetMode(int32_t n);
    void SetFondTransparent(bool b);
    // The file the image name designates: a relative name is taken from the
    // image folder; empty without a name.
    CTString sGetCheminImage() const;

    void vMAJVue() override;

};
