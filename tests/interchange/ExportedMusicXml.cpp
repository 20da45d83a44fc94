#include "interchange/ExportedMusicXml.h"

#include "foundation/BcString.h"
#include "foundation/BcXmlFiler.h"

#include <cstdio>
#include <fstream>
#include <sstream>

std::string exportOutputPath(const std::string& name)
{
    return std::string(QRV_TEST_OUTPUT_DIR) + "/" + name;
}

std::wstring widePath(const std::string& utf8)
{
    BcString text(utf8.c_str());
    std::wstring wide;
    for (int i = 0; i < text.length(); ++i) {
        const char32_t unit = text[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.length()) {
            const char32_t low = text[++i];
            wide += wchar_t(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        } else {
            wide += wchar_t(unit);
        }
    }
    return wide;
}

std::string readWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

ExportedMusicXml::ExportedMusicXml(MnSheetMusic* sheet, MnWork* work, const std::string& name)
    : path(exportOutputPath(name + ".musicxml"))
{
    std::remove(path.c_str());
    IeMusicXmlExporter exporter;
    exported = exporter.exportFile(widePath(path).c_str(), work, sheet);
    EXPECT_TRUE(exported) << path;
    EXPECT_TRUE(matchesMusicXmlSchema(path));
    document.LoadFile(path.c_str());
}

void expectStreamedAsBuilt(MnSheetMusic* sheet, MnWork* work, const std::string& name)
{
    ExportedMusicXml streamed(sheet, work, name);
    BcXmlFiler built(BcString::utf8CodePage);
    IeMusicXmlExporter exporter;
    ASSERT_TRUE(exporter.writeDocument(built, work, sheet));
    ASSERT_NE(built.document, nullptr);
    built.fileName = BcString(exportOutputPath(name + "-built.musicxml").c_str());
    ASSERT_TRUE(built.save());
    const std::string bytes = readWholeFile(streamed.path);
    EXPECT_FALSE(bytes.empty());
    // Compared line by line first, so a difference shows where it starts.
    std::istringstream streamedLines(bytes);
    std::istringstream builtLines(readWholeFile(exportOutputPath(name + "-built.musicxml")));
    std::string streamedLine;
    std::string builtLine;
    for (int line = 1; std::getline(builtLines, builtLine); ++line) {
        std::getline(streamedLines, streamedLine);
        ASSERT_EQ(streamedLine, builtLine) << name << " line " << line;
    }
    EXPECT_EQ(bytes, readWholeFile(exportOutputPath(name + "-built.musicxml"))) << name;
}

std::vector<const TiXmlElement*> ExportedMusicXml::select(const std::string& path,
                                                          const TiXmlElement* from) const
{
    std::vector<const TiXmlElement*> found;
    if (!from)
        from = root();
    if (!from)
        return found;
    found.push_back(from);
    std::istringstream names(path);
    std::string name;
    while (std::getline(names, name, '/')) {
        std::vector<const TiXmlElement*> next;
        for (const TiXmlElement* element : found) {
            for (const TiXmlElement* child = element->FirstChildElement(name.c_str()); child;
                 child = child->NextSiblingElement(name.c_str()))
                next.push_back(child);
        }
        found.swap(next);
    }
    return found;
}

std::vector<const TiXmlElement*> ExportedMusicXml::notes(int part) const
{
    std::vector<const TiXmlElement*> parts = select("part");
    if (part < 1 || part > int(parts.size()))
        return {};
    return select("measure/note", parts[part - 1]);
}

std::string childNames(const TiXmlElement* element)
{
    std::string names;
    for (const TiXmlElement* child = element ? element->FirstChildElement() : nullptr; child;
         child = child->NextSiblingElement())
        names += (names.empty() ? "" : " ") + std::string(child->Value());
    return names;
}

std::string elementLine(const TiXmlElement* element)
{
    if (!element)
        return "";
    std::string line = element->Value();
    std::string attributes;
    for (const TiXmlAttribute* attribute = element->FirstAttribute(); attribute; attribute = attribute->Next())
        attributes += (attributes.empty() ? "" : ",") + std::string(attribute->Name()) + "=" + attribute->Value();
    if (!attributes.empty())
        line += "[" + attributes + "]";
    if (element->FirstChildElement())
        line += "(" + compactContent(element) + ")";
    else if (element->GetText())
        line += std::string("=") + element->GetText();
    return line;
}

std::string compactContent(const TiXmlElement* element)
{
    std::string line;
    for (const TiXmlElement* child = element ? element->FirstChildElement() : nullptr; child;
         child = child->NextSiblingElement()) {
        if (!line.empty())
            line += ' ';
        line += elementLine(child);
    }
    return line;
}

std::string childLines(const TiXmlElement* element, const char* name)
{
    std::string lines;
    for (const TiXmlElement* child = element ? element->FirstChildElement(name) : nullptr; child;
         child = child->NextSiblingElement(name))
        lines += (lines.empty() ? "" : " | ") + elementLine(child);
    return lines;
}

std::string childText(const TiXmlElement* element, const char* name)
{
    const TiXmlElement* child = element ? element->FirstChildElement(name) : nullptr;
    if (!child)
        return "-";
    return child->GetText() ? child->GetText() : "";
}
