#include "KarveloDoc.h"

#include "Dialogs.h"
#include "KarveloView.h"
#include "KarveloView_Controls.h"
#include "LayoutFile.h"
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
        // The window still opens, with the records read before the fault. The file holds more
        // than the window, so saving over it waits for the user to choose it again.
        fw::MessageBox(QString::fromUtf8(LOAD_FAILED), fw::MB_OK, fw::MB_ICONWARNING);
        ASSERT_HRESULT(hr);
        SetConfirmReplace();
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
    return LoadLayoutFile(m_layout, nativePath(path).constData());
}

HRESULT CKarveloDoc::SaveLayout(const QString& path)
{
    // A failed save never costs the last good copy: the old file stays until the new one is
    // complete on disk.
    const HRESULT hr = SaveLayoutFile(m_layout, nativePath(path).constData());
    if (hr < 0) {
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
