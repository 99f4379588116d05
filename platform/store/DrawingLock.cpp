#include "platform/store/DrawingLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <set>
#include <string>

#include "platform/host/AtomicFile.h"
#include "platform/store/DrawingFileError.h"

namespace fs = std::filesystem;

namespace TAVGis::Store {
namespace {
std::set<CDrawingLock*>& Held() {
    static std::set<CDrawingLock*> held;
    return held;
}

fs::path Absolute(const fs::path& path) {
    std::error_code ec;
    auto resolved = TAVHost::ResolveTarget(path);
    auto absolute = fs::absolute(resolved, ec);
    return ec ? resolved : absolute.lexically_normal();
}
}  // namespace

std::unique_ptr<CDrawingLock> CDrawingLock::Acquire(const fs::path& path) {
    const fs::path drawing = Absolute(path);
    fs::path lockFile = drawing;
    lockFile += ".lock";
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0)
            throw CDrawingFileError(path.string() + ": cannot lock the drawing for writing (" +
                                    lockFile.string() + ": " + std::strerror(errno) + ")");
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int err = errno;
            ::close(fd);
            if (err == EWOULDBLOCK)
                throw CDrawingFileError(path.string() + ": the drawing is in use by another process");
            throw CDrawingFileError(path.string() +
                                    ": cannot lock the drawing for writing: " + std::strerror(err));
        }
        // The holder before us may have removed the file between our open and our lock: then the lock is
        // on a file nobody else will find, and we try again with the file now at that name.
        struct stat held {
        }, named{};
        if (::fstat(fd, &held) == 0 && ::stat(lockFile.c_str(), &named) == 0 && held.st_ino == named.st_ino &&
            held.st_dev == named.st_dev) {
            const std::string pid = std::to_string(::getpid()) + "\n";
            if (::ftruncate(fd, 0) == 0 && ::write(fd, pid.data(), pid.size()) < 0) {
                // The pid is only for people looking at the file; the lock holds without it.
            }
            return std::unique_ptr<CDrawingLock>(new CDrawingLock(drawing, lockFile, fd));
        }
        ::close(fd);
    }
    throw CDrawingFileError(path.string() + ": cannot lock the drawing for writing");
}

CDrawingLock::CDrawingLock(fs::path drawing, fs::path lockFile, int fd)
    : m_drawing(std::move(drawing)), m_lockFile(std::move(lockFile)), m_fd(fd) {
    Held().insert(this);
}

CDrawingLock::~CDrawingLock() {
    Release();
    Held().erase(this);
}

void CDrawingLock::Release() {
    if (m_fd < 0) return;
    // Removed while still locked, so nobody takes a lock on a file that is about to vanish.
    ::unlink(m_lockFile.c_str());
    ::close(m_fd);
    m_fd = -1;
}

void CDrawingLock::ReleaseAll() {
    for (auto* lock : Held()) lock->Release();
}

void CDrawingLock::Hold(TAVHost::Document& doc, const fs::path& path) {
    if (Holds(doc, path)) return;
    doc.SetExtension(kKey, nullptr);
    doc.SetExtension(kKey, Acquire(path));
}

bool CDrawingLock::Holds(TAVHost::Document& doc, const fs::path& path) {
    auto* lock = doc.FindExtension<CDrawingLock>(kKey);
    return lock && lock->Drawing() == Absolute(path);
}

}  // namespace TAVGis::Store
