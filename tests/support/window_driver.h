// The program's one dialog on the headless window backend, driven and read as an operator
// does it, and the SOAP replies that the scripted servers give it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "headless/afx_headless.h"
#include "support/scripted_server.h"

namespace tarvelo_test {

// A SOAP 1.2 reply of simpleMethod, as the service writes it, whose result element holds value.
std::string SoapReplyEnvelope(std::string_view value);
// One reply of a scripted server: the status and the body, then the connection closes.
ScriptStep ReplyStep(const std::string& status, const std::string& body);
// "200 OK" with a result element holding value.
ScriptStep PassingReply(const std::string& value = "Hello there");

// What the window's fields show, UTF-8.
struct WindowFields {
  std::string text;
  std::string times;
  std::string request;
  std::string response;
  std::string timesDone;
  std::string begin;
  std::string end;
  std::string diff;
  std::string average;
  bool open = false;
};
WindowFields ReadFields(const afx::headless::Dialog& window);

// Replaces what an edit control holds the way an operator does: selects it all, deletes it
// (so that an empty text leaves the field empty) and types. False when a step was refused.
bool TypeOver(afx::headless::Dialog& window, int id, std::string_view utf8);
// TypeOver, and the field then holds exactly the text.
bool ReplaceField(afx::headless::Dialog& window, int id, std::string_view utf8);
// Selects all that an edit control holds and pastes the text over it.
bool PasteOver(afx::headless::Dialog& window, int id, std::string_view utf8);

// "HH:MM:SS.mmm" of a time of day.
bool IsClockText(const std::string& text);
// "N.NNN sec" (with a minus sign when negative): the seconds, or nullopt for another text.
std::optional<double> FigureSeconds(const std::string& text);

}  // namespace tarvelo_test
