#include "tools/pimtool/PimTool.h"

#include "tools/pimtool/DataChecker.h"

#include "PIM/core/CxError.h"
#include "PIM/core/CxOptionSection.h"
#include "PIM/core/CxOptionVariable.h"
#include "PIM/core/Pimstr.h"
#include "PIM/files/CxDirectoryFileSystem.h"
#include "PIM/files/CxFile.h"
#include "PIM/files/CxOptions.h"
#include "PIM/files/CxZipFileSystem.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/files/PimMount.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimSurfaceFactory.h"
#include "PIM/image/PimImageFilters.h"
#include "PIM/movie/CxAvMovie.h"
#include "PIM/sound/PimSoundDecode.h"
#include "PIM/sound/PimWavFile.h"
#include "PIM/sound/PimWaveFormat.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "Usage: pimtool COMMAND [ARGUMENTS]\n"
    "Reads game data exactly as the game does: through the engine's file systems.\n"
    "\n"
    "  cat [--root TAG=DIR_OR_ZIP]... PATH\n"
    "        mount the roots in order (a path ending in .zip is an archive) and\n"
    "        write the file PATH to standard output\n"
    "  ls DIR_OR_ZIP\n"
    "        every file with its size, \"SIZE<TAB>NAME\", in the archive's or the\n"
    "        folder's order\n"
    "  ini-get FILE SECTION KEY [DEFAULT]\n"
    "        print a value of an option file (DEFAULT, or nothing, when missing)\n"
    "  ini-set FILE SECTION KEY VALUE\n"
    "        set a value of an option file and save it\n"
    "  info [--root TAG=DIR_OR_ZIP]... IMAGE\n"
    "        \"WIDTH HEIGHT DEPTH LAYOUT\" of a picture, loaded as the game loads it\n"
    "  convert [--root TAG=DIR_OR_ZIP]... IN OUT\n"
    "        load IN as the game does and write OUT by its extension (.tga or .png)\n"
    "  wav-decode [--root TAG=DIR_OR_ZIP]... IN OUT.wav\n"
    "        decode the sound IN as the game does (by its name: .mp3, .raw, else a\n"
    "        wave file) and write it as 16-bit PCM at its own rate and channels\n"
    "  wav-info [--root TAG=DIR_OR_ZIP]... IN\n"
    "        \"RATE CHANNELS BITS SAMPLES ADPCM\" of a sound (an MP3: as decoded)\n"
    "  movie-info [--root TAG=DIR_OR_ZIP]... FILE\n"
    "        \"WIDTH HEIGHT FRAMES FPS ALPHA SOUND\" of a movie, whatever its name\n"
    "        (ALPHA 0 or 1, SOUND its number of sound tracks)\n"
    "  movie-frame [--root TAG=DIR_OR_ZIP]... FILE N OUT.png\n"
    "        write frame N (from 0) of a movie as a picture (32 bits with alpha,\n"
    "        else 24)\n"
    "  check [--root TAG=DIR_OR_ZIP]... [DATA_FOLDER]\n"
    "        read the data folder (default: this folder) as the game does, mounted\n"
    "        as <InstallPath> and searched before the roots, and list every problem\n"
    "        found, \"FILE:LINE: what is wrong\"; exit 1 when there is any\n"
    "  help  this text\n";

// Engine errors become messages on the tool's error stream; the first code
// is kept for the exit status.
struct ErrorSink
{
    FILE* err;
    int firstCode = PIM_OK;

    static void OnError(void* context, int code, const char* message)
    {
        auto* sink = static_cast<ErrorSink*>(context);
        if (sink->firstCode == PIM_OK)
            sink->firstCode = code;
        std::fprintf(sink->err, "pimtool: %s%s%s\n", ErrorText(code), message && *message ? ": " : "",
                     message ? message : "");
    }
};

class Tool
{
public:
    Tool(FILE* out, FILE* err) : m_out(out), m_err(err), m_sink{err}
    {
        m_previous = SetErrorHandler({&ErrorSink::OnError, &m_sink});
        RegisterDefaultImageFilters();
    }
    ~Tool()
    {
        m_mounts.clear();
        SetErrorHandler(m_previous);
    }
    Tool(const Tool&) = delete;
    Tool(Tool&&) = delete;
    Tool& operator=(const Tool&) = delete;

