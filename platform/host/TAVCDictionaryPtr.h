#pragma once
// The drawing wrapper's access to a named dictionary of the current drawing (inside its named-object
// dictionary), opened for reading or writing, and its typed entries: dctRead and dctWrite.
//
// Decisions:
// - A dictionary opened for reading that does not exist is not created; reads find nothing. A dictionary
//   opened for writing (or upgraded to writing) is created on the first write.
// - upgradeOpen answers kEok (0) when it upgraded a read-opened dictionary and kEwasOpenForWrite (83)
//   when it was open for writing already; a write to a dictionary open only for reading answers
//   kEnotOpenForWrite (82) and stores nothing.
// - The two flags of dctRead/dctWrite (passed as false, and false/true) are accepted and ignored.
// - An entry holds one value of one type; a read through another type's overload finds nothing.
#include <cstdint>
#include <string>

#include "platform/host/Database.h"

namespace TAVHost {
class Document;
}

namespace AcDb {
enum OpenMode { kForRead = 0, kForWrite = 1 };
}

constexpr int kEok = 0;
constexpr int kEnotOpenForWrite = 82;
constexpr int kEwasOpenForWrite = 83;
constexpr int kEnullObjectPointer = 5;

class CTAVCDictionaryPtr {
public:
    // Opens the named dictionary of the current drawing.
    CTAVCDictionaryPtr(const std::string& dictionaryName, AcDb::OpenMode mode);
    bool isOpenForWrite() const { return m_mode == AcDb::kForWrite; }
    bool exists() const;
    int upgradeOpen();
    void close() { m_doc = nullptr; }
    const std::string& name() const { return m_name; }

    // Internal access for dctRead/dctWrite.
    const TAVHost::DictionaryEntry* find(const std::string& key) const;
    int put(const std::string& key, TAVHost::DictionaryEntry entry);

private:
    TAVHost::Document* m_doc;
    std::string m_name;
    AcDb::OpenMode m_mode;
};

bool dctRead(CTAVCDictionaryPtr& dict, const std::string& key, int& value, bool flag = false);
bool dctRead(CTAVCDictionaryPtr& dict, const std::string& key, double& value, bool flag = false);
bool dctRead(CTAVCDictionaryPtr& dict, const std::string& key, std::string& value, bool flag = false);
int dctWrite(CTAVCDictionaryPtr& dict, const std::string& key, const std::string& value, bool flag1 = false,
             bool flag2 = true, int valueCode = TAVHost::kDictCodeText);
int dctWrite(CTAVCDictionaryPtr& dict, const std::string& key, int value, bool flag1 = false,
             bool flag2 = true, int valueCode = TAVHost::kDictCodeInt16);
int dctWrite(CTAVCDictionaryPtr& dict, const std::string& key, double value, bool flag1 = false,
             bool flag2 = true, int valueCode = TAVHost::kDictCodeDouble);
int dctWrite(CTAVCDictionaryPtr& dict, const std::string& key, const char* value, bool flag1 = false,
             bool flag2 = true, int valueCode = TAVHost::kDictCodeText);

// An entity of the current drawing opened for reading or writing, with its extended entity data.
class CTAVCEntityPtr {
public:
    CTAVCEntityPtr(TAVHost::ObjectId id, AcDb::OpenMode mode);
    bool isValid() const { return m_entity != nullptr; }
    bool isOpenForWrite() const { return m_mode == AcDb::kForWrite; }
    // The groups that follow the application's 1001 group, or null when the entity has none.
    const TAVHost::XDataChain* getXData(const std::string& app) const;
    // Replaces the application's chain; registers the application in the drawing when needed.
    // False when the entity is not open for writing.
    bool setXData(const std::string& app, const TAVHost::XDataChain& chain);
    TAVHost::DbEntity* entity() { return m_entity; }

private:
    TAVHost::Database* m_db = nullptr;
    TAVHost::DbEntity* m_entity = nullptr;
    AcDb::OpenMode m_mode;
};
