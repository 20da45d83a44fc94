#pragma once

// Follows a selection: panes and the application are told after a
// transaction that changed the selection or the document.
class EdSelectionObserver
{
public:
    virtual ~EdSelectionObserver() = default;
    virtual void selectionChanged() = 0;
};
