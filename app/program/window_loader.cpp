#include "app/program/window_loader.h"

#include "platform/file_ops.h"
#include "platform/folders.h"
#include "platform/paths.h"

#include <dlfcn.h>

namespace {

// The module's file name, and its folder seen from an installed program's folder; both given by
// the build.
constexpr const char* kModuleName = VESPERA_WINDOW_MODULE;
constexpr const char* kInstalledFolder = VESPERA_WINDOW_MODULE_FROM_PROGRAM;

} // namespace

TWindowProgram LoadWindowProgram(std::string& Error) {
    const std::string ProgramFolder = ExtractFilePath(ProgramFileName());
    std::string Module = ProgramFolder + kModuleName;
    if (!FileExists(Module)) {
        Module = ProgramFolder + kInstalledFolder + "/" + kModuleName;
    }
    void* Handle = ::dlopen(Module.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (Handle == nullptr) {
        const char* Reason = ::dlerror();
        Error = "cannot load the settings window: " + std::string(Reason ? Reason : Module);
        return nullptr;
    }
    // The module stays loaded for the rest of the program's life.
    void* Entry = ::dlsym(Handle, "VesperaWindowProgram");
    if (Entry == nullptr) {
        Error = "cannot load the settings window: " + Module + " has no entry";
        return nullptr;
    }
    return reinterpret_cast<TWindowProgram>(Entry);
}
