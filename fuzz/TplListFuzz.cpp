// Reads arbitrary text as a template list ("TPL") with every screen kind of the engine
// registered, builds it, switches each template's branch off and on, and builds it again. A
// small folder library gives the lists a string list to read; images are missing (quietly,
// or as a fatal report under template flag 0x400).
// Run: fuzz_TplListFuzz fuzz/corpus/TplListFuzz
#include <cstdint>

#include "engine/controls/kinds/TemplateKinds.h"
#include "fuzz/support/TplListHarness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > fuzz::kMaxTplListInput)
        return 0;
    static const bool ready = [] {
        fuzz::SetUpTplListEngine();
        RegisterAllTemplateKinds();
        return true;
    }();
    (void)ready;
    fuzz::RunTplListInput(data, size);
    return 0;
}
