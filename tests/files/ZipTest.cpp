#include "PIM/core/CxMemory.h"
#include "PIM/files/CxDirectoryFileSystem.h"
#include "PIM/files/CxZipFileSystem.h"
#include "PIM/files/PimFileLayer.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"
#include "tests/support/ZipWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

// An archive in memory and the file system over it; the bytes outlive it.
struct MemoryZip
{
    explicit MemoryZip(std::string archive, const char* name = "<Pack>")
        : bytes(std::move(archive)), fs(bytes.data(), bytes.size(), name)
    {
    }
    std::string bytes;
    CxZipFileSystem fs;
};

struct ReadOutcome
{
    std::string data;
    int openCode = PIM_OK;
    int readCode = PIM_OK;
    int closeCode = PIM_OK;
};

ReadOutcome ReadMember(CxFileSystem& fs, const char* path, size_t piece)
{
    ReadOutcome out;
    PimFileHandle handle = fs.Open(path, CBF_DEFAULT);
    if (!handle) {
        out.openCode = fs.GetError();
        return out;
    }
    std::vector<char> buffer(piece);
    for (;;) {
        size_t got = 0;
        out.readCode = fs.Read(handle, buffer.data(), piece, &got);
        out.data.append(buffer.data(), got);
        if (out.readCode != PIM_OK || got == 0)
            break;
    }
    out.closeCode = fs.Close(handle);
    return out;
}

std::string ReadSome(CxFileSystem& fs, PimFileHandle handle, size_t count)
{
    std::string out(count, '\0');
    size_t got = 0;
    fs.Read(handle, out.data(), count, &got);
    out.resize(got);
    return out;
}

std::vector<std::string> Find(CxFileSystem& fs, const char* pattern, int mask, bool recurse)
{
    CxFileInfoList list;
    EXPECT_EQ(fs.FindFiles(list, pattern, mask, recurse), PIM_OK);
    std::vector<std::string> paths;
    for (auto* node = list.GetFirst(); node; node = node->GetNext())
        paths.push_back(node->GetElement().fullPath.GetText());
    return paths;
}

std::string Random(size_t size, uint32_t seed)
{
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        seed = seed * 1664525u + 1013904223u;
        c = static_cast<char>(seed >> 24);
    }
    return bytes;
}

// Members of every kind a reader meets: stored, deflated over several input
// buffers, empty, and deflated data that does not compress.
ZipWriter Mixed()
{
    ZipWriter zip;
    zip.Add("stored.txt", ZipSampleText(3000));
    zip.Add("big.txt", ZipSampleText(200000, 7), true);
    zip.Add("empty.bin", "");
    zip.Add("noise.bin", Random(40000, 3), true);
    return zip;
}

} // namespace

TEST(ZipDirectory, FindsTheEndRecordBehindStubsCommentsAndDecoys)
{
    ErrorRecorder quiet;
    ZipWriter plain = Mixed();
    std::string bytes = plain.Build();
    CxZipMemorySource source(bytes.data(), bytes.size());
    CxZipDirectory directory;
    ASSERT_EQ(directory.Parse(source), PIM_OK);
    EXPECT_EQ(directory.GetEntryCount(), 4u);
    EXPECT_EQ(directory.GetArchiveStart(), 0u);

    ZipWriter stub = Mixed();
    stub.leading = std::string(5000, 'M');
    stub.comment = "made for the fair";
    bytes = stub.Build();
    source = CxZipMemorySource(bytes.data(), bytes.size());
    ASSERT_EQ(directory.Parse(source), PIM_OK);
    EXPECT_EQ(directory.GetArchiveStart(), 5000u);

    // Decoys in the comment: an empty archive whose comment stops short of
    // the end, and one reaching the end exactly whose directory is not there.
    std::string emptyEnd("PK\x05\x06", 4);
    emptyEnd += std::string(18, '\0');
    std::string exactEnd("PK\x05\x06\0\0\0\0\x01\0\x01\0\x2e\0\0\0\0\0\0\0\x02\0", 22);
    for (const std::string& decoy : {emptyEnd + "tail", exactEnd + "zz"}) {
        ZipWriter tricked = Mixed();
        tricked.comment = "see " + decoy;
        bytes = tricked.Build();
        source = CxZipMemorySource(bytes.data(), bytes.size());
        ASSERT_EQ(directory.Parse(source), PIM_OK);
        EXPECT_EQ(directory.GetEntryCount(), 4u);
    }

    // Junk after the archive is tolerated; the search reaches 65535 bytes back.
    ZipWriter trailing = Mixed();
    trailing.trailing = "appended";
    bytes = trailing.Build();
    source = CxZipMemorySource(bytes.data(), bytes.size());
    EXPECT_EQ(directory.Parse(source), PIM_OK);
    for (size_t commentSize : {65535u - 22u, 65535u - 21u, 65535u}) {
        ZipWriter commented = Mixed();
        commented.comment = std::string(commentSize, 'c');
        bytes = commented.Build();
        source = CxZipMemorySource(bytes.data(), bytes.size());
        EXPECT_EQ(directory.Parse(source), commentSize <= 65535u - 22u ? PIM_OK : PIM_ERR_UNKNOWN) << commentSize;
    }
}

