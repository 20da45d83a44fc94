#include "app/UiParallaxScore.h"

#include "app/Quorvane.h"
#include "app/UiDialogTemplates.h"
#include "app/UiGLPane.h"
#include "app/UiMainFrame.h"
#include "editing/EdContext.h"
#include "foundation/BcArray.h"
#include "model/MnCache.h"
#include "model/MnMeasure.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTempo.h"
#include "playback/MpPlayer.h"
#include "playback/MpUnfolder.h"
#include "render/ReParallax.h"

#include <wx/sizer.h>

#include <algorithm>
#include <cstdint>

namespace {

std::function<void(UiParallaxScore&)> openedHook;

// Milliseconds of a gap of `ticks` at the tempo; 64 bits, as a quarter's
// ticks times 60000 overflow 32. Negative for a tempo that cannot count.
long long gapMilliseconds(int ticks, int beatsPerMinute, int beatTicks)
{
    if (beatsPerMinute <= 0 || beatTicks <= 0)
        return -1;
    return (long long)ticks * 60000 / beatsPerMinute / beatTicks;
}

}

UiParallaxScore::UiParallaxScore(wxWindow* parent, MnScore* score, int playTick, int cursorTick, MpPlayer* player)
    : UiDialog(parent, templateId,
               Quorvane::exists() ? Quorvane::instance().shellText("dialog 120", "Parallax Score")
                                  : wxString("Parallax Score")),
      parallax(new ReParallax), player(player), playTick(playTick), cursorTick(cursorTick)
{
    SetWindowStyleFlag(GetWindowStyleFlag() | wxRESIZE_BORDER);
    if (score) {
        MpUnfolder unfolder;
        unfolded = unfolder.unfold(score);
    }
    if (unfolded) {
        unfolded->setScale(1.0);
        for (int i = 0; i < unfolded->staffCount(); ++i)
            unfolded->part(i)->setScale(1.0);
    }
    cache = new MnCache;

    const UiDialogTemplate* layout = UiDialogTemplates::find(templateId);
    SetClientSize(layout ? ConvertDialogToPixels(wxSize(layout->width, layout->height)) : wxSize(800, 500));
    pane = new UiGLPane(this, wxID_ANY, true);
    wxBoxSizer* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(pane, 1, wxEXPAND);
    SetSizer(sizer);
    Layout();
    pane->paint = [this] { draw(); };
    pane->Bind(wxEVT_MOUSEWHEEL, [this](wxMouseEvent& event) {
        wxSize client = pane->GetClientSize();
        wheel(event.GetWheelRotation(), event.ShiftDown(), client.x, client.y);
        draw();
    });
    Bind(wxEVT_IDLE, &UiParallaxScore::idle, this);
    wxSize client = pane->GetClientSize();
    initCamera(client.x, client.y);
}

UiParallaxScore::~UiParallaxScore()
{
    stopPlayback();
    // Scopes close in the order they opened; this one has been open since
    // the window was made.
    delete cache;
    delete unfolded;
    delete parallax;
}

void UiParallaxScore::initCamera(int clientWidth, int clientHeight)
{
    if (!unfolded || clientWidth <= 0 || clientHeight <= 0)
        return;
    GePoint2d p = unfolded->position();
    double h = unfolded->height();
    double aspect = double(clientWidth) / double(clientHeight);
    centreX = p.x;
    centreY = p.y - h / 2;
    viewWidth = (h + 20) * aspect;
    furthestX = p.x;
    lastOffset = -1;
}

void UiParallaxScore::startPlayback()
{
    if (!player || !unfolded)
        return;
    if (player->isPlaying())
        player->stop();
    player->play(unfolded, playTick, cursorTick);
}

void UiParallaxScore::stopPlayback()
{
    if (player && player->isPlaying())
        player->stop();
}

void UiParallaxScore::EndModal(int returnCode)
{
    stopPlayback();
    UiDialog::EndModal(returnCode);
}

void UiParallaxScore::wheel(int delta, bool shift, int clientWidth, int clientHeight)
{
    if (clientWidth <= 0 || clientHeight <= 0)
        return;
    int d = delta <= 0 ? -1 : 1;
    if (shift)
        centreY += double(clientHeight) / double(clientWidth) * viewWidth / 11 * d;
    else
        centreX += viewWidth / 20 * d;
}

