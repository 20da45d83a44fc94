#include "commands/EdClassTable.h"

#include "editing/EdClipboard.h"
#include "editing/EdCommand.h"
#include "editing/EdCursor.h"
#include "editing/EdNotePath.h"
#include "editing/EdSelection.h"
#include "foundation/BcClassTable.h"
#include "foundation/GeArc.h"
#include "foundation/GeBox2d.h"
#include "foundation/GeMatrix2d.h"
#include "foundation/GePoint2d.h"
#include "foundation/GePoint3d.h"
#include "foundation/GeSpline2d.h"
#include "foundation/GeVector2d.h"
#include "foundation/GeVector3d.h"
#include "interchange/IeMIDIImporter.h"
#include "interchange/IeMusicXmlExporter.h"
#include "interchange/IeMusicXmlImporter.h"
#include "model/EdPath.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnText.h"
#include "model/MnWork.h"
#include "playback/MpMIDI.h"
#include "playback/MpPerformer.h"
#include "playback/MpPlayer.h"
#include "playback/MpUnfolder.h"
#include "playback/MrRecorder.h"
#include "playback/UiMIDIInput.h"
#include "render/Re3dPrint.h"
#include "render/ReBitmap.h"
#include "render/ReGDI.h"
#include "render/ReOpenGL.h"
#include "render/RePDF.h"
#include "render/ReParallax.h"
#include "render/RePicker.h"

// Each class's factory (&X::newInstance) is filled in here when the class is
// built; until then its row is marked as having a factory with a null pointer.
// The rows of classes above the core (Settings, UiManuscriptPaperViewport)
// keep their place and get their factory from the layer that defines them
// (BcClassTable::setFactory).
// Order matters: it is the order of the class objects after linking.
static const BcClassTable::Entry classTable[] = {
    {"BcClass", "BcObject", false, nullptr},
    {"BcClassManager", "NULL", false, nullptr},
    {"BcObject", "NULL", false, nullptr},
    {"EdClipboard", "BcObject", true, &EdClipboard::newInstance},
    {"EdCommand", "BcObject", true, &EdCommand::newInstance},
    {"EdCursor", "BcObject", true, &EdCursor::newInstance},
    {"EdGuideLine", "BcObject", false, nullptr},
    {"EdHorizontalGuideLine", "EdGuideLine", false, nullptr},
    {"EdVerticalGuideLine", "EdGuideLine", false, nullptr},
    {"EdNotePath", "BcObject", true, &EdNotePath::newInstance},
    {"EdPath", "BcObject", true, &EdPath::newInstance},
    {"EdSelection", "BcObject", true, &EdSelection::newInstance},
    {"GeArc", "BcObject", true, &GeArc::newInstance},
    {"GeBox2d", "BcObject", true, &GeBox2d::newInstance},
    {"GeMatrix2d", "BcObject", true, &GeMatrix2d::newInstance},
    {"GePoint2d", "BcObject", true, &GePoint2d::newInstance},
    {"GePoint3d", "BcObject", true, &GePoint3d::newInstance},
    {"GeRegion", "BcObject", false, nullptr},
    {"GeSpline2d", "BcObject", true, &GeSpline2d::newInstance},
    {"GeUtil", "BcObject", false, nullptr},
    {"GeVector2d", "BcObject", true, &GeVector2d::newInstance},
    {"GeVector3d", "BcObject", true, &GeVector3d::newInstance},
    {"IeMIDIImporter", "BcObject", true, &IeMIDIImporter::newInstance},
    {"IeMusicXmlExporter", "BcObject", true, &IeMusicXmlExporter::newInstance},
    {"IeMusicXmlImporter", "BcObject", true, &IeMusicXmlImporter::newInstance},
    {"MnChord", "MnElement", false, nullptr},
    {"MnCredit", "MnText", false, nullptr},
    {"MnDynamic", "MnLine", false, nullptr},
    {"MnElement", "BcObject", false, nullptr},
    {"MnLine", "MnElement", false, nullptr},
    {"MnLyric", "MnText", false, nullptr},
    {"MnMeasure", "MnElement", false, nullptr},
    {"MnNote", "MnElement", false, nullptr},
    {"MnOctave", "MnLine", false, nullptr},
    {"MnPart", "MnText", false, nullptr},
    {"MnPartGroup", "MnText", false, nullptr},
    {"MnPedal", "MnLine", false, nullptr},
    {"MnScore", "MnElement", true, &MnScore::newInstance},
    {"MnMeasureNumber", "MnText", false, nullptr},
    {"MnSheetMusic", "MnElement", true, &MnSheetMusic::newInstance},
    {"MnPageLayout", "MnElement", false, nullptr},
    {"MnStaffDefinition", "MnElement", false, nullptr},
    {"MnStaff", "MnStaffDefinition", false, nullptr},
    {"MnStaffChange", "MnStaffDefinition", false, nullptr},
    {"MnTablature", "MnText", false, nullptr},
    {"MnTempo", "MnText", false, nullptr},
    {"MnText", "MnElement", true, &MnText::newInstance},
    {"MnTuplet", "MnText", false, nullptr},
    {"MnWork", "MnElement", true, &MnWork::newInstance},
    {"MpMIDI", "MpPerformer", true, &MpMIDI::newInstance},
    {"MpPerformer", "BcObject", true, &MpPerformer::newInstance},
    {"MpJump", "BcObject", false, nullptr},
    {"MpRepeat", "MpJump", false, nullptr},
    {"MpVolta", "MpJump", false, nullptr},
    {"MpDxToFine", "MpJump", false, nullptr},
    {"MpDxToCoda", "MpJump", false, nullptr},
    {"MpFine", "MpJump", false, nullptr},
    {"MpToCoda", "MpJump", false, nullptr},
    {"MpPlayer", "BcObject", true, &MpPlayer::newInstance},
    {"MpUnfolder", "MpPerformer", true, &MpUnfolder::newInstance},
    {"MrRecorder", "BcObject", true, &MrRecorder::newInstance},
    {"Re3dPrint", "ReRenderer", true, &Re3dPrint::newInstance},
    {"ReBeam", "ReComposer", false, nullptr},
    {"ReBitmap", "ReOpenGL", true, &ReBitmap::newInstance},
    {"ReComposer", "BcObject", false, nullptr},
    {"ReGDI", "ReRenderer", true, &ReGDI::newInstance},
    {"ReLine", "ReComposer", false, nullptr},
    {"ReOpenGL", "ReRenderer", true, &ReOpenGL::newInstance},
    {"RePDF", "ReRenderer", true, &RePDF::newInstance},
    {"RePicker", "ReRenderer", true, &RePicker::newInstance},
    {"ReRenderer", "EdSelection", false, nullptr},
    {"ReSlur", "ReComposer", false, nullptr},
    {"ReSystem", "ReComposer", false, nullptr},
    {"ReTablature", "ReComposer", false, nullptr},
    {"ReTuplet", "ReComposer", false, nullptr},
    {"Settings", "BcObject", true, nullptr},
    {"UiManuscriptPaperViewport", "ReOpenGL", true, nullptr},
    {"UiMIDIInput", "BcObject", true, &UiMIDIInput::newInstance},
    {"ReParallax", "ReOpenGL", true, &ReParallax::newInstance},
};

void EdClassTable::install()
{
    BcClassTable::install(classTable, int(sizeof classTable / sizeof classTable[0]));
}
