#include "View.h"

#include "Application.h"
#include "CommandIds.h"
#include "Dialogs.h"
#include "Document.h"
#include "MdiChild.h"
#include "PrintingDialog.h"

#include <QCoreApplication>
#include <QFile>
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
    OnUpdate(nullptr, nullptr);
}

void View::OnUpdate(View*, const Hint*)
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

View::PrintResult View::PrintTo(QPrinter& printer)
{
    PrintingDialog progress(m_document ? m_document->GetTitle() : QString(), printer, this);
    progress.show();
    // The box must be seen, and its button work, before and after the page is drawn.
    QCoreApplication::processEvents();
    if (progress.Cancelled())
        return Cancelled;
    QPainter painter;
    if (!painter.begin(&printer))
        return PrintFailed;
    // One view pixel is one device unit of the printer.
    OnBeginPrinting(painter, printer);
    OnDraw(painter);
    OnEndPrinting(painter, printer);
    QCoreApplication::processEvents();
    if (progress.Cancelled()) {
        if (!printer.abort()) {
            // A file printer cannot abort: the half-made file goes instead.
            painter.end();
            if (!printer.outputFileName().isEmpty())
                QFile::remove(printer.outputFileName());
        }
        return Cancelled;
    }
    return painter.end() ? Printed : PrintFailed;
}

void View::Print(bool askFirst)
{
    // The application's printer: what Print Setup chose holds for every print that follows.
    QPrinter& printer = App() ? App()->Printer() : LocalPrinter();
    if (askFirst && !OnPreparePrinting(printer))
        return;
    if (!askFirst && printer.outputFileName().isEmpty() &&
        QPrinterInfo::availablePrinterNames().isEmpty()) {
        MessageBox(AFX_IDP_FAILED_TO_START_PRINT, MB_OK, MB_ICONWARNING);
        return;
    }
    if (PrintTo(printer) == PrintFailed)
        MessageBox(AFX_IDP_FAILED_TO_START_PRINT, MB_OK, MB_ICONWARNING);
}

QPrinter& View::LocalPrinter()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
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
    // The printer that prints: one layout pixel is one of its device units here too.
    QPrintPreviewDialog preview(App() ? &App()->Printer() : &LocalPrinter(), this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) {
        QPainter painter(printer);
        OnDraw(painter);
    });
    preview.exec();
}

} // namespace fw
