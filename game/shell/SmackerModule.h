#pragma once
// CSmackerModule: module type 0, the opening screen. It shows the title screen (template list
// 4000) with its music and three commands: 420 opens a notice dialog, 421 the new-game
// dialog that sets the player's post and starting money, 422 opens a saved game. After a long
// idle wait, when disc 1 can be found, an attract movie plays over the screen; any mouse
// message or command while it plays ends it and the screen waits again. Nothing is saved.
#include <cstdint>
#include <functional>
#include <memory>

#include "game/base/Module.h"
#include "game/base/SoundSlots.h"

class CSmackerFrame;

// Makes the attract movie's video frame at the point from the "SMK" resource of the id in
// the libraries of the mask; null when it cannot be made.
using AttractMovieMaker =
    std::function<std::unique_ptr<CSmackerFrame>(const CPoint& at, int32_t movieId, uint32_t libMask)>;
// Replaces the maker (tests); an empty one puts the game's back, which gives none when the
// movie's resource is missing.
void SetAttractMovieMaker(AttractMovieMaker maker);

class CSmackerModule : public CFrameModule {
public:
    // Template lists: the screen (also the frame's id), the new-game dialog, the notice
    // dialog of command 420, and the objects shown with the attract movie.
    static constexpr int32_t kScreenList = 4000;
    static constexpr int32_t kNewGameList = 4001;
    static constexpr int32_t kNoticeList = 4010;
    static constexpr int32_t kAttractList = 4050;
    // The two objects list 4050 makes.
    static constexpr int32_t kAttractObjects[2] = {4050, 4051};
    static constexpr int32_t kMusic = 621;
    static constexpr int32_t kMovie = 210000;
    // Idle wait before the attract movie, in ticks of the game clock.
    static constexpr uint32_t kIdlePeriod = 3800;
    // Commands of the screen's buttons.
    static constexpr int32_t kCmdNotice = 420;
    static constexpr int32_t kCmdNewGame = 421;
    static constexpr int32_t kCmdOpenGame = 422;
    // Results of the dialogs: the new game's cancel and three choices, the notice's return.
    static constexpr int32_t kNewGameCancel = 425;
    static constexpr int32_t kNoticeBack = 4099;

    // Attract states.
    enum : int32_t { kStopped = 0, kMoviePlaying = 1, kIdleWait = 2 };

    explicit CSmackerModule(const CRect& rect);
    ~CSmackerModule() override;

    void OnAttach() override;
    bool OnTimer() override;
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    void Suspend() override;
    void Resume() override;

    int32_t GetAttractState() const { return attractState_; }
    int16_t GetMovieIndex() const { return movieIndex_; }
    CSmackerFrame* GetMovie() const { return movie_; }
    SoundHandle GetMusic() const { return music_; }

private:
    void BuildScreen();
    void BuildList(int32_t listId);
    void IdleTimer(bool run);
    void NextMovie(bool advance);
    // Whether disc 1 is found and switched to.
    bool DiscCheck();
    void DeleteAttractObjects();
    void StopMusic();
    void ShowNotice();
    void OpenGame();
    // True when the player cancelled.
    bool NewGameDialog();
    void ApplyChoice(int32_t choice);
    void QueueGameStart();

    SoundHandle music_;
    int32_t attractState_ = kIdleWait;
    // The playing movie, one of the frame's children; null when none.
    CSmackerFrame* movie_ = nullptr;
    static constexpr int32_t kMovieList[1] = {kMovie};
    int16_t movieIndex_ = -1;
};
