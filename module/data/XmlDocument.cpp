#include "module/data/XmlDocument.h"

#include <cstddef>
#include <new>
#include <pugixml.hpp>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace {

// Comments, processing instructions, declaration, doctype and whitespace-only text are kept so that a
// modified document is written out with them. Fragment mode keeps text at the document level, which
// is then reported as a sibling of the root instead of being dropped silently.
constexpr unsigned kParseOptions = pugi::parse_full | pugi::parse_ws_pcdata | pugi::parse_fragment;

bool IsXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsBlank(std::string_view text) {
    for (const char c : text) {
        if (!IsXmlSpace(c)) return false;
    }
    return true;
}

bool IsNameStart(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
}

bool IsNameChar(unsigned char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

bool IsXmlName(const std::string& name) {
    if (name.empty() || !IsNameStart(static_cast<unsigned char>(name[0]))) return false;
    for (const char c : name) {
        if (!IsNameChar(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

bool IsStorableValue(const std::string& value) {
    for (const char c : value) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 && c != '\t' && c != '\n' && c != '\r') return false;
    }
    return true;
}

void AppendAttributeValue(std::string& out, const char* value) {
    for (const char* p = value; *p; ++p) {
        switch (*p) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '\'':
                out += "&apos;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\t':
                out += "&#9;";
                break;
            case '\n':
                out += "&#10;";
                break;
            case '\r':
                out += "&#13;";
                break;
            default:
                out += *p;
        }
    }
}

void AppendText(std::string& out, const char* text) {
    for (const char* p = text; *p; ++p) {
        switch (*p) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '\r':
                out += "&#13;";
                break;
            default:
                out += *p;
        }
    }
}

void AppendAttributes(std::string& out, pugi::xml_node node) {
    for (const pugi::xml_attribute attribute : node.attributes()) {
        out += ' ';
        out += attribute.name();
        out += "=\"";
        AppendAttributeValue(out, attribute.value());
        out += '"';
    }
}

// Writes a node, except the children and end tag of an element.
void AppendNodeStart(std::string& out, pugi::xml_node node) {
    switch (node.type()) {
        case pugi::node_element:
            out += '<';
            out += node.name();
            AppendAttributes(out, node);
            out += node.first_child() ? ">" : "/>";
            break;
        case pugi::node_pcdata:
            AppendText(out, node.value());
            break;
        case pugi::node_cdata: {
            // "]]>" cannot stand inside a CDATA section; it is split over two sections.
            const std::string_view value = node.value();
            out += "<![CDATA[";
            size_t start = 0;
            for (size_t end = value.find("]]>"); end != std::string_view::npos;
                 end = value.find("]]>", start)) {
                out += value.substr(start, end + 2 - start);
                out += "]]><![CDATA[";
                start = end + 2;
            }
            out += value.substr(start);
            out += "]]>";
            break;
        }
        case pugi::node_comment:
            out += "<!--";
            out += node.value();
            out += "-->";
            break;
        case pugi::node_pi:
            out += "<?";
            out += node.name();
            if (*node.value()) {
                out += ' ';
                out += node.value();
            }
            out += "?>";
            break;
        case pugi::node_declaration:
            out += "<?";
            out += node.name();
            AppendAttributes(out, node);
            out += " ?>";
            break;
        case pugi::node_doctype:
            out += "<!DOCTYPE ";
            out += node.value();
            out += '>';
            break;
        case pugi::node_null:
        case pugi::node_document:
            break;
    }
}

// Writes the whole tree without recursion, so that deep nesting cannot exhaust the stack.
std::string Serialize(const pugi::xml_document& document) {
    std::string out;
    pugi::xml_node node = document.first_child();
    while (node) {
        AppendNodeStart(out, node);
        if (node.type() == pugi::node_element && node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && !node.next_sibling()) {
            node = node.parent();
            if (node.type() == pugi::node_document) {
                node = pugi::xml_node();
                break;
            }
            out += "</";
            out += node.name();
            out += '>';
        }
        if (node) node = node.next_sibling();
    }
    return out;
}

// ---- error texts ----

std::string At(const std::string& what, std::ptrdiff_t offset) {
    return what + " at offset " + std::to_string(offset);
}

std::string Incorrect(const std::string& construct, std::ptrdiff_t offset) {
    return "Incorrect " + At(construct, offset);
}

std::string Unterminated(const std::string& construct, std::ptrdiff_t offset) {
    return At(construct, offset) + " unterminated";
}

// Start of the construct opened by `opener` at or before `offset`, or `offset` when none is found.
size_t ConstructStart(std::string_view text, std::string_view opener, size_t offset) {
    const size_t start = text.rfind(opener, offset);
    return start == std::string_view::npos ? offset : start;
}

std::string DescribeConstruct(std::string_view text, const std::string& construct, size_t start,
                              std::string_view terminator, size_t searchFrom) {
    const bool terminated =
        searchFrom <= text.size() && text.find(terminator, searchFrom) != std::string_view::npos;
    return terminated ? Incorrect(construct, static_cast<std::ptrdiff_t>(start))
                      : Unterminated(construct, static_cast<std::ptrdiff_t>(start));
}

// pugixml reports an element left open at the end of the text as an end-tag mismatch, with an offset
// that does not follow "</".
bool IsEndTagMismatch(std::string_view text, size_t offset) {
    return offset >= 2 && offset <= text.size() && text.substr(offset - 2, 2) == "</";
}

bool IsOpenAtEnd(pugi::xml_node element, std::string_view text, size_t end) {
    const std::ptrdiff_t nameOffset = element.offset_debug();
    if (nameOffset < 1 || static_cast<size_t>(nameOffset) > end) return false;
    const std::string_view fragment =
        text.substr(static_cast<size_t>(nameOffset) - 1, end - (nameOffset - 1));
    pugi::xml_document probe;
    const pugi::xml_parse_result result =
        probe.load_buffer(fragment.data(), fragment.size(), kParseOptions, pugi::encoding_utf8);
    if (result.status == pugi::status_out_of_memory) throw std::bad_alloc();
    return result.status == pugi::status_end_element_mismatch &&
           !IsEndTagMismatch(fragment, static_cast<size_t>(result.offset));
}

// The innermost element still open where parsing stopped at `end`. The open elements are a prefix of
// the path of last child elements from the document; an element is open when the text from its start
// tag to `end` parses up to the end without closing it.
pugi::xml_node InnermostOpenElement(const pugi::xml_document& document, std::string_view text, size_t end) {
    std::vector<pugi::xml_node> path;
    for (pugi::xml_node node = document.last_child(); node;) {
        while (node && node.type() != pugi::node_element) node = node.previous_sibling();
        if (!node) break;
        path.push_back(node);
        node = node.last_child();
    }
    size_t open = 0;  // path[0, open) known to be open
    size_t bound = path.size();
    while (open < bound) {
        const size_t middle = open + (bound - open) / 2;
        if (IsOpenAtEnd(path[middle], text, end)) {
            open = middle + 1;
        } else {
            bound = middle;
        }
    }
    return open == 0 ? pugi::xml_node() : path[open - 1];
}

std::string ReadEndTagName(std::string_view text, size_t offset) {
    size_t end = offset;
    while (end < text.size() && !IsXmlSpace(text[end]) && text[end] != '>' && text[end] != '/' &&
           text[end] != '<') {
        ++end;
    }
    return std::string(text.substr(offset, end - offset));
}

std::string DescribeParseError(const pugi::xml_document& document, std::string_view text,
                               const pugi::xml_parse_result& result) {
    const size_t offset = static_cast<size_t>(result.offset);
    switch (result.status) {
        case pugi::status_unrecognized_tag: {
            const size_t start = ConstructStart(text, "<", offset);
            if (start + 1 >= text.size())
                return Unterminated("Element tag", static_cast<std::ptrdiff_t>(start));
            if (text[start + 1] == '!') return Incorrect("! tag", static_cast<std::ptrdiff_t>(start));
            return Incorrect("tag name character", result.offset);
        }
        case pugi::status_bad_pi: {
            const size_t start = ConstructStart(text, "<?", offset);
            return DescribeConstruct(text, "Processing instruction", start, "?>", start + 2);
        }
        case pugi::status_bad_comment: {
            const size_t start = ConstructStart(text, "<!-", offset);
            if (text.substr(start, 4) != "<!--")
                return Incorrect("comment tag", static_cast<std::ptrdiff_t>(start));
            return DescribeConstruct(text, "Comment", start, "-->", start + 4);
        }
        case pugi::status_bad_cdata: {
            const size_t start = ConstructStart(text, "<![", offset);
            return DescribeConstruct(text, "CDATA Section", start, "]]>", start + 9);
        }
        case pugi::status_bad_doctype: {
            const size_t start = ConstructStart(text, "<!", offset);
            return DescribeConstruct(text, "Doctype", start, ">", offset);
        }
        case pugi::status_bad_start_element:
        case pugi::status_bad_attribute:
        case pugi::status_bad_pcdata: {
            const size_t start = ConstructStart(text, "<", offset);
            return DescribeConstruct(text, "Element tag", start, ">", offset);
        }
        case pugi::status_bad_end_element: {
            const size_t start = ConstructStart(text, "</", offset);
            return DescribeConstruct(text, "Element end tag", start, ">", offset);
        }
        case pugi::status_end_element_mismatch: {
            if (IsEndTagMismatch(text, offset)) {
                const size_t tagStart = offset - 2;
                const std::string name = ReadEndTagName(text, offset);
                const pugi::xml_node open = InnermostOpenElement(document, text, tagStart);
                if (!open)
                    return "No start tag for end tag '" + name + "'" +
                           At("", static_cast<std::ptrdiff_t>(tagStart));
                return "End tag '" + name + "'" + At("", static_cast<std::ptrdiff_t>(tagStart)) +
                       " does not match start tag '" + open.name() + "'" + At("", open.offset_debug() - 1);
            }
            const pugi::xml_node open = InnermostOpenElement(document, text, text.size());
            if (!open) return Unterminated("Element tag", result.offset);
            return "Element '" + std::string(open.name()) + "'" + At("", open.offset_debug() - 1) +
                   " not ended";
        }
        case pugi::status_out_of_memory:
            throw std::bad_alloc();
        default:
            // File, I/O and append statuses cannot come from parsing a buffer.
            throw std::logic_error(std::string("Unexpected XML parser status: ") + result.description());
    }
}

// The first element (in document order) that lies more than `maxDepth` elements deep, or a null node; a
// walk without recursion.
pugi::xml_node FirstElementBeyond(const pugi::xml_document& document, int maxDepth) {
    pugi::xml_node node = document.first_child();
    int depth = 1;
    while (node) {
        if (node.type() == pugi::node_element && depth > maxDepth) return node;
        if (node.first_child()) {
            node = node.first_child();
            ++depth;
            continue;
        }
        while (node && !node.next_sibling()) {
            node = node.parent();
            --depth;
            if (node == document) return {};
        }
        if (node) node = node.next_sibling();
    }
    return {};
}

}  // namespace

