// Reference holders for the module's reference-counted objects (CObjet).
#pragma once
#include "base/CObjet.h"

// Keeps an object alive while code that may release it runs: a reference
// is taken now and given back at the end of the scope. Null holds nothing.
class CRetenue {
public:
    explicit CRetenue(CObjet* p) : m_p(p) {
        if (m_p) m_p->AddRef();
    }
    ~CRetenue() {
        if (m_p) m_p->nRelease();
    }
    CRetenue(const CRetenue&) = delete;
    CRetenue& operator=(const CRetenue&) = delete;

private:
    CObjet* m_p;
};

// Owns a reference it was handed (a new object, or one a function returned
// with its reference) and gives it back at the end of the scope.
template <class T>
class CRef {
public:
    explicit CRef(T* p) : m_p(p) {}
    ~CRef() {
        if (m_p) m_p->nRelease();
    }
    CRef(const CRef&) = delete;
    CRef& operator=(const CRef&) = delete;
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    T* get() const { return m_p; }

private:
    T* m_p;
};
