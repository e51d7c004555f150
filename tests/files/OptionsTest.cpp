#include "PIM/core/CxMemory.h"
#include "PIM/files/CxBuffer.h"
#include "PIM/files/CxOptions.h"

#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// "[A]: k=1 j=2\n[B]:" — every section and variable in store order.
std::string Dump(const CxOptions& options)
{
    std::string out;
    for (const auto* s = options.GetFirstSectionNode(); s; s = s->GetNext()) {
        out += out.empty() ? "" : "\n";
        out += s->GetElement()->GetHeader();
        out += ":";
        for (const auto* v = s->GetElement()->GetFirstNode(); v; v = v->GetNext())
            out += std::string(" ") + v->GetElement()->GetName() + "=" + v->GetElement()->GetValue();
    }
    return out;
}

void Parse(CxOptions& options, const std::string& text)
{
    ASSERT_EQ(options.ReadFromBuffer(text.data(), text.size()), PIM_OK);
}

std::string Bytes(CxOptions& options)
{
    CxBuffer buffer;
    EXPECT_EQ(options.WriteToBuffer(buffer), PIM_OK);
    return std::string(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize());
}

} // namespace

TEST(OptionsParse, TextToSectionsAndVariables)
{
    const struct
    {
        const char* name;
        std::string text;
        const char* expected;
    } cases[] = {
        {"blanks and comment", "[S]\nkey \t= value \t; note\n", "[S]: key=value"},
        {"only the first = splits", "[S]\nk=a=b==\n", "[S]: k=a=b=="},
        {"text after ]", "[S] junk ] more\nk=1\n", "[S]: k=1"},
        {"header without ]", "[S \nk=1\n", "[S: k=1"},
        {"comment inside header", "[A;x]\nk=1", "[A: k=1"},
        {"indented header is no header", "[A]\n  [B]\nk=1\n", "[A]: k=1"},
        {"indented key keeps its blanks", "[A]\n  k=1\n", "[A]:   k=1"},
        {"inner blanks, quotes and case stay", "[A]\nMy Key=\"Two  Words\" X\n", "[A]: My Key=\"Two  Words\" X"},
        {"empty and blank values", "[A]\na=\nb= \t \n", "[A]: a= b="},
        {"duplicates are kept", "[E]\na=1\na=2\n[e]\na=3\n", "[E]: a=1 a=2\n[e]: a=3"},
        {"CR, LF and CR LF", "[A]\rk=1\r\n\r\nj=2\n\rl=3", "[A]: k=1 j=2 l=3"},
        {"no line break at the end", "[A]\nk=1", "[A]: k=1"},
        {"ignored lines", "k=0\n[A]\nno equals\n=5\n  =6\n;k=7\n\n", "[A]:"},
        {"byte order mark", "\xEF\xBB\xBF[A]\nk=1\n", "[A]: k=1"},
        {"zero byte cuts only its line", std::string("[A]\nk=1\0junk\nj=2\n", 17), "[A]: k=1 j=2"},
        {"empty file", "", ""},
    };
    for (const auto& c : cases) {
        CxOptions options;
        Parse(options, c.text);
        EXPECT_EQ(Dump(options), c.expected) << c.name;
        EXPECT_FALSE(options.IsDirty()) << c.name;
    }

    // A line past what a CxString holds is cut there, safely.
    CxOptions options;
    Parse(options, "[A]\nk=" + std::string(40000, 'v') + "\nj=2\n");
    ASSERT_NE(options.FindVariable("A", "k"), nullptr);
    EXPECT_EQ(options.FindVariable("A", "k")->GetValueLength(), CxString::kMaxLength - 2);
    EXPECT_NE(options.FindVariable("A", "j"), nullptr);
}

