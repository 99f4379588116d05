#pragma once
// CAttributeStore: the attribute values of one entity type of a drawing, stored by column (one column per
// definition) and by dense row (one row per entity), so a read or write is O(1) and a network of 200,000
// sections with 60 attributes stays compact. Integers are held in the number column of their definition.
// While a command records an undo journal, the first change of a column copies the column into the
// journal (one copy per column and command, however many of its values change).
// The store also keeps, per column, which rows changed since ClearChanges() (the last save or open of the
// drawing), at O(1) per change: a flag per row and the list of flagged rows, or, once more than half of a
// column's rows changed or a failed command restored the column, the whole column.
// A column can be left to read later: a drawing opened from a file hands the store a loader and marks the
// file's columns pending; the first use of a pending column (any read, write, count or iteration) has the
// loader fill it, without counting its values as changes. Opening a large drawing thus reads only the
// columns a session uses.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/gis/DataBox.h"
#include "platform/gis/DataDefinition.h"
#include "platform/host/UndoJournal.h"

namespace TAVGis::Data {

class CAttributeStore {
public:
    explicit CAttributeStore(int entityType)
        : m_entityType(entityType), m_bornAfter(TAVHost::UndoJournal::LatestSerial()) {}
    int EntityType() const { return m_entityType; }

    int AllocateRow() { return m_rows++; }
    int RowCount() const { return m_rows; }

    // Columns read on first use. The loader fills the columns it is given through LoadValue() and may throw
    // (the store then keeps them pending, and the exception reaches the caller of the access).
    using ColumnLoader = std::function<void(CAttributeStore&, const std::vector<const CDataDefinition*>&)>;
    void SetColumnLoader(ColumnLoader loader) { m_loader = std::move(loader); }
    void MarkPending(const CDataDefinition& def);
    bool IsPending(const CDataDefinition& def) const;
    // After a column was filled through LoadValue() by other means than the loader.
    void MarkLoaded(const CDataDefinition& def);
    // Drops what was read of a column whose reading failed and leaves it pending.
    void UnloadColumn(const CDataDefinition& def);
    // Has the loader fill every pending column of the given definitions at once: a calculation that reads
    // several columns of every entity asks for them together, in one pass over the file.
    void LoadPending(const std::vector<const CDataDefinition*>& defs) const;
    // Stores a value read from the file: not a change, not recorded for undo. Same conversions as Set().
    bool LoadValue(const CDataDefinition& def, int row, const CDataBox& value);

    // Fills the box (left null when nothing is stored).
    void Get(const CDataDefinition& def, int row, CDataBox& out) const;
    bool Has(const CDataDefinition& def, int row) const;
    // Stores the box; a null box erases. Fails when the value does not fit the definition's type
    // (a text that is not a number for a numeric definition).
    bool Set(const CDataDefinition& def, int row, const CDataBox& value);
    void Erase(const CDataDefinition& def, int row);
    // Number of stored values of one definition.
    std::size_t CountValues(const CDataDefinition& def) const;
    std::size_t MemoryBytes() const;

    // Change tracking since the last ClearChanges().
    bool HasChanges() const { return !m_changes.empty(); }
    // Calls f(row) once for every row of the definition's column that changed (every row of the store when
    // the whole column did), in no particular order. A pending column has no changes and stays pending.
    template <class F>
    void ForEachChangedRow(const CDataDefinition& def, F&& f) const {
        const auto col = static_cast<std::size_t>(def.GetColumn());
        if (col >= m_changes.size()) return;
        const Changes& c = m_changes[col];
        if (c.whole) {
            for (int row = 0; row < m_rows; ++row) f(row);
        } else {
            for (int row : c.rows) f(row);
        }
    }
    // True when every row of the definition's column counts as changed (a calculation rewrote the column).
    bool ColumnChangedWhole(const CDataDefinition& def) const {
        const auto col = static_cast<std::size_t>(def.GetColumn());
        return col < m_changes.size() && m_changes[col].whole;
    }
    void ClearChanges() { m_changes.clear(); }

private:
    struct Column {
        std::vector<double> numbers;
        std::vector<std::string> texts;
        std::vector<std::uint8_t> present;
    };
    Column& ColumnFor(const CDataDefinition& def, int row, bool track = true);
    const Column* FindColumn(const CDataDefinition& def) const;
    bool Assign(const CDataDefinition& def, int row, const CDataBox& value, bool track);
    // Reads the column first when it is pending.
    void EnsureLoaded(const CDataDefinition& def) const {
        const auto col = static_cast<std::size_t>(def.GetColumn());
        if (col < m_pending.size() && m_pending[col]) LoadNow({&def});
    }
    void LoadNow(const std::vector<const CDataDefinition*>& defs) const;
    // Before the first change of a column under an undo journal: records the column as it is.
    void RecordForUndo(std::size_t column);
    void MarkChanged(std::size_t column, int row);
    void MarkColumnChanged(std::size_t column);

    struct Changes {
        bool whole = false;
        std::vector<std::uint8_t> flagged;  // by row
        std::vector<int> rows;
    };

    int m_entityType;
    int m_rows = 0;
    std::vector<Column> m_columns;
    std::vector<std::uint64_t> m_recordedBy;  // by column: the serial of the journal that copied it
    std::uint64_t m_bornAfter;                // UndoJournal::LatestSerial() when the store was made
    std::vector<Changes> m_changes;           // by column; empty when nothing changed
    ColumnLoader m_loader;
    std::vector<std::uint8_t> m_pending;  // by column: still to be read by m_loader
};

// What carries attributes: an entity of the network, seen by the attribute store through its row.
class CAttributeHolder {
public:
    CAttributeHolder(int entityType, CAttributeStore* store)
        : m_entityType(entityType), m_store(store), m_row(store ? store->AllocateRow() : -1) {}
    virtual ~CAttributeHolder() = default;
    int GetEntityType() const { return m_entityType; }
    CAttributeStore* AttributeStore() const { return m_store; }
    int AttributeRow() const { return m_row; }

private:
    int m_entityType;
    CAttributeStore* m_store;
    int m_row;
};

}  // namespace TAVGis::Data
