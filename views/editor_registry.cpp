#include "views/editor_registry.h"

#include <map>

namespace {
std::map<std::string, EditorOpener>& Editors() {
    static std::map<std::string, EditorOpener> editors;
    return editors;
}
} // namespace

void RegisterEditor(const std::string& name, EditorOpener opener) {
    Editors()[name] = std::move(opener);
}

const EditorOpener* FindEditor(const std::string& name) {
    auto it = Editors().find(name);
    return it == Editors().end() || !it->second ? nullptr : &it->second;
}
