#pragma once
// CPlaySceneObj: the scene record of a catch place: the scene object's two lines, sound and
// level, then the background picture ("CBM"), any lines up to one reading exactly "end", and
// the deepest depth a creature may swim at. The play field gives it the place's type names
// and catch stock.
#include <cstdint>
#include <string>
#include <vector>

#include "game/travel/SceneObj.h"

class CPlaySceneObj : public CSceneObj {
public:
    explicit CPlaySceneObj(int32_t recordId);

    void Load() override;

    int32_t GetBackgroundId() const { return GetSecondNumber(); }
    // 0 when the record has no "end" line.
    int16_t GetMaxDepth() const { return maxDepth_; }
    uint16_t GetCatchStock() const { return catchStock_; }
    void SetCatchStock(uint16_t stock) { catchStock_ = stock; }
    const std::vector<std::string>& GetTypeNames() const { return typeNames_; }
    void SetTypeNames(std::vector<std::string> names) { typeNames_ = std::move(names); }

private:
    std::vector<std::string> typeNames_;
    int16_t maxDepth_ = 0;
    uint16_t catchStock_ = 0;
};
