// Setters the compiler uses on the module's objects.
#pragma once
#include "controls/core/CChamp.h"
#include "windows/CMenu.h"

namespace kvacces {

inline void SetEtatInitial(CFenCommun& f, FEN_ETAT e) { f.SetEtatInitial(e); }
inline void SetMenuContextuel(CFenCommun& f, const CTString& s) { f.SetMenuContextuel(s.c_str()); }
inline void SetValeurInitiale(CChamp& c, const CTString& s) {
    CAny cl;
    cl.SetPSTRX(s.c_str());
    c.SetValeurInitiale(cl);
}
inline void SetIdentifiant(COptionMenu& o, uint16_t w) { o.SetIdentifiant(w); }
inline void SetSeparateur(COptionMenu& o, bool b) { o.SetSeparateur(b); }
inline void SetVisibleInitial(COptionMenu& o, bool b) { o.SetVisibleInitial(b); }

} // namespace kvacces
