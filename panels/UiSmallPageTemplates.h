#pragma once

#include "app/UiDialogTemplates.h"

// The layouts of the tuplet, dynamic, octave and pedal pages, in dialog
// units. Each radio group is one run in tab order, so the pictures that
// stand by a radio are listed before the run.
struct UiSmallPageTemplates
{
    using K = UiControlKind;

    static constexpr UiControlTemplate tuplet[] = {
        {1110, K::groupBox, 4, 4, 120, 62, "Bracket", 0},
        {1102, K::picture, 10, 16, 28, 20, nullptr, 0},
        {1103, K::picture, 48, 16, 28, 20, nullptr, 0},
        {1104, K::picture, 86, 16, 28, 20, nullptr, 0},
        {1106, K::radio, 18, 42, 12, 10, nullptr, uiGroup},
        {1107, K::radio, 56, 42, 12, 10, nullptr, 0},
        {1108, K::radio, 94, 42, 12, 10, nullptr, 0},
        {1112, K::groupBox, 128, 4, 78, 62, "Direction", 0},
        {1208, K::picture, 134, 26, 28, 20, nullptr, 0},
        {1209, K::picture, 170, 26, 28, 20, nullptr, 0},
        {1113, K::radio, 134, 14, 60, 10, "Auto", uiGroup},
        {1210, K::radio, 142, 50, 12, 10, nullptr, 0},
        {1111, K::radio, 178, 50, 12, 10, nullptr, 0},
        {1306, K::groupBox, 4, 70, 202, 130, "Ratio", 0},
        // The ratios in the order of their index; a row of one ratio shows
        // it on the right, with "-" on the left.
        {1000, K::radio, 140, 84, 40, 10, "2:3", uiGroup},
        {1001, K::radio, 140, 98, 40, 10, "3:2", 0},
        {1003, K::radio, 140, 112, 40, 10, "4:3", 0},
        {1004, K::radio, 80, 126, 40, 10, "5:4", 0},
        {1002, K::radio, 140, 126, 40, 10, "5:3", 0},
        {1005, K::radio, 140, 140, 40, 10, "6:4", 0},
        {1006, K::radio, 80, 154, 40, 10, "7:4", 0},
        {1007, K::radio, 140, 154, 40, 10, "7:6", 0},
        {1008, K::radio, 140, 168, 40, 10, "8:6", 0},
        {1009, K::radio, 80, 182, 40, 10, "9:8", 0},
        {1010, K::radio, 140, 182, 40, 10, "9:6", 0},
        {1307, K::label, 10, 85, 64, 8, "Duplet:", 0},
        {1308, K::label, 10, 99, 64, 8, "Triplet:", 0},
        {1309, K::label, 10, 113, 64, 8, "Quadruplet:", 0},
        {1310, K::label, 10, 127, 64, 8, "Quintuplet:", 0},
        {1311, K::label, 10, 141, 64, 8, "Sextuplet:", 0},
        {1312, K::label, 10, 155, 64, 8, "Septuplet:", 0},
        {1313, K::label, 10, 169, 64, 8, "Octuplet:", 0},
        {1314, K::label, 10, 183, 64, 8, "Nonuplet:", 0},
        {1315, K::label, 92, 85, 20, 8, "-", 0},
        {1316, K::label, 92, 99, 20, 8, "-", 0},
        {1317, K::label, 92, 113, 20, 8, "-", 0},
        {1318, K::label, 92, 141, 20, 8, "-", 0},
        {1319, K::label, 92, 169, 20, 8, "-", 0},
    };

