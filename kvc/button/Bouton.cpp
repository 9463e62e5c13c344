// The own keys of the button (its caption, with '&' before the call letter,
// is the common "caption").
//
//   - button: BTN_OK
//     type: normal | validation | interrupt | cancel | help     (or 0..4; normal by default)
//     toggle: true             pressed: true   (a toggle button that starts pressed)
//     image: ok.png            image_states: 1..5        (images side by side in the file)
//     background_image: f.png  background_states: 1..5
//     arrow: true              a drop-down arrow at the right of the button
//     arrow_menu: MENU_X       arrow_popup: FEN_Popup     option_becomes_action: true
//
// Types 0 and 1 take the focus when clicked; the others do not. A
// validation button checks the window's mandatory inputs before its click
// code runs. Image files are taken from the project's folder.
#include "EntreeYAML.h"
#include "Registre.h"
#include "conteneur/Identifiants.h"
#include "controls/button/CBouton.h"
#include <filesystem>

namespace {

// An image file of the button: a missing file shows nothing at run time,
// which is worth a word now.
void ImageExiste(CEntreeYAML& e, const char* pszCle, const CTString& sImage, STContexteCompilation& ctx) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path p(sVersUtf8(sImage));
    if (p.is_relative()) p = fs::path(ctx.projet.sRepertoire) / p;
    if (!sImage.empty() && !fs::is_regular_file(p, ec))
        e.Diag().Avertissement(e.Position(e.Valeur(pszCle)), "image file '" + p.string() + "' not found");
}

bool bCompileBouton(CEntreeYAML& e, CChamp& c, STContexteCompilation& ctx) {
    auto* b = dynamic_cast<CBouton*>(&c);
    if (!b) return false;
    int32_t n = 0;
    if (e.bChoix("type",
                 {{"normal", nBOUTON_NORMAL},
                  {"validation", nBOUTON_VALIDATION},
                  {"interrupt", nBOUTON_INTERRUPTION},
                  {"cancel", nBOUTON_ANNULATION},
                  {"help", nBOUTON_AIDE},
                  {"0", 0},
                  {"1", 1},
                  {"2", 2},
                  {"3", 3},
                  {"4", 4}},
                 n))
        b->SetTypeBouton(n);
    else
        b->SetTypeBouton(nBOUTON_NORMAL);  // the take-focus flag follows the type

    bool bBascule = false, bEnfonce = false;
    if (e.bBooleen("toggle", bBascule)) b->SetInterrupteur(bBascule);
    if (e.bBooleen("pressed", bEnfonce)) {
        if (bEnfonce && !bBascule)
            e.Erreur(e.Valeur("pressed"), "'pressed' is for toggle buttons ('toggle: true')");
        else
            b->SetEnfonce(bEnfonce);
    }

    CTString s;
    if (e.bTexte("image", s)) {
        b->SetImage(s.c_str());
        ImageExiste(e, "image", s, ctx);
    }
    if (e.bEntier("image_states", n, 1, nNB_ETATS_IMAGE_MAX)) b->SetImageEtat(n);
    if (e.bTexte("background_image", s)) {
        b->SetImageFond(s.c_str());
        ImageExiste(e, "background_image", s, ctx);
    }
    if (e.bEntier("background_states", n, 1, nNB_ETATS_IMAGE_MAX)) b->SetImageFondEtat(n);

    bool bFleche = false;
    if (e.bBooleen("arrow", bFleche)) b->SetModeFlecheDD(bFleche ? nFLECHE_ZONE : nFLECHE_AUCUNE);
    bool bMenu = e.bNom("arrow_menu", s);
    if (bMenu) b->SetNomMenuSiClicFlecheDD(s.c_str());
    bool bPopup = e.bNom("arrow_popup", s);
    if (bPopup) b->SetNomFenPopupSiClicFlecheDD(s.c_str());
    bool bAction = false;
    if (e.bBooleen("option_becomes_action", bAction)) b->SetOptionPopupSelDevientAction(bAction);
    if ((bMenu || bPopup) && !bFleche)
        e.Erreur(e.Valeur(bMenu ? "arrow_menu" : "arrow_popup"), "the arrow opens it: the button needs 'arrow: true'");
    return e.bOk();
}

const CInscription s_inscription([] { bInscritCompilateurChamp(ID_BOUTON, &bCompileBouton); });

} // namespace
