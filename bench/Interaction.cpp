// What a user waits for: each benchmark delivers one input event the way Qt delivers it to a
// shown editor window of 1600 by 1200 pixels with a layout of N controls, then lets every
// paint it causes happen (panel, list, canvas) before the next event.
#include "BenchEditor.h"

#include "resources/Resource.h"
#include "shell/SearchField.h"

#include <QLineEdit>

#include <cmath>

using namespace bench;

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
    Paints paints(editor.Canvas());
    NudgeBackAndForth(editor, state);
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
    const std::int64_t paintedBefore = canvas->PaintedPixels();
    for (auto _ : state) {
        step = (step + 1) % 50;
        send(QEvent::MouseMove, grip + QPoint(40 + step, 40 + step), Qt::NoButton, Qt::LeftButton);
        Editor::Settle();
    }
    paints.Check(state);
    // The pixels painted in a step against the old and new rectangles with their handles.
    const LayoutControl& moved = editor.Doc()->m_layout.m_controls[0];
    const double withHandles =
        (std::abs(moved.m_x2 - moved.m_x1) + 8.0) * (std::abs(moved.m_y2 - moved.m_y1) + 8.0);
    state.counters["PaintedAreaRatio"] =
        static_cast<double>(canvas->PaintedPixels() - paintedBefore) /
        static_cast<double>(state.iterations()) / (2 * withHandles);
    send(QEvent::MouseButtonRelease, grip + QPoint(40, 40), Qt::LeftButton, Qt::NoButton);
}

// One keystroke into the search field: the query is read again, every panel's list filtered,
// and the count shown.
void FilterKeystroke(benchmark::State& state)
{
    Editor editor(countOf(state));
    if (!editor.Ready())
        return state.SkipWithError("no window");
    QLineEdit* query = editor.Frame().Search()->Edit();
    query->setFocus();
    query->setText(QStringLiteral("control_1234"));
    Editor::Settle();
    bool typed = false;
    Paints paints(editor.Panel()->m_listControls->viewport());
    for (auto _ : state) {
        key(query, typed ? Qt::Key_Backspace : Qt::Key_5);
        typed = !typed;
    }
    paints.Check(state);
}

// Enter in the search field: every control that matches is selected on the canvas, in turn
// those of two queries.
void SelectMatching(benchmark::State& state)
{
    Editor editor(countOf(state));
    if (!editor.Ready())
        return state.SkipWithError("no window");
    QLineEdit* query = editor.Frame().Search()->Edit();
    const QString queries[] = {QStringLiteral("control_123*x"), QStringLiteral("control_54*q")};
    int next = 0;
    Paints paints(editor.Canvas());
    for (auto _ : state) {
        state.PauseTiming();
        query->setText(queries[next++ % 2]);
        query->setFocus();
        Editor::Settle();
        state.ResumeTiming();
        key(query, Qt::Key_Return);
    }
    paints.Check(state);
}

BENCHMARK(RenameKeystroke)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(PickFromList)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(EditField)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(Nudge)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(Undo)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(DragStep)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(FilterKeystroke)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(SelectMatching)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
