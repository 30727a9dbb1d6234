#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrelon {

// The rules by which the profile editor turns what is typed into profile fields and back.

// The numeric value of the leading digits of a text, blanks before them skipped; 0 when there
// are none. Pasted text is not seen by the key filters, so "12abc" counts as 12. Values beyond
// the int range are held at its end.
int LeadingDigitsValue(std::string_view text);

// A countdown in seconds as hours and minutes: 5400 -> "1:30", 0 -> "0:00".
std::string CountDownText(int seconds);
// The seconds of a countdown text: "h:mm" or plain minutes ("1:30" and "90" both give 5400).
// Texts of 6 characters or more give nullopt and leave the countdown as it was.
std::optional<int> CountDownSeconds(std::string_view text);

// The program list's line for a command line: the file name without folder and extension
// ("C:\Mail\mail.exe" and "/usr/bin/mail.sh -x" both give "mail").
std::string ProgramListLine(std::string_view commandLine);
// The program path of a command line, for the file chooser: the text inside a leading pair of
// double quotes; otherwise, when the text has a dot, the text up to the first blank after it;
// otherwise the text, trimmed.
std::string ProgramPathOf(std::string_view commandLine);

// A chosen program file as the start of a command line: quoted when it holds a blank or a
// quote, so that the launcher's splitting gives the path back whole.
std::string QuoteProgramPath(std::string_view path);

// The palette colour under a point of the 8 x 2 colour grid of the given size.
int PaletteColourAt(int x, int y, int width, int height);

// Phone-book entry and charge profile names become INI section names: no brackets, no control
// characters. Checked as typed.
bool IsSectionNameCharacter(char32_t c);

}  // namespace kestrelon
