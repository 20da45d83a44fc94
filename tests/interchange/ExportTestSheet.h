#pragma once

#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnTicks.h"

#include "common/TestClock.h"

// A new sheet music (A4, the credits a new sheet starts with) whose score
// has staves x measures of the meter, every voice a rest.
struct ExportTestSheet
{
    explicit ExportTestSheet(int staves = 1, int measures = 1, int timeType = MnTime4_4)
    {
        score = sheet.score();
        while (score->staffCount() < staves)
            score->insertStaff(-1);
        for (int s = 0; s < score->staffCount(); ++s) {
            MnStaff* staff = score->staff(s);
            staff->setTimeType(timeType);
            for (int i = 0; i < measures; ++i)
                staff->insertMeasure(-1, timeType);
        }
        while (score->staff(0)->measureCount() > measures)
            score->removeMeasure(0);
    }

    MnMeasure* measure(int staff, int index) { return score->staff(staff)->measure(index); }

    MnSheetMusic sheet;
    MnScore* score = nullptr;
};

// The clock of the encoding date, fixed in UTC while it lives.
class FixedExportClock : public TestClock
{
public:
    // 2024-03-07 12:00 UTC.
    static constexpr time_t now = 1709812800;

    FixedExportClock() : TestClock(now) {}
};
