#include "app/templates.h"

#include "app/clone_support_doc.h"
#include "core/files.h"
#include "core/platform.h"

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string_view>
#include <tuple>

namespace fs = std::filesystem;

namespace {

constexpr const char* kCatalogue = "templates.txt";
constexpr const char* kCaption = "KT-Z30";

struct CEntry {
    std::string name;
    std::string title;
};

// The catalogue's lines: name, tab, variants, tab, title; "#" begins a comment line.
std::vector<CEntry> ReadCatalogue(const fs::path& folder) {
    std::vector<CEntry> entries;
    std::string text;
    if (ReadFileBounded((folder / kCatalogue).string(), &text) != KtRead::Ok) return entries;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const auto tab = line.find('\t');
        const auto tab2 = tab == std::string::npos ? tab : line.find('\t', tab + 1);
        entries.push_back({line.substr(0, tab),
                           tab2 == std::string::npos ? std::string() : line.substr(tab2 + 1)});
    }
    return entries;
}

// "pmr446.v5.hxq" gives "pmr446" and 5.
bool ParseFileName(const std::string& file, std::string* name, int* variant) {
    constexpr std::string_view kExt = ".hxq";
    if (file.size() < kExt.size() + 4 || file.substr(file.size() - kExt.size()) != kExt)
        return false;
    const std::string stem = file.substr(0, file.size() - kExt.size());
    const auto dot = stem.rfind(".v");
    if (dot == std::string::npos || dot == 0 || dot + 3 != stem.size()) return false;
    const char v = stem[dot + 2];
    if (v < '0' || v > '5') return false;
    *name = stem.substr(0, dot);
    *variant = v - '0';
    return true;
}

} // namespace

std::vector<std::string> TemplateFolders() {
    std::vector<std::string> folders;
    if (const std::string program = ProgramFolder(); !program.empty())
        folders.push_back((fs::path(program) / "templates").string());
    if (const std::string data = InstalledDataFolder("ktz30"); !data.empty())
        folders.push_back((fs::path(data) / "templates").string());
#ifdef KT_TEMPLATE_DIR
    folders.push_back(KT_TEMPLATE_DIR);
#endif
    return folders;
}

std::vector<CTemplate> TemplatesIn(const std::string& folder) {
    std::vector<CTemplate> found;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, ec)) {
        CTemplate t;
        if (!e.is_regular_file(ec) ||
            !ParseFileName(e.path().filename().string(), &t.name, &t.variant))
            continue;
        t.path = e.path().string();
        t.title = t.name;
        found.push_back(std::move(t));
    }
    // Catalogue order (templates it does not list last, by name), then variant.
    const std::vector<CEntry> catalogue = ReadCatalogue(folder);
    auto rank = [&](const CTemplate& t) {
        const auto it = std::find_if(catalogue.begin(), catalogue.end(),
                                     [&](const CEntry& e) { return e.name == t.name; });
        return it - catalogue.begin();
    };
    for (CTemplate& t : found) {
        const auto r = static_cast<std::size_t>(rank(t));
        if (r < catalogue.size() && !catalogue[r].title.empty()) t.title = catalogue[r].title;
    }
    std::sort(found.begin(), found.end(), [&](const CTemplate& a, const CTemplate& b) {
        return std::tuple(rank(a), a.name, a.variant) < std::tuple(rank(b), b.name, b.variant);
    });
    return found;
}

std::vector<CTemplate> FindTemplates() {
    for (const std::string& folder : TemplateFolders())
        if (std::vector<CTemplate> found = TemplatesIn(folder); !found.empty()) return found;
    return {};
}

const CTemplate* FindTemplate(const std::vector<CTemplate>& templates, const std::string& name,
                              int variant) {
    const auto it = std::find_if(templates.begin(), templates.end(), [&](const CTemplate& t) {
        return t.name == name && t.variant == variant;
    });
    return it == templates.end() ? nullptr : &*it;
}

bool NewFromTemplate(CCloneSupportDoc& doc, const std::string& path) {
    if (!doc.SaveModified()) return false;
    try {
        doc.LoadFile(path);
    } catch (const CArchiveFormatError& e) {
        std::string text = e.what();
        if (!e.Reason().empty()) text += "\n" + e.Reason();
        Platform().prompts->MessageBox(text, kCaption, KtButtons::Ok, KtIcon::Exclamation);
        return false;
    }
    doc.OnNewDocument(); // untitled: Save asks for a name
    doc.SetModifiedFlag(false);
    doc.TreeChanged(CChangeReason::New);
    return true;
}
