#include "PIM/script/CxLuaEngine.h"

#include "PIM/core/CxMemory.h"
#include "PIM/core/PimTrace.h"
#include "PIM/files/CxBuffer.h"
#include "PIM/files/CxFile.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/os/PimWallClock.h"
#include "PIM/script/CxScriptHost.h"
#include "PIM/script/PimScriptArgs.h"
#include "PIM/script/PimScriptFunctions.h"

#include <lua.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>
#include <string>

namespace {

CxLuaEngine* g_engine = nullptr;

// Where the engine keeps a pointer to itself in the state's registry.
const char kEngineKey[] = "pim.engine";
// A precompiled chunk starts with this byte; Lua 5.1 does not verify
// bytecode, so such chunks from data could crash the interpreter.
constexpr char kBinaryChunkMark = '\033';

// How often the instruction hook runs.
constexpr int kHookInterval = 10000;

// --- chunks ---------------------------------------------------------------------

struct ChunkReader
{
    const char* data;
    size_t size;
    bool done = false;
};

const char* ReadChunk(lua_State*, void* context, size_t* size)
{
    auto* reader = static_cast<ChunkReader*>(context);
    if (reader->done || reader->size == 0) {
        *size = 0;
        return nullptr;
    }
    reader->done = true;
    *size = reader->size;
    return reader->data;
}

// Compiles text (never bytecode). Leaves the function or an error message.
int LoadText(lua_State* L, const char* data, size_t size, const char* chunkName)
{
    if (size > 0 && data[0] == kBinaryChunkMark) {
        lua_pushfstring(L, "%s: precompiled chunks are not accepted", chunkName);
        return LUA_ERRSYNTAX;
    }
    ChunkReader reader{data, size};
    return lua_load(L, &ReadChunk, &reader, chunkName);
}

// Reads a whole file through the file systems; false when it cannot be opened.
bool ReadScriptFile(const char* path, CxBuffer& out)
{
    if (!path || !*path || !FsExists(path))
        return false;
    // A script that is missing is skipped quietly, so only an existing file
    // is loaded (and a failure to read it is then reported by the loader).
    return LoadFile(path, out) == PIM_OK;
}

// --- the engine's replacements of standard functions ----------------------------------

// print / _ALERT: tostring of every argument, joined by four blanks.
int LuaPrint(lua_State* L)
{
    int n = lua_gettop(L);
    std::string line;
    lua_getglobal(L, "tostring");
    for (int i = 1; i <= n; ++i) {
        lua_pushvalue(L, -1);
        lua_pushvalue(L, i);
        lua_call(L, 1, 1);
        size_t length = 0;
        const char* text = lua_tolstring(L, -1, &length);
        if (!text)
            return luaL_error(L, "`tostring' must return a string to `print'");
        if (i > 1)
            line += "    ";
        line.append(text, length);
        lua_pop(L, 1);
    }
    line += "\n";
    TraceText(line.c_str());
    return 0;
}

// dofile(path): through the file systems; a missing file does nothing.
int LuaDoFile(lua_State* L)
{
    const char* path = luaL_checkstring(L, 1);
    CxBuffer bytes;
    if (!ReadScriptFile(path, bytes))
        return 0;
    int base = lua_gettop(L);
    if (LoadText(L, reinterpret_cast<const char*>(bytes.GetData()), bytes.GetSize(), path) != 0 ||
        lua_pcall(L, 0, LUA_MULTRET, 0) != 0) {
        CxLuaEngine::TraceError(L);
        return 0;
    }
    return lua_gettop(L) - base;
}

// loadfile(path): the same source, compiled but not run (nil, message on failure).
int LuaLoadFile(lua_State* L)
{
    const char* path = luaL_checkstring(L, 1);
    CxBuffer bytes;
    if (!ReadScriptFile(path, bytes)) {
        lua_pushnil(L);
        lua_pushfstring(L, "cannot open %s", path);
        return 2;
    }
    if (LoadText(L, reinterpret_cast<const char*>(bytes.GetData()), bytes.GetSize(), path) != 0) {
        lua_pushnil(L);
        lua_insert(L, -2);
        return 2;
    }
    return 1;
}

// loadstring(text [, name]): text only, never bytecode.
int LuaLoadString(lua_State* L)
{
    size_t size = 0;
    const char* text = luaL_checklstring(L, 1, &size);
    const char* name = luaL_optstring(L, 2, text);
    if (LoadText(L, text, size, name) != 0) {
        lua_pushnil(L);
        lua_insert(L, -2);
        return 2;
    }
    return 1;
}

// load(reader [, name]): the pieces are gathered and compiled as text.
int LuaLoad(lua_State* L)
{
    luaL_checktype(L, 1, LUA_TFUNCTION);
    const char* name = luaL_optstring(L, 2, "=(load)");
    luaL_Buffer buffer;
    luaL_buffinit(L, &buffer);
    for (;;) {
        lua_pushvalue(L, 1);
        lua_call(L, 0, 1);
        if (lua_isnil(L, -1)) {
            lua_pop(L, 1);
            break;
        }
        if (!lua_isstring(L, -1))
            return luaL_error(L, "reader function must return a string");
        size_t length = 0;
        lua_tolstring(L, -1, &length);
        if (length == 0) {
            lua_pop(L, 1);
            break;
        }
        luaL_addvalue(&buffer);
    }
    luaL_pushresult(&buffer);
    size_t size = 0;
    const char* text = lua_tolstring(L, -1, &size);
    if (LoadText(L, text, size, name) != 0) {
        lua_pushnil(L);
        lua_insert(L, -2);
        return 2;
    }
    return 1;
}

// date(): the local time as a table.
int LuaDate(lua_State* L)
{
    std::tm local{};
    if (!PimLocalTime(PimWallClockSeconds(), local)) {
        lua_pushnil(L);
        return 1;
    }
    lua_createtable(L, 0, 9);
    auto field = [L](const char* key, int value) {
        lua_pushinteger(L, value);
        lua_setfield(L, -2, key);
    };
    field("sec", local.tm_sec);
    field("min", local.tm_min);
    field("hour", local.tm_hour);
    field("day", local.tm_mday);
    field("month", local.tm_mon + 1);
    field("year", local.tm_year + 1900);
    field("wday", local.tm_wday + 1);
    field("yday", local.tm_yday + 1);
    lua_pushboolean(L, local.tm_isdst > 0);
    lua_setfield(L, -2, "isdst");
    return 1;
}

// exit(): asks the host to quit, like the application family's Quit.
int LuaExit(lua_State* L)
{
    if (CxScriptHost* host = FindScriptHost(L))
        host->RequestQuit();
    return 0;
}

} // namespace

