#include "model/MnMeasure.h"

#include "foundation/BcFiler.h"
#include "model/MnChord.h"
#include "model/MnColumnLayout.h"
#include "model/MnCodes.h"
#include "model/MnLimits.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTuplet.h"

BC_IMPLEMENT_CLASS(MnMeasure)

MnMeasure::MnMeasure(MnStaff* staff, int index, int timeSignatureType) : owner(staff), number(index)
{
    mnTimeSignatureMeter(timeSignatureType, beatCount, ticksPerBeat);
    for (int voice = 0; voice < voiceCount; ++voice)
        fillGapsWithRests(voice, 1, 1);
    if (owner)
        owner->measureTimesChanged();
}

MnMeasure::MnMeasure(MnStaff* staff, int index, int beats, int beatTicks)
    : owner(staff), number(index), beatCount(beats), ticksPerBeat(beatTicks)
{
    for (int voice = 0; voice < voiceCount; ++voice)
        fillGapsWithRests(voice, 1, 1);
    if (owner)
        owner->measureTimesChanged();
}

MnMeasure::~MnMeasure()
{
    for (int voice = 0; voice < voiceCount; ++voice)
        deleteChords(voice);
    if (owner)
        owner->measureTimesChanged();
}

bool MnMeasure::fitsStaff(long long newLength) const
{
    if (!owner)
        return newLength <= MnMaxStaffTicks;
    // A measure that is not yet in its staff's array adds its length.
    const bool inStaff = number >= 1 && number <= owner->measureCount() && owner->measure(number - 1) == this;
    const long long others = (long long)owner->totalTicks() - (inStaff ? length() : 0);
    return others + newLength <= MnMaxStaffTicks;
}

bool MnMeasure::setBeats(int beats)
{
    // Setting the meter a measure already has must not recount its staff's
    // start times: staves are built column by column this way.
    if (beats == beatCount)
        return true;
    if (beats < 1 || beats > MnMaxBeats || !fitsStaff((long long)beats * ticksPerBeat))
        return false;
    beatCount = beats;
    if (owner)
        owner->measureTimesChanged();
    return true;
}

bool MnMeasure::setBeatTicks(int ticks)
{
    if (ticks == ticksPerBeat)
        return true;
    if (!mnIsBeatTicks(ticks) || !fitsStaff((long long)beatCount * ticks))
        return false;
    ticksPerBeat = ticks;
    if (owner)
        owner->measureTimesChanged();
    return true;
}

bool MnMeasure::setBarline(int barline)
{
    if (!mnIsBarline(barline))
        return false;
    barlineType = barline;
    return true;
}

bool MnMeasure::isRepeatCount(int count)
{
    return count >= 1 && count <= MnMaxRepeatCount;
}

bool MnMeasure::setRepeatCount(int count)
{
    if (!isRepeatCount(count))
        return false;
    repeats = count;
    return true;
}

bool MnMeasure::setVoltaMask(int mask)
{
    if (!mnIsVoltaMask(mask))
        return false;
    voltas = mask;
    return true;
}

bool MnMeasure::setRepeatMarker(int repeatMarker)
{
    if (!mnIsRepeatMarker(repeatMarker))
        return false;
    marker = repeatMarker;
    return true;
}

bool MnMeasure::setRepeatJump(int repeatJump)
{
    if (!mnIsRepeatJump(repeatJump))
        return false;
    jump = repeatJump;
    return true;
}

bool MnMeasure::setSystemBreak(int systemBreak)
{
    if (!mnIsSystemBreak(systemBreak))
        return false;
    breakAfter = systemBreak;
    return true;
}

double MnMeasure::clampedUserWidth(double width)
{
    if (!(width > 0.0))
        return 0.0; // also NaN
    return width > MnMaxCoordinate ? MnMaxCoordinate : width;
}

void MnMeasure::setUserWidth(double width)
{
    extraWidth = clampedUserWidth(width);
}

void MnMeasure::deleteChords(int voice)
{
    BcArray<MnChord*>& chords = voices[voice];
    for (int i = 0; i < chords.count(); ++i)
        delete chords[i];
    chords.removeAll();
}

MnElement* MnMeasure::parent() const
{
    return owner;
}

bool MnMeasure::removeChild(MnElement* child)
{
    for (int voice = 0; voice < voiceCount; ++voice) {
        BcArray<MnChord*>& chords = voices[voice];
        const int index = mnIndexOf(chords, child);
        if (index < 0)
            continue;
        // Normal chords and rests hold the voice's time; only grace chords go.
        if (!chords[index]->isGrace())
            return false;
        MnChord* chord = chords[index];
        chords.removeAt(index);
        delete chord;
        return true;
    }
    return false;
}

