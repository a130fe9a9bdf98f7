#include "views/typing_filter.h"

#include "sheets/form.h"

QValidator::State CTypingFilter::validate(QString& input, int& pos) const {
    // Characters beyond ASCII are in no allowed set.
    std::string text;
    text.reserve(static_cast<std::size_t>(input.size()));
    for (QChar c : input)
        text.push_back(c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '\0');
    if (FilterTyping(text, pos, m_allowed, m_maxLength)) input = QString::fromLatin1(text);
    return Acceptable;
}
