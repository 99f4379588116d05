#include "platform/sessions/WsBaseDialog.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
#include <nlohmann/json.hpp>
#include <sstream>
#include <system_error>
#include <vector>

namespace TAVGis::Workspace {
namespace {

using nlohmann::json;
namespace fs = std::filesystem;

constexpr int kFormatVersion = 1;
constexpr const char* kVersionKey = "version";
constexpr const char* kDialogsKey = "dialogs";
constexpr int kJsonIndent = 2;

std::mutex g_writeMutex;
std::atomic<unsigned> g_tempCounter{0};

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

fs::path HomeDirectory() {
    std::string home = Environment("HOME");
    if (!home.empty()) return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* result = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 && result && result->pw_dir)
        return result->pw_dir;
    return {};
}

struct StoreFile {
    enum class State { Missing, Ok, Corrupt, Unreadable };
    State state = State::Missing;
    json doc;                // the parsed document when Ok
    std::string bytes;       // the file as read (Ok or Corrupt)
    bool truncated = false;  // bytes holds only the start of a file too large to read
};

StoreFile ReadStore(const fs::path& path) {
    StoreFile file;
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
        file.state = ec && ec != std::errc::no_such_file_or_directory ? StoreFile::State::Unreadable
                                                                      : StoreFile::State::Missing;
        return file;
    }
    if (!fs::is_regular_file(status)) {
        file.state = StoreFile::State::Unreadable;
        return file;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        file.state = StoreFile::State::Unreadable;
        return file;
    }
    if (fs::file_size(path, ec) > CWsBaseDialog::kMaxFileBytes && !ec) {
        // Far beyond anything the store writes: kept aside as corrupt, not read into memory whole.
        file.bytes.resize(CWsBaseDialog::kMaxFileBytes);
        in.read(file.bytes.data(), static_cast<std::streamsize>(file.bytes.size()));
        file.bytes.resize(static_cast<std::size_t>(in.gcount()));
        file.state = in.bad() ? StoreFile::State::Unreadable : StoreFile::State::Corrupt;
        file.truncated = true;
        return file;
    }
    file.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        file.state = StoreFile::State::Unreadable;
        return file;
    }
    // The parse itself keeps no recursion, but writing a document back does: one nested deeper than the
    // store ever writes is corrupt.
    bool tooDeep = false;
    const json::parser_callback_t depthLimit = [&tooDeep](int depth, json::parse_event_t, json&) {
        if (depth > CWsBaseDialog::kMaxDepth) tooDeep = true;
        return !tooDeep;
    };
    json doc = json::parse(file.bytes, depthLimit, /*allow_exceptions=*/false);
    if (tooDeep || doc.is_discarded() || !doc.is_object() ||
        (doc.contains(kDialogsKey) && !doc[kDialogsKey].is_object())) {
        file.state = StoreFile::State::Corrupt;
        return file;
    }
    file.doc = std::move(doc);
    file.state = StoreFile::State::Ok;
    return file;
}

bool WriteAll(int fd, const std::string& bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

void SyncDirectory(const fs::path& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);  // best effort: the rename itself is already atomic
    ::close(fd);
}

// Replaces `path` by `bytes`: temporary file in the same directory, fsync, rename.
bool ReplaceAtomically(const fs::path& path, const std::string& bytes) {
    const fs::path dir = path.parent_path();
    std::error_code ec;
    if (!dir.empty()) fs::create_directories(dir, ec);
    if (ec) return false;
    fs::path temp = path;
    temp += ".tmp." + std::to_string(::getpid()) + "." + std::to_string(g_tempCounter.fetch_add(1));
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, bytes);
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    SyncDirectory(dir.empty() ? fs::path(".") : dir);
    return true;
}

// Keeps the bytes of a corrupt store beside it under the first free backup name ("workspace.json.bak",
// then ".bak.1", ".bak.2", ...): written whole to a temporary file, then linked to the name, which fails
// rather than replace a backup that exists. False when every name is taken or nothing can be written.
bool KeepBackup(const fs::path& path, const std::string& bytes) {
    const fs::path dir = path.parent_path().empty() ? fs::path(".") : path.parent_path();
    fs::path temp = path;
    temp += ".tmp." + std::to_string(::getpid()) + "." + std::to_string(g_tempCounter.fetch_add(1));
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, bytes);
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    bool kept = false;
    for (int n = 0; ok && !kept && n <= CWsBaseDialog::kMaxBackups; ++n) {
        fs::path backup = path;
        backup += CWsBaseDialog::kBackupSuffix;
        if (n > 0) backup += "." + std::to_string(n);
        if (::link(temp.c_str(), backup.c_str()) == 0)
            kept = true;
        else if (errno != EEXIST)
            ok = false;
    }
    ::unlink(temp.c_str());
    if (kept) SyncDirectory(dir);
    return kept;
}

