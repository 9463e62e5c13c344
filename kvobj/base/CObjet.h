// Reference-counted base of the module's objects: the count starts at 1,
// AddRef raises it, nRelease lowers it and destroys the object at 0.
#pragma once
#include <atomic>

class CObjet {
public:
    CObjet() = default;
    CObjet(const CObjet&) = delete;
    CObjet& operator=(const CObjet&) = delete;
    virtual ~CObjet() = default;

    unsigned AddRef() { return ++m_nRef; }
    unsigned nRelease() {
        unsigned n = --m_nRef;
        if (n == 0) delete this;
        return n;
    }
    unsigned nGetRef() const { return m_nRef; }
    virtual void* pIQueryInterface(int /*nInterface*/) { return nullptr; }

private:
    std::atomic<unsigned> m_nRef{1};
};
