#pragma once

#include "foundation/BcDate.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnTicks.h"

#include <cstdlib>
#include <ctime>
#include <string>

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
            staff->setTime(timeType);
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

// Fixes the clock that the encoding date reads, in UTC, while it lives.
class FixedExportClock
{
public:
    // 2024-03-07 12:00 UTC.
    static constexpr time_t now = 1709812800;

    FixedExportClock()
    {
        if (const char* tz = std::getenv("TZ")) {
            hadTz = true;
            previousTz = tz;
        }
        setenv("TZ", "UTC", 1);
        tzset();
        BcDate::setClock([]() -> time_t { return now; });
    }
    ~FixedExportClock()
    {
        BcDate::setClock(nullptr);
        if (hadTz)
            setenv("TZ", previousTz.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    bool hadTz = false;
    std::string previousTz;
};
