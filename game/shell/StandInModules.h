#pragma once
// The modules whose screens are not built yet, each on its type's base and rectangle: the
// guidebook keeps the three values it was made with, the landmark ignores its commands, and
// every other type is an empty module.
#include <cstdint>

#include "game/shell/Module.h"

class CMessage;

// Type 4.
class CGuidebook : public CFrameModule {
public:
    CGuidebook(const CRect& rect, int16_t first, int16_t section, int16_t topic)
        : CFrameModule(rect), first_(first), section_(section), topic_(topic)
    {
    }
    int16_t GetFirst() const { return first_; }
    int16_t GetSection() const { return section_; }
    int16_t GetTopic() const { return topic_; }

private:
    int16_t first_;
    int16_t section_;
    int16_t topic_;
};

// Type 9.
class CLandmark : public CFrameModule {
public:
    explicit CLandmark(const CRect& rect) : CFrameModule(rect) {}
    void ShowSuppliesList(CMessage&) {}
    void OnChoiceListChange(CMessage&) {}
    void ShowStockList(CMessage&) {}
};

// Types 2 and 3.
class CPlainFrameModule : public CFrameModule {
public:
    explicit CPlainFrameModule(const CRect& rect) : CFrameModule(rect) {}
};

// Types 6, 7 and 8.
class CPlainAnimModule : public CAnimModule {
public:
    explicit CPlainAnimModule(const CRect& rect) : CAnimModule(rect) {}
};
