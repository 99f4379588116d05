#include "ScriptRunner.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "platform/gis/DataConfiguration.h"
#include "platform/gis/DataRW.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/gis/SystemManager.h"
#include "platform/host/CommandStack.h"
#include "platform/host/NumberText.h"
#include "platform/network/TopologyMultiStorage.h"
#include "platform/ui/AcUiTabMainDialog.h"
#include "platform/ui/EditableList.h"

using TAVGis::Data::CDataBox;
using TAVGis::Data::CDataRW;
using TAVUi::CAdUiBaseDialog;
using TAVUi::CControl;
using TAVUi::ControlKind;
using TAVUi::Notification;

namespace {

TAVGis::Topology::CTopologyStorage& Topology() {
    return *TAVGis::Topology::CTopologyMultiStorage::GetInstance()->GetTopology();
}

std::string FormatNumber(double v) {
    return TAVHost::NumberText::General(v, 10);
}

std::string FormatBox(const CDataBox& box) {
    if (box.IsNull()) return "missing";
    if (box.IsDouble()) return FormatNumber(box.ToDouble());
    return Quote(box.ToString());
}

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else
            out += c;
    }
    return out;
}

}  // namespace

std::string DescribeControl(const CControl& c, bool withContents) {
    std::string s = "control " + std::to_string(c.id) + " " + c.name + " " + TAVUi::ControlKindName(c.kind) +
                    " text=" + Quote(c.text);
    if (!c.enabled) s += " disabled";
    if (!c.visible) s += " hidden";
    if (c.kind == ControlKind::Check || c.kind == ControlKind::Radio)
        s += c.checked ? " checked" : " unchecked";
    if (c.bold) s += " bold";
    if (c.textColor) s += " color=" + TAVUi::RgbText(*c.textColor);
    if (c.faceColor) s += " face=" + TAVUi::RgbText(*c.faceColor);
    if (!c.tooltip.empty()) s += " tooltip=" + Quote(c.tooltip);
    if (c.kind == ControlKind::Combo || c.kind == ControlKind::Tab ||
        (c.kind == ControlKind::List && c.columns.empty()))
        s += " sel=" + std::to_string(c.curSel);
    s += "\n";
    if (!withContents) return s;
    for (std::size_t i = 0; i < c.items.size(); ++i)
        s += "  item " + std::to_string(i) + (static_cast<int>(i) == c.curSel ? " * " : "   ") +
             Quote(c.items[i].text) + "\n";
    if (!c.columns.empty()) {
        s += "  columns";
        for (const auto& col : c.columns) s += " " + Quote(col.header) + ":" + std::to_string(col.width);
        s += "\n";
    }
    const auto* editable = TAVUi::CEditableList::Of(c);
    for (std::size_t r = 0; r < c.rows.size(); ++r) {
        const auto& row = c.rows[r];
        s += "  row " + std::to_string(r) + (row.selected ? " * " : "   ");
        if (editable) {
            const int ri = static_cast<int>(r);
            s += editable->HasCheck(ri) ? (editable->IsChecked(ri) ? "[x] " : "[ ] ") : "    ";
        }
        for (std::size_t k = 0; k < row.cells.size(); ++k) {
            const auto& cell = row.cells[k];
            s += (k ? " | " : "") + Quote(cell.text);
            if (cell.textColor) s += "{" + TAVUi::RgbText(*cell.textColor) + "}";
            if (cell.backColor) s += "{bg " + TAVUi::RgbText(*cell.backColor) + "}";
        }
        s += "\n";
    }
    std::vector<std::pair<int, int>> stack;
    for (int h : const_cast<CControl&>(c).TreeChildren(0)) stack.push_back({h, 0});
    while (!stack.empty()) {
        auto [h, depth] = stack.front();
        stack.erase(stack.begin());
        auto* t = const_cast<CControl&>(c).FindTreeItem(h);
        s += "  " + std::string(static_cast<std::size_t>(depth) * 2, ' ') + "node " + Quote(t->text) +
             (t->expanded ? " expanded" : "") + (c.selectedTreeItem == h ? " *" : "") + "\n";
        auto kids = const_cast<CControl&>(c).TreeChildren(h);
        std::vector<std::pair<int, int>> sub;
        for (int k : kids) sub.push_back({k, depth + 1});
        stack.insert(stack.begin(), sub.begin(), sub.end());
    }
    return s;
}

