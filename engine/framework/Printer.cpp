#include "engine/framework/Printer.h"

namespace {

PrintEnvFactory g_factory;
std::optional<plat::PrintSetupResult> g_choice;
PrintOwnerSource g_ownerSource;

// The dialog offers pages 1 to the page count, or to 1 when there is no count or one the
// dialog cannot take.
constexpr int kMaxPage = 32767;

int OfferedLastPage(uint16_t pageCount) { return (pageCount == 0 || pageCount > kMaxPage) ? 1 : pageCount; }

} // namespace

void SetPrintEnvFactory(PrintEnvFactory factory) { g_factory = std::move(factory); }
const std::optional<plat::PrintSetupResult>& GetPrinterChoice() { return g_choice; }
void SetPrinterChoice(std::optional<plat::PrintSetupResult> choice) { g_choice = choice; }
void SetPrintOwnerSource(PrintOwnerSource source) { g_ownerSource = std::move(source); }

void ResetPrinting()
{
    g_factory = {};
    g_choice.reset();
    g_ownerSource = {};
}

CPrinter::~CPrinter() { EndTo(kIdle); }

plat::PrintSetupRequest CPrinter::MakeDialogRequest(plat::PrintDialogKind kind) const
{
    plat::PrintSetupRequest request;
    request.kind = kind;
    request.owner = g_ownerSource ? g_ownerSource() : 0;
    request.fromPage = 1;
    request.toPage = OfferedLastPage(pageCount_);
    request.minPage = 1;
    request.maxPage = kMaxPage;
    request.copies = 1;
    // The print dialog asks only for the page range and the printer.
    const bool printing = kind == plat::PrintDialogKind::Print;
    request.pageNumbers = !printing;
    request.selection = !printing;
    request.printToFile = !printing;
    request.choice = g_choice;
    return request;
}

void CPrinter::PrintSetup()
{
    if (auto choice = plat::GetDialogService().PrintSetup(MakeDialogRequest(plat::PrintDialogKind::Setup)))
        g_choice = *choice;
}

CPrintJobEnv* CPrinter::BeginJob(uint8_t flag, CDrawEnv* linked)
{
    jobFlag_ = flag;
    EndTo(kIdle); // a job still open would otherwise lose its environment
    if (!g_factory)
        return nullptr;
    env_ = g_factory(*this, flag);
    if (!env_)
        return nullptr;
    env_->SetLinkedEnv(linked);
    state_ = kEnvMade;
    clipScope_ = true;
    return env_.get();
}

int32_t CPrinter::StartDocument(const CStr* name)
{
    if (!env_ || !env_->StartDoc(pageRect_, name))
        return 1;
    state_ = kDocStarted;
    return 0;
}

int32_t CPrinter::StartPage()
{
    if (!env_ || !env_->StartPage())
        return 1;
    state_ = kPageStarted;
    return 0;
}

int32_t CPrinter::EndTo(int32_t level)
{
    int32_t pageFailed = 0;
    if (state_ > level && state_ == kPageStarted) {
        pageFailed = env_->EndPage() ? 0 : 1;
        state_ = kDocStarted;
    }
    if (state_ > level && state_ == kDocStarted) {
        env_->EndDoc();
        state_ = kEnvMade;
    }
    if (state_ > level && state_ == kEnvMade) {
        if (clipScope_)
            env_->ClearClipRgn();
        clipScope_ = false;
        env_.reset();
        state_ = kIdle;
    }
    return pageFailed;
}
