#include <gtest/gtest.h>

#include "engine/controls/native/Button.h"
#include "engine/controls/native/EditField.h"
#include "engine/graphics/DrawEnv.h"
#include "platform/Input.h"
#include "platform/widgets/Widgets.h"
#include "tests/engine/controls/native/NativeKit.h"

namespace {

using namespace ntest;

class EditFieldTest : public NativeTest {
protected:
    void SetUp() override
    {
        NativeTest::SetUp();
        plat::ResetClipboard();
        appl.onMessage = [this](CMessage& m) {
            if (m.GetId() != CEditTarget::kMsgEditTarget)
                return;
            const auto* text = reinterpret_cast<const CStr*>(m.GetParam(3));
            told.push_back(m.GetParam(2) == 0 ? "none" : text ? text->GetText() : "");
        };
    }
    // A focused single-line field (or multi-line) of the window, undoable unless told.
    CEditField* Field(const char* text, bool multiline = false, bool undoable = true)
    {
        auto* field = Add(new CEditField(5, CRect(10, 10, 70, 210), 30, target, std::make_unique<CStr>(text),
                                         0, 0xFFFFFFFF, true, 40, 0));
        field->SetMultiline(multiline);
        field->SetUndoable(undoable);
        // The style follows the flag when the widget is made.
        root->RemoveChild(*field);
        Add(field);
        wnd->Invalidate(nullptr);
        wtest::PumpAll();
        EXPECT_TRUE(wnd->SetFocusControl(field));
        return field;
    }
    static std::string Text(const CEditField& f) { return f.GetText()->GetText(); }
    // Sends one Edit-menu command to the field, as the window does for the menu.
    static void Menu(CEditField& f, int32_t id)
    {
        CMessage m(id, 0, 0, -1);
        EXPECT_TRUE(f.HandleMessage(m, nullptr));
    }
    std::string Undo(CEditField& f)
    {
        std::unique_ptr<CStr> text = f.Undo();
        return text ? text->GetText() : "(null)";
    }

