#pragma once

#include <string>

class QWidget;

namespace kestrelon {

class AppCore;

// The file chooser "Choose Application" for a program to start: it opens in the folder of the
// current program (or the file system's root) with that file selected. Returns the chosen
// path, "" when cancelled.
std::string ChooseProgramFile(AppCore& app, const std::string& current, QWidget* parent);

}  // namespace kestrelon
