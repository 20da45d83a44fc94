#pragma once

#include "foundation/BcArray.h"
#include "foundation/BcString.h"

class MnScore;
class MnSheetMusic;
class MnWork;
class QuorvaneDocument;

// File/Import and File/Export (and File/Print when no score view takes it):
// a file dialog whose filter lists the formats, then the reader or writer
// of the chosen file's extension. Import adds the music to the active
// document as one edit, creating a document first when none is open;
// export writes the document, or what the selection chooses, and changes
// nothing.
class EdFileCommands
{
public:
    static void cmdImport();
    static void cmdExport();

    // The readers and writers the commands call; tests put recorders in
    // their place. Each answers whether it succeeded; the readers say why
    // not in error.
    struct Formats
    {
        bool (*importMusicXml)(const BcString& path, BcString& error);
        bool (*importMidi)(const BcString& path, BcString& error);
        // sheets: the selected sheet musics, none for every sheet.
        bool (*exportPdf)(const BcString& path, QuorvaneDocument* document, const BcArray<MnSheetMusic*>& sheets);
        bool (*exportPng)(const BcString& path, QuorvaneDocument* document, const BcArray<MnSheetMusic*>& sheets,
                          bool transparent);
        bool (*exportMidi)(const BcString& path, MnScore* score);
        bool (*exportMusicXml)(const BcString& path, MnWork* work, MnSheetMusic* sheet);
    };
    static Formats& formats();
    static const Formats& defaultFormats();

    // The dialogs' filters: "Name (*.ext)|*.ext|...||".
    static BcString importFilter();
    static BcString exportFilter();
    // The name export proposes for the document's title: no "*", and no
    // ".qrv" after a name of at least one character.
    static BcString defaultExportName(const BcString& title);
    // The extension after the file name's last ".", without it; empty when
    // the name has none.
    static BcString extensionOf(const BcString& path);
    // A path whose file name has no extension takes that of the filter's
    // entry (0 the first).
    static BcString withFilterExtension(const BcString& path, const BcString& filter, int filterIndex);

    static constexpr unsigned importId = 32849;
    static constexpr unsigned exportId = 32850;
    static constexpr unsigned printId = 57607;

    static void addRows();
};
