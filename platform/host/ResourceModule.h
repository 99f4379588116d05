#pragma once
// Resources of a loaded module: named text resources (dialog templates, the string table, the command
// menu, icon and bitmap names) compiled into the module. A module's resource handle (HINSTANCE) points at
// its ResourceModule; the document manager's handle stack decides where templates are looked up.
#include <map>
#include <string>

namespace TAVHost {

struct ResourceModule {
    std::string moduleName;
    std::map<std::string, std::string> files;  // resource file name -> contents (UTF-8)
};

}  // namespace TAVHost

using HINSTANCE = const TAVHost::ResourceModule*;
