// The C++ code runner: event code registered as callables, used by tests.
#pragma once
#include "kv/host.h"
#include <map>
#include <memory>

class CRunnerCPP : public IRunnerCPP {
public:
    bool bPossedeCode(uint64_t nID, int nEvenement) override;
    int nExecute(const STExecutionCode& st) override;
    int nExecuteProcedure(void* pProcedure) override;
    void ActionGenerique(int nAction, intptr_t nParametre) override;
    void Enregistre(uint64_t nID, int nEvenement, FnCode fn) override;
    void* pEnregistreProcedure(std::function<void()> fn) override;
    void EnregistreProcedureNommee(const std::wstring& sNom, FnProcedureNommee fn) override { m_proceduresNommees[sNom] = std::move(fn); }
    int nExecuteProcedureNommee(const std::wstring& sNom, const std::vector<std::wstring>& tabParametres, int& nResultat) override;
    const std::vector<std::pair<uint64_t, int>>& Journal() const override { return m_journal; }
    const std::vector<std::pair<int, intptr_t>>& JournalActions() const override { return m_actions; }
    void ViderJournal() override;

private:
    std::map<std::pair<uint64_t, int>, FnCode> m_code;
    std::vector<std::unique_ptr<std::function<void()>>> m_procedures;
    std::map<std::wstring, FnProcedureNommee> m_proceduresNommees;
    std::vector<std::pair<uint64_t, int>> m_journal;
    std::vector<std::pair<int, intptr_t>> m_actions;
};
