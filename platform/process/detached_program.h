// Starting a program that runs on its own (a browser showing an address): no shell, the
// arguments handed over as they are, and the ended process reaped so it leaves no zombie.
#pragma once

#include <string>
#include <vector>

// Starts program (looked up on PATH when it has no slash) with the arguments. False when it
// cannot be started.
bool StartDetachedProgram(const std::string& program, const std::vector<std::string>& arguments);
