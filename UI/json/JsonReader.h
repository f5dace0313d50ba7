// A strict reader of JSON text that hands out one value at a time, for callers that map a
// known shape onto records without building a document first.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Where a reader gets text that is not in memory as a whole: a piece at a time, so a reader
// stops at the first bad byte of a file without having read the rest.
class JsonSource
{
public:
    virtual ~JsonSource() = default;
    // Appends up to wanted of the bytes that follow those given before to buffer, and none at
    // the end. False when the text could not be read on: the reader fails there.
    virtual bool Read(std::string& buffer, std::size_t wanted) = 0;
};

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
    // Text from source, held only from shortly before the value at hand on: memory follows
    // the longest token, not the length of the text. window is the size of a piece.
    explicit JsonReader(JsonSource& source, std::size_t window = std::size_t{1} << 16);

    // The kind of the value at the next character that is not blank.
    Kind Peek();
    // Where the reader is, counted in bytes from the start of the text.
    std::size_t Offset() const { return m_at; }

    // After Peek gave Object: consumes "{". Then NextMember reads "," as needed, the key and
    // ":" (Next), or the closing "}" (End). first starts true for each object.
    void BeginObject();
    Step NextMember(bool& first, std::string& key, std::size_t& keyOffset);
    // The same for an array: Next leaves the reader at the item.
    void BeginArray();
    Step NextItem(bool& first);

    // The value at hand; a string comes as UTF-8 with its escapes resolved, a number as its
    // text, which follows JSON's grammar and stays valid until the next call.
    bool ReadString(std::string& value);
    bool ReadNumber(std::string_view& text);
    bool ReadLiteral(std::string_view& word);
    // Reads over any value, nested ones included.
    bool Skip();
    // True when only blanks remain.
    bool Finish();

    // Records message for the character at offset (only the first failure counts); false.
    // offset is the reader's place, a place a little before it, the start of the text, or
    // the start of the value or key at hand (Offset after Peek, keyOffset after NextMember).
    bool Fail(std::size_t offset, const std::string& message);
    const std::string& Error() const { return m_error; }
    // The source could not deliver the whole text; Error says where the reader stopped.
    bool SourceFailed() const { return m_sourceFailed; }

    // The token at offset for a message: a short piece of the text in quotes. offset as for
    // Fail.
    std::string Excerpt(std::size_t offset);

private:
    // The byte at offset is there, read from the source when needed; false at the end.
    bool Has(std::size_t offset)
    {
        return offset - m_base < m_text.size() || (offset >= m_base && Load(offset));
    }
    char At(std::size_t offset) const { return m_text[offset - m_base]; }
    bool Load(std::size_t offset);
    void Discard(std::size_t upTo);
    void Mark(std::size_t offset);
    // Line and column of a place in the text that is still held, or of the mark.
    void Position(std::size_t offset, std::size_t& line, std::size_t& column) const;
    std::string ExcerptHeld(std::size_t offset);

    void SkipBlanks();
    bool SkipNested(int depth);
    bool ReadEscape(std::string& value);

    JsonSource* m_source = nullptr;
    std::size_t m_window = 0;
    std::string m_buffer;    // from a source: the bytes held, from m_base on
    std::string_view m_text; // the bytes held: the whole text, or m_buffer
    std::size_t m_base = 0;  // offset of m_text[0]
    std::size_t m_baseLine = 1, m_baseColumn = 1;
    bool m_ended = true; // the source has given its last byte
    bool m_sourceFailed = false;

    // The start of the value or key at hand, for messages about it once it is read. When its
    // bytes are let go, its position and excerpt are kept here.
    std::size_t m_mark = 0;
    bool m_markKept = false;
    std::size_t m_markLine = 1, m_markColumn = 1;
    std::string m_markExcerpt;

    std::string m_token; // the number or literal just read
    std::size_t m_at = 0;
    std::string m_error;
};
