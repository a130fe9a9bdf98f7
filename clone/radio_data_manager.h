// The bridge between the image and the parameter tree as the hub sees it; the radio's own map
// (radiomap/) builds the tree and converts it section by section. What needs no knowledge of the
// radio is here: the store of the tree's nodes, the manager's variant, the copies from the
// variant's default image and the search for the settings a byte holds.
#pragma once

#include "clone/byte_image.h"
#include "clone/clone_manager_object.h"
#include "params/node.h"
#include "params/set_result.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
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
    // an empty list where no setting lives (or the manager has no map). Found by flipping each
    // bit of the byte (each nibble, the whole byte) in a live image of the current variant
    // (LiveImage, MakeLive) and seeing which values change; what the image does not keep for the
    // variant is left out. Remembered per map, variant and address for the rest of the run.
    std::vector<std::vector<std::string>> NodePathsAt(const std::vector<std::uint32_t>& addresses);

    // The current variant: a scratch manager's own, else the hub's; 0 without a hub.
    int Variant() const;
    // Copies from the current variant's default image into the given image.
    void CopyDefaultBit(CByteImage& image, std::uint32_t address, unsigned bit) const;
    void CopyDefaultBlock(CByteImage& image, std::uint32_t address, std::uint32_t n) const;

    // Creates a node, keeps it in the store and appends it to parent (when given).
    template <class T, class... Args> T* New(CNode* parent, Args&&... args) {
        auto* node = new T(std::forward<Args>(args)...);
        Adopt(parent, node);
        return node;
    }
    // The same for a node made elsewhere (the field tables' builder).
    CNode* Adopt(CNode* parent, CNode* node) {
        m_store.emplace_back(node);
        if (parent) parent->AddChild(node);
        return node;
    }
    std::size_t NodeCount() const { return m_store.size(); }

protected:
    // Makes this manager a scratch one of the hub's, with its own variant (0 or more) that the
    // hub's does not follow, and builds its tree.
    void MakeScratch(CCloneManagerTemplate* hub, int variant);
    // Takes an image's variant: a scratch manager as its own, any other for the hub's model.
    void TakeVariant(int variant);
    // What NodePathsAt flips the bits in: the image a tree of the variant starts from (the hub's
    // default image), and what then makes every byte count when the tree is written.
    virtual const CByteImage* LiveImage(int variant) const { return DefaultImage(variant); }
    virtual void MakeLive(CNode* /*root*/) {}

    CNode m_root;

private:
    const CByteImage* DefaultImage(int variant) const; // the hub's, or null
    std::vector<std::unique_ptr<CNode>> m_store;
    int m_scratchVariant = -1; // a scratch manager's variant; -1 follows the hub
};
