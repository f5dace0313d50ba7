// The box that stands while a document prints: what prints where, and a button to cancel.
#pragma once

#include <QDialog>

class QPrinter;

namespace fw {

class PrintingDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr unsigned IDD = 30722;

    PrintingDialog(const QString& documentName, const QPrinter& printer, QWidget* parent);
    bool Cancelled() const { return m_cancelled; }

    // The printer and where its output goes, as the dialog shows them.
    static QString PrinterLine(const QPrinter& printer);

private:
    bool m_cancelled = false;
};

} // namespace fw
