// The edit family's descriptor.
#include "controls/core/Famille.h"
#include "controls/edit/CSaisie.h"

namespace {
constexpr eID_OBJET tabGenres[] = {ID_SAISIE};
constexpr ePROPRIETE tabProprietes[] = {
    PROP_Valeur,      PROP_Curseur,    PROP_FinCurseur,   PROP_MasqueSaisie,          PROP_Taille,
    PROP_Multiligne,  PROP_CadrageH,   PROP_CadrageV,     PROP_MotDePasse,            PROP_ValeurAffichee,
    PROP_BorneMin,    PROP_BorneMax,   PROP_TypeSaisie,   PROP_Ellipse,               PROP_RetraitGauche,
    PROP_TexteConseil, PROP_Unicode,   PROP_EffacementAutomatique, PROP_TexteSelectionne, PROP_BoutonCalendrier,
    PROP_NullSiVide,  PROP_RetraitDroit,
};
} // namespace

extern const STFamilleChamp gFamilleSaisie = {
    "edit", tabGenres, L"CSaisie", [](eID_OBJET) -> CObjet* { return new CSaisie(); }, tabProprietes, eTAB_STOP_OUI, "edit",
};
