// The hidden service codes typed in the About box, and the start code of the command line.
#pragma once

#include <string>

// The last 15 letters and digits typed, newest first, kept for the whole process.
class CKeyCodeBuffer {
public:
    enum class Match { None, MakerReserve, Manufacture, Information };
    static constexpr int kSize = 15;

    static CKeyCodeBuffer& Instance();

    // Takes one typed character; other than letters and digits are ignored. On a match the
    // buffer is emptied.
    Match Feed(char c);
    void Clear();
    std::string Contents() const { return m_chars; }

    // A code as the buffer holds it, and as it is typed.
    static std::string StoredCode(Match which);
    static std::string TypedCode(Match which);
    // The message of the information code.
    static std::string InformationText();

private:
    char m_chars[kSize + 1] = {};
};

// Whether a command-line argument is the maker-reserve start code ("-" or "/", any case).
bool IsStartCode(const std::string& argument);
