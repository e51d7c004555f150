#include "tests/support/ZipWriter.h"

#include <zlib.h>

namespace {

void Put16(std::string& out, uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void Put64(std::string& out, uint64_t value)
{
    Put32(out, static_cast<uint32_t>(value));
    Put32(out, static_cast<uint32_t>(value >> 32));
}

} // namespace

std::string ZipDeflate(const std::string& data, int level)
{
    z_stream stream{};
    deflateInit2(&stream, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

uint32_t ZipCrc(const std::string& data)
{
    return static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

std::string ZipSampleText(size_t size, uint32_t seed)
{
    static const char* const words[] = {"bale ", "pig ", "croquet ", "popcorn ", "fair ", "farm ", "web ", "\n"};
    std::string text;
    uint32_t state = seed * 2654435761u + 1;
    while (text.size() < size) {
        state = state * 1103515245u + 12345u;
        text += words[(state >> 16) & 7];
        if ((state >> 8) % 5 == 0)
            text += static_cast<char>('A' + (state >> 24) % 26);
    }
    text.resize(size);
    return text;
}

ZipMember& ZipWriter::Add(const std::string& name, const std::string& data, bool deflate)
{
    ZipMember member;
    member.name = name;
    member.data = data;
    member.deflate = deflate;
    members.push_back(member);
    return members.back();
}

ZipMember& ZipWriter::Folder(const std::string& name)
{
    ZipMember& member = Add(name, "");
    member.externalAttributes = 0x10;
    return member;
}

std::string ZipWriter::Build(ZipLayout* layout) const
{
    std::string out = leading;
    ZipLayout where;
    std::string directory;
    for (const ZipMember& m : members) {
        std::string payload = m.payload ? *m.payload : (m.deflate ? ZipDeflate(m.data) : m.data);
        uint16_t method = m.method ? *m.method : (m.deflate ? 8 : 0);
        uint32_t crc = m.crc ? *m.crc : ZipCrc(m.data);
        uint32_t compressed = m.compressedSize ? *m.compressedSize : static_cast<uint32_t>(payload.size());
        uint32_t uncompressed = m.uncompressedSize ? *m.uncompressedSize : static_cast<uint32_t>(m.data.size());
        // Offsets count from the start of the archive, not of the file.
        uint32_t local = static_cast<uint32_t>(out.size() - leading.size());

        where.localHeaders.push_back(out.size());
        Put32(out, m.localSignature ? *m.localSignature : 0x04034b50u);
        Put16(out, 20);
        Put16(out, m.flags);
        Put16(out, method);
        Put16(out, m.time);
        Put16(out, m.date);
        Put32(out, crc);
        Put32(out, compressed);
        Put32(out, uncompressed);
        Put16(out, static_cast<uint32_t>(m.name.size()));
        Put16(out, static_cast<uint32_t>(m.extra.size()));
        out += m.name;
        out += m.extra;
        where.data.push_back(out.size());
        out += payload;

        Put32(directory, 0x02014b50u);
        Put16(directory, m.madeBy);
        Put16(directory, 20);
        Put16(directory, m.flags);
        Put16(directory, method);
        Put16(directory, m.time);
        Put16(directory, m.date);
        Put32(directory, crc);
        Put32(directory, compressed);
        Put32(directory, uncompressed);
        Put16(directory, static_cast<uint32_t>(m.name.size()));
        Put16(directory, static_cast<uint32_t>(m.extra.size()));
        Put16(directory, static_cast<uint32_t>(m.comment.size()));
        Put16(directory, 0);
        Put16(directory, 0);
        Put32(directory, m.externalAttributes);
        Put32(directory, m.localHeaderOffset ? *m.localHeaderOffset : local);
        directory += m.name;
        directory += m.extra;
        directory += m.comment;
    }
    where.directory = out.size();
    uint32_t directoryAt = static_cast<uint32_t>(out.size() - leading.size());
    out += directory;

    uint16_t count = entryCount ? *entryCount : static_cast<uint16_t>(members.size());
    uint32_t size = directorySize ? *directorySize : static_cast<uint32_t>(directory.size());
    uint32_t offset = directoryOffset ? *directoryOffset : directoryAt;
    if (zip64Locator) {
        uint64_t recordAt = out.size() - leading.size();
        Put32(out, 0x06064b50u);
        Put64(out, 44);
        Put16(out, 45);
        Put16(out, 45);
        Put32(out, 0);
        Put32(out, 0);
        Put64(out, count);
        Put64(out, count);
        Put64(out, size);
        Put64(out, offset);
        Put32(out, 0x07064b50u);
        Put32(out, 0);
        Put64(out, recordAt);
        Put32(out, 1);
    }
    where.endRecord = out.size();
    uint16_t disk = diskNumber ? *diskNumber : 0;
    Put32(out, 0x06054b50u);
    Put16(out, disk);
    Put16(out, disk);
    Put16(out, count);
    Put16(out, count);
    Put32(out, size);
    Put32(out, offset);
    Put16(out, commentLength ? *commentLength : static_cast<uint32_t>(comment.size()));
    out += comment;
    out += trailing;
    if (layout)
        *layout = where;
    return out;
}
