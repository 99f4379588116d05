#include "platform/gis/AttributeStore.h"

#include <algorithm>

#include "platform/host/NumberText.h"
#include "platform/host/UndoJournal.h"

namespace TAVGis::Data {
namespace {
// A text stored in a numeric column: the whole text must be one finite number.
bool ParseNumber(const std::string& text, double& out) {
    const auto value = TAVHost::NumberText::ParseWhole(text);
    if (value) out = *value;
    return value.has_value();
}
}  // namespace

void CAttributeStore::RecordForUndo(std::size_t column) {
    auto* journal = TAVHost::UndoJournal::ActiveFor(m_bornAfter);
    if (!journal) return;
    if (m_columns.size() <= column) m_columns.resize(column + 1);
    if (m_recordedBy.size() < m_columns.size()) m_recordedBy.resize(m_columns.size(), 0);
    if (m_recordedBy[column] == journal->Serial()) return;
    m_recordedBy[column] = journal->Serial();
    journal->Record([this, column, saved = m_columns[column]]() mutable {
        m_columns[column] = std::move(saved);
        MarkColumnChanged(column);
    });
}

void CAttributeStore::MarkColumnChanged(std::size_t column) {
    if (m_changes.size() <= column) m_changes.resize(column + 1);
    Changes& c = m_changes[column];
    c.whole = true;
    std::vector<std::uint8_t>().swap(c.flagged);
    std::vector<int>().swap(c.rows);
}

void CAttributeStore::MarkChanged(std::size_t column, int row) {
    if (m_changes.size() <= column) m_changes.resize(column + 1);
    Changes& c = m_changes[column];
    if (c.whole) return;
    const auto r = static_cast<std::size_t>(row);
    if (c.flagged.size() <= r) c.flagged.resize(std::max(r + 1, static_cast<std::size_t>(m_rows)), 0);
    if (c.flagged[r]) return;
    c.flagged[r] = 1;
    c.rows.push_back(row);
    if (c.rows.size() > static_cast<std::size_t>(m_rows) / 2) MarkColumnChanged(column);
}

void CAttributeStore::MarkPending(const CDataDefinition& def) {
    const auto col = static_cast<std::size_t>(def.GetColumn());
    if (m_pending.size() <= col) m_pending.resize(col + 1, 0);
    m_pending[col] = 1;
}

bool CAttributeStore::IsPending(const CDataDefinition& def) const {
    const auto col = static_cast<std::size_t>(def.GetColumn());
    return col < m_pending.size() && m_pending[col];
}

void CAttributeStore::MarkLoaded(const CDataDefinition& def) {
    const auto col = static_cast<std::size_t>(def.GetColumn());
    if (col < m_pending.size()) m_pending[col] = 0;
}

void CAttributeStore::UnloadColumn(const CDataDefinition& def) {
    const auto col = static_cast<std::size_t>(def.GetColumn());
    if (col < m_columns.size()) m_columns[col] = Column{};
    MarkPending(def);
}

void CAttributeStore::LoadPending(const std::vector<const CDataDefinition*>& defs) const {
    std::vector<const CDataDefinition*> pending;
    for (const auto* def : defs)
        if (IsPending(*def) && std::find(pending.begin(), pending.end(), def) == pending.end())
            pending.push_back(def);
    if (!pending.empty()) LoadNow(pending);
}

// The store is logically unchanged by reading pending columns: it holds what it held, only now in memory.
void CAttributeStore::LoadNow(const std::vector<const CDataDefinition*>& defs) const {
    auto& self = const_cast<CAttributeStore&>(*this);
    // Cleared first so that the loader's own LoadValue calls do not come back here; restored (with the
    // columns emptied) when the loader fails.
    for (const auto* def : defs) self.MarkLoaded(*def);
    if (!m_loader) return;
    try {
        m_loader(self, defs);
    } catch (...) {
        for (const auto* def : defs) self.UnloadColumn(*def);
        throw;
    }
}

bool CAttributeStore::LoadValue(const CDataDefinition& def, int row, const CDataBox& value) {
    return Assign(def, row, value, false);
}

CAttributeStore::Column& CAttributeStore::ColumnFor(const CDataDefinition& def, int row, bool track) {
    auto col = static_cast<std::size_t>(def.GetColumn());
    if (track) RecordForUndo(col);
    if (m_columns.size() <= col) m_columns.resize(col + 1);
    Column& c = m_columns[col];
    auto need = static_cast<std::size_t>(row) + 1;
    if (c.present.size() < need) {
        std::size_t grow = std::max(need, static_cast<std::size_t>(m_rows));
        c.present.resize(grow, 0);
        if (def.GetValueType() == ValueType::Text)
            c.texts.resize(grow);
        else
            c.numbers.resize(grow, 0.0);
    }
    return c;
}

const CAttributeStore::Column* CAttributeStore::FindColumn(const CDataDefinition& def) const {
    auto col = static_cast<std::size_t>(def.GetColumn());
    return col < m_columns.size() ? &m_columns[col] : nullptr;
}

void CAttributeStore::Get(const CDataDefinition& def, int row, CDataBox& out) const {
    out.SetNull();
    EnsureLoaded(def);
    const Column* c = FindColumn(def);
    if (!c || row < 0 || static_cast<std::size_t>(row) >= c->present.size() || !c->present[row]) return;
    switch (def.GetValueType()) {
        case ValueType::Double:
            out.SetValue(c->numbers[row]);
            break;
        case ValueType::Int:
            out.SetValue(static_cast<int>(c->numbers[row]));
            break;
        case ValueType::Text:
            out.SetValue(c->texts[row]);
            break;
    }
}

bool CAttributeStore::Has(const CDataDefinition& def, int row) const {
    EnsureLoaded(def);
    const Column* c = FindColumn(def);
    return c && row >= 0 && static_cast<std::size_t>(row) < c->present.size() && c->present[row];
}

bool CAttributeStore::Set(const CDataDefinition& def, int row, const CDataBox& value) {
    EnsureLoaded(def);
    return Assign(def, row, value, true);
}

bool CAttributeStore::Assign(const CDataDefinition& def, int row, const CDataBox& value, bool track) {
    if (row < 0 || row >= m_rows) return false;
    if (value.IsNull()) {
        if (track) Erase(def, row);
        return true;
    }
    if (def.GetValueType() == ValueType::Text) {
        Column& c = ColumnFor(def, row, track);
        c.texts[row] = value.ToString();
        c.present[row] = 1;
        if (track) MarkChanged(static_cast<std::size_t>(def.GetColumn()), row);
        return true;
    }
    double number = 0.0;
    if (value.IsDouble() || value.IsInt())
        number = value.ToDouble();
    else if (!value.IsText() || !ParseNumber(value.ToString(), number))
        return false;
    Column& c = ColumnFor(def, row, track);
    c.numbers[row] =
        def.GetValueType() == ValueType::Int ? static_cast<double>(static_cast<int>(number)) : number;
    c.present[row] = 1;
    if (track) MarkChanged(static_cast<std::size_t>(def.GetColumn()), row);
    return true;
}

void CAttributeStore::Erase(const CDataDefinition& def, int row) {
    EnsureLoaded(def);
    auto col = static_cast<std::size_t>(def.GetColumn());
    if (col >= m_columns.size()) return;
    if (row < 0 || static_cast<std::size_t>(row) >= m_columns[col].present.size()) return;
    RecordForUndo(col);
    Column& c = m_columns[col];
    c.present[row] = 0;
    if (def.GetValueType() == ValueType::Text) std::string().swap(c.texts[row]);
    MarkChanged(col, row);
}

std::size_t CAttributeStore::CountValues(const CDataDefinition& def) const {
    EnsureLoaded(def);
    const Column* c = FindColumn(def);
    if (!c) return 0;
    std::size_t n = 0;
    for (auto p : c->present) n += p;
    return n;
}

std::size_t CAttributeStore::MemoryBytes() const {
    std::size_t bytes = 0;
    for (const auto& c : m_columns) {
        bytes += c.numbers.capacity() * sizeof(double) + c.present.capacity() +
                 c.texts.capacity() * sizeof(std::string);
        for (const auto& t : c.texts) bytes += t.capacity() > 15 ? t.capacity() : 0;
    }
    return bytes;
}

}  // namespace TAVGis::Data
