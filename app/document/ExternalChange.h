// Follows a layout's file on disk while the layout is open: what another program does to the
// file reaches the window, and our next save does not silently undo it.
#pragma once

#include "Dialogs.h"
#include "FileWatch.h"
#include "LayoutDataObject.h"

#include <QObject>
#include <QTimer>

#include <optional>

class CKarveloDoc;

// Another program's version of the file is loaded as one undoable step ("Neu geladen") when
// the document holds no unsaved changes, and asked about when it does; kept changes make the
// next save ask before it replaces the file. A deleted or moved file makes the document
// modified. A file that does not read as a layout (still being written, perhaps) is tried
// again a few times, then reported once.
class CExternalChange : public QObject
{
    Q_OBJECT

public:
    explicit CExternalChange(CKarveloDoc* doc);

    // The document holds the file at path as it was when stamped (read, or written by us).
    void Watch(const QString& path, const fw::FileStamp& known);
    // The document holds a copy of path recovered after a crash, taken when the file was as
    // recorded: a file changed since is replaced only after a question.
    void Recovered(const QString& path, const fw::FileStamp& recorded);
    const fw::FileStamp& Known() const { return m_watch.Known(); }

    // Before a save to path: false when the user keeps the other program's version.
    bool MaySave(const QString& path);
    // After a successful save to path: that is the known file now.
    void Saved(const QString& path);

    static constexpr int RETRIES = 3;
    static constexpr int RETRY_MS = 500;

private:
    void OnChanged();
    void Attempt();
    // Shows a box about the file; changes noticed meanwhile wait for AfterAsking. Empty when
    // the document went away while the box was open.
    std::optional<int> Ask(const QString& text, fw::MessageButtons buttons, fw::MessageIcon icon);
    void AfterAsking();
    void FileGone(const fw::FileStamp& now);
    void Reload(std::vector<LayoutControl> records, const fw::FileStamp& stamp);
    void ShowStatus(unsigned id) const;

    CKarveloDoc* m_doc;
    fw::FileWatch m_watch;
    QTimer m_retry;
    int m_retries = 0;
    // The user kept their version over another program's: the next save asks first.
    bool m_confirmSave = false;
    // Modified only because the file went away.
    bool m_markedModified = false;
    bool m_asking = false;
    bool m_changedWhileAsking = false;
};
