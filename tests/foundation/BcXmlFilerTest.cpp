#include "foundation/BcXmlFiler.h"

#include "common/TestFifo.h"
#include "common/TestPrinters.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>

static std::string outputPath(const std::string& name)
{
    return std::string(QRV_TEST_OUTPUT_DIR) + "/" + name;
}

static void writeFile(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary);
    out << content;
}

static std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

static std::string elementName(const BcXmlFiler& filer)
{
    return filer.current ? filer.current->Value() : "";
}

TEST(BcXmlFiler, BuildsSavesAndReopens)
{
    std::string path = outputPath("built \xC3\xA9t\xC3\xA9.xml"); // a non-ASCII file name
    {
        BcXmlFiler filer;
        EXPECT_TRUE(filer.addDeclaration("1.0", "UTF-8"));
        EXPECT_TRUE(filer.addElement("a"));
        EXPECT_TRUE(filer.setAttribute("id", "7"));
        EXPECT_TRUE(filer.addTextElement("b", "1"));
        EXPECT_TRUE(filer.addElement("c"));
        EXPECT_TRUE(filer.setElementText("x"));
        EXPECT_TRUE(filer.goToParent());
        EXPECT_EQ(elementName(filer), "a");
        EXPECT_TRUE(filer.addTextElementInt("n", -3));
        EXPECT_TRUE(filer.addTextElementDouble("scale", 1.0));
        EXPECT_TRUE(filer.addTextElementString("title", "Caf\xC3\xA9 <&>"));
        EXPECT_FALSE(filer.goToParent());
        EXPECT_EQ(filer.current, nullptr);
        filer.fileName = path.c_str();
        EXPECT_TRUE(filer.save());
    }

    BcXmlFiler filer;
    ASSERT_TRUE(filer.open(path.c_str()));
    EXPECT_EQ(filer.current, nullptr);
    ASSERT_TRUE(filer.findElement("a", 0));
    BcString value;
    EXPECT_TRUE(filer.getAttribute("id", value));
    EXPECT_EQ(value, BcString("7"));
    EXPECT_TRUE(filer.getElementText("b", value));
    EXPECT_EQ(value, BcString("1"));
    EXPECT_TRUE(filer.getElementText("c", value));
    EXPECT_EQ(value, BcString("x"));
    EXPECT_TRUE(filer.getElementText("n", value));
    EXPECT_EQ(value, BcString("-3"));
    EXPECT_TRUE(filer.getElementText("scale", value));
    EXPECT_EQ(value, BcString("1.000000"));
    EXPECT_TRUE(filer.getElementText("title", value));
    EXPECT_EQ(value, BcString("Caf\xC3\xA9 <&>"));
    ASSERT_TRUE(filer.findElement("c", 0));
    EXPECT_TRUE(filer.goToParent());
    EXPECT_EQ(elementName(filer), "a");

    // The children come back in order, with nothing else beside them.
    std::string children;
    for (TiXmlElement* child = filer.current->FirstChildElement(); child; child = child->NextSiblingElement())
        children += std::string(child->Value()) + " ";
    EXPECT_EQ(children, "b c n scale title ");
    EXPECT_NE(readFile(path).find("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>"), std::string::npos);
}

TEST(BcXmlFiler, SaveReplacesAnEarlierFileAndLeavesNoTemporary)
{
    std::string folder = outputPath("save-folder");
    mkdir(folder.c_str(), 0777);
    std::string path = folder + "/index.xml";
    writeFile(path, "old");
    BcXmlFiler filer;
    filer.addElement("QuorvaneBackup");
    filer.fileName = path.c_str();
    ASSERT_TRUE(filer.save());
    EXPECT_EQ(readFile(path), "<QuorvaneBackup />\n");

    BcXmlFiler unsaved;
    unsaved.fileName = path.c_str();
    EXPECT_FALSE(unsaved.save()); // no document
    BcXmlFiler nowhere;
    nowhere.addElement("x");
    nowhere.fileName = (folder + "/missing/sub/x.xml").c_str();
    EXPECT_FALSE(nowhere.save());

    std::string listing;
    FILE* ls = popen(("ls -A '" + folder + "'").c_str(), "r");
    char line[256];
    while (ls && fgets(line, sizeof line, ls))
        listing += line;
    if (ls)
        pclose(ls);
    EXPECT_EQ(listing, "index.xml\n");
}