// --- the engine -------------------------------------------------------------------------

CxLuaEngine::CxLuaEngine(CxScriptHost* host) : m_host(host) {}

CxLuaEngine::~CxLuaEngine()
{
    DestroyState();
    if (g_engine == this)
        g_engine = nullptr;
}

CxLuaEngine* CxLuaEngine::GetEngine()
{
    return g_engine;
}

void CxLuaEngine::SetEngine(CxLuaEngine* engine)
{
    g_engine = engine;
}

CxLuaEngine* CxLuaEngine::FromState(lua_State* L)
{
    lua_getfield(L, LUA_REGISTRYINDEX, kEngineKey);
    auto* engine = static_cast<CxLuaEngine*>(lua_touserdata(L, -1));
    lua_pop(L, 1);
    return engine;
}

void* CxLuaEngine::Alloc(void* ud, void* block, size_t oldSize, size_t newSize)
{
    auto* engine = static_cast<CxLuaEngine*>(ud);
    if (!block)
        oldSize = 0;
    if (newSize == 0) {
        Free(block);
        engine->m_memoryInUse -= std::min(oldSize, engine->m_memoryInUse);
        return nullptr;
    }
    // A script cannot take the game's memory: past the cap Lua raises its
    // own "not enough memory" error.
    if (newSize > oldSize && engine->m_memoryInUse - oldSize + newSize > engine->m_memoryLimit)
        return nullptr;
    void* result = block ? Reallocate(block, newSize) : Allocate(newSize, "lua", 0, false);
    if (result)
        engine->m_memoryInUse = engine->m_memoryInUse - oldSize + newSize;
    return result;
}

void CxLuaEngine::CountHook(lua_State* L, lua_Debug*)
{
    CxLuaEngine* engine = FromState(L);
    if (!engine)
        return;
    engine->m_instructionsLeft -= kHookInterval;
    if (engine->m_instructionsLeft <= 0)
        luaL_error(L, "script stopped: it ran for too long");
}

int CxLuaEngine::CreateState()
{
    DestroyState();
    m_memoryInUse = 0;
    m_state = lua_newstate(&CxLuaEngine::Alloc, this);
    if (!m_state)
        return SetError(PIM_ERR_UNKNOWN, "Could not create Lua Engine");
    lua_pushlightuserdata(m_state, this);
    lua_setfield(m_state, LUA_REGISTRYINDEX, kEngineKey);
    SetUp();
    return PIM_OK;
}

void CxLuaEngine::DestroyState()
{
    if (m_state) {
        lua_close(m_state);
        m_state = nullptr;
    }
}

