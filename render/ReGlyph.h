#pragma once

// A music symbol stored as a constant triangle mesh. Coordinates are staff
// steps (two steps between adjacent staff lines), y up, and the origin is
// the point the drawing code places at (x, y). Drawing passes the arrays
// unchanged to ReRenderer::fillMesh; back ends that cache converted glyphs
// recognise a glyph by its triangle array, so every use must pass these
// very arrays.
//
// The meshes live in ReGlyph.cpp, which tools/glyphgen writes.
struct ReGlyph {
    const int* triangles;  // three vertex indices per triangle
    int triangleCount;
    const double* vertices;  // x, y per vertex
    int vertexCount;

    static const ReGlyph segno;
    static const ReGlyph coda;
    static const ReGlyph pedalRelease;  // the asterisk that ends a pedal
    static const ReGlyph pedalMark;     // "Ped."
    static const ReGlyph dynamicM;
    static const ReGlyph dynamicF;
    static const ReGlyph dynamicP;
    static const ReGlyph scrollWheelRidge;
    static const ReGlyph scrollWheelHousingMid;
    static const ReGlyph scrollWheelHousingDark;
    static const ReGlyph scrollWheelHousingLight;
    static const ReGlyph arpeggioArrowhead;  // the last wave with the arrow on it
    static const ReGlyph arpeggioWave;       // one wave per two steps
    static const ReGlyph accent;
    static const ReGlyph strongAccent;
    static const ReGlyph staccatissimo;  // the point at y 0
    static const ReGlyph fermata;
    static const ReGlyph bracketEnd;
    static const ReGlyph braceHalf;  // upper half; mirrored for the lower one
    static const ReGlyph figure8;
    static const ReGlyph figure6;  // drawn at scale (-1, -1) it is the 9
    static const ReGlyph figure4;
    static const ReGlyph figure3;
    static const ReGlyph figure2;
    static const ReGlyph figure1;
    static const ReGlyph commonTime;
    static const ReGlyph doubleSharp;
    static const ReGlyph natural;
    static const ReGlyph flat;
    static const ReGlyph sharp;
    static const ReGlyph restHook;  // the hook of the eighth and shorter rests
    static const ReGlyph quarterRest;
    static const ReGlyph flag;  // hangs down from the stem end
    static const ReGlyph halfNotehead;
    static const ReGlyph wholeNotehead;
    static const ReGlyph cClef;  // centred on the line it marks
    static const ReGlyph fClef;  // origin on the F line
    static const ReGlyph gClef;  // origin on the G line

    // Every glyph in a fixed order, for tests and the contact sheet.
    static int count();
    static const ReGlyph* at(int index);  // null outside 0 .. count() - 1
    static const char* nameAt(int index);
};
