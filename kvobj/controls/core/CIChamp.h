// The language face of a control: the virtual machine reaches the control
// through it. It forwards to its CChamp.
#pragma once
#include "controls/core/CChamp.h"

class CIChamp {
public:
    explicit CIChamp(CChamp* pclChamp) : m_pclChamp(pclChamp) {}
    virtual ~CIChamp() = default;

    virtual void DestroyAgregat() { delete this; }
    virtual unsigned AddRef() { return m_pclChamp->AddRef(); }
    virtual unsigned Release() { return m_pclChamp->nRelease(); }
    virtual CChamp* pclGetObjet() { return m_pclChamp; }
    virtual int dwGetId() { return m_pclChamp->dwGetId(); }
    virtual void* hGetHwnd() { return m_pclChamp->pGetWidget(); }
    virtual void SetPosition(int x, int y) { m_pclChamp->SetPosition(x, y); m_pclChamp->vMAJVue(); }
    virtual void SetSize(int l, int h) { m_pclChamp->SetSize(l, h); m_pclChamp->vMAJVue(); }
    virtual int nGetPosX() { return m_pclChamp->nGetPosX(); }
    virtual int nGetPosY() { return m_pclChamp->nGetPosY(); }
    virtual int nGetPosXInitial() { return m_pclChamp->rectInitial().x(); }
    virtual int nGetPosYInitial() { return m_pclChamp->rectInitial().y(); }
    virtual int nGetLargeur() { return m_pclChamp->nGetLargeur(); }
    virtual int nGetHauteur() { return m_pclChamp->nGetHauteur(); }
    virtual int nGetLargeurInitiale() { return m_pclChamp->rectInitial().width(); }
    virtual int nGetHauteurInitiale() { return m_pclChamp->rectInitial().height(); }
    virtual void ShowWindow(bool b) { m_pclChamp->SetVisible(b); }
    virtual bool bIsWindowVisible() { return m_pclChamp->bIsVisible(); }
    virtual bool bIsWindowEnabled() { return m_pclChamp->bIsEnabled(); }
    virtual void SetState(FEN_ETAT e) { m_pclChamp->SetState(e); }
    virtual FEN_ETAT eGetState() { return m_pclChamp->eGetState(); }
    virtual bool bPCodeEstUtilise(int nEvenement) { return m_pclChamp->bPCodeInfo(nEvenement, 0); }
    virtual void ExecutePCode(int nEvenement) { m_pclChamp->ExecutePCode(nEvenement); }
    virtual IVM* piGetVM() { return m_pclChamp->piGetVM(); }
    virtual void SetLibelle(const wchar_t* psz) { m_pclChamp->SetLibelle(psz); }
    virtual const wchar_t* pszGetLibelle() { return m_pclChamp->pszGetLibelle(); }
    virtual void SetTabStop(bool b) { m_pclChamp->SetTabStop(b); }
    virtual bool bGetTabStop() { return m_pclChamp->bGetTabStop(); }
    virtual void SetLettreAppel(uint32_t n) { m_pclChamp->SetLettreAppel(n); }
    virtual uint32_t dwGetLettreAppel() { return m_pclChamp->dwGetLettreAppel(); }
    virtual const wchar_t* pszGetNomGroupe() { return m_pclChamp->sGetGroupes().c_str(); }
    virtual void AffecteGroupe(const wchar_t* psz) { m_pclChamp->SetGroupes(psz); }
    virtual int nGetZOrder() { return m_pclChamp->nGetZOrder(); }
    virtual void SetZOrder(int n) { m_pclChamp->SetZOrder(n); }
    virtual void SetPrendFocus(bool b) { m_pclChamp->SetPrendFocus(b); }
    virtual bool bGetPrendFocus() { return m_pclChamp->bGetPrendFocus(); }
    virtual void SetTitreAide(const wchar_t* p) { m_pclChamp->SetTitreAide(p); }
    virtual const wchar_t* pszGetTitreAide() { return m_pclChamp->sGetTitreAide().c_str(); }
    virtual void SetTexteAide(const wchar_t* p) { m_pclChamp->SetTexteAide(p); }
    virtual const wchar_t* pszGetTexteAide() { return m_pclChamp->sGetTexteAide().c_str(); }
    virtual void SetValeurPersistante(bool b) { m_pclChamp->SetMemoriserValeur(b); }
    virtual bool bGetValeurPersistantee() { return m_pclChamp->bGetMemoriserValeur(); }
    virtual const wchar_t* pszGetChampModeleBase() { return m_pclChamp->sGetChampModeleBase().c_str(); }
    // The object-with-code part.
    virtual bool bPCodeInfo(int nEvenement, int nGenre) { return m_pclChamp->bPCodeInfo(nEvenement, nGenre); }
    virtual const wchar_t* pszGetName() { return m_pclChamp->pszGetName(); }
    virtual void SetName(const wchar_t* psz) { m_pclChamp->SetName(psz); }
    virtual uint64_t qwGetID() { return m_pclChamp->qwGetID(); }
    virtual void GenerateNewID() { m_pclChamp->GenerateNewID(); }

private:
    CChamp* m_pclChamp;
};
