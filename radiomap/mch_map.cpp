// Memory channels: the "Mch" branch and its codec. (Filled by the memory-map work.)
#include "radiomap/radio_data_manager.h"

void CZ30RadioDataManager::BuildMch(CNode*) {}
void CZ30RadioDataManager::SetDefaultChannel(CNode*) {}
void CZ30RadioDataManager::DecodeMch(CNode*, CByteImage&) {}
void CZ30RadioDataManager::EncodeMch(CNode*, CByteImage&) {}
void CZ30RadioDataManager::DecodeChannel(CNode*, CByteImage&, int) {}
void CZ30RadioDataManager::EncodeChannel(CNode*, CByteImage&, int) {}
