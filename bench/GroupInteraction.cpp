// What a user waits for when many controls are selected at once, and the gestures whose cost
// must not grow with the layout: the rubber band, snapping, zooming. As in Interaction.cpp,
// each benchmark delivers events the way Qt delivers them to a shown window and lets every
// paint they cause happen.
#include "BenchEditor.h"

#include "CommandIds.h"
#include "resources/Resource.h"

#include <QWheelEvent>

using namespace bench;

namespace {

void send(QWidget* canvas, QEvent::Type type, QPoint at, Qt::MouseButton button,
          Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, at, canvas->mapToGlobal(at), button, buttons, modifiers);
    QApplication::sendEvent(canvas, &event);
}

// The Select tool on the canvas, every control selected.
bool selectAll(Editor& editor)
{
    editor.App().Settings().SetTool(CEditorSettings::SelectTool);
    editor.Child()->SetActiveView(editor.Canvas());
    editor.Canvas()->setFocus();
    key(editor.Canvas(), Qt::Key_A, Qt::ControlModifier);
    return editor.Doc()->Selection().selected.size() == editor.Doc()->m_layout.m_controls.size();
}

// Runs a command as its button would, and lets its paints happen.
void run(Editor& editor, fw::CommandId id)
{
    editor.Frame().UpdateCommandUI();
    editor.Frame().ExecuteCommand(id);
    Editor::Settle();
}

} // namespace

// An arrow key with every control selected.
void NudgeAll(benchmark::State& state)
{
    Editor editor(countOf(state));
    if (!editor.Ready() || !selectAll(editor))
        return state.SkipWithError("no window");
    Paints paints(editor.Canvas());
    NudgeBackAndForth(editor, state);
    paints.Check(state);
}

