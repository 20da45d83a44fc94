#pragma once

// Between the instrument codes of a part and General MIDI programs.
// Codes 0 to 11 are the instruments the editor offers by name; 128 + n
// stands for General MIDI program n chosen directly.

// The General MIDI program (0 to 127) that plays an instrument code;
// 0 (piano) for the piano and for every code that names nothing.
int instrumentToProgram(int code);

// The instrument family (0 to 11) of a General MIDI program, -1 when
// the program belongs to none of them or lies outside 0 to 127.
int programToInstrument(int program);
