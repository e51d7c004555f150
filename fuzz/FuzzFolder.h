#pragma once
// A folder made once per fuzzing process, mounted as a file system under a
// tag, where a target writes each input (and whatever files it needs) so
// that the code under test reads it through the file layer as the game
// would. Everything written through it goes with it at exit.

#include "PIM/files/CxDirectoryFileSystem.h"
#include "PIM/graphics/CxDrawSurface.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

namespace fuzz {

class MountedFolder
{
public:
    // `tag` as "<Name>"; the folder is made under /tmp.
    explicit MountedFolder(const char* tag) : m_tag(tag)
    {
        std::string pattern = "/tmp/fuzz-folder-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            std::abort();
        m_path = pattern;
        m_fs = new CxDirectoryFileSystem(tag, m_path.c_str());
    }
    ~MountedFolder()
    {
        delete m_fs;
        for (const std::string& name : m_names)
            std::remove((m_path + "/" + name).c_str());
        ::rmdir(m_path.c_str());
    }
    MountedFolder(const MountedFolder&) = delete;
    MountedFolder& operator=(const MountedFolder&) = delete;

    bool IsMounted() const { return m_fs != nullptr; }
    // "<Tag>name": how the code under test names the file.
    std::string Tagged(const char* name) const { return m_tag + name; }

    // The bytes as the file `name`; false when they could not be written.
    bool Write(const char* name, const uint8_t* data, size_t size)
    {
        Remember(name);
        FILE* file = std::fopen((m_path + "/" + name).c_str(), "wb");
        if (!file)
            return false;
        const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
        return std::fclose(file) == 0 && written;
    }
    // A strip of `frames` frames of width x height at `depth`, frame f
    // filled with the colour step * (f + 1), saved as `name`.
    void Picture(const char* name, int frames, int32_t width, int32_t height, int depth, uint32_t step)
    {
        CxDrawSurface strip;
        if (strip.Create(width * frames, height, depth) != PIM_OK)
            std::abort();
        for (int f = 0; f < frames; ++f)
            strip.FillRect(CxRect(f * width, 0, (f + 1) * width - 1, height - 1), step * static_cast<uint32_t>(f + 1));
        Remember(name);
        if (strip.Save(Tagged(name).c_str()) != PIM_OK)
            std::abort();
    }
    // A file written some other way, to be removed at exit.
    void Remember(const char* name)
    {
        for (const std::string& known : m_names)
            if (known == name)
                return;
        m_names.emplace_back(name);
    }

private:
    std::string m_tag;
    std::string m_path;
    CxDirectoryFileSystem* m_fs = nullptr;
    std::vector<std::string> m_names;
};

} // namespace fuzz
