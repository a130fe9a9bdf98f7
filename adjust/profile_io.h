// The adjust utility's settings file (INI format) and its constants file "Const.ini".
#pragma once

#include <array>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

class ISettingsStore;

// The user's configuration folder of the suite, with a trailing separator.
std::string UserConfigFolder();

class clsCmcProfileIO {
public:
    std::string Name = "Profile.INI";
    std::string Path;
    std::string Section;
    // The settings behind the file: the program opens a store on GetMyProfile(); without one the
    // keys go to Platform().settings.
    ISettingsStore* store = nullptr;

    // Path = the user's configuration folder.
    void SetCurrentPath() { Path = UserConfigFolder(); }
    std::string GetMyProfile() const { return Path + Name; }

    bool saveData(const std::string& sKey, int sData);
    bool saveData(const std::string& sKey, long sData);
    bool saveData(const std::string& sKey, double sData);
    bool saveData(const std::string& sKey, bool sData);
    bool saveData(const std::string& sKey, const std::string& sData);
    bool saveData(const std::string& sKey, const char* sData) {
        return saveData(sKey, std::string(sData));
    }
    bool saveData(const std::string& sKey, const std::tm& sData);

    // Reads the key of Section into sData; a missing key takes sDefaultData when given.
    // Returns true when sData was set.
    bool loadData(const std::string& sKey, int& sData, std::optional<int> sDefaultData = {});
    bool loadData(const std::string& sKey, double& sData, std::optional<double> sDefaultData = {});
    bool loadData(const std::string& sKey, bool& sData, std::optional<bool> sDefaultData = {});
    bool loadData(const std::string& sKey, std::string& sData,
                  std::optional<std::string> sDefaultData = {});
    bool loadData(const std::string& sKey, std::tm& sData,
                  std::optional<std::tm> sDefaultData = {});

    static std::string StripTerminator(const std::string& text);
    // The value of key in section of a settings file's text (at most 255 characters, cut at a
    // NUL, trailing blanks dropped); nothing when the key is not there.
    static std::optional<std::string> FindKey(const std::string& text, const std::string& section,
                                              const std::string& key);

private:
    bool writeKey(const std::string& key, const std::string& value);
    std::optional<std::string> readKey(const std::string& key) const;
};

// The 21 coefficients of the TXF table, read from "Const.ini".
using RefCoefTable = std::array<double, 21>;
inline constexpr const char* kConstFileName = "Const.ini";
inline constexpr const char* kConstIniFirstLine = "KT-Z30 ADJ Rev.1.0";

// Parses the text of "Const.ini" (a byte-order mark, CR LF or CR line ends and blanks or tabs
// around the texts are fine); nothing when the first line is wrong or a value is not finite or
// beyond what the table computes with, with why ("line 4: 'inf' is not a finite number").
std::optional<RefCoefTable> ParseConstIni(const std::string& text, std::string* why = nullptr);
// The files "Const.ini" is looked for in, in order: the current folder, the program's folder,
// an installed copy's share/ktz30adj folder, the user's configuration folder.
std::vector<std::string> ConstIniPlaces();
// Reads the first of these that is there; only a regular file is read. Without a good one,
// report (when given) says why: where it was looked for, when none is there ("Looked for it
// in:" and a line per place), else what is wrong with the one found ("/x/Const.ini: line 1 is
// not ...").
std::optional<RefCoefTable> ReadConstIni(const std::vector<std::string>& places,
                                         std::string* report = nullptr);
