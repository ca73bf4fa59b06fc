// The scroll list's layout: the text cut into runs, the runs placed on rows.
#include <algorithm>
#include <map>

#include "engine/controls/text/ScrollList.h"
#include "engine/framework/Str.h"
#include "engine/graphics/DrawEnv.h"

namespace {

constexpr char kCaret = '^';

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Lays one text out: runs are added to the items as they end, rows as they fill.
class RowBuilder {
public:
    struct Settings {
        int32_t areaWidth;
        bool wrap;
        bool markup;
        int32_t hJust;
        int16_t fontId;
        uint32_t color;
    };

    RowBuilder(CDrawEnv& env, const CStr& text, const Settings& settings, std::vector<CScrollListItem>& items,
               std::vector<int32_t>& rowTops)
        : env_(env), text_(text.GetText()), length_(text.GetLength()), settings_(settings), items_(items),
          rowTops_(rowTops), font_(settings.fontId), color_(settings.color)
    {
        tallest_ = LineHeight(font_);
        rowTops_.push_back(0);
    }

    void Run()
    {
        while (pos_ < length_) {
            const char c = text_[pos_];
            if (c == '\n')
                LineFeed();
            else if (c == kCaret && settings_.markup) {
                if (!Command())
                    break; // cut short by the end of the text
            } else
                Character();
        }
        End();
    }

private:
    // A line feed ends the run and the row; a second one right after it goes with it.
    void LineFeed()
    {
        AddRun(pos_, true);
        ++pos_;
        if (pos_ < length_ && text_[pos_] == '\n')
            ++pos_;
        runStart_ = pos_;
        NewRow();
    }

    // A caret command; false when the text ends before the command does.
    bool Command()
    {
        AddRun(pos_, false);
        const int32_t at = pos_ + 1; // the command letter
        if (at >= length_)
            return false;
        const char letter = text_[at];
        if (letter == 'c' || letter == 'f') {
            if (at + 3 >= length_)
                return false;
            if (IsDigit(text_[at + 1]) && IsDigit(text_[at + 2]) && IsDigit(text_[at + 3])) {
                const int32_t value =
                    (text_[at + 1] - '0') * 100 + (text_[at + 2] - '0') * 10 + (text_[at + 3] - '0');
                if (letter == 'c')
                    color_ = static_cast<uint32_t>(value);
                else
                    SetFont(static_cast<int16_t>(value));
                pos_ = at + 4;
            } else {
                pos_ = at + 1; // no number: the caret and the letter are dropped
            }
        } else if (letter == 'n') {
            if (at + 1 >= length_)
                return false;
            pos_ = at + 2;
            runStart_ = pos_;
            NewRow();
        } else {
            pos_ = at + 1; // an unknown command and its letter are dropped
        }
        runStart_ = pos_;
        return true;
    }

    void Character()
    {
        const char c = text_[pos_++];
        if (c == ' ' || c == '-')
            breakAt_ = pos_;
        if (settings_.wrap)
            WrapRun();
    }

    // While the run reaches the right edge: it breaks after its last space or hyphen, or
    // moves to a new row, or (alone on its row without a break) is cut before the character
    // that meets the edge. Each step ends a run or starts a row, so the loop ends.
    void WrapRun()
    {
        while (x_ + Width(runStart_, pos_ - runStart_) >= settings_.areaWidth) {
            if (breakAt_ > runStart_) {
                AddRun(breakAt_, false);
                NewRow();
            } else if (x_ > 0) {
                NewRow();
            } else if (pos_ - runStart_ > 1) {
                AddRun(pos_ - 1, false);
                NewRow();
            } else {
                return; // one character wider than the row: it stays
            }
        }
    }

    void End()
    {
        AddRun(pos_, false);
        FinishRow();
        // A text that ends with a line feed does not open an empty last row.
        const bool emptyLastRow = row_ > 0 && rowFirst_ == static_cast<int32_t>(items_.size()) &&
                                  length_ > 0 && pos_ == length_ && text_[length_ - 1] == '\n';
        if (emptyLastRow)
            return;
        rowTops_.push_back(rowTops_.back() + tallest_);
    }

    // Adds the run up to `end` (when it has characters, or always with `evenEmpty`) and
    // starts the next run after it.
    void AddRun(int32_t end, bool evenEmpty)
    {
        if (end > runStart_ || evenEmpty) {
            CScrollListItem item;
            item.x = static_cast<int16_t>(x_);
            item.lineHeight = LineHeight(font_);
            item.width = static_cast<int16_t>(Width(runStart_, end - runStart_));
            item.row = static_cast<int16_t>(row_);
            item.fontId = font_;
            item.color = color_;
            item.start = runStart_;
            item.length = static_cast<int16_t>(end - runStart_);
            items_.push_back(item);
            x_ += item.width;
        }
        runStart_ = end;
        breakAt_ = -1;
    }

