#include "foundation/BcStringResources.h"

#include <algorithm>
#include <atomic>
#include <iterator>

// Every text the program shows from the string table, in id order. The
// translations (resources/locale/*.po) carry exactly these ids; a new string
// here needs its translations there.
static const BcStringResources::Entry englishTexts[] = {
    {128, "Quorvane"},
    // The document type: window title, name of new documents, file type,
    // filter, extension, type id, type name.
    {130, "\nNew \nQuorvane file\nQuorvane files (*.qrv)\n.qrv\nQuorvane.File\nQuorvane file"},
    {131, "&Windows..."},
    {156, "Context palette"},
    {157, "Piano keyboard"},
    {158, "Properties"},
    {159, "Project browser"},
    {10002, "Version"},
    {10006, "Untitled"},
    {10007, "Unknown"},
    {10031, "New text"},
    {10060, "A Quorvane update is available for download.\nDo you want to download it now?\n\nNew available "
            "version: %d.%d.%d.%d\n\nCurrent installed version: %d.%d.%d.%d"},
    {10063, "Unable to read the XML code"},
    {10064, "Not a partwise MusicXML file"},
    {10065, "Unsupported %d:%d tuplet found"},
    {10066, "The file was saved with a newer version of Quorvane and the file format changed. You need "
            "to update Quorvane in order to be able to open it"},
    {10067, "Unable to open the MIDI file"},
    {10068, "Unable to read the MIDI data"},
    {10069, "Unsupported MIDI format"},
    {10076, "Your version is the newest available."},
    {10077, "Low"},
    {10078, "Medium"},
    {10079, "High"},
    {10085, "%ls tool"},
    {10114, "Fretboard"},
    {10115, "Invalid MusicXML data: %ls"},
    // Why the player runs silent.
    {10117, "Quorvane plays no sound: there is no instrument bank at %1."},
    {10118, "Quorvane plays no sound: the instrument bank %1 is damaged (%2)."},
    {10119, "Quorvane plays no sound: there is no audio output device."},
    {10120, "Quorvane plays no sound: the audio output device would not open (%1)."},
    {10200, "Save changes to %ls?"},
    {10201, "Unable to open the file %ls."},
    {10202, "Enter an integer between %1 and %2."},
    {10203, "Enter a number between %1 and %2."},
    {10204, "Unable to save the file %ls."},
    // The prompts of the editing commands: the hint, then the tool's name.
    {32970, "Show all hidden rests in the selected Measure, Staff or Voice\nShow all rests"},
    {32971, "Hide the selected rests\nHide rest"},
    {32973, "Swap voices 1 and 2 in the selected Measures\nSwap voices"},
    {32995, "Shorten the Measure duration by removing the beats corresponding to the selected Notes\n"
            "Remove beat"},
    {33020, "Set the cursor to the specified Measure of the current Score, or the main Score if the current "
            "Score can't be determined\nGo to..."},
    {33069, "Toggle automatic snap guide lines on element moving\nToggle Snap guide lines"},
    {33070, "Toggle ortho mode to restrict element moving to horizontal or vertical directions\n"
            "Toggle Ortho mode"},
    {33087, "Hide the selected Tuplets\nHide Tuplet"},
    {33088, "Show all hidden Tuplets in the selected Measure or Staff\nShow all Tuplets"},
    {57344, "Quorvane"},
    // What a dialog says of a number it cannot take.
    {61712, "Please enter an integer."},
    {61713, "Please enter an integer between %1 and %2."},
    {61714, "Please enter a whole number of zero or more."},
};

static std::atomic<const BcStringResources*> installed{nullptr};

BcStringResources::~BcStringResources() = default;

BcString BcStringResources::loadString(unsigned id) const
{
    const char* text = english(id);
    return text ? BcString(text) : BcString();
}

const char* BcStringResources::english(unsigned id)
{
    auto end = std::end(englishTexts);
    auto it = std::lower_bound(std::begin(englishTexts), end, id,
                               [](const Entry& entry, unsigned key) { return entry.id < key; });
    return it != end && it->id == id ? it->text : nullptr;
}

const BcStringResources::Entry* BcStringResources::englishTable(int& count)
{
    count = int(std::size(englishTexts));
    return englishTexts;
}

const BcStringResources& BcStringResources::current()
{
    static const BcStringResources defaults;
    const BcStringResources* resources = installed.load(std::memory_order_acquire);
    return resources ? *resources : defaults;
}

void BcStringResources::install(const BcStringResources* resources)
{
    installed.store(resources, std::memory_order_release);
}
