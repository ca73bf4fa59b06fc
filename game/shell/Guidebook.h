#pragma once
// CGuidebook: module type 4, the guidebook. A book built from the content of record "GBK" 1:
// a tab per section along the page, a section icon, and per section either contents screens
// listing the pages, two-page spreads of text with pictures, the journey's diary in an editor,
// an index, or a single text. The tabs, the previous and next buttons and the contents and
// index entries turn its pages; it saves nothing in the saved game.
//
// The diary is the open game's, taken when the guidebook is made. Leaving the diary page (by
// any navigation, a suspend or closing the book) writes the edited text back; with no game
// open the page shows an empty editor that writes nothing back.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "game/base/Module.h"
#include "game/shell/GuidebookContent.h"
#include "game/shell/GuidebookNav.h"

class CDiary;
class CEditCtl;
class CImageWnd;
class CImgRadioWnd;
class CImgSet;
class CScrollList;
class CStr;
class CTextFrame;
class CTplRec;

class CGuidebook : public CFrameModule {
public:
    // At most this many sections get a tab; later sections are reached by the buttons.
    static constexpr size_t kTabSlots = 11;
    static constexpr int32_t kTabGroup = 99;
    // Messages: the buttons and tabs (-13), a contents or index entry (314).
    static constexpr int32_t kMsgButton = -13;
    static constexpr int32_t kMsgEntry = 314;
    // The controls of the screen template.
    enum : int32_t {
        kPrevious = 8001,
        kNext = 8002,
        kSingleText = 8003,
        kLeftHeading = 8004,
        kRightHeading = 8005,
        kLeftText = 8006,
        kRightText = 8007,
        kVoice = 8008,
        kMovie = 8009,
        kSound = 8010,
        kColumn1 = 8020,
        kColumn2 = 8030,
    };
    // The texts of a right page the section does not have.
    static constexpr int32_t kNoPageStrings = 8998;
    static constexpr int32_t kTabSound = 50000;
    static constexpr int32_t kEntrySound = 50001;
    static constexpr int16_t kMoreFont = 7;
    // Where the diary editor lies.
    static constexpr int16_t kDiaryTop = 30, kDiaryLeft = 330, kDiaryBottom = 380, kDiaryRight = 600;

    // variant 1 opens at the first section's page 0, else at section index `section`, page
    // `page` (the factory's choice).
    CGuidebook(const CRect& rect, int16_t variant, int16_t section, int16_t page);
    ~CGuidebook() override;

    // Builds the screen: background, tabs, the screen template's controls, the "more" notice,
    // then the first page.
    void OnAttach() override;
    // Just before the manager destroys the module: the diary editor's text goes back at once.
    void Hide() override;
    // Leaves the page (writing the diary back) and removes the controls, which Resume builds
    // again.
    void Suspend() override;
    // Builds the screen again and shows the page it was on.
    void Resume() override;
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    void DrawContent(CDrawEnv* env, const CRect& clip) override;

    // Shows the section with that id (the first section for an unknown id) at the page.
    void ShowSection(int32_t id, int32_t page);
    // Writes an open diary editor back, then removes the page's elements and the controls.
    void TearDown();

    int16_t GetVariant() const { return variant_; }
    int16_t GetStartSection() const { return startSection_; }
    int16_t GetStartPage() const { return startPage_; }
    int16_t GetCurSection() const { return curSection_; }
    int16_t GetCurPage() const { return curPage_; }
    const GbkContent& GetContent() const { return content_; }
    CImgRadioWnd* GetTab(size_t slot) const { return slot < kTabSlots ? tabs_[slot] : nullptr; }
    CEditCtl* GetEditor() const { return editor_; }
    CScrollList* GetMoreNotice() const { return more_; }
    CImageWnd* GetLeftPicture() const { return leftPicture_; }
    CImageWnd* GetRightPicture() const { return rightPicture_; }
    CImageWnd* GetIcon() const { return icon_; }
    CFrame* GetColumn(int index) const { return index == 0 ? column1_ : column2_; }

private:
    struct Controls {
        CFrame* previous = nullptr;
        CFrame* next = nullptr;
        CTextFrame* singleText = nullptr;
        CTextFrame* leftHeading = nullptr;
        CTextFrame* rightHeading = nullptr;
        CTextFrame* leftText = nullptr;
        CTextFrame* rightText = nullptr;
        CFrame* voice = nullptr;
        CFrame* movie = nullptr;
        CFrame* sound = nullptr;
    };

    const GbkSection* CurrentSection() const;
    // The diary of the game the guidebook was opened over, while that game is still open.
    CDiary* OpenGameDiary() const;
    // An index section's contents screens, from the items of its contents string record.
    void CountIndexScreens(GbkSection& section) const;
    void MakeTabs();
    void FindControls();
    void MakeMoreNotice();
    // Removes the page's elements and blanks its texts.
    void ClearPage();
    void ShowContentsScreen(const GbkSection& section, size_t index, int32_t page);
    void ShowIndexScreen(GbkSection& section, const CTplRec* contents, int32_t page);
    void ShowSpread(const GbkSection& section, int32_t page);
    void ShowSingleText(const GbkSection& section);
    void MakeColumns(const GbkSection& section);
    // Adds entry `row` of a contents or index screen, sending 314 with the section id and page.
    void AddEntry(const GbkSection& section, int32_t row, std::unique_ptr<CStr> label, int32_t sectionId,
                  int32_t page);
    void ShowIcon(const GbkSection& section);
    // The page's first picture centred over the text area, its bottom a little above the area's.
    CImageWnd* ShowPicture(const GbkPage& page, CFrame* textArea);
    void CheckTab(size_t slot);
    void OpenDiaryEditor();
    // The editor's text becomes the diary's (with the game still open).
    void WriteDiaryBack();
    // Writes the text back and removes the editor.
    void CloseDiaryEditor();
    // Previous or next: shows the place (nothing when there is none) with the button sound.
    void Turn(std::optional<GbkPlace> place, bool backwards);
    // The voice or sound of the spread's left page.
    void PlayPageSound(bool voice);

    GbkContent content_;
    int16_t variant_;
    int16_t startSection_;
    int16_t startPage_;
    int16_t curPage_ = 0;
    int16_t curSection_ = 0;
    CQM3Doc* doc_;
    std::unique_ptr<CImgSet> background_;
    std::unique_ptr<CTplRec> masterStrings_;
    std::unique_ptr<CTplRec> moreStrings_;
    Controls controls_;
    CScrollList* more_ = nullptr;
    std::array<CImgRadioWnd*, kTabSlots> tabs_{};
    CImageWnd* leftPicture_ = nullptr;
    CImageWnd* rightPicture_ = nullptr;
    CImageWnd* icon_ = nullptr;
    CFrame* column1_ = nullptr;
    CFrame* column2_ = nullptr;
    CEditCtl* editor_ = nullptr;
    bool editorOpen_ = false;
};
