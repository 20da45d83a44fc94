#pragma once

// Staff/Group, Staff/Lyrics and Staff/Tablature: a brace or bracket over the
// selected staves, a lyric line at the selected note, and a tablature below
// each selected staff, tuned like the fretboard pane while it shows. Each
// shows its hint when the selection gives it nothing to work on.
class EdStaffCommands
{
public:
    static void cmdGroup();
    static void cmdLyrics();
    static void cmdTablature();

    static constexpr unsigned groupId = 32839;
    static constexpr unsigned lyricsId = 33092;
    static constexpr unsigned tablatureId = 33095;

    static void addRows();
};
