// The object factory: creates the module's objects by kind (ID_OBJET 0 to 112).
#pragma once
#include "base/CObjet.h"
#include "frame/Numeros.h"
#include "kv/module.h"
#include <atomic>

struct STDeclareObjet {
    int nIDObjet;                    // the kind, or -1 when this module does not provide it
    const wchar_t* pszClasse;        // class name, for the kind table of InfoComposante(37)
    CObjet* (*pfnCree)(eID_OBJET);   // creation function (null when the kind has none)
};

class CObjFactory : public IClassFactory {
public:
    CObjFactory() = default;
    virtual ~CObjFactory() = default;

    int QueryInterface(int nInterface, void** ppSortie) override;
    unsigned AddRef() override { return ++m_nRef; }
    unsigned Release() override;
    int CreateInstance(void* pExterieur, int nIDObjet, void** ppSortie) override;
    int LockServer(int) override { return 0; }

    // The kind table, built once from the application context and the
    // control families (controls/Familles.cpp).
    static const STDeclareObjet* m_tabDeclareObjet();
    static bool bEstIDChamp(int nIDObjet);
    // Creates the object of a kind; null for a kind that is not available.
    static CObjet* pclCree(int nIDObjet);
    // The aggregate of a kind and its interface (gate's bCree/bCreeInterface).
    static bool bCreateAgregat(int nIDObjet, void** ppSortie, void* pExterieur);
    // Creates a control of a kind; throws 10012 for an unknown kind.
    static CObjet* xResCreateChamp(int nIDObjet);

private:
    std::atomic<unsigned> m_nRef{0};
};
