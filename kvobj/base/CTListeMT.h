// A list of pointers guarded by a recursive mutex: every add, remove and
// walk takes the lock (the application context's list of open windows).
#pragma once
#include <algorithm>
#include <mutex>
#include <vector>

template <class T>
class CTListeMT {
public:
    void Ajoute(T p) {
        std::lock_guard<std::recursive_mutex> l(m_mutex);
        m_tab.push_back(p);
    }
    // Removes the first entry equal to p; true when one was there.
    bool bSupprime(T p) {
        std::lock_guard<std::recursive_mutex> l(m_mutex);
        auto it = std::find(m_tab.begin(), m_tab.end(), p);
        if (it == m_tab.end()) return false;
        m_tab.erase(it);
        return true;
    }
    bool bContient(T p) const {
        std::lock_guard<std::recursive_mutex> l(m_mutex);
        return std::find(m_tab.begin(), m_tab.end(), p) != m_tab.end();
    }
    int nGetNb() const {
        std::lock_guard<std::recursive_mutex> l(m_mutex);
        return static_cast<int>(m_tab.size());
    }
    std::vector<T> Copie() const {
        std::lock_guard<std::recursive_mutex> l(m_mutex);
        return m_tab;
    }
    // Walks the list under the lock; the callback returns false to stop.
    // The list may change during the walk (the mutex is recursive): the walk
    // goes by index and re-reads the size each step.
    template <class F>
    void PourChaque(F f, bool bDepuisFin = false) const {
        std::lock_guard<std::recursive_mutex> l(m_mutex);
        if (bDepuisFin) {
            for (size_t i = m_tab.size(); i-- > 0;) {
                if (i >= m_tab.size()) continue;
                if (!f(m_tab[i])) return;
            }
        } else {
            for (size_t i = 0; i < m_tab.size(); ++i)
                if (!f(m_tab[i])) return;
        }
    }
    std::recursive_mutex& Mutex() const { return m_mutex; }

private:
    mutable std::recursive_mutex m_mutex;
    std::vector<T> m_tab;
};