TEST(OptionsLookup, CaseFirstMatchAndBrackets)
{
    CxOptions options;
    Parse(options, "[Engine.Game]\nKey=1\nkey=2\n[engine.game]\nOther=3\n[S\nx=4\n  pad=5\n");
    EXPECT_EQ(options.GetString("ENGINE.GAME", "KEY").Compare("1"), 0);
    EXPECT_EQ(options.GetString("[Engine.Game]", "key").Compare("1"), 0);
    EXPECT_EQ(options.GetString("Engine.Game", "Other", "none").Compare("none"), 0);
    EXPECT_EQ(options.GetString("Engine", "Key", "none").Compare("none"), 0);
    EXPECT_EQ(options.FindSection("S"), nullptr);
    EXPECT_EQ(options.FindVariable("S", "pad"), nullptr);
    EXPECT_NE(options.FindVariable("[S", "  pad"), nullptr);
    EXPECT_EQ(options.FindVariable("Engine.Game", ""), nullptr);
    EXPECT_EQ(options.FindVariable(nullptr, "Key"), nullptr);
    // Trailing blanks of a key never survive a reload, so lookups drop them too.
    EXPECT_EQ(options.GetInt("Engine.Game", "Key \t", 0), 1);

    char out[4] = {'x', 'x', 'x', 'x'};
    options.GetString("S", "missing", out, "default", 0);
    EXPECT_EQ(out[0], 'x');
    options.GetString("S", "missing", out, "default", sizeof out);
    EXPECT_STREQ(out, "def");
    EXPECT_EQ(options.GetString("S", "missing", nullptr, "default", 8), PIM_OK);
}

TEST(OptionsBytes, AreCrLfWithABlankLineBetweenSections)
{
    CxOptions options;
    Parse(options, "; layout is not kept\n[Engine]\nKey = 1\n[Next]\n[Engine]\nKey=2\n");
    const std::string bytes = Bytes(options);
    EXPECT_EQ(bytes, "[Engine]\r\nKey=1\r\n\r\n[Next]\r\n\r\n[Engine]\r\nKey=2\r\n");

    CxOptions again;
    Parse(again, bytes);
    EXPECT_EQ(Dump(again), Dump(options));

    CxOptions empty;
    EXPECT_EQ(Bytes(empty), "");
}

TEST(OptionsSetters, ChangeFirstAppendCreateAndDirty)
{
    CxOptions options;
    Parse(options, "[A]\nk=1\nk=2\n");
    options.AddSection("[Made]");
    options.AddVariable("x", " 1 ");
    EXPECT_FALSE(options.IsDirty());
    EXPECT_EQ(Dump(options), "[A]: k=1 k=2\n[Made]: x=1");

    EXPECT_EQ(options.SetString("a", "K", "  new value\t"), PIM_OK);
    EXPECT_TRUE(options.IsDirty());
    EXPECT_EQ(options.AppendVariable("A", "k", "3"), PIM_OK);
    EXPECT_EQ(options.SetInt("Fresh.Section", "n", -7), PIM_OK);
    EXPECT_EQ(options.SetString("[Bracketed]", "v", "x;y"), PIM_OK);
    EXPECT_EQ(Dump(options), "[A]: k=new value k=2 k=3\n[Made]: x=1\n[Fresh.Section]: n=-7\n[Bracketed]: v=x;y");
    // The ";" is accepted from code, but a reload takes it for a comment.
    CxOptions reloaded;
    Parse(reloaded, Bytes(options));
    EXPECT_EQ(reloaded.GetString("Bracketed", "v").Compare("x"), 0);

    Parse(options, "[A]\nk=1\n[B]\n");
    EXPECT_EQ(options.DeleteVariable("A", "nope"), PIM_ERR_NOT_FOUND);
    EXPECT_EQ(options.DeleteSection("nope"), PIM_ERR_NOT_FOUND);
    EXPECT_FALSE(options.IsDirty());
    EXPECT_EQ(options.DeleteVariable("a", "K"), PIM_OK);
    EXPECT_TRUE(options.IsDirty());
    EXPECT_EQ(options.DeleteSection("b"), PIM_OK);
    EXPECT_EQ(Dump(options), "[A]:");
    EXPECT_EQ(options.AddVariable("k", "v"), PIM_ERR_NOT_FOUND); // deletions cleared the current section
}

