#include "PIM/core/CxMemory.h"
#include "PIM/core/CxString.h"
#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

bool FailAll(size_t)
{
    return true;
}

// The storage rules are the contract: length, capacity and ownership together.
void ExpectStorage(const CxString& s, int length, int capacity)
{
    EXPECT_EQ(s.Length(), length);
    EXPECT_EQ(s.Capacity(), capacity);
    EXPECT_EQ(std::strlen(s.GetText()), static_cast<size_t>(length));
}

} // namespace

TEST(StringStorage, AssignmentAndAppendGrowthRules)
{
    CxString s;
    EXPECT_FALSE(s.HasStorage());
    s = "1234567"; // 7 bytes into a string without storage reserves 9
    ExpectStorage(s, 7, 9);
    s = "12345678"; // fits below the capacity: in place
    ExpectStorage(s, 8, 9);
    s = "123456789"; // L not below the capacity: L + 2
    ExpectStorage(s, 9, 11);

    CxString full;
    full.Reserve(10);
    full = "0123456789"; // a full 10-byte string: capacity 11 or more
    ASSERT_EQ(full.Length(), 10);
    CxString ten;
    ten.Reserve(10);
    ten.Append("0123456789");
    ExpectStorage(ten, 10, 11);
    ten.Append("abcde"); // 10 + max(5, 20) + 1
    ExpectStorage(ten, 15, 31);
    EXPECT_STREQ(ten.GetText(), "0123456789abcde");
    ten.Append("fghij"); // in place while length + n stays below capacity
    ExpectStorage(ten, 20, 31);

    // Assigning an empty or missing text keeps the storage.
    ten = "";
    ExpectStorage(ten, 0, 31);
    ten = static_cast<const char*>(nullptr);
    ExpectStorage(ten, 0, 31);

    CxString repeated('x', 4);
    EXPECT_STREQ(repeated.GetText(), "xxxx");
    EXPECT_EQ(repeated.Capacity(), 5);
}

TEST(StringStorage, GrowthClampsAtTheLimitAndKeepsTheInvariants)
{
    CxString s;
    std::string chunk(1000, 'a');
    for (int i = 0; i < 40; ++i)
        s.Append(chunk.c_str());
    ExpectStorage(s, CxString::kMaxLength, CxString::kMaxCapacity);
    EXPECT_TRUE(s.OwnsStorage()); // the not-owned bit was not hit by a wrap
    s.Append("more");
    EXPECT_EQ(s.Length(), CxString::kMaxLength);

    // A cut never splits a UTF-8 character.
    CxString utf;
    utf.Append(std::string(CxString::kMaxLength - 1, 'b').c_str());
    utf.Append("\xC3\xA9"); // two bytes, one fits
    EXPECT_EQ(utf.Length(), CxString::kMaxLength - 1);

    CxString big(std::string(40000, 'z').c_str());
    ExpectStorage(big, CxString::kMaxLength, CxString::kMaxCapacity);
    CxString copy = big + big;
    EXPECT_EQ(copy.Length(), CxString::kMaxLength);
}

TEST(StringStorage, OwnTextAsArgument)
{
    CxString s("hello world");
    const char* own = s.GetText();
    s = own; // its own text: nothing happens
    EXPECT_STREQ(s.GetText(), "hello world");
    s = s.GetText() + 6; // a piece of itself, in place
    EXPECT_STREQ(s.GetText(), "world");

    CxString grow("abcdefgh");
    grow.Append(grow); // forces growth while reading from the old buffer
    EXPECT_STREQ(grow.GetText(), "abcdefghabcdefgh");
    grow.Append(grow.GetText() + 8, 4);
    EXPECT_STREQ(grow.GetText(), "abcdefghabcdefghabcd");

    CxString tight;
    tight.Reserve(3);
    tight.Append("xyz");
    tight = tight.GetText() + 1; // shorter piece, in place
    EXPECT_STREQ(tight.GetText(), "yz");
    CxString fat("0123");
    fat.Append(fat.GetText(), 4); // 4 + 4 is past the capacity of 6
    EXPECT_STREQ(fat.GetText(), "01230123");

    CxString replace("a-b-c");
    EXPECT_EQ(replace.Replace(replace.GetText() + 1, "+"), 1); // finds "-b-c" in itself
    EXPECT_STREQ(replace.GetText(), "a+");
    CxString self("ab");
    CxString& alias = self;
    self = alias;
    EXPECT_STREQ(self.GetText(), "ab");
}

