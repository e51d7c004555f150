#include "DAX/base/DaxOptionText.h"

#include "PIM/files/CxOptions.h"

CxString DaxOptionText(const CxOptions& store, const char* section, const char* key)
{
    const CxOptionVariable* variable = store.FindVariable(section, key);
    return CxString(variable ? variable->GetValue() : "");
}
