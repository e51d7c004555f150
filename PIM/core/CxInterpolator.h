#pragma once
// Resolves the references that data files write in file names and event
// arguments: "$NAME" or "${NAME}" is replaced by the value of the variable of
// that name. The game keeps one global interpolator and gives each room a
// copy with the room's own name added, so a copy must stand on its own.
//
// The rules, in the order the text is read:
//   - Text up to the next "$" is copied as it is. A "$" ending the text stays.
//   - "$" followed by "{": the name runs to the "}" that balances that brace
//     (every "{" and "}" counts, so names may hold nested pairs). The name is
//     itself interpolated first, then looked up: "${ROOM_${N}}" with N = 2
//     looks up ROOM_2. When the braces never balance, the result ends just
//     before that "$".
//   - Otherwise the name is the longest run of ASCII letters, digits and "_"
//     after the "$", possibly empty.
//   - A known name gives its variable's value, which is never interpolated
//     again (a value holding "$X" comes out as "$X"). An unknown name gives
//     "$" and the name: unbraced references stay as written, braced ones lose
//     their braces, and a "$" before a character that cannot start a name
//     stays a lone "$".
//   - Names nested inside more than kMaxNestingDepth braced references are
//     taken literally, without looking inside them, so hostile text cannot
//     run the stack out; such a name can still match a variable whose name is
//     that literal text.
//   - The result is cut at CxString's 32,766-byte limit, on a character
//     boundary. It is exactly the start of what an unlimited result would be:
//     names are always looked up whole, whatever room the result has left.
//
// Work is linear in the text for each level of nesting it actually uses.
// Names are compared exactly (case matters); there is at most one variable
// per name. Not for use from several threads at once.

#include "PIM/core/CxLinkedList.h"
#include "PIM/core/CxObject.h"
#include "PIM/core/CxString.h"
#include "PIM/core/CxVariable.h"

class CxInterpolator : public CxObject
{
public:
    static constexpr int kMaxNestingDepth = 64;

    CxInterpolator() = default;
    // Copies every variable. A copy that runs out of memory is left empty
    // (CopyFrom reports that case; callers that must know use it instead).
    CxInterpolator(const CxInterpolator& other);
    // On failure the target keeps what it had.
    CxInterpolator& operator=(const CxInterpolator& other);
    ~CxInterpolator() override;

    // Replaces the variables by copies of `other`'s. All or nothing: 0, or
    // PIM_ERR_OUT_OF_MEMORY with this interpolator unchanged.
    int CopyFrom(const CxInterpolator& other);

    // Each Add takes the place of a variable of the same name and appends the
    // new one at the end. They return 0; PIM_ERR_BAD_ARG for a null or empty
    // name, a name past CxString's limit, or a null int pointer; or
    // PIM_ERR_OUT_OF_MEMORY. On failure the old variable is still there.
    int AddString(const char* name, const char* text);
    // Formats `value` once (see PimValueFormat<int> for the formats taken; an
    // unsafe one becomes "%d") and adds the text as a string constant.
    int AddIntConstant(const char* name, int value, const char* format = "%d");
    // Adds a variable that follows `*value` from now on; `value` must outlive
    // this interpolator and every copy of it.
    int AddIntVariable(const char* name, const int* value, const char* format = "%d");
    // Takes ownership of `variable` (made with new), also when it fails; a
    // null variable gives PIM_ERR_OUT_OF_MEMORY, so a failed `new` can be
    // passed straight in.
    int AddVariable(CxVariable* variable);

    // True when a variable of that name was there.
    bool RemoveVariable(const char* name);
    void RemoveAll();

    CxVariable* FindVariable(const char* name) const;
    // The same for a name that is not terminated (a piece of a longer text).
    CxVariable* FindVariable(const char* name, size_t length) const;
    size_t GetCount() const { return m_variables.GetCount(); }

    // A null text gives an empty result. When memory runs out the result is
    // cut where it ran out (or empty).
    CxString Interpolate(const char* text) const;
    CxString Interpolate(const CxString& text) const { return Interpolate(text.GetText()); }

private:
    CxLinkedList<CxVariable*>::Node* FindNode(const char* name, size_t length);

    CxLinkedList<CxVariable*> m_variables;
};
