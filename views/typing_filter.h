// A line edit's typing filter: what is typed or pasted keeps only the characters of a set.
#pragma once

#include <QValidator>
#include <string>
#include <utility>

// Removes at once every typed or pasted character outside a set; the caret stays in place.
// With upperCase, letters typed in lower case count as their capitals (DTMF codes).
class CTypingFilter : public QValidator {
    Q_OBJECT
public:
    CTypingFilter(std::string allowed, bool upperCase, QObject* parent)
        : QValidator(parent), m_allowed(std::move(allowed)), m_upperCase(upperCase) {}
    State validate(QString& input, int& pos) const override;

private:
    std::string m_allowed;
    bool m_upperCase;
};
