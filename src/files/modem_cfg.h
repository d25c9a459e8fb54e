// Modem definitions of a Morix configuration file: the definition record,
// the two definition lists, the line parser of the modem section, the
// parsers of the configuration file and of modem include files, and the
// writer that puts the configuration list back into the modem section of a
// local copy. Nothing here talks to the operator: results are codes and
// message texts that the callers show.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

constexpr int MDM_KW_COUNT = 18;      // type_of_modem .. end
constexpr int MDM_NAME_STORED = 15;   // characters of a name that are kept
constexpr int MDM_NAME_ACCEPTED = 16; // longer names are refused
constexpr int MDM_VALUE_MAX = 255;
constexpr int MDM_COMMENT_MAX = 1024;
constexpr int MDM_INC_MAX = 16;      // include files the table holds
constexpr int MDM_INC_NAME_MAX = 65; // characters of one include file name
constexpr int MDM_LINE_MAX = 512;    // characters of a line that are read
// Definitions one list holds; a file with more is refused (a real one has
// a few dozen, and each costs under a kilobyte).
constexpr size_t MDM_DEFS_MAX = 500000;

enum MdmKeyword {
    KW_TYPE_OF_MODEM = 0,
    KW_CONNECT_STATUS = 2,
    KW_DIALIN_SETUP = 5,
    KW_DIALOUT_SETUP = 6,
    KW_TIMEOUT = 12,
    KW_RETRY = 13,
    KW_RESET_DELAY = 14,
    KW_END = 17
};
extern const char* const mdm_keywords[MDM_KW_COUNT];
// Index of a keyword, or -1.
int mdm_keyword_index(const std::string& word);

// The three texts the Edit Modem dialog edits, in this order.
constexpr int MDM_EDIT_KWS[3] = {KW_CONNECT_STATUS, KW_DIALIN_SETUP, KW_DIALOUT_SETUP};
using MdmTexts = std::array<std::string, 3>;

struct ModemDef {
    bool duplicate = false; // repeats an earlier name of its list: never used
    std::string comment;    // the comment lines that preceded it
    std::string name;
    std::array<std::optional<std::string>, MDM_KW_COUNT> values; // 1..16 used
};
using ModemList = std::vector<ModemDef>;

// ---- list operations -------------------------------------------------------
// The first entry with that name whose duplicate flag is clear, or null.
ModemDef* chk_mdm_list(ModemList& list, const std::string& name);
// A new definition with the default values (basic_dial: the digital modem
// variants of connect_status and reset_delay).
ModemDef crt_mdm_node_def(bool basic_dial, const std::string& name);
// The three edited texts of an entry ("" for an absent value).
MdmTexts mdm_edit_texts(const ModemDef& def);
// 1 when one of the three texts differs from the entry.
int chk_mdm_strs(const ModemDef& def, const MdmTexts& texts);
// 1 after replacing the texts that differ (each cut to 255 characters).
int chk_upd_mdm_strs(ModemDef* def, const MdmTexts& texts);
// Removes the usable entry of that name; 1 when one went.
int del_mdm_node(ModemList& list, const std::string& name);

// ---- parsing -----------------------------------------------------------------
// Parser messages.
extern const char* const MPM_UNKNOWN_KW;
extern const char* const MPM_MISSING_END;
extern const char* const MPM_SYNTAX;
extern const char* const MPM_LENGTH;
extern const char* const MPM_MEMORY;
extern const char* const MPM_MISSING_TYPE;

// State of one parse run (one file).
struct MdmParse {
    ModemList* list = nullptr; // the list being filled
    bool from_cfg = true;      // the configuration file (else an include file)
    std::string inc_name;      // the include file being read
    int state = 0;             // 0 outside, 1 inside a definition, 2 skipping
    ModemDef cur;
    std::string comments;           // comment buffer
    bool comments_lost = false;     // a comment did not fit
    std::vector<std::string> notes; // duplicate-name warnings for the operator
    // the usable names of *list, so that a name is checked in constant time
    std::unordered_set<std::string> names;
    bool names_ready = false;
    bool too_many = false; // *list reached MDM_DEFS_MAX: nothing more is added
    long notes_hidden = 0; // duplicate warnings past MDM_NOTES_SHOWN, only counted
};
// Duplicate-name warnings given one by one; the rest are summed up in one.
constexpr size_t MDM_NOTES_SHOWN = 20;

// Copies the next word of *cursor into word and moves past it: 0, or 1 when
// only white space remains.
int read_string(const char** cursor, std::string* word);
// Adds a comment line to the buffer (dropped, with comments_lost set, when
// the buffer would pass 1024 characters).
void mdm_add_comment(MdmParse* p, const std::string& line);

enum MdmLineResult { MLR_OK = 0, MLR_MESSAGE = 1, MLR_INCLUDE = 2, MLR_DEF_AFTER_INCLUDE = 3 };
// One line of the modem section. message receives the parser message for
// MLR_MESSAGE.
int parse_modem(const std::string& line, MdmParse* p, bool include_seen, std::string* message);

// The result of parsing a configuration file.
struct CfgParse {
    std::vector<std::string> includes; // include file names, in order
    std::string error;                 // why it failed (operator text)
    std::vector<std::string> debug;    // parser messages (shown under -debug)
    std::vector<std::string> notes;    // duplicate warnings
    bool comments_lost = false;
};
// Parses the modem section of a local configuration file into list: 0, or
// -1 with error set ("" when the file cannot be opened).
int prs_cfg_fil(const std::string& path, ModemList* list, CfgParse* out);
// Parses a local copy of an include file (named inc_name on the load host)
// into list: 0 or -1 with error set.
int prs_mdm_inc_fil(const std::string& path, const std::string& inc_name, ModemList* list,
                    CfgParse* out);

// Rewrites the modem section of the local copy at path from list, through
// the work file tmp_path: 1 when rewritten, 0 when a file cannot be opened
// or the copy has no "%modem" line (the copy is then unchanged).
int write_cfg_fil_list(const std::string& path, const std::string& tmp_path, const ModemList& list);
