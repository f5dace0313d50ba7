#include "CommandLineInfo.h"

namespace fw {

namespace {

bool isSwitch(const QString& argument)
{
    // A lone "-" is a switch with an empty name, which asks for nothing.
    if (argument.isEmpty())
        return false;
#ifdef _WIN32
    return argument[0] == QLatin1Char('-') || argument[0] == QLatin1Char('/');
#else
    return argument[0] == QLatin1Char('-');
#endif
}

void parseSwitch(CommandLineInfo& info, const QString& name)
{
    // "p", "pt" and "dde" are compared with case, the other names without.
    if (name == QLatin1String("p")) {
        info.shellCommand = CommandLineInfo::FilePrint;
    } else if (name == QLatin1String("pt")) {
        info.shellCommand = CommandLineInfo::FilePrintTo;
    } else if (name == QLatin1String("dde")) {
        info.shellCommand = CommandLineInfo::FileDDE;
    } else if (name.compare(QLatin1String("Unregister"), Qt::CaseInsensitive) == 0 ||
               name.compare(QLatin1String("Unregserver"), Qt::CaseInsensitive) == 0) {
        info.shellCommand = CommandLineInfo::AppUnregister;
    } else if (name.compare(QLatin1String("Embedding"), Qt::CaseInsensitive) == 0) {
        info.runEmbedded = true;
    } else if (name.compare(QLatin1String("Automation"), Qt::CaseInsensitive) == 0) {
        info.runAutomated = true;
    }
}

void parseParameter(CommandLineInfo& info, const QString& parameter)
{
    if (info.fileName.isEmpty()) {
        info.fileName = parameter;
        if (info.shellCommand == CommandLineInfo::FileNew)
            info.shellCommand = CommandLineInfo::FileOpen;
    } else if (info.shellCommand == CommandLineInfo::FileOpen) {
        info.moreFiles << parameter;
    } else if (info.shellCommand == CommandLineInfo::FilePrintTo) {
        if (info.printerName.isEmpty())
            info.printerName = parameter;
        else if (info.driverName.isEmpty())
            info.driverName = parameter;
        else if (info.portName.isEmpty())
            info.portName = parameter;
    }
}

} // namespace

CommandLineInfo CommandLineInfo::Parse(const QStringList& arguments)
{
    CommandLineInfo info;
    for (const QString& argument : arguments) {
        if (isSwitch(argument))
            parseSwitch(info, argument.mid(1));
        else
            parseParameter(info, argument);
    }
    return info;
}

} // namespace fw
