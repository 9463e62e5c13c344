// Between the module's typed values (CAny) and the host's plain values.
#pragma once
#include "controls/core/CAny.h"
#include "kv/host.h"

// Integers come out as 64-bit (KS_I8), reals and currency as KS_R8, objects
// as KS_OBJET with their pointer, a null value as KS_VIDE, every other type
// (texts, dates, times, decimals) as its text.
STValeurHote ValeurDepuisAny(const CAny& cl);
// The reverse: integers that fit 32 bits become KS_I4.
void AnyDepuisValeur(const STValeurHote& v, CAny& cl);
