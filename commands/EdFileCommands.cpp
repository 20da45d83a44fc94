#include "commands/EdFileCommands.h"

#include "commands/EdCommandTable.h"
#include "editing/EdCommand.h"
#include "editing/EdContext.h"
#include "editing/EdSelection.h"
#include "editing/EdView.h"
#include "editing/QuorvaneDocument.h"
#include "foundation/BcStringResources.h"
#include "interchange/IeMIDIImporter.h"
#include "interchange/IeMusicXmlExporter.h"
#include "interchange/IeMusicXmlImporter.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnWork.h"
#include "playback/MpMIDI.h"
#include "render/ReBitmap.h"
#include "render/RePDF.h"

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr unsigned musicXmlFilterString = 10003;
constexpr unsigned pdfFilterString = 10004;
constexpr unsigned importFailedString = 10062;
constexpr unsigned transparentQuestion = 10070;
constexpr unsigned exportFailedString = 10116;

bool importMusicXml(const BcString& path, BcString& error)
{
    IeMusicXmlImporter importer;
    const bool imported = importer.importFile(path);
    error = importer.errorText;
    return imported;
}

bool importMidi(const BcString& path, BcString& error)
{
    IeMIDIImporter importer;
    const bool imported = importer.importFile(path);
    error = importer.errorText();
    return imported;
}

bool exportPdf(const BcString& path, QuorvaneDocument* document, const BcArray<MnSheetMusic*>& sheets)
{
    RePDF pdf;
    for (int i = 0; i < sheets.count(); ++i)
        pdf.add(sheets[i]);
    return pdf.exportDocument(path, document);
}

bool exportPng(const BcString& path, QuorvaneDocument* document, const BcArray<MnSheetMusic*>& sheets,
               bool transparent)
{
    ReBitmap bitmap;
    for (int i = 0; i < sheets.count(); ++i)
        bitmap.add(sheets[i]);
    return bitmap.exportImages(path, document, transparent, 10.0);
}

bool exportMidi(const BcString& path, MnScore* score)
{
    // The writer is a whole performer: too large for the stack.
    auto midi = std::make_unique<MpMIDI>();
    return midi->exportScore(path, score);
}

// The exporter takes a wide path; BcString holds UTF-16.
std::wstring widePath(const BcString& path)
{
    std::wstring wide;
    const char16_t* units = path.chars();
    for (int i = 0; i < path.length(); ++i) {
        char32_t unit = units[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < path.length() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        }
        wide.push_back(wchar_t(unit));
    }
    return wide;
}

bool exportMusicXml(const BcString& path, MnWork* work, MnSheetMusic* sheet)
{
    IeMusicXmlExporter exporter;
    return exporter.exportFile(widePath(path).c_str(), work, sheet);
}

char16_t lower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

bool sameIgnoringCase(const BcString& a, const char16_t* b)
{
    int i = 0;
    for (; b[i]; ++i) {
        if (i >= a.length() || lower(a[i]) != lower(b[i]))
            return false;
    }
    return i == a.length();
}

// Where the file name starts: after the last separator.
int fileNameStart(const BcString& path)
{
    int start = 0;
    for (int i = 0; i < path.length(); ++i) {
        if (path[i] == u'/')
            start = i + 1;
    }
    return start;
}

// A filter string of the table with its words replaced.
BcString filterText(unsigned id, const char16_t* name = nullptr, const char16_t* newName = nullptr,
                    const char16_t* extension = nullptr, const char16_t* newExtension = nullptr)
{
    BcString text = BcStringResources::current().loadString(id);
    if (name)
        text.replaceAll(BcString(name), BcString(newName));
    if (extension)
        text.replaceAll(BcString(extension), BcString(newExtension));
    return text;
}

// Joins filters: each loses the closing "|" before the next one.
BcString joined(const std::vector<BcString>& parts)
{
    BcString all;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0 && all.endsWith(BcString(u"|")))
            all = all.midRange(0, all.length() - 2);
        all.append(parts[i]);
    }
    return all;
}

