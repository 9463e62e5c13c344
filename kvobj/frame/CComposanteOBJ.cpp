#include "frame/CComposanteOBJ.h"
#include <QApplication>
#include <clocale>

QApplication* CComposanteOBJ::s_pclApplication = nullptr;
bool CComposanteOBJ::s_bApplicationCreee = false;

CComposanteOBJ::CComposanteOBJ() = default;
CComposanteOBJ::~CComposanteOBJ() = default;

QApplication* CComposanteOBJ::s_pclGetApplicationQT() {
    if (s_pclApplication) return s_pclApplication;
    if (auto* existante = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        // A program that made its own application before loading the module.
        s_pclApplication = existante;
        return s_pclApplication;
    }
    static int nArgc = 1;
    static char szApp[] = "App";
    static char* argv[] = {szApp, nullptr};
    s_pclApplication = new QApplication(nArgc, argv);
    s_bApplicationCreee = true;
    std::setlocale(LC_ALL, "C");
    return s_pclApplication;
}

void CComposanteOBJ::s_DetruitApplicationQT() {
    if (s_bApplicationCreee) delete s_pclApplication;
    s_pclApplication = nullptr;
    s_bApplicationCreee = false;
}
