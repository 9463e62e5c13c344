// kvrun: loads the host kv190vm.so found beside this program and hands it
// the command line.
#include "kv/host.h"
#include <cstdio>
#include <dlfcn.h>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    std::string sHote = (ec ? std::filesystem::path(".") : exe.parent_path()) / "kv190vm.so";
    void* h = dlopen(sHote.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
        std::fprintf(stderr, "kvrun: cannot load %s: %s\n", sHote.c_str(), dlerror());
        return 2;
    }
    auto pfnMain = reinterpret_cast<PFN_KVVM_nMain>(dlsym(h, "KVVM_nMain"));
    if (!pfnMain) {
        std::fprintf(stderr, "kvrun: %s has no KVVM_nMain\n", sHote.c_str());
        dlclose(h);
        return 2;
    }
    int nRes = pfnMain(argc, argv);
    dlclose(h);
    return nRes;
}
