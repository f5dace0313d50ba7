// Layout documents in the test application's windows, with files in a folder of their own.
#pragma once

#include "document/KarveloDoc.h"
#include "resources/StringTable.h"
#include "support/TestApp.h"

#include <gtest/gtest.h>

namespace testing_support {

class DocumentFixture : public ::testing::Test
{
protected:
    SettingsSandbox settings;
    TempDir files;
    MessageLog log;
    TestApp app{{QStringLiteral("-dde")}, [] { return new CKarveloDoc; }};
    void SetUp() override
    {
        // The editor's own texts (step names, reasons), with the test framework's texts
        // where both have one.
        static const fw::StringTable merged = [] {
            fw::StringTable table = testStrings();
            table.insert(resources::Strings().begin(), resources::Strings().end());
            return table;
        }();
        fw::SetStringTable(&merged);
        ASSERT_TRUE(app.InitInstance());
    }

    QString path(const std::string& name) const { return QString::fromStdString(files.file(name)); }
    CKarveloDoc* open(const std::string& name)
    {
        return static_cast<CKarveloDoc*>(app.OpenDocumentFile(path(name)));
    }
    CKarveloDoc* newDocument()
    {
        app.OnFileNew();
        return static_cast<CKarveloDoc*>(app.Documents().back());
    }
};

} // namespace testing_support
