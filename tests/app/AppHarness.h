// The real editor application on the offscreen platform, with recorded message boxes.
#pragma once

#include "document/KarveloDoc.h"
#include "shell/ChildFrame.h"
#include "shell/KarveloApp.h"
#include "shell/MainFrame.h"
#include "support/FrameworkHarness.h"
#include "views/KarveloView.h"
#include "views/KarveloView_Controls.h"

#include <QApplication>
#include <QMdiArea>
#include <QSplitter>
#include <QTimer>

#include <functional>
#include <memory>

namespace testing_support {

class EditorFixture
{
public:
    explicit EditorFixture(QStringList arguments = {})
    {
        app = std::make_unique<CKarveloApp>(argc, argv);
        app->SetCommandLine(arguments);
    }
    ~EditorFixture()
    {
        app.reset();
        processEvents();
    }

    CMainFrame& frame() const { return *app->Frame(); }
    CChildFrame* child() const { return qobject_cast<CChildFrame*>(frame().ActiveChild()); }
    CKarveloDoc* doc() const
    {
        return child() ? static_cast<CKarveloDoc*>(child()->GetActiveDocument()) : nullptr;
    }
    CKarveloView_Controls* panel() const
    {
        // The panel stands in a scroll area in the left pane.
        return child() ? child()->findChild<CKarveloView_Controls*>() : nullptr;
    }
    CKarveloView* canvas() const
    {
        return child() ? qobject_cast<CKarveloView*>(child()->Splitter()->widget(1)) : nullptr;
    }
    bool enabled(fw::CommandId id) const
    {
        frame().UpdateCommandUI();
        return frame().Action(id)->isEnabled();
    }

    // The copies of unsaved work go under the data folder: each editor has its own.
    HomeSandbox home;
    SettingsSandbox settings;
    MessageLog log;
    std::unique_ptr<CKarveloApp> app;

private:
    static inline int argc = 1;
    static inline char name[8] = "karvelo";
    static inline char* argv[2] = {name, nullptr};
};

// Runs act on the next modal window that is not besides, from within the event loop that
// shows it (a dialog's exec, or a processEvents of the code under test).
inline void whenModal(std::function<void(QWidget*)> act, QWidget* besides = nullptr)
{
    auto* timer = new QTimer;
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act), besides] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == besides)
            return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start();
}

// Counts the paints a widget receives: a repaint the code forgot shows as none.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace testing_support
