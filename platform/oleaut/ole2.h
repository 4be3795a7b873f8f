// COM and OLE Automation together: what a program that uses Automation strings, variants and
// error information includes.
#pragma once

#include "objbase.h"
#include "oleauto.h"
