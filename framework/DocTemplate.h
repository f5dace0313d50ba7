// Makes the documents of one type and the child frames that show them.
#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace fw {

class Document;
class MdiChild;
class View;

class DocTemplate
{
public:
    using DocumentFactory = std::function<Document*()>;
    using FrameFactory = std::function<MdiChild*()>;
    using ViewFactory = std::function<View*()>;

    // documentString holds seven fields separated by "\n": window title, document name, File
    // New name, filter name, filter extension, file type id, file type name.
    DocTemplate(unsigned resourceId, const QString& documentString, DocumentFactory makeDocument,
                FrameFactory makeFrame, ViewFactory makeView);
    ~DocTemplate();
    DocTemplate(const DocTemplate&) = delete;
    DocTemplate& operator=(const DocTemplate&) = delete;

    enum DocStringIndex
    {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName,
    };
    QString GetDocString(DocStringIndex index) const;
    QString FilterName() const { return GetDocString(filterName); }
    QString FilterExtension() const { return GetDocString(filterExt); }

    unsigned ResourceId() const { return m_resourceId; }
    void SetIcon(const QIcon& icon) { m_icon = icon; }
    const QIcon& Icon() const { return m_icon; }

    // A new document (empty path) or the file at path, in a new child frame. Returns null,
    // after telling the user why, when it could not be made. A new document is titled
    // untitled, or when that is empty, by the untitled counter.
    Document* OpenDocumentFile(const QString& path, const QString& untitled = QString());
    // Another child frame on an open document.
    MdiChild* CreateNewFrame(Document* document);
    void InitialUpdateFrame(MdiChild* frame);

    const std::vector<Document*>& Documents() const { return m_documents; }
    void RemoveDocument(Document* document);

    const ViewFactory& MakeView() const { return m_makeView; }

private:
    // The document name with the counter's next number that no open document's title holds.
    QString NextUntitledTitle();

    unsigned m_resourceId;
    QStringList m_fields;
    DocumentFactory m_makeDocument;
    FrameFactory m_makeFrame;
    ViewFactory m_makeView;
    QIcon m_icon;
    std::vector<Document*> m_documents;
    int m_untitledCount = 1;
};

} // namespace fw
