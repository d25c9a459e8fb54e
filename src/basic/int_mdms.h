// The internal modems window: the state of every internal modem of the
// selected devices, one list row per modem, and setting chosen modems to
// "Available" or "Busy" through the change pipeline.
#pragma once

#include "ui/widget_ids.h"

#include <string>
#include <vector>

#include "snmp_access/morix_record.h"
#include "ui/outcome.h"

// One list row: the device's list position, the modem (from 1), its state
// (1..4, 0 when undefined).
struct ImdmRow {
    int mrx_pos;
    int modem;
    int state;
};
extern std::vector<ImdmRow> int_mdms_rows;
extern int int_mdms_stat;

// The state word of a state value for a device of that platform class.
const char* imdm_state_word(int platform, int state);
// The list row text of a modem.
std::string imdm_row_text(const std::string& name, int modem, const char* word);

// Reads every modem state of the selected, reachable devices into
// int_mdms_rows; out names devices without modems when report is 1, and
// those that could not be read (each listed with its result). 0 when some
// device could not be read.
int process_get_int_mdms_vals(int report, Outcome* out);
// The list rows of int_mdms_rows, one a modem.
std::vector<std::string> int_mdms_row_texts();
// Result of setting the chosen modems.
enum ImdmResult {
    IMDM_DONE = 0,       // every chosen modem's device took the state
    IMDM_NOT_CHOSEN = 1, // no modem was chosen
    IMDM_FAILED = 2,     // a device refused sets or a Set failed
    IMDM_CANCELLED = 3   // the operator cancelled
};
// Sets the modems of the rows at the given positions (from 1) of
// int_mdms_rows to state (1 available, 2 busy) through the change
// pipeline; the caller asked the operator. An ImdmResult; out gets the
// warnings and every device's result.
int set_int_mdms(const std::vector<int>& rows, int state, Outcome* out);
// The Available/Busy toggle id changed to set.
void int_mdms_state_toggled(int id, bool set);
