// The bridge between the image and the parameter tree as the hub sees it; the radio's own map
// (radiomap/) builds the tree and converts it section by section.
#pragma once

#include "clone/byte_image.h"
#include "clone/clone_manager_object.h"
#include "params/node.h"

class CRadioDataManager : public CCloneManagerObject {
    KT_DECLARE_CLASS(CRadioDataManager)
public:
    // The init hook builds the tree.
    void Init() override { BuildTree(); }
    virtual void BuildTree() {}
    virtual CNode* GetRoot() { return &m_root; }
    virtual int TreeToImage(CNode* /*root*/, CByteImage& /*image*/) { return 0; }
    virtual int ImageToTree(CNode* /*root*/, CByteImage& /*image*/) { return 0; }

protected:
    CNode m_root;
};
