// VariantCopy and VariantClear that raise _com_error instead of returning a failure.
#pragma once

#include "ole2.h"

// Copies src into dest (clearing dest first). A dest that holds nothing yet must have been
// through VariantInit. Raises _com_error with VariantCopy's result when that fails.
void VariantCopyOrRaise(VARIANT* dest, const VARIANT* src);

// Clears the variant. Raises _com_error with VariantClear's result when that fails.
void VariantClearOrRaise(VARIANT* variant);
