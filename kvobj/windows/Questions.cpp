#include "windows/Questions.h"
#include "base/Texte.h"
#include <cwchar>

const CQuestionExec* CListeQuestionExec::pclCherche(const wchar_t* pszNomOuID) const {
    if (!pszNomOuID || !*pszNomOuID) return nullptr;
    for (const CQuestionExec& q : tabQuestions)
        if (kvtexte::bEgalSansCasse(q.sNom, pszNomOuID)) return &q;
    // An identifier written as a number, the whole text.
    wchar_t* pFin = nullptr;
    bool bHexa = pszNomOuID[0] == L'0' && (pszNomOuID[1] == L'x' || pszNomOuID[1] == L'X');
    unsigned long long n = std::wcstoull(bHexa ? pszNomOuID + 2 : pszNomOuID, &pFin, bHexa ? 16 : 10);
    if (!pFin || *pFin || pFin == (bHexa ? pszNomOuID + 2 : pszNomOuID) || pszNomOuID[0] == L'-' || pszNomOuID[0] == L'+')
        return nullptr;
    for (const CQuestionExec& q : tabQuestions)
        if (q.qwID == n) return &q;
    return nullptr;
}