bool MnMeasure::read(BcFiler& filer)
{
    const int version = filer.version();
    if (version >= 5) {
        char barlineValue = 0;
        bool nextStaff = false;
        if (!filer.readByteAndFlag(barlineValue, nextStaff))
            return false;
        if (!mnIsBarline(barlineValue))
            return false;
        barlineType = barlineValue;
        toNextStaff = nextStaff;
        char repeatValue = 0;
        bool tablature = false;
        if (!filer.readByteAndFlag(repeatValue, tablature))
            return false;
        // The performer plays the repeated section this many times.
        if (!isRepeatCount(repeatValue))
            return false;
        repeats = repeatValue;
        toTablature = tablature;
    } else {
        char barlineValue = 0;
        bool nextStaff = false;
        if (!filer.readChar(barlineValue))
            return false;
        const int code = static_cast<signed char>(barlineValue);
        if (!mnIsBarline(code))
            return false;
        barlineType = code;
        if (!filer.readBool(nextStaff))
            return false;
        toNextStaff = nextStaff;
    }

    // The measure's length divides the layout and fills the voices.
    int beatsValue = 0;
    if (!filer.readInt(beatsValue))
        return false;
    if (beatsValue < 1 || beatsValue > MnMaxBeats)
        return false;
    beatCount = beatsValue;
    if (owner)
        owner->measureTimesChanged();
    int beatTicksValue = 0;
    if (!filer.readInt(beatTicksValue))
        return false;
    if (version < 2) {
        if (beatTicksValue < 1 || beatTicksValue > MnMaxBeatTicks / MnOldTicksFactor)
            return false;
        beatTicksValue *= MnOldTicksFactor;
    }
    if (!mnIsBeatTicks(beatTicksValue))
        return false;
    ticksPerBeat = beatTicksValue;
    if (owner)
        owner->measureTimesChanged();

    int storedVoices = 0;
    // Voices beyond the measure's two could not be skipped: their records
    // have no length.
    if (!readCount(filer, voiceCount, storedVoices))
        return false;
    for (int voice = storedVoices; voice < voiceCount; ++voice) {
        deleteChords(voice);
        fillGapsWithRests(voice, 1, 1);
    }
    for (int voice = 0; voice < storedVoices; ++voice) {
        if (!readVoice(filer, voice))
            return false;
    }

    short mask = 0;
    if (!filer.readShort(mask))
        return false;
    if (!mnIsVoltaMask((unsigned short)mask))
        return false;
    voltas = (unsigned short)mask;
    BcString text;
    if (!filer.readString(text))
        return false;
    customVoltaText = text;
    bool closed = false;
    if (!filer.readBool(closed))
        return false;
    voltaClosed = closed;
    if (version >= 1) {
        unsigned char markerAndJump = 0;
        if (!filer.readByte(markerAndJump))
            return false;
        const int markerValue = markerAndJump >> 4;
        const int jumpValue = markerAndJump & 0x0F;
        // The performer dispatches on both codes.
        if (!mnIsRepeatMarker(markerValue) || !mnIsRepeatJump(jumpValue))
            return false;
        marker = markerValue;
        jump = jumpValue;
    }
    char breakValue = 0;
    if (!filer.readChar(breakValue))
        return false;
    if (!mnIsSystemBreak(breakValue))
        return false;
    breakAfter = breakValue;
    double width = 0.0;
    if (!filer.readDouble(width))
        return false;
    // Added width only ever grows a measure.
    extraWidth = clampedUserWidth(width);
    return filer.isOk();
}

bool MnMeasure::readVoice(BcFiler& filer, int voice)
{
    int count = 0;
    if (!readCount(filer, MnMaxChordsPerVoice, count))
        return false;
    deleteChords(voice);
    BcArray<MnChord*>& chords = voices[voice];
    const int measureLength = length();
    bool ok = true;
    bool hasNotes = false;
    int time = 0;
    for (int i = 0; i < count; ++i) {
        MnChord* chord = new MnChord(this, voice, time, MnTicksPerWhole);
        if (!chord->read(filer)) {
            delete chord;
            ok = false;
            break;
        }
        chord->setTime(time);
        chords.add(chord);
        hasNotes = hasNotes || !chord->isRest();
        // A tuplet is laid out and edited as a run of the voice inside the
        // measure; grace chords take no part in runs.
        const MnTuplet* tuplet = chord->tuplet();
        if (tuplet && (chord->isGrace() || (long long)time + tuplet->span() > measureLength)) {
            ok = false;
            break;
        }
        time += chord->soundingDuration();
        // Sounding durations are bounded, but a voice of thousands of long
        // chords could still run past what a staff may hold.
        if (time > MnMaxStaffTicks) {
            ok = false;
            break;
        }
    }
    if (ok && (time == measureLength || restoreVoice(voice, time, hasNotes)))
        return true;
    if (chords.isEmpty())
        fillGapsWithRests(voice, 1, 1);
    return false;
}

