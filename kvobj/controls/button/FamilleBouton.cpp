// The button family's descriptor.
#include "controls/button/CBouton.h"
#include "controls/core/Famille.h"

namespace {
constexpr eID_OBJET tabGenres[] = {ID_BOUTON};
constexpr ePROPRIETE tabProprietes[] = {PROP_Image, PROP_ImageEtat, PROP_ImageFond, PROP_ImageFondEtat, PROP_Enfonce, PROP_TypeBouton};
} // namespace

extern const STFamilleChamp gFamilleBouton = {
    "button", tabGenres, L"CBouton", [](eID_OBJET) -> CObjet* { return new CBouton(); }, tabProprietes, eTAB_STOP_OUI, "button",
};
