#include "support/TestApp.h"

#include <QAction>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class RoutingTest : public ::testing::Test
{
protected:
    SettingsSandbox settings;
    MessageLog log;
    TestApp app;
    void SetUp() override { ASSERT_TRUE(app.InitInstance()); }
    fw::MdiChild* child() { return app.Frame().ActiveChild(); }
    TestView* pane(int index)
    {
        return static_cast<TestView*>(child()->Views()[static_cast<std::size_t>(index)].data());
    }
};

} // namespace

TEST_F(RoutingTest, ViewCommandsRunOnlyInTheActiveView)
{
    ASSERT_NE(child(), nullptr);
    TestView* first = pane(0);
    TestView* second = pane(1);
    EXPECT_EQ(child()->GetActiveView(), first) << "a new window starts with its first pane";

    app.Frame().UpdateCommandUI();
    QAction* only = app.Frame().Action(ID_VIEW_ONLY);
    EXPECT_TRUE(only->isEnabled());
    only->trigger();
    EXPECT_EQ(first->viewOnlyRuns, 1);
    EXPECT_EQ(second->viewOnlyRuns, 0);

    child()->SetActiveView(second);
    only->trigger();
    EXPECT_EQ(first->viewOnlyRuns, 1);
    EXPECT_EQ(second->viewOnlyRuns, 1);

    EXPECT_FALSE(app.Frame().Action(ID_NOBODY)->isEnabled()) << "no handler anywhere: disabled";
    fw::CommandState nobody;
    EXPECT_FALSE(app.Frame().RouteCommand(ID_NOBODY, &nobody)) << "no target on the route takes it";
    app.Frame().ExecuteCommand(ID_NOBODY);
    EXPECT_EQ(first->viewOnlyRuns + second->viewOnlyRuns, 2) << "running it reaches no view";
    EXPECT_TRUE(log.boxes.empty());

    // The update handler's state reaches the action, and a disabled command does not run.
    QAction* checked = app.Frame().Action(ID_VIEW_CHECKED);
    app.Frame().UpdateCommandUI();
    EXPECT_FALSE(checked->isEnabled());
    EXPECT_FALSE(checked->isChecked());
    app.Frame().ExecuteCommand(ID_VIEW_CHECKED);
    EXPECT_EQ(second->viewOnlyRuns, 1);
    second->checked = true;
    app.Frame().UpdateCommandUI();
    EXPECT_TRUE(checked->isEnabled());
    EXPECT_TRUE(checked->isChecked());

    // With no window open, the view's commands have no handler.
    child()->CloseWithoutAsking();
    processEvents();
    app.Frame().UpdateCommandUI();
    EXPECT_FALSE(only->isEnabled());
    EXPECT_TRUE(app.Frame().Action(fw::ID_FILE_NEW)->isEnabled());
}

TEST_F(RoutingTest, PanesSwitchWithTheNextAndPreviousPaneCommands)
{
    TestView* first = pane(0);
    TestView* second = pane(1);
    app.Frame().ExecuteCommand(fw::ID_NEXT_PANE);
    EXPECT_EQ(child()->GetActiveView(), second);
    app.Frame().ExecuteCommand(fw::ID_NEXT_PANE);
    EXPECT_EQ(child()->GetActiveView(), first);
    app.Frame().ExecuteCommand(fw::ID_PREV_PANE);
    EXPECT_EQ(child()->GetActiveView(), second);

    // Focus moving into a pane makes it the active one.
    first->setFocus();
    processEvents();
    ASSERT_EQ(QApplication::focusWidget(), first);
    EXPECT_EQ(child()->GetActiveView(), first);
}

TEST_F(RoutingTest, MenusSwitchWithTheActiveWindow)
{
    EXPECT_EQ(app.Frame().CurrentMenuId(), 129u);
    EXPECT_EQ(app.Frame().menuBar()->actions().size(), 3);
    child()->CloseWithoutAsking();
    processEvents();
    EXPECT_EQ(app.Frame().CurrentMenuId(), 128u);
    EXPECT_EQ(app.Frame().menuBar()->actions().size(), 1);
    EXPECT_EQ(app.Frame().windowTitle(), QStringLiteral("Tester"));
    app.OnFileNew();
    EXPECT_EQ(app.Frame().windowTitle(), QStringLiteral("Tester - Layout2"));
}

TEST_F(RoutingTest, WindowMenuListsEveryWindowAndNewWindowNumbersThem)
{
    fw::Document* document = child()->GetActiveDocument();
    app.Frame().ExecuteCommand(fw::ID_WINDOW_NEW);
    ASSERT_EQ(document->GetFrames().size(), 2u);
    EXPECT_EQ(document->GetFrames()[0]->windowTitle(), QStringLiteral("Layout1:1[*]"));
    EXPECT_EQ(document->GetFrames()[1]->windowTitle(), QStringLiteral("Layout1:2[*]"));

    QMenu* windowMenu = app.Frame().MenuBarPopup(2);
    ASSERT_NE(windowMenu, nullptr);
    emit windowMenu->aboutToShow();
    QStringList texts;
    for (QAction* action : windowMenu->actions())
        if (!action->isSeparator())
            texts << action->text();
    EXPECT_EQ(texts, (QStringList{QStringLiteral("New window"), QStringLiteral("&1 Layout1:1"),
                                  QStringLiteral("&2 Layout1:2")}));

    // Closing one window of two leaves the document open and renumbers the rest.
    document->GetFrames()[1]->close();
    processEvents();
    ASSERT_EQ(document->GetFrames().size(), 1u);
    EXPECT_EQ(document->GetFrames()[0]->windowTitle(), QStringLiteral("Layout1[*]"));
    EXPECT_EQ(app.Documents().size(), 1u);
}
