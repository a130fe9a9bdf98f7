// Common settings and the maker area: "CommonSet" and "MakerR". (Filled by the common-map work.)
#include "radiomap/radio_data_manager.h"

void CZ30RadioDataManager::BuildCommonSet(CNode*) {}
void CZ30RadioDataManager::BuildMakerR(CNode*) {}
void CZ30RadioDataManager::DecodeKeyDisp(CNode*, CByteImage&) {}
void CZ30RadioDataManager::EncodeKeyDisp(CNode*, CByteImage&) {}
void CZ30RadioDataManager::DecodeCommon1(CNode*, CByteImage&) {}
void CZ30RadioDataManager::EncodeCommon1(CNode*, CByteImage&) {}
void CZ30RadioDataManager::DecodeCommon2(CNode*, CByteImage&) {}
void CZ30RadioDataManager::EncodeCommon2(CNode*, CByteImage&) {}
void CZ30RadioDataManager::DecodeExpert(CNode*, CByteImage&) {}
void CZ30RadioDataManager::EncodeExpert(CNode*, CByteImage&) {}
void CZ30RadioDataManager::DecodeMakerR(CNode*, CByteImage&) {}
void CZ30RadioDataManager::EncodeMakerR(CNode*, CByteImage&) {}
