#include "platform/host/AtomicFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace fs = std::filesystem;

namespace TAVHost {

fs::path ResolveTarget(const fs::path& path) {
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(path, ec))) {
        auto resolved = fs::weakly_canonical(path, ec);
        if (!ec) return resolved;
    }
    return path;
}

bool SameFile(const fs::path& a, const fs::path& b) {
    struct stat sa {
    }, sb{};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

bool CheckWritableTarget(const fs::path& target, const std::vector<fs::path>& protect, std::string& error) {
    for (const auto& p : protect)
        if (!p.empty() && SameFile(target, p)) {
            error = target.string() + ": is the drawing being worked on; choose another file";
            return false;
        }
    // Read-only by its permissions (no one may write it: refused even for the superuser, who could) or
    // for this user.
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) return true;
    if ((st.st_mode & 0222) == 0) {
        error = target.string() + ": is read-only";
        return false;
    }
    if (::access(target.c_str(), W_OK) != 0) {
        error = target.string() + ": is read-only (" + std::strerror(errno) + ")";
        return false;
    }
    return true;
}

void KeepPermissions(const fs::path& from, const fs::path& to) {
    struct stat st {};
    if (::stat(from.c_str(), &st) == 0) ::chmod(to.c_str(), st.st_mode & 07777);
}

bool SyncToDisk(const fs::path& path, bool directory) {
    const int fd = ::open(path.c_str(), (directory ? O_RDONLY | O_DIRECTORY : O_RDONLY) | O_CLOEXEC);
    if (fd < 0) return directory;  // some file systems do not open folders; the rename is still atomic
    const int rc = ::fsync(fd);
    ::close(fd);
    return rc == 0 || directory;
}

bool WriteFileAtomically(const fs::path& requested, const std::function<void(std::ostream&)>& write,
                         std::string& error, const std::vector<fs::path>& protect) {
    const fs::path target = ResolveTarget(requested);
    if (!CheckWritableTarget(target, protect, error)) return false;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        // A device or pipe (/dev/null, /dev/stdout) is written as it is: renaming a file over it would
        // replace the device itself. A folder is no file to write.
        if (S_ISDIR(st.st_mode)) {
            error = target.string() + ": is a folder";
            return false;
        }
        std::ofstream out(target, std::ios::binary);
        if (!out) {
            error = target.string() + ": cannot write: " + std::strerror(errno);
            return false;
        }
        try {
            write(out);
        } catch (const std::exception& e) {
            error = target.string() + ": cannot write: " + e.what();
            return false;
        }
        out.flush();
        if (!out) error = target.string() + ": cannot write";
        return static_cast<bool>(out);
    }
    fs::path temp = target;
    temp += ".writing";
    // The lock tells a second writer of the same target that the temporary file is in use.
    const int lockFd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (lockFd < 0) {
        error = target.string() + ": cannot write: " + std::strerror(errno);
        return false;
    }
    if (::flock(lockFd, LOCK_EX | LOCK_NB) != 0) {
        ::close(lockFd);
        error = target.string() + ": is being written by another process";
        return false;
    }
    auto fail = [&](const std::string& what) {
        error = target.string() + ": " + what;
        ::unlink(temp.c_str());
        ::close(lockFd);
        return false;
    };
    if (::ftruncate(lockFd, 0) != 0) return fail(std::string("cannot write: ") + std::strerror(errno));
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return fail(std::string("cannot write: ") + std::strerror(errno));
        try {
            write(out);
        } catch (const std::exception& e) {
            return fail(std::string("cannot write: ") + e.what());
        }
        out.flush();
        if (!out) return fail("cannot write (is the disk full?)");
        out.close();
        if (out.fail()) return fail("cannot write (is the disk full?)");
    }
    if (::fsync(lockFd) != 0) return fail(std::string("cannot flush to disk: ") + std::strerror(errno));
    KeepPermissions(target, temp);
    if (::rename(temp.c_str(), target.c_str()) != 0)
        return fail(std::string("cannot replace the file: ") + std::strerror(errno));
    ::close(lockFd);
    const fs::path dir = target.parent_path();
    SyncToDisk(dir.empty() ? fs::path(".") : dir, true);
    return true;
}

}  // namespace TAVHost
