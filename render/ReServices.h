#pragma once

class MnChord;

// What the composers ask of the player: whether a chord is sounding, to
// draw it in the playing colour. The application installs its own object
// at start-up; until then, and in tests and exports without a player,
// nothing sounds. (The note-input state for the note-entry preview is the
// editing context's, EdContext::noteInput.)
class ReServices
{
public:
    virtual ~ReServices();

    // True while playback runs and the chord sounds; with pass not 0, only
    // in that pass of its measure. Asked on the interface thread; an
    // implementation takes the player's lock itself.
    virtual bool isNotePlaying(const MnChord* chord, int pass) const;

    // The installed services, or the defaults; never null.
    static const ReServices& current();
    // Installs the application's services (not owned); null restores the
    // defaults. The object must outlive its installation.
    static void install(const ReServices* services);
};
