// A document of one variant holding its factory defaults, for tests; the variant the cloning
// program remembers stays as it is.
#pragma once

#include "app/clone_support_doc.h"
#include "clone/model_manager.h"

#include <memory>

inline std::unique_ptr<CZ30Doc> VariantDoc(int variant) {
    auto doc = std::make_unique<CZ30Doc>();
    doc->SetRememberVariant(false);
    doc->GetCloneManager()->GetModelManager()->SetVariant(variant, true);
    return doc;
}
