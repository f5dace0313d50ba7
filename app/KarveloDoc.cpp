#include "KarveloDoc.h"

#include "Dialogs.h"
#include "KarveloView.h"
#include "KarveloView_Controls.h"
#include "streams/tsBufferedOutputStream.h"
#include "streams/tsSafeSave.h"
#include "tsTrace.h"

#include <QFile>

namespace {

const char* const LOAD_FAILED = "Die Datei konnte nicht geladen werden!";
const char* const SAVE_FAILED = "Die Datei konnte nicht gespeichert werden!";

QByteArray nativePath(const QString& path)
{
    return QFile::encodeName(path);
}

} // namespace

CKarveloDoc::CKarveloDoc() = default;

bool CKarveloDoc::OnNewDocument()
{
    return fw::Document::OnNewDocument();
}

bool CKarveloDoc::OnOpenDocument(const QString& path)
{
    if (!fw::Document::OnOpenDocument(path))
        return false;
    m_layout.m_controls.clear();
    m_currentControl = nullptr;
    const HRESULT hr = LoadLayout(path);
    if (hr < 0) {
        // The window still opens, with the records read before the fault.
        fw::MessageBox(QString::fromUtf8(LOAD_FAILED), fw::MB_OK, fw::MB_ICONWARNING);
        ASSERT_HRESULT(hr);
    } else if (!m_layout.m_controls.empty()) {
        m_currentControl = &m_layout.m_controls.front();
    }
    return true;
}

bool CKarveloDoc::OnSaveDocument(const QString& path)
{
    return SaveLayout(path) >= 0;
}

HRESULT CKarveloDoc::LoadLayout(const QString& path)
{
    tsStream stream;
    HRESULT hr = stream.Open(nativePath(path).constData(), TS_OPEN_READ);
    if (hr >= 0)
        hr = m_layout.Read(&stream);
    return hr;
}

HRESULT CKarveloDoc::SaveLayout(const QString& path)
{
    // A new file beside the target replaces it only when every byte is on disk, so a failed
    // save never costs the last good copy.
    tsSafeSave save;
    HRESULT hr = save.Begin(nativePath(path).constData());
    tsBufferedOutputStream buffered(save.Stream());
    if (hr >= 0)
        hr = m_layout.Write(&buffered);
    if (hr >= 0)
        hr = buffered.Flush();
    if (hr >= 0)
        hr = save.Commit();
    if (hr < 0) {
        save.Abandon();
        fw::MessageBox(QString::fromUtf8(SAVE_FAILED), fw::MB_OK, fw::MB_ICONWARNING);
    }
    return hr;
}

void CKarveloDoc::AddNewControl()
{
    m_layout.m_controls.push_back(m_newControl);
    m_currentControl = &m_layout.m_controls.back();
    SetModifiedFlag();
}

void CKarveloDoc::ReleaseView(fw::View* closing)
{
    if (m_panel == closing)
        m_panel = nullptr;
    if (m_canvas == closing)
        m_canvas = nullptr;
    for (fw::View* view : GetViews()) {
        if (view == closing)
            continue;
        if (!m_panel)
            m_panel = qobject_cast<CKarveloView_Controls*>(view);
        if (!m_canvas)
            m_canvas = qobject_cast<CKarveloView*>(view);
    }
}

void CKarveloDoc::ShowCurrentControlInPanels(CKarveloView_Controls* except)
{
    for (fw::View* view : GetViews())
        if (auto* panel = qobject_cast<CKarveloView_Controls*>(view); panel && panel != except)
            panel->ShowCurrentControl();
}

void CKarveloDoc::RepaintCanvases()
{
    for (fw::View* view : GetViews())
        if (auto* canvas = qobject_cast<CKarveloView*>(view))
            canvas->update();
}
