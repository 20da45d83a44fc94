#pragma once

class EdContext;

// The note-input state follows the selection: selecting chords makes their
// common value the input value, so the next notes go on in the same rhythm,
// and the view's note-entry cursor stays where the selection still covers
// it, else moves to the end of its staff.
class UiNoteInput
{
public:
    // After every committed change of a selection; works on the active
    // view's selection.
    static void selectionChanged(EdContext& context);

    // The six dotted values the program knows (dotted sixty-fourth to dotted
    // half); any other duration, a dotted whole included, stands for itself.
    static bool isDotted(int duration);
    // Two thirds of a dotted value; any other value as it is.
    static int undotted(int duration);

    // The tempo box's text read as the toolbar does: leading blanks and a
    // sign allowed, digits up to the first other character, none as 0;
    // held in 40..208.
    static int tempoOfText(const char* text);
    static int clampTempo(int beatsPerMinute);
    static constexpr int slowestTempo = 40;
    static constexpr int fastestTempo = 208;
    static constexpr int tempoWithoutBox = 80;
};

// The toolbar's tempo box, which the toolbar puts in when it is made.
class UiTempoBox
{
public:
    virtual ~UiTempoBox();
    virtual const char* text() const = 0;
    virtual void setText(const char* text) = 0;
};
