#pragma once
// The type registrar: the one table that maps template kind numbers to two factories. A
// template list reads a template of a kind with the kind's template factory and later makes
// the live object (a graphic object, a window, a control) with its object factory. The
// program registers its kinds once at start-up; the first registration of a kind wins.
#include <cstdint>

class CBaseObj;
class CRawParser;
class CTObj;

// Makes the live object of a template; the caller owns the result (null when none is made).
using ObjectFactory = CBaseObj* (*)(CTObj* tpl);
// Reads one template of the kind from the parser at its read position; the caller owns it.
using TemplateFactory = CTObj* (*)(int32_t kind, CRawParser* parser);

struct RegEntry {
    int32_t kind;
    ObjectFactory createObject;
    TemplateFactory readTemplate;
};

class CRegistrar {
public:
    // The program makes the registrar before registering; the table lives as long as it.
    CRegistrar();
    virtual ~CRegistrar();
    CRegistrar(const CRegistrar&) = delete;
    CRegistrar& operator=(const CRegistrar&) = delete;

    // Adds a kind; a kind already registered keeps its first pair of factories.
    static void Register(int32_t kind, ObjectFactory createObject, TemplateFactory readTemplate);
    // The kind's template read from the parser; null for a kind that is not registered. With
    // nothing registered at all, a fatal report.
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    // The kind's object made from the template. A kind that is not registered, or nothing
    // registered at all, is a fatal report.
    static CBaseObj* CreateObject(int32_t kind, CTObj* tpl);
    // The index of the kind's entry, -1 when none.
    static int32_t FindKind(int32_t kind);
    static int16_t GetCount();
    // Empties the table.
    static void Clear();
};
