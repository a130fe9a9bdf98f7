#include "views/typing_filter.h"

#include "sheets/setting_forms.h"

QValidator::State CTypingFilter::validate(QString& input, int& pos) const {
    // Characters beyond ASCII are in no allowed set.
    std::string text;
    text.reserve(static_cast<std::size_t>(input.size()));
    bool changed = false;
    for (QChar c : input) {
        char ascii = c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '\0';
        if (m_upperCase && ascii >= 'a' && ascii <= 'z') {
            ascii = static_cast<char>(ascii - 'a' + 'A');
            changed = true;
        }
        text.push_back(ascii);
    }
    if (FilterTyping(text, pos, m_allowed) || changed) input = QString::fromLatin1(text);
    return Acceptable;
}