TEST(ZipDirectory, RefusesRecordsThatDoNotFitTheArchive)
{
    ErrorRecorder quiet;
    std::vector<std::pair<const char*, std::string>> broken;
    auto make = [&broken](const char* what, void (*change)(ZipWriter&)) {
        ZipWriter zip = Mixed();
        change(zip);
        broken.emplace_back(what, zip.Build());
    };
    make("directory past the end", [](ZipWriter& z) { z.directoryOffset = 0x7FFFFFF0; });
    make("directory larger than the file", [](ZipWriter& z) { z.directorySize = 0x00FFFFFF; });
    make("directory size too small", [](ZipWriter& z) { z.directorySize = 60; });
    make("count too high", [](ZipWriter& z) { z.entryCount = 5; });
    make("count too low", [](ZipWriter& z) { z.entryCount = 3; });
    make("second disk", [](ZipWriter& z) { z.diskNumber = 1; });
    make("ZIP64 directory offset", [](ZipWriter& z) { z.directoryOffset = 0xFFFFFFFFu; });
    make("comment past the end", [](ZipWriter& z) { z.commentLength = 40; });
    broken.emplace_back("too small", std::string("PK\x05\x06", 4));
    // A directory record whose name runs past the directory.
    ZipLayout layout;
    std::string bytes = Mixed().Build(&layout);
    bytes[layout.directory + 28] = '\xff';
    bytes[layout.directory + 29] = '\xff';
    broken.emplace_back("name past the directory", bytes);

    for (const auto& [what, archive] : broken) {
        MemoryZip zip(archive);
        EXPECT_FALSE(zip.fs.IsMounted()) << what;
        EXPECT_EQ(zip.fs.GetError(), PIM_ERR_UNKNOWN) << what;
        EXPECT_EQ(zip.fs.GetDirectory().GetEntryCount(), 0u) << what;
    }

    // An archive of nothing at all is sound, just empty.
    MemoryZip empty(ZipWriter().Build());
    EXPECT_TRUE(empty.fs.IsMounted());
    EXPECT_FALSE(empty.fs.IsDirectory(""));
    EXPECT_TRUE(Find(empty.fs, "*", -1, true).empty());
}

