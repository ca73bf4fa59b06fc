// Preprocessing of definition text: the directives define, rdef, undef, include, ifdef, ifndef
// and endif, and enumerations. Each is executed and cut out of the text, so that what remains
// is plain value text.
#include "engine/resources/RawParser.h"

#include <algorithm>

#include "engine/framework/EngineProfile.h"
#include "engine/framework/TextChars.h"

namespace {

// Directive keywords are at most 63 characters.
constexpr size_t kMaxKeyword = 63;

} // namespace

void CRawParser::Preprocess()
{
    skipping_ = false;
    conditionals_.clear();
    includeEnds_.clear();
    splices_ = 0;
    if (text_.empty() || text_.back() != '\0')
        text_.push_back('\0');
    pos_ = 0;
    SkipBlanks();
    while (!AtTextEnd()) {
        PopFinishedIncludes(pos_);
        if (Cur() == '#') {
            if (AtLineStart()) {
                RunDirective(pos_);
            } else {
                ++pos_;
                SkipToken();
            }
        } else if (AtEnumKeyword()) {
            EnumDeclaration(pos_);
        } else {
            SkipToken();
        }
    }
    // The first zero byte ends the text; whatever an included resource held after one goes.
    text_.resize(text_.find('\0') + 1);
    WriteBack();
    lockCount_ = 0;
    pos_ = 0;
}

void CRawParser::PopFinishedIncludes(size_t at)
{
    while (!includeEnds_.empty() && includeEnds_.back() <= at)
        includeEnds_.pop_back();
}

void CRawParser::ReplaceText(size_t offset, size_t n, std::string_view with)
{
    offset = std::min(offset, text_.size());
    n = std::min(n, text_.size() - offset);
    text_.replace(offset, n, with);
    // Spliced texts that end behind the change move with it.
    for (size_t& end : includeEnds_) {
        if (end >= offset + n)
            end = end - n + with.size();
        else if (end > offset)
            end = offset;
    }
}

void CRawParser::CutFrom(size_t start)
{
    ReplaceText(start, pos_ - start, {});
    pos_ = start;
}

void CRawParser::RunDirective(size_t hash)
{
    pos_ = hash + 1;
    while (Cur() == ' ' || Cur() == '\t')
        ++pos_;
    const std::string keyword = ScanIdent(kMaxKeyword);
    if (keyword == "define" || keyword == "rdef") {
        DefineDirective(hash, keyword == "define" ? kSymDefined : kSymRedefined);
    } else if (keyword == "undef") {
        const std::string name = ReadIdent(kMaxName, false);
        symbols_->Remove(name); // also inside a skipped block
        SkipBlanks();
        CutFrom(hash);
    } else if (keyword == "include") {
        IncludeResource(hash, false);
    } else if (keyword == "ifdef" || keyword == "ifndef") {
        ConditionalDirective(hash, keyword == "ifdef");
    } else if (keyword == "endif") {
        SkipBlanks();
        EndifDirective(hash);
    } else {
        // Not a directive: the word is passed and its line stays in the text.
        pos_ = hash + 1;
        SkipToken();
    }
}

void CRawParser::DefineDirective(size_t hash, int32_t kind)
{
    if (GetEngineProfile().defineValueIsLineText) {
        DefineLineValue(ReadIdent(kMaxName, false), kind);
        SkipBlanks();
        CutFrom(hash);
        return;
    }
    const std::string name = ReadIdent(kMaxName, true);
    const size_t valueStart = pos_;
    int16_t status = 0;
    const int32_t value = ReadExpression("read define", nullptr, &status, false, false, false, false);
    if (status == 0) {
        DefineSymbol(name, value, kind, {}, {});
    } else {
        pos_ = valueStart;
        const bool quoted = Cur() == '"' || Cur() == '\'';
        const std::string text = ReadToken(kMaxName);
        if (text.empty() && !quoted)
            Fail(kErrNotAValue, "read define", valueStart, 10);
        else
            DefineSymbol(name, value, kind, {}, text);
    }
    SkipBlanks();
    CutFrom(hash);
}

void CRawParser::DefineLineValue(const std::string& name, int32_t kind)
{
    const size_t valueStart = pos_;
    int16_t status = 0;
    unknownName_.reset();
    const int32_t value = ReadExpression("read define", nullptr, &status, false, false, false, false);
    if (status == 0) {
        DefineSymbol(name, value, kind, {}, {});
        return;
    }
    // A word that names no symbol is a mistake in the file, not a text value.
    if (unknownName_ && !skipping_)
        Fail(kErrUnknownName, unknownName_->name.c_str(), unknownName_->position, 0);
    pos_ = valueStart;
    DefineSymbol(name, 0, kind, {}, ReadLineText(kMaxDefineText));
}