    int Run(const std::vector<std::string>& args);

private:
    int Usage(const char* problem)
    {
        std::fprintf(m_err, "pimtool: %s\n\n%s", problem, kUsage);
        return 2;
    }
    // A failure the engine did not report itself.
    int Fail(int code, const std::string& what)
    {
        std::fprintf(m_err, "pimtool: %s: %s\n", ErrorText(code), what.c_str());
        return 1;
    }

    // Mounts `path` under `tag`; false (with a message) when it cannot be read.
    bool Mount(const std::string& tag, const std::string& path);

    // Mounts every "--root TAG=DIR_OR_ZIP" of `args` in order and returns the
    // other arguments in `positional`: 0, 1 (a mount failed) or 2 (usage).
    int MountRoots(const std::vector<std::string>& args, std::vector<std::string>& positional);
    int Cat(const std::vector<std::string>& args);
    int Info(const std::vector<std::string>& args);
    int Convert(const std::vector<std::string>& args);
    int WavDecode(const std::vector<std::string>& args);
    int WavInfo(const std::vector<std::string>& args);
    // Reads a sound named on the command line; its kind follows from the name.
    bool LoadSound(const std::string& path, CxBuffer& data, uint32_t& kind);
    int List(const std::vector<std::string>& args);
    int MovieInfo(const std::vector<std::string>& args);
    int MovieFrame(const std::vector<std::string>& args);
    // Opens a movie named on the command line; false with a message.
    bool OpenMovie(const std::string& path, CxAvMovie& movie);
    int IniGet(const std::vector<std::string>& args);
    int IniSet(const std::vector<std::string>& args);
    int Check(const std::vector<std::string>& args);

    FILE* m_out;
    FILE* m_err;
    ErrorSink m_sink;
    ST_ERROR_HANDLER m_previous;
    std::vector<std::unique_ptr<CxFileSystem>> m_mounts;
};

bool Tool::Mount(const std::string& tag, const std::string& path)
{
    // Paths on the command line are the system's own: read them through the
    // default file system, never through a root mounted before.
    GetDefaultFileSystem();
    const std::string onDisk = "<DEFAULT>" + path;
    if (IsZipArchivePath(path.c_str())) {
        if (!FsExists(onDisk.c_str())) {
            Fail(PIM_ERR_NOT_FOUND, path);
            return false;
        }
    } else if (!FsIsDirectory(onDisk.c_str())) {
        Fail(PIM_ERR_PATH, path + " is not a folder");
        return false;
    }
    std::unique_ptr<CxFileSystem> fs(
        MountFileSystem(tag.c_str(), IsZipArchivePath(path.c_str()) ? onDisk.c_str() : path.c_str()));
    if (!fs)
        return Fail(PIM_ERR_OUT_OF_MEMORY, path), false;
    if (fs->GetError() != PIM_OK) {
        Fail(fs->GetError(), "cannot read the archive " + path);
        return false;
    }
    m_mounts.push_back(std::move(fs));
    return true;
}

int Tool::MountRoots(const std::vector<std::string>& args, std::vector<std::string>& positional)
{
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--root") {
            positional.push_back(args[i]);
            continue;
        }
        if (i + 1 >= args.size())
            return Usage("--root needs TAG=DIR_OR_ZIP");
        const std::string& root = args[++i];
        size_t equals = root.find('=');
        if (equals == std::string::npos || equals == 0 || equals + 1 == root.size())
            return Usage("--root needs TAG=DIR_OR_ZIP");
        std::string tag = root.substr(0, equals);
        if (tag.front() != '<')
            tag = "<" + tag + ">";
        if (!Mount(tag, root.substr(equals + 1)))
            return 1;
    }
    // Names not found in any mount are the system's own paths.
    GetDefaultFileSystem();
    return 0;
}

