#include "DAX/sprites/DaxSpriteFile.h"

#include "DAX/base/CDaxServices.h"
#include "PIM/core/CxOptionSection.h"
#include "PIM/core/PimNumbers.h"
#include "PIM/core/Pimstr.h"
#include "PIM/display/CxSprite.h"

#include <algorithm>
#include <cstring>

namespace {

int Clamp(int value, int low, int high)
{
    return std::max(low, std::min(value, high));
}

// A file name as data authors write it (at most 255 characters, what the
// store reads): doubled backslashes made single, then the variables filled in.
CxString FileNameValue(CxOptions& store, const char* section, const char* key)
{
    CxString text = store.GetString(section, key, "");
    text.Replace("\\\\", "\\");
    return DaxServices().Interpolate(text.GetText());
}

// True when `text` starts (after blanks) with a number PimParseInt reads.
bool StartsWithNumber(const char* text)
{
    while (*text == ' ' || *text == '\t')
        ++text;
    if (*text == '+' || *text == '-')
        ++text;
    return *text >= '0' && *text <= '9';
}

// Up to three comma-separated integers of "Frame%03d", read up to the first
// piece that is no number (those after it count as missing, the values keep
// what they hold); how many were read.
int ParseFrameValue(const char* text, int values[3])
{
    int count = 0;
    for (const char* piece = text; piece && count < 3 && StartsWithNumber(piece); ++count) {
        values[count] = PimParseInt(piece);
        piece = std::strchr(piece, ',');
        if (piece)
            ++piece;
    }
    return count;
}

// The number of a key named as "Frame%03d" writes it ("Frame007",
// "Frame1234"; any case): three digits, or more without a leading zero.
bool FrameKeyNumber(const char* name, int& number)
{
    static constexpr char kPrefix[] = "frame";
    if (PimStrLen(name) < 8)
        return false;
    for (int i = 0; i < 5; ++i)
        if ((name[i] | 0x20) != kPrefix[i])
            return false;
    const char* digits = name + 5;
    const size_t count = PimStrLen(digits);
    if (count > 5 || (count > 3 && digits[0] == '0'))
        return false;
    number = 0;
    for (const char* d = digits; *d; ++d) {
        if (*d < '0' || *d > '9')
            return false;
        number = number * 10 + (*d - '0');
    }
    return true;
}

// Milliseconds one frame lasts at `rate`, within what an action can hold.
int32_t FrameDuration(float rate)
{
    const double ms = 1000.0 / static_cast<double>(rate);
    return ms >= 2147483647.0 ? INT32_MAX : static_cast<int32_t>(ms);
}

} // namespace

CxString DaxStateSection(int number)
{
    return CxString::Formatted("State%03d", number);
}

int ReadDaxSpriteHeader(CxOptions& store, ST_DAX_SPRITE_HEADER& header, CxError& reporter, bool readPreload)
{
    const char* section = DAX_SPRITE_SECTION;
    const char* file = store.GetFileName();

    CxString name = store.GetString(section, "Name", header.name.GetText());
    if (name.Length() > DAX_SPRITE_NAME_LENGTH)
        name.Truncate(DAX_SPRITE_NAME_LENGTH);
    header.name = name;
    header.controlId = store.GetInt(section, "ControlID", header.controlId);
    header.autoRegister = store.GetInt(section, "AutoRegisterEventName", 1) != 0;
    header.autoStopSounds = store.GetInt(section, "AutoStopStateSounds", header.autoStopSounds ? -1 : 0) != 0;
    header.manualSounds = store.GetInt(section, "ManualStateSounds", header.manualSounds ? 1 : 0) != 0;
    store.GetPoint(section, "Position", &header.position.x, &header.position.y, -1, -1);

    // Read before the state count is known to be sane, checked after it.
    CxOptions::IntList written;
    if (readPreload)
        store.GetIntList(section, "PreLoadList", &written);

    header.hasMaskPosition = store.FindVariable(section, "MaskColorPosition") != nullptr;
    header.maskPosition = CxPoint();
    if (header.hasMaskPosition)
        store.GetPoint(section, "MaskColorPosition", &header.maskPosition.x, &header.maskPosition.y, 0, 0);
    header.maskOnly = store.GetInt(section, "MaskOnly", header.maskOnly ? 1 : 0) != 0;
    header.numStates = store.GetInt(section, "NumStates", 0);
    header.movieFlags = static_cast<uint32_t>(store.GetInt(section, "MovieDriverFlags", 0));

    header.preload.Clear();
    if (header.numStates < 1) {
        header.numStates = 0;
        return reporter.SetError(PIM_ERR_UNKNOWN, "No states found in %s", file);
    }
    if (header.numStates > DAX_MAX_SPRITE_STATES) {
        const int declared = header.numStates;
        header.numStates = 0;
        return reporter.SetError(PIM_ERR_UNKNOWN, "%s declares %d states; a sprite has at most %d", file, declared,
                                 DAX_MAX_SPRITE_STATES);
    }
    for (auto* node = written.GetFirst(); node; node = node->GetNext()) {
        const int state = node->GetElement();
        if (state < 0 || state >= header.numStates) {
            reporter.SetError(PIM_ERR_UNKNOWN, "PreLoadList of %s names state %d; its states are 0 to %d", file,
                              state, header.numStates - 1);
            continue;
        }
        if (!header.preload.Append(state))
            return reporter.SetError(PIM_ERR_OUT_OF_MEMORY, "No memory for the PreLoadList of %s", file);
    }
    return PIM_OK;
}

