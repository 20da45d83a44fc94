#pragma once

#include <memory>

class BcString;
class EdClipboard;
class EdNotePath;
class EdView;
class MnElement;
class MnScore;
class QuorvaneDocument;

// Everything editing reaches outside itself: the active document and view, the
// player, the project browser, hint and message boxes, the modifier keys, the
// clock, the dialogs and the note-input state. The application installs its own
// context at start-up; tests install fakes, so every command runs headless
// against the model.
//
// This base class is the context of a process with no user interface: no
// document, no view, a silent player and dialogs that are always cancelled.
class EdContext
{
public:
    // The note-input state of the application, one set for the whole process.
    struct NoteInput
    {
        int inputDuration = 0;  // undotted note value in ticks, 0 = none
        bool inputRest = false;
        bool inputDotted = false;
        int inputVoice = 0;        // 0 or 1
        int keyboardOctave = 4;    // 1..7
        int keyboardTranspose = 0; // -5..+6 semitones
    };

    // What the transpose dialog asks for; set before it runs, read after.
    struct TransposeChoice
    {
        int mode = 0;          // 0 to a key, 1 by an interval, 2 by semitones
        int keyEntry = 0;
        int intervalEntry = 0;
        int semitones = 1;     // -32..32
        int direction = 2;     // 0 up, 1 down, 2 automatic
        bool changeKeySignatures = true;
        bool useDoubleAccidentals = true;
    };

    // The switches that govern dragging, one set for the whole process; the
    // shell reads and writes them with its settings.
    struct Toggles
    {
        bool snapGuideLines = true;
        bool orthoMode = false;
    };

    EdContext();
    virtual ~EdContext();

    // The context in use; never null (a headless default until one is installed).
    static EdContext& current();

    // Installs a context and answers the one it replaces; null restores the default.
    static EdContext* install(EdContext* context);

    // The document of the active child frame, and the active score view.
    virtual QuorvaneDocument* activeDocument();
    virtual EdView* activeView();

    // Updates every view of the document except the sender.
    virtual void updateAllViews(QuorvaneDocument* document, EdView* sender);

    // The player. Playing means open, with a next event due and a play cursor.
    virtual bool playerIsPlaying();
    virtual bool playerPlays(const QuorvaneDocument* document);
    virtual bool playerPosition(int lookAheadMilliseconds, EdNotePath& position);
    // Hands the player the edited score and the element to go on from (may be null).
    virtual void playerUpdate(MnElement* position);
    virtual void playerStop();
    // What starting playback tells the shell: the tempo of the score's first
    // mark for the toolbar's tempo box, and the score whose tablatures the
    // fretboard takes when it is shown.
    virtual void setToolbarTempo(int beatsPerMinute);
    virtual void adoptScoreTuning(MnScore* score);

    virtual void refreshProjectBrowser();
    // Whether the keyboard focus is in the project browser's window.
    virtual bool projectBrowserHasFocus();
    // When the browser's caret item is a voice item, deletes that voice's
    // music as an edit and answers true; false otherwise.
    virtual bool deleteSelectedVoice();

    // A command's hint: the text of the command id's string in the caption of
    // its tool; nothing when the id has no string.
    virtual void showHint(unsigned int commandId);

    // An information message box with the text of a string resource.
    virtual void showInformation(unsigned int stringId);
    virtual void showInformationText(const BcString& text);
    virtual bool askYesNo(unsigned int stringId);

    // String resources are read through BcStringResources, the one table
    // that the core and the shell share.

    virtual bool isShiftDown();
    virtual bool isCtrlDown();
    // The keys and mouse buttons held down at this moment, the two sides of
    // the keyboard apart, and where the pointer is in screen pixels (false
    // when it is not known).
    enum HeldKey
    {
        LeftShift,
        RightShift,
        LeftCtrl,
        RightCtrl,
        LeftButton,
        RightButton,
        heldKeyCount
    };
    virtual bool isHeld(HeldKey key);
    virtual bool pointerPosition(int& x, int& y);

    // Milliseconds of the one monotonic clock of the process, never 0: the
    // player's preview deadline and the active-sensing tick keep 0 for
    // "none". Modification times, onset stamps and note deadlines all read it.
    unsigned long long tickCount();

    // Dialogs; each answers true when the user confirmed.
    virtual bool runGoToDialog(int highestMeasure, int& measureNumber);
    virtual bool runTransposeDialog(TransposeChoice& choice);
    virtual bool chooseFile(bool save, const BcString& filter, BcString& path);

    // Runs the application's own selection observer at once, which derives
    // the note-input state from the active view's selection; for edits that
    // need the state re-derived before their transaction closes.
    virtual void runSelectionObserver();
    // The fretboard pane's tuning: each open string as a letter (0 A .. 6 G,
    // plus 7 for a flat, plus 14 for a sharp) and an octave, string 1 first;
    // the frets and the capo.
    struct FretboardTuning
    {
        static constexpr int maxStrings = 8;
        int stringCount = 0;
        int letter[maxStrings] = {};
        int octave[maxStrings] = {};
        int frets = 0;
        bool capoOn = false;
        int capoFret = 0;
    };
    // The tuning of the fretboard pane while its window shows; false, with
    // the tuning untouched, when there is no pane or it is hidden.
    virtual bool visibleFretboardTuning(FretboardTuning& tuning);

    NoteInput& noteInput() { return input; }
    Toggles& toggles() { return switches; }
    // The application's copy buffer of Edit/Cut, Copy and Paste.
    EdClipboard& clipboard();

protected:
    // The clock behind tickCount; tests install a clock they set.
    virtual unsigned long long clockMilliseconds();

private:
    NoteInput input;
    Toggles switches;
    // Made on first use: the headless context is a static, and a clipboard
    // holds a live selection.
    std::unique_ptr<EdClipboard> copyBuffer;
};
