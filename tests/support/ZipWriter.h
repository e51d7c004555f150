#pragma once
// A small zip writer of the tests' own, so that every archive a test reads
// is made in the test, byte for byte, including broken ones. Members are
// stored or deflated (zlib, raw); every header field can be overridden after
// Add, and the layout of the result says where each record landed so a test
// can damage exactly the byte it means to.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ZipMember
{
    std::string name;
    std::string data;
    bool deflate = false;
    // 0x0014: made on MS-DOS, version 2.0. Use 0x031E for Unix.
    uint16_t madeBy = 0x0014;
    uint32_t externalAttributes = 0;
    uint16_t flags = 0;
    uint16_t time = 0x6000; // 12:00:00
    uint16_t date = 0x5A21; // 2025-01-01
    std::string extra;      // the same extra field in both headers
    std::string comment;    // the directory entry's comment

    // What the headers claim, when it should differ from the truth.
    std::optional<uint16_t> method;
    std::optional<uint32_t> crc;
    std::optional<uint32_t> compressedSize;
    std::optional<uint32_t> uncompressedSize;
    std::optional<uint32_t> localHeaderOffset;
    std::optional<uint32_t> localSignature;
    // Replaces the compressed bytes written.
    std::optional<std::string> payload;
};

struct ZipLayout
{
    std::vector<size_t> localHeaders; // offsets in the output
    std::vector<size_t> data;         // where each member's bytes start
    size_t directory = 0;
    size_t endRecord = 0;
};

class ZipWriter
{
public:
    ZipMember& Add(const std::string& name, const std::string& data, bool deflate = false);
    ZipMember& Folder(const std::string& name); // name ends in "/"

    // Bytes before the archive (a self-extracting stub) and after it.
    std::string leading;
    std::string trailing;
    std::string comment;
    // End record fields, when they should lie.
    std::optional<uint16_t> entryCount;
    std::optional<uint32_t> directorySize;
    std::optional<uint32_t> directoryOffset;
    std::optional<uint16_t> commentLength;
    std::optional<uint16_t> diskNumber;
    // Writes a ZIP64 end record and locator in front of the end record.
    bool zip64Locator = false;

    std::string Build(ZipLayout* layout = nullptr) const;

    std::vector<ZipMember> members;
};

// Raw deflate (no zlib header) at the given level.
std::string ZipDeflate(const std::string& data, int level = 6);
uint32_t ZipCrc(const std::string& data);
// A deterministic, partly compressible text of `size` bytes.
std::string ZipSampleText(size_t size, uint32_t seed = 1);
