#pragma once

// The layout of a dialog as data: its size in dialog units and, per control
// in tab order, the id, the kind, the rectangle, the English text and the
// style. A control host makes controls of a template (toolkit controls or an
// in-memory set for tests); the translations find each text by the context
// "dialog <template> <control>". Nothing here needs a window, so the tool that
// makes the translation template reads the same tables.

enum class UiControlKind
{
    label,
    groupBox,
    edit,
    button,
    defaultButton,
    checkBox,
    threeStateCheck,
    pushCheck,      // a check box drawn as a button that stays pressed
    radio,
    dropList,       // a drop-down list that only chooses
    listBox,
    slider,
    upDown,         // arrows that step the number in the control before it
    swatch,         // a clickable colour
    picture,        // a bitmap that tells of clicks
    pictureList,    // a drop-down list whose items show a picture before their text
};

enum UiControlStyle : unsigned
{
    uiGroup = 1,      // starts a radio group (and ends the one before it)
    uiDisabled = 2,
    uiHidden = 4,
    uiRightAlign = 8,
    uiMultiLine = 16,  // an edit of several lines, Enter starting a new one
};

struct UiControlTemplate
{
    int id;            // 0 for labels nobody addresses
    UiControlKind kind;
    int x, y, width, height;  // dialog units
    const char* text;         // English; null for none
    unsigned style;
};

struct UiDialogTemplate
{
    unsigned id;
    int width, height;  // dialog units
    const char* caption;
    const UiControlTemplate* controls;
    int controlCount;

    // The control of that id, or null.
    const UiControlTemplate* control(int controlId) const;
    int indexOf(int controlId) const;
    // The radios of the group that the radio firstId starts, in tab order:
    // it and the radios that follow it up to the next control that starts a
    // group or is no radio. Answers how many, writing at most capacity ids.
    int radioGroup(int firstId, int* ids, int capacity) const;
    // The control whose number an up-down steps: the one listed before it.
    int buddyOf(int upDownId) const;
    // The translation context of control index i ("dialog 117 1251", or
    // "dialog 117 #3" for a label without id); i -1 is the caption.
    void context(int index, char* out, int size) const;
};

class UiDialogTemplates
{
public:
    // The template of a dialog id, or null.
    static const UiDialogTemplate* find(unsigned id);
    // Every template, for the translation template; ends with null.
    static const UiDialogTemplate* const* all();
};
