// A line edit's typing filter: what is typed or pasted keeps only the characters of a set, and
// then no more of them than the field holds.
#pragma once

#include <QValidator>
#include <cstddef>
#include <string>
#include <utility>

// Removes at once every typed or pasted character outside a set (a letter in the other case
// counts as outside), then cuts what was typed or pasted to maxLength (0: no limit); the caret
// stays in place. The edit itself sets no maximum length: that would cut a paste before its
// characters are filtered.
class CTypingFilter : public QValidator {
    Q_OBJECT
public:
    CTypingFilter(std::string allowed, std::size_t maxLength, QObject* parent)
        : QValidator(parent), m_allowed(std::move(allowed)), m_maxLength(maxLength) {}
    State validate(QString& input, int& pos) const override;

private:
    std::string m_allowed;
    std::size_t m_maxLength;
};