int Tool::Cat(const std::vector<std::string>& args)
{
    std::vector<std::string> positional;
    if (int code = MountRoots(args, positional))
        return code;
    if (positional.size() > 1)
        return Usage("cat takes one PATH");
    const std::string path = positional.empty() ? std::string() : positional[0];
    if (path.empty())
        return Usage("cat needs a PATH");
    if (!FsExists(path.c_str()))
        return Fail(PIM_ERR_NOT_FOUND, path);
    CxBuffer buffer;
    if (LoadFile(path.c_str(), buffer) != PIM_OK)
        return 1;
    if (buffer.GetSize() && std::fwrite(buffer.GetData(), 1, buffer.GetSize(), m_out) != buffer.GetSize())
        return Fail(PIM_ERR_WRITE, "standard output");
    return std::fflush(m_out) == 0 ? 0 : Fail(PIM_ERR_WRITE, "standard output");
}

int Tool::Info(const std::vector<std::string>& args)
{
    std::vector<std::string> positional;
    if (int code = MountRoots(args, positional))
        return code;
    if (positional.size() != 1)
        return Usage("info takes one IMAGE");
    if (!FsExists(positional[0].c_str()))
        return Fail(PIM_ERR_NOT_FOUND, positional[0]);
    std::unique_ptr<CxDrawSurface> picture(LoadDrawSurface(positional[0].c_str()));
    if (!picture)
        return 1;
    std::fprintf(m_out, "%d %d %d %d\n", picture->GetWidth(), picture->GetHeight(), picture->GetDepth(),
                 picture->GetPixelLayout());
    return 0;
}

int Tool::Convert(const std::vector<std::string>& args)
{
    std::vector<std::string> positional;
    if (int code = MountRoots(args, positional))
        return code;
    if (positional.size() != 2)
        return Usage("convert takes IN and OUT");
    if (!FsExists(positional[0].c_str()))
        return Fail(PIM_ERR_NOT_FOUND, positional[0]);
    std::unique_ptr<CxDrawSurface> picture(LoadDrawSurface(positional[0].c_str()));
    if (!picture)
        return 1;
    // OUT is a path of the system's own (unless it names a root).
    std::string out = positional[1];
    if (out.empty() || out[0] != '<')
        out = "<DEFAULT>" + out;
    return picture->Save(out.c_str()) == PIM_OK ? 0 : 1;
}

bool Tool::LoadSound(const std::string& path, CxBuffer& data, uint32_t& kind)
{
    if (!FsExists(path.c_str()))
        return Fail(PIM_ERR_NOT_FOUND, path), false;
    if (LoadFile(path.c_str(), data) != PIM_OK)
        return false;
    kind = PIM_SOUND_KIND_WAVE;
    const char* dot = std::strrchr(path.c_str(), '.');
    if (dot && PimStrEqual(dot, ".mp3", true))
        kind = PIM_SOUND_KIND_MP3;
    else if (dot && PimStrEqual(dot, ".raw", true))
        kind = PIM_SOUND_KIND_RAW;
    return true;
}

int Tool::WavDecode(const std::vector<std::string>& args)
{
    std::vector<std::string> positional;
    if (int code = MountRoots(args, positional))
        return code;
    if (positional.size() != 2)
        return Usage("wav-decode takes IN and OUT.wav");
    CxBuffer data;
    uint32_t kind = 0;
    if (!LoadSound(positional[0], data, kind))
        return 1;
    ST_PCM pcm;
    if (int code = DecodeSound(data.GetData(), data.GetSize(), kind, pcm))
        return Fail(code, "cannot decode the sound " + positional[0]);
    std::string out = positional[1];
    if (out.empty() || out[0] != '<')
        out = "<DEFAULT>" + out;
    if (int code = WritePcmWav16(out.c_str(), pcm.samples.data(), pcm.frames, pcm.channels, pcm.rate))
        return Fail(code, positional[1]);
    return 0;
}

