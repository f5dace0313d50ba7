#include "Dialogs.h"

#include "Strings.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include <algorithm>
#include <vector>

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
    if (!request.details.isEmpty())
        box.setInformativeText(request.details);
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
    if (request.buttons == MB_CUSTOM) {
        std::vector<QPushButton*> buttons;
        for (int i = 0; i < request.buttonTexts.size(); ++i)
            buttons.push_back(box.addButton(request.buttonTexts[i], i == request.escapeButton
                                                                        ? QMessageBox::RejectRole
                                                                        : QMessageBox::ActionRole));
        const auto at = [&buttons](int index) {
            return index >= 0 && static_cast<std::size_t>(index) < buttons.size()
                       ? buttons[static_cast<std::size_t>(index)]
                       : nullptr;
        };
        box.setDefaultButton(at(request.defaultButton));
        box.setEscapeButton(at(request.escapeButton));
        box.exec();
        const auto chosen = std::find(buttons.begin(), buttons.end(), box.clickedButton());
        return chosen == buttons.end() ? request.escapeButton
                                       : static_cast<int>(chosen - buttons.begin());
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
    case MB_CUSTOM:
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

class FileDialog : public QFileDialog
{
public:
    using QFileDialog::QFileDialog;
    QString openSuffix;

protected:
    void accept() override
    {
        // "foo" opens foo.lay when there is no file foo but a foo.lay.
        auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        const QString typed = edit ? edit->text().trimmed() : QString();
        if (acceptMode() == AcceptOpen && !openSuffix.isEmpty() && !typed.isEmpty() &&
            !typed.startsWith(QLatin1Char('"')) && QFileInfo(typed).suffix().isEmpty()) {
            const QString named = directory().absoluteFilePath(typed);
            const QString withSuffix = named + QLatin1Char('.') + openSuffix;
            if (!QFileInfo::exists(named) && QFileInfo(withSuffix).isFile())
                edit->setText(QFileInfo(typed).filePath() + QLatin1Char('.') + openSuffix);
        }
        QFileDialog::accept();
    }
};

// "(*.*)" means every file, as on the platform whose dialogs it comes from; Qt's pattern would
// leave out names without a dot.
void MatchEveryFileForAllFilesFilter(QFileDialog& dialog)
{
    auto apply = [&dialog](const QString& filter) {
        if (!filter.endsWith(QLatin1String("(*.*)")))
            return;
        if (auto* model = dialog.findChild<QFileSystemModel*>())
            model->setNameFilters({QStringLiteral("*")});
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, apply);
    apply(dialog.selectedNameFilter());
}

} // namespace

void SetMessageCaption(const QString& caption)
{
    g_caption = caption;
}

int MessageBox(const QString& text, MessageButtons buttons, MessageIcon icon)
{
    return MessageBox(text, QString(), buttons, icon);
}

int MessageBox(const QString& text, const QString& details, MessageButtons buttons,
               MessageIcon icon)
{
    // Without a chosen icon, a plain OK box informs and a question box asks.
    if (icon == MB_ICONNONE)
        icon = buttons == MB_OK ? MB_ICONINFORMATION : MB_ICONQUESTION;
    MessageRequest request{g_caption, text, buttons, icon};
    request.details = details;
    return g_messageHandler ? g_messageHandler(request) : showRealBox(request);
}

int MessageBox(unsigned stringId, MessageButtons buttons, MessageIcon icon)
{
    return MessageBox(LoadString(stringId), buttons, icon);
}

int MessageBox(const QString& text, const QStringList& buttonTexts, int defaultButton,
               int escapeButton, MessageIcon icon)
{
    MessageRequest request{g_caption, text, MB_CUSTOM, icon};
    request.buttonTexts = buttonTexts;
    request.defaultButton = defaultButton;
    request.escapeButton = escapeButton;
    return g_messageHandler ? g_messageHandler(request) : showRealBox(request);
}

QString AskForFile(const FileRequest& request)
{
    if (g_fileHandler)
        return g_fileHandler(request);
    FileDialog dialog(QApplication::activeWindow(), request.title, request.folder);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QString suffix = request.defaultExtension;
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    // Added to a typed name before the dialog looks for the file, so that the question about
    // replacing a file asks about the file that would be replaced.
    if (request.save)
        dialog.setDefaultSuffix(suffix);
    else
        dialog.openSuffix = suffix;
    dialog.setNameFilters(request.filters);
    MatchEveryFileForAllFilesFilter(dialog);
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