    static constexpr UiControlTemplate dynamic[] = {
        {1211, K::groupBox, 4, 4, 202, 52, "Marking", 0},
        {1212, K::picture, 9, 16, 22, 20, nullptr, 0},
        {1213, K::picture, 33, 16, 22, 20, nullptr, 0},
        {1214, K::picture, 58, 16, 22, 20, nullptr, 0},
        {1083, K::picture, 82, 16, 22, 20, nullptr, 0},
        {1093, K::picture, 106, 16, 22, 20, nullptr, 0},
        {1215, K::picture, 130, 16, 22, 20, nullptr, 0},
        {1216, K::picture, 154, 16, 22, 20, nullptr, 0},
        {1217, K::picture, 179, 16, 22, 20, nullptr, 0},
        {1271, K::groupBox, 4, 60, 202, 90, "Change", 0},
        {1280, K::picture, 10, 72, 28, 20, nullptr, 0},
        {1281, K::picture, 48, 72, 28, 20, nullptr, 0},
        // One group: the eight marks, the two hairpins and the four words.
        {1218, K::radio, 14, 40, 12, 10, nullptr, uiGroup},
        {1219, K::radio, 38, 40, 12, 10, nullptr, 0},
        {1220, K::radio, 63, 40, 12, 10, nullptr, 0},
        {1090, K::radio, 87, 40, 12, 10, nullptr, 0},
        {1094, K::radio, 111, 40, 12, 10, nullptr, 0},
        {1221, K::radio, 135, 40, 12, 10, nullptr, 0},
        {1222, K::radio, 159, 40, 12, 10, nullptr, 0},
        {1223, K::radio, 184, 40, 12, 10, nullptr, 0},
        {1272, K::radio, 18, 96, 12, 10, nullptr, 0},
        {1273, K::radio, 56, 96, 12, 10, nullptr, 0},
        {1274, K::radio, 10, 112, 90, 10, "Crescendo", 0},
        {1275, K::radio, 112, 80, 90, 10, "Decrescendo", 0},
        {1276, K::radio, 112, 96, 90, 10, "Diminuendo", 0},
        {1277, K::radio, 112, 112, 90, 10, "Morendo", 0},
        {1279, K::threeStateCheck, 10, 132, 60, 10, "Molto", 0},
        {1278, K::threeStateCheck, 80, 132, 60, 10, "Poco", 0},
    };

    static constexpr UiControlTemplate octave[] = {
        {1259, K::groupBox, 4, 4, 202, 70, "Sign", 0},
        {1260, K::picture, 12, 16, 28, 20, nullptr, 0},
        {1261, K::picture, 65, 16, 28, 20, nullptr, 0},
        {1262, K::picture, 117, 16, 28, 20, nullptr, 0},
        {1263, K::picture, 170, 16, 28, 20, nullptr, 0},
        {1264, K::radio, 20, 40, 12, 10, nullptr, uiGroup},
        {1265, K::radio, 73, 40, 12, 10, nullptr, 0},
        {1266, K::radio, 125, 40, 12, 10, nullptr, 0},
        {1267, K::radio, 178, 40, 12, 10, nullptr, 0},
        {1070, K::radio, 87, 56, 36, 10, "loco", 0},
    };

    static constexpr UiControlTemplate pedal[] = {
        {1211, K::groupBox, 4, 4, 202, 136, "Marking", 0},
        {1284, K::picture, 24, 16, 70, 20, nullptr, 0},
        {1282, K::picture, 24, 40, 70, 20, nullptr, 0},
        {1292, K::picture, 24, 64, 70, 20, nullptr, 0},
        {1296, K::picture, 24, 88, 70, 20, nullptr, 0},
        {1299, K::picture, 24, 112, 70, 20, nullptr, 0},
        {1285, K::picture, 126, 16, 70, 20, nullptr, 0},
        {1283, K::picture, 126, 40, 70, 20, nullptr, 0},
        {1293, K::picture, 126, 64, 70, 20, nullptr, 0},
        {1297, K::picture, 126, 88, 70, 20, nullptr, 0},
        // Kinds 0..4 down the left column, 5..8 down the right.
        {1286, K::radio, 10, 21, 12, 10, nullptr, uiGroup},
        {1287, K::radio, 10, 45, 12, 10, nullptr, 0},
        {1290, K::radio, 10, 69, 12, 10, nullptr, 0},
        {1294, K::radio, 10, 93, 12, 10, nullptr, 0},
        {1298, K::radio, 10, 117, 12, 10, nullptr, 0},
        {1288, K::radio, 112, 21, 12, 10, nullptr, 0},
        {1289, K::radio, 112, 45, 12, 10, nullptr, 0},
        {1291, K::radio, 112, 69, 12, 10, nullptr, 0},
        {1295, K::radio, 112, 93, 12, 10, nullptr, 0},
    };
};
