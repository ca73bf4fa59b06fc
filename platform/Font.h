#pragma once
// Fonts for the software drawing: FreeType renders each glyph without anti-aliasing, so text
// lands in 8-bit surfaces as one colour index. The face names that data asks for ("MS Sans
// Serif", "Arial", "Times New Roman", "Courier New") map to fonts installed on the host by one
// table; an unknown name gets the default face, as a font mapper would give it. Text is
// Windows-1252, one byte per character.
#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

constexpr uint8_t kAnsiCharset = 0;
constexpr uint8_t kSymbolCharset = 2;
constexpr uint8_t kOemCharset = 255;

struct FontSpec {
    std::string face;
    // Below 0: the character height in pixels (the cell without its internal leading);
    // above 0: the cell height; 0: a default size.
    int32_t height = 0;
    int32_t width = 0;    // average character width in pixels; 0 keeps the face's proportions
    int32_t weight = 400; // 600 and above is bold
    bool italic = false;
    bool underline = false;
    uint8_t charset = kAnsiCharset;
};

struct FontMetrics {
    int32_t height = 0; // ascent + descent: the cell height
    int32_t ascent = 0; // rows above the baseline
    int32_t descent = 0;
    int32_t internalLeading = 0; // cell height less the character height
    int32_t externalLeading = 0; // space the face advises between lines
    int32_t averageCharWidth = 0;
    int32_t maxCharWidth = 0;
    int32_t underlineOffset = 0; // rows from the baseline down to the underline's first row
    int32_t underlineThickness = 1;
    uint8_t charset = kAnsiCharset;
};

struct Glyph {
    int32_t left = 0;  // bitmap's first column relative to the pen position
    int32_t top = 0;   // rows of the bitmap above the baseline
    int32_t width = 0; // bitmap size
    int32_t height = 0;
    int32_t advance = 0;       // how far the pen moves on
    std::vector<uint8_t> bits; // width x height, 1 where ink
};

class Font {
public:
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    const FontSpec& Spec() const { return spec_; }
    const FontMetrics& Metrics() const { return metrics_; }
    // The font file in use.
    const std::filesystem::path& File() const { return file_; }
    // The glyph of a Windows-1252 byte, rendered once and kept.
    const Glyph& GlyphOf(uint8_t ch) const;
    int32_t TextWidth(std::string_view text) const;

    struct Impl;

private:
    friend std::shared_ptr<const Font> CreateFont(const FontSpec& spec, std::string* error);
    Font() = default;

    FontSpec spec_;
    FontMetrics metrics_;
    std::filesystem::path file_;
    std::unique_ptr<Impl> impl_;
    mutable std::array<std::optional<Glyph>, 256> glyphs_;
};

using FontHandle = std::shared_ptr<const Font>;

// Makes a font. Returns nullptr, with the reason in *error when given, when no font file for
// the face can be found or read.
FontHandle CreateFont(const FontSpec& spec, std::string* error = nullptr);

// The fixed fonts every drawing context can fall back on.
enum class StockFont {
    System,      // the proportional bold font of captions and default text
    SystemFixed, // fixed-pitch, the console's default
    AnsiFixed,   // fixed-pitch, smaller
    OemFixed,    // fixed-pitch, OEM character set
};
FontSpec StockFontSpec(StockFont which);
// Made on first use and kept; nullptr (with the reason) when no font file can be loaded.
FontHandle GetStockFont(StockFont which, std::string* error = nullptr);

// The files of one face in its four styles; a missing style falls back to the regular file,
// slanted or emboldened by FreeType. Names without a folder are looked for in the font folders.
struct FaceFiles {
    std::string regular = {};
    std::string bold = {};
    std::string italic = {};
    std::string boldItalic = {};
};

// The folders font files are looked for in (the Debian folders of DejaVu and Liberation).
void SetFontFolders(std::vector<std::filesystem::path> folders);
const std::vector<std::filesystem::path>& GetFontFolders();
// Adds a face name, or replaces how one is found (tests install fonts of their own).
void AddFontFace(const std::string& name, const FaceFiles& files);

// Forgets the stock fonts, added faces and folder changes.
void ResetFonts();

} // namespace plat
