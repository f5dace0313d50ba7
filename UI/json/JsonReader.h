// A strict reader of JSON text that hands out one value at a time, for callers that map a
// known shape onto records without building a document first.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Every failure records one message that starts with the line and column where it happened
// ("line 3, column 12: ..."). Messages quote at most a few characters of the text, however
// long the offending token, and show what cannot be printed as escapes.
class JsonReader
{
public:
    enum class Kind
    {
        Object,
        Array,
        String,
        Number,
        Literal, // true, false or null
        Error    // none can start here; the message is recorded
    };
    enum class Step
    {
        Next,
        End,
        Error
    };

    explicit JsonReader(std::string_view text);

    // The kind of the value at the next character that is not blank.
    Kind Peek();
    std::size_t Offset() const { return m_at; }

    // After Peek gave Object: consumes "{". Then NextMember reads "," as needed, the key and
    // ":" (Next), or the closing "}" (End). first starts true for each object.
    void BeginObject();
    Step NextMember(bool& first, std::string& key, std::size_t& keyOffset);
    // The same for an array: Next leaves the reader at the item.
    void BeginArray();
    Step NextItem(bool& first);

    // The value at hand; a string comes as UTF-8 with its escapes resolved, a number as its
    // text, which follows JSON's grammar.
    bool ReadString(std::string& value);
    bool ReadNumber(std::string_view& text);
    bool ReadLiteral(std::string_view& word);
    // Reads over any value, nested ones included.
    bool Skip();
    // True when only blanks remain.
    bool Finish();

    // Records message for the character at offset (only the first failure counts); false.
    bool Fail(std::size_t offset, const std::string& message);
    const std::string& Error() const { return m_error; }

    // The token at offset for a message: a short piece of the text in quotes.
    std::string Excerpt(std::size_t offset) const;

private:
    void SkipBlanks();
    bool SkipNested(int depth);
    bool ReadEscape(std::string& value);

    std::string_view m_text;
    std::size_t m_at = 0;
    std::string m_error;
};
