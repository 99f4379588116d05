#pragma once
// Scripts of the command-line host: a text file of statements, one per line. Words are separated by blanks;
// a word in double quotes may hold blanks, \" and \\; "#" at the start of a word begins a comment.
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/host/HostUi.h"

struct Statement {
    int line = 0;
    std::vector<std::string> words;
};

// A script error names the file and line; the run stops and nothing is saved. Raised inside a command's
// dialog it abandons the command (HostInterrupt): the command's changes are taken back first.
class ScriptError : public TAVHost::HostInterrupt {
public:
    ScriptError(const std::string& where, const std::string& what)
        : TAVHost::HostInterrupt(where + ": " + what) {}
};

// Reads the statements of a script: UTF-8 text with an optional byte-order mark, lines ending in LF, CR LF
// or CR. Throws ScriptError naming the line for a byte that is not UTF-8 and for an unterminated quote.
std::vector<Statement> ParseScript(const std::string& text, const std::string& fileName);
// Reads and parses a script file: a regular file of at most 1 GiB (a device or a folder is refused at once);
// throws ScriptError naming the file when it cannot be read.
std::vector<Statement> ReadScriptFile(const std::string& path);
// Quotes a text for output when it is empty or holds blanks, quotes or control characters.
std::string Quote(const std::string& text);
