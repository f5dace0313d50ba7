// Every message box, file dialog and print dialog goes through here, so tests can answer them.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QPrinter;
class QWidget;

namespace fw {

// Buttons and answers, numbered as the platform's message boxes number them.
enum MessageButtons
{
    MB_OK = 0,
    MB_OKCANCEL = 1,
    MB_YESNOCANCEL = 3,
    MB_YESNO = 4,
    MB_CUSTOM = 0x0F, // buttons named by the caller; the answer is the chosen one's index
};
enum MessageIcon
{
    MB_ICONNONE = 0,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
};
enum MessageAnswer
{
    IDOK = 1,
    IDCANCEL = 2,
    IDYES = 6,
    IDNO = 7,
};

struct MessageRequest
{
    QString caption;
    QString text;
    MessageButtons buttons;
    MessageIcon icon;
    // MB_CUSTOM only: the buttons' texts in their order, the one Return presses and the one
    // Escape (and the window's close button) presses.
    QStringList buttonTexts = {};
    int defaultButton = 0;
    int escapeButton = 0;
    // Shown below the text in the box's smaller print: which file, and why.
    QString details = {};
};

// Shows a message box with the application title as caption; returns the answer.
int MessageBox(const QString& text, MessageButtons buttons = MB_OK, MessageIcon icon = MB_ICONNONE);
// Same, with details below the text.
int MessageBox(const QString& text, const QString& details, MessageButtons buttons,
               MessageIcon icon);
// Same, with the text of string id.
int MessageBox(unsigned stringId, MessageButtons buttons = MB_OK, MessageIcon icon = MB_ICONNONE);
// A box with buttons of the given texts; returns the index of the one chosen.
int MessageBox(const QString& text, const QStringList& buttonTexts, int defaultButton,
               int escapeButton, MessageIcon icon = MB_ICONQUESTION);

struct FileRequest
{
    bool save = false;
    QString title;
    QString folder;
    QString proposedName;
    QStringList filters; // "Name (*.ext)", first one selected
    QString defaultExtension;
};

// Returns the chosen path, or an empty text when the user cancelled.
QString AskForFile(const FileRequest& request);

// Shows the print dialog for printer; returns whether the user wants to print.
bool AskToPrint(QPrinter& printer, QWidget* parent);

// Test seams: replace the real dialogs. Pass an empty function to restore them.
void SetMessageBoxHandler(std::function<int(const MessageRequest&)> handler);
void SetFileDialogHandler(std::function<QString(const FileRequest&)> handler);
void SetPrintDialogHandler(std::function<bool(QPrinter&)> handler);

// The caption of every box; the application sets it from its title.
void SetMessageCaption(const QString& caption);

} // namespace fw
