// The bridge between the image and the parameter tree as the hub sees it; the radio's own map
// (radiomap/) builds the tree and converts it section by section.
#pragma once

#include "clone/byte_image.h"
#include "clone/clone_manager_object.h"
#include "params/node.h"
#include "params/set_result.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CRadioDataManager : public CCloneManagerObject {
    KT_DECLARE_CLASS(CRadioDataManager)
public:
    // The init hook builds the tree.
    void Init() override { BuildTree(); }
    virtual void BuildTree() {}
    virtual CNode* GetRoot() { return &m_root; }
    virtual int TreeToImage(CNode* /*root*/, CByteImage& /*image*/) { return 0; }
    virtual int ImageToTree(CNode* /*root*/, CByteImage& /*image*/) { return 0; }
    // Whether the image of the current variant keeps the value of the node at path, given the
    // tree's channel switches. The generic manager keeps everything.
    virtual CKeep Keeps(const std::string& /*path*/) { return {}; }
    // Brings the values derived from the node at path up to date after it changed (a two-tone
    // centre moves its decoder window); every edit calls it for what it set.
    virtual void UpdateDependents(const std::string& /*path*/) {}
    // A manager with a tree of its own for the given variant, for work that must not touch the
    // document's tree; null when the manager has no map.
    virtual std::unique_ptr<CRadioDataManager> NewScratch(int /*variant*/) { return nullptr; }
    // The settings each byte holds, as node paths ("Mch.CH3.FreqRx"), for the addresses given;
    // an empty list where no setting lives (or the manager has no map).
    virtual std::vector<std::vector<std::string>>
    NodePathsAt(const std::vector<std::uint32_t>& addresses) {
        return std::vector<std::vector<std::string>>(addresses.size());
    }

protected:
    CNode m_root;
};
