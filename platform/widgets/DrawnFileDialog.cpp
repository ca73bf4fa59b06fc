// The drawn open and save dialogs: a name field, the folders and then the files of the chosen
// type in the current folder, the type list and the drives. A name typed and confirmed is taken
// relative to the current folder; a folder's name opens it and a name with wildcards lists
// that pattern instead.
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/Files.h"
#include "platform/widgets/DialogBox.h"
#include "platform/widgets/DrawnDialogs.h"
#include "platform/widgets/WidgetCore.h"

namespace plat {
namespace widgets {
namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 236;
constexpr int kLeft = 12;
constexpr int kColumn = 190;
constexpr int kRight = 212;

bool IsFullPath(const std::string& path)
{
    return (path.size() >= 2 && path[1] == ':') || (!path.empty() && path[0] == '\\');
}

std::string Join(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    return folder + (folder.back() == '\\' ? "" : "\\") + name;
}

// The folder above an engine folder; a drive's root stays itself.
std::string Parent(const std::string& folder)
{
    std::string f = folder;
    while (f.size() > 3 && f.back() == '\\')
        f.pop_back();
    const size_t cut = f.find_last_of('\\');
    if (cut == std::string::npos)
        return f;
    return cut <= 2 ? f.substr(0, 3) : f.substr(0, cut);
}

bool IsFolder(const std::string& enginePath)
{
    const auto host = ToHostPath(enginePath);
    std::error_code ec;
    return host && std::filesystem::is_directory(*host, ec);
}

bool IsFile(const std::string& enginePath)
{
    const auto host = ToHostPath(enginePath);
    std::error_code ec;
    return host && std::filesystem::is_regular_file(*host, ec);
}

std::string NameOf(const std::string& path)
{
    const size_t cut = path.find_last_of("\\:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::vector<std::string> SplitPatterns(const std::string& patterns)
{
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= patterns.size()) {
        const size_t end = std::min(patterns.find(';', start), patterns.size());
        if (end > start)
            out.push_back(patterns.substr(start, end - start));
        start = end + 1;
    }
    if (out.empty())
        out.push_back("*.*");
    return out;
}

class FileDialog {
public:
    explicit FileDialog(const FileDialogRequest& request)
        : request_(request), box_(request.owner, Title(request), kWidth, kHeight)
    {
        folder_ = request.initialFolder.empty() ? GetCurrentFolder() : request.initialFolder;
        if (request_.filters.empty())
            request_.filters.push_back({"All files (*.*)", "*.*"});
        pattern_ = request_.filters.front().pattern;
        Build();
    }

    std::optional<std::string> Run()
    {
        Refill();
        return box_.Run(0) == 1 ? std::optional<std::string>(chosen_) : std::nullopt;
    }

private:
    static std::string Title(const FileDialogRequest& r)
    {
        if (!r.title.empty())
            return r.title;
        return r.kind == FileDialogKind::Save ? "Save As" : "Open";
    }

    void Build()
    {
        const int line = DialogBox::LineHeight();
        const int field = line + 6;
        int y = 10;
        box_.AddLabel(Rect::FromSize(kLeft, y, kColumn, line), "File name:");
        folderLabel_ = box_.AddLabel(Rect::FromSize(kRight, y, kWidth - kRight - 8, line), "");
        y += line + 2;
        name_ = box_.Add(widgetclass::Edit, style::Border | wstyle::AutoHScroll,
                         Rect::FromSize(kLeft, y, kColumn, field), request_.fileName);
        ok_ = box_.Add(widgetclass::Button, wstyle::DefPushButton, Rect::FromSize(kWidth - 87, y, 75, 23),
                       "OK");
        cancel_ = box_.Add(widgetclass::Button, 0, Rect::FromSize(kWidth - 87, y + 30, 75, 23), "Cancel");
        y += field + 6;
        const int listHeight = kHeight - y - 2 * (line + field) - 12;
        list_ = box_.Add(widgetclass::ListBox, style::Border, Rect::FromSize(kLeft, y, kColumn, listHeight));
        y += listHeight + 6;
        box_.AddLabel(Rect::FromSize(kLeft, y, kColumn, line),
                      request_.kind == FileDialogKind::Save ? "Save as type:" : "Files of type:");
        box_.AddLabel(Rect::FromSize(kRight, y, kColumn, line), "Drives:");
        y += line + 2;
        types_ = box_.Add(widgetclass::ComboBox, 0, Rect::FromSize(kLeft, y, kColumn, 5 * line + field));
        drives_ = box_.Add(widgetclass::ComboBox, 0, Rect::FromSize(kRight, y, 100, 5 * line + field));
        for (const FileFilter& f : request_.filters)
            AddListString(types_, f.description);
        SetListCurrent(types_, 0);
        for (const Drive& d : GetDrives())
            AddListString(drives_, std::string(1, d.letter) + ":");
        box_.SetDefault(ok_);
        box_.SetCancel(cancel_);
        box_.SetFocusTo(name_);
        box_.onCommand = [this](WindowHandle w, uint32_t code) { OnCommand(w, code); };
    }

    void OnCommand(WindowHandle w, uint32_t code)
    {
        if (w == ok_ && code == notify::ButtonClicked)
            Accept();
        else if (w == cancel_ && code == notify::ButtonClicked)
            box_.End(0);
        else if (w == list_ && code == notify::ListSelChange)
            Picked(false);
        else if (w == list_ && code == notify::ListDoubleClick)
            Picked(true);
        else if (w == types_ && code == notify::ComboSelChange) {
            pattern_ = request_.filters[static_cast<size_t>(std::max(0, GetListCurrent(types_)))].pattern;
            Refill();
        } else if (w == drives_ && code == notify::ComboSelChange) {
            const std::string root = GetListString(drives_, GetListCurrent(drives_)) + "\\";
            if (IsFolder(root))
                Enter(root);
        }
    }

    // Folders first (the folder above, unless at a drive's root), then the files of the type.
    void Refill()
    {
        entries_.clear();
        if (Parent(folder_) != folder_)
            entries_.push_back({"..", true});
        if (auto all = ListFolder(folder_, "*.*")) {
            for (const FolderEntry& e : *all) {
                if (e.isFolder)
                    entries_.push_back({e.name, true});
            }
        }
        std::vector<std::string> files;
        for (const std::string& pattern : SplitPatterns(pattern_)) {
            if (auto matched = ListFolder(folder_, pattern)) {
                for (const FolderEntry& e : *matched) {
                    if (!e.isFolder && std::find(files.begin(), files.end(), e.name) == files.end())
                        files.push_back(e.name);
                }
            }
        }
        std::sort(files.begin(), files.end(),
                  [](const std::string& a, const std::string& b) { return NameLess(a, b); });
        for (std::string& f : files)
            entries_.push_back({std::move(f), false});
        ResetList(list_);
        for (const Entry& e : entries_)
            AddListString(list_, e.folder ? "[" + e.name + "]" : e.name);
        box_.SetLabel(folderLabel_, folder_);
        const char letter =
            folder_.size() >= 2 && folder_[1] == ':' ? static_cast<char>(std::toupper(folder_[0])) : 0;
        for (int32_t i = 0; i < GetListCount(drives_); ++i) {
            if (GetListString(drives_, i)[0] == letter)
                SetListCurrent(drives_, i);
        }
    }

    void Enter(const std::string& folder)
    {
        folder_ = folder;
        Refill();
    }

    void Picked(bool open)
    {
        const int32_t i = GetListCurrent(list_);
        if (i < 0 || static_cast<size_t>(i) >= entries_.size())
            return;
        const Entry& e = entries_[static_cast<size_t>(i)];
        if (!e.folder) {
            SetWidgetText(name_, e.name);
            if (open)
                Accept();
        } else if (open) {
            Enter(e.name == ".." ? Parent(folder_) : Join(folder_, e.name));
        }
    }

    void Accept()
    {
        std::string name = GetWidgetText(name_);
        while (!name.empty() && name.back() == ' ')
            name.pop_back();
        if (name.empty())
            return;
        if (name.find_first_of("*?") != std::string::npos) {
            pattern_ = name;
            Refill();
            return;
        }
        const std::string path = name == ".."       ? Parent(folder_)
                                 : IsFullPath(name) ? name
                                                    : Join(folder_, name);
        if (IsFolder(path)) {
            SetWidgetText(name_, "");
            Enter(path);
            return;
        }
        if (request_.kind == FileDialogKind::Save)
            AcceptSave(AddDefaultExtension(path, request_.defaultExtension));
        else
            AcceptOpen(AddDefaultExtension(path, IsFile(path) ? "" : request_.defaultExtension));
    }

    void AcceptOpen(const std::string& path)
    {
        if (request_.fileMustExist && !IsFile(path)) {
            Report(NameOf(path) + "\nFile not found.\nCheck the file name and try again.", MbButtons::Ok);
            return;
        }
        Choose(path);
    }

    void AcceptSave(const std::string& path)
    {
        if (request_.folderMustExist && !IsFolder(Parent(path))) {
            Report(path + "\nThe folder does not exist.\nCheck the path and try again.", MbButtons::Ok);
            return;
        }
        if (request_.confirmOverwrite && IsFile(path) &&
            Report(NameOf(path) + " already exists.\nDo you want to replace it?", MbButtons::YesNo) !=
                MbResult::Yes)
            return;
        Choose(path);
    }

    MbResult Report(const std::string& text, MbButtons buttons)
    {
        const int defaultButton = buttons == MbButtons::YesNo ? 1 : 0; // replacing is never the default
        return ShowDrawnBox(box_.Hwnd(), Title(request_), text, MbIcon::Warning, buttons, defaultButton);
    }

    void Choose(const std::string& path)
    {
        chosen_ = path;
        box_.End(1);
    }

    struct Entry {
        std::string name;
        bool folder = false;
    };
    FileDialogRequest request_;
    DialogBox box_;
    std::string folder_;
    std::string pattern_;
    std::vector<Entry> entries_;
    std::string chosen_;
    size_t folderLabel_ = 0;
    WindowHandle name_ = 0, ok_ = 0, cancel_ = 0, list_ = 0, types_ = 0, drives_ = 0;
};

} // namespace
} // namespace widgets

std::optional<std::string> DrawnDialogs::ChooseFile(const FileDialogRequest& request)
{
    widgets::FileDialog dialog(request);
    return dialog.Run();
}

} // namespace plat
