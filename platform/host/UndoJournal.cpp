#include "platform/host/UndoJournal.h"

#include <iterator>

namespace TAVHost {
namespace {
UndoJournal* g_active = nullptr;
std::uint64_t g_lastSerial = 0;
}  // namespace

UndoJournal::UndoJournal() : m_outer(g_active), m_serial(++g_lastSerial) {
    g_active = this;
}

UndoJournal::~UndoJournal() {
    g_active = m_outer;
    if (m_outer)
        m_outer->m_undo.insert(m_outer->m_undo.end(), std::make_move_iterator(m_undo.begin()),
                               std::make_move_iterator(m_undo.end()));
}

UndoJournal* UndoJournal::Active() {
    return g_active;
}

std::uint64_t UndoJournal::LatestSerial() {
    return g_lastSerial;
}

UndoJournal* UndoJournal::ActiveFor(std::uint64_t bornAfter) {
    return g_active && g_active->m_serial > bornAfter ? g_active : nullptr;
}

void UndoJournal::Record(std::function<void()> undo) {
    m_undo.push_back(std::move(undo));
}

void UndoJournal::Rollback() {
    // Restoring changes nothing that needs recording again: the journal does not record while it undoes.
    UndoJournal* const active = g_active;
    g_active = nullptr;
    for (auto it = m_undo.rbegin(); it != m_undo.rend(); ++it) (*it)();
    m_undo.clear();
    m_serial = ++g_lastSerial;  // owners record their parts anew
    g_active = active;
}

}  // namespace TAVHost
