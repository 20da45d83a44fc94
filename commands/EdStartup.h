#pragma once

// What the core needs installed before it is used, in the order the
// application does it at start-up:
//
//     EdStartup::install();
//     BcClassTable::setFactory("Settings", &Settings::newInstance); // and the
//                                             // shell's other classes
//     BcClassManager::instance()->linkClasses();
//
// Test, benchmark and fuzzing mains call it the same way.
class EdStartup
{
public:
    // Installs the class table, the renderer's measurer (MnMeasurer), the
    // clipboard through which the model lifts music (MnClipboard) and the
    // editing commands' rows of the command table (EdCommandRows).
    // Selections install the model's death hook themselves when they are
    // made. Safe to call again.
    static void install();
};
