#include "editing/EdSelection.h"

#include "editing/EdSelectionObserver.h"
#include "foundation/BcClass.h"
#include "model/MnPageNumber.h"
#include "model/MnText.h"

#include <gtest/gtest.h>

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

    // Without the duplicate test, and ending when a selection takes itself.
    selection.addAll(selection);
    EXPECT_EQ(selection.count(), 4);
    EXPECT_EQ(observer.calls, 0);
}
