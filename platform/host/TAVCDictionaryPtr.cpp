#include "platform/host/TAVCDictionaryPtr.h"

#include "platform/host/Document.h"

CTAVCDictionaryPtr::CTAVCDictionaryPtr(const std::string& dictionaryName, AcDb::OpenMode mode)
    : m_doc(acDocManagerPtr()->curDocument()), m_name(dictionaryName), m_mode(mode) {}

bool CTAVCDictionaryPtr::exists() const {
    return m_doc && m_doc->Db().GetDictionary(m_name) != nullptr;
}

int CTAVCDictionaryPtr::upgradeOpen() {
    if (!m_doc) return kEnullObjectPointer;
    if (m_mode == AcDb::kForWrite) return kEwasOpenForWrite;
    m_mode = AcDb::kForWrite;
    return kEok;
}

const TAVHost::DictionaryEntry* CTAVCDictionaryPtr::find(const std::string& key) const {
    if (!m_doc) return nullptr;
    const auto* dict = m_doc->Db().GetDictionary(m_name);
    if (!dict) return nullptr;
    auto it = dict->find(key);
    return it == dict->end() ? nullptr : &it->second;
}

int CTAVCDictionaryPtr::put(const std::string& key, TAVHost::DictionaryEntry entry) {
    if (!m_doc) return kEnullObjectPointer;
    if (m_mode != AcDb::kForWrite) return kEnotOpenForWrite;
    m_doc->Db().SetDictionaryEntry(m_name, key, std::move(entry));
    return kEok;
}

bool dctRead(CTAVCDictionaryPtr& dict, const std::string& key, int& value, bool) {
    const auto* e = dict.find(key);
    if (!e || e->code != TAVHost::kDictCodeInt16) return false;
    value = std::get<std::int16_t>(e->value);
    return true;
}

bool dctRead(CTAVCDictionaryPtr& dict, const std::string& key, double& value, bool) {
    const auto* e = dict.find(key);
    if (!e || e->code != TAVHost::kDictCodeDouble) return false;
    value = std::get<double>(e->value);
    return true;
}

bool dctRead(CTAVCDictionaryPtr& dict, const std::string& key, std::string& value, bool) {
    const auto* e = dict.find(key);
    if (!e || e->code != TAVHost::kDictCodeText) return false;
    value = std::get<std::string>(e->value);
    return true;
}

int dctWrite(CTAVCDictionaryPtr& dict, const std::string& key, const std::string& value, bool, bool, int) {
    return dict.put(key, {TAVHost::kDictCodeText, value});
}

int dctWrite(CTAVCDictionaryPtr& dict, const std::string& key, const char* value, bool f1, bool f2,
             int code) {
    return dctWrite(dict, key, std::string(value ? value : ""), f1, f2, code);
}

int dctWrite(CTAVCDictionaryPtr& dict, const std::string& key, int value, bool, bool, int) {
    // The code-60 entry holds a 16-bit integer; values outside its range are clamped rather than wrapped.
    if (value > INT16_MAX) value = INT16_MAX;
    if (value < INT16_MIN) value = INT16_MIN;
    return dict.put(key, {TAVHost::kDictCodeInt16, static_cast<std::int16_t>(value)});
}

int dctWrite(CTAVCDictionaryPtr& dict, const std::string& key, double value, bool, bool, int) {
    return dict.put(key, {TAVHost::kDictCodeDouble, value});
}

CTAVCEntityPtr::CTAVCEntityPtr(TAVHost::ObjectId id, AcDb::OpenMode mode) : m_mode(mode) {
    auto* doc = acDocManagerPtr()->curDocument();
    if (!doc) return;
    m_db = &doc->Db();
    m_entity = m_db->GetEntity(id);
}

const TAVHost::XDataChain* CTAVCEntityPtr::getXData(const std::string& app) const {
    if (!m_entity) return nullptr;
    auto it = m_entity->xdata.find(app);
    return it == m_entity->xdata.end() ? nullptr : &it->second;
}

bool CTAVCEntityPtr::setXData(const std::string& app, const TAVHost::XDataChain& chain) {
    if (!m_entity || m_mode != AcDb::kForWrite) return false;
    if (!m_db->IsAppRegistered(app)) m_db->RegisterApp(app);
    m_db->SetXData(*m_entity, app, chain);
    return true;
}
