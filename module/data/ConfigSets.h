#pragma once
// CConfigSets: the named parameter sets of one flow method, kept in the drawing, and the tag that marks
// each section calculated with a set. One object describes one method: the entry key of its document
// in the dictionary "ACH_FLOW", the application name of its section tag (empty for a method without
// tags), its parameter attributes in the order they are written, and their number format.
//
//   CConfigSets sets("ACH_FLOW_CONFIG_DATA", "ACH_PARAM_CONFIG",
//                    {"potrosnja", "brStanovnika", "prirast", "period", "koefD", "koefH",
//                     "koefKP", "koefKS", "koefKU"}, CConfigSets::NumberFormat::Fixed4);
//   // OnInitDialog / refill:
//   if (const auto* record = sets.LoadConfigs(Item(IDC_COMBO_CONFIG))) ApplyRecord(*record);
//   // selection change:
//   if (const auto* record = CConfigSets::GetRecord(combo, combo.curSel)) ApplyRecord(*record);
//   // Save:
//   auto saved = sets.Save(combo.GetWindowText(), {q, n, p, t, kd, kh, kp, ks, ku});
//   if (!saved.Proceed()) return;            // empty or unstorable name: alert shown, nothing done
//   ... calculate, then for each section: sets.Tag(section, saved.name);
//
// Document: "<?xml version=\"1.0\" encoding=\"utf-8\" ?><configs></configs>" when empty; one element
// "config" per set below "configs", with "name" (the set's name escaped by CConfigNameCodec) and one
// attribute per parameter.
//
// Parameter records: a record (the parameters as doubles, in attribute order; a missing attribute or a
// text that is not a number gives 0.0) belongs to its combo entry. The records are owned by a
// behaviour this class attaches to the combo control, so they live exactly as long as the combo's
// contents: LoadConfigs and ClearCombo free them, and they go with the control when the dialog ends.
// Item data of the entries is only a key into that owner: GetRecord answers null for an entry that has
// no record ("Default"), for entries added by other code and after the combo was emptied elsewhere.
//
// Load rules: the sets of a well-formed document in document order; a missing entry, a text without
// "configs" or a malformed text lists no set, only "Default" (and Save then leaves a malformed text
// exactly as it is, so no stored set is lost).
//
// Save rules: the typed name is trimmed of white space at both ends; an empty name shows alert 2059
// and stops. Every "config" whose unescaped name equals the name (case-sensitive) is updated, else one
// is appended. A missing entry, or one holding only white space, starts from the empty document. A
// text without a "configs" element, or one that does not parse and therefore cannot be changed, is
// written back exactly as it was: the set is not stored (NotStored), but the caller still calculates
// and tags.
// Names that would not load back as typed are refused with alert 9401 before anything is stored: a
// name with a character the ANSI code page cannot hold (it would be stored as "?", never match again
// and be appended anew on every save) or with a control character (which XML cannot hold).
//
// Number formats: Fixed4 "%.4f", Fixed6 "%.6f", Integer "%d" (the value truncated toward zero);
// written with the "." decimal point whatever the process locale.
#include <memory>
#include <string>
#include <vector>

#include "platform/host/Database.h"
#include "platform/network/Entity.h"

class CXmlDocument;
namespace TAVUi {
class CControl;
}

class CConfigSets {
public:
    static constexpr const char* kDictionary = "ACH_FLOW";
    static constexpr const char* kEmptyDocument =
        "<?xml version=\"1.0\" encoding=\"utf-8\" ?><configs></configs>";
    static constexpr const char* kRootElement = "configs";
    static constexpr const char* kSetElement = "config";
    static constexpr const char* kNameAttribute = "name";
    static constexpr const char* kDefaultEntry = "Default";
    // XData group code of the set name in a section tag.
    static constexpr int kTagGroupCode = 1000;
    // Messages: the set name is empty; the set name cannot be stored.
    static constexpr int kMsgEmptyName = 2059;
    static constexpr int kMsgUnstorableName = 9401;

    enum class NumberFormat { Fixed4, Fixed6, Integer };
    using Record = std::vector<double>;

    enum class SaveStatus {
        Stored,          // the set was updated or appended and written back
        NotStored,       // the document has no "configs" (or cannot be changed); written back unchanged
        EmptyName,       // alert 2059 shown; nothing written
        UnstorableName,  // alert 9401 shown; nothing written
    };
    struct SaveResult {
        SaveStatus status = SaveStatus::EmptyName;
        std::string name;  // the trimmed name: the name to tag sections with
        // Whether the caller goes on to calculate and tag.
        bool Proceed() const { return status == SaveStatus::Stored || status == SaveStatus::NotStored; }
    };

    // `tagApplication` empty: the method tags no sections. Attribute names must be XML names other
    // than "name" (a broken invariant throws std::invalid_argument).
    CConfigSets(std::string entryKey, std::string tagApplication, std::vector<std::string> attributes,
                NumberFormat format = NumberFormat::Fixed4);

    // Gives one attribute its own format (for example an index written with "%d").
    void SetFormat(const std::string& attribute, NumberFormat format);

    const std::string& EntryKey() const { return m_entryKey; }
    const std::string& TagApplication() const { return m_tagApplication; }
    const std::vector<std::string>& Attributes() const { return m_attributes; }
    // Position of `attribute` in the records, or -1.
    int IndexOf(const std::string& attribute) const;

    // Fills the combo: frees its records and empties it, adds the stored sets in document order with
    // their records, adds "Default" without a record when no set was found, selects entry 0. Returns
    // the record of entry 0 (null for "Default").
    const Record* LoadConfigs(TAVUi::CControl& combo) const;
    // The record of entry `index`, or null.
    static const Record* GetRecord(const TAVUi::CControl& combo, int index);
    // Frees the combo's records and removes its entries.
    static void ClearCombo(TAVUi::CControl& combo);

    // Stores `values` (one per attribute, in attribute order; another count throws
    // std::invalid_argument) as the set named `typedName`.
    SaveResult Save(const std::string& typedName, const Record& values) const;

    // Tags the entity with the set name: its chain under the tag application becomes (1000 name);
    // the application is registered in the drawing when needed. False, and nothing changed, when the
    // method has no tag application or the entity cannot be opened for writing (missing, erased).
    bool Tag(TAVHost::ObjectId entity, const std::string& setName) const;
    bool Tag(const TAVGis::Topology::CEntityPtr& entity, const std::string& setName) const;

    // White space (space, tab, CR, LF, VT, FF) removed at both ends.
    static std::string Trim(const std::string& text);
    // Whether `name` would load back exactly as typed.
    static bool IsStorableName(const std::string& name);
    // A value as the attribute's format writes it.
    std::string FormatValue(const std::string& attribute, double value) const;

private:
    class RecordOwner;

    NumberFormat FormatOf(std::size_t index) const { return m_formats[index]; }
    Record ReadRecord(const CXmlDocument& xml) const;
    bool WriteParameters(CXmlDocument& xml, const Record& values) const;

    std::string m_entryKey;
    std::string m_tagApplication;
    std::vector<std::string> m_attributes;
    std::vector<NumberFormat> m_formats;
};
