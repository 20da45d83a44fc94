#pragma once

#include "interchange/IeMusicXmlExporter.h"
#include "interchange/MusicXmlSchema.h"

#include <tinyxml.h>

#include <string>
#include <vector>

class MnSheetMusic;
class MnWork;

// A path in the test output folder.
std::string exportOutputPath(const std::string& name);
// The UTF-8 path as the exporter takes it.
std::wstring widePath(const std::string& utf8);
std::string readWholeFile(const std::string& path);

// A sheet exported to a file of the test output folder, checked against the
// schema and read back.
class ExportedMusicXml
{
public:
    // Exports under the name (one file per name, so a failing test leaves its
    // file to look at); exported tells whether the exporter said it wrote.
    ExportedMusicXml(MnSheetMusic* sheet, MnWork* work, const std::string& name);

    const TiXmlElement* root() const { return document.RootElement(); }
    // The elements at the end of the path of child names ("part/measure/note")
    // below the element (the root by default), in document order.
    std::vector<const TiXmlElement*> select(const std::string& path, const TiXmlElement* from = nullptr) const;
    // The notes of the part's measures (1-based part number), in order.
    std::vector<const TiXmlElement*> notes(int part = 1) const;

    std::string path;
    bool exported = false;
    TiXmlDocument document;
};

// Exports the sheet as the exporter does (streamed, checked against the
// schema) and through a document built and saved whole: the two files must
// be the same bytes. Run under one clock, so both carry the same date.
void expectStreamedAsBuilt(MnSheetMusic* sheet, MnWork* work, const std::string& name);

// The names of the element's children, space-separated.
std::string childNames(const TiXmlElement* element);
// The element's children in one line: name, [attributes], =text for a leaf,
// (its children) for an inner element; children separated by spaces.
// <pitch><step>C</step><octave>4</octave></pitch><voice>1</voice> reads
// "pitch(step=C octave=4) voice=1".
std::string compactContent(const TiXmlElement* element);
// The element itself in the form compactContent gives each child.
std::string elementLine(const TiXmlElement* element);
// elementLine of each child of that name, joined by " | ".
std::string childLines(const TiXmlElement* element, const char* name);
// The text of the first child of that name; "-" when there is none.
std::string childText(const TiXmlElement* element, const char* name);
