#pragma once
// Saved records in the test's temporary folder: the bytes a writer leaves in a document, and
// a reader's error code over given bytes.
#include <functional>
#include <string>

class CDoc;

namespace traveltest {

// The bytes `write` puts into a fresh document (no header).
std::string SaveBytes(const std::function<void(CDoc&)>& write);
// Runs `read` over a document holding exactly `bytes`; answers the document's error then.
int16_t LoadBytes(const std::string& bytes, const std::function<void(CDoc&)>& read);

} // namespace traveltest
