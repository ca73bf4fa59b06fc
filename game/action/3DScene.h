#pragma once
// C3DScene: the river world the raft goes down. The river is a grid of 16-unit cells described
// by two 8-bit pictures: a legend-coded map (each byte says what its cell is; rows 0 and 1 hold
// the legend itself, 3DSceneLegend.cpp) and a height picture. The scene builds a height grid
// from them (3DSceneTerrain.cpp), keeps the view's camera, the raft's eye, on the water, and
// draws each frame (3DSceneDraw.cpp): the sky or a panorama above the horizon, the ground
// colour below it, flat tiles for far cells, a finer mesh for near ones, scenery sprites and
// the raft figure. Each tick the owning module calls Step (3DSceneStep.cpp): steering by the
// mouse over the view, the current of the cell under the raft, collisions with rocks, banks
// and obstacles (3DSceneMove.cpp) and the run's status. HandleKey (3DSceneKeys.cpp) takes the
// arrow and tuning keys.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/framework/Rect.h"
#include "game/action/3DModel.h"
#include "game/action/3DSceneLegend.h"
#include "game/travel/BmpStrip.h"

class CAnimFrame;
class CDibSect;
class CImgSet;
class CMessage;
class CRecReader;
class CSceneProp;
class CSceneSeqWnd;
class CStopwatch;
class C3DView;

class C3DScene {
public:
    // Status of the run.
    static constexpr int16_t kRunning = 0;
    static constexpr int16_t kFailed = 1;
    static constexpr int16_t kEndReached = 3;
    static constexpr int16_t kHardHit = 4;
    static constexpr int16_t kWornOut = 5;

    static constexpr int32_t kSetUpRecord = 7998;
    static constexpr int32_t kCellSize = 16;
    static constexpr int16_t kWindowRows = 11;
    static constexpr uint8_t kDefaultSky = 0x2f;
    static constexpr uint8_t kDefaultGround = 0x22;
    static constexpr int16_t kDefaultDetail = 3;
    static constexpr int16_t kMaxDetail = 4;
    static constexpr int16_t kFocal = 1435;
    static constexpr double kCameraHeight = 10;
    static constexpr double kForwardMax = 8.2;
    static constexpr double kReverseMin = -8.0;
    static constexpr double kSidewaysMax = 4.1;
    static constexpr int16_t kTurnWindow = 44;
    static constexpr int16_t kZoneCount = 9;
    static constexpr int16_t kNoZone = -1;
    // Collision states.
    static constexpr int16_t kCollideReady = 1;
    static constexpr int16_t kJustCollided = 5;

    // Links are not owned. The view is laid out over the bitmap and the rectangle when both
    // are given. The three ids name records ("STR") whose entry n is river n's map, height
    // picture and river settings record.
    C3DScene(const CRect& viewRect, CDibSect* bitmap, C3DView* view, CAnimFrame* frame, int32_t mapIds,
             int32_t heightIds, int32_t sceneryIds);
    ~C3DScene();
    C3DScene(const C3DScene&) = delete;
    C3DScene& operator=(const C3DScene&) = delete;

    // --- Set-up and lifetime (3DScene.cpp) ---
    // River riverIndex's map, legend and settings; with deferred the legend objects wait for
    // Resume.
    void SetUp(int16_t riverIndex, bool deferred);
    void Suspend();
    void Resume();
    bool IsSuspended() const { return suspended_; }
    void SetSteeringMode(int16_t mode) { steeringMode_ = mode; }
    void SetOverlayImage(int32_t id) { overlayImageId_ = id; }

    // --- Terrain (3DSceneTerrain.cpp) ---
    void BuildTerrain();
    bool IsTerrainBuilt() const { return terrainBuilt_; }
    // The map byte of a cell; 0 outside the map (and for a map that is not loaded).
    uint8_t CellValue(int32_t column, int32_t row) const;
    // The height grid's value; 0 outside it.
    double HeightAt(int32_t column, int32_t row) const;
    // The largest height in columns c-2..c+1 and rows r-2..r+1; the water level below 1e-6.
    double GroundHeightNear(int32_t column, int32_t row) const;
    static int32_t ColumnOf(double x);
    static int32_t RowOf(double z);
    void SetDetailLevel(int16_t level);
    int16_t GetDetailLevel() const { return detail_; }
    bool IsSimpleGround() const { return simpleGround_; }
    int16_t GetWaterLevel() const { return waterLevel_; }
    double GetGroundHeight() const { return groundHeight_; }
    int32_t GetMapWidth() const { return mapWidth_; }
    int32_t GetMapHeight() const { return mapHeight_; }

