#include "platform/Dialogs.h"

#include <cstdlib>

#include "platform/Files.h"

namespace plat {
namespace {

ScriptedDialogs g_scripted;
DialogService* g_service = &g_scripted;
std::optional<PrintSetupResult> g_defaultPrinter;

std::filesystem::path DefaultPrintFolder()
{
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/')
        return std::filesystem::path(data) / "kvl" / "prints";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".local" / "share" / "kvl" / "prints";
    return std::filesystem::current_path() / ".local" / "share" / "kvl" / "prints";
}

bool IsFullPath(const std::string& path)
{
    return (path.size() >= 2 && path[1] == ':') || (!path.empty() && path[0] == '\\');
}

} // namespace

std::string AddDefaultExtension(const std::string& name, const std::string& extension)
{
    if (extension.empty())
        return name;
    const size_t lastSeparator = name.find_last_of("\\/:");
    const size_t nameStart = lastSeparator == std::string::npos ? 0 : lastSeparator + 1;
    if (name.find('.', nameStart) != std::string::npos || nameStart == name.size())
        return name;
    return name + "." + extension;
}

std::optional<std::string> ScriptedDialogs::ChooseFile(const FileDialogRequest& request)
{
    fileLog_.push_back(request);
    if (fileAnswers_.empty())
        return std::nullopt;
    std::optional<std::string> answer = std::move(fileAnswers_.front());
    fileAnswers_.pop_front();
    if (!answer)
        return std::nullopt;
    std::string path = *answer;
    if (!IsFullPath(path)) {
        const std::string folder = request.initialFolder.empty() ? GetCurrentFolder() : request.initialFolder;
        path = folder + (!folder.empty() && folder.back() == '\\' ? "" : "\\") + path;
    }
    return AddDefaultExtension(path, request.defaultExtension);
}

PrintSetupResult DefaultPrinterChoice()
{
    if (g_defaultPrinter)
        return *g_defaultPrinter;
    PrintSetupResult choice;
    choice.folder = DefaultPrintFolder();
    return choice;
}

void SetDefaultPrinterChoice(std::optional<PrintSetupResult> choice) { g_defaultPrinter = std::move(choice); }

std::optional<PrintSetupResult> ScriptedDialogs::PrintSetup(const PrintSetupRequest& request)
{
    return AnswerPrint(request);
}

std::optional<PrintSetupResult> ScriptedDialogs::Print(const PrintSetupRequest& request)
{
    return AnswerPrint(request);
}

std::optional<PrintSetupResult> ScriptedDialogs::AnswerPrint(const PrintSetupRequest& request)
{
    printLog_.push_back(request);
    if (printAnswers_.empty())
        return std::nullopt;
    const PrintAnswer answer = printAnswers_.front();
    printAnswers_.pop_front();
    if (!answer.ok)
        return std::nullopt;
    if (answer.result)
        return answer.result;
    PrintSetupResult kept = request.choice.value_or(DefaultPrinterChoice());
    kept.fromPage = request.fromPage;
    kept.toPage = request.toPage;
    kept.copies = request.copies;
    return kept;
}

void ScriptedDialogs::QueuePrintSetup(std::optional<PrintSetupResult> result)
{
    printAnswers_.push_back(PrintAnswer{true, result});
}

void ScriptedDialogs::Clear()
{
    fileAnswers_.clear();
    printAnswers_.clear();
    fileLog_.clear();
    printLog_.clear();
}

DialogService& GetDialogService() { return *g_service; }
ScriptedDialogs& GetScriptedDialogs() { return g_scripted; }
void SetDialogService(DialogService* service) { g_service = service ? service : &g_scripted; }

void ResetDialogs()
{
    g_scripted.Clear();
    g_service = &g_scripted;
    g_defaultPrinter.reset();
}

} // namespace plat
