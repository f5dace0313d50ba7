// A document: its file, its title, whether it holds unsaved changes, and its views.
#pragma once

#include "Commands.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <vector>

namespace fw {

class DocTemplate;
class MdiChild;
class View;
struct Hint;

class Document : public QObject, public CommandTarget
{
    Q_OBJECT

public:
    Document();
    ~Document() override;

    virtual bool OnNewDocument();
    // Checks that the file can be read and reports the cause when it cannot.
    virtual bool OnOpenDocument(const QString& path);
    virtual bool OnSaveDocument(const QString& path);
    virtual void DeleteContents() {}
    virtual void Serialize() {}
    // Closes every window of the document and destroys it.
    virtual void OnCloseDocument();

    // Asks whether to save a modified document: false when the user cancelled or the save
    // did not happen.
    virtual bool SaveModified();
    // Saves under path, or asks for a name when path is empty.
    bool DoSave(const QString& path);
    bool DoFileSave();

    const QString& GetPathName() const { return m_path; }
    void SetPathName(const QString& path, bool addToRecentFiles = true);
    const QString& GetTitle() const { return m_title; }
    void SetTitle(const QString& title);

    // Modified: away from the saved step of the undo stack, or marked so by hand.
    bool IsModified() const { return m_modified || !m_undoStack.isClean(); }
    // The next Save asks for the file name as Save As does (after a load that failed, the
    // file on disk holds more than the document).
    void SetConfirmReplace(bool confirm = true) { m_confirmReplace = confirm; }
    // true marks the document modified whatever its undo stack says; false makes the current
    // step the saved one.
    void SetModifiedFlag(bool modified = true);
    // Every change of the document's contents is a command on this stack.
    QUndoStack* UndoStack() { return &m_undoStack; }

    const std::vector<View*>& GetViews() const { return m_views; }
    void AddView(View* view);
    void RemoveView(View* view);
    std::vector<MdiChild*> GetFrames() const;
    // Tells every view but sender (the view that made the change and shows it already).
    void UpdateAllViews(View* sender, const Hint* hint = nullptr);

    DocTemplate* GetDocTemplate() const { return m_template; }
    void SetDocTemplate(DocTemplate* docTemplate) { m_template = docTemplate; }

    bool OnCmdMsg(CommandId id, CommandState* state) override;

signals:
    void titleChanged();
    void modifiedChanged(bool modified);

protected:
    // A view left the document (its window closed); the others are still there.
    virtual void OnViewRemoved(View*) {}

private:
    void OnFileSave() { DoFileSave(); }
    void OnFileSaveAs() { DoSave(QString()); }
    void OnFileClose();
    void EmitModifiedChanged();

    QUndoStack m_undoStack;
    bool m_lastModified = false;
    QString m_path;
    QString m_title;
    bool m_modified = false;
    bool m_confirmReplace = false;
    bool m_closing = false;
    std::vector<View*> m_views;
    DocTemplate* m_template = nullptr;
};

} // namespace fw
