// Identifiers that the framework itself defines: standard commands, the unnamed control id,
// and the framework's own strings.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Standard commands.
#ifndef ID_HELP
#define ID_HELP 0xE146
#endif

// The framework's own strings (shown by the framework, found when the program's string table
// does not have the id).
#define AFX_IDS_APP_TITLE 0xE000
#define AFX_IDP_PARSE_INT 0xF110
#define AFX_IDP_FAILED_MEMORY_ALLOC 0xF182
#define AFX_IDP_COMMAND_FAILURE 0xF187
