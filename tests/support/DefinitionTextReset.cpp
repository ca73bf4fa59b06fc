// Puts the definition-text parser's process-wide state back to its start before every test.
#include "engine/resources/FormatList.h"
#include "engine/resources/RawParser.h"
#include "engine/resources/RawSymbols.h"
#include "engine/resources/Registrar.h"
#include "engine/resources/TextRsrc.h"
#include "tests/support/TestEnv.h"

namespace {

qmtest::ResetRegistrar g_definitionTextReset([] {
    CRawItemList::Get().Clear();
    CFormatList::Get().Clear();
    CRegistrar::Clear();
    CTextRsrc::SetRecordSizeLimit(CTextRsrc::kMaxRecordSize);
    CRawParser::SetFallbackVersionText(std::nullopt);
});

} // namespace
