// What the fuzz targets that set their input into a document share: a 16-channel radio of each
// family and a 1-channel one, kept for the whole run, each starting every input from its factory
// image.
#pragma once

#include "tests/support/variant_doc.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

inline void Check(bool ok) {
    if (!ok) std::abort();
}

struct CFuzzDoc {
    CZ30Doc& doc;
    const std::vector<std::uint8_t>& factory; // the image it holds again
};

// The document `pick` chooses, holding its factory image again.
inline CFuzzDoc FreshFuzzDoc(std::uint8_t pick) {
    static std::vector<std::unique_ptr<CZ30Doc>> docs;
    static std::vector<std::vector<std::uint8_t>> factory;
    if (docs.empty())
        for (int variant : {5, 4, 1}) {
            docs.push_back(VariantDoc(variant));
            factory.push_back(docs.back()->ImageBytes());
        }
    const std::size_t which = pick % docs.size();
    docs[which]->RestoreImage(factory[which], CChangeReason::Load);
    return {*docs[which], factory[which]};
}
