#pragma once
// The application object: the root of a running program and the target of application
// commands and fatal reports.
#include "engine/framework/EventObj.h"

class CBaseAppl : public CEventObj {
public:
    CBaseAppl();
    ~CBaseAppl() override;

    static CBaseAppl* GetAppl();
};

// The application object, or null when none exists.
CBaseAppl* GetApplication();
