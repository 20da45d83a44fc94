#pragma once

#include "foundation/BcObject.h"

class BcClassManager;

// The one ordered list of class registrations. Its order is the order of the
// class objects after linking. A row whose class has a factory keeps that
// mark even while the class itself is not built yet (factory still null).
class BcClassTable
{
public:
    struct Entry
    {
        const char* name;
        const char* baseName;
        bool hasFactory;
        BcClassFactory factory;
    };

    static int count();
    static const Entry& entry(int index);
    // Registers every row, in order.
    static void registerAll(BcClassManager& manager);
};
