#pragma once
// "EVT" records written by tests, in the text layout of the sample data's records (format
// 000000.EVT): the header words, five pictures, then up to eight choices.
#include <cstdint>
#include <string>
#include <vector>

namespace traveltest {

struct EventHeader {
    int16_t target = 0;
    int16_t display = 0;
    int16_t sound = 0;
    int16_t mode = 0;
    std::vector<int16_t> pictures = {6015};
};

struct Choice {
    int16_t item = 0;
    int16_t text = 0;
    int16_t outcome = 0;
    int16_t success = 0;
    int16_t failure = 0;
    int16_t cap = 100;
    int16_t delay = 0;
    int16_t stage = 0;
};

inline std::string EventRecordText(const EventHeader& h, const std::vector<Choice>& choices)
{
    const auto word = [](int32_t v) { return std::to_string(v) + ", "; };
    std::string text =
        "0, 0, " + word(h.target) + word(h.display) + word(h.sound) + "0, " + word(h.mode) + "\n";
    for (size_t i = 0; i < 5; ++i)
        text += word(i < h.pictures.size() ? h.pictures[i] : 0);
    text += "\n0, 0, 0,\n";
    for (size_t i = 0; i < 8; ++i) {
        const Choice c = i < choices.size() ? choices[i] : Choice{.cap = 0};
        for (int16_t v : {c.item, c.text, c.outcome, c.success, c.failure, c.cap, c.delay, c.stage})
            text += word(v);
        text += "0, 0, 0, 0,\n";
    }
    for (int i = 0; i < 33; ++i)
        text += i < 32 ? "0, " : "0\n";
    return text;
}

} // namespace traveltest
