// The static text family's descriptor.
#include "controls/core/Famille.h"
#include "controls/static/CChampLibelle.h"

namespace {
constexpr eID_OBJET tabGenres[] = {ID_LIBELLE};
constexpr ePROPRIETE tabProprietes[] = {PROP_Valeur, PROP_CadrageH, PROP_CadrageV};
} // namespace

extern const STFamilleChamp gFamilleLibelle = {
    "static", tabGenres, L"CChampLibelle", [](eID_OBJET) -> CObjet* { return new CChampLibelle(); }, tabProprietes,
    eTAB_STOP_JAMAIS, "static",
};
