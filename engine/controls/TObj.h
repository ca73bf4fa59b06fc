#pragma once
// Object templates. CTObj is the root of every template: a kind (the registrar's template
// kind number), an id (the template's "ID") and the template list that read it. CTFrame
// (TFrame.h) is the template of a plain graphic object, CTWind (TWind.h) of a window.
//
// Templates are read positionally from definition text: each value in a fixed order, as a
// number expression, errors fatal; a value's name only labels its reading errors.
#include <cstdint>

class CBTplList;
class CRawParser;

class CTObj {
public:
    // Reads "ID" as the next value of the parser.
    CTObj(int32_t kind, CRawParser* parser);
    // A template made in code.
    CTObj(int32_t kind, int32_t id) : kind_(kind), id_(id) {}
    CTObj(const CTObj&) = default;
    CTObj& operator=(const CTObj&) = delete;
    virtual ~CTObj() = default;

    // Slot 1.
    virtual bool IsFrameTemplate() const { return false; }
    // Slot 2.
    virtual bool IsWindowTemplate() const { return false; }

    int32_t GetKind() const { return kind_; }
    int32_t GetId() const { return id_; }
    // The template list renames templates (CBTplList::SetId, SetBranchEnabled).
    void SetId(int32_t id) { id_ = id; }
    CBTplList* GetTplList() const { return tplList_; }
    void SetTplList(CBTplList* list) { tplList_ = list; }

private:
    int32_t kind_;
    int32_t id_ = 0;
    CBTplList* tplList_ = nullptr;
};
