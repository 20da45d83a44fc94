#include "panels/UiBrowserModel.h"

#include "editing/EdCursor.h"
#include "editing/EdView.h"
#include "editing/QuorvaneDocument.h"
#include "foundation/BcStringResources.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnGeneralMidi.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnTablature.h"

#include <algorithm>
#include <utility>

namespace {

constexpr unsigned sheetMusicString = 10018;
constexpr unsigned scoreString = 10019;
constexpr unsigned partGroupString = 10020;
constexpr unsigned staffString = 10022;
constexpr unsigned voiceString = 10061;
constexpr unsigned tablatureString = 10107;

BcString loadString(unsigned id)
{
    return BcStringResources::current().loadString(id);
}

template <typename T>
T* as(MnElement* element)
{
    return element && element->isKindOf(T::staticClass()) ? static_cast<T*>(element) : nullptr;
}

template <typename T>
const T* as(const MnElement* element)
{
    return element && element->isKindOf(T::staticClass()) ? static_cast<const T*>(element) : nullptr;
}

// The first non-empty of the choices.
const BcString& firstOf(const BcString& a, const BcString& b)
{
    return a.isEmpty() ? b : a;
}

// The staff of a voice item's chord, and the part that names it.
MnStaff* staffOf(const MnChord* chord)
{
    MnMeasure* measure = chord ? chord->measure() : nullptr;
    return measure ? measure->staff() : nullptr;
}

MnPart* partOf(const MnStaff* staff)
{
    MnScore* score = staff ? staff->score() : nullptr;
    if (!score || staff->index() < 0 || staff->index() >= score->staffCount())
        return nullptr;
    return score->part(staff->index());
}

// One item of the tree in the order of a rebuild: its element, how deep it
// hangs (0 for the top level) and, for the top level, its work's index.
struct Entry
{
    MnElement* element;
    int depth;
    int work;
};

class Walker
{
public:
    explicit Walker(std::vector<Entry>& out) : out(out) {}

    void work(MnElement* element, int index)
    {
        if (MnSheetMusic* sheet = as<MnSheetMusic>(element)) {
            out.push_back({sheet, 0, index});
            if (MnScore* score = sheet->score())
                children(score, 0, score->staffCount(), nullptr, 1);
        } else if (MnScore* score = as<MnScore>(element)) {
            out.push_back({score, 0, index});
            children(score, 0, score->staffCount(), nullptr, 1);
        }
    }

private:
    void children(MnScore* score, int first, int count, const MnPartGroup* enclosing, int depth)
    {
        const int end = std::min(first + count, score->staffCount());
        for (int i = std::max(first, 0); i < end;) {
            if (MnPartGroup* group = score->childPartGroup(i, enclosing)) {
                out.push_back({group, depth, -1});
                children(score, group->firstStaff(), group->staffCount(), group, depth + 1);
                // A group that overlaps another may start before i: the walk
                // goes on after its end, and always forward.
                i = std::max(i + 1, group->firstStaff() + group->staffCount());
            } else {
                addPart(score, i, depth);
                ++i;
            }
        }
    }

    void addPart(MnScore* score, int index, int depth)
    {
        MnPart* part = score->part(index);
        MnStaff* staff = score->staff(index);
        out.push_back({part, depth, -1});
        if (staff->voiceCount() >= 2 && staff->measureCount() > 0) {
            MnMeasure* measure = staff->measure(0);
            for (int v = 0; v < 2; ++v) {
                const BcArray<MnChord*>& chords = measure->voiceChords(v);
                if (chords.count() > 0)
                    out.push_back({chords[0], depth + 1, -1});
            }
        }
        if (MnTablature* tablature = staff->tablature())
            out.push_back({tablature, depth + 1, -1});
    }

