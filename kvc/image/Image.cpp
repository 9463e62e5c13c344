// The own keys of the image control.
//
//   - image: IMG_Logo
//     file: logo.png      (from the project folder)
//     mode: centred | stretched | homothetic | tiled | top_left
//     transparent: true   (the background colour is not painted)
#include "EntreeYAML.h"
#include "Registre.h"
#include "conteneur/Identifiants.h"
#include "controls/image/CChampImage.h"
#include <filesystem>

namespace {

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

const CInscription s_inscription([] { bInscritCompilateurChamp(ID_IMAGE, &bCompileImage); });

} // namespace