    void NewRow()
    {
        FinishRow();
        rowTops_.push_back(rowTops_.back() + tallest_);
        ++row_;
        x_ = 0;
        rowFirst_ = static_cast<int32_t>(items_.size());
        tallest_ = LineHeight(font_);
        breakAt_ = -1;
    }

    // Centres the row's runs on its tallest line, then places the row by the justification.
    void FinishRow()
    {
        const auto first = items_.begin() + rowFirst_;
        for (auto it = first; it != items_.end(); ++it) {
            it->extra = static_cast<int16_t>((tallest_ - it->lineHeight) / 2);
            it->lineHeight = tallest_;
        }
        if (first == items_.end() || (settings_.hJust != kJustifyCenter && settings_.hJust != kJustifyEnd))
            return;
        int32_t room = settings_.areaWidth - x_ + ClosingSpacesWidth();
        if (settings_.hJust == kJustifyCenter)
            room /= 2;
        const int32_t shift = std::max(room, 0);
        for (auto it = first; it != items_.end(); ++it)
            it->x = static_cast<int16_t>(it->x + shift);
    }

    // The spaces the row ends with, one space width of their run's font each.
    int32_t ClosingSpacesWidth()
    {
        int32_t width = 0;
        for (auto it = items_.rbegin(); it != items_.rend() && it->row == row_; ++it) {
            int32_t n = 0;
            while (n < it->length && text_[it->start + it->length - 1 - n] == ' ')
                ++n;
            if (n > 0)
                width += n * Width(it->start + it->length - n, 1, it->fontId);
            if (n < it->length)
                break;
        }
        return width;
    }

    void SetFont(int16_t font)
    {
        font_ = font;
        tallest_ = std::max(tallest_, LineHeight(font));
    }

    int16_t LineHeight(int16_t font)
    {
        auto found = heights_.find(font);
        if (found == heights_.end()) {
            FontInfo info;
            env_.GetFontMetrics(info, font);
            found = heights_.emplace(font, info.height).first;
        }
        return found->second;
    }

    int32_t Width(int32_t start, int32_t count) { return Width(start, count, font_); }
    int32_t Width(int32_t start, int32_t count, int16_t font)
    {
        if (count <= 0)
            return 0;
        env_.SetFont(font);
        const std::string shown = env_.TranslateText(text_ + start, count);
        return env_.GetTextWidth(CStr(shown.c_str(), static_cast<int32_t>(shown.size())));
    }

    CDrawEnv& env_;
    const char* text_;
    int32_t length_;
    Settings settings_;
    std::vector<CScrollListItem>& items_;
    std::vector<int32_t>& rowTops_;
    std::map<int16_t, int16_t> heights_;

    int32_t pos_ = 0;
    int32_t runStart_ = 0;
    int32_t breakAt_ = -1;
    int32_t x_ = 0;
    int32_t row_ = 0;
    int32_t rowFirst_ = 0;
    int16_t tallest_ = 0;
    int16_t font_;
    uint32_t color_;
};

} // namespace

void CScrollList::Layout(CDrawEnv* env)
{
    if (!env)
        return;
    items_.clear();
    rowTops_.clear();
    const int16_t savedFont = env->GetFontId();
    const CRect area = TextArea();
    const CStr empty;
    const CStr* text = PeekText() ? PeekText() : &empty;
    const RowBuilder::Settings settings{area.GetWidth(), GetWrap(),   markupOn_,
                                        GetHJust(),      GetFontId(), GetTextColor()};
    RowBuilder(*env, *text, settings, items_, rowTops_).Run();
    env->SetFont(savedFont);

    totalRows_ = static_cast<int16_t>(std::max<size_t>(rowTops_.size() - 1, 1));
    fitRows_ = 0;
    while (fitRows_ < totalRows_ && rowTops_[static_cast<size_t>(fitRows_) + 1] <= area.GetHeight())
        ++fitRows_;
    fitRows_ = std::max<int16_t>(fitRows_, 1);

    const int32_t room = area.GetHeight() - GetTotalHeight();
    vOffset_ = 0;
    if (!hasScrollBar_ && !items_.empty() && room > 0 && (GetVJust() == 1 || GetVJust() == 2))
        vOffset_ = static_cast<int16_t>(GetVJust() == 1 ? room / 2 : room);
    layoutDirty_ = false;
    SetBarRange();
    ScrollTo(topRow_ < totalRows_ ? topRow_ : 0, true);
}
