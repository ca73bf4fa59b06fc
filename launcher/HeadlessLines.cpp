#include "launcher/HeadlessLines.h"

#include "platform/headless/HeadlessScript.h"

namespace tour {
namespace {

std::string NormalPath(const std::filesystem::path& path)
{
    std::string text = std::filesystem::absolute(path).lexically_normal().string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

} // namespace

std::string SpawnLine(const plat::SpawnRequest& request)
{
    std::string line = "spawn ";
    line += QuoteScriptText(NormalPath(request.program));
    for (const std::string& arg : request.args) {
        line += ' ';
        line += QuoteScriptText(arg);
    }
    const std::filesystem::path folder =
        request.folder.empty() ? std::filesystem::current_path() : request.folder;
    line += " in ";
    line += QuoteScriptText(NormalPath(folder));
    return line;
}

std::string UrlLine(const std::string& url)
{
    std::string line = "url ";
    line += QuoteScriptText(url);
    return line;
}

} // namespace tour
