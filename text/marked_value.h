// Takes one value out of a text by plain substring search: whatever stands between a begin
// marker and the next end marker behind it.
//
// Markers are matched byte for byte and case-sensitively; the value is returned exactly as it
// stands in the text (no decoding, no trimming). A search position kept between calls lets
// repeated calls walk through successive values of the same text.
#pragma once

#include "cstring.h"

// The byte index at which the next search for the begin marker starts. 0 at program start;
// only ExtractMarkedValue changes it. There is one for the whole process, which makes
// ExtractMarkedValue non-reentrant.
extern int g_nSearchPos;

// Size that a message buffer of ExtractMarkedValue needs: the longest message and its NUL.
inline constexpr int kMarkedValueMessageSize = 38;

// Searches strSource for pszBegin, then for pszEnd behind it, and copies the text between them
// into pszValue. Returns 1 when a value was found, otherwise 0 with one of these messages in
// pszMessage (checked in this order):
//   "Error group params ?"                   nMode -1: a group marker is empty
//   "Error begin group value not found ?"    nMode -1: no group-begin marker in the text
//   "Error end group value not found ?"      nMode -1: no group-end marker behind it
//   "Error search params ?"                  the begin or the end marker is empty
//   "Error begin search params not found ?"  no begin marker at or after the search position
//   "Error search end params not found ?"    no end marker behind the begin marker
// On success pszMessage holds the empty text; on failure pszValue does.
//
// nMode 0 starts a fresh search at the start of the text; -1 first locates the group
// (pszGroupBegin .. pszGroupEnd) and searches from just inside it; any other value continues at
// g_nSearchPos, where the previous call stopped. Group markers are used in mode -1 only.
//
// Each marker is first copied into a working buffer of 64 bytes (a longer marker is cut to its
// first 63 characters) and normalised there by IsBlankText: blanks and tabs at both ends, then a
// final line end go. A marker empty after that counts as missing. The caller's markers are never
// changed. All pointers must be valid; an absent group is passed as "".
//
// pszValue holds nValueSize bytes: a longer value is cut to its first nValueSize-1 characters
// and terminated, and still counts as found. pszMessage holds kMarkedValueMessageSize bytes.
int ExtractMarkedValue(CString strSource, const char* pszBegin, char* pszValue, const char* pszEnd,
                       const char* pszGroupBegin, const char* pszGroupEnd, int nMode,
                       char* pszMessage, int nValueSize = 512);