int Tool::WavInfo(const std::vector<std::string>& args)
{
    std::vector<std::string> positional;
    if (int code = MountRoots(args, positional))
        return code;
    if (positional.size() != 1)
        return Usage("wav-info takes one IN");
    CxBuffer data;
    uint32_t kind = 0;
    if (!LoadSound(positional[0], data, kind))
        return 1;
    if (kind == PIM_SOUND_KIND_MP3) {
        ST_PCM pcm;
        if (int code = DecodeSound(data.GetData(), data.GetSize(), kind, pcm))
            return Fail(code, "cannot decode the sound " + positional[0]);
        std::fprintf(m_out, "%u %u 16 %zu 0\n", pcm.rate, pcm.channels, pcm.frames);
        return 0;
    }
    ST_WAVE_INFO info;
    if (int code = GetWaveFormat(data.GetData(), data.GetSize(), kind == PIM_SOUND_KIND_RAW, info))
        return Fail(code, "cannot read the sound " + positional[0]);
    std::fprintf(m_out, "%u %u %u %u %d\n", info.rate, info.channels, info.bits, info.samples, info.adpcm ? 1 : 0);
    return 0;
}

int Tool::List(const std::vector<std::string>& args)
{
    if (args.size() != 1)
        return Usage("ls takes one DIR_OR_ZIP");
    const std::string& place = args[0];
    if (!Mount("<PIMTOOL>", place))
        return 1;

    if (auto* zip = dynamic_cast<CxZipFileSystem*>(m_mounts.back().get())) {
        // The archive's own order: its central directory.
        const CxZipDirectory& directory = zip->GetDirectory();
        for (uint32_t i = 0; i < directory.GetEntryCount(); ++i) {
            const ST_ZIP_ENTRY& entry = directory.GetEntry(i);
            if (!entry.isFolder)
                std::fprintf(m_out, "%u\t%s\n", entry.uncompressedSize, directory.GetEntryName(i));
        }
        return 0;
    }
    CxFileInfoList files;
    FsFindFiles(files, "<PIMTOOL>*", 0, true);
    for (auto* node = files.GetFirst(); node; node = node->GetNext()) {
        const CxFileInfo& info = node->GetElement();
        std::fprintf(m_out, "%lld\t%s\n", static_cast<long long>(info.size), info.fullPath.GetText());
    }
    return 0;
}

bool Tool::OpenMovie(const std::string& path, CxAvMovie& movie)
{
    if (!FsExists(path.c_str()))
        return Fail(PIM_ERR_NOT_FOUND, path), false;
    if (int code = movie.Open(path.c_str(), 0, -1))
        return Fail(code, "cannot read the movie " + path), false;
    return true;
}

int Tool::MovieInfo(const std::vector<std::string>& args)
{
    std::vector<std::string> positional;
    if (int code = MountRoots(args, positional))
        return code;
    if (positional.size() != 1)
        return Usage("movie-info takes one FILE");
    CxAvMovie movie;
    if (!OpenMovie(positional[0], movie))
        return 1;
    std::fprintf(m_out, "%d %d %d %.6g %d %d\n", movie.GetWidth(), movie.GetHeight(), movie.GetFrameCount(),
                 movie.GetFramesPerSecond(), movie.HasAlpha() ? 1 : 0, movie.GetSoundTrackCount());
    return 0;
}

int Tool::MovieFrame(const std::vector<std::string>& args)
{
    std::vector<std::string> positional;
    if (int code = MountRoots(args, positional))
        return code;
    if (positional.size() != 3)
        return Usage("movie-frame takes FILE N OUT.png");
    char* end = nullptr;
    const long frame = std::strtol(positional[1].c_str(), &end, 10);
    if (positional[1].empty() || *end || frame < 0)
        return Usage("movie-frame needs a frame number N from 0");
    CxAvMovie movie;
    if (!OpenMovie(positional[0], movie))
        return 1;
    if (frame >= movie.GetFrameCount())
        return Fail(PIM_ERR_BAD_ARG, "the movie has " + std::to_string(movie.GetFrameCount()) + " frames");
    movie.GotoFrame(static_cast<int32_t>(frame));
    if (movie.DecodeNext() != EAvDecode::Decoded)
        return Fail(PIM_ERR_READ, "frame " + positional[1] + " cannot be decoded");
    std::unique_ptr<CxDrawSurface> picture(CreateDrawSurface());
    if (!picture)
        return Fail(PIM_ERR_OUT_OF_MEMORY, positional[2]);
    if (picture->Create(movie.GetWidth(), movie.GetHeight(), movie.HasAlpha() ? 32 : 24) != PIM_OK)
        return 1;
    if (int code = movie.CopyTo(*picture, 0, 0))
        return Fail(code, "frame " + positional[1] + " cannot be converted");
    std::string out = positional[2];
    if (out.empty() || out[0] != '<')
        out = "<DEFAULT>" + out;
    return picture->Save(out.c_str()) == PIM_OK ? 0 : 1;
}