    std::vector<Entry>& out;
};

void walk(const QuorvaneDocument* document, std::vector<Entry>& out)
{
    out.clear();
    if (!document)
        return;
    Walker walker(out);
    const BcArray<MnElement*>& works = document->works();
    for (int i = 1; i < works.count(); ++i)
        walker.work(works[i], i);
}

void addStaff(EdSelection& selection, MnStaff* staff, bool withTablature)
{
    selection.add(staff);
    for (int i = 0; i < staff->changeCount(); ++i)
        selection.add(staff->change(i));
    if (withTablature && staff->tablature())
        selection.add(staff->tablature());
}

// The bottom of a staff, with its tablature when it counts, unscaled: the
// tablature lies below the staff in units of its part's scale.
double staffBottom(const MnStaff* staff, bool withTablature)
{
    const GePoint2d at = staff->position();
    const MnTablature* tablature = staff->tablature();
    if (withTablature && tablature) {
        const double k = staff->partScale();
        return at.y + (tablature->position().y - tablature->height()) * k;
    }
    return at.y - staff->height();
}

}  // namespace

// --- The list ------------------------------------------------------------------

int UiBrowserList::append(MnElement* element)
{
    auto found = indices.find(element);
    if (found != indices.end())
        return found->second;
    const int index = int(entries.size());
    entries.push_back(element);
    if (element)
        indices.emplace(element, index);
    return index;
}

bool UiBrowserList::remove(MnElement* element)
{
    auto found = indices.find(element);
    if (found == indices.end())
        return false;
    entries[size_t(found->second)] = nullptr;
    indices.erase(found);
    return true;
}

MnElement* UiBrowserList::entry(int index) const
{
    return index >= 0 && index < int(entries.size()) ? entries[size_t(index)] : nullptr;
}

int UiBrowserList::find(const MnElement* element) const
{
    auto found = indices.find(element);
    return found == indices.end() ? -1 : found->second;
}

void UiBrowserList::reset()
{
    entries.clear();
    indices.clear();
}

// --- Collecting and refreshing ----------------------------------------------------

const unsigned UiBrowserModel::iconResources[iconCount] = {131, 132, 133, 134, 135, 136, 148, 137, 138,
                                                           138, 139, 139, 139, 147, 144, 145, 152, 153};

void UiBrowserModel::collect(const QuorvaneDocument* document, std::vector<MnElement*>& out)
{
    std::vector<Entry> entries;
    walk(document, entries);
    out.clear();
    out.reserve(entries.size());
    // Each element once, in the order of its first item; the lists are
    // short, but a set keeps large documents linear.
    std::unordered_map<const MnElement*, bool> seen;
    seen.reserve(entries.size());
    for (const Entry& entry : entries)
        if (seen.emplace(entry.element, true).second)
            out.push_back(entry.element);
}

bool UiBrowserModel::needsRebuild(const QuorvaneDocument* document) const
{
    if (!document)
        return hasItems;
    if (document->mainScoreIndex() != lastMainScore)
        return true;
    std::vector<MnElement*> now;
    collect(document, now);
    if (int(now.size()) != list.entryCount())
        return true;
    const BcArray<MnElement*>& works = document->works();
    for (size_t i = 0; i < now.size(); ++i) {
        if (now[i] != list.entry(int(i)))
            return true;
        if (EdPath(now[i], works) != paths[i])
            return true;
    }
    return false;
}

bool UiBrowserModel::refresh(const QuorvaneDocument* document, UiBrowserTree& tree)
{
    if (needsRebuild(document)) {
        rebuild(document, tree);
        return true;
    }
    refreshTexts(tree);
    return false;
}

