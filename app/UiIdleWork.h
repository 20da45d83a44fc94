#pragma once

#include "editing/EdNotePath.h"

class EdView;
class MnMeasure;
class QuorvaneDocument;

// The program's periodic work, done between messages instead of on timers:
// the backups' pass, playback tracking (the active view follows the sounding
// music and shows the playing notes, the instrument panels the sounding
// keys), the MIDI device poll and the update check's answer. The player runs
// on the audio thread and tells nothing; tracking polls it.
//
// Documents, views, the player's position and the clock come from the
// editing context; the rest from the host.
class UiIdleWork
{
public:
    class Host
    {
    public:
        virtual ~Host();
        virtual bool mainWindowExists() = 0;
        // Open, due for a next step and with a play cursor.
        virtual bool playerIsPlaying() = 0;
        virtual bool playerIsPaused() = 0;
        // Every instrument panel shows the keys now sounding.
        virtual void refreshPanels() = 0;
        virtual void autoSavePass() = 0;
        // The MIDI input's device poll: opens a device that came, closes
        // one that went.
        virtual void hotPlug() = 0;
        // Shows a finished update check's answer.
        virtual void updatePickUp() = 0;
    };

    static constexpr int lookAhead = 250;            // ms
    static constexpr int pageTurnLookAhead = 1000;   // ms, before a page turn
    static constexpr unsigned long long activityPause = 5000;  // ms
    // Redraws while tracking are paced to the display: at most one per
    // this many milliseconds.
    static constexpr unsigned long long redrawSpacing = 15;

    explicit UiIdleWork(Host& host) : host(host) {}

    // One idle call; true asks for another before the next message: while
    // playback is tracked and on the one call after it stopped. Otherwise
    // the toolkit's own answer.
    bool run(bool toolkitAnswer, bool playbackTracking);

    bool trackingActive = false;
    QuorvaneDocument* trackedDocument = nullptr;
    EdNotePath lastPlayingPosition;

private:
    bool pageTurnFollows(EdView* view);
    void updateView(bool follow, bool changed, bool final);

    Host& host;
    unsigned long long lastRedraw = 0;
};
