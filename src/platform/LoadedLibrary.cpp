#include "platform/LoadedLibrary.h"

#include <dlfcn.h>

namespace velawidget {

LoadedLibrary::LoadedLibrary(const char* soname) : handle_(dlopen(soname, RTLD_NOW | RTLD_LOCAL)) {
    if (!handle_) {
        const char* reason = dlerror();
        error_ = reason ? reason : std::string(soname) + ": cannot be opened";
    }
}

void* LoadedLibrary::symbol(const char* name) {
    if (!handle_) return nullptr;
    dlerror();
    void* found = dlsym(handle_, name);
    if (!found) {
        const char* reason = dlerror();
        error_ = reason ? reason : std::string(name) + ": not found";
    }
    return found;
}

}  // namespace velawidget
