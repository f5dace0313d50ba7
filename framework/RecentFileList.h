// The most recently opened and saved files, most recent first, kept in the profile.
#pragma once

#include <QString>
#include <QStringList>

class QSettings;

namespace fw {

class RecentFileList
{
public:
    RecentFileList(QString section, QString entryFormat, int size);

    void Add(const QString& path);
    void Remove(int index);
    const QStringList& Files() const { return m_files; }
    int Size() const { return m_size; }

    void ReadList(QSettings& settings);
    void WriteList(QSettings& settings) const;

    // "&1 name" for each entry, the path shortened to at most maxLength characters.
    QStringList MenuTexts(int maxLength) const;
    static QString Abbreviate(const QString& path, int maxLength);

private:
    QString m_section;
    QString m_entryFormat;
    int m_size;
    QStringList m_files;
};

} // namespace fw