void CxLuaEngine::SetUp()
{
    lua_State* L = m_state;
    // 1. The libraries: base (with coroutine), table, string, math, debug,
    //    package. No io, no os.
    const luaL_Reg libraries[] = {{"", luaopen_base},       {LUA_TABLIBNAME, luaopen_table},
                                  {LUA_STRLIBNAME, luaopen_string}, {LUA_MATHLIBNAME, luaopen_math},
                                  {LUA_DBLIBNAME, luaopen_debug},   {LUA_LOADLIBNAME, luaopen_package}};
    for (const luaL_Reg& library : libraries) {
        lua_pushcfunction(L, library.func);
        lua_pushstring(L, library.name);
        lua_call(L, 1, 0);
    }

    // 2. The engine's own versions.
    Register("_ALERT", &LuaPrint);
    Register("print", &LuaPrint);
    Register("exit", &LuaExit);
    Register("dofile", &LuaDoFile);
    Register("date", &LuaDate);
    // Loading goes through the file systems too, and never takes bytecode.
    Register("loadfile", &LuaLoadFile);
    Register("loadstring", &LuaLoadString);
    Register("load", &LuaLoad);
    // Native libraries and direct disc access stay out of reach of data, and
    // the instruction budget's hook stays where the engine put it.
    DoString("package.loadlib = nil "
             "package.loaders = { package.loaders[1] } "
             "package.path = '' package.cpath = '' "
             "debug.sethook = function() end");

    // 3. require loads a file once, through dofile.
    DoString("require = function(name) if (package.loaded[name] == nil) then dofile(name) "
             "package.loaded[name] = true end end");

    // 4. The application family: every engine has it, with or without a host.
    RegisterApplicationScriptFunctions(*this);
}

int CxLuaEngine::Register(const char* name, PimLuaFunction function)
{
    if (!name || !*name || !function)
        return SetError(PIM_ERR_BAD_ARG, "Register: a name and a function are needed");
    if (!m_state)
        return SetError(PIM_ERR_BAD_ARG, "Lua VM not yet created");
    lua_pushcfunction(m_state, function);
    lua_setglobal(m_state, name);
    return PIM_OK;
}

void CxLuaEngine::TraceError(lua_State* L)
{
    // The error object may be anything a script passed to error().
    std::string message;
    if (lua_isstring(L, -1)) {
        size_t length = 0;
        const char* text = lua_tolstring(L, -1, &length);
        message.assign(text, length);
    } else {
        message = std::string("(error object is a ") + luaL_typename(L, -1) + " value)";
    }
    lua_pop(L, 1);
    message += "\n";
    TraceText(message.c_str());
}

int CxLuaEngine::ProtectedCall(int args, int results)
{
    lua_State* L = m_state;
    // The budget covers the outermost call and everything it runs.
    if (m_callDepth++ == 0) {
        m_instructionsLeft = m_instructionBudget;
        lua_sethook(L, &CxLuaEngine::CountHook, LUA_MASKCOUNT, kHookInterval);
    }
    int status = lua_pcall(L, args, results, 0);
    if (--m_callDepth == 0)
        lua_sethook(L, nullptr, 0, 0);
    if (status != 0) {
        TraceError(L);
        return PIM_ERR_SCRIPT;
    }
    return PIM_OK;
}

int CxLuaEngine::DoString(const char* text)
{
    if (!m_state)
        return SetError(PIM_ERR_BAD_ARG, "Lua VM not yet created");
    if (!text || !*text)
        return SetError(PIM_ERR_BAD_ARG, "Invalid command string");
    if (LoadText(m_state, text, std::strlen(text), text) != 0) {
        TraceError(m_state);
        return PIM_ERR_SCRIPT;
    }
    return ProtectedCall(0, 0);
}

int CxLuaEngine::DoFile(const char* path)
{
    if (!m_state || !path || !*path)
        return SetError(PIM_ERR_BAD_ARG, "Lua VM not yet created");
    // The path is a value handed to dofile: quotes or backslashes in it are
    // just characters of a file name.
    lua_getglobal(m_state, "dofile");
    lua_pushstring(m_state, path);
    return ProtectedCall(1, 0);
}

int CxLuaEngine::GetNumber(const char* expression, int defaultValue)
{
    if (!m_state || !expression || !*expression)
        return defaultValue;
    std::string chunk = std::string("_tmp = ") + expression;
    int result = defaultValue;
    if (DoString(chunk.c_str()) == PIM_OK) {
        lua_getglobal(m_state, "_tmp");
        if (lua_type(m_state, -1) == LUA_TNUMBER) {
            lua_Number value = lua_tonumber(m_state, -1);
            // Non-finite or out of range: no int stands for it.
            if (std::isfinite(value) && value > -2147483649.0 && value < 2147483648.0)
                result = static_cast<int>(value);
        }
        lua_pop(m_state, 1);
    }
    DoString("_tmp = nil");
    return result;
}