TEST(ZipFileSystem, ReadsStoredAndDeflatedMembersInPiecesOfAnySize)
{
    ZipWriter plain = Mixed();
    ZipWriter wrapped = Mixed();
    wrapped.leading = "#!/bin/sh\nexit 0\n" + std::string(3000, '\0');
    wrapped.comment = "self-extracting";
    for (const ZipWriter* writer : {&plain, &wrapped}) {
        MemoryZip zip(writer->Build());
        ASSERT_TRUE(zip.fs.IsMounted());
        EXPECT_EQ(zip.fs.GetError(), PIM_OK);
        for (const ZipMember& member : writer->members) {
            EXPECT_EQ(zip.fs.FileSize(member.name.c_str()), static_cast<int64_t>(member.data.size()));
            for (size_t piece : {1, 7, 4096, 1 << 20}) {
                if (piece == 1 && member.data.size() > 5000)
                    continue;
                ReadOutcome read = ReadMember(zip.fs, member.name.c_str(), piece);
                EXPECT_EQ(read.openCode, PIM_OK) << member.name;
                EXPECT_EQ(read.readCode, PIM_OK) << member.name << " " << piece;
                EXPECT_EQ(read.closeCode, PIM_OK) << member.name << " " << piece;
                EXPECT_TRUE(read.data == member.data) << member.name << " " << piece;
            }
        }
        PimFileHandle handle = zip.fs.Open("big.txt", CBF_DEFAULT);
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(zip.fs.Size(handle), 200000);
        EXPECT_EQ(ReadSome(zip.fs, handle, 10), ZipSampleText(200000, 7).substr(0, 10));
        EXPECT_EQ(zip.fs.Tell(handle), 10);
        EXPECT_EQ(zip.fs.Close(handle), PIM_OK); // not read to the end: no check
    }
}

TEST(ZipFileSystem, CrcIsCheckedAfterEveryWholeReadOnly)
{
    ErrorRecorder errors;
    ZipLayout layout;
    ZipWriter writer = Mixed();
    writer.members[1].crc = ZipCrc(writer.members[1].data) ^ 1;
    std::string bytes = writer.Build(&layout);
    bytes[layout.data[0] + 100] ^= 0x20; // one letter of stored.txt changes case
    MemoryZip zip(bytes);

    for (const char* name : {"stored.txt", "big.txt"}) {
        EXPECT_EQ(ReadMember(zip.fs, name, 1000).closeCode, PIM_ERR_CRC) << name;
        PimFileHandle handle = zip.fs.Open(name, CBF_DEFAULT);
        ASSERT_NE(handle, nullptr);
        ReadSome(zip.fs, handle, 2000);
        EXPECT_EQ(zip.fs.Close(handle), PIM_OK) << name;

        // Read to the end, start over and read to the end again.
        handle = zip.fs.Open(name, CBF_DEFAULT);
        ReadSome(zip.fs, handle, 1 << 20);
        EXPECT_EQ(zip.fs.Seek(handle, 0, 0), PIM_OK);
        ReadSome(zip.fs, handle, 1 << 20);
        EXPECT_EQ(zip.fs.Close(handle), PIM_ERR_CRC) << name;
    }
    EXPECT_EQ(errors.errors.back().code, PIM_ERR_CRC);
    EXPECT_NE(errors.errors.back().message.find("CRC"), std::string::npos);

    // Sound members read back after a seek still pass.
    MemoryZip sound(Mixed().Build());
    PimFileHandle handle = sound.fs.Open("big.txt", CBF_DEFAULT);
    ReadSome(sound.fs, handle, 1 << 20);
    EXPECT_EQ(sound.fs.Seek(handle, 17, 0), PIM_OK);
    EXPECT_EQ(sound.fs.Seek(handle, 0, 0), PIM_OK);
    ReadSome(sound.fs, handle, 1 << 20);
    EXPECT_EQ(sound.fs.Close(handle), PIM_OK);
}

