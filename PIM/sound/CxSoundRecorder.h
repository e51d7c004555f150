#pragma once
// Writes what the mixer hears to a 16-bit PCM wave file through the file
// layer: the mixer's output tap (CxMixer::SetOutputTap) feeds Write.
//
// The samples stream into "<path>.recording" and the file takes its wanted
// name only at Close, once its header tells the size, so a run that dies
// leaves no half file under that name. A failure (the file cannot be made,
// a write fails) is reported once, ends the recording and leaves no file;
// the sound goes on unrecorded.

#include "PIM/core/CxError.h"

#include <cstddef>
#include <cstdint>
#include <string>

class CxFsHandle;

class CxSoundRecorder
{
public:
    CxSoundRecorder() = default;
    // An unfinished recording is finished (Close).
    ~CxSoundRecorder();
    CxSoundRecorder(const CxSoundRecorder&) = delete;
    CxSoundRecorder& operator=(const CxSoundRecorder&) = delete;

    // Starts recording frames of `channels` (1 or 2) channels at `rate` to
    // `path` (a file layer path), replacing whatever file has that name once
    // closed. An open recording is closed first. PIM_OK, or the error that
    // stopped it (reported; nothing is recorded); 16, unreported, for no
    // path, a rate of 0 or other channel counts.
    int Open(const char* path, uint32_t rate, uint16_t channels);
    // Appends `frames` interleaved frames. Nothing while not recording. A
    // wave file cannot tell of more than 4 GB: what would not fit goes
    // unrecorded.
    void Write(const int16_t* samples, size_t frames);
    // Completes the header and gives the file its name. The recording's
    // result (GetResult).
    int Close();

    bool IsRecording() const { return m_file != nullptr; }
    // PIM_OK, or the error that ended the last recording (no file was made).
    int GetResult() const { return m_result; }
    // Bytes of samples written so far (the header not counted).
    uint64_t GetDataBytes() const { return m_dataBytes; }

    // Write in the shape of the mixer's output tap; `recorder` is the
    // CxSoundRecorder.
    static void Tap(void* recorder, const int16_t* samples, size_t frames);

private:
    int WriteHeader();
    int Fail(int code, const char* what);

    std::string m_path;
    std::string m_temporary;
    CxFsHandle* m_file = nullptr;
    uint32_t m_rate = 0;
    uint16_t m_channels = 0;
    uint64_t m_dataBytes = 0;
    int m_result = PIM_OK;
    // Little-endian samples on their way to the file.
    uint8_t m_bytes[4096] = {};
};
