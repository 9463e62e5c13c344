// A virtual machine that answers every question with a neutral value: tests
// derive from it and override what they observe.
#pragma once
#include "kv/vm.h"
#include <string>

class CVMNeutre : public IVM {
public:
    unsigned AddRef() override { return 1; }
    unsigned Release() override { return 1; }
    void SetResultat(void*, const void*, int) override {}
    int nExecuteCode(uint32_t, uint32_t, int, void*, const void*, int, int) override { return 0; }
    void DebutCode() override {}
    void FinCode() override {}
    int nPossedeCode(uint32_t, uint32_t, int) override { return 0; }
    int nExecuteProcedure(void*, intptr_t, intptr_t, intptr_t) override { return 0; }
    void* pGetProcedure(const wchar_t*) override { return nullptr; }
    void LibereProcedure(void*) override {}
    intptr_t nQuery(int, int) override { return 0; }
    int nGetModeGestionErreur() override { return 0; }
    int nGetLangueCourante() override { return 0; }
    IDescriptionProjet* pGetDescriptionProjet() override { return nullptr; }
    void* pGetInterface(int) override { return nullptr; }
    int nChargeRessource(void*, const wchar_t*, void*, const char*, int, const void*, void*, int, int) override { return 1; }
    void ActionGenerique(int, intptr_t) override {}
    void StopCode(int) override {}
    void Avertissement(const wchar_t*) override {}
    int nChercheDescription(STRechercheDescription*) override { return 1; }
    int nChargeDescriptionParNom(const wchar_t*, uint32_t, const void**, size_t*) override { return 1; }
    bool bOuvertureFenetrePermise() override { return true; }
    bool bInitVMFenetre(void*, const wchar_t*) override { return true; }
    void TermVMFenetre(void*) override {}
    int nPasseParametresOuverture(void*, void*) override { return 0; }
    int nGetNbParametresSupp(void*) override { return 0; }
    bool bGetParametreSupp(void*, int, std::wstring&, int&) override { return false; }
};