void UiBrowserModel::rebuild(const QuorvaneDocument* document, UiBrowserTree& tree)
{
    rebuilding = true;
    tree.beginRebuild();
    tree.deleteAll();
    list.reset();
    paths.clear();
    hasItems = false;
    std::vector<Entry> entries;
    walk(document, entries);
    // The open items, one per depth; an item is folded or unfolded once its
    // children are in, that is when the walk leaves it.
    std::vector<std::pair<UiBrowserTree::Item, MnElement*>> open;
    auto close = [&](size_t depth) {
        while (open.size() > depth) {
            UiBrowserTree::Item item = open.back().first;
            MnElement* element = open.back().second;
            open.pop_back();
            if (tree.firstChild(item))
                tree.expand(item, !document->isCollapsed(element));
        }
    };
    static const BcArray<MnElement*> none;
    const BcArray<MnElement*>& works = document ? document->works() : none;
    for (const Entry& entry : entries) {
        const bool listed = list.find(entry.element) >= 0;
        // The voices of a staff are its first chords: a chord listed already
        // gets no second item.
        if (listed && as<MnChord>(entry.element))
            continue;
        close(size_t(entry.depth));
        const int index = list.append(entry.element);
        if (!listed)
            paths.push_back(EdPath(entry.element, works));
        UiBrowserTree::Item parent = open.empty() ? nullptr : open.back().first;
        UiBrowserTree::Item item = tree.append(parent, itemText(entry.element), itemIcon(entry.element), index);
        if (entry.depth == 0 && entry.work == document->mainScoreIndex())
            tree.setBold(item);
        hasItems = true;
        open.push_back({item, entry.element});
    }
    close(0);
    lastMainScore = document ? document->mainScoreIndex() : -1;
    tree.endRebuild();
    rebuilding = false;
}

void UiBrowserModel::refreshTexts(UiBrowserTree& tree)
{
    // Depth first, each item before its children, without recursion.
    std::vector<UiBrowserTree::Item> pending;
    for (UiBrowserTree::Item item = tree.firstChild(nullptr); item; item = tree.nextSibling(item))
        pending.push_back(item);
    std::reverse(pending.begin(), pending.end());
    while (!pending.empty()) {
        UiBrowserTree::Item item = pending.back();
        pending.pop_back();
        refreshItemText(tree, item);
        const size_t mark = pending.size();
        for (UiBrowserTree::Item child = tree.firstChild(item); child; child = tree.nextSibling(child))
            pending.push_back(child);
        std::reverse(pending.begin() + long(mark), pending.end());
    }
}

void UiBrowserModel::refreshItemText(UiBrowserTree& tree, UiBrowserTree::Item item)
{
    MnElement* element = list.entry(tree.data(item));
    if (!element)
        return;
    // The toolkit's tree redraws an item on every change: unchanged texts
    // and icons are not set again.
    const BcString text = itemText(element);
    if (tree.text(item) != text)
        tree.setText(item, text);
    if (as<MnPart>(element) || as<MnPartGroup>(element)) {
        const int icon = itemIcon(element);
        if (tree.image(item) != icon)
            tree.setImage(item, icon);
    }
}

void UiBrowserModel::itemExpanded(QuorvaneDocument* document, int data, bool expanded)
{
    MnElement* element = list.entry(data);
    if (rebuilding || !document || !element)
        return;
    if (expanded)
        document->removeCollapsed(element);
    else
        document->addCollapsed(element);
}

// --- Texts and icons ------------------------------------------------------------

BcString UiBrowserModel::itemText(const MnElement* element)
{
    if (const MnSheetMusic* sheet = as<MnSheetMusic>(element)) {
        const MnScore* score = sheet->score();
        return score && !score->name().isEmpty() ? score->name() : loadString(sheetMusicString);
    }
    if (const MnScore* score = as<MnScore>(element))
        return score->name().isEmpty() ? loadString(scoreString) : score->name();
    if (const MnPartGroup* group = as<MnPartGroup>(element)) {
        const BcString& own = firstOf(group->text(), group->name());
        return own.isEmpty() ? loadString(partGroupString) : own;
    }
    if (const MnPart* part = as<MnPart>(element)) {
        const BcString& own = firstOf(part->text(), part->name());
        return own.isEmpty() ? loadString(staffString) : own;
    }
    if (const MnTablature* tablature = as<MnTablature>(element)) {
        const BcString& own = firstOf(tablature->text(), tablature->name());
        return own.isEmpty() ? loadString(tablatureString) : own;
    }
    if (const MnChord* chord = as<MnChord>(element)) {
        const MnPart* part = partOf(staffOf(chord));
        const int voice = chord->voice();
        const BcString name = part ? part->voiceName(voice) : BcString();
        if (!name.isEmpty())
            return name;
        BcString text = loadString(voiceString);
        text.replaceAll(BcString("%d"), BcString(voice + 1));
        return text;
    }
    return BcString();
}