TEST(ZipFileSystem, DamagedDeflateDataStopsWithError5)
{
    ErrorRecorder quiet;
    std::string text = ZipSampleText(100000, 5);
    std::string packed = ZipDeflate(text);
    ZipWriter writer;
    writer.Add("cut.txt", text, true).payload = packed.substr(0, packed.size() / 2);
    writer.Add("garbage.txt", text, true).payload = std::string(5000, '\xff');
    writer.Add("promised_more.txt", text, true).uncompressedSize = static_cast<uint32_t>(text.size() + 100);
    writer.Add("zeros.txt", text, true).payload = std::string(5000, '\0');
    MemoryZip zip(writer.Build());
    ASSERT_TRUE(zip.fs.IsMounted());

    for (const ZipMember& member : writer.members) {
        ReadOutcome read = ReadMember(zip.fs, member.name.c_str(), 30000);
        EXPECT_EQ(read.readCode, PIM_ERR_READ) << member.name;
        EXPECT_EQ(read.closeCode, PIM_OK) << member.name;
        // What was delivered is the start of the truth.
        EXPECT_EQ(read.data, text.substr(0, read.data.size())) << member.name;
    }
    EXPECT_EQ(ReadMember(zip.fs, "promised_more.txt", 1 << 20).data.size(), text.size());

    // A failed handle keeps failing, without looping, until it starts over.
    PimFileHandle handle = zip.fs.Open("cut.txt", CBF_DEFAULT);
    size_t got = 1;
    char buffer[64];
    EXPECT_EQ(zip.fs.Seek(handle, 99999, 0), PIM_ERR_READ);
    EXPECT_EQ(zip.fs.Read(handle, buffer, sizeof buffer, &got), PIM_ERR_READ);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(zip.fs.Seek(handle, 0, 0), PIM_OK);
    EXPECT_EQ(zip.fs.Read(handle, buffer, sizeof buffer, &got), PIM_OK);
    EXPECT_EQ(std::string(buffer, got), text.substr(0, sizeof buffer));
    EXPECT_EQ(zip.fs.Close(handle), PIM_OK);
}

TEST(ZipFileSystem, OpenRefusesWhatItCannotRead)
{
    ErrorRecorder errors;
    ZipWriter writer = Mixed();
    writer.Add("shrunk.txt", "abc").method = 14;
    writer.Add("secret.txt", "abc").flags = PIM_ZIP_FLAG_ENCRYPTED;
    writer.Add("huge.txt", "abc").uncompressedSize = 0xFFFFFFFFu;
    writer.Add("two_gb.txt", "abc", true).uncompressedSize = 0x80000000u;
    writer.Add("moved.txt", "abc").localSignature = 0x08074b50u;
    writer.Add("elsewhere.txt", "abc").localHeaderOffset = 0x00100000u;
    writer.Add("grown.txt", "abc", true).compressedSize = 0x00100000u;
    writer.Folder("folder/");
    MemoryZip zip(writer.Build());
    ASSERT_TRUE(zip.fs.IsMounted());

    for (uint32_t flags : {uint32_t{CBF_READONLY}, uint32_t{CBF_BINARY}, uint32_t{CBF_BINARY | CBF_WRITE},
                           uint32_t{CBF_DEFAULT | CBF_TEXT}}) {
        EXPECT_EQ(zip.fs.Open("stored.txt", flags), nullptr);
        EXPECT_EQ(zip.fs.GetError(), PIM_ERR_BAD_ARG);
    }
    EXPECT_EQ(errors.errors.back().message, "Can only open Zip file with (CBF_BINARY | CBF_READONLY)");

    EXPECT_EQ(ReadMember(zip.fs, "missing.txt", 10).openCode, PIM_ERR_NOT_FOUND);
    EXPECT_EQ(errors.errors.back().message, "missing.txt not found in this Zip file");
    EXPECT_EQ(ReadMember(zip.fs, "folder", 10).openCode, PIM_ERR_NOT_FOUND);
    EXPECT_EQ(ReadMember(zip.fs, "shrunk.txt", 10).openCode, PIM_ERR_UNKNOWN);
    EXPECT_EQ(errors.errors.back().message,
              "Incompatible Zip compression format. We only support methods 0 (store), and 8 (deflate)");
    for (const char* name : {"secret.txt", "huge.txt", "two_gb.txt", "moved.txt", "elsewhere.txt", "grown.txt"})
        EXPECT_EQ(ReadMember(zip.fs, name, 10).openCode, PIM_ERR_UNKNOWN) << name;

    // Nothing can be made or changed; writing to an open member is a quiet no-op.
    EXPECT_EQ(zip.fs.Create("new.txt", CBF_BINARY), nullptr);
    EXPECT_EQ(zip.fs.GetError(), PIM_ERR_UNKNOWN);
    EXPECT_EQ(zip.fs.MakeDirectory("made"), PIM_ERR_UNKNOWN);
    EXPECT_EQ(zip.fs.ReplaceFile("stored.txt", "x", 1), PIM_ERR_UNKNOWN);
    PimFileHandle handle = zip.fs.Open("stored.txt", CBF_DEFAULT);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(zip.fs.Write(handle, "overwrite", 9), PIM_OK);
    EXPECT_EQ(ReadSome(zip.fs, handle, 9), ZipSampleText(9));
    EXPECT_EQ(zip.fs.Close(handle), PIM_OK);
    EXPECT_EQ(zip.fs.Close(handle), PIM_ERR_BAD_ARG); // already closed

    // An archive with a ZIP64 end locator is listed, but its members are not read.
    ZipWriter wide = Mixed();
    wide.zip64Locator = true;
    MemoryZip zip64(wide.Build());
    ASSERT_TRUE(zip64.fs.IsMounted());
    EXPECT_TRUE(zip64.fs.Exists("stored.txt"));
    EXPECT_EQ(ReadMember(zip64.fs, "stored.txt", 10).openCode, PIM_ERR_UNKNOWN);
}

