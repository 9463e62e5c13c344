// The properties of a window.
#include "frame/ModuleInfo.h"
#include "frame/Proprietes.h"
#include "windows/CFenPrincipale.h"

void CFenPrincipale::xGet_PropNom(CAny* v) { v->SetPSTRX(m_sNom.c_str()); }
void CFenPrincipale::xSet_PropNom(const CAny&) { xLectureSeule(PROP_Nom); }
void CFenPrincipale::xGet_PropType(CAny* v) { v->SetI4(ID_FENETRE); }
void CFenPrincipale::xSet_PropType(const CAny&) { xLectureSeule(PROP_Type); }
// Position and size follow the widget once it exists.
void CFenPrincipale::xGet_PropColonne(CAny* v) {
    IVueFenetre* vue = pclVueWidget();
    v->SetI4(vue ? vue->nX() : m_rect.x());
}
void CFenPrincipale::xSet_PropColonne(const CAny& v) {
    int x = nEntierPropriete(v, PROP_Colonne);
    m_rect.moveLeft(x);
    if (IVueFenetre* vue = pclVueWidget()) vue->Deplace(QPoint(x, vue->nY()));
}
void CFenPrincipale::xGet_PropLigne(CAny* v) {
    IVueFenetre* vue = pclVueWidget();
    v->SetI4(vue ? vue->nY() : m_rect.y());
}
void CFenPrincipale::xSet_PropLigne(const CAny& v) {
    int y = nEntierPropriete(v, PROP_Ligne);
    m_rect.moveTop(y);
    if (IVueFenetre* vue = pclVueWidget()) vue->Deplace(QPoint(vue->nX(), y));
}
void CFenPrincipale::xGet_PropHauteur(CAny* v) {
    IVueFenetre* vue = pclVueWidget();
    v->SetI4(vue ? vue->taille().height() : m_rect.height());
}
void CFenPrincipale::xSet_PropHauteur(const CAny& v) {
    int h = std::max(0, nEntierPropriete(v, PROP_Hauteur));
    m_rect.setHeight(h);
    if (IVueFenetre* vue = pclVueWidget()) vue->Redimensionne(QSize(vue->taille().width(), h));
}
void CFenPrincipale::xGet_PropLargeur(CAny* v) {
    IVueFenetre* vue = pclVueWidget();
    v->SetI4(vue ? vue->taille().width() : m_rect.width());
}
void CFenPrincipale::xSet_PropLargeur(const CAny& v) {
    int l = std::max(0, nEntierPropriete(v, PROP_Largeur));
    m_rect.setWidth(l);
    if (IVueFenetre* vue = pclVueWidget()) vue->Redimensionne(QSize(l, vue->taille().height()));
}
void CFenPrincipale::xGet_PropEtat(CAny* v) { v->SetI4(m_eEtat); }
void CFenPrincipale::xSet_PropEtat(const CAny& v) {
    int n = nEntierPropriete(v, PROP_Etat);
    if (n < 0 || n > 4) xThrowErreur(10059, n);
    SetState(static_cast<FEN_ETAT>(n));
    if (IVueFenetre* vue = pclVueWidget()) {
        vue->SetVisible(n != eETAT_INVISIBLE);
        vue->SetGrisee(n == eETAT_GRISE || n == eETAT_GRISE_LECTURE);
    }
}
void CFenPrincipale::xGet_PropEtatInitial(CAny* v) { v->SetI4(m_eEtatInitial); }
void CFenPrincipale::xSet_PropEtatInitial(const CAny&) { xLectureSeule(PROP_EtatInitial); }
void CFenPrincipale::xGet_PropXInitial(CAny* v) { v->SetI4(m_rectInitial.x()); }
void CFenPrincipale::xSet_PropXInitial(const CAny&) { xLectureSeule(PROP_XInitial); }
void CFenPrincipale::xGet_PropYInitial(CAny* v) { v->SetI4(m_rectInitial.y()); }
void CFenPrincipale::xSet_PropYInitial(const CAny&) { xLectureSeule(PROP_YInitial); }
void CFenPrincipale::xGet_PropLargeurInitiale(CAny* v) { v->SetI4(m_rectInitial.width()); }
void CFenPrincipale::xSet_PropLargeurInitiale(const CAny&) { xLectureSeule(PROP_LargeurInitiale); }
void CFenPrincipale::xGet_PropHauteurInitiale(CAny* v) { v->SetI4(m_rectInitial.height()); }
void CFenPrincipale::xSet_PropHauteurInitiale(const CAny&) { xLectureSeule(PROP_HauteurInitiale); }
void CFenPrincipale::xGet_PropTitre(CAny* v) { v->SetPSTRX(m_desc.sTitre.c_str()); }
void CFenPrincipale::xSet_PropTitre(const CAny& v) {
    m_desc.sTitre = sTextePropriete(v);
    if (IVueFenetre* vue = pclVueWidget()) vue->SetTitre(m_desc.sTitre);
}
void CFenPrincipale::xGet_PropAlias(CAny* v) { v->SetPSTRX(sGetAliasOuNom().c_str()); }
void CFenPrincipale::xSet_PropAlias(const CAny& v) { m_sAlias = sTextePropriete(v); }
void CFenPrincipale::xGet_PropLargeurMin(CAny* v) { v->SetI4(m_nLargeurMin); }
void CFenPrincipale::xSet_PropLargeurMin(const CAny& v) {
    m_nLargeurMin = std::max(0, nEntierPropriete(v, PROP_LargeurMin));
    if (IVueFenetre* vue = pclVueWidget()) vue->SetLargeurMin(m_nLargeurMin);
}
void CFenPrincipale::xGet_PropHauteurMin(CAny* v) { v->SetI4(m_nHauteurMin); }
void CFenPrincipale::xSet_PropHauteurMin(const CAny& v) {
    m_nHauteurMin = std::max(0, nEntierPropriete(v, PROP_HauteurMin));
    if (IVueFenetre* vue = pclVueWidget()) vue->SetHauteurMin(m_nHauteurMin);
}
void CFenPrincipale::xGet_PropLargeurMax(CAny* v) { v->SetI4(m_nLargeurMax); }
void CFenPrincipale::xSet_PropLargeurMax(const CAny& v) {
    m_nLargeurMax = std::max(0, nEntierPropriete(v, PROP_LargeurMax));
    if (IVueFenetre* vue = pclVueWidget()) vue->SetLargeurMax(m_nLargeurMax);
}
void CFenPrincipale::xGet_PropHauteurMax(CAny* v) { v->SetI4(m_nHauteurMax); }
void CFenPrincipale::xSet_PropHauteurMax(const CAny& v) {
    m_nHauteurMax = std::max(0, nEntierPropriete(v, PROP_HauteurMax));
    if (IVueFenetre* vue = pclVueWidget()) vue->SetHauteurMax(m_nHauteurMax);
}
void CFenPrincipale::xGet_PropVisible(CAny* v) {
    IVueFenetre* vue = pclVueWidget();
    v->SetBOOL(vue ? vue->bEstVisible() : m_bVisibleInitial);
}
void CFenPrincipale::xSet_PropVisible(const CAny& v) {
    bool b = bBooleenPropriete(v, PROP_Visible);
    if (IVueFenetre* vue = pclVueWidget()) vue->SetVisible(b);
}
void CFenPrincipale::xGet_PropNomComplet(CAny* v) { v->SetPSTRX(m_sNom.c_str()); }
void CFenPrincipale::xSet_PropNomComplet(const CAny&) { xLectureSeule(PROP_NomComplet); }
