#pragma once

namespace kestrelon {

// Runs the whole program with the real platform services; returns the process exit code.
int RunKestrelon(int argc, char** argv);

}  // namespace kestrelon
