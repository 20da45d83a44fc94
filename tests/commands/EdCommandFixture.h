#pragma once

#include "common/EdFakeContext.h"
#include "editing/EdTestScores.h"
#include "editing/QuorvaneDocument.h"

#include <gtest/gtest.h>

#include <initializer_list>

// A document holding one score, shown in the fake view of the fake context,
// with its history at one snapshot: each recorded command adds one.
class EdCommandFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(document.OnNewDocument());
        context.activate(&document);
    }

    // Adds the score as a work and restarts the history on it.
    MnScore* addScore(MnScore* made)
    {
        EXPECT_TRUE(document.addWork(made));
        restartHistory();
        return made;
    }

    void restartHistory()
    {
        document.clearUndo();
        EXPECT_TRUE(document.pushUndoSnapshot());
        document.SetModifiedFlag(false);
    }

    EdSelection& selection() { return context.view.selection(); }

    void select(std::initializer_list<MnElement*> elements)
    {
        selection().clear();
        for (MnElement* element : elements)
            selection().add(element);
    }

    // Undo steps recorded since the history restarted.
    int steps() const { return document.snapshotCount() - 1; }

    BcArray<unsigned char> bytes()
    {
        BcArray<unsigned char> out;
        EXPECT_TRUE(document.saveScoreBytes(out));
        return out;
    }

    static bool sameBytes(const BcArray<unsigned char>& a, const BcArray<unsigned char>& b)
    {
        if (a.count() != b.count())
            return false;
        for (int i = 0; i < a.count(); ++i) {
            if (a[i] != b[i])
                return false;
        }
        return true;
    }

    EdFakeContext context;
    QuorvaneDocument document;
};
