#pragma once
// CTLmCharFrm: the template of a landmark character (template kind 0x3b). After the fixed
// values of a graphic object it holds the clip's file name, the start marker "VARIABLE
// params" (100) and a list of numbered commands with their values, ended by command 101:
//
//   0 FILENAME id [mask]              1 FILENAME RANDOM base [mask lines key]
//   2 FILENAME SEQ base [mask lines key]   4 IDLE ACTION pre post
//   10 LOOP v   11 NOTIFYWHENDONE v   12 ONSTOP action [values]   13 ONCONTINUE action value [values]
//   16 "caption"   17 DBLCLICK_POPUP_RESID id   18 TRADE id   19 PICKME id
//   102 AUTOPLAY v   103 CLICKMODE 0..4   101 end
//
// Reading fills a CLmCharDataRecord; choices the commands leave to chance (a random template
// list, one chosen by the party's morale) are made here, once. Errors show a message box
// and leave the record as far as it was read.
#include <cstdint>
#include <memory>

#include "engine/controls/TFrame.h"

class CLmCharDataRecord;

class CTLmCharFrm : public CTFrame {
public:
    static constexpr int32_t kTemplateKind = 0x3b;
    // The value of "VARIABLE params" that opens the command list.
    static constexpr int32_t kVarParamStart = 100;
    // Longest file name and caption text.
    static constexpr int16_t kMaxFileName = 255;
    static constexpr int16_t kMaxCaption = 5095;
    // The longest error text shown.
    static constexpr size_t kMaxErrorText = 255;

    CTLmCharFrm(int32_t kind, CRawParser* parser);
    ~CTLmCharFrm() override;

    const CLmCharDataRecord* GetDataRecord() const { return record_.get(); }

    // The registrar's factories of kind 0x3b: each character made gets its own copy of the
    // record.
    static CTObj* Read(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

    // Shows "message\nfile name\nTemplate ID:id\n" (at most 255 characters) under the
    // caption in an exclamation box; a null message or caption shows "Error Message was
    // NULL\n" in a stop box instead.
    static void ErrorMessage(const char* message, const char* caption, const CLmCharDataRecord* record);

private:
    // Carries out one command; false when reading stops.
    bool ProcessVarParams(int32_t code, CRawParser* parser);
    void ProcessFilename(CRawParser* parser);
    // FILENAME RANDOM (mode 3) and FILENAME SEQ (mode 1).
    void ProcessFileRange(CRawParser* parser, int32_t mode);
    void ProcessIdleAction(CRawParser* parser);
    bool ProcessClickMode(CRawParser* parser);
    void ProcessOnStop(CRawParser* parser);
    void ProcessOnContinue(CRawParser* parser);
    // The values after an action's first one: the choice of actions 12 and 13, the stored
    // message of 15. Answers the entry's value.
    int32_t ReadActionValues(CRawParser* parser, int32_t action, int32_t value, const char* field,
                             const char* caption);

    std::unique_ptr<CLmCharDataRecord> record_;
};
