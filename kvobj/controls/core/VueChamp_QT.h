// How a family's Qt view makes its widget: one registration per family,
// in its Vue<Name>.cpp, by kind.
#pragma once
#include "frame/Numeros.h"

class CChamp;
class QWidget;

using PFN_CREE_WIDGET_CHAMP = QWidget* (*)(CChamp& c, QWidget* pParent);

struct CInscriptionVue {
    CInscriptionVue(eID_OBJET eGenre, PFN_CREE_WIDGET_CHAMP pfn);
};
