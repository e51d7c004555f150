// The option-file parser over arbitrary bytes. Every key it finds is read
// back through each typed getter; everything it kept must be accepted again
// by the setters (the parser never gives what code may not write); and the
// saved bytes must be a fixed point: parsing them and saving again gives the
// same bytes.
#include "PIM/core/PimTrace.h"
#include "PIM/files/CxBuffer.h"
#include "PIM/files/CxOptions.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

std::string Bytes(CxOptions& options)
{
    CxBuffer buffer;
    Check(options.WriteToBuffer(buffer) == PIM_OK);
    return std::string(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize());
}

void ReadEveryWay(CxOptions& options, const char* section, const CxOptionVariable& variable)
{
    const char* key = variable.GetName();
    char text[64];
    options.GetString(section, key, text, "", sizeof text);
    // Only the first of duplicate sections and keys is seen by name.
    if (const CxOptionVariable* first = options.FindVariable(section, key))
        Check(std::strncmp(text, first->GetValue(), sizeof text - 1) == 0);
    int i[4] = {};
    float f[3] = {};
    options.GetInt(section, key, &i[0], 1);
    options.GetFloat(section, key, &f[0], 1.0f);
    options.GetPoint(section, key, &i[0], &i[1], 1, 2);
    options.GetVector(section, key, &f[0], &f[1], &f[2], 1.0f, 2.0f, 3.0f);
    options.GetRect(section, key, &i[0], &i[1], &i[2], &i[3], 1, 2, 3, 4);
    CxOptions::IntList list;
    Check(options.GetIntList(section, key, &list) == PIM_OK);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetTraceToStdout(false);
    CxOptions options;
    Check(options.ReadFromBuffer(reinterpret_cast<const char*>(data), size) == PIM_OK);

    for (const auto* s = options.GetFirstSectionNode(); s; s = s->GetNext()) {
        const char* header = s->GetElement()->GetHeader();
        for (const auto* v = s->GetElement()->GetFirstNode(); v; v = v->GetNext())
            ReadEveryWay(options, header, *v->GetElement());
        // A missing key: in export mode this writes its default back.
        int missing = 0;
        options.GetInt(header, "\x01missing", &missing, 7);
        Check(missing == 7);
    }

    const std::string saved = Bytes(options);
    CxOptions again;
    Check(again.ReadFromBuffer(saved.data(), saved.size()) == PIM_OK);
    Check(Bytes(again) == saved);

    // What was read is written again unchanged, by the checks the setters make.
    for (const auto* s = again.GetFirstSectionNode(); s; s = s->GetNext()) {
        const char* header = s->GetElement()->GetHeader();
        for (const auto* v = s->GetElement()->GetFirstNode(); v; v = v->GetNext()) {
            const CxOptionVariable* variable = v->GetElement();
            Check(options.SetString(header, variable->GetName(), variable->GetValue()) == PIM_OK);
        }
    }
    return 0;
}