bool UiParallaxScore::follow(int tick, unsigned long long stepTime, unsigned long long now)
{
    if (!unfolded || unfolded->staffCount() == 0 || stepTime == 0 || unfolded->tempoCount() == 0)
        return false;
    const MnTempo* tempo = unfolded->tempo(0);
    const int bpm = tempo->beatsPerMinute();
    const int beatTicks = tempo->beatUnit();
    if (bpm <= 0 || beatTicks <= 0)
        return false;
    const MnStaff* staff = unfolded->staff(0);
    if (staff->measureCount() == 0)
        return false;
    long long position = tick;
    unsigned long long performed = stepTime;
    BcArray<int> onsets;
    BcArray<double> offsets;
    // Each pass either settles or moves on by a whole onset; a lagging
    // player is caught up with, but never beyond the score's end.
    for (int pass = 0; pass < 1 << 20; ++pass) {
        double x = staff->position().x + staff->measure(0)->position().x;
        int current = -1;
        long long offset = 0;
        for (int m = 0; m < staff->measureCount(); ++m) {
            const MnMeasure* measure = staff->measure(m);
            long long start = measure->startTime();
            long long length = (long long)measure->beats() * measure->beatTicks();
            if (position >= start + length) {
                x += measure->headerWidth() + 2 * unfolded->measureNaturalWidth(m);
                continue;
            }
            if (start <= position) {
                current = m;
                offset = position - start;
            }
            break;
        }
        if (current < 0)
            return false;
        unfolded->layoutMeasureColumn(current, onsets, offsets, 2.0);
        int k = -1;
        for (int i = 0; i + 1 < onsets.count(); ++i)
            if (onsets[i] == offset)
                k = i;
        if (k < 0)
            return false;
        double cx = x + offsets[k];
        double elapsed = now > performed ? double(now - performed) : 0.0;
        const int end = onsets.count() - 1;
        if (k + 1 < end) {
            int gap = onsets[k + 1] - onsets[k];
            long long duration = gapMilliseconds(gap, bpm, beatTicks);
            double f = duration > 0 ? elapsed / double(duration) : 2.0;
            if (f > 1) {
                performed += (unsigned long long)std::max(duration, 0LL);
                position += gap;
                continue;
            }
            cx += f * (offsets[k + 1] - offsets[k]);
        } else if (current + 1 < staff->measureCount()) {
            int gap = onsets[end] - onsets[k];
            long long duration = gapMilliseconds(gap, bpm, beatTicks);
            double distance = offsets[end] - offsets[k];
            BcArray<int> nextOnsets;
            BcArray<double> nextOffsets;
            unfolded->layoutMeasureColumn(current + 1, nextOnsets, nextOffsets, 2.0);
            if (nextOffsets.count() > 0)
                distance += nextOffsets[0];
            double f = duration > 0 ? std::min(elapsed / double(duration), 1.0) : 1.0;
            cx += f * distance;
        }
        if (furthestX > cx && offset >= lastOffset)
            cx = furthestX;
        else
            furthestX = cx;
        lastOffset = int(offset);
        centreX = cx;
        return true;
    }
    return false;
}

bool UiParallaxScore::draw()
{
    if (!unfolded || !pane || !pane->hasContext())
        return false;
    wxSize client = pane->GetClientSize();
    if (client.x <= 0 || client.y <= 0)
        return false;
    if (!(viewWidth > 0))
        initCamera(client.x, client.y);
    if (!contextMade)
        contextMade = parallax->createContext(pane->host());
    if (!contextMade || !pane->host()->makeCurrent())
        return false;
    return parallax->render(unfolded, centreX, centreY, viewWidth, client.x, client.y);
}

void UiParallaxScore::idle(wxIdleEvent& event)
{
    event.Skip();
    if (!player || !player->isPlaying())
        return;
    int time = 0;
    unsigned long long tick = 0;
    if (player->lastOnset(time, tick) && tick != 0 && follow(time, tick, EdContext::current().tickCount()))
        draw();
    // More idle calls only while the music plays.
    event.RequestMore();
}

void UiParallaxScore::setOpenedHook(std::function<void(UiParallaxScore&)> hook)
{
    openedHook = std::move(hook);
}

void UiParallaxScore::run(MnScore* score, int playTick, int cursorTick, MpPlayer* player)
{
    wxWindow* parent = Quorvane::exists() ? static_cast<wxWindow*>(Quorvane::instance().mainFrame()) : nullptr;
    UiParallaxScore window(parent, score, playTick, cursorTick, player);
    if (!window.score())
        return;
    window.startPlayback();
    if (openedHook)
        window.CallAfter([&window] {
            if (openedHook)
                openedHook(window);
        });
    window.CentreOnParent();
    window.ShowModal();
}
