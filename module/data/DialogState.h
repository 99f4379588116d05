#pragma once
// CDialogState: the per-drawing store in which the module's dialogs remember their last choices, a
// named dictionary of the current drawing ("TAVX_LSD2"; "TAV_LSD" for the Turkish influence-area
// dialog) whose entries each hold one value: an integer (code 60), a double (code 38) or a text
// (code 1).
//
// Reading: construct in read mode (the default), then read each key with its default:
//     CDialogState state;
//     m_zoom = state.GetDouble("DZOOM_FACTOR", 1.5);
//     state.LoadCheck(*this, IDC_CHECK_ZOOM, "DIVODORHYDRAULICS_ZOOM", 1);
// A missing dictionary or key, or an entry of another type, reads as not found: the default is used.
//
// Writing, the two ways the dialogs use:
//   - open for writing: CDialogState state(CDialogState::kDictionary, AcDb::kForWrite);
//   - open for reading, then upgrade: CDialogState state; state.UpgradeOpen();
//     (status 0 or 83 both count as upgraded; the writes follow in either case.)
// Each Write returns the host status code (0 on success); the dialogs ignore it. Writing creates the
// dictionary and the entry when missing and replaces an existing value.
//
// Typed numbers are stored as doubles parsed from the field's decimal text: ParseNumber, in which a
// text that is not a number gives 0.0. The parse does not depend on the process locale.
//
// No value that is not finite is ever stored: "nan", "inf" or 1e999 typed into a field are texts that are
// not numbers (0.0), Write of a double that is not finite writes nothing and answers kStatusNotFinite, and
// a stored entry that is not finite (a drawing written by an older version) reads as not found.
//
// Integers are stored as 16-bit values (code 60); the drawing wrapper clamps larger ones. The module
// stores only small integers (check states, radio and combo indices, tab index, colour index).
#include <string>

#include "platform/host/TAVCDictionaryPtr.h"

namespace TAVUi {
class CAdUiBaseDialog;
}

class CDialogState {
public:
    // The dictionary of all current dialogs.
    static constexpr const char* kDictionary = "TAVX_LSD2";
    // The older dictionary the Turkish influence-area dialog keeps its values in.
    static constexpr const char* kLegacyDictionary = "TAV_LSD";
    // The status of a Write of a double that is not finite (the host's "invalid input").
    static constexpr int kStatusNotFinite = 3;

    explicit CDialogState(const std::string& dictionary = kDictionary, AcDb::OpenMode mode = AcDb::kForRead);

    // Upgrades a read-opened store to writing; answers the host status (0 upgraded, 83 already open
    // for writing), which callers may ignore.
    int UpgradeOpen();
    bool IsOpenForWrite() const { return m_dictionary.isOpenForWrite(); }

    // Reading into a value: true and the value set when the key is stored with that type; false and
    // the value unchanged otherwise.
    bool Read(const std::string& key, int& value);
    bool Read(const std::string& key, double& value);
    bool Read(const std::string& key, std::string& value);
    // Reading with a default.
    int GetInt(const std::string& key, int defaultValue);
    double GetDouble(const std::string& key, double defaultValue);
    std::string GetText(const std::string& key, const std::string& defaultValue);

    // Writing; each answers the host status code (0 on success, 82 when the store is not open for
    // writing, kStatusNotFinite for a double that is not finite: nothing is written).
    int Write(const std::string& key, int value);
    int Write(const std::string& key, bool value) { return Write(key, value ? 1 : 0); }
    int Write(const std::string& key, double value);
    int Write(const std::string& key, const std::string& value);
    int Write(const std::string& key, const char* value) {
        return Write(key, std::string(value ? value : ""));
    }
    // A typed number: the text parsed as a decimal number (ParseNumber), stored as a double.
    int WriteNumberText(const std::string& key, const std::string& typed);

    // Control helpers: read a key into a control of `dialog` (the default when it is not stored),
    // or write the control's state under the key.
    // Check box: 0 or 1 (code 60).
    void LoadCheck(TAVUi::CAdUiBaseDialog& dialog, int id, const std::string& key, int defaultValue);
    int SaveCheck(TAVUi::CAdUiBaseDialog& dialog, int id, const std::string& key);
    // Radio group starting at `firstId` (template order): the index of the checked radio (code 60).
    void LoadRadio(TAVUi::CAdUiBaseDialog& dialog, int firstId, const std::string& key, int defaultValue);
    int SaveRadio(TAVUi::CAdUiBaseDialog& dialog, int firstId, const std::string& key);
    // Combo box or list: the index of the selected entry (code 60); an index the control does not
    // have selects nothing.
    void LoadComboIndex(TAVUi::CAdUiBaseDialog& dialog, int id, const std::string& key, int defaultValue);
    int SaveComboIndex(TAVUi::CAdUiBaseDialog& dialog, int id, const std::string& key);
    // Edit with a typed number (code 38): loaded as FormatNumber text through the control (so a
    // numeric edit's validity rule applies), saved as the text parsed by ParseNumber.
    void LoadNumber(TAVUi::CAdUiBaseDialog& dialog, int id, const std::string& key, double defaultValue);
    int SaveNumber(TAVUi::CAdUiBaseDialog& dialog, int id, const std::string& key);
    // Edit with a text (code 1): a path, a list of values.
    void LoadText(TAVUi::CAdUiBaseDialog& dialog, int id, const std::string& key,
                  const std::string& defaultValue);
    int SaveText(TAVUi::CAdUiBaseDialog& dialog, int id, const std::string& key);

    // Decimal parsing of a typed number: leading white space and a "+" or "-" sign, digits with an
    // optional "." and exponent; whatever follows the number is ignored ("12.5 m" gives 12.5). A text
    // that does not start with a number, or whose number is out of the double range or not finite,
    // gives 0.0.
    static double ParseNumber(const std::string& text);
    // A number as a field shows it: six decimals, trailing zeros and then a trailing "." removed
    // ("1.5", "3", "-0.25"); not finite gives an empty text.
    static std::string FormatNumber(double value);

private:
    CTAVCDictionaryPtr m_dictionary;
};