bool MnMeasure::restoreVoice(int voice, int end, bool hasNotes)
{
    const int measureLength = length();
    if (end > measureLength) {
        // A voice of rests only (older files kept a whole rest in shorter
        // measures) is filled with rests afresh; music is not cut.
        if (hasNotes)
            return false;
        deleteChords(voice);
    }
    fillGapsWithRests(voice, 1, 1);
    // Grace chords after the last chord lead into the next measure.
    BcArray<MnChord*>& chords = voices[voice];
    for (int i = chords.count() - 1; i >= 0 && chords[i]->isGrace(); --i)
        chords[i]->setTime(measureLength);
    return true;
}

bool MnMeasure::write(BcFiler& filer) const
{
    filer.writeByteAndFlag(char(barlineType), toNextStaff);
    filer.writeByteAndFlag(char(repeats), toTablature);
    filer.writeInt(beatCount);
    filer.writeInt(ticksPerBeat);
    filer.writeInt(voiceCount);
    for (int voice = 0; voice < voiceCount; ++voice) {
        const BcArray<MnChord*>& chords = voices[voice];
        filer.writeInt(chords.count());
        for (int i = 0; i < chords.count(); ++i)
            chords[i]->write(filer);
    }
    filer.writeShort(short(voltas));
    filer.writeString(customVoltaText);
    filer.writeBool(voltaClosed);
    filer.writeByte((unsigned char)(((marker & 0x0F) << 4) | (jump & 0x0F)));
    filer.writeChar(char(breakAfter));
    filer.writeDouble(extraWidth);
    return filer.isOk();
}

double MnMeasure::height() const
{
    return 8.0;
}

int MnMeasure::startTime() const
{
    if (!owner)
        return 0;
    int position = number - 1;
    if (position < 0 || position >= owner->measureCount() || owner->measure(position) != this) {
        // Not where its number says: found by pointer, or, for a measure
        // that is not in the staff's array, after all of them.
        position = owner->measureCount();
        for (int i = 0; i < owner->measureCount(); ++i) {
            if (owner->measure(i) == this) {
                position = i;
                break;
            }
        }
    }
    return owner->measureStartTime(position);
}

MnMeasure* MnMeasure::nextMeasure() const
{
    if (!owner || number < 1 || number >= owner->measureCount())
        return nullptr;
    return owner->measure(number);
}

MnMeasure* MnMeasure::previousMeasure() const
{
    if (!owner || number < 2 || number - 2 >= owner->measureCount())
        return nullptr;
    return owner->measure(number - 2);
}

int MnMeasure::chordCount(int voice, bool visible) const
{
    if (voice < 0 || voice >= voiceCount)
        return 0;
    const BcArray<MnChord*>& chords = voices[voice];
    if (!visible)
        return chords.count();
    if (isMeasureRest(voice))
        return chords.isEmpty() ? 0 : 1;
    int counted = 0;
    for (int i = 0; i < chords.count(); ++i) {
        const MnChord* chord = chords[i];
        if (chord->isGrace())
            continue;
        if (chord->isHidden() && chord->isRest() && counted > 0)
            continue;
        ++counted;
    }
    return counted;
}

MnChord* MnMeasure::chordAt(int index, int voice, bool visible) const
{
    if (voice < 0 || voice >= voiceCount || index < 0)
        return nullptr;
    const BcArray<MnChord*>& chords = voices[voice];
    if (!visible)
        return index < chords.count() ? chords[index] : nullptr;
    if (isMeasureRest(voice))
        return index == 0 && !chords.isEmpty() ? chords[0] : nullptr;
    int counted = 0;
    for (int i = 0; i < chords.count(); ++i) {
        MnChord* chord = chords[i];
        if (chord->isGrace())
            continue;
        if (chord->isHidden() && chord->isRest() && counted > 0)
            continue;
        if (counted == index)
            return chord;
        ++counted;
    }
    return nullptr;
}

MnChord* MnMeasure::mainChordAt(int voice, int time) const
{
    if (voice < 0 || voice >= voiceCount)
        return nullptr;
    const BcArray<MnChord*>& chords = voices[voice];
    for (int i = 0; i < chords.count(); ++i) {
        if (!chords[i]->isGrace() && chords[i]->time() == time)
            return chords[i];
    }
    return nullptr;
}