    // --- Drawing (3DSceneDraw.cpp) ---
    void Draw();
    // Puts legend value's object standing on the cell on the draw list (base < 0: the cell's
    // own height).
    void PutCellObject(uint8_t value, int32_t column, int32_t row, double base);
    int16_t GetHorizonRow() const { return horizonRow_; }

    // --- The step (3DSceneStep.cpp, 3DSceneMove.cpp, 3DSceneKeys.cpp) ---
    int16_t Step();
    bool HandleKey(const CMessage& message);
    void LayoutZones();
    void SteerZones(int16_t zone);
    void SteerTurnOnly();
    void SetTurningWindow(int16_t heading);
    bool TryMove(const C3DPoint& target, const C3DPoint& probe);
    bool Collide(uint8_t value, double impact, int32_t column, int32_t row);
    void Drift();

    // --- What the owning module and the tests read and set ---
    int16_t GetStatus() const { return status_; }
    void SetStatus(int16_t status) { status_ = status; }
    double GetDamage() const { return damage_; }
    double GetDistance() const { return distance_; }
    uint8_t GetHitValue() const { return hitValue_; }
    // The legend entry of the hit value.
    const C3DSceneLegend& GetHitZone() const { return legend_[hitValue_]; }
    const C3DSceneLegend& GetLegend(uint8_t value) const { return legend_[value]; }
    C3DSceneLegend& GetLegend(uint8_t value) { return legend_[value]; }
    CSceneProp* GetCourseProps() const { return props_.get(); }
    CBmpStrip& GetZoneMap() { return map_; }
    void SetCollisionValue(uint8_t value) { collisionValue_ = value; }
    // Where the mouse is, in the window's coordinates; Step reads it from the frame's window
    // when the frame has one.
    void SetMousePoint(const CPoint& point) { mouse_ = point; }
    const CRect& GetZone(int16_t zone) const { return zones_[static_cast<size_t>(zone)]; }
    void RequestZone(int16_t zone) { requestedZone_ = zone; }
    double GetForwardSpeed() const { return forward_; }
    double GetSidewaysSpeed() const { return sideways_; }
    void SetSpeeds(double forward, double sideways)
    {
        forward_ = forward;
        sideways_ = sideways;
    }
    int16_t GetHeading() const { return heading_; }
    bool IsHeadingAllowed(int16_t heading) const { return turning_[static_cast<size_t>(heading)] != 0; }
    int16_t GetCollisionState() const { return collisionState_; }
    void SetCollisionState(int16_t state) { collisionState_ = state; }
    double GetBob() const { return bob_; }
    bool IsHeld() const { return held_; }
    bool IsBounced() const { return bounced_; }
    bool AreKeysEnabled() const { return keysEnabled_; }
    bool IsWireframe() const { return wireframe_; }
    double GetSceneryFactor() const { return sceneryFactor_; }
    uint8_t GetSkyColour() const { return sky_; }
    uint8_t GetGroundColour() const { return ground_; }
    int32_t GetLastCursor() const { return lastCursor_; }
    CSceneSeqWnd* GetRaftFigure() const { return raft_.get(); }
    const C3DPoint& GetLastValid() const { return lastValid_; }
    const double* GetDrift() const { return drift_; }
    C3DView* GetView() const { return view_; }
    const CRect& GetViewRect() const { return viewRect_; }
    uint32_t GetDrawTime() const { return drawTime_; }

private:
    // 3DScene.cpp
    void Release();
    void FreeLoaded();
    void MakeRaftFigure();
    void StartSound();
    // 3DSceneLegend.cpp
    void BuildLegend(const uint8_t* values, const uint8_t* colours);
    void MakeLegendObjects();
    void SetOverlay(bool on);
    void ShowOverlay(CImgSet* images);
    int32_t SceneryListNumber(int16_t entry) const;
    // 3DSceneTerrain.cpp
    void FetchWindow(int32_t firstRow);
    void PlaceCameraAtStart();
    // 3DSceneDraw.cpp
    void DrawSkyAndGround();
    void ComputeCellWindows();
    void DrawFarCells();
    void DrawNearCells();
    uint8_t CellColour(uint8_t value) const;
    bool InNearWindow(int32_t column, int32_t row) const;
    void CornerHeights(int32_t column, int32_t row, bool flat, double out[4]) const;
    void PlaceTile(int32_t column, int32_t row, uint8_t colour, bool flat);
    void PlaceMesh(int32_t column, int32_t row, uint8_t colour);
    // 3DSceneStep.cpp
    void ApplyTurn(int16_t delta);
    void SetCursorEntry(int16_t entry);
    void MoveAlong(int16_t angle, double speed);
    void ReadMouse();
    int16_t ZoneAtMouse() const;
    void TrackGround();
    // 3DSceneKeys.cpp
    bool HandleSteeringKey(int32_t key);
    bool HandleViewKey(int32_t key);
    bool HandleColourKey(int32_t key);
    uint8_t SettingsGround() const;
    void ReloadSettings();
    // 3DSceneMove.cpp
    void MoveTo(const C3DPoint& target);
    uint8_t RockTest(int32_t column, int32_t row) const;

