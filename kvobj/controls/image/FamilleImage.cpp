// The image family's descriptor.
#include "controls/core/Famille.h"
#include "controls/image/CChampImage.h"

namespace {
constexpr eID_OBJET tabGenres[] = {ID_IMAGE};
constexpr ePROPRIETE tabProprietes[] = {PROP_Valeur, PROP_Image, PROP_ImageMode};
} // namespace

extern const STFamilleChamp gFamilleImage = {
    "image", tabGenres, L"CChampImage", [](eID_OBJET) -> CObjet* { return new CChampImage(); }, tabProprietes,
    eTAB_STOP_NON, "image",
};
