#pragma once
// CXmlDocument: the small XML document used for the configuration-set documents stored in the drawing.
//
// Position model: there is a parent level (the document itself after SetDoc or ResetPos) and, at that
// level, an optional current element. FindElem moves the current element forward among the parent's
// child elements, IntoElem makes the current element the parent level, AddElem inserts after the
// current element, and GetAttrib/SetAttrib work on the current element.
//
// Text fidelity: a document that is set and not modified comes back from GetDoc byte for byte.
// Once modified, GetDoc writes the document out again: declaration, doctype, comments, processing
// instructions, CDATA sections and all text (whitespace included) are kept; attribute values are
// written in double quotes with "&", "<", ">", "'" and the double quote as "&amp;", "&lt;", "&gt;",
// "&apos;" and "&quot;" (tab, line feed and carriage return as character references, so that they
// survive a reparse); text content escapes "&", "<" and ">"; an element without children is written
// as "<name/>"; a byte-order mark is dropped.
//
// Parsing uses pugixml. Errors are recorded with these texts (never shown to the user), offsets being
// byte offsets into the text set:
//   "Empty document"                       the text is empty or only whitespace
//   "No root element"                      no element at the document level
//   "Root element has sibling"             a second element, or non-whitespace text, beside the root
//   "No start tag for end tag '%s' at offset %d"                              end tag with no open element
//   "End tag '%s' at offset %d does not match start tag '%s' at offset %d"   end tag of another element
//   "Element '%s' at offset %d not ended"  the text ends inside an element
//   "Incorrect %s at offset %d"            a malformed construct
//   "%s at offset %d unterminated"         a construct whose terminator is missing
//   "Element '%s' at offset %d nested too deeply"   more than kMaxDepth elements deep (nothing is kept)
//   "Document larger than %d bytes"        a text beyond kMaxDocumentBytes, not parsed
// The constructs named are "tag name character" (a "<" not followed by a name: "< a", "<1"), "! tag"
// (an unknown "<!" construct), "comment tag" (a malformed "<!-" opener), "Doctype", "Comment",
// "Processing instruction", "CDATA Section", "Element end tag" and "Element tag" (start tags and their
// attributes). A construct is "unterminated" when its terminator ("-->", "]]>", "?>", ">") does not
// occur after it, else "Incorrect". A NUL byte, which XML cannot hold, is reported as
// "Incorrect tag name character at offset %d" at its offset and ends the parse there.
//
// The parser is not validating: like pugixml it accepts, for example, "<" inside attribute values,
// undeclared entities (kept as literal text) and repeated attribute names (the first one counts).
//
// Modification rules, so that the stored text stays well-formed:
// - A text that failed to parse (other than an empty one, or one without any element) can be walked
//   and read as far as it was parsed, but AddElem and SetAttrib refuse to change it (return false),
//   so GetDoc keeps returning the text exactly as set and no unparsed part is lost.
// - AddElem refuses a second element at the document level and names that are not XML names.
// - SetAttrib refuses names that are not XML names and values holding a character XML cannot hold
//   (control characters other than tab, line feed and carriage return).
#include <cstddef>
#include <memory>
#include <string>

class CXmlDocument {
public:
    // Bounds of a text SetDoc parses; a configuration-set document is a few kilobytes, 3 levels deep.
    static constexpr std::size_t kMaxDocumentBytes = std::size_t{16} << 20;
    static constexpr int kMaxDepth = 256;

    CXmlDocument();
    ~CXmlDocument();
    CXmlDocument(const CXmlDocument&) = delete;
    CXmlDocument& operator=(const CXmlDocument&) = delete;

    // Parses `text`, resets the position and records the first error; returns whether the text was a
    // well-formed document. An empty text holds no element.
    bool SetDoc(const std::string& text);
    // The whole document text.
    std::string GetDoc() const;
    // The error recorded by the last SetDoc, empty when there was none.
    const std::string& GetError() const;

    // Moves to the next sibling element called `name` (any element when `name` is empty) at the
    // current level, after the current element or from the first child when there is none. Returns
    // false, leaving the position unchanged, when there is none.
    bool FindElem(const std::string& name);
    // Makes the current element the parent level, with no current element. False when there is no
    // current element.
    bool IntoElem();
    // Back to the document level with no current element.
    void ResetPos();
    // Adds an empty element after the current one (at the end when there is no current element) and
    // makes it current.
    bool AddElem(const std::string& name);
    // Value of the current element's attribute with entities decoded; empty when missing or when
    // there is no current element.
    std::string GetAttrib(const std::string& name) const;
    // Sets or adds the attribute on the current element. False when there is no current element or
    // the change is refused (see above).
    bool SetAttrib(const std::string& name, const std::string& value);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
