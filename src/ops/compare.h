// Compare: two devices, a device and a script, or two scripts. The report
// goes into the output area; the differences found are kept so that they
// can be saved as a script that makes the second side equal to the first.
#pragma once

#include <string>
#include <vector>

#include "ui/outcome.h"

enum CmpKind { CMP_MRX_MRX = 1, CMP_MRX_FIL = 2, CMP_FIL_FIL = 3 };

struct CmpRequest {
    int kind = CMP_MRX_MRX;
    std::string mrx1, mrx2;   // device names (kinds 1 and 2)
    std::string file1, file2; // script paths (kinds 2 and 3)
    int code = 1;             // what two devices compare (1..8)
    int port_type = 1;        // the port type selector
    std::string ports1, ports2;
    std::vector<std::string> items; // code 1: the main window's parameters or function
    int param_sel = 1;              // code 1: parameters (1) or a function (0)
    int parent = 0;                 // window over which the cancel dialog opens
};

// What a comparison found: the report (the output area's text), the
// warnings, and the number of differences (-1 when nothing was compared:
// a refusal, a device or script that could not be read, a cancel).
// result: done without differences, failed with some or when nothing was
// compared, refused when the request was (a warning says why).
struct CmpOutcome {
    Outcome outcome;
    int diffs = -1;
};

// One difference, as a line of the differences script would set it.
struct CmpDiff {
    int mib_index = 0;
    int port_type = 0;
    int port = 0;           // SCR_WILDCARD allowed for scripts
    bool first_has = false; // the first side holds a value
    std::string value;      // the first side's value as a script writes it
};
extern std::vector<CmpDiff> g_cmp_diffs;

// The window's Compare: validation, then the comparison.
CmpOutcome process_compare(const CmpRequest& req);
CmpOutcome compare_mrx_mrx(const CmpRequest& req);
CmpOutcome compare_mrx_fil(const CmpRequest& req);
CmpOutcome compare_fil_fil(const std::string& path1, const std::string& path2, int parent);

// Writes the kept differences as a script to the typed name (white space
// removed, with a warning); an existing file only after the overwrite
// question. The lines left out (values that cannot be scripted) are listed
// in the report. The overwrite question goes through asker.
struct CmpSaveOutcome {
    Outcome outcome;   // report: the lines written and left out
    bool kept = false; // an existing file was kept (the question declined)
};
CmpSaveOutcome save_cmp_diff_script(const std::string& typed, Asker& asker);
