#include "clone/clone_manager_object.h"
#include "clone/eeprom_data_manager.h"

KT_IMPLEMENT_DYNCREATE(CCloneManagerObject, CObjectBase)
KT_IMPLEMENT_DYNCREATE(CEepromDataManager, CCloneManagerObject)
KT_IMPLEMENT_DYNCREATE(CZ30EepromDataManager, CEepromDataManager)

#include "clone/adjust_data_manager.h"
#include "clone/default_data_manager.h"

KT_IMPLEMENT_DYNCREATE(CDefaultDataManager, CCloneManagerObject)
KT_IMPLEMENT_DYNCREATE(CAdjustDataManager, CCloneManagerObject)
