// A document type of plain text on the framework, with one command of its view.
#pragma once

#include "support/FrameworkHarness.h"

#include <QFile>

#include <memory>

namespace testing_support {

constexpr fw::CommandId ID_VIEW_ONLY = 1001;
constexpr fw::CommandId ID_VIEW_CHECKED = 1002;
constexpr fw::CommandId ID_NOBODY = 1003;

inline const fw::StringTable& testStrings()
{
    static const fw::StringTable table = {
        {128, "Tester"},
        {57344, "Tester"},
        {57345, "Ready"},
        {57600, "New document.\nNew"},
        {61440, "Open"},
        {61441, "Save as"},
        {61442, "All files (*.*)"},
        {61699, "Save changes to %1?"},
        {61700, "Could not make the document."},
        {61707, "Unregistered."},
        {61729, "%1\nnot found."},
        {61731, "%1 is held by another."},
        {61733, "%1 could not be read."},
        {57616, "Opens this document."},
    };
    return table;
}

class TestDoc : public fw::Document
{
public:
    QString text;
    int saves = 0;
    bool OnOpenDocument(const QString& path) override
    {
        if (!fw::Document::OnOpenDocument(path))
            return false;
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            text = QString::fromUtf8(file.readAll());
        return true;
    }
    bool OnSaveDocument(const QString& path) override
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        ++saves;
        return file.write(text.toUtf8()) == text.toUtf8().size();
    }
};

class TestView : public fw::View
{
public:
    int viewOnlyRuns = 0;
    bool checked = false;
    bool OnCmdMsg(fw::CommandId id, fw::CommandState* state) override
    {
        static const fw::CommandTable<TestView> table = {
            {ID_VIEW_ONLY, &TestView::OnViewOnly},
            {ID_VIEW_CHECKED, &TestView::OnViewOnly, &TestView::OnUpdateChecked},
        };
        return table.Dispatch(this, id, state) || fw::View::OnCmdMsg(id, state);
    }
    void OnViewOnly() { ++viewOnlyRuns; }
    void OnUpdateChecked(fw::CommandState& state)
    {
        state.Enable(checked);
        state.SetCheck(checked);
    }
};

// Two panes, like the editor's windows.
class TestChild : public fw::MdiChild
{
public:
    bool OnCreateClient(fw::CreateContext& context) override
    {
        auto* host = new QWidget;
        auto* first = new TestView;
        auto* second = new TestView;
        first->setParent(host);
        second->setParent(host);
        first->setGeometry(0, 0, 100, 100);
        second->setGeometry(100, 0, 100, 100);
        setWidget(host);
        return CreateView(first, context) && CreateView(second, context);
    }
};

inline fw::Resources testResources()
{
    using fw::Item;
    using fw::Popup;
    using fw::Separator;
    fw::Resources resources;
    resources.menus[128] = {
        Popup("&File", {Item("&New", fw::ID_FILE_NEW), Item("Open", fw::ID_FILE_OPEN), Separator(),
                        Item("Recent", fw::ID_FILE_MRU_FILE1, true), Separator(),
                        Item("Exit", fw::ID_APP_EXIT), Item("Nobody", ID_NOBODY)})};
    resources.menus[129] = {
        Popup("&File",
              {Item("&New", fw::ID_FILE_NEW), Item("Close", fw::ID_FILE_CLOSE),
               Item("Save", fw::ID_FILE_SAVE), Item("Save as", fw::ID_FILE_SAVE_AS),
               Item("Recent", fw::ID_FILE_MRU_FILE1, true), Item("Exit", fw::ID_APP_EXIT)}),
        Popup("&View", {Item("Only", ID_VIEW_ONLY), Item("Checked", ID_VIEW_CHECKED),
                        Item("Nobody", ID_NOBODY)}),
        Popup("&Window", {Item("New window", fw::ID_WINDOW_NEW)}, true)};
    resources.accelerators[128] = {{QKeySequence(Qt::Key_F6), fw::ID_NEXT_PANE},
                                   {QKeySequence(Qt::SHIFT | Qt::Key_F6), fw::ID_PREV_PANE}};
    return resources;
}

class TestApp : public fw::Application
{
public:
    explicit TestApp(QStringList arguments = {}, std::function<fw::Document*()> makeDocument = {})
        : fw::Application(argc, argv), m_makeDocument(std::move(makeDocument))
    {
        if (!m_makeDocument)
            m_makeDocument = [] { return new TestDoc; };
        fw::SetStringTable(&testStrings());
        SetAppName(fw::LoadString(57344));
        SetCommandLine(arguments);
    }
    ~TestApp() override { fw::SetStringTable(nullptr); }

    bool InitInstance() override
    {
        SetRegistryKey(QStringLiteral("Test Organisation"));
        LoadStdProfileSettings(8);
        AddDocTemplate(new fw::DocTemplate(
            129, QStringLiteral("\nLayout\nLayout\nText (*.txt)\n.txt\nT.Document\nT Document"),
            m_makeDocument, [] { return new TestChild; }, [] { return new TestView; }));
        auto* frame = new fw::MdiFrame;
        SetMainFrame(frame);
        if (!frame->LoadFrame(128, resources))
            return false;
        fw::CommandLineInfo info = ParseCommandLine();
        if (!ProcessShellCommand(info))
            return false;
        frame->resize(800, 600);
        frame->show();
        return true;
    }

    fw::DocTemplate& Template() const { return *Templates().front(); }
    fw::MdiFrame& Frame() const { return *MainFrame(); }
    TestDoc* ActiveDoc() const
    {
        fw::MdiChild* child = MainFrame()->ActiveChild();
        return child ? static_cast<TestDoc*>(child->GetActiveDocument()) : nullptr;
    }

    fw::Resources resources = testResources();

private:
    std::function<fw::Document*()> m_makeDocument;
    static inline int argc = 1;
    static inline char name[8] = "tester";
    static inline char* argv[2] = {name, nullptr};
};

} // namespace testing_support