int Tool::IniGet(const std::vector<std::string>& args)
{
    if (args.size() < 3 || args.size() > 4)
        return Usage("ini-get takes FILE SECTION KEY [DEFAULT]");
    CxOptions options;
    int code = options.Load(args[0].c_str());
    if (code == PIM_ERR_NOT_FOUND)
        return Fail(code, args[0]);
    if (code != PIM_OK)
        return 1;
    // The whole value, however long (the typed getters read through 256 bytes).
    CxOptionVariable* variable = options.FindVariable(args[1].c_str(), args[2].c_str());
    if (variable)
        std::fprintf(m_out, "%s\n", variable->GetValue());
    else if (args.size() == 4)
        std::fprintf(m_out, "%s\n", args[3].c_str());
    return 0;
}

int Tool::IniSet(const std::vector<std::string>& args)
{
    if (args.size() != 4)
        return Usage("ini-set takes FILE SECTION KEY VALUE");
    CxOptions options;
    int code = options.Load(args[0].c_str());
    if (code == PIM_ERR_NOT_FOUND) {
        code = options.Create(args[0].c_str()); // a new file
    }
    if (code != PIM_OK)
        return 1;
    if (options.SetString(args[1].c_str(), args[2].c_str(), args[3].c_str()) != PIM_OK)
        return 1;
    return options.Save() == PIM_OK ? 0 : 1;
}

int Tool::Check(const std::vector<std::string>& args)
{
    std::vector<std::string> positional;
    if (int code = MountRoots(args, positional))
        return code;
    if (positional.size() > 1)
        return Usage("check takes one DATA_FOLDER");
    // Mounted last, so searched first: the game searches its install folder
    // before the disc.
    if (!Mount("<InstallPath>", positional.empty() ? "." : positional[0]))
        return 1;
    CDataChecker checker(m_out);
    const int problems = checker.Run("<InstallPath>");
    if (problems)
        std::fprintf(m_err, "pimtool: %d problem%s\n", problems, problems == 1 ? "" : "s");
    return problems ? 1 : 0;
}

int Tool::Run(const std::vector<std::string>& args)
{
    if (args.empty())
        return Usage("no command given");
    const std::string& command = args[0];
    std::vector<std::string> rest(args.begin() + 1, args.end());
    int result;
    if (command == "cat")
        result = Cat(rest);
    else if (command == "ls")
        result = List(rest);
    else if (command == "ini-get")
        result = IniGet(rest);
    else if (command == "ini-set")
        result = IniSet(rest);
    else if (command == "info")
        result = Info(rest);
    else if (command == "convert")
        result = Convert(rest);
    else if (command == "wav-decode")
        result = WavDecode(rest);
    else if (command == "wav-info")
        result = WavInfo(rest);
    else if (command == "movie-info")
        result = MovieInfo(rest);
    else if (command == "movie-frame")
        result = MovieFrame(rest);
    else if (command == "check")
        result = Check(rest);
    else if (command == "help" || command == "--help" || command == "-h") {
        std::fputs(kUsage, m_out);
        return 0;
    } else
        return Usage(("unknown command: " + command).c_str());
    // An error reported on the way fails the command even if it went on.
    if (result == 0 && m_sink.firstCode != PIM_OK)
        result = 1;
    return result;
}

} // namespace

int RunPimTool(int argc, const char* const* argv, FILE* out, FILE* err)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i] ? argv[i] : "");
    Tool tool(out, err);
    return tool.Run(args);
}