// One mouse move of a drag of the whole selection.
void DragStepAll(benchmark::State& state)
{
    Editor editor(countOf(state));
    if (!editor.Ready() || !selectAll(editor))
        return state.SkipWithError("no window");
    QWidget* canvas = editor.Canvas();
    const QPoint grip(20 + 10, 20 + 5); // inside the first control, at (0, 0)
    send(canvas, QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
    send(canvas, QEvent::MouseMove, grip + QPoint(20, 20), Qt::NoButton, Qt::LeftButton);
    Editor::Settle();
    int step = 0;
    Paints paints(canvas);
    for (auto _ : state) {
        step = (step + 1) % 50;
        send(canvas, QEvent::MouseMove, grip + QPoint(20 + step, 20 + step), Qt::NoButton,
             Qt::LeftButton);
        Editor::Settle();
    }
    paints.Check(state);
    send(canvas, QEvent::MouseButtonRelease, grip + QPoint(20, 20), Qt::LeftButton, Qt::NoButton);
}

// Align left, from the bar, with every control selected; the undo is not timed.
void AlignAll(benchmark::State& state)
{
    Editor editor(countOf(state));
    if (!editor.Ready() || !selectAll(editor))
        return state.SkipWithError("no window");
    Paints paints(editor.Canvas());
    for (auto _ : state) {
        run(editor, resources::ID_ALIGN_LEFT);
        state.PauseTiming();
        run(editor, resources::ID_LAYOUT_UNDO);
        state.ResumeTiming();
    }
    paints.Check(state);
}

// Same size as the current control; the undo that makes the next one a change is not timed.
void SameSizeAll(benchmark::State& state)
{
    Editor editor(countOf(state));
    if (!editor.Ready() || !selectAll(editor))
        return state.SkipWithError("no window");
    // Sizes that differ: the current control is made larger first.
    EditModel& model = editor.Doc()->Model();
    LayoutControl larger = *model.CurrentControl();
    larger.m_x2 += 10;
    model.ChangeControl(nullptr, static_cast<std::size_t>(model.CurrentIndex()), larger,
                        QStringLiteral("x"), -1);
    Editor::Settle();
    Paints paints(editor.Canvas());
    for (auto _ : state) {
        run(editor, resources::ID_SAME_SIZE);
        state.PauseTiming();
        run(editor, resources::ID_LAYOUT_UNDO);
        state.ResumeTiming();
    }
    paints.Check(state);
}

// Delete with every control selected; the undo that brings them back is not timed.
void DeleteAll(benchmark::State& state)
{
    Editor editor(countOf(state));
    if (!editor.Ready() || !selectAll(editor))
        return state.SkipWithError("no window");
    Paints paints(editor.Canvas());
    for (auto _ : state) {
        key(editor.Canvas(), Qt::Key_Delete);
        state.PauseTiming();
        run(editor, resources::ID_LAYOUT_UNDO);
        state.ResumeTiming();
    }
    paints.Check(state);
}

// The undo of a delete of every control; the delete is not timed.
void UndoDeleteAll(benchmark::State& state)
{
    Editor editor(countOf(state));
    if (!editor.Ready() || !selectAll(editor))
        return state.SkipWithError("no window");
    Paints paints(editor.Canvas());
    for (auto _ : state) {
        state.PauseTiming();
        key(editor.Canvas(), Qt::Key_Delete);
        state.ResumeTiming();
        run(editor, resources::ID_LAYOUT_UNDO);
    }
    paints.Check(state);
}

// Every control to the clipboard.
void CopyAll(benchmark::State& state)
{
    Editor editor(countOf(state));
    if (!editor.Ready() || !selectAll(editor))
        return state.SkipWithError("no window");
    for (auto _ : state)
        run(editor, fw::ID_EDIT_COPY);
}

// Every control pasted back, with names and ids of their own; the undo is not timed.
void PasteAll(benchmark::State& state)
{
    Editor editor(countOf(state));
    if (!editor.Ready() || !selectAll(editor))
        return state.SkipWithError("no window");
    run(editor, fw::ID_EDIT_COPY);
    Paints paints(editor.Canvas());
    for (auto _ : state) {
        run(editor, fw::ID_EDIT_PASTE);
        state.PauseTiming();
        if (editor.Doc()->m_layout.m_controls.size() != 2 * countOf(state))
            state.SkipWithError("the paste did not arrive");
        run(editor, resources::ID_LAYOUT_UNDO);
        key(editor.Canvas(), Qt::Key_A, Qt::ControlModifier);
        state.ResumeTiming();
    }
    paints.Check(state);
}

// One mouse move of a rubber band that spans about a third of the layout.
void RubberBandStep(benchmark::State& state)
{
    Editor editor(countOf(state));
    if (!editor.Ready())
        return state.SkipWithError("no window");
    editor.App().Settings().SetTool(CEditorSettings::SelectTool);
    QWidget* canvas = editor.Canvas();
    // From the margin outside the screen, where no control stands.
    const QPoint from(5, 5);
    send(canvas, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    send(canvas, QEvent::MouseMove, from + QPoint(440, 330), Qt::NoButton, Qt::LeftButton);
    Editor::Settle();
    int step = 0;
    Paints paints(canvas);
    for (auto _ : state) {
        step = (step + 1) % 20;
        send(canvas, QEvent::MouseMove, from + QPoint(460 + step, 340 + step), Qt::NoButton,
             Qt::LeftButton);
        Editor::Settle();
    }
    paints.Check(state);
    send(canvas, QEvent::MouseButtonRelease, from, Qt::LeftButton, Qt::NoButton);
}

// One mouse move of a drag of one control with snapping on, among others to snap to.
void SnapDragStep(benchmark::State& state)
{
    Editor editor(countOf(state));
    if (!editor.Ready())
        return state.SkipWithError("no window");
    editor.App().Settings().SetTool(CEditorSettings::SelectTool);
    QWidget* canvas = editor.Canvas();
    const QPoint grip(20 + 10, 20 + 5);
    send(canvas, QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
    send(canvas, QEvent::MouseMove, grip + QPoint(100, 80), Qt::NoButton, Qt::LeftButton);
    Editor::Settle();
    int step = 0;
    Paints paints(canvas);
    for (auto _ : state) {
        step = (step + 1) % 30;
        send(canvas, QEvent::MouseMove, grip + QPoint(100 + step, 80 + step / 2), Qt::NoButton,
             Qt::LeftButton);
        Editor::Settle();
    }
    paints.Check(state);
    send(canvas, QEvent::MouseButtonRelease, grip, Qt::LeftButton, Qt::NoButton);
}

// One step of Ctrl+wheel, in and out in turn, about the middle of the layout.
void ZoomStep(benchmark::State& state)
{
    Editor editor(countOf(state));
    if (!editor.Ready())
        return state.SkipWithError("no window");
    QWidget* canvas = editor.Canvas();
    const QPointF at(420, 320);
    bool in = false;
    Paints paints(canvas);
    for (auto _ : state) {
        in = !in;
        QWheelEvent wheel(at, canvas->mapToGlobal(at), QPoint(), QPoint(0, in ? 120 : -120),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(canvas, &wheel);
        Editor::Settle();
    }
    paints.Check(state);
}

BENCHMARK(NudgeAll)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(DragStepAll)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(AlignAll)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(SameSizeAll)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(DeleteAll)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(UndoDeleteAll)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(CopyAll)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(PasteAll)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(RubberBandStep)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(SnapDragStep)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(ZoomStep)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
