#pragma once

// Starts the reader with its window: hands over to a running instance, or
// creates the forms and runs until the Exit command. Returns the exit status.
int RunReader(int& argc, char** argv);
