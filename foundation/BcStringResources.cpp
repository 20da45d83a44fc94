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
    {10066, "The file was saved with a newer version of Quorvane and the file format changed. You need "
            "to update Quorvane in order to be able to open it"},
    {10085, "%ls tool"},
    {10114, "Fretboard"},
    {10200, "Save changes to %ls?"},
    {10201, "Unable to open the file %ls."},
    {10202, "Enter an integer between %1 and %2."},
    {10203, "Enter a number between %1 and %2."},
    {10204, "Unable to save the file %ls."},
    {57344, "Quorvane"},
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
