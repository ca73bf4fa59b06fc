#include "platform/headless/HeadlessScript.h"

#include <cctype>
#include <charconv>
#include <sstream>

#include "platform/TextEscape.h"
#include "platform/WindowMessages.h"
#include "platform/widgets/TextCodes.h"

namespace {

using Kind = ScriptLine::Kind;

struct NamedKey {
    const char* name;
    uint8_t key;
    uint8_t ch;
};
// Keys by name; Enter, Esc, Tab and Backspace bring their characters with the key itself.
constexpr NamedKey kNamedKeys[] = {
    {"Enter", plat::key::Enter, 0},
    {"Esc", plat::key::Escape, 0},
    {"Tab", plat::key::Tab, 0},
    {"Space", plat::key::Space, ' '},
    {"Backspace", plat::key::Backspace, 0},
    {"Delete", plat::key::Delete, 0},
    {"Home", plat::key::Home, 0},
    {"End", plat::key::End, 0},
    {"Left", plat::key::Left, 0},
    {"Right", plat::key::Right, 0},
    {"Up", plat::key::Up, 0},
    {"Down", plat::key::Down, 0},
};

struct Answer {
    const char* name;
    plat::MbResult result;
};
constexpr Answer kAnswers[] = {
    {"ok", plat::MbResult::Ok},         {"cancel", plat::MbResult::Cancel}, {"yes", plat::MbResult::Yes},
    {"no", plat::MbResult::No},         {"abort", plat::MbResult::Abort},   {"retry", plat::MbResult::Retry},
    {"ignore", plat::MbResult::Ignore},
};
constexpr int kScriptAnswers = 4; // the first four may be given in a script

class LineReader {
public:
    LineReader(const std::string& text, const std::string& file, int line)
        : text_(text), file_(file), line_(line)
    {
    }

    [[noreturn]] void Fail(const std::string& message) const { throw ScriptError(file_, line_, message); }

    // The next blank-separated word; empty at the end.
    std::string Word()
    {
        while (pos_ < text_.size() && IsBlank(text_[pos_]))
            ++pos_;
        const size_t start = pos_;
        while (pos_ < text_.size() && !IsBlank(text_[pos_]))
            ++pos_;
        return text_.substr(start, pos_ - start);
    }
    // The rest of the line after one blank.
    std::string Rest()
    {
        if (pos_ < text_.size() && IsBlank(text_[pos_]))
            ++pos_;
        std::string rest = text_.substr(pos_);
        pos_ = text_.size();
        return rest;
    }
    int32_t Number(const char* what, int64_t low, int64_t high)
    {
        const std::string word = Word();
        int64_t value = 0;
        const char* end = word.data() + word.size();
        const auto [ptr, ec] = std::from_chars(word.data(), end, value);
        if (word.empty() || ec != std::errc() || ptr != end || value < low || value > high)
            Fail(std::string("bad ") + what + (word.empty() ? "" : " \"" + word + "\""));
        return static_cast<int32_t>(value);
    }
    void End()
    {
        if (const std::string extra = Word(); !extra.empty())
            Fail("unexpected \"" + extra + "\"");
    }

private:
    static bool IsBlank(char c) { return c == ' ' || c == '\t'; }

    const std::string& text_;
    const std::string& file_;
    int line_;
    size_t pos_ = 0;
};

ScriptKey ParseKey(std::string spec, const LineReader& reader)
{
    ScriptKey key;
    for (;;) {
        if (spec.rfind("Shift+", 0) == 0 && spec.size() > 6) {
            key.shift = true;
            spec.erase(0, 6);
        } else if (spec.rfind("Ctrl+", 0) == 0 && spec.size() > 5) {
            key.ctrl = true;
            spec.erase(0, 5);
        } else if (spec.rfind("Alt+", 0) == 0 && spec.size() > 4) {
            key.alt = true;
            spec.erase(0, 4);
        } else {
            break;
        }
    }
    for (const NamedKey& k : kNamedKeys)
        if (spec == k.name) {
            key.key = k.key;
            key.ch = k.ch;
            return key;
        }
    if (spec.size() >= 2 && spec[0] == 'F') {
        int n = 0;
        const auto [ptr, ec] = std::from_chars(spec.data() + 1, spec.data() + spec.size(), n);
        if (ec == std::errc() && ptr == spec.data() + spec.size() && n >= 1 && n <= 12) {
            key.key = static_cast<uint8_t>(plat::key::F1 + n - 1);
            return key;
        }
    }
    if (spec.size() == 1 && spec[0] > ' ' && spec[0] < 0x7F) {
        const char c = spec[0];
        key.ch = static_cast<uint8_t>(c);
        if (std::isalnum(static_cast<unsigned char>(c)))
            key.key = static_cast<uint8_t>(std::toupper(static_cast<unsigned char>(c)));
        return key;
    }
    reader.Fail("bad key \"" + spec + "\"");
}

} // namespace

