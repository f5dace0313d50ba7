#include "PrintingDialog.h"

#include "CommandIds.h"
#include "DialogUnits.h"
#include "Strings.h"

#include <QLabel>
#include <QPrinter>
#include <QPushButton>

namespace fw {

namespace {
constexpr unsigned IDS_PRINT_ON_PORT = 61504; // "auf %1"
constexpr unsigned IDS_PRINT_TO_FILE = 61513; // "in %1"
} // namespace

QString PrintingDialog::PrinterLine(const QPrinter& printer)
{
    const QString file = printer.outputFileName();
    const QString name = printer.printerName();
    if (name.isEmpty())
        return FormatString(IDS_PRINT_TO_FILE, file);
    if (file.isEmpty())
        return name;
    return name + QLatin1Char(' ') + FormatString(IDS_PRINT_ON_PORT, file);
}

PrintingDialog::PrintingDialog(const QString& documentName, const QPrinter& printer,
                               QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("dialog%1").arg(IDD));
    setWindowTitle(LoadString(AFX_IDS_APP_TITLE));
    setWindowModality(Qt::ApplicationModal);
    setFont(DialogFont());
    const DialogUnits du(font());
    setFixedSize(du.X(133), du.Y(73));
    const struct
    {
        QString text;
        int y;
    } lines[] = {
        {QString::fromUtf8("Печать"), 8},
        {documentName, 18},
        {QString::fromUtf8("на"), 28},
        {PrinterLine(printer), 38},
    };
    for (const auto& line : lines) {
        auto* label = new QLabel(line.text, this);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignHCenter);
        label->setGeometry(du.Rect(0, line.y, 133, 8));
    }
    auto* cancel = new QPushButton(QString::fromUtf8("Отмена"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->setGeometry(du.Rect(44, 52, 45, 15));
    cancel->setDefault(true);
    connect(cancel, &QPushButton::clicked, this, [this] { m_cancelled = true; });
}

} // namespace fw
