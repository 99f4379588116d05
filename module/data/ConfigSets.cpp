#include "module/data/ConfigSets.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <stdexcept>

#include "module/data/ConfigNameCodec.h"
#include "module/data/DialogState.h"
#include "module/data/XmlDocument.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/Editor.h"
#include "platform/host/NumberText.h"
#include "platform/host/TAVCDictionaryPtr.h"
#include "platform/ui/Control.h"

namespace {

constexpr char kWhiteSpace[] = " \t\r\n\v\f";
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kAsciiDelete = 0x7F;

bool IsXmlNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool IsXmlName(const std::string& name) {
    if (name.empty() || !IsXmlNameStart(name.front())) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return IsXmlNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
    });
}

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(kWhiteSpace) == std::string::npos;
}

}  // namespace

// Owns the records of a combo's entries; attached to the combo as its behaviour, so the records end
// with the control. A behaviour the combo had before keeps working: every event is passed on to it.
class CConfigSets::RecordOwner : public TAVUi::CControlBehavior {
public:
    explicit RecordOwner(std::shared_ptr<TAVUi::CControlBehavior> previous)
        : m_previous(std::move(previous)) {}

    void OnSetText(TAVUi::CControl& control, const std::string& text) override {
        if (m_previous)
            m_previous->OnSetText(control, text);
        else
            CControlBehavior::OnSetText(control, text);
    }
    bool OnChar(TAVUi::CControl& control, char ch) override {
        return m_previous && m_previous->OnChar(control, ch);
    }
    bool OnClick(TAVUi::CControl& control) override { return m_previous && m_previous->OnClick(control); }

    const Record* Add(Record record) {
        m_records.push_back(std::make_unique<Record>(std::move(record)));
        return m_records.back().get();
    }
    bool Owns(const Record* record) const {
        return std::any_of(m_records.begin(), m_records.end(),
                           [record](const auto& r) { return r.get() == record; });
    }
    void Clear() { m_records.clear(); }

    // The combo's owner, attached on first use.
    static RecordOwner& Of(TAVUi::CControl& combo) {
        if (auto* owner = dynamic_cast<RecordOwner*>(combo.behavior.get())) return *owner;
        auto owner = std::make_shared<RecordOwner>(combo.behavior);
        combo.behavior = owner;
        return *owner;
    }
    static const RecordOwner* Find(const TAVUi::CControl& combo) {
        return dynamic_cast<const RecordOwner*>(combo.behavior.get());
    }

private:
    std::shared_ptr<TAVUi::CControlBehavior> m_previous;
    std::vector<std::unique_ptr<Record>> m_records;
};

CConfigSets::CConfigSets(std::string entryKey, std::string tagApplication,
                         std::vector<std::string> attributes, NumberFormat format)
    : m_entryKey(std::move(entryKey)),
      m_tagApplication(std::move(tagApplication)),
      m_attributes(std::move(attributes)),
      m_formats(m_attributes.size(), format) {
    for (const auto& attribute : m_attributes) {
        if (!IsXmlName(attribute) || attribute == kNameAttribute)
            throw std::invalid_argument("configuration set attribute '" + attribute +
                                        "' is not a parameter name");
    }
}

void CConfigSets::SetFormat(const std::string& attribute, NumberFormat format) {
    const int index = IndexOf(attribute);
    if (index < 0) throw std::invalid_argument("configuration set has no attribute '" + attribute + "'");
    m_formats[static_cast<std::size_t>(index)] = format;
}

int CConfigSets::IndexOf(const std::string& attribute) const {
    const auto it = std::find(m_attributes.begin(), m_attributes.end(), attribute);
    return it == m_attributes.end() ? -1 : static_cast<int>(it - m_attributes.begin());
}

const CConfigSets::Record* CConfigSets::LoadConfigs(TAVUi::CControl& combo) const {
    ClearCombo(combo);
    RecordOwner& owner = RecordOwner::Of(combo);
    CTAVCDictionaryPtr dictionary(kDictionary, AcDb::kForRead);
    std::string text;
    if (dctRead(dictionary, m_entryKey, text, false)) {
        CXmlDocument xml;
        // A malformed text lists no set (it shows "Default"); Save leaves such a text as it is.
        if (xml.SetDoc(text) && xml.FindElem(kRootElement) && xml.IntoElem()) {
            while (xml.FindElem(kSetElement)) {
                const Record* record = owner.Add(ReadRecord(xml));
                combo.AddString(CConfigNameCodec::Unescape(xml.GetAttrib(kNameAttribute)),
                                reinterpret_cast<std::uintptr_t>(record));
            }
        }
    }
    if (combo.items.empty()) combo.AddString(kDefaultEntry, 0);
    combo.SetCurSel(0);
    return GetRecord(combo, 0);
}

const CConfigSets::Record* CConfigSets::GetRecord(const TAVUi::CControl& combo, int index) {
    if (index < 0 || index >= static_cast<int>(combo.items.size())) return nullptr;
    const auto* record = reinterpret_cast<const Record*>(combo.items[static_cast<std::size_t>(index)].data);
    const RecordOwner* owner = RecordOwner::Find(combo);
    if (record == nullptr || owner == nullptr || !owner->Owns(record)) return nullptr;
    return record;
}

