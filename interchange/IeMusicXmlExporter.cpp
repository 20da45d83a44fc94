// The document frame of a MusicXML export: declaration, root, header,
// defaults, credits and part list, and the saving of the file.

#include "interchange/IeMusicXmlExporter.h"

#include "foundation/BcDate.h"
#include "foundation/BcString.h"
#include "foundation/BcXmlFiler.h"
#include "model/MnCache.h"
#include "model/MnCredit.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnWork.h"

BC_IMPLEMENT_CREATABLE_CLASS(IeMusicXmlExporter)

// The program that encoded the file, with its version.
static const char* const encodingSoftware = "Quorvane 1.5.1";

bool IeMusicXmlExporter::exportFile(const wchar_t* path, MnWork* work, MnSheetMusic* sheet)
{
    if (!path)
        return false;
    // Streamed, to the file as it is written: a large score's file never
    // stands in memory, as a tree or as a whole text.
    BcXmlFiler filer(BcString::utf8CodePage);
    filer.startStreaming();
    filer.fileName = BcString(path);
    return writeDocument(filer, work, sheet) && filer.save();
}

bool IeMusicXmlExporter::writeDocument(BcXmlFiler& filer, MnWork* work, MnSheetMusic* sheet)
{
    if (!sheet || !sheet->score())
        return false;
    // One scope for the whole export: the pagination, the column layouts
    // and the chord caches that one part computes serve every other part.
    MnCache scope;
    filer.addDeclaration(BcString("1.0"), BcString("UTF-8"));
    if (filer.addElement("score-partwise")) {
        filer.setAttribute("version", "3.1");
        writeHeader(filer, work);
        writeDefaults(filer, sheet);
        for (int i = 0; i < sheet->creditCount(); ++i)
            writeCredits(filer, sheet->credit(i));
        writePartList(filer, sheet);
        MnScore* score = sheet->score();
        for (int staff = 0; staff < score->staffCount(); ++staff)
            writePart(filer, sheet, staff);
    }
    return true;
}

void IeMusicXmlExporter::writeHeader(BcXmlFiler& filer, const MnWork* work)
{
    if (work && !work->title.isEmpty()) {
        filer.addElement("work");
        filer.addTextElementString("work-title", work->title);
        filer.goToParent();
    }
    if (!filer.addElement("identification"))
        return;
    if (work) {
        const struct
        {
            const char* type;
            const BcString& name;
        } creators[] = {{"composer", work->composer}, {"arranger", work->arranger}, {"lyricist", work->lyricist}};
        for (const auto& creator : creators) {
            if (creator.name.isEmpty())
                continue;
            filer.addElement("creator");
            filer.setAttribute("type", creator.type);
            filer.setElementText(creator.name);
            filer.goToParent();
        }
        if (!work->copyright.isEmpty())
            filer.addTextElementString("rights", work->copyright);
    }
    if (filer.addElement("encoding")) {
        filer.addTextElement("software", encodingSoftware);
        BcDate today;
        today.setNow();
        // A clock that cannot be read leaves no date rather than an invalid one.
        if (today.year > 0)
            filer.addTextElementString("encoding-date", today.toIsoDate());
        filer.goToParent();
    }
    filer.goToParent();
}

void IeMusicXmlExporter::writeDefaults(BcXmlFiler& filer, const MnSheetMusic* sheet)
{
    if (!filer.addElement("defaults"))
        return;
    scale = millimetresPerTenth;
    filer.addElement("scaling");
    filer.addTextElementDouble("millimeters", 40.0 * millimetresPerTenth);
    filer.addTextElementDouble("tenths", 40.0);
    filer.goToParent();

    // The stored paper and margins, as the model keeps them; orientation and
    // margin links are the sheet's own business.
    filer.addElement("page-layout");
    filer.addTextElementDouble("page-height", sheet->paperHeight() / scale);
    filer.addTextElementDouble("page-width", sheet->paperWidth() / scale);
    filer.addElement("page-margins");
    filer.setAttribute("type", "both");
    filer.addTextElementDouble("left-margin", sheet->storedLeftMargin() / scale);
    filer.addTextElementDouble("right-margin", sheet->storedRightMargin() / scale);
    filer.addTextElementDouble("top-margin", sheet->storedTopMargin() / scale);
    filer.addTextElementDouble("bottom-margin", sheet->storedBottomMargin() / scale);
    filer.goToParent();
    filer.goToParent();
    filer.goToParent();
}

