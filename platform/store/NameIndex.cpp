#include "platform/store/NameIndex.h"

#include <stdexcept>

namespace TAVGis::Store {

namespace {

constexpr std::uint64_t kFnvOffset = 1469598103934665603ULL;
constexpr std::uint64_t kFnvPrime = 1099511628211ULL;
constexpr std::size_t kMinSlots = 16;

constexpr unsigned char FoldAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// Spreads the FNV bits over the low bits used as the slot number.
constexpr std::uint64_t Mix(std::uint64_t h) {
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    return h;
}

std::size_t SlotsFor(std::size_t count) {
    std::size_t slots = kMinSlots;
    while (slots < 2 * count) slots *= 2;
    return slots;
}

}  // namespace

std::uint64_t CNameIndex::ExactHash(std::string_view text) {
    std::uint64_t hash = kFnvOffset;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= kFnvPrime;
    }
    return Mix(hash);
}

std::uint64_t CNameIndex::FoldedHash(std::string_view text) {
    std::uint64_t hash = kFnvOffset;
    for (const char c : text) {
        hash ^= FoldAscii(static_cast<unsigned char>(c));
        hash *= kFnvPrime;
    }
    return Mix(hash);
}

bool CNameIndex::FoldedEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(static_cast<unsigned char>(a[i])) != FoldAscii(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

void CNameIndex::Reserve(std::size_t count) {
    m_entries.reserve(count);
    if (m_table.slots.size() < SlotsFor(count)) Grow(m_table, count, m_match == EMatch::IgnoreCase);
}

template <bool Folded>
std::uint32_t CNameIndex::Lookup(const STable& table, std::string_view name) const {
    if (table.slots.empty()) return 0;
    const std::uint64_t hash = Folded ? FoldedHash(name) : ExactHash(name);
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    const std::size_t mask = table.slots.size() - 1;
    for (std::size_t slot = static_cast<std::size_t>(hash) & mask; table.slots[slot].entry != 0;
         slot = (slot + 1) & mask) {
        const SSlot& candidate = table.slots[slot];
        if (candidate.tag != tag) continue;
        const std::string& stored = m_entries[candidate.entry - 1].name;
        if (Folded ? FoldedEqual(stored, name) : stored == name) return candidate.entry;
    }
    return 0;
}

void CNameIndex::Insert(STable& table, std::uint32_t entry, std::uint64_t hash) {
    const std::size_t mask = table.slots.size() - 1;
    std::size_t slot = static_cast<std::size_t>(hash) & mask;
    while (table.slots[slot].entry != 0) slot = (slot + 1) & mask;
    table.slots[slot] = SSlot{entry, static_cast<std::uint32_t>(hash >> 32)};
    ++table.used;
}

void CNameIndex::Grow(STable& table, std::size_t wanted, bool folded) {
    STable grown;
    grown.slots.assign(SlotsFor(wanted), SSlot{});
    for (const SSlot& slot : table.slots) {
        if (slot.entry == 0) continue;
        const std::string& name = m_entries[slot.entry - 1].name;
        Insert(grown, slot.entry, folded ? FoldedHash(name) : ExactHash(name));
    }
    table = std::move(grown);
}

bool CNameIndex::Add(std::string_view name, std::size_t position) {
    const bool folded = m_match == EMatch::IgnoreCase;
    if ((folded ? Lookup<true>(m_table, name) : Lookup<false>(m_table, name)) != 0) return false;
    if (m_entries.size() >= kMaxEntries) throw std::length_error("CNameIndex: too many names");
    if (2 * (m_table.used + 1) > m_table.slots.size()) Grow(m_table, m_table.used + 1, folded);
    m_entries.push_back(SEntry{std::string(name), position});
    const auto entry = static_cast<std::uint32_t>(m_entries.size());
    Insert(m_table, entry, folded ? FoldedHash(name) : ExactHash(name));
    m_foldedValid = false;
    return true;
}

std::size_t CNameIndex::Find(std::string_view name) const {
    const std::uint32_t value =
        m_match == EMatch::IgnoreCase ? Lookup<true>(m_table, name) : Lookup<false>(m_table, name);
    return value == 0 ? npos : m_entries[value - 1].position;
}

std::size_t CNameIndex::FindLenient(std::string_view name) const {
    const std::size_t exact = Find(name);
    if (exact != npos || m_match == EMatch::IgnoreCase) return exact;
    if (!m_foldedValid) BuildFolded();
    // The companion holds one slot per folded spelling: the first entry of that spelling, with
    // kAmbiguousBit set when more than one name folds to it.
    if (m_foldedTable.slots.empty()) return npos;
    const std::uint64_t hash = FoldedHash(name);
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    const std::size_t mask = m_foldedTable.slots.size() - 1;
    for (std::size_t slot = static_cast<std::size_t>(hash) & mask; m_foldedTable.slots[slot].entry != 0;
         slot = (slot + 1) & mask) {
        const SSlot& candidate = m_foldedTable.slots[slot];
        const std::uint32_t entry = candidate.entry & ~kAmbiguousBit;
        if (candidate.tag == tag && FoldedEqual(m_entries[entry - 1].name, name))
            return (candidate.entry & kAmbiguousBit) ? npos : m_entries[entry - 1].position;
    }
    return npos;
}

void CNameIndex::BuildFolded() const {
    m_foldedTable.slots.assign(SlotsFor(m_entries.size()), SSlot{});
    m_foldedTable.used = 0;
    const std::size_t mask = m_foldedTable.slots.size() - 1;
    for (std::uint32_t entry = 1; entry <= m_entries.size(); ++entry) {
        const std::string& name = m_entries[entry - 1].name;
        const std::uint64_t hash = FoldedHash(name);
        const auto tag = static_cast<std::uint32_t>(hash >> 32);
        std::size_t slot = static_cast<std::size_t>(hash) & mask;
        bool merged = false;
        for (; m_foldedTable.slots[slot].entry != 0; slot = (slot + 1) & mask) {
            SSlot& candidate = m_foldedTable.slots[slot];
            if (candidate.tag == tag &&
                FoldedEqual(m_entries[(candidate.entry & ~kAmbiguousBit) - 1].name, name)) {
                candidate.entry |= kAmbiguousBit;
                merged = true;
                break;
            }
        }
        if (!merged) {
            m_foldedTable.slots[slot] = SSlot{entry, tag};
            ++m_foldedTable.used;
        }
    }
    m_foldedValid = true;
}

}  // namespace TAVGis::Store
