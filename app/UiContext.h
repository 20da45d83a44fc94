#pragma once

#include "playback/MpPlayerContext.h"

class Quorvane;

// The editing context of the running application: the active document of
// the main frame, the message boxes, the keyboard and the file dialog.
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

    bool chooseFile(bool save, const BcString& filter, BcString& path) override;

    // The player's tempo for the toolbar's box.
    void setToolbarTempo(int beatsPerMinute) override;

    // How many information messages were shown so far; the document adapter
    // learns from it whether a failed open already said why.
    int messagesShown() const { return messageCount; }

private:
    Quorvane& app;
    int messageCount = 0;
};
