#pragma once
// CWsBaseDialog: the workspace store, where dialogs keep state per user outside the drawing. Values
// are CDataBox values addressed by a dialog name and a key.
//
// Decisions:
// - The store is one JSON file, "workspace.json", in the user's configuration directory:
//   $TAVX_CONFIG_DIR when set (tests point it at a scratch directory), else $XDG_CONFIG_HOME/tavx
//   (when that is an absolute path), else $HOME/.config/tavx (the home directory from the password
//   database when HOME is not set).
//   Layout: {"version": 1, "dialogs": {"DLG_ITP_CALC": {"IPTCALC_X": 1.5, ...}, ...}}. A double is a
//   JSON number with a fraction or exponent, an integer one without; a text is a string and a list
//   of texts an array of strings. Texts that are not valid UTF-8 are stored with U+FFFD in place of
//   the invalid bytes.
// - Reading never fails: a missing file, an unreadable or corrupt file, a missing dialog or key, or a
//   stored value of no box type gives the caller's default.
// - Every write reads the file afresh, changes the one value and replaces the whole file atomically:
//   the new text goes to a temporary file in the same directory, which is flushed to the disk
//   (fsync) and renamed over the old file; the directory is then flushed too. A reader, or a crash,
//   sees either the old or the new file, never a half-written one.
// - A corrupt file (not JSON, not an object, or nested deeper than kMaxDepth) is not replaced silently:
//   its bytes are first kept under the first free backup name, "workspace.json.bak", then
//   "workspace.json.bak.1", ... up to ".bak.<kMaxBackups>" (a backup is never overwritten, so a later
//   corrupt file cannot destroy an earlier one), then the new file holds only the new value. When every
//   backup name is taken the write fails and the corrupt file stays. A file that exists but cannot be
//   read, or one larger than kMaxFileBytes (which cannot be kept whole), is left alone and the write fails;
//   reading answers defaults.
// - Storing a null box removes the key. Writes in one process are serialised; between processes the
//   last writer wins.
// - Write failures (no directory, no space, permissions) are answered with false, never thrown.
#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/gis/DataBox.h"

namespace TAVGis::Workspace {

class CWsBaseDialog {
public:
    static constexpr const char* kConfigDirVariable = "TAVX_CONFIG_DIR";
    static constexpr const char* kFileName = "workspace.json";
    static constexpr const char* kBackupSuffix = ".bak";
    static constexpr int kMaxBackups = 99;
    // Bounds of a file the store reads: its size and the nesting of its arrays and objects (the store
    // itself writes 3 levels).
    static constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{64} << 20;
    static constexpr int kMaxDepth = 32;

    // The stored value of `key` of `dialogName`, or `defaultBox` when there is none.
    static Data::CDataBox GetStateValue(const std::string& dialogName, const std::string& key,
                                        const Data::CDataBox& defaultBox);
    // Stores `box` under `key` of `dialogName` (a null box removes the key). False when the file
    // could not be written; the old file is then unchanged.
    static bool SetStateValue(const std::string& dialogName, const std::string& key,
                              const Data::CDataBox& box);

    // The file the store uses now (the environment is read on every call).
    static std::filesystem::path StorePath();
};

}  // namespace TAVGis::Workspace
