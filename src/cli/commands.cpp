#include "cli/commands.h"

#include <limits>

namespace treadkey {
namespace {

constexpr std::size_t kAnyNumber = std::numeric_limits<std::size_t>::max();

const std::vector<CommandSpec> kCommands = {
    {CommandId::List,
     "list",
     "",
     0,
     0,
     {{"--json", "", "print the same as one JSON document, for scripts and bug reports", true}},
     "the pedals, their HID interfaces and which one takes the frames",
     "Lists the pedals plugged in, each under a line with its identity (and its nickname, see 'name'),\n"
     "then its HID interfaces with the pedal's ids (vendor 2704, product 2018), in the order the system\n"
     "gives them. A pedal's identity is its USB serial number where it has one (serial:ABC123), else the\n"
     "port it is plugged into (usb-1-2.3); --pedal takes it. For each interface: the path, its top-level "
     "collections (usage page and usage, named where standard),\n"
     "whether it can be opened and its output report length, and which one the pedal's frames go to: the\n"
     "first that opens of those the system does not keep to itself. Keyboard, mouse, pen and touch\n"
     "interfaces are passed over, so a real pedal's keyboard and mouse never receive frames. An interface\n"
     "that cannot be opened says why; a permission refused is put down to the first cause that\n"
     "'treadkeyctl doctor' finds (no udev rule 70-treadkey.rules, one not applied, a remote session...;\n"
     "every cause is in /usr/share/doc/treadkey-setup/docs/when-the-pedal-will-not-open.md, where the\n"
     "package puts the docs). An output report shorter than 8 bytes cuts every frame: it may not be the\n"
     "configuration interface.\n"},
    {CommandId::Doctor,
     "doctor",
     "",
     0,
     0,
     {{"--json", "", "print the same as one JSON document, for scripts and bug reports", true}},
     "why the pedal cannot be opened, and the one step that mends it",
     "Looks at the system, without opening the pedal, in this order: whether the pedal is present and which\n"
     "of its interfaces takes the frames; each of its hidraw nodes, with owner, group, mode and the ACL\n"
     "entries, and whether you may open it; the udev rule files that name the pedal, in /etc, /run,\n"
     "/usr/local/lib, /usr/lib and /lib, whether one sorts before 73-seat-late.rules and whether one masks\n"
     "another; whether udev applied the rule (the node's uaccess tag); and your session: local and active,\n"
     "remote, none, no logind, or a Flatpak sandbox. Each check says what it found, and a problem the one\n"
     "step that mends it. Exit code 0 when the pedal can be opened for writing, 1 otherwise; the last line\n"
     "names the first cause found. On Windows it opens each interface instead and says which open; access\n"
     "denied there means another program holds the interface. With --virtual-pedal it still checks the\n"
     "system's real pedal, and says so: the virtual pedal needs no access. The exit code is the real "
     "pedal's.\n"},
    {CommandId::Keys,
     "keys",
     "",
     0,
     0,
     {},
     "every key name, with its key code and on-screen caption",
     "Prints the key names COMBO takes, one a line: the name, the key code stored in the slot and the\n"
     "caption of the window's key, then the modifiers; after \"also\", the other names COMBO takes for it\n"
     "(del, escape, return, pgup, super, cmd, ...). Keypad keys start with kp_.\n"},
    {CommandId::Monitor,
     "monitor",
     "",
     0,
     0,
     {{"--json", "", "print one JSON object a line: time, interface, raw report, the event decoded"},
      {"--count", "N", "stop after N presses and releases, 1 to 1000000000"},
      {"--timeout", "S", "stop after S seconds, 1 to 86400; exit code 1 when nothing came"}},
     "show what the pedal sends when pressed, as it arrives",
     "Opens every keyboard and mouse interface of the pedal for reading only (it writes nothing) and prints\n"
     "one line for each press and each release the pedal sends, as it arrives:\n"
     "\n"
     "  press   ctrl+shift+a   < Ctrl + Shift + A >\n"
     "  release ctrl+shift+a   < Ctrl + Shift + A >\n"
     "  press   mouse right\n"
     "\n"
     "Keys are named as COMBO names them, then captioned as the window's key log line writes them; keys\n"
     "without an on-screen key are named by the HID usage tables (f13), other usages by page and usage in\n"
     "hex. It runs until interrupted (exit code 0 on SIGINT or SIGTERM), or N events, or S seconds. It\n"
     "follows the pedal through unplug and replug, saying on stderr when it goes and comes; a node it may "
     "not\n"
     "read is explained as 'list' explains it (the udev rule 70-treadkey.rules). With --virtual-pedal, add\n"
     "--virtual-pedal-composite and --virtual-pedal-press FILE, and append slot numbers to FILE to press "
     "them.\n"},
    {CommandId::Identify,
     "identify",
     "",
     0,
     0,
     {{"--json", "", "print it as one JSON object"},
      {"--timeout", "S",
       "give up after S seconds, 1 to 86400 (default: wait until\npressed); exit code 1 when no pedal was "
       "pressed"}},
     "press the pedal you mean: prints its identity",
     "Waits for the next press on the keyboard or mouse interface of any pedal plugged in (read only, it\n"
     "writes nothing) and prints the identity of the pedal pressed, with its nickname if it has one: the\n"
     "way to tell twins apart. Give what it prints to --pedal. Without --timeout it waits until a pedal is\n"
     "pressed, however long that takes.\n"},
    {CommandId::Name,
     "name",
     "ID TEXT",
     2,
     2,
     {},
     "give a pedal a nickname that --pedal takes",
     "Gives the pedal ID (its identity or its present nickname; it must be plugged in) the nickname TEXT,\n"
     "which --pedal then takes as well as the identity; an empty TEXT ('') takes the nickname away. The\n"
     "names are kept in treadkey/pedal-names.json in the user's state directory ($XDG_STATE_HOME or\n"
     "~/.local/state; %LOCALAPPDATA% on Windows).\n"},
    {CommandId::Key,
     "key",
     "SLOT COMBO",
     2,
     2,
     {{"--delay", "MS", "key delay in milliseconds, 0 to 65535 (default 0)", true},
      {"--once", "", "switch single output on (the window's \"Output Once\"); off without it", true},
      {"--key-only", "",
       "write the key frame alone: no key delay, no single output, and auto-run and\n"
       "playback stay as they are"}},
     "store a key combination in a slot",
     "Stores a key combination in SLOT (1 to 12) and writes what a click on the window's key writes: the "
     "key\n"
     "frame, the key delay and the single-output setting, 50 ms apart. The pedal keeps the key delay in\n"
     "one word with auto-run and playback, and the delay frame stores auto-run on and loop playback with\n"
     "it: after 'key' the pedal runs its slots by itself at power-up, in a loop. To keep single playback\n"
     "or auto-run off (set with 'playback'), store keys with --key-only, which writes neither settings\n"
     "word.\n"
     "\n"
     "COMBO is one key name and any modifiers joined by '+', in any order and any case: ctrl+shift+a,\n"
     "alt_r+f12, win+kp_enter, backslash. Modifiers: ctrl, shift, alt, win (also ctrl_l, shift_l, alt_l,\n"
     "win_l) and ctrl_r, shift_r, alt_r, win_r; win is also super, meta and cmd, ctrl control, alt option.\n"
     "'treadkeyctl keys' lists the key names and their other names (del, escape, return, pgup, ...).\n"},
    {CommandId::Mouse,
     "mouse",
     "SLOT left|middle|right",
     2,
     2,
     {},
     "store a mouse click in a slot",
     "Stores a click of the left, middle or right mouse button in SLOT (1 to 12).\n"},
    {CommandId::Playback,
     "playback",
     "loop|single --auto-run on|off",
     1,
     1,
     {{"--auto-run", "on|off", "whether the pedal runs its slots by itself at power-up (required)", true}},
     "set loop or single playback and auto-run; the key delay to 0",
     "Sets whether the pedal plays its slots in a loop or once, and whether it starts by itself at "
     "power-up.\n"
     "The pedal keeps both in one word with the key delay, so both are given, and the key delay is set\n"
     "to 0. A key delay goes only with auto-run on and loop playback, as 'key --delay MS' stores it.\n"},
    {CommandId::ClearAll,
     "clear-all",
     "--yes",
     0,
     0,
     {{"--yes", "", "confirm; without it nothing is written", true}},
     "clear every slot and setting",
     "Clears the pedal's whole memory: 32 frames, one for each of its words, slots and settings alike.\n"},
    {CommandId::Raw,
     "raw",
     "HEX...",
     1,
     kAnyNumber,
     {},
     "write one command text as typed",
     "Writes a command text such as \"AA 01 7C 79 01 00 00\": hex digits and spaces only, several arguments\n"
     "joined by spaces. After the report id the digits are paired into bytes, and the report is zero-filled\n"
     "or cut to the pedal's output report length, as the window's command box does.\n"},
    {CommandId::Apply,
     "apply",
     "FILE",
     1,
     1,
     {},
     "write a JSON profile in one go",
     "Writes a profile read from FILE, or from standard input when FILE is '-': the slots it names in slot\n"
     "order (a key, a mouse click, or null to clear the slot), then the playback word and single output it\n"
     "sets, 50 ms apart. The whole file is checked before the first report; a fault is reported with its\n"
     "line and column. The file is UTF-8 text, with or without a byte-order mark; UTF-16 and UTF-32 are\n"
     "refused. Every member is optional; what the profile leaves out stays as it is on the pedal:\n"
     "\n"
     "  {\n"
     "    \"slots\": {\n"
     "      \"1\": {\"key\": \"ctrl+shift+a\"},\n"
     "      \"2\": {\"mouse\": \"left\"},\n"
     "      \"3\": null\n"
     "    },\n"
     "    \"delay\": 300,\n"
     "    \"single_output\": false,\n"
     "    \"playback\": \"loop\",\n"
     "    \"auto_run\": true\n"
     "  }\n"
     "\n"
     "Slots are \"1\" to \"12\"; single_output is true or false. delay (0 to 65535 ms), playback (\"loop\" "
     "or\n"
     "\"single\") and auto_run (true or false) share one word on the pedal, written as one frame: a profile\n"
     "gives all three or none, in a combination the word can hold: any delay with auto_run true and\n"
     "playback \"loop\", or any playback and auto_run with delay 0.\n"},
    {CommandId::Show,
     "show",
     "",
     0,
     0,
     {{"--json", "", "print the same as one JSON document, for scripts", true}},
     "what the pedal holds, by the record of what was written to it",
     "Shows the twelve slots and the settings of the pedal (--pedal, or the one plugged in) as its record\n"
     "says, each with where its value came from: written (when, and by treadkeyctl or the window), seen by\n"
     "a press (when), or unknown. Every write whose reports all went through updates the record; one that\n"
     "failed part way leaves what it touched unknown (\"interrupted after report 2 of 3\"). The pedal never\n"
     "answers, so the record knows only what this computer wrote or saw. It is kept in\n"
     "treadkey/records/ in the user's state directory ($XDG_STATE_HOME or ~/.local/state; %LOCALAPPDATA% on\n"
     "Windows), one file a pedal; a file that cannot be read is set aside with a warning. --pedal takes a\n"
     "pedal plugged in or one with a record; any other ID is a usage error that lists those known.\n"},
    {CommandId::Export,
     "export",
     "FILE",
     1,
     1,
     {},
     "write the record of a pedal as a profile that 'apply' reads",
     "Writes what the record of the pedal (--pedal, or the one plugged in) knows as a profile to FILE, or "
     "to\n"
     "standard output when FILE is '-'. Slots and settings the record does not know are left out, each with\n"
     "a warning: 'apply' leaves them as they are. So is a word that no profile value writes as it stands (a\n"
     "raw frame's, say, with bytes set that a key's frame leaves 0), named in hex. To clone a pedal:\n"
     "'treadkeyctl export left.json --pedal left', then 'treadkeyctl apply left.json --pedal right'.\n"
     "--pedal takes a pedal plugged in or one with a record; any other ID is a usage error that lists those\n"
     "known.\n"},
    {CommandId::Verify,
     "verify",
     "[SLOT...]",
     0,
     kAnyNumber,
     {{"--json", "", "print the outcome as one JSON document"},
      {"--timeout", "S",
       "give each slot S seconds to be pressed, 1 to 86400 (default: wait\nuntil pressed); exit code 1 when "
       "one is not"}},
     "press each slot: does the pedal send what the record says it holds?",
     "Asks for a press of each SLOT in turn (default: every slot the record knows), decodes what the\n"
     "pedal sends and compares it with the record: a match is recorded as seen by a press, a mismatch\n"
     "prints what was written and what came, and a slot the record does not know is learned from the\n"
     "press, so a lost record can be rebuilt by pressing. Meanwhile the pedal's keystrokes are held from\n"
     "the desktop, so a slot holding Ctrl+C or Alt+F4 does no harm. Exit code 0 when every slot matched or\n"
     "was learned, 1 on a mismatch or a timeout. This is the check that a write really took. Without\n"
     "--timeout it waits for each press until it comes.\n"},
    {CommandId::Help,
     "help",
     "[COMMAND]",
     0,
     1,
     {},
     "show the help of a command",
     "Shows the help of COMMAND, or the overview without one.\n"},
};

} // namespace

const std::vector<CommandSpec>& Commands() {
    return kCommands;
}

bool CommandWrites(const CommandSpec& command) {
    switch (command.id) {
    case CommandId::Key:
    case CommandId::Mouse:
    case CommandId::Playback:
    case CommandId::ClearAll:
    case CommandId::Raw:
    case CommandId::Apply:
        return true;
    default:
        return false;
    }
}

std::string CommandSynopsis(const CommandSpec& command) {
    std::string synopsis(command.name);
    if (!command.operands.empty()) {
        synopsis += " " + std::string(command.operands);
    }
    for (const OptionSpec& option : command.options) {
        if (command.operands.find(option.name) == std::string_view::npos) {
            synopsis += " [" + std::string(option.name) +
                        (option.valueName.empty() ? "" : " " + std::string(option.valueName)) + "]";
        }
    }
    return synopsis;
}

const CommandSpec* FindCommand(std::string_view name) {
    for (const CommandSpec& command : kCommands) {
        if (command.name == name) {
            return &command;
        }
    }
    return nullptr;
}

} // namespace treadkey
