// ktz30cli new --template: a clone data file from a stock configuration.
#pragma once

#include <string>

struct CCliArgs;

// Writes the template's image to the output file; 1 when there is no such template for the
// variant or the file cannot be saved.
int RunNewFromTemplate(const CCliArgs& a);
// The templates found, for the help: "pmr446 (variants 1, 3, 5), pmr446-16 (variant 5)".
std::string TemplateNames();
