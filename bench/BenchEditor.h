// The real editor for the benchmarks of what a user waits for: one maximised layout window of
// 1600 by 1200 pixels with a layout of N controls, and the helpers that deliver events to it.
#pragma once

#include "BenchLayouts.h"

#include "document/KarveloDoc.h"
#include "shell/ChildFrame.h"
#include "shell/KarveloApp.h"
#include "shell/MainFrame.h"
#include "views/KarveloView.h"
#include "views/KarveloView_Controls.h"

#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMouseEvent>
#include <QTest>

#include <benchmark/benchmark.h>

#include <memory>

namespace bench {

// The real application with one maximised layout window.
class Editor
{
public:
    explicit Editor(std::size_t count)
    {
        static int argc = 1;
        static char name[] = "karvelo";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<CKarveloApp>(argc, argv);
        m_app->SetCommandLine({QString::fromStdString(BenchFile(count))});
        if (!m_app->InitInstance())
            return;
        m_app->Settings().ShowNames(NamesShown());
        Frame().showNormal();
        Frame().resize(1600, 1200);
        Frame().show();
        Child()->showMaximized();
        Settle();
    }
    ~Editor()
    {
        if (m_app && m_app->MainFrame())
            for (fw::Document* document : m_app->Documents())
                document->SetModifiedFlag(false);
        m_app.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    bool Ready() const { return m_app && m_app->MainFrame() && Child(); }

    CMainFrame& Frame() const { return *m_app->Frame(); }
    CChildFrame* Child() const { return qobject_cast<CChildFrame*>(Frame().ActiveChild()); }
    CKarveloDoc* Doc() const { return static_cast<CKarveloDoc*>(Child()->GetActiveDocument()); }
    CKarveloView_Controls* Panel() const { return Child()->findChild<CKarveloView_Controls*>(); }
    CKarveloView* Canvas() const { return Child()->findChild<CKarveloView*>(); }
    QLineEdit* Field(int id) const { return Panel()->findChild<QLineEdit*>(QString::number(id)); }
    CKarveloApp& App() const { return *m_app; }

    // Every event that is waiting, the paints among them.
    static void Settle()
    {
        for (int i = 0; i < 2; ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
    }

private:
    std::unique_ptr<CKarveloApp> m_app;
};

inline void key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(target, key, modifiers);
    Editor::Settle();
}

// Arrow keys on the canvas, left and right in turn, one per iteration.
inline void NudgeBackAndForth(Editor& editor, benchmark::State& state)
{
    bool right = false;
    for (auto _ : state) {
        key(editor.Canvas(), right ? Qt::Key_Right : Qt::Key_Left);
        right = !right;
    }
}

inline std::size_t countOf(const benchmark::State& state)
{
    return static_cast<std::size_t>(state.range(0));
}

// Counts the canvas's paints: a benchmark whose events never reach the screen measures
// nothing the user waits for.
class Paints : public QObject
{
public:
    explicit Paints(QWidget* widget) { widget->installEventFilter(this); }
    void Check(benchmark::State& state) const
    {
        if (m_paints < state.iterations())
            state.SkipWithError("the canvas did not paint after every event");
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++m_paints;
        return false;
    }

private:
    benchmark::IterationCount m_paints = 0;
};

} // namespace bench
