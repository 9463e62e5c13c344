// Compiled questions of a window: the dialogs that Dialogue shows, each with
// its message, kind, buttons and optional input fields. One definition for
// reading and writing.
//
// The list of a window (CListeQuestionExec) is a marked block: a 4-byte
// length counted from its own first byte, then the count and the questions.
//
//   list      4  block length (from this word to the block's end)
//             4  question count, uint32
//             .. the questions
//
//   question  4  version (1)
//             4  declared size, from this word to the record's end
//             8  identifier, uint64 (derived from "WINDOW.NAME")
//             S  name (technical string)
//             S  message (user text; %1, %2... are Dialogue's arguments)
//             4  kind, int32: 1 question, 2 warning, 3 information (another value reads as 1)
//             4  default button, int32, 1-based (out of range reads as 1)
//             4  cancel button, int32, 1-based, 0 none (out of range reads as 0)
//             4  button count, uint32, then each button
//             4  input count, uint32, then each input field
//
//   button    4  version (1)
//             4  declared size
//             S  caption (user text)
//
//   input     4  version (1)
//             4  declared size
//             S  caption (user text)
//             S  initial value (user text)
//             4  width in pixels, int32 (0: the dialog's width)
//
// Strings are written as marked UTF-8 (start mark FF CE 88 F1, length
// L = bytes + 13, the bytes, 0, end mark 00 FE ED 98 E1), an empty one as a
// single 0 byte.
#pragma once
#include "controls/core/Archive.h"
#include "controls/core/CKVBufferMark.h"
#include <cstdint>
#include <vector>

struct CQuestionBoutonExec {
    uint32_t nVersion = 1;
    CTString sLibelle;
};

struct CQuestionSaisieExec {
    uint32_t nVersion = 1;
    CTString sLibelle;
    CTString sValeurInitiale;
    int32_t nLargeur = 0;
};

struct CQuestionExec {
    uint32_t nVersion = 1;
    uint64_t qwID = 0;
    CTString sNom;
    CTString sMessage;
    int32_t nGenre = 1;
    int32_t nDefaut = 1;
    int32_t nAnnulation = 0;
    std::vector<CQuestionBoutonExec> tabBoutons;
    std::vector<CQuestionSaisieExec> tabSaisies;
};

// Counts read from a description are kept below this, so that a damaged
// count cannot ask for memory the bytes cannot hold.
inline constexpr uint32_t nNB_ELEMENTS_QUESTION_MAX = 0xFFFF;

template <class A>
void serialise(A& ar, CQuestionBoutonExec& r) {
    CEnregistrement<A> rec(ar, r.nVersion, {1, 1, 1}, "QuestionButton");
    ar.TexteUtilisateur(r.sLibelle, "caption");
    rec.Fin();
}

template <class A>
void serialise(A& ar, CQuestionSaisieExec& r) {
    CEnregistrement<A> rec(ar, r.nVersion, {1, 1, 1}, "QuestionInput");
    ar.TexteUtilisateur(r.sLibelle, "caption");
    ar.TexteUtilisateur(r.sValeurInitiale, "initial_value");
    ar(r.nLargeur, "width");
    rec.Fin();
}

// A list of records behind its count.
template <class A, class T>
void SerialiseListe(A& ar, std::vector<T>& tab, const char* pszNom) {
    uint32_t n = static_cast<uint32_t>(tab.size());
    ar(n, pszNom);
    if constexpr (A::bLecture) {
        if (n > nNB_ELEMENTS_QUESTION_MAX) xThrowErreur(10011, static_cast<unsigned long long>(n), static_cast<unsigned long long>(nNB_ELEMENTS_QUESTION_MAX));
        tab.assign(n, T{});
    }
    for (T& t : tab) serialise(ar, t);
}

template <class A>
void serialise(A& ar, CQuestionExec& q) {
    CEnregistrement<A> rec(ar, q.nVersion, {1, 1, 1}, "Question");
    ar(q.qwID, "identifier");
    ar.TexteTechnique(q.sNom, "name");
    ar.TexteUtilisateur(q.sMessage, "message");
    ar(q.nGenre, "kind");
    ar(q.nDefaut, "default_button");
    ar(q.nAnnulation, "cancel_button");
    SerialiseListe(ar, q.tabBoutons, "buttons");
    SerialiseListe(ar, q.tabSaisies, "inputs");
    if constexpr (A::bLecture) {
        const int32_t nBoutons = static_cast<int32_t>(q.tabBoutons.size());
        if (q.nGenre < 1 || q.nGenre > 3) q.nGenre = 1;
        if (q.nDefaut < 1 || q.nDefaut > nBoutons) q.nDefaut = 1;
        if (q.nAnnulation < 0 || q.nAnnulation > nBoutons) q.nAnnulation = 0;
    }
    rec.Fin();
}

struct CListeQuestionExec {
    std::vector<CQuestionExec> tabQuestions;

    // A question by name (without regard to case), or by its identifier
    // written as a number (decimal, or hexadecimal after 0x); null when none.
    const CQuestionExec* pclCherche(const wchar_t* pszNomOuID) const;
};

template <class A>
void serialise(A& ar, CListeQuestionExec& l) {
    CKVBuffer& b = ar.Buffer();
    if constexpr (A::bLecture) {
        size_t nDebut = b.nGetPosition();
        size_t nFin = CKVBufferMark::s_dwReadBeginMark(b);
        if (ar.pGetTrace()) ar.Trace(nDebut, "questions", L"block of " + std::to_wstring(nFin - nDebut) + L" bytes");
        SerialiseListe(ar, l.tabQuestions, "count");
        CKVBufferMark::s_ReadEndMark(b, nFin);
    } else {
        size_t n = CKVBufferMark::s_dwWriteBeginMark(b);
        SerialiseListe(ar, l.tabQuestions, "count");
        CKVBufferMark::s_WriteEndMark(b, n);
    }
}
