// The own keys of the static text and image controls.
//
//   - static: LIB_Title                 - image: IMG_Logo
//     align: left | centre | right        file: logo.png      (from the project folder)
//     valign: top | middle | bottom       mode: centred | stretched | homothetic | tiled | top_left
//     wrap: true                          transparent: true   (the background colour is not painted)
#include "EntreeYAML.h"
#include "Registre.h"
#include "conteneur/Identifiants.h"
#include "controls/graphic/CChampImage.h"
#include "controls/graphic/CChampLibelle.h"
#include <filesystem>

namespace {

bool bCompileLibelle(CEntreeYAML& e, CChamp& c, STContexteCompilation&) {
    auto* l = dynamic_cast<CChampLibelle*>(&c);
    if (!l) return false;
    STLibelle st = l->GetLibelle();
    e.bChoix("align", {{"left", 0}, {"centre", 1}, {"right", 2}}, st.nAlignementH);
    e.bChoix("valign", {{"top", 0}, {"middle", 1}, {"bottom", 2}}, st.nAlignementV);
    l->SetAlignement(st.nAlignementH, st.nAlignementV);
    if (e.bBooleen("wrap", st.bRetourLigne)) l->SetRetourLigne(st.bRetourLigne);
    return e.bOk();
}

bool bCompileImage(CEntreeYAML& e, CChamp& c, STContexteCompilation& ctx) {
    auto* img = dynamic_cast<CChampImage*>(&c);
    if (!img) return false;
    CTString sImage;
    // The kind's key names the control, so the picture is "file".
    if (e.bTexte("file", sImage)) {
        img->SetImage(sImage.c_str());
        // The module takes a relative name from the project's folder: a file
        // missing there shows nothing at run time, which is worth a word now.
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::path p(sVersUtf8(sImage));
        if (p.is_relative()) p = fs::path(ctx.projet.sRepertoire) / p;
        if (!sImage.empty() && !fs::is_regular_file(p, ec))
            e.Diag().Avertissement(e.Position(e.Valeur("file")), "image file '" + p.string() + "' not found");
    }
    int32_t nMode = 0;
    if (e.bChoix("mode",
                 {{"centred", nIMAGE_CENTRE},
                  {"stretched", nIMAGE_ETIRE},
                  {"homothetic", nIMAGE_HOMOTHETIQUE},
                  {"tiled", nIMAGE_MOSAIQUE},
                  {"top_left", nIMAGE_HAUT_GAUCHE}},
                 nMode))
        img->SetMode(nMode);
    bool b = false;
    if (e.bBooleen("transparent", b)) img->SetFondTransparent(b);
    return e.bOk();
}

const CInscription s_inscription([] {
    bInscritCompilateurChamp("static", &bCompileLibelle);
    bInscritCompilateurChamp("image", &bCompileImage);
});

} // namespace