int UiBrowserModel::itemIcon(const MnElement* element)
{
    if (as<MnSheetMusic>(element))
        return sheetMusicIcon;
    if (as<MnScore>(element))
        return scoreIcon;
    if (const MnPartGroup* group = as<MnPartGroup>(element))
        return group->bracketType() == 0 ? groupIcon : bracketGroupIcon;
    if (const MnPart* part = as<MnPart>(element)) {
        const int code = part->instrument();
        const int family = code >= 128 ? programToInstrument(code - 128) : code;
        return family >= 0 && family <= 11 ? firstInstrumentIcon + family : scoreIcon;
    }
    if (as<MnTablature>(element))
        return tablatureIcon;
    if (as<MnChord>(element))
        return voiceIcon;
    return -1;
}

// --- Selecting -----------------------------------------------------------------

bool UiBrowserModel::selectElement(MnElement* element, EdView& view, int inputVoice)
{
    if (!element)
        return false;
    EdSelection& selection = view.selection();
    selection.clear();
    const int voice = inputVoice == 1 ? 1 : 0;
    if (MnChord* chord = as<MnChord>(element)) {
        MnStaff* staff = staffOf(chord);
        const int v = chord->voice();
        if (!staff || v < 0 || v >= MnMeasure::voiceCount)
            return true;
        for (int m = 0; m < staff->measureCount(); ++m) {
            const BcArray<MnChord*>& chords = staff->measure(m)->voiceChords(v);
            for (int c = 0; c < chords.count(); ++c) {
                if (chords[c]->isRest())
                    selection.add(chords[c]);
                else
                    for (int n = 0; n < chords[c]->noteCount(); ++n)
                        selection.add(chords[c]->note(n));
            }
        }
        view.cursor().setAtStaffStart(staff, v);
    } else if (MnPart* part = as<MnPart>(element)) {
        selection.add(part);
        MnScore* score = part->score();
        const int index = part->staffIndex();
        if (score && index >= 0 && index < score->staffCount()) {
            addStaff(selection, score->staff(index), true);
            view.cursor().setAtStaffStart(score->staff(index), voice);
        }
    } else if (MnPartGroup* group = as<MnPartGroup>(element)) {
        selection.add(group);
        MnScore* score = group->score();
        const int first = std::max(group->firstStaff(), 0);
        const int last = score ? std::min(group->lastStaff(), score->staffCount() - 1) : -1;
        for (int s = first; s <= last; ++s)
            addStaff(selection, score->staff(s), s < last || group->coversTablature());
        if (first <= last)
            view.cursor().setAtStaffStart(score->staff(first), voice);
    } else if (MnSheetMusic* sheet = as<MnSheetMusic>(element)) {
        selection.add(sheet);
        selection.add(sheet->score());
    } else {
        selection.add(element);
    }
    return true;
}

// --- Renaming and deleting -----------------------------------------------------------

bool UiBrowserModel::rename(MnElement* element, const BcString& text)
{
    MnScore* score = as<MnScore>(element);
    if (MnSheetMusic* sheet = as<MnSheetMusic>(element))
        score = sheet->score();
    if (score) {
        if (score->name() == text)
            return false;
        score->setName(text);
        return true;
    }
    if (as<MnPartGroup>(element) || as<MnPart>(element) || as<MnTablature>(element)) {
        MnText* own = static_cast<MnText*>(element);
        return own->text() != text && own->setText(text);
    }
    if (MnChord* chord = as<MnChord>(element)) {
        MnPart* part = partOf(staffOf(chord));
        const int voice = chord->voice();
        if (!part || voice < 0)
            return false;
        // A name the list does not reach yet is a change even when empty:
        // the list grows to hold it.
        if (voice < part->voiceNameCount() && part->voiceName(voice) == text)
            return false;
        return part->setVoiceName(voice, text);
    }
    return false;
}

