#include "interchange/IeMusicXmlExporter.h"

#include "model/MnWork.h"

#include "interchange/ExportTestSheet.h"
#include "interchange/ExportedMusicXml.h"
#include "interchange/IeMusicXmlImportSupport.h"

#include <gtest/gtest.h>

#include <string>

// Exporting streams the file; it must be the file that a document built and
// saved whole gives, for every sheet the fixtures read into.
TEST_F(MusicXmlImport, AStreamedExportIsTheBuiltDocumentByteForByte)
{
    // Every fixture but the tuplets, whose ratios the importer refuses.
    const char* const files[] = {
        "01a-Pitches-Pitches.xml",        "02a-Rests-Durations.xml", "03a-Rhythm-Durations.xml",
        "03b-Rhythm-Backup.xml",          "11a-TimeSignatures.xml",  "12a-Clefs.xml",
        "13a-KeySignatures.xml",          "21a-Chord-Basic.xml",     "24a-GraceNotes.xml",
        "31a-Directions.xml",             "32a-Notations.xml",       "33b-Spanners-Tie.xml",
        "41c-StaffGroups.xml",            "43a-PianoStaff.xml",      "45b-RepeatWithAlternatives.xml",
        "46a-Barlines.xml",               "51a-Header-Credits.xml",  "52a-PageLayout.xml",
        "61a-Lyrics.xml",
    };
    FixedExportClock clock;
    for (const char* file : files) {
        SCOPED_TRACE(file);
        MnSheetMusic* sheet = importPath(sampleDir() + "/" + file);
        ASSERT_NE(sheet, nullptr);
        MnWork work;
        work.title = "Caf\xC3\xA9 \"Au Lait\" & <Cr\xC3\xA8me>";
        work.composer = "O'Brien\tand\nSons";
        work.copyright = "\xC2\xA9 &#x41; &#xE9";
        expectStreamedAsBuilt(sheet, &work, std::string("streamed-") + file);
    }
}
