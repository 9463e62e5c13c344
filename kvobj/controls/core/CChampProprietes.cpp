// The properties every control has.
#include "controls/core/CChamp.h"
#include "controls/core/CConteneurChamp.h"
#include "frame/ModuleInfo.h"
#include "frame/Proprietes.h"
#include <QWidget>

// Values handed to properties: integers, booleans and texts, whatever the
// type the program gave them in.
int nEntierPropriete(const CAny& cl, int nPropriete) {
    int n = 0;
    if (cl.nGetINT(n) == 0) return n;
    CAny c(cl);
    if (c.__nCastTo(KS_I4, 0, 0) == 0 && c.nGetINT(n) == 0) return n;
    CTString s;
    cl.__nCastToString(s);
    xThrowErreur(10002, s, pszGetNomPropriete(nPropriete, 0));
}

bool bBooleenPropriete(const CAny& cl, int nPropriete) { return nEntierPropriete(cl, nPropriete) != 0; }

CTString sTextePropriete(const CAny& cl) {
    CTString s;
    if (cl.nGetType() != 0) cl.__nCastToString(s);
    return s;
}

namespace {
[[noreturn]] void LectureSeule(int p) { xThrowErreur(10072, pszGetNomPropriete(p, 0)); }
} // namespace

void CChamp::xGet_PropNom(CAny* v) { v->SetPSTRX(m_sNom.c_str()); }
void CChamp::xSet_PropNom(const CAny&) { LectureSeule(0); }
void CChamp::xGet_PropType(CAny* v) { v->SetI4(dwGetId()); }
void CChamp::xSet_PropType(const CAny&) { LectureSeule(2); }
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
    SetPosition(nEntierPropriete(v, 8), nGetPosY());
    vMAJVue();
}
void CChamp::xGet_PropLigne(CAny* v) { v->SetI4(nGetPosY()); }
void CChamp::xSet_PropLigne(const CAny& v) {
    SetPosition(nGetPosX(), nEntierPropriete(v, 9));
    vMAJVue();
}
void CChamp::xGet_PropHauteur(CAny* v) { v->SetI4(nGetHauteur()); }
void CChamp::xSet_PropHauteur(const CAny& v) {
    SetSize(nGetLargeur(), std::max(0, nEntierPropriete(v, 10)));
    vMAJVue();
}
void CChamp::xGet_PropLargeur(CAny* v) { v->SetI4(nGetLargeur()); }
void CChamp::xSet_PropLargeur(const CAny& v) {
    SetSize(std::max(0, nEntierPropriete(v, 11)), nGetHauteur());
    vMAJVue();
}
void CChamp::xGet_PropCouleur(CAny* v) { v->SetI4(static_cast<int32_t>(m_style.nCouleurTexte)); }
void CChamp::xSet_PropCouleur(const CAny& v) {
    m_style.nCouleurTexte = static_cast<uint32_t>(nEntierPropriete(v, 20));
    vMAJVue();
}
void CChamp::xGet_PropCouleurFond(CAny* v) { v->SetI4(static_cast<int32_t>(m_style.nCouleurFond)); }
void CChamp::xSet_PropCouleurFond(const CAny& v) {
    m_style.nCouleurFond = static_cast<uint32_t>(nEntierPropriete(v, 21));
    vMAJVue();
}
void CChamp::xGet_PropEtat(CAny* v) { v->SetI4(m_eEtat); }
void CChamp::xSet_PropEtat(const CAny& v) {
    int n = nEntierPropriete(v, 22);
    if (n < 0 || n > 5) xThrowErreur(10059, n);
    SetState(static_cast<FEN_ETAT>(n));
}
void CChamp::xGet_PropEtatInitial(CAny* v) { v->SetI4(m_eEtatInitial); }
void CChamp::xSet_PropEtatInitial(const CAny&) { LectureSeule(29); }
void CChamp::xGet_PropXInitial(CAny* v) { v->SetI4(m_rectInitial.x()); }
void CChamp::xSet_PropXInitial(const CAny&) { LectureSeule(30); }
void CChamp::xGet_PropYInitial(CAny* v) { v->SetI4(m_rectInitial.y()); }
void CChamp::xSet_PropYInitial(const CAny&) { LectureSeule(31); }
void CChamp::xGet_PropLargeurInitiale(CAny* v) { v->SetI4(m_rectInitial.width()); }
void CChamp::xSet_PropLargeurInitiale(const CAny&) { LectureSeule(32); }
void CChamp::xGet_PropHauteurInitiale(CAny* v) { v->SetI4(m_rectInitial.height()); }
void CChamp::xSet_PropHauteurInitiale(const CAny&) { LectureSeule(33); }
void CChamp::xGet_PropValeurInitiale(CAny* v) { *v = m_clValeurInitiale; }
void CChamp::xSet_PropValeurInitiale(const CAny& v) { m_clValeurInitiale = v; }
void CChamp::xGet_PropPlan(CAny* v) { v->SetI4(m_plan.nPlan); }
void CChamp::xSet_PropPlan(const CAny& v) {
    m_plan.nPlan = nEntierPropriete(v, 36);
    vMAJVue();
}
void CChamp::xGet_PropVisible(CAny* v) { v->SetBOOL(bIsVisible()); }
void CChamp::xSet_PropVisible(const CAny& v) { SetVisible(bBooleenPropriete(v, 73)); }
void CChamp::xGet_PropVisibleInitial(CAny* v) { v->SetBOOL(m_bVisibleInitial); }
void CChamp::xSet_PropVisibleInitial(const CAny&) { LectureSeule(74); }
// The language counts tab orders from 1; -1 for a control out of the order.
void CChamp::xGet_PropTabOrder(CAny* v) { v->SetI4(m_bTabStop && m_nTabOrder >= 0 ? m_nTabOrder + 1 : -1); }
void CChamp::xSet_PropTabOrder(const CAny& v) {
    int n = nEntierPropriete(v, 76);
    if (n < 1) {
        SetTabStop(false);
        return;
    }
    if (!m_bTabStop) SetTabStop(true);
    SetTabOrderAndValidate(n - 1);
}
void CChamp::xGet_PropZOrder(CAny* v) { v->SetI4(m_nZOrder); }
void CChamp::xSet_PropZOrder(const CAny& v) {
    SetZOrder(nEntierPropriete(v, 77));
    if (QWidget* w = pGetWidget()) w->raise();
}
void CChamp::xGet_PropGroupe(CAny* v) { v->SetPSTRX(m_sGroupes.c_str()); }
void CChamp::xSet_PropGroupe(const CAny& v) { m_sGroupes = sTextePropriete(v); }
void CChamp::xGet_PropTauxAncrageDroite(CAny* v) { v->SetI4(m_tabTaux[0]); }
void CChamp::xSet_PropTauxAncrageDroite(const CAny& v) { m_tabTaux[0] = nEntierPropriete(v, 92); }
void CChamp::xGet_PropTauxAncrageLargeur(CAny* v) { v->SetI4(m_tabTaux[1]); }
void CChamp::xSet_PropTauxAncrageLargeur(const CAny& v) { m_tabTaux[1] = nEntierPropriete(v, 93); }
void CChamp::xGet_PropTauxAncrageBas(CAny* v) { v->SetI4(m_tabTaux[2]); }
void CChamp::xSet_PropTauxAncrageBas(const CAny& v) { m_tabTaux[2] = nEntierPropriete(v, 94); }
void CChamp::xGet_PropTauxAncrageHauteur(CAny* v) { v->SetI4(m_tabTaux[3]); }
void CChamp::xSet_PropTauxAncrageHauteur(const CAny& v) { m_tabTaux[3] = nEntierPropriete(v, 95); }
void CChamp::xGet_PropNomComplet(CAny* v) { v->SetPSTRX(GetNomComplet().c_str()); }
void CChamp::xSet_PropNomComplet(const CAny&) { LectureSeule(136); }
void CChamp::xGet_PropGrise(CAny* v) { v->SetBOOL(bIsGrayed()); }
void CChamp::xSet_PropGrise(const CAny& v) { SetState(bBooleenPropriete(v, 211) ? eETAT_GRISE : eETAT_ACTIF); }
void CChamp::xGet_PropEnSaisie(CAny* v) { v->SetBOOL(bEnSaisie()); }
void CChamp::xSet_PropEnSaisie(const CAny& v) { SetState(bBooleenPropriete(v, 212) ? eETAT_ACTIF : eETAT_LECTURE_SEULE); }
void CChamp::xGet_PropLargeurLibelle(CAny* v) { v->SetI4(m_style.nLargeurLibelle); }
void CChamp::xSet_PropLargeurLibelle(const CAny& v) {
    m_style.nLargeurLibelle = std::max(0, nEntierPropriete(v, 257));
    vMAJVue();
}
void CChamp::xGet_PropToucheRaccourci(CAny* v) { v->SetI4(static_cast<int32_t>(m_dwLettreAppel)); }
void CChamp::xSet_PropToucheRaccourci(const CAny& v) { m_dwLettreAppel = static_cast<uint32_t>(nEntierPropriete(v, 264)); }
void CChamp::xGet_PropMemoriserLaValeur(CAny* v) { v->SetBOOL(m_bMemoriserValeur); }
void CChamp::xSet_PropMemoriserLaValeur(const CAny& v) { m_bMemoriserValeur = bBooleenPropriete(v, 265); }
