#pragma once

#include "editing/EdSelection.h"
#include "foundation/BcString.h"
#include "foundation/GePoint2d.h"
#include "model/EdPath.h"
#include "panels/UiBrowserTree.h"

#include <unordered_map>
#include <vector>

class EdView;
class MnChord;
class MnElement;
class QuorvaneDocument;

// The elements of the project browser's items. Entry k is the element of
// every item whose data is k. It is a live selection, but a dying element
// leaves a null entry behind rather than a gap, so the indices the items
// hold stay valid until the next rebuild.
class UiBrowserList : public EdSelection
{
public:
    // The element's index; an element already listed keeps its index.
    int append(MnElement* element);
    bool remove(MnElement* element) override;
    // Null outside the list and for elements that died.
    MnElement* entry(int index) const;
    int entryCount() const { return int(entries.size()); }
    // -1 when not listed.
    int find(const MnElement* element) const;
    void reset();

private:
    std::vector<MnElement*> entries;
    std::unordered_map<const MnElement*, int> indices;
};

// What the project browser does without a window: which elements of a
// document it shows and in what order, when the tree must be rebuilt, the
// items' texts and icons, what selecting, renaming and deleting an item
// do, and the box a double-click flies to.
class UiBrowserModel
{
public:
    // The icons of the image list, by index.
    enum Icon
    {
        sheetMusicIcon = 0,
        scoreIcon = 1,
        groupIcon = 2,
        bracketGroupIcon = 3,
        firstInstrumentIcon = 4,
        tablatureIcon = 16,
        voiceIcon = 17,
        iconCount = 18
    };
    // The icon resource of each image list index.
    static const unsigned iconResources[iconCount];

    // The elements the tree lists for a document, in list order, each once:
    // per work, a sheet music or score, its groups and parts (a group
    // before what it holds), per part its two voices (the first chord of
    // each in the first measure, only when the staff uses two voices) and
    // its tablature.
    static void collect(const QuorvaneDocument* document, std::vector<MnElement*>& out);

    // Whether the tree no longer shows the document's structure.
    bool needsRebuild(const QuorvaneDocument* document) const;
    // Rebuilds the tree when the structure changed, else refreshes the
    // items' texts and icons; answers whether it rebuilt.
    bool refresh(const QuorvaneDocument* document, UiBrowserTree& tree);
    void rebuild(const QuorvaneDocument* document, UiBrowserTree& tree);
    // The texts of every item and the icons of groups and parts, from their
    // elements; items whose element died are left as they are.
    void refreshTexts(UiBrowserTree& tree);
    void refreshItemText(UiBrowserTree& tree, UiBrowserTree::Item item);
    bool isRebuilding() const { return rebuilding; }

    // The element of an item's data; null when out of range or dead.
    MnElement* element(int data) const { return list.entry(data); }
    int elementCount() const { return list.entryCount(); }

    // The user folded or unfolded the item: the document keeps it, with no
    // edit. Ignored while rebuilding.
    void itemExpanded(QuorvaneDocument* document, int data, bool expanded);

    static BcString itemText(const MnElement* element);
    // -1 for an element that has no item.
    static int itemIcon(const MnElement* element);

    // Fills the view's selection (and places its cursor) with what an
    // item's element stands for; false, with nothing changed, for null.
    static bool selectElement(MnElement* element, EdView& view, int inputVoice);

    // Gives the item's element the name; false when nothing changed.
    static bool rename(MnElement* element, const BcString& text);

    // Empties the chord's voice in every measure of its staff (rests fill
    // it); deleting the first voice moves the second into its place.
    static bool deleteVoice(MnChord* chord);

    // The box of an element on the desk (y upwards), corner1 top left;
    // false for elements that have no item. Opens its own cache scope.
    static bool itemBox(const MnElement* element, GePoint2d& corner1, GePoint2d& corner2);

private:
    UiBrowserList list;
    std::vector<EdPath> paths;
    int lastMainScore = -1;
    bool rebuilding = false;
    // Whether the tree holds any item.
    bool hasItems = false;
};
