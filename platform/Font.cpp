#include "platform/Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <system_error>

#include "platform/Files.h"

namespace plat {
namespace {

// Heights past this many pixels are drawn at this size: glyphs are kept as bitmaps.
constexpr int32_t kMaxPixelSize = 512;
// The cell height of a font asked for with height 0.
constexpr int32_t kDefaultCellHeight = 16;

// Unicode for the Windows-1252 bytes 0x80-0x9F; the five unassigned bytes keep their value and
// show as the face's missing-glyph box.
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

uint32_t UnicodeOf(uint8_t ch) { return ch >= 0x80 && ch < 0xA0 ? kCp1252High[ch - 0x80] : ch; }

const FaceFiles kDejaVuSans{"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSans-Oblique.ttf",
                            "DejaVuSans-BoldOblique.ttf"};
const FaceFiles kDejaVuSerif{"DejaVuSerif.ttf", "DejaVuSerif-Bold.ttf", "DejaVuSerif-Italic.ttf",
                             "DejaVuSerif-BoldItalic.ttf"};
const FaceFiles kDejaVuMono{"DejaVuSansMono.ttf", "DejaVuSansMono-Bold.ttf", "DejaVuSansMono-Oblique.ttf",
                            "DejaVuSansMono-BoldOblique.ttf"};
const FaceFiles kLiberationSans{"LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf",
                                "LiberationSans-Italic.ttf", "LiberationSans-BoldItalic.ttf"};
const FaceFiles kLiberationSerif{"LiberationSerif-Regular.ttf", "LiberationSerif-Bold.ttf",
                                 "LiberationSerif-Italic.ttf", "LiberationSerif-BoldItalic.ttf"};
const FaceFiles kLiberationMono{"LiberationMono-Regular.ttf", "LiberationMono-Bold.ttf",
                                "LiberationMono-Italic.ttf", "LiberationMono-BoldItalic.ttf"};

struct FaceEntry {
    std::string name;
    std::vector<FaceFiles> families; // tried in order
};

// The one table from the face names the data uses to the fonts installed on the host. The
// first entry is also what unknown names get.
const std::vector<FaceEntry>& BuiltInFaces()
{
    static const std::vector<FaceEntry> faces = {
        {"MS Sans Serif", {kDejaVuSans, kLiberationSans}},
        {"Arial", {kLiberationSans, kDejaVuSans}},
        {"Times New Roman", {kLiberationSerif, kDejaVuSerif}},
        {"Courier New", {kLiberationMono, kDejaVuMono}},
    };
    return faces;
}

std::vector<std::filesystem::path> DefaultFolders()
{
    return {"/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/truetype/liberation2",
            "/usr/share/fonts/truetype/liberation"};
}

struct FontState {
    std::vector<std::filesystem::path> folders = DefaultFolders();
    std::vector<FaceEntry> added;
    std::array<FontHandle, 4> stock{};
};

FontState& State()
{
    static FontState state;
    return state;
}

// FreeType's library, shared by every face made from it so that it outlives them.
struct Library {
    FT_Library ft = nullptr;
    ~Library()
    {
        if (ft)
            FT_Done_FreeType(ft);
    }
};

std::shared_ptr<Library> SharedLibrary(std::string& error)
{
    static std::shared_ptr<Library> library;
    if (!library) {
        auto made = std::make_shared<Library>();
        if (const FT_Error e = FT_Init_FreeType(&made->ft)) {
            made->ft = nullptr;
            error = "FreeType could not start (error " + std::to_string(e) + ")";
            return nullptr;
        }
        library = std::move(made);
    }
    return library;
}

const FaceEntry& FindFace(const std::string& name)
{
    for (const FaceEntry& e : State().added) {
        if (NamesEqualNoCase(e.name, name))
            return e;
    }
    for (const FaceEntry& e : BuiltInFaces()) {
        if (NamesEqualNoCase(e.name, name))
            return e;
    }
    return BuiltInFaces().front();
}

std::optional<std::filesystem::path> FindFile(const std::string& name)
{
    if (name.empty())
        return std::nullopt;
    std::error_code ec;
    const std::filesystem::path given(name);
    if (given.has_parent_path())
        return std::filesystem::is_regular_file(given, ec) ? std::optional(given) : std::nullopt;
    for (const std::filesystem::path& folder : State().folders) {
        const std::filesystem::path p = folder / given;
        if (std::filesystem::is_regular_file(p, ec))
            return p;
    }
    return std::nullopt;
}

struct Choice {
    std::filesystem::path file;
    bool emboldened = false; // the style's own file is missing: FreeType makes it
    bool slanted = false;
};

std::optional<Choice> ChooseFile(const FaceEntry& face, bool bold, bool italic, std::string& looked)
{
    for (const FaceFiles& files : face.families) {
        const std::string& styled = bold && italic ? files.boldItalic
                                    : bold         ? files.bold
                                    : italic       ? files.italic
                                                   : files.regular;
        if (auto p = FindFile(styled))
            return Choice{*p, false, false};
        if (auto p = FindFile(files.regular))
            return Choice{*p, bold, italic};
        looked += (looked.empty() ? "" : ", ") + files.regular;
    }
    return std::nullopt;
}

int32_t Scale(int64_t units, int64_t pixels, int64_t unitsPerEm)
{
    return static_cast<int32_t>(
        std::lround(static_cast<double>(units) * pixels / static_cast<double>(unitsPerEm)));
}

// Sizes a scalable face and works out the font's metrics.
bool SizeScalable(FT_Face face, const FontSpec& spec, FontMetrics& m)
{
    const int64_t upem = face->units_per_EM > 0 ? face->units_per_EM : 2048;
    int64_t ascUnits = face->ascender;
    int64_t descUnits = -static_cast<int64_t>(face->descender);
    int64_t avgUnits = 0;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        ascUnits = os2->usWinAscent;
        descUnits = os2->usWinDescent;
        avgUnits = os2->xAvgCharWidth;
    }
    const int64_t cellUnits = std::max<int64_t>(ascUnits + descUnits, 1);

