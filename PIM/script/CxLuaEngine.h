#pragma once
// The engine's Lua 5.1 state: one for the whole application. It opens the
// libraries the game allows, replaces the functions that would touch the disc
// or the console by versions that go through the file systems and the trace
// output, and runs scripts as files or strings. Script errors are traced and
// the game goes on.
//
// Scripts come with the game's data, and data is outside input: a script
// cannot load native code or precompiled chunks, its memory is capped, and a
// script that never ends is stopped after an instruction budget.
//
// The engine reaches the running program through its host (null for an
// engine on its own). Setting up a state registers the engine's own base
// functions and the application family (PimScriptFunctions.h); the other
// families are registered by the application class they belong to.

#include "PIM/core/CxError.h"
#include "PIM/core/CxObject.h"

struct lua_State;
struct lua_Debug;
using PimLuaFunction = int (*)(lua_State* L);

class CxScriptHost;

class CxLuaEngine : public CxObject, public CxError
{
public:
    // Memory a state may hold, and instructions one call may run.
    static constexpr size_t kDefaultMemoryLimit = 256u << 20;
    static constexpr long kDefaultInstructionBudget = 500000000L;

    explicit CxLuaEngine(CxScriptHost* host = nullptr);
    ~CxLuaEngine() override;
    CxLuaEngine(const CxLuaEngine&) = delete;
    CxLuaEngine& operator=(const CxLuaEngine&) = delete;

    // Destroys any state, then creates and sets up a new one. 13 "Could not
    // create Lua Engine" when that fails.
    virtual int CreateState();
    virtual void DestroyState();
    // Runs the file through the engine's dofile (the path is passed as a
    // value, never pasted into source text).
    virtual int DoFile(const char* path);
    // Compiles and runs the text; errors go to the trace output.
    virtual int DoString(const char* text);

    // Sets the global `name` to the function (16 when either is missing).
    int Register(const char* name, PimLuaFunction function);
    // The value of an expression as an int, or `defaultValue` when it is not
    // a finite number.
    int GetNumber(const char* expression, int defaultValue);

    lua_State* GetState() const { return m_state; }
    CxScriptHost* GetHost() const { return m_host; }
    size_t GetMemoryInUse() const { return m_memoryInUse; }
    void SetMemoryLimit(size_t bytes) { m_memoryLimit = bytes; }
    void SetInstructionBudget(long instructions) { m_instructionBudget = instructions; }

    // The engine of a state (for the script functions).
    static CxLuaEngine* FromState(lua_State* L);
    // The running application's engine (null before InitInstance).
    static CxLuaEngine* GetEngine();
    static void SetEngine(CxLuaEngine* engine);

    // Writes the error on top of the stack to the trace and pops it.
    static void TraceError(lua_State* L);

private:
    static void* Alloc(void* ud, void* block, size_t oldSize, size_t newSize);
    static void CountHook(lua_State* L, lua_Debug* debug);
    // Runs the function on top of the stack (with `args` arguments below it)
    // protected, within the instruction budget; traces errors.
    int ProtectedCall(int args, int results);
    void SetUp();

    CxScriptHost* m_host;
    lua_State* m_state = nullptr;
    size_t m_memoryInUse = 0;
    size_t m_memoryLimit = kDefaultMemoryLimit;
    long m_instructionBudget = kDefaultInstructionBudget;
    long m_instructionsLeft = 0;
    int m_callDepth = 0;
};
