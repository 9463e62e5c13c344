// Fields of the module's objects that the compiler fills and that have no
// setter of their own yet. They are reached through member pointers taken
// inside a derived class, where the language lets a protected member be
// named; nothing is instantiated here. Each function goes once its object
// offers the setter.
#pragma once
#include "controls/core/CChamp.h"
#include "windows/CMenu.h"

namespace kvacces {

struct FenCommun : CFenCommun {
    static auto EtatInitial() { return &FenCommun::m_eEtatInitial; }
    static auto Etat() { return &FenCommun::m_eEtat; }
    static auto MenuContextuel() { return &FenCommun::m_sMenuContextuel; }
};

struct Champ : CChamp {
    static auto ValeurInitiale() { return &Champ::m_clValeurInitiale; }
};

struct Option : COptionMenu {
    static auto Identifiant() { return &Option::m_wIdentifiant; }
    static auto Separateur() { return &Option::m_bSeparateur; }
    static auto VisibleInitial() { return &Option::m_bVisibleInitial; }
};

// The state a window or control starts in (and its current state with it).
inline void SetEtatInitial(CFenCommun& f, FEN_ETAT e) {
    f.*FenCommun::EtatInitial() = e;
    f.*FenCommun::Etat() = e;
}

// The name of the context menu of a window or control.
inline void SetMenuContextuel(CFenCommun& f, const CTString& s) { f.*FenCommun::MenuContextuel() = s; }

// The initial value of a control: a text, as its description holds it.
inline void SetValeurInitiale(CChamp& c, const CTString& s) { (c.*Champ::ValeurInitiale()).SetPSTRX(s.c_str()); }

inline void SetIdentifiant(COptionMenu& o, uint16_t w) { o.*Option::Identifiant() = w; }
inline void SetSeparateur(COptionMenu& o, bool b) { o.*Option::Separateur() = b; }
// Visible when the window opens (the current visibility follows it).
inline void SetVisibleInitial(COptionMenu& o, bool b) {
    o.*Option::VisibleInitial() = b;
    o.SetVisible(b);
}

} // namespace kvacces
