// One link of the command route: a command target handles a command or its menu state, or
// declines so that the next target is asked.
#pragma once

// The state a command's menu item and toolbar button take.
struct CCmdUI {
    bool enabled = true;
    bool checked = false;
    bool visible = true; // for the items shown only while they are offered
};

class ICommandTarget {
public:
    virtual ~ICommandTarget() = default;
    // True when the command was handled here.
    virtual bool OnCmdMsg(int id) = 0;
    // True when this target owns the command; ui then holds its state.
    virtual bool OnUpdateCmdUI(int id, CCmdUI& ui) = 0;
};
