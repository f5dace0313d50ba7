// What a user waits for: each benchmark delivers one input event the way Qt delivers it to a
// shown editor window of 1600 by 1200 pixels with a layout of N controls, then lets every
// paint it causes happen (panel, list, canvas) before the next event.
#include "BenchLayouts.h"

#include "document/KarveloDoc.h"
#include "resources/Resource.h"
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

namespace {

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

void key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(target, key, modifiers);
    Editor::Settle();
}

std::size_t countOf(const benchmark::State& state)
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

} // namespace

// One keystroke into the Name field: the rename, the list's refill and every repaint.
void RenameKeystroke(benchmark::State& state)
{
    Editor editor(countOf(state));
    if (!editor.Ready())
        return state.SkipWithError("no window");
    QLineEdit* name = editor.Field(resources::IDC_NAME);
    name->setFocus();
    name->end(false);
    bool typed = false;
    Paints paints(editor.Canvas());
    for (auto _ : state) {
        key(name, typed ? Qt::Key_Backspace : Qt::Key_A);
        typed = !typed;
    }
    paints.Check(state);
}

// Picking a row of the list with the keyboard: the control becomes current everywhere.
void PickFromList(benchmark::State& state)
{
    Editor editor(countOf(state));
    if (!editor.Ready())
        return state.SkipWithError("no window");
    fw::ListBox* list = editor.Panel()->m_listControls;
    list->setFocus();
    list->setCurrentRow(10);
    Editor::Settle();
    bool down = false;
    Paints paints(editor.Canvas());
    for (auto _ : state) {
        key(list, down ? Qt::Key_Down : Qt::Key_Up);
        down = !down;
    }
    paints.Check(state);
}

// One keystroke into X1: the control moves on the canvas.
void EditField(benchmark::State& state)
{
    Editor editor(countOf(state));
    if (!editor.Ready())
        return state.SkipWithError("no window");
    QLineEdit* x1 = editor.Field(resources::IDC_X1);
    x1->setFocus();
    x1->end(false);
    bool typed = false;
    Paints paints(editor.Canvas());
    for (auto _ : state) {
        key(x1, typed ? Qt::Key_Backspace : Qt::Key_5);
        typed = !typed;
    }
    paints.Check(state);
}

// An arrow key on one selected control with the Select tool.
void Nudge(benchmark::State& state)
{
    Editor editor(countOf(state));
    if (!editor.Ready())
        return state.SkipWithError("no window");
    editor.App().Settings().SetTool(CEditorSettings::SelectTool);
    editor.Canvas()->setFocus();
    Editor::Settle();
    bool right = false;
    Paints paints(editor.Canvas());
    for (auto _ : state) {
        key(editor.Canvas(), right ? Qt::Key_Right : Qt::Key_Left);
        right = !right;
    }
    paints.Check(state);
}

// One undo of a field change (and its redo, every other time), from the tools bar.
void Undo(benchmark::State& state)
{
    Editor editor(countOf(state));
    if (!editor.Ready())
        return state.SkipWithError("no window");
    QLineEdit* y1 = editor.Field(resources::IDC_Y1);
    y1->setFocus();
    y1->end(false);
    key(y1, Qt::Key_7);
    bool undone = false;
    Paints paints(editor.Canvas());
    for (auto _ : state) {
        editor.Frame().ExecuteCommand(undone ? fw::ID_EDIT_REDO : resources::ID_LAYOUT_UNDO);
        Editor::Settle();
        undone = !undone;
    }
    paints.Check(state);
}

// One mouse move of a drag of one control with the Select tool, with its repaint.
void DragStep(benchmark::State& state)
{
    Editor editor(countOf(state));
    if (!editor.Ready())
        return state.SkipWithError("no window");
    editor.App().Settings().SetTool(CEditorSettings::SelectTool);
    CKarveloView* canvas = editor.Canvas();
    // The first control of the bench layouts stands at (0, 0), 30.5 by 12.25.
    const QPoint grip(20 + 10, 20 + 5);
    auto send = [canvas](QEvent::Type type, QPoint at, Qt::MouseButton button,
                         Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, canvas->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(canvas, &event);
    };
    send(QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, grip + QPoint(40, 40), Qt::NoButton, Qt::LeftButton);
    Editor::Settle();
    int step = 0;
    Paints paints(editor.Canvas());
    for (auto _ : state) {
        step = (step + 1) % 50;
        send(QEvent::MouseMove, grip + QPoint(40 + step, 40 + step), Qt::NoButton, Qt::LeftButton);
        Editor::Settle();
    }
    paints.Check(state);
    send(QEvent::MouseButtonRelease, grip + QPoint(40, 40), Qt::LeftButton, Qt::NoButton);
}

BENCHMARK(RenameKeystroke)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(PickFromList)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(EditField)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(Nudge)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(Undo)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(DragStep)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
