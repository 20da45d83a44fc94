#include "model/MnCodes.h"

#include "model/MnTicks.h"

void mnTimeSignatureMeter(int timeSignatureType, int& beats, int& beatTicks)
{
    struct Meter
    {
        int beats;
        int beatTicks;
    };
    static const Meter meters[] = {
        {4, MnTicksQuarter}, {4, MnTicksQuarter}, {2, MnTicksHalf}, {2, MnTicksHalf},
        {2, MnTicksQuarter}, {3, MnTicksQuarter}, {6, MnTicksEighth}, {9, MnTicksEighth},
        {3, MnTicksEighth}, {6, MnTicksQuarter}, {12, MnTicksEighth},
    };
    const int meterCount = int(sizeof meters / sizeof meters[0]);
    if (timeSignatureType < 0 || timeSignatureType >= meterCount) {
        beats = 4;
        beatTicks = MnTicksQuarter;
        return;
    }
    beats = meters[timeSignatureType].beats;
    beatTicks = meters[timeSignatureType].beatTicks;
}

int mnClefOffset(int clef)
{
    switch (clef) {
    case MnClefBass:
        return -26;
    case MnClefAlto:
        return -32;
    case MnClefTenor:
        return -30;
    default:
        return -38;
    }
}
