#pragma once

class EdCommand;

// What a score view needs of an interactive tool: the transaction it is, the
// modifier keys that matter to it, and the two ends of its time as the
// view's pending tool. The tools themselves live above editing; the view
// starts, cancels and deletes them through this interface alone.
class EdTool
{
public:
    virtual ~EdTool() = default;

    // The edit transaction that the tool is; cancelling sets its cancel flag.
    virtual EdCommand& transaction() = 0;
    // Bit 0: the Ctrl key matters to the tool; bit 1: the Shift key.
    virtual unsigned modifierKeys() const = 0;
    // Right after the view made it its pending tool.
    virtual void begin() = 0;
    // Right before it is deleted, finished or cancelled.
    virtual void end() = 0;
};