bool MnMeasure::isMeasureRest(int voice) const
{
    if (voice < 0 || voice >= voiceCount)
        return false;
    // The chords first: the meter needs the measure's start time, which
    // outside a cache scope sums the whole staff before it, and note entry
    // asks this of every chord it clears.
    const BcArray<MnChord*>& chords = voices[voice];
    const int measureLength = length();
    bool rests = false;
    if (chords.count() == 1)
        rests = chords[0]->isRest();
    else if (chords.count() == 2 &&
             (measureLength == 90720 || measureLength == 181440 || measureLength == 272160 || measureLength == 362880))
        rests = chords[0]->isRest() && chords[1]->isRest();
    if (!rests)
        return false;
    int type = MnTimeCommon;
    if (owner)
        type = owner->definitionAt(startTime(), false)->time();
    int meterBeats = 0;
    int meterBeatTicks = 0;
    mnTimeSignatureMeter(type, meterBeats, meterBeatTicks);
    return beatCount >= meterBeats;
}

void MnMeasure::fillGapsWithRests(int voice, int actual, int normal)
{
    if (voice < 0 || voice >= voiceCount || !MnChord::isRatio(actual, normal))
        return;
    BcArray<MnChord*>& chords = voices[voice];
    const int measureLength = length();
    int running = 0;
    // Inserts rests from the running time over a gap of the given length,
    // at the given index; answers the index after them.
    auto fill = [&](int at, int gap) {
        // The written length of the gap in the ratio; what the ratio turns
        // into less than the shortest value stays open.
        long long written = (long long)actual * gap / normal;
        while (written >= MnShortestValue) {
            int value = MnTicksPerWhole;
            while (value > written)
                value /= 2;
            MnChord* rest = new MnChord(this, voice, running, value);
            rest->setRatio(actual, normal);
            chords.insertAt(at++, rest);
            const int sounding = rest->soundingDuration();
            running += sounding;
            written -= value;
        }
        return at;
    };
    // Rests go before the grace chords that lead into the chord after the
    // gap (and before those at the end of the voice), which keeps the voice
    // in time order.
    int graceRun = -1;
    for (int i = 0; i < chords.count(); ++i) {
        MnChord* chord = chords[i];
        if (chord->isGrace()) {
            if (graceRun < 0)
                graceRun = i;
            continue;
        }
        const int at = graceRun >= 0 ? graceRun : i;
        graceRun = -1;
        if (chord->time() > running) {
            const int gap = chord->time() - running;
            i += fill(at, gap) - at;
            running = chord->time();
        }
        running += chord->soundingDuration();
    }
    if (measureLength > running)
        fill(graceRun >= 0 ? graceRun : chords.count(), measureLength - running);
}

bool MnMeasure::removeTuplet(int voice, int time, MnTuplet** detached)
{
    if (voice < 0 || voice >= voiceCount)
        return false;
    BcArray<MnChord*>& chords = voices[voice];
    int first = -1;
    for (int i = 0; i < chords.count(); ++i) {
        if (!chords[i]->isGrace() && chords[i]->time() == time) {
            first = i;
            break;
        }
    }
    if (first < 0 || !chords[first]->tuplet())
        return false;
    MnChord* chord = chords[first];
    const int span = chord->tuplet()->span();
    while (first + 1 < chords.count() && chords[first + 1]->time() < time + span) {
        MnChord* inside = chords[first + 1];
        chords.removeAt(first + 1);
        delete inside;
    }
    chord->setDuration(span);
    chord->setRatio(1, 1);
    MnTuplet* tuplet = chord->detachTuplet();
    if (detached)
        *detached = tuplet;
    else
        delete tuplet;
    if (owner)
        owner->reconcileWithMeasure(this);
    return true;
}

BcString MnMeasure::voltaText(bool customOnly) const
{
    if (customOnly || !customVoltaText.isEmpty())
        return customVoltaText;
    BcString endings;
    for (int ending = 1; ending <= 10; ++ending) {
        if (!(voltas & (1 << (ending - 1))))
            continue;
        if (!endings.isEmpty())
            endings.append(BcString(" "));
        endings.append(BcString(ending));
        endings.append(BcString("."));
    }
    return endings;
}

bool MnMeasure::setVoltaText(const BcString& text)
{
    MnScore* score = owner ? owner->score() : nullptr;
    if (!score) {
        customVoltaText = text;
        return true;
    }
    for (int i = 0; i < score->staffCount(); ++i) {
        MnStaff* staff = score->staff(i);
        if (number >= 1 && number <= staff->measureCount())
            staff->measure(number - 1)->customVoltaText = text;
    }
    return true;
}
