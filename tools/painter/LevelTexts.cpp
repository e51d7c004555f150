#include "tools/painter/LevelTexts.h"

#include "PIM/core/CxError.h"
#include "PIM/core/PimTrace.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

int MakeLevelFiles(const char* dataFolder, const char* room, int levels, const char* extension,
                   const LevelTextConverter& convert, bool verbose)
{
    int result = PIM_OK;
    for (int level = 0; level < levels; ++level) {
        char name[64];
        std::snprintf(name, sizeof name, "%s/sLevel%02d", room, level);
        const std::filesystem::path base = std::filesystem::path(dataFolder) / name;
        std::filesystem::path source = base, target = base;
        source += ".txt";
        target += extension;
        std::ifstream in(source, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        std::string bytes;
        std::string error = "cannot be read";
        int code = PIM_OK;
        if (!in || !convert(text.str(), bytes, error)) {
            std::fprintf(stderr, "%s: %s\n", source.string().c_str(), error.c_str());
            code = in ? PIM_ERR_FILE_TYPE : PIM_ERR_OPEN;
        } else {
            std::ofstream out(target, std::ios::binary | std::ios::trunc);
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            if (!out)
                code = PIM_ERR_WRITE;
        }
        if (code != PIM_OK && result == PIM_OK)
            result = code;
        if (verbose)
            Trace("%s %s\n", code == PIM_OK ? "made" : "FAILED", target.string().c_str());
    }
    return result;
}