TEST(ZipFileSystem, SeeksAndKeepsEveryHandleApart)
{
    ErrorRecorder quiet;
    ZipWriter writer = Mixed();
    MemoryZip zip(writer.Build());
    for (const char* name : {"stored.txt", "big.txt"}) {
        std::string text = name[0] == 's' ? ZipSampleText(3000) : ZipSampleText(200000, 7);
        int64_t size = static_cast<int64_t>(text.size());
        PimFileHandle handle = zip.fs.Open(name, CBF_DEFAULT);
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(zip.fs.Seek(handle, 1000, 0), PIM_OK);
        EXPECT_EQ(ReadSome(zip.fs, handle, 10), text.substr(1000, 10));
        EXPECT_EQ(zip.fs.Seek(handle, -500, 1), PIM_OK);
        EXPECT_EQ(zip.fs.Tell(handle), 510);
        EXPECT_EQ(ReadSome(zip.fs, handle, 10), text.substr(510, 10));
        EXPECT_EQ(zip.fs.Seek(handle, -10, 2), PIM_OK);
        EXPECT_EQ(ReadSome(zip.fs, handle, 100), text.substr(text.size() - 10));
        EXPECT_EQ(zip.fs.Seek(handle, -1, 0), PIM_ERR_SEEK);
        EXPECT_EQ(zip.fs.Seek(handle, 0, 3), PIM_ERR_BAD_ARG);
        EXPECT_EQ(zip.fs.Seek(handle, size + 50, 0), PIM_OK);
        EXPECT_EQ(zip.fs.Tell(handle), size);
        EXPECT_EQ(ReadSome(zip.fs, handle, 10), "");
        EXPECT_EQ(zip.fs.Close(handle), PIM_OK);
    }

    // Three handles, two on one member, read in turns.
    std::string big = ZipSampleText(200000, 7);
    std::string noise = writer.members[3].data;
    PimFileHandle a = zip.fs.Open("big.txt", CBF_DEFAULT);
    PimFileHandle b = zip.fs.Open("BIG.TXT", CBF_DEFAULT);
    PimFileHandle c = zip.fs.Open("noise.bin", CBF_DEFAULT);
    ASSERT_TRUE(a && b && c);
    ASSERT_EQ(zip.fs.Seek(b, 50000, 0), PIM_OK);
    std::string readA, readB, readC;
    for (int turn = 0; turn < 60; ++turn) {
        readA += ReadSome(zip.fs, a, 3333);
        readB += ReadSome(zip.fs, b, 2000);
        readC += ReadSome(zip.fs, c, 777);
    }
    EXPECT_TRUE(readA == big.substr(0, readA.size()) && readA.size() == 199980);
    EXPECT_TRUE(readB == big.substr(50000, readB.size()) && readB.size() == 120000);
    EXPECT_TRUE(readC == noise);
    EXPECT_EQ(zip.fs.Close(c), PIM_OK);
    EXPECT_EQ(zip.fs.Close(b), PIM_OK);
    // Handles still open when the file system goes are freed with it.
    EXPECT_EQ(zip.fs.Tell(a), 199980);
}

