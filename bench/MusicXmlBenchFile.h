#pragma once

#include "editing/EdContext.h"

#include <string>

class QuorvaneDocument;

// The MusicXML file that the import benchmark reads and the export
// benchmark imports first: parts x measures of 4/4 at 4 divisions, each
// measure a half-note chord, a quarter tied into an eighth and an eighth
// rest, with lyrics, a dynamic mark every fourth measure, and a new key and
// time signature halfway.
std::string musicXmlBenchFile(int parts, int measures);

// Makes the document the active one, which the importer adds its work to,
// while it lives.
class BenchImportContext : public EdContext
{
public:
    BenchImportContext() { previous = EdContext::install(this); }
    ~BenchImportContext() override { EdContext::install(previous); }
    QuorvaneDocument* activeDocument() override { return document; }

    QuorvaneDocument* document = nullptr;

private:
    EdContext* previous = nullptr;
};