bool Utf8ToWindows1252(const std::string& utf8, std::string& out)
{
    out.clear();
    for (const char32_t cp : plat::DecodeUtf8(utf8)) {
        const uint8_t b = cp < 0x80 ? static_cast<uint8_t>(cp) : plat::Cp1252FromCodePoint(cp);
        if (b == 0)
            return false;
        out += static_cast<char>(b);
    }
    // Bytes that are no UTF-8 are dropped by the decoding; the text then does not come back.
    return plat::Cp1252ToUtf8(out) == utf8;
}

ScriptLine ParseScriptLine(const std::string& text, const std::string& fileName, int lineNumber)
{
    LineReader reader(text, fileName, lineNumber);
    ScriptLine line;
    line.line = lineNumber;
    const std::string word = reader.Word();
    auto point = [&](Kind kind) {
        line.kind = kind;
        line.x = reader.Number("x", 0, 639);
        line.y = reader.Number("y", 0, 479);
    };
    if (word == "tick") {
        line.kind = Kind::Tick;
        std::string count = reader.Word();
        line.x = 1;
        if (!count.empty()) {
            LineReader n(count, fileName, lineNumber);
            line.x = n.Number("tick count", 0, 1000000000);
        }
    } else if (word == "move") {
        point(Kind::Move);
    } else if (word == "down") {
        point(Kind::Down);
    } else if (word == "up") {
        point(Kind::Up);
    } else if (word == "click") {
        point(Kind::Click);
    } else if (word == "press") {
        line.kind = Kind::Press;
        line.x = reader.Number("object id", INT32_MIN, INT32_MAX);
    } else if (word == "key") {
        line.kind = Kind::Key;
        const std::string spec = reader.Word();
        if (spec.empty())
            reader.Fail("key needs a key");
        line.key = ParseKey(spec, reader);
    } else if (word == "type") {
        line.kind = Kind::Type;
        if (!Utf8ToWindows1252(reader.Rest(), line.text))
            reader.Fail("text that Windows-1252 cannot hold");
        return line;
    } else if (word == "command") {
        line.kind = Kind::Command;
        line.x = reader.Number("command", INT32_MIN, INT32_MAX);
    } else if (word == "answer") {
        line.kind = Kind::Answer;
        const std::string name = reader.Word();
        bool found = false;
        for (int i = 0; i < kScriptAnswers; ++i)
            if (name == kAnswers[i].name) {
                line.answer = kAnswers[i].result;
                found = true;
            }
        if (!found)
            reader.Fail("bad answer \"" + name + "\" (ok, cancel, yes or no)");
    } else if (word == "screenshot") {
        line.kind = Kind::Screenshot;
        line.text = reader.Rest();
        if (line.text.empty())
            reader.Fail("screenshot needs a file");
        return line;
    } else if (word == "window") {
        line.kind = Kind::Window;
        line.x = reader.Number("width", 0, 4096);
        line.y = reader.Number("height", 0, 4096);
        if ((line.x == 0) != (line.y == 0))
            reader.Fail("window needs both sides, or 0 0");
    } else if (word == "quit") {
        line.kind = Kind::Quit;
    } else {
        reader.Fail("unknown command \"" + word + "\"");
    }
    reader.End();
    return line;
}

std::vector<ScriptLine> ParseScript(std::istream& in, const std::string& fileName)
{
    std::vector<ScriptLine> lines;
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        const size_t first = text.find_first_not_of(" \t");
        if (first == std::string::npos || text[first] == '#')
            continue;
        lines.push_back(ParseScriptLine(text.substr(first), fileName, number));
    }
    return lines;
}

std::string QuoteScriptText(const std::string& text) { return plat::Quoted(text); }

std::string MessageBoxLine(const plat::MessageBoxRequest& request, plat::MbResult answer)
{
    std::string out = "msgbox " + plat::Quoted(request.caption) + " " + plat::Quoted(request.text) + " ";
    for (const Answer& a : kAnswers)
        if (a.result == answer)
            out += a.name;
    return out;
}