    // The cell height asked for (positive) or the character height (negative) gives the em.
    const int32_t cell = spec.height == 0 ? kDefaultCellHeight : spec.height;
    int32_t em = 0;
    if (cell < 0) {
        em = std::min(-static_cast<int64_t>(cell), int64_t{kMaxPixelSize});
        m.ascent = Scale(ascUnits, em, upem);
        m.descent = Scale(descUnits, em, upem);
    } else {
        const int32_t h = std::min(cell, kMaxPixelSize);
        em = std::max(1, Scale(upem, h, cellUnits));
        m.ascent = Scale(ascUnits, h, cellUnits);
        m.descent = h - m.ascent;
    }
    m.height = m.ascent + m.descent;
    m.internalLeading = std::max(0, m.height - em);
    if (const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA))) {
        const int64_t gap = hhea->Line_Gap - (cellUnits - (hhea->Ascender - hhea->Descender));
        m.externalLeading = std::max(0, Scale(gap, em, upem));
    }

    // A given average width stretches or narrows the face.
    int32_t emX = em;
    const int32_t naturalAverage = avgUnits > 0 ? Scale(avgUnits, em, upem) : 0;
    if (spec.width > 0 && naturalAverage > 0) {
        emX = std::clamp(
            static_cast<int32_t>(std::lround(static_cast<double>(em) * spec.width / naturalAverage)), 1,
            4 * em);
        m.averageCharWidth = spec.width;
    } else {
        m.averageCharWidth = naturalAverage;
    }
    m.maxCharWidth = Scale(face->max_advance_width, emX, upem);
    m.underlineThickness = std::max(1, Scale(face->underline_thickness, em, upem));
    const double centre = -static_cast<double>(face->underline_position) * em / static_cast<double>(upem);
    m.underlineOffset = std::max(0, static_cast<int32_t>(std::lround(centre - m.underlineThickness / 2.0)));
    if (m.underlineOffset + m.underlineThickness > m.descent)
        m.underlineOffset = std::max(0, m.descent - m.underlineThickness);
    return FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(emX), static_cast<FT_UInt>(em)) == 0;
}

// Picks the strike of a bitmap face nearest the height asked for.
bool SizeBitmap(FT_Face face, const FontSpec& spec, FontMetrics& m)
{
    if (face->num_fixed_sizes <= 0)
        return false;
    const int32_t want = spec.height == 0 ? kDefaultCellHeight : std::abs(spec.height);
    int best = 0;
    for (int i = 1; i < face->num_fixed_sizes; ++i) {
        if (std::abs(face->available_sizes[i].height - want) <
            std::abs(face->available_sizes[best].height - want))
            best = i;
    }
    if (FT_Select_Size(face, best) != 0)
        return false;
    const FT_Size_Metrics& sm = face->size->metrics;
    m.ascent = static_cast<int32_t>((sm.ascender + 32) >> 6);
    m.descent = static_cast<int32_t>((-sm.descender + 32) >> 6);
    m.height = m.ascent + m.descent;
    m.internalLeading = std::max(0, m.height - static_cast<int32_t>(sm.y_ppem));
    m.maxCharWidth = static_cast<int32_t>((sm.max_advance + 32) >> 6);
    m.underlineThickness = 1;
    m.underlineOffset = std::min(1, std::max(0, m.descent - 1));
    return true;
}

} // namespace

struct Font::Impl {
    std::shared_ptr<Library> library;
    FT_Face face = nullptr;
    bool embolden = false;
    bool slant = false;
    ~Impl()
    {
        if (face)
            FT_Done_Face(face);
    }
};

Font::~Font() = default;

