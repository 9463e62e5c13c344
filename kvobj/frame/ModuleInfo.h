// The module's information record: its error definitions, its messages and
// the helpers that raise errors of module "KVOBJ".
#pragma once
#include "kv/CXError.h"
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

// One row of the error definition table (16 bytes).
struct STErreurDef {
    int32_t nErreur;
    int32_t nMessage;
    int32_t nCode;     // repeats the error number, or 0
    int32_t nNiveau;
};
static_assert(sizeof(STErreurDef) == 16);

struct STModuleInfo {
    const STErreurDef* pTabErreurs;
    int nNbErreurs;
    const wchar_t* pszFichier;
    const wchar_t* pszVersion;
    // Loads one message by number into a buffer; the count of characters,
    // capacity-1 when cut, 0 when there is no such message.
    int (*pfnChargeMessage)(int nNumero, wchar_t* pszBuffer, int nCapacite);
    void* pfnEntrees[5];
    const void* pTabRessources;
    int nNbRessources;
};

extern const STModuleInfo gstMyModuleInfo1;

inline constexpr const wchar_t* KVOBJ_MODULE = L"KVOBJ";
inline constexpr const wchar_t* KVOBJ_FICHIER = L"kv190obj.so";
inline constexpr const wchar_t* KVOBJ_VERSION = L"19.0.356.39";

// Error definition of a number (null when the table has none).
const STErreurDef* pstGetErreurDef(int nErreur);

// Messages of the packed block.
bool bChargeMessage(int nNumero, std::wstring& sTexte);
// Replaces %1..%9 by the arguments.
std::wstring sFormateMessage(const std::wstring& sModele, const std::vector<std::wstring>& tabArgs);

// An error of this module with its message formatted.
CXError ErreurKVOBJ(int nErreur, std::vector<std::wstring> tabArgs = {});

namespace kvargs {
inline std::wstring Arg(const std::wstring& s) { return s; }
inline std::wstring Arg(const wchar_t* s) { return s ? s : L""; }
template <class T, std::enable_if_t<std::is_arithmetic_v<T>, int> = 0>
std::wstring Arg(T v) { return std::to_wstring(v); }
} // namespace kvargs

// Throws an error of this module: xThrowErreur(10011, nLu, nDeclare).
template <class... A>
[[noreturn]] void xThrowErreur(int nErreur, A&&... a) {
    throw ErreurKVOBJ(nErreur, {kvargs::Arg(std::forward<A>(a))...});
}

// Message lookup entry points (DLLRES_*).
int DLLRES_nLoadString(const STModuleInfo* pInfo, int nNumero, wchar_t* pszBuffer, int nCapacite);
bool DLLRES_bLoadString(const STModuleInfo* pInfo, int nNumero, std::wstring& sTexte);
bool DLLRES_bFormatMessage(const STModuleInfo* pInfo, int nNumero, std::wstring& sTexte, const std::vector<std::wstring>& tabArgs);
bool DLLRES_bFormatMessageList(const STModuleInfo* pInfo, int nNumero, std::wstring& sTexte, const std::vector<std::wstring>& tabArgs);
bool DLLRES_bFormatMessageSingulierPluriel(const STModuleInfo* pInfo, int nNumeroSingulier, int nNumeroPluriel, long long nCompte,
                                          std::wstring& sTexte, const std::vector<std::wstring>& tabArgs);

// An external message loader installed by CommandeComposante(2).
typedef int (*PFN_LOAD_STRING_KVM)(int nNumero, wchar_t* pszBuffer, int nCapacite);
extern PFN_LOAD_STRING_KVM gpfnLoadStringKVM;

// Written at build time by tools/kvmsgpack from frame/messages.txt: the packed
// message block (between its start and stop markers) and the error
// definition table, sorted by error number.
extern const unsigned char gabyBlocMessages[];
extern const unsigned gnTailleBlocMessages;
extern const STErreurDef gtabErreursKVOBJ[];
extern const int gnNbErreursKVOBJ;
