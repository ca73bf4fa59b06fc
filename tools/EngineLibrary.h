#pragma once
// A library given on a tool's command line, opened as the one library of the engine's
// manager (with the engine messages of its "STR" 8 when it has them), so that a tool reads
// resources exactly as the engine does. Fatal reports of the engine become errors.
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Fatal.h"
#include "platform/MessageBox.h"
#include "tools/HostRootDrive.h"

// Keeps the text of the last message box: a fatal report shows its text in one before the
// program ends.
class LastBox : public plat::MessageBoxService {
public:
    LastBox() : previous_(&plat::GetMessageBoxService()) { plat::SetMessageBoxService(this); }
    ~LastBox() override { plat::SetMessageBoxService(previous_); }
    LastBox(const LastBox&) = delete;
    LastBox& operator=(const LastBox&) = delete;
    plat::MbResult Show(const plat::MessageBoxRequest& request) override
    {
        text_ = request.text;
        return plat::MbResult::Ok;
    }
    // The report on one line.
    std::string Line() const;

private:
    plat::MessageBoxService* previous_;
    std::string text_;
};

class EngineLibrary {
public:
    // Throws std::runtime_error when the path is no library.
    explicit EngineLibrary(const std::string& path);
    // The libraries in the order given: the engine searches them in that order.
    explicit EngineLibrary(const std::vector<std::string>& paths);
    ~EngineLibrary();
    EngineLibrary(const EngineLibrary&) = delete;
    EngineLibrary& operator=(const EngineLibrary&) = delete;

    // Runs f; a fatal report becomes a std::runtime_error with the report's text.
    template <typename F> void Run(F&& f)
    {
        try {
            f();
        } catch (const plat::FatalError&) {
            throw std::runtime_error(box_.Line());
        }
    }

private:
    HostRootDrive drive_;
    LastBox box_;
};
