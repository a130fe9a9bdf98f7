// The text form of a clone data file's values, as `ktz30cli dump` writes it (path, tab, code,
// tab, text; one value a line), read back and set in a document.
#pragma once

#include "app/clone_support_doc.h"

#include <string>
#include <vector>

struct CDumpLine {
    int line = 0; // 1 for the first line of the text
    std::string path;
    int code = 0;
    std::string text;
};

struct CDumpText {
    std::vector<CDumpLine> lines;
    // Lines that are not of the form: "line 4: not PATH<tab>CODE<tab>TEXT".
    std::vector<std::string> errors;
};

// Every value in tree order, one line each; unless all, without "Mch.CH0", channels beyond the
// variant's and what the variant does not store.
std::string DumpText(const CCloneSupportDoc& doc, bool all);

// Lines starting with # and empty lines are left out; a CR before the line end is dropped.
CDumpText ParseDumpText(const std::string& text);

struct CDumpApplied {
    CEditStep step;
    std::vector<int> lineOf;  // the dump line of each outcome of the step
    std::vector<bool> byCode; // each outcome: given as its code
    // What the user is told besides: "line 7: Mch.CH1.RfPwr: code 1 and text 'High' disagree;
    // the text is taken", "line 40: Mch.CH3.FreqRx: channel 3 is off; left as it is".
    std::vector<std::string> notes;
};

// Sets the lines in the document as one edit. A line whose value the document holds already is
// left out; a value without texts (its code twice) takes the code; otherwise the text is set,
// and a code that disagrees with it is noted. A field of a channel that is off when its line
// comes is left as it is, noted where the line gives another value.
CDumpApplied ApplyDumpLines(CCloneSupportDoc& doc, const std::vector<CDumpLine>& lines,
                            const std::string& label);