// The sheet musics among the view's selection, in its order.
BcArray<MnSheetMusic*> selectedSheets(EdContext& context)
{
    BcArray<MnSheetMusic*> sheets;
    if (EdView* view = context.activeView()) {
        const EdSelection& selection = view->selection();
        for (int i = 0; i < selection.count(); ++i) {
            if (selection.element(i)->isKindOf(MnSheetMusic::staticClass()))
                sheets.add(static_cast<MnSheetMusic*>(selection.element(i)));
        }
    }
    return sheets;
}

MnElement* mainWork(QuorvaneDocument* document)
{
    const int main = document->mainScoreIndex();
    return main > 0 && main < document->works().count() ? document->works()[main] : nullptr;
}

// The score that MIDI export writes: each selected element replaces the
// choice (a score itself, a sheet music its score, anything else none); a
// final none falls back to the main score.
MnScore* scoreToWrite(EdContext& context, QuorvaneDocument* document)
{
    MnScore* score = nullptr;
    if (EdView* view = context.activeView()) {
        const EdSelection& selection = view->selection();
        for (int i = 0; i < selection.count(); ++i) {
            MnElement* element = selection.element(i);
            if (element->isKindOf(MnScore::staticClass()))
                score = static_cast<MnScore*>(element);
            else if (element->isKindOf(MnSheetMusic::staticClass()))
                score = static_cast<MnSheetMusic*>(element)->score();
            else
                score = nullptr;
        }
    }
    if (score)
        return score;
    MnElement* main = mainWork(document);
    if (!main)
        return nullptr;
    if (main->isKindOf(MnScore::staticClass()))
        return static_cast<MnScore*>(main);
    if (main->isKindOf(MnSheetMusic::staticClass()))
        return static_cast<MnSheetMusic*>(main)->score();
    return nullptr;
}

MnSheetMusic* sheetToWrite(EdContext& context, QuorvaneDocument* document)
{
    BcArray<MnSheetMusic*> sheets = selectedSheets(context);
    if (!sheets.isEmpty())
        return sheets[0];
    MnElement* main = mainWork(document);
    if (main && main->isKindOf(MnSheetMusic::staticClass()))
        return static_cast<MnSheetMusic*>(main);
    const BcArray<MnElement*>& order = document->displayOrder();
    for (int i = 1; i < order.count(); ++i) {
        if (order[i]->isKindOf(MnSheetMusic::staticClass()))
            return static_cast<MnSheetMusic*>(order[i]);
    }
    return nullptr;
}

void showImportFailure(EdContext& context, const BcString& error, bool midi)
{
    BcString text = BcStringResources::current().loadString(importFailedString);
    text.replaceAll(BcString(u"%ls"), error);
    if (midi)
        text.replaceAll(BcString(u"MusicXML"), BcString(u"MIDI"));
    context.showInformationText(text);
}

}

EdFileCommands::Formats& EdFileCommands::formats()
{
    static Formats installed = defaultFormats();
    return installed;
}

const EdFileCommands::Formats& EdFileCommands::defaultFormats()
{
    static const Formats defaults{&importMusicXml, &importMidi, &exportPdf, &exportPng, &exportMidi, &exportMusicXml};
    return defaults;
}

BcString EdFileCommands::importFilter()
{
    return joined({filterText(musicXmlFilterString),
                   filterText(musicXmlFilterString, u"MusicXML", u"MIDI", u"musicxml", u"mid")});
}

BcString EdFileCommands::exportFilter()
{
    return joined({filterText(pdfFilterString), filterText(pdfFilterString, u"PDF", u"PNG", u"pdf", u"png"),
                   filterText(pdfFilterString, u"PDF", u"MIDI", u"pdf", u"mid"), filterText(musicXmlFilterString)});
}

BcString EdFileCommands::defaultExportName(const BcString& title)
{
    BcString name = title;
    name.replaceAll(BcString(u"*"), BcString());
    if (name.length() >= 5 && sameIgnoringCase(name.mid(name.length() - 4), u".qrv"))
        name = name.midRange(0, name.length() - 5);
    return name;
}

BcString EdFileCommands::extensionOf(const BcString& path)
{
    const int start = fileNameStart(path);
    for (int i = path.length() - 1; i >= start; --i) {
        if (path[i] == u'.')
            return path.mid(i + 1);
    }
    return BcString();
}

