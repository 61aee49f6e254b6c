// The registry file loader (regedit exports, REGEDIT4 and version 5.00). A rejected file must
// leave the tree exactly as it was; an accepted one must come back unchanged from the tree's
// own text, and loading it twice must give what loading it once gave.
#include <string>

#include "fuzz/FuzzRun.h"
#include "platform/host/Host.h"
#include "platform/host/HostRegistry.h"

using platform::host::LoadRegistryText;
using platform::host::RegistryText;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    platform::host::Reset();
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string empty = RegistryText();
    const platform::host::RegistryLoadResult result = LoadRegistryText(text);
    if (!result.ok) {
        if (result.error.empty()) fuzz::Finding("a rejected file without a reason");
        if (RegistryText() != empty) fuzz::Finding("a rejected file changed the tree: " + result.error);
        return 0;
    }
    const std::string loaded = RegistryText();
    if (!LoadRegistryText(text).ok || RegistryText() != loaded) fuzz::Finding("loading twice differs from once");
    platform::host::ClearRegistry();
    const platform::host::RegistryLoadResult again = LoadRegistryText(loaded);
    if (!again.ok) fuzz::Finding("the tree's own text is rejected: line " + std::to_string(again.line) + ": " + again.error);
    if (RegistryText() != loaded) fuzz::Finding("the tree's own text loads into another tree");
    return 0;
}