ScriptRunner::ScriptRunner(ModuleHost& module, std::vector<Statement> statements, std::string fileName,
                           std::FILE* out)
    : m_module(module), m_statements(std::move(statements)), m_fileName(std::move(fileName)), m_out(out) {}

std::string ScriptRunner::Where(const Statement& st) const {
    return m_fileName + ":" + std::to_string(st.line);
}

void ScriptRunner::Fail(const Statement& st, const std::string& message) const {
    throw ScriptError(Where(st), message);
}

void ScriptRunner::ExpectationFailed(const Statement& st, const std::string& message) {
    ++m_failures;
    std::fprintf(m_out, "FAILED %s: %s\n", Where(st).c_str(), message.c_str());
}

void ScriptRunner::Need(const Statement& st, std::size_t minWords, const char* usage) const {
    if (st.words.size() < minWords) Fail(st, std::string("usage: ") + usage);
}

double ScriptRunner::Number(const Statement& st, const std::string& word) const {
    double v = 0;
    auto [p, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (ec != std::errc() || p != word.data() + word.size() || !std::isfinite(v))
        Fail(st, "'" + word + "' is not a number");
    return v;
}

int ScriptRunner::Integer(const Statement& st, const std::string& word) const {
    int v = 0;
    auto [p, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (ec != std::errc() || p != word.data() + word.size()) Fail(st, "'" + word + "' is not a whole number");
    return v;
}

int ScriptRunner::Run() {
    while (m_next < m_statements.size()) {
        const Statement& st = m_statements[m_next++];
        Execute(st, nullptr);
    }
    std::fflush(m_out);
    return m_failures;
}

void ScriptRunner::Execute(const Statement& st, CAdUiBaseDialog* dialog) {
    const std::string& verb = st.words[0];
    if (ExecuteNetworkVerb(st)) return;
    if (verb == "command") {
        Need(st, 2, "command NAME");
        if (dialog) Fail(st, "a dialog is open: close it before running another command");
        bool found = false;
        for (const auto& c : m_module.Commands()) found = found || c.name == st.words[1];
        if (!found && !acedRegCmds()->lookupGlobalCmd(st.words[1]))
            Fail(st, "unknown command '" + st.words[1] + "'");
        if (!m_module.Invoke(st.words[1])) Fail(st, "command '" + st.words[1] + "' cannot be invoked");
        return;
    }
    if (dialog && ExecuteDialogVerb(st, *dialog)) return;
    static const char* dialogVerbs[] = {
        "set",          "check",          "choose",         "click",        "expect",
        "dump",         "close",          "type",           "key",          "select",
        "controls",     "expect-checked", "expect-enabled", "expect-count", "expect-cell",
        "expect-title", "check-row",      "edit-cell",      "set-property", "expect-row-checked"};
    for (const char* v : dialogVerbs)
        if (verb == v) Fail(st, "'" + verb + "' needs an open dialog");
    Fail(st, "unknown statement '" + verb + "'");
}

bool ScriptRunner::ExecuteNetworkVerb(const Statement& st) {
    const std::string& verb = st.words[0];
    const auto& w = st.words;
    if (verb == "echo") {
        std::string line;
        for (std::size_t i = 1; i < w.size(); ++i) line += (i > 1 ? " " : "") + w[i];
        std::fprintf(m_out, "%s\n", line.c_str());
        return true;
    }
    if (verb == "system") {
        Need(st, 3, "system NAME FUNCTION [active]");
        auto sys = TAVGis::System::CSystemManager::AddSystem(w[1], Integer(st, w[2]));
        sys->SetSystemFunction(Integer(st, w[2]));
        m_system = sys;
        if (w.size() > 3) {
            if (w[3] != "active") Fail(st, "expected 'active' after the function, not '" + w[3] + "'");
            TAVGis::System::CSystemManager::SetActiveSystem(sys);
        }
        return true;
    }
    if (verb == "active") {
        Need(st, 2, "active SYSTEM|none");
        if (w[1] == "none") {
            TAVGis::System::CSystemManager::SetActiveSystem({});
            return true;
        }
        auto sys = TAVGis::System::CSystemManager::FindSystem(w[1]);
        if (!sys) Fail(st, "unknown system '" + w[1] + "'");
        TAVGis::System::CSystemManager::SetActiveSystem(sys);
        m_system = sys;
        return true;
    }
    if (verb == "node") {
        Need(st, 4, "node NAME X Y [TERRAIN]");
        if (!m_system) Fail(st, "define a system first");
        std::optional<double> terrain;
        if (w.size() > 4) terrain = Number(st, w[4]);
        if (Topology().FindNodeByName(w[1])) Fail(st, "node '" + w[1] + "' exists already");
        Topology().AddNode(w[1], Number(st, w[2]), Number(st, w[3]), m_system, terrain);
        return true;
    }
    if (verb == "section") {
        Need(st, 4, "section NAME FROM TO [X Y]...");
        if (!m_system) Fail(st, "define a system first");
        auto from = Topology().FindNodeByName(w[2]);
        auto to = Topology().FindNodeByName(w[3]);
        if (!from) Fail(st, "unknown node '" + w[2] + "'");
        if (!to) Fail(st, "unknown node '" + w[3] + "'");
        if ((w.size() - 4) % 2 != 0) Fail(st, "vertices come in pairs X Y");
        std::vector<TAVHost::Point2d> vertices;
        for (std::size_t i = 4; i + 1 < w.size(); i += 2)
            vertices.push_back({Number(st, w[i]), Number(st, w[i + 1])});
        if (Topology().FindSectionByName(w[1])) Fail(st, "section '" + w[1] + "' exists already");
        Topology().AddSection(w[1], from, to, m_system, std::move(vertices));
        return true;
    }
    if (verb == "levels") {
        Need(st, 4, "levels SECTION START END");
        auto s = Topology().FindSectionByName(w[1]);
        if (!s) Fail(st, "unknown section '" + w[1] + "'");
        s->SetLevels(Number(st, w[2]), Number(st, w[3]));
        return true;
    }
    if (verb == "catchment") {
        Need(st, 5, "catchment NAME SECTION KIND AREA_HA [DENSITY [RUNOFF]]");
        if (!m_system) Fail(st, "define a system first");
        auto s = Topology().FindSectionByName(w[2]);
        if (!s) Fail(st, "unknown section '" + w[2] + "'");
        int kind = Integer(st, w[3]);
        if (kind != 1 && kind != 2 && kind != 4) Fail(st, "catchment kind is 1, 2 or 4");
        if (Topology().FindCatchmentByName(w[1])) Fail(st, "catchment area '" + w[1] + "' exists already");
        auto a = Topology().AddCatchmentArea(w[1], m_system);
        a->kind = kind;
        a->areaHa = Number(st, w[4]);
        if (w.size() > 5) a->densityInhabPerHa = Number(st, w[5]);
        if (w.size() > 6) a->runoffCoefficient = Number(st, w[6]);
        Topology().LinkCatchment(a, s->GetGuid());
        return true;
    }
    if (verb == "attr" || verb == "unattr") {
        Need(st, verb == "attr" ? 4 : 3,
             verb == "attr" ? "attr ENTITY ATTRIBUTE VALUE" : "unattr ENTITY ATTRIBUTE");
        auto e = Topology().FindEntityByName(w[1]);
        if (!e) Fail(st, "unknown entity '" + w[1] + "'");
        const auto* def =
            TAVGis::Data::CDataConfiguration::GetInstance().GetDataDefinition(e->GetEntityType(), w[2]);
        if (!def) Fail(st, "'" + w[1] + "' has no attribute '" + w[2] + "'");
        if (verb == "unattr") {
            CDataRW::Delete(w[2], e);
            return true;
        }
        CDataBox box;
        if (def->GetValueType() == TAVGis::Data::ValueType::Text)
            box = CDataBox(w[3]);
        else if (def->GetValueType() == TAVGis::Data::ValueType::Int)
            box = CDataBox(Integer(st, w[3]));
        else
            box = CDataBox(Number(st, w[3]));
        if (!CDataRW::Write(def, e, box)) Fail(st, "cannot write '" + w[2] + "'");
        return true;
    }
    if (verb == "print") {
        Need(st, 3, "print ENTITY ATTRIBUTE...");
        auto e = Topology().FindEntityByName(w[1]);
        if (!e) Fail(st, "unknown entity '" + w[1] + "'");
        std::string line = e->GetName();
        for (std::size_t i = 2; i < w.size(); ++i) {
            if (!TAVGis::Data::CDataConfiguration::GetInstance().GetDataDefinition(e->GetEntityType(), w[i]))
                Fail(st, "'" + w[1] + "' has no attribute '" + w[i] + "'");
            CDataBox box;
            CDataRW::Read(w[i], e, box);
            line += " " + w[i] + "=" + FormatBox(box);
        }
        std::fprintf(m_out, "%s\n", line.c_str());
        return true;
    }
    if (verb == "expect-attr") {
        Need(st, 4, "expect-attr ENTITY ATTRIBUTE VALUE|missing [TOLERANCE]");
        auto e = Topology().FindEntityByName(w[1]);
        if (!e) Fail(st, "unknown entity '" + w[1] + "'");
        const auto* def =
            TAVGis::Data::CDataConfiguration::GetInstance().GetDataDefinition(e->GetEntityType(), w[2]);
        if (!def) Fail(st, "'" + w[1] + "' has no attribute '" + w[2] + "'");
        CDataBox box;
        CDataRW::Read(def, e, box);
        const std::string& want = w[3];
        if (want == "missing") {
            if (box.IsNotNull())
                ExpectationFailed(st, w[1] + " " + w[2] + " is " + FormatBox(box) + ", expected missing");
            return true;
        }
        if (def->GetValueType() == TAVGis::Data::ValueType::Text) {
            if (box.IsNull() || box.ToString() != want)
                ExpectationFailed(st,
                                  w[1] + " " + w[2] + " is " + FormatBox(box) + ", expected " + Quote(want));
            return true;
        }
        double expected = Number(st, want);
        double tol = w.size() > 4 ? Number(st, w[4]) : 1e-9;
        if (box.IsNull() || std::fabs(box.ToDouble() - expected) > tol)
            ExpectationFailed(st, w[1] + " " + w[2] + " is " + FormatBox(box) + ", expected " + want +
                                      " (tolerance " + FormatNumber(tol) + ")");
        return true;
    }
    if (verb == "pick") {
        std::vector<std::string> names(w.begin() + 1, w.end());
        for (const auto& n : names)
            if (!Topology().FindEntityByName(n)) Fail(st, "unknown entity '" + n + "'");
        m_picks.push_back(std::move(names));
        return true;
    }
    if (verb == "file") {
        Need(st, 2, "file PATH");
        m_files.push_back(w[1]);
        return true;
    }
    if (verb == "clipboard") {
        Need(st, 2, "clipboard TEXT");
        m_clipboard = w[1];
        return true;
    }
    if (verb == "color") {
        Need(st, 2, "color INDEX|cancel");
        if (w[1] == "cancel")
            m_colors.push_back(std::nullopt);
        else
            m_colors.push_back(Integer(st, w[1]));
        return true;
    }
    return false;
}

CControl& ScriptRunner::Control(const Statement& st, CAdUiBaseDialog& dialog, const std::string& word,
                                CAdUiBaseDialog** owner) {
    if (auto* page = dialog.ActivePage()) {
        if (auto* c = page->FindControl(word)) {
            if (owner) *owner = page;
            return *c;
        }
    }
    if (auto* c = dialog.FindControl(word)) {
        if (owner) *owner = &dialog;
        return *c;
    }
    Fail(st, "dialog " + std::to_string(dialog.TemplateId()) + " has no control '" + word + "'");
}

bool ScriptRunner::ExecuteDialogVerb(const Statement& st, CAdUiBaseDialog& dialog) {
    const std::string& verb = st.words[0];
    const auto& w = st.words;
    CAdUiBaseDialog* owner = nullptr;
    auto needEnabled = [&](const CControl& c) {
        if (!c.enabled || !c.visible)
            Fail(st, "control '" + w[1] + "' is " + (c.enabled ? "hidden" : "disabled"));
    };
    if (verb == "close") {
        dialog.OnCancel();
        return true;
    }
    if (verb == "controls") {
        std::fprintf(m_out, "dialog %d %s\n", dialog.TemplateId(), Quote(dialog.GetWindowText()).c_str());
        for (auto* c : dialog.Controls()) std::fputs(DescribeControl(*c, false).c_str(), m_out);
        if (auto* page = dialog.ActivePage()) {
            std::fprintf(m_out, "page %d %s\n", page->TemplateId(), Quote(page->GetWindowText()).c_str());
            for (auto* c : page->Controls()) std::fputs(DescribeControl(*c, false).c_str(), m_out);
        }
        return true;
    }
    if (verb == "expect-title") {
        Need(st, 2, "expect-title TEXT");
        if (dialog.GetWindowText() != w[1])
            ExpectationFailed(st, "title is " + Quote(dialog.GetWindowText()) + ", expected " + Quote(w[1]));
        return true;
    }
    if (verb == "dump") {
        Need(st, 2, "dump CONTROL");
        std::fputs(DescribeControl(Control(st, dialog, w[1]), true).c_str(), m_out);
        return true;
    }
    if (verb == "set") {
        Need(st, 3, "set CONTROL TEXT");
        CControl& c = Control(st, dialog, w[1], &owner);
        needEnabled(c);
        if (c.kind != ControlKind::Edit && !(c.kind == ControlKind::Combo && c.hasEdit))
            Fail(st, "control '" + w[1] + "' takes no typed text");
        c.SetWindowText(w[2]);
        c.selStart = c.selEnd = static_cast<int>(c.text.size());
        owner->Notify(c.id, Notification::Changed);
        return true;
    }
    if (verb == "type") {
        Need(st, 3, "type CONTROL TEXT");
        CControl& c = Control(st, dialog, w[1], &owner);
        needEnabled(c);
        if (c.kind != ControlKind::Edit) Fail(st, "control '" + w[1] + "' is not an edit field");
        for (char ch : w[2]) {
            std::string before = c.text;
            if (!(c.behavior && c.behavior->OnChar(c, ch)) && !c.readOnly) {
                int a = std::min(c.selStart, c.selEnd), b = std::max(c.selStart, c.selEnd);
                a = std::clamp(a, 0, static_cast<int>(c.text.size()));
                b = std::clamp(b, a, static_cast<int>(c.text.size()));
                c.text.replace(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a), 1, ch);
                c.selStart = c.selEnd = a + 1;
            }
            if (c.text != before) owner->Notify(c.id, Notification::Changed);
        }
        return true;
    }
    if (verb == "caret") {
        Need(st, 3, "caret CONTROL START [END]");
        CControl& c = Control(st, dialog, w[1]);
        c.selStart = Integer(st, w[2]);
        c.selEnd = w.size() > 3 ? Integer(st, w[3]) : c.selStart;
        return true;
    }
    if (verb == "check") {
        Need(st, 3, "check CONTROL 0|1");
        CControl& c = Control(st, dialog, w[1], &owner);
        needEnabled(c);
        if (c.kind != ControlKind::Check && c.kind != ControlKind::Radio)
            Fail(st, "control '" + w[1] + "' is not a check box or radio");
        int want = Integer(st, w[2]);
        if (want != 0 && want != 1) Fail(st, "check takes 0 or 1");
        if (c.checked != want) owner->Notify(c.id, Notification::Clicked);
        return true;
    }
    if (verb == "click") {
        Need(st, 2, "click CONTROL");
        CControl& c = Control(st, dialog, w[1], &owner);
        needEnabled(c);
        owner->Notify(c.id, Notification::Clicked);
        return true;
    }
    if (verb == "choose") {
        Need(st, 3, "choose CONTROL INDEX|\"TEXT\"");
        CControl& c = Control(st, dialog, w[1], &owner);
        needEnabled(c);
        int index = -1;
        int n = 0;
        auto [p, ec] = std::from_chars(w[2].data(), w[2].data() + w[2].size(), n);
        bool numeric = ec == std::errc() && p == w[2].data() + w[2].size();
        if (c.kind == ControlKind::Tree) {
            for (const auto& t : c.treeItems)
                if (t.text == w[2] && index < 0) index = t.handle;
            if (index < 0) Fail(st, "tree '" + w[1] + "' has no item " + Quote(w[2]));
            c.selectedTreeItem = index;
            owner->Notify(c.id, Notification::SelChange);
            return true;
        }
        index = numeric ? n : c.FindStringExact(w[2]);
        if (index < 0 || index >= static_cast<int>(c.items.size()))
            Fail(st, "control '" + w[1] + "' has no entry " + Quote(w[2]));
        if (c.kind == ControlKind::Tab) {
            if (auto* host = dynamic_cast<TAVUi::CAcUiTabMainDialog*>(owner)) {
                host->ChooseTab(index);
                return true;
            }
        }
        c.SetCurSel(index);
        owner->Notify(c.id, Notification::SelChange);
        return true;
    }
    if (verb == "select") {
        Need(st, 2, "select CONTROL [ROW...]");
        CControl& c = Control(st, dialog, w[1], &owner);
        for (auto& r : c.rows) r.selected = false;
        for (std::size_t i = 2; i < w.size(); ++i) {
            int r = Integer(st, w[i]);
            if (r < 0 || r >= static_cast<int>(c.rows.size()))
                Fail(st, "list '" + w[1] + "' has no row " + w[i]);
            c.rows[static_cast<std::size_t>(r)].selected = true;
        }
        owner->Notify(c.id, Notification::ItemChanged);
        return true;
    }
    if (verb == "check-row" || verb == "edit-cell" || verb == "expect-row-checked") {
        const bool edit = verb == "edit-cell";
        Need(st, edit ? 5 : 4,
             edit ? "edit-cell CONTROL ROW COLUMN TEXT" : "check-row|expect-row-checked CONTROL ROW 0|1");
        CControl& c = Control(st, dialog, w[1], &owner);
        auto* list = TAVUi::CEditableList::Of(c);
        if (!list) Fail(st, "control '" + w[1] + "' is not an editable list");
        const int row = Integer(st, w[2]);
        if (row < 0 || row >= list->RowCount()) Fail(st, "list '" + w[1] + "' has no row " + w[2]);
        if (edit) {
            needEnabled(c);
            if (!list->EditCell(row, Integer(st, w[3]), w[4]))
                Fail(st, "cell " + w[2] + "," + w[3] + " of '" + w[1] + "' cannot be edited");
            return true;
        }
        const int want = Integer(st, w[3]);
        if (want != 0 && want != 1) Fail(st, verb + " takes 0 or 1");
        if (verb == "expect-row-checked") {
            if ((list->IsChecked(row) ? 1 : 0) != want)
                ExpectationFailed(st, "row " + w[2] + " of '" + w[1] + "' checked is " +
                                          (list->IsChecked(row) ? "1" : "0") + ", expected " + w[3]);
            return true;
        }
        needEnabled(c);
        if (!list->HasCheck(row)) Fail(st, "row " + w[2] + " of '" + w[1] + "' has no check box");
        if ((list->IsChecked(row) ? 1 : 0) != want) list->ClickCheck(row);
        return true;
    }
    if (verb == "set-property") {
        // A value typed into a property grid (an editable list of name and value rows): the row whose
        // first cell is NAME. A value the grid refuses leaves the row as it was; the grid says why.
        Need(st, 4, "set-property CONTROL NAME TEXT");
        CControl& c = Control(st, dialog, w[1], &owner);
        auto* list = TAVUi::CEditableList::Of(c);
        if (!list) Fail(st, "control '" + w[1] + "' is not a property grid");
        needEnabled(c);
        int row = -1;
        for (int r = 0; r < list->RowCount() && row < 0; ++r)
            if (list->GetText(r, 0) == w[2]) row = r;
        if (row < 0) Fail(st, "property grid '" + w[1] + "' has no property " + Quote(w[2]));
        if (!list->IsEditable(row, 1))
            Fail(st, "property " + Quote(w[2]) + " of '" + w[1] + "' cannot be edited");
        list->EditCell(row, 1, w[3]);
        return true;
    }
    if (verb == "key") {
        Need(st, 3, "key CONTROL KEYS");
        CControl& c = Control(st, dialog, w[1], &owner);
        owner->SetLastKey(w[2]);
        owner->Notify(c.id, Notification::KeyDown);
        return true;
    }
    if (verb == "expect") {
        Need(st, 3, "expect CONTROL TEXT");
        CControl& c = Control(st, dialog, w[1]);
        if (c.text != w[2])
            ExpectationFailed(st,
                              "control '" + w[1] + "' shows " + Quote(c.text) + ", expected " + Quote(w[2]));
        return true;
    }
    if (verb == "expect-checked" || verb == "expect-enabled") {
        Need(st, 3, "expect-checked|expect-enabled CONTROL 0|1");
        CControl& c = Control(st, dialog, w[1]);
        int want = Integer(st, w[2]);
        int have = verb == "expect-checked" ? c.checked : (c.enabled ? 1 : 0);
        if (have != want)
            ExpectationFailed(st, "control '" + w[1] + "' " +
                                      (verb == "expect-checked" ? "checked" : "enabled") + " is " +
                                      std::to_string(have) + ", expected " + w[2]);
        return true;
    }
    if (verb == "expect-count") {
        Need(st, 3, "expect-count CONTROL N");
        CControl& c = Control(st, dialog, w[1]);
        int have = static_cast<int>(!c.rows.empty() || !c.columns.empty() ? c.rows.size() : c.items.size());
        if (have != Integer(st, w[2]))
            ExpectationFailed(
                st, "control '" + w[1] + "' has " + std::to_string(have) + " entries, expected " + w[2]);
        return true;
    }
    if (verb == "expect-cell") {
        Need(st, 5, "expect-cell CONTROL ROW COLUMN TEXT");
        CControl& c = Control(st, dialog, w[1]);
        std::string have = c.GetItemText(Integer(st, w[2]), Integer(st, w[3]));
        if (have != w[4])
            ExpectationFailed(st, "cell " + w[2] + "," + w[3] + " of '" + w[1] + "' is " + Quote(have) +
                                      ", expected " + Quote(w[4]));
        return true;
    }
    return false;
}

void ScriptRunner::Alert(const std::string& text) {
    if (auto n = TAVGis::CModuleConfiguration::FindMsgNumber(text))
        std::fprintf(m_out, "alert [%d]: %s\n", *n, text.c_str());
    else
        std::fprintf(m_out, "alert: %s\n", text.c_str());
}

void ScriptRunner::Print(const std::string& text) {
    std::fputs(text.c_str(), m_out);
}

int ScriptRunner::RunModal(CAdUiBaseDialog& dialog) {
    while (!dialog.IsEnded()) {
        if (m_next >= m_statements.size()) {
            std::fprintf(m_out, "note: the script ended with dialog %d open; it is closed\n",
                         dialog.TemplateId());
            dialog.OnCancel();
            if (!dialog.IsEnded()) dialog.EndDialog(TAVUi::IDCANCEL);
            break;
        }
        const Statement& st = m_statements[m_next++];
        Execute(st, &dialog);
    }
    return dialog.Result();
}

void ScriptRunner::Unanswered(const std::string& prompt, const std::vector<std::string>& candidates) {
    std::string line = "question: " + Escape(prompt);
    if (!candidates.empty()) {
        line += " (";
        for (std::size_t i = 0; i < candidates.size(); ++i) line += (i ? ", " : "") + candidates[i];
        line += ")";
    }
    std::fprintf(m_out, "%s: no answer\n", line.c_str());
}

std::optional<std::string> ScriptRunner::GetString(const std::string& prompt) {
    Unanswered(prompt, {});
    return std::nullopt;
}

std::vector<std::string> ScriptRunner::Pick(const TAVHost::PickRequest& request) {
    if (m_picks.empty()) {
        Unanswered(request.prompt, request.candidates);
        return {};
    }
    auto answer = std::move(m_picks.front());
    m_picks.pop_front();
    return answer;
}

std::optional<std::string> ScriptRunner::GetFile(const TAVHost::FileRequest&) {
    if (m_files.empty()) return std::nullopt;
    auto f = m_files.front();
    m_files.pop_front();
    return f;
}

std::optional<int> ScriptRunner::ChooseColor(int, bool) {
    if (m_colors.empty()) return std::nullopt;
    auto c = m_colors.front();
    m_colors.pop_front();
    return c;
}

void ScriptRunner::SetClipboardText(const std::string& utf8) {
    m_clipboard = utf8;
    std::fprintf(m_out, "clipboard: %s\n", Escape(utf8).c_str());
}
