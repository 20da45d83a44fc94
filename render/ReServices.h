#pragma once

class MnChord;

// What the composers ask of the running application: whether a chord is
// sounding (to draw it in the playing colour) and the note-input state (for
// the note-entry preview). The application installs its own object at
// start-up; until then, and in tests and exports without a player, nothing
// sounds and no note value is chosen.
class ReServices
{
public:
    struct NoteInput
    {
        int duration = 0;  // ticks; 0: no note value chosen, no preview
        bool rest = false;
        bool dotted = false;
        int voice = 0;  // 0 or 1
    };

    virtual ~ReServices();

    // True while playback runs and the chord sounds; with pass not 0, only
    // in that pass of its measure. Asked on the interface thread; an
    // implementation takes the player's lock itself.
    virtual bool isNotePlaying(const MnChord* chord, int pass) const;
    virtual NoteInput noteInput() const;

    // The installed services, or the defaults; never null.
    static const ReServices& current();
    // Installs the application's services (not owned); null restores the
    // defaults. The object must outlive its installation.
    static void install(const ReServices* services);
};