TEST(StringStorage, AllocationFailureLeavesAnEmptyStringAndValidText)
{
    ErrorRecorder recorder;
    SetAllocationFailHook(&FailAll);
    CxString s("text");
    EXPECT_EQ(s.Length(), 0);
    EXPECT_NE(s.GetText(), nullptr); // never none, even now
    EXPECT_STREQ(s.GetText(), "");
    EXPECT_FALSE(s.OwnsStorage());
    s.Append("more"); // still failing: stays empty, never writes the shared text
    s.Format("%d", 12345);
    EXPECT_EQ(s.Length(), 0);
    EXPECT_STREQ(s.GetText(), "");
    SetAllocationFailHook(nullptr);
    s.Append("ok");
    EXPECT_STREQ(s.GetText(), "ok");
    EXPECT_TRUE(s.OwnsStorage());

    CxString keep("kept");
    SetAllocationFailHook(&FailAll);
    keep.Append(std::string(100, 'x').c_str());
    EXPECT_STREQ(keep.GetText(), "kept"); // a failed growth loses nothing
    SetAllocationFailHook(nullptr);
}

TEST(StringStorage, AttachedBufferIsNeverFreed)
{
    char buffer[8] = "abc";
    {
        CxString s;
        s.Attach(buffer, sizeof buffer);
        EXPECT_FALSE(s.OwnsStorage());
        EXPECT_EQ(s.Length(), 3);
        s.Append("de"); // fits: written in place
        EXPECT_STREQ(buffer, "abcde");
        s.Append("fghij"); // does not fit: moves to owned storage
        EXPECT_TRUE(s.OwnsStorage());
        EXPECT_STREQ(s.GetText(), "abcdefghij");
    }
    EXPECT_STREQ(buffer, "abcde");
}

TEST(StringFormat, BoundedAndReplacesContents)
{
    CxString s("old contents that are long");
    s.Format("%s-%03d", "id", 7);
    EXPECT_STREQ(s.GetText(), "id-007");
    CxString fresh = CxString::Formatted("%d%%", 50);
    EXPECT_STREQ(fresh.GetText(), "50%");
    EXPECT_EQ(fresh.Capacity(), 4); // reserved to fit exactly

    std::string huge(5000, 'q');
    s.Format("%s", huge.c_str());
    EXPECT_EQ(s.Length(), 2047);
    s.Format("%s", s.GetText()); // formatting its own text
    EXPECT_EQ(s.Length(), 2047);
}

TEST(StringSearch, PositionsAndMisses)
{
    CxString s("Hello, World");
    EXPECT_EQ(s.Find('o'), 4);
    EXPECT_EQ(s.Find('o', 5), 8);
    EXPECT_EQ(s.Find('o', s.Length()), -1); // start at the length
    EXPECT_EQ(s.Find('o', -1), -1);
    EXPECT_EQ(s.Find('z'), -1);
    EXPECT_EQ(s.FindOneOf(",W"), 5);
    EXPECT_EQ(s.FindOneOf("xyz"), -1);
    EXPECT_EQ(s.Find("World"), 7);
    EXPECT_EQ(s.Find("world"), -1);
    EXPECT_EQ(s.FindNoCase("wORLD"), 7);
    EXPECT_EQ(s.FindNoCase("hello", 1), -1);
    EXPECT_EQ(s.ReverseFind('o'), 8);
    EXPECT_EQ(s.ReverseFind('q'), -1);

    CxString none;
    EXPECT_EQ(none.Find('a'), -1);
    EXPECT_EQ(none.Find("a"), -1);
    EXPECT_EQ(none.ReverseFind('a'), -1);
}