json ToJson(const Data::CDataBox& box) {
    if (box.IsDouble()) return json(box.ToDouble());  // not finite: written as null, read back as missing
    if (box.IsInt()) return json(box.ToInt());
    if (box.IsText()) return json(box.ToString());
    if (box.IsList()) return json(box.ToList());
    return json();
}

// The box a stored JSON value stands for; false when it stands for none.
bool FromJson(const json& value, Data::CDataBox& box) {
    if (value.is_number_float()) {
        box = Data::CDataBox(value.get<double>());
        return true;
    }
    if (value.is_number_integer()) {
        if (value.is_number_unsigned()) {
            const auto u = value.get<std::uint64_t>();
            box = u <= static_cast<std::uint64_t>(INT_MAX) ? Data::CDataBox(static_cast<int>(u))
                                                           : Data::CDataBox(static_cast<double>(u));
        } else {
            const auto i = value.get<std::int64_t>();
            box = i >= INT_MIN && i <= INT_MAX ? Data::CDataBox(static_cast<int>(i))
                                               : Data::CDataBox(static_cast<double>(i));
        }
        return true;
    }
    if (value.is_string()) {
        box = Data::CDataBox(value.get<std::string>());
        return true;
    }
    if (value.is_array()) {
        std::vector<std::string> list;
        for (const auto& item : value) {
            if (!item.is_string()) return false;
            list.push_back(item.get<std::string>());
        }
        box = Data::CDataBox(list);
        return true;
    }
    return false;
}

}  // namespace

std::filesystem::path CWsBaseDialog::StorePath() {
    const std::string configDir = Environment(kConfigDirVariable);
    if (!configDir.empty()) return fs::path(configDir) / kFileName;
    const std::string xdg = Environment("XDG_CONFIG_HOME");
    if (!xdg.empty() && fs::path(xdg).is_absolute()) return fs::path(xdg) / "tavx" / kFileName;
    const fs::path home = HomeDirectory();
    if (home.empty()) return {};
    return home / ".config" / "tavx" / kFileName;
}

Data::CDataBox CWsBaseDialog::GetStateValue(const std::string& dialogName, const std::string& key,
                                            const Data::CDataBox& defaultBox) {
    const fs::path path = StorePath();
    if (path.empty()) return defaultBox;
    const StoreFile file = ReadStore(path);
    if (file.state != StoreFile::State::Ok) return defaultBox;
    const auto dialogs = file.doc.find(kDialogsKey);
    if (dialogs == file.doc.end()) return defaultBox;
    const auto dialog = dialogs->find(dialogName);
    if (dialog == dialogs->end() || !dialog->is_object()) return defaultBox;
    const auto value = dialog->find(key);
    if (value == dialog->end()) return defaultBox;
    Data::CDataBox box;
    return FromJson(*value, box) ? box : defaultBox;
}

bool CWsBaseDialog::SetStateValue(const std::string& dialogName, const std::string& key,
                                  const Data::CDataBox& box) {
    const fs::path path = StorePath();
    if (path.empty()) return false;
    std::lock_guard<std::mutex> lock(g_writeMutex);
    StoreFile file = ReadStore(path);
    json doc = json::object();
    switch (file.state) {
        case StoreFile::State::Ok:
            doc = std::move(file.doc);
            break;
        case StoreFile::State::Missing:
            break;
        case StoreFile::State::Unreadable:
            return false;  // cannot be kept, so it is not replaced
        case StoreFile::State::Corrupt:
            if (file.truncated || !KeepBackup(path, file.bytes)) return false;  // cannot be kept whole
            break;
    }
    doc[kVersionKey] = kFormatVersion;
    json& dialogs = doc[kDialogsKey];
    if (!dialogs.is_object()) dialogs = json::object();
    json& dialog = dialogs[dialogName];
    if (!dialog.is_object()) dialog = json::object();
    if (box.IsNull()) {
        dialog.erase(key);
    } else {
        dialog[key] = ToJson(box);
    }
    const std::string text = doc.dump(kJsonIndent, ' ', false, json::error_handler_t::replace) + "\n";
    return ReplaceAtomically(path, text);
}

}  // namespace TAVGis::Workspace