    wtest::TestAppl appl{log};
    std::vector<std::string> told; // the Undo item's text of each -36, "none" for no target
};

TEST_F(EditFieldTest, TheTextIsHeldWithoutAWidgetAndShownSelectedInANewOne)
{
    auto* field = Field("Trail");
    EXPECT_EQ(plat::GetWidgetText(field->GetHwnd()), "Trail");
    EXPECT_EQ(plat::GetEditSelection(field->GetHwnd()), std::make_pair(0, 5));
    EXPECT_EQ(plat::GetEditLimit(field->GetHwnd()), 40);
    EXPECT_NE(plat::GetStyle(field->GetHwnd()) & plat::style::Border, 0u);

    plat::SetWidgetText(field->GetHwnd(), "Road");
    root->RemoveChild(*field);
    EXPECT_EQ(field->GetHwnd(), 0u);
    EXPECT_EQ(Text(*field), "Road") << "held when the widget goes";
    field->SetText(std::make_unique<CStr>("Ford"), false);
    Add(field);
    EXPECT_EQ(plat::GetWidgetText(field->GetHwnd()), "Ford");
    EXPECT_EQ(plat::GetEditSelection(field->GetHwnd()), std::make_pair(0, 4));
    field->SetText(std::make_unique<CStr>("River"), false);
    EXPECT_EQ(plat::GetEditSelection(field->GetHwnd()), std::make_pair(5, 5));
}

TEST_F(EditFieldTest, TypingIsOneUndoStateAndUndoSwapsBackAndForth)
{
    auto* field = Field("");
    told.clear();
    plat::TypeText("abc");
    wtest::PumpAll();
    EXPECT_EQ(Text(*field), "abc");
    EXPECT_EQ(told, (std::vector<std::string>{"Undo "})) << "one state, at the first key";
    EXPECT_EQ(GetEditTargetWord(), CEditField::kUndoTyping);

    EXPECT_EQ(Undo(*field), "Undo ");
    EXPECT_EQ(Text(*field), "");
    EXPECT_EQ(Undo(*field), "Undo ");
    EXPECT_EQ(Text(*field), "abc");
    EXPECT_EQ(plat::GetEditSelection(field->GetHwnd()), std::make_pair(3, 3)) << "as it was before the undo";

    // A mouse press ends the run: the next key records again.
    told.clear();
    plat::Click(At(30, 20));
    plat::TypeText("d");
    wtest::PumpAll();
    EXPECT_EQ(told.size(), 1u);

    // After deactivation there is nothing to undo: the application hears of no target.
    field->Deactivate();
    told.clear();
    EXPECT_EQ(Undo(*field), "Undo ");
    EXPECT_EQ(told, (std::vector<std::string>{"none"}));
}

TEST_F(EditFieldTest, EachEditMenuCommandButCopyRecordsOneState)
{
    auto* field = Field("wagon wheel");
    struct Step {
        int32_t id;
        uint16_t kind; // 0: nothing recorded
        const char* text;
    };
    const Step steps[] = {
        {-31, 0, "wagon wheel"},                          // copy (the whole text is selected)
        {-30, CEditField::kUndoCut, ""},                  // cut
        {-32, CEditField::kUndoPaste, "wagon wheel"},     // paste
        {-34, CEditField::kUndoSelectAll, "wagon wheel"}, // select all
        {-33, CEditField::kUndoClear, ""},                // clear
        {-34, 0, ""},                                     // nothing to select
    };
    for (const Step& s : steps) {
        told.clear();
        SetEditTargetWord(0);
        Menu(*field, s.id);
        EXPECT_EQ(told.size(), s.kind ? 1u : 0u) << s.id;
        EXPECT_EQ(GetEditTargetWord(), s.kind) << s.id;
        EXPECT_EQ(Text(*field), s.text) << s.id;
    }
    // Undoing the clear brings the text back, selected as it was.
    SetEditTargetWord(CEditField::kUndoClear);
    Undo(*field);
    EXPECT_EQ(Text(*field), "wagon wheel");
    EXPECT_EQ(plat::GetEditSelection(field->GetHwnd()), std::make_pair(0, 11));

    // Without the focus the commands do nothing (and fall through to the control).
    wnd->SetFocusControl(nullptr);
    CMessage cut(-30, 0, 0, -1);
    EXPECT_FALSE(field->HandleMessage(cut, nullptr));
    EXPECT_EQ(Text(*field), "wagon wheel");
}

TEST_F(EditFieldTest, AFieldWithoutUndoNeverAnnouncesItself)
{
    auto* field = Field("abc", false, false);
    told.clear();
    plat::TypeText("xy");
    wtest::PumpAll();
    Menu(*field, -34);
    Menu(*field, -30);
    Menu(*field, -32);
    EXPECT_EQ(Text(*field), "xy") << "the commands work, unrecorded";
    EXPECT_TRUE(told.empty());
    EXPECT_EQ(field->Undo(), nullptr);
}

TEST_F(EditFieldTest, TheUndoItemReadsStringList6AndAMissingEntryCountsAsEmpty)
{
    // Entries 3 and 4 prefix undo and redo; entry 5 names typing; entry 6 (cut) is missing.
    deftext::AddFolderLibrary({{"STR", 6, "\"\"\n\"\"\n\"\"\n\"Undo \"\n\"Redo \"\n\"Typing\"\n"}});
    auto* field = Field("abc");
    told.clear();
    plat::TypeText("d");
    wtest::PumpAll();
    EXPECT_EQ(Undo(*field), "Redo Typing");
    EXPECT_EQ(told, (std::vector<std::string>{"Undo Typing"}));
    Menu(*field, -34);
    Menu(*field, -30);
    EXPECT_EQ(told.back(), "Undo ");
}

TEST_F(EditFieldTest, EnterPressesTheDefaultButtonInOneLineAndBreaksTheLineInSeveral)
{
    auto* button =
        Add(new CButton(9, CRect(100, 10, 120, 110), 77, target, std::make_unique<CStr>("OK"), 0, true));
    auto* single = Field("");
    target->notes.clear();
    Key(plat::key::Enter);
    ASSERT_EQ(target->notes.size(), 1u);
    EXPECT_EQ(target->notes[0].sender, button);

    root->RemoveChild(*single);
    delete single;
    auto* multi = Field("", true);
    EXPECT_NE(plat::GetStyle(multi->GetHwnd()) & plat::wstyle::MultiLine, 0u);
    target->notes.clear();
    plat::TypeText("a");
    Key(plat::key::Enter);
    EXPECT_EQ(Text(*multi), "a\r\n");
    ASSERT_EQ(target->notes.size(), 1u);
    EXPECT_EQ(target->notes[0].sender, multi);
    EXPECT_EQ(target->notes[0].words[2], CEditField::kEnter);
}

TEST_F(EditFieldTest, FocusChangesNotifyAndTheTemplateColoursReachTheWidget)
{
    // Kind 0x25: frame values, control values, fontid, the text, textcolor, bckcolor,
    // frmcolor, maxchars, hjust, multiline, undoable, border.
    auto* field =
        Build<CEditField>("0x25, 41, 0, 0x9, 0,0,0,0, 10, 10, 30, 210, 1, 900, 90, 0, 0, 0, \"Oxen\", -1, "
                          "-1, -1, 3, 2, 0, 1, 1\n"
                          "0x25, 42, 0, 0x9, 0,0,0,0, 50, 10, 70, 210, 2, 900, 91, 0, 0, 0, \"\", 20, 30, "
                          "40, 0, 0, 0, 0, 0\n",
                          41);
    auto* other = dynamic_cast<CEditField*>(wnd->FindControlById(42));
    ASSERT_TRUE(field && other);
    EXPECT_EQ(field->GetBackColor(), 255u);
    EXPECT_EQ(field->GetTextColor(), 0u);
    EXPECT_EQ(field->GetForeColor(), 0u);
    EXPECT_EQ(plat::GetEditLimit(field->GetHwnd()), 3);
    EXPECT_NE(plat::GetStyle(field->GetHwnd()) & plat::wstyle::AlignRight, 0u);
    EXPECT_EQ(plat::GetStyle(field->GetHwnd()) & plat::wstyle::MultiLine, 0u);
    EXPECT_EQ(plat::GetStyle(other->GetHwnd()) & plat::style::Border, 0u);
    EXPECT_EQ(other->GetBackColor(), 30u);

    plat::Surface surface(4, 4);
    plat::DrawContext dc(surface);
    const auto* brush = reinterpret_cast<const plat::Brush*>(
        plat::SendWindowMessage(wnd->GetHwnd(), plat::msg::EditColor, reinterpret_cast<uintptr_t>(&dc),
                                static_cast<intptr_t>(other->GetHwnd())));
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(brush->color, CDrawEnv::ToColorRef(30));
    EXPECT_EQ(dc.GetTextColor(), CDrawEnv::ToColorRef(20));

    wnd->Invalidate(nullptr);
    wtest::PumpAll();
    ASSERT_EQ(wnd->GetFocusControl(), field);
    target->notes.clear();
    Key(plat::key::Tab);
    ASSERT_EQ(wnd->GetFocusControl(), other);
    std::vector<std::pair<const CBaseObj*, MsgWord>> got;
    for (const Note& n : target->notes)
        got.emplace_back(n.sender, n.words[2]);
    EXPECT_EQ(got, (std::vector<std::pair<const CBaseObj*, MsgWord>>{{field, 1}, {other, 0}}));
}

TEST_F(EditFieldTest, TheEditElementKeepsSeveralLinesAndItsTextUnconvertedAndUnselected)
{
    InstallTestFont();
    auto* element =
        Build<CEditCtl>("0x27, 51, 0, 0x9, 0,0,0,0, 10, 10, 60, 210, 1, 900, 92, 0, 0, 5, \"Caf\x8E\", -1, "
                        "-1, -1, 0, 1, 0, 0, 1\n",
                        51);
    ASSERT_TRUE(element);
    const uint32_t style = plat::GetStyle(element->GetHwnd());
    EXPECT_NE(style & plat::wstyle::MultiLine, 0u) << "whatever the template's flag";
    EXPECT_NE(style & plat::wstyle::AutoVScroll, 0u);
    EXPECT_EQ(style & plat::wstyle::AlignCenter, 0u);
    EXPECT_EQ(plat::GetWidgetText(element->GetHwnd()), "Caf\x8E");
    EXPECT_EQ(plat::GetEditSelection(element->GetHwnd()), std::make_pair(0, 0));
    element->SetTextSelected(std::make_unique<CStr>("Fort"));
    EXPECT_EQ(plat::GetEditSelection(element->GetHwnd()), std::make_pair(0, 4));
}

} // namespace
