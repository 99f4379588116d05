#include "module/data/XmlDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

const std::string kEmptyForm = "<?xml version=\"1.0\" encoding=\"utf-8\" ?><configs></configs>";

// Names of the elements at the current level, read through the position API.
std::vector<std::string> ChildNames(CXmlDocument& doc, const std::string& parent) {
    std::vector<std::string> names;
    doc.ResetPos();
    if (!doc.FindElem(parent) || !doc.IntoElem()) return names;
    while (doc.FindElem("")) names.push_back(doc.GetAttrib("name"));
    return names;
}

TEST(XmlDocumentTest, UnmodifiedDocumentComesBackByteIdentical) {
    const std::string texts[] = {
        kEmptyForm,
        "<configs ><config name='A' x = \"1\" ></config>\r\n<config\tname=\"B&amp;C\"/></configs >",
        "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!DOCTYPE configs>\n<!-- c "
        "--><configs><![CDATA[x]]>&#65;</configs>\n",
        "<a b=\"&#x41;&apos;\"><?pi data?></a>",
    };
    for (const std::string& text : texts) {
        CXmlDocument doc;
        EXPECT_TRUE(doc.SetDoc(text)) << doc.GetError();
        ASSERT_TRUE(doc.FindElem(""));
        ASSERT_TRUE(doc.IntoElem());
        if (doc.FindElem("")) {
            const std::string name = doc.GetAttrib("name");
            EXPECT_TRUE(doc.SetAttrib("name", name));  // same value: no change
        }
        EXPECT_EQ(doc.GetDoc(), text);
    }
}

TEST(XmlDocumentTest, AddElementGoesAfterTheCurrentOneOrAtTheEnd) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetDoc("<configs><config name=\"A\"/><config name=\"B\"/></configs>"));
    ASSERT_TRUE(doc.FindElem("configs"));
    ASSERT_TRUE(doc.IntoElem());
    ASSERT_TRUE(doc.FindElem("config"));
    ASSERT_TRUE(doc.AddElem("config"));
    ASSERT_TRUE(doc.SetAttrib("name", "after A"));
    // the new element is current: the next find continues after it
    ASSERT_TRUE(doc.FindElem("config"));
    EXPECT_EQ(doc.GetAttrib("name"), "B");
    doc.ResetPos();
    ASSERT_TRUE(doc.FindElem("configs"));
    ASSERT_TRUE(doc.IntoElem());
    ASSERT_TRUE(doc.AddElem("config"));  // no current element: at the end
    ASSERT_TRUE(doc.SetAttrib("name", "last"));
    EXPECT_EQ(ChildNames(doc, "configs"), (std::vector<std::string>{"A", "after A", "B", "last"}));
}

TEST(XmlDocumentTest, FindMovesToTheNextSiblingOfThatNameOnly) {
    CXmlDocument doc;
    ASSERT_TRUE(
        doc.SetDoc("<configs><x><config name=\"nested\"/></x><config name=\"1\"/>text<y name=\"y\"/>"
                   "<!-- <config name=\"comment\"/> --><config name=\"2\"/></configs>"));
    EXPECT_FALSE(doc.FindElem("config"));  // not at the document level
    ASSERT_TRUE(doc.FindElem("configs"));
    ASSERT_TRUE(doc.IntoElem());
    ASSERT_TRUE(doc.FindElem("config"));
    EXPECT_EQ(doc.GetAttrib("name"), "1");
    ASSERT_TRUE(doc.FindElem("config"));
    EXPECT_EQ(doc.GetAttrib("name"), "2");
    EXPECT_FALSE(doc.FindElem("config"));
    EXPECT_EQ(doc.GetAttrib("name"), "2");  // a failed find keeps the position
    EXPECT_FALSE(doc.FindElem("Config"));   // names are case-sensitive
    EXPECT_EQ(ChildNames(doc, "configs"), (std::vector<std::string>{"", "1", "y", "2"}));
}

TEST(XmlDocumentTest, AttributeValuesAreEscapedAndDecoded) {
    const std::string value = "a&b<c>d'e\"f\tg\nh";
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetDoc("<c/>"));
    ASSERT_TRUE(doc.FindElem("c"));
    ASSERT_TRUE(doc.SetAttrib("name", value));
    EXPECT_EQ(doc.GetDoc(), "<c name=\"a&amp;b&lt;c&gt;d&apos;e&quot;f&#9;g&#10;h\"/>");
    CXmlDocument reread;
    ASSERT_TRUE(reread.SetDoc(doc.GetDoc()));
    ASSERT_TRUE(reread.FindElem("c"));
    EXPECT_EQ(reread.GetAttrib("name"), value);

    ASSERT_TRUE(doc.SetDoc("<c v=\"&lt;&amp;&#65;&#x42;&quot;&apos;\" w='\"'/>"));
    ASSERT_TRUE(doc.FindElem("c"));
    EXPECT_EQ(doc.GetAttrib("v"), "<&AB\"'");
    EXPECT_EQ(doc.GetAttrib("w"), "\"");
    EXPECT_EQ(doc.GetAttrib("missing"), "");
}

