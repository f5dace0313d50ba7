#include "Document.h"

#include "Application.h"
#include "CommandIds.h"
#include "Dialogs.h"
#include "DocTemplate.h"
#include "MdiChild.h"
#include "Strings.h"
#include "View.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fw {

Document::Document()
{
    connect(&m_undoStack, &QUndoStack::cleanChanged, this, &Document::EmitModifiedChanged);
}

Document::~Document()
{
    // The stack outlives the derived document's members and clears itself as it goes; no one
    // may hear of that.
    m_undoStack.disconnect();
    for (View* view : m_views)
        view->DetachDocument();
}

bool Document::OnNewDocument()
{
    DeleteContents();
    SetModifiedFlag(false);
    return true;
}

bool Document::OnOpenDocument(const QString& path)
{
    // The file must open for reading like any reader would take it: shared with readers.
    // Without blocking, so that a pipe with no writer cannot hang the program.
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    int error = fd < 0 ? errno : 0;
    if (fd >= 0) {
        struct stat status = {};
        if (::fstat(fd, &status) != 0)
            error = errno;
        else if (S_ISDIR(status.st_mode))
            error = EISDIR;
        else if (!S_ISREG(status.st_mode))
            error = EINVAL; // pipes, sockets and devices are no layout files
        else if (::flock(fd, LOCK_SH | LOCK_NB) != 0)
            error = errno;
        ::close(fd);
    }
    if (error != 0) {
        const unsigned message = error == ENOENT || error == ENOTDIR ? AFX_IDP_FILE_NOT_FOUND
                                 : error == EWOULDBLOCK              ? AFX_IDP_FILE_SHARING
                                                                     : AFX_IDP_FILE_GENERIC_READ;
        MessageBox(FormatString(message, path), MB_OK, MB_ICONWARNING);
        return false;
    }
    DeleteContents();
    Serialize();
    SetModifiedFlag(false);
    return true;
}

bool Document::OnSaveDocument(const QString&)
{
    return true;
}

void Document::OnCloseDocument()
{
    m_closing = true;
    // Closing the frames destroys the views; the document goes when the last one has gone.
    for (MdiChild* frame : GetFrames())
        frame->CloseWithoutAsking();
    if (m_template)
        m_template->RemoveDocument(this);
    deleteLater();
}

bool Document::SaveModified()
{
    if (!IsModified())
        return true;
    switch (
        MessageBox(FormatString(AFX_IDP_ASK_TO_SAVE, m_title), MB_YESNOCANCEL, MB_ICONQUESTION)) {
    case IDYES:
        return DoFileSave();
    case IDNO:
        return true;
    default:
        return false;
    }
}

bool Document::DoFileSave()
{
    // A file that did not load fully is replaced only after the user chose it again.
    return DoSave(m_confirmReplace ? QString() : m_path);
}

bool Document::DoSave(const QString& givenPath)
{
    QString path = givenPath;
    if (path.isEmpty()) {
        FileRequest request;
        request.save = true;
        request.title = LoadString(AFX_IDS_SAVEFILE);
        if (m_template) {
            request.filters << m_template->FilterName();
            request.defaultExtension = m_template->FilterExtension();
        }
        request.filters << LoadString(AFX_IDS_ALLFILTER);
        request.folder = m_path.isEmpty() ? QDir::currentPath() : QFileInfo(m_path).absolutePath();
        request.proposedName = m_path.isEmpty() ? m_title : QFileInfo(m_path).fileName();
        path = AskForFile(request);
        if (path.isEmpty())
            return false;
        // The dialog adds the extension before it asks about replacing a file; a path that
        // still lacks one gets it here, and the question too when that file exists.
        if (!request.defaultExtension.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
            path += request.defaultExtension;
            if (QFileInfo::exists(path) &&
                MessageBox(FormatString(FW_IDP_ASK_TO_REPLACE, QFileInfo(path).fileName()),
                           MB_YESNO, MB_ICONWARNING) != IDYES)
                return false;
        }
    }
    if (!OnSaveDocument(path))
        return false;
    m_confirmReplace = false;
    SetPathName(path);
    SetModifiedFlag(false);
    return true;
}

void Document::SetPathName(const QString& path, bool addToRecentFiles)
{
    m_path = QFileInfo(path).absoluteFilePath();
    SetTitle(QFileInfo(path).fileName());
    if (addToRecentFiles && App())
        App()->AddToRecentFileList(m_path);
}

void Document::SetTitle(const QString& title)
{
    m_title = title;
    emit titleChanged();
}

void Document::SetModifiedFlag(bool modified)
{
    m_modified = modified;
    if (!modified)
        m_undoStack.setClean();
    EmitModifiedChanged();
}

void Document::EmitModifiedChanged()
{
    if (IsModified() == m_lastModified)
        return;
    m_lastModified = IsModified();
    emit modifiedChanged(m_lastModified);
}

void Document::AddView(View* view)
{
    if (std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void Document::RemoveView(View* view)
{
    const auto found = std::find(m_views.begin(), m_views.end(), view);
    if (found == m_views.end())
        return;
    m_views.erase(found);
    if (!m_closing)
        OnViewRemoved(view);
}

std::vector<MdiChild*> Document::GetFrames() const
{
    std::vector<MdiChild*> frames;
    for (View* view : m_views) {
        MdiChild* frame = view->GetParentFrame();
        if (frame && std::find(frames.begin(), frames.end(), frame) == frames.end())
            frames.push_back(frame);
    }
    return frames;
}

void Document::UpdateAllViews(View* sender, const Hint* hint)
{
    // A view may close another window in its update; work on a copy of the list.
    const std::vector<View*> views = m_views;
    for (View* view : views)
        if (view != sender && std::find(m_views.begin(), m_views.end(), view) != m_views.end())
            view->OnUpdate(sender, hint);
}

void Document::OnFileClose()
{
    if (SaveModified())
        OnCloseDocument();
}

bool Document::OnCmdMsg(CommandId id, CommandState* state)
{
    static const CommandTable<Document> table = {
        {ID_FILE_SAVE, &Document::OnFileSave},
        {ID_FILE_SAVE_AS, &Document::OnFileSaveAs},
        {ID_FILE_CLOSE, &Document::OnFileClose},
    };
    return table.Dispatch(this, id, state);
}

} // namespace fw
