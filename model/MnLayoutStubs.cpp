// Stand-ins for the layout measurements until the chord layout and the
// system measurement are built: every width is 0.

#include "model/MnChord.h"
#include "model/MnScore.h"

double MnScore::keySignatureWidth(int, bool, double) const
{
    return 0.0;
}

double MnScore::timeSignatureWidth(int, double) const
{
    return 0.0;
}

double MnChord::leftExtent(int) const
{
    return 0.0;
}
