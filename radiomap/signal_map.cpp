// Scan, DTMF autodial, two-tone and five-tone signalling. (Filled by the signalling-map work.)
#include "radiomap/radio_data_manager.h"

void CZ30RadioDataManager::BuildScanList(CNode*) {}
void CZ30RadioDataManager::BuildDtmfAutoD(CNode*) {}
void CZ30RadioDataManager::Build2ToneCodeCh(CNode*) {}
void CZ30RadioDataManager::Build5ToneCodeCh(CNode*) {}
void CZ30RadioDataManager::DecodeDtmfAutodial(CNode*, CByteImage&) {}
void CZ30RadioDataManager::EncodeDtmfAutodial(CNode*, CByteImage&) {}
void CZ30RadioDataManager::DecodeDtmfAutodial(CNode*, CByteImage&, int) {}
void CZ30RadioDataManager::EncodeDtmfAutodial(CNode*, CByteImage&, int) {}
void CZ30RadioDataManager::DecodeDtmfCommon(CNode*, CByteImage&) {}
void CZ30RadioDataManager::EncodeDtmfCommon(CNode*, CByteImage&) {}
void CZ30RadioDataManager::DecodeScan(CNode*, CByteImage&) {}
void CZ30RadioDataManager::EncodeScan(CNode*, CByteImage&) {}
void CZ30RadioDataManager::Decode2ToneRxCodeCh(CNode*, CByteImage&) {}
void CZ30RadioDataManager::Encode2ToneRxCodeCh(CNode*, CByteImage&) {}
void CZ30RadioDataManager::Decode2ToneRxCodeCh(CNode*, CByteImage&, int) {}
void CZ30RadioDataManager::Encode2ToneRxCodeCh(CNode*, CByteImage&, int) {}
void CZ30RadioDataManager::Decode2ToneTxCode(CNode*, CByteImage&) {}
void CZ30RadioDataManager::Encode2ToneTxCode(CNode*, CByteImage&) {}
void CZ30RadioDataManager::Decode2ToneRxCommon(CNode*, CByteImage&) {}
void CZ30RadioDataManager::Encode2ToneRxCommon(CNode*, CByteImage&) {}
void CZ30RadioDataManager::Decode5ToneRxCodeCh(CNode*, CByteImage&) {}
void CZ30RadioDataManager::Encode5ToneRxCodeCh(CNode*, CByteImage&) {}
void CZ30RadioDataManager::Decode5ToneRxCodeCh(CNode*, CByteImage&, int) {}
void CZ30RadioDataManager::Encode5ToneRxCodeCh(CNode*, CByteImage&, int) {}
void CZ30RadioDataManager::Decode5ToneTxCodeCh(CNode*, CByteImage&) {}
void CZ30RadioDataManager::Encode5ToneTxCodeCh(CNode*, CByteImage&) {}
void CZ30RadioDataManager::Decode5ToneTxCodeCh(CNode*, CByteImage&, int) {}
void CZ30RadioDataManager::Encode5ToneTxCodeCh(CNode*, CByteImage&, int) {}
void CZ30RadioDataManager::Decode5ToneFormat(CNode*, CByteImage&) {}
void CZ30RadioDataManager::Encode5ToneFormat(CNode*, CByteImage&) {}
void CZ30RadioDataManager::Decode5ToneFormat(CNode*, CByteImage&, int) {}
void CZ30RadioDataManager::Encode5ToneFormat(CNode*, CByteImage&, int) {}
void CZ30RadioDataManager::Decode5ToneUsrTon(CNode*, CByteImage&) {}
void CZ30RadioDataManager::Encode5ToneUsrTon(CNode*, CByteImage&) {}
void CZ30RadioDataManager::Decode5ToneUsrTon(CNode*, CByteImage&, int) {}
void CZ30RadioDataManager::Encode5ToneUsrTon(CNode*, CByteImage&, int) {}
void CZ30RadioDataManager::Decode5ToneCommon(CNode*, CByteImage&) {}
void CZ30RadioDataManager::Encode5ToneCommon(CNode*, CByteImage&) {}
