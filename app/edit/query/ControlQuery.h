// A query for controls, as typed into the search field: terms separated by blanks, all of
// which must hold.
//   BTN           names containing BTN, whatever the case; * stands for any run of
//                 characters and ? for one
//   id:3          a field equal to a number; fields: id, text (text id), res (GUI resource
//                 id), x and y (the first corner), w and h (width and height as the panel shows
//                 them, x2 - x1 and y2 - y1)
//   id:10..20     within a range, both ends included; x:..400 and w:100.. leave one end open
//   w:>100        compared: >, >=, <, <=, =
#pragma once

#include "LayoutDataObject.h"

#include <QString>

#include <cstddef>
#include <string>
#include <vector>

class ControlQuery
{
public:
    // Reads text; an unreadable query holds no terms and says why in Error().
    static ControlQuery Parse(const QString& text);

    enum class Error
    {
        None,
        UnknownField, // "size:3"
        NoValue,      // "id:"
        NotANumber,   // "w:>abc", "x:1..2..3"
    };

    bool IsEmpty() const { return m_terms.empty() && m_error == Error::None; }
    bool IsValid() const { return m_error == Error::None; }
    // Why the text is no query, and the term that says so.
    Error Problem() const { return m_error; }
    const QString& ProblemTerm() const { return m_problemTerm; }

    // Whether control meets every term (an empty or unreadable query: every control does).
    bool Matches(const LayoutControl& control) const;
    // The indices of the controls that match, ascending.
    std::vector<std::size_t> Matching(const std::vector<LayoutControl>& controls) const;

private:
    enum class Field
    {
        Name,
        Id,
        Text,
        Resource,
        X,
        Y,
        Width,
        Height,
    };
    struct Term
    {
        Field field = Field::Name;
        std::string pattern; // names: upper case, with * and ?, and stars around
        std::string plain;   // the word alone, when it has no wildcard of its own
        double low = 0;      // numbers: the range the value must lie in
        double high = 0;
        bool lowOpen = false; // the end itself is excluded
        bool highOpen = false;
    };

    bool Holds(const Term& term, const LayoutControl& control) const;

    static bool ReadTerm(const QString& word, Term& term, Error& error);

    std::vector<Term> m_terms;
    Error m_error = Error::None;
    QString m_problemTerm;
};
