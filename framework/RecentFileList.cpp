#include "RecentFileList.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace fw {

RecentFileList::RecentFileList(QString section, QString entryFormat, int size)
    : m_section(std::move(section)), m_entryFormat(std::move(entryFormat)), m_size(size)
{
}

void RecentFileList::Add(const QString& path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    m_files.removeAll(full);
    m_files.prepend(full);
    while (m_files.size() > m_size)
        m_files.removeLast();
}

void RecentFileList::Remove(int index)
{
    if (index >= 0 && index < m_files.size())
        m_files.removeAt(index);
}

void RecentFileList::ReadList(QSettings& settings)
{
    m_files.clear();
    settings.beginGroup(m_section);
    for (int i = 1; i <= m_size; ++i) {
        const QString path = settings.value(m_entryFormat.arg(i)).toString();
        if (!path.isEmpty() && !m_files.contains(path))
            m_files.append(path);
    }
    settings.endGroup();
}

void RecentFileList::WriteList(QSettings& settings) const
{
    settings.beginGroup(m_section);
    for (int i = 1; i <= m_size; ++i) {
        if (i <= m_files.size())
            settings.setValue(m_entryFormat.arg(i), m_files[i - 1]);
        else
            settings.remove(m_entryFormat.arg(i));
    }
    settings.endGroup();
    settings.sync();
}

QString RecentFileList::Abbreviate(const QString& path, int maxLength)
{
    if (path.size() <= maxLength)
        return path;
    // Keep the root and first folder and the file name, and drop folders from the middle.
    const QString name = QFileInfo(path).fileName();
    QStringList parts = QDir::fromNativeSeparators(path).split(QLatin1Char('/'));
    if (parts.size() < 3 || name.size() + 4 > maxLength)
        return name;
    const QString head = parts[0] + QLatin1Char('/') + parts[1];
    QStringList middle = parts.mid(2, parts.size() - 3);
    while (true) {
        QString candidate = head + QLatin1String("/...");
        for (const QString& part : middle)
            candidate += QLatin1Char('/') + part;
        candidate += QLatin1Char('/') + name;
        if (candidate.size() <= maxLength)
            return candidate;
        if (middle.isEmpty())
            return name;
        middle.removeFirst();
    }
}

QStringList RecentFileList::MenuTexts(int maxLength) const
{
    QStringList texts;
    for (int i = 0; i < m_files.size(); ++i) {
        QString shown = Abbreviate(m_files[i], maxLength);
        shown.replace(QLatin1Char('&'), QLatin1String("&&"));
        texts << QLatin1Char('&') + QString::number(i + 1) + QLatin1Char(' ') + shown;
    }
    return texts;
}

} // namespace fw
