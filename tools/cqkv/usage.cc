// SPDX-License-Identifier: MIT
#include "tools/cqkv/usage.h"

namespace kv {

namespace {

constexpr std::string_view kGeneral = R"text(Usage: cqkv [COMMAND] [OPTIONS] [ARGUMENTS]

With no command, on a terminal: type interactively with the shipped table and your user
dictionary ($XDG_DATA_HOME, or ~/.local/share, then CQ_Input_KV/CQ_Input_KV_User.txt).

Commands:
  lookup [--table FILE] [--user FILE] CODE...
                      print each code's candidates, one per line ("*" and "?" are wildcards)
  codes [--table FILE] TEXT...
                      print the codes that type each character of TEXT, read in roots
  type [--table FILE] [--user FILE] [--json] KEYS
                      run key presses through the input engine and show what each one did
  check FILE... [--table FILE]
                      say whether a table or user dictionary would load, or which line is wrong
  import [--dict FILE] [--schema FILE] [--out FILE]
                      convert a Rime cangjie5 dictionary into a CIN table
  session [--table FILE] [--user FILE] [--set KEY=VALUE]... SCRIPT
                      replay keys, clicks and events on the input controller, one JSON line each
  help [COMMAND]      show this help, or a command's

Without --table the shipped table CQInput-KV.cin is used. Run "cqkv COMMAND --help" for more.
Exit status: 0 success, 1 a file could not be read or loaded (or, for check, would not load),
2 a usage error.
)text";

constexpr std::string_view kLookup = R"text(Usage: cqkv lookup [--table FILE] [--user FILE] CODE...

Prints the candidates of each CODE in the order the input method offers them: the table's,
then the user dictionary's. "*" stands for any run of keys and "?" for one key in codes of two
or more keys. With several codes, each code's list follows a "CODE:" line, indented by two
spaces. A code without candidates prints nothing.

  --table FILE   the CIN table (default: the shipped CQInput-KV.cin)
  --user FILE    a user dictionary to add (a missing file is an empty dictionary)
)text";

constexpr std::string_view kCodes = R"text(Usage: cqkv codes [--table FILE] TEXT...

Prints, for each character of TEXT, every code of the table that types it, one per line: the
character, the code, the code read in roots, and the character's place in the code's list
(1st is picked with the first selection key). A character the table does not have is named
with "not in the table". The quickest codes come first: those that list the character earlier,
then the shorter. Blanks only separate; a character given twice is shown once.

  $ cqkv codes 日明
  日  a (日) 1st
  明  ab (日月) 1st

  --table FILE   the CIN table (default: the shipped CQInput-KV.cin)
)text";

constexpr std::string_view kType =
    R"text(Usage: cqkv type [--table FILE] [--user FILE] [--json] KEYS...

Runs KEYS through an input engine alone, without the input method around it, and prints, for
each key, the action's kind and text, and after ShowCandidates the candidates with the row
click:N chooses. KEYS are joined with blanks and read in the notation of cqkv session; the
tokens the engine alone takes are:
  a  1  ;  Shift+a ...  a printable key, pressed into the code
  Space        look the code up (trigger)
  Delete       take the last key back
  Escape       cancel the composition
  Return       choose the first candidate when they are shown, else look the code up
  click:N      choose candidate N (0 to 9)
Any other token is a usage error.
Example: cqkv type a b Space click:1

  --table FILE   the CIN table (default: the shipped CQInput-KV.cin)
  --user FILE    a user dictionary to add
  --json         one JSON object per operation and line, with the fields "op", "kind",
                 "text", "code" (the engine's code afterwards) and "candidates" (the
                 engine's candidate list afterwards, empty unless candidates are shown)
)text";

constexpr std::string_view kCheck = R"text(Usage: cqkv check FILE... [--table FILE]

Says whether each FILE would load: "FILE: OK (...)", or the line and the reason it would be
refused, as "FILE:LINE: reason" (or "FILE: reason" when the whole file is at fault).
A FILE whose name ends in ".cin", or that holds a line beginning with the word "%chardef", is
checked as a table; any other as a user dictionary, whose codes must be keys of --table (the
shipped table by default).
Exit status: 0 when every FILE would load, 1 when one would not, 2 for a usage error.
)text";

constexpr std::string_view kImport =
    R"text(Usage: cqkv import [--dict FILE] [--schema FILE] [--out FILE]

Converts a Rime dictionary ("character<TAB>code[<TAB>stem]" lines after a YAML header closed by
"...") into a CIN table, keeping the dictionary's order. The key names a to z are labelled with
the roots of the schema's letter-to-root transliteration ("xlit|abc...|日月金...|").

  --dict FILE     default /usr/share/rime-data/cangjie5.dict.yaml
  --schema FILE   default /usr/share/rime-data/cangjie5.schema.yaml
  --out FILE      the table to write (replaced whole); default or "-": standard output
)text";

}  // namespace

std::string_view generalUsage() {
    return kGeneral;
}

std::string_view commandUsage(std::string_view command) {
    if (command == "lookup") {
        return kLookup;
    }
    if (command == "codes") {
        return kCodes;
    }
    if (command == "type") {
        return kType;
    }
    if (command == "check") {
        return kCheck;
    }
    if (command == "import") {
        return kImport;
    }
    return {};
}

}  // namespace kv
