#include "commands/EdCommandTable.h"

#include "editing/EdContext.h"
#include "editing/QuorvaneDocument.h"

#include <map>

// Ordered by id; looked up at every menu update, so a map rather than a scan.
static std::map<unsigned, EdCommandTable::Row>& rows()
{
    static std::map<unsigned, EdCommandTable::Row> table;
    return table;
}

bool EdCommandTable::add(const Row& row)
{
    if (!row.handler)
        return false;
    rows()[row.id] = row;
    return true;
}

void EdCommandTable::addRange(unsigned firstId, unsigned lastId, Handler handler, StateFunction state)
{
    for (unsigned id = firstId; id <= lastId; ++id)
        add(Row{id, handler, state});
}

bool EdCommandTable::remove(unsigned id)
{
    return rows().erase(id) > 0;
}

void EdCommandTable::clear()
{
    rows().clear();
}

const EdCommandTable::Row* EdCommandTable::find(unsigned id)
{
    auto it = rows().find(id);
    return it != rows().end() ? &it->second : nullptr;
}

EdCommandState EdCommandTable::state(unsigned id, const EdCommandInputs& inputs)
{
    const Row* row = find(id);
    if (!row)
        return EdCommandState{};
    return row->state ? row->state(id, inputs) : always(id, inputs);
}

bool EdCommandTable::execute(unsigned id, const EdCommandInputs& inputs)
{
    const Row* row = find(id);
    if (!row || !state(id, inputs).enabled)
        return false;
    // The handler may add or remove rows; it is called through a copy.
    Handler handler = row->handler;
    handler(id);
    return true;
}

EdCommandInputs EdCommandTable::gather()
{
    EdCommandInputs inputs;
    QuorvaneDocument* document = EdContext::current().activeDocument();
    inputs.document = document != nullptr;
    inputs.score = document && document->works().count() > 1;
    inputs.modified = document && document->IsModified();
    return inputs;
}

EdCommandState EdCommandTable::always(unsigned, const EdCommandInputs&)
{
    return EdCommandState{true, false};
}

EdCommandState EdCommandTable::whenDocument(unsigned, const EdCommandInputs& inputs)
{
    return EdCommandState{inputs.document, false};
}

EdCommandState EdCommandTable::whenScore(unsigned, const EdCommandInputs& inputs)
{
    return EdCommandState{inputs.score, false};
}