BcString EdFileCommands::withFilterExtension(const BcString& path, const BcString& filter, int filterIndex)
{
    const int start = fileNameStart(path);
    for (int i = start; i < path.length(); ++i) {
        if (path[i] == u'.')
            return path;
    }
    if (start == path.length() || filterIndex < 0)
        return path;
    // Entries are "name|pattern|"; the pattern of entry n is field 2n + 1.
    int field = 0;
    int fieldStart = 0;
    for (int i = 0; i <= filter.length(); ++i) {
        if (i < filter.length() && filter[i] != u'|')
            continue;
        if (field == 2 * filterIndex + 1) {
            const BcString pattern = filter.midRange(fieldStart, i - 1);
            if (pattern.length() > 2 && pattern[0] == u'*' && pattern[1] == u'.')
                return path + pattern.mid(1);
            return path;
        }
        ++field;
        fieldStart = i + 1;
    }
    return path;
}

void EdFileCommands::cmdImport()
{
    EdContext& context = EdContext::current();
    auto edit = std::make_unique<EdCommand>();
    const BcString filter = importFilter();
    BcString path;
    int filterIndex = 0;
    if (!context.chooseFile(false, filter, BcString(), path, filterIndex))
        return;
    path = withFilterExtension(path, filter, filterIndex);
    const BcString extension = extensionOf(path);
    const bool musicXml = sameIgnoringCase(extension, u"musicxml");
    const bool midi = sameIgnoringCase(extension, u"mid");
    if (!musicXml && !midi)
        return;
    if (!context.activeDocument()) {
        // The edit belongs to the new document.
        edit.reset();
        if (!context.newDocument() || !context.activeDocument())
            return;
        edit = std::make_unique<EdCommand>();
    }
    BcString error;
    const Formats& use = formats();
    if (musicXml ? use.importMusicXml(path, error) : use.importMidi(path, error)) {
        edit->markModified();
        return;
    }
    // Whatever a failed reader had added goes with the reloaded snapshot.
    if (musicXml) {
        edit->markModified();
        edit->cancel = true;
    }
    edit->close();
    showImportFailure(context, error, midi);
}

void EdFileCommands::cmdExport()
{
    EdContext& context = EdContext::current();
    EdCommand edit;
    QuorvaneDocument* document = context.activeDocument();
    if (!document)
        return;
    const BcString filter = exportFilter();
    BcString path;
    int filterIndex = 0;
    if (!context.chooseFile(true, filter, defaultExportName(document->title()), path, filterIndex))
        return;
    path = withFilterExtension(path, filter, filterIndex);
    const BcString extension = extensionOf(path);
    const Formats& use = formats();
    bool written = false;
    if (sameIgnoringCase(extension, u"pdf")) {
        written = use.exportPdf(path, document, selectedSheets(context));
    } else if (sameIgnoringCase(extension, u"png")) {
        const bool transparent = context.askYesNo(transparentQuestion);
        written = use.exportPng(path, document, selectedSheets(context), transparent);
    } else if (sameIgnoringCase(extension, u"mid")) {
        MnScore* score = scoreToWrite(context, document);
        if (!score)
            return;
        written = use.exportMidi(path, score);
    } else if (sameIgnoringCase(extension, u"musicxml")) {
        const BcArray<MnElement*>& order = document->displayOrder();
        if (order.isEmpty() || !order[0]->isKindOf(MnWork::staticClass()))
            return;
        MnSheetMusic* sheet = sheetToWrite(context, document);
        if (!sheet)
            return;
        written = use.exportMusicXml(path, static_cast<MnWork*>(order[0]), sheet);
    } else {
        return;
    }
    if (!written) {
        BcString text = BcStringResources::current().loadString(exportFailedString);
        text.replaceAll(BcString(u"%ls"), path);
        context.showInformationText(text);
    }
}

void EdFileCommands::addRows()
{
    EdCommandTable::add({importId, [](unsigned) { cmdImport(); }, &EdCommandTable::always});
    EdCommandTable::add({exportId, [](unsigned) { cmdExport(); }, &EdCommandTable::always});
    EdCommandTable::add({printId, [](unsigned) { cmdExport(); }, &EdCommandTable::whenDocument});
}
