// Takes the master list's XML reply apart by plain string search, tag by tag.
#pragma once
#include <array>

#include "common/event_pump.h"
#include "common/text.h"
#include "servers/server_table.h"

namespace quorvex {

// The twelve opening tags, in the order they are scanned.
extern const std::array<Text, 12> kServerListTags;

// Stores the k-th occurrence of `tag` into record k, yielding once per occurrence.
// Throws on a position beyond 32,767, an opening tag without a later "</", a 17th
// occurrence, or a number that does not convert; records already filled keep their values.
void ExtractTag(const Text& reply, const Text& tag, ServerTable& table, EventPump& pump);

// ExtractTag for each of the twelve tags; a failing scan ends only that tag. A non-empty
// reply first clears every record's marks of what the latest reply wrote.
void ParseServerList(const Text& reply, ServerTable& table, EventPump& pump);

// Every "," of the player names becomes three blanks.
void NormalisePlayerNames(ServerRecord& record);
// "*" when the text's leading number is exactly 1, else one blank; a "*" stays "*".
void NormaliseDedicated(ServerRecord& record);

}  // namespace quorvex
