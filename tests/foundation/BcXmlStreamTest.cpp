#include "foundation/BcXmlFiler.h"

#include "common/TestPrinters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

std::string outputPath(const std::string& name)
{
    return std::string(QRV_TEST_OUTPUT_DIR) + "/" + name;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string folderListing(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.push_back(name.find(".~") == std::string::npos ? name : "temporary");
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    std::string listing;
    for (const std::string& name : names)
        listing += name + " ";
    return listing;
}

// A document of a few megabytes: many measures of notes.
void writeLongDocument(BcXmlFiler& filer)
{
    filer.addDeclaration(BcString("1.0"), BcString("UTF-8"));
    filer.addElement("part");
    filer.setAttribute("id", "P1");
    for (int m = 0; m < 20000; ++m) {
        filer.addElement("measure");
        filer.setAttribute("number", m + 1);
        for (int n = 0; n < 4; ++n) {
            filer.addElement("note");
            filer.addTextElementInt("duration", n + 1);
            filer.addTextElement("type", "quarter & <more>");
            filer.goToParent();
        }
        filer.goToParent();
    }
    filer.goToParent();
}

// One call of the filer's writing side.
struct Call
{
    enum Kind { declaration, element, attribute, text, textElement, parent } kind;
    const char* name = "";
    const char* value = "";
};

Call declare()
{
    return {Call::declaration, "1.0", "UTF-8"};
}
Call open(const char* name)
{
    return {Call::element, name};
}
Call attribute(const char* name, const char* value)
{
    return {Call::attribute, name, value};
}
Call text(const char* value)
{
    return {Call::text, "", value};
}
Call leaf(const char* name, const char* value)
{
    return {Call::textElement, name, value};
}
Call up()
{
    return {Call::parent};
}

// Runs the calls, answering what each call answered ("1" or "0").
std::string run(BcXmlFiler& filer, const std::vector<Call>& calls)
{
    std::string answers;
    for (const Call& call : calls) {
        bool answer = false;
        switch (call.kind) {
        case Call::declaration:
            answer = filer.addDeclaration(BcString(call.name), BcString(call.value));
            break;
        case Call::element:
            answer = filer.addElement(call.name);
            break;
        case Call::attribute:
            answer = filer.setAttribute(call.name, call.value);
            break;
        case Call::text:
            answer = filer.setElementText(BcString(call.value));
            break;
        case Call::textElement:
            answer = filer.addTextElement(call.name, call.value);
            break;
        case Call::parent:
            answer = filer.goToParent();
            break;
        }
        answers += answer ? '1' : '0';
    }
    return answers;
}

struct SameFileRow
{
    const char* name;
    std::vector<Call> calls;
};

} // namespace

// The stream writes byte for byte what the document saves, with the same
// answer to every call.
TEST(BcXmlStream, SavesWhatTheDocumentSaves)
{
    const SameFileRow rows[] = {
        {"one empty element", {open("a")}},
        {"declaration, nesting and closing at every depth",
         {declare(), open("a"), open("b"), open("c"), leaf("d", "1"), up(), open("e"), up(), up(), leaf("f", "2"),
          up()}},
        {"elements left open at the save", {open("a"), open("b"), open("c"), attribute("x", "1")}},
        {"empty texts", {open("a"), leaf("b", ""), open("c"), text(""), up()}},
        {"attributes in order, one set again in its place",
         {open("a"), attribute("x", "1"), attribute("y", "2"), attribute("z", "3"), attribute("x", "longer"),
          attribute("y", ""), leaf("b", "t")}},
        {"markup characters in texts and attributes",
         {open("a"), attribute("q", "say \"hi\" & <go>"), attribute("s", "it's"), leaf("b", "a<b>&c\"d'e"),
          open("c"), text("x & y"), up()}},
        {"control characters and references",
         {open("a"), attribute("t", "tab\there"), leaf("b", "line\nfeed\x01"), leaf("c", "&#xE9; and &#x41"),
          leaf("d", "&#233; &#x"), leaf("e", "end &#x<")}},
        {"text and attributes outside ASCII",
         {open("a"), attribute("n", "Caf\xC3\xA9"), leaf("b", "\xE2\x99\xAF \xF0\x9D\x84\x9E")}},
        {"a text set twice keeps the second", {open("a"), open("b"), text("first"), text("second"), up()}},
        {"calls the document refuses too",
         {leaf("top", "no parent"), open(""), open("a"), attribute("", "v"), open(""), up(), up(), up(),
          attribute("late", "1"), text("late")}},
        {"two top-level elements", {declare(), open("a"), up(), open("b"), leaf("c", "1")}},
    };
    int row = 0;
    for (const SameFileRow& r : rows) {
        SCOPED_TRACE(r.name);
        const std::string documentPath = outputPath("stream-document-" + std::to_string(row) + ".xml");
        const std::string streamPath = outputPath("stream-" + std::to_string(row++) + ".xml");
        BcXmlFiler document;
        BcXmlFiler stream;
        ASSERT_TRUE(stream.startStreaming());
        EXPECT_TRUE(stream.isStreaming());
        EXPECT_EQ(run(stream, r.calls), run(document, r.calls));
        document.fileName = documentPath.c_str();
        stream.fileName = streamPath.c_str();
        ASSERT_TRUE(document.save());
        ASSERT_TRUE(stream.save());
        EXPECT_EQ(readFile(streamPath), readFile(documentPath));
        // Saving ends the stream: a second save has nothing to write and
        // keeps the file.
        EXPECT_FALSE(stream.save());
        EXPECT_EQ(readFile(streamPath), readFile(documentPath));
    }
}

