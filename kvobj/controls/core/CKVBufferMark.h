// Nested blocks with a length mark, optionally with a header (size, data
// version, minimum reader version). A reader seeks to the block's end after
// the fields it knows, which skips what newer writers added.
#pragma once
#include "controls/core/CKVBuffer.h"

class CKVBufferMark {
public:
    // Writing.
    static size_t s_dwWriteBeginMark(CKVBuffer& b);
    static void s_WriteEndMark(CKVBuffer& b, size_t nOffsetMarque);
    static void s_WriteEntete(CKVBuffer& b, uint32_t nVersion, uint32_t nVersionLecteurMin);
    static void WriteEntetePrincipale(CKVBuffer& b, uint32_t nVersion, uint32_t nVersionLecteurMin);

    // Reading. s_dwReadBeginMark returns the block's end offset and limits
    // reads to it until s_ReadEndMark (error 10201 for a damaged mark).
    static size_t s_dwReadBeginMark(CKVBuffer& b);
    // 0 fine, 1 data ends before the header, 2 header size below 12 or its
    // extra bytes run past the data, -2 data older than nMinCompris, -1 data
    // that needs a reader newer than nMaxCompris.
    static int s_nReadEntete(CKVBuffer& b, uint32_t nMaxCompris, uint32_t nMinCompris, uint32_t* pnVersion,
                             uint32_t* pnVersionLecteurMin);
    static void s_ReadEndMark(CKVBuffer& b, size_t nFin);
    static int nReadEntetePrincipale(CKVBuffer& b, uint32_t nMaxCompris, uint32_t nMinCompris, uint32_t* pnVersion,
                                     uint32_t* pnVersionLecteurMin);
    // The header result as an error: -2 10203, -1 10202, 1 and 2 10201.
    static void s_xVerifieEntete(int nResultat);
};
