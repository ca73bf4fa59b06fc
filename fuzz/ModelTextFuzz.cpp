// Reads arbitrary model texts: the input's lines (split at line feeds) are the entries of the
// text record. A model the loader takes is then placed in front of the camera (its position,
// the camera's angles and the scale taken from the input's first bytes) and drawn, filled and
// as outlines, into a small frame buffer, so that whatever the text holds reaches the raster.
// Run: fuzz_ModelTextFuzz fuzz/corpus/ModelTextFuzz
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/framework/Str.h"
#include "engine/resources/RecReader.h"
#include "fuzz/support/FuzzSupport.h"
#include "game/action/3DView.h"

namespace {

constexpr int16_t kWidth = 48;
constexpr int16_t kHeight = 32;

void SplitLines(std::string_view text, CRecReader& reader)
{
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        reader.Add(std::make_unique<CStr>(std::string(text.substr(start, end - start)).c_str()));
        start = end + 1;
    }
}

int8_t Byte(std::string_view bytes, size_t i)
{
    return bytes.empty() ? 0 : static_cast<int8_t>(bytes[i % bytes.size()]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Guarded([&] {
        const std::string_view input(reinterpret_cast<const char*>(data), size);
        CRecReader reader;
        SplitLines(input, reader);
        C3DView view(nullptr);
        const double scale = 1 + Byte(input, 0) / 16.0;
        std::unique_ptr<C3DModel> model =
            CreateModel(view, Byte(input, 1), Byte(input, 2), 40 + Byte(input, 3) * 2, reader, scale);
        if (!model)
            return;
        std::vector<uint8_t> pixels(size_t{kWidth} * kHeight);
        // Half the fuzzed draws clip to a rectangle inside the buffer.
        const CRect rect(4, 5, kHeight - 3, kWidth - 6);
        view.AttachRows(kWidth, kHeight, 0, kWidth, Byte(input, 4) & 1 ? &rect : nullptr);
        view.SetPixels(nullptr, pixels.data());
        view.AddPitch(Byte(input, 5));
        view.AddHeading(Byte(input, 6));
        view.AddRoll(Byte(input, 7));
        view.AddFocal(Byte(input, 8));
        view.BuildViewMatrix();
        for (const bool wireframe : {false, true}) {
            view.QueueModel(*model);
            view.CullPolygons(*model, true);
            view.DrawList(wireframe);
            view.ClearDrawList();
        }
    });
    return 0;
}
