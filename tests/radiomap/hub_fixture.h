// A document's hub as the tests need it: image, factory defaults, radio data and model managers,
// initialised and loaded with a variant's factory image.
#pragma once

#include "clone/adjust_data_manager.h"
#include "clone/byte_image.h"
#include "clone/clone_manager.h"
#include "clone/eeprom_data_manager.h"
#include "clone/model_manager.h"
#include "clone/z30_default_data_manager.h"
#include "params/node_access.h"
#include "radiomap/radio_data_manager.h"

#include <memory>
#include <string>

namespace testhub {

// A hub with the given variant's factory image loaded and decoded into the tree. The adjust
// manager is optional (null leaves the slot empty).
inline std::unique_ptr<CZ30CloneManager> MakeHub(int variant,
                                                 CAdjustDataManager* adjust = nullptr) {
    auto hub = std::make_unique<CZ30CloneManager>();
    hub->SetManagers(new CZ30EepromDataManager, new CZ30DefaultDataManager, adjust,
                     new CZ30RadioDataManager, new CZ30ModelManager, nullptr, nullptr);
    hub->Init();
    hub->GetModelManager()->SetVariant(variant, false);
    hub->ResetToDefaults();
    return hub;
}

inline CZ30RadioDataManager* RadioData(const CZ30CloneManager& hub) {
    return static_cast<CZ30RadioDataManager*>(hub.GetRadioDataManager());
}

inline CNode* Node(const CZ30CloneManager& hub, const std::string& path) {
    return GetNode(hub.GetRoot(), path);
}

inline int Value(const CZ30CloneManager& hub, const std::string& path) {
    CNode* node = Node(hub, path);
    return node ? node->GetValue() : -1;
}

inline void SetValue(const CZ30CloneManager& hub, const std::string& path, int code) {
    if (CNode* node = Node(hub, path)) node->SetValue(code);
}

} // namespace testhub
