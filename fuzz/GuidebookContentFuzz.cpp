// Feeds arbitrary definition text to the guidebook's content reader and walks what it read:
// every page, the previous and next buttons from each section's first page to the book's
// ends, and the master title numbers around the pages.
// Run: fuzz_GuidebookContentFuzz fuzz/corpus/GuidebookContentFuzz
#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/resources/RsrcBlock.h"
#include "fuzz/support/FuzzSupport.h"
#include "game/shell/GuidebookContent.h"
#include "game/shell/GuidebookNav.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    fuzz::Guarded([&] {
        CRsrcBlock block("GBK", 1, static_cast<int32_t>(input.size()));
        if (!input.empty())
            block.PutBytes(input.data(), static_cast<int32_t>(input.size()), 0);
        const GbkContent content = ReadGuidebookContent(&block, 0);
        int64_t sum = 0;
        int32_t places = 0;
        for (const GbkSection& section : content.sections) {
            places += section.PageCount() + section.contentsScreens + 1;
            sum += section.contentsScreens + ContentsScreenCount(section.PageCount(), section.PerScreen());
            for (const GbkPage& page : section.pages)
                sum += static_cast<int64_t>(page.pictIds.size());
        }
        // Each button leads on to a place not seen before, so a walk ends within the book's
        // places; one that does not is a fault.
        for (size_t i = 0; i < content.sections.size(); ++i) {
            for (bool next : {true, false}) {
                std::optional<GbkPlace> at = GbkPlace{static_cast<int32_t>(i), 0};
                for (int64_t steps = 0; at && steps <= places; ++steps) {
                    const GbkSection& section = content.sections[static_cast<size_t>(at->section)];
                    sum += SpreadStartPage(section, at->page);
                    at = next ? NextPlace(content, *at) : PreviousPlace(content, *at);
                }
                if (at)
                    __builtin_trap();
            }
        }
        for (int32_t number = -1; number <= places; ++number)
            if (const std::optional<GbkPlace> place = PlaceOfMasterEntry(content, number))
                sum += place->page;
        (void)sum;
    });
    return 0;
}
