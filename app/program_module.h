// The program's registration with the framework: its resources, and how the framework reads
// the program's own exceptions when one leaves a message handler.
#pragma once

#include "windows.h"

// Registers the resources and the exception translator. Idempotent.
void InitProgramModule();

// For a static object that registers the module before the application object is made.
struct ProgramModuleRegistration {
  ProgramModuleRegistration() { InitProgramModule(); }
};

// The framework's translator for the program's exceptions: a _com_error gives its HRESULT.
BOOL TranslateProgramException(HRESULT* phr);
