// An edit model on a layout of its own, without a document or a window, and what its listener
// heard.
#pragma once

#include "EditModel.h"
#include "LayoutFile.h"
#include "support/LayoutRecords.h"

#include <QUndoStack>

#include <gtest/gtest.h>

#include <functional>

namespace testing_support {

class EditFixture : public ::testing::Test
{
protected:
    EditFixture()
    {
        model.SetListener([this](const LayoutChange& change, const void* sender) {
            heard.push_back(change);
            senders.push_back(sender);
        });
        model.SetStepFormats(QStringLiteral("%1: %2"), QStringLiteral("%1 Steuerelemente"));
    }

    // The layout as loaded: no steps, the first control current.
    void load(std::vector<LayoutControl> controls)
    {
        layout.m_controls = std::move(controls);
        stack.clear();
        model.StartAfresh(layout.m_controls.empty() ? -1 : 0);
        heard.clear();
        senders.clear();
    }
    std::vector<LayoutControl>& controls() { return layout.m_controls; }

    // Applies change as one step, then checks that undo gives back the records bit for bit
    // with the selection from before, and that redo gives the changed ones and their
    // selection again. Every direction is heard by the listener.
    void checkStep(const std::function<void()>& change)
    {
        const std::vector<LayoutControl> before = layout.m_controls;
        const SelectionState selectionBefore = model.Selection();
        const int steps = stack.index();
        heard.clear();
        change();
        ASSERT_EQ(stack.index(), steps + 1) << "one step";
        ASSERT_EQ(stack.count(), steps + 1);
        ASSERT_FALSE(heard.empty()) << "the listener heard the change";
        const std::vector<LayoutControl> after = layout.m_controls;
        const SelectionState selectionAfter = model.Selection();

        heard.clear();
        stack.undo();
        EXPECT_TRUE(IdenticalRecords(layout.m_controls, before));
        EXPECT_EQ(model.Selection(), selectionBefore);
        EXPECT_EQ(model.CurrentControl(),
                  selectionBefore.current < 0
                      ? nullptr
                      : &layout.m_controls[static_cast<std::size_t>(selectionBefore.current)]);
        EXPECT_EQ(heard.size(), 1u);

        stack.redo();
        EXPECT_TRUE(IdenticalRecords(layout.m_controls, after));
        EXPECT_EQ(model.Selection(), selectionAfter);
        EXPECT_EQ(heard.size(), 2u);
    }

    LayoutDataObject layout;
    QUndoStack stack;
    EditModel model{layout, stack};
    std::vector<LayoutChange> heard;
    std::vector<const void*> senders;
};

inline SelectionState selection(std::vector<std::size_t> selected, int current)
{
    SelectionState state;
    state.selected = std::move(selected);
    state.current = current;
    return state;
}

} // namespace testing_support
