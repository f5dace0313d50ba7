// The real editor application on the offscreen platform, with recorded message boxes.
#pragma once

#include "ChildFrame.h"
#include "KarveloApp.h"
#include "KarveloDoc.h"
#include "KarveloView.h"
#include "KarveloView_Controls.h"
#include "MainFrame.h"
#include "support/FrameworkHarness.h"

#include <QMdiArea>
#include <QSplitter>

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
        return child() ? qobject_cast<CKarveloView_Controls*>(child()->Splitter()->widget(0))
                       : nullptr;
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

    SettingsSandbox settings;
    MessageLog log;
    std::unique_ptr<CKarveloApp> app;

private:
    static inline int argc = 1;
    static inline char name[8] = "karvelo";
    static inline char* argv[2] = {name, nullptr};
};

} // namespace testing_support
