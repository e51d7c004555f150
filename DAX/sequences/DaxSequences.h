#pragma once
// Playing sequence files and single events from C++ and from the script
// functions: the helpers behind "DoSequence", "DoEvent", "DoLuaEvent" and
// "DoLuaTimerEvent", and the form a room uses with its own interpolator,
// creator and channel.
//
// Every event these helpers post has kDeleteWhenDone (the channel deletes
// it once done); `chain` adds kChainNext. Channel 0 means the game layer's
// system channel (CDaxServices::GetSystemChannel). A post that fails (no
// such channel) deletes the event and returns the channel's error (16).
//
// File names are data names (BuildGamePathFromData); callers do not make a
// game path of them first. A file read once is not read again: its entries
// come from the sequence cache (DaxSequenceReader.h); the events themselves
// are made anew at every call.

#include "PIM/app/CxEvent.h"

class CxEventSequenceFile;
class CxInterpolator;

// A new sequence (with `flags`) loaded from `file` with `interpolator` (null
// for none); `code` (optional) receives the load's result (see
// CxEventSequenceFile::Load). Null only when memory ran out. The sequence is
// whole even when its file could not be read: empty, done as soon as it starts.
CxEventSequenceFile* LoadSequence(const char* file, const CxInterpolator* interpolator, int* code = nullptr,
                                  uint32_t flags = 0);

// What a room passes for its own sequences (its interpolator, itself as the
// extra creator, its channel); the defaults are those of DoSequence.
struct ST_SEQUENCE_POST
{
    const CxInterpolator* interpolator = nullptr;
    CxEventCreator* extra = nullptr;
    PimChannelId channel = 0;
    bool chain = false;
    // When given, receives the private channel of the posted sequence (to
    // listen to its notices); 0 when nothing was posted.
    PimChannelId* sequenceChannel = nullptr;
};

// Loads `file` as `post` says and posts it. A file that cannot be read is
// still posted (an empty sequence, done at once), so whoever waits for the
// sequence to end is not left waiting. The load's error when it failed,
// else the post's result.
int PostSequenceFile(const char* file, const ST_SEQUENCE_POST& post);

// PostSequenceFile with the game layer's global interpolator on `channel`.
int DoSequence(const char* file, PimChannelId channel = 0);

// The event of `text` (CreateEventFromText, no interpolator) posted on
// `channel`; 16 when the text makes no event.
int DoEvent(const char* text, PimChannelId channel = 0, bool chain = false);
// A CxLuaEvent of `text`, posted.
int DoLuaEvent(const char* text, PimChannelId channel = 0, bool chain = false);
// A CxLuaTimerEvent, posted.
int DoLuaTimerEvent(uint32_t duration, uint32_t interval, const char* text, PimChannelId channel = 0,
                    bool chain = false);
