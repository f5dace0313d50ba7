#include "View.h"

#include "CommandIds.h"
#include "Dialogs.h"
#include "Document.h"
#include "MdiChild.h"

#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace fw {

View::View(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
}

View::~View()
{
    if (m_document)
        m_document->RemoveView(this);
}

Document* View::GetDocument() const
{
    return m_document;
}

void View::DetachDocument()
{
    m_document = nullptr;
}

void View::AttachDocument(Document* document)
{
    m_document = document;
    if (document)
        document->AddView(this);
}

MdiChild* View::GetParentFrame() const
{
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* frame = qobject_cast<MdiChild*>(w))
            return frame;
    return nullptr;
}

void View::OnInitialUpdate()
{
    OnUpdate(nullptr);
}

void View::OnUpdate(View*)
{
    update();
}

void View::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The background is the colour behind text in edits and lists.
    painter.fillRect(rect(), palette().color(QPalette::Base));
    OnDraw(painter);
}

bool View::OnPreparePrinting(QPrinter& printer)
{
    return DoPreparePrinting(printer);
}

bool View::DoPreparePrinting(QPrinter& printer)
{
    return AskToPrint(printer, this);
}

bool View::PrintTo(QPrinter& printer)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // One view pixel is one device unit of the printer.
    OnBeginPrinting(painter, printer);
    OnDraw(painter);
    OnEndPrinting(painter, printer);
    return painter.end();
}

void View::Print(bool askFirst)
{
    QPrinter printer(QPrinter::HighResolution);
    if (askFirst && !OnPreparePrinting(printer))
        return;
    if (!askFirst && printer.outputFileName().isEmpty() &&
        QPrinterInfo::availablePrinterNames().isEmpty()) {
        MessageBox(AFX_IDP_FAILED_TO_START_PRINT, MB_OK, MB_ICONWARNING);
        return;
    }
    if (!PrintTo(printer))
        MessageBox(AFX_IDP_FAILED_TO_START_PRINT, MB_OK, MB_ICONWARNING);
}

void View::OnFilePrint()
{
    Print(true);
}

void View::OnFilePrintDirect()
{
    Print(false);
}

void View::OnFilePrintPreview()
{
    QPrintPreviewDialog preview(this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) {
        QPainter painter(printer);
        OnDraw(painter);
    });
    preview.exec();
}

} // namespace fw