TEST(BcXmlFiler, FindElementByIndex)
{
    std::string path = outputPath("parts.xml");
    writeFile(path, "<score><part id=\"P1\"/><other/><part id=\"P2\"/><part id=\"P3\"/></score>");
    BcXmlFiler filer;
    ASSERT_TRUE(filer.open(path.c_str()));
    EXPECT_FALSE(filer.findElement("score", 1)); // only index 0 at the document level
    EXPECT_FALSE(filer.findElement("part", 0));
    ASSERT_TRUE(filer.findElement("score", 0));
    ASSERT_TRUE(filer.findElement("part", 2));
    BcString id;
    EXPECT_TRUE(filer.getAttribute("id", id));
    EXPECT_EQ(id, BcString("P3"));
    EXPECT_TRUE(filer.goToParent());
    EXPECT_FALSE(filer.findElement("part", 3));
    EXPECT_EQ(elementName(filer), "score");
    ASSERT_TRUE(filer.findElement("part", -1)); // a negative index counts as 0
    EXPECT_TRUE(filer.getAttribute("id", id));
    EXPECT_EQ(id, BcString("P1"));
    EXPECT_FALSE(filer.getAttribute("missing", id));
    EXPECT_EQ(id, BcString("P1"));
}

TEST(BcXmlFiler, ReferencesInFiles)
{
    // TinyXML decodes the references of the file itself; the filer's table
    // then decodes the ones that survive parsing (written escaped here).
    struct Case {
        const char* name;
        const char* elementText;
        const char* expected;
    };
    const Case cases[] = {
        {"raw reference", "Caf&#233;", "Caf\xC3\xA9"},
        {"raw hexadecimal reference", "Caf&#xE9;", "Caf\xC3\xA9"},
        {"escaped reference", "Caf&amp;#233;", "Caf\xC3\xA9"},
        {"reference made by an earlier row", "R&amp;#38;#233;", "R\xC3\xA9"},
        {"letter A is in the table", "x&amp;#65;y", "xAy"},
        {"letter B is not", "x&amp;#66;y", "x&#66;y"},
        {"tab becomes a space", "a&amp;#09;b", "a b"},
        {"delete becomes a hyphen", "a&amp;#127;b", "a-b"},
        {"hexadecimal is not in the table", "a&amp;#xE9;b", "a&#xE9;b"},
        {"multiplication sign becomes a space", "2&amp;#215;3", "2 3"},
    };
    const char* prologs[] = {"", "<?xml version=\"1.0\"?>", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"};
    for (const char* prolog : prologs) {
        for (const Case& c : cases) {
            std::string path = outputPath("reference.xml");
            writeFile(path, std::string(prolog) + "<root><t>" + c.elementText + "</t></root>");
            BcXmlFiler filer;
            ASSERT_TRUE(filer.open(path.c_str())) << c.name;
            ASSERT_TRUE(filer.findElement("root", 0));
            BcString text;
            EXPECT_TRUE(filer.getElementText("t", text)) << c.name;
            EXPECT_EQ(text, BcString(c.expected)) << c.name << " with prolog '" << prolog << "'";
        }
    }
}

TEST(BcXmlFiler, ReferenceTable)
{
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"&#38;&#60;&#62;", "&<>"},
        {"&#160;&#10;&#13;", "   "},
        {"&#192;&#255;&#181;", "\xC3\x80\xC3\xBF\xC2\xB5"},
        {"&#123;&#125;&#126;", "{}~"},
        {"&#208;&#240;&#221;&#253;&#222;&#254;", "      "},
        {"&#166;&#178;&#179;&#185;&#188;&#189;&#190;", "       "},
        {"&#165;&#162;&#163;&#164;", "\xC2\xA5\xC2\xA2\xC2\xA3\xC2\xA4"},
        {"&#98;&#9;", "&#98;&#9;"},
        {"no references", "no references"},
    };
    for (const Case& c : cases) {
        BcString text(c.text);
        BcXmlFiler::decodeReferences(text);
        EXPECT_EQ(text, BcString(c.expected)) << c.text;
    }
}

TEST(BcXmlFiler, ElementTextEdgeCases)
{
    BcXmlFiler filer;
    BcString out("kept");
    EXPECT_FALSE(filer.getElementText("a", out)); // document level
    EXPECT_FALSE(filer.setElementText("x"));
    EXPECT_FALSE(filer.setAttribute("a", "b"));
    EXPECT_FALSE(filer.getAttribute("a", out));
    EXPECT_FALSE(filer.addTextElement("b", "1"));
    EXPECT_FALSE(filer.goToParent());
    EXPECT_FALSE(filer.findElement("a", 0)); // no document yet
    EXPECT_EQ(filer.document, nullptr);

    ASSERT_TRUE(filer.addElement("root"));
    filer.addElement("empty");
    filer.goToParent();
    filer.addElement("nested");
    filer.addElement("inner");
    filer.goToParent();
    filer.goToParent();
    filer.addElement("twice");
    EXPECT_TRUE(filer.setElementText("first"));
    EXPECT_TRUE(filer.setElementText("second"));
    filer.goToParent();

    EXPECT_FALSE(filer.getElementText("empty", out));
    EXPECT_FALSE(filer.getElementText("nested", out)); // first child is not text
    EXPECT_FALSE(filer.getElementText("missing", out));
    EXPECT_EQ(out, BcString("kept"));
    EXPECT_TRUE(filer.getElementText("twice", out));
    EXPECT_EQ(out, BcString("second"));
    ASSERT_TRUE(filer.findElement("twice", 0));
    EXPECT_EQ(filer.current->FirstChild(), filer.current->LastChild());
    EXPECT_FALSE(filer.addElement(""));
}