void IeMusicXmlExporter::writeCredits(BcXmlFiler& filer, MnCredit* credit)
{
    static const char* const creditTypes[MnCredit::typeCount] = {"title",    "subtitle", "composer",
                                                                 "arranger", "lyricist", "rights"};
    static const char* const justifications[] = {"left", "center", "right"};
    static const char* const verticalAlignments[] = {"top", "middle", "bottom", "baseline"};
    if (!credit || !filer.addElement("credit"))
        return;
    filer.setAttribute("page", credit->page() + 1);
    if (credit->type() >= 0 && credit->type() < MnCredit::typeCount)
        filer.addTextElement("credit-type", creditTypes[credit->type()]);

    filer.addElement("credit-words");
    const GePoint2d at = credit->position();
    filer.setAttribute("default-x", at.x / scale);
    // The model measures a credit's y upward from the top margin line, the
    // file from the bottom of the page.
    const MnSheetMusic* sheet = credit->sheetMusic();
    const double pageTop = sheet ? sheet->pageHeight() - sheet->topMargin() : 0.0;
    filer.setAttribute("default-y", (pageTop + at.y) / scale);
    filer.setAttribute("font-size", int(credit->size()));
    const int justification = credit->creditAlignment();
    if (justification >= 0 && justification <= 2)
        filer.setAttribute("justify", justifications[justification]);
    const int row = credit->alignment() / 3;
    if (credit->alignment() >= 0 && row <= 3)
        filer.setAttribute("valign", verticalAlignments[row]);
    filer.setElementText(credit->text());
    filer.goToParent();
    filer.goToParent();
}

// A group is written only over staves the score has; any other could not be
// closed where it opens.
static bool isWrittenGroup(const MnPartGroup* group, int staves)
{
    return group->firstStaff() >= 0 && group->staffCount() >= 1 &&
           (long long)group->firstStaff() + group->staffCount() <= staves;
}

void IeMusicXmlExporter::writePartList(BcXmlFiler& filer, MnSheetMusic* sheet)
{
    static const char* const groupSymbols[MnPartGroup::bracketTypeCount] = {"brace", "bracket", "square", "line"};
    const MnScore* score = sheet ? sheet->score() : nullptr;
    if (!score || !filer.addElement("part-list"))
        return;
    // Group numbers follow nesting: a group takes the lowest number that no
    // group open at its start holds, and gives it back at its stop.
    const int groups = score->partGroupCount();
    BcArray<int> numbers;
    numbers.setSize(groups);
    BcArray<bool> held;
    for (int m = 0; m < score->staffCount(); ++m) {
        for (int j = 0; j < groups; ++j) {
            const MnPartGroup* group = score->partGroup(j);
            if (group->firstStaff() != m || !isWrittenGroup(group, score->staffCount()))
                continue;
            int number = 0;
            while (number < held.count() && held[number])
                ++number;
            if (number == held.count())
                held.add(false);
            held[number] = true;
            numbers[j] = number + 1;
            filer.addElement("part-group");
            filer.setAttribute("number", numbers[j]);
            filer.setAttribute("type", "start");
            if (!group->name().isEmpty())
                filer.addTextElementString("group-name", group->name());
            if (!group->abbreviation().isEmpty())
                filer.addTextElementString("group-abbreviation", group->abbreviation());
            if (group->bracketType() >= 0 && group->bracketType() < MnPartGroup::bracketTypeCount)
                filer.addTextElement("group-symbol", groupSymbols[group->bracketType()]);
            filer.goToParent();
        }

        const MnPart* part = score->part(m);
        filer.addElement("score-part");
        filer.setAttribute(BcString("id"), BcString("P") + BcString(m + 1));
        filer.addTextElementString("part-name", part->name());
        if (!part->abbreviation().isEmpty())
            filer.addTextElementString("part-abbreviation", part->abbreviation());
        filer.goToParent();

        for (int j = 0; j < groups; ++j) {
            const MnPartGroup* group = score->partGroup(j);
            if (group->lastStaff() != m || !isWrittenGroup(group, score->staffCount()))
                continue;
            filer.addElement("part-group");
            filer.setAttribute("number", numbers[j]);
            filer.setAttribute("type", "stop");
            filer.goToParent();
            held[numbers[j] - 1] = false;
        }
    }
    filer.goToParent();
}
