#include "editing/EdSelection.h"

#include "editing/EdPointer.h"

#include "editing/EdSelectionObserver.h"
#include "foundation/BcClass.h"
#include "model/MnPageNumber.h"
#include "model/MnText.h"

#include <gtest/gtest.h>

#include <vector>

TEST(EdSelection, AddKeepsOrderWithoutDuplicatesAndRemoveKeepsOrder)
{
    MnText a, b, c;
    EdSelection selection;
    EXPECT_TRUE(selection.add(&a));
    EXPECT_TRUE(selection.add(&b));
    EXPECT_TRUE(selection.add(&c));
    EXPECT_FALSE(selection.add(&b));
    ASSERT_EQ(selection.count(), 3);
    EXPECT_TRUE(selection.remove(&a));
    EXPECT_FALSE(selection.remove(&a));
    ASSERT_EQ(selection.count(), 2);
    EXPECT_EQ(selection.element(0), &b);
    EXPECT_EQ(selection.element(1), &c);
}

TEST(EdSelection, EverySelectionIsLiveUntilItDies)
{
    BcArray<EdSelection*>& live = EdSelection::liveSelections();
    const int before = live.count();
    EdSelection* first = new EdSelection;
    {
        EdSelection second;
        ASSERT_EQ(live.count(), before + 2);
        EXPECT_EQ(live[before], first);
        EXPECT_EQ(live[before + 1], &second);
    }
    EXPECT_EQ(live.count(), before + 1);
    delete first;
    EXPECT_EQ(live.count(), before);

    BcObject* made = EdSelection::staticClass()->createObject();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(live.count(), before + 1);
    delete made;
    EXPECT_EQ(live.count(), before);
}

TEST(EdSelection, ADyingElementLeavesEverySelection)
{
    MnText* dying = new MnText;
    MnText staying;
    EdSelection one, two;
    one.add(dying);
    one.add(&staying);
    two.add(dying);
    delete dying;
    ASSERT_EQ(one.count(), 1);
    EXPECT_EQ(one.element(0), &staying);
    EXPECT_TRUE(two.isEmpty());
}

// A selection that drops itself from the list when told of a death, to show
// that the element reads the list's length afresh.
class EdSelectionLeavingOnRemove : public EdSelection
{
public:
    bool remove(MnElement* element) override
    {
        BcArray<EdSelection*>& live = liveSelections();
        live.removeAt(live.indexOf(this));
        registered = false;
        return EdSelection::remove(element);
    }
    ~EdSelectionLeavingOnRemove() override
    {
        if (!registered)
            registerInstance(this); // so that the base destructor finds itself
    }
    bool registered = true;
};

TEST(EdSelection, ListChangesDuringADeathAreSafe)
{
    MnText* dying = new MnText;
    EdSelectionLeavingOnRemove leaving;
    EdSelection after;
    after.add(dying);
    leaving.add(dying);
    delete dying;
    EXPECT_TRUE(after.isEmpty());
    EXPECT_TRUE(leaving.isEmpty());
}

class EdSelectionObserverCounter : public EdSelectionObserver
{
public:
    void selectionChanged() override { ++calls; }
    int calls = 0;
};

TEST(EdSelection, ObserversCountsAndAddAll)
{
    MnText a;
    MnPageNumber page;
    EdSelection selection;
    selection.add(&a);
    selection.add(&page);
    EXPECT_EQ(selection.countOfClass(nullptr), 2);
    EXPECT_EQ(selection.countOfClass(MnText::staticClass()), 2);
    EXPECT_EQ(selection.countOfClass(EdSelection::staticClass()), 0);

    EdSelectionObserverCounter observer;
    EXPECT_TRUE(selection.addObserver(&observer));
    EXPECT_FALSE(selection.addObserver(&observer));
    EXPECT_EQ(selection.observerArray().count(), 1);

    // A selection taking itself, or elements it holds, stays without
    // duplicates: a second copy would outlive its element.
    selection.addAll(selection);
    EXPECT_EQ(selection.count(), 2);
    MnText extra;
    EdSelection other;
    other.add(&extra);
    other.add(&a);
    selection.addAll(other);
    ASSERT_EQ(selection.count(), 3);
    EXPECT_EQ(selection.element(2), &extra);
    EXPECT_EQ(observer.calls, 0);
}

