// A child window of the main frame: one document's panes and the active one among them.
#pragma once

#include "Commands.h"

#include <QMdiSubWindow>
#include <QPointer>

#include <functional>
#include <vector>

namespace fw {

class DocTemplate;
class Document;
class View;

struct CreateContext
{
    Document* document;
    DocTemplate* docTemplate;
    std::function<View*()> makeView;
};

class MdiChild : public QMdiSubWindow, public CommandTarget
{
    Q_OBJECT

public:
    MdiChild();
    ~MdiChild() override;

    // Builds the client area; the default is one view of the template's view class.
    virtual bool OnCreateClient(CreateContext& context);
    // Attaches view to the context's document; the frame's client holds it.
    View* CreateView(View* view, CreateContext& context);

    void InitialUpdateFrame();
    View* GetActiveView() const { return m_activeView; }
    void SetActiveView(View* view, bool giveFocus = true);
    Document* GetActiveDocument() const;
    const std::vector<QPointer<View>>& Views() const { return m_views; }

    DocTemplate* GetDocTemplate() const { return m_template; }
    void SetDocTemplate(DocTemplate* docTemplate) { m_template = docTemplate; }

    // Closes the window without the question about saving (the document has been asked).
    void CloseWithoutAsking();
    void UpdateTitle();

    bool OnCmdMsg(CommandId id, CommandState* state) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetSystemMenuPrompts();
    void OnNextPane();
    void OnPrevPane();
    void MovePane(int step);
    void OnFocusChanged(QWidget* now);

    std::vector<QPointer<View>> m_views;
    QPointer<View> m_activeView;
    QPointer<Document> m_document;
    DocTemplate* m_template = nullptr;
    bool m_closingWithoutAsking = false;
};

} // namespace fw