TEST(OptionsSetters, RefuseWhatWouldNotReadBack)
{
    ErrorRecorder errors;
    CxOptions options;
    Parse(options, "[A]\nk=1\n");
    const struct
    {
        const char* section;
        const char* key;
        const char* value;
    } refused[] = {
        {"A", "a=b", "1"}, {"A", "a;b", "1"},     {"A", "[a", "1"},    {"A", "a\nb", "1"}, {"A", "", "1"},
        {"A", " \t", "1"}, {"A", nullptr, "1"},   {"A", "k", "1\r2"},  {"A", "k", nullptr}, {"A]", "k", "1"},
        {"A;", "k", "1"},  {"A\n", "k", "1"},     {"[A] x", "k", "1"}, {"[A ", "k", "1"},  {nullptr, "k", "1"},
    };
    for (const auto& r : refused) {
        EXPECT_EQ(options.SetString(r.section, r.key, r.value), PIM_ERR_BAD_ARG) << (r.key ? r.key : "(null)");
        EXPECT_EQ(options.AppendVariable(r.section, r.key, r.value), PIM_ERR_BAD_ARG);
    }
    EXPECT_EQ(options.SetInt("A", "x=", 1), PIM_ERR_BAD_ARG);
    EXPECT_EQ(options.AddVariable("k=", "1"), PIM_ERR_BAD_ARG);
    EXPECT_EQ(options.AddSection("No brackets"), PIM_ERR_BAD_ARG);
    EXPECT_EQ(options.SetString("A", "k", std::string(CxString::kMaxLength, 'v').c_str()), PIM_ERR_BAD_ARG);
    EXPECT_FALSE(options.IsDirty());
    EXPECT_EQ(Dump(options), "[A]: k=1");
    EXPECT_FALSE(errors.errors.empty());
    EXPECT_EQ(errors.errors.back().code, PIM_ERR_BAD_ARG);

    // Leading blanks and a "[" later in the key read back fine.
    EXPECT_EQ(options.SetString("A", " [k", "1"), PIM_OK);
    EXPECT_EQ(options.SetString("", "k", "1"), PIM_OK);
    CxOptions reloaded;
    Parse(reloaded, Bytes(options));
    EXPECT_EQ(Dump(reloaded), Dump(options));
}

TEST(OptionsTyped, RoundTripsAndFormats)
{
    CxOptions options;
    Parse(options, "[T]\nInt= 12abc\nBig=99999999999\nFloat=2.5\nPoint=3,4\nHalfPoint=5\n"
                   "Vector=1.5, -2,3e1\nShortVector=7,8\nRect=1,2,3,4\nRectBlanks=1, 2,\t3,  4\n"
                   "RectStops=5, 6 ,7,8\nList=1, 2,,-3\n");
    EXPECT_EQ(options.GetInt("T", "Int", 0), 12);
    EXPECT_EQ(options.GetInt("T", "Big", 0), INT32_MAX);
    EXPECT_EQ(options.GetInt("T", "Missing", -9), -9);
    EXPECT_EQ(options.GetInt("T", "Float", nullptr, 0), PIM_OK);
    EXPECT_EQ(options.GetFloat("T", "Float", 0.0f), 2.5f);
    EXPECT_EQ(options.GetFloat("T", "Missing", 0.25f), 0.25f);

    int x = 0, y = 0;
    options.GetPoint("T", "Point", &x, &y, -1, -1);
    EXPECT_EQ(x * 10 + y, 34);
    options.GetPoint("T", "HalfPoint", &x, &y, -1, -2);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, -2);
    float v[3] = {};
    options.GetVector("T", "Vector", &v[0], &v[1], &v[2], 0, 0, 0);
    EXPECT_EQ(v[0] + v[1] * 10 + v[2] * 100, 1.5f - 20 + 3000);
    options.GetVector("T", "ShortVector", &v[0], &v[1], &v[2], 0, 0, 9);
    EXPECT_EQ(v[2], 9.0f);

    int r[4] = {};
    for (const char* key : {"Rect", "RectBlanks"}) {
        r[0] = r[1] = r[2] = r[3] = 0;
        options.GetRect("T", key, &r[0], &r[1], &r[2], &r[3], 0, 0, 0, 0);
        EXPECT_EQ(r[0] * 1000 + r[1] * 100 + r[2] * 10 + r[3], 1234) << key;
    }
    options.GetRect("T", "RectStops", &r[0], &r[1], &r[2], &r[3], 0, 0, 0, 0);
    EXPECT_EQ(r[0] * 1000 + r[1] * 100 + r[2] * 10 + r[3], 5634);
    options.GetRect("T", "Missing", &r[0], &r[1], &r[2], &r[3], -1, -2, -3, -4);
    EXPECT_EQ(r[0] + r[1] + r[2] + r[3], -10);

    CxOptions::IntList list;
    list.Append(99);
    EXPECT_EQ(options.GetIntList("T", "List", &list), PIM_OK);
    ASSERT_EQ(list.GetCount(), 4u);
    EXPECT_EQ(*list.GetAt(0) * 1000 + *list.GetAt(1) * 100 + *list.GetAt(2) * 10, 1200);
    EXPECT_EQ(*list.GetAt(3), -3);
    options.GetIntList("T", "Missing", &list);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(options.GetIntList("T", nullptr, &list), PIM_ERR_BAD_ARG);
    EXPECT_EQ(options.SetIntList("T", "L", nullptr), PIM_ERR_BAD_ARG);

    for (int i = 1; i <= 3; ++i)
        list.Append(i);
    EXPECT_EQ(options.SetIntList("T", "L", &list), PIM_OK);
    EXPECT_EQ(options.GetString("T", "L").Compare("1, 2, 3"), 0);
    list.Clear();
    EXPECT_EQ(options.SetIntList("T", "Empty", &list), PIM_OK);
    EXPECT_TRUE(options.GetString("T", "Empty", "x").IsEmpty());
    for (int i = 0; i < 400; ++i)
        list.Append(-1000000);
    EXPECT_EQ(options.SetIntList("T", "TooLong", &list), PIM_ERR_BAD_ARG);
}