    // Links.
    CRect viewRect_;
    CDibSect* bitmap_;
    C3DView* view_;
    CAnimFrame* frame_;
    // Resources.
    int32_t mapIds_;
    int32_t heightIds_;
    int32_t sceneryIds_;
    std::unique_ptr<CRecReader> setUp_;
    std::unique_ptr<CRecReader> cursors_;
    std::unique_ptr<CRecReader> entry0_;
    std::unique_ptr<CRecReader> mapIdList_;
    std::unique_ptr<CRecReader> heightIdList_;
    std::unique_ptr<CRecReader> sceneryIdList_;
    std::unique_ptr<CRecReader> sceneryList_;
    std::unique_ptr<CSceneProp> props_;
    int32_t mapId_ = -1;
    int32_t heightId_ = -1;
    // Map.
    CBmpStrip map_;
    int32_t mapWidth_ = 0;
    int32_t mapHeight_ = 0;
    std::array<uint8_t*, kWindowRows> window_{};
    int32_t cameraColumn_ = 0;
    int32_t cameraRow_ = 0;
    int32_t lastWindowRow_ = -1;
    // Heights.
    std::vector<std::vector<double>> heights_;
    int16_t waterLevel_ = 0;
    double groundHeight_ = 0;
    // Legend.
    std::array<C3DSceneLegend, 256> legend_;
    // Models.
    std::unique_ptr<C3DModel> tile_;
    std::unique_ptr<C3DModel> probe_;
    std::unique_ptr<C3DModel> marker_;
    std::unique_ptr<C3DModel> mesh_;
    // Drawing state.
    uint8_t sky_ = kDefaultSky;
    uint8_t ground_ = kDefaultGround;
    int16_t horizonRow_ = 0;
    std::unique_ptr<CImgSet> panorama_;
    bool usePanorama_ = false;
    bool panoramaTiled_ = false;
    int32_t overlayImageId_ = 0;
    std::unique_ptr<CImgSet> overlay_;
    bool overlayOn_ = false;
    std::unique_ptr<CImgSet> raftImage_;
    std::unique_ptr<CSceneSeqWnd> raft_;
    CRect farCells_;  // columns left..right, rows top..bottom
    CRect nearCells_; // likewise
    bool wireframe_ = false;
    int16_t detail_ = kDefaultDetail;
    bool simpleGround_ = false;
    // Timing.
    std::unique_ptr<CStopwatch> stopwatch_;
    uint32_t lastDrawEnd_ = 0;
    uint32_t drawTime_ = 0;
    // The run.
    int16_t status_ = kRunning;
    bool suspended_ = false;
    bool terrainBuilt_ = false;
    bool active_ = true;
    bool keysEnabled_ = true;
    int16_t steeringMode_ = 0;
    int16_t requestedZone_ = kNoZone;
    CPoint mouse_{-1, -1};
    std::array<CRect, kZoneCount> zones_{};
    bool wideForward_ = false;
    double forward_ = 0;
    double sideways_ = 0;
    double forwardMax_ = kForwardMax;
    double reverseMin_ = kReverseMin;
    double sidewaysMax_ = kSidewaysMax;
    double drift_[3] = {0, 0, 0};
    int16_t heading_ = 0;
    std::array<uint8_t, 360> turning_{};
    C3DPoint lastValid_;
    bool held_ = false;
    bool bounced_ = false;
    int16_t collisionState_ = 0;
    double damage_ = 0;
    uint8_t hitValue_ = 0;
    uint8_t collisionValue_ = 0;
    double bob_ = 0;
    double distance_ = 0;
    bool inner_ = false;
    double sceneryFactor_ = 0.2;
    int32_t lastKey_ = 0;
    int32_t lastCursor_ = -1;
};
