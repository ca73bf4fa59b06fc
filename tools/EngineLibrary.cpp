#include "tools/EngineLibrary.h"

#include <filesystem>
#include <memory>

#include "engine/framework/EngineStrings.h"
#include "engine/framework/TplRec.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/FormatList.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/MegaLib.h"
#include "engine/resources/RawParser.h"
#include "engine/resources/TplRecLoader.h"
#include "platform/SystemInfo.h"

namespace fs = std::filesystem;

std::string LastBox::Line() const
{
    std::string line = text_;
    for (size_t at; (at = line.find("\r\r")) != std::string::npos;)
        line.replace(at, 2, " - ");
    return line.empty() ? "fatal report" : line;
}

EngineLibrary::EngineLibrary(const std::string& path) : EngineLibrary(std::vector<std::string>{path}) {}

EngineLibrary::EngineLibrary(const std::vector<std::string>& paths)
{
    SetLibMgr(std::make_unique<CLibMgr>());
    for (const std::string& path : paths) {
        std::error_code ec;
        const auto enginePath = HostRootDrive::EnginePath(path);
        std::unique_ptr<CResLib> lib;
        if (enginePath && fs::is_directory(path, ec))
            lib = std::make_unique<CFoldLib>(enginePath->c_str());
        else if (enginePath && fs::is_regular_file(path, ec))
            lib = std::make_unique<CMegaLib>(enginePath->c_str());
        if (!lib || !lib->IsOpen())
            throw std::runtime_error(path + ": cannot open the library");
        GetLibMgr()->AddLibrary(std::move(lib));
    }
    CRawParser::SetFallbackVersionText(plat::GetProductVersion());
    AddLibIdFormat();
    Run([] {
        if (std::unique_ptr<CTplRec> messages = CreateTplRec(8, 0xFFFFFFFF, false))
            SetEngineStringList(std::move(messages));
    });
}

EngineLibrary::~EngineLibrary() { SetLibMgr(nullptr); }