TEST(OptionsExport, MissingKeysWriteTheirDefaultsBack)
{
    CxOptions options;
    Parse(options, "[Game]\nSpeed=3\n");
    EXPECT_FALSE(options.IsExportMode());
    options.GetInt("Game", "Missing", 5);
    EXPECT_FALSE(options.IsDirty());
    EXPECT_EQ(Dump(options), "[Game]: Speed=3");

    Parse(options, "[OptionController]\nExport=1\n[Game]\nSpeed=3\n");
    EXPECT_TRUE(options.IsExportMode());
    EXPECT_FALSE(options.IsDirty());
    EXPECT_EQ(options.GetInt("Game", "Speed", 5), 3);
    EXPECT_EQ(options.GetInt("game", "Lives", 5), 5);
    EXPECT_EQ(options.GetFloat("Sound", "Volume", 1.0f), 1.0f);
    int r[4] = {};
    options.GetRect("Sound", "Area", &r[0], &r[1], &r[2], &r[3], 1, 2, 3, 4);
    EXPECT_TRUE(options.IsDirty());
    EXPECT_EQ(Dump(options), "[OptionController]: Export=1\n[Game]: Speed=3 Lives=5\n"
                             "[Sound]: Volume=1.000000 Area=1, 2, 3, 4");

    // Until the next read only.
    Parse(options, "[Game]\n");
    EXPECT_FALSE(options.IsExportMode());
}

TEST(OptionsWalk, SectionAndVariableWalksSurviveDeletions)
{
    CxOptions options;
    Parse(options, "[A]\na=1\nb=2\n[B]\n[C]\n");
    CxString header;
    std::string seen;
    for (int more = options.FirstSection(header); more; more = options.NextSection(header))
        seen += header.GetText();
    EXPECT_EQ(seen, "[A][B][C]");

    ASSERT_EQ(options.FirstSection(header), 1);
    ASSERT_EQ(options.NextSection(header), 1);
    options.DeleteSection("B");
    EXPECT_EQ(options.NextSection(header), 0);

    CxOptionSection* section = options.FindSection("A");
    ASSERT_NE(section, nullptr);
    CxOptionVariable* first = section->FirstVariable();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(section->DeleteVariable(first));
    EXPECT_EQ(section->NextVariable(), nullptr);
    ASSERT_NE(section->FirstVariable(), nullptr);
    EXPECT_STREQ(section->FirstVariable()->GetName(), "b");
}

TEST(OptionsMemory, FailedAllocationsLoseNothingAlreadyStored)
{
    static int s_countdown;
    SetAllocationFailHook([](size_t) { return --s_countdown == 0; });
    for (int failAt = 1; failAt < 40; ++failAt) {
        CxOptions options;
        s_countdown = 1 << 30;
        Parse(options, "[A]\nk=old\n");
        s_countdown = failAt;
        const int code = options.SetString("A", "k", "a much longer value than before");
        const int appended = options.SetString("New", "n", "1");
        s_countdown = 1 << 30;
        const std::string k = options.GetString("A", "k").GetText();
        EXPECT_TRUE(code == PIM_OK ? k == "a much longer value than before" : k == "old") << failAt;
        EXPECT_EQ(appended == PIM_OK, options.GetInt("New", "n", 0) == 1) << failAt;
    }
    SetAllocationFailHook(nullptr);
}
