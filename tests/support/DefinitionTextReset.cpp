// Puts the definition-text parser's process-wide state back to its start before every test.
#include "engine/resources/RawParser.h"
#include "engine/resources/RawSymbols.h"
#include "tests/support/TestEnv.h"

namespace {

qmtest::ResetRegistrar g_definitionTextReset([] {
    CRawItemList::Get().Clear();
    CRawParser::SetFallbackVersionText(std::nullopt);
});

} // namespace
