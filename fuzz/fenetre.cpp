// A compiled window description from arbitrary bytes: header, window record,
// menus and control list read by the window itself. Errors are CXError only.
#include "windows/CFenPrincipale.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto* f = new CFenPrincipale(L"FEN_FUZZ");
    try {
        CKVBuffer b(data, size);
        f->xCree(b);
    } catch (const CXError&) {
    }
    f->nRelease();
    return 0;
}
