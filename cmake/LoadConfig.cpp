// The executable's load configuration (MinGW builds; the Microsoft linker writes its own from
// /DEPENDENTLOADFLAG). Its DependentLoadFlags make Windows look for the DLLs that the imported
// system DLLs need in System32 only, from the very start: SetDefaultDllDirectories in wWinMain
// comes too late for those, and a DLL planted beside the program or in the current folder would
// run inside it first. GNU ld leaves the Load Configuration directory empty whatever it links;
// tools/fill-load-config points it at this record after the link.
#include <windows.h>

namespace {

constexpr IMAGE_LOAD_CONFIG_DIRECTORY64 SystemFolderOnlyLoadConfig() {
    IMAGE_LOAD_CONFIG_DIRECTORY64 config{};
    config.Size = sizeof config;
    config.Reserved1 = LOAD_LIBRARY_SEARCH_SYSTEM32; // DependentLoadFlags in the Windows SDK
    return config;
}

} // namespace

extern "C" {

extern const IMAGE_LOAD_CONFIG_DIRECTORY64 _load_config_used;

// Nothing in the program reads it: "used" and the link's --require-defined keep it through
// link-time optimisation and section garbage collection.
__attribute__((used)) constinit const IMAGE_LOAD_CONFIG_DIRECTORY64 _load_config_used =
    SystemFolderOnlyLoadConfig();
}
