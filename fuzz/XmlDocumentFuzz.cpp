// Fuzz target: parsing any text with CXmlDocument, walking it, and changing it.
// Properties: no crash; a failed parse records an error; an unmodified document comes back
// byte-identical; after a change of a well-formed document the text written parses again as
// well-formed and holds the value set.
#include <cstddef>
#include <cstdint>
#include <string>

#include "module/data/XmlDocument.h"

namespace {

constexpr int kMaxLevels = 64;
constexpr int kMaxSiblings = 4096;

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

// Walks down the last element of every level, reading attributes on the way.
void Walk(CXmlDocument& doc) {
    doc.ResetPos();
    for (int level = 0; level < kMaxLevels; ++level) {
        for (int sibling = 0; sibling < kMaxSiblings && doc.FindElem(""); ++sibling) {
            doc.GetAttrib("name");
        }
        if (!doc.IntoElem()) break;
    }
    doc.ResetPos();
    if (doc.FindElem("configs") && doc.IntoElem()) {
        while (doc.FindElem("config")) doc.GetAttrib("name");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The last byte splits the input into the document and an attribute value to store.
    if (size == 0) return 0;
    const size_t split = data[size - 1] < size ? data[size - 1] : size - 1;
    const std::string value(reinterpret_cast<const char*>(data), split);
    const std::string text(reinterpret_cast<const char*>(data) + split, size - 1 - split);

    CXmlDocument doc;
    const bool wellFormed = doc.SetDoc(text);
    Require(wellFormed == doc.GetError().empty());
    Walk(doc);
    Require(doc.GetDoc() == text);
    if (!wellFormed) {
        doc.ResetPos();
        if (doc.FindElem("")) Require(!doc.SetAttrib("name", "x"));  // a broken text is not changed
        return 0;
    }

    doc.ResetPos();
    Require(doc.FindElem(""));
    Require(doc.IntoElem());
    doc.FindElem("");
    Require(doc.AddElem("config"));
    const bool stored = doc.SetAttrib("name", value);
    const std::string written = doc.GetDoc();

    CXmlDocument reread;
    Require(reread.SetDoc(written));
    Walk(reread);
    if (stored) {
        reread.ResetPos();
        Require(reread.FindElem("") && reread.IntoElem());
        bool found = false;
        while (!found && reread.FindElem("config")) found = reread.GetAttrib("name") == value;
        Require(found);
    }
    return 0;
}
