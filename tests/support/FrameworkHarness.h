// A small application on the framework for tests: recorded message boxes, scripted file
// dialogs and a settings folder of its own.
#pragma once

#include "Application.h"
#include "CommandIds.h"
#include "Dialogs.h"
#include "DocTemplate.h"
#include "Document.h"
#include "MdiChild.h"
#include "MdiFrame.h"
#include "Strings.h"
#include "View.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QCoreApplication>
#include <QSettings>

#include <deque>
#include <functional>
#include <vector>

#include <ostream>

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace testing_support {

// The program's German texts, written as they are in the source.
inline QString u(const char* text)
{
    return QString::fromUtf8(text);
}

// Answers every message box from a queue (IDOK, the first button, or a box's own default
// button when it runs dry) and keeps what each one said.
class MessageLog
{
public:
    MessageLog()
    {
        fw::SetMessageBoxHandler([this](const fw::MessageRequest& request) {
            boxes.push_back(request);
            if (answers.empty() && request.buttons == fw::MB_CUSTOM)
                return request.defaultButton;
            if (answers.empty())
                return request.buttons == fw::MB_YESNOCANCEL || request.buttons == fw::MB_YESNO
                           ? int{fw::IDYES}
                           : int{fw::IDOK};
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        });
        fw::SetFileDialogHandler([this](const fw::FileRequest& request) {
            fileRequests.push_back(request);
            if (files.empty())
                return QString();
            const QString path = files.front();
            files.pop_front();
            return path;
        });
    }
    ~MessageLog()
    {
        fw::SetMessageBoxHandler({});
        fw::SetFileDialogHandler({});
    }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    std::vector<QString> texts() const
    {
        std::vector<QString> all;
        for (const auto& box : boxes)
            all.push_back(box.text);
        return all;
    }

    std::vector<fw::MessageRequest> boxes;
    std::deque<int> answers;
    std::vector<fw::FileRequest> fileRequests;
    std::deque<QString> files;
};

// Points the native settings at a temporary folder for the life of the object.
class SettingsSandbox
{
public:
    SettingsSandbox()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(dir.path().string()));
    }
    TempDir dir;
};

// Points HOME, and with it the user's data folder of the test-mode paths, at a temporary
// folder for the life of the object.
class HomeSandbox
{
public:
    HomeSandbox() : m_old(qgetenv("HOME")) { qputenv("HOME", QByteArray(dir.path().c_str())); }
    ~HomeSandbox() { qputenv("HOME", m_old); }
    HomeSandbox(const HomeSandbox&) = delete;
    HomeSandbox& operator=(const HomeSandbox&) = delete;
    TempDir dir;

private:
    QByteArray m_old;
};

inline void processEvents()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

} // namespace testing_support
