// Running a text editor on a local file without a shell: the editor text
// (WINEDITOR or EDITOR) is split into words at blanks, the file path is one
// more argument, and the program is started with fork/exec. An editor that
// needs a terminal gets one: the program TERM names when it is installed,
// else the system's terminal emulator (x-terminal-emulator, else xterm).
#pragma once

#include <functional>
#include <string>
#include <vector>

// The words of an editor text, split at blanks and tabs; nothing else is
// interpreted (quotes, $, ; and the like are ordinary characters).
std::vector<std::string> split_editor_words(const std::string& text);

// Finds an executable program: a text with a "/" must name an executable
// file; a plain name is searched in PATH. Empty when not found.
std::string find_program(const std::string& name);

// The argument vector that runs editor_words on path. in_window: the editor
// opens its own window (or the caller already is in a terminal): no
// terminal is added. Otherwise term is the TERM value and title the window
// title; lookup finds programs (find_program in use). Empty when a terminal
// is needed and none is installed.
std::vector<std::string> editor_argv(const std::vector<std::string>& editor_words,
                                     const std::string& path, bool in_window,
                                     const std::string& term, const std::string& title,
                                     const std::function<std::string(const std::string&)>& lookup);

// Starts argv (argv[0] searched in PATH) and waits for it. The exit status,
// or -1 when it could not be started or ended by a signal.
int run_and_wait(const std::vector<std::string>& argv);
