// Reads arbitrary text as a headless script of the game program: every line is either taken
// or refused with its file and line, never anything else.
// Run: fuzz_Qm3ScriptFuzz fuzz/corpus/Qm3ScriptFuzz
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz/support/FuzzSupport.h"
#include "platform/headless/HeadlessScript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Guarded([&] {
        std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
        try {
            for (const ScriptLine& line : ParseScript(in, "fuzz.txt"))
                if (line.line < 1 || (line.kind == ScriptLine::Kind::Tick && line.x < 0))
                    __builtin_trap();
        } catch (const ScriptError& e) {
            if (std::string(e.what()).rfind("fuzz.txt:", 0) != 0)
                __builtin_trap();
        }
    });
    return 0;
}