TEST(ZipFileSystem, ListsAndAnswersForFoldersAndFiles)
{
    ErrorRecorder quiet;
    ZipWriter writer;
    writer.Add("readme.txt", "hello").date = 0x5A8F; // 2025-04-15
    writer.Folder("Data/");
    writer.Add("Data\\a.txt", "aa").externalAttributes = 0x01;
    writer.Add("Data/b.bin", "bbb").externalAttributes = 0x02 | 0x20;
    writer.Add("Data/Sub/c.txt", "cccc").externalAttributes = 0x20;
    writer.Add("Music/x.ogg", "x", true);
    ZipMember& script = writer.Add("/tools\\\\run.sh", "#!");
    script.madeBy = 0x031E;
    script.externalAttributes = 0100555u << 16;
    std::string deep;
    while (deep.size() < 65533)
        deep += "d/";
    deep += "f";
    writer.Add(deep, "deep");
    MemoryZip zip(writer.Build());
    ASSERT_TRUE(zip.fs.IsMounted());

    using Paths = std::vector<std::string>;
    EXPECT_EQ(Find(zip.fs, "*", 0, false), Paths({"readme.txt"}));
    EXPECT_EQ(Find(zip.fs, "*.txt", 0, true), Paths({"readme.txt", "Data/a.txt", "Data/Sub/c.txt"}));
    EXPECT_EQ(Find(zip.fs, "data\\*", 0, false), Paths({"Data/a.txt", "Data/b.bin"}));
    EXPECT_EQ(Find(zip.fs, "/DATA/", -1, false), Paths({"Data/Sub"}));
    EXPECT_EQ(Find(zip.fs, "*", -1, false), Paths({"Data", "Music", "tools", "d"}));
    EXPECT_EQ(Find(zip.fs, "*", PIM_FA_READONLY, true), Paths({"Data/a.txt", "tools/run.sh"}));
    EXPECT_EQ(Find(zip.fs, "*", PIM_FA_HIDDEN | PIM_FA_ARCHIVE, true), Paths({"Data/b.bin"}));
    EXPECT_EQ(Find(zip.fs, "Nowhere/*", 0, true), Paths());
    Paths all = Find(zip.fs, "*", 0, true);
    ASSERT_EQ(all.size(), 7u);
    EXPECT_EQ(all.back().size(), deep.size() > 32766 ? 32766u : deep.size());

    CxFileInfoList list;
    zip.fs.FindFiles(list, "*.txt", 0, false);
    ASSERT_EQ(list.GetCount(), 1u);
    const CxFileInfo& info = list.GetFirst()->GetElement();
    EXPECT_STREQ(info.fileName.GetText(), "readme.txt");
    EXPECT_EQ(info.size, 5);
    EXPECT_EQ(info.time.year, 2025);
    EXPECT_EQ(info.time.month, 4);
    EXPECT_EQ(info.time.day, 15);
    EXPECT_EQ(info.time.hour, 12);
    EXPECT_EQ(info.time.dayOfWeek, 2); // a Tuesday

    EXPECT_TRUE(zip.fs.Exists("DATA/A.TXT"));
    EXPECT_TRUE(zip.fs.Exists("\\data\\sub\\c.txt"));
    EXPECT_TRUE(zip.fs.Exists("tools/run.sh"));
    EXPECT_TRUE(zip.fs.Exists("Music//x.ogg"));
    EXPECT_TRUE(zip.fs.Exists(deep.c_str()));
    EXPECT_FALSE(zip.fs.Exists("Data"));
    EXPECT_FALSE(zip.fs.Exists("Data/"));
    EXPECT_TRUE(zip.fs.IsDirectory("music"));
    EXPECT_TRUE(zip.fs.IsDirectory("Data/Sub/"));
    EXPECT_TRUE(zip.fs.IsDirectory(deep.substr(0, 65000).c_str()));
    EXPECT_FALSE(zip.fs.IsDirectory("readme.txt"));
    EXPECT_FALSE(zip.fs.IsDirectory("Mus"));
    EXPECT_EQ(zip.fs.GetAttributes("data/a.txt"), uint32_t{PIM_FA_READONLY});
    EXPECT_EQ(zip.fs.GetAttributes("Data/b.bin"), uint32_t{PIM_FA_HIDDEN | PIM_FA_ARCHIVE});
    EXPECT_EQ(zip.fs.GetAttributes("Music"), uint32_t{PIM_FA_DIRECTORY});
    EXPECT_EQ(zip.fs.GetAttributes("missing"), 0u);
    ST_FILE_TIME time;
    EXPECT_EQ(zip.fs.GetFileTime("Data", time), PIM_OK);
    EXPECT_EQ(zip.fs.GetFileTime("Music", time), PIM_ERR_NOT_FOUND);
    EXPECT_EQ(ReadMember(zip.fs, deep.c_str(), 100).data, "deep");
    CxString full;
    EXPECT_EQ(zip.fs.GetFullPath(full, "<pack>Data/a.txt"), PIM_OK);
    EXPECT_STREQ(full.GetText(), "Data/a.txt");
}