TEST(EdSelection, ManyDeathsKeepTheSurvivorsInOrder)
{
    // Large enough for the indexed path; the deaths run front to back, the
    // order in which a reload deletes what select-all collected.
    const int count = 3000;
    std::vector<MnText*> texts;
    EdSelection all, everyThird;
    for (int i = 0; i < count; ++i) {
        texts.push_back(new MnText);
        all.add(texts.back());
        if (i % 3 == 0)
            everyThird.add(texts.back());
    }
    for (int i = 0; i < count; ++i) {
        if (i % 2 == 0) {
            delete texts[i];
            texts[i] = nullptr;
        }
    }
    ASSERT_EQ(all.count(), count / 2);
    for (int i = 0; i < all.count(); ++i)
        ASSERT_EQ(all.element(i), texts[2 * i + 1]);
    ASSERT_EQ(everyThird.count(), count / 6);
    for (int i = 0; i < everyThird.count(); ++i)
        ASSERT_EQ(everyThird.element(i), texts[6 * i + 3]);
    EXPECT_EQ(all.indexOf(texts[5]), 2);
    EXPECT_EQ(all.element(all.count()), nullptr);
    for (MnText* text : texts)
        delete text;
    EXPECT_TRUE(all.isEmpty());
    EXPECT_TRUE(everyThird.isEmpty());
}

TEST(EdSelection, ObserversAreToldInOrderButNotWhenTheSelectionDies)
{
    std::vector<int> calls;
    struct Recorder : EdSelectionObserver
    {
        Recorder(std::vector<int>& log, int id) : log(log), id(id) {}
        void selectionChanged() override { log.push_back(id); }
        std::vector<int>& log;
        int id;
    } first(calls, 1), second(calls, 2);
    {
        EdSelection selection;
        selection.addObserver(&first);
        selection.addObserver(&second);
        EXPECT_FALSE(selection.addObserver(nullptr));
        selection.notifyObservers();
    }
    EXPECT_EQ(calls, std::vector<int>({1, 2}));
}

// An element of no registered class of its own: it answers MnElement's.
class PlainElement : public MnElement
{
public:
    MnElement* parent() const override { return nullptr; }
    GePoint2d position() const override { return GePoint2d(); }
    double width() const override { return 0.0; }
    double height() const override { return 0.0; }
    bool moveTo(const GePoint2d&) override { return false; }
};

TEST(EdPointer, HoldsOneElementOfItsClassUntilItDies)
{
    MnText* text = new MnText;
    MnPageNumber pageNumber;  // answers MnText's class
    PlainElement plain;
    EdPointer<MnText> pointer;
    EXPECT_EQ(pointer.element(), nullptr);
    EXPECT_TRUE(pointer.add(text));
    EXPECT_EQ(pointer.element(), text);
    EXPECT_FALSE(pointer.add(&plain));
    EXPECT_FALSE(pointer.add(nullptr));
    EXPECT_EQ(pointer.element(), text);
    EXPECT_TRUE(pointer.add(&pageNumber));
    EXPECT_EQ(pointer.count(), 1);
    EXPECT_EQ(pointer.element(), &pageNumber);
    EXPECT_TRUE(pointer.add(text));
    delete text;
    EXPECT_EQ(pointer.element(), nullptr);
    EXPECT_TRUE(pointer.isEmpty());

    // set takes any element; element() answers only one of the class.
    EXPECT_TRUE(pointer.set(&plain));
    EXPECT_EQ(pointer.count(), 1);
    EXPECT_EQ(pointer.element(), nullptr);
    EXPECT_TRUE(pointer.set(nullptr));
    EXPECT_TRUE(pointer.isEmpty());
    EXPECT_TRUE(pointer.isKindOf(EdSelection::staticClass()));
    EXPECT_FALSE(pointer.isKindOf(MnText::staticClass()));
}

// Whatever was installed before, making a selection puts the hook in place
// through which dying elements leave it.
TEST(EdSelection, ASelectionInstallsTheDeathHook)
{
    MnElement::DeathHook before = MnElement::installDeathHook(nullptr);
    {
        EdSelection selection;
        MnText* dying = new MnText;
        selection.add(dying);
        delete dying;
        EXPECT_TRUE(selection.isEmpty());
    }
    EXPECT_EQ(MnElement::installDeathHook(before), &EdSelection::removeFromLiveSelections);
}
