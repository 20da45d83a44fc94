#include "panels/UiTextPageTemplates.h"

// Dialog units. Pictures stand over the radio they pick; each radio group
// is listed in one run.
using K = UiControlKind;

const UiControlTemplate UiTextPageTemplates::tempo[] = {
    {1169, K::groupBox, 4, 4, 202, 64, "Metronome marking", 0},
    {1153, K::picture, 8, 14, 28, 20, nullptr, 0},
    {1154, K::picture, 42, 14, 28, 20, nullptr, 0},
    {1155, K::picture, 76, 14, 28, 20, nullptr, 0},
    {1156, K::picture, 110, 14, 28, 20, nullptr, 0},
    {1157, K::picture, 144, 14, 28, 20, nullptr, 0},
    {1158, K::picture, 178, 14, 28, 20, nullptr, 0},
    {1159, K::radio, 16, 36, 12, 10, nullptr, uiGroup},
    {1160, K::radio, 50, 36, 12, 10, nullptr, 0},
    {1161, K::radio, 84, 36, 12, 10, nullptr, 0},
    {1162, K::radio, 118, 36, 12, 10, nullptr, 0},
    {1163, K::radio, 152, 36, 12, 10, nullptr, 0},
    {1164, K::radio, 186, 36, 12, 10, nullptr, 0},
    {1165, K::label, 16, 52, 8, 8, "=", 0},
    {1167, K::edit, 26, 50, 28, 12, nullptr, 0},
    {1168, K::upDown, 54, 50, 10, 12, nullptr, 0},
    {1166, K::label, 68, 52, 30, 8, "bpm", 0},
    {1084, K::groupBox, 4, 72, 202, 192, "Tempo marking", 0},
    {1229, K::radio, 10, 84, 94, 10, "Larghissimo", uiGroup},
    {1230, K::radio, 10, 96, 94, 10, "Adagissimo", 0},
    {1231, K::radio, 10, 108, 94, 10, "Grave", 0},
    {1232, K::radio, 10, 120, 94, 10, "Lento", 0},
    {1233, K::radio, 10, 132, 94, 10, "Largo", 0},
    {1234, K::radio, 10, 144, 94, 10, "Larghetto", 0},
    {1235, K::radio, 10, 156, 94, 10, "Adagio", 0},
    {1236, K::radio, 10, 168, 94, 10, "Adagietto", 0},
    {1237, K::radio, 10, 180, 94, 10, "Andante", 0},
    {1238, K::radio, 10, 192, 94, 10, "Andantino", 0},
    {1239, K::radio, 108, 84, 94, 10, "Andante moderato", 0},
    {1240, K::radio, 108, 96, 94, 10, "Moderato", 0},
    {1241, K::radio, 108, 108, 94, 10, "Allegretto", 0},
    {1242, K::radio, 108, 120, 94, 10, "Allegro moderato", 0},
    {1243, K::radio, 108, 132, 94, 10, "Allegro", 0},
    {1244, K::radio, 108, 144, 94, 10, "Allegro vivace", 0},
    {1245, K::radio, 108, 156, 94, 10, "Vivace", 0},
    {1246, K::radio, 108, 168, 94, 10, "Vivacissimo", 0},
    {1247, K::radio, 108, 180, 94, 10, "Presto", 0},
    {1248, K::radio, 108, 192, 94, 10, "Prestissimo", 0},
    {1249, K::radio, 10, 208, 44, 10, "Other", 0},
    {1085, K::threeStateCheck, 30, 226, 70, 10, "Molto", 0},
    {1087, K::threeStateCheck, 100, 226, 100, 10, "Ma non troppo", 0},
    {1086, K::edit, 56, 207, 144, 12, nullptr, 0},
    {1088, K::threeStateCheck, 30, 244, 170, 10, "Show metronome marking", 0},
};
const int UiTextPageTemplates::tempoCount = int(sizeof tempo / sizeof tempo[0]);

const UiControlTemplate UiTextPageTemplates::text[] = {
    {1095, K::groupBox, 4, 4, 202, 70, "Font", 0},
    {1093, K::dropList, 10, 16, 190, 60, nullptr, 0},
    {1096, K::label, 24, 38, 50, 8, "Height:", 0},
    {1088, K::edit, 78, 36, 32, 12, nullptr, 0},
    {1101, K::upDown, 110, 36, 10, 12, nullptr, 0},
    {1097, K::threeStateCheck, 24, 56, 50, 10, "Bold", 0},
    {1098, K::threeStateCheck, 78, 56, 50, 10, "Italic", 0},
    {1099, K::threeStateCheck, 132, 56, 60, 10, "Underline", 0},
};
const int UiTextPageTemplates::textCount = int(sizeof text / sizeof text[0]);

const UiControlTemplate UiTextPageTemplates::credit[] = {
    {1094, K::edit, 4, 4, 202, 12, nullptr, 0},
    {1170, K::dropList, 4, 22, 202, 80, nullptr, 0},
    {1100, K::groupBox, 4, 42, 202, 30, "Alignment", 0},
    {1000, K::radio, 10, 56, 46, 10, "Left", uiGroup},
    {1070, K::radio, 60, 56, 46, 10, "Center", 0},
    {1091, K::radio, 110, 56, 46, 10, "Right", 0},
    {1092, K::radio, 160, 56, 40, 10, "None", 0},
};
const int UiTextPageTemplates::creditCount = int(sizeof credit / sizeof credit[0]);

const UiControlTemplate UiTextPageTemplates::lyric[] = {
    {1094, K::edit, 4, 4, 202, 60, nullptr, uiMultiLine},
    {1344, K::label, 4, 72, 80, 8, "Pass-through:", 0},
    {1292, K::dropList, 86, 70, 120, 80, nullptr, 0},
};
const int UiTextPageTemplates::lyricCount = int(sizeof lyric / sizeof lyric[0]);
