#include "editing/EdClipNote.h"

#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnNote.h"

EdClipNote::ChordSettings EdClipNote::ChordSettings::of(const MnChord* chord)
{
    ChordSettings settings;
    settings.stemDirection = static_cast<signed char>(chord->stemSetting());
    settings.stemInverted = chord->isStemInverted();
    settings.beamMode = static_cast<signed char>(chord->beamMode());
    settings.graceSlash = chord->hasGraceSlash();
    settings.slurPlacement = static_cast<signed char>(chord->slurPlacement());
    settings.slurStart = chord->isSlurStart();
    settings.articulations = static_cast<unsigned char>(chord->articulations());
    return settings;
}

void EdClipNote::ChordSettings::applyTo(MnChord* chord) const
{
    // Articulations other than the slur; bit 0x80 is not the source's to give.
    static const int ownBits = MnArticulationStaccatissimo | MnArticulationStaccato | MnArticulationTenuto |
                               MnArticulationAccent | MnArticulationStrongAccent | MnArticulationFermata;
    chord->setBeamMode(beamMode);
    chord->setStemDirection(stemDirection);
    chord->setStemInverted(stemInverted);
    chord->setGraceSlash(graceSlash);
    chord->setSlurPlacement(slurPlacement);
    chord->setSlurStart(slurStart);
    chord->setArticulation(MnArticulationSlur, (articulations & MnArticulationSlur) != 0);
    chord->setArticulations((chord->articulations() & ~ownBits) | (articulations & ownBits));
}

void EdClipNote::takeWritingOf(const MnNote* note)
{
    step = static_cast<signed char>(note->step());
    octave = static_cast<signed char>(note->octave());
    accidental = static_cast<signed char>(note->accidental());
    tiePlacement = static_cast<signed char>(note->tiePlacement());
    arpeggio = note->hasArpeggio();
    arpeggioType = static_cast<signed char>(note->arpeggioType());
}