// A changed element keeps its other attributes in their order, a new attribute goes last, and every other
// node of the text stays as it was.
TEST(XmlDocumentTest, ModifiedDocumentKeepsAttributeOrderAndOtherNodes) {
    CXmlDocument doc;
    ASSERT_TRUE(
        doc.SetDoc("<?xml version='1.0'?>\n<!DOCTYPE configs [<!ELEMENT configs ANY>]>\n<configs>\n  <!-- "
                   "sets --><?app x?>\n"
                   "  <config name='A' extra=\"keep &amp; me\" potrosnja=\"1.0000\" other='x'>t &amp; "
                   "<![CDATA[<raw>]]></config>\n"
                   "</configs>"));
    ASSERT_TRUE(doc.FindElem("configs"));
    ASSERT_TRUE(doc.IntoElem());
    ASSERT_TRUE(doc.FindElem("config"));
    ASSERT_TRUE(doc.SetAttrib("potrosnja", "2.0000"));
    ASSERT_TRUE(doc.SetAttrib("koefD", "3.0000"));
    EXPECT_EQ(doc.GetDoc(),
              "<?xml version=\"1.0\" ?>\n<!DOCTYPE configs [<!ELEMENT configs ANY>]>\n<configs>\n  <!-- sets "
              "--><?app x?>\n"
              "  <config name=\"A\" extra=\"keep &amp; me\" potrosnja=\"2.0000\" other=\"x\" "
              "koefD=\"3.0000\">t &amp; "
              "<![CDATA[<raw>]]></config>\n</configs>");
}

TEST(XmlDocumentTest, MalformedTextsRecordTheirError) {
    struct Case {
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {"", "Empty document"},
        {" \r\n\t", "Empty document"},
        {"<?xml version=\"1.0\"?><!-- only -->", "No root element"},
        {"<configs/><configs/>", "Root element has sibling"},
        {"<configs/>trailing", "Root element has sibling"},
        {"<configs/></configs>", "No start tag for end tag 'configs' at offset 10"},
        {"<configs><config></configs>",
         "End tag 'configs' at offset 17 does not match start tag 'config' at offset 9"},
        {"<configs><config></config></config>",
         "End tag 'config' at offset 26 does not match start tag 'configs' at offset 0"},
        {"<configs><config name=\"a\">", "Element 'config' at offset 9 not ended"},
        {"<configs><config name=\"a\"/>", "Element 'configs' at offset 0 not ended"},
        {"<configs><config name=\"a", "Element tag at offset 9 unterminated"},
        {"<configs><config name=\"a\"", "Element tag at offset 9 unterminated"},
        {"<configs><config name=a/></configs>", "Incorrect Element tag at offset 9"},
        {"<configs></configs", "Element end tag at offset 9 unterminated"},
        {"<configs></configs x>", "Incorrect Element end tag at offset 9"},
        {"<configs><!-- open</configs>", "Comment at offset 9 unterminated"},
        {"<configs><!-x--></configs>", "Incorrect comment tag at offset 9"},
        {"<configs><![CDATA[ open</configs>", "CDATA Section at offset 9 unterminated"},
        {"<configs><?pi open</configs>", "Processing instruction at offset 9 unterminated"},
        {"<!DOCTYPE configs <configs/>", "Incorrect Doctype at offset 0"},
        {"<!DOCTYPE configs", "Doctype at offset 0 unterminated"},
        {"<configs><!x></configs>", "Incorrect ! tag at offset 9"},
        {"<configs>< config/></configs>", "Incorrect tag name character at offset 10"},
        {"<configs><", "Element tag at offset 9 unterminated"},
        {std::string("<configs/>\0<x/>", 15), "Incorrect tag name character at offset 10"},
    };
    for (const Case& c : cases) {
        CXmlDocument doc;
        EXPECT_FALSE(doc.SetDoc(c.text)) << c.text;
        EXPECT_EQ(doc.GetError(), c.error) << c.text;
        EXPECT_EQ(doc.GetDoc(), c.text);
    }
}

