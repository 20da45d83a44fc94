#include "MusicXmlBenchFile.h"

namespace
{
const char* const steps[] = {"C", "D", "E", "F", "G", "A", "B"};

std::string pitch(int step, int octave, int alter = 0)
{
    std::string text = "<pitch><step>" + std::string(steps[step % 7]) + "</step>";
    if (alter != 0)
        text += "<alter>" + std::to_string(alter) + "</alter>";
    return text + "<octave>" + std::to_string(octave) + "</octave></pitch>";
}

std::string lyric(const char* syllabic, const std::string& text)
{
    return std::string("<lyric number=\"1\"><syllabic>") + syllabic + "</syllabic><text>" + text + "</text></lyric>";
}

// One measure of 4/4 at 4 divisions: a half-note chord, a quarter tied
// into an eighth, and an eighth rest, with lyrics, a dynamic mark every
// fourth measure, and a new key and time signature halfway. Stems, the
// sounding ties beside the tied notations and the voice number of a part
// with a single voice are left out, as files may do, so that ten parts of
// 500 measures come to about 4 MB.
std::string measureText(int part, int m, int measures)
{
    std::string text = "<measure number=\"" + std::to_string(m + 1) + "\">";
    if (m == 0) {
        text += "<attributes><divisions>4</divisions><key><fifths>0</fifths></key><time><beats>4</beats>"
                "<beat-type>4</beat-type></time><clef><sign>G</sign><line>2</line></clef></attributes>";
    } else if (m == measures / 2) {
        text += "<attributes><key><fifths>2</fifths></key><time><beats>2</beats><beat-type>2</beat-type></time>"
                "</attributes>";
    }
    if (m % 4 == 0)
        text += "<direction placement=\"below\"><direction-type><dynamics><" + std::string(m % 8 ? "p" : "f") +
                "/></dynamics></direction-type></direction>";
    const int step = (part + m) % 7;
    text += "<note>" + pitch(step, 4) + "<duration>8</duration><type>half</type>" + lyric("begin", "Sing") +
            "</note>";
    text += "<note><chord/>" + pitch(step + 2, 4) + "<duration>8</duration><type>half</type></note>";
    text += "<note>" + pitch(step + 1, 5, 1) + "<duration>4</duration><type>quarter</type>" +
            "<accidental>sharp</accidental><notations><tied type=\"start\"/></notations>" + lyric("end", "ing") +
            "</note>";
    text += "<note>" + pitch(step + 1, 5, 1) + "<duration>2</duration><type>eighth</type>" +
            "<notations><tied type=\"stop\"/></notations></note>";
    text += "<note><rest/><duration>2</duration><type>eighth</type></note>";
    return text + "</measure>";
}

} // namespace

std::string musicXmlBenchFile(int parts, int measures)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<score-partwise version=\"3.1\"><part-list>";
    for (int p = 0; p < parts; ++p)
        text += "<score-part id=\"P" + std::to_string(p + 1) + "\"><part-name>Voice " + std::to_string(p + 1) +
                "</part-name></score-part>";
    text += "</part-list>";
    for (int p = 0; p < parts; ++p) {
        text += "<part id=\"P" + std::to_string(p + 1) + "\">";
        for (int m = 0; m < measures; ++m)
            text += measureText(p, m, measures);
        text += "</part>";
    }
    return text + "</score-partwise>";
}

