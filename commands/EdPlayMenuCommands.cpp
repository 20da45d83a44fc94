#include "commands/EdPlayMenuCommands.h"

#include "commands/EdCommandTable.h"
#include "editing/EdCommand.h"
#include "editing/EdContext.h"
#include "editing/FretboardTuning.h"
#include "model/MnCodes.h"

#include <algorithm>

namespace {

constexpr unsigned firstOctaveId = 32937;  // .. 32943 for octaves 1..7
constexpr unsigned firstTransposeId = 33041; // .. 33052 for -5..+6
constexpr unsigned customTuningId = 33100;
constexpr unsigned capoId = 33104;

struct IdValue
{
    unsigned id;
    int value;
};

constexpr IdValue instruments[] = {
    {32783, MnInstrumentPiano},
    {32784, MnInstrumentGuitar},
    {32785, MnInstrumentViolin},
    {32961, MnInstrumentTrumpet},
};

constexpr IdValue volumes[] = {
    {33077, 0xFFFF},
    {33078, 0xBFFF},
    {33079, 0x7FFF},
    {33080, 0x3FFF},
};

// Custom sits between the presets in the id range.
constexpr IdValue tunings[] = {
    {33098, 0}, {33099, 1}, {33101, 2}, {33102, 3}, {33103, 4},
};

template <size_t N>
int valueOf(const IdValue (&table)[N], unsigned id)
{
    for (const IdValue& row : table) {
        if (row.id == id)
            return row.value;
    }
    return table[0].value;
}

// Both channels at the level; the level is remembered for Up, Down and Mute.
void setLevel(EdContext& context, unsigned level)
{
    const unsigned volume = level | (level << 16);
    context.setPlayerSavedVolume(volume);
    context.setPlayerVolume(volume);
}

}

void EdPlayMenuCommands::cmdKeyboardOctave(int octave)
{
    if (octave < 1 || octave > 7)
        return;
    EdContext& context = EdContext::current();
    EdCommand edit;
    context.noteInput().keyboardOctave = octave;
    if (context.hasMainWindow())
        context.redrawPianoKeyboard();
}

void EdPlayMenuCommands::cmdKeyboardTranspose(int semitones)
{
    if (semitones < -5 || semitones > 6)
        return;
    EdContext& context = EdContext::current();
    EdCommand edit;
    EdContext::NoteInput& input = context.noteInput();
    if (input.keyboardTranspose == semitones)
        return;
    if (semitones < -3 && input.keyboardOctave == 1)
        return;
    input.keyboardTranspose = semitones;
    if (context.hasMainWindow())
        context.redrawPianoKeyboard();
}

void EdPlayMenuCommands::cmdInstrument(int instrument)
{
    EdContext::current().setPlayerPreviewInstrument(instrument);
}

void EdPlayMenuCommands::cmdVolume(unsigned level)
{
    EdContext& context = EdContext::current();
    if (context.playerIsOpen())
        setLevel(context, std::min(level, 0xFFFFu));
}

void EdPlayMenuCommands::cmdVolumeMute()
{
    EdContext& context = EdContext::current();
    if (!context.playerIsOpen())
        return;
    context.setPlayerVolume(context.playerIsMuted() ? context.playerSavedVolume() : 0u);
}

void EdPlayMenuCommands::cmdVolumeUp()
{
    EdContext& context = EdContext::current();
    if (!context.playerIsOpen())
        return;
    const unsigned level = context.playerSavedVolume() & 0xFFFFu;
    setLevel(context, level < 0xFFFFu - volumeStep ? level + volumeStep : 0xFFFFu);
}

void EdPlayMenuCommands::cmdVolumeDown()
{
    EdContext& context = EdContext::current();
    if (!context.playerIsOpen())
        return;
    const unsigned level = context.playerSavedVolume() & 0xFFFFu;
    setLevel(context, level > volumeStep ? level - volumeStep : 0u);
}

void EdPlayMenuCommands::cmdTuning(int preset)
{
    EdContext& context = EdContext::current();
    if (context.hasMainWindow())
        context.setFretboardTuning(FretboardTuning::preset(preset));
}

