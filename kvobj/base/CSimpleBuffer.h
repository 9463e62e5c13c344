// A (pointer, size) pair through which a whole block of bytes, for example a
// compiled description, is handed over. It owns nothing: the bytes belong to
// whoever gave them and must outlive the pair.
#pragma once
#include <cstddef>

struct CSimpleBuffer {
    const void* pData = nullptr;
    size_t nTaille = 0;

    bool bEstVide() const { return pData == nullptr || nTaille == 0; }
};
