#pragma once

// The commands of the note-input state (EdContext::NoteInput): the seven
// note values, Dotted, Rest, Second voice and clearing the input, each of
// which also rewrites what is selected; the Grace note and Tuplet commands;
// and enterNote, the one way a played key reaches the score at the active
// view's cursor.
//
// Every edit runs in one transaction (one undo step when it changed
// anything). The transaction's observers re-derive the input state from the
// selection while it closes, so the commands write their own values after.
class EdNoteInputCommands
{
public:
    static constexpr unsigned wholeId = 32789;
    static constexpr unsigned halfId = 32790;
    static constexpr unsigned quarterId = 32791;
    static constexpr unsigned eighthId = 32792;
    static constexpr unsigned sixteenthId = 32809;
    static constexpr unsigned thirtysecondId = 32810;
    static constexpr unsigned sixtyfourthId = 32811;
    static constexpr unsigned clearInputId = 32812;
    static constexpr unsigned dottedId = 32833;
    static constexpr unsigned restId = 32813;
    static constexpr unsigned secondVoiceId = 32851;
    static constexpr unsigned graceNoteId = 33082;
    static constexpr unsigned tupletId = 32852;

    // The note value of a duration command; 0 for any other id.
    static int durationOfCommand(unsigned id);

    // Pressing the value already chosen, with nothing selected, clears the
    // input; otherwise the value goes to the selection and the input.
    static void cmdDuration(int value);
    static void cmdDurationWhole();
    static void cmdDurationHalf();
    static void cmdDurationQuarter();
    static void cmdDurationEighth();
    static void cmdDurationSixteenth();
    static void cmdDurationThirtysecond();
    static void cmdDurationSixtyfourth();
    static void cmdDotted();

    // Empties the selection (ending a pending tool) and clears the value,
    // the dot and rest input.
    static void cmdClearInput();

    // Gives the selected chords, the chords of the selected notes, or a
    // single selected tuplet the value (undotted ticks, or 0 for none; dotted
    // adds half). What is left unchanged leaves the selection. Then the
    // input takes the value and the dot, unless a tuplet could not take it.
    static void applyDuration(int ticks, bool dotted);

    // Enters the piano key (0 = A0 .. 87 = C8) at the cursor in the input
    // voice with the input value (a quarter when none is chosen); addToChord
    // adds it to the chord just entered. Held Shift adds it to the chord at
    // the cursor without moving on. Answers the input value after the call.
    static int enterNote(int key, bool addToChord);

    static void cmdRest();
    static void cmdSecondVoice();
    static void cmdGraceNote();
    static void cmdTuplet();

    // Adds the rows of the commands above.
    static void addRows();
};
