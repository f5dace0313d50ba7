// Moves values between a form's fields and its edits, in either direction, with the
// framework's reading rules and messages.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <string>

class QLineEdit;

namespace fw {

// Text of a float as C's "%.*g" with precision 6, in the C locale whatever the user's.
QString FormatFloat(float value);
// Text of an unsigned as "%lu".
QString FormatUnsigned(std::uint32_t value);
// Leading blanks and tabs are skipped and only blanks and tabs may follow the number; a zero
// from a text that does not start with the digit 0 fails (so an empty text fails).
std::optional<float> ParseFloat(const QString& text);
// As above; a minus sign fails, and so does a number above 4294967295.
std::optional<std::uint32_t> ParseUnsigned(const QString& text);

class DataExchange
{
public:
    // saveAndValidate: from the edits into the fields; otherwise from the fields into the edits.
    explicit DataExchange(bool saveAndValidate) : m_save(saveAndValidate) {}
    bool SaveAndValidate() const { return m_save; }

    // Each returns false when the edit's text cannot be read: the message has been shown and
    // the edit has the focus with its whole text selected. The exchange stops there.
    bool Float(QLineEdit* edit, float& value);
    bool Unsigned(QLineEdit* edit, std::uint32_t& value);
    // Names are 8-bit bytes: one byte, one character.
    bool Text(QLineEdit* edit, std::string& value);

private:
    bool Fail(QLineEdit* edit, unsigned messageId);
    bool m_save;
};

} // namespace fw
