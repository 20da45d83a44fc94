#pragma once

#include "foundation/BcObject.h"

class BcClassManager;

// The one ordered list of class registrations. Its order is the order of the
// class objects after linking. A row whose class has a factory keeps that
// mark even while the class itself is not built yet (factory still null).
//
// The rows name classes of every layer, so the layer that sees them all
// installs them at start-up (EdStartup); a class defined above that layer
// gets its factory through setFactory. Both happen before the registry is
// made and linked (BcClassManager::instance, linkClasses).
class BcClassTable
{
public:
    struct Entry
    {
        // String literals: the table keeps the pointers.
        const char* name;
        const char* baseName;
        bool hasFactory;
        BcClassFactory factory;
    };

    // Replaces the table with a copy of the rows.
    static void install(const Entry* rows, int count);
    // Fills in the factory of the row of that name. False, with nothing
    // changed, when no row has the name or its row is marked as having no
    // factory. Null takes the factory away again.
    static bool setFactory(const char* name, BcClassFactory factory);

    static int count();
    // An empty row outside 0..count-1.
    static const Entry& entry(int index);
    // Registers every row, in order.
    static void registerAll(BcClassManager& manager);
};
