#include "cli/templates_cmd.h"

#include "app/clone_support_doc.h"
#include "app/templates.h"
#include "cli/commands.h"
#include "clone/model_info.h"
#include "sheets/channel_ops.h"

#include <cstdio>

namespace {

// "pmr446 (variants 1, 3, 5)"; only the variants of name when name is given.
std::string Listing(const std::vector<CTemplate>& templates, const std::string& only = {}) {
    std::string text;
    for (std::size_t i = 0; i < templates.size();) {
        const std::string& name = templates[i].name;
        std::string variants;
        std::size_t count = 0;
        for (; i < templates.size() && templates[i].name == name; ++i, ++count)
            variants += (variants.empty() ? "" : ", ") + std::to_string(templates[i].variant);
        if (!only.empty() && name != only) continue;
        text += (text.empty() ? "" : ", ") + name + " (variant" + (count == 1 ? " " : "s ") +
                variants + ")";
    }
    return text;
}

} // namespace

std::string TemplateNames() {
    const std::string names = Listing(FindTemplates());
    return names.empty() ? "none found" : names;
}

int RunNewFromTemplate(const CCliArgs& a) {
    const auto platform = UseTerminalPlatform(false);
    const std::vector<CTemplate> templates = FindTemplates();
    const CTemplate* t = FindTemplate(templates, a.templateName, a.variant);
    if (!t) {
        const std::string made = Listing(templates, a.templateName);
        if (made.empty())
            std::fprintf(stderr, "ktz30cli new: no template '%s'; the templates: %s\n",
                         a.templateName.c_str(), TemplateNames().c_str());
        else
            std::fprintf(stderr, "ktz30cli new: no template %s for variant %d; there is %s\n",
                         a.templateName.c_str(), a.variant, made.c_str());
        return kExitFailure;
    }
    auto doc = NewCliDocument();
    if (!LoadCliDocument(*doc, t->path) || !SaveCliDocument(*doc, a.output)) return kExitFailure;
    int on = 0;
    for (int n = 1; n <= ChannelsOfVariant(a.variant); ++n)
        on += IsChannelOn(doc->GetRoot(), n);
    std::printf("ktz30cli: wrote %s: template %s for %s, %d channel%s (%s)\n", a.output.c_str(),
                t->name.c_str(), CliVariantName(a.variant).c_str(), on, on == 1 ? "" : "s",
                t->path.c_str());
    return 0;
}
