// Stock configurations: clone data files shipped with the programs as data, one a template and
// variant ("pmr446.v5.hxq"), with a catalogue of their titles ("templates.txt": one template a
// line, its name, the variants it is made for and its title, separated by tabs).
#pragma once

#include <string>
#include <vector>

class CCloneSupportDoc;

struct CTemplate {
    std::string name;  // "pmr446"
    int variant = 0;   // the variant of its image
    std::string title; // "PMR446 analogue channels"
    std::string path;  // the clone data file
};

// The folders looked in, in order: "templates" beside the program, share/ktz30/templates of an
// installed copy, and the source tree's data/templates.
std::vector<std::string> TemplateFolders();
// The templates of the first of those folders that holds any, in catalogue order, each name's
// variants in ascending order.
std::vector<CTemplate> FindTemplates();
std::vector<CTemplate> TemplatesIn(const std::string& folder);
// The template of that name made for that variant; null when there is none.
const CTemplate* FindTemplate(const std::vector<CTemplate>& templates, const std::string& name,
                              int variant);

// A new, untitled document with the template's image: the open document is saved first if the
// user wants (false when cancelled), a file that does not load is told and changes nothing.
bool NewFromTemplate(CCloneSupportDoc& doc, const std::string& path);
