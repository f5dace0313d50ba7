#include "DocTemplate.h"

#include "Application.h"
#include "CommandIds.h"
#include "Dialogs.h"
#include "Document.h"
#include "MdiChild.h"
#include "MdiFrame.h"
#include "View.h"

#include <algorithm>

namespace fw {

DocTemplate::DocTemplate(unsigned resourceId, const QString& documentString,
                         DocumentFactory makeDocument, FrameFactory makeFrame, ViewFactory makeView)
    : m_resourceId(resourceId), m_fields(documentString.split(QLatin1Char('\n'))),
      m_makeDocument(std::move(makeDocument)), m_makeFrame(std::move(makeFrame)),
      m_makeView(std::move(makeView))
{
}

DocTemplate::~DocTemplate()
{
    for (Document* document : std::vector<Document*>(m_documents)) {
        for (MdiChild* frame : document->GetFrames())
            delete frame;
        document->SetDocTemplate(nullptr);
        delete document;
    }
}

QString DocTemplate::GetDocString(DocStringIndex index) const
{
    return index < m_fields.size() ? m_fields[index] : QString();
}

MdiChild* DocTemplate::CreateNewFrame(Document* document)
{
    MdiFrame* main = App() ? App()->MainFrame() : nullptr;
    MdiChild* frame = m_makeFrame();
    frame->SetDocTemplate(this);
    if (!m_icon.isNull())
        frame->setWindowIcon(m_icon);
    CreateContext context{document, this, m_makeView};
    if (!frame->OnCreateClient(context)) {
        delete frame;
        return nullptr;
    }
    if (main)
        main->AddChild(frame);
    return frame;
}

void DocTemplate::InitialUpdateFrame(MdiChild* frame)
{
    frame->InitialUpdateFrame();
}

QString DocTemplate::NextUntitledTitle()
{
    // A document titled otherwise (restored after a crash) may hold a number ahead of the
    // counter: the counter passes over it.
    for (;; ++m_untitledCount) {
        const QString title = GetDocString(docName) + QString::number(m_untitledCount);
        if (std::none_of(m_documents.begin(), m_documents.end(),
                         [&title](const Document* other) { return other->GetTitle() == title; })) {
            ++m_untitledCount;
            return title;
        }
    }
}

Document* DocTemplate::OpenDocumentFile(const QString& path, const QString& untitled)
{
    Document* document = m_makeDocument();
    document->SetDocTemplate(this);
    m_documents.push_back(document);

    MdiChild* frame = CreateNewFrame(document);
    if (!frame) {
        MessageBox(AFX_IDP_FAILED_TO_CREATE_DOC, MB_OK, MB_ICONERROR);
        RemoveDocument(document);
        delete document;
        return nullptr;
    }

    const bool made = path.isEmpty() ? document->OnNewDocument() : document->OnOpenDocument(path);
    if (!made) {
        delete frame;
        RemoveDocument(document);
        delete document;
        return nullptr;
    }
    if (path.isEmpty()) {
        document->SetTitle(untitled.isEmpty() ? NextUntitledTitle() : untitled);
    } else {
        document->SetPathName(path);
    }
    InitialUpdateFrame(frame);
    return document;
}

void DocTemplate::RemoveDocument(Document* document)
{
    m_documents.erase(std::remove(m_documents.begin(), m_documents.end(), document),
                      m_documents.end());
}

} // namespace fw
