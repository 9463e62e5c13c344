#include "windows/Focus_QT.h"
#include "controls/core/CChamp.h"
#include "windows/CFenPrincipale.h"
#include <QApplication>
#include <QPointer>

namespace {
// The keyboard focus of one focus change, on Qt widgets.
class CVueFocus_QT final : public IVueFocus {
public:
    explicit CVueFocus_QT(QWidget* pCible) : m_cible(pCible) {}
    bool bCibleExiste() const override { return !m_cible.isNull(); }
    void DonneFocusCible() override {
        if (m_cible) m_cible->setFocus(Qt::OtherFocusReason);
    }
    void DonneFocusChamp(CChamp* pclChamp) override {
        if (QWidget* w = pclChamp->pGetWidget()) w->setFocus(Qt::OtherFocusReason);
    }
    void NoteFocus() override { m_pFocusNote = QApplication::focusWidget(); }
    bool bFocusAChange() const override { return QApplication::focusWidget() != m_pFocusNote; }
    void RameneFocusSurCible() override {
        if (m_cible && QApplication::focusWidget() != m_cible) m_cible->setFocus(Qt::OtherFocusReason);
    }

private:
    QPointer<QWidget> m_cible;
    QWidget* m_pFocusNote = nullptr;
};
} // namespace

namespace {
// The focus rule finds the widgets' side through this once the module is loaded.
const bool gbInscrit = [] {
    IVueFocus::s_pfnCree = [](QWidget* pCible) -> std::unique_ptr<IVueFocus> { return std::make_unique<CVueFocus_QT>(pCible); };
    return true;
}();
} // namespace

int CControleurChamp_QT::veQuandRecoitFocus(const CInfoEveFocus& info) {
    if (bChangementFocusEnCours()) return 1;
    CChamp* c = m_pclObjet ? m_pclObjet->pclCastToChamp() : nullptr;
    if (!c) return 1;
    CFenPrincipale* f = c->vpclGetFenPrincipale();
    CChamp* pclAncien = f ? f->pclGetChampFocus() : nullptr;
    auto* e = static_cast<QFocusEvent*>(info.pEvenement);
    int nCause = e->reason() == Qt::MouseFocusReason ? eFOCUS_CLIC
                 : (e->reason() == Qt::TabFocusReason || e->reason() == Qt::BacktabFocusReason) ? eFOCUS_CLAVIER
                                                                                               : eFOCUS_AUTRE;
    bSetFocusObjet(c, nCause, info.pDispatcher, pclAncien, nullptr);
    return 1;
}
