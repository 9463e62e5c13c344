// The typed values the host exchanges with the module (property values of
// the gate, results of language calls) are the module's own CAny, compiled
// into the host as well: the same storage, the same handlers. Inside the host
// its conversions go straight to the host's own routines.
#include "frame/Module.h"
#include "vm/Conversion.h"
#include "vm/Decimal.h"
#include <climits>
#include <cstring>

STConversionVM gstConversionVM{nullptr, 10, 10, &nConversionDepassementExt, &FinConversion};
STCalculVM gstCalculVM;

IFabriqueGlobale* pGetFabriqueDecimaux() { return pGetFabriqueGlobaleVM(); }

#include "vm/ValeursHote.h"

STValeurHote ValeurDepuisAny(const CAny& cl) {
    STValeurHote v;
    const int nType = cl.nGetType();
    if (nType == KS_VIDE) return v;
    if (cl.bEstNull()) {
        v.nType = KS_VIDE;
        return v;
    }
    const void* p = cl.pGetStockage();
    switch (nType) {
    case KS_BOOL: {
        bool b = false;
        cl.nGetBOOL(b);
        v.nType = KS_BOOL;
        v.nEntier = b;
        return v;
    }
    case KS_UI1: case KS_UI2: case KS_UI4: case KS_UI8: case KS_I1: case KS_I2: case KS_I4: case KS_I8: case KS_UIX:
    case KS_I4BIS: {
        int64_t n = 0;
        if (cl.nGetINT_64(n) == 0) {
            v.nType = KS_I8;
            v.nEntier = n;
            return v;
        }
        uint64_t u = 0;
        cl.nGetBitField_64(u);
        v.nType = KS_R8;  // an unsigned 64-bit value above the signed range
        v.dReel = static_cast<double>(u);
        return v;
    }
    case KS_R4: case KS_R8: {
        double d = 0;
        if (cl.nGetREAL(d) != 0) d = nType == KS_R4 ? *static_cast<const float*>(p) : 0;
        v.nType = KS_R8;
        v.dReel = d;
        return v;
    }
    case KS_CY: {
        int64_t n = 0;
        std::memcpy(&n, p, sizeof n);
        v.nType = KS_R8;
        v.dReel = static_cast<double>(n) / 10000.0;
        return v;
    }
    case KS_OBJET: case KS_OBJET2: case KS_OBJET3: case KS_OBJET4: {
        v.nType = KS_OBJET;
        v.pObjet = cl.pGetObjet();
        return v;
    }
    default: {
        // Decimals, dates, times, durations and texts read as text.
        CTString s;
        cl.__nCastToString(s);
        v.nType = KS_PSTRW;
        v.sTexte = s;
        return v;
    }
    }
}

void AnyDepuisValeur(const STValeurHote& v, CAny& cl) {
    switch (v.nType) {
    case KS_VIDE: cl = CAny(); break;
    case KS_BOOL: cl.SetBOOL(v.nEntier != 0); break;
    case KS_I4: case KS_I4BIS:
        cl.SetI4(static_cast<int32_t>(v.nEntier));
        break;
    case KS_UI1: case KS_UI2: case KS_UI4: case KS_UI8: case KS_I1: case KS_I2: case KS_I8: case KS_UIX: case KS_DUREE:
        if (v.nEntier >= INT32_MIN && v.nEntier <= INT32_MAX) cl.SetI4(static_cast<int32_t>(v.nEntier));
        else cl.SetI8(v.nEntier);
        break;
    case KS_R4: case KS_R8: cl.SetR8(v.dReel); break;
    case KS_PSTRW: case KS_DSTRW: cl.SetPSTRX(v.sTexte.data(), v.sTexte.size()); break;
    default:
        cl.SetObjet(v.pObjet);
        break;
    }
}
