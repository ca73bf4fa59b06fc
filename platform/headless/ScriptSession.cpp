#include "platform/headless/ScriptSession.h"

#include <fstream>

#include "platform/MessageBox.h"
#include "platform/MessageQueue.h"
#include "platform/SdlBackend.h"
#include "platform/TextEscape.h"

std::vector<ScriptLine> ReadScriptFile(const std::string& file, std::istream& in)
{
    if (file == "-")
        return ParseScript(in, file);
    std::ifstream stream(file);
    if (!stream)
        throw ScriptError(file, 0, "cannot read the script");
    return ParseScript(stream, file);
}

ScriptSession::ScriptSession(const std::string& program, bool headless,
                             const std::optional<std::string>& scriptFile, std::vector<ScriptLine> script,
                             ScriptTarget target, std::ostream& out, std::ostream& err)
    : program_(program)
{
    const bool forceHeadless = headless || scriptFile.has_value();
    std::string reason;
    const plat::Backend backend = plat::StartDisplay(forceHeadless, &reason);
    if (backend == plat::Backend::Null && !forceHeadless)
        err << program << ": no display (" << (reason.empty() ? "none set" : reason)
            << "); running headless\n";
    if (backend != plat::Backend::Null)
        return;
    // Headless runs go by a fake clock, moved only by a script's ticks.
    plat::SetClock(&clock_);
    runner_ = std::make_unique<ScriptRunner>(std::move(script), scriptFile.value_or(""), clock_,
                                             std::move(target), out);
    plat::SetMessageBoxService(runner_.get());
    if (scriptFile)
        plat::GetMessageQueue().SetEventSource(
            [r = runner_.get()](plat::MessageQueue& queue, uint64_t deadline) { r->Pump(queue, deadline); });
}

ScriptSession::~ScriptSession()
{
    plat::GetMessageQueue().SetEventSource(nullptr);
    plat::SetMessageBoxService(nullptr);
    plat::SetClock(nullptr);
    plat::StopSdlDisplay();
}

int ScriptSession::Finish(std::ostream& err) const
{
    if (runner_ && runner_->GetError()) {
        plat::WriteErrorLine(err, program_, *runner_->GetError());
        return 1;
    }
    return 0;
}
