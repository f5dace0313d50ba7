#include "DataExchange.h"

#include "CommandIds.h"
#include "Dialogs.h"
#include "Strings.h"

#include <QLineEdit>

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace fw {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The text as bytes, with its leading blanks and tabs gone; characters beyond Latin-1 become
// bytes no number contains, so they fail the reading as they should.
std::string trimmedFront(const QString& text)
{
    std::string bytes = ToBytes(text);
    std::size_t start = 0;
    while (start < bytes.size() && isBlank(bytes[start]))
        ++start;
    return bytes.substr(start);
}

// Numbers read the same whatever locale the user runs in (Qt sets the process locale from
// the environment, which would make strtod expect a decimal comma).
locale_t cLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return c;
}

bool onlyBlanksFrom(const char* at, const char* end)
{
    for (; at < end; ++at)
        if (!isBlank(*at))
            return false;
    return true;
}

} // namespace

QString FormatFloat(float value)
{
    char text[64];
    const auto done = std::to_chars(text, text + sizeof text, static_cast<double>(value),
                                    std::chars_format::general, 6);
    return QString::fromLatin1(text, done.ptr - text);
}

QString FormatUnsigned(std::uint32_t value)
{
    return QString::number(value);
}

std::optional<float> ParseFloat(const QString& input)
{
    const std::string text = trimmedFront(input);
    char* stop = nullptr;
    const double value = strtod_l(text.c_str(), &stop, cLocale());
    if (!onlyBlanksFrom(stop, text.data() + text.size()))
        return std::nullopt;
    if (value == 0.0 && (text.empty() || text[0] != '0'))
        return std::nullopt;
    return static_cast<float>(value);
}

std::optional<std::uint32_t> ParseUnsigned(const QString& input)
{
    const std::string text = trimmedFront(input);
    if (!text.empty() && text[0] == '-')
        return std::nullopt;
    char* stop = nullptr;
    errno = 0;
    const unsigned long long value = strtoull_l(text.c_str(), &stop, 10, cLocale());
    if (errno == ERANGE || value > std::numeric_limits<std::uint32_t>::max())
        return std::nullopt; // never cut to 32 bits
    if (!onlyBlanksFrom(stop, text.data() + text.size()))
        return std::nullopt;
    if (value == 0 && (text.empty() || text[0] != '0'))
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

bool DataExchange::Fail(QLineEdit* edit, unsigned messageId)
{
    MessageBox(messageId, MB_OK, MB_ICONWARNING);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    return false;
}

bool DataExchange::Float(QLineEdit* edit, float& value)
{
    if (!m_save) {
        edit->setText(FormatFloat(value));
        return true;
    }
    const std::optional<float> read = ParseFloat(edit->text());
    if (!read)
        return Fail(edit, AFX_IDP_PARSE_REAL);
    value = *read;
    return true;
}

bool DataExchange::Unsigned(QLineEdit* edit, std::uint32_t& value)
{
    if (!m_save) {
        edit->setText(FormatUnsigned(value));
        return true;
    }
    const std::optional<std::uint32_t> read = ParseUnsigned(edit->text());
    if (!read)
        return Fail(edit, AFX_IDP_PARSE_UINT);
    value = *read;
    return true;
}

bool DataExchange::Text(QLineEdit* edit, std::string& value)
{
    if (m_save)
        value = ToBytes(edit->text());
    else
        edit->setText(FromBytes(value));
    return true;
}

} // namespace fw
