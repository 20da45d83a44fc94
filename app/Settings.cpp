#include "app/Settings.h"

#include "platform/PlConfigFile.h"
#include "platform/PlPaths.h"

BC_IMPLEMENT_CREATABLE_CLASS(Settings)

namespace {

enum class Kind { number, flag, upTo };

struct Field
{
    const char* name;
    Kind kind;
    int Settings::*number;
    bool Settings::*flag;
    int limit;  // for upTo: the largest value taken, compared unsigned
};

// In the order of the file and of the options dialog.
const Field fields[] = {
    {"Language", Kind::number, &Settings::language, nullptr, 0},
    {"UseRightButtonToPan", Kind::flag, nullptr, &Settings::useRightButtonToPan, 0},
    {"DragThreshold", Kind::upTo, &Settings::dragThreshold, nullptr, Settings::maxDragThreshold},
    {"ChordThreshold", Kind::upTo, &Settings::chordThreshold, nullptr, Settings::maxChordThreshold},
    {"BackgroundColor", Kind::number, &Settings::backgroundColor, nullptr, 0},
    {"PaperDefaultColor", Kind::number, &Settings::paperDefaultColor, nullptr, 0},
    {"SelectionColor", Kind::number, &Settings::selectionColor, nullptr, 0},
    {"SelectionVoice2Color", Kind::number, &Settings::selectionVoice2Color, nullptr, 0},
    {"PlayingColor", Kind::number, &Settings::playingColor, nullptr, 0},
    {"Antialiasing", Kind::number, &Settings::antialiasing, nullptr, 0},
    {"AutoSave", Kind::flag, nullptr, &Settings::autoSave, 0},
    {"AutoSaveMinutes", Kind::number, &Settings::autoSaveMinutes, nullptr, 0},
    {"CheckForUpdates", Kind::flag, nullptr, &Settings::checkForUpdates, 0},
};

}

bool Settings::load()
{
    PlConfigFile file;
    return file.load(PlPaths::userSettingsFile()) && load(file);
}

bool Settings::load(const PlConfigFile& file)
{
    bool anyRead = false;
    for (const Field& field : fields) {
        int stored = 0;
        if (!file.intValue(section, field.name, stored))
            continue;
        anyRead = true;
        switch (field.kind) {
        case Kind::flag:
            this->*field.flag = stored == 1;
            break;
        case Kind::upTo:
            // Unsigned, so a negative number is as much too large as 150.
            if (static_cast<unsigned>(stored) <= static_cast<unsigned>(field.limit))
                this->*field.number = stored;
            break;
        case Kind::number:
            this->*field.number = stored;
            break;
        }
    }
    return anyRead;
}

void Settings::store(PlConfigFile& file) const
{
    for (const Field& field : fields) {
        int number = field.kind == Kind::flag ? (this->*field.flag ? 1 : 0) : this->*field.number;
        file.setIntValue(section, field.name, number);
    }
}

bool Settings::save() const
{
    const std::string path = PlPaths::userSettingsFile();
    PlConfigFile file;
    file.load(path);
    store(file);
    return file.save(path);
}

int Settings::value(Key key) const
{
    switch (key) {
    case BcSettings::backgroundColor:
        return this->backgroundColor;
    case BcSettings::selectionColor:
        return this->selectionColor;
    case BcSettings::selectionVoice2Color:
        return this->selectionVoice2Color;
    case BcSettings::playingColor:
        return this->playingColor;
    case BcSettings::paperDefaultColor:
        return this->paperDefaultColor;
    case BcSettings::antialiasing:
        return this->antialiasing;
    default:
        return BcSettings::value(key);
    }
}

int Settings::samples(int antialiasing)
{
    return antialiasing == 0 ? 2 : antialiasing == 1 ? 4 : 8;
}
