#pragma once
// Files written whole or not at all, and the rules every output file of the program follows:
// - the text goes to "<target>.writing" in the target's folder, locked while it is written (a second
//   writer of the same target is refused at once), is flushed to disk and only then renamed over the
//   target; a failure at any step (a full disk, a closed stream) leaves the target as it was and removes
//   the temporary file; a stale temporary file of a killed writer is replaced by the next write;
// - a symbolic link is followed: its target is written and the link stays;
// - a device or pipe (/dev/null) is written directly, never replaced; a folder is refused;
// - a read-only target (no write permission for anyone, or none for this user) is refused, and a replaced
//   target keeps its permissions;
// - a target that is one of the `protect`ed files (the drawing being worked on) is refused; files are
//   compared as files (device and inode), so another name or a link to the drawing is refused too.
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace TAVHost {

// The file a path names, symbolic links followed (the path itself when it does not exist yet).
std::filesystem::path ResolveTarget(const std::filesystem::path& path);

// True when both paths exist and name the same file.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// Refuses (returns false with a message naming the file) a target that is read-only or protected.
bool CheckWritableTarget(const std::filesystem::path& target,
                         const std::vector<std::filesystem::path>& protect, std::string& error);

// Copies the permission bits of `from` (when it exists) to `to`.
void KeepPermissions(const std::filesystem::path& from, const std::filesystem::path& to);

// Flushes a file, or a folder's entries, to disk; false on failure.
bool SyncToDisk(const std::filesystem::path& path, bool directory);

// Writes what `write` puts into the stream to `target`, atomically, as described above. False with a
// message naming the file on failure.
bool WriteFileAtomically(const std::filesystem::path& target, const std::function<void(std::ostream&)>& write,
                         std::string& error, const std::vector<std::filesystem::path>& protect = {});

}  // namespace TAVHost