void ReadDaxState(CxOptions& store, int number, ST_DAX_STATE_DESC& desc)
{
    const CxString sectionName = DaxStateSection(number);
    const char* section = sectionName.GetText();
    // A state the file does not describe is all defaults, without a lookup a
    // key (unless the store writes its defaults back, export mode).
    if (!store.IsExportMode() && !store.FindSection(section)) {
        desc = ST_DAX_STATE_DESC();
        return;
    }

    desc.fileName = FileNameValue(store, section, "FileName");
    desc.stateName = store.GetString(section, "StateName", "");
    if (desc.stateName.Length() > DAX_STATE_NAME_LENGTH)
        desc.stateName.Truncate(DAX_STATE_NAME_LENGTH);
    desc.numFrames = store.GetInt(section, "NumFrames", 0);
    desc.numUniqueFrames = store.GetInt(section, "NumUniqueFrames", desc.numFrames);
    desc.startFrame = Clamp(store.GetInt(section, "StartFrame", 0), 0, PIM_MAX_SPRITE_FRAMES - 1);
    desc.frameRate = store.GetFloat(section, "FrameRate", DAX_DEFAULT_FRAME_RATE);
    if (!(desc.frameRate > 0.0f))
        desc.frameRate = DAX_DEFAULT_FRAME_RATE;
    desc.waveFileName = FileNameValue(store, section, "WaveFileName");
    desc.xyPerFrame = store.GetInt(section, "XYPerFrame", 0) != 0;
    desc.duration = std::max(0, store.GetInt(section, "Duration", 0));
    store.GetPoint(section, "Position", &desc.position.x, &desc.position.y, -1, -1);

    desc.lips = FileNameValue(store, section, "Lips");
    store.GetPoint(section, "LipPosition", &desc.lipPosition.x, &desc.lipPosition.y, 0, 0);
    desc.lipMask = store.GetInt(section, "LipMask", 1) == 1;
}

int DaxDeclaredFrames(const ST_DAX_STATE_DESC& desc, int pictureFrames)
{
    const int frames = desc.numFrames >= 1 ? desc.numFrames : pictureFrames;
    return Clamp(frames, 1, PIM_MAX_SPRITE_FRAMES);
}

int BuildDaxStateActions(CxOptions& store, int number, const ST_DAX_STATE_DESC& desc, int frameCount,
                         CxArray<ST_ANIM_ACTION>& actions)
{
    const int lastFrame = std::max(1, frameCount) - 1;
    const int declared = DaxDeclaredFrames(desc, frameCount);

    if (!desc.xyPerFrame) {
        if (!actions.Resize(1))
            return PIM_ERR_OUT_OF_MEMORY;
        ST_ANIM_ACTION& action = *actions.Get(0);
        action = ST_ANIM_ACTION();
        action.flags = PIM_ANIM_FRAME_RATE | PIM_ANIM_START_FRAME | PIM_ANIM_END_FRAME;
        action.frameRate = desc.frameRate;
        action.startFrame = Clamp(desc.startFrame, 0, lastFrame);
        action.endFrame = Clamp(declared - 1, 0, lastFrame);
        if (desc.duration > 0) {
            action.flags |= PIM_ANIM_ABSOLUTE_FRAMES | PIM_ANIM_DURATION;
            action.duration = desc.duration;
        }
        if (desc.position.x != -1 || desc.position.y != -1) {
            action.flags |= PIM_ANIM_START;
            action.startX = desc.position.x;
            action.startY = desc.position.y;
        }
        return PIM_OK;
    }

    if (!actions.Resize(static_cast<size_t>(declared)))
        return PIM_ERR_OUT_OF_MEMORY;
    // A missing key is "0, 0, 0": frame 0 at (0, 0).
    const int32_t duration = FrameDuration(desc.frameRate);
    for (ST_ANIM_ACTION& action : actions) {
        action = ST_ANIM_ACTION();
        action.duration = duration;
    }
    // One walk over the section rather than a lookup a frame: a path may
    // declare 32,767 frames, and a hostile section as many keys. Like a
    // lookup, the first of two keys of one name is the one that counts.
    const CxString sectionName = DaxStateSection(number);
    const CxOptionSection* section = store.FindSection(sectionName.GetText());
    for (auto* node = section ? section->GetFirstNode() : nullptr; node; node = node->GetNext()) {
        const CxOptionVariable& variable = *node->GetElement();
        int key = 0;
        if (!FrameKeyNumber(variable.GetName(), key) || key < desc.startFrame || key - desc.startFrame >= declared)
            continue;
        ST_ANIM_ACTION& action = *actions.Get(static_cast<size_t>(key - desc.startFrame));
        if (action.flags != 0)
            continue;
        int values[3] = {0, 0, key};
        ParseFrameValue(variable.GetValue(), values);
        action.flags = PIM_ANIM_START | PIM_ANIM_DURATION | PIM_ANIM_START_FRAME;
        action.startX = values[0];
        action.startY = values[1];
        action.startFrame = values[2];
    }
    for (ST_ANIM_ACTION& action : actions)
        action.flags = PIM_ANIM_START | PIM_ANIM_DURATION | PIM_ANIM_START_FRAME;
    return PIM_OK;
}