TEST(ZipFileSystem, DamagedArchivesAreRefusedOrReadSafely)
{
    ErrorRecorder quiet;
    ZipWriter writer;
    writer.Add("one.txt", ZipSampleText(300), true);
    writer.Add("two.txt", "second");
    writer.Folder("sub/");
    writer.comment = "ok";
    std::string whole = writer.Build();

    // Cut at the end or at the front: never an archive any more.
    for (size_t length = 0; length < whole.size(); ++length) {
        MemoryZip head(whole.substr(0, length));
        MemoryZip tail(whole.substr(whole.size() - length));
        EXPECT_EQ(head.fs.GetError(), PIM_ERR_UNKNOWN) << length;
        EXPECT_EQ(tail.fs.GetError(), PIM_ERR_UNKNOWN) << length;
    }
    // Every byte changed in turn: whatever mounts reads without harm.
    int mounted = 0;
    for (size_t at = 0; at < whole.size(); ++at) {
        std::string bytes = whole;
        bytes[at] = static_cast<char>(bytes[at] ^ 0xA5);
        MemoryZip zip(bytes);
        if (!zip.fs.IsMounted())
            continue;
        ++mounted;
        for (const std::string& path : Find(zip.fs, "*", 0, true)) {
            ReadOutcome read = ReadMember(zip.fs, path.c_str(), 64);
            EXPECT_TRUE(read.openCode == PIM_OK || read.openCode == PIM_ERR_UNKNOWN);
        }
    }
    EXPECT_GT(mounted, 0);

    // A file system over garbage answers everything, and quietly.
    MemoryZip garbage(std::string(1000, 'P'));
    CxZipFileSystem none(nullptr, 0, "<None>");
    for (CxZipFileSystem* fs : {&garbage.fs, &none}) {
        EXPECT_EQ(fs->GetError(), PIM_ERR_UNKNOWN);
        EXPECT_TRUE(Find(*fs, "*", -1, true).empty());
        EXPECT_EQ(fs->Open("a", CBF_DEFAULT), nullptr);
        EXPECT_FALSE(fs->Exists("a"));
        EXPECT_FALSE(fs->IsDirectory(""));
        EXPECT_EQ(fs->FileSize("a"), 0);
        EXPECT_EQ(fs->GetAttributes("a"), 0u);
        int bogus = 0;
        size_t got = 1;
        EXPECT_EQ(fs->Read(&bogus, &bogus, 1, &got), PIM_ERR_BAD_ARG);
        EXPECT_EQ(got, 0u);
        EXPECT_EQ(fs->Seek(&bogus, 0, 0), PIM_ERR_BAD_ARG);
        EXPECT_EQ(fs->Close(nullptr), PIM_ERR_BAD_ARG);
        EXPECT_EQ(fs->Tell(&bogus), -1);
    }
}

