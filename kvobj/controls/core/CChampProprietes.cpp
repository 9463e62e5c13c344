// The properties every control has.
#include "controls/core/CChamp.h"
#include "controls/core/CConteneurChamp.h"
#include "frame/ModuleInfo.h"
#include "frame/Proprietes.h"

void CChamp::xGet_PropNom(CAny* v) { v->SetPSTRX(m_sNom.c_str()); }
void CChamp::xSet_PropNom(const CAny&) { xLectureSeule(PROP_Nom); }
void CChamp::xGet_PropType(CAny* v) { v->SetI4(dwGetId()); }
void CChamp::xSet_PropType(const CAny&) { xLectureSeule(PROP_Type); }
void CChamp::xGet_PropMessage(CAny* v) { v->SetPSTRX(m_sMessageBarre.c_str()); }
void CChamp::xSet_PropMessage(const CAny& v) { m_sMessageBarre = sTextePropriete(v); }
void CChamp::xGet_PropLibelle(CAny* v) { v->SetPSTRX(pszGetLibelle()); }
void CChamp::xSet_PropLibelle(const CAny& v) {
    SetLibelle(sTextePropriete(v).c_str());
    vMAJVue();
}
void CChamp::xGet_PropMenuContextuel(CAny* v) { v->SetPSTRX(m_sMenuContextuel.c_str()); }
void CChamp::xSet_PropMenuContextuel(const CAny& v) { m_sMenuContextuel = sTextePropriete(v); }
void CChamp::xGet_PropNote(CAny* v) { v->SetPSTRX(m_sTexteNote.c_str()); }
void CChamp::xSet_PropNote(const CAny& v) { m_sTexteNote = sTextePropriete(v); }
void CChamp::xGet_PropTitreNote(CAny* v) { v->SetPSTRX(m_sTitreNote.c_str()); }
void CChamp::xSet_PropTitreNote(const CAny& v) { m_sTitreNote = sTextePropriete(v); }

