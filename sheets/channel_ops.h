// The row operations of the memory channel sheets on the parameter tree: blank, move, delete and
// insert channels with the priority and emergency attributes following them, and the one-channel
// record the sheets exchange through the clipboard. The command line runs the same operations.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class CNode;
struct CFieldResult;

constexpr int kMemoryChannels = 36;

// The codes of a channel's tone squelch ("CTonRx", "CTonTx"): 0 to 50 the CTCSS tones, the user
// tone, off, and a digital code as its three octal digits read as a decimal number above the
// base of its polarity.
constexpr int kToneUser = 51;
constexpr int kToneOff = 1000;
constexpr int kDcsNormal = 2000;
constexpr int kDcsInverted = 3000;
constexpr int kDcsEnd = 4000;

// The questions the sheets ask before a delete or an insert loses a channel in use.
extern const char* const kDeleteChannelQuestion;   // "Delete CH ?"
extern const char* const kChannelOverflowQuestion; // "CH overflow\nLast channel will be deleted."

// The channel attributes kept under "Mch": channel number from 1, 0 for none.
extern const char* const kAttrPrioA; // "PrioA"
extern const char* const kAttrPrioB; // "PrioB"
extern const char* const kAttrEmr;   // "Emr"

// "Mch.CH<n>"; null when the tree has no such channel.
CNode* ChannelNode(CNode* root, int n);
bool IsChannelOn(CNode* root, int n);
int ChannelAttribute(CNode* root, const char* attribute);
void SetChannelAttribute(CNode* root, const char* attribute, int n);

// Every field of channel from into channel to.
void CopyChannel(CNode* root, int from, int to);
// Channel n gets the blank channel "Mch.CH0".
void ResetChannel(CNode* root, int n);
// Deletes channel n of the first rows channels: the later ones move up, the last becomes blank,
// and an attribute on a later channel follows it. False (nothing done) for n outside 1..rows.
bool DeleteChannel(CNode* root, int n, int rows);
// Inserts a blank channel at n: the later ones move down and the last one is lost; an attribute
// on n or later (but not on the last) follows its channel.
bool InsertChannel(CNode* root, int n, int rows);
// The same for several channels (in any order, each once): every one deleted, or a blank
// inserted before every one, as the single operation run from the last channel up. False
// (nothing done) when one lies outside 1..rows.
bool DeleteChannels(CNode* root, std::vector<int> channels, int rows);
bool InsertChannels(CNode* root, std::vector<int> channels, int rows);

// A set of channels as the sheets name it: "CH 5", "CH 3-5" for a run, "3 CH" otherwise.
std::string ChannelsText(const std::vector<int>& channels);

// The clipboard record of one channel: both frequency texts zero-terminated in their fields,
// every other field as a 32-bit little-endian integer; the unused bytes are zero.
constexpr std::size_t kChannelRecordSize = 280;
using CChannelRecord = std::array<std::uint8_t, kChannelRecordSize>;
extern const char* const kLmrClipboardFormat; // "NQ-Z30LMRClipboadData"
extern const char* const kPmrClipboardFormat; // "NQ-Z30PMRClipboadData"

CChannelRecord PackChannelRecord(CNode* root, int n);
// At least a whole record, with both frequency texts ending inside their fields.
bool IsChannelRecord(std::span<const std::uint8_t> bytes);
// Stores a record into channel n (the frequencies from their texts, onto the raster; a whole kHz
// on no raster as it stands); false and nothing changed when the bytes are no record, a
// frequency text is no frequency, or there is no channel n. results, when given, gets what the
// setters made of the two texts (or the one refused) and of every integer not stored as given.
bool UnpackChannelRecord(CNode* root, int n, std::span<const std::uint8_t> bytes,
                         std::vector<CFieldResult>* results = nullptr);
// The records of several channels one after the other, and how many whole records bytes holds.
std::vector<std::uint8_t> PackChannelRecords(CNode* root, const std::vector<int>& channels);
std::size_t ChannelRecordCount(std::span<const std::uint8_t> bytes);

// The channels k pasted rows go to when the rows selected are selected (ascending, not empty)
// on a sheet of rows rows: one row fills every selected one; else the rows go to the first
// selected channel and those after it, and the ones past the last row are dropped (counted).
std::vector<int> PasteTargets(std::size_t k, const std::vector<int>& selected, int rows,
                              int* dropped);

// A row operation named by words, as a script gives it: "clear N", "delete N", "insert N",
// "copy FROM TO"; N and FROM may be a run "3-5". It runs without questions: delete and insert
// lose what they lose.
enum class CChannelVerb { Clear, Delete, Insert, Copy };
struct CChannelCommand {
    CChannelVerb verb = CChannelVerb::Clear;
    int channel = 0; // the channel acted on; for copy the source
    int to = 0;      // copy's target
    int last = 0;    // the end of a run from channel; 0 for the one channel
    int Count() const { return last > channel ? last - channel + 1 : 1; }
};
// False with a message for an unknown verb, a missing or extra word, or a channel that is no
// whole number.
bool ParseChannelCommand(const std::vector<std::string>& words, CChannelCommand* command,
                         std::string* error);
// Runs the command on the tree of a radio whose memory sheet has rows rows, with the sheets'
// attribute moves; copy puts the clipboard record of one channel into the other. False with a
// message, and nothing changed, for a channel outside 1..rows.
bool RunChannelCommand(CNode* root, const CChannelCommand& command, int rows, std::string* error);
// The channel a command changes: copy's target, else the channel named.
inline int ChannelCommandTarget(const CChannelCommand& command) {
    return command.verb == CChannelVerb::Copy ? command.to : command.channel;
}
// The edit's name ("Delete CH 5", "Copy CH 2 to CH 7") and the line that reports it done
// ("Deleted CH 5.", "Copied CH 2 to CH 7.").
std::string ChannelCommandLabel(const CChannelCommand& command);
std::string ChannelCommandDoneText(const CChannelCommand& command);
