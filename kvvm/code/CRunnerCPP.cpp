#include "code/CRunnerCPP.h"
#include <algorithm>

bool CRunnerCPP::bPossedeCode(uint64_t nID, int nEvenement) { return m_code.count({nID, nEvenement}) != 0; }

int CRunnerCPP::nExecute(const STExecutionCode& st) {
    m_journal.emplace_back(st.nID, st.nEvenement);
    auto it = m_code.find({st.nID, st.nEvenement});
    if (it == m_code.end()) return 0;
    // A copy: the code may register or replace code while it runs.
    FnCode fn = it->second;
    return fn(st);
}

int CRunnerCPP::nExecuteProcedure(void* pProcedure) {
    auto it = std::find_if(m_procedures.begin(), m_procedures.end(),
                           [&](const auto& p) { return p.get() == pProcedure; });
    if (it == m_procedures.end()) return 1;
    std::function<void()> fn = **it;
    fn();
    return 0;
}

void CRunnerCPP::ActionGenerique(int nAction, intptr_t nParametre) { m_actions.emplace_back(nAction, nParametre); }

void CRunnerCPP::Enregistre(uint64_t nID, int nEvenement, FnCode fn) { m_code[{nID, nEvenement}] = std::move(fn); }

void* CRunnerCPP::pEnregistreProcedure(std::function<void()> fn) {
    m_procedures.push_back(std::make_unique<std::function<void()>>(std::move(fn)));
    return m_procedures.back().get();
}

void CRunnerCPP::ViderJournal() {
    m_journal.clear();
    m_actions.clear();
}

int CRunnerCPP::nExecuteProcedureNommee(const std::wstring& sNom, const std::vector<std::wstring>& tabParametres, int& nResultat) {
    auto it = m_proceduresNommees.find(sNom);
    if (it == m_proceduresNommees.end()) return 1;
    FnProcedureNommee fn = it->second;
    nResultat = fn(tabParametres);
    return 0;
}
