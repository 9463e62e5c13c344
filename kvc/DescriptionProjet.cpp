// The project description in the compiler: built from project.yaml, and
// printed back by "kvc dump".
#include "DescriptionProjet.h"
#include "Compilateur.h"
#include "Registre.h"
#include "conteneur/CConteneurProjet.h"
#include "conteneur/Identifiants.h"

STDescriptionProjet DescriptionProjet(const STProjetSource& projet) {
    STDescriptionProjet d;
    d.sNom = projet.sNom;
    d.sPremiereFenetre = projet.sPremiereFenetre;
    // The window's own spelling of its name.
    for (const auto& f : projet.tabFenetres)
        if (bNomsEgaux(f.objet.sNom, projet.sPremiereFenetre)) d.sPremiereFenetre = f.objet.sNom;
    d.nCodePage = projet.nCodePage;
    d.bGereLangues = !projet.tabLangues.empty();
    for (const auto& l : projet.tabLangues) d.tabLangues.emplace_back(l);
    for (const auto& f : projet.tabFenetres) d.tabFenetres.emplace_back(f.objet.sNom);
    return d;
}

namespace {

void DumpProjet(CKVBuffer& b, unsigned nCodePage, std::wostream& trace) {
    STDescriptionProjet d;
    CLecteurKV ar(b, nCodePage);
    ar.SetTrace(&trace);
    serialise(ar, d);
}

const CInscription s_inscription([] {
    InscritTypeDescription({eTYPE_DESCRIPTION_PROJET, "project", nullptr, &DumpProjet});
});

} // namespace
