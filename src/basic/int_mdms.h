// The internal modems window: the state of every internal modem of the
// selected devices, one list row per modem, and setting chosen modems to
// "Available" or "Busy" through the change pipeline.
#pragma once

#include "ui/widget_ids.h"

#include <string>
#include <vector>

#include "snmp_access/morix_record.h"

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

// Opens the internal modems window; 1 when it opened with its list.
int process_int_mdms();
// Reads every modem state of the selected, reachable devices into
// int_mdms_rows; names devices without modems when report is 1. 0 when
// some device could not be read.
int process_get_int_mdms_vals(int report);
// Rebuilds the list; a refresh of a list of the same length selects the
// same rows again (selected: the rows selected before).
int process_upd_int_mdms(int first_time, int report = 1, const std::vector<int>& selected = {});
// Result of setting the chosen modems.
enum ImdmResult {
    IMDM_DONE = 0,       // every chosen modem's device took the state
    IMDM_NOT_CHOSEN = 1, // no modem was chosen
    IMDM_FAILED = 2,     // a device refused sets or a Set failed
    IMDM_CANCELLED = 3   // the operator cancelled
};
// Sets the modems of the selected rows of the list to the chosen state. An
// ImdmResult.
int process_apply_int_mdms(const std::vector<int>& selected);
// Sets the modems of the rows at the given positions (from 1) of
// int_mdms_rows to state (1 available, 2 busy) through the change
// pipeline; the caller asked the operator. An ImdmResult.
int set_int_mdms(const std::vector<int>& rows, int state);
// The Available/Busy toggle id changed to set.
void int_mdms_state_toggled(int id, bool set);
// Update of the dialog (selected: the list's selected rows).
void int_mdms_update(const std::vector<int>& selected);