struct MisuseRow
{
    const char* name;
    std::vector<Call> calls;
    const char* answers;
};

// A call out of the stream's order adds nothing and answers false, and the
// save then refuses the text and keeps the file that was there.
TEST(BcXmlStream, ACallOutOfOrderIsRefusedAndNothingIsSaved)
{
    const MisuseRow rows[] = {
        {"an attribute after a child", {open("a"), leaf("b", "1"), attribute("x", "1")}, "110"},
        {"an attribute after an empty child", {open("a"), open("b"), up(), attribute("x", "1")}, "1110"},
        {"an attribute after the text", {open("a"), open("b"), text("t"), attribute("x", "1")}, "1110"},
        {"a child after the text", {open("a"), text("t"), open("b")}, "110"},
        {"a text element after the text", {open("a"), text("t"), leaf("b", "1")}, "110"},
        {"the text after a child", {open("a"), leaf("b", "1"), text("t")}, "110"},
        {"a declaration inside an element", {open("a"), declare()}, "10"},
    };
    const std::string path = outputPath("stream-refused.xml");
    for (const MisuseRow& r : rows) {
        SCOPED_TRACE(r.name);
        {
            std::ofstream earlier(path, std::ios::binary | std::ios::trunc);
            earlier << "earlier";
        }
        BcXmlFiler stream;
        ASSERT_TRUE(stream.startStreaming());
        EXPECT_EQ(run(stream, r.calls), r.answers);
        stream.fileName = path.c_str();
        EXPECT_FALSE(stream.save());
        EXPECT_EQ(readFile(path), "earlier");
    }
}

TEST(BcXmlStream, WritesOnly)
{
    // Nothing written: nothing saved.
    BcXmlFiler empty;
    ASSERT_TRUE(empty.startStreaming());
    empty.fileName = outputPath("stream-empty.xml").c_str();
    std::remove(outputPath("stream-empty.xml").c_str());
    EXPECT_FALSE(empty.save());
    EXPECT_TRUE(readFile(outputPath("stream-empty.xml")).empty());

    // The reading calls find nothing and the cursor stays at the document.
    BcXmlFiler stream;
    ASSERT_TRUE(stream.startStreaming());
    ASSERT_TRUE(stream.addElement("a"));
    ASSERT_TRUE(stream.addTextElement("b", "1"));
    BcString out("kept");
    EXPECT_EQ(stream.current, nullptr);
    EXPECT_EQ(stream.document, nullptr);
    EXPECT_FALSE(stream.findElement("b", 0));
    EXPECT_FALSE(stream.getElementText("b", out));
    EXPECT_FALSE(stream.getAttribute("x", out));
    EXPECT_EQ(out, BcString("kept"));

    // A filer holding a document does not start streaming; opening a file
    // ends a stream.
    const std::string path = outputPath("stream-reopened.xml");
    stream.fileName = path.c_str();
    ASSERT_TRUE(stream.save());
    BcXmlFiler built;
    built.addElement("x");
    EXPECT_FALSE(built.startStreaming());
    EXPECT_FALSE(built.isStreaming());
    ASSERT_TRUE(stream.open(path.c_str()));
    EXPECT_FALSE(stream.isStreaming());
    ASSERT_TRUE(stream.findElement("a", 0));
    EXPECT_TRUE(stream.getElementText("b", out));
    EXPECT_EQ(out, BcString("1"));
}

// A long stream goes to its temporary file while it is written; the file
// saved is still the document's, and no way out leaves the temporary behind.
TEST(BcXmlStream, ALongStreamGoesToTheFileAsItIsWritten)
{
    const std::string folder = outputPath("stream-long");
    mkdir(folder.c_str(), 0777);
    const std::string documentPath = outputPath("stream-long-document.xml");
    BcXmlFiler document;
    writeLongDocument(document);
    document.fileName = documentPath.c_str();
    ASSERT_TRUE(document.save());
    ASSERT_GT(readFile(documentPath).size(), size_t(4) << 20);

    const std::string path = folder + "/long.xml";
    std::remove(path.c_str());
    {
        BcXmlFiler stream;
        ASSERT_TRUE(stream.startStreaming());
        stream.fileName = path.c_str();
        writeLongDocument(stream);
        EXPECT_EQ(folderListing(folder), "temporary ");
        ASSERT_TRUE(stream.save());
        EXPECT_EQ(readFile(path), readFile(documentPath));
        EXPECT_EQ(folderListing(folder), "long.xml ");
    }

    struct Row
    {
        const char* name;
        std::string path;
        // Where the file name points at the save; none: no save at all.
        std::string savedAs;
    };
    const Row rows[] = {
        {"abandoned without a save", folder + "/abandoned.xml", ""},
        {"a folder that does not exist", folder + "/missing/x.xml", folder + "/missing/x.xml"},
        {"renamed after part of it went out", folder + "/first.xml", folder + "/second.xml"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        {
            BcXmlFiler stream;
            ASSERT_TRUE(stream.startStreaming());
            stream.fileName = row.path.c_str();
            writeLongDocument(stream);
            if (!row.savedAs.empty()) {
                stream.fileName = row.savedAs.c_str();
                EXPECT_FALSE(stream.save());
            }
        }
        EXPECT_EQ(folderListing(folder), "long.xml ");
    }
}