TEST(ZipFileSystem, ReadsItsArchiveThroughTheFileLayer)
{
    ErrorRecorder quiet;
    TempFolder folder;
    ZipWriter inner = Mixed();
    ZipWriter outer;
    outer.Add("packs/inner.zip", inner.Build(), true);
    outer.leading = "stub";
    folder.Write("outer.zip", outer.Build());
    CxDirectoryFileSystem disk("<ZipDisk>", folder.Path().c_str());

    CxZipFileSystem pack("<ZipDisk>outer.zip", "<Outer>");
    ASSERT_TRUE(pack.IsMounted());
    // A zip inside the zip: every read of the inner archive seeks in a deflated member.
    CxZipFileSystem nested("<Outer>packs/inner.zip", "<Inner>");
    ASSERT_TRUE(nested.IsMounted());
    EXPECT_EQ(ReadMember(nested, "big.txt", 5000).data, inner.members[1].data);
    EXPECT_EQ(ReadMember(nested, "stored.txt", 5000).data, inner.members[0].data);

    CxFsHandle* file = FsOpen("<Inner>noise.bin", CBF_DEFAULT);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(FsSize(file), 40000);
    EXPECT_EQ(FsClose(file), PIM_OK);

    // Searched for without a tag, in front of every other file system: the
    // new one is busy and passes itself by.
    CxZipFileSystem front("packs/inner.zip", "<Front>", -1);
    EXPECT_TRUE(front.IsMounted());
    EXPECT_EQ(GetFileSystem(0), &front);

    CxZipFileSystem missing("<ZipDisk>nothing.zip", "<Missing>");
    EXPECT_EQ(missing.GetError(), PIM_ERR_OPEN);
}

namespace {
int g_allocationsLeft = 0;
bool FailAfterCount(size_t)
{
    return g_allocationsLeft-- <= 0;
}
} // namespace

TEST(ZipFileSystem, RunningOutOfMemoryIsReportedNeverFatal)
{
    ErrorRecorder quiet;
    std::string bytes = Mixed().Build();
    bool completed = false;
    for (int allowed = 0; allowed < 200 && !completed; ++allowed) {
        g_allocationsLeft = allowed;
        SetAllocationFailHook(&FailAfterCount);
        auto zip = std::make_unique<MemoryZip>(bytes);
        if (zip->fs.IsMounted()) {
            EXPECT_EQ(zip->fs.GetError(), PIM_OK);
            ReadOutcome read = ReadMember(zip->fs, "big.txt", 100000);
            CxFileInfoList list;
            int listed = zip->fs.FindFiles(list, "*", 0, true);
            completed = read.openCode == PIM_OK && read.readCode == PIM_OK && listed == PIM_OK;
            if (read.readCode == PIM_OK && read.openCode == PIM_OK) {
                EXPECT_TRUE(read.data == ZipSampleText(200000, 7));
            }
            EXPECT_TRUE(read.openCode == PIM_OK || read.openCode == PIM_ERR_OUT_OF_MEMORY);
            EXPECT_TRUE(read.readCode == PIM_OK || read.readCode == PIM_ERR_OUT_OF_MEMORY);
        } else {
            EXPECT_EQ(zip->fs.GetError(), PIM_ERR_OUT_OF_MEMORY);
        }
        SetAllocationFailHook(nullptr);
    }
    EXPECT_TRUE(completed);
}

TEST(ZipFileSystem, ReadsArchivesMadeByInfoZip)
{
    if (std::system("test -x /usr/bin/zip") != 0)
        GTEST_SKIP() << "/usr/bin/zip is not installed";
    TempFolder folder;
    std::string big = ZipSampleText(100000, 9);
    folder.Write("in/Data/big.txt", big);
    folder.Write("in/small.txt", "small");
    folder.Write("in/Empty/.keep", "");
    std::string command = "cd '" + folder.Path() + "/in' && /usr/bin/zip -q -r -9 ../made.zip . && " +
                          "/usr/bin/zip -q -0 ../made.zip small.txt";
    ASSERT_EQ(std::system(command.c_str()), 0);
    MemoryZip zip(folder.Read("made.zip"));
    ASSERT_TRUE(zip.fs.IsMounted());
    EXPECT_EQ(ReadMember(zip.fs, "data/BIG.txt", 777).data, big);
    ReadOutcome small = ReadMember(zip.fs, "small.txt", 2);
    EXPECT_EQ(small.data, "small");
    EXPECT_EQ(small.closeCode, PIM_OK);
    EXPECT_TRUE(zip.fs.IsDirectory("Empty"));
    EXPECT_EQ(Find(zip.fs, "*.txt", 0, true).size(), 2u);
}
