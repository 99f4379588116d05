#pragma once
// CDrawingLock: one writer per drawing. A process that will save a drawing takes its lock when it opens
// it and keeps it until it is done; a second process that wants to write the same drawing (by any name or
// link) is refused at once with "the drawing is in use by another process". The lock is an advisory lock
// (flock) on "<drawing>.lock" beside the file the path resolves to; the lock file is removed when the lock
// is released, and a lock file left by a killed process holds no lock (the system released it) and is
// taken over. Readers take no lock: SQLite's own locking keeps their reads whole.
#include <filesystem>
#include <memory>

#include "platform/host/Document.h"

namespace TAVGis::Store {

class CDrawingLock : public TAVHost::DocumentExtension {
public:
    static constexpr const char* kKey = "store.writerLock";

    // Takes the lock of the drawing at `path` (which need not exist yet). Throws CDrawingFileError.
    static std::unique_ptr<CDrawingLock> Acquire(const std::filesystem::path& path);
    // Makes the document hold the lock of `path` until it is closed or locked for another path.
    static void Hold(TAVHost::Document& doc, const std::filesystem::path& path);
    // True when the document holds the lock of the file `path` resolves to.
    static bool Holds(TAVHost::Document& doc, const std::filesystem::path& path);
    // Releases every lock this process holds (for a process that ends without running destructors).
    static void ReleaseAll();

    ~CDrawingLock() override;
    CDrawingLock(const CDrawingLock&) = delete;
    CDrawingLock& operator=(const CDrawingLock&) = delete;

    const std::filesystem::path& Drawing() const { return m_drawing; }

private:
    CDrawingLock(std::filesystem::path drawing, std::filesystem::path lockFile, int fd);
    void Release();
    std::filesystem::path m_drawing, m_lockFile;
    int m_fd;
};

}  // namespace TAVGis::Store
