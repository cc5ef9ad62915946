// The program's load configuration. Its one setting: the libraries the program imports come from
// the system folder only. The program runs elevated from the user's Downloads, where anyone can
// leave a DLL, and the loader resolves the imports before our first line could say where to look.
// Windows older than 10 1607 does not know the field and ignores it.
//
// Everything else stays zero and means what an image without a load configuration means: no
// table of safe exception handlers, no security cookie for the loader to set up, and, the
// structure ending before the guard fields, no control-flow guard.
//
// GNU ld does not point the image's load-configuration directory at this structure: the build
// does after the link (cmake/set_load_config_directory.py), finding it by its section of its own.
#include <windows.h>

namespace {

constexpr IMAGE_LOAD_CONFIG_DIRECTORY32 SystemFolderImportsOnly()
{
    IMAGE_LOAD_CONFIG_DIRECTORY32 configuration{};
    configuration.Size = sizeof configuration;
    // DependentLoadFlags in Microsoft's headers.
    configuration.Reserved1 = LOAD_LIBRARY_SEARCH_SYSTEM32;
    return configuration;
}

}  // namespace

// The name Microsoft's linker looks for, should a linker here ever fill the directory itself.
extern "C" __attribute__((used, section(CORVINA_LOAD_CONFIG_SECTION)))
const IMAGE_LOAD_CONFIG_DIRECTORY32 _load_config_used = SystemFolderImportsOnly();
