#include "foundation/BcClassTable.h"

#include "foundation/BcClassManager.h"
#include "foundation/BcString.h"

#include <cstring>
#include <vector>

// Start-up fills it on the main thread before anything reads it.
static std::vector<BcClassTable::Entry>& installedRows()
{
    static std::vector<BcClassTable::Entry> rows;
    return rows;
}

void BcClassTable::install(const Entry* rows, int count)
{
    if (!rows || count < 0)
        count = 0;
    installedRows().assign(rows, rows + count);
}

bool BcClassTable::setFactory(const char* name, BcClassFactory factory)
{
    if (!name)
        return false;
    for (Entry& row : installedRows()) {
        if (std::strcmp(row.name, name) != 0)
            continue;
        if (!row.hasFactory)
            return false;
        row.factory = factory;
        return true;
    }
    return false;
}

int BcClassTable::count()
{
    return int(installedRows().size());
}

const BcClassTable::Entry& BcClassTable::entry(int index)
{
    static const Entry none = {"", "", false, nullptr};
    if (index < 0 || index >= count())
        return none;
    return installedRows()[size_t(index)];
}

void BcClassTable::registerAll(BcClassManager& manager)
{
    for (const Entry& row : installedRows()) {
        BcString baseName(row.baseName);
        BcString name(row.name);
        manager.registerClass(name, baseName, row.factory);
    }
}
