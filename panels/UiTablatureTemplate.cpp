#include "panels/UiTablatureTemplate.h"

namespace {

using K = UiControlKind;

}

// The tuning group carries the ids of the fretboard's tuning dialog; the
// numbering pictures stand over their radios.
const UiControlTemplate UiTablatureTemplate::controls[controlCount] = {
    {1094, K::edit, 7, 7, 128, 12, nullptr, 0},
    {1111, K::edit, 139, 7, 64, 12, nullptr, 0},
    {1354, K::groupBox, 4, 24, 202, 152, "Strings", 0},
    {1292, K::dropList, 10, 36, 190, 80, nullptr, 0},
    {1355, K::label, 10, 56, 18, 8, "1st", 0},
    {1347, K::dropList, 30, 54, 48, 120, nullptr, 0},
    {1359, K::dropList, 80, 54, 28, 120, nullptr, 0},
    {1356, K::label, 10, 70, 18, 8, "2nd", 0},
    {1348, K::dropList, 30, 68, 48, 120, nullptr, 0},
    {1360, K::dropList, 80, 68, 28, 120, nullptr, 0},
    {1357, K::label, 10, 84, 18, 8, "3rd", 0},
    {1349, K::dropList, 30, 82, 48, 120, nullptr, 0},
    {1361, K::dropList, 80, 82, 28, 120, nullptr, 0},
    {1358, K::label, 10, 98, 18, 8, "4th", 0},
    {1350, K::dropList, 30, 96, 48, 120, nullptr, 0},
    {1362, K::dropList, 80, 96, 28, 120, nullptr, 0},
    {1370, K::label, 10, 112, 18, 8, "5th", 0},
    {1351, K::dropList, 30, 110, 48, 120, nullptr, 0},
    {1363, K::dropList, 80, 110, 28, 120, nullptr, 0},
    {1371, K::label, 10, 126, 18, 8, "6th", 0},
    {1352, K::dropList, 30, 124, 48, 120, nullptr, 0},
    {1364, K::dropList, 80, 124, 28, 120, nullptr, 0},
    {1372, K::label, 10, 140, 18, 8, "7th", 0},
    {1366, K::dropList, 30, 138, 48, 120, nullptr, 0},
    {1367, K::dropList, 80, 138, 28, 120, nullptr, 0},
    {1373, K::label, 10, 154, 18, 8, "8th", 0},
    {1368, K::dropList, 30, 152, 48, 120, nullptr, 0},
    {1369, K::dropList, 80, 152, 28, 120, nullptr, 0},
    {1353, K::button, 112, 54, 14, 14, "-", 0},
    {1365, K::button, 112, 70, 14, 14, "+", 0},
    {1374, K::label, 112, 98, 20, 8, "Frets:", 0},
    {1375, K::edit, 134, 96, 56, 12, nullptr, 0},
    {1377, K::upDown, 190, 96, 10, 12, nullptr, 0},
    {1376, K::groupBox, 4, 180, 202, 92, "Capo", 0},
    {1084, K::threeStateCheck, 10, 194, 12, 10, nullptr, 0},
    {1379, K::slider, 26, 192, 100, 14, nullptr, 0},
    {1380, K::edit, 130, 193, 60, 12, nullptr, 0},
    {1381, K::upDown, 190, 193, 10, 12, nullptr, 0},
    {1384, K::picture, 26, 214, 28, 20, nullptr, 0},
    {1385, K::picture, 130, 214, 28, 20, nullptr, 0},
    {1382, K::radio, 34, 238, 12, 10, nullptr, uiGroup},
    {1383, K::radio, 138, 238, 12, 10, nullptr, 0},
};