struct CXmlDocument::Impl {
    pugi::xml_document document;
    std::string text;        // the text as set
    std::string error;       // first parse error
    bool modified = false;   // the tree differs from `text`
    bool modifiable = true;  // the tree holds everything `text` holds
    pugi::xml_node parent;   // current level
    pugi::xml_node current;  // current element at that level, null when none

    bool CanModify() const { return modifiable && current; }
};

CXmlDocument::CXmlDocument() : m_impl(std::make_unique<Impl>()) {
    ResetPos();
}

CXmlDocument::~CXmlDocument() = default;

bool CXmlDocument::SetDoc(const std::string& text) {
    Impl& d = *m_impl;
    d.document.reset();
    d.text = text;
    d.error.clear();
    d.modified = false;
    d.modifiable = true;
    ResetPos();

    if (IsBlank(text)) {
        d.error = "Empty document";
        return false;
    }
    if (text.size() > kMaxDocumentBytes) {
        d.error = "Document larger than " + std::to_string(kMaxDocumentBytes) + " bytes";
        d.modifiable = false;
        return false;
    }
    const size_t nul = text.find('\0');
    const std::string_view parsed(text.data(), nul == std::string::npos ? text.size() : nul);
    const pugi::xml_parse_result result =
        d.document.load_buffer(parsed.data(), parsed.size(), kParseOptions, pugi::encoding_utf8);
    if (!result) {
        d.error = DescribeParseError(d.document, parsed, result);
        d.modifiable = false;
        return false;
    }
    if (nul != std::string::npos) {
        d.error = Incorrect("tag name character", static_cast<std::ptrdiff_t>(nul));
        d.modifiable = false;
        return false;
    }
    if (const pugi::xml_node deep = FirstElementBeyond(d.document, kMaxDepth)) {
        d.error = "Element '" + std::string(deep.name()) + "'" + At("", deep.offset_debug() - 1) +
                  " nested too deeply";
        d.document.reset();
        d.modifiable = false;
        return false;
    }
    int elements = 0;
    bool strayText = false;
    for (const pugi::xml_node node : d.document.children()) {
        if (node.type() == pugi::node_element) ++elements;
        if ((node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) && !IsBlank(node.value())) {
            strayText = true;
        }
    }
    if (elements == 0) {
        d.error = "No root element";
        d.modifiable = !strayText;
        return false;
    }
    if (elements > 1 || strayText) {
        d.error = "Root element has sibling";
        d.modifiable = false;
        return false;
    }
    return true;
}

