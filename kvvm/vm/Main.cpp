// The launcher's work, inside the host: kvrun [--check] PROJECT
#include "vm/CHote.h"
#include "vm/Export.h"
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {
void Usage() {
    std::fprintf(stderr,
                 "usage: kvrun [options] [PROJECT]\n"
                 "  --check              start the module through its entry points and stop it again\n"
                 "  --persistence FILE   where remembered user values are stored\n"
                 "  --module FILE        the window module to load (default: kv190obj.so beside the host)\n");
}
} // namespace

KVVM_EXPORT int KVVM_nMain(int argc, char** argv) {
    STOptionsHote st;
    bool bCheck = false;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--check") == 0) {
            bCheck = true;
        } else if (std::strcmp(a, "--persistence") == 0 && i + 1 < argc) {
            st.sPersistance = argv[++i];
        } else if (std::strcmp(a, "--module") == 0 && i + 1 < argc) {
            st.sModule = argv[++i];
        } else if (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0) {
            Usage();
            return 0;
        } else if (a[0] == '-') {
            std::fprintf(stderr, "kvrun: unknown option %s\n", a);
            Usage();
            return 2;
        } else if (st.sProjet.empty()) {
            st.sProjet = a;
        } else {
            Usage();
            return 2;
        }
    }
    auto pHote = std::make_unique<CHote>();
    std::string sErreur;
    if (!pHote->bDemarre(st, sErreur)) {
        std::fprintf(stderr, "kvrun: %s\n", sErreur.c_str());
        return 1;
    }
    int nRes = 0;
    if (bCheck) {
        std::printf("kvrun: module %ls started and stopped\n", pHote->piGetGate()->pszGetModuleVersion());
    } else {
        std::fprintf(stderr, "kvrun: this build cannot open windows yet; use --check\n");
        nRes = 1;
    }
    pHote->Arrete();
    return nRes;
}
