#include "TavroModule.h"

#include "TavroCommon.h"

extern "C" int acrxGetApiVersion() {
    return 0x180000;
}

namespace {
// Stands for the DLL entry point: when the module is attached to a process it registers its
// version with the common library once, ignoring the answer.
struct ModuleAttach {
    ModuleAttach() { CTavroVersionManager::RegisterVersion(QString(), QString(), 0); }
};
const ModuleAttach attachOnLoad;
} // namespace