TEST(StringPieces, LeftMidTruncateDelete)
{
    CxString s("0123456789");
    EXPECT_STREQ(s.Left(3).GetText(), "012");
    EXPECT_STREQ(s.Left(50).GetText(), "0123456789");
    EXPECT_STREQ(s.Mid(7, 10).GetText(), "789"); // clipped to the end
    EXPECT_STREQ(s.Mid(4).GetText(), "456789");
    EXPECT_EQ(s.Mid(10).Length(), 0);
    EXPECT_EQ(s.Mid(-2, 3).Length(), 0);

    CxString d("0123456789");
    EXPECT_EQ(d.Delete(3, -1), 7);
    EXPECT_STREQ(d.GetText(), "012");
    d = "0123456789";
    EXPECT_EQ(d.Delete(2, 3), 3);
    EXPECT_STREQ(d.GetText(), "0156789");
    EXPECT_EQ(d.Delete(5, 100), 2);
    EXPECT_STREQ(d.GetText(), "01567");
    EXPECT_EQ(d.Delete(5, 1), -1);
    EXPECT_EQ(d.Delete(-1, 1), -1);
    EXPECT_EQ(d.DeleteFirst(2), 2);
    EXPECT_STREQ(d.GetText(), "567");
    EXPECT_EQ(d.DeleteLast(1), 1);
    EXPECT_STREQ(d.GetText(), "56");
    EXPECT_EQ(d.DeleteLast(5), -1);

    d.Truncate(1);
    EXPECT_STREQ(d.GetText(), "5");
    d.Truncate(9);
    EXPECT_STREQ(d.GetText(), "5");
    EXPECT_EQ(d.LastChar(), '5');
    EXPECT_EQ(d.CharAt(1), '\0');
    EXPECT_EQ(d.CharAt(-1), '\0');
}

TEST(StringEdit, ReplaceAndRemove)
{
    CxString s("a\\b\\c");
    EXPECT_EQ(s.Replace('\\', '/'), 2);
    EXPECT_STREQ(s.GetText(), "a/b/c");
    EXPECT_EQ(s.Replace('/', '\0'), 1); // a zero ends the string there
    EXPECT_STREQ(s.GetText(), "a");
    EXPECT_EQ(s.Length(), 1);

    CxString r(" a b  c ");
    EXPECT_EQ(r.Remove(' '), 5);
    EXPECT_STREQ(r.GetText(), "abc");

    CxString t("$X and $X");
    EXPECT_EQ(t.Replace("$X", "value"), 2); // longer: storage grows first
    EXPECT_STREQ(t.GetText(), "value and value");
    EXPECT_EQ(t.Replace("value", ""), 2);
    EXPECT_STREQ(t.GetText(), " and ");
    EXPECT_EQ(t.Replace("aa", "b"), 0);
    EXPECT_EQ(t.Replace("", "b"), 0);

    CxString overflow(std::string(20000, 'x').c_str());
    EXPECT_EQ(overflow.Replace("x", "yy"), -1); // past the limit: refused, unchanged
    EXPECT_EQ(overflow.Length(), 20000);
}

TEST(StringCompare, ByteWiseCaseInsensitiveAndWithoutStorage)
{
    CxString a("apple"), b("Apple"), none, none2;
    EXPECT_EQ(a.Compare("apple"), 0);
    EXPECT_EQ(a.Compare(b), 1);
    EXPECT_EQ(b.Compare(a), -1);
    EXPECT_EQ(a.CompareNoCase(b), 0);
    EXPECT_EQ(a.Compare("apples"), -1);
    EXPECT_EQ(CxString("\xC3\xA9").Compare("z"), 1); // unsigned bytes

    EXPECT_EQ(none.Compare(""), -1); // without storage: less than anything
    EXPECT_EQ(none.Compare(a), -1);
    EXPECT_EQ(a.Compare(none), 1);
    EXPECT_EQ(none.Compare(none2), 0); // but equal to another without storage
    EXPECT_EQ(none.Compare(static_cast<const char*>(nullptr)), 0);
    EXPECT_TRUE(none == none2);

    EXPECT_STREQ((CxString("ab") + "cd").GetText(), "abcd");
    EXPECT_STREQ(("ab" + CxString("cd")).GetText(), "abcd");
    EXPECT_STREQ((CxString("ab") + CxString()).GetText(), "ab");
}

TEST(StringStorage, CopiesNeverShareAndMovesTransfer)
{
    CxString a("shared?");
    CxString b(a);
    EXPECT_NE(a.GetText(), b.GetText());
    b.Replace('?', '!');
    EXPECT_STREQ(a.GetText(), "shared?");
    CxString c(std::move(b));
    EXPECT_STREQ(c.GetText(), "shared!");
    EXPECT_FALSE(b.HasStorage()); // NOLINT(bugprone-use-after-move): moved-from is empty
    a = std::move(c);
    EXPECT_STREQ(a.GetText(), "shared!");
}
