#pragma once

#include "app/UiControlHost.h"
#include "editing/EdSelection.h"
#include "foundation/BcArray.h"
#include "foundation/BcString.h"
#include "panels/UiAnchorList.h"

#include <memory>
#include <string>

class BcClass;
class MnElement;
class UiDataExchange;
class UiPageWindow;

// The base of the property pages: one page per model class of the
// selection, showing the values of all its elements at once and writing
// every change into each of them as one edit transaction (one undo step).
//
// Values that differ across the loaded elements are mixed: a radio group
// holds -1, a three-state box 2, a text "*Various*" and a number its mixed
// flag; applying skips every mixed value, so a change of one control never
// touches what the others show as mixed.
//
// The page works on any control host; the pane puts it in a toolkit window
// (UiPageWindow) that moves its anchored controls and scrolls it.
class UiPropertiesDlg
{
public:
    // The text of a mixed text or number.
    static const char* const various;

    explicit UiPropertiesDlg(unsigned templateId);
    virtual ~UiPropertiesDlg();
    UiPropertiesDlg(const UiPropertiesDlg&) = delete;
    UiPropertiesDlg& operator=(const UiPropertiesDlg&) = delete;

    unsigned templateId() const { return dialogTemplateId; }

    // Takes the controls (and the window, which may be null for a page
    // without one), sets up the anchors and pictures, and listens to the
    // controls. The window's controls must be where the template put them.
    void create(std::unique_ptr<UiControlHost> controls, UiPageWindow* window, double displayScale);
    bool isInitialised() const { return initialised; }
    UiControlHost& host() { return *controls; }

    // The tab's caption, in the interface language.
    virtual BcString title() const = 0;
    // The model class the page edits.
    virtual const BcClass* elementClass() const = 0;

    // Loads the elements of the page's class from the list (the first sets
    // the values, each later one marks what differs as mixed) and shows
    // them; false when none was taken. Refused while the page applies.
    bool loadElements(const BcArray<MnElement*>& list);
    EdSelection& elementList() { return elements; }
    bool isApplying() const { return applying; }

    // Writes the page's values into every element: one transaction, or,
    // while an interactive tool runs in the active view, straight into the
    // model under the tool's own transaction with a redraw per element.
    bool apply(bool layoutChanged);
    // Controls to values, then apply.
    void onControlChange();

    // Values to controls (false) or back (true); no notification reaches
    // the page meanwhile.
    void updateData(bool fromControls);

    // Anchors of a table, combined per control; false without a window.
    bool addAnchors(const UiAnchorSpec* table, int count);
    UiAnchorList& anchorList() { return anchors; }
    // Asks the window for a picture in a picture control.
    void setScaledBitmap(int controlId, int bitmapId);
    // Asks the window to draw a picture control as a frame.
    void frameControl(int controlId, int color);
    // Asks the window for an icon on a push button.
    void setButtonIcon(int controlId, int iconId);

    // The page window's client size changed: anchors, then the scroll bar.
    void resized(int width, int height);
    // The scroll requests of the vertical bar; the thumb's position for
    // the two thumb requests.
    enum ScrollRequest { lineUp, lineDown, pageUp, pageDown, thumbPosition, thumbTrack, top, bottom, endScroll };
    void scroll(ScrollRequest request, int thumb = 0);
    // A wheel message: one page step, down for a negative delta.
    void wheel(int delta);
    int contentHeight() const { return content; }
    int scrollPosition() const { return scrollPos; }

    // How a picture of sourceWidth x sourceHeight fills a control of
    // controlWidth x controlHeight at a display scale: the bitmap made is
    // the control's size times the scale; above a scale of 1.51 the picture
    // is stretched over it, otherwise drawn at its own size in the middle.
    struct BitmapLayout
    {
        int width = 0, height = 0;  // the bitmap made
        int x = 0, y = 0, drawnWidth = 0, drawnHeight = 0;
        bool stretched = false;
    };
    static BitmapLayout bitmapLayout(int controlWidth, int controlHeight, int sourceWidth, int sourceHeight,
                                     double scale);

    // Keeps the decimal digits of an edit's text, writing the cleaned text
    // back when anything went; the text left.
    std::string digitsOnly(int controlId);

protected:
    virtual void setupAnchors() {}
    virtual void scaleBitmaps() {}
    // Copies the element's values into the page (merge false) or marks what
    // differs as mixed (merge true); true when the page takes the element.
    virtual bool loadElement(MnElement* element, bool merge) = 0;
    // Writes every value that is not mixed; true when the element counts as
    // changed.
    virtual bool applyToElement(MnElement* element) = 0;
    // One transfer of every value (UiDataExchange), with the page's rules
    // for showing and enabling controls.
    virtual void exchange(UiDataExchange& dx) = 0;
    // A control's notification, outside transfers.
    virtual void notified(int controlId, UiControlHost::Notification what) = 0;
    // After create.
    virtual void initDialog() {}

    // Helpers of the merge rules.
    static void mergeChoice(int& member, int value) { if (member != value) member = -1; }
    static void mergeCheck(int& member, int value) { if (member != value) member = 2; }
    static void mergeText(std::string& member, const std::string& value)
    {
        if (member != value)
            member = various;
    }
    // A clicked check box: on from off, off from on or mixed.
    static int toggled(int state) { return state == 0 ? 1 : 0; }
    // A number in an edit with its mixed flag: shows "*Various*" while
    // mixed; reads only a non-empty edit of digits while not.
    void exchangeNumber(UiDataExchange& dx, int controlId, int& value, bool mixed);
    // The typing rule of number edits; false when nothing was applied.
    bool numberTyped(int controlId, bool& mixed);

private:
    unsigned dialogTemplateId;
    std::unique_ptr<UiControlHost> controls;
    UiPageWindow* window = nullptr;
    UiAnchorList anchors;
    EdSelection elements;
    bool initialised = false;
    bool applying = false;
    int content = 340;
    int lastHeight = -1;
    int scrollPos = 0;
};
