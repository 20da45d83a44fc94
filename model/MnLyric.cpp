#include "model/MnLyric.h"

#include "model/MnMeasurer.h"

#include <algorithm>

#include "foundation/BcFiler.h"
#include "model/MnLimits.h"
#include "model/MnMeasure.h"
#include "model/MnStaff.h"

#include <cmath>

BC_IMPLEMENT_CLASS(MnLyric)

static constexpr char16_t blank = u' ';
static constexpr char16_t hyphen = u'-';
static constexpr char16_t middleDot = u'\u00B7';

static bool isSeparator(char16_t c)
{
    return c == blank || c == u'\r' || c == u'\n' || c == middleDot || c == hyphen;
}

MnLyric::MnLyric(MnStaff* staff) : lyricStaff(staff)
{
    storePosition(GePoint2d(0.0, -12.0));
    setSize(10.0);
}

MnElement* MnLyric::parent() const
{
    return lyricStaff;
}

bool MnLyric::read(BcFiler& filer)
{
    if (!MnText::read(filer))
        return false;
    splitSyllables();
    int start = 0;
    unsigned char voiceAndPass = 0;
    if (!filer.readInt(start) || !filer.readByte(voiceAndPass))
        return false;
    int voice = voiceAndPass & 0x0F;
    // The voice picks the measure voice whose chords carry the syllables.
    if (!mnIsStaffTime(start) || voice >= MnMeasure::voiceCount)
        return false;
    lyricStart = start;
    lyricVoice = voice;
    lyricPassThrough = voiceAndPass >> 4;
    return filer.isOk();
}

bool MnLyric::write(BcFiler& filer) const
{
    MnText::write(filer);
    filer.writeInt(lyricStart);
    filer.writeByte((unsigned char)(((lyricPassThrough & 0x0F) << 4) | (lyricVoice & 0x0F)));
    return filer.isOk();
}

double MnLyric::width() const
{
    return 0.0;
}

bool MnLyric::setText(const BcString& text)
{
    if (text.isEmpty())
        return false;
    MnText::setText(text);
    splitSyllables();
    return true;
}

bool MnLyric::setStart(int time)
{
    if (!mnIsStaffTime(time))
        return false;
    lyricStart = time;
    return true;
}

bool MnLyric::setVoice(int voice)
{
    if (voice < 0 || voice >= MnMeasure::voiceCount)
        return false;
    lyricVoice = voice;
    return true;
}

bool MnLyric::setPassThrough(int passThrough)
{
    if (passThrough < 0 || passThrough > maxPassThrough)
        return false;
    lyricPassThrough = passThrough;
    return true;
}

// Every run of characters between separators is a syllable; the separator
// that ends it follows it, line breaks counting as blanks. A hyphen or dot
// standing among blanks joins the syllable before it to the next, as if it
// were written between them.
void MnLyric::splitSyllables()
{
    syllableWidths.removeAll();
    syllableTexts.removeAll();
    syllableStarts.removeAll();
    separators.removeAll();
    const BcString& lyricText = text();
    int length = lyricText.length();
    int runStart = -1;
    for (int i = 0; i <= length; ++i) {
        char16_t c = i < length ? lyricText[i] : blank;
        if (!isSeparator(c)) {
            if (runStart < 0)
                runStart = i;
            continue;
        }
        char16_t stored = c == u'\r' || c == u'\n' ? blank : c;
        if (runStart >= 0) {
            syllableTexts.add(lyricText.midRange(runStart, i - 1));
            syllableStarts.add(runStart);
            separators.add(stored);
            runStart = -1;
        } else if (!separators.isEmpty() && separators[separators.count() - 1] == blank &&
                   (stored == hyphen || stored == middleDot)) {
            separators[separators.count() - 1] = stored;
        }
    }
}

double MnLyric::syllableWidth(int index) const
{
    if (index < 0 || index >= syllableTexts.count())
        return 0.0;
    // Measured once per syllable while the text, its style and the measurer
    // stay; the column layout of every pass asks for them all.
    const MnMeasurer& measurer = MnMeasurer::current();
    if (syllableWidths.count() != syllableTexts.count() || widthsFont != font() || widthsSize != size() ||
        widthsUnderline != isUnderlined() || widthsMeasurer != MnMeasurer::generation()) {
        syllableWidths.setSize(syllableTexts.count());
        for (int i = 0; i < syllableWidths.count(); ++i)
            syllableWidths[i] = -1.0;
        widthsFont = font();
        widthsSize = size();
        widthsUnderline = isUnderlined();
        widthsMeasurer = MnMeasurer::generation();
    }
    if (syllableWidths[index] < 0.0)
        syllableWidths[index] = std::max(0.0, measurer.textWidth(syllableTexts[index], font(), size(), isUnderlined()));
    return syllableWidths[index];
}
