#include "foundation/BcStringResources.h"

#include <algorithm>
#include <atomic>
#include <iterator>

// Every text the program shows from the string table, in id order. The
// translations (resources/locale/*.po) carry exactly these ids; a new string
// here needs its translations there.
static const BcStringResources::Entry englishTexts[] = {
    {124, "Standard"},
    {128, "Quorvane"},
    // The document type: window title, name of new documents, file type,
    // filter, extension, type id, type name.
    {130, "\nNew \nQuorvane file\nQuorvane files (*.qrv)\n.qrv\nQuorvane.File\nQuorvane file"},
    {131, "&Windows..."},
    {156, "Context palette"},
    {157, "Piano keyboard"},
    {158, "Properties"},
    {159, "Project browser"},
    {10002, "Version"},
    // The file dialogs' filters of Import and Export.
    {10003, "MusicXML Files (*.musicxml)|*.musicxml||"},
    {10004, "PDF Files (*.pdf)|*.pdf||"},
    {10006, "Untitled"},
    {10007, "Unknown"},
    // The work texts a credit can show, in credit-type order.
    {10008, "Title"},
    {10009, "Subtitle"},
    {10010, "Composer"},
    {10011, "Arranger"},
    {10012, "Lyricist"},
    {10013, "Copyright"},
    {10018, "Sheet music"},
    {10019, "Score"},
    {10020, "Part Group"},
    {10021, "Part"},
    {10022, "Staff"},
    {10023, "Measure"},
    {10024, "Note"},
    {10027, "Tempo"},
    {10028, "Credit"},
    {10029, "Project"},
    {10030, "Text"},
    {10031, "New text"},
    {10032, "Set as main score"},
    {10033, "Previous page"},
    {10034, "Next page"},
    {10035, "Add Credit"},
    {10036, "Move up"},
    {10037, "Move down"},
    {10038, "Add Staff"},
    {10039, "Add Measure"},
    {10040, "Group"},
    {10041, "Move left"},
    {10042, "Move right"},
    {10043, "Move left"},
    {10044, "Move right"},
    {10046, "Add Octave"},
    {10047, "Add Dynamic"},
    {10048, "Keyboard octave:  %d"},
    {10049, "Score %d                Staff %d                Measure %d                Chord %d"},
    {10050, "Undo levels:  %d - %d"},
    {10055, "\tTURN"},
    {10056, "Wrap in Sheet music"},
    {10057, "Add Staff change"},
    {10058, "Add Pedal"},
    {10060, "A Quorvane update is available for download.\nDo you want to download it now?\n\nNew available "
            "version: %d.%d.%d.%d\n\nCurrent installed version: %d.%d.%d.%d"},
    {10061, "Voice %d"},
    {10062, "MusicXML file could not be imported due to the following problem:\n\n- %ls"},
    {10063, "Unable to read the XML code"},
    {10064, "Not a partwise MusicXML file"},
    {10065, "Unsupported %d:%d tuplet found"},
    {10066, "The file was saved with a newer version of Quorvane and the file format changed. You need "
            "to update Quorvane in order to be able to open it"},
    {10067, "Unable to open the MIDI file"},
    {10068, "Unable to read the MIDI data"},
    {10069, "Unsupported MIDI format"},
    {10070, "Do you want a transparent background?\n\nOtherwise, the paper color will be used"},
    // The General MIDI programs, in order, for the part page's list.
    {10071, "1. Acoustic Grand Piano;2. Bright Acoustic Piano;3. Electric Grand Piano;"
            "4. Honky-tonk Piano;5. Electric Piano 1;6. Electric Piano 2;7. Harpsichord;8. Clavi;"
            "9. Celesta;10. Glockenspiel;11. Music Box;12. Vibraphone;13. Marimba;14. Xylophone;"
            "15. Tubular Bells;16. Dulcimer;17. Drawbar Organ;18. Percussive Organ;19. Rock Organ;"
            "20. Church Organ;21. Reed Organ;22. Accordion;23. Harmonica;24. Tango Accordion;"
            "25. Acoustic Guitar (nylon);26. Acoustic Guitar (steel);27. Electric Guitar (jazz);"
            "28. Electric Guitar (clean);29. Electric Guitar (muted);30. Overdriven Guitar;"
            "31. Distortion Guitar;32. Guitar harmonics;33. Acoustic Bass;34. Electric Bass (finger);"
            "35. Electric Bass (pick);36. Fretless Bass;37. Slap Bass 1;38. Slap Bass 2;"
            "39. Synth Bass 1;40. Synth Bass 2;41. Violin;42. Viola;43. Cello;44. Contrabass;"
            "45. Tremolo Strings;46. Pizzicato Strings;47. Orchestral Harp;48. Timpani;"
            "49. String Ensemble 1;50. String Ensemble 2;51. SynthStrings 1;52. SynthStrings 2;"
            "53. Choir Aahs;54. Voice Oohs;55. Synth Voice;56. Orchestra Hit;57. Trumpet;58. Trombone;"
            "59. Tuba;60. Muted Trumpet;61. French Horn;62. Brass Section;63. SynthBrass 1;"
            "64. SynthBrass 2;65. Soprano Sax;66. Alto Sax;67. Tenor Sax;68. Baritone Sax;69. Oboe;"
            "70. English Horn;71. Bassoon;72. Clarinet;73. Piccolo;74. Flute;75. Recorder;"
            "76. Pan Flute;77. Blown Bottle;78. Shakuhachi;79. Whistle;80. Ocarina;81. Lead 1 (square);"
            "82. Lead 2 (sawtooth);83. Lead 3 (calliope);84. Lead 4 (chiff);85. Lead 5 (charang);"
            "86. Lead 6 (voice);87. Lead 7 (fifths);88. Lead 8 (bass + lead);89. Pad 1 (new age);"
            "90. Pad 2 (warm);91. Pad 3 (polysynth);92. Pad 4 (choir);93. Pad 5 (bowed);"
            "94. Pad 6 (metallic);95. Pad 7 (halo);96. Pad 8 (sweep);97. FX 1 (rain);"
            "98. FX 2 (soundtrack);99. FX 3 (crystal);100. FX 4 (atmosphere);101. FX 5 (brightness);"
            "102. FX 6 (goblins);103. FX 7 (echoes);104. FX 8 (sci-fi);105. Sitar;106. Banjo;"
            "107. Shamisen;108. Koto;109. Kalimba;110. Bag pipe;111. Fiddle;112. Shanai;"
            "113. Tinkle Bell;114. Agogo;115. Steel Drums;116. Woodblock;117. Taiko Drum;"
            "118. Melodic Tom;119. Synth Drum;120. Reverse Cymbal;121. Guitar Fret Noise;"
            "122. Breath Noise;123. Seashore;124. Bird Tweet;125. Telephone Ring;126. Helicopter;"
            "127. Applause;128. Gunshot"},
    {10072, "MIDI input:  %ls"},
    {10073, "not detected"},
    {10074, "disabled"},
    {10076, "Your version is the newest available."},
    {10077, "Low"},
    {10078, "Medium"},
    {10079, "High"},
    {10080, "Insert Measure"},
    {10081, "Convert to Tuplet"},
    {10082, "Hide rest"},
    {10083, "Hide rests"},
    {10084, "Show all rests"},
    {10085, "%ls tool"},
    {10086, "Swap voices"},
    {10087, "Remove beat"},
    {10088, "Remove beats"},
    // The transpose dialog's target keys, flats to sharps, and its intervals.
    {10089, "Cb Major  |  Ab minor;Gb Major  |  Eb minor;Db Major  |  Bb minor;Ab Major  |  F minor;"
            "Eb Major  |  C minor;Bb Major  |  G minor;F Major  |  D minor;C Major  |  A minor;"
            "G Major  |  E minor;D Major  |  B minor;A Major  |  F# minor;E Major  |  C# minor;"
            "B Major  |  G# minor;F# Major  |  D# minor;C# Major  |  A# minor"},
    {10090, "Augmented unison;Diminished second;Minor second;Major second;Augmented second;Diminished third;"
            "Minor third;Major third;Augmented third;Diminished fourth;Perfect fourth;Augmented fourth;"
            "Diminished fifth;Perfect fifth;Augmented fifth;Diminished sixth;Minor sixth;Major sixth;"
            "Augmented sixth;Diminished seventh;Minor seventh;Major seventh;Augmented seventh;"
            "Diminished octave;Perfect octave"},
    {10091, "Transpose..."},
    {10092, "\tSNAP"},
    {10093, "\tTRACK"},
    {10094, "\tORTHO"},
    {10095, "Volume:  %ls"},
    {10096, "mute"},
    {10097, "Click to toggle mute, turn the mouse wheel to volume up/down"},
    {10098, "Append Grace note"},
    {10099, "Unfold repeats"},
    {10100, "Hide Tuplet"},
    {10101, "Hide Tuplets"},
    {10102, "Show all Tuplets"},
    {10103, "Lyrics"},
    // The passes of a repeat a lyric line is sung in.
    {10104, "Always;1. First;2. Second;3. Third;4. Fourth;5. Fifth;6. Sixth;7. Seventh;8. Eighth;9. Ninth;"
            "10. Tenth"},
    {10105, "Add Lyrics"},
    {10106, "Add Tablature"},
    {10107, "Tablature"},
    {10108, "Guitar"},
    {10109, "Ukelele"},
    {10110, "Bass guitar"},
    {10111, "Custom"},
    {10112, "Mandolin"},
    {10113, "Banjo"},
    {10114, "Fretboard"},
    {10115, "Invalid MusicXML data: %ls"},
    {10116, "The file %ls could not be written."},
    // Why the player runs silent.
    {10117, "Quorvane plays no sound: there is no instrument bank at %1."},
    {10118, "Quorvane plays no sound: the instrument bank %1 is damaged (%2)."},
    {10119, "Quorvane plays no sound: there is no audio output device."},
    {10120, "Quorvane plays no sound: the audio output device would not open (%1)."},
    // Why MIDI input could not be switched on.
    {10121, "No MIDI input device was found."},
    {10122, "MIDI input is unavailable: the ALSA sequencer cannot be opened."},
    {10123, "The MIDI input device %1 would not open or start."},
    {10200, "Save changes to %ls?"},
    {10201, "Unable to open the file %ls."},
    {10202, "Enter an integer between %1 and %2."},
    {10203, "Enter a number between %1 and %2."},
    {10204, "Unable to save the file %ls."},
    // The prompts of the editing commands: the hint, then the tool's name.
    {32789, "Set Note value to Whole. If there are Notes or Rests selected set its duration to Whole\nWhole"},
    {32790, "Set Note value to Half. If there are Notes or Rests selected set its duration to Half\nHalf"},
    {32791, "Set Note value to Quarter. If there are Notes or Rests selected set its duration to Quarter\nQuarter"},
    {32792, "Set Note value to Eighth. If there are Notes or Rests selected set its duration to Eighth\nEighth"},
    {32809, "Set Note value to Sixteenth. If there are Notes or Rests selected set its duration to Sixteenth\n"
            "Sixteenth"},
    {32810, "Set Note value to Thirtysecond. If there are Notes or Rests selected set its duration to Thirtysecond\n"
            "Thirtysecond"},
    {32811, "Set Note value to Sixtyfourth. If there are Notes or Rests selected set its duration to Sixtyfourth\n"
            "Sixtyfourth"},
    {32813, "Toggle Rest. If there are Notes selected set them as Rest\nRest"},
    {32817, "Insert a Staff. If a Staff is selected add a new one next to it\nStaff"},
    {32818, "If a Staff is selected add a Measure at the end. If a Measure is selected add a new one before it\n"
            "Measure"},
    {32819, "Insert a piece of Sheet music. If a Score is selected wrap it in Sheet music\nSheet music"},
    {32833, "Toogle Dotted note. If there are Notes or Rests selected toggle them as Dotted\nDotted"},
    {32839, "Group the selected Staves by using a brace or bracket\nGroup"},
    {32840, "When there is a piece of Sheet music selected insert a Credit text on its first page\nCredit"},
    {32851, "Toggle Second voice. If there are Notes selected toggle them to Second voice\nSecond voice"},
    {32852, "Insert a Tuplet in the place of the selected Note\nTuplet"},
    {32854, "Insert a Dynamic at the current position\nDynamic"},
    {32873, "Turn the page of Sheet music in book presentation\nNext page"},
    {32874, "Go to the previous page of Sheet music presented in book presentation\nPrevious page"},
    {32881, "When there is a Score or a piece of Sheet music selected set it as main Score\nSet as main Score"},
    {32893, "Insert an Octave line for the selected interval\nOctave"},
    {32908, "Insert the chosen interval above or below the selected Notes\nInterval"},
    {32932, "Insert a Pedal mark at the current position\nPedal"},
    {32957, "Open the main Score on a window with parallax display effects. If there is a single Note, Measure, "
            "Staff or Score selected open its Score\nParallax score"},
    {32959, "When there is Sheet music in the document open a 3D viewport window and show on it 3D solids from "
            "the selected Sheet music\n3D Printing"},
    {32970, "Show all hidden rests in the selected Measure, Staff or Voice\nShow all rests"},
    {32971, "Hide the selected rests\nHide rest"},
    {32973, "Swap voices 1 and 2 in the selected Measures\nSwap voices"},
    {32995, "Shorten the Measure duration by removing the beats corresponding to the selected Notes\n"
            "Remove beat"},
    {33015, "Select the Notes, Measures, Staves or Scores to transpose\nTranspose key/interval"},
    {33020, "Set the cursor to the specified Measure of the current Score, or the main Score if the current "
            "Score can't be determined\nGo to..."},
    {33023, "Toggle playback tracking. When on, the camera tracks the playback as soon as user inactivity is "
            "detected\nPlayback tracking"},
    {33027, "Open a dialog to configure and print manuscript paper taking the staff structure from the selected "
            "Score, as well as the page layout when it is Sheet music\nManuscript paper"},
    {33069, "Toggle automatic snap guide lines on element moving\nToggle Snap guide lines"},
    {33070, "Toggle ortho mode to restrict element moving to horizontal or vertical directions\n"
            "Toggle Ortho mode"},
    {33082, "Insert a Grace note before the selected Note or Measure\nGrace note"},
    {33086, "Insert a copy of the selected Score with all repeats written out as separate Measures\n"
            "Unfold repeats"},
    {33087, "Hide the selected Tuplets\nHide Tuplet"},
    {33088, "Show all hidden Tuplets in the selected Measure or Staff\nShow all Tuplets"},
    {33092, "Insert Lyrics at the selected Note position\nLyrics"},
    {33095, "Add a lower Tablature for the selected Staff\nTablature"},
    {57344, "Quorvane"},
    // What a dialog says of a number it cannot take.
    {61712, "Please enter an integer."},
    {61713, "Please enter an integer between %1 and %2."},
    {61714, "Please enter a whole number of zero or more."},
};

static std::atomic<const BcStringResources*> installed{nullptr};

BcStringResources::~BcStringResources() = default;

BcString BcStringResources::loadString(unsigned id) const
{
    const char* text = english(id);
    return text ? BcString(text) : BcString();
}

const char* BcStringResources::english(unsigned id)
{
    auto end = std::end(englishTexts);
    auto it = std::lower_bound(std::begin(englishTexts), end, id,
                               [](const Entry& entry, unsigned key) { return entry.id < key; });
    return it != end && it->id == id ? it->text : nullptr;
}

const BcStringResources::Entry* BcStringResources::englishTable(int& count)
{
    count = int(std::size(englishTexts));
    return englishTexts;
}

const BcStringResources& BcStringResources::current()
{
    static const BcStringResources defaults;
    const BcStringResources* resources = installed.load(std::memory_order_acquire);
    return resources ? *resources : defaults;
}

void BcStringResources::install(const BcStringResources* resources)
{
    installed.store(resources, std::memory_order_release);
}
