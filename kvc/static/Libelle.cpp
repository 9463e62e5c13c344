// The own keys of the static text control.
//
//   - static: LIB_Title
//     align: left | centre | right
//     valign: top | middle | bottom
//     wrap: true
#include "EntreeYAML.h"
#include "Registre.h"
#include "controls/static/CChampLibelle.h"

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

const CInscription s_inscription([] { bInscritCompilateurChamp(ID_LIBELLE, &bCompileLibelle); });

} // namespace
