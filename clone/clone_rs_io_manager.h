// The serial clone I/O manager: clone read, write and info as whole operations.
#pragma once

#include "clone/clone_manager_object.h"

class CCloneRsIoManager : public CCloneManagerObject {
    KT_DECLARE_CLASS(CCloneRsIoManager)
};
