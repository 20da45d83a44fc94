#pragma once

#include "app/UiDialog.h"

#include <functional>

class MnCache;
class MnScore;
class MpPlayer;
class ReParallax;
class UiGLPane;

// The parallax window: the score with its repeats written out, drawn as
// one endless system in perspective, each staff on its own depth plane. It
// plays the score from the moment it opens and follows the performer at
// idle time, gliding between the onsets; closing it stops playback. The
// document is never changed.
class UiParallaxScore : public UiDialog
{
public:
    static constexpr unsigned templateId = 120;

    // player may be null (nothing plays).
    UiParallaxScore(wxWindow* parent, MnScore* score, int playTick, int cursorTick, MpPlayer* player);
    ~UiParallaxScore() override;

    MnScore* score() const { return unfolded; }
    ReParallax& renderer() { return *parallax; }
    UiGLPane* canvas() const { return pane; }

    // The camera for a client of width x height pixels: the score's start,
    // its whole height in view. Nothing for an empty client.
    void initCamera(int clientWidth, int clientHeight);
    // Starts playing the unfolded score (stopping what plays).
    void startPlayback();
    void stopPlayback();
    // One wheel notch: forward (+1) right by a twentieth of the view width,
    // with Shift up by an eleventh of the view height.
    void wheel(int delta, bool shift, int clientWidth, int clientHeight);
    // Moves the camera to the performer's step at tick `tick` (staff time)
    // performed at `stepTime` ms, as seen at `now` ms: between onsets it
    // glides, a step already over is followed by the next, and it never
    // steps back within a measure. False when the camera stays.
    bool follow(int tick, unsigned long long stepTime, unsigned long long now);
    // Draws a frame on the canvas; false when nothing was drawn.
    bool draw();

    void EndModal(int returnCode) override;

    // Tools/Parallax score: the window, modal, over the main window.
    static void run(MnScore* score, int playTick, int cursorTick, MpPlayer* player);
    // Called with the window once it shows, inside its modal loop (tests).
    static void setOpenedHook(std::function<void(UiParallaxScore&)> hook);

    double centreX = 0.0;
    double centreY = 0.0;
    double viewWidth = 0.0;
    double furthestX = 0.0;
    int lastOffset = -1;

private:
    void idle(wxIdleEvent& event);

    ReParallax* parallax = nullptr;
    UiGLPane* pane = nullptr;
    MnScore* unfolded = nullptr;
    MpPlayer* player = nullptr;
    int playTick = 0;
    int cursorTick = 0;
    MnCache* cache = nullptr;
    bool contextMade = false;
};
