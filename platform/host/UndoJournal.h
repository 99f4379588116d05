#pragma once
// UndoJournal: what a running command changed in the drawing, kept so that a command that fails can be
// taken back and leave the drawing as it was before it started.
//
// A journal records while it lives and is the active one (the innermost, when journals nest). The places
// that change a drawing ask for the active journal and, before their first change of a part, record how
// to restore that part: the attribute store a whole column (copied once per journal, however many
// values of it change), the database the previous value of each dictionary entry, each entity's extended
// data of one application, and each newly registered application.
//
// Rollback() restores the recorded parts, newest first; a journal that ends without a rollback keeps the
// changes, and hands its records to the journal around it (if any), so that an outer rollback also takes
// back what an inner command did.
//
// Decisions:
// - One journal serves every drawing: commands run one at a time on the host's main thread.
// - Entities are not created or erased by commands, and the journal does not record either.
// - An owner keeps, for each of its parts, the serial of the journal that last recorded it (Serial()), so
//   "is this the first change of the part in this journal" costs O(1) on the hot path of a calculation.
#include <cstdint>
#include <functional>
#include <vector>

namespace TAVHost {

class UndoJournal {
public:
    UndoJournal();
    ~UndoJournal();
    UndoJournal(const UndoJournal&) = delete;
    UndoJournal& operator=(const UndoJournal&) = delete;

    // The journal that records now, or null.
    static UndoJournal* Active();
    // The serial of the newest journal begun so far: what an owner of recorded parts keeps when it is made.
    static std::uint64_t LatestSerial();
    // The journal that records now for an owner made when LatestSerial() was `bornAfter`, or null. An owner
    // made while the active journal was already recording (a drawing opened inside a command) is not
    // recorded: it did not exist before, so there is nothing to restore, and it may be gone by a rollback.
    static UndoJournal* ActiveFor(std::uint64_t bornAfter);

    // A number no other journal of this process has had: what an owner stores for "part recorded".
    std::uint64_t Serial() const { return m_serial; }
    // Records how to take one change back.
    void Record(std::function<void()> undo);
    // Restores every recorded part, newest first, and forgets the records.
    void Rollback();
    std::size_t Size() const { return m_undo.size(); }

private:
    std::vector<std::function<void()>> m_undo;
    UndoJournal* m_outer;
    std::uint64_t m_serial;
};

}  // namespace TAVHost
