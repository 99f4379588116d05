#pragma once
// The module's place in the process: its instance (resource) handle, recorded when the library is
// attached, and the extension-module bookkeeping.
#include "platform/host/ResourceModule.h"

// The module's resource handle; valid while the library is attached.
HINSTANCE TavxModuleInstance();
// String table entry by id ("" when absent).
std::string TavxModuleString(int id);
