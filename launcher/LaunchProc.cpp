#include "launcher/LaunchProc.h"

#include <cerrno>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include "engine/framework/FileSpecs.h"
#include "platform/Programs.h"
#include "platform/Settings.h"

namespace tour {
namespace {

const std::string kProductRoot = "SOFTWARE\\KVL\\";

bool MachineKeyExists(const std::string& path)
{
    std::unique_ptr<plat::SettingsKey> key;
    return plat::OpenSettingsKey(plat::SettingsPart::Machine, path, plat::SettingsAccess::Read, key) ==
           plat::SettingsStatus::Ok;
}

} // namespace

CLaunchProc::CLaunchProc(std::string program, std::optional<std::string> document)
    : program_(std::move(program)), document_(std::move(document))
{
}

bool CLaunchProc::Run()
{
    lastError_ = 0;
    if (program_.empty()) {
        std::optional<std::string> chosen = ChooseProgram();
        if (!chosen || chosen->empty()) {
            lastError_ = ECANCELED;
            return false;
        }
        program_ = std::move(*chosen);
    }
    // A name written with ".EXE" is looked up without it; the search tries the bare name
    // first and the extension after.
    const std::string name = program_.substr(0, program_.find(".EXE"));
    const std::optional<std::filesystem::path> program = plat::FindProgram(name, ".EXE");
    if (!program) {
        lastError_ = ENOENT;
        return false;
    }
    // Checked here too so that a recorded start answers as a real one would.
    if (access(program->c_str(), X_OK) != 0) {
        lastError_ = EACCES;
        return false;
    }
    std::vector<std::string> args;
    if (document_) {
        const std::optional<std::filesystem::path> found = plat::FindProgram(*document_, "");
        args.push_back(found ? found->string() : *document_);
    }
    const std::filesystem::path absolute = std::filesystem::absolute(*program).lexically_normal();
    lastError_ = plat::SpawnProgram(absolute, args, absolute.parent_path()).error;
    return lastError_ == 0;
}

std::optional<std::string> CLaunchProc::ChooseProgram()
{
    // Programs here carry no extension, so the one type lists every file; a chosen file that
    // cannot run fails as a named one would.
    static const CFileFilter kApplications[] = {{"Application", "*.*"}};
    CFileSpec chosen;
    if (chosen.OpenDialog(kApplications, 1, nullptr) != CFileSpec::kOk || !chosen.GetPath())
        return std::nullopt;
    return std::string(chosen.GetPath());
}

std::string ProgramFailureText(std::string failure, std::string_view placeholder, std::string_view program,
                               size_t commandSize)
{
    if (commandSize <= 4 || placeholder.empty())
        return failure;
    for (size_t at = failure.find(placeholder); at != std::string::npos;
         at = failure.find(placeholder, at + program.size()))
        failure.replace(at, placeholder.size(), program);
    return failure;
}

bool IsProductInstalled(std::string_view key, std::string_view subkey)
{
    const std::string product = kProductRoot + std::string(key);
    if (!MachineKeyExists(product))
        return false;
    return subkey.empty() || MachineKeyExists(product + "\\" + std::string(subkey));
}

std::optional<std::string> InstalledProgramPath(std::string_view key, std::string_view program)
{
    std::unique_ptr<plat::SettingsKey> product;
    if (plat::OpenSettingsKey(plat::SettingsPart::Machine, kProductRoot + std::string(key),
                              plat::SettingsAccess::Read, product) != plat::SettingsStatus::Ok)
        return std::nullopt;
    plat::SettingsValue value;
    if (product->Read("Path", value) != plat::SettingsStatus::Ok)
        return std::nullopt;
    std::string path(value.data.begin(), value.data.end());
    if (!path.empty() && path.back() == '\0')
        path.pop_back();
    return path + std::string(program);
}

} // namespace tour
