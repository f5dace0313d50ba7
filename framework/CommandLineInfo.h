// What the command line asks the application to do at start.
#pragma once

#include <QString>
#include <QStringList>

namespace fw {

struct CommandLineInfo
{
    enum ShellCommand
    {
        FileNew,
        FileOpen,
        FilePrint,
        FilePrintTo,
        FileDDE,
        AppUnregister,
        FileNothing,
    };
    ShellCommand shellCommand = FileNew;
    QString fileName;
    // Further file names after the first when opening: a desktop hands over every file chosen.
    QStringList moreFiles;
    QString printerName;
    QString driverName;
    QString portName;
    bool runEmbedded = false;
    bool runAutomated = false;

    // arguments without the program name. On Unix only "-" starts a switch, since every
    // absolute path starts with "/"; on Windows both do.
    static CommandLineInfo Parse(const QStringList& arguments);
};

} // namespace fw
