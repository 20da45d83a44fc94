#include "app/UiIdleWork.h"

#include "editing/EdContext.h"
#include "editing/EdView.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnCache.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"

UiIdleWork::Host::~Host() = default;

bool UiIdleWork::run(bool toolkitAnswer, bool playbackTracking)
{
    host.autoSavePass();
    EdContext& context = EdContext::current();
    bool playing = host.playerIsPlaying();
    bool paused = playing && host.playerIsPaused();

    if (playing && !paused) {
        QuorvaneDocument* active = context.activeDocument();
        bool follows = context.playerPlays(active);
        trackingActive = true;
        bool changed = false;
        if (follows) {
            trackedDocument = active;
            EdView* view = host.mainWindowExists() ? context.activeView() : nullptr;
            int ahead = view && pageTurnFollows(view) ? pageTurnLookAhead : lookAhead;
            EdNotePath position;
            if (!context.playerPosition(ahead, position))
                position = EdNotePath();
            changed = playbackTracking && position != lastPlayingPosition;
            lastPlayingPosition = position;
        }
        updateView(follows, changed, false);
        return true;
    }

    bool wasTracking = trackingActive;
    bool follows = trackedDocument == context.activeDocument();
    trackingActive = false;
    trackedDocument = nullptr;
    lastPlayingPosition = EdNotePath();
    if (wasTracking) {
        // Once more without the playing colour.
        updateView(follows, false, true);
        return true;
    }
    host.hotPlug();
    host.updatePickUp();
    return toolkitAnswer;
}

bool UiIdleWork::pageTurnFollows(EdView* view)
{
    QuorvaneDocument* document = view->document();
    if (!document)
        return false;
    MnElement* element = lastPlayingPosition.resolve(document->works());
    if (!element || !element->isKindOf(MnMeasure::staticClass()))
        return false;
    MnMeasure* measure = static_cast<MnMeasure*>(element);
    MnStaff* staff = measure->staff();
    if (!staff || measure->index() >= staff->measureCount() || !staff->score())
        return false;
    MnElement* parent = staff->score()->parent();
    if (!parent || !parent->isKindOf(MnSheetMusic::staticClass()))
        return false;
    MnSheetMusic* sheet = static_cast<MnSheetMusic*>(parent);
    if (sheet->presentation() != 1)
        return false;
    MnCache cache;
    int page = sheet->locateMeasure(measure->index() - 1, nullptr, nullptr, nullptr);
    int current = sheet->currentPage();
    bool odd = current % 2 != 0;
    int left = (odd && sheet->isFirstPageRight()) || (!odd && !sheet->isFirstPageRight()) ? current : current - 1;
    if (page == left)
        return false;
    int next = sheet->locateMeasure(measure->index(), nullptr, nullptr, nullptr);
    return page < next;
}

void UiIdleWork::updateView(bool follow, bool changed, bool final)
{
    if (!host.mainWindowExists())
        return;
    EdContext& context = EdContext::current();
    EdView* view = follow ? context.activeView() : nullptr;
    if (view) {
        unsigned long long now = context.tickCount();
        bool userAway = view->lastActivityTick() == 0 || now - view->lastActivityTick() > activityPause;
        if (changed && userAway) {
            QuorvaneDocument* document = view->document();
            MnElement* element = document ? lastPlayingPosition.resolve(document->works()) : nullptr;
            if (element && element->isKindOf(MnMeasure::staticClass())) {
                // No edit: turning pages while following playback is no
                // change of the document.
                view->goTo(static_cast<MnMeasure*>(element), nullptr, false);
                view->setLastActivityTick(0);
                lastRedraw = now;
            }
        } else if (final || now - lastRedraw >= redrawSpacing || now < lastRedraw) {
            view->redraw(false);
            lastRedraw = now;
        }
    }
    host.refreshPanels();
}