TEST(BcXmlFiler, BadFiles)
{
    struct Case {
        const char* name;
        const char* content; // null: no file at all
    };
    const Case cases[] = {
        {"missing file", nullptr},
        {"empty file", ""},
        {"unclosed element", "<a><b></a>"},
        {"not XML", "just text"},
        {"truncated", "<?xml version=\"1.0\"?><a attr=\"x"},
    };
    for (const Case& c : cases) {
        std::string path = outputPath("bad.xml");
        std::remove(path.c_str());
        if (c.content)
            writeFile(path, c.content);
        BcXmlFiler filer;
        EXPECT_FALSE(filer.open(path.c_str())) << c.name;
        EXPECT_EQ(filer.current, nullptr) << c.name;
        EXPECT_FALSE(filer.findElement("a", 1)) << c.name;
    }
}

TEST(BcXmlFiler, AFolderOrAPipeIsRefusedAtOnce)
{
    BcXmlFiler filer;
    EXPECT_FALSE(filer.open(QRV_TEST_OUTPUT_DIR));
    EXPECT_EQ(filer.current, nullptr);
    ASSERT_NE(filer.document, nullptr);
    EXPECT_EQ(filer.document->ErrorId(), TiXmlBase::TIXML_ERROR_OPENING_FILE);

    TestFifo fifo(outputPath("pipe.xml"));
    ASSERT_TRUE(fifo.made);
    bool answer = true;
    EXPECT_TRUE(fifo.answersAtOnce([&] { return filer.open(fifo.path.c_str()); }, answer));
    EXPECT_FALSE(answer);
}

// A file's content and whether the filer opens it.
struct OpenRow
{
    const char* name;
    std::string content;
    bool opens;
};

template <size_t count>
static void expectOpens(const OpenRow (&rows)[count], const char* fileName)
{
    for (const OpenRow& row : rows) {
        std::string path = outputPath(fileName);
        writeFile(path, row.content);
        BcXmlFiler filer;
        EXPECT_EQ(filer.open(path.c_str()), row.opens) << row.name;
    }
}

static std::string nested(int depth, const std::string& open, const std::string& close)
{
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += open;
    for (int i = 0; i < depth; ++i)
        text += close;
    return text;
}

// The parser recurses once per level, so a deep file would overflow the stack.
TEST(BcXmlFiler, ElementsNestedTooDeepAreRefused)
{
    const int limit = BcXmlFiler::maxNesting;
    const std::string deepInComment = "<r><!--" + nested(limit + 1, "<a>", "</a>") + "--></r>";
    const std::string deepInData = "<r><![CDATA[" + nested(limit + 1, "<a>", "") + "]]></r>";
    const OpenRow rows[] = {
        {"nested to the limit", nested(limit, "<a>", "</a>"), true},
        {"one level deeper", nested(limit + 1, "<a>", "</a>"), false},
        {"an empty element one level deeper", nested(limit, "<a>", "</a>").insert(limit * 3, "<b/>"), false},
        {"far deeper and never closed", nested(100000, "<a>", ""), false},
        {"a quoted '/>' does not close the tag", nested(limit + 1, "<a t=\"/>\">", "</a>"), false},
        {"markup inside a comment", deepInComment, true},
        {"markup inside character data", deepInData, true},
        {"carriage returns between the levels", nested(limit, "<a>\r\n", "</a>\r"), true},
    };
    expectOpens(rows, "nested.xml");
}

// A first byte of a UTF-8 sequence claims up to three more bytes, which the
// end of the file may not have.
TEST(BcXmlFiler, ASequenceCutOffByTheEndOfTheFileEndsTheText)
{
    const OpenRow rows[] = {
        {"in an element's name", "<div\xe9", false},
        {"in a name after other text", "<a>text</a><b\xf0", false},
        {"in an attribute value", "<a b=\"\xf0", false},
        {"in an element's text", "<a>\xe9", false},
        {"a whole sequence", "<a>\xc3\xa9</a>", true},
    };
    expectOpens(rows, "cut-off.xml");
}

TEST(BcXmlFiler, ParsedDocumentHandedIn)
{
    BcXmlFiler filer;
    filer.document = new TiXmlDocument();
    filer.document->Parse("<version file=\"quorvane.msi\" major=\"1\"/>", nullptr, TIXML_ENCODING_UTF8);
    ASSERT_TRUE(filer.findElement("version", 0));
    BcString file;
    EXPECT_TRUE(filer.getAttribute("file", file));
    EXPECT_EQ(file, BcString("quorvane.msi"));
}
