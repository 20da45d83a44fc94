#pragma once

#include "playback/MpPlayerContext.h"

class Quorvane;

// The editing context of the running application: the active document of
// the main frame, the message boxes, the keyboard and the file dialog.
class UiMidi;

class UiContext : public MpPlayerContext
{
public:
    explicit UiContext(Quorvane& app) : app(app) {}

    QuorvaneDocument* activeDocument() override;
    EdView* activeView() override;
    void updateAllViews(QuorvaneDocument* document, EdView* sender) override;

    void showHint(unsigned int commandId) override;
    void showInformation(unsigned int stringId) override;
    void showInformationText(const BcString& text) override;
    bool askYesNo(unsigned int stringId) override;

    bool isShiftDown() override;
    bool isCtrlDown() override;
    // The toolkit does not tell the two sides of the keyboard apart: either
    // Shift (or Ctrl) key reports both.
    bool isHeld(HeldKey key) override;
    bool pointerPosition(int& x, int& y) override;

    bool chooseFile(bool save, const BcString& filter, const BcString& defaultName, BcString& path,
                    int& filterIndex) override;
    bool hasMainWindow() override;
    bool newDocument() override;
    bool runGoToDialog(int highestMeasure, int& measureNumber) override;

    // The player's tempo for the toolbar's box.
    void setToolbarTempo(int beatsPerMinute) override;

    void runSelectionObserver() override;

    // The tool windows (UiContextToolWindows.cpp).
    bool runTransposeDialog(TransposeChoice& choice) override;
    void runParallaxScore(MnScore* score, int startTime, int cursorTime) override;
    bool run3dPrinting() override;
    void runManuscriptPaper(MnScore* score) override;

    // The MIDI input and recorder that the Record and MIDI input commands
    // reach; null without them (not owned).
    void setMidi(UiMidi* midiInput) { midi = midiInput; }
    UiMidi* midiService() const { return midi; }
    bool recorderIsRecording() override;
    void recorderStart(unsigned long long tick) override;
    void recorderStop() override;
    MnScore* recorderTakeScore() override;
    int midiInputState() override;
    bool midiInputOpen(BcString& failure) override;
    bool midiInputStart() override;
    bool midiInputReset() override;
    void releaseMidiInputKeys() override;

    // The instrument panes of the main frame (UiContextPanes.cpp).
    void refreshInstrumentPanes() override;
    void redrawPianoKeyboard() override;
    void adoptScoreTuning(MnScore* score) override;
    bool visibleFretboardTuning(VisibleFretboard& tuning) override;
    bool fretboardTuning(FretboardTuning& tuning) override;
    bool setFretboardTuning(const FretboardTuning& tuning) override;
    bool fretboardCapo(FretboardCapo& capo) override;
    void setFretboardCapo(const FretboardCapo& capo) override;
    bool fretboardScreenRect(int& left, int& top, int& right, int& bottom) override;
    void movePointer(int x, int y) override;
    void runFretboardTuningDialog(const FretboardTuning& start) override;
    // The project browser pane (UiContextPanes.cpp).
    void refreshProjectBrowser() override;
    bool projectBrowserHasFocus() override;
    bool deleteSelectedVoice() override;

    // How many information messages were shown so far; the document adapter
    // learns from it whether a failed open already said why.
    int messagesShown() const { return messageCount; }

private:
    Quorvane& app;
    UiMidi* midi = nullptr;
    int messageCount = 0;
};