// Colonne and Ligne are the position in the parent's client area.
void CChamp::xGet_PropColonne(CAny* v) { v->SetI4(nGetPosX()); }
void CChamp::xSet_PropColonne(const CAny& v) {
    SetPosition(nEntierPropriete(v, PROP_Colonne), nGetPosY());
    vMAJVue();
}
void CChamp::xGet_PropLigne(CAny* v) { v->SetI4(nGetPosY()); }
void CChamp::xSet_PropLigne(const CAny& v) {
    SetPosition(nGetPosX(), nEntierPropriete(v, PROP_Ligne));
    vMAJVue();
}
void CChamp::xGet_PropHauteur(CAny* v) { v->SetI4(nGetHauteur()); }
void CChamp::xSet_PropHauteur(const CAny& v) {
    SetSize(nGetLargeur(), std::max(0, nEntierPropriete(v, PROP_Hauteur)));
    vMAJVue();
}
void CChamp::xGet_PropLargeur(CAny* v) { v->SetI4(nGetLargeur()); }
void CChamp::xSet_PropLargeur(const CAny& v) {
    SetSize(std::max(0, nEntierPropriete(v, PROP_Largeur)), nGetHauteur());
    vMAJVue();
}
void CChamp::xGet_PropCouleur(CAny* v) { v->SetI4(static_cast<int32_t>(m_style.nCouleurTexte)); }
void CChamp::xSet_PropCouleur(const CAny& v) {
    m_style.nCouleurTexte = static_cast<uint32_t>(nEntierPropriete(v, PROP_Couleur));
    vMAJVue();
}
void CChamp::xGet_PropCouleurFond(CAny* v) { v->SetI4(static_cast<int32_t>(m_style.nCouleurFond)); }
void CChamp::xSet_PropCouleurFond(const CAny& v) {
    m_style.nCouleurFond = static_cast<uint32_t>(nEntierPropriete(v, PROP_CouleurFond));
    vMAJVue();
}
void CChamp::xGet_PropEtat(CAny* v) { v->SetI4(m_eEtat); }
void CChamp::xSet_PropEtat(const CAny& v) {
    int n = nEntierPropriete(v, PROP_Etat);
    if (n < 0 || n > 5) xThrowErreur(10059, n);
    SetState(static_cast<FEN_ETAT>(n));
}
void CChamp::xGet_PropEtatInitial(CAny* v) { v->SetI4(m_eEtatInitial); }
void CChamp::xSet_PropEtatInitial(const CAny&) { xLectureSeule(PROP_EtatInitial); }
void CChamp::xGet_PropXInitial(CAny* v) { v->SetI4(m_rectInitial.x()); }
void CChamp::xSet_PropXInitial(const CAny&) { xLectureSeule(PROP_XInitial); }
void CChamp::xGet_PropYInitial(CAny* v) { v->SetI4(m_rectInitial.y()); }
void CChamp::xSet_PropYInitial(const CAny&) { xLectureSeule(PROP_YInitial); }
void CChamp::xGet_PropLargeurInitiale(CAny* v) { v->SetI4(m_rectInitial.width()); }
void CChamp::xSet_PropLargeurInitiale(const CAny&) { xLectureSeule(PROP_LargeurInitiale); }
void CChamp::xGet_PropHauteurInitiale(CAny* v) { v->SetI4(m_rectInitial.height()); }
void CChamp::xSet_PropHauteurInitiale(const CAny&) { xLectureSeule(PROP_HauteurInitiale); }
void CChamp::xGet_PropValeurInitiale(CAny* v) { *v = m_clValeurInitiale; }
void CChamp::xSet_PropValeurInitiale(const CAny& v) { m_clValeurInitiale = v; }
void CChamp::xGet_PropPlan(CAny* v) { v->SetI4(m_plan.nPlan); }
void CChamp::xSet_PropPlan(const CAny& v) {
    m_plan.nPlan = nEntierPropriete(v, PROP_Plan);
    vMAJVue();
}
void CChamp::xGet_PropVisible(CAny* v) { v->SetBOOL(bIsVisible()); }
void CChamp::xSet_PropVisible(const CAny& v) { SetVisible(bBooleenPropriete(v, PROP_Visible)); }
void CChamp::xGet_PropVisibleInitial(CAny* v) { v->SetBOOL(m_bVisibleInitial); }
void CChamp::xSet_PropVisibleInitial(const CAny&) { xLectureSeule(PROP_VisibleInitial); }
// The language counts tab orders from 1; -1 for a control out of the order.
void CChamp::xGet_PropTabOrder(CAny* v) { v->SetI4(m_bTabStop && m_nTabOrder >= 0 ? m_nTabOrder + 1 : -1); }
void CChamp::xSet_PropTabOrder(const CAny& v) {
    int n = nEntierPropriete(v, PROP_TabOrder);
    if (n < 1) {
        SetTabStop(false);
        return;
    }
    if (!m_bTabStop) SetTabStop(true);
    SetTabOrderAndValidate(n - 1);
}
void CChamp::xGet_PropZOrder(CAny* v) { v->SetI4(m_nZOrder); }
void CChamp::xSet_PropZOrder(const CAny& v) {
    SetZOrder(nEntierPropriete(v, PROP_ZOrder));
    if (IVueChamp* vue = pclGetVueChamp()) vue->PremierPlan();
}
void CChamp::xGet_PropGroupe(CAny* v) { v->SetPSTRX(m_sGroupes.c_str()); }
void CChamp::xSet_PropGroupe(const CAny& v) { m_sGroupes = sTextePropriete(v); }
void CChamp::xGet_PropTauxAncrageDroite(CAny* v) { v->SetI4(m_tabTaux[0]); }
void CChamp::xSet_PropTauxAncrageDroite(const CAny& v) { m_tabTaux[0] = nEntierPropriete(v, PROP_TauxAncrageDroite); }
void CChamp::xGet_PropTauxAncrageLargeur(CAny* v) { v->SetI4(m_tabTaux[1]); }
void CChamp::xSet_PropTauxAncrageLargeur(const CAny& v) { m_tabTaux[1] = nEntierPropriete(v, PROP_TauxAncrageLargeur); }
void CChamp::xGet_PropTauxAncrageBas(CAny* v) { v->SetI4(m_tabTaux[2]); }
void CChamp::xSet_PropTauxAncrageBas(const CAny& v) { m_tabTaux[2] = nEntierPropriete(v, PROP_TauxAncrageBas); }
void CChamp::xGet_PropTauxAncrageHauteur(CAny* v) { v->SetI4(m_tabTaux[3]); }
void CChamp::xSet_PropTauxAncrageHauteur(const CAny& v) { m_tabTaux[3] = nEntierPropriete(v, PROP_TauxAncrageHauteur); }
void CChamp::xGet_PropNomComplet(CAny* v) { v->SetPSTRX(GetNomComplet().c_str()); }
void CChamp::xSet_PropNomComplet(const CAny&) { xLectureSeule(PROP_NomComplet); }
void CChamp::xGet_PropGrise(CAny* v) { v->SetBOOL(bIsGrayed()); }
void CChamp::xSet_PropGrise(const CAny& v) { SetState(bBooleenPropriete(v, PROP_Grise) ? eETAT_GRISE : eETAT_ACTIF); }
void CChamp::xGet_PropEnSaisie(CAny* v) { v->SetBOOL(bEnSaisie()); }
void CChamp::xSet_PropEnSaisie(const CAny& v) { SetState(bBooleenPropriete(v, PROP_EnSaisie) ? eETAT_ACTIF : eETAT_LECTURE_SEULE); }
void CChamp::xGet_PropLargeurLibelle(CAny* v) { v->SetI4(m_style.nLargeurLibelle); }
void CChamp::xSet_PropLargeurLibelle(const CAny& v) {
    m_style.nLargeurLibelle = std::max(0, nEntierPropriete(v, PROP_LargeurLibelle));
    vMAJVue();
}
void CChamp::xGet_PropToucheRaccourci(CAny* v) { v->SetI4(static_cast<int32_t>(m_dwLettreAppel)); }
void CChamp::xSet_PropToucheRaccourci(const CAny& v) { m_dwLettreAppel = static_cast<uint32_t>(nEntierPropriete(v, PROP_ToucheRaccourci)); }
void CChamp::xGet_PropMemoriserLaValeur(CAny* v) { v->SetBOOL(m_bMemoriserValeur); }
void CChamp::xSet_PropMemoriserLaValeur(const CAny& v) { m_bMemoriserValeur = bBooleenPropriete(v, PROP_MemoriserLaValeur); }
