#pragma once

#include "model/MnText.h"
#include "model/RecordBytes.h"

// The text record that a text subclass writes first: that of a plain text
// with the same position, alignment, text, font, size and underline.
inline Bytes textRecordOf(const MnText& text)
{
    MnText plain;
    plain.moveTo(text.MnText::position());
    plain.setAlignment(text.alignment());
    plain.setText(text.text());
    plain.setFont(text.font());
    plain.setSize(text.size());
    plain.setUnderline(text.isUnderlined());
    return recordOf(plain);
}

// The record of a default text (at the origin, empty, font 0, size 12) in
// the layout of a format version: before version 4 the alignment and the
// font were ints and the size a double.
inline Bytes defaultTextRecord(int version)
{
    RecordBuilder record(version);
    record.real(0.0).real(0.0);
    if (version >= 4)
        record.character(0).string("").byteAndFlag(0, false).character(12);
    else
        record.integer(0).string("").integer(0).real(12.0);
    return record.done();
}
