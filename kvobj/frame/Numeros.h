// Named numbers of the language: object kinds (ID_OBJET) and properties,
// generated from the kind list (Genres.def) and the property table
// (Proprietes.def), so that code names a kind or a property instead of
// spelling its number.
#pragma once

inline constexpr int NB_ID_OBJET = 113;

enum eID_OBJET : int {
#define KV_GENRE(n, id, classe, cle) ID_##id = n,
#include "frame/Genres.def"
#undef KV_GENRE
};


inline constexpr int NB_PROPRIETES = 269;

enum ePROPRIETE : int {
#define KV_PROP(n, id, nom, en, type) PROP_##id = n,
#define KV_PROP_NONCE(n)
#include "frame/Proprietes.def"
#undef KV_PROP
#undef KV_PROP_NONCE
};
