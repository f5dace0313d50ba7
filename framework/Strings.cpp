#include "Strings.h"

namespace fw {

namespace {
const StringTable* g_table = nullptr;
}

void SetStringTable(const StringTable* table)
{
    g_table = table;
}

QString LoadString(unsigned id)
{
    if (!g_table)
        return QString();
    const auto found = g_table->find(id);
    return found == g_table->end() ? QString() : QString::fromUtf8(found->second);
}

QString PromptOf(const QString& entry)
{
    const qsizetype cut = entry.indexOf(QLatin1Char('\n'));
    return cut < 0 ? entry : entry.left(cut);
}

QString TooltipOf(const QString& entry)
{
    const qsizetype cut = entry.indexOf(QLatin1Char('\n'));
    return cut < 0 ? QString() : entry.mid(cut + 1);
}

QString FormatString(unsigned id, const QString& first, const QString& second)
{
    // One pass, so a %2 inside the first argument (a path, say) stays as it is.
    const QString pattern = LoadString(id);
    QString text;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == QLatin1Char('%') && i + 1 < pattern.size() &&
            (pattern[i + 1] == QLatin1Char('1') || pattern[i + 1] == QLatin1Char('2'))) {
            text += pattern[i + 1] == QLatin1Char('1') ? first : second;
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

QString FromBytes(const std::string& bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string ToBytes(const QString& text)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text)
        bytes += static_cast<char>(c.unicode() <= 0xFF ? c.unicode() : '?');
    return bytes;
}

} // namespace fw
