// Makes events from the input (up to its first zero byte) as data files do:
// interpolated, read, then handed to the command creators of two registered
// categories, with a room's own creator as the extra one on odd first bytes.
// The reading is compared with a plain model of the rules on std::string;
// every argument list must obey them (no quotes left, at most one argument
// per comma plus one). An event that comes out is queued, run by one frame of
// the dispatcher, and must reach its handler with the same name and arguments.
#include "PIM/app/CCommandEvent.h"
#include "PIM/app/PimEventCategories.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/core/CxError.h"
#include "PIM/core/CxInterpolator.h"
#include "PIM/core/Pimstr.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

struct Reading
{
    bool isEvent = false;
    std::string category;
    std::string name;
    std::vector<std::string> args;
};

Reading Model(const std::string& text)
{
    Reading reading;
    const size_t dot = text.find('.');
    const size_t open = dot == std::string::npos ? dot : text.find('(', dot + 1);
    if (open == std::string::npos)
        return reading;
    reading.isEvent = true;
    reading.category = text.substr(0, dot);
    reading.name = text.substr(dot + 1, open - dot - 1);
    std::vector<std::string> pieces;
    size_t start = open + 1;
    for (size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
        pieces.push_back(text.substr(start, comma - start));
    std::string last = text.substr(start);
    last = last.substr(0, last.find(')'));
    if (!last.empty())
        pieces.push_back(last);
    for (std::string& piece : pieces) {
        piece.erase(0, piece.find_first_not_of(" \t") == std::string::npos ? piece.size()
                                                                            : piece.find_first_not_of(" \t"));
        piece.erase(std::remove(piece.begin(), piece.end(), '"'), piece.end());
    }
    reading.args = pieces;
    return reading;
}

bool SameArgs(const CxEventArgs& args, const std::vector<std::string>& expected)
{
    if (args.GetCount() != expected.size())
        return false;
    for (size_t i = 0; i < expected.size(); ++i) {
        if (expected[i] != args.Get(i)->GetText())
            return false;
    }
    return true;
}

struct Handler : CCommandHandler
{
    void OnCommand(const char* name, const CxEventArgs& args) override
    {
        ++calls;
        Check(lastName == name && SameArgs(args, lastArgs));
    }
    int calls = 0;
    std::string lastName;
    std::vector<std::string> lastArgs;
};

struct Fixture
{
    Handler handler;
    CCommandEventCreator barn{"Barn", &handler};
    CCommandEventCreator pen{"Pen", &handler, CxEvent::kDeleteWhenDone | CxEvent::kChainNext};
    CCommandEventCreator room{"Room", &handler};
    CxInterpolator interpolator;
    PimChannelId channel = 0;

    Fixture()
    {
        // Creators that decline ("TODO") report; the reports are expected.
        SetErrorHandler({[](void*, int code, const char*) { Check(code == PIM_ERR_UNKNOWN); }, nullptr});
        Check(RegisterEventCategory("Barn", &barn) == PIM_OK);
        Check(RegisterEventCategory("pen", &pen) == PIM_OK);
        Check(interpolator.AddString("ROOM", "Barn") == PIM_OK);
        Check(interpolator.AddString("QUOTE", "\"") == PIM_OK);
        Check(interpolator.AddString("COMMA", ", ") == PIM_OK);
        Check(interpolator.AddString("CLOSE", ")") == PIM_OK);
        channel = CreateChannel();
        Check(channel != 0);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Fixture fixture;
    const std::string input(reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), size));
    const std::string text = fixture.interpolator.Interpolate(input.c_str()).GetText();

    const Reading expected = Model(text);
    ST_EVENT_TEXT parsed;
    const int code = ParseEventText(text.c_str(), parsed);
    Check(code == (expected.isEvent ? PIM_OK : PIM_ERR_NOT_FOUND));
    if (code == PIM_OK) {
        Check(expected.category == parsed.category.GetText());
        Check(expected.name == parsed.name.GetText());
        Check(SameArgs(parsed.args, expected.args));
        const size_t commas = PimCountChar(text.c_str(), ',');
        Check(parsed.args.GetCount() <= commas + 1);
        for (const CxString& arg : parsed.args)
            Check(arg.Find('"') < 0);
    }

    CxEventCreator* extra = size > 0 && (data[0] & 1) ? &fixture.room : nullptr;
    CxEvent* event = CreateEventFromText(input.c_str(), &fixture.interpolator, extra);
    if (!event)
        return 0;
    Check(expected.isEvent && expected.name != "TODO");
    Check(PimStrEqual(expected.category.c_str(), "Barn", true) || PimStrEqual(expected.category.c_str(), "Pen", true)
          || (extra && PimStrEqual(expected.category.c_str(), "Room", true)));
    auto* command = dynamic_cast<CCommandEvent*>(event);
    Check(command && expected.name == command->GetName().GetText() && SameArgs(command->GetArguments(), expected.args));

    fixture.handler.lastName = expected.name;
    fixture.handler.lastArgs = expected.args;
    const int calls = fixture.handler.calls;
    Check(Post(event, fixture.channel) == PIM_OK);
    DispatchEvents();
    Check(fixture.handler.calls == calls + 1 && IsChannelEmpty(fixture.channel));
    return 0;
}
