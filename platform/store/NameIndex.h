#pragma once
// CNameIndex: a map from element names to their positions in an import model, used by the file
// readers to find the element a later line refers to and to detect duplicate names.
//
// An index compares names either exactly (byte for byte: "1" and "001" differ, so do "J1" and "j1")
// or without regard to ASCII letter case ("C1" equals "c1", "1" still differs from "001"). Letters
// outside ASCII are compared exactly in both modes.
//
// Open addressing with linear probing over a power-of-two table kept at most half full: the readers
// index hundreds of thousands of names and look each up a few times.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace TAVGis::Store {

class CNameIndex {
public:
    enum class EMatch { Exact, IgnoreCase };
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    explicit CNameIndex(EMatch match) : m_match(match) {}

    void Reserve(std::size_t count);
    std::size_t Size() const { return m_entries.size(); }

    // Adds a name with its position; returns false (and changes nothing) when the index already holds
    // an equal name under its comparison.
    bool Add(std::string_view name, std::size_t position);

    // The position of the name under the index's comparison, or npos.
    std::size_t Find(std::string_view name) const;

    // For an exact index: the exact match if there is one, else the one name that equals it without
    // regard to letter case; npos when there is none or more than one. Same as Find otherwise.
    std::size_t FindLenient(std::string_view name) const;

    static std::uint64_t ExactHash(std::string_view text);
    static std::uint64_t FoldedHash(std::string_view text);
    static bool FoldedEqual(std::string_view a, std::string_view b);

private:
    struct SEntry {
        std::string name;
        std::size_t position = 0;
    };
    // A slot holds an entry number + 1 (0: empty) and the upper half of the name's hash, which spares
    // most string comparisons (and the cache misses of reaching the entry) while probing.
    struct SSlot {
        std::uint32_t entry = 0;
        std::uint32_t tag = 0;
    };
    struct STable {
        std::vector<SSlot> slots;
        std::size_t used = 0;
    };

    // Set on an entry number in the folded companion table when several names fold to its spelling.
    static constexpr std::uint32_t kAmbiguousBit = 0x80000000u;
    static constexpr std::size_t kMaxEntries = kAmbiguousBit - 1;

    template <bool Folded>
    std::uint32_t Lookup(const STable& table, std::string_view name) const;
    static void Insert(STable& table, std::uint32_t entry, std::uint64_t hash);
    void Grow(STable& table, std::size_t wanted, bool folded);
    void BuildFolded() const;

    EMatch m_match;
    std::vector<SEntry> m_entries;
    STable m_table;
    // Exact mode: a lazily built case-folded companion for FindLenient; names that fold together share
    // one slot marked with kAmbiguousBit.
    mutable STable m_foldedTable;
    mutable bool m_foldedValid = false;
};

}  // namespace TAVGis::Store