FontHandle CreateFont(const FontSpec& spec, std::string* error)
{
    std::string reason;
    const auto fail = [&](const std::string& text) -> FontHandle {
        if (error)
            *error = "Cannot make the font \"" + spec.face + "\": " + text;
        return nullptr;
    };
    std::shared_ptr<Library> library = SharedLibrary(reason);
    if (!library)
        return fail(reason);
    const FaceEntry& entry = FindFace(spec.face);
    std::string looked;
    const std::optional<Choice> choice = ChooseFile(entry, spec.weight >= 600, spec.italic, looked);
    if (!choice) {
        std::string folders;
        for (const auto& f : State().folders)
            folders += (folders.empty() ? "" : ", ") + f.string();
        return fail("no font file found (looked for " + looked + " in " + folders + ")");
    }

    std::shared_ptr<Font> font(new Font());
    font->spec_ = spec;
    font->file_ = choice->file;
    font->impl_ = std::make_unique<Font::Impl>();
    font->impl_->library = library;
    font->impl_->embolden = choice->emboldened;
    font->impl_->slant = choice->slanted;
    if (const FT_Error e = FT_New_Face(library->ft, choice->file.c_str(), 0, &font->impl_->face)) {
        font->impl_->face = nullptr;
        return fail("cannot read " + choice->file.string() + " (FreeType error " + std::to_string(e) + ")");
    }
    FT_Face face = font->impl_->face;
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    FontMetrics& m = font->metrics_;
    const bool sized = FT_IS_SCALABLE(face) ? SizeScalable(face, spec, m) : SizeBitmap(face, spec, m);
    if (!sized)
        return fail("cannot size " + choice->file.string());
    m.charset = spec.charset;
    if (m.averageCharWidth <= 0)
        m.averageCharWidth = font->GlyphOf('x').advance;
    return font;
}

const Glyph& Font::GlyphOf(uint8_t ch) const
{
    std::optional<Glyph>& cached = glyphs_[ch];
    if (cached)
        return *cached;
    cached.emplace();
    Glyph& g = *cached;
    FT_Face face = impl_->face;
    const FT_Int32 flags = FT_LOAD_TARGET_MONO;
    if (FT_Load_Char(face, UnicodeOf(ch), flags) != 0 && FT_Load_Glyph(face, 0, flags) != 0)
        return g;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (impl_->slant)
            FT_GlyphSlot_Oblique(slot);
        if (impl_->embolden)
            FT_GlyphSlot_Embolden(slot);
    }
    g.advance = static_cast<int32_t>((slot->advance.x + 32) >> 6);
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0)
        return g;
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.pixel_mode != FT_PIXEL_MODE_MONO && bm.pixel_mode != FT_PIXEL_MODE_GRAY)
        return g;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int32_t>(bm.width);
    g.height = static_cast<int32_t>(bm.rows);
    g.bits.assign(static_cast<size_t>(g.width) * static_cast<size_t>(g.height), 0);
    for (int32_t y = 0; y < g.height; ++y) {
        const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
        for (int32_t x = 0; x < g.width; ++x) {
            const bool ink =
                bm.pixel_mode == FT_PIXEL_MODE_MONO ? (row[x >> 3] & (0x80 >> (x & 7))) != 0 : row[x] >= 128;
            g.bits[static_cast<size_t>(y * g.width + x)] = ink ? 1 : 0;
        }
    }
    return g;
}

int32_t Font::TextWidth(std::string_view text) const
{
    int64_t width = 0;
    for (const char c : text)
        width += GlyphOf(static_cast<uint8_t>(c)).advance;
    return static_cast<int32_t>(std::min<int64_t>(width, INT32_MAX));
}

FontSpec StockFontSpec(StockFont which)
{
    switch (which) {
    case StockFont::System: return {"MS Sans Serif", 16, 0, 700};
    case StockFont::SystemFixed: return {"Courier New", 16, 0, 400};
    case StockFont::AnsiFixed: return {"Courier New", 13, 0, 400};
    case StockFont::OemFixed: return {"Courier New", 12, 0, 400, false, false, kOemCharset};
    }
    return {};
}

FontHandle GetStockFont(StockFont which, std::string* error)
{
    FontHandle& slot = State().stock[static_cast<size_t>(which)];
    if (!slot)
        slot = CreateFont(StockFontSpec(which), error);
    return slot;
}

void SetFontFolders(std::vector<std::filesystem::path> folders)
{
    State().folders = std::move(folders);
    State().stock = {};
}

const std::vector<std::filesystem::path>& GetFontFolders() { return State().folders; }

void AddFontFace(const std::string& name, const FaceFiles& files)
{
    std::vector<FaceEntry>& added = State().added;
    std::erase_if(added, [&](const FaceEntry& e) { return NamesEqualNoCase(e.name, name); });
    added.push_back({name, {files}});
}

void ResetFonts() { State() = FontState{}; }

} // namespace plat