TEST(XmlDocumentTest, BrokenTextIsReadableButNotChanged) {
    const std::string text = "<configs><config name=\"A\" p=\"1\"/><config name=\"B\" p=\"2\"/><config na";
    CXmlDocument doc;
    EXPECT_FALSE(doc.SetDoc(text));
    EXPECT_EQ(doc.GetError(), "Element tag at offset 57 unterminated");
    ASSERT_TRUE(doc.FindElem("configs"));
    ASSERT_TRUE(doc.IntoElem());
    ASSERT_TRUE(doc.FindElem("config"));
    EXPECT_EQ(doc.GetAttrib("name"), "A");
    EXPECT_FALSE(doc.SetAttrib("p", "5"));
    EXPECT_FALSE(doc.AddElem("config"));
    EXPECT_EQ(doc.GetDoc(), text);

    // A later well-formed text is modifiable again.
    EXPECT_TRUE(doc.SetDoc("<configs/>"));
    ASSERT_TRUE(doc.FindElem("configs"));
    EXPECT_TRUE(doc.SetAttrib("v", "1"));
    EXPECT_EQ(doc.GetDoc(), "<configs v=\"1\"/>");
}

TEST(XmlDocumentTest, EmptyTextHoldsNoElementAndCanBeBuilt) {
    CXmlDocument doc;
    EXPECT_FALSE(doc.SetDoc(""));
    EXPECT_FALSE(doc.FindElem("configs"));
    EXPECT_FALSE(doc.IntoElem());
    EXPECT_FALSE(doc.SetAttrib("name", "x"));
    ASSERT_TRUE(doc.AddElem("configs"));
    EXPECT_FALSE(doc.AddElem("second"));  // one root element only
    ASSERT_TRUE(doc.IntoElem());
    ASSERT_TRUE(doc.AddElem("config"));
    EXPECT_EQ(doc.GetDoc(), "<configs><config/></configs>");
}

TEST(XmlDocumentTest, ChangesThatWouldBreakTheTextAreRefused) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetDoc("<configs/>"));
    EXPECT_FALSE(doc.SetAttrib("name", "x"));  // no current element
    ASSERT_TRUE(doc.FindElem("configs"));
    for (const char* name : {"", "1a", "a b", "a<", "a\"", "-a"}) {
        EXPECT_FALSE(doc.SetAttrib(name, "x")) << name;
        EXPECT_FALSE(doc.AddElem(name)) << name;
    }
    EXPECT_FALSE(doc.SetAttrib("v", std::string("a\0b", 3)));
    EXPECT_FALSE(doc.SetAttrib("v",
                               "a\x01"
                               "b"));
    EXPECT_EQ(doc.GetDoc(), "<configs/>");
}

TEST(XmlDocumentTest, NestingBeyondTheBoundIsRefusedWithoutOverflowOrStall) {
    const auto nested = [](int depth) {
        std::string open;
        std::string close;
        for (int i = 0; i < depth; ++i) {
            open += "<a>";
            close += "</a>";
        }
        return std::pair{open, close};
    };
    // As deep as the bound: read and changed as any document.
    const auto [open256, close256] = nested(CXmlDocument::kMaxDepth);
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetDoc(open256 + close256)) << doc.GetError();
    ASSERT_TRUE(doc.FindElem("a"));
    ASSERT_TRUE(doc.SetAttrib("v", "1"));
    // the innermost "<a></a>" is written as "<a/>"
    const int depth = CXmlDocument::kMaxDepth;
    const std::string expected =
        "<a v=\"1\">" + open256.substr(0, 3 * (depth - 2)) + "<a/>" + close256.substr(0, 4 * (depth - 1));
    EXPECT_EQ(doc.GetDoc(), expected);

    // One level deeper, or 200,000: refused at the first element beyond the bound; the text is kept as set
    // and nothing can be changed.
    for (const int tooDeep : {CXmlDocument::kMaxDepth + 1, 200000}) {
        SCOPED_TRACE(tooDeep);
        const auto [open, close] = nested(tooDeep);
        EXPECT_FALSE(doc.SetDoc(open + close));
        EXPECT_EQ(doc.GetError(), "Element 'a' at offset " + std::to_string(3 * CXmlDocument::kMaxDepth) +
                                      " nested too deeply");
        EXPECT_FALSE(doc.FindElem("a"));
        EXPECT_FALSE(doc.AddElem("b"));
        EXPECT_EQ(doc.GetDoc(), open + close);
    }
    // Malformed deep text reports its own error first.
    const auto [open, close] = nested(200000);
    EXPECT_FALSE(doc.SetDoc(open));
    EXPECT_EQ(doc.GetError(), "Element 'a' at offset " + std::to_string(3 * (200000 - 1)) + " not ended");
    EXPECT_FALSE(doc.SetDoc(open + "</b>"));
    EXPECT_EQ(doc.GetError(), "End tag 'b' at offset " + std::to_string(open.size()) +
                                  " does not match start tag 'a' at offset " +
                                  std::to_string(3 * (200000 - 1)));

    // Larger than the bound: not parsed.
    EXPECT_FALSE(doc.SetDoc("<a v=\"" + std::string(CXmlDocument::kMaxDocumentBytes, 'x') + "\"/>"));
    EXPECT_EQ(doc.GetError(),
              "Document larger than " + std::to_string(CXmlDocument::kMaxDocumentBytes) + " bytes");
}
}  // namespace
