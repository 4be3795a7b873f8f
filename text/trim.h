// In-place trimming of a caller's NUL-terminated ANSI text.
//
// Only blank, tab, CR and LF are ever removed, and only at the edges of the text; every other
// byte (128 and above included) is ordinary text. Each function only shortens the text: it
// writes a new terminator or moves the remaining characters to the front, and never writes past
// the terminator the text had on entry. Nothing is reported and nothing is raised.
#pragma once

// Removes a final LF, and a CR only when it stands directly in front of that final LF.
// "ab\r\n" and "ab\n" give "ab"; "ab\r" and "ab\rc" stay as they are.
void StripLineEnd(char* pszText);

// Removes blanks and tabs: nMode 0 at both ends, 1 at the right end, 2 at the left end; any
// other mode leaves the text unchanged. Works through a temporary heap copy: when that cannot be
// allocated the text stays unchanged.
void TrimWhitespace(char* pszText, int nMode);

// Trims blanks and tabs at both ends, then the line end (StripLineEnd), and answers 1 when
// nothing is left, otherwise 0. A null pointer answers 1.
int IsBlankText(char* pszText);

// Only the first character of pszMode counts:
//   'A': line end, then trailing blanks, then leading blanks;
//   'R': line end, then trailing blanks;
//   'L': leading blanks only.
// Tabs are not removed here. Any other first character leaves the text unchanged. The left end
// is trimmed through a temporary heap copy; when that cannot be allocated the left end stays as
// it is while the right-end changes remain. Returns pszText.
char* TrimText(char* pszText, const char* pszMode);
