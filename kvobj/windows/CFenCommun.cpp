#include "windows/CFenCommun.h"
#include "controls/core/CodeEvenement.h"
#include "windows/CFenPrincipale.h"

bool CFenCommun::vbAccepteCode(int nEvenement) const {
    CFenPrincipale* f = vpclGetFenPrincipale();
    return f && f->bEstVivante() && f->vbAccepteCodeObjet(this, nEvenement);
}

void CFenCommun::ExecutePCode(int nEvenement) { ExecutePCodeAvecParamOptionnel(nEvenement, 0, nullptr, nullptr); }

void CFenCommun::ExecutePCodeAvecParamOptionnel(int nEvenement, int nNbParametres, const void* pParametres, CXError*) {
    // Nothing runs without a window that is alive and accepts the code now.
    if (!vbAccepteCode(nEvenement)) return;
    ::ExecutePCode(nEvenement, this, piGetVM(), nNbParametres, pParametres, this);
}
