// Feeds arbitrary definition text to the guidebook's content reader and walks what it read.
// Run: fuzz_GuidebookContentFuzz fuzz/corpus/GuidebookContentFuzz
#include <cstdint>
#include <string_view>

#include "engine/resources/RsrcBlock.h"
#include "fuzz/support/FuzzSupport.h"
#include "game/shell/GuidebookContent.h"
#include "platform/MessageBox.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    fuzz::Guarded([&] {
        CRsrcBlock block("GBK", 1, static_cast<int32_t>(input.size()));
        if (!input.empty())
            block.PutBytes(input.data(), static_cast<int32_t>(input.size()), 0);
        const GbkContent content = ReadGuidebookContent(&block, 0);
        int64_t sum = 0;
        for (const GbkSection& section : content.sections) {
            sum += section.contentsScreens + ContentsScreenCount(section.PageCount(), section.PerScreen());
            for (const GbkPage& page : section.pages)
                sum += static_cast<int64_t>(page.pictIds.size());
        }
        (void)sum;
    });
    plat::GetScriptedMessageBoxes().Clear();
    return 0;
}