std::string CRawParser::ReadLineText(size_t max)
{
    auto atLineEnd = [this] {
        return AtTextEnd() || IsLineEnd(Cur()) || (Cur() == '/' && At(pos_ + 1) == '/');
    };
    if (Cur() == '"' || Cur() == '\'') {
        // A value that is one quoted text is that text, without its quotes.
        const size_t start = pos_;
        std::string quoted = ReadQuoted(max);
        SkipSpaces();
        if (atLineEnd())
            return quoted;
        pos_ = start;
    }
    std::string text;
    while (!AtTextEnd() && !IsLineEnd(Cur())) {
        if (text.size() < max)
            text += Cur();
        ++pos_;
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.pop_back();
    return text;
}

void CRawParser::ConditionalDirective(size_t hash, bool wantDefined)
{
    const std::string name = ReadIdent(kMaxName, false);
    const RawSymbol* symbol = FindSymbol(name);
    const bool defined = symbol && symbol->kind != kSymEnumMember;
    SkipBlanks();
    CutFrom(hash);
    if (static_cast<int>(conditionals_.size()) >= kMaxConditionalDepth) {
        Fail(kErrTooManyConditionals, text_.data() + pos_, pos_, 30);
        return;
    }
    const bool keep = defined == wantDefined && (conditionals_.empty() || conditionals_.back().keep);
    conditionals_.push_back({hash, keep});
    skipping_ = !keep;
}

void CRawParser::EndifDirective(size_t hash)
{
    if (conditionals_.empty()) {
        Fail(kErrEndifWithoutIf, text_.data() + pos_, pos_, 30);
        CutFrom(hash);
        return;
    }
    const Conditional block = conditionals_.back();
    conditionals_.pop_back();
    // A block that is not kept disappears with its directives.
    CutFrom(block.keep ? hash : block.start);
    skipping_ = !conditionals_.empty() && !conditionals_.back().keep;
}

bool CRawParser::AtEnumKeyword() const
{
    return text_.compare(pos_, 4, "enum") == 0 && !IsIdentChar(At(pos_ + 4)) && AtLineStart();
}

void CRawParser::EnumDeclaration(size_t start)
{
    auto syntaxError = [&] {
        Fail(kErrEnumSyntax, text_.data() + start, start, 30);
        CutFrom(start);
    };
    pos_ = start + 4;
    const std::string name = ReadIdent(kMaxName, true);
    if (Cur() != '{')
        return syntaxError();
    ++pos_;
    int32_t counter = 0;
    for (;;) {
        SkipBlanks();
        if (Cur() == '#' && AtLineStart()) {
            const size_t hash = pos_;
            ++pos_;
            while (Cur() == ' ' || Cur() == '\t')
                ++pos_;
            if (ScanIdent(kMaxKeyword) == "include") {
                IncludeResource(hash, true);
                continue;
            }
            pos_ = hash;
        }
        const std::string member = ReadIdent(kMaxName, true);
        if (Cur() == '=') {
            ++pos_;
            SkipBlanks();
            counter = ReadExpression("read enum", name.c_str(), nullptr, true, true, true, false);
            SkipBlanks();
        }
        if (Cur() == ',') {
            ++pos_;
            DefineSymbol(member, counter, kSymEnumMember, name, {});
            counter = static_cast<int32_t>(static_cast<uint32_t>(counter) + 1u);
            continue;
        }
        if (Cur() != '}')
            return syntaxError();
        ++pos_;
        DefineSymbol(member, counter, kSymEnumMember, name, {});
        SkipBlanks();
        if (Cur() != ';')
            return syntaxError();
        ++pos_;
        break;
    }
    SkipBlanks();
    CutFrom(start);
}

void CRawParser::IncludeResource(size_t directiveStart, bool /*inEnum*/)
{
    // The argument names a resource the way a folder library names its files: six digits of
    // id first, the type last ("000123.VAL").
    const std::string name = ReadToken(kMaxName);
    uint32_t id = 0;
    for (size_t i = 0; i < 6 && i < name.size(); ++i)
        id = id * 10u + static_cast<uint32_t>(static_cast<unsigned char>(name[i]) - '0');
    const std::string type = name.substr(name.size() >= 3 ? name.size() - 3 : 0);
    const int32_t resourceId = static_cast<int32_t>(id);

    if (const RawDefSet* set = CRawItemList::Get().Find(type, resourceId)) {
        // A definition set parsed at start-up: its symbols, not its text.
        CutFrom(directiveStart);
        for (int32_t i = 0; i < set->symbols.GetCount(); ++i) {
            const RawSymbol& s = set->symbols.GetAt(i);
            symbols_->AddSymbol(s.name, s.value, s.kind, s.enumName, s.text);
        }
        return;
    }
    PopFinishedIncludes(directiveStart);
    if (static_cast<int>(includeEnds_.size()) >= kMaxIncludeDepth || splices_ >= kMaxSplices) {
        Fail(kErrIncludeTooDeep, type.c_str(), directiveStart, resourceId);
        CutFrom(directiveStart);
        return;
    }
    std::string included;
    if (!LoadIncludeText(type.c_str(), resourceId, &included)) {
        Fail(kErrIncludeMissing, type.c_str(), directiveStart, resourceId);
        CutFrom(directiveStart);
        return;
    }
    // Splice the text in place of the directive; its own directives run in turn.
    while (!included.empty() && included.back() == '\0')
        included.pop_back();
    ReplaceText(directiveStart, pos_ - directiveStart, included);
    includeEnds_.push_back(directiveStart + included.size());
    ++splices_;
    // Like a whole text, the spliced one may open with comments: its first directive is read
    // after them, where it stands at a line start.
    pos_ = directiveStart;
    SkipBlanks();
}
