// The writers of what stands around the notes: barlines, attributes,
// directions, notations and lyrics. They are called at their places in the
// measure and add nothing yet.

#include "interchange/IeMusicXmlExporter.h"

void IeMusicXmlExporter::writeBarline(BcXmlFiler&, MnMeasure*) {}

void IeMusicXmlExporter::writeAttributes(BcXmlFiler&, int, MnStaffDefinition*) {}

void IeMusicXmlExporter::writeDirections(BcXmlFiler&, MnStaff*, int) {}

void IeMusicXmlExporter::writeNotations(BcXmlFiler&, MnChord*, MnNote*) {}

void IeMusicXmlExporter::writeLyrics(BcXmlFiler&, MnChord*) {}
