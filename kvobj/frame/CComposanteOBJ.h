// The component object: carries every language function of the module.
#pragma once
#include "frame/CKSLibrary.h"
#include "base/CTString.h"

class QApplication;

class CComposanteOBJ : public CKSLibrary {
public:
    CComposanteOBJ();
    ~CComposanteOBJ() override;

    // The Qt application, created on first need with the single argument
    // "App"; the process locale is then set to "C".
    static QApplication* s_pclGetApplicationQT();
    // Destroys the application the module created (shut-down).
    static void s_DetruitApplicationQT();

    const CTString& sGetChaineCourante() const { return m_sChaineCourante; }

private:
    CTString m_sChaineCourante;
    static QApplication* s_pclApplication;
    static bool s_bApplicationCreee;
};
