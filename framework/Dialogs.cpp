#include "Dialogs.h"

#include "Strings.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace fw {

namespace {

std::function<int(const MessageRequest&)> g_messageHandler;
std::function<QString(const FileRequest&)> g_fileHandler;
std::function<bool(QPrinter&)> g_printHandler;
QString g_caption;

int showRealBox(const MessageRequest& request)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(request.caption);
    box.setText(request.text);
    switch (request.icon) {
    case MB_ICONERROR:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONWARNING:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    case MB_ICONNONE:
        break;
    }
    switch (request.buttons) {
    case MB_OK:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MB_OKCANCEL:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MB_YESNOCANCEL:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case MB_YESNO:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Cancel:
        return IDCANCEL;
    default:
        return request.buttons == MB_OK ? IDOK : (box.escapeButton() ? IDCANCEL : IDOK);
    }
}

} // namespace

void SetMessageCaption(const QString& caption)
{
    g_caption = caption;
}

int MessageBox(const QString& text, MessageButtons buttons, MessageIcon icon)
{
    // Without a chosen icon, a plain OK box informs and a question box asks.
    if (icon == MB_ICONNONE)
        icon = buttons == MB_OK ? MB_ICONINFORMATION : MB_ICONQUESTION;
    const MessageRequest request{g_caption, text, buttons, icon};
    return g_messageHandler ? g_messageHandler(request) : showRealBox(request);
}

int MessageBox(unsigned stringId, MessageButtons buttons, MessageIcon icon)
{
    return MessageBox(LoadString(stringId), buttons, icon);
}

QString AskForFile(const FileRequest& request)
{
    if (g_fileHandler)
        return g_fileHandler(request);
    QFileDialog dialog(QApplication::activeWindow(), request.title, request.folder);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(request.filters);
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

bool AskToPrint(QPrinter& printer, QWidget* parent)
{
    if (g_printHandler)
        return g_printHandler(printer);
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void SetMessageBoxHandler(std::function<int(const MessageRequest&)> handler)
{
    g_messageHandler = std::move(handler);
}

void SetFileDialogHandler(std::function<QString(const FileRequest&)> handler)
{
    g_fileHandler = std::move(handler);
}

void SetPrintDialogHandler(std::function<bool(QPrinter&)> handler)
{
    g_printHandler = std::move(handler);
}

} // namespace fw