std::string CXmlDocument::GetDoc() const {
    return m_impl->modified ? Serialize(m_impl->document) : m_impl->text;
}

const std::string& CXmlDocument::GetError() const {
    return m_impl->error;
}

bool CXmlDocument::FindElem(const std::string& name) {
    Impl& d = *m_impl;
    pugi::xml_node node = d.current ? d.current.next_sibling() : d.parent.first_child();
    for (; node; node = node.next_sibling()) {
        if (node.type() == pugi::node_element && (name.empty() || name == node.name())) {
            d.current = node;
            return true;
        }
    }
    return false;
}

bool CXmlDocument::IntoElem() {
    Impl& d = *m_impl;
    if (!d.current) return false;
    d.parent = d.current;
    d.current = pugi::xml_node();
    return true;
}

void CXmlDocument::ResetPos() {
    m_impl->parent = m_impl->document;
    m_impl->current = pugi::xml_node();
}

bool CXmlDocument::AddElem(const std::string& name) {
    Impl& d = *m_impl;
    if (!d.modifiable || !IsXmlName(name)) return false;
    if (d.parent.type() == pugi::node_document &&
        d.parent.find_child([](pugi::xml_node node) { return node.type() == pugi::node_element; })) {
        return false;  // a document has one root element
    }
    pugi::xml_node element = d.current ? d.parent.insert_child_after(pugi::node_element, d.current)
                                       : d.parent.append_child(pugi::node_element);
    if (!element || !element.set_name(name.c_str())) throw std::bad_alloc();
    d.current = element;
    d.modified = true;
    return true;
}

std::string CXmlDocument::GetAttrib(const std::string& name) const {
    const Impl& d = *m_impl;
    if (!d.current) return std::string();
    return d.current.attribute(name.c_str()).value();
}

bool CXmlDocument::SetAttrib(const std::string& name, const std::string& value) {
    Impl& d = *m_impl;
    if (!d.CanModify() || !IsXmlName(name) || !IsStorableValue(value)) return false;
    pugi::xml_attribute attribute = d.current.attribute(name.c_str());
    if (attribute && value == attribute.value()) return true;  // unchanged: the text stays as set
    if (!attribute) attribute = d.current.append_attribute(name.c_str());
    if (!attribute || !attribute.set_value(value.c_str())) throw std::bad_alloc();
    d.modified = true;
    return true;
}