void EdPlayMenuCommands::cmdTuningCustom()
{
    EdContext& context = EdContext::current();
    if (context.hasMainWindow())
        context.runFretboardTuningDialog(FretboardTuning::preset(0));
}

void EdPlayMenuCommands::cmdCapo()
{
    EdContext& context = EdContext::current();
    EdContext::FretboardCapo capo;
    if (!context.hasMainWindow() || !context.fretboardCapo(capo))
        return;
    capo.on = !capo.on;
    if (capo.on) {
        // The user clicks the fret next: the pointer is brought into the
        // pane, away from its ends, where it was across.
        capo.fret = 0;
        capo.awaitingPointer = true;
        int left = 0, top = 0, right = 0, bottom = 0, x = 0, y = 0;
        if (context.fretboardScreenRect(left, top, right, bottom) && context.pointerPosition(x, y)) {
            const int margin = (right - left) / 10;
            const int low = left + margin;
            const int high = std::max(low, right - margin);
            context.movePointer(std::clamp(x, low, high), (top + bottom) / 2);
        }
    }
    context.setFretboardCapo(capo);
}

static EdCommandState octaveState(unsigned id, const EdCommandInputs& inputs)
{
    return EdCommandState{true, inputs.noteInput.keyboardOctave == int(id - firstOctaveId) + 1};
}

static EdCommandState lowTransposeState(unsigned, const EdCommandInputs& inputs)
{
    return EdCommandState{inputs.noteInput.keyboardOctave >= 2, false};
}

static EdCommandState instrumentState(unsigned id, const EdCommandInputs& inputs)
{
    return EdCommandState{true, inputs.previewInstrument == valueOf(instruments, id)};
}

static EdCommandState playerState(unsigned, const EdCommandInputs& inputs)
{
    return EdCommandState{inputs.playerOpen, false};
}

static EdCommandState muteState(unsigned, const EdCommandInputs& inputs)
{
    return EdCommandState{inputs.playerOpen, inputs.muted};
}

static EdCommandState tuningState(unsigned id, const EdCommandInputs& inputs)
{
    return EdCommandState{true, inputs.fretboardPreset == valueOf(tunings, id)};
}

static EdCommandState customTuningState(unsigned, const EdCommandInputs& inputs)
{
    return EdCommandState{true, inputs.fretboardPreset < 0};
}

static EdCommandState capoState(unsigned, const EdCommandInputs& inputs)
{
    return EdCommandState{true, inputs.capoOn};
}

void EdPlayMenuCommands::addRows()
{
    EdCommandTable::addRange(firstOctaveId, firstOctaveId + 6,
                             [](unsigned id) { cmdKeyboardOctave(int(id - firstOctaveId) + 1); }, &octaveState);
    auto transpose = [](unsigned id) { cmdKeyboardTranspose(int(id - firstTransposeId) - 5); };
    EdCommandTable::addRange(firstTransposeId, firstTransposeId + 1, transpose, &lowTransposeState);
    EdCommandTable::addRange(firstTransposeId + 2, firstTransposeId + 11, transpose, &EdCommandTable::always);
    for (const IdValue& row : instruments)
        EdCommandTable::add({row.id, [](unsigned id) { cmdInstrument(valueOf(instruments, id)); }, &instrumentState});
    for (const IdValue& row : volumes)
        EdCommandTable::add({row.id, [](unsigned id) { cmdVolume(unsigned(valueOf(volumes, id))); }, &playerState});
    EdCommandTable::add({33074, [](unsigned) { cmdVolumeMute(); }, &muteState});
    EdCommandTable::add({33072, [](unsigned) { cmdVolumeUp(); }, &playerState});
    EdCommandTable::add({33073, [](unsigned) { cmdVolumeDown(); }, &playerState});
    for (const IdValue& row : tunings)
        EdCommandTable::add({row.id, [](unsigned id) { cmdTuning(valueOf(tunings, id)); }, &tuningState});
    EdCommandTable::add({customTuningId, [](unsigned) { cmdTuningCustom(); }, &customTuningState});
    EdCommandTable::add({capoId, [](unsigned) { cmdCapo(); }, &capoState});
}