bool UiBrowserModel::deleteVoice(MnChord* chord)
{
    MnStaff* staff = staffOf(chord);
    const int v = chord ? chord->voice() : -1;
    if (!staff || v < 0 || v >= MnMeasure::voiceCount)
        return false;
    for (int m = 0; m < staff->measureCount(); ++m) {
        MnMeasure* measure = staff->measure(m);
        BcArray<MnChord*>& chords = measure->voiceChords(v);
        // Out of the voice first, then deleted: a dying chord finds the
        // voice already without it.
        BcArray<MnChord*> dying = chords;
        chords.removeAll();
        for (int c = 0; c < dying.count(); ++c)
            delete dying[c];
        measure->fillGapsWithRests(v, 1, 1);
        if (v == 0)
            measure->swapVoices();
    }
    return true;
}

// --- The box to fly to ----------------------------------------------------------

bool UiBrowserModel::itemBox(const MnElement* element, GePoint2d& corner1, GePoint2d& corner2)
{
    const MnScore* score = as<MnScore>(element);
    const MnStaff* staff = nullptr;
    if (score) {
        // The score itself.
    } else if (const MnSheetMusic* sheet = as<MnSheetMusic>(element))
        score = sheet->score();
    else if (const MnPartGroup* group = as<MnPartGroup>(element))
        score = group->score();
    else if (const MnPart* part = as<MnPart>(element))
        score = part->score();
    else if (const MnTablature* tablature = as<MnTablature>(element))
        staff = tablature->staff();
    else if (const MnChord* chord = as<MnChord>(element))
        staff = staffOf(chord);
    else
        return false;
    if (staff)
        score = staff->score();
    const MnSheetMusic* sheet = as<MnSheetMusic>(element);
    if (!sheet && score)
        sheet = score->sheetMusic();
    if (sheet) {
        const GePoint2d at = sheet->position();
        corner1 = at;
        corner2 = GePoint2d(at.x + sheet->width(), at.y - sheet->height());
        return true;
    }
    if (!score)
        return false;

    MnCache scope;
    const double ex = std::min(score->partsExtents(false).x, 0.0);
    GePoint2d from;
    GePoint2d to;
    if (as<MnScore>(element)) {
        const GePoint2d at = score->position();
        from = GePoint2d(at.x + ex, at.y);
        to = GePoint2d(at.x + score->width(), at.y - score->height());
    } else if (const MnPartGroup* group = as<MnPartGroup>(element)) {
        const int first = std::max(group->firstStaff(), 0);
        const int last = std::min(group->lastStaff(), score->staffCount() - 1);
        if (first > last)
            return false;
        const MnStaff* top = score->staff(first);
        const MnStaff* bottom = score->staff(last);
        from = GePoint2d(top->position().x + ex, top->position().y);
        to = GePoint2d(bottom->position().x + bottom->width(), staffBottom(bottom, group->coversTablature()));
    } else {
        if (const MnPart* part = as<MnPart>(element)) {
            const int index = part->staffIndex();
            if (index < 0 || index >= score->staffCount())
                return false;
            staff = score->staff(index);
        }
        if (!staff)
            return false;
        const GePoint2d at = staff->position();
        if (const MnTablature* tablature = as<MnTablature>(element)) {
            const double k = staff->partScale();
            from = GePoint2d(at.x + ex, at.y + tablature->position().y * k);
        } else {
            from = GePoint2d(at.x + ex, at.y);
        }
        to = GePoint2d(at.x + staff->width(), staffBottom(staff, true));
    }
    const GePoint2d origin = score->position();
    const double scale = score->scale();
    auto scaled = [&](const GePoint2d& p) {
        return GePoint2d(origin.x + (p.x - origin.x) * scale, origin.y + (p.y - origin.y) * scale);
    };
    corner1 = scaled(from);
    corner2 = scaled(to);
    return true;
}