void CConfigSets::ClearCombo(TAVUi::CControl& combo) {
    if (auto* owner = dynamic_cast<RecordOwner*>(combo.behavior.get())) owner->Clear();
    combo.ResetContent();
}

CConfigSets::SaveResult CConfigSets::Save(const std::string& typedName, const Record& values) const {
    if (values.size() != m_attributes.size())
        throw std::invalid_argument("configuration set '" + m_entryKey + "' takes " +
                                    std::to_string(m_attributes.size()) + " values, not " +
                                    std::to_string(values.size()));
    SaveResult result;
    result.name = Trim(typedName);
    if (result.name.empty()) {
        acedAlert(TAVGis::CModuleConfiguration::GetMsg(kMsgEmptyName));
        result.status = SaveStatus::EmptyName;
        return result;
    }
    if (!IsStorableName(result.name)) {
        acedAlert(TAVGis::CModuleConfiguration::GetMsg(kMsgUnstorableName));
        result.status = SaveStatus::UnstorableName;
        return result;
    }

    CTAVCDictionaryPtr dictionary(kDictionary, AcDb::kForRead);
    dictionary.upgradeOpen();  // 0 or 83: upgraded either way; the write below follows regardless
    std::string text;
    const bool exists = dctRead(dictionary, m_entryKey, text, false) && !IsBlank(text);

    CXmlDocument xml;
    bool stored = false;
    if (exists) {
        xml.SetDoc(text);
        if (xml.FindElem(kRootElement) && xml.IntoElem()) {
            bool matched = false;
            while (xml.FindElem(kSetElement)) {
                if (CConfigNameCodec::Unescape(xml.GetAttrib(kNameAttribute)) != result.name) continue;
                matched = true;
                if (WriteParameters(xml, values)) stored = true;
            }
            if (!matched) {
                xml.ResetPos();
                xml.FindElem(kRootElement);
                xml.IntoElem();
                stored = xml.AddElem(kSetElement) &&
                         xml.SetAttrib(kNameAttribute, CConfigNameCodec::Escape(result.name)) &&
                         WriteParameters(xml, values);
            }
        }
    } else {
        xml.SetDoc(kEmptyDocument);
        xml.FindElem(kRootElement);
        xml.IntoElem();
        stored = xml.AddElem(kSetElement) &&
                 xml.SetAttrib(kNameAttribute, CConfigNameCodec::Escape(result.name)) &&
                 WriteParameters(xml, values);
    }
    dctWrite(dictionary, m_entryKey, xml.GetDoc(), false, true, TAVHost::kDictCodeText);
    result.status = stored ? SaveStatus::Stored : SaveStatus::NotStored;
    return result;
}

bool CConfigSets::Tag(TAVHost::ObjectId entity, const std::string& setName) const {
    if (m_tagApplication.empty()) return false;
    CTAVCEntityPtr target(entity, AcDb::kForWrite);
    if (!target.isValid()) return false;
    TAVHost::XDataChain chain;
    chain.push_back(TAVHost::ResultBuffer{kTagGroupCode, setName});
    return target.setXData(m_tagApplication, chain);
}

bool CConfigSets::Tag(const TAVGis::Topology::CEntityPtr& entity, const std::string& setName) const {
    return entity && Tag(entity->GetObjectId(), setName);
}

std::string CConfigSets::Trim(const std::string& text) {
    const auto first = text.find_first_not_of(kWhiteSpace);
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(kWhiteSpace);
    return text.substr(first, last - first + 1);
}

bool CConfigSets::IsStorableName(const std::string& name) {
    const bool hasControl = std::any_of(name.begin(), name.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < kFirstPrintable || b == kAsciiDelete;
    });
    return !hasControl && CConfigNameCodec::Unescape(CConfigNameCodec::Escape(name)) == name;
}

std::string CConfigSets::FormatValue(const std::string& attribute, double value) const {
    const int index = IndexOf(attribute);
    const NumberFormat format = index < 0 ? NumberFormat::Fixed4 : FormatOf(static_cast<std::size_t>(index));
    if (format == NumberFormat::Integer) {
        // "%d" of the value as an int: truncated toward zero, limited to the int range.
        long long whole = 0;
        if (std::isfinite(value))
            whole = static_cast<long long>(
                std::clamp(std::trunc(value), static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
        return std::to_string(whole);
    }
    const int decimals = format == NumberFormat::Fixed6 ? 6 : 4;
    const std::string text = TAVHost::NumberText::Fixed(value, decimals);
    return text.empty() ? std::string("0") : text;
}

CConfigSets::Record CConfigSets::ReadRecord(const CXmlDocument& xml) const {
    Record record;
    record.reserve(m_attributes.size());
    for (const auto& attribute : m_attributes)
        record.push_back(CDialogState::ParseNumber(xml.GetAttrib(attribute)));
    return record;
}

bool CConfigSets::WriteParameters(CXmlDocument& xml, const Record& values) const {
    bool ok = true;
    for (std::size_t i = 0; i < m_attributes.size(); ++i)
        ok = xml.SetAttrib(m_attributes[i], FormatValue(m_attributes[i], values[i])) && ok;
    return ok;
}
