#include "platform/ui/DialogTemplate.h"

#include <charconv>
#include <mutex>
#include <stdexcept>

namespace TAVUi {
namespace {

struct KindName {
    ControlKind kind;
    const char* name;
};
constexpr KindName kKinds[] = {{ControlKind::Button, "button"},
                               {ControlKind::Check, "check"},
                               {ControlKind::Radio, "radio"},
                               {ControlKind::Edit, "edit"},
                               {ControlKind::Static, "static"},
                               {ControlKind::Group, "group"},
                               {ControlKind::Combo, "combo"},
                               {ControlKind::List, "list"},
                               {ControlKind::Tree, "tree"},
                               {ControlKind::Tab, "tab"},
                               {ControlKind::Placeholder, "placeholder"},
                               {ControlKind::Selection, "selection"},
                               {ControlKind::Bitmap, "bitmap"}};

// Splits a line into words; double-quoted words may hold blanks and \" or \\ escapes.
std::vector<std::string> Words(const std::string& line, bool& ok) {
    std::vector<std::string> out;
    ok = true;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        if (i >= line.size()) break;
        std::string w;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char c = line[i++];
                if (c == '\\' && i < line.size()) {
                    w += line[i++];
                } else if (c == '"') {
                    closed = true;
                    break;
                } else {
                    w += c;
                }
            }
            if (!closed) ok = false;
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') w += line[i++];
        }
        out.push_back(w);
    }
    return out;
}

int ToInt(const std::string& s, const std::string& where) {
    int v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size())
        throw std::runtime_error(where + ": '" + s + "' is not a whole number");
    return v;
}

}  // namespace

const char* ControlKindName(ControlKind kind) {
    for (const auto& k : kKinds)
        if (k.kind == kind) return k.name;
    return "?";
}

std::optional<ControlKind> ParseControlKind(const std::string& word) {
    for (const auto& k : kKinds)
        if (word == k.name) return k.kind;
    return std::nullopt;
}

const ControlTemplate* DialogTemplate::FindControl(int cid) const {
    for (const auto& c : controls)
        if (c.id == cid) return &c;
    return nullptr;
}

const ControlTemplate* DialogTemplate::FindControl(const std::string& cname) const {
    for (const auto& c : controls)
        if (c.name == cname) return &c;
    return nullptr;
}

std::vector<DialogTemplate> ParseDialogTemplates(const std::string& text, const std::string& fileName) {
    std::vector<DialogTemplate> out;
    DialogTemplate* current = nullptr;
    std::size_t pos = 0;
    int lineNo = 0;
    std::string lastRadioGroup;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        const std::string where = fileName + ":" + std::to_string(lineNo);
        bool ok = true;
        auto w = Words(line, ok);
        if (!ok) throw std::runtime_error(where + ": unterminated quoted text");
        if (w.empty() || w[0].starts_with("#")) continue;
        if (w[0] == "DIALOG") {
            if (current) throw std::runtime_error(where + ": DIALOG inside a dialog (missing END)");
            if (w.size() != 6)
                throw std::runtime_error(where + ": DIALOG needs: id name \"caption\" width height");
            out.emplace_back();
            current = &out.back();
            current->id = ToInt(w[1], where);
            current->name = w[2];
            current->caption = w[3];
            current->width = ToInt(w[4], where);
            current->height = ToInt(w[5], where);
            lastRadioGroup.clear();
        } else if (w[0] == "CONTROL") {
            if (!current) throw std::runtime_error(where + ": CONTROL outside a dialog");
            if (w.size() < 9)
                throw std::runtime_error(where +
                                         ": CONTROL needs: id kind name \"caption\" x y width height");
            ControlTemplate c;
            c.id = ToInt(w[1], where);
            auto kind = ParseControlKind(w[2]);
            if (!kind) throw std::runtime_error(where + ": unknown control kind '" + w[2] + "'");
            c.kind = *kind;
            c.name = w[3];
            c.caption = w[4];
            c.x = ToInt(w[5], where);
            c.y = ToInt(w[6], where);
            c.width = ToInt(w[7], where);
            c.height = ToInt(w[8], where);
            for (std::size_t k = 9; k < w.size(); ++k) {
                auto eq = w[k].find('=');
                if (eq == std::string::npos)
                    throw std::runtime_error(where + ": option '" + w[k] + "' is not key=value");
                c.options[w[k].substr(0, eq)] = w[k].substr(eq + 1);
            }
            if (c.kind == ControlKind::Radio) {
                if (c.options.count("group"))
                    lastRadioGroup = c.options["group"];
                else if (lastRadioGroup.empty())
                    lastRadioGroup = "radio" + std::to_string(c.id);
                c.options["group"] = lastRadioGroup;
            }
            if (current->FindControl(c.id) && c.id != -1)
                throw std::runtime_error(where + ": control id " + std::to_string(c.id) + " used twice");
            if (current->FindControl(c.name))
                throw std::runtime_error(where + ": control name " + c.name + " used twice");
            current->controls.push_back(std::move(c));
        } else if (w[0] == "END") {
            if (!current) throw std::runtime_error(where + ": END without DIALOG");
            current = nullptr;
        } else {
            throw std::runtime_error(where + ": unknown keyword '" + w[0] + "'");
        }
        if (end == text.size()) break;
    }
    if (current)
        throw std::runtime_error(fileName + ": dialog " + std::to_string(current->id) + " has no END");
    return out;
}

const std::map<int, DialogTemplate>& DialogTemplatesOf(HINSTANCE module) {
    static std::mutex mutex;
    static std::map<HINSTANCE, std::map<int, DialogTemplate>> cache;
    std::lock_guard lock(mutex);
    auto it = cache.find(module);
    if (it != cache.end()) return it->second;
    std::map<int, DialogTemplate> all;
    if (module) {
        for (const auto& [name, text] : module->files) {
            if (!name.ends_with(".dlg")) continue;
            for (auto& t : ParseDialogTemplates(text, name)) {
                int id = t.id;
                if (!all.emplace(id, std::move(t)).second)
                    throw std::runtime_error(name + ": dialog id " + std::to_string(id) + " defined twice");
            }
        }
    }
    return cache.emplace(module, std::move(all)).first->second;
}

const DialogTemplate* FindDialogTemplate(HINSTANCE module, int id) {
    const auto& all = DialogTemplatesOf(module);
    auto it = all.find(id);
    return it == all.end() ? nullptr : &it->second;
}

}  // namespace TAVUi
