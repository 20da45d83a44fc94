#pragma once

#include "common/EdFakeContext.h"
#include "editing/QuorvaneDocument.h"
#include "foundation/BcString.h"
#include "interchange/IeMusicXmlImporter.h"
#include "model/MnSheetMusic.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

inline std::string utf8(const BcString& text)
{
    return text.toNarrow(BcString::utf8CodePage);
}

inline std::string sampleDir()
{
    return std::string(QRV_TEST_DATA_DIR) + "/musicxml";
}

inline std::string outputDir()
{
    return QRV_TEST_OUTPUT_DIR;
}

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

inline void writeFileAt(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A file of this process's own under the test output folder.
inline std::string writeFile(const std::string& bytes)
{
    static int counter = 0;
    const std::string path =
        outputDir() + "/import-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".musicxml";
    writeFileAt(path, bytes);
    return path;
}

// A partwise document: the header elements, the part list's content and
// the parts.
inline std::string scoreText(const std::string& header, const std::string& partList, const std::string& parts)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<score-partwise version=\"3.1\">" + header + "<part-list>" +
           partList + "</part-list>" + parts + "</score-partwise>";
}

// One part P1 named "Flute" with the measures given.
inline std::string onePart(const std::string& measures)
{
    return scoreText("", "<score-part id=\"P1\"><part-name>Flute</part-name></score-part>",
                     "<part id=\"P1\">" + measures + "</part>");
}

// A fresh document, active in the fake editor context; imports add works
// to it.
class MusicXmlImport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(document.OnNewDocument());
        context.activate(&document);
    }

    // The sheet the import added, or null (with the error reported).
    MnSheetMusic* importPath(const std::string& path)
    {
        IeMusicXmlImporter importer;
        const int before = document.works().count();
        if (!importer.importFile(BcString(path.c_str()))) {
            ADD_FAILURE() << "import failed: " << utf8(importer.errorText);
            return nullptr;
        }
        if (document.works().count() != before + 1) {
            ADD_FAILURE() << "no work added";
            return nullptr;
        }
        return static_cast<MnSheetMusic*>(document.works()[document.works().count() - 1]);
    }

    MnSheetMusic* importText(const std::string& xml)
    {
        return importPath(writeFile(xml));
    }

    EdFakeContext context;
    QuorvaneDocument document;
};
