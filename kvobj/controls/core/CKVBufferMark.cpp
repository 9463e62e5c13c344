#include "controls/core/CKVBufferMark.h"
#include "frame/ModuleInfo.h"

size_t CKVBufferMark::s_dwWriteBeginMark(CKVBuffer& b) {
    size_t n = b.nGetPosition();
    b << static_cast<uint32_t>(0);
    return n;
}

void CKVBufferMark::s_WriteEndMark(CKVBuffer& b, size_t nOffsetMarque) {
    b.PatchU32(nOffsetMarque, static_cast<uint32_t>(b.nGetPosition() - nOffsetMarque));
}

void CKVBufferMark::s_WriteEntete(CKVBuffer& b, uint32_t nVersion, uint32_t nVersionLecteurMin) {
    b << static_cast<uint32_t>(12) << nVersion << nVersionLecteurMin;
}

void CKVBufferMark::WriteEntetePrincipale(CKVBuffer& b, uint32_t nVersion, uint32_t nVersionLecteurMin) {
    b.Seek(0, 0);
    s_WriteEntete(b, nVersion, nVersionLecteurMin);
    if (b.nGetFirstCodedByte() < 12) b.DefineFirstCodedByte(12);
}

size_t CKVBufferMark::s_dwReadBeginMark(CKVBuffer& b) {
    size_t nDebut = b.nGetPosition();
    uint32_t nLongueur = 0;
    if (!b.Get(&nLongueur, 4)) xThrowErreur(10201);
    if (nLongueur < 4) xThrowErreur(10201);
    size_t nFin = nDebut + nLongueur;
    if (b.bEncorePacke() && nFin > b.nGetFirstCodedByte()) b.xDepacke();
    if (nFin > b.nGetLimite()) xThrowErreur(10201);
    b.EmpileLimite(nFin);
    return nFin;
}

int CKVBufferMark::s_nReadEntete(CKVBuffer& b, uint32_t nMaxCompris, uint32_t nMinCompris, uint32_t* pnVersion,
                                 uint32_t* pnVersionLecteurMin) {
    uint32_t t[3];
    if (b.bEncorePacke() && b.nGetPosition() + 12 > b.nGetFirstCodedByte()) b.xDepacke();
    if (!b.Get(t, 12)) return 1;
    if (t[0] < 12) return 2;
    if (t[0] > 12) {
        size_t nReste = t[0] - 12;
        if (b.bEncorePacke()) b.xDepacke();
        if (nReste >= b.nGetLimite() - b.nGetPosition()) return 2;
        b.SeekNoResize(static_cast<int64_t>(nReste), 1);
    }
    if (pnVersion) *pnVersion = t[1];
    if (pnVersionLecteurMin) *pnVersionLecteurMin = t[2];
    if (t[1] < nMinCompris) return -2;
    if (t[2] > nMaxCompris) return -1;
    return 0;
}

void CKVBufferMark::s_ReadEndMark(CKVBuffer& b, size_t nFin) {
    b.DepileLimite();
    b.SeekNoResize(static_cast<int64_t>(nFin), 0);
}

int CKVBufferMark::nReadEntetePrincipale(CKVBuffer& b, uint32_t nMaxCompris, uint32_t nMinCompris, uint32_t* pnVersion,
                                         uint32_t* pnVersionLecteurMin) {
    b.SeekNoResize(0, 0);
    if (b.nGetFirstCodedByte() < 12) b.DefineFirstCodedByte(12);
    return s_nReadEntete(b, nMaxCompris, nMinCompris, pnVersion, pnVersionLecteurMin);
}

void CKVBufferMark::s_xVerifieEntete(int nResultat) {
    switch (nResultat) {
    case 0: return;
    case -2: xThrowErreur(10203);
    case -1: xThrowErreur(10202);
    default: xThrowErreur(10201);
    }
}
