#include "Usage.h"

namespace {

const char* const DUMP_USAGE =
    "usage: laytool dump [--trace] FILE.lay\n"
    "\n"
    "Reads FILE as the editor does and prints one JSON object, even when the load fails:\n"
    "  {\"result\": \"0x00000000\", \"controls\": [{\"id\": 0, \"name\": \"A\", \"guiResourceId\": "
    "0,\n"
    "   \"textId\": 0, \"x1\": 10, \"y1\": 20, \"x2\": 110, \"y2\": 70}]}\n"
    "result is the load's result code; controls are the records read (after a failure, those\n"
    "read before it), control N (counted from 0) on line N + 2. Coordinates are the shortest\n"
    "text that reads back to the same float (\"NaN\", \"Infinity\", \"-Infinity\" as strings; a\n"
    "NaN other than 0x7FC00000 as \"NaN(0x7FC00001)\" with its 32 bits); each byte of a name is\n"
    "the character of the same number. Bytes after the last record are no part of the layout:\n"
    "a warning on standard error says how many. Exit status 0 when the load succeeded, 1 when\n"
    "it failed.\n";

const char* const MAKE_USAGE =
    "usage: laytool make [--trace] FILE.json OUT.lay\n"
    "\n"
    "Reads an object with a \"controls\" array in the form that 'laytool dump' prints (other keys\n"
    "are ignored, none may appear twice; a missing field of a control takes its default) and\n"
    "writes OUT as version 2. Ids are integers from 0 to 4294967295; names hold characters\n"
    "U+0001 to U+00FF only. FILE must be a regular file of at most 2 GiB; it is read a piece at\n"
    "a time, and the first byte that is wrong ends the run. OUT is replaced only when every\n"
    "byte was written, so a failed run leaves it as it was.\n";

const char* const RENDER_USAGE =
    "usage: laytool render [--trace] FILE.lay OUT.png [--current N] [--size N] [--labels]\n"
    "\n"
    "Draws the layout as the editor's canvas does on an 840 by 640 white picture: the\n"
    "800 by 600 screen and every control in dark red; with --current N, control N (counted\n"
    "from 0) in bright red above the others. --size N draws the screen alone, scaled to fit\n"
    "N by N pixels (N from 1 to 4096; the picture is N wide and 3N/4 high), from a file of at\n"
    "most 64 MiB: the form of a thumbnail. --labels writes each control's name at the top left\n"
    "inside its rectangle, cut off at its edges, and leaves it out where the rectangle is too\n"
    "small for a line of text. Exit status 2 when FILE does not load (no picture is written),\n"
    "1 when the picture cannot be written.\n";

const char* const DIFF_USAGE =
    "usage: laytool diff [--trace] [--json] A.lay B.lay\n"
    "\n"
    "Prints what changed from A to B, one line per change:\n"
    "  - NAME                        a control that only A has\n"
    "  + NAME                        a control that only B has\n"
    "  ~ OLD -> NEW                  a control renamed: B's control has A's id\n"
    "  > NAME moved from index I to J\n"
    "  ~ NAME FIELD: OLD -> NEW      a field of a control that both have\n"
    "Controls are matched by name; where a name repeats, its first occurrence in A with its\n"
    "first in B, the second with the second, and so on. Of the controls left, those with the\n"
    "same id are matched the same way: one control renamed. A control has moved when its order\n"
    "among the matched controls changed, not when others were added or removed before it.\n"
    "Removed controls come first, then B's controls in order, each renamed, moved and then its\n"
    "fields, under its name in B. Numbers are printed as 'laytool dump' prints them. --json\n"
    "prints {\"equal\": false, \"changes\": [{\"change\": \"changed\", \"name\": ..., \"from\": "
    "I,\n"
    "\"to\": J, \"field\": ..., \"old\": ..., \"new\": ...}, ...]}; a rename is {\"change\":\n"
    "\"renamed\", \"name\": NEW, \"from\": I, \"to\": J, \"old\": OLD, \"new\": NEW}. Exit status "
    "0\n"
    "when the layouts are equal, 1 when they differ, 2 when a file cannot be read.\n";

const char* const CHECK_USAGE =
    "usage: laytool check [--trace] [--strict] [--json] FILE.lay...\n"
    "\n"
    "Loads each FILE and prints its problems, one line each:\n"
    "  FILE:LINE: error: \"NAME\": ...    or, for the file as a whole, FILE: error: ...\n"
    "LINE is the control's line in 'laytool dump' (control N on line N + 2). Errors: the file\n"
    "does not load; a name that is not an identifier (not empty; a-z, A-Z or _ first, then\n"
    "also 0-9). Warnings: a name or an id that an earlier control has; a control not wholly on\n"
    "the 800 x 600 screen; a width or height of zero or less; a coordinate that is NaN or\n"
    "infinite; bytes after the last record. --json prints {\"problems\": [{\"file\": ...,\n"
    "\"line\": ..., \"index\": ..., \"name\": ..., \"severity\": ..., \"kind\": ..., \"message\":\n"
    "...}, ...], \"errors\": N, \"warnings\": N}. Exit status 2 on errors; with --strict 1 on\n"
    "warnings only; 0 otherwise.\n";

const char* const HEADER_USAGE =
    "usage: laytool header [--trace] [--prefix P] [--enum | --constexpr] [--namespace NAME]\n"
    "                      FILE.lay [OUT.h]\n"
    "\n"
    "Writes a header for C and C++ with one constant per control, in the layout's order,\n"
    "named after the control with P before the name, holding the control's id: by default\n"
    "an include guard and lines '#define OK_BTN 3u'; with --enum 'enum : unsigned { OK_BTN =\n"
    "3, ... };', with --constexpr lines 'inline constexpr unsigned OK_BTN = 3;' (C++17), either\n"
    "inside 'namespace NAME { ... }' when given. A comment at the top names FILE. The same\n"
    "layout gives the same bytes. Without OUT the header goes to standard output; OUT is\n"
    "written only when its bytes change, and replaced only once every byte is written.\n"
    "Errors, each printed as\n"
    "  FILE:LINE: error: \"NAME\": ...\n"
    "with the control's line in 'laytool dump': a constant name that repeats, that is not an\n"
    "identifier (a-z, A-Z or _ first, then also 0-9), that is a C or C++ keyword, or that is\n"
    "reserved to the compiler (two underscores or one and a capital letter first). Exit status\n"
    "2 on errors (nothing is written) and when FILE does not load, 1 when OUT cannot be\n"
    "written.\n";

} // namespace

const char* const GENERAL_USAGE =
    "usage: laytool COMMAND [--trace] ARGUMENTS\n"
    "\n"
    "Inspects and converts .lay layout files.\n"
    "\n"
    "commands:\n"
    "  dump FILE.lay            print the layout as JSON\n"
    "  make FILE.json OUT.lay   write a layout from JSON (version 2)\n"
    "  render FILE.lay OUT.png  draw the layout as the canvas shows it\n"
    "  diff A.lay B.lay         print what changed from A to B\n"
    "  check FILE.lay...        report errors and doubtful controls\n"
    "  header FILE.lay [OUT.h]  write a C and C++ header with the controls' ids\n"
    "\n"
    "--trace writes the trace lines of a failure to standard error.\n"
    "'laytool COMMAND --help' describes one command; 'laytool --version' prints the version.\n"
    "Wrong usage exits with status 2.\n";

const char* CommandUsage(const std::string& command)
{
    return command == "dump"     ? DUMP_USAGE
           : command == "make"   ? MAKE_USAGE
           : command == "render" ? RENDER_USAGE
           : command == "diff"   ? DIFF_USAGE
           : command == "check"  ? CHECK_USAGE
           : command == "header" ? HEADER_USAGE
                                 : nullptr;
}
