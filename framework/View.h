// A view shows its document in a child frame and draws on the screen and the printer alike.
#pragma once

#include "Commands.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class QPainter;
class QPrinter;

namespace fw {

class Document;
class MdiChild;

// What changed in a document, for its views; each document type says more in a subclass.
struct Hint
{
    virtual ~Hint() = default;
};

class View : public QWidget, public CommandTarget
{
    Q_OBJECT

public:
    explicit View(QWidget* parent = nullptr);
    ~View() override;

    Document* GetDocument() const;
    void AttachDocument(Document* document);
    void DetachDocument();
    MdiChild* GetParentFrame() const;

    // Once, after the frame has made all its views; the default repaints through OnUpdate.
    virtual void OnInitialUpdate();
    // The document changed; hint says what (null: anything). The default repaints the whole
    // view with its background erased.
    virtual void OnUpdate(View* sender, const Hint* hint);
    // Draws the document; painter is the screen's or the printer's, never scaled.
    virtual void OnDraw(QPainter&) {}

    // The print dialog; false stops the printing.
    virtual bool OnPreparePrinting(QPrinter& printer);
    virtual void OnBeginPrinting(QPainter&, QPrinter&) {}
    virtual void OnEndPrinting(QPainter&, QPrinter&) {}
    enum PrintResult
    {
        Printed,
        Cancelled,   // the user cancelled in the printing box
        PrintFailed, // the printer could not be started or finished
    };
    // Draws one page on printer while the printing box stands.
    PrintResult PrintTo(QPrinter& printer);

    // Gives the keyboard focus to this view when it becomes the frame's active pane.
    virtual void TakeFocus() { setFocus(Qt::OtherFocusReason); }

protected:
    bool DoPreparePrinting(QPrinter& printer);
    void paintEvent(QPaintEvent* event) override;

    // The framework's print commands, for views whose tables route them here.
    void OnFilePrint();
    void OnFilePrintDirect();
    void OnFilePrintPreview();

private:
    void Print(bool askFirst);
    // A printer of its own for a view without an application.
    QPrinter& LocalPrinter();

    QPointer<Document> m_document;
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace fw
